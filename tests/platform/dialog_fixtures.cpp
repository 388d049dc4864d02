#include "dialog_fixtures.h"

using brvl::win32::DialogControlTemplate;
using brvl::win32::DialogTemplate;

DialogTemplate SampleTemplate()
{
    DialogTemplate t;
    t.caption = L"Sample";
    t.cx = 240;
    t.cy = 170;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD v = WS_CHILD | WS_VISIBLE;
    t.controls = {
        {L"STATIC", L"&Name", -1, 7, 9, 30, 8, v | SS_LEFT},
        {L"EDIT", L"", 1015, 45, 7, 120, 14, v | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {L"EDIT", L"", 1016, 45, 25, 120, 30,
         v | WS_BORDER | ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP},
        {L"EDIT", L"", 1011, 45, 60, 40, 14, v | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {L"EDIT", L"", 1029, 95, 60, 40, 14, v | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP},
        {L"BUTTON", L"Include", 1005, 45, 80, 80, 10, v | BS_AUTOCHECKBOX | WS_TABSTOP},
        {L"BUTTON", L"Mid", 1054, 45, 94, 30, 10, v | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP},
        {L"BUTTON", L"Side", 1055, 80, 94, 30, 10, v | BS_AUTORADIOBUTTON},
        {L"COMBOBOX", L"", 1056, 45, 108, 60, 70,
         v | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP},
        {L"msctls_trackbar32", L"", 1050, 45, 126, 120, 14,
         v | TBS_BOTH | TBS_NOTICKS | WS_TABSTOP},
        {L"STATIC", L"", 1053, 175, 7, 58, 50, v | SS_BLACKFRAME},
        {L"STATIC", L"128", 1060, 7, 140, 20, 20, v | SS_ICON},
        {L"STATIC", L"A long note that wraps over more than one line of the label.", 1045, 175, 62,
         58, 40, v | SS_LEFT},
        {L"BUTTON", L"OK", IDOK, 129, 149, 50, 14, v | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {L"BUTTON", L"Cancel", IDCANCEL, 183, 149, 50, 14, v | BS_PUSHBUTTON | WS_TABSTOP},
    };
    return t;
}

BOOL SampleDialog::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    if (combo.GetCount() == 0)
    {
        for (int i = 4; i <= 12; ++i)
        {
            CString text;
            text.Format(L"%d", i);
            combo.SetItemData(combo.AddString(text), static_cast<DWORD_PTR>(i * 100));
        }
        combo.SetCurSel(2);
        slider.SetRange(0, 100, TRUE);
        slider.SetTicFreq(10);
        slider.SetPos(50);
    }
    if (onInit)
    {
        onInit(*this);
    }
    return TRUE;
}

void SampleDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, 1056, combo);
    DDX_Control(pDX, 1050, slider);
    DDX_Text(pDX, 1015, name);
    DDX_Text(pDX, 1016, comment);
    DDX_Text(pDX, 1011, count);
    DDX_Text(pDX, 1029, gain);
    DDX_Check(pDX, 1005, check);
    DDX_Radio(pDX, 1054, radio);
}
