#pragma once

// Internal to platform/backend/wx: the backend over wxWidgets. Only files of
// this folder include wx headers.

#include "platform/backend/wx/file_patterns.h"
#include "platform/win32/backend_seam.h"

#include <wx/bitmap.h>
#include <wx/dnd.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace brvl::backend::wxui
{

class NativeTopLevel;

// One native frame per top-level of the tree; the tree's composed picture is
// what the frame shows, and the frame's input goes back into the tree's queue.
class WxBackend final : public Backend, public wxEvtHandler
{
public:
    WxBackend();
    ~WxBackend() override;

    NativeTopLevel* Find(HWND topLevel) const;
    void DestroyAll();

    // Backend
    std::uint64_t NowMs() override;
    void WakeUiThread() override;
    void WaitForWork(std::optional<std::uint64_t> deadlineMs) override;
    RECT ScreenRect() const override;
    RECT WorkArea() const override;
    void TopLevelCreated(HWND hwnd) override;
    void TopLevelDestroyed(HWND hwnd) override;
    void TopLevelChanged(HWND hwnd) override;
    bool WantsPresentation() const override { return true; }
    void Present(HWND hwnd, const ImageView& image) override;
    void CursorChanged(HCURSOR cursor) override;
    void CaptureChanged(HWND holder) override;
    int ShowMessageBox(const ModalRequest& request) override;
    std::optional<INT_PTR> BeginModal(const ModalRequest& request) override;
    std::optional<std::wstring> ShowFileDialog(HWND owner,
                                               const FileDialogRequest& request) override;
    std::optional<COLORREF> ShowColorDialog(HWND owner, COLORREF initial) override;
    std::wstring ClipboardText() override;
    void SetClipboardText(const std::wstring& text) override;

    // While a native modal dialog runs its own loop, posts, paints and timers
    // of the tree are dispatched from wx events.
    class NativeModalScope
    {
    public:
        explicit NativeModalScope(WxBackend& backend);
        ~NativeModalScope();
        NativeModalScope(const NativeModalScope&) = delete;
        NativeModalScope& operator=(const NativeModalScope&) = delete;

    private:
        WxBackend& m_backend;
    };

private:
    void OnWake(wxThreadEvent& event);
    void OnModalTimer(wxTimerEvent& event);
    void PumpInsideNativeModal();
    void DestroyDoomed();

    std::thread::id m_uiThread;
    std::atomic<bool> m_woken{false};
    std::atomic<int> m_nativeModalDepth{0};
    int m_pumpDepth = 0; // native modal depth of the innermost running pump
    std::unique_ptr<wxEventLoopBase> m_loop;
    wxTimer m_modalTimer;
    std::map<HWND, NativeTopLevel*> m_windows;
    HWND m_grab = nullptr;
    std::vector<NativeTopLevel*> m_doomed; // gone from the tree while a native dialog ran
};

// A top-level's native window: a frame whose whole client area is a canvas
// showing the tree's picture.
class NativeTopLevel : public wxFrame
{
public:
    NativeTopLevel(HWND hwnd, long style);

    HWND Hwnd() const { return m_hwnd; }
    void Forget() { m_hwnd = nullptr; }
    wxWindow* Canvas() const { return m_canvas; }

    // Matches the native window to the tree's position, size, title and visibility.
    void SyncFromTree();
    void ShowPicture(const ImageView& image);

    wxFileDropTarget* DropTarget() const { return m_dropTarget; }

private:
    void OnClose(wxCloseEvent& event);
    void OnCanvasSize(wxSizeEvent& event);
    void OnCanvasPaint(wxPaintEvent& event);

    HWND m_hwnd;
    wxWindow* m_canvas = nullptr;
    wxFileDropTarget* m_dropTarget = nullptr; // owned by the canvas
    wxBitmap m_picture;
    bool m_syncing = false;
};

// The screen point (tree coordinates) of a point of `hwnd`'s native canvas.
POINT ScreenPointOfCanvas(HWND hwnd, int x, int y);

// Key and mouse translation onto the tree's raw input (wx_input.cpp).
void BindInput(wxWindow* canvas, NativeTopLevel* frame);

// Drop target that hands desktop file drops to the tree (wx_drop_target.cpp).
wxFileDropTarget* MakeDropTarget(NativeTopLevel* frame);

// wxMessageDialog for a message box request (wx_message_box.cpp).
int RunNativeMessageBox(wxWindow* parent, const ModalRequest& request);

} // namespace brvl::backend::wxui
