#include "controls/text/text_painting.h"

namespace
{

constexpr const wchar_t* kTextFamily = L"Segoe UI";

} // namespace

void DrawBoxedText(Gdiplus::Graphics& graphics, const CString& text, const TextLook& look,
                   const Gdiplus::RectF& box, Gdiplus::StringAlignment horizontal,
                   Gdiplus::StringAlignment vertical, TextFlow flow)
{
    if (text.IsEmpty())
    {
        return;
    }
    const Gdiplus::Font font(kTextFamily, look.pixels,
                             look.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                             Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetAlignment(horizontal);
    format.SetLineAlignment(vertical);
    if (flow == TextFlow::OneLine)
    {
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    }
    else
    {
        format.SetTrimming(Gdiplus::StringTrimmingNone);
    }
    const Gdiplus::SolidBrush brush{Gdiplus::Color(look.colour)};
    graphics.DrawString(text.GetString(), text.GetLength(), &font, box, &format, &brush);
}

void PaintNoBackground(Gdiplus::Graphics&, const RECT&, const ControlDrawState&)
{
}

void PaintBackgroundColour(Gdiplus::Graphics& graphics, const RECT&, const ControlDrawState& state)
{
    graphics.Clear(Gdiplus::ColorFromRef(state.backgroundColor));
}
