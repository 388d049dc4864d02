#include "platform/win32/window_system.h"

#include "platform/win32/backend_seam.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace brvl::win32
{

WindowSystem& WindowSystem::Instance()
{
    static WindowSystem system;
    return system;
}

WindowPtr WindowSystem::Find(HWND hwnd) const
{
    if (hwnd == nullptr)
    {
        return nullptr;
    }
    std::lock_guard lock(m_tableMutex);
    const auto it = m_table.find(HandleValue(hwnd));
    return it == m_table.end() ? nullptr : it->second;
}

bool WindowSystem::IsAlive(HWND hwnd) const
{
    if (hwnd == nullptr)
    {
        return false;
    }
    std::lock_guard lock(m_tableMutex);
    return m_table.count(HandleValue(hwnd)) != 0;
}

HWND WindowSystem::Register(const WindowPtr& record)
{
    std::lock_guard lock(m_tableMutex);
    // Handles are never reused, so a stale handle kept by a worker can never
    // name a newer window.
    m_nextHandle += 0x10;
    const HWND hwnd = reinterpret_cast<HWND>(m_nextHandle);
    record->hwnd = hwnd;
    m_table.emplace(m_nextHandle, record);
    return hwnd;
}

void WindowSystem::Unregister(HWND hwnd)
{
    std::vector<PostedMessage> dropped;
    {
        // Holding the table lock while purging means no post can slip in
        // between "dead" and "queue purged".
        std::lock_guard tableLock(m_tableMutex);
        m_table.erase(HandleValue(hwnd));
        std::lock_guard queueLock(m_queueMutex);
        auto keep = m_queue.begin();
        for (auto it = m_queue.begin(); it != m_queue.end(); ++it)
        {
            const auto* posted = std::get_if<PostedMessage>(&*it);
            if (posted != nullptr && posted->hwnd == hwnd)
            {
                dropped.push_back(*posted);
                continue;
            }
            if (keep != it)
            {
                *keep = std::move(*it);
            }
            ++keep;
        }
        m_queue.erase(keep, m_queue.end());
    }
    for (const PostedMessage& message : dropped)
    {
        FreePayload(message);
    }
}

std::vector<HWND> WindowSystem::AllWindows() const
{
    std::lock_guard lock(m_tableMutex);
    std::vector<HWND> result;
    result.reserve(m_table.size());
    for (const auto& entry : m_table)
    {
        result.push_back(entry.second->hwnd);
    }
    return result;
}

bool WindowSystem::Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard tableLock(m_tableMutex);
        if (m_table.count(HandleValue(hwnd)) == 0)
        {
            return false;
        }
        std::lock_guard queueLock(m_queueMutex);
        m_queue.emplace_back(PostedMessage{hwnd, msg, wParam, lParam});
    }
    backend::CurrentBackend().WakeUiThread();
    return true;
}

void WindowSystem::PostQuit(int exitCode)
{
    {
        std::lock_guard queueLock(m_queueMutex);
        m_queue.emplace_back(PostedMessage{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
    }
    backend::CurrentBackend().WakeUiThread();
}

void WindowSystem::QueueInput(RawInput input)
{
    {
        std::lock_guard queueLock(m_queueMutex);
        m_queue.emplace_back(std::move(input));
    }
    backend::CurrentBackend().WakeUiThread();
}

bool WindowSystem::PopQueued(QueuedItem& item)
{
    std::lock_guard queueLock(m_queueMutex);
    if (m_queue.empty())
    {
        return false;
    }
    item = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

bool WindowSystem::HasQueued() const
{
    std::lock_guard queueLock(m_queueMutex);
    return !m_queue.empty();
}

void WindowSystem::SetPayloadDeleter(UINT msg, PayloadDeleter deleter)
{
    std::lock_guard queueLock(m_queueMutex);
    m_deleters[msg] = deleter;
}

void WindowSystem::FreePayload(const PostedMessage& message)
{
    PayloadDeleter deleter = nullptr;
    {
        std::lock_guard queueLock(m_queueMutex);
        const auto it = m_deleters.find(message.message);
        if (it != m_deleters.end())
        {
            deleter = it->second;
        }
    }
    if (deleter == nullptr)
    {
        return;
    }
    try
    {
        deleter(message.wParam, message.lParam);
    }
    catch (const std::exception& e)
    {
        ReportHandlerException(message.hwnd, message.message, e.what());
    }
    catch (...)
    {
        ReportHandlerException(message.hwnd, message.message, "unknown exception");
    }
}

void WindowSystem::ResetForTests()
{
    // Destroy what a test left behind, top-levels first so children go with them.
    const std::vector<HWND> tops = topLevels;
    for (HWND hwnd : tops)
    {
        DestroyWindow(hwnd);
    }
    for (HWND hwnd : AllWindows())
    {
        DestroyWindow(hwnd);
    }
    std::deque<QueuedItem> leftover;
    {
        std::lock_guard queueLock(m_queueMutex);
        leftover.swap(m_queue);
    }
    for (const QueuedItem& item : leftover)
    {
        if (const auto* posted = std::get_if<PostedMessage>(&item))
        {
            FreePayload(*posted);
        }
    }
    capture = nullptr;
    focus = nullptr;
    cursor = nullptr;
    cursorPos = POINT{-1, -1};
    hover = nullptr;
    buttons = 0;
    lastClickWindow = nullptr;
    clickArmed = false;
    quitPending = false;
    quitCode = 0;
    failNextCreate = 0;
    failNextDefer = false;
    dpi = 96;
    m_uiThread = std::thread::id(); // the next test may run on another thread
}

void WindowSystem::NoteUiThread()
{
    if (m_uiThread == std::thread::id())
    {
        m_uiThread = std::this_thread::get_id();
    }
}

void WindowSystem::CheckUiThread() const
{
#ifndef NDEBUG
    if (m_uiThread != std::thread::id() && m_uiThread != std::this_thread::get_id())
    {
        std::fprintf(stderr, "BRVL: a window call came from a thread other than the "
                             "interface thread\n");
        std::abort();
    }
#endif
}

RECT FrameInsets(DWORD style, bool topLevel)
{
    if (!topLevel)
    {
        // Custom windows have no non-client area; a border adds one pixel.
        const LONG border = (style & WS_BORDER) != 0 ? 1 : 0;
        return RECT{border, border, border, border};
    }
    // Notional frames of top-levels (decision: fixed numbers, no real decoration).
    if ((style & WS_CAPTION) == WS_CAPTION)
    {
        if ((style & WS_THICKFRAME) != 0)
        {
            return RECT{8, 31, 8, 8};
        }
        return RECT{3, 26, 3, 3};
    }
    const LONG border = (style & WS_BORDER) != 0 ? 1 : 0;
    return RECT{border, border, border, border};
}

RECT ClientRectOf(const WindowRecord& w)
{
    const RECT insets = FrameInsets(w.style, !w.IsChildWindow());
    const LONG width = std::max<LONG>(0, w.rect.right - w.rect.left - insets.left - insets.right);
    const LONG height = std::max<LONG>(0, w.rect.bottom - w.rect.top - insets.top - insets.bottom);
    return RECT{0, 0, width, height};
}

POINT ClientOriginOnScreen(const WindowRecord& w)
{
    const RECT insets = FrameInsets(w.style, !w.IsChildWindow());
    POINT origin{w.rect.left + insets.left, w.rect.top + insets.top};
    if (w.IsChildWindow())
    {
        if (const WindowPtr parent = WindowSystem::Instance().Find(w.parent))
        {
            const POINT parentOrigin = ClientOriginOnScreen(*parent);
            origin.x += parentOrigin.x;
            origin.y += parentOrigin.y;
        }
    }
    return origin;
}

HWND TopLevelOf(HWND hwnd)
{
    WindowPtr w = WindowSystem::Instance().Find(hwnd);
    while (w && w->IsChildWindow())
    {
        WindowPtr parent = WindowSystem::Instance().Find(w->parent);
        if (!parent)
        {
            break;
        }
        w = parent;
    }
    return w ? w->hwnd : nullptr;
}

bool IsVisibleChain(HWND hwnd)
{
    WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return false;
    }
    while (w)
    {
        if ((w->style & WS_VISIBLE) == 0)
        {
            return false;
        }
        if (!w->IsChildWindow())
        {
            return true;
        }
        w = WindowSystem::Instance().Find(w->parent);
    }
    return true;
}

bool IsEnabledChain(HWND hwnd)
{
    WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return false;
    }
    while (w)
    {
        if ((w->style & WS_DISABLED) != 0)
        {
            return false;
        }
        if (!w->IsChildWindow())
        {
            return true;
        }
        w = WindowSystem::Instance().Find(w->parent);
    }
    return true;
}

bool IsInSubtree(HWND root, HWND hwnd)
{
    WindowPtr w = WindowSystem::Instance().Find(hwnd);
    while (w)
    {
        if (w->hwnd == root)
        {
            return true;
        }
        if (!w->IsChildWindow())
        {
            return false;
        }
        w = WindowSystem::Instance().Find(w->parent);
    }
    return false;
}

std::uint64_t NowMs()
{
    return backend::CurrentBackend().NowMs();
}

} // namespace brvl::win32

BOOL IsWindow(HWND hwnd)
{
    return brvl::win32::WindowSystem::Instance().IsAlive(hwnd) ? TRUE : FALSE;
}

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return brvl::win32::WindowSystem::Instance().Post(hwnd, msg, wParam, lParam) ? TRUE : FALSE;
}

void PostQuitMessage(int exitCode)
{
    brvl::win32::WindowSystem::Instance().PostQuit(exitCode);
}
