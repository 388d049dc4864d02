#include "platform/win32/message_loop.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{

constexpr UINT WMU_RECORD = WM_APP + 0x360;
constexpr UINT WMU_PLAIN = WM_APP + 0x361;

std::atomic<int> g_recordsFreed{0};

struct HeapRecord
{
    int thread;
    int sequence;
};

void FreeHeapRecord(WPARAM, LPARAM lParam)
{
    delete reinterpret_cast<HeapRecord*>(lParam);
    ++g_recordsFreed;
}

class MessageQueue : public WindowTest
{
protected:
    void SetUp() override
    {
        g_recordsFreed = 0;
        RegisterPostedPayloadDeleter(WMU_RECORD, &FreeHeapRecord);
        ASSERT_TRUE(top.CreateTopLevel(RECT{0, 0, 200, 100}));
        ASSERT_TRUE(a.CreateChild(top, RECT{0, 0, 10, 10}, 1));
        ASSERT_TRUE(b.CreateChild(top, RECT{10, 0, 20, 10}, 2));
        log.Clear();
    }

    RecordingWnd top{"top", log};
    RecordingWnd a{"a", log};
    RecordingWnd b{"b", log};
};

TEST_F(MessageQueue, PostedMessagesArriveInPostingOrderAcrossWindows)
{
    a.PostMessage(WMU_PLAIN, 1);
    b.PostMessage(WMU_PLAIN, 2);
    a.PostMessage(WMU_PLAIN, 3);
    EXPECT_TRUE(log.entries.empty()) << "posting never calls the handler at once";

    PumpPendingMessages();

    std::vector<std::pair<std::string, WPARAM>> seen;
    for (const LoggedMessage& e : log.entries)
    {
        if (e.message == WMU_PLAIN)
        {
            seen.emplace_back(e.window, e.wParam);
        }
    }
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, WPARAM>>{{"a", 1}, {"b", 2}, {"a", 3}}));
}

TEST_F(MessageQueue, EightThreadsPostingLoseNothingAndKeepEachThreadsOrder)
{
    constexpr int kThreads = 8;
    constexpr int kPerThread = 2000;
    std::vector<int> lastSeen(kThreads, -1);
    bool ordered = true;
    int received = 0;
    a.On(WMU_RECORD,
         [&](WPARAM, LPARAM lParam)
         {
             auto* record = reinterpret_cast<HeapRecord*>(lParam);
             ordered = ordered && record->sequence == lastSeen[record->thread] + 1;
             lastSeen[record->thread] = record->sequence;
             ++received;
             delete record; // the receiver frees what it is given
             return LRESULT{0};
         });
    const HWND target = a.GetSafeHwnd(); // copied on the interface thread, as workers do

    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
    {
        workers.emplace_back(
            [target, t]
            {
                for (int i = 0; i < kPerThread; ++i)
                {
                    auto* record = new HeapRecord{t, i};
                    if (!::PostMessage(target, WMU_RECORD, 0, reinterpret_cast<LPARAM>(record)))
                    {
                        delete record;
                    }
                }
            });
    }
    const bool done = session->PumpUntil([&] { return received == kThreads * kPerThread; },
                                         std::chrono::seconds(30));
    for (std::thread& w : workers)
    {
        w.join();
    }
    EXPECT_TRUE(done) << "received " << received;
    EXPECT_TRUE(ordered) << "a thread's posts were reordered";
}

TEST_F(MessageQueue, PostToADeadWindowFailsAndQueuedRecordsOfADestroyedWindowAreFreed)
{
    a.PostMessage(WMU_RECORD, 0, reinterpret_cast<LPARAM>(new HeapRecord{0, 0}));
    a.PostMessage(WMU_RECORD, 0, reinterpret_cast<LPARAM>(new HeapRecord{0, 1}));
    b.PostMessage(WMU_PLAIN, 9);
    const HWND dead = a.GetSafeHwnd();
    a.DestroyWindow();

    EXPECT_EQ(g_recordsFreed, 2) << "the queue freed the records of the destroyed window";
    auto* record = new HeapRecord{0, 2};
    EXPECT_FALSE(::PostMessage(dead, WMU_RECORD, 0, reinterpret_cast<LPARAM>(record)));
    delete record; // the sender frees a record whose post failed
    EXPECT_FALSE(::IsWindow(dead));

    PumpPendingMessages();
    EXPECT_EQ(log.Count("a", WMU_RECORD), 0);
    EXPECT_EQ(log.Count("b", WMU_PLAIN), 1) << "other windows' posts survive";
}

TEST_F(MessageQueue, HandlesAreNeverReusedSoAStaleHandleStaysDead)
{
    const HWND first = a.GetSafeHwnd();
    a.DestroyWindow();
    RecordingWnd again("again", log);
    ASSERT_TRUE(again.CreateChild(top, RECT{0, 0, 10, 10}, 1));
    EXPECT_NE(again.GetSafeHwnd(), first);
    EXPECT_FALSE(::PostMessage(first, WMU_PLAIN, 0, 0));
}

TEST_F(MessageQueue, QuitEndsTheMainLoopWithItsCodeAndNestedLoopsLeaveItPending)
{
    bool nestedReturned = false;
    BOOL nestedResult = TRUE;
    a.On(WMU_PLAIN,
         [&](WPARAM, LPARAM)
         {
             ::PostQuitMessage(3);
             nestedResult = RunMessageLoopUntil([] { return false; });
             nestedReturned = true;
             return LRESULT{0};
         });
    a.PostMessage(WMU_PLAIN);
    EXPECT_EQ(RunMessageLoop(), 3);
    EXPECT_TRUE(nestedReturned);
    EXPECT_FALSE(nestedResult);
}

TEST_F(MessageQueue, IdleRunsOnceTheQueueIsDryAndNeitherPaintsNorStillPointersRunItAgain)
{
    Settle();
    int passes = 0;
    a.On(WMU_PLAIN,
         [&](WPARAM, LPARAM)
         {
             ::PostQuitMessage(0);
             return LRESULT{0};
         });
    const POINT over = ScreenPoint(a, 2, 2);
    session->MoveMouse(over);
    std::thread poster;
    RunMessageLoop(
        [&](long n)
        {
            if (n == 0 && ++passes == 1)
            {
                // The first update repaints and the pointer reports again
                // without moving; then another thread ends the loop.
                a.Invalidate();
                brvl::win32::QueueMouseMove(over, 0);
                poster = std::thread(
                    [hwnd = a.GetSafeHwnd()]
                    {
                        std::this_thread::sleep_for(std::chrono::milliseconds(60));
                        ::PostMessageW(hwnd, WMU_PLAIN, 0, 0);
                    });
            }
            return false;
        });
    poster.join();
    EXPECT_EQ(passes, 1) << "a paint or a still pointer started another idle pass";
    EXPECT_EQ(log.Count("a", WM_PAINT), 1);
}

} // namespace
