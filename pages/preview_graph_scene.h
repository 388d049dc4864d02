#pragma once

#include "engine/audio_buffer.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afx_geometry.h"
#include "platform/mfc/cstring.h"

#include <vector>

// What the Codex page's preview graph shows, worked out apart from its
// painting: envelopes of the unprocessed and processed audio around the play
// position, and the gain-reduction lanes of the processed preview. Every
// function here is pure; the window only draws what they return.

// Windows this short or shorter are drawn this long.
constexpr double kShortestPreviewWindowSec = 0.001;

// What the graph is fed, as the window holds it.
struct PreviewGraphInput
{
    const AudioBuffer* source = nullptr; // null: nothing to show
    const AudioBuffer* output = nullptr;
    double centreSec = 0.0;
    double windowSec = 0.2;
    bool showRms = false;
};

enum class EnvelopeMode
{
    Peak,
    Rms,
};

// The smoothed envelope of `audio` over `columns` columns from `startSec`,
// `windowSec` long, each 0..1. All zero without a rate or a frame.
std::vector<double> PreviewEnvelope(const AudioBuffer& audio, double startSec, double windowSec,
                                    int columns, EnvelopeMode mode);

// The Catmull-Rom value through p0..p3 at `u` (0 at p1, 1 at p2).
double CatmullRom(double p0, double p1, double p2, double p3, double u);

// One point per pixel column of a lane, `width` columns from `left`: the
// series' gain reduction (0 to 12 dB, growing down from `laneTop` to
// `laneTop + height`), smoothed across neighbours. Empty when the series has
// no usable rate, fewer than two values or the lane fewer than two columns.
std::vector<Gdiplus::PointF> PreviewLanePoints(const MeterSeries& series, double startSec,
                                               double windowSec, float left, int width,
                                               float laneTop, float height);

// "Window %.0f ms  Center %.3fs".
CString PreviewGraphCaption(double windowSec, double centreSec);

// An envelope as drawn: its points, rising from the baseline.
struct PreviewEnvelopeShape
{
    std::vector<Gdiplus::PointF> peak;
    std::vector<Gdiplus::PointF> rms; // empty unless RMS is shown
};

struct PreviewLane
{
    const wchar_t* label;
    Gdiplus::ARGB line; // red, green and blue; the alpha is the painter's
    Gdiplus::ARGB fill;
    float top;
    std::vector<Gdiplus::PointF> points;
};

// Everything one paint draws, for a client of `size`.
struct PreviewGraphScene
{
    CSize size;
    bool plotShown = false; // the envelopes and their baseline
    Gdiplus::RectF plot;
    float baseline = 0;
    double scale = 0; // pixels for an envelope value of 1
    bool outputShown = false;
    bool sourceShown = false;
    PreviewEnvelopeShape output;
    PreviewEnvelopeShape source;
    std::vector<PreviewLane> lanes; // in drawing order, only those drawn
    float markerX = 0;
    CString caption;
};

PreviewGraphScene ComposePreviewGraph(const PreviewGraphInput& input, CSize size);
