#include "controls/buttons/action_button_wnd.h"

#include "controls/base/painting_helpers.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <string>

TEST(ActionButtonBody, SitsLowInATallButtonAndHighInAShortOne)
{
    struct Case
    {
        RECT client;
        RECT body;
    };
    const Case cases[] = {
        {{0, 0, 160, 80}, {18, 24, 142, 54}},
        {{0, 0, 160, 40}, {18, 4, 142, 36}},
        {{0, 0, 17, 40}, {9, 4, 8, 36}}, // narrower than 18: no width, no click
        {{10, 20, 210, 120}, {48, 44, 172, 74}},
    };
    for (const Case& c : cases)
    {
        const RECT body = ActionButtonBody(c.client);
        EXPECT_EQ(body.left, c.body.left) << c.client.right << " x " << c.client.bottom;
        EXPECT_EQ(body.top, c.body.top);
        EXPECT_EQ(body.right, c.body.right);
        EXPECT_EQ(body.bottom, c.body.bottom);
    }
}

TEST(ActionButton, PicturesIdleHoveredAndPressed)
{
    for (const CSize size : {CSize(160, 80), CSize(120, 40)})
    {
        const int states = 3;
        Gdiplus::Bitmap sheet(size.cx * states, size.cy);
        Gdiplus::Graphics graphics(&sheet);
        PrepareControlGraphics(graphics);
        for (int look = 0; look < states; ++look)
        {
            CActionButtonWnd::State state;
            state.size = size;
            state.snapshot.label = L"Apply";
            state.snapshot.hover = look >= 1;
            state.snapshot.pressed = look == 2;
            Gdiplus::Bitmap one(size.cx, size.cy);
            {
                Gdiplus::Graphics g(&one);
                PrepareControlGraphics(g);
                PaintControlBackground(g, RECT{0, 0, size.cx, size.cy}, state.snapshot);
                CActionButtonWnd::Draw(g, state);
            }
            graphics.DrawImage(&one, float(look * size.cx), 0.0f);
        }
        ASSERT_TRUE(SaveControlPicture(sheet, "action_button_" + std::to_string(size.cx) + "x" +
                                                  std::to_string(size.cy)));
    }
}

class ActionButtonWindow : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(button, CRect(CPoint(20, 20), button.GetPreferredSize()));
    }

    CActionButtonWnd button;
};

TEST_F(ActionButtonWindow, AClickReadsOneOnlyWhileTheParentHearsIt)
{
    EXPECT_EQ(button.GetKindName(), "action button");
    EXPECT_EQ(button.GetLabel().Str(), L"Action");
    EXPECT_EQ(button.GetGridSpan(), CSize(4, 2));

    session->Click(At(button, 80, 40));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].message, WMU_CONTROL_CHANGED);
    EXPECT_EQ(heard[0].value, 1.0);
    EXPECT_EQ(button.GetValue(), 0.0);

    // Outside the body (above it), and a press released outside, do nothing.
    heard.clear();
    session->AdvanceTime(600);
    session->Click(At(button, 80, 10));
    session->PressButton(At(button, 80, 40));
    session->ReleaseButton(At(button, 80, 70));
    ::SendMessage(button.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(80, 40)); // no press
    EXPECT_TRUE(heard.empty());
}

TEST_F(ActionButtonWindow, HoverFollowsThePointerAndClearsWhenItLeaves)
{
    session->MoveMouse(At(button, 80, 40));
    EXPECT_TRUE(button.GetDrawState().hover);
    session->MoveMouse(At(button, 80, 70)); // in the window, off the body
    EXPECT_FALSE(button.GetDrawState().hover);
    session->MoveMouse(At(button, 80, 40));
    session->MoveMouse(ScreenPoint(parent, 700, 500));
    PumpPendingMessages();
    EXPECT_FALSE(button.GetDrawState().hover);
}

TEST_F(ActionButtonWindow, SurvivesAParentThatDestroysItOnTheClick)
{
    parent.On(WMU_CONTROL_CHANGED,
              [&](WPARAM, LPARAM) -> std::optional<LRESULT>
              {
                  button.DestroyWindow();
                  return 0;
              });
    session->Click(At(button, 80, 40));
    EXPECT_FALSE(::IsWindow(button.GetSafeHwnd()));
}
