#include "controls/graphs/graph_feed.h"

#include <algorithm>
#include <cmath>

bool HasAudio(const AudioBuffer& audio)
{
    return audio.sampleRate > 0 && audio.FrameCount() >= 1;
}

bool SameAudio(const AudioBuffer& a, const AudioBuffer& b)
{
    // Element by element: a NaN is never equal, so such a buffer is copied again.
    return a.sampleRate == b.sampleRate && a.samples.size() == b.samples.size() &&
           std::equal(a.samples.begin(), a.samples.end(), b.samples.begin());
}

bool TakeWindowSeconds(double& windowSec, double seconds)
{
    if (std::isnan(seconds))
    {
        return false;
    }
    const double held = std::clamp(seconds, kShortestGraphWindowSec, kLongestGraphWindowSec);
    if (std::fabs(held - windowSec) < 1e-4)
    {
        return false;
    }
    windowSec = held;
    return true;
}

std::size_t CursorFrame(const AudioBuffer& audio, double cursorSec)
{
    const double frames = double(audio.FrameCount());
    const double duration = frames / audio.sampleRate;
    const double t = std::clamp(std::isnan(cursorSec) ? 0.0 : cursorSec, 0.0, duration);
    const double frame = std::min(std::floor(audio.sampleRate * t), frames - 1);
    return static_cast<std::size_t>(std::max(frame, 0.0));
}

std::size_t WindowFrames(const AudioBuffer& audio, double windowSec, std::size_t floor)
{
    const double frames = std::floor(audio.sampleRate * windowSec);
    // The window is clamped to 0.25 s by its setter; this only guards odd callers.
    const double held = std::isfinite(frames) ? std::clamp(frames, 0.0, 1e9) : 0.0;
    return std::max(floor, static_cast<std::size_t>(held));
}

FrameRange CentredWindow(const AudioBuffer& audio, double cursorSec, std::size_t frames)
{
    const std::size_t cursor = CursorFrame(audio, cursorSec);
    const std::size_t half = frames / 2;
    FrameRange range;
    range.begin = cursor > half ? cursor - half : 0;
    range.end = std::min(range.begin + frames, audio.FrameCount());
    return range;
}

FrameRange SymmetricWindow(const AudioBuffer& audio, double cursorSec, std::size_t half)
{
    const std::size_t cursor = CursorFrame(audio, cursorSec);
    FrameRange range;
    range.begin = cursor > half ? cursor - half : 0;
    range.end = std::min(cursor + half, audio.FrameCount());
    return range;
}
