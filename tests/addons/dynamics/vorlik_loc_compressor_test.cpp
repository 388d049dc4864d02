#include "addons/dynamics/vorlik_loc_compressor.h"

#include "engine/decibels.h"
#include "registry/addon_registry.h"
#include "tests/support/addon_checks.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/transient_signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int kRate = 48000;

// As the engine creates it.
std::unique_ptr<IAudioProcessor> Created()
{
    return CreateProcessor("vorlik_loc_compressor");
}

double Read(const IAudioProcessor& addon, const std::string& id)
{
    double value = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(addon.getParameter(id, value)) << id;
    return value;
}

double ReportedDefault(const IAudioProcessor& addon, const std::string& id)
{
    for (const AddonParamSpec& spec : addon.parameters())
    {
        if (spec.id == id)
        {
            return spec.defaultValue;
        }
    }
    ADD_FAILURE() << id << " is not in the table";
    return std::numeric_limits<double>::quiet_NaN();
}

AudioBuffer Processed(const AudioBuffer& input, const AddonSetting& setting = {})
{
    const std::unique_ptr<IAudioProcessor> addon = Created();
    EXPECT_NE(addon, nullptr);
    return addon != nullptr ? ProcessedBy(*addon, input, setting) : input;
}

// Steady in level, loud enough to be compressed at every distance.
AudioBuffer LoudTone()
{
    return StereoSine(1000.0, kRate, 1.0, 0.7);
}

} // namespace

TEST(LevelLocCompressor, ControlsDerivedFromTheStoredValues)
{
    struct Case
    {
        const char* what;
        double drive, distance, speed, gainReleaseMs;
        double driveGain, thresholdDb, makeup, releaseMs, smoothingMs;
    };
    const Case cases[] = {
        {"factory values", 0.2, 0.5, 0.0, 0.3, 1.76, -16.5, DbToGain(16.5), 500.0, 3.35},
        {"drive above its range", 1.5, 0.5, 0.0, 0.3, 43.75, -16.5, DbToGain(16.5), 500.0, 3.35},
        {"distance 0", 0.2, 0.0, 0.0, 0.3, 1.76, -3.0, 1.4125375446227544, 500.0, 3.35},
        {"distance 1", 0.2, 1.0, 0.0, 0.3, 1.76, -30.0, 10.0, 500.0, 3.35},
        {"speed 0.5", 0.2, 0.5, 0.5, 0.3, 1.76, -16.5, DbToGain(16.5), 250.0, 3.35},
        {"speed 1", 0.2, 0.5, 1.0, 0.3, 1.76, -16.5, DbToGain(16.5), 50.0, 3.35},
        {"longest smoothing", 0.2, 0.5, 0.0, 1.0, 1.76, -16.5, DbToGain(16.5), 500.0, 10.0},
        {"huge drive held finite", 1e200, 0.5, 0.0, 0.0, 19e6 + 1.0, -16.5, DbToGain(16.5), 500.0,
         0.5},
        {"distance far below 0", 0.2, -10.0, 0.0, 0.3, 1.76, 267.0, 0.0, 500.0, 3.35},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const LevelLocControls controls =
            DeriveLevelLocControls(c.drive, c.distance, c.speed, c.gainReleaseMs);
        EXPECT_NEAR(controls.driveGain, c.driveGain, 1e-12 * c.driveGain);
        EXPECT_DOUBLE_EQ(controls.thresholdDb, c.thresholdDb);
        EXPECT_NEAR(controls.makeup, c.makeup, 1e-12);
        EXPECT_EQ(controls.releaseMs, c.releaseMs);
        EXPECT_NEAR(controls.smoothingMs, c.smoothingMs, 1e-12);
    }
    EXPECT_EQ(DeriveLevelLocControls(0.2, 1.0, 0.0, 0.3).makeup, 10.0) << "+20 dB exactly";
}

// It reports what it holds: the engine's values when fresh, then whatever was
// set, unclamped. Values that are not finite are refused.
TEST(LevelLocCompressor, ReportsAndStoresItsCurrentValues)
{
    const std::unique_ptr<IAudioProcessor> addon = Created();
    ASSERT_NE(addon, nullptr);
    const std::vector<std::pair<std::string, double>> factory = {
        {"drive", 0.2},           {"distance", 0.5}, {"speed", 0.0},      {"gain_release_ms", 0.3},
        {"transformer_sat", 0.3}, {"mix", 1.0},      {"use_mosfet", 0.0}, {"vintage_mode", 0.0}};
    ASSERT_EQ(addon->parameters().size(), factory.size());
    for (const auto& [id, value] : factory)
    {
        EXPECT_EQ(ReportedDefault(*addon, id), value) << id;
        EXPECT_EQ(Read(*addon, id), value) << id;
    }

    EXPECT_TRUE(addon->setParameter("drive", 0.8));
    EXPECT_EQ(ReportedDefault(*addon, "drive"), 0.8);
    for (const auto& [id, value] :
         AddonSetting{{"drive", 1.5}, {"distance", -4.0}, {"gain_release_ms", -1.0}, {"mix", 1.5}})
    {
        EXPECT_TRUE(addon->setParameter(id, value)) << id;
        EXPECT_EQ(Read(*addon, id), value) << id << " is stored as given";
        EXPECT_EQ(ReportedDefault(*addon, id), value) << id;
    }
    EXPECT_TRUE(addon->setParameter("use_mosfet", 0.5));
    EXPECT_EQ(ReportedDefault(*addon, "use_mosfet"), 1.0);

    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& [id, value] : factory)
    {
        for (double bad : {inf, -inf, std::numeric_limits<double>::quiet_NaN()})
        {
            const double before = Read(*addon, id);
            EXPECT_FALSE(addon->setParameter(id, bad)) << id << " took " << bad;
            EXPECT_EQ(Read(*addon, id), before) << id;
        }
    }
}

// Every input curve and the transformer subtract what their bias makes of
// silence, and the DC blocker takes any rest, so silence comes out silent.
TEST(LevelLocCompressor, SilenceStaysSilentInEveryInputCurve)
{
    AudioBuffer silence = StereoSine(1000.0, kRate, 1.0, 0.0);
    for (double mosfet : {0.0, 1.0})
    {
        for (double vintage : {0.0, 1.0})
        {
            for (double transformer : {0.0, 0.3, 1.0})
            {
                for (double drive : {0.2, 1.0})
                {
                    const AudioBuffer output = Processed(silence, {{"use_mosfet", mosfet},
                                                                   {"vintage_mode", vintage},
                                                                   {"transformer_sat", transformer},
                                                                   {"drive", drive}});
                    EXPECT_LT(PeakBetween(output, 0, output.FrameCount()), 1e-12)
                        << "MOSFET " << mosfet << ", 1960 " << vintage << ", transformer "
                        << transformer << ", drive " << drive;
                }
            }
        }
    }
}

// Mix is stored as given but mixes no more than the whole processed signal.
TEST(LevelLocCompressor, MixAboveOneIsProcessedAsOne)
{
    const AudioBuffer input = LoudTone();
    const AudioBuffer full = Processed(input, {{"mix", 1.0}});
    EXPECT_TRUE(Processed(input, {{"mix", 1.5}}).samples == full.samples);
    EXPECT_FALSE(full.samples == input.samples);
}

// Values far outside 0..1 are stored, and the output stays finite and
// bounded: a negative smoothing time lets the gain follow at once instead of
// growing without end, and a huge drive is held where its gain stays finite.
TEST(LevelLocCompressor, FarOutValuesGiveBoundedOutput)
{
    const AudioBuffer input = LoudTone();
    for (const char* id :
         {"drive", "distance", "speed", "gain_release_ms", "transformer_sat", "mix"})
    {
        for (double value : {-1e200, -1e6, -1.0, -0.1, 2.0, 1e6, 1e200})
        {
            for (double mosfet : {0.0, 1.0})
            {
                const AudioBuffer output = Processed(input, {{id, value}, {"use_mosfet", mosfet}});
                ASSERT_TRUE(AllFinite(output)) << id << " " << value << ", MOSFET " << mosfet;
                EXPECT_LT(PeakBetween(output, 0, output.FrameCount()), 1e3)
                    << id << " " << value << ", MOSFET " << mosfet;
            }
        }
    }
}

TEST(LevelLocCompressor, BadRatesAndSamples)
{
    for (int rate : {0, -kRate})
    {
        AudioBuffer input = LoudTone();
        const std::unique_ptr<IAudioProcessor> addon = Created();
        ASSERT_NE(addon, nullptr);
        AudioBuffer buffer = input;
        ProcessContext context;
        context.sampleRate = rate;
        addon->process(buffer, context);
        EXPECT_TRUE(buffer.samples == input.samples) << "rate " << rate << " must change nothing";
    }
    ExpectANonFiniteSampleChangesNothingBeforeIt(&Created, LoudTone());
}

// Its states live in the object: a track processed in two calls comes out as
// in one.
TEST(LevelLocCompressor, CarriesItsStatesFromOneCallToTheNext)
{
    ExpectStatesWhereTheyBelong(&Created, SwellingNoise(kRate, 1.0, 3), true);
}

// The detector hears the output: 20:1 on its own output (level out = level in
// + makeup + gain, gain = -0.95 (out - threshold)) is 1.95:1 on its input, so
// 12 dB more in gives about 6.15 dB more out.
TEST(LevelLocCompressor, FeedbackTurnsTwentyToOneIntoAboutTwoToOne)
{
    const AddonSetting setting = {{"drive", 0.0}, {"distance", 1.0}, {"transformer_sat", 0.0}};
    const std::size_t settled = FramesIn(1.0, kRate);
    const auto outputLevelDb = [&](double inputDb)
    {
        const AudioBuffer input = StereoSine(1000.0, kRate, 1.5, DbToGain(inputDb));
        const AudioBuffer output = Processed(input, setting);
        return GainToDb(RmsBetween(output, settled, output.FrameCount()), 1e-12);
    };
    const double rise = outputLevelDb(-24.0) - outputLevelDb(-36.0);
    EXPECT_NEAR(rise, 12.0 / 1.95, 0.3) << "the output rose by " << rise << " dB";
}

// The release slows the longer the signal has stayed above the threshold: after
// a 2 s burst the gain is further from recovery than after a 0.2 s one.
TEST(LevelLocCompressor, ReleaseSlowsAfterALongBurst)
{
    const AddonSetting setting = {{"drive", 0.0}, {"speed", 1.0}, {"transformer_sat", 0.0}};
    const double quiet = DbToGain(-50.0);
    const double recoveredAfter = 0.05; // seconds after the burst's end
    struct Recovery
    {
        double early; // level shortly after the burst, dB
        double late;  // level once recovered, dB
    };
    const auto recovery = [&](double burstSeconds)
    {
        AudioBuffer input = StereoSine(1000.0, kRate, burstSeconds + 1.0, quiet);
        const std::size_t burstFrames = FramesIn(burstSeconds, kRate);
        for (std::size_t i = 0; i < 2 * burstFrames; ++i)
        {
            input.samples[i] *= DbToGain(40.0); // -10 dB
        }
        const AudioBuffer output = Processed(input, setting);
        const std::size_t from = burstFrames + FramesIn(recoveredAfter, kRate);
        const std::size_t window = FramesIn(0.01, kRate);
        return Recovery{
            GainToDb(RmsBetween(output, from, from + window), 1e-12),
            GainToDb(RmsBetween(output, output.FrameCount() - window, output.FrameCount()), 1e-12)};
    };
    const Recovery shortBurst = recovery(0.2);
    const Recovery longBurst = recovery(2.0);
    EXPECT_NEAR(shortBurst.late, longBurst.late, 0.05) << "both recover in the end";
    EXPECT_LT(longBurst.early - longBurst.late, shortBurst.early - shortBurst.late - 1.0)
        << "after 2 s: " << longBurst.early - longBurst.late
        << " dB, after 0.2 s: " << shortBurst.early - shortBurst.late << " dB";
}
