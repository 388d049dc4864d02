#include "addons/kit/mid_side.h"

#include <algorithm>

MidSideSignals SplitMidSide(std::span<const double> interleaved)
{
    const size_t frameCount = interleaved.size() / 2;
    MidSideSignals signals;
    signals.mid.resize(frameCount);
    signals.side.resize(frameCount);
    for (size_t frame = 0; frame < frameCount; ++frame)
    {
        const double left = interleaved[2 * frame];
        const double right = interleaved[2 * frame + 1];
        signals.mid[frame] = MidOf(left, right);
        signals.side[frame] = SideOf(left, right);
    }
    return signals;
}

void JoinMidSide(std::span<const double> mid, std::span<const double> side,
                 std::span<double> interleaved)
{
    const size_t frameCount = std::min({mid.size(), side.size(), interleaved.size() / 2});
    for (size_t frame = 0; frame < frameCount; ++frame)
    {
        interleaved[2 * frame] = mid[frame] + side[frame];
        interleaved[2 * frame + 1] = mid[frame] - side[frame];
    }
}
