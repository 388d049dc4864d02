#include "platform/backend/headless_backend.h"

#include "platform/win32/message_box.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/window_system.h"

#include <algorithm>

namespace brvl::backend
{

HeadlessBackend::HeadlessBackend() = default;

void HeadlessBackend::AdvanceTime(std::uint64_t ms)
{
    AdvanceClock(ms);
    PumpPendingMessages();
}

void HeadlessBackend::SetResponder(Responder responder)
{
    m_responder = std::move(responder);
}

std::vector<ModalRecord> HeadlessBackend::ModalLog() const
{
    return m_modalLog;
}

int HeadlessBackend::UnansweredCount() const
{
    return static_cast<int>(std::count_if(m_modalLog.begin(), m_modalLog.end(),
                                          [](const ModalRecord& r) { return !r.answered; }));
}

void HeadlessBackend::ClearModalLog()
{
    m_modalLog.clear();
}

POINT HeadlessBackend::ScreenPointOf(HWND hwnd, int x, int y)
{
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

void HeadlessBackend::MoveMouse(POINT screen, UINT modifiers)
{
    win32::QueueMouseMove(screen, modifiers);
    PumpPendingMessages();
}

void HeadlessBackend::PressButton(POINT screen, win32::MouseButton button, UINT modifiers)
{
    win32::QueueMouseButton(screen, button, true, modifiers);
    PumpPendingMessages();
}

void HeadlessBackend::ReleaseButton(POINT screen, win32::MouseButton button, UINT modifiers)
{
    win32::QueueMouseButton(screen, button, false, modifiers);
    PumpPendingMessages();
}

void HeadlessBackend::Click(POINT screen)
{
    PressButton(screen);
    ReleaseButton(screen);
}

void HeadlessBackend::Wheel(POINT screen, int delta, UINT modifiers)
{
    win32::QueueMouseWheel(screen, delta, modifiers);
    PumpPendingMessages();
}

void HeadlessBackend::Key(UINT virtualKey, wchar_t character, UINT modifiers)
{
    win32::QueueKey(virtualKey, true, character, modifiers);
    win32::QueueKey(virtualKey, false, 0, modifiers);
    PumpPendingMessages();
}

void HeadlessBackend::DropFiles(POINT screen, std::vector<std::wstring> paths)
{
    win32::QueueDropFiles(screen, std::move(paths));
    PumpPendingMessages();
}

bool HeadlessBackend::PumpUntil(const std::function<bool()>& done,
                                std::chrono::milliseconds timeout)
{
    const auto limit = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        PumpPendingMessages();
        if (done())
        {
            return true;
        }
        if (std::chrono::steady_clock::now() >= limit)
        {
            return false;
        }
        WaitForWork(std::nullopt);
    }
}

int HeadlessBackend::PresentCount(HWND topLevel) const
{
    for (const auto& [hwnd, count] : m_presentCounts)
    {
        if (hwnd == topLevel)
        {
            return count;
        }
    }
    return 0;
}

void HeadlessBackend::Present(HWND topLevel, const ImageView&)
{
    for (auto& [hwnd, count] : m_presentCounts)
    {
        if (hwnd == topLevel)
        {
            ++count;
            return;
        }
    }
    m_presentCounts.emplace_back(topLevel, 1);
}

int HeadlessBackend::ShowMessageBox(const ModalRequest& request)
{
    ModalRecord record{request, false, DefaultAnswer(request), {}};
    if (m_responder)
    {
        const ModalAnswer answer = m_responder(request);
        if (answer.kind == ModalAnswer::Kind::Result)
        {
            record.answered = true;
            record.result = answer.result;
        }
    }
    m_modalLog.push_back(record);
    return static_cast<int>(record.result);
}

std::optional<INT_PTR> HeadlessBackend::BeginModal(const ModalRequest& request)
{
    ModalAnswer answer = ModalAnswer::Unanswered();
    if (m_responder)
    {
        answer = m_responder(request);
    }
    ModalRecord record{
        request, answer.kind != ModalAnswer::Kind::Default, DefaultAnswer(request), {}};
    if (answer.kind == ModalAnswer::Kind::Result)
    {
        record.result = answer.result;
    }
    m_modalLog.push_back(record);
    if (answer.kind == ModalAnswer::Kind::RunLoop)
    {
        return std::nullopt;
    }
    return record.result;
}

std::optional<std::wstring> HeadlessBackend::ShowFileDialog(HWND owner,
                                                            const FileDialogRequest& request)
{
    ModalRequest asked;
    asked.kind = ModalKind::FileDialog;
    asked.owner = owner;
    asked.caption = request.title;
    asked.text = request.fileName;
    asked.flags = request.flags;
    asked.file = request;
    ModalRecord record{asked, false, IDCANCEL, {}};
    if (m_responder)
    {
        const ModalAnswer answer = m_responder(asked);
        if (answer.kind == ModalAnswer::Kind::Result && !answer.path.empty())
        {
            record.answered = true;
            record.result = IDOK;
            record.path = answer.path;
        }
    }
    m_modalLog.push_back(record);
    if (!record.answered)
    {
        return std::nullopt;
    }
    return record.path;
}

std::optional<COLORREF> HeadlessBackend::ShowColorDialog(HWND owner, COLORREF initial)
{
    ModalRequest asked;
    asked.kind = ModalKind::ColorDialog;
    asked.owner = owner;
    asked.initialColor = initial;
    ModalRecord record{asked, false, IDCANCEL, {}};
    std::optional<COLORREF> chosen;
    if (m_responder)
    {
        const ModalAnswer answer = m_responder(asked);
        if (answer.kind == ModalAnswer::Kind::Result)
        {
            record.answered = true;
            record.result = answer.result;
            chosen = static_cast<COLORREF>(answer.result);
        }
    }
    m_modalLog.push_back(record);
    return chosen;
}

HeadlessSession::HeadlessSession()
{
    win32::WindowSystem::Instance().ResetForTests();
    InstallBackend(&m_backend);
}

HeadlessSession::~HeadlessSession()
{
    win32::WindowSystem::Instance().ResetForTests();
    InstallBackend(nullptr);
}

} // namespace brvl::backend
