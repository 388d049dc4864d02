#pragma once

#include "platform/win32/control_messages.h"
#include "platform/win32/control_styles.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/window_object.h"

// Dialog boxes: a top-level of class "#32770" made from a template, its
// controls in template order (= z-order = tab order), the keyboard interface
// of IsDialogMessage, and modal or modeless life.

BOOL EndDialog(HWND dialog, INT_PTR result);
BOOL IsDialogMessageW(HWND dialog, MSG* msg);
// Dialog units to pixels of this dialog's font: x * baseX / 4, y * baseY / 8.
BOOL MapDialogRect(HWND dialog, RECT* rect);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int count);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
LRESULT DefDlgProcW(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
#define IsDialogMessage IsDialogMessageW
#define SetDlgItemText SetDlgItemTextW
#define GetDlgItemText GetDlgItemTextW
#define SendDlgItemMessage SendDlgItemMessageW

namespace brvl::win32
{

// Creates the dialog hidden with its controls, gives each the dialog font,
// sends WM_INITDIALOG (lParam `initParam`) and sets the first focus when it
// returns TRUE. `object` (may be null) receives the dialog's messages from
// WM_NCCREATE on. Returns null when the window or a control could not be made.
HWND CreateDialogFromTemplate(const DialogTemplate& dialogTemplate, HWND owner,
                              WindowObject* object, LPARAM initParam = 0);

// Shows the dialog and runs the nested modal loop until EndDialog (or the
// backend's answer); the owner's top-level is disabled meanwhile. Returns the
// EndDialog value; the dialog is left hidden for the caller to destroy.
INT_PTR RunModalDialog(HWND dialog, HWND owner);

// The dialog's base units in pixels (average character width, line height).
SIZE DialogBaseUnits(HWND dialog);

// Moves focus to a control the way the dialog manager does (an edit selects
// its text).
void SetDialogFocus(HWND dialog, HWND control);

} // namespace brvl::win32
