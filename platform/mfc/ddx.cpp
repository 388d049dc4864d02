// Dialog data exchange between members and the controls of a dialog.

#include "platform/mfc/afx_message_box.h"
#include "platform/mfc/dialog.h"
#include "platform/mfc/number_text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{

std::wstring ControlText(HWND control)
{
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

[[noreturn]] void FailWith(CDataExchange* pDX, LPCTSTR prompt)
{
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

// The radio buttons of the group that starts at `first`, in tab order.
std::vector<HWND> RadioGroup(HWND first)
{
    std::vector<HWND> group;
    const HWND parent = ::GetParent(first);
    const std::vector<HWND> siblings = brvl::win32::ChildWindows(parent);
    auto it = std::find(siblings.begin(), siblings.end(), first);
    for (; it != siblings.end(); ++it)
    {
        if (it != siblings.begin() && *it != first && (::GetWindowStyle(*it) & WS_GROUP) != 0)
        {
            break;
        }
        if ((::SendMessageW(*it, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0)
        {
            group.push_back(*it);
        }
    }
    return group;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    const HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
    {
        value = CString(ControlText(control));
    }
    else
    {
        ::SetWindowTextW(control, value);
    }
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    const HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
    {
        const std::optional<int> parsed = ParseWholeInt(ControlText(control));
        if (!parsed)
        {
            FailWith(pDX, L"Enter an integer.");
        }
        value = *parsed;
    }
    else
    {
        CString text;
        text.Format(L"%d", value);
        ::SetWindowTextW(control, text);
    }
}

void DDX_Text(CDataExchange* pDX, int id, double& value)
{
    const HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
    {
        const std::optional<double> parsed = ParseWholeDouble(ControlText(control));
        if (!parsed)
        {
            FailWith(pDX, L"Enter a number.");
        }
        value = *parsed;
    }
    else
    {
        CString text;
        text.Format(L"%.*g", 15, value);
        ::SetWindowTextW(control, text);
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    const HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
    {
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    }
    else
    {
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int id, int& value)
{
    const HWND first = pDX->PrepareCtrl(id);
    const std::vector<HWND> group = RadioGroup(first);
    if (pDX->m_bSaveAndValidate)
    {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i)
        {
            if (::SendMessageW(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
            {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
    {
        ::SendMessageW(group[i], BM_SETCHECK,
                       static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    const HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
    {
        index = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
    }
    else
    {
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.GetSafeHwnd() != nullptr)
    {
        return;
    }
    const HWND hwnd = pDX->PrepareCtrl(id);
    if (CWnd::FromHandlePermanent(hwnd) == nullptr)
    {
        control.SubclassWindow(hwnd);
    }
}
