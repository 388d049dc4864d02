#include "platform/stdctrl/standard_controls.h"
#include "platform/win32/gdi.h"
#include "tests/platform/test_windows.h"

namespace
{

using namespace brvl::win32;

class StandardControlsTest : public WindowTest
{
protected:
    void SetUp() override
    {
        RegisterStandardControlClasses();
        ASSERT_TRUE(parent.CreateTopLevel(RECT{100, 100, 500, 400}));
        font =
            CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, L"Segoe UI");
    }
    void TearDown() override { DeleteObject(font); }

    HWND Create(const wchar_t* className)
    {
        return CreateWindowExW(0, className, L"x", WS_CHILD | WS_VISIBLE, 10, 10, 120, 24,
                               parent.GetSafeHwnd(), nullptr, nullptr, nullptr);
    }
    bool NeedsPaint(HWND hwnd) { return GetUpdateRect(hwnd, nullptr, FALSE) != FALSE; }

    RecordingWnd parent{"parent", log};
    HFONT font = nullptr;
};

TEST_F(StandardControlsTest, ControlsKeepTheirFontAndRedrawOnlyWhenAsked)
{
    struct Case
    {
        const wchar_t* className;
        bool keepsFont;
        bool redrawsAlways; // the combo box refits its height to the font
    };
    const Case cases[] = {{kButtonClass, true, false},    {kEditClass, true, false},
                          {kStaticClass, true, false},    {kComboBoxClass, true, true},
                          {kTrackbarClass, false, false}, {kTooltipClass, false, false}};
    for (const Case& c : cases)
    {
        const HWND control = Create(c.className);
        ASSERT_NE(control, nullptr) << "class " << c.className;
        Settle();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        EXPECT_EQ(NeedsPaint(control), c.redrawsAlways)
            << "class " << c.className << " redrew without being asked";
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                  c.keepsFont ? font : nullptr)
            << "class " << c.className << " lost its font";
        Settle();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        EXPECT_EQ(NeedsPaint(control), c.keepsFont)
            << "class " << c.className << " ignored the redraw flag";
        DestroyWindow(control);
    }
}

} // namespace
