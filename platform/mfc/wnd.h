#pragma once

#include "platform/mfc/afx_geometry.h"
#include "platform/mfc/cmd_target.h"
#include "platform/mfc/dc.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_object.h"

class CFrameWnd;

// CWnd: a C++ object attached to a window of the in-memory tree. Messages reach
// it through WindowProc, which looks the message up in the object's message map
// (derived maps first) and otherwise runs the default procedure.
class CWnd : public CCmdTarget, private brvl::win32::WindowObject
{
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    ~CWnd() override; // destroys a still-live window

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // Insert-after markers for SetWindowPos: &wndTop raises, &wndBottom lowers.
    static const CWnd wndTop;
    static const CWnd wndBottom;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The attached object of a window, or a temporary one for a window without.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hwnd);
    HWND UnsubclassWindow();

    // Creation and destruction
    virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                          const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x,
                          int y, int width, int height, HWND parent, HMENU idOrMenu,
                          LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Offers a queued message to PreTranslateMessage of its window and each
    // ancestor up to `stop`; TRUE when one of them handled it.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

    // Messages
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends to every child (and with `deep`, every descendant), parents first.
    void SendMessageToDescendants(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                  BOOL onlyPermanent = FALSE);
    LRESULT Default();
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Tree
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    // The nearest ancestor that is a frame window, or NULL.
    CFrameWnd* GetParentFrame() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    BOOL IsChild(const CWnd* wnd) const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;

    // Geometry
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* to, LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);

    // State
    BOOL ShowWindow(int cmd);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    void SetWindowText(LPCTSTR text);
    int GetWindowText(LPTSTR buffer, int count) const;
    int GetWindowTextLength() const;
    void DragAcceptFiles(BOOL accept = TRUE);
    BOOL SetForegroundWindow();

    // Painting
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // Timers, capture, focus
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc);
    BOOL KillTimer(UINT_PTR id);
    CWnd* SetCapture();
    static CWnd* GetCapture();
    CWnd* SetFocus();
    static CWnd* GetFocus();

protected:
    // Default handlers: each runs the default procedure for the current message.
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnMouseLeave();
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg void OnSettingChange(UINT flags, LPCTSTR section);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnKeyUp(UINT key, UINT repeat, UINT flags);
    afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnSysKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnContextMenu(CWnd* wnd, CPoint screenPoint);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg void OnClose();
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnKillFocus(CWnd* newWnd);
    afx_msg void OnEnable(BOOL enable);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();

    DECLARE_MESSAGE_MAP()

    WNDPROC m_pfnSuper = nullptr; // the procedure default processing calls

    // This object as the receiver of its window's messages, for classes that
    // create their window through another route (dialogs from templates).
    brvl::win32::WindowObject* AsWindowObject() { return this; }

private:
    struct MarkerTag
    {
    };
    CWnd(MarkerTag, HWND marker);

    LRESULT ReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void* FrameworkWindow() override { return this; }

    bool m_temporary = false;
    CDC* m_clientDc = nullptr;
};

// Registers (once per distinct set of arguments) a window class for custom
// windows and returns its name.
LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);
