#include "controls/knobs/knob_scale.h"

#include <cmath>

namespace
{

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
constexpr double kTopCentre = 270.0;

double FullCircle(double degrees)
{
    return degrees < 0 ? degrees + 360.0 : degrees;
}

} // namespace

double ScaleAngle(double value)
{
    return kScaleStart + kScaleSweep * value;
}

ArcSpan ValueArc(double value, bool bipolar)
{
    if (!bipolar)
    {
        return {kScaleStart, kScaleSweep * value};
    }
    const double fromMiddle = 2.0 * (value - 0.5);
    const double sweep = kScaleSweep / 2 * std::fabs(fromMiddle);
    return {fromMiddle >= 0 ? kTopCentre : kTopCentre - sweep, sweep};
}

std::optional<double> ScaleValueAt(double dx, double dy)
{
    const double angle = FullCircle(std::atan2(dy, dx) * kDegreesPerRadian);
    const double alongScale = FullCircle(angle - kScaleStart);
    if (!(alongScale <= kScaleSweep))
    {
        return std::nullopt;
    }
    return alongScale / kScaleSweep;
}

double ZoneStart(double threshold)
{
    return threshold > 0.0 && threshold < 1.0 ? threshold : 1.0;
}

ArcSpan OverZoneArc(double value, double zoneStart)
{
    const double start = kScaleStart + kScaleSweep * zoneStart;
    return {start, value > zoneStart ? kScaleSweep * (value - zoneStart) : 0.0};
}

double OverZoneHueTurn(double value, double zoneStart)
{
    const double depth = zoneStart < 1.0 ? (value - zoneStart) / (1.0 - zoneStart) : 0.0;
    return kZoneHueTurn * depth;
}
