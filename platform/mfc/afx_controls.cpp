#include "platform/mfc/afx_controls.h"

#include "platform/stdctrl/standard_controls.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace
{

BOOL CreateControl(CWnd& control, const wchar_t* className, LPCTSTR text, DWORD style,
                   const RECT& rect, CWnd* parent, UINT id)
{
    brvl::win32::RegisterStandardControlClasses();
    return control.CreateEx(0, className, text, style | WS_CHILD, rect, parent, id);
}

} // namespace

BOOL CButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(*this, brvl::win32::kButtonClass, caption, style, rect, parent, id);
}

int CButton::GetCheck() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0));
}

void CButton::SetCheck(int check)
{
    ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(*this, brvl::win32::kStaticClass, text, style, rect, parent, id);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(*this, brvl::win32::kEditClass, L"", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL)
{
    ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD a = 0;
    DWORD b = 0;
    ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    start = static_cast<int>(a);
    end = static_cast<int>(b);
}

void CEdit::ReplaceSel(LPCTSTR text, BOOL canUndo)
{
    ::SendMessageW(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(canUndo),
                   reinterpret_cast<LPARAM>(text));
}

BOOL CEdit::SetReadOnly(BOOL readOnly)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(readOnly), 0));
}

int CEdit::GetLineCount() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, EM_GETLINECOUNT, 0, 0));
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(*this, brvl::win32::kComboBoxClass, L"", style, rect, parent, id);
}

int CComboBox::AddString(LPCTSTR text)
{
    return static_cast<int>(
        ::SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CComboBox::GetCount() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0));
}

int CComboBox::GetCurSel() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0));
}

int CComboBox::SetCurSel(int index)
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    return static_cast<DWORD_PTR>(
        ::SendMessageW(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_SETITEMDATA, static_cast<WPARAM>(index),
                                           static_cast<LPARAM>(data)));
}

int CComboBox::GetLBText(int index, LPTSTR buffer) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(buffer)));
}

void CComboBox::GetLBText(int index, CString& text) const
{
    const int length = GetLBTextLen(index);
    if (length < 0)
    {
        text.Empty();
        return;
    }
    LPWSTR buffer = text.GetBuffer(length);
    GetLBText(index, buffer);
    text.ReleaseBuffer(length);
}

int CComboBox::GetLBTextLen(int index) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
}

void CComboBox::ResetContent()
{
    ::SendMessageW(m_hWnd, CB_RESETCONTENT, 0, 0);
}

void CComboBox::ShowDropDown(BOOL show)
{
    ::SendMessageW(m_hWnd, CB_SHOWDROPDOWN, static_cast<WPARAM>(show), 0);
}

BOOL CComboBox::GetDroppedState() const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, CB_GETDROPPEDSTATE, 0, 0));
}

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(*this, brvl::win32::kTrackbarClass, L"", style, rect, parent, id);
}

void CSliderCtrl::SetRange(int minimum, int maximum, BOOL redraw)
{
    ::SendMessageW(m_hWnd, TBM_SETRANGE, static_cast<WPARAM>(redraw),
                   MAKELPARAM(static_cast<WORD>(minimum), static_cast<WORD>(maximum)));
}

int CSliderCtrl::GetRangeMin() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0));
}

int CSliderCtrl::GetRangeMax() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0));
}

void CSliderCtrl::SetTicFreq(int frequency)
{
    ::SendMessageW(m_hWnd, TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

void CSliderCtrl::SetPos(int position)
{
    ::SendMessageW(m_hWnd, TBM_SETPOS, TRUE, position);
}

int CSliderCtrl::GetPos() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETPOS, 0, 0));
}

int CSliderCtrl::SetPageSize(int size)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_SETPAGESIZE, 0, size));
}

int CSliderCtrl::GetPageSize() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETPAGESIZE, 0, 0));
}

int CSliderCtrl::SetLineSize(int size)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_SETLINESIZE, 0, size));
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    brvl::win32::RegisterStandardControlClasses();
    return CreateEx(0, brvl::win32::kTooltipClass, L"", WS_POPUP | style, 0, 0, 0, 0,
                    parent != nullptr ? parent->GetSafeHwnd() : nullptr, nullptr);
}

void CToolTipCtrl::Activate(BOOL activate)
{
    ::SendMessageW(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(activate), 0);
}

int CToolTipCtrl::SetMaxTipWidth(int width)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, width));
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect, UINT_PTR toolId)
{
    if (wnd == nullptr)
    {
        return FALSE;
    }
    TOOLINFOW info{};
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = wnd->GetSafeHwnd();
    info.uId = toolId;
    if (rect != nullptr)
    {
        info.rect = *rect;
    }
    else
    {
        info.uFlags |= TTF_IDISHWND;
    }
    info.lpszText = const_cast<LPWSTR>(text);
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId)
{
    if (wnd == nullptr)
    {
        return;
    }
    TOOLINFOW info{};
    info.hwnd = wnd->GetSafeHwnd();
    info.uId = toolId;
    ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::RelayEvent(MSG* msg)
{
    ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

BOOL CToolTipCtrl::SetTitle(UINT icon, LPCTSTR title)
{
    return static_cast<BOOL>(
        ::SendMessageW(m_hWnd, TTM_SETTITLEW, icon, reinterpret_cast<LPARAM>(title)));
}
