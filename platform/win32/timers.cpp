#include "platform/win32/window_system.h"

#include <algorithm>
#include <limits>

namespace brvl::win32
{

namespace
{

constexpr std::uint64_t kMinimumPeriodMs = 10; // USER_TIMER_MINIMUM

} // namespace

bool NextTimerDue(std::uint64_t& dueMs)
{
    bool any = false;
    dueMs = std::numeric_limits<std::uint64_t>::max();
    WindowSystem& system = WindowSystem::Instance();
    for (HWND hwnd : system.AllWindows())
    {
        const WindowPtr w = system.Find(hwnd);
        if (!w)
        {
            continue;
        }
        for (const TimerEntry& t : w->timers)
        {
            dueMs = std::min(dueMs, t.dueMs);
            any = true;
        }
    }
    return any;
}

bool FireOneDueTimer()
{
    WindowSystem& system = WindowSystem::Instance();
    const std::uint64_t now = NowMs();
    WindowPtr target;
    UINT_PTR id = 0;
    std::uint64_t earliest = std::numeric_limits<std::uint64_t>::max();
    for (HWND hwnd : system.AllWindows())
    {
        const WindowPtr w = system.Find(hwnd);
        if (!w || w->destroying)
        {
            continue;
        }
        for (const TimerEntry& t : w->timers)
        {
            if (t.dueMs <= now && t.dueMs < earliest)
            {
                earliest = t.dueMs;
                target = w;
                id = t.id;
            }
        }
    }
    if (!target)
    {
        return false;
    }
    for (TimerEntry& t : target->timers)
    {
        if (t.id == id)
        {
            // A late timer fires once and is rescheduled from now: no backlog.
            t.dueMs = now + t.periodMs;
        }
    }
    Dispatch(target->hwnd, WM_TIMER, id, 0);
    return true;
}

} // namespace brvl::win32

using namespace brvl::win32;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return 0;
    }
    const std::uint64_t period = std::max<std::uint64_t>(elapseMs, kMinimumPeriodMs);
    const std::uint64_t due = NowMs() + period;
    for (TimerEntry& t : w->timers)
    {
        if (t.id == id)
        {
            t.periodMs = period;
            t.dueMs = due;
            return id;
        }
    }
    w->timers.push_back(TimerEntry{id, period, due});
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    const auto before = w->timers.size();
    w->timers.erase(std::remove_if(w->timers.begin(), w->timers.end(),
                                   [id](const TimerEntry& t) { return t.id == id; }),
                    w->timers.end());
    return w->timers.size() != before ? TRUE : FALSE;
}
