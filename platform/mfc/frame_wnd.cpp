#include "platform/mfc/frame_wnd.h"

#include "platform/mfc/base_pane.h"
#include "platform/mfc/cmd_ui.h"
#include "platform/mfc/document.h"
#include "platform/mfc/menu.h"
#include "platform/mfc/menu_bar.h"
#include "platform/mfc/status_bar.h"
#include "platform/mfc/view.h"
#include "platform/mfc/win_app.h"
#include "platform/win32/accelerators.h"
#include "platform/win32/palette.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNCREATE(CFrameWndEx, CFrameWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
ON_MESSAGE(WM_INITMENUPOPUP, &CFrameWnd::OnInitMenuPopup)
ON_MESSAGE(WM_SETMESSAGESTRING, &CFrameWnd::OnSetMessageString)
ON_MESSAGE(WM_DPICHANGED, &CFrameWnd::OnDpiChanged)
ON_COMMAND(ID_VIEW_STATUS_BAR, &CFrameWnd::OnViewStatusBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateViewStatusBar)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator)
END_MESSAGE_MAP()

namespace
{

// Where a new frame appears: inside the 1920 x 1040 work area of the headless
// screen and of any ordinary display.
constexpr RECT kDefaultFrameRect = {80, 60, 80 + 1280, 60 + 800};

} // namespace

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd != nullptr; hwnd = ::GetParent(hwnd))
    {
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hwnd)))
        {
            return frame;
        }
    }
    return nullptr;
}

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (m_hMenuDefault != nullptr)
    {
        ::DestroyMenu(m_hMenuDefault);
    }
    if (m_hAccelTable != nullptr)
    {
        ::DestroyAcceleratorTable(m_hAccelTable);
    }
}

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDResource = idResource;
    CString full;
    full.LoadString(idResource);
    const int newline = full.Find(L'\n');
    m_strTitle = newline >= 0 ? full.Left(newline) : full;
    m_hMenuDefault = ::LoadMenuW(nullptr, MAKEINTRESOURCEW(idResource));
    m_hAccelTable = ::LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(idResource));
    return CreateEx(0, nullptr, m_strTitle, style, kDefaultFrameRect, parent, 0, context);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
    {
        static const HBRUSH background = ::CreateSolidBrush(brvl::palette::kBackground);
        cs.lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW,
                                           ::LoadCursorW(nullptr, IDC_ARROW), background);
    }
    if ((cs.style & FWS_ADDTOTITLE) != 0)
    {
        cs.style |= static_cast<LONG>(FWS_PREFIXTITLE);
    }
    return CWnd::PreCreateWindow(cs);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
    {
        return -1;
    }
    auto* context = cs != nullptr ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
    if (!OnCreateClient(cs, context))
    {
        return -1;
    }
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (context != nullptr && context->m_pNewViewClass != nullptr)
    {
        return CreateView(context) != nullptr;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (view == nullptr)
    {
        delete object;
        return nullptr;
    }
    // A view whose creation fails deletes itself (PostNcDestroy).
    if (!view->CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id,
                        context))
    {
        return nullptr;
    }
    return view;
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this)
    {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_hWnd == nullptr)
    {
        return;
    }
    static thread_local int depth = 0;
    if (depth > 0)
    {
        return; // a pane that reacts to its own move asks again; the outer pass finishes
    }
    ++depth;
    CRect client;
    GetClientRect(&client);
    int top = client.top;
    int bottom = client.bottom;
    const std::vector<CBasePane*> panes = m_panes;
    for (CBasePane* pane : panes)
    {
        if (std::find(m_panes.begin(), m_panes.end(), pane) == m_panes.end() || !pane->IsVisible())
        {
            continue;
        }
        const int height = std::max(0, static_cast<int>(pane->CalcFixedLayout(FALSE, TRUE).cy));
        if (pane->IsBottom())
        {
            bottom = std::max(top, bottom - height);
            pane->SetWindowPos(nullptr, client.left, bottom, client.Width(), height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
        }
        else
        {
            const int placed = std::min(height, std::max(0, bottom - top));
            pane->SetWindowPos(nullptr, client.left, top, client.Width(), placed,
                               SWP_NOZORDER | SWP_NOACTIVATE);
            top += placed;
        }
    }
    if (CWnd* view = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST)))
    {
        view->SetWindowPos(nullptr, client.left, top, client.Width(), std::max(0, bottom - top),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
    --depth;
}

void CFrameWnd::SetActiveView(CView* view, BOOL)
{
    m_pViewActive = view;
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1)
    {
        CWinApp* app = AfxGetApp();
        cmdShow = app != nullptr && app->m_pMainWnd == this && app->m_nCmdShow != -1
                      ? app->m_nCmdShow
                      : SW_SHOW;
        if (app != nullptr && app->m_pMainWnd == this)
        {
            app->m_nCmdShow = -1; // the start-up show command is used once
        }
    }
    ShowWindow(cmdShow);
    if (m_pViewActive != nullptr)
    {
        m_pViewActive->SetFocus();
    }
    else
    {
        SetFocus();
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    CView* view = GetActiveView();
    if (view == nullptr)
    {
        view = dynamic_cast<CView*>(
            CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST))));
        if (view != nullptr)
        {
            SetActiveView(view, FALSE);
        }
    }
    if (makeVisible)
    {
        const HWND self = m_hWnd;
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (!::IsWindow(self))
        {
            return;
        }
        ActivateFrame(-1);
        if (CView* active = GetActiveView())
        {
            active->OnActivateView(TRUE, active, active);
        }
    }
    (void)doc;
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) == 0)
    {
        return;
    }
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(addToTitle && doc != nullptr ? doc->GetTitle().GetString()
                                                             : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR documentName)
{
    CString title = m_strTitle;
    if (documentName != nullptr && *documentName != L'\0')
    {
        title = (GetStyle() & FWS_PREFIXTITLE) != 0 ? CString(documentName) + L" - " + m_strTitle
                                                    : m_strTitle + L" - " + documentName;
    }
    // Only a change repaints the caption, so idle passes cost nothing.
    const int length = GetWindowTextLength();
    std::wstring current(static_cast<size_t>(length) + 1, L'\0');
    GetWindowText(current.data(), length + 1);
    current.resize(static_cast<size_t>(length));
    if (current != title.Str())
    {
        SetWindowText(title);
    }
}

void CFrameWnd::SetMessageText(LPCTSTR text)
{
    if (CMFCStatusBar* bar = StatusBar())
    {
        bar->SetPaneText(0, text != nullptr ? text : L"");
    }
}

void CFrameWnd::SetMessageText(UINT id)
{
    CString text;
    if (id != 0 && text.LoadString(id))
    {
        const int newline = text.Find(L'\n');
        if (newline >= 0)
        {
            text = text.Left(newline);
        }
    }
    SetMessageText(text);
}

void CFrameWnd::AddPane(CBasePane* pane)
{
    if (std::find(m_panes.begin(), m_panes.end(), pane) == m_panes.end())
    {
        m_panes.push_back(pane);
    }
}

void CFrameWnd::RemovePane(CBasePane* pane)
{
    const auto it = std::find(m_panes.begin(), m_panes.end(), pane);
    if (it == m_panes.end())
    {
        return;
    }
    if (static_cast<size_t>(it - m_panes.begin()) < m_nDockedPanes)
    {
        --m_nDockedPanes;
    }
    m_panes.erase(it);
}

CMFCMenuBar* CFrameWnd::MenuBar() const
{
    for (CBasePane* pane : m_panes)
    {
        if (auto* bar = dynamic_cast<CMFCMenuBar*>(pane))
        {
            return bar;
        }
    }
    return nullptr;
}

CMFCStatusBar* CFrameWnd::StatusBar() const
{
    for (CBasePane* pane : m_panes)
    {
        if (auto* bar = dynamic_cast<CMFCStatusBar*>(pane))
        {
            return bar;
        }
    }
    return nullptr;
}

CBasePane* CFrameWnd::PaneOfCommand(UINT id) const
{
    if (m_nPaneMenuPlaceholder == 0)
    {
        return nullptr;
    }
    for (CBasePane* pane : m_panes)
    {
        if (pane->IsPaneMenuCandidate() && static_cast<UINT>(pane->GetDlgCtrlID()) == id)
        {
            return pane;
        }
    }
    return nullptr;
}

void CFrameWnd::FillPaneMenu(HMENU popup)
{
    if (m_nPaneMenuPlaceholder == 0 || popup == nullptr)
    {
        return;
    }
    bool holdsPaneMenu = false;
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i)
    {
        holdsPaneMenu =
            holdsPaneMenu || (m_hPaneMenu != nullptr && ::GetSubMenu(popup, i) == m_hPaneMenu);
    }
    const bool holdsPlaceholder =
        ::GetMenuState(popup, m_nPaneMenuPlaceholder, MF_BYCOMMAND) != static_cast<UINT>(-1);
    if (!holdsPaneMenu && !holdsPlaceholder)
    {
        return;
    }
    if (!holdsPaneMenu)
    {
        m_hPaneMenu = ::CreatePopupMenu();
        const std::wstring text =
            brvl::win32::MenuItemText(popup, m_nPaneMenuPlaceholder, MF_BYCOMMAND);
        ::ModifyMenuW(popup, m_nPaneMenuPlaceholder, MF_BYCOMMAND | MF_POPUP,
                      reinterpret_cast<UINT_PTR>(m_hPaneMenu), text.c_str());
    }
    while (::GetMenuItemCount(m_hPaneMenu) > 0)
    {
        ::DeleteMenu(m_hPaneMenu, 0, MF_BYPOSITION);
    }
    for (CBasePane* pane : m_panes)
    {
        if (pane->IsPaneMenuCandidate())
        {
            CString name;
            const int length = pane->GetWindowTextLength();
            pane->GetWindowText(name.GetBuffer(length), length + 1);
            name.ReleaseBuffer(length);
            ::AppendMenuW(m_hPaneMenu, MF_STRING, static_cast<UINT_PTR>(pane->GetDlgCtrlID()),
                          name);
        }
    }
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (CMFCMenuBar* bar = MenuBar(); bar != nullptr && bar->PreTranslateFrameMessage(*msg))
    {
        return TRUE;
    }
    if (m_hAccelTable != nullptr)
    {
        if (const auto command = brvl::win32::FindAcceleratorCommand(m_hAccelTable, *msg))
        {
            // A command that its update handler disables is not sent (the key is
            // still taken, as a disabled menu item's accelerator is on Windows).
            CCmdUIState state;
            state.m_nID = *command;
            state.DoUpdate(this, FALSE);
            if (state.m_bEnabled)
            {
                SendMessage(WM_COMMAND, MAKEWPARAM(*command, 1), 0);
            }
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    CView* view = GetActiveView();
    if (view != nullptr && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    {
        return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    {
        return TRUE;
    }
    if (CBasePane* pane = PaneOfCommand(nID))
    {
        if (pHandlerInfo != nullptr)
        {
            return TRUE;
        }
        if (static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI)
        {
            auto* cmdUI = static_cast<CCmdUI*>(pExtra);
            cmdUI->Enable(TRUE);
            cmdUI->SetCheck(pane->IsVisible() ? 1 : 0);
        }
        else if (static_cast<UINT>(nCode) == CN_COMMAND)
        {
            pane->ShowPane(!pane->IsVisible(), FALSE, TRUE);
        }
        return TRUE;
    }
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc != nullptr && !doc->CanCloseFrame(this))
    {
        return;
    }
    CWinApp* app = AfxGetApp();
    const HWND self = m_hWnd;
    if (app != nullptr && app->m_pMainWnd == this)
    {
        if (doc == nullptr && !app->SaveAllModified())
        {
            return;
        }
        app->CloseAllDocuments(FALSE); // may destroy this frame with its document
        if (!::IsWindow(self))
        {
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnSetFocus(CWnd* oldWnd)
{
    if (m_pViewActive != nullptr && ::IsWindow(m_pViewActive->GetSafeHwnd()))
    {
        m_pViewActive->SetFocus();
    }
    else
    {
        CWnd::OnSetFocus(oldWnd);
    }
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, brvl::palette::kBackground);
    return TRUE;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    // Decision: the caption is refreshed on every idle pass; it changes only
    // when the text differs, so this costs nothing when nothing changed.
    OnUpdateFrameTitle(TRUE);
    return 0;
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM menu, LPARAM)
{
    CMenu* popup = CMenu::FromHandle(reinterpret_cast<HMENU>(menu));
    if (popup == nullptr)
    {
        return 0;
    }
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = popup->GetMenuItemCount();
    for (UINT index = 0; index < state.m_nIndexMax; ++index)
    {
        state.m_nIndex = index;
        state.m_nID = popup->GetMenuItemID(static_cast<int>(index));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
        {
            continue; // separators and submenus
        }
        // An item with neither a command handler nor an update handler is disabled.
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    return 0;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM id, LPARAM text)
{
    if (text != 0)
    {
        SetMessageText(reinterpret_cast<LPCTSTR>(text));
    }
    else
    {
        SetMessageText(static_cast<UINT>(id));
    }
    return 0;
}

LRESULT CFrameWnd::OnDpiChanged(WPARAM dpi, LPARAM suggestedRect)
{
    const LRESULT result = Default();
    (void)dpi;
    (void)suggestedRect;
    RecalcLayout(); // the bars' thickness follows the DPI
    return result;
}

void CFrameWnd::OnViewStatusBar()
{
    if (CMFCStatusBar* bar = StatusBar())
    {
        bar->ShowPane(!bar->IsVisible(), FALSE, FALSE);
    }
}

void CFrameWnd::OnUpdateViewStatusBar(CCmdUI* cmdUI)
{
    CMFCStatusBar* bar = StatusBar();
    cmdUI->Enable(bar != nullptr);
    cmdUI->SetCheck(bar != nullptr && bar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* cmdUI)
{
    const int key = cmdUI->m_nID == ID_INDICATOR_CAPS  ? VK_CAPITAL
                    : cmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                       : VK_SCROLL;
    cmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

void CFrameWndEx::DockPane(CBasePane* pane, UINT dockBarId, LPCRECT)
{
    if (pane == nullptr)
    {
        return;
    }
    // Docked panes come first, in the order they were docked.
    RemovePane(pane);
    m_panes.insert(m_panes.begin() + static_cast<std::ptrdiff_t>(m_nDockedPanes), pane);
    ++m_nDockedPanes;
    if (dockBarId == AFX_IDW_DOCKBAR_BOTTOM)
    {
        pane->SetPaneStyle((pane->GetPaneStyle() & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_BOTTOM);
    }
    RecalcLayout();
}

void CFrameWndEx::EnablePaneMenu(BOOL enable, UINT, const CString&, UINT placeholder, BOOL, BOOL)
{
    m_nPaneMenuPlaceholder = enable ? placeholder : 0;
}
