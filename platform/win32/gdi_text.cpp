// GDI text: sizes from LOGFONT heights and the DrawText flags, laid out with
// the same Pango layouts as GDI+ strings.
#include "platform/win32/device_context.h"
#include "platform/win32/gdi_objects.h"
#include "platform/win32/text_layout.h"

#include <cmath>
#include <string>

using namespace brvl::gdi;
using namespace brvl::win32;

namespace
{

// The size a font of height 0 asks for ("the default height").
constexpr double kDefaultEmPx = 12.0;

LayoutPtr MakeLayout(cairo_t* cr, const std::string& utf8, const LOGFONTW& font)
{
    return MakeTextLayout(cr, utf8, font.lfFaceName, EmPixelsOf(font), font.lfWeight >= 600,
                          font.lfItalic != 0);
}

// Without DT_NOPREFIX "&x" underlines x and "&&" is "&": strips the markers
// and says which byte offset to underline (-1 for none).
std::string StripPrefixes(const std::string& text, int* underlineAt)
{
    std::string out;
    *underlineAt = -1;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '&' && i + 1 < text.size())
        {
            ++i;
            if (text[i] != '&' && *underlineAt < 0)
            {
                *underlineAt = int(out.size());
            }
        }
        out += text[i];
    }
    return out;
}

size_t Utf8SequenceLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
}

} // namespace

namespace brvl::gdi
{

double EmPixelsOf(const LOGFONTW& font)
{
    if (font.lfHeight < 0)
    {
        return -double(font.lfHeight);
    }
    if (font.lfHeight == 0)
    {
        return kDefaultEmPx;
    }
    // A positive height is the cell (ascent + descent): scale the em to fit it.
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(map);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, MapFontFamily(font.lfFaceName).c_str());
    pango_font_description_set_absolute_size(description, double(font.lfHeight) * PANGO_SCALE);
    PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
    const double cell =
        double(pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
        PANGO_SCALE;
    pango_font_metrics_unref(metrics);
    pango_font_description_free(description);
    g_object_unref(context);
    return cell > 0 ? double(font.lfHeight) * double(font.lfHeight) / cell : double(font.lfHeight);
}

} // namespace brvl::gdi

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, SIZE* size)
{
    cairo_t* cr = brvl::win32::CairoOf(dc);
    if (cr == nullptr || size == nullptr || text == nullptr || length < 0)
    {
        return FALSE;
    }
    const DcState* state = StateOf(dc);
    LayoutPtr layout = MakeLayout(cr, PlainTextUtf8(text, length), FontOf(state->font));
    pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    const TextExtent extent = LogicalExtent(layout.get());
    size->cx = LONG(std::ceil(extent.width));
    size->cy = LONG(std::ceil(extent.height));
    return TRUE;
}

int DrawTextW(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format)
{
    cairo_t* cr = brvl::win32::CairoOf(dc);
    if (cr == nullptr || rect == nullptr || text == nullptr)
    {
        return 0;
    }
    const DcState* state = StateOf(dc);
    std::string utf8 = PlainTextUtf8(text, length);
    int underlineAt = -1;
    if ((format & DT_NOPREFIX) == 0)
    {
        utf8 = StripPrefixes(utf8, &underlineAt);
    }
    LayoutPtr layout = MakeLayout(cr, utf8, FontOf(state->font));
    if (underlineAt >= 0)
    {
        PangoAttrList* attributes = pango_attr_list_new();
        PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        underline->start_index = guint(underlineAt);
        underline->end_index =
            guint(underlineAt + Utf8SequenceLength(static_cast<unsigned char>(utf8[underlineAt])));
        pango_attr_list_insert(attributes, underline);
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }

    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    pango_layout_set_single_paragraph_mode(layout.get(), singleLine ? TRUE : FALSE);
    if (width > 0 && ((format & DT_WORDBREAK) != 0 || (format & DT_END_ELLIPSIS) != 0))
    {
        pango_layout_set_width(layout.get(), width * PANGO_SCALE);
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
        if ((format & DT_END_ELLIPSIS) != 0)
        {
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
        }
    }
    const TextExtent extent = LogicalExtent(layout.get());
    const int textHeight = int(std::ceil(extent.height));
    if ((format & DT_CALCRECT) != 0)
    {
        rect->right = rect->left + int(std::ceil(extent.width));
        rect->bottom = rect->top + textHeight;
        return textHeight;
    }

    double x = rect->left;
    if ((format & DT_CENTER) != 0)
    {
        x += (width - extent.width) / 2.0;
    }
    else if ((format & DT_RIGHT) != 0)
    {
        x += width - extent.width;
    }
    double y = rect->top;
    // Vertical placement applies to single lines only.
    if (singleLine && (format & DT_VCENTER) != 0)
    {
        y += (height - extent.height) / 2.0;
    }
    else if (singleLine && (format & DT_BOTTOM) != 0)
    {
        y += height - extent.height;
    }
    if (pango_layout_get_width(layout.get()) > 0)
    {
        // A set width aligns within it by itself.
        pango_layout_set_alignment(layout.get(), (format & DT_CENTER) != 0  ? PANGO_ALIGN_CENTER
                                                 : (format & DT_RIGHT) != 0 ? PANGO_ALIGN_RIGHT
                                                                            : PANGO_ALIGN_LEFT);
        x = rect->left;
    }

    cairo_save(cr);
    cairo_identity_matrix(cr);
    if ((format & DT_NOCLIP) == 0)
    {
        if (width <= 0 || height <= 0)
        {
            cairo_restore(cr);
            return textHeight;
        }
        cairo_rectangle(cr, rect->left, rect->top, width, height);
        cairo_clip(cr);
    }
    const COLORREF color = state->textColor;
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout.get());
    cairo_new_path(cr);
    cairo_restore(cr);
    return textHeight;
}
