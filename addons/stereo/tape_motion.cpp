#include "addons/stereo/tape_motion.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/mid_side.h"
#include "addons/kit/side_rewrite.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

enum Param
{
    Amount,
    RateHz,
    Drift,
    Mix
};

constexpr AddonIdentity kIdentity{
    "tape_motion", "Tape Motion",
    "Adds subtle wow, flutter, and transport drift for gentle analogue-style movement.",
    "Use sparingly when a master feels too static and could use a touch of animated tape "
    "character.",
    ChainStereoImage};

constexpr std::array<AddonParamDef, 4> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.25, 0.01, ""},
    {"rate_hz", "Rate", kAddonParamContinuous, 0.05, 2.0, 0.45, 0.01, "Hz"},
    {"drift", "Drift", kAddonParamContinuous, 0.0, 1.0, 0.35, 0.01, ""},
    {"mix", "Mix", kAddonParamContinuous, 0.0, 1.0, 0.6, 0.01, ""},
}};

constexpr double kTwoPi = 6.283185307179586;

// How far the transport moves the side, in frames, and how fast.
struct Motion
{
    double wowDepth;
    double flutterDepth;
    double driftDepth;
    double wowRate; // radians per second
    double flutterRate;
    double driftRate;
};

Motion MotionFor(double amount, double rateHz, double drift)
{
    const double depth = 3.5 + 10.5 * amount;
    return {.wowDepth = (0.35 + 0.45 * amount) * depth,
            .flutterDepth = (0.10 + 0.18 * amount) * depth,
            .driftDepth = 0.35 * depth * drift,
            .wowRate = kTwoPi * rateHz,
            .flutterRate = kTwoPi * 6.5 * rateHz,
            .driftRate = kTwoPi * (0.09 + 0.21 * drift)};
}

// sin(rate t + phase) at t = j / fs for j = 0, 1, 2 ...: a phasor turned by one
// frame's angle per step, set exactly from sin and cos every kResyncFrames so
// that rounding cannot build up over a long track. Five of these per frame
// cost a fraction of five sines.
class FrameSine
{
public:
    FrameSine(double rate, double phase, double fs)
        : m_rate(rate), m_phase(phase), m_fs(fs), m_cosStep(std::cos(rate / fs)),
          m_sinStep(std::sin(rate / fs))
    {
    }

    double Next()
    {
        if (m_frame % kResyncFrames == 0)
        {
            const double angle = m_rate * (static_cast<double>(m_frame) / m_fs) + m_phase;
            m_sin = std::sin(angle);
            m_cos = std::cos(angle);
        }
        else
        {
            const double sin = m_sin * m_cosStep + m_cos * m_sinStep;
            m_cos = m_cos * m_cosStep - m_sin * m_sinStep;
            m_sin = sin;
        }
        ++m_frame;
        return m_sin;
    }

private:
    static constexpr size_t kResyncFrames = 1024;

    double m_rate;
    double m_phase;
    double m_fs;
    double m_cosStep;
    double m_sinStep;
    double m_sin = 0.0;
    double m_cos = 1.0;
    size_t m_frame = 0;
};

// The delay of frame after frame, from the first; a negative sum gives no
// delay, never an advance.
class MotionDelay
{
public:
    MotionDelay(const Motion& motion, double fs)
        : m_motion(motion), m_drift1(0.73 * motion.driftRate, 0.41, fs),
          m_drift2(1.31 * motion.driftRate, 1.17, fs), m_drift3(2.07 * motion.driftRate, 2.03, fs),
          m_flutter(motion.flutterRate, 0.71, fs), m_wow(motion.wowRate, 0.0, fs)
    {
    }

    double Next()
    {
        const double drift =
            m_motion.driftDepth *
            (0.58 * m_drift1.Next() + 0.29 * m_drift2.Next() + 0.13 * m_drift3.Next());
        const double flutter = m_motion.flutterDepth * m_flutter.Next();
        const double wow = m_motion.wowDepth * m_wow.Next();
        return std::max(0.0, drift + flutter + wow);
    }

private:
    Motion m_motion;
    FrameSine m_drift1;
    FrameSine m_drift2;
    FrameSine m_drift3;
    FrameSine m_flutter;
    FrameSine m_wow;
};

// The signal at a fractional position, read by linear interpolation; the ends
// hold the first and the last value.
double ReadAt(const std::vector<double>& signal, double position)
{
    if (position <= 0.0)
    {
        return signal.front();
    }
    const double last = static_cast<double>(signal.size() - 1);
    if (position >= last)
    {
        return signal.back();
    }
    const double whole = std::floor(position);
    const size_t k = static_cast<size_t>(whole);
    const double f = position - whole;
    // On a whole frame the next value takes no part, so a value that is not
    // finite there cannot reach this frame through a weight of 0.
    if (f == 0.0)
    {
        return signal[k];
    }
    return (1.0 - f) * signal[k] + f * signal[k + 1];
}

} // namespace

TapeMotion::TapeMotion() : AddonBase(kIdentity, kTable)
{
}

// Only the side moves: the mid is the listener's fixed point.
void TapeMotion::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double fs = context.sampleRate;
    if (!IsWholeStereoBuffer(buffer) || fs <= 0.0)
    {
        return;
    }
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    const double m = ClampToRange(Value(Mix), 0.0, 1.0);
    if (a <= 0.0 || m <= 0.0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const Motion motion =
        MotionFor(a, ClampToRange(Value(RateHz), 0.05, 2.0), ClampToRange(Value(Drift), 0.0, 1.0));
    const double moved = 0.3 + 0.7 * a;
    std::vector<double>& samples = buffer.samples;
    std::vector<double> side(samples.size() / 2);
    for (size_t j = 0; j < side.size(); ++j)
    {
        side[j] = SideOf(samples[2 * j], samples[2 * j + 1]);
    }
    MotionDelay delay(motion, fs);
    size_t j = 0;
    RewriteSide(samples, m,
                [&](double, double sideNow)
                {
                    const double frame = static_cast<double>(j++);
                    const double movedSide = ReadAt(side, frame - delay.Next());
                    return moved * movedSide + (1.0 - moved) * sideNow;
                });
}
