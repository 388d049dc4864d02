#pragma once

#include "platform/win32/win_types.h"

#include <optional>

// The 270-degree scale every rotary knob shares, in GDI+ angles (degrees,
// clockwise from the positive x axis, y down): it starts at the lower left
// (135), passes straight up (270) at its middle and ends at the lower right
// (405); the 90 degrees at the bottom are the gap.
constexpr double kScaleStart = 135.0;
constexpr double kScaleSweep = 270.0;

// The upper zone's colour: the accent turned this far round the colour wheel.
constexpr double kZoneHueTurn = -90.0;

// An arc to draw: where it starts and how far it turns (0 draws nothing).
struct ArcSpan
{
    double start = 0;
    double sweep = 0;
};

// Where `value` (0..1) stands on the scale; the pointer's angle.
double ScaleAngle(double value);

// The lit part of the scale: from the start up to the value, or for a
// bipolar knob from the top centre towards the value on either side.
ArcSpan ValueArc(double value, bool bipolar);

// The value a press jumps to, from its offset to the knob's centre; none for
// a press in the gap.
std::optional<double> ScaleValueAt(double dx, double dy);

// The start of a knob's upper zone; a threshold not strictly inside 0..1
// means no zone (1).
double ZoneStart(double threshold);

// The part of the value arc beyond the zone's start (sweep 0 below it).
ArcSpan OverZoneArc(double value, double zoneStart);

// How far the over-zone colour's hue turns from the accent's: a quarter turn
// back at the top of the scale, in step with the value's depth in the zone.
double OverZoneHueTurn(double value, double zoneStart);
