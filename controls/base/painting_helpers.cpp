#include "controls/base/painting_helpers.h"

#include "controls/base/accent_shade.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr Gdiplus::ARGB kBodyTop = 0xFF0D0F12;
constexpr Gdiplus::ARGB kBodyBottom = 0xFF13161B;
constexpr Gdiplus::ARGB kFrame = 0x18FFFFFF;
constexpr Gdiplus::ARGB kValueFrame = 0x1CFFFFFF;

} // namespace

void PrepareControlGraphics(Gdiplus::Graphics& graphics)
{
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
}

RoundCapPen::RoundCapPen(const Gdiplus::Color& color, double width)
    : Gdiplus::Pen(color, Gdiplus::REAL(width))
{
    SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
}

void AddRoundedRectFigure(Gdiplus::GraphicsPath& path, float x, float y, float width, float height,
                          float radius)
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(width) || !std::isfinite(height) ||
        !std::isfinite(radius) || width <= 0 || height <= 0)
    {
        return;
    }
    const float r = std::clamp(radius, 0.0f, std::min(width, height) / 2);
    path.StartFigure();
    if (r == 0)
    {
        path.AddRectangle(Gdiplus::RectF(x, y, width, height));
        path.CloseFigure();
        return;
    }
    const float d = 2 * r;
    path.AddArc(x, y, d, d, 180, 90);
    path.AddArc(x + width - d, y, d, d, 270, 90);
    path.AddArc(x + width - d, y + height - d, d, d, 0, 90);
    path.AddArc(x, y + height - d, d, d, 90, 90);
    path.CloseFigure();
}

void PaintBackdrop(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                   const BackdropLook& look)
{
    using Gdiplus::REAL;
    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
    const REAL left = REAL(rect.left);
    const REAL top = REAL(rect.top);
    const REAL width = REAL(rect.right - rect.left);
    const REAL height = REAL(rect.bottom - rect.top);
    if (state.drawBackground && (look.bodyTop != 0 || look.bodyBottom != 0))
    {
        const Gdiplus::LinearGradientBrush body(
            Gdiplus::PointF(left, top), Gdiplus::PointF(left, top + height),
            Gdiplus::Color(look.bodyTop), Gdiplus::Color(look.bodyBottom));
        graphics.FillRectangle(&body, left, top, width, height);
    }
    if (state.drawBorder)
    {
        const Gdiplus::Pen frame(Gdiplus::Color(look.frame), 1.0f);
        graphics.DrawRectangle(&frame, left + 0.5f, top + 0.5f, width - 1, height - 1);
    }
}

void PaintControlBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                            const ControlDrawState& state)
{
    PaintBackdrop(graphics, rect, state, {kBodyTop, kBodyBottom, kFrame});
}

void PaintValueControlBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state)
{
    PaintBackdrop(graphics, rect, state, {kBodyTop, kBodyBottom, kValueFrame});
}
