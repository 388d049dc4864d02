#pragma once

#include "engine/audio_buffer.h"

#include <string>
#include <unordered_map>

class CControlGridPanelWnd;

// How one control of a page follows a meter series of the processed preview
// at the play-head. The key of the binding (the control's parameter id) is
// held by whoever owns the table.
struct StageMeterBinding
{
    std::string meterKey;   // the MeterSeries to sample, e.g. "stage4.gain_reduction_db"
    int mode = 0;           // 1: threshold light (0 or 1); anything else: range (a fraction)
    double minimum = 0.0;   // range mode: the series value shown as 0
    double maximum = 1.0;   // range mode: the series value shown as 1
    double threshold = 0.0; // threshold mode: lit at or above this value
};

constexpr int kMeterBindingThreshold = 1;

// The first series of `buffer` keyed `key`, linearly interpolated at `t`
// seconds and held to its first and last values; 0 without a series, with a
// rate of 0 or less, or with no values. A NaN position reads the first value.
double SampleMeterSeries(const AudioBuffer& buffer, const std::string& key, double t);

// What the control of `binding` shows at `t`: 0 or 1 for a threshold light,
// 0..1 for a range; never NaN.
double EvaluateMeterBinding(const AudioBuffer& buffer, double t, const StageMeterBinding& binding);

// Sets every bound control of `panel`, silently, to its binding's value at `t`
// seconds into `buffer` (bindings keyed by the controls' parameter ids); true
// when at least one binding found its control.
bool ApplyMeterBindings(CControlGridPanelWnd& panel,
                        const std::unordered_map<std::string, StageMeterBinding>& bindings,
                        const AudioBuffer& buffer, double t);
