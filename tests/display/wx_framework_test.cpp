// The framework's frame (menu bar, pane, status bar, view) under the display:
// its menus open as native top-levels of their own and take real clicks.

#include "tests/display/display_test_support.h"
#include "tests/platform/framework_fixture.h"

namespace
{

class FrameworkOnDisplay : public DisplayTest
{
protected:
    void SetUp() override
    {
        DisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        Trace() = FrameworkTrace{};
        ASSERT_TRUE(app.InitInstance());
        mainFrame = dynamic_cast<TestFrame*>(app.m_pMainWnd);
        ASSERT_NE(mainFrame, nullptr);
        DispatchFor(std::chrono::milliseconds(300));
    }

    void TearDown() override
    {
        if (mainFrame != nullptr && ::IsWindow(mainFrame->GetSafeHwnd()))
        {
            mainFrame->DestroyWindow();
        }
        DisplayTest::TearDown();
    }

    POINT TopItem(int index) const
    {
        const CRect item = mainFrame->m_wndMenuBar.ItemRect(index);
        return ScreenOf(mainFrame->m_wndMenuBar, item.CenterPoint().x, item.CenterPoint().y);
    }

    TestApp app;
    TestFrame* mainFrame = nullptr;
};

TEST_F(FrameworkOnDisplay, AClickedMenuOpensOnScreenAndItsItemRunsTheCommand)
{
    CMFCMenuBar& bar = mainFrame->m_wndMenuBar;
    const bool opened = RunWhileDispatching(Xdotool("mousemove " + At(TopItem(0)) + " click 1"),
                                            [&] { return bar.OpenPopup() != nullptr; });
    ASSERT_TRUE(opened) << "a click on File did not open its menu";
    DispatchFor(std::chrono::milliseconds(200));
    ASSERT_TRUE(brvl::backend::wx_testing::SaveScreenPng(kDisplayOutput / "display_menu_open.png"));

    const CPoint item = bar.OpenPopup()->ItemScreenRect(1).CenterPoint(); // "Import Audio.."
    const bool ran = RunWhileDispatching(Xdotool("mousemove " + At(item) + " sleep 0.1 click 1"),
                                         [&] { return Trace().Count("view import") == 1; });
    EXPECT_TRUE(ran) << "the item's command did not reach the view";
    EXPECT_EQ(bar.OpenPopup(), nullptr);
}

} // namespace
