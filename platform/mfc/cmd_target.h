#pragma once

#include "platform/mfc/runtime_class.h"
#include "platform/win32/win_messages.h"

// Message maps. Each class with a map lists entries; lookup walks the class's
// map, then its bases' maps. An entry's thunk unpacks wParam/lParam into the
// handler's MFC signature and packs the handler's return into an LRESULT.

class CCmdTarget;
class CCmdUI;

using AFX_MSG_THUNK = BOOL (*)(CCmdTarget* target, UINT id, WPARAM wParam, LPARAM lParam,
                               LRESULT* result);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage; // window message, or WM_COMMAND / WM_NOTIFY for routed entries
    UINT nCode;    // notification code (CN_COMMAND, CN_UPDATE_COMMAND_UI, BN_CLICKED, ...)
    UINT nID;      // first control or command id
    UINT nLastID;  // last id of a range
    AFX_MSG_THUNK thunk;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when it is only asked whether a handler exists
// (pHandlerInfo not null): the handler is then found but not run.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
};

constexpr UINT CN_COMMAND = 0;
constexpr UINT CN_UPDATE_COMMAND_UI = static_cast<UINT>(-1);

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    // Offers a command (nCode CN_COMMAND or a control notification) or a
    // command-UI request (CN_UPDATE_COMMAND_UI, pExtra = CCmdUI*) to this
    // object's map; TRUE when a handler ran (or, with pHandlerInfo, exists).
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The hourglass around a long command (nests; see CWaitCursor).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    // The first entry for `msg` (and, for routed messages, code and id) in the
    // map chain, or nullptr.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT msg, UINT code,
                                                    UINT id);
};

#define afx_msg

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                              \
    {                                                                                              \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                \
    {                                                                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, nullptr                                                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static_assert(sizeof(ThisClass) > 0);                                                          \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// Internal: an entry whose thunk runs `body` with `self` (ThisClass*), `wParam`,
// `lParam` and `lResult` in scope.
#define BRVL_MSG_ENTRY(message, code, firstId, lastId, ...)                                        \
    {message, code, firstId, lastId,                                                               \
     [](CCmdTarget* target, UINT routedId, WPARAM wParam, LPARAM lParam, LRESULT* lResult) -> BOOL \
     {                                                                                             \
         ThisClass* self = static_cast<ThisClass*>(target);                                        \
         (void)self;                                                                               \
         (void)routedId;                                                                           \
         (void)wParam;                                                                             \
         (void)lParam;                                                                             \
         (void)lResult;                                                                            \
         __VA_ARGS__                                                                               \
     }},

#define BRVL_POINT_LPARAM CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))

#define ON_WM_CREATE()                                                                             \
    BRVL_MSG_ENTRY(WM_CREATE, 0, 0, 0,                                                             \
                   *lResult = self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));            \
                   return TRUE;)
#define ON_WM_DESTROY() BRVL_MSG_ENTRY(WM_DESTROY, 0, 0, 0, self->OnDestroy(); return TRUE;)
#define ON_WM_SIZE()                                                                               \
    BRVL_MSG_ENTRY(WM_SIZE, 0, 0, 0,                                                               \
                   self->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));        \
                   return TRUE;)
#define ON_WM_MOVE()                                                                               \
    BRVL_MSG_ENTRY(WM_MOVE, 0, 0, 0, self->OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));     \
                   return TRUE;)
#define ON_WM_PAINT() BRVL_MSG_ENTRY(WM_PAINT, 0, 0, 0, self->OnPaint(); return TRUE;)
#define ON_WM_ERASEBKGND()                                                                         \
    BRVL_MSG_ENTRY(WM_ERASEBKGND, 0, 0, 0, CDC dc; dc.m_hDC = reinterpret_cast<HDC>(wParam);       \
                   *lResult = self->OnEraseBkgnd(&dc); dc.m_hDC = nullptr; return TRUE;)
#define ON_WM_TIMER()                                                                              \
    BRVL_MSG_ENTRY(WM_TIMER, 0, 0, 0, self->OnTimer(static_cast<UINT_PTR>(wParam)); return TRUE;)
#define BRVL_ON_MOUSE(message, handler)                                                            \
    BRVL_MSG_ENTRY(message, 0, 0, 0, self->handler(static_cast<UINT>(wParam), BRVL_POINT_LPARAM);  \
                   return TRUE;)
#define ON_WM_MOUSEMOVE() BRVL_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() BRVL_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() BRVL_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() BRVL_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() BRVL_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() BRVL_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MBUTTONDOWN() BRVL_ON_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() BRVL_ON_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEWHEEL()                                                                         \
    BRVL_MSG_ENTRY(WM_MOUSEWHEEL, 0, 0, 0,                                                         \
                   *lResult = self->OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam),   \
                                                 BRVL_POINT_LPARAM);                               \
                   return TRUE;)
#define ON_WM_MOUSELEAVE()                                                                         \
    BRVL_MSG_ENTRY(WM_MOUSELEAVE, 0, 0, 0, self->OnMouseLeave(); return TRUE;)
#define ON_WM_CAPTURECHANGED()                                                                     \
    BRVL_MSG_ENTRY(WM_CAPTURECHANGED, 0, 0, 0,                                                     \
                   self->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));       \
                   return TRUE;)
#define ON_WM_SETCURSOR()                                                                          \
    BRVL_MSG_ENTRY(WM_SETCURSOR, 0, 0, 0,                                                          \
                   *lResult = self->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),  \
                                                LOWORD(lParam), HIWORD(lParam));                   \
                   return TRUE;)
#define ON_WM_SHOWWINDOW()                                                                         \
    BRVL_MSG_ENTRY(WM_SHOWWINDOW, 0, 0, 0,                                                         \
                   self->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));       \
                   return TRUE;)
#define ON_WM_SETTINGCHANGE()                                                                      \
    BRVL_MSG_ENTRY(                                                                                \
        WM_SETTINGCHANGE, 0, 0, 0,                                                                 \
        self->OnSettingChange(static_cast<UINT>(wParam), reinterpret_cast<LPCTSTR>(lParam));       \
        return TRUE;)
#define BRVL_ON_KEY(message, handler)                                                              \
    BRVL_MSG_ENTRY(message, 0, 0, 0,                                                               \
                   self->handler(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));       \
                   return TRUE;)
#define ON_WM_KEYDOWN() BRVL_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() BRVL_ON_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() BRVL_ON_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() BRVL_ON_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_CONTEXTMENU()                                                                        \
    BRVL_MSG_ENTRY(                                                                                \
        WM_CONTEXTMENU, 0, 0, 0,                                                                   \
        self->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), BRVL_POINT_LPARAM);  \
        return TRUE;)
#define ON_WM_DROPFILES()                                                                          \
    BRVL_MSG_ENTRY(WM_DROPFILES, 0, 0, 0, self->OnDropFiles(reinterpret_cast<HDROP>(wParam));      \
                   return TRUE;)
#define ON_WM_CLOSE() BRVL_MSG_ENTRY(WM_CLOSE, 0, 0, 0, self->OnClose(); return TRUE;)
#define ON_WM_SETFOCUS()                                                                           \
    BRVL_MSG_ENTRY(WM_SETFOCUS, 0, 0, 0,                                                           \
                   self->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));             \
                   return TRUE;)
#define ON_WM_KILLFOCUS()                                                                          \
    BRVL_MSG_ENTRY(WM_KILLFOCUS, 0, 0, 0,                                                          \
                   self->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));            \
                   return TRUE;)
#define ON_WM_ENABLE()                                                                             \
    BRVL_MSG_ENTRY(WM_ENABLE, 0, 0, 0, self->OnEnable(static_cast<BOOL>(wParam)); return TRUE;)
#define ON_WM_CANCELMODE()                                                                         \
    BRVL_MSG_ENTRY(WM_CANCELMODE, 0, 0, 0, self->OnCancelMode(); return TRUE;)
#define ON_WM_GETDLGCODE()                                                                         \
    BRVL_MSG_ENTRY(WM_GETDLGCODE, 0, 0, 0, *lResult = static_cast<LRESULT>(self->OnGetDlgCode());  \
                   return TRUE;)

// Member handlers are named as &Class::Handler.
#define ON_MESSAGE(message, memberFxn)                                                             \
    BRVL_MSG_ENTRY(message, 0, 0, 0, *lResult = (self->*(memberFxn))(wParam, lParam); return TRUE;)

// Routed entries: commands, command UI and control notifications.
#define ON_COMMAND(commandId, memberFxn)                                                           \
    BRVL_MSG_ENTRY(WM_COMMAND, CN_COMMAND, static_cast<UINT>(commandId),                           \
                   static_cast<UINT>(commandId), (self->*(memberFxn))();                           \
                   return TRUE;)
#define ON_COMMAND_RANGE(firstCommandId, lastCommandId, memberFxn)                                 \
    BRVL_MSG_ENTRY(WM_COMMAND, CN_COMMAND, static_cast<UINT>(firstCommandId),                      \
                   static_cast<UINT>(lastCommandId), (self->*(memberFxn))(routedId);               \
                   return TRUE;)
#define ON_UPDATE_COMMAND_UI(commandId, memberFxn)                                                 \
    BRVL_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(commandId),                 \
                   static_cast<UINT>(commandId),                                                   \
                   (self->*(memberFxn))(reinterpret_cast<CCmdUI*>(lParam));                        \
                   return TRUE;)
#define ON_CONTROL(notifyCode, controlId, memberFxn)                                               \
    BRVL_MSG_ENTRY(WM_COMMAND, static_cast<UINT>(notifyCode), static_cast<UINT>(controlId),        \
                   static_cast<UINT>(controlId), (self->*(memberFxn))();                           \
                   return TRUE;)
// Notification codes of the standard controls: BN_CLICKED 0, CBN_SELCHANGE 1, EN_CHANGE 0x0300.
#define ON_BN_CLICKED(controlId, memberFxn) ON_CONTROL(0, controlId, memberFxn)
#define ON_CBN_SELCHANGE(controlId, memberFxn) ON_CONTROL(1, controlId, memberFxn)
#define ON_EN_CHANGE(controlId, memberFxn) ON_CONTROL(0x0300, controlId, memberFxn)
#define ON_NOTIFY_EX_RANGE(notifyCode, firstId, lastId, memberFxn)                                 \
    BRVL_MSG_ENTRY(                                                                                \
        WM_NOTIFY, static_cast<UINT>(notifyCode), static_cast<UINT>(firstId),                      \
        static_cast<UINT>(lastId),                                                                 \
        return (self->*(memberFxn))(routedId, reinterpret_cast<NMHDR*>(lParam), lResult);)
