#include "platform/win32/message_loop.h"

#include "platform/win32/backend_seam.h"
#include "platform/win32/message_box.h"
#include "platform/win32/window_system.h"

#include <algorithm>
#include <optional>

namespace brvl::win32
{

namespace
{

PreTranslateHook g_preTranslate = nullptr;

struct ModalSession
{
    HWND window = nullptr;
    bool ended = false;
    INT_PTR result = 0;
};

std::vector<ModalSession*> g_sessions;

void DispatchPosted(const PostedMessage& posted)
{
    WindowSystem& system = WindowSystem::Instance();
    if (posted.hwnd == nullptr && posted.message == WM_QUIT)
    {
        system.quitPending = true;
        system.quitCode = static_cast<int>(posted.wParam);
        return;
    }
    if (!system.IsAlive(posted.hwnd))
    {
        system.FreePayload(posted); // the target died before dispatch
        return;
    }
    MSG msg{posted.hwnd, posted.message, posted.wParam, posted.lParam, 0, system.cursorPos};
    DispatchQueuedMessage(msg);
}

} // namespace

bool DispatchQueuedMessage(MSG& msg)
{
    if (g_preTranslate != nullptr)
    {
        bool handled = false;
        try
        {
            handled = g_preTranslate(msg);
        }
        catch (const std::exception& e)
        {
            ReportHandlerException(msg.hwnd, msg.message, e.what());
            handled = true;
        }
        if (handled)
        {
            return true;
        }
    }
    Dispatch(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    return false;
}

namespace
{

void CancelCapture()
{
    WindowSystem& system = WindowSystem::Instance();
    if (system.capture == nullptr)
    {
        return;
    }
    const HWND holder = system.capture;
    Dispatch(holder, WM_CANCELMODE, 0, 0);
    if (system.capture == holder)
    {
        ReleaseCapture();
    }
}

// Disables the owner for the life of a modal element and re-enables it before
// the element goes away.
class OwnerDisabled
{
public:
    explicit OwnerDisabled(HWND owner) : m_owner(owner)
    {
        CancelCapture();
        if (m_owner != nullptr && IsWindowEnabled(m_owner))
        {
            EnableWindow(m_owner, FALSE);
            m_disabled = true;
        }
    }
    ~OwnerDisabled()
    {
        if (m_disabled && IsWindow(m_owner))
        {
            EnableWindow(m_owner, TRUE);
        }
    }
    OwnerDisabled(const OwnerDisabled&) = delete;
    OwnerDisabled& operator=(const OwnerDisabled&) = delete;

private:
    HWND m_owner;
    bool m_disabled = false;
};

void WaitForWork()
{
    std::uint64_t due = 0;
    std::optional<std::uint64_t> deadline;
    if (NextTimerDue(due))
    {
        deadline = due;
    }
    backend::CurrentBackend().WaitForWork(deadline);
}

} // namespace

bool DispatchOnePending(bool* rearmsIdle)
{
    WindowSystem& system = WindowSystem::Instance();
    QueuedItem item;
    if (rearmsIdle != nullptr)
    {
        *rearmsIdle = true;
    }
    if (system.PopQueued(item))
    {
        if (const auto* posted = std::get_if<PostedMessage>(&item))
        {
            DispatchPosted(*posted);
        }
        else
        {
            const RawInput& input = std::get<RawInput>(item);
            // A pointer report without movement is no reason to update again.
            if (rearmsIdle != nullptr && input.kind == RawKind::MouseMove &&
                input.screen.x == system.cursorPos.x && input.screen.y == system.cursorPos.y)
            {
                *rearmsIdle = false;
            }
            RouteRawInput(input);
        }
        return true;
    }
    // Paints, then timers, only once the queue is empty. A paint does not
    // re-arm idle, so an idle update that repaints cannot start a cycle.
    if (PaintOnePending())
    {
        if (rearmsIdle != nullptr)
        {
            *rearmsIdle = false;
        }
        return true;
    }
    return FireOneDueTimer();
}

void SetPreTranslateHook(PreTranslateHook hook)
{
    g_preTranslate = hook;
}

INT_PTR RunModalLoop(const backend::ModalRequest& request)
{
    ModalSession session;
    session.window = request.window;
    const OwnerDisabled ownerScope(request.owner != nullptr ? TopLevelOf(request.owner) : nullptr);
    g_sessions.push_back(&session);
    std::optional<INT_PTR> answer;
    try
    {
        answer = backend::CurrentBackend().BeginModal(request);
    }
    catch (const std::exception& e)
    {
        ReportHandlerException(request.window, WM_NULL, e.what());
    }
    if (answer && !session.ended)
    {
        session.ended = true;
        session.result = *answer;
    }
    if (RunMessageLoopUntil([&session] { return session.ended; }) == FALSE && !session.ended)
    {
        session.result = IDCANCEL;
    }
    g_sessions.erase(std::find(g_sessions.begin(), g_sessions.end(), &session));
    return session.result;
}

BOOL EndModalLoop(HWND modalWindow, INT_PTR result)
{
    for (auto it = g_sessions.rbegin(); it != g_sessions.rend(); ++it)
    {
        if ((*it)->window == modalWindow && !(*it)->ended)
        {
            (*it)->ended = true;
            (*it)->result = result;
            return TRUE;
        }
    }
    return FALSE;
}

std::optional<std::wstring> ShowModalFileDialog(HWND owner,
                                                const backend::FileDialogRequest& request)
{
    const HWND top = owner != nullptr ? TopLevelOf(owner) : nullptr;
    const OwnerDisabled ownerScope(top);
    try
    {
        return backend::CurrentBackend().ShowFileDialog(top, request);
    }
    catch (const std::exception& e)
    {
        ReportHandlerException(owner, WM_NULL, e.what());
    }
    return std::nullopt;
}

std::optional<COLORREF> ShowModalColorDialog(HWND owner, COLORREF initial)
{
    const HWND top = owner != nullptr ? TopLevelOf(owner) : nullptr;
    const OwnerDisabled ownerScope(top);
    try
    {
        return backend::CurrentBackend().ShowColorDialog(top, initial);
    }
    catch (const std::exception& e)
    {
        ReportHandlerException(owner, WM_NULL, e.what());
    }
    return std::nullopt;
}

} // namespace brvl::win32

using namespace brvl::win32;

int PumpPendingMessages()
{
    WindowSystem& system = WindowSystem::Instance();
    int count = 0;
    while (!system.quitPending && DispatchOnePending())
    {
        ++count;
    }
    PresentChangedTopLevels();
    return count;
}

BOOL RunMessageLoopUntil(const std::function<bool()>& done)
{
    WindowSystem& system = WindowSystem::Instance();
    while (!done())
    {
        if (system.quitPending)
        {
            // The quit stays pending for the enclosing loop (as if re-posted).
            return FALSE;
        }
        if (!DispatchOnePending())
        {
            PresentChangedTopLevels();
            if (!done())
            {
                WaitForWork();
            }
        }
    }
    return TRUE;
}

int RunMessageLoop(const std::function<bool(long)>& onIdle)
{
    WindowSystem& system = WindowSystem::Instance();
    bool idleDone = false;
    for (;;)
    {
        if (system.quitPending)
        {
            system.quitPending = false;
            return system.quitCode;
        }
        bool rearmsIdle = true;
        if (DispatchOnePending(&rearmsIdle))
        {
            idleDone = idleDone && !rearmsIdle;
            continue;
        }
        PresentChangedTopLevels();
        if (!idleDone && onIdle)
        {
            for (long n = 0; !system.HasQueued(); ++n)
            {
                bool more = false;
                try
                {
                    more = onIdle(n);
                }
                catch (const std::exception& e)
                {
                    ReportHandlerException(nullptr, WM_NULL, e.what());
                }
                if (!more)
                {
                    break;
                }
            }
            idleDone = true;
            continue;
        }
        WaitForWork();
    }
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags)
{
    brvl::backend::ModalRequest request;
    request.kind = brvl::backend::ModalKind::Message;
    request.owner = owner != nullptr ? TopLevelOf(owner) : nullptr;
    request.caption = caption != nullptr ? caption : L"";
    request.text = text != nullptr ? text : L"";
    request.flags = flags;
    const OwnerDisabled ownerScope(request.owner);
    try
    {
        return brvl::backend::CurrentBackend().ShowMessageBox(request);
    }
    catch (const std::exception& e)
    {
        ReportHandlerException(owner, WM_NULL, e.what());
    }
    return (flags & MB_YESNO) != 0 ? IDNO : IDOK;
}
