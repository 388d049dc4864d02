// The static curves of the four pre-limiter waveshapers: each value goes
// through its curve on its own, whatever its neighbours and its channel.

#include "registry/addon_registry.h"

#include "addons/prelimiter/soft_knee_clip.h"
#include "tests/engine/stages/limiter_fixtures.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

// Values across the curve, quiet to well over full scale, both signs.
const std::vector<double> kInputs = {-2.0, -1.0, -0.75, -0.3,  -1e-4, 0.0,   1e-4, 0.2,
                                     0.5,  0.75, 0.9,   0.999, 1.0,   1.001, 1.5,  2.0};

AudioBuffer BufferOf(const std::vector<double>& values)
{
    AudioBuffer buffer;
    buffer.sampleRate = 48000;
    buffer.samples = values;
    return buffer;
}

AudioBuffer ProcessedById(const std::string& id, const AudioBuffer& input,
                          const AddonSetting& setting)
{
    const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(id);
    EXPECT_NE(addon, nullptr) << id;
    return addon != nullptr ? ProcessedBy(*addon, input, setting) : input;
}

double Db(double db)
{
    return std::pow(10.0, db / 20.0);
}

} // namespace

// The drive pair of each shaper with its own trim share: G = 10^(a d / 20),
// T = 10^(-t a d / 20). At drive 0 both are 1, and the curves are still curves.
TEST(WaveshaperCurves, EveryValueFollowsItsCurve)
{
    struct Curve
    {
        const char* id;
        AddonSetting setting;
        std::function<double(double)> expected;
    };
    const auto asymmetric = [](double kp, double kn, double trim)
    {
        return [=](double x)
        {
            const double k = x >= 0.0 ? kp : kn;
            return std::tanh(k * x) / std::tanh(k) * trim;
        };
    };
    const Curve curves[] = {
        // Drive 0.
        {"soft_clipper",
         {{"drive_db", 0.0}, {"amount", 1.0}},
         [](double x) { return std::tanh(x); }},
        {"loudness_driver",
         {{"drive_db", 0.0}, {"amount", 1.0}},
         [](double x) { return 0.15 * std::tanh(0.5 * x) + 0.85 * std::tanh(x); }},
        {"peak_clipper",
         {{"drive_db", 0.0}, {"amount", 1.0}, {"knee", 0.5}},
         [](double x) { return SoftKneeClip(x, 0.25); }},
        {"asymmetric_clipper",
         {{"drive_db", 0.0}, {"amount", 1.0}, {"asymmetry", 1.0}},
         asymmetric(1.65, 0.55, 1.0)},
        {"asymmetric_clipper",
         {{"drive_db", 0.0}, {"amount", 0.4}, {"asymmetry", 0.0}},
         asymmetric(1.0, 1.0, 1.0)},
        // Driven.
        {"soft_clipper",
         {{"drive_db", 10.0}, {"amount", 0.5}},
         [](double x) { return std::tanh(Db(5.0) * x) * Db(-0.7 * 5.0); }},
        {"loudness_driver",
         {{"drive_db", 12.0}, {"amount", 1.0}},
         [](double x)
         {
             return (0.15 * std::tanh(0.5 * Db(12.0) * x) + 0.85 * std::tanh(Db(12.0) * x)) *
                    Db(-0.72 * 12.0);
         }},
        {"peak_clipper",
         {{"drive_db", 6.0}, {"amount", 1.0}, {"knee", 0.0}},
         [](double x) { return std::clamp(Db(6.0) * x, -1.0, 1.0) * Db(-0.85 * 6.0); }},
        {"asymmetric_clipper",
         {{"drive_db", 12.0}, {"amount", 0.5}, {"asymmetry", 0.5}},
         asymmetric((1.0 + 0.65 * 0.25) * Db(6.0), (1.0 - 0.45 * 0.25) * Db(6.0), Db(-0.82 * 6.0))},
        // Mixed with the dry value.
        {"soft_clipper",
         {{"drive_db", 0.0}, {"amount", 1.0}, {"mix", 0.25}},
         [](double x) { return 0.25 * std::tanh(x) + 0.75 * x; }},
        {"peak_clipper",
         {{"drive_db", 0.0}, {"amount", 1.0}, {"knee", 0.0}, {"mix", 0.5}},
         [](double x) { return 0.5 * std::clamp(x, -1.0, 1.0) + 0.5 * x; }},
    };
    const AudioBuffer input = BufferOf(kInputs);
    for (const Curve& curve : curves)
    {
        SCOPED_TRACE(curve.id);
        ExpectValuesFrom(input, ProcessedById(curve.id, input, curve.setting), 0, curve.expected,
                         1e-14);
    }
}

// The knee control at its ends: none is a clamp at full scale; the widest
// bends from half of full scale and steps to full scale at 1.
TEST(WaveshaperCurves, PeakClipperKneeAtUnitGain)
{
    struct Point
    {
        double knee;
        double input;
        double expected;
    };
    const Point points[] = {{0.0, 0.7, 0.7},      {0.0, 1.5, 1.0},      {0.0, -3.0, -1.0},
                            {1.0, 0.5, 0.5},      {1.0, 0.75, 0.53125}, {1.0, -0.75, -0.53125},
                            {1.0, 0.999, 0.6245}, {1.0, 1.001, 1.0},    {1.0, -1.001, -1.0}};
    for (const Point& p : points)
    {
        const AudioBuffer output =
            ProcessedById("peak_clipper", BufferOf({p.input, p.input}),
                          {{"drive_db", 0.0}, {"amount", 1.0}, {"knee", p.knee}});
        EXPECT_NEAR(output.samples[0], p.expected, 1e-4) << p.input << " at knee " << p.knee;
    }
}

// Both ends of the asymmetric curve land on the trim level, whatever the
// asymmetry; in between the positive half bends earlier, so it is pushed
// further towards its end than a negative value of the same size.
TEST(WaveshaperCurves, AsymmetricClipperEndsAtTheTrimAndDrivesPositiveHalvesHarder)
{
    for (double asymmetry : {0.0, 0.3, 1.0})
    {
        for (double driveDb : {0.0, 6.0, 12.0})
        {
            SCOPED_TRACE(::testing::Message()
                         << "asymmetry " << asymmetry << ", drive " << driveDb);
            const double amount = 0.8;
            const double trim = Db(-0.82 * amount * driveDb);
            const AudioBuffer output = ProcessedById(
                "asymmetric_clipper", BufferOf({1.0, -1.0, 0.5, -0.5, 0.1, -0.1}),
                {{"amount", amount}, {"drive_db", driveDb}, {"asymmetry", asymmetry}});
            EXPECT_NEAR(output.samples[0], trim, 1e-15);
            EXPECT_NEAR(output.samples[1], -trim, 1e-15);
            for (size_t i = 2; i < 6; i += 2)
            {
                if (asymmetry == 0.0)
                {
                    EXPECT_EQ(output.samples[i], -output.samples[i + 1]);
                }
                else
                {
                    EXPECT_GT(output.samples[i], -output.samples[i + 1] + 1e-6);
                }
            }
        }
    }
}

// Music through a shaper at its defaults comes out denser: its peaks fall
// against its loudness. The symmetric ones also never let a value past the
// trim level, however hard they are driven.
TEST(WaveshaperCurves, ShapersLowerTheCrestFactorAndHoldTheTrimLevel)
{
    const auto crest = [](const AudioBuffer& buffer)
    {
        double energy = 0.0;
        for (double x : buffer.samples)
        {
            energy += x * x;
        }
        return SamplePeak(buffer) / std::sqrt(energy / buffer.samples.size());
    };
    const AudioBuffer music = MusicLikeBursts(48000, 2.0, 1.0, 5);
    for (const char* id : {"asymmetric_clipper", "loudness_driver", "peak_clipper", "soft_clipper"})
    {
        EXPECT_LT(crest(ProcessedById(id, music, {})), 0.95 * crest(music)) << id;
    }

    AudioBuffer loud = music;
    for (double& x : loud.samples)
    {
        x *= 2.0;
    }
    struct Bound
    {
        const char* id;
        double trimShare;
        double driveDb;
    };
    for (const Bound& b : {Bound{"loudness_driver", 0.72, 12.0}, Bound{"peak_clipper", 0.85, 12.0},
                           Bound{"soft_clipper", 0.7, 10.0}})
    {
        const AudioBuffer output =
            ProcessedById(b.id, loud, {{"amount", 1.0}, {"drive_db", b.driveDb}});
        EXPECT_LE(SamplePeak(output), Db(-b.trimShare * b.driveDb) * (1.0 + 1e-15)) << b.id;
    }
}
