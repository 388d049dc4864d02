#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"

// What the profile graphs (the spectrum spline editor and the stereo bloom
// view) share: their window, their backdrop and how they derive colours.

// Visible child, clipping siblings and children, of the graphs' class (arrow
// cursor, no background brush); `windowName` names it.
BOOL CreateProfileGraphWindow(CWnd& graph, CWnd* parent, const RECT& rect, UINT id,
                              LPCTSTR windowName);

// The dark vertical gradient over `client` and a faint 1-pixel frame.
void PaintProfileGraphBackground(Gdiplus::Graphics& graphics, const RECT& client);

// Each channel c of `color` made trunc(scale * c + lift) in single precision,
// held to 0..255: the lighter variants of a curve or band colour.
COLORREF LiftChannels(COLORREF color, float scale, float liftRed, float liftGreen, float liftBlue);

inline COLORREF LiftChannels(COLORREF color, float scale, float lift)
{
    return LiftChannels(color, scale, lift, lift, lift);
}
