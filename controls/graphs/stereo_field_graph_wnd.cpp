#include "controls/graphs/stereo_field_graph_wnd.h"

#include "controls/base/client_state.h"
#include "controls/graphs/graph_window.h"
#include "controls/base/control_text.h"
#include "controls/graphs/analysis_graph_base.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_look.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

IMPLEMENT_DYNAMIC(CStereoFieldGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CStereoFieldGraphWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CStereoFieldGraphWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvaleStereoFieldGraphWnd");
}

void CStereoFieldGraphWnd::SetSourceAudio(const AudioBuffer& audio)
{
    if (!SameAudio(sourceAudio, audio))
    {
        sourceAudio = audio;
        Repaint();
    }
}

void CStereoFieldGraphWnd::SetProcessedAudio(const AudioBuffer& audio)
{
    if (!SameAudio(processedAudio, audio))
    {
        processedAudio = audio;
        ResetHeldRanges();
        Repaint();
    }
}

void CStereoFieldGraphWnd::SetWindowSeconds(double seconds)
{
    if (std::isnan(seconds))
    {
        return;
    }
    const double held = std::clamp(seconds, CAnalysisGraphBase::kShortestWindowSec,
                                   CAnalysisGraphBase::kLongestWindowSec);
    if (std::fabs(held - windowSec) < 1e-4)
    {
        return;
    }
    windowSec = held;
    ResetHeldRanges();
    Repaint();
}

void CStereoFieldGraphWnd::SetCursor(double seconds)
{
    if (!std::isnan(seconds))
    {
        cursorSec = std::max(0.0, seconds);
        Repaint();
    }
}

void CStereoFieldGraphWnd::SetPlaying(bool play)
{
    playing = play;
    Repaint();
}

void CStereoFieldGraphWnd::ResetHeldRanges()
{
    highsHeld = false;
    highsMin = highsMax = 0.0f;
    midsHeld = false;
    midsMin = midsMax = 0.0f;
}

void CStereoFieldGraphWnd::Repaint()
{
    if (::IsWindow(m_hWnd))
    {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

CStereoFieldGraphWnd::State CStereoFieldGraphWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.windowSec = windowSec;
    return state;
}

void CStereoFieldGraphWnd::OnPaint()
{
    PaintGraph(*this);
}

// The background and title; the field itself comes with its analysis.
void CStereoFieldGraphWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    PaintGraphBackground(graphics, RECT{0, 0, state.size.cx, state.size.cy});
    wchar_t title[64];
    std::swprintf(title, 64, L"Stereo Field  %.0f ms", state.windowSec * 1000);
    DrawControlText(graphics, title, {11}, 0xB6DCDCDC,
                    Gdiplus::RectF(20, 10, Gdiplus::REAL(state.size.cx - 40), 20),
                    Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
}
