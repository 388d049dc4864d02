#include "platform/win32/text_layout.h"

#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <string>

using brvl::win32::MapFontFamily;

namespace
{

std::string ResolvedFamily(const char* requested)
{
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* context = pango_font_map_create_context(map);
    PangoFontDescription* description = pango_font_description_from_string(requested);
    pango_font_description_set_absolute_size(description, 12 * PANGO_SCALE);
    PangoFont* font = pango_font_map_load_font(map, context, description);
    std::string family;
    if (font != nullptr)
    {
        PangoFontDescription* actual = pango_font_describe(font);
        family = pango_font_description_get_family(actual);
        pango_font_description_free(actual);
        g_object_unref(font);
    }
    pango_font_description_free(description);
    g_object_unref(context);
    return family;
}

} // namespace

TEST(TextLayout, FamiliesMapToInstalledFonts)
{
    EXPECT_EQ(MapFontFamily(L"Segoe UI"), "Open Sans");
    EXPECT_EQ(MapFontFamily(L"MS Shell Dlg"), "Open Sans");
    EXPECT_EQ(MapFontFamily(L"Times New Roman"), "Liberation Serif");
    EXPECT_EQ(MapFontFamily(L"Wingdings"), "sans-serif");
    EXPECT_EQ(ResolvedFamily("Open Sans"), "Open Sans") << "fonts-open-sans must be installed";
    EXPECT_EQ(ResolvedFamily("Liberation Serif"), "Liberation Serif");
}
