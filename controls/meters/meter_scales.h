#pragma once

#include "controls/base/hsv_color.h"
#include "engine/audio_buffer.h"

// The arithmetic of the level meters, apart from their painting.

// The output meter's scale needs a range of finite width with its top above
// its bottom.
bool IsDrawableDbRange(double minDb, double maxDb);

// The y of a level (a bar's value, 0..1, as a position within the range) and
// of a tick in dB, on a scale from `top` (max) down to `bottom` (min).
double OutputMeterLevelY(double value, double minDb, double maxDb, double top, double bottom);
double OutputMeterTickY(double tickDb, double minDb, double maxDb, double top, double bottom);

// The colour of a lit row at `db`: teal up to -18 dB, turning to amber at
// -9 dB and on to red at the top of the scale.
RgbBytes OutputMeterRowColor(double db, double maxDb);

// The first "dynamics.gain_reduction_db" series with values; null without one.
const MeterSeries* FindDynamicsGainReductionSeries(const AudioBuffer& buffer);

// The gain reduction in dB (at least 0) at `cursorSec` of `buffer`, the
// series' value at or before it; 0 without a usable series.
float GainReductionAt(const AudioBuffer& buffer, double cursorSec);

// The needle meter's dial: a position 0..1 sits at 155 + 230 p degrees,
// clockwise on the screen from the positive x axis.
double NeedleAngleDegrees(double position);
// Where a tick of `value` sits on the dial; 0 for a range of no width or a
// reversed one.
double NeedleTickPosition(double value, double min, double max);
