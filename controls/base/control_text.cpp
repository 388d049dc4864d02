#include "controls/base/control_text.h"

void DrawControlText(Gdiplus::Graphics& graphics, const CString& text, Gdiplus::REAL pixelSize,
                     bool bold, const Gdiplus::RectF& box, Gdiplus::ARGB color,
                     TextPlacement placement)
{
    if (text.IsEmpty() || box.Width <= 0 || box.Height <= 0)
    {
        return;
    }
    const Gdiplus::Font font(L"Segoe UI", pixelSize,
                             bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(placement == TextPlacement::Middle ? Gdiplus::StringAlignmentCenter
                                                               : Gdiplus::StringAlignmentNear);
    const Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    graphics.DrawString(text.GetString(), text.GetLength(), &font, box, &format, &brush);
}
