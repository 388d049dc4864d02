// The transport and processing strips: their layouts as pure functions, their
// texts, the strips under injected input with a recording parent, and their
// pictures.

#include "pages/processing_viewport_wnd.h"
#include "pages/transport_surface_viewport_wnd.h"

#include "controls/base/painting_helpers.h"
#include "tests/controls/control_test_kit.h"
#include "tests/pages/page_test_kit.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// A strip's Draw on a bitmap of its size, prepared as a paint is.
template <typename Window> Gdiplus::Bitmap* Picture(const typename Window::State& state)
{
    auto* bitmap = new Gdiplus::Bitmap(state.size.cx, state.size.cy);
    Gdiplus::Graphics graphics(bitmap);
    PrepareControlGraphics(graphics);
    Window::Draw(graphics, state);
    return bitmap;
}

} // namespace

TEST(TransportLayout, PlacesTheGroupAndProcessButton)
{
    const TransportLayout wide = ComputeTransportLayout(RECT{0, 0, 960, 50});
    EXPECT_EQ(Text(wide.timeReadout), "232,4-350,46");
    EXPECT_EQ(Text(wide.play), "368,6-406,44");
    EXPECT_EQ(Text(wide.stop), "418,6-456,44");
    EXPECT_EQ(Text(wide.monitorSwitch), "474,8-598,42");
    EXPECT_EQ(Text(wide.in), "474,8-536,42");
    EXPECT_EQ(Text(wide.out), "536,8-598,42");
    EXPECT_EQ(Text(wide.process), "834,6-946,44");
    EXPECT_EQ(wide.diameter, 38);

    // Narrow: gap 2, scaled widths, and the switch reaching into Process.
    const TransportLayout narrow = ComputeTransportLayout(RECT{0, 0, 400, 50});
    EXPECT_EQ(Text(narrow.timeReadout), "14,4-111,46");
    EXPECT_EQ(Text(narrow.play), "113,6-151,44");
    EXPECT_EQ(Text(narrow.monitorSwitch), "203,8-307,42");
    EXPECT_EQ(Text(narrow.process), "294,6-386,44");
    EXPECT_EQ(HitTestTransport(narrow, POINT{300, 20}), kTransportOut) << "the overlap";

    const TransportLayout low = ComputeTransportLayout(RECT{0, 0, 960, 30});
    EXPECT_EQ(low.diameter, 28);
    EXPECT_EQ(low.play.bottom - low.play.top, 28);
    EXPECT_EQ(low.monitorSwitch.bottom - low.monitorSwitch.top, 24);
    EXPECT_EQ(low.process.bottom - low.process.top, 26);
    EXPECT_EQ(low.process.top, 2);

    // Empty and tiny clients still give rectangles without failing.
    for (const RECT client : {RECT{0, 0, 0, 0}, RECT{0, 0, 1, 1}, RECT{0, 0, 20, 50}})
    {
        const TransportLayout tiny = ComputeTransportLayout(client);
        EXPECT_EQ(tiny.diameter, client.bottom == 50 ? 38 : 28);
        EXPECT_EQ(tiny.process.right, client.right - 14);
    }
}

TEST(TransportLayout, HitTestHoldsLeftAndTopEdgesOnly)
{
    const TransportLayout layout = ComputeTransportLayout(RECT{0, 0, 960, 50});
    struct Case
    {
        POINT point;
        int expected;
    };
    for (const Case c :
         {Case{{368, 6}, 1}, Case{{405, 43}, 1}, Case{{406, 20}, 0}, Case{{380, 44}, 0},
          Case{{418, 6}, 2}, Case{{535, 8}, 3}, Case{{536, 8}, 4}, Case{{597, 41}, 4},
          Case{{598, 20}, 0}, Case{{834, 6}, 5}, Case{{945, 43}, 5}, Case{{946, 20}, 0},
          Case{{300, 20}, 0}, Case{{-1, -1}, 0}})
    {
        EXPECT_EQ(HitTestTransport(layout, c.point), c.expected) << c.point.x << "," << c.point.y;
    }
}

TEST(TransportTime, FormatsMinutesSecondsAndTenths)
{
    struct Case
    {
        double seconds;
        const wchar_t* expected;
    };
    for (const Case c : {Case{65.37, L"01:05.3"}, Case{5999.95, L"99:59.9"}, Case{6000.0, L"6000"},
                         Case{-3.0, L"00:00.0"}, Case{2.3, L"00:02.2"}, Case{0.0, L"00:00.0"},
                         Case{1e12, L"2147483647"}, Case{kInf, L"2147483647"},
                         Case{kNaN, L"00:00.0"}, Case{std::nextafter(1.0, 0.0), L"00:00.9"}})
    {
        EXPECT_EQ(FormatTransportTime(c.seconds), c.expected) << c.seconds;
    }
}

namespace
{

class TransportTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 1040, 140)));
        parent.On(WMU_TRANSPORT_BUTTON,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(reinterpret_cast<HWND>(wParam), strip.GetSafeHwnd());
                      heard.push_back(*reinterpret_cast<const TransportButtonNotify*>(lParam));
                      if (onButton)
                      {
                          onButton();
                      }
                      return 0;
                  });
        ASSERT_TRUE(strip.Create(&parent, CRect(0, 0, 960, 50)));
        strip.UpdateTimeText();
        Settle();
    }

    POINT At(int x, int y) const { return ScreenPoint(strip, x, y); }

    RecordingWnd parent{"parent", log};
    CTransportSurfaceViewportWnd strip;
    std::vector<TransportButtonNotify> heard;
    std::function<void()> onButton;
};

} // namespace

TEST_F(TransportTest, StartsAsTheViewMakesIt)
{
    EXPECT_EQ(strip.GetDlgCtrlID(), 8716);
    EXPECT_EQ(strip.GetStyle() & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              DWORD(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(strip.backgroundColor, COLORREF(0x12100E));
    EXPECT_EQ(strip.processLabel, L"Process");
    EXPECT_EQ(strip.timeText, L"00:00.0");
    EXPECT_FALSE(strip.playing);
    EXPECT_FALSE(strip.monitorSource);
    EXPECT_EQ(strip.hoverButton, 0);
    EXPECT_EQ(strip.pressedButton, 0);
}

TEST_F(TransportTest, SettersStoreWhatTheOwnerGives)
{
    strip.SetPosition(65.37);
    EXPECT_EQ(strip.timeText, L"01:05.3");
    strip.SetPosition(65.37 + 5e-5);
    EXPECT_EQ(strip.position, 65.37) << "moves under 1e-4 s are ignored";
    strip.SetPosition(kNaN);
    EXPECT_EQ(strip.position, 65.37);
    strip.SetPosition(-3.0);
    EXPECT_EQ(strip.position, 0.0);
    EXPECT_EQ(strip.timeText, L"00:00.0");
    for (const double huge : {1e12, kInf})
    {
        strip.SetPosition(huge);
        EXPECT_EQ(strip.timeText, L"2147483647");
    }

    strip.SetStatus(true, L"BUFFER", L"Preview...");
    EXPECT_TRUE(strip.showStatus);
    EXPECT_EQ(strip.statusCaption, L"BUFFER");
    strip.SetStatus(false, L"ignored", L"ignored");
    EXPECT_FALSE(strip.showStatus);
    EXPECT_TRUE(strip.statusCaption.empty());
    EXPECT_TRUE(strip.statusText.empty());
    strip.SetProcessLabel(L"Cancelling...");
    EXPECT_EQ(strip.processLabel, L"Cancelling...");
}

TEST_F(TransportTest, AClickOnOneButtonSendsOneMessage)
{
    struct Case
    {
        POINT at;
        int button;
        bool monitorSource;
    };
    for (const Case c :
         {Case{{380, 20}, kTransportPlay, false}, Case{{430, 20}, kTransportStop, false},
          Case{{500, 20}, kTransportIn, true}, Case{{500, 20}, kTransportIn, true},
          Case{{560, 20}, kTransportOut, false}, Case{{900, 20}, kTransportProcess, false}})
    {
        heard.clear();
        session->Click(At(c.at.x, c.at.y));
        ASSERT_EQ(heard.size(), 1u) << c.button;
        EXPECT_EQ(heard[0].message, 0x8340);
        EXPECT_EQ(heard[0].button, c.button);
        EXPECT_EQ(heard[0].monitorSource, c.monitorSource);
        EXPECT_EQ(strip.monitorSource, c.monitorSource);
        EXPECT_EQ(strip.pressedButton, 0);
        EXPECT_EQ(::GetCapture(), nullptr);
    }
}

TEST_F(TransportTest, AReleaseAwayFromThePressedButtonSendsNothing)
{
    session->PressButton(At(380, 20));
    EXPECT_EQ(strip.pressedButton, kTransportPlay);
    EXPECT_EQ(::GetCapture(), strip.GetSafeHwnd());
    session->ReleaseButton(At(430, 20));
    session->PressButton(At(380, 20));
    session->ReleaseButton(At(300, 20));
    session->PressButton(At(500, 20));
    session->ReleaseButton(At(500, 200));
    EXPECT_TRUE(heard.empty());
    EXPECT_FALSE(strip.monitorSource);

    // A release without a press, and a press on nothing.
    session->ReleaseButton(At(380, 20));
    session->Click(At(300, 20));
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(TransportTest, ALostCaptureClearsThePressSilently)
{
    session->PressButton(At(900, 20));
    ASSERT_EQ(strip.pressedButton, kTransportProcess);
    ::ReleaseCapture();
    EXPECT_EQ(strip.pressedButton, 0);
    session->ReleaseButton(At(900, 20));
    EXPECT_TRUE(heard.empty());
}

TEST_F(TransportTest, HoverFollowsThePointerUntilItLeaves)
{
    session->MoveMouse(At(900, 20));
    EXPECT_EQ(strip.hoverButton, kTransportProcess);
    session->MoveMouse(At(500, 20));
    EXPECT_EQ(strip.hoverButton, kTransportIn);
    session->MoveMouse(At(300, 20));
    EXPECT_EQ(strip.hoverButton, 0);
    session->MoveMouse(At(380, 20));
    EXPECT_EQ(strip.hoverButton, kTransportPlay);
    session->MoveMouse(ScreenPoint(parent, 10, 90));
    PumpPendingMessages();
    EXPECT_EQ(strip.hoverButton, 0);
}

TEST_F(TransportTest, AParentThatDestroysTheStripDuringTheClick)
{
    onButton = [this] { strip.DestroyWindow(); };
    session->Click(At(380, 20));
    EXPECT_EQ(heard.size(), 1u);
    EXPECT_FALSE(::IsWindow(strip.GetSafeHwnd()));
    PumpPendingMessages();
}

TEST_F(TransportTest, TinyClientsAndNoParent)
{
    for (const CSize size : {CSize(0, 0), CSize(1, 1), CSize(20, 50), CSize(-5, -5)})
    {
        strip.MoveWindow(0, 0, size.cx, size.cy);
        strip.UpdateWindow();
        session->Click(At(10, 25));
    }
    PumpPendingMessages();

    // Windows of their own, without a parent, send nothing.
    const LPCTSTR windowClass = AfxRegisterWndClass(0);
    CTransportSurfaceViewportWnd orphan;
    ASSERT_TRUE(
        orphan.CreateEx(0, windowClass, L"orphan", WS_POPUP, CRect(0, 0, 960, 50), nullptr, 0));
    orphan.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(380, 20));
    orphan.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(380, 20));
    CProcessingViewportWnd page;
    ASSERT_TRUE(
        page.CreateEx(0, windowClass, L"orphan", WS_POPUP, CRect(0, 0, 640, 50), nullptr, 0));
    page.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(560, 25));
    page.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(560, 25));
    EXPECT_EQ(page.pressedButton, false);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(log.Count("parent", WMU_PROCESSING_CANCEL), 0);
}

TEST(TransportPaint, DrawsAtAnySizeAndText)
{
    CTransportSurfaceViewportWnd::State state;
    state.processLabel = std::wstring(1000, L'W');
    state.timeText = std::wstring(1000, L'9');
    state.showStatus = true;
    state.statusCaption = std::wstring(1000, L'B');
    state.statusText = std::wstring(1000, L'P');
    ExpectDrawLeavesGraphicsUsable<CTransportSurfaceViewportWnd>(state);
}

TEST(TransportPaint, Pictures)
{
    CTransportSurfaceViewportWnd::State idle;
    idle.size = CSize(960, 50);
    idle.processLabel = L"Process";
    idle.timeText = L"01:05.3";
    struct Shot
    {
        const char* name;
        CTransportSurfaceViewportWnd::State state;
        COLORREF processBody;
    };
    auto playingIn = idle;
    playingIn.playing = true;
    playingIn.monitorSource = true;
    auto hovered = idle;
    hovered.hoverButton = kTransportProcess;
    auto pressed = idle;
    pressed.hoverButton = kTransportProcess;
    pressed.pressedButton = kTransportProcess;
    auto status = idle;
    status.showStatus = true;
    status.statusCaption = L"BUFFER";
    status.statusText = L"Preview...";
    auto narrow = idle;
    narrow.size = CSize(400, 50);
    for (const Shot& shot : {Shot{"transport_idle", idle, RGB(0xC0, 0x30, 0x2A)},
                             Shot{"transport_playing_in", playingIn, RGB(0xC0, 0x30, 0x2A)},
                             Shot{"transport_process_hovered", hovered, RGB(0xD7, 0x35, 0x2F)},
                             Shot{"transport_process_pressed", pressed, RGB(0x95, 0x25, 0x20)},
                             Shot{"transport_status", status, RGB(0xC0, 0x30, 0x2A)},
                             Shot{"transport_narrow", narrow, 0}})
    {
        SCOPED_TRACE(shot.name);
        std::unique_ptr<Gdiplus::Bitmap> picture(Picture<CTransportSurfaceViewportWnd>(shot.state));
        EXPECT_TRUE(SaveControlPicture(*picture, shot.name));
        EXPECT_EQ(PixelAt(*picture, 2, 2), RGB(0x0E, 0x10, 0x12)) << "the background";
        if (shot.processBody != 0)
        {
            EXPECT_EQ(PixelAt(*picture, 890, 9), shot.processBody);
        }
    }
    // Play lights while playing; the selected half of the switch is filled.
    std::unique_ptr<Gdiplus::Bitmap> still(Picture<CTransportSurfaceViewportWnd>(idle));
    std::unique_ptr<Gdiplus::Bitmap> playing(Picture<CTransportSurfaceViewportWnd>(playingIn));
    EXPECT_EQ(PixelAt(*still, 374, 25), RGB(0x0E, 0x10, 0x12));
    EXPECT_GT(GetRValue(PixelAt(*playing, 374, 25)), 0x90);
    EXPECT_GT(GetBValue(PixelAt(*playing, 480, 25)), 0x70) << "\"In\" in blue";
    EXPECT_GT(GetRValue(PixelAt(*still, 592, 25)), 0x90) << "\"Out\" in red";
}

TEST(ProcessingLayout, PlacesCancelAndTheTextColumn)
{
    const ProcessingLayout shown = ComputeProcessingLayout(RECT{0, 0, 640, 50}, true);
    EXPECT_EQ(Text(shown.cancel), "504,9-626,41");
    EXPECT_EQ(Text(shown.title), "14,1-492,19");
    EXPECT_EQ(Text(shown.status), "14,22-492,33");
    EXPECT_EQ(Text(shown.bar), "14,39-492,49");
    const ProcessingLayout narrow = ComputeProcessingLayout(RECT{0, 0, 300, 50}, true);
    EXPECT_EQ(narrow.cancel.right - narrow.cancel.left, 102);
    const ProcessingLayout hidden = ComputeProcessingLayout(RECT{0, 0, 640, 50}, false);
    EXPECT_EQ(Text(hidden.cancel), "626,0-626,0");
    EXPECT_EQ(hidden.title.right, 640 - 26);
    const ProcessingLayout tiny = ComputeProcessingLayout(RECT{0, 0, 20, 50}, true);
    EXPECT_EQ(tiny.title.right, 14) << "the column never turns over";
}

TEST(ProcessingTitle, RoundsHalvesAwayFromZero)
{
    struct Case
    {
        double progress;
        const wchar_t* expected;
    };
    for (const Case c :
         {Case{0.425, L"Processing 43%"}, Case{0.005, L"Processing 1%"},
          Case{0.0, L"Processing 0%"}, Case{1.0, L"Processing 100%"}, Case{kNaN, L"Processing 0%"},
          Case{1e300, L"Processing 100%"}, Case{-kInf, L"Processing 0%"}})
    {
        EXPECT_EQ(ProcessingTitleText(L"Processing", c.progress), c.expected) << c.progress;
    }
}

namespace
{

class ProcessingTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 740, 140)));
        parent.On(WMU_PROCESSING_CANCEL,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(reinterpret_cast<HWND>(wParam), page.GetSafeHwnd());
                      heard.push_back(*reinterpret_cast<const ProcessingCancelNotify*>(lParam));
                      if (onCancel)
                      {
                          onCancel();
                      }
                      return 0;
                  });
        ASSERT_TRUE(page.Create(&parent, CRect(0, 0, 640, 50)));
        Settle();
    }

    POINT At(int x, int y) const { return ScreenPoint(page, x, y); }

    RecordingWnd parent{"parent", log};
    CProcessingViewportWnd page;
    std::vector<ProcessingCancelNotify> heard;
    std::function<void()> onCancel;
};

} // namespace

TEST_F(ProcessingTest, CancelIsReportedOnlyWhenReleasedOnIt)
{
    EXPECT_EQ(page.GetDlgCtrlID(), 8718);
    EXPECT_EQ(page.title, L"Processing");
    EXPECT_EQ(page.statusText, L"Preparing");
    EXPECT_EQ(page.cancelText, L"Cancel");
    EXPECT_TRUE(page.cancelShown);

    session->PressButton(At(560, 25));
    EXPECT_TRUE(page.pressedButton);
    session->ReleaseButton(At(300, 25));
    EXPECT_TRUE(heard.empty());
    EXPECT_FALSE(page.pressedButton);

    session->Click(At(560, 25));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].message, 0x8342);
    EXPECT_EQ(heard[0].value, 1);
    EXPECT_EQ(::GetCapture(), nullptr);

    // A lost capture releases silently; a release without a press sends nothing.
    session->PressButton(At(560, 25));
    ::ReleaseCapture();
    EXPECT_FALSE(page.pressedButton);
    session->ReleaseButton(At(560, 25));
    session->ReleaseButton(At(560, 25));
    EXPECT_EQ(heard.size(), 1u);

    // Hidden, the button takes no hover and no click.
    session->MoveMouse(At(560, 25));
    EXPECT_TRUE(page.hoverButton);
    page.HideCancel();
    EXPECT_FALSE(page.hoverButton);
    session->MoveMouse(At(561, 25));
    session->Click(At(560, 25));
    EXPECT_FALSE(page.hoverButton);
    EXPECT_EQ(heard.size(), 1u);
    page.ShowCancel();
    onCancel = [this] { page.DestroyWindow(); };
    session->Click(At(560, 25));
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_FALSE(::IsWindow(page.GetSafeHwnd()));
    PumpPendingMessages();
}

TEST_F(ProcessingTest, ProgressIsHeldToAFraction)
{
    page.SetProgress(0.5);
    page.SetProgress(kNaN);
    EXPECT_EQ(page.progress, 0.5);
    page.SetProgress(1e300);
    EXPECT_EQ(page.progress, 1.0);
    page.SetProgress(-2.0);
    EXPECT_EQ(page.progress, 0.0);
    page.SetTitle(L"Analyzing Profile");
    page.SetStatusText(L"Loudness");
    page.SetCancelText(L"Cancelling...");
    EXPECT_EQ(page.title, L"Analyzing Profile");
    EXPECT_EQ(page.statusText, L"Loudness");
    EXPECT_EQ(page.cancelText, L"Cancelling...");
}

TEST(ProcessingPaint, DrawsAtAnySizeAndText)
{
    CProcessingViewportWnd::State state;
    state.title = std::wstring(1000, L'T');
    state.statusText = std::wstring(1000, L's');
    state.cancelText = std::wstring(1000, L'C');
    state.progress = kNaN;
    ExpectDrawLeavesGraphicsUsable<CProcessingViewportWnd>(state);
    state.progress = 1e300;
    ExpectDrawLeavesGraphicsUsable<CProcessingViewportWnd>(state);
}

TEST(ProcessingPaint, Pictures)
{
    CProcessingViewportWnd::State base;
    base.size = CSize(640, 50);
    base.title = L"Processing";
    base.progress = 0.425;
    base.statusText = L"Rendering final limiter";
    base.cancelText = L"Cancel";
    auto hovered = base;
    hovered.hoverButton = true;
    auto pressed = base;
    pressed.hoverButton = true;
    pressed.pressedButton = true;
    auto analyzing = base;
    analyzing.title = L"Analyzing Profile";
    analyzing.cancelShown = false;
    analyzing.statusText = L"Measuring loudness";
    std::vector<COLORREF> cancelBodies;
    for (const auto& [name, state] :
         std::vector<std::pair<std::string, CProcessingViewportWnd::State>>{
             {"processing_idle", base},
             {"processing_cancel_hovered", hovered},
             {"processing_cancel_pressed", pressed},
             {"processing_analyzing", analyzing}})
    {
        SCOPED_TRACE(name);
        std::unique_ptr<Gdiplus::Bitmap> picture(Picture<CProcessingViewportWnd>(state));
        EXPECT_TRUE(SaveControlPicture(*picture, name));
        EXPECT_GT(GetRValue(PixelAt(*picture, 100, 44)), 0xA0) << "the filled bar";
        EXPECT_LT(GetRValue(PixelAt(*picture, 400, 44)), 0x40) << "the empty trough";
        cancelBodies.push_back(PixelAt(*picture, 512, 25));
    }
    // The Cancel body brightens when hovered and again when pressed; hidden, it
    // is background.
    EXPECT_GT(GetRValue(cancelBodies[1]), GetRValue(cancelBodies[0]));
    EXPECT_GT(GetRValue(cancelBodies[2]), GetRValue(cancelBodies[1]));
    EXPECT_EQ(cancelBodies[3], RGB(0x0E, 0x10, 0x12));

    // A fill of 2 px or less is not drawn.
    auto barely = base;
    barely.progress = 2.0 / 474.0;
    auto some = base;
    some.progress = 10.0 / 474.0;
    std::unique_ptr<Gdiplus::Bitmap> none(Picture<CProcessingViewportWnd>(barely));
    std::unique_ptr<Gdiplus::Bitmap> filled(Picture<CProcessingViewportWnd>(some));
    EXPECT_LT(GetRValue(PixelAt(*none, 18, 44)), 0x40);
    EXPECT_GT(GetRValue(PixelAt(*filled, 18, 44)), 0x80);
}
