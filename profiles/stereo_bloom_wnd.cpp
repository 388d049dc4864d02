#include "profiles/stereo_bloom_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/graphs/graph_window.h"
#include "profiles/profile_graph_look.h"
#include "profiles/stereo_bloom_painter.h"

#include <utility>

IMPLEMENT_DYNAMIC(CProfileStereoBloomWnd, CWnd)

BEGIN_MESSAGE_MAP(CProfileStereoBloomWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

// The bloom's insets inside the client, and its value box.
constexpr int kSideInset = 24;
constexpr int kTopInset = 30;
constexpr int kBottomInset = 18;
constexpr BloomValueBox kValueBox{34, 32};

} // namespace

BOOL CProfileStereoBloomWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateProfileGraphWindow(*this, parent, rect, id, L"BrimvaleProfileStereoBloomWnd");
}

void CProfileStereoBloomWnd::SetSpectra(int rate, int size, std::vector<double> mid,
                                        std::vector<double> side)
{
    sampleRate = rate;
    fftSize = size;
    midSpectrum = std::move(mid);
    sideSpectrum = std::move(side);
    RepaintGraph(*this);
}

std::array<double, kStereoBandCount> CProfileStereoBloomWnd::ComputeStereoBandWidths() const
{
    return StereoBandWidths(sampleRate, fftSize, midSpectrum, sideSpectrum);
}

CProfileStereoBloomWnd::State CProfileStereoBloomWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.widths = ComputeStereoBandWidths();
    return state;
}

void CProfileStereoBloomWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    const RECT client{0, 0, state.size.cx, state.size.cy};
    PaintProfileGraphBackground(graphics, client);
    DrawControlText(graphics, L"Stereo Field Bloom", {8.5f}, 0xFFAFB4BC,
                    Gdiplus::RectF(12, 6, 150, 12), Gdiplus::StringAlignmentNear,
                    Gdiplus::StringAlignmentNear);
    const RECT area{kSideInset, kTopInset, client.right - kSideInset, client.bottom - kBottomInset};
    PaintStereoBloom(graphics, area, state.widths, kValueBox);
}

void CProfileStereoBloomWnd::OnPaint()
{
    PaintGraph(*this);
}
