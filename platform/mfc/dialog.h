#pragma once

#include "platform/mfc/cstring.h"
#include "platform/mfc/wnd.h"
#include "platform/stdctrl/dialog_box.h"

#include <optional>

// Dialogs of the framework: CDialog/CDialogEx made from a template (a
// resource id or a template in memory), modal with DoModal or modeless with
// Create, and dialog data exchange between members and controls.

class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    bool m_bEditLastControl = false;

    // The control with this id (remembered for Fail); throws when there is none.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Ends the exchange: focus goes to the last control prepared and
    // UpdateData returns FALSE. Members exchanged before keep their values.
    [[noreturn]] void Fail();
};

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(const brvl::win32::DialogTemplate& dialogTemplate, CWnd* parent = nullptr);

    // Modal: IDOK/IDCANCEL (the EndDialog value); -1 when the template is
    // missing or the window could not be made.
    virtual INT_PTR DoModal();
    // Modeless: the dialog stays until DestroyWindow; EndDialog only hides it.
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL CreateIndirect(const brvl::win32::DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    void EndDialog(int result);

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void MapDialogRect(LPRECT rect) const;
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, CString& text) const;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    std::optional<brvl::win32::DialogTemplate> ResolveTemplate() const;
    HWND OwnerWindow() const;

    std::optional<brvl::win32::DialogTemplate> m_inMemory;
};

// The extended dialog of the feature pack; here the same as CDialog.
class CDialogEx : public CDialog
{
    DECLARE_DYNAMIC(CDialogEx)

public:
    using CDialog::CDialog;
};

// Data exchange helpers (see CDataExchange::Fail for a failed read).
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Written "%d"; read as a whole number with an optional sign, blanks allowed
// around it, or refused with "Enter an integer.".
void DDX_Text(CDataExchange* pDX, int id, int& value);
// Written with 15 significant digits; read as a whole finite number in the C
// locale, or refused with "Enter a number.".
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The index of the checked radio button of the group that starts at `id`; -1 none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
// Attaches the control to `control` (once).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
