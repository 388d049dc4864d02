#include "controls/text/text_label_strip_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/text/text_painting.h"
#include "controls/text/shown_texts.h"
#include "controls/base/client_state.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTextLabelStripWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CTextLabelStripWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void DrawTextLabelStrip(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state)
{
    const LONG width = rect.right - rect.left;
    const Gdiplus::REAL top = Gdiplus::REAL(rect.bottom - rect.top - 30);
    Gdiplus::GraphicsPath strip;
    strip.AddRectangle(BoxIn(rect, 0, top, Gdiplus::REAL(width), 24));
    const Gdiplus::SolidBrush fill(Gdiplus::ColorFromRef(state.accentColor, 0xD6));
    const Gdiplus::Pen edge(Gdiplus::Color(0x2AFFFFFF), 1.0f);
    graphics.FillPath(&fill, &strip);
    graphics.DrawPath(&edge, &strip);
    DrawBoxedText(graphics, LabelStripTexts(state).first, {12.5f, true, 0xF5FFF7F0},
                  BoxIn(rect, 8, top, Gdiplus::REAL(std::max<LONG>(0, width - 16)), 24),
                  Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter, TextFlow::OneLine);
}

CTextLabelStripWnd::CTextLabelStripWnd()
{
    kindName = "text label";
    SetGridSpan(CSize(4, 1));
    label = L"Text Label";
    value = 0.0;
    drawBorder = false;
    drawBackground = false;
}

void CTextLabelStripWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawTextLabelStrip(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
}

CTextLabelStripWnd::State CTextLabelStripWnd::GetState() const
{
    return ClientStateOf<State>(*this);
}

BOOL CTextLabelStripWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CTextLabelStripWnd::OnPaint()
{
    PaintControl(*this, &PaintControlBackground);
}
