#include "platform/win32/handler_errors.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/test_hooks.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

constexpr UINT WMU_PING = WM_APP + 1;
constexpr UINT WMU_PONG = WM_APP + 2;

class MessageDispatch : public WindowTest
{
protected:
    void SetUp() override
    {
        SetHandlerExceptionHook([this](HWND, UINT msg, const std::string& what)
                                { failures.push_back(MessageName(msg) + ": " + what); });
        ASSERT_TRUE(top.CreateTopLevel(RECT{100, 100, 400, 300}));
    }
    void TearDown() override { SetHandlerExceptionHook(nullptr); }

    RecordingWnd top{"top", log};
    std::vector<std::string> failures;
};

TEST_F(MessageDispatch, SendIsReentrantAndReturnsEachHandlersResult)
{
    RecordingWnd a("a", log);
    RecordingWnd b("b", log);
    ASSERT_TRUE(a.CreateChild(top, RECT{0, 0, 10, 10}, 1));
    ASSERT_TRUE(b.CreateChild(top, RECT{10, 0, 20, 10}, 2));
    // a asks b, b calls back into a while a's handler is still on the stack.
    a.On(WMU_PING, [&](WPARAM w, LPARAM) { return b.SendMessage(WMU_PING, w + 1) * 10; });
    b.On(WMU_PING, [&](WPARAM w, LPARAM) { return a.SendMessage(WMU_PONG, w + 1) + 1; });
    a.On(WMU_PONG, [](WPARAM w, LPARAM) { return static_cast<LRESULT>(w); });
    log.Clear();

    EXPECT_EQ(a.SendMessage(WMU_PING, 1), (3 + 1) * 10);
    EXPECT_EQ(log.Of({WMU_PING, WMU_PONG}),
              (std::vector<std::string>{"a:WM_APP+1", "b:WM_APP+1", "a:WM_APP+2"}));
}

TEST_F(MessageDispatch, HandlerMayDestroyItsOwnWindowAndObject)
{
    struct SelfDeleting : RecordingWnd
    {
        using RecordingWnd::RecordingWnd;
        bool* deleted = nullptr;
        void PostNcDestroy() override
        {
            *deleted = true;
            delete this;
        }
    };
    bool deleted = false;
    auto* victim = new SelfDeleting("victim", log);
    victim->deleted = &deleted;
    ASSERT_TRUE(victim->CreateChild(top, RECT{0, 0, 10, 10}));
    const HWND hwnd = victim->GetSafeHwnd();
    victim->On(WMU_PING,
               [victim](WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   victim->DestroyWindow();
                   return 7;
               });

    EXPECT_EQ(::SendMessage(hwnd, WMU_PING, 0, 0), 7);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(::SendMessage(hwnd, WMU_PING, 0, 0), 0) << "a dead window answers 0";
}

TEST_F(MessageDispatch, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst)
{
    RecordingWnd parent("parent", log);
    RecordingWnd child("child", log);
    ASSERT_TRUE(parent.CreateChild(top, RECT{0, 0, 50, 50}));
    ASSERT_TRUE(child.CreateChild(parent, RECT{0, 0, 10, 10}));
    log.Clear();

    parent.DestroyWindow();

    EXPECT_EQ(log.Of({WM_DESTROY, WM_NCDESTROY}),
              (std::vector<std::string>{"parent:WM_DESTROY", "child:WM_DESTROY",
                                        "child:WM_NCDESTROY", "parent:WM_NCDESTROY"}));
    EXPECT_EQ(parent.GetSafeHwnd(), nullptr);
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}

TEST_F(MessageDispatch, CreationSendsItsMessagesInOrderAndWmCreateMinusOneFails)
{
    RecordingWnd ok("ok", log);
    log.Clear();
    ASSERT_TRUE(ok.CreateChild(top, RECT{5, 6, 25, 36}));
    EXPECT_EQ(log.Of({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}),
              (std::vector<std::string>{"ok:WM_NCCREATE", "ok:WM_CREATE", "ok:WM_SIZE",
                                        "ok:WM_MOVE", "ok:WM_SHOWWINDOW"}));
    const LoggedMessage& size = log.entries[2];
    EXPECT_EQ(LOWORD(size.lParam), 20);
    EXPECT_EQ(HIWORD(size.lParam), 30);

    log.Clear();
    RecordingWnd refused("refused", log);
    refused.On(WM_CREATE, [](WPARAM, LPARAM) { return LRESULT{-1}; });
    EXPECT_FALSE(refused.CreateChild(top, RECT{0, 0, 10, 10}));
    EXPECT_EQ(refused.GetSafeHwnd(), nullptr);
    EXPECT_EQ(log.Of({WM_DESTROY, WM_NCDESTROY}),
              (std::vector<std::string>{"refused:WM_DESTROY", "refused:WM_NCDESTROY"}));

    FailNextCreate(2);
    RecordingWnd first("first", log);
    RecordingWnd second("second", log);
    EXPECT_TRUE(first.CreateChild(top, RECT{0, 0, 10, 10}));
    EXPECT_FALSE(second.CreateChild(top, RECT{0, 0, 10, 10}));
}

TEST_F(MessageDispatch, ExceptionInHandlerIsReportedAndTheLoopGoesOn)
{
    RecordingWnd w("w", log);
    ASSERT_TRUE(w.CreateChild(top, RECT{0, 0, 10, 10}));
    w.On(WMU_PING,
         [](WPARAM, LPARAM) -> std::optional<LRESULT> { throw std::runtime_error("boom"); });
    int pongs = 0;
    w.On(WMU_PONG,
         [&](WPARAM, LPARAM)
         {
             ++pongs;
             return LRESULT{0};
         });

    EXPECT_EQ(w.SendMessage(WMU_PING), 0) << "a send whose handler threw returns 0";
    w.PostMessage(WMU_PING);
    w.PostMessage(WMU_PONG);
    PumpPendingMessages();

    EXPECT_EQ(pongs, 1) << "the message after the failing one was still dispatched";
    EXPECT_EQ(failures, (std::vector<std::string>{"WM_APP+1: boom", "WM_APP+1: boom"}));
    const auto boxes = session->ModalLog();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].request.text, L"An unexpected error occurred:\nboom");
    EXPECT_EQ(boxes[0].request.caption, L"BRVL");
    EXPECT_EQ(boxes[0].request.flags, MB_ICONERROR);
}

TEST_F(MessageDispatch, FailingPaintIsLoggedOnceValidatedAndShowsNoBox)
{
    RecordingWnd w("w", log);
    ASSERT_TRUE(w.CreateChild(top, RECT{0, 0, 10, 10}));
    w.On(WM_PAINT,
         [](WPARAM, LPARAM) -> std::optional<LRESULT>
         { throw std::runtime_error("paint failed"); });
    for (int i = 0; i < 3; ++i)
    {
        w.Invalidate();
        PumpPendingMessages();
    }
    EXPECT_EQ(log.Count("w", WM_PAINT), 3) << "one paint per invalidation, no repaint storm";
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_TRUE(session->ModalLog().empty());
}

TEST_F(MessageDispatch, ThrowingCreateFailsTheCreation)
{
    RecordingWnd w("w", log);
    w.On(WM_CREATE,
         [](WPARAM, LPARAM) -> std::optional<LRESULT> { throw std::runtime_error("no"); });
    EXPECT_FALSE(w.CreateChild(top, RECT{0, 0, 10, 10}));
    EXPECT_EQ(failures.size(), 1u);
}

// A small class hierarchy with message maps, as window classes declare them.
class BaseMapWnd : public CWnd
{
    DECLARE_DYNAMIC(BaseMapWnd)
public:
    std::vector<std::string> calls;

protected:
    afx_msg void OnSize(UINT type, int cx, int cy)
    {
        calls.push_back("base size " + std::to_string(cx) + "x" + std::to_string(cy));
        CWnd::OnSize(type, cx, cy);
    }
    afx_msg LRESULT OnPing(WPARAM w, LPARAM) { return static_cast<LRESULT>(w) + 100; }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(BaseMapWnd, CWnd)
BEGIN_MESSAGE_MAP(BaseMapWnd, CWnd)
ON_WM_SIZE()
ON_MESSAGE(WMU_PING, &BaseMapWnd::OnPing)
END_MESSAGE_MAP()

class DerivedMapWnd : public BaseMapWnd
{
    DECLARE_DYNAMIC(DerivedMapWnd)
public:
    BOOL wheelHandled = TRUE;

protected:
    afx_msg LRESULT OnPing(WPARAM w, LPARAM) { return static_cast<LRESULT>(w) + 200; }
    afx_msg BOOL OnMouseWheel(UINT, short delta, CPoint)
    {
        calls.push_back("wheel " + std::to_string(delta));
        return wheelHandled;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(DerivedMapWnd, BaseMapWnd)
BEGIN_MESSAGE_MAP(DerivedMapWnd, BaseMapWnd)
ON_MESSAGE(WMU_PING, &DerivedMapWnd::OnPing)
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

TEST_F(MessageDispatch, MessageMapsFindDerivedEntriesFirstThenBaseEntries)
{
    DerivedMapWnd w;
    const LPCTSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
    ASSERT_TRUE(w.CreateEx(0, cls, L"BrimvaleDerivedMapWnd", WS_CHILD | WS_VISIBLE,
                           CRect(0, 0, 30, 20), &top, 5));

    EXPECT_EQ(w.SendMessage(WMU_PING, 1), 201) << "the derived handler hides the base one";
    EXPECT_EQ(w.calls, (std::vector<std::string>{"base size 30x20"}));
    EXPECT_EQ(w.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0), TRUE);
    w.wheelHandled = FALSE;
    EXPECT_EQ(w.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), FALSE);
    EXPECT_EQ(w.calls.back(), "wheel 120");
}

TEST_F(MessageDispatch, RuntimeClassesAnswerIsKindOfAndDowncast)
{
    DerivedMapWnd derived;
    BaseMapWnd base;
    CWnd* asWnd = &derived;
    EXPECT_TRUE(asWnd->IsKindOf(RUNTIME_CLASS(BaseMapWnd)));
    EXPECT_TRUE(asWnd->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(base.IsKindOf(RUNTIME_CLASS(DerivedMapWnd)));
    EXPECT_EQ(DYNAMIC_DOWNCAST(DerivedMapWnd, asWnd), &derived);
    EXPECT_EQ(DYNAMIC_DOWNCAST(DerivedMapWnd, static_cast<CWnd*>(&base)), nullptr);
    EXPECT_STREQ(asWnd->GetRuntimeClass()->m_lpszClassName, "DerivedMapWnd");
}

TEST_F(MessageDispatch, DeletingTheObjectDestroysItsWindow)
{
    HWND hwnd = nullptr;
    {
        RecordingWnd w("w", log);
        ASSERT_TRUE(w.CreateChild(top, RECT{0, 0, 10, 10}));
        hwnd = w.GetSafeHwnd();
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(MessageDispatch, WindowTextRoundTripsThroughSetAndGet)
{
    wchar_t buffer[64];
    EXPECT_EQ(top.GetWindowText(buffer, 64), 15);
    EXPECT_STREQ(buffer, L"BrimvaleTestTop");
    top.SetWindowText(L"Other");
    EXPECT_EQ(top.GetWindowText(buffer, 3), 2) << "truncated to the buffer";
    EXPECT_STREQ(buffer, L"Ot");
}

} // namespace

namespace
{

class KeyFilterWnd : public RecordingWnd
{
public:
    using RecordingWnd::RecordingWnd;
    UINT swallow = VK_ESCAPE;

protected:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        return msg->message == WM_KEYDOWN && msg->wParam == swallow;
    }
};

TEST_F(MessageDispatch, QueuedMessagesPassThePreTranslateWalkUpToTheTopLevel)
{
    KeyFilterWnd filter("filter", log);
    RecordingWnd edit("edit", log);
    ASSERT_TRUE(filter.CreateChild(top, RECT{0, 0, 50, 50}));
    ASSERT_TRUE(edit.CreateChild(filter, RECT{0, 0, 10, 10}));
    edit.SetFocus();
    log.Clear();
    session->Key(VK_ESCAPE);
    session->Key(VK_DELETE);
    EXPECT_EQ(log.Of({WM_KEYDOWN}), (std::vector<std::string>{"edit:WM_KEYDOWN"}));
    for (const LoggedMessage& e : log.entries)
    {
        if (e.message == WM_KEYDOWN)
        {
            EXPECT_EQ(e.wParam, VK_DELETE);
        }
    }
}

TEST_F(MessageDispatch, AnAncestorsDestroyHandlerMayDeleteChildObjects)
{
    auto* parent = new RecordingWnd("parent", log);
    auto* child = new RecordingWnd("child", log);
    ASSERT_TRUE(parent->CreateChild(top, RECT{0, 0, 50, 50}));
    ASSERT_TRUE(child->CreateChild(*parent, RECT{0, 0, 10, 10}));
    const HWND childHandle = child->GetSafeHwnd();
    parent->On(WM_DESTROY,
               [&](WPARAM, LPARAM)
               {
                   delete child; // as owners delete their member windows in OnDestroy
                   return std::optional<LRESULT>{};
               });
    parent->DestroyWindow();
    EXPECT_FALSE(::IsWindow(childHandle));
    delete parent;
}

} // namespace

namespace
{

TEST_F(MessageDispatch, SendToDescendantsReachesEveryLevelParentsFirst)
{
    RecordingWnd bar("bar", log);
    RecordingWnd button("button", log);
    RecordingWnd other("other", log);
    ASSERT_TRUE(bar.CreateChild(top, RECT{0, 0, 50, 20}));
    ASSERT_TRUE(button.CreateChild(bar, RECT{0, 0, 10, 10}));
    ASSERT_TRUE(other.CreateChild(top, RECT{0, 30, 50, 50}));
    log.Clear();
    top.SendMessageToDescendants(WMU_PING, TRUE);
    EXPECT_EQ(log.Of({WMU_PING}),
              (std::vector<std::string>{"bar:WM_APP+1", "button:WM_APP+1", "other:WM_APP+1"}));
    log.Clear();
    top.SendMessageToDescendants(WMU_PING, TRUE, 0, FALSE);
    EXPECT_EQ(log.Of({WMU_PING}), (std::vector<std::string>{"bar:WM_APP+1", "other:WM_APP+1"}));
}

} // namespace
