#include "platform/mfc/wnd.h"

#include "platform/win32/message_loop.h"

#include <map>
#include <memory>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace
{

// Temporary objects for windows nobody attached an object to (MFC's temporary
// map); dropped once their window is gone.
std::map<HWND, std::unique_ptr<CWnd>>& TemporaryWindows()
{
    static std::map<HWND, std::unique_ptr<CWnd>> temporaries;
    return temporaries;
}

void PurgeDeadTemporaries()
{
    auto& temporaries = TemporaryWindows();
    for (auto it = temporaries.begin(); it != temporaries.end();)
    {
        if (!::IsWindow(it->first))
        {
            it->second->m_hWnd = nullptr;
            it = temporaries.erase(it);
        }
        else
        {
            ++it;
        }
    }
}

} // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::CWnd(MarkerTag, HWND marker) : m_hWnd(marker), m_temporary(true)
{
}

const CWnd CWnd::wndTop(MarkerTag{}, HWND_TOP);
const CWnd CWnd::wndBottom(MarkerTag{}, HWND_BOTTOM);

CWnd::~CWnd()
{
    delete m_clientDc;
    if (m_hWnd != nullptr && !m_temporary && ::IsWindow(m_hWnd) &&
        brvl::win32::GetWindowObject(m_hWnd) == this)
    {
        // Virtual dispatch has already unwound to CWnd, so PostNcDestroy
        // overrides cannot run (and delete) from here.
        ::DestroyWindow(m_hWnd);
    }
    // A window whose destruction is already under way (an ancestor's
    // WM_DESTROY deleting this object) finishes without it.
    if (m_hWnd != nullptr && !m_temporary && brvl::win32::GetWindowObject(m_hWnd) == this)
    {
        brvl::win32::DetachWindowObject(m_hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    brvl::win32::WindowObject* object = brvl::win32::GetWindowObject(hwnd);
    return object != nullptr ? static_cast<CWnd*>(object->FrameworkWindow()) : nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (hwnd == nullptr || !::IsWindow(hwnd))
    {
        return nullptr;
    }
    if (CWnd* permanent = FromHandlePermanent(hwnd))
    {
        return permanent;
    }
    PurgeDeadTemporaries();
    auto& temporary = TemporaryWindows()[hwnd];
    if (!temporary)
    {
        temporary = std::make_unique<CWnd>();
        temporary->m_hWnd = hwnd;
        temporary->m_temporary = true;
    }
    return temporary.get();
}

BOOL CWnd::Attach(HWND hwnd)
{
    if (m_hWnd != nullptr || !::IsWindow(hwnd))
    {
        return FALSE;
    }
    m_hWnd = hwnd;
    brvl::win32::AttachWindowObject(hwnd, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hwnd = m_hWnd;
    if (hwnd != nullptr && brvl::win32::GetWindowObject(hwnd) == this)
    {
        brvl::win32::DetachWindowObject(hwnd);
    }
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd))
    {
        return FALSE;
    }
    m_pfnSuper = brvl::win32::GetClassProcedure(hwnd);
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void*)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, nullptr);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    parent != nullptr ? parent->GetSafeHwnd() : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, LPVOID param)
{
    if (m_hWnd != nullptr)
    {
        return FALSE;
    }
    CREATESTRUCT cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }
    const HWND hwnd = brvl::win32::CreateWindowWithObject(
        this, cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
        cs.cx, cs.cy, cs.hwndParent, reinterpret_cast<UINT_PTR>(cs.hMenu), cs.lpCreateParams);
    // On failure the window already went through WM_NCDESTROY (and PostNcDestroy).
    return hwnd != nullptr ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

void CWnd::PostNcDestroy()
{
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd))
    {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg))
        {
            return TRUE;
        }
        if (hwnd == stop || (::GetWindowStyle(hwnd) & WS_CHILD) == 0)
        {
            break;
        }
    }
    return FALSE;
}

namespace
{

// Until the application installs its own pump hook (accelerators, dialog keys),
// queued messages go through the PreTranslateMessage walk up to their top-level.
bool WalkToTopLevel(MSG& msg)
{
    return CWnd::WalkPreTranslateTree(::GetAncestorTopLevel(msg.hwnd), &msg) != FALSE;
}

const bool g_walkInstalled = []
{
    brvl::win32::SetPreTranslateHook(&WalkToTopLevel);
    return true;
}();

} // namespace

LRESULT CWnd::ReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
    {
        m_hWnd = hwnd; // attached during creation, before WM_NCCREATE
    }
    if (msg != WM_NCDESTROY)
    {
        return WindowProc(msg, wParam, lParam);
    }
    // MFC detaches at WM_NCDESTROY, then PostNcDestroy may delete the object:
    // nothing of `this` is touched after it, and it happens even if a handler threw.
    LRESULT result = 0;
    try
    {
        result = WindowProc(msg, wParam, lParam);
    }
    catch (...)
    {
        Detach();
        m_pfnSuper = nullptr;
        PostNcDestroy();
        throw;
    }
    Detach();
    m_pfnSuper = nullptr;
    PostNcDestroy();
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(msg, wParam, lParam, &result))
    {
        result = DefWindowProc(msg, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC proc =
        m_pfnSuper != nullptr ? m_pfnSuper : brvl::win32::GetClassProcedure(m_hWnd);
    return ::CallWindowProcW(proc, m_hWnd, msg, wParam, lParam);
}

namespace
{

void SendToChildren(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, BOOL deep,
                    BOOL onlyPermanent)
{
    for (HWND child : brvl::win32::ChildWindows(parent))
    {
        if (!onlyPermanent || CWnd::FromHandlePermanent(child) != nullptr)
        {
            ::SendMessageW(child, msg, wParam, lParam);
        }
        if (deep && ::IsWindow(child))
        {
            SendToChildren(child, msg, wParam, lParam, deep, onlyPermanent);
        }
    }
}

} // namespace

void CWnd::SendMessageToDescendants(UINT msg, WPARAM wParam, LPARAM lParam, BOOL deep,
                                    BOOL onlyPermanent)
{
    SendToChildren(m_hWnd, msg, wParam, lParam, deep, onlyPermanent);
}

LRESULT CWnd::Default()
{
    const MSG* current = brvl::win32::CurrentMessage();
    if (current == nullptr || current->hwnd != m_hWnd)
    {
        return 0;
    }
    return DefWindowProc(current->message, current->wParam, current->lParam);
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg == WM_COMMAND)
    {
        if (OnCommand(wParam, lParam))
        {
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
    if (msg == WM_NOTIFY)
    {
        return OnNotify(wParam, lParam, result);
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), msg, 0, 0);
    if (entry == nullptr)
    {
        return FALSE;
    }
    return entry->thunk(this, 0, wParam, lParam, result);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    // Menus and accelerators (no control) are plain commands, whatever the code.
    const UINT code = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    return OnCmdMsg(id, static_cast<int>(code), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr)
    {
        return FALSE;
    }
    const UINT id = static_cast<UINT>(header->idFrom);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), WM_NOTIFY, header->code, id);
    if (entry == nullptr)
    {
        return FALSE;
    }
    return entry->thunk(this, id, static_cast<WPARAM>(id), lParam, result);
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::GetOwner() const
{
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::GetTopLevelParent() const
{
    return FromHandle(::GetAncestorTopLevel(m_hWnd));
}
CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}
int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}
BOOL CWnd::IsChild(const CWnd* wnd) const
{
    return wnd != nullptr ? ::IsChild(m_hWnd, wnd->m_hWnd) : FALSE;
}
DWORD CWnd::GetStyle() const
{
    return ::GetWindowStyle(m_hWnd);
}
DWORD CWnd::GetExStyle() const
{
    return ::GetWindowExStyle(m_hWnd);
}

void CWnd::GetClientRect(LPRECT rect) const
{
    ::GetClientRect(m_hWnd, rect);
}
void CWnd::GetWindowRect(LPRECT rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}
void CWnd::ClientToScreen(LPPOINT point) const
{
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(LPPOINT point) const
{
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
{
    ::MapWindowPoints(m_hWnd, to != nullptr ? to->m_hWnd : nullptr, points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, to != nullptr ? to->m_hWnd : nullptr, reinterpret_cast<POINT*>(rect),
                      2);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    if (rect != nullptr)
    {
        ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left,
                     rect->bottom - rect->top, repaint);
    }
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter != nullptr ? insertAfter->m_hWnd : HWND_TOP, x, y, cx,
                          cy, flags);
}

BOOL CWnd::ShowWindow(int cmd)
{
    return ::ShowWindow(m_hWnd, cmd);
}
BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}
BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}
void CWnd::SetWindowText(LPCTSTR text)
{
    ::SetWindowTextW(m_hWnd, text);
}
int CWnd::GetWindowText(LPTSTR buffer, int count) const
{
    return ::GetWindowTextW(m_hWnd, buffer, count);
}
int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}
void CWnd::DragAcceptFiles(BOOL accept)
{
    ::DragAcceptFiles(m_hWnd, accept);
}
BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

void CWnd::Invalidate(BOOL erase)
{
    ::InvalidateRect(m_hWnd, nullptr, erase);
}
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase)
{
    ::InvalidateRect(m_hWnd, rect, erase);
}
void CWnd::ValidateRect(LPCRECT rect)
{
    ::ValidateRect(m_hWnd, rect);
}
void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT rect, void* region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

CDC* CWnd::GetDC()
{
    const HDC dc = ::GetDC(m_hWnd);
    if (dc == nullptr)
    {
        return nullptr;
    }
    auto* wrapper = new CDC;
    wrapper->m_hDC = dc;
    return wrapper;
}

int CWnd::ReleaseDC(CDC* dc)
{
    if (dc == nullptr)
    {
        return 0;
    }
    const int result = ::ReleaseDC(m_hWnd, dc->Detach());
    delete dc;
    return result;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    return ::SetTimer(m_hWnd, id, elapseMs, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    return ::KillTimer(m_hWnd, id);
}
CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetCapture()
{
    return FromHandle(::GetCapture());
}
CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseLeave()
{
    Default();
}
void CWnd::OnCaptureChanged(CWnd*)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
void CWnd::OnSettingChange(UINT, LPCTSTR)
{
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}
void CWnd::OnDropFiles(HDROP)
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}
