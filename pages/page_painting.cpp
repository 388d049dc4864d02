#include "pages/page_painting.h"

#include "controls/base/painting_helpers.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr Gdiplus::ARGB kBodyTop = 0xFF13161B;
constexpr Gdiplus::ARGB kBodyBottom = 0xFF0D0F12;
constexpr Gdiplus::ARGB kBodyOutline = 0x1CFFFFFF;
constexpr Gdiplus::ARGB kGlossTop = 0x0AFFFFFF;
constexpr Gdiplus::ARGB kGlossBottom = 0x00FFFFFF;
constexpr float kGlossShare = 0.42f;

BYTE Lifted(BYTE channel, double factor, double offset)
{
    const double whole = std::trunc(factor * channel + offset);
    return whole > 0.0 ? BYTE(std::min(whole, 255.0)) : BYTE(0);
}

} // namespace

void FillRoundedGradient(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, float radius,
                         Gdiplus::ARGB top, Gdiplus::ARGB bottom, const Gdiplus::Pen* outline)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, rect.X, rect.Y, rect.Width, rect.Height, radius);
    const Gdiplus::LinearGradientBrush brush(Gdiplus::PointF(rect.X, rect.Y),
                                             Gdiplus::PointF(rect.X, rect.Y + rect.Height),
                                             Gdiplus::Color(top), Gdiplus::Color(bottom));
    graphics.FillPath(&brush, &path);
    if (outline != nullptr)
    {
        graphics.DrawPath(outline, &path);
    }
}

void PaintRoundedRect(Gdiplus::Graphics& graphics, const Gdiplus::RectF& rect, float radius,
                      const Gdiplus::Brush* fill, const Gdiplus::Pen* outline)
{
    Gdiplus::GraphicsPath path;
    AddRoundedRectFigure(path, rect.X, rect.Y, rect.Width, rect.Height, radius);
    if (fill != nullptr)
    {
        graphics.FillPath(fill, &path);
    }
    if (outline != nullptr)
    {
        graphics.DrawPath(outline, &path);
    }
}

void PaintStripBackground(Gdiplus::Graphics& graphics, int width, int height, COLORREF color)
{
    graphics.Clear(Gdiplus::ColorFromRef(color));
    const Gdiplus::Pen rule(Gdiplus::Color(0x22FFFFFF), 1.0f);
    const auto bottom = Gdiplus::REAL(height) - 0.5f;
    graphics.DrawLine(&rule, 0.0f, bottom, Gdiplus::REAL(width), bottom);
}

void PaintPageBody(Gdiplus::Graphics& graphics, const Gdiplus::RectF& body, float radius)
{
    const Gdiplus::Pen outline(Gdiplus::Color(kBodyOutline), 1.0f);
    FillRoundedGradient(graphics, body, radius, kBodyTop, kBodyBottom, &outline);
    Gdiplus::GraphicsPath shape;
    AddRoundedRectFigure(shape, body.X, body.Y, body.Width, body.Height, radius);

    Gdiplus::Region saved;
    graphics.GetClip(&saved);
    graphics.SetClip(&shape);
    const Gdiplus::RectF gloss(body.X, body.Y, body.Width, kGlossShare * body.Height);
    const Gdiplus::LinearGradientBrush shine(
        Gdiplus::PointF(gloss.X, gloss.Y), Gdiplus::PointF(gloss.X, gloss.Y + gloss.Height),
        Gdiplus::Color(kGlossTop), Gdiplus::Color(kGlossBottom));
    graphics.FillRectangle(&shine, gloss);
    graphics.SetClip(&saved);
}

Gdiplus::Color AccentLift(COLORREF accent, BYTE alpha, double factor, double offset)
{
    return Gdiplus::Color(alpha, Lifted(GetRValue(accent), factor, offset),
                          Lifted(GetGValue(accent), factor, offset),
                          Lifted(GetBValue(accent), factor, offset));
}

Gdiplus::Font PagePointFont(float points, int style)
{
    return Gdiplus::Font(L"Segoe UI", points, style, Gdiplus::UnitPoint);
}

namespace
{

Gdiplus::StringFormat FormatOf(PageTextFormat format)
{
    Gdiplus::StringFormat result(format.wrap ? 0 : Gdiplus::StringFormatFlagsNoWrap);
    result.SetAlignment(format.horizontal);
    result.SetLineAlignment(format.vertical);
    if (format.ellipsis)
    {
        result.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    }
    return result;
}

} // namespace

void DrawPageText(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Font& font,
                  Gdiplus::ARGB color, const Gdiplus::RectF& box, PageTextFormat format)
{
    if (text.empty() || !(box.Width > 0) || !(box.Height > 0))
    {
        return;
    }
    const Gdiplus::StringFormat layout = FormatOf(format);
    const Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text.c_str(), int(text.size()), &font, box, &layout, &brush);
}

float MeasurePageText(const Gdiplus::Graphics& graphics, const std::wstring& text,
                      const Gdiplus::Font& font)
{
    if (text.empty())
    {
        return 0.0f;
    }
    const Gdiplus::StringFormat layout = FormatOf({});
    Gdiplus::RectF measured;
    if (graphics.MeasureString(text.c_str(), int(text.size()), &font, Gdiplus::PointF(0, 0),
                               &layout, &measured) != Gdiplus::Ok ||
        !std::isfinite(measured.Width))
    {
        return 0.0f;
    }
    return std::max(measured.Width, 0.0f);
}
