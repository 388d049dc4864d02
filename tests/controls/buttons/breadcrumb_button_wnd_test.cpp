#include "controls/buttons/breadcrumb_button_wnd.h"

#include "controls/base/painting_helpers.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <string>

class BreadcrumbButton : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(link, CRect(CPoint(20, 20), link.GetPreferredSize()));
        link.SetLabel(L"Edit");
    }

    // The text's alpha over a black surface shows in its brightest pixel.
    int BrightestGreen()
    {
        link.SetBackgroundColor(RGB(0, 0, 0));
        link.UpdateWindow();
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(link.GetSafeHwnd(), picture));
        int brightest = 0;
        for (int y = 0; y < picture.height; ++y)
        {
            for (int x = 0; x < picture.width; ++x)
            {
                brightest = std::max<int>(brightest, GetGValue(picture.ColorAt(x, y)));
            }
        }
        return brightest;
    }

    CBreadcrumbButtonWnd link;
};

TEST_F(BreadcrumbButton, AClickTellsChangedThenCommitAndLeavesTheValue)
{
    EXPECT_FALSE(link.GetDrawBorder() || link.GetDrawBackground());
    link.SetValueSilently(0.25);
    session->Click(At(link, 26, 12));
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].message, WMU_CONTROL_CHANGED);
    EXPECT_EQ(heard[1].message, WMU_CONTROL_COMMIT);
    EXPECT_EQ(link.GetValue(), 0.25);
}

TEST_F(BreadcrumbButton, ADisabledLinkIsFaintAndIgnoresClicks)
{
    const int resting = BrightestGreen();
    link.SetDisabled(true);
    const int faint = BrightestGreen();
    // 0x9E at alpha 0xB0, then at 0x60.
    EXPECT_NEAR(resting, 0x9E * 0xB0 / 255, 3);
    EXPECT_NEAR(faint, 0x9E * 0x60 / 255, 3);
    session->Click(At(link, 26, 12));
    EXPECT_TRUE(heard.empty());
}

TEST_F(BreadcrumbButton, ALeaveKeepsThePressWhileCapturedAndLosingTheCaptureEndsIt)
{
    ::SendMessage(link.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(26, 12));
    ::ReleaseCapture();
    ::SendMessage(link.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(26, 12));
    ASSERT_TRUE(link.GetDrawState().pressed);
    ::SendMessage(link.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(link.GetDrawState().pressed) << "it holds the capture";
    parent.SetCapture();
    ::ReleaseCapture();
    EXPECT_FALSE(link.GetDrawState().pressed) << "losing the capture ends it";
}

TEST(BreadcrumbButtonPictures, IdleHoveredPressedAndDisabled)
{
    for (const CSize size : {CSize(52, 24), CSize(120, 40)})
    {
        const int looks = 4;
        Gdiplus::Bitmap sheet(size.cx * looks, size.cy);
        Gdiplus::Graphics graphics(&sheet);
        for (int look = 0; look < looks; ++look)
        {
            CBreadcrumbButtonWnd::State state;
            state.size = size;
            state.snapshot.label = L"Edit";
            state.snapshot.backgroundColor = RGB(0x10, 0x0E, 0x0C);
            state.snapshot.hover = look == 1 || look == 2;
            state.snapshot.pressed = look == 2;
            state.snapshot.disabled = look == 3;
            Gdiplus::Bitmap one(size.cx, size.cy);
            {
                Gdiplus::Graphics g(&one);
                PrepareControlGraphics(g);
                CBreadcrumbButtonWnd::Draw(g, state);
            }
            graphics.DrawImage(&one, float(look * size.cx), 0.0f);
        }
        ASSERT_TRUE(SaveControlPicture(sheet, "breadcrumb_button_" + std::to_string(size.cx) + "x" +
                                                  std::to_string(size.cy)));
    }
}
