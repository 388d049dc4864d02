#include "platform/mfc/status_bar.h"

#include "platform/mfc/bar_theme.h"
#include "platform/mfc/cmd_ui.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/mfc/menu_bar.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/palette.h"

IMPLEMENT_DYNAMIC(CMFCStatusBar, CBasePane)

BEGIN_MESSAGE_MAP(CMFCStatusBar, CBasePane)
ON_WM_PAINT()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CMFCStatusBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace
{

constexpr int kBarHeight96 = 22;
constexpr int kIndicatorWidth96 = 52;
constexpr int kTextInset96 = 8;

} // namespace

BOOL CMFCStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreatePane(nullptr, style, CRect(0, 0, 0, 0), parent, id);
}

BOOL CMFCStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (ids == nullptr || count < 0)
    {
        return FALSE;
    }
    m_panes.clear();
    for (int i = 0; i < count; ++i)
    {
        Pane pane;
        pane.id = ids[i];
        CString text;
        if (pane.id != ID_SEPARATOR)
        {
            text.LoadString(pane.id);
            pane.lit = false; // until an update handler lights it
        }
        pane.text = text.Str();
        m_panes.push_back(std::move(pane));
    }
    if (m_hWnd != nullptr)
    {
        Invalidate();
    }
    return TRUE;
}

UINT CMFCStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

BOOL CMFCStatusBar::SetPaneText(int index, LPCTSTR text, BOOL update)
{
    if (index < 0 || index >= GetCount())
    {
        return FALSE;
    }
    std::wstring& current = m_panes[static_cast<size_t>(index)].text;
    const std::wstring wanted = text != nullptr ? text : L"";
    if (current != wanted)
    {
        current = wanted;
        if (update && m_hWnd != nullptr)
        {
            Invalidate();
        }
    }
    return TRUE;
}

CString CMFCStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? CString(m_panes[static_cast<size_t>(index)].text)
                                            : CString();
}

BOOL CMFCStatusBar::IsPaneLit(int index) const
{
    return index >= 0 && index < GetCount() && m_panes[static_cast<size_t>(index)].lit;
}

CSize CMFCStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    if (!IsVisible())
    {
        return CSize(0, 0);
    }
    return CSize(32767, brvl::win32::ScaleForWindow(kBarHeight96, m_hWnd));
}

LRESULT CMFCStatusBar::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    CFrameWnd* frame = GetParentFrame();
    if (frame == nullptr)
    {
        return 0;
    }
    bool changed = false;
    for (Pane& pane : m_panes)
    {
        if (pane.id == ID_SEPARATOR)
        {
            continue;
        }
        CCmdUIState state;
        state.m_nID = pane.id;
        state.m_bEnabled = FALSE; // an indicator nobody lights stays dark
        state.DoUpdate(frame, FALSE);
        changed = changed || pane.lit != (state.m_bEnabled != FALSE);
        pane.lit = state.m_bEnabled != FALSE;
    }
    // The message pane goes back to the idle text once no menu is open.
    CMFCMenuBar* menuBar = frame->MenuBar();
    if (!m_panes.empty() && m_panes.front().id == ID_SEPARATOR &&
        (menuBar == nullptr || !menuBar->IsInMenuMode()))
    {
        CString idle;
        idle.LoadString(AFX_IDS_IDLEMESSAGE);
        SetPaneText(0, idle);
    }
    if (changed)
    {
        Invalidate();
    }
    return 0;
}

void CMFCStatusBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const UINT dpi = ::GetDpiForWindow(m_hWnd);
    dc.FillSolidRect(&client, brvl::palette::kBackground);
    dc.FillSolidRect(client.left, client.top, client.Width(), 1, brvl::palette::kSeparator);
    dc.SelectObject(static_cast<HGDIOBJ>(brvl::mfc::BarFont(dpi)));
    dc.SetBkMode(TRANSPARENT);

    const int inset = brvl::win32::ScaleForDpi(kTextInset96, dpi);
    const int indicatorWidth = brvl::win32::ScaleForDpi(kIndicatorWidth96, dpi);
    int right = client.right;
    // Indicators from the right edge, the message pane gets what is left.
    for (size_t i = m_panes.size(); i-- > 0;)
    {
        const Pane& pane = m_panes[i];
        if (pane.id == ID_SEPARATOR)
        {
            continue;
        }
        CRect box(right - indicatorWidth, client.top + 1, right, client.bottom);
        dc.FillSolidRect(box.left, box.top + 3, 1, box.Height() - 6, brvl::palette::kSeparator);
        if (pane.lit)
        {
            dc.SetTextColor(brvl::palette::kAccent);
            dc.DrawText(pane.text.c_str(), -1, &box,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        right = box.left;
    }
    if (!m_panes.empty() && m_panes.front().id == ID_SEPARATOR)
    {
        CRect message(client.left + inset, client.top + 1, right - inset, client.bottom);
        dc.SetTextColor(brvl::palette::kText);
        dc.DrawText(m_panes.front().text.c_str(), -1, &message,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}
