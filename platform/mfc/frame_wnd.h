#pragma once

#include "platform/mfc/afx_res.h"
#include "platform/mfc/cstring.h"
#include "platform/mfc/wnd.h"

#include <vector>

class CBasePane;
class CDocTemplate;
class CDocument;
class CMFCMenuBar;
class CMFCStatusBar;
class CView;

// What a frame needs to build its view: the template's view class and the
// document the view shows.
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// The top-level window of a document: its view fills what the bars leave
// (menu bar and docked panes at the top, status bar at the bottom). Commands
// reaching the frame go to the active view, its document and template, the
// frame and then the application. Deletes itself when its window is gone.
class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window with the menu, accelerators and title of resource
    // `idResource`; the view comes from the context during WM_CREATE.
    virtual BOOL LoadFrame(UINT idResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);

    // Places the bars and the view inside the client area.
    virtual void RecalcLayout(BOOL notify = TRUE);
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual void ActivateFrame(int cmdShow = -1);
    // View OnInitialUpdate, activation with the show command, frame title.
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);

    // Caption: "<document title> - <frame title>" (FWS_ADDTOTITLE).
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR documentName);
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR title) { m_strTitle = title; }

    // Text of the status bar's message pane; an id shows the first line of its string.
    void SetMessageText(LPCTSTR text);
    void SetMessageText(UINT id);

    // Bars
    void AddPane(CBasePane* pane);
    void RemovePane(CBasePane* pane);
    const std::vector<CBasePane*>& Panes() const { return m_panes; }
    CMFCMenuBar* MenuBar() const;
    CMFCStatusBar* StatusBar() const;
    // The pane of a command id in the pane menu, or NULL.
    CBasePane* PaneOfCommand(UINT id) const;
    // Makes the placeholder item of the pane menu a submenu listing the panes.
    void FillPaneMenu(HMENU popup);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    BOOL m_bAutoMenuEnable = TRUE;
    UINT m_nIDResource = 0;

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    afx_msg LRESULT OnInitMenuPopup(WPARAM menu, LPARAM indexAndSystem);
    afx_msg LRESULT OnSetMessageString(WPARAM id, LPARAM text);
    afx_msg LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggestedRect);
    afx_msg void OnViewStatusBar();
    afx_msg void OnUpdateViewStatusBar(CCmdUI* cmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* cmdUI);

    CString m_strTitle;
    CView* m_pViewActive = nullptr;
    std::vector<CBasePane*> m_panes; // docking order, then creation order
    size_t m_nDockedPanes = 0;       // the first ones of m_panes
    UINT m_nPaneMenuPlaceholder = 0; // 0: no pane menu
    HMENU m_hPaneMenu = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The framework's extended frame: docking calls that here only place panes
// along the top, and the pane menu.
class CFrameWndEx : public CFrameWnd
{
    DECLARE_DYNCREATE(CFrameWndEx)

public:
    // Panes dock in the order docked (the layout ignores `dockBarId` beyond top/bottom).
    void DockPane(CBasePane* pane, UINT dockBarId = AFX_IDW_DOCKBAR_TOP, LPCRECT rect = nullptr);
    BOOL EnableDocking(DWORD) { return TRUE; }
    void EnableLoadDockState(BOOL) {} // no docking layout is ever saved or restored
    BOOL EnableAutoHidePanes(DWORD) { return TRUE; }
    void AdjustDockingLayout() { RecalcLayout(); }
    // The submenu at command `placeholder` lists every pane with a check mark;
    // `customizeCommand` 0 offers no Customize entry.
    void EnablePaneMenu(BOOL enable, UINT customizeCommand, const CString& customizeLabel,
                        UINT placeholder, BOOL toolbarsOnly = FALSE,
                        BOOL includeRebarPanes = FALSE);
};

// The docking manager's static settings (accepted; the layout is fixed).
class CDockingManager
{
public:
    static void SetDockingMode(AFX_DOCK_TYPE, AFX_SMARTDOCK_THEME = AFX_SDT_DEFAULT) {}
};

namespace brvl::mfc
{

// Test hook: chooses `id` from the frame's menu as a user would, after the same
// command update the popup would get; TRUE when the item exists, is enabled
// and its WM_COMMAND was sent.
BOOL ChooseMenuCommand(CFrameWnd* frame, UINT id);

} // namespace brvl::mfc
