#include "platform/win32/no_display_backend.h"

#include "platform/win32/message_box.h"

#include <chrono>

namespace brvl::backend
{

namespace
{

// How long the idle interface thread sleeps before looking again; only real
// work (a post from another thread) wakes it sooner. Virtual time never passes
// while it sleeps.
constexpr std::chrono::milliseconds kIdleSlice{20};

} // namespace

void NoDisplayBackend::WakeUiThread()
{
    {
        std::lock_guard lock(m_wakeMutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

void NoDisplayBackend::WaitForWork(std::optional<std::uint64_t>)
{
    std::unique_lock lock(m_wakeMutex);
    m_wake.wait_for(lock, kIdleSlice, [this] { return m_woken; });
    m_woken = false;
}

int NoDisplayBackend::ShowMessageBox(const ModalRequest& request)
{
    return static_cast<int>(DefaultAnswer(request));
}

std::optional<INT_PTR> NoDisplayBackend::BeginModal(const ModalRequest& request)
{
    return DefaultAnswer(request);
}

std::optional<std::wstring> NoDisplayBackend::ShowFileDialog(HWND, const FileDialogRequest&)
{
    return std::nullopt;
}

std::optional<COLORREF> NoDisplayBackend::ShowColorDialog(HWND, COLORREF)
{
    return std::nullopt;
}

INT_PTR NoDisplayBackend::DefaultAnswer(const ModalRequest& request)
{
    if (request.kind != ModalKind::Message)
    {
        return request.kind == ModalKind::Dialog ? IDCANCEL : 0;
    }
    const bool second = (request.flags & MB_DEFBUTTON2) != 0;
    if ((request.flags & 0xF) == MB_YESNO)
    {
        return second ? IDNO : IDYES;
    }
    if ((request.flags & 0xF) == MB_OKCANCEL)
    {
        return second ? IDCANCEL : IDOK;
    }
    return IDOK;
}

} // namespace brvl::backend
