#include "grid/designer_test_dlg.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDesignerTestDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CDesignerTestDlg, CDialogEx)
ON_WM_SIZE()
END_MESSAGE_MAP()

CDesignerTestDlg::CDesignerTestDlg(CWnd* parent) : CDialogEx(kTemplateId, parent)
{
}

CDesignerTestDlg::~CDesignerTestDlg() = default;

BOOL CDesignerTestDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    CRect client;
    GetClientRect(&client);
    viewport.Create(client, this, kViewportId);
    viewport.SetBackgroundColor(0x100E0C);
    CControlGridPanelWnd& panel = viewport.panel;
    panel.centreH = 1;
    viewport.LayoutChildren();
    panel.centreV = 1;
    viewport.LayoutChildren();
    // Every item at its own cell, as the file places it.
    panel.packParams = GridPackParams{GridPackMode::ExplicitOnly, 1, 0, 1, 1};
    panel.LayoutControls();
    viewport.LayoutChildren();
    if (!layoutPath.empty())
    {
        if (viewport.LoadLayout(layoutPath))
        {
            FitClientToContent();
        }
        else
        {
            AfxMessageBox(L"Failed to load designer test JSON.", MB_OK);
        }
    }
    LayoutChildren();
    return TRUE;
}

void CDesignerTestDlg::FitClientToContent()
{
    const RECT& content = viewport.panel.content;
    const int width = std::max(0, static_cast<int>(content.right - content.left));
    const int height = std::max(0, static_cast<int>(content.bottom - content.top));
    // The window manager holds windows to its own limit; the sum must not wrap first.
    const auto side = [](int extent)
    { return std::min(extent, 32767 - kContentMargin) + kContentMargin; };
    RECT window{0, 0, side(width), side(height)};
    ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDesignerTestDlg::OnSize(UINT type, int cx, int cy)
{
    CDialogEx::OnSize(type, cx, cy);
    LayoutChildren();
}

void CDesignerTestDlg::LayoutChildren()
{
    if (!::IsWindow(viewport.GetSafeHwnd()))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(kInset, kInset);
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    viewport.MoveWindow(&client, TRUE);
}
