#pragma once

#include "controls/base/base_control_wnd.h"

// A window's client size; none before its window exists, so that a paint
// record can be taken of a control that was never created.
inline CSize ClientSizeOf(const CWnd& window)
{
    CRect client;
    if (::IsWindow(window.GetSafeHwnd()))
    {
        window.GetClientRect(&client);
    }
    return client.Size();
}

// A control's paint record with the base's fields filled: its client size and
// its snapshot. Controls add their own fields to what this returns.
template <typename State> State ClientStateOf(const CBaseControlWnd& control)
{
    State state;
    state.size = ClientSizeOf(control);
    state.snapshot = control.GetDrawState();
    return state;
}
