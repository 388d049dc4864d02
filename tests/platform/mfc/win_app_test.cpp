// The application framework's start-up, command routing and accelerators, on a
// small program whose classes trace what happens to them.

#include "platform/win32/test_hooks.h"
#include "tests/platform/framework_fixture.h"

namespace
{

std::wstring Caption(CWnd& wnd)
{
    wchar_t text[256] = {};
    wnd.GetWindowText(text, 256);
    return text;
}

} // namespace

TEST_F(FrameworkTest, FileNewBuildsTheDocumentThenTheFrameWithItsViewFirstThenUpdatesAndTitles)
{
    TestApp app;
    TestFrame* frame = Start(app);
    ASSERT_NE(frame, nullptr);

    const FrameworkTrace& t = Trace();
    const int constructed = t.Find("doc constructed");
    const int preCreate = t.Find("frame PreCreateWindow", constructed);
    const int frameCreate = t.Find("frame OnCreate", preCreate);
    const int viewCreate = t.Find("view OnCreate", frameCreate);
    const int bars = t.Find("frame bars", viewCreate);
    const int fresh = t.Find("doc OnNewDocument", bars);
    const int initial = t.Find("view OnInitialUpdate", fresh);
    const int activated = t.Find("frame activated", initial);
    const int title = t.Find("frame title", activated);
    EXPECT_GE(constructed, 0);
    EXPECT_GT(preCreate, constructed) << "the frame is created after the document";
    EXPECT_GT(viewCreate, frameCreate) << "the base OnCreate creates the view";
    EXPECT_GT(bars, viewCreate) << "the view exists before the frame builds its bars";
    EXPECT_GT(fresh, bars) << "OnNewDocument runs once the frame exists";
    EXPECT_GT(initial, fresh);
    EXPECT_GT(activated, initial);
    EXPECT_GT(title, activated) << "the title is set last";

    auto* view = dynamic_cast<TestView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_NE(dynamic_cast<TestDoc*>(view->GetDocument()), nullptr);
    EXPECT_EQ(frame->GetActiveDocument(), view->GetDocument());
    EXPECT_EQ(AfxGetMainWnd(), frame);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(::GetFocus(), view->GetSafeHwnd())
        << "keys reach the view (and the frame's accelerators)";
    EXPECT_EQ(Caption(*frame), L"Untitled - BRVL");
}

TEST_F(FrameworkTest, CtrlNRenewsTheSameDocumentInTheSameFrameAndRepeatsTheInitialUpdate)
{
    TestApp app;
    TestFrame* frame = Start(app);
    ASSERT_NE(frame, nullptr);
    CDocument* doc = frame->GetActiveDocument();

    session->Key('N', 0, MK_CONTROL);

    EXPECT_EQ(Trace().Count("doc constructed"), 1);
    EXPECT_EQ(Trace().Count("doc OnNewDocument"), 2);
    EXPECT_EQ(Trace().Count("view OnInitialUpdate"), 2);
    EXPECT_EQ(app.m_pMainWnd, frame);
    EXPECT_EQ(frame->GetActiveDocument(), doc);
}

TEST_F(FrameworkTest, UpdateAllViewsReachesEveryViewButTheSender)
{
    TestApp app;
    TestFrame* frame = Start(app);
    ASSERT_NE(frame, nullptr);
    CDocument* doc = frame->GetActiveDocument();
    Trace().events.clear();
    doc->UpdateAllViews(nullptr, 7);
    doc->UpdateAllViews(frame->GetActiveView(), 8);
    EXPECT_EQ(Trace().events, std::vector<std::string>{"view OnUpdate 7"});
}

TEST_F(FrameworkTest, ACommandGoesToTheFirstOfViewDocumentFrameAndApplicationThatHandlesIt)
{
    struct Case
    {
        UINT id;
        const char* handler;
    };
    const Case cases[] = {
        {kCommandAtEveryLevel, "view command"},
        {kCommandFromDocument, "doc command"},
        {kCommandFromFrame, "frame command"},
        {kCommandFromApp, "app command"},
    };
    TestApp app;
    TestFrame* frame = Start(app);
    ASSERT_NE(frame, nullptr);
    for (const Case& c : cases)
    {
        Trace().events.clear();
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        EXPECT_EQ(Trace().events, std::vector<std::string>{c.handler}) << "command " << c.id;
    }
    Trace().events.clear();
    for (UINT id = kFirstRangeCommand; id <= kLastRangeCommand + 1; ++id)
    {
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    EXPECT_EQ(Trace().events, (std::vector<std::string>{"frame range 32910", "frame range 32911",
                                                        "frame range 32912"}));

    // Asked only whether a handler exists, nothing runs.
    Trace().events.clear();
    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(frame->OnCmdMsg(kCommandFromApp, static_cast<int>(CN_COMMAND), nullptr, &info));
    EXPECT_EQ(info.pTarget, &app);
    EXPECT_FALSE(frame->OnCmdMsg(ID_EDIT_CUT, static_cast<int>(CN_COMMAND), nullptr, &info));
    EXPECT_TRUE(Trace().events.empty());
}

TEST_F(FrameworkTest, AnAcceleratorSendsItsCommandOnlyWhileItsUpdateHandlerEnablesIt)
{
    TestApp app;
    TestFrame* frame = Start(app);
    ASSERT_NE(frame, nullptr);

    Trace().undoEnabled = false;
    session->Key('Z', 0, MK_CONTROL);
    session->Key(VK_BACK, 0, brvl::win32::kModifierAlt);
    EXPECT_EQ(Trace().Count("view undo"), 0) << "a disabled command must not be sent";

    Trace().undoEnabled = true;
    session->Key('Z', 0, MK_CONTROL);
    session->Key(VK_BACK, 0, brvl::win32::kModifierAlt);
    EXPECT_EQ(Trace().Count("view undo"), 2);

    // A plain Z is typing, not an accelerator; an accelerator types nothing.
    session->Key('Z', L'z', 0);
    EXPECT_EQ(Trace().Count("view undo"), 2);
    EXPECT_EQ(Trace().Count("view char 122"), 1);
    session->Key('Z', 0x1A, MK_CONTROL);
    EXPECT_EQ(Trace().Count("view char 26"), 0)
        << "the key-down the accelerator took has no character";
}

TEST_F(FrameworkTest, ExitInstanceRunsAfterAFailedInitInstance)
{
    {
        Trace().failInitInstance = true;
        TestApp app;
        EXPECT_EQ(AfxWinMain(0, nullptr), 0);
        EXPECT_EQ(Trace().exitInstanceCalls, 1);
    }
    {
        // A document that refuses to start: the frame made for it and the
        // document go, start-up fails, ExitInstance still runs.
        Trace() = FrameworkTrace{};
        Trace().failNewDocument = true;
        TestApp app;
        EXPECT_EQ(AfxWinMain(0, nullptr), 0);
        EXPECT_EQ(Trace().exitInstanceCalls, 1);
        EXPECT_EQ(Trace().Count("doc destroyed"), 1);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_TRUE(session->ModalLog().empty()) << "OnNewDocument reports its own failure";
    }
}

TEST_F(FrameworkTest, AFrameThatCannotBeCreatedShowsTheFrameworkMessageAndFailsStartUp)
{
    FailNextCreate(1); // the frame's own window
    TestApp app;
    EXPECT_FALSE(app.InitInstance());
    const auto log = session->ModalLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].request.text, L"Failed to create empty document.");
    EXPECT_EQ(log[0].request.caption, L"BRVL");
    EXPECT_EQ(Trace().Count("doc destroyed"), 1);
}

TEST_F(FrameworkTest, AppExitClosesTheMainWindowDeletesTheDocumentAndEndsTheLoop)
{
    TestApp app;
    TestFrame* frame = Start(app);
    ASSERT_NE(frame, nullptr);
    const HWND hwnd = frame->GetSafeHwnd();

    frame->PostMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(app.Run(), 0);

    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(Trace().Count("doc destroyed"), 1);
    EXPECT_EQ(Trace().exitInstanceCalls, 1);
}

TEST_F(FrameworkTest, IdleUpdatesTheTitleAndTheStatusBarOnceTheQueueIsEmpty)
{
    TestApp app;
    TestFrame* frame = Start(app);
    ASSERT_NE(frame, nullptr);
    frame->m_wndStatusBar.SetPaneText(0, L"Working");
    frame->GetActiveDocument()->SetTitle(L"Mix 1.wav");
    frame->SetWindowText(L"stale");

    // The loop runs idle once the queue is empty; the posted exit ends it after.
    frame->PostMessage(WM_NULL);
    bool idled = false;
    RunMessageLoop(
        [&](long n)
        {
            idled = app.OnIdle(n) != FALSE || idled;
            if (n == 0)
            {
                ::PostQuitMessage(0);
            }
            return n == 0;
        });

    EXPECT_TRUE(idled);
    EXPECT_EQ(Caption(*frame), L"Mix 1.wav - BRVL");
    EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(0), CString(L"Ready"));
    EXPECT_FALSE(frame->m_wndStatusBar.IsPaneLit(1)) << "no lock key is on here";
}
