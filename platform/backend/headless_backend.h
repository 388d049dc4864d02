#pragma once

#include "platform/win32/backend_bridge.h"
#include "platform/win32/no_display_backend.h"

#include <chrono>
#include <functional>
#include <vector>

namespace brvl::backend
{

// How the test responder answers a modal element.
struct ModalAnswer
{
    enum class Kind
    {
        Default, // not answered: message boxes take their default button, dialogs IDCANCEL
        Result,  // answered with `result`
        RunLoop, // keep the modal loop running until a window ends it (dialogs only)
    };
    Kind kind = Kind::Default;
    INT_PTR result = 0; // a button id, or a COLORREF for the colour chooser
    std::wstring path;  // the file dialog's choice

    static ModalAnswer Unanswered() { return {}; }
    static ModalAnswer With(INT_PTR value) { return {Kind::Result, value, {}}; }
    static ModalAnswer WithPath(std::wstring path) { return {Kind::Result, 0, std::move(path)}; }
    static ModalAnswer KeepRunning() { return {Kind::RunLoop, 0, {}}; }
};

struct ModalRecord
{
    ModalRequest request;
    bool answered = false; // false: the default was taken (a test can assert none happened)
    INT_PTR result = 0;
    std::wstring path; // what a file dialog returned
};

// No display, driven by a test: the clock moves when the test advances it, a
// responder answers message boxes and modal windows (and every one shown is
// recorded), and input is injected by screen point through the same routing a
// user's input takes.
class HeadlessBackend : public NoDisplayBackend
{
public:
    using Responder = std::function<ModalAnswer(const ModalRequest&)>;

    HeadlessBackend();

    // Clock: advance, then dispatch what became due.
    void AdvanceTime(std::uint64_t ms);

    // Responder and the record of every modal element shown.
    void SetResponder(Responder responder);
    std::vector<ModalRecord> ModalLog() const;
    int UnansweredCount() const;
    void ClearModalLog();

    // The screen point of a client point of `hwnd`, for aiming input at a window.
    static POINT ScreenPointOf(HWND hwnd, int x, int y);

    // Input by screen point; each call dispatches what it caused before returning.
    void MoveMouse(POINT screen, UINT modifiers = 0);
    void PressButton(POINT screen, win32::MouseButton button = win32::MouseButton::Left,
                     UINT modifiers = 0);
    void ReleaseButton(POINT screen, win32::MouseButton button = win32::MouseButton::Left,
                       UINT modifiers = 0);
    void Click(POINT screen);
    void Wheel(POINT screen, int delta, UINT modifiers = 0);
    void Key(UINT virtualKey, wchar_t character = 0, UINT modifiers = 0);
    void DropFiles(POINT screen, std::vector<std::wstring> paths);

    // Dispatches as work arrives (posts from other threads included) until
    // `done` is true or `timeout` of real time passes; returns `done()`.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    HCURSOR ShownCursor() const { return m_cursor; }
    HWND PointerGrab() const { return m_grab; }

    // Presentation is off by default; when on, each presented picture is counted.
    void SetPresentation(bool on) { m_presentation = on; }
    int PresentCount(HWND topLevel) const;

    // Backend
    bool WantsPresentation() const override { return m_presentation; }
    void Present(HWND topLevel, const ImageView& image) override;
    void CursorChanged(HCURSOR cursor) override { m_cursor = cursor; }
    void CaptureChanged(HWND holder) override { m_grab = holder; }
    int ShowMessageBox(const ModalRequest& request) override;
    std::optional<INT_PTR> BeginModal(const ModalRequest& request) override;
    // Unanswered file and colour dialogs are cancelled.
    std::optional<std::wstring> ShowFileDialog(HWND owner,
                                               const FileDialogRequest& request) override;
    std::optional<COLORREF> ShowColorDialog(HWND owner, COLORREF initial) override;

private:
    Responder m_responder;
    std::vector<ModalRecord> m_modalLog;
    HCURSOR m_cursor = nullptr;
    HWND m_grab = nullptr;
    bool m_presentation = false;
    std::vector<std::pair<HWND, int>> m_presentCounts;
};

// Installs a fresh headless backend for one test and removes every window,
// queued message and input state when it goes out of scope.
class HeadlessSession
{
public:
    HeadlessSession();
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    HeadlessBackend& Backend() { return m_backend; }
    HeadlessBackend* operator->() { return &m_backend; }

private:
    HeadlessBackend m_backend;
};

} // namespace brvl::backend
