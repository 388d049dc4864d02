#pragma once

#include "grid/control_grid_viewport_wnd.h"
#include "platform/mfc/afxwin.h"

#include <string>

// Shows a layout file as a page would, for its author to try: the controls are
// live, their events go nowhere. The dialog sizes itself to the content.
class CDesignerTestDlg : public CDialogEx
{
    DECLARE_DYNAMIC(CDesignerTestDlg)

public:
    static constexpr UINT kTemplateId = 318;
    static constexpr UINT kViewportId = 24833;
    static constexpr int kInset = 10;
    // The viewport's inset and the panel's 20-px border around the content,
    // on both sides.
    static constexpr int kContentMargin = 72;

    explicit CDesignerTestDlg(CWnd* parent = nullptr);
    ~CDesignerTestDlg() override;

    CControlGridViewportWnd viewport;
    std::wstring layoutPath; // may be empty: an empty dialog

    void LayoutChildren();

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void FitClientToContent();
};
