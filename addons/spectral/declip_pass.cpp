#include "addons/spectral/declip_pass.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/moving_average_smooth.h"
#include "addons/kit/spectral_band.h"
#include "addons/kit/spectral_frame.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kMostPasses = 32;
constexpr std::size_t kShortFrame = 4096;
constexpr std::size_t kLongFrame = 8192;
constexpr double kLongFrameFrom = 1.5;

// How far a mark reaches on each side of a clipped sample.
constexpr std::size_t kMarkReach = 2;

// A bin may rise to this many times the mean magnitude of the bins around it.
constexpr double kPeakAllowance = 1.2;

// The frame rule of a resynthesis: the bins outside the band are cleared,
// then every bin but the first and the last is held to kPeakAllowance times
// the mean of the magnitudes within the radius around it, the means taken
// before any bin is held. A held bin keeps its phase: it is scaled, not
// rebuilt from its angle.
class ResynthesisRule
{
public:
    ResynthesisRule(const SpectralBand& band, int radius, std::size_t bins)
        : m_band(band), m_radius(radius), m_magnitudes(bins), m_means(bins), m_prefix(bins + 1)
    {
    }

    void operator()(FrameSpectrum& spectrum)
    {
        const std::size_t bins = m_magnitudes.size();
        for (std::size_t k = 0; k < bins; ++k)
        {
            if (!m_band.Contains(k))
            {
                spectrum[k] = 0.0;
            }
        }
        if (m_radius < 1)
        {
            return;
        }
        for (std::size_t k = 0; k < bins; ++k)
        {
            // Without std::hypot's overflow guard, as the bin followers do.
            m_magnitudes[k] = std::sqrt(std::norm(spectrum[k]));
        }
        std::copy(m_magnitudes.begin(), m_magnitudes.end(), m_means.begin());
        MovingAverageSmooth(m_means, m_radius, m_prefix);
        for (std::size_t m = 1; m + 1 < bins; ++m)
        {
            const double limit = kPeakAllowance * m_means[m];
            if (m_magnitudes[m] > limit)
            {
                spectrum[m] *= limit / m_magnitudes[m];
            }
        }
    }

private:
    SpectralBand m_band;
    int m_radius;
    std::vector<double> m_magnitudes;
    std::vector<double> m_means;
    std::vector<double> m_prefix;
};

// One flag per hop of the track: whether any sample in it is marked.
std::vector<bool> MarkedHops(const std::vector<bool>& marks, std::size_t hop)
{
    std::vector<bool> hops((marks.size() + hop - 1) / hop, false);
    for (std::size_t i = 0; i < marks.size(); ++i)
    {
        if (marks[i])
        {
            hops[i / hop] = true;
        }
    }
    return hops;
}

} // namespace

int DeclipPassCount(double iterations)
{
    return static_cast<int>(std::lround(ClampToRange(iterations, 1.0, kMostPasses)));
}

std::size_t DeclipFrameLength(double oversampling)
{
    return oversampling >= kLongFrameFrom ? kLongFrame : kShortFrame;
}

double DeclipBound(int pass, int passes)
{
    return (1.0 - static_cast<double>(pass) / static_cast<double>(passes)) * 2.0 + 1.0;
}

std::vector<bool> MarkClippedSamples(std::span<const double> samples, double clipLevel)
{
    std::vector<bool> marks(samples.size(), false);
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        if (std::fabs(samples[i]) >= clipLevel)
        {
            const std::size_t first = i > kMarkReach ? i - kMarkReach : 0;
            const std::size_t last = std::min(samples.size() - 1, i + kMarkReach);
            std::fill(marks.begin() + static_cast<long>(first),
                      marks.begin() + static_cast<long>(last) + 1, true);
        }
    }
    return marks;
}

void RunDeclipPass(std::vector<double>& samples, double sampleRate, const DeclipSettings& settings)
{
    const std::vector<double>& x = samples;
    const double level = settings.clipLevel;
    if (std::none_of(x.begin(), x.end(), [level](double v) { return std::fabs(v) >= level; }))
    {
        for (double& value : samples)
        {
            value *= settings.postGain;
        }
        return;
    }
    const std::vector<bool> marks = MarkClippedSamples(x, level);
    SpectralFrame frame(settings.frameLength);
    ResynthesisRule rule(
        SpectralBandLimits(settings.lowHz, settings.highHz, sampleRate, settings.frameLength),
        settings.smoothingRadius, frame.BinCount());
    const long hop = static_cast<long>(frame.Hop());
    const std::vector<bool> markedHops = MarkedHops(marks, frame.Hop());
    const long hopCount = static_cast<long>(markedHops.size());
    const long hopsPerFrame = static_cast<long>(frame.FrameLength()) / hop;
    const auto anyMarkedHop = [&](long first, long end)
    {
        for (long h = std::max(0L, first); h < std::min(hopCount, end); ++h)
        {
            if (markedHops[static_cast<std::size_t>(h)])
            {
                return true;
            }
        }
        return false;
    };
    // Frames start on whole hops, from H - N on.
    const FrameWanted overAMark = [&](long frameStart)
    { return anyMarkedHop(frameStart / hop, frameStart / hop + hopsPerFrame); };
    const FrameWanted wanted = settings.workEveryFrame ? FrameWanted{} : overAMark;
    const MonoFrameRule resynthesis = [&rule](FrameSpectrum& spectrum) { rule(spectrum); };

    // A frame worked lies over a mark or shares its transform with one that
    // does, a hop away, so the samples the frame may have written lie within
    // a frame and a hop of a mark; the others still hold the input.
    std::vector<bool> written(markedHops.size(), settings.workEveryFrame);
    for (long h = 0; h < hopCount; ++h)
    {
        written[static_cast<std::size_t>(h)] = written[static_cast<std::size_t>(h)] ||
                                               anyMarkedHop(h - hopsPerFrame, h + hopsPerFrame + 1);
    }

    std::vector<double> y = x;
    for (int p = 0; p < settings.passes; ++p)
    {
        frame.Process(y, y, resynthesis, wanted);
        const double b = DeclipBound(p, settings.passes);
        for (long h = 0; h < hopCount; ++h)
        {
            if (!written[static_cast<std::size_t>(h)])
            {
                continue;
            }
            const std::size_t end = std::min(y.size(), static_cast<std::size_t>((h + 1) * hop));
            for (std::size_t i = static_cast<std::size_t>(h * hop); i < end; ++i)
            {
                if (marks[i])
                {
                    const double bound = std::fabs(x[i]) * b;
                    y[i] = ClampToRange(y[i], -bound, bound);
                }
                else
                {
                    y[i] = x[i];
                }
            }
        }
    }
    for (std::size_t i = 0; i < y.size(); ++i)
    {
        samples[i] = y[i] * settings.postGain;
    }
}
