#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/cstring.h"

#include <span>
#include <vector>

// The stereo bloom: one glowing ellipse per band on a vertical spine, band 0
// at the bottom, larger and lighter the wider the band, with its name on the
// left and its width in percent on the right. The bloom view and the profile
// inspector's stereo panel draw it, each in its own area and value box.

// Where the width text goes: its box starts `rightInset` pixels left of the
// area's right edge and is `width` pixels wide.
struct BloomValueBox
{
    int rightInset;
    int width;
};

// One band's ellipse: centre, radii and colour (COLORREF).
struct BloomBand
{
    double width; // the band's width as drawn, 0..1
    Gdiplus::PointF centre;
    Gdiplus::REAL radiusX;
    Gdiplus::REAL radiusY;
    COLORREF color;
};

// The bands' ellipses in `area`, one per width (at most one per stereo band),
// rows of H / n pixels (integer division) from the bottom. A width that is
// not finite counts as 0, others are held to 0..1. None when there are no
// widths or the area is narrower or lower than 60 pixels.
std::vector<BloomBand> LayOutStereoBloom(const RECT& area, std::span<const double> widths);

// "73%": a band width in whole percent.
CString BloomValueText(double width);

// Paints the spine, the connectors and the bands of LayOutStereoBloom.
void PaintStereoBloom(Gdiplus::Graphics& graphics, const RECT& area, std::span<const double> widths,
                      BloomValueBox valueBox);
