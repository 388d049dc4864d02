#include "platform/backend/wx/wx_backend.h"

#include "platform/win32/backend_bridge.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/window_system.h"

#include <wx/app.h>
#include <wx/display.h>

#include <algorithm>
#include <chrono>

namespace brvl::backend::wxui
{

namespace
{

// The longest the idle interface thread sleeps in one toolkit wait; any event,
// and every post from another thread, ends the wait sooner.
constexpr unsigned long kLongestWaitMs = 100;

wxCursor CursorFor(HCURSOR cursor)
{
    switch (win32::StandardCursorId(cursor))
    {
    case IDC_WAIT_ID:
        return wxCursor(wxCURSOR_WAIT);
    case IDC_SIZEWE_ID:
        return wxCursor(wxCURSOR_SIZEWE);
    case IDC_SIZENS_ID:
        return wxCursor(wxCURSOR_SIZENS);
    case IDC_HAND_ID:
        return wxCursor(wxCURSOR_HAND);
    default:
        return wxCursor(wxCURSOR_ARROW);
    }
}

RECT ToRect(const wxRect& r)
{
    return RECT{r.GetLeft(), r.GetTop(), r.GetRight() + 1, r.GetBottom() + 1};
}

} // namespace

WxBackend::WxBackend() : m_uiThread(std::this_thread::get_id()), m_modalTimer(this)
{
    m_loop.reset(new wxGUIEventLoop);
    wxEventLoopBase::SetActive(m_loop.get());
    Bind(wxEVT_THREAD, &WxBackend::OnWake, this);
    Bind(wxEVT_TIMER, &WxBackend::OnModalTimer, this);
}

WxBackend::~WxBackend()
{
    m_modalTimer.Stop();
    DestroyAll();
    if (wxEventLoopBase::GetActive() == m_loop.get())
    {
        wxEventLoopBase::SetActive(nullptr);
    }
}

NativeTopLevel* WxBackend::Find(HWND topLevel) const
{
    const auto it = m_windows.find(topLevel);
    return it == m_windows.end() ? nullptr : it->second;
}

void WxBackend::DestroyAll()
{
    for (auto& [hwnd, frame] : m_windows)
    {
        frame->Forget();
        frame->Destroy();
    }
    m_windows.clear();
    DestroyDoomed();
}

std::uint64_t WxBackend::NowMs()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void WxBackend::WakeUiThread()
{
    m_woken.store(true);
    if (std::this_thread::get_id() != m_uiThread || m_nativeModalDepth.load() > 0)
    {
        // Queued (thread-safe) rather than posted: it wakes the toolkit's loop.
        wxQueueEvent(this, new wxThreadEvent());
    }
}

void WxBackend::WaitForWork(std::optional<std::uint64_t> deadlineMs)
{
    if (m_woken.exchange(false))
    {
        return;
    }
    // One toolkit wait: it ends with any native event, a post from another
    // thread, the deadline or the longest wait; the caller looks again.
    unsigned long waitMs = kLongestWaitMs;
    if (deadlineMs)
    {
        const std::uint64_t now = NowMs();
        if (now >= *deadlineMs)
        {
            return;
        }
        waitMs = static_cast<unsigned long>(std::min<std::uint64_t>(*deadlineMs - now, waitMs));
    }
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (loop == nullptr)
    {
        loop = m_loop.get();
    }
    loop->DispatchTimeout(waitMs);
    if (wxTheApp != nullptr)
    {
        wxTheApp->ProcessPendingEvents();
    }
    m_woken.store(false);
}

RECT WxBackend::ScreenRect() const
{
    return ToRect(wxDisplay(0u).GetGeometry());
}

RECT WxBackend::WorkArea() const
{
    return ToRect(wxDisplay(0u).GetClientArea());
}

void WxBackend::TopLevelCreated(HWND hwnd)
{
    if (Find(hwnd) != nullptr)
    {
        return;
    }
    const DWORD style = GetWindowStyle(hwnd);
    long frameStyle = wxBORDER_NONE | wxFRAME_NO_TASKBAR;
    if ((style & WS_CAPTION) == WS_CAPTION)
    {
        frameStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxCLIP_CHILDREN;
        if ((style & WS_THICKFRAME) != 0)
        {
            frameStyle |= wxRESIZE_BORDER | wxMAXIMIZE_BOX | wxMINIMIZE_BOX;
        }
    }
    auto* frame = new NativeTopLevel(hwnd, frameStyle);
    m_windows[hwnd] = frame;
    frame->Canvas()->SetCursor(CursorFor(GetCursor()));
    frame->SyncFromTree();
}

void WxBackend::TopLevelDestroyed(HWND hwnd)
{
    NativeTopLevel* frame = Find(hwnd);
    if (frame == nullptr)
    {
        return;
    }
    if (m_grab == hwnd)
    {
        m_grab = nullptr;
    }
    m_windows.erase(hwnd);
    if (frame->Canvas()->HasCapture())
    {
        frame->Canvas()->ReleaseMouse();
    }
    frame->Forget();
    if (m_nativeModalDepth.load() > 0)
    {
        // A native dialog may have it as its parent, and the toolkit would
        // free the parent under the running dialog: hidden now, destroyed
        // once the last native dialog is gone.
        frame->Hide();
        m_doomed.push_back(frame);
        return;
    }
    frame->Destroy(); // deferred by the toolkit until its events are done
}

void WxBackend::DestroyDoomed()
{
    for (NativeTopLevel* frame : m_doomed)
    {
        frame->Destroy();
    }
    m_doomed.clear();
}

void WxBackend::TopLevelChanged(HWND hwnd)
{
    if (NativeTopLevel* frame = Find(hwnd))
    {
        frame->SyncFromTree();
    }
}

void WxBackend::Present(HWND hwnd, const ImageView& image)
{
    if (NativeTopLevel* frame = Find(hwnd))
    {
        frame->ShowPicture(image);
    }
}

void WxBackend::CursorChanged(HCURSOR cursor)
{
    const wxCursor shown = CursorFor(cursor);
    for (auto& [hwnd, frame] : m_windows)
    {
        frame->Canvas()->SetCursor(shown);
    }
}

void WxBackend::CaptureChanged(HWND holder)
{
    const HWND top = holder != nullptr ? GetAncestorTopLevel(holder) : nullptr;
    NativeTopLevel* frame = Find(top);
    if (top == m_grab && frame != nullptr && frame->Canvas()->HasCapture())
    {
        return;
    }
    NativeTopLevel* previous = Find(m_grab);
    if (previous != nullptr && previous->Canvas()->HasCapture())
    {
        previous->Canvas()->ReleaseMouse();
    }
    m_grab = nullptr;
    if (frame != nullptr && frame->IsShown())
    {
        // The pointer stays grabbed by the window holding the capture, so a
        // drag that leaves it keeps reporting moves and the release. A grab
        // taken away by another client is taken again on the next change.
        frame->Canvas()->CaptureMouse();
        m_grab = top;
    }
}

int WxBackend::ShowMessageBox(const ModalRequest& request)
{
    NativeModalScope scope(*this);
    wxWindow* parent = Find(request.owner);
    return RunNativeMessageBox(parent, request);
}

std::optional<INT_PTR> WxBackend::BeginModal(const ModalRequest&)
{
    return std::nullopt; // the tree's own loop runs until the window ends it
}

WxBackend::NativeModalScope::NativeModalScope(WxBackend& backend) : m_backend(backend)
{
    ++m_backend.m_nativeModalDepth;
    m_backend.PumpInsideNativeModal();
}

WxBackend::NativeModalScope::~NativeModalScope()
{
    if (--m_backend.m_nativeModalDepth == 0)
    {
        m_backend.m_modalTimer.Stop();
        m_backend.DestroyDoomed();
    }
}

void WxBackend::OnWake(wxThreadEvent&)
{
    if (m_nativeModalDepth.load() > 0)
    {
        PumpInsideNativeModal();
    }
}

void WxBackend::OnModalTimer(wxTimerEvent&)
{
    if (m_nativeModalDepth.load() > 0)
    {
        PumpInsideNativeModal();
    }
}

void WxBackend::PumpInsideNativeModal()
{
    // One pump per native loop: a pump of this loop (or of a deeper one) is
    // already on the stack. A box opened by a handler of that pump runs a
    // deeper loop, which pumps for itself.
    const int depth = m_nativeModalDepth.load();
    if (depth <= m_pumpDepth)
    {
        return;
    }
    const int outer = m_pumpDepth;
    m_pumpDepth = depth;
    m_woken.store(false);
    PumpPendingMessages();
    m_pumpDepth = outer;
    std::uint64_t due = 0;
    if (m_nativeModalDepth.load() > 0 && win32::NextTimerDue(due))
    {
        const std::uint64_t now = NowMs();
        const int waitMs =
            due > now ? static_cast<int>(std::min<std::uint64_t>(due - now, 1000)) : 1;
        m_modalTimer.StartOnce(std::max(1, waitMs));
    }
}

} // namespace brvl::backend::wxui
