#pragma once

#include "platform/gdiplus/gdiplus_types.h"
#include "platform/win32/win_types.h"

// Where a rotary knob sits in its client rectangle and how thick its parts
// are, worked out afresh on every paint and every mouse message so the knob
// follows its window's size.
enum class KnobSize
{
    Large, // the master knobs
    Small, // the compact knob of the automatic parameter pages
};

struct KnobGeometry
{
    int diameter = 0;
    int radius = 0;
    int centerX = 0;
    int centerY = 0;
    double faceRadius = 0;
    double capRadius = 0;
    double ringInset = 0; // from the body's edge to the middle of the scale ring
    double ringWidth = 0;
    double hoverRadius = 0; // the pointer is over the knob within this distance
    // A press between these distances from the centre jumps to the scale.
    double pressInner = 0;
    double pressOuter = 0;

    // The square every scale arc is drawn in.
    Gdiplus::RectF RingBox() const;
    // Squared distance of a client point from the centre.
    double DistanceSquared(int x, int y) const;
};

// The knob's natural diameter in `client`: a share of the window, never
// below 120 pixels (so a small window shows the knob cut off).
int KnobDiameter(const RECT& client, KnobSize size);

// The large stepped knob's: 0.62 of the shorter side, at least 120 pixels,
// and otherwise no more than 40 short of that side.
int SteppedKnobDiameter(const RECT& client);

KnobGeometry MakeKnobGeometry(const RECT& client, KnobSize size);
// The same rules about a diameter chosen by the caller.
KnobGeometry MakeKnobGeometry(const RECT& client, KnobSize size, int diameter);
