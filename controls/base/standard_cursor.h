#pragma once

#include "platform/mfc/afxwin.h"

// Shows one of the system's own cursors (IDC_HAND, IDC_SIZENS, ...) now.
inline void ShowStandardCursor(LPCTSTR cursor)
{
    ::SetCursor(::LoadCursor(nullptr, cursor));
}
