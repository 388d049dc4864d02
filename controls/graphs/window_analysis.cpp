#include "controls/graphs/window_analysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::size_t FrameAt(const AudioBuffer& audio, double seconds)
{
    return HasAudio(audio) ? CursorFrame(audio, seconds) : 0;
}

FrameRange WindowAroundCursor(const AudioBuffer& audio, double cursorSec, double windowSec)
{
    FrameRange range;
    range.begin = FrameAt(audio, cursorSec - windowSec / 2);
    range.end = std::max(FrameAt(audio, cursorSec + windowSec / 2), range.begin + 1);
    return range;
}

double ResampledWindow::HighestProbeHz() const
{
    return 0.475 * std::min(rate, sourceRate);
}

double ResampledRate(double rate, std::size_t points, std::size_t frames)
{
    if (points < 2 || frames < 2)
    {
        return rate;
    }
    return rate * double(points - 1) / double(frames - 1);
}

ResampledWindow HannResample(const AudioBuffer& audio, const FrameRange& window, std::size_t fewest,
                             std::size_t most)
{
    ResampledWindow resampled;
    if (!HasAudio(audio))
    {
        return resampled;
    }
    const std::size_t frames = audio.FrameCount();
    const std::size_t span = std::min(std::max<std::size_t>(window.size(), 1), frames);
    const std::size_t count = std::clamp(window.size(), fewest, std::max(fewest, most));
    resampled.sourceRate = audio.sampleRate;
    resampled.rate = ResampledRate(audio.sampleRate, count, span);
    resampled.points.resize(count);
    // With one point there is no spacing: it stands for the first frame.
    const double last = count > 1 ? double(count - 1) : 1.0;
    for (std::size_t i = 0; i < count; ++i)
    {
        const double phase = double(i) / last;
        const std::size_t offset = static_cast<std::size_t>(phase * double(span - 1));
        const std::size_t frame = std::min(window.begin + offset, frames - 1);
        const double mid =
            (Finite(audio.samples[2 * frame]) + Finite(audio.samples[2 * frame + 1])) / 2;
        const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * phase);
        resampled.points[i] = mid * hann;
    }
    return resampled;
}

std::vector<double> LogSpacedProbes(double lowHz, double highHz, std::size_t count)
{
    std::vector<double> probes(count, lowHz);
    for (std::size_t k = 1; k < count; ++k)
    {
        probes[k] = lowHz * std::pow(highHz / lowHz, double(k) / double(count - 1));
    }
    return probes;
}

std::complex<double> SingleBin(const std::vector<double>& points, double frequencyHz,
                               double pointsRate)
{
    if (!(pointsRate > 0.0))
    {
        return {};
    }
    // The probe's phasor turns by one step per point; it is set afresh from
    // the angle every so often so its length cannot drift over long windows.
    constexpr std::size_t kRun = 256;
    const double step = -2 * std::numbers::pi * frequencyHz / pointsRate;
    const double turnRe = std::cos(step);
    const double turnIm = std::sin(step);
    double re = 0.0;
    double im = 0.0;
    for (std::size_t first = 0; first < points.size(); first += kRun)
    {
        double phasorRe = std::cos(step * double(first));
        double phasorIm = std::sin(step * double(first));
        const std::size_t end = std::min(points.size(), first + kRun);
        for (std::size_t i = first; i < end; ++i)
        {
            re += points[i] * phasorRe;
            im += points[i] * phasorIm;
            const double nextRe = phasorRe * turnRe - phasorIm * turnIm;
            phasorIm = phasorRe * turnIm + phasorIm * turnRe;
            phasorRe = nextRe;
        }
    }
    return {re, im};
}
