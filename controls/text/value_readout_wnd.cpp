#include "controls/text/value_readout_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/layout/control_item.h"
#include "controls/text/text_painting.h"
#include "controls/text/shown_texts.h"
#include "controls/base/client_state.h"

IMPLEMENT_DYNAMIC(CValueReadoutWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CValueReadoutWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void PaintValueReadoutBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state)
{
    // The standard clear and body; the frame is the readout's own.
    ControlDrawState body = state;
    body.drawBorder = false;
    PaintControlBackground(graphics, rect, body);
    const Gdiplus::REAL width = Gdiplus::REAL(rect.right - rect.left);
    const Gdiplus::REAL height = Gdiplus::REAL(rect.bottom - rect.top);
    if (state.drawBackground)
    {
        const Gdiplus::SolidBrush panel{Gdiplus::Color(0x16241812)};
        graphics.FillRectangle(&panel, BoxIn(rect, 6, 6, width - 12, height - 12));
    }
    if (state.drawBorder)
    {
        const Gdiplus::Pen frame(Gdiplus::Color(0x16FFFFFF), 1.0f);
        graphics.DrawRectangle(&frame, BoxIn(rect, 0.5f, 0.5f, width - 1, height - 1));
    }
}

void DrawValueReadout(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                      const CString& valueText)
{
    const LONG width = rect.right - rect.left;
    const Gdiplus::REAL height = Gdiplus::REAL(rect.bottom - rect.top);
    const LONG half = width / 2;
    DrawBoxedText(graphics, ValueReadoutTexts(state).first, {10.0f, true, 0xD2E6E2DC},
                  BoxIn(rect, 10, 0, Gdiplus::REAL(half - 10), height),
                  Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, TextFlow::OneLine);
    DrawBoxedText(graphics, valueText, {18.0f, true, 0xF4FFF7F0},
                  BoxIn(rect, Gdiplus::REAL(half), 0, Gdiplus::REAL(width - half - 10), height),
                  Gdiplus::StringAlignmentFar, Gdiplus::StringAlignmentCenter, TextFlow::OneLine);
}

CValueReadoutWnd::CValueReadoutWnd()
{
    kindName = "value readout";
    SetGridSpan(CSize(4, 1));
    label = L"Readout";
    textValue = L"12.3 dB";
}

void CValueReadoutWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawValueReadout(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                     ValueReadoutTexts(state.snapshot).second);
}

CValueReadoutWnd::State CValueReadoutWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CValueReadoutWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CValueReadoutWnd::OnPaint()
{
    PaintControl(*this, &PaintValueReadoutBackground);
}

void CValueReadoutWnd::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
}
