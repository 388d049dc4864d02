#pragma once

#include "controls/base/base_control_wnd.h"

// A widget's paint record: its client size (none before its window exists)
// and its snapshot. The text widgets keep nothing beyond the base's fields.
template <typename State> State ClientStateOf(const CBaseControlWnd& control)
{
    State state;
    CRect client;
    if (::IsWindow(control.GetSafeHwnd()))
    {
        control.GetClientRect(&client);
    }
    state.size = client.Size();
    state.snapshot = control.GetDrawState();
    return state;
}
