#include "controls/meters/meter_scales.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr char kGainReductionKey[] = "dynamics.gain_reduction_db";

BYTE Channel(double value)
{
    return static_cast<BYTE>(std::clamp(value, 0.0, 255.0));
}

} // namespace

bool IsDrawableDbRange(double minDb, double maxDb)
{
    // The width too: -1e308..1e308 would put every level at inf / inf.
    return std::isfinite(maxDb - minDb) && maxDb > minDb;
}

double OutputMeterLevelY(double value, double minDb, double maxDb, double top, double bottom)
{
    const double v = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
    const double db = std::clamp(v * (maxDb - minDb) + minDb, minDb, maxDb);
    return OutputMeterTickY(db, minDb, maxDb, top, bottom);
}

double OutputMeterTickY(double tickDb, double minDb, double maxDb, double top, double bottom)
{
    return bottom - (tickDb - minDb) / (maxDb - minDb) * (bottom - top);
}

RgbBytes OutputMeterRowColor(double db, double maxDb)
{
    if (db >= -9.0)
    {
        // A scale topping out at -9 dB or below has no amber-to-red stretch.
        const double t = maxDb + 9.0 > 0.0 ? std::min(1.0, (db + 9.0) / (maxDb + 9.0)) : 0.0;
        if (t < 0.0)
        {
            return {226, 185, 70};
        }
        return {Channel(226 + 9 * t), Channel(185 - 101 * t), Channel(70 + 4 * t)};
    }
    if (db >= -18.0)
    {
        const double t = std::min(1.0, (db + 18.0) / 9.0);
        return {Channel(40 + 186 * t), Channel(221 - 36 * t), Channel(170 - 100 * t)};
    }
    return {40, 221, 170};
}

const MeterSeries* FindDynamicsGainReductionSeries(const AudioBuffer& buffer)
{
    const auto found =
        std::find_if(buffer.meterSeries.begin(), buffer.meterSeries.end(),
                     [](const MeterSeries& series)
                     { return series.key == kGainReductionKey && !series.values.empty(); });
    return found != buffer.meterSeries.end() ? &*found : nullptr;
}

float GainReductionAt(const AudioBuffer& buffer, double cursorSec)
{
    const MeterSeries* series = FindDynamicsGainReductionSeries(buffer);
    // A NaN rate would pass a plain "0 or less" test.
    if (series == nullptr || !std::isfinite(series->rate) || series->rate <= 0.0)
    {
        return 0.0f;
    }
    const double duration =
        buffer.sampleRate >= 1 ? double(buffer.samples.size() / 2) / buffer.sampleRate : 0.0;
    const double cursor = std::isfinite(cursorSec) ? cursorSec : 0.0;
    const double t = std::max(0.0, std::min(cursor, duration));
    const double last = double(series->values.size() - 1);
    // Clamped in double first: a huge rate times t would overflow the cast.
    const auto index = static_cast<size_t>(std::clamp(t * series->rate, 0.0, last));
    const float value = series->values[index];
    return std::isfinite(value) ? std::max(0.0f, value) : 0.0f;
}

double NeedleAngleDegrees(double position)
{
    return 155.0 + 230.0 * position;
}

double NeedleTickPosition(double value, double min, double max)
{
    if (!(min < max))
    {
        return 0.0;
    }
    return std::clamp((value - min) / (max - min), 0.0, 1.0);
}
