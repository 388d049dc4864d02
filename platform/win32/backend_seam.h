#pragma once

// What the window tree asks of the display backend. The backends (headless,
// wx) sit above the whole platform and implement this interface; they call
// back into the tree through backend_bridge.h.

#include "platform/win32/win_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
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

// A file open or save dialog as the program describes it. The backend returns
// the path the user chose; the overwrite prompt and the must-exist refusal are
// the dialog's own business (flags), appending the default extension is not.
struct FileDialogRequest
{
    bool open = true;
    std::wstring title;
    std::wstring initialFolder;
    std::wstring fileName;         // suggested name, may be empty
    std::wstring defaultExtension; // without the dot
    // (description, patterns such as "*.wav;*.flac") in the order shown
    std::vector<std::pair<std::wstring, std::wstring>> filters;
    DWORD flags = 0; // OFN_* (common_dialog_types.h)
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
    std::optional<FileDialogRequest> file; // FileDialog only
    COLORREF initialColor = 0;             // ColorDialog only
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

    // Common dialogs, modal like a message box; nullopt when the user cancelled.
    virtual std::optional<std::wstring> ShowFileDialog(HWND owner,
                                                       const FileDialogRequest& request) = 0;
    virtual std::optional<COLORREF> ShowColorDialog(HWND owner, COLORREF initial) = 0;

    // The clipboard's text (empty when it holds none), for edit controls.
    virtual std::wstring ClipboardText() = 0;
    virtual void SetClipboardText(const std::wstring& text) = 0;
};

// The backend in use; the tree's own no-display backend until another is installed.
Backend& CurrentBackend();
void InstallBackend(Backend* backend); // nullptr restores the no-display default

} // namespace brvl::backend
