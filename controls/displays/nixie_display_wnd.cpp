#include "controls/displays/nixie_display_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/displays/display_text.h"

IMPLEMENT_DYNAMIC(CNixieDisplayWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CNixieDisplayWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

// From the wide faint halo in to the hot filament.
struct GlowLayer
{
    REAL scale;
    Gdiplus::ARGB colour;
};
constexpr GlowLayer kGlowLayers[] = {{2.4f, 0x08960F00},  {1.85f, 0x10CD3400}, {1.45f, 0x23E86C05},
                                     {1.12f, 0x5FFCAC16}, {0.82f, 0xC3FFE155}, {0.58f, 0xF5FFFCC3}};

constexpr REAL kMeshDot = 2.8f;

} // namespace

CNixieDisplayWnd::CNixieDisplayWnd()
{
    kindName = "nixie display";
    gridSpanX = 4;
    gridSpanY = 2;
    label = L"Counter";
    textValue = L"1234";
}

CNixieDisplayWnd::State CNixieDisplayWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    return state;
}

void CNixieDisplayWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawNixieDisplay(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot,
                     state.snapshot.textValue);
}

BOOL CNixieDisplayWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void CNixieDisplayWnd::ApplyItem(const ControlItem& item)
{
    CBaseControlWnd::ApplyItem(item);
}

void CNixieDisplayWnd::OnPaint()
{
    PaintControl(*this, &PaintNixieBackground);
}

void PaintNixieBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state)
{
    PaintBackdrop(graphics, rect, state, {0xFF0E1014, 0xFF0A0C0F, 0x16FFFFFF});
}

void DrawNixieDisplay(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                      const wchar_t* text)
{
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    const REAL width = REAL(rect.right - rect.left);
    const REAL height = REAL(rect.bottom - rect.top);
    DrawControlText(graphics, state.label, {10, Gdiplus::FontStyleBold}, 0xD6E8E4DC,
                    Gdiplus::RectF(6, 4, width - 12, 14));
    // A display 23 pixels high or less has no room for its tubes.
    if (height - 23 <= 0)
    {
        return;
    }
    const std::array<wchar_t, 4> tubes = NixieTubes(text);
    const REAL tubeWidth = (width - 15) / 4;
    for (int k = 0; k < 4; ++k)
    {
        DrawNixieTube(graphics, Gdiplus::RectF(3 + k * (tubeWidth + 3), 20, tubeWidth, height - 23),
                      tubes[k]);
    }
}

void DrawNixieTube(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, wchar_t character)
{
    const REAL x = box.X;
    const REAL y = box.Y;
    const REAL w = box.Width;
    const REAL h = box.Height;
    Gdiplus::GraphicsPath body;
    AddRoundedRectFigure(body, x, y, w, h, 4.5f);
    Gdiplus::PathGradientBrush glass(&body);
    glass.SetCenterPoint(Gdiplus::PointF(x + 0.5f * w, y + 0.45f * h));
    glass.SetCenterColor(Gdiplus::Color(0xFF260B08));
    Gdiplus::Color surround(0xFF040206);
    int one = 1;
    glass.SetSurroundColors(&surround, &one);
    graphics.FillPath(&glass, &body);

    if (character != L' ')
    {
        const wchar_t digit[] = {character, 0};
        Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoClip);
        format.SetAlignment(Gdiplus::StringAlignmentCenter);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        for (const GlowLayer& layer : kGlowLayers)
        {
            const Gdiplus::Font font(L"Times New Roman", 0.7f * h * layer.scale,
                                     Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
            const Gdiplus::SolidBrush brush{Gdiplus::Color(layer.colour)};
            graphics.DrawString(digit, 1, &font, box, &format, &brush);
        }
    }

    const Gdiplus::SolidBrush mesh(Gdiplus::Color(0x4E000000));
    for (int row = 0;; ++row)
    {
        const REAL rowY = y + 0.5f + 3.6f * row;
        if (!(rowY < y + h))
        {
            break;
        }
        for (REAL dotX = x - kMeshDot + (row % 2 == 1 ? 2.1f : 0.0f); dotX < x + w + kMeshDot;
             dotX += 4.2f)
        {
            const REAL cx = dotX + kMeshDot / 2;
            const REAL cy = rowY + kMeshDot / 2;
            if (cx >= x && cx <= x + w && cy >= y && cy <= y + h)
            {
                graphics.FillEllipse(&mesh, dotX, rowY, kMeshDot, kMeshDot);
            }
        }
    }

    const Gdiplus::Pen outline(Gdiplus::Color(0x3C000000), 1.2f);
    graphics.DrawPath(&outline, &body);
    const Gdiplus::Pen highlight(Gdiplus::Color(0x1CFFFFFF), 0.5f);
    graphics.DrawLine(&highlight, x + 5.5f, y + 1.2f, x + w - 5.5f, y + 1.2f);
}
