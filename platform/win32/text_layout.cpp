#include "platform/win32/text_layout.h"

#include "base/unicode_text.h"

#include <cwchar>

namespace brvl::win32
{

namespace
{

// Text always renders the same way whatever the hint asks, so pictures of
// windows repeat from run to run.
void SetRepeatableFontOptions(PangoContext* context)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
}

} // namespace

std::string MapFontFamily(const std::wstring& family)
{
    if (family == L"Segoe UI" || family == L"MS Shell Dlg" || family == L"MS Shell Dlg 2")
    {
        return "Open Sans";
    }
    if (family == L"Times New Roman")
    {
        return "Liberation Serif";
    }
    return "sans-serif";
}

std::string PlainTextUtf8(const wchar_t* text, int length)
{
    const size_t count = text == nullptr ? 0 : (length < 0 ? std::wcslen(text) : size_t(length));
    const std::string utf8 = WideToUtf8(std::wstring_view(text != nullptr ? text : L"", count));
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i)
    {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
        {
            continue;
        }
        out += utf8[i];
    }
    return out;
}

LayoutPtr MakeTextLayout(cairo_t* cr, const std::string& utf8, const std::wstring& family,
                         double emPx, bool bold, bool italic)
{
    LayoutPtr layout(pango_cairo_create_layout(cr));
    SetRepeatableFontOptions(pango_layout_get_context(layout.get()));
    pango_cairo_update_layout(cr, layout.get());
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, MapFontFamily(family).c_str());
    pango_font_description_set_absolute_size(description, emPx * PANGO_SCALE);
    pango_font_description_set_weight(description, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);
    pango_layout_set_text(layout.get(), utf8.c_str(), int(utf8.size()));
    return layout;
}

TextExtent LogicalExtent(PangoLayout* layout)
{
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {double(logical.width) / PANGO_SCALE, double(logical.height) / PANGO_SCALE};
}

} // namespace brvl::win32
