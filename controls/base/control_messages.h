#pragma once

#include "platform/win32/win_messages.h"

// What a control tells its parent, always sent (never posted) so the parent has
// handled it when the call returns; lParam is the control (CBaseControlWnd*).
//
// The stored value changed, by the user or by an owner's call.
constexpr UINT WMU_CONTROL_CHANGED = WM_APP + 260; // 0x8104
// A gesture ended: a drag released, a wheel step, a reset (the control says which).
constexpr UINT WMU_CONTROL_COMMIT = WM_APP + 264; // 0x8108
