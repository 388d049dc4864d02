#pragma once

// Internal to platform/: the in-memory window tree, the posted-message queue and
// the input state. Nothing outside platform/ includes this header.

#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_object.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <variant>
#include <vector>

struct _cairo_surface;

namespace brvl::win32
{

struct WindowClass
{
    std::wstring name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
};

struct TimerEntry
{
    UINT_PTR id = 0;
    std::uint64_t periodMs = 0;
    std::uint64_t dueMs = 0;
};

struct WindowRecord
{
    HWND hwnd = nullptr;
    std::shared_ptr<const WindowClass> windowClass;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;
    int id = 0;
    RECT rect{};           // window rectangle: parent client coordinates, or screen for top-levels
    HWND parent = nullptr; // set for child windows only
    HWND owner = nullptr;  // set for owned top-levels only
    std::vector<HWND> children; // z-order, topmost first
    WindowObject* object = nullptr;

    RECT updateRect{};
    bool erasePending = false;
    _cairo_surface* backing = nullptr;

    std::vector<TimerEntry> timers;
    std::set<UINT> loggedFailures;
    bool destroying = false;

    ~WindowRecord();

    bool IsChildWindow() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
};

using WindowPtr = std::shared_ptr<WindowRecord>;

struct PostedMessage
{
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

enum class RawKind
{
    MouseMove,
    ButtonDown,
    ButtonUp,
    Wheel,
    KeyDown,
    KeyUp,
    Drop,
    PointerLeft,
};

// Input handed over by a backend, routed by the tree when the loop reaches it.
struct RawInput
{
    RawKind kind = RawKind::MouseMove;
    POINT screen{};
    int button = 0;     // 0 left, 1 right, 2 middle
    UINT modifiers = 0; // MK_SHIFT | MK_CONTROL | kModifierAlt
    int wheelDelta = 0;
    UINT virtualKey = 0;
    wchar_t character = 0;
    HWND target = nullptr; // a drop aimed at a window rather than a point
    std::vector<std::wstring> paths;
};

using QueuedItem = std::variant<PostedMessage, RawInput>;

using PayloadDeleter = void (*)(WPARAM, LPARAM);

class WindowSystem
{
public:
    static WindowSystem& Instance();

    // Table (thread-safe)
    WindowPtr Find(HWND hwnd) const;
    bool IsAlive(HWND hwnd) const;
    HWND Register(const WindowPtr& record);
    void Unregister(HWND hwnd); // drops queued posts, frees their records
    std::vector<HWND> AllWindows() const;

    // Queue (thread-safe)
    bool Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void PostQuit(int exitCode);
    void QueueInput(RawInput input);
    bool PopQueued(QueuedItem& item);
    bool HasQueued() const;
    void SetPayloadDeleter(UINT msg, PayloadDeleter deleter);
    void FreePayload(const PostedMessage& message);

    // UI-thread state
    std::vector<HWND> topLevels; // z-order, topmost first
    std::map<std::wstring, std::shared_ptr<const WindowClass>> classes;
    HWND capture = nullptr;
    HWND focus = nullptr;
    HCURSOR cursor = nullptr;
    POINT cursorPos{-1, -1};
    HWND hover = nullptr;         // window under the pointer, for leave tracking
    std::set<HWND> trackingLeave; // armed by TrackMouseEvent, one-shot
    UINT buttons = 0;             // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON held
    UINT keyModifiers = 0;        // MK_SHIFT | MK_CONTROL, plus kModifierAlt
    HWND lastClickWindow = nullptr;
    POINT lastClickPoint{};
    std::uint64_t lastClickTime = 0;
    bool clickArmed = false; // next press can become a double-click
    bool quitPending = false;
    int quitCode = 0;
    std::set<HWND> changedTopLevels; // pictures to present when the queue runs dry
    UINT dpi = 96;
    int failNextCreate = 0;
    bool failNextDefer = false;

    void ResetForTests();

    // Debug and test builds check that window calls come from the thread that
    // created the first window (the interface thread).
    void NoteUiThread();
    void CheckUiThread() const;

private:
    WindowSystem() = default;

    std::thread::id m_uiThread;
    mutable std::mutex m_tableMutex;
    std::unordered_map<std::uintptr_t, WindowPtr> m_table;
    std::uintptr_t m_nextHandle = 0x10000;

    mutable std::mutex m_queueMutex;
    std::deque<QueuedItem> m_queue;
    std::map<UINT, PayloadDeleter> m_deleters;
};

// Helpers shared by the files of the tree.
inline std::uintptr_t HandleValue(HWND hwnd)
{
    return reinterpret_cast<std::uintptr_t>(hwnd);
}
RECT ClientRectOf(const WindowRecord& w);          // (0, 0, width, height)
POINT ClientOriginOnScreen(const WindowRecord& w); // screen point of client (0, 0)
RECT FrameInsets(DWORD style, bool topLevel);      // left, top, right, bottom thickness
HWND TopLevelOf(HWND hwnd);
bool IsVisibleChain(HWND hwnd);
bool IsEnabledChain(HWND hwnd);
bool IsInSubtree(HWND root, HWND hwnd);

// The window under a screen point: topmost visible top-level, then its deepest
// visible, enabled child. A disabled top-level is returned with the flag set.
HWND HitTest(POINT screen, bool* topLevelDisabled);

// Default erase: fills with the class brush; false for none or NULL_BRUSH.
bool EraseWithClassBrush(HWND hwnd, HDC dc);

// Calls the window procedure (attached object or class procedure) with the
// exception guard; the record is kept alive for the duration of the call.
LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Reports an exception that escaped a window procedure or a backend callback.
void ReportHandlerException(HWND hwnd, UINT msg, const char* what);

// Input
constexpr UINT kDoubleClickTimeMs = 500;
constexpr int kDoubleClickBox = 4; // SM_CXDOUBLECLK x SM_CYDOUBLECLK, centred on the first press
void RouteRawInput(const RawInput& input);
void RouteDrop(const RawInput& input);
void PostDueLeaves(); // one-shot WM_MOUSELEAVE to armed windows the pointer left
POINT ToClientPoint(HWND hwnd, POINT screen);
void ForgetWindowInput(HWND hwnd); // per-window input state kept outside the record

// Painting
void InvalidateBeneath(HWND hwnd);
void ReleaseBacking(WindowRecord& w);
void MarkPictureChanged(HWND hwnd);
void PresentChangedTopLevels();

// Dispatches a message taken from the queue, after the framework's pre-translation.
// TRUE when the pre-translation took the message (it was not dispatched).
bool DispatchQueuedMessage(MSG& msg);

// Loop pieces
// One posted item, paint or timer; false when nothing was pending. With
// `rearmsIdle`, whether what was dispatched calls for another idle pass.
bool DispatchOnePending(bool* rearmsIdle = nullptr);
bool PaintOnePending();
bool FireOneDueTimer();
std::uint64_t NowMs();
bool NextTimerDue(std::uint64_t& dueMs);

} // namespace brvl::win32
