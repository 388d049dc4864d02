#include "tests/display/display_test_support.h"

#include "platform/mfc/cstring.h"
#include "platform/mfc/dc.h"
#include "platform/mfc/dialog.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/message_box.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace brvl::backend;

namespace
{

TEST_F(DisplayTest, PointerWheelAndKeysReachTheTreeInOrderAndTheFrameIsOnScreen)
{
    MakeFrame();
    panel.SetFocus();
    log.Clear();

    const POINT inPanel = ScreenOf(panel, 100, 75);
    const POINT onButton = ScreenOf(button, 50, 15);
    const std::string script = Xdotool("mousemove " + At(inPanel) +
                                       " sleep 0.1 click 1 sleep 0.1 click 4 sleep 0.1 "
                                       "key --clearmodifiers shift+h sleep 0.1 mousemove " +
                                       At(onButton) + " sleep 0.1 click 1");
    const bool done =
        RunWhileDispatching(script, [&] { return log.Count("frame", WM_COMMAND) > 0; });
    EXPECT_TRUE(done) << "the button never reported its click";

    const std::vector<std::string> seen =
        log.Of({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEWHEEL, WM_KEYDOWN, WM_CHAR, WM_COMMAND});
    const std::vector<std::string> expected = {
        "panel:WM_LBUTTONDOWN", "panel:WM_LBUTTONUP",
        "panel:WM_MOUSEWHEEL",  "frame:WM_MOUSEWHEEL", // unhandled: passed to the parent
        "panel:WM_KEYDOWN",     "panel:WM_KEYDOWN",    // shift, then h
        "panel:WM_CHAR",        "frame:" + MessageName(WM_COMMAND)};
    EXPECT_EQ(seen, expected);
    EXPECT_GT(log.Count("panel", WM_MOUSEMOVE), 0);
    for (const LoggedMessage& m : log.entries)
    {
        if (m.message == WM_MOUSEWHEEL)
        {
            EXPECT_EQ(static_cast<short>(HIWORD(m.wParam)), 120) << "one notch up";
        }
        if (m.message == WM_CHAR)
        {
            EXPECT_EQ(m.wParam, static_cast<WPARAM>(L'H')) << "the shifted character";
        }
        if (m.message == WM_COMMAND)
        {
            EXPECT_EQ(LOWORD(m.wParam), 100);
        }
    }

    const auto shot = kDisplayOutput / "display_frame.png";
    ASSERT_TRUE(wx_testing::SaveScreenPng(shot));
    EXPECT_EQ(PixelOfPng(shot, ScreenOf(panel, 100, 75)), 0xDC1E1Eu) << "the panel is not shown";
    EXPECT_EQ(PixelOfPng(shot, ScreenOf(frame, 380, 250)), 0x1E3CC8u) << "the frame is not shown";
}

// What a command printed on its standard output.
std::string OutputOf(const std::string& command)
{
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r"))
    {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        {
            output += buffer;
        }
        ::pclose(pipe);
    }
    return output;
}

TEST_F(DisplayTest, TheNativeWindowAndTheTreeFollowEachOthersSize)
{
    MakeFrame();
    const std::string find =
        "$(" + Xdotool("search --onlyvisible --name '^BRVL display test$'") + ")";

    ::MoveWindow(frame.GetSafeHwnd(), 120, 110, 450, 350, TRUE);
    DispatchFor(std::chrono::milliseconds(200));
    const std::string geometry = OutputOf(Xdotool("getwindowgeometry " + find));
    EXPECT_NE(geometry.find("Position: 120,110"), std::string::npos) << geometry;
    EXPECT_NE(geometry.find("Geometry: 450x350"), std::string::npos) << geometry;

    // Resized from outside (as a user dragging its border): the tree follows.
    log.Clear();
    RECT client{};
    const bool resized = RunWhileDispatching(Xdotool("windowsize " + find + " 320 240"),
                                             [&]
                                             {
                                                 frame.GetClientRect(&client);
                                                 return client.right == 320 && client.bottom == 240;
                                             });
    EXPECT_TRUE(resized) << "the tree's frame is " << client.right << " x " << client.bottom;
    EXPECT_GT(log.Count("frame", WM_SIZE), 0);
}

TEST_F(DisplayTest, AWindowHoldingTheCaptureHearsThePointerOutsideItsTopLevel)
{
    MakeFrame();
    // Captured after a click and released by the next press, so that no button
    // is held while the pointer is outside: only the pointer grab brings the
    // moves and the press back.
    panel.On(WM_LBUTTONUP,
             [this](WPARAM, LPARAM) -> std::optional<LRESULT>
             {
                 panel.SetCapture();
                 return 0;
             });
    panel.On(WM_LBUTTONDOWN,
             [](WPARAM, LPARAM) -> std::optional<LRESULT>
             {
                 ::ReleaseCapture();
                 return 0;
             });
    log.Clear();
    const POINT inPanel = ScreenOf(panel, 50, 50);
    const POINT outside = ScreenOf(frame, 700, 500); // beyond the frame's right and bottom
    const bool pressed = RunWhileDispatching(
        Xdotool("mousemove " + At(inPanel) + " sleep 0.1 click 1 sleep 0.1 mousemove " +
                At(outside) + " sleep 0.1 click 1"),
        [&] { return log.Count("panel", WM_LBUTTONDOWN) > 1; });
    ASSERT_TRUE(pressed) << "the press outside did not reach the capturing window";
    bool movedOutside = false;
    for (const LoggedMessage& m : log.entries)
    {
        if (m.window == "panel" && m.message == WM_MOUSEMOVE)
        {
            const int x = static_cast<short>(LOWORD(m.lParam));
            const int y = static_cast<short>(HIWORD(m.lParam));
            movedOutside = movedOutside || (x > 600 && y > 400);
        }
    }
    EXPECT_TRUE(movedOutside) << "the captured panel did not hear the pointer outside";
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DisplayTest, ADialogsModalLoopTakesTypedTextAndEndsWithEnter)
{
    MakeFrame();
    const brvl::win32::DialogTemplate layout = brvl::win32::ParseDialogTemplate(R"({
        "caption": "BRVL name dialog", "size": [160, 60],
        "style": ["DS_MODALFRAME", "WS_POPUP", "WS_CAPTION", "WS_SYSMENU"],
        "controls": [
            {"class": "EDIT", "text": "", "id": 1001, "rect": [7, 7, 146, 14],
             "style": ["WS_TABSTOP", "WS_BORDER", "ES_AUTOHSCROLL"]},
            {"class": "BUTTON", "text": "OK", "id": 1, "rect": [103, 39, 50, 14],
             "style": ["BS_DEFPUSHBUTTON", "WS_TABSTOP"]}]})");

    class NameDialog : public CDialog
    {
    public:
        using CDialog::CDialog;
        std::atomic<bool> shown{false};
        std::atomic<LONG> editX{0}, editY{0};
        CString typed;

        BOOL OnInitDialog() override
        {
            const BOOL result = CDialog::OnInitDialog();
            RECT edit{};
            ::GetWindowRect(::GetDlgItem(GetSafeHwnd(), 1001), &edit);
            editX = (edit.left + edit.right) / 2;
            editY = (edit.top + edit.bottom) / 2;
            shown = true;
            return result;
        }
        void OnOK() override
        {
            GetDlgItemText(1001, typed);
            CDialog::OnOK();
        }
    };
    NameDialog dialog(layout, &frame);

    std::atomic<int> status{-1};
    std::thread typist(
        [&]
        {
            for (int i = 0; i < 200 && !dialog.shown; ++i)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const std::string point =
                std::to_string(dialog.editX.load()) + " " + std::to_string(dialog.editY.load());
            status =
                std::system(Xdotool("mousemove " + point + " sleep 0.1 type --delay 30 Mix1 && " +
                                    Xdotool("key Return"))
                                .c_str());
        });
    const INT_PTR result = dialog.DoModal();
    typist.join();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(result, IDOK) << "Enter did not end the modal loop with OK";
    EXPECT_EQ(std::wstring(dialog.typed.GetString()), L"Mix1");
}

TEST_F(DisplayTest, FilesDroppedOnTheNativeWindowArriveAsDropFilesWithFullPaths)
{
    MakeFrame();
    ::DragAcceptFiles(panel.GetSafeHwnd(), TRUE);
    const std::wstring deep = L"/tmp/" + std::wstring(300, L'd') + L"/Mischung für Björk ♪.wav";
    const std::vector<std::wstring> paths = {L"/tmp/plain.wav", deep, L"/tmp/日本語/曲.flac"};
    std::vector<std::wstring> received;
    POINT dropPoint{};
    panel.On(WM_DROPFILES,
             [&](WPARAM wParam, LPARAM) -> std::optional<LRESULT>
             {
                 const auto drop = reinterpret_cast<HDROP>(wParam);
                 const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
                 for (UINT i = 0; i < count; ++i)
                 {
                     std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
                     path.resize(
                         ::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
                     received.push_back(path);
                 }
                 ::DragQueryPoint(drop, &dropPoint);
                 ::DragFinish(drop);
                 return 0;
             });
    // Client point (40, 50) of the frame lies on the panel at (30, 40).
    ASSERT_TRUE(wx_testing::DropThroughNativeTarget(frame.GetSafeHwnd(), POINT{40, 50}, paths));
    const auto start = std::chrono::steady_clock::now();
    RunMessageLoopUntil([&]
                        { return !received.empty() || Elapsed(start, std::chrono::seconds(5)); });
    EXPECT_EQ(received, paths);
    EXPECT_EQ(dropPoint.x, 30);
    EXPECT_EQ(dropPoint.y, 40);
}

TEST_F(DisplayTest, AYesNoBoxIgnoresEscapeAndAnswersYesOnEnterWhileTimersAndPostsGoOn)
{
    MakeFrame();
    // While the native box runs its own loop, the tree's timers fire and a
    // post from another thread is dispatched.
    ::SetTimer(frame.GetSafeHwnd(), 7, 30, nullptr);
    std::thread poster(
        [&]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            ::PostMessageW(frame.GetSafeHwnd(), WM_APP + 1, 0, 0);
        });
    log.Clear();

    // The box is centred on its owner.
    BackgroundCommand answerer(AnswerBoxAt("BRVL question", ScreenOf(frame, 200, 150),
                                           "sleep 0.3 key Escape sleep 0.5 key Return"));
    const int answer = ::MessageBoxW(frame.GetSafeHwnd(), L"Replace the file?\nIt exists.",
                                     L"BRVL question", MB_YESNO | MB_ICONWARNING);
    EXPECT_EQ(answerer.Finish(), 0);
    poster.join();
    EXPECT_EQ(answer, IDYES) << "Escape answered, or Enter did not take the default button";
    EXPECT_GT(log.Count("frame", WM_TIMER), 5) << "timers stopped while the box was open";
    EXPECT_EQ(log.Count("frame", WM_APP + 1), 1) << "a post waited for the box to close";
    ::KillTimer(frame.GetSafeHwnd(), 7);
}

TEST_F(DisplayTest, ABoxOpenedFromAHandlerInsideAnotherBoxKeepsTimersAndPostsGoing)
{
    MakeFrame();
    // A post dispatched while one native box is open shows a second box (as an
    // export's result arriving while a preview error is shown); the tree keeps
    // running inside the inner box too.
    ::SetTimer(frame.GetSafeHwnd(), 7, 30, nullptr);
    const HWND hwnd = frame.GetSafeHwnd();
    int timersInInnerBox = -1;
    int postsInInnerBox = -1;
    std::atomic<bool> innerShown{false};
    frame.On(WM_APP + 2,
             [&](WPARAM, LPARAM) -> std::optional<LRESULT>
             {
                 const int timers = log.Count("frame", WM_TIMER);
                 const int posts = log.Count("frame", WM_APP + 3);
                 innerShown = true;
                 ::MessageBoxW(hwnd, L"The export finished.", L"BRVL inner", MB_OK);
                 timersInInnerBox = log.Count("frame", WM_TIMER) - timers;
                 postsInInnerBox = log.Count("frame", WM_APP + 3) - posts;
                 return 0;
             });
    std::thread poster(
        [&]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            ::PostMessageW(hwnd, WM_APP + 2, 0, 0);
            for (int i = 0; i < 500 && !innerShown; ++i)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ::PostMessageW(hwnd, WM_APP + 3, 0, 0);
        });
    log.Clear();

    BackgroundCommand answerer(AnswerBoxAt("BRVL inner", ScreenOf(frame, 200, 150),
                                           "sleep 0.8 key Return sleep 0.5 key Return"));
    const int answer =
        ::MessageBoxW(hwnd, L"The preview failed.", L"BRVL outer", MB_OK | MB_ICONERROR);
    EXPECT_EQ(answerer.Finish(), 0);
    poster.join();
    ::KillTimer(hwnd, 7);
    EXPECT_EQ(answer, IDOK);
    EXPECT_GT(timersInInnerBox, 5) << "timers stopped while the inner box was open";
    EXPECT_EQ(postsInInnerBox, 1) << "a post waited for the inner box to close";
}

TEST_F(DisplayTest, APointerGrabTakenAwayEndsTheTreesCaptureWithItsMessage)
{
    MakeFrame();
    panel.SetCapture();
    DispatchFor(std::chrono::milliseconds(50));
    ASSERT_EQ(::GetCapture(), panel.GetSafeHwnd());
    log.Clear();
    // As when the top-level loses activation in the middle of a drag: the
    // release would never come, so the drag must end now.
    ASSERT_TRUE(wx_testing::TakeNativePointerGrab(frame.GetSafeHwnd()));
    DispatchFor(std::chrono::milliseconds(50));
    EXPECT_EQ(::GetCapture(), nullptr);
    ASSERT_EQ(log.Count("panel", WM_CAPTURECHANGED), 1);
    for (const LoggedMessage& m : log.entries)
    {
        if (m.message == WM_CAPTURECHANGED)
        {
            EXPECT_EQ(m.lParam, 0);
        }
    }
}

// A window two levels down (frame, panel, spot), as the controls of a page
// are: each of its repaints reaches the screen, one picture after another,
// also after a drag that held the pointer grab.
TEST_F(DisplayTest, EachRepaintOfAWindowNestedInAPanelReachesTheScreen)
{
    MakeFrame();
    RecordingWnd spot{"spot", log};
    ASSERT_TRUE(spot.CreateChild(panel, RECT{40, 40, 120, 100}));
    COLORREF color = RGB(20, 200, 40);
    const auto recolor = [&](COLORREF next)
    {
        color = next;
        spot.Invalidate(FALSE);
    };
    spot.On(WM_PAINT,
            [&](WPARAM, LPARAM) -> std::optional<LRESULT>
            {
                CPaintDC dc(&spot);
                RECT client{};
                spot.GetClientRect(&client);
                dc.FillSolidRect(&client, color);
                return 0;
            });
    spot.On(WM_LBUTTONDOWN,
            [&](WPARAM, LPARAM) -> std::optional<LRESULT>
            {
                spot.SetCapture();
                recolor(RGB(240, 200, 20));
                return 0;
            });
    spot.On(WM_MOUSEMOVE,
            [&](WPARAM, LPARAM) -> std::optional<LRESULT>
            {
                if (::GetCapture() == spot.GetSafeHwnd())
                {
                    recolor(RGB(0, 200, 200));
                }
                return 0;
            });
    spot.On(WM_LBUTTONUP,
            [&](WPARAM, LPARAM) -> std::optional<LRESULT>
            {
                ::ReleaseCapture();
                recolor(RGB(200, 40, 200));
                return 0;
            });
    DispatchFor(std::chrono::milliseconds(300));

    const POINT inSpot = ScreenOf(spot, 40, 30);
    const POINT inPanel = ScreenOf(panel, 180, 130);
    const auto shown = [&](const std::filesystem::path& shot)
    {
        EXPECT_TRUE(wx_testing::SaveScreenPng(shot));
        return PixelOfPng(shot, inSpot);
    };
    EXPECT_EQ(shown(kDisplayOutput / "display_nested_first.png"), 0x14C828u);

    recolor(RGB(240, 120, 20));
    DispatchFor(std::chrono::milliseconds(300));
    EXPECT_EQ(shown(kDisplayOutput / "display_nested_changed.png"), 0xF07814u)
        << "the change is not shown";

    // Pressed on the spot, dragged out over the panel and released there.
    const bool released = RunWhileDispatching(
        Xdotool("mousemove " + At(inSpot) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " +
                At(inPanel) + " sleep 0.1 mouseup 1"),
        [&] { return log.Count("spot", WM_LBUTTONUP) > 0; });
    ASSERT_TRUE(released) << "the release never reached the spot";
    DispatchFor(std::chrono::milliseconds(300));
    EXPECT_EQ(::GetCapture(), nullptr);
    const auto afterDrag = kDisplayOutput / "display_nested_after_drag.png";
    EXPECT_EQ(shown(afterDrag), 0xC828C8u) << "the repaint after the drag is not shown";
    EXPECT_EQ(PixelOfPng(afterDrag, inPanel), 0xDC1E1Eu);
    EXPECT_EQ(PixelsUnlikeTheTree(afterDrag, frame), 0);
}

} // namespace
