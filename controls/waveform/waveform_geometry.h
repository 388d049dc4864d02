#pragma once

#include "platform/mfc/afxwin.h"

// The strip's geometry as pure functions of its numbers, so each mapping can
// be checked without a window: times are seconds from the track's start,
// x a client pixel column.

struct TimeSpan
{
    double start = 0.0;
    double end = 0.0;

    double Width() const { return end - start; }
};

// The part of the track drawn across the strip: a stored zoom range held inside
// the track, falling back to the whole track when it is reversed or empty.
TimeSpan ResolveZoom(double zoomStart, double zoomEnd, double duration);

// A zoom range held to 0..duration; one narrower than 1e-4 s shows the whole
// track. Unlike a view range its ends are never swapped.
TimeSpan ClampZoomRange(double start, double end, double duration);

// A view range held to the track, its ends in order and at least
// `minWidth` wide (the whole track when that is shorter).
TimeSpan ClampViewRange(double start, double end, double duration, double minWidth);

// `width` seconds from `start`, moved right to start at 0 or left to end at
// `limit`; a width beyond the track starts at 0 and ends at `limit`.
TimeSpan FitSpan(double start, double width, double limit);

// The zoom range after the view range became `view`: the whole track when it
// showed the whole track, the same when the view is inside it, else the same
// width centred on the view.
TimeSpan ZoomKeepingViewInSight(TimeSpan view, TimeSpan zoom, double duration);

// One wheel step: 0.8 times the zoom width in, 1.25 times out, centred on the
// view range and never narrower than 1.35 times the view (at least 0.35 s).
TimeSpan WheelZoomStep(TimeSpan view, TimeSpan zoom, double duration, int delta);

// The pixel column of time `t`; the area's left edge when the area or the
// zoom has no width.
int TimeToX(double t, const RECT& waveRect, TimeSpan zoom);

// The time under column `x`, held to the area and to the track.
double XToTime(int x, const RECT& waveRect, TimeSpan zoom, double duration);

// Sizes that follow the strip's height, and the waveform area inside its
// margins (never narrower than 16 or lower than 12 pixels unless the client is).
struct WaveformLayout
{
    RECT clientRect{};
    RECT waveRect{};
    int cornerRadius = 8;
    int gripSize = 10;
    int handleWidth = 16;
    int playheadWidth = 2;
};
WaveformLayout LayoutWaveformStrip(CSize client, int systemBorderWidth);

// Where the pointer is, as the handlers tell the zones apart.
enum WaveformZone
{
    kZoneOutside = 0,
    kZoneTrack = 1,
    kZoneStartEdge = 2,
    kZoneEndEdge = 3,
    kZoneInsideRange = 4,
};

// The view range's highlight: from its start column to its end column (at
// least one pixel), over the area's height.
RECT ViewRangeRect(const RECT& waveRect, int startX, int endX);

// The zone of `point`; without peaks the whole area is the track zone.
int HitTestWaveform(POINT point, const RECT& waveRect, bool hasPeaks, int startX, int endX,
                    int handleWidth, int gripSize);

// What a play-head move from column x0 to x1 repaints: both lines with their
// glow, over the area's height and a little more, inside the client.
RECT PlayheadBand(int x0, int x1, int playheadWidth, const RECT& waveRect, const RECT& clientRect);
