#include "controls/base/control_text.h"

#include <cwchar>

namespace
{

constexpr const wchar_t* kControlFace = L"Segoe UI";

} // namespace

void DrawControlText(Gdiplus::Graphics& graphics, const wchar_t* text, ControlFont font,
                     Gdiplus::ARGB color, const Gdiplus::RectF& box,
                     Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical)
{
    const Gdiplus::Font face(kControlFace, font.pixels, font.style, Gdiplus::UnitPixel);
    const Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    Gdiplus::StringFormat format;
    format.SetAlignment(horizontal);
    format.SetLineAlignment(vertical);
    graphics.DrawString(text, static_cast<int>(std::wcslen(text)), &face, box, &format, &brush);
}

void DrawControlTextAt(Gdiplus::Graphics& graphics, const wchar_t* text, ControlFont font,
                       Gdiplus::ARGB color, const Gdiplus::PointF& origin)
{
    const Gdiplus::Font face(kControlFace, font.pixels, font.style, Gdiplus::UnitPixel);
    const Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text, static_cast<int>(std::wcslen(text)), &face, origin, &brush);
}

void DrawControlText(Gdiplus::Graphics& graphics, const CString& text, Gdiplus::REAL pixelSize,
                     bool bold, const Gdiplus::RectF& box, Gdiplus::ARGB color,
                     TextPlacement placement)
{
    if (text.IsEmpty() || box.Width <= 0 || box.Height <= 0)
    {
        return;
    }
    DrawControlText(graphics, text.GetString(),
                    {pixelSize, bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular}, color,
                    box, Gdiplus::StringAlignmentCenter,
                    placement == TextPlacement::Middle ? Gdiplus::StringAlignmentCenter
                                                       : Gdiplus::StringAlignmentNear);
}
