#include "tests/platform/test_windows.h"

#include "platform/stdctrl/tooltip_control.h"

namespace
{

using brvl::win32::RequestTooltip;

class TooltipTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateTopLevel(RECT{100, 100, 500, 300}, WS_POPUP | WS_VISIBLE));
        host.On(WM_NOTIFY,
                [this](WPARAM, LPARAM l) -> std::optional<LRESULT>
                {
                    auto* info = reinterpret_cast<NMTTDISPINFOW*>(l);
                    if (info->hdr.code != TTN_GETDISPINFOW)
                    {
                        return 0;
                    }
                    ++requests;
                    CString text;
                    text.Format(L"tool %d", static_cast<int>(info->hdr.idFrom - 0x5000));
                    wcsncpy(info->szText, text, 79);
                    tip.SetTitle(TTI_INFO, L"Title");
                    return 0;
                });
        ASSERT_TRUE(tip.Create(&host, TTS_ALWAYSTIP | TTS_NOPREFIX));
        tip.SetMaxTipWidth(420);
        tip.Activate(TRUE);
        const RECT first{0, 0, 100, 100};
        const RECT second{100, 0, 200, 100};
        tip.AddTool(&host, LPSTR_TEXTCALLBACK, &first, 0x5000);
        tip.AddTool(&host, LPSTR_TEXTCALLBACK, &second, 0x5001);
        Settle();
    }
    void Relay(int x, int y)
    {
        MSG msg{host.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y), 0, {}};
        tip.RelayEvent(&msg);
    }

    RecordingWnd host{"host", log};
    CToolTipCtrl tip;
    int requests = 0;
};

TEST_F(TooltipTest, ARequestAsksTheHostAndKeepsTheTitleSetMeanwhile)
{
    const auto shown = RequestTooltip(host.GetSafeHwnd(), POINT{150, 50});
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, L"tool 1");
    EXPECT_EQ(shown->title, L"Title");
    EXPECT_FALSE(RequestTooltip(host.GetSafeHwnd(), POINT{250, 50})) << "no tool there";
    tip.Activate(FALSE);
    EXPECT_FALSE(RequestTooltip(host.GetSafeHwnd(), POINT{50, 50}));
}

TEST_F(TooltipTest, TheTipPopsUpAfterHalfASecondOfHover)
{
    Relay(20, 20);
    session->AdvanceTime(400);
    EXPECT_EQ(requests, 0);
    EXPECT_FALSE(tip.IsWindowVisible());
    Relay(25, 22); // still the same tool: the wait goes on
    session->AdvanceTime(150);
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(tip.IsWindowVisible());
    Relay(120, 20); // another tool hides it and waits again
    EXPECT_FALSE(tip.IsWindowVisible());
    session->AdvanceTime(500);
    EXPECT_EQ(requests, 2);
    MSG press{host.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 20), 0, {}};
    tip.RelayEvent(&press);
    EXPECT_FALSE(tip.IsWindowVisible());
}

} // namespace
