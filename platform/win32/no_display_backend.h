#pragma once

#include "platform/win32/backend_seam.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace brvl::backend
{

// The window tree without a display, and the backend in use until another is
// installed: a virtual 1920 x 1080 screen, a clock that moves only when a
// subclass advances it, message boxes and modal windows answered with their
// defaults, common dialogs cancelled and an in-process clipboard.
class NoDisplayBackend : public Backend
{
public:
    std::uint64_t NowMs() override { return m_now.load(); }
    void WakeUiThread() override;
    void WaitForWork(std::optional<std::uint64_t> deadlineMs) override;
    RECT ScreenRect() const override { return RECT{0, 0, 1920, 1080}; }
    RECT WorkArea() const override { return RECT{0, 0, 1920, 1040}; }
    int ShowMessageBox(const ModalRequest& request) override;
    std::optional<INT_PTR> BeginModal(const ModalRequest& request) override;
    std::optional<std::wstring> ShowFileDialog(HWND owner,
                                               const FileDialogRequest& request) override;
    std::optional<COLORREF> ShowColorDialog(HWND owner, COLORREF initial) override;
    std::wstring ClipboardText() override { return m_clipboard; }
    void SetClipboardText(const std::wstring& text) override { m_clipboard = text; }

    // What nobody's answer gives: a message box's default button, IDCANCEL for
    // a dialog, 0 for anything else.
    static INT_PTR DefaultAnswer(const ModalRequest& request);

protected:
    void AdvanceClock(std::uint64_t ms) { m_now += ms; }

private:
    std::atomic<std::uint64_t> m_now{1'000'000};
    mutable std::mutex m_wakeMutex;
    std::condition_variable m_wake;
    bool m_woken = false;
    std::wstring m_clipboard;
};

} // namespace brvl::backend
