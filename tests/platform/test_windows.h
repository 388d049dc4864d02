#pragma once

#include "platform/backend/headless_backend.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/handler_errors.h"
#include "platform/win32/message_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A window that records the messages it receives into a shared log and lets a
// test replace the handling of any message.
struct LoggedMessage
{
    std::string window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageLog
{
public:
    std::vector<LoggedMessage> entries;

    // "name:WM_X" for every entry whose message is one of `messages`.
    std::vector<std::string> Of(std::initializer_list<UINT> messages) const;
    int Count(const std::string& window, UINT message) const;
    void Clear() { entries.clear(); }
};

std::string MessageName(UINT message);

class RecordingWnd : public CWnd
{
public:
    using Handler = std::function<std::optional<LRESULT>(WPARAM, LPARAM)>;

    RecordingWnd(std::string name, MessageLog& log) : m_name(std::move(name)), m_log(log) {}

    BOOL CreateChild(CWnd& parent, const RECT& rect, UINT id = 0,
                     UINT classStyle = CS_HREDRAW | CS_VREDRAW,
                     DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    BOOL CreateTopLevel(const RECT& screenRect, DWORD style = WS_POPUP | WS_VISIBLE,
                        UINT classStyle = CS_HREDRAW | CS_VREDRAW);

    void On(UINT message, Handler handler) { m_handlers[message] = std::move(handler); }
    const std::string& Name() const { return m_name; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::string m_name;
    MessageLog& m_log;
    std::map<UINT, Handler> m_handlers;
};

// Screen point of a client point of `wnd`.
POINT ScreenPoint(const CWnd& wnd, int x, int y);

// A headless session and a message log for one test; windows declared by the
// fixture go before both.
class WindowTest : public ::testing::Test
{
protected:
    // An exception escaping a handler fails the test unless the test expects it.
    WindowTest()
    {
        SetHandlerExceptionHook(
            [](HWND, UINT msg, const std::string& what)
            { ADD_FAILURE() << "handler of " << MessageName(msg) << " threw: " << what; });
    }
    ~WindowTest() override { SetHandlerExceptionHook(nullptr); }

    // Dispatches what creation left pending and forgets the messages so far.
    void Settle()
    {
        PumpPendingMessages();
        log.Clear();
    }

    brvl::backend::HeadlessSession session;
    MessageLog log;
};
