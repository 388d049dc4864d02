#pragma once

#include "platform/win32/message_box.h"

// The window a modal element made without an owner belongs to: the top-level
// that has the keyboard focus, else the main window; null when there is neither.
HWND AfxDefaultModalOwner();

// The framework's message box: the caption is the application's name (its
// m_pszAppName, else string 57344 "BRVL"); the owner is the top-level that has
// the keyboard focus (the dialog whose data exchange failed), else the main
// window.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// The text of string `promptId`; an empty text when the table has none.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
