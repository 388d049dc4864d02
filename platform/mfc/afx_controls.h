#pragma once

#include "platform/mfc/cstring.h"
#include "platform/mfc/wnd.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"

// The framework's wrappers of the standard controls: each is a CWnd whose
// calls are the control's messages. A dialog attaches them with DDX_Control;
// Create makes a control directly.

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)

public:
    BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
};

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)

public:
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)

public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Positions count a line break of a multi-line edit as two characters.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    int GetLineCount() const;
};

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)

public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(LPCTSTR text);
    int GetCount() const;
    int GetCurSel() const;
    // Selects `index`; -1 (or an index out of range) clears the selection.
    // Never reports CBN_SELCHANGE.
    int SetCurSel(int index);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    int GetLBText(int index, LPTSTR buffer) const;
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    void ResetContent();
    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const;
};

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)

public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetTicFreq(int frequency);
    void SetPos(int position);
    int GetPos() const;
    int SetPageSize(int size);
    int GetPageSize() const;
    int SetLineSize(int size);
};

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    // A hidden popup owned by the parent's top-level.
    BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL activate);
    int SetMaxTipWidth(int width);
    // A tool over `rect` of `wnd` (the whole window when rect is null); with
    // LPSTR_TEXTCALLBACK the window is asked for the text (TTN_GETDISPINFOW).
    BOOL AddTool(CWnd* wnd, LPCTSTR text = LPSTR_TEXTCALLBACK, LPCRECT rect = nullptr,
                 UINT_PTR toolId = 0);
    void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
    void RelayEvent(MSG* msg);
    BOOL SetTitle(UINT icon, LPCTSTR title);
};
