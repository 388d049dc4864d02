#pragma once

#include "platform/mfc/cstring.h"
#include "platform/win32/palette.h"
#include "platform/win32/win_types.h"

// The snapshot a draw routine paints from: everything of a control its face
// shows, so the designer's preview can paint any control without a window.
struct ControlDrawState
{
    CString label;
    CString textValue;
    CString secondaryText;
    CString toolTip;
    double value = 0.0;          // 0..1
    double secondaryValue = 0.0; // 0..1
    bool hover = false;
    bool pressed = false;
    bool dragging = false;
    bool disabled = false;
    bool blank = false;
    bool drawBorder = true;
    bool drawBackground = true;
    COLORREF accentColor = brvl::palette::kAccent;
    COLORREF backgroundColor = brvl::palette::kControlSurface;
    CString valueText; // the display value with its decimals and suffix
};
