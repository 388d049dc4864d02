#include "platform/win32/message_loop.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{

using brvl::backend::ModalAnswer;
using brvl::backend::ModalKind;
using brvl::backend::ModalRequest;

constexpr UINT WMU_PROGRESS = WM_APP + 0x362;
constexpr UINT WMU_FINISHED = WM_APP + 0x363;

class ModalLoops : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateTopLevel(RECT{0, 0, 400, 300}));
        ASSERT_TRUE(dialog.CreateTopLevel(RECT{50, 50, 250, 150}));
        Settle();
    }

    RecordingWnd owner{"owner", log};
    RecordingWnd dialog{"dialog", log};
};

TEST_F(ModalLoops, AModalLoopKeepsDispatchingAWorkersPostsTimersAndPaints)
{
    int progress = 0;
    bool ownerDisabledMeanwhile = false;
    owner.On(WMU_PROGRESS,
             [&](WPARAM, LPARAM)
             {
                 ++progress;
                 ownerDisabledMeanwhile = !owner.IsWindowEnabled();
                 return LRESULT{0};
             });
    owner.On(WMU_FINISHED,
             [&](WPARAM, LPARAM)
             {
                 brvl::win32::EndModalLoop(dialog.GetSafeHwnd(), 42);
                 return LRESULT{0};
             });
    owner.SetTimer(1, 10, nullptr);
    session->SetResponder([](const ModalRequest&) { return ModalAnswer::KeepRunning(); });

    const HWND target = owner.GetSafeHwnd();
    std::atomic<bool> loopRunning{false};
    std::thread worker(
        [target, &loopRunning]
        {
            while (!loopRunning)
            {
                std::this_thread::yield();
            }
            for (int i = 0; i < 100; ++i)
            {
                ::PostMessage(target, WMU_PROGRESS, static_cast<WPARAM>(i), 0);
            }
            ::PostMessage(target, WMU_FINISHED, 0, 0);
        });
    dialog.On(WM_APP,
              [&](WPARAM, LPARAM)
              {
                  loopRunning = true;
                  return LRESULT{0};
              });
    dialog.PostMessage(WM_APP);
    owner.Invalidate(FALSE);

    ModalRequest request;
    request.kind = ModalKind::Dialog;
    request.owner = owner.GetSafeHwnd();
    request.window = dialog.GetSafeHwnd();
    const INT_PTR result = brvl::win32::RunModalLoop(request);
    worker.join();

    EXPECT_EQ(result, 42);
    EXPECT_EQ(progress, 100);
    EXPECT_TRUE(ownerDisabledMeanwhile) << "the owner is disabled while the loop runs";
    EXPECT_TRUE(owner.IsWindowEnabled()) << "and enabled again before it returns";
    EXPECT_GE(log.Count("owner", WM_PAINT), 1);
}

TEST_F(ModalLoops, ModalLoopsNestAndEachEndsItsOwnWindow)
{
    RecordingWnd inner("inner", log);
    ASSERT_TRUE(inner.CreateTopLevel(RECT{60, 60, 160, 120}));
    std::vector<std::string> order;
    session->SetResponder(
        [&](const ModalRequest& r)
        {
            if (r.window == dialog.GetSafeHwnd())
            {
                ModalRequest nested;
                nested.kind = ModalKind::Dialog;
                nested.owner = dialog.GetSafeHwnd();
                nested.window = inner.GetSafeHwnd();
                order.push_back("inner " + std::to_string(brvl::win32::RunModalLoop(nested)));
                return ModalAnswer::With(IDOK);
            }
            return ModalAnswer::With(IDCANCEL);
        });
    ModalRequest request;
    request.kind = ModalKind::Dialog;
    request.owner = owner.GetSafeHwnd();
    request.window = dialog.GetSafeHwnd();
    order.push_back("outer " + std::to_string(brvl::win32::RunModalLoop(request)));
    EXPECT_EQ(order, (std::vector<std::string>{"inner 2", "outer 1"}));
}

TEST_F(ModalLoops, MessageBoxesAreRecordedAndTakeTheirDefaultWhenUnanswered)
{
    owner.SetCapture();
    EXPECT_EQ(::MessageBox(owner.GetSafeHwnd(), L"Overwrite?", L"BRVL",
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
              IDNO);
    EXPECT_EQ(::GetCapture(), nullptr) << "a modal element cancels the capture";
    EXPECT_EQ(::MessageBox(nullptr, L"Done", L"BRVL", MB_OK), IDOK);
    EXPECT_EQ(session->UnansweredCount(), 2);

    session->SetResponder(
        [](const ModalRequest& r)
        { return r.text == L"Overwrite?" ? ModalAnswer::With(IDYES) : ModalAnswer::Unanswered(); });
    EXPECT_EQ(::MessageBox(owner.GetSafeHwnd(), L"Overwrite?", L"BRVL", MB_YESNO), IDYES);
    const auto records = session->ModalLog();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(records[2].answered);
    EXPECT_EQ(records[0].request.owner, owner.GetSafeHwnd());
    EXPECT_EQ(records[0].request.flags, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
}

} // namespace
