#pragma once

#include "platform/win32/message_box.h"

// The framework's message box: the caption is the application's name (string
// 57344, "BRVL"), the owner the window that has the keyboard focus.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// The text of string `promptId`; an empty text when the table has none.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
