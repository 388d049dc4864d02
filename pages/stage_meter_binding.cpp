#include "pages/stage_meter_binding.h"

#include "grid/control_grid_panel_wnd.h"

#include <algorithm>
#include <cmath>

double SampleMeterSeries(const AudioBuffer& buffer, const std::string& key, double t)
{
    const auto series = std::find_if(buffer.meterSeries.begin(), buffer.meterSeries.end(),
                                     [&key](const MeterSeries& s) { return s.key == key; });
    if (series == buffer.meterSeries.end() || !(series->rate > 0.0) || series->values.empty())
    {
        return 0.0;
    }
    const size_t n = series->values.size();
    const double last = double(n - 1);
    double pos = series->rate * t;
    // NaN (a NaN time, or an infinite rate times 0) would make the
    // truncation below undefined.
    pos = std::isnan(pos) ? 0.0 : std::clamp(pos, 0.0, last);
    const size_t i = size_t(pos);
    const double f = pos - double(i);
    const size_t next = std::min(i + 1, n - 1);
    return double(series->values[i]) * (1.0 - f) + double(series->values[next]) * f;
}

double EvaluateMeterBinding(const AudioBuffer& buffer, double t, const StageMeterBinding& binding)
{
    const double v = SampleMeterSeries(buffer, binding.meterKey, t);
    double result = 0.0;
    if (binding.mode == kMeterBindingThreshold)
    {
        result = v >= binding.threshold ? 1.0 : 0.0;
    }
    else
    {
        const double span = binding.maximum - binding.minimum;
        result = span > 0.0 ? std::clamp((v - binding.minimum) / span, 0.0, 1.0) : 0.0;
    }
    // The controls refuse NaN and would keep showing their last value.
    return std::isnan(result) ? 0.0 : result;
}

bool ApplyMeterBindings(CControlGridPanelWnd& panel,
                        const std::unordered_map<std::string, StageMeterBinding>& bindings,
                        const AudioBuffer& buffer, double t)
{
    bool found = false;
    for (const auto& [parameterId, binding] : bindings)
    {
        found = panel.SetControlValueById(parameterId, EvaluateMeterBinding(buffer, t, binding)) ||
                found;
    }
    return found;
}
