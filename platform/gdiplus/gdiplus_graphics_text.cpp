// Text of Graphics: plain strings laid out by Pango with the platform's
// padding of 1/6 em at each end of a line.
#include "platform/gdiplus/gdiplus_graphics.h"

#include "base/unicode_text.h"
#include "platform/gdiplus/paint_guard.h"
#include "platform/win32/text_layout.h"

#include <pango/pangocairo.h>

#include <cwchar>
#include <memory>

namespace Gdiplus
{

namespace
{

// The platform pads each line by a sixth of the em on both ends, so layouts
// measured with it keep their spacing.
constexpr double kPaddingEms = 1.0 / 6.0;

PangoAlignment ToPango(StringAlignment alignment)
{
    switch (alignment)
    {
    case StringAlignmentCenter:
        return PANGO_ALIGN_CENTER;
    case StringAlignmentFar:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

double AlignOffset(StringAlignment alignment, double space, double extent)
{
    switch (alignment)
    {
    case StringAlignmentCenter:
        return (space - extent) / 2.0;
    case StringAlignmentFar:
        return space - extent;
    default:
        return 0.0;
    }
}

} // namespace

Status Graphics::LayoutText(const wchar_t* text, int length, const Font* font, const RectF* box,
                            const PointF* origin, const StringFormat* format, const Brush* brush,
                            RectF* measured) const
{
    if (m_cr == nullptr || font == nullptr || (box == nullptr && origin == nullptr))
    {
        return Record(InvalidParameter);
    }
    const double emPx = font->EmPixels(m_dpi);
    if (!std::isfinite(emPx) || emPx <= 0)
    {
        return Record(InvalidParameter); // Pango would read size 0 as "the default size"
    }
    if (box != nullptr && !AllFinite({box->X, box->Y, box->Width, box->Height}))
    {
        return Record(InvalidParameter);
    }
    if (origin != nullptr && !AllFinite({origin->X, origin->Y}))
    {
        return Record(InvalidParameter);
    }
    const StringFormat& fmt = format != nullptr ? *format : *StringFormat::GenericDefault();
    const std::string utf8 = brvl::win32::PlainTextUtf8(text, length);
    const double padding = emPx * kPaddingEms;

    if (utf8.empty())
    {
        if (measured != nullptr)
        {
            *measured =
                box != nullptr ? RectF(box->X, box->Y, 0, 0) : RectF(origin->X, origin->Y, 0, 0);
        }
        return Record(Ok);
    }
    // A drawing box without area shows nothing (a measuring box of 0 is unbounded).
    if (measured == nullptr && box != nullptr && (box->Width <= 0 || box->Height <= 0))
    {
        return Record(Ok);
    }

    brvl::win32::LayoutPtr layout = brvl::win32::MakeTextLayout(
        m_cr, utf8, font->FamilyName(), emPx, (font->GetStyle() & FontStyleBold) != 0,
        (font->GetStyle() & FontStyleItalic) != 0);
    const bool wrap =
        (fmt.GetFormatFlags() & StringFormatFlagsNoWrap) == 0 && box != nullptr && box->Width > 0;
    const bool ellipsis =
        fmt.GetTrimming() == StringTrimmingEllipsisCharacter && box != nullptr && box->Width > 0;
    const double lineWidth = box != nullptr ? box->Width - 2 * padding : 0.0;
    const bool widthSet = (wrap || ellipsis) && lineWidth > 0;
    if (widthSet)
    {
        pango_layout_set_width(layout.get(), int(lineWidth * PANGO_SCALE));
        pango_layout_set_alignment(layout.get(), ToPango(fmt.GetAlignment()));
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
        if (!wrap)
        {
            pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
        }
        if (ellipsis)
        {
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
            if (wrap && box->Height > 0)
            {
                pango_layout_set_height(layout.get(), int(box->Height * PANGO_SCALE));
            }
        }
    }
    else if ((fmt.GetFormatFlags() & StringFormatFlagsNoWrap) != 0 || box == nullptr)
    {
        pango_layout_set_single_paragraph_mode(layout.get(), box == nullptr ? FALSE : TRUE);
    }
    const brvl::win32::TextExtent size = brvl::win32::LogicalExtent(layout.get());

    if (measured != nullptr)
    {
        const double x = box != nullptr ? box->X : origin->X;
        const double y = box != nullptr ? box->Y : origin->Y;
        *measured = RectF(REAL(x), REAL(y), REAL(size.width + 2 * padding), REAL(size.height));
        return Record(Ok);
    }
    if (brush == nullptr)
    {
        return Record(InvalidParameter);
    }

    double x;
    double y;
    if (box != nullptr)
    {
        // With a set width Pango aligns each line inside it.
        x = widthSet ? box->X + padding
                     : box->X + padding +
                           AlignOffset(fmt.GetAlignment(), box->Width - 2 * padding, size.width);
        y = box->Y + AlignOffset(fmt.GetLineAlignment(), box->Height, size.height);
    }
    else
    {
        // From a point the text runs right of it, around it or left of it.
        const double span = size.width + 2 * padding;
        x = origin->X + padding - AlignOffset(fmt.GetAlignment(), span, 0.0);
        y = origin->Y - AlignOffset(fmt.GetLineAlignment(), size.height, 0.0);
    }

    BeginPrimitive();
    cairo_save(m_cr);
    if (box != nullptr && (fmt.GetFormatFlags() & StringFormatFlagsNoClip) == 0)
    {
        cairo_rectangle(m_cr, box->X, box->Y, box->Width, box->Height);
        cairo_clip(m_cr);
    }
    if (brush->ApplyTo(m_cr))
    {
        cairo_move_to(m_cr, x, y);
        pango_cairo_show_layout(m_cr, layout.get());
    }
    cairo_restore(m_cr);
    EndPrimitive();
    return Record(Ok);
}

Status Graphics::DrawString(const wchar_t* text, int length, const Font* font, const RectF& layout,
                            const StringFormat* format, const Brush* brush)
{
    if (brush == nullptr)
    {
        return Record(InvalidParameter);
    }
    return LayoutText(text, length, font, &layout, nullptr, format, brush, nullptr);
}

Status Graphics::DrawString(const wchar_t* text, int length, const Font* font, const PointF& origin,
                            const Brush* brush)
{
    return DrawString(text, length, font, origin, nullptr, brush);
}

Status Graphics::DrawString(const wchar_t* text, int length, const Font* font, const PointF& origin,
                            const StringFormat* format, const Brush* brush)
{
    if (brush == nullptr)
    {
        return Record(InvalidParameter);
    }
    return LayoutText(text, length, font, nullptr, &origin, format, brush, nullptr);
}

Status Graphics::MeasureString(const wchar_t* text, int length, const Font* font,
                               const RectF& layout, const StringFormat* format,
                               RectF* boundingBox) const
{
    if (boundingBox == nullptr)
    {
        return Record(InvalidParameter);
    }
    return LayoutText(text, length, font, &layout, nullptr, format, nullptr, boundingBox);
}

Status Graphics::MeasureString(const wchar_t* text, int length, const Font* font,
                               const PointF& origin, const StringFormat* format,
                               RectF* boundingBox) const
{
    if (boundingBox == nullptr)
    {
        return Record(InvalidParameter);
    }
    return LayoutText(text, length, font, nullptr, &origin, format, nullptr, boundingBox);
}

Status Graphics::MeasureString(const wchar_t* text, int length, const Font* font,
                               const PointF& origin, RectF* boundingBox) const
{
    return MeasureString(text, length, font, origin, nullptr, boundingBox);
}

} // namespace Gdiplus
