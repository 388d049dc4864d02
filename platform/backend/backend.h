#pragma once

#include "platform/win32/win_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brvl::backend
{

// A top-level window's composited picture: premultiplied ARGB, 32 bits per
// pixel in native byte order, rows `stride` bytes apart.
struct ImageView
{
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

enum class ModalKind
{
    Message,
    Dialog,
    FileDialog,
    ColorDialog,
    PopupMenu,
};

// What a modal element asks of the user; the backend answers it (a native box,
// or in tests the responder).
struct ModalRequest
{
    ModalKind kind = ModalKind::Message;
    HWND owner = nullptr;
    HWND window = nullptr; // the dialog or popup, where the element is a window
    std::wstring caption;
    std::wstring text;
    UINT flags = 0;
};

// The seam between the window tree and what shows it. The tree calls these on
// the interface thread, except WakeUiThread, which any thread may call.
class Backend
{
public:
    virtual ~Backend() = default;

    // Monotonic milliseconds for timers and double-click timing.
    virtual std::uint64_t NowMs() = 0;

    // Another thread queued work (a post or raw input): wake the interface thread.
    virtual void WakeUiThread() = 0;

    // The interface thread has nothing to do: block until woken or until
    // `deadlineMs` (by NowMs) passes. May return early.
    virtual void WaitForWork(std::optional<std::uint64_t> deadlineMs) = 0;

    virtual RECT ScreenRect() const = 0;
    virtual RECT WorkArea() const = 0;

    virtual void TopLevelCreated(HWND) {}
    virtual void TopLevelDestroyed(HWND) {}
    virtual void TopLevelChanged(HWND) {} // shown, hidden, moved or resized

    // Presentation: when this returns true, the tree composes each top-level
    // whose picture changed and hands it over once the queue runs dry.
    virtual bool WantsPresentation() const { return false; }
    virtual void Present(HWND, const ImageView&) {}

    virtual void CursorChanged(HCURSOR) {}
    virtual void CaptureChanged(HWND) {} // a native backend grabs the pointer

    // Message boxes are always answered here (IDOK, IDYES, ...).
    virtual int ShowMessageBox(const ModalRequest& request) = 0;

    // A modal window (dialog, popup) starts its loop. A backend that can answer
    // at once (tests) returns the result; otherwise nullopt and the loop runs
    // until the window ends it.
    virtual std::optional<INT_PTR> BeginModal(const ModalRequest& request) = 0;
};

// The backend in use; the headless one until another is installed.
Backend& CurrentBackend();
void InstallBackend(Backend* backend); // nullptr restores the headless default

} // namespace brvl::backend
