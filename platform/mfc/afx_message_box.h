#pragma once

#include "platform/win32/message_box.h"
#include "platform/win32/win_types.h"

// A message box owned by the application's main window, captioned with the
// application's title (string 57344 when there is no application object).
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// The text of string `promptId`; a missing string shows an empty box.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
