#include "tests/platform/test_windows.h"

#include "platform/win32/dialog_template.h"
#include "platform/win32/window_picture.h"

#include <stdexcept>

namespace
{

using brvl::win32::LoadDialogTemplate;
using brvl::win32::ParseDialogTemplate;

class DialogTemplateTest : public WindowTest
{
};

TEST_F(DialogTemplateTest, EveryShippedTemplateMakesItsDialog)
{
    struct Case
    {
        UINT id;
        const wchar_t* caption;
        size_t controls;
    };
    const Case cases[] = {{316, L"UXDesigner", 25},
                          {318, L"Test", 0},
                          {320, L"Save As", 8},
                          {322, L"Export", 30},
                          {328, L"Profile Curve Editor", 9}};
    for (const Case& c : cases)
    {
        const auto t = LoadDialogTemplate(c.id);
        ASSERT_TRUE(t) << "template " << c.id;
        EXPECT_EQ(t->caption, c.caption);
        EXPECT_EQ(t->controls.size(), c.controls) << "template " << c.id;
        CDialog dialog(c.id);
        ASSERT_TRUE(dialog.Create(c.id)) << "template " << c.id;
        EXPECT_EQ(brvl::win32::ChildWindows(dialog.GetSafeHwnd()).size(), c.controls);
        // A picture of each for people to look at.
        dialog.ShowWindow(SW_SHOW);
        const std::string png =
            std::string(BRVL_TEST_OUTPUT_DIR) + "/dialog_template_" + std::to_string(c.id) + ".png";
        EXPECT_TRUE(RenderWindowToPng(dialog.GetSafeHwnd(), png));
        dialog.DestroyWindow();
    }
}

TEST(DialogTemplateParse, ReadsNamesAndNumbers)
{
    const auto t = ParseDialogTemplate(R"({"caption": "X", "size": [100, 50],
        "style": 2160590848, "font": {"face": "Segoe UI", "points": 9},
        "controls": [{"class": "BUTTON", "text": "OK", "id": 1, "rect": [1, 2, 3, 4],
                      "style": ["BS_DEFPUSHBUTTON", "WS_TABSTOP"]},
                     {"class": "EDIT", "rect": [0, 0, 10, 10], "hidden": true}]})");
    EXPECT_EQ(t.style, 0x80C80000u);
    EXPECT_EQ(t.fontFace, L"Segoe UI");
    EXPECT_EQ(t.fontPoints, 9);
    ASSERT_EQ(t.controls.size(), 2u);
    EXPECT_EQ(t.controls[0].style, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP);
    EXPECT_EQ(t.controls[1].id, -1);
    EXPECT_EQ(t.controls[1].style & WS_VISIBLE, 0u);
}

TEST(DialogTemplateParse, RefusesBrokenTemplatesWithAReason)
{
    const char* broken[] = {
        "not json",
        "[]",
        R"({"caption": "X"})",
        R"({"size": [10, -1]})",
        R"({"size": [10, 10], "style": ["WS_NOPE"]})",
        R"({"size": [10, 10], "controls": [{"class": "BUTTON"}]})",
        R"({"size": [10, 10], "controls": [{"rect": [0, 0, 1, 1]}]})",
        R"({"size": [10, 10], "controls": [{"class": "EDIT", "id": 70000, "rect": [0, 0, 1, 1]}]})",
        R"({"size": [10, 10], "font": {"points": 0}})",
        R"({"size": [99999, 10]})",
    };
    for (const char* text : broken)
    {
        EXPECT_THROW(ParseDialogTemplate(text), std::runtime_error) << text;
    }
}

} // namespace
