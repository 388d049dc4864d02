#include "platform/mfc/dialog.h"

#include "platform/mfc/afx_message_box.h"

#include <stdexcept>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

namespace
{

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct DataExchangeFailed
{
};

} // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    const HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), id);
    if (control == nullptr)
    {
        throw std::runtime_error("data exchange with a control that does not exist (id " +
                                 std::to_string(id) + ")");
    }
    m_idLastControl = id;
    m_bEditLastControl = false;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    const HWND control = PrepareCtrl(id);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail()
{
    const HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), m_idLastControl);
    if (control != nullptr)
    {
        ::SetFocus(control);
        if (m_bEditLastControl)
        {
            ::SendMessageW(control, EM_SETSEL, 0, -1);
        }
    }
    throw DataExchangeFailed{};
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent)
{
}

CDialog::CDialog(const brvl::win32::DialogTemplate& dialogTemplate, CWnd* parent)
    : m_pParentWnd(parent), m_inMemory(dialogTemplate)
{
}

std::optional<brvl::win32::DialogTemplate> CDialog::ResolveTemplate() const
{
    if (m_inMemory)
    {
        return m_inMemory;
    }
    return brvl::win32::LoadDialogTemplate(m_nIDTemplate);
}

HWND CDialog::OwnerWindow() const
{
    // Without a parent (the about box) the dialog still belongs to the window
    // the user works in, as the framework does, so that window is disabled
    // under a modal one.
    return m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : AfxDefaultModalOwner();
}

INT_PTR CDialog::DoModal()
{
    const std::optional<brvl::win32::DialogTemplate> t = ResolveTemplate();
    if (!t || m_hWnd != nullptr)
    {
        return -1;
    }
    const HWND owner = OwnerWindow();
    const HWND previousFocus = ::GetFocus();
    const HWND dialog = brvl::win32::CreateDialogFromTemplate(*t, owner, AsWindowObject());
    if (dialog == nullptr)
    {
        return -1;
    }
    const INT_PTR result = brvl::win32::RunModalDialog(dialog, owner);
    if (::IsWindow(dialog))
    {
        ::DestroyWindow(dialog);
    }
    if (previousFocus != nullptr && ::IsWindow(previousFocus) && ::GetFocus() == nullptr)
    {
        ::SetFocus(previousFocus);
    }
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_inMemory.reset();
    if (parent != nullptr)
    {
        m_pParentWnd = parent;
    }
    const std::optional<brvl::win32::DialogTemplate> t = ResolveTemplate();
    if (!t || m_hWnd != nullptr)
    {
        return FALSE;
    }
    return brvl::win32::CreateDialogFromTemplate(*t, OwnerWindow(), AsWindowObject()) != nullptr
               ? TRUE
               : FALSE;
}

BOOL CDialog::CreateIndirect(const brvl::win32::DialogTemplate& dialogTemplate, CWnd* parent)
{
    m_inMemory = dialogTemplate;
    if (parent != nullptr)
    {
        m_pParentWnd = parent;
    }
    if (m_hWnd != nullptr)
    {
        return FALSE;
    }
    return brvl::win32::CreateDialogFromTemplate(dialogTemplate, OwnerWindow(), AsWindowObject()) !=
                   nullptr
               ? TRUE
               : FALSE;
}

void CDialog::EndDialog(int result)
{
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    try
    {
        DoDataExchange(&exchange);
    }
    catch (const DataExchangeFailed&)
    {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
    {
        return; // the failing control has the focus; the dialog stays open
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::MapDialogRect(LPRECT rect) const
{
    ::MapDialogRect(m_hWnd, rect);
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control != nullptr)
    {
        brvl::win32::SetDialogFocus(m_hWnd, control->GetSafeHwnd());
    }
}

void CDialog::SetDefID(UINT id)
{
    ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::SetDlgItemText(int id, LPCTSTR text)
{
    ::SetDlgItemTextW(m_hWnd, id, text);
}

int CDialog::GetDlgItemText(int id, CString& text) const
{
    const HWND item = ::GetDlgItem(m_hWnd, id);
    const int length = item != nullptr ? ::GetWindowTextLengthW(item) : 0;
    LPWSTR buffer = text.GetBuffer(length);
    buffer[0] = L'\0';
    if (item != nullptr)
    {
        ::GetWindowTextW(item, buffer, length + 1);
    }
    text.ReleaseBuffer();
    return text.GetLength();
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg))
    {
        return TRUE;
    }
    // Keys inside the dialog are the dialog manager's first (Tab, Enter, Escape, ...).
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, msg) ? TRUE : FALSE;
}
