#include "engine/runs/run_metrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

AudioBuffer Constant(int sampleRate, std::size_t frames, double value)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.assign(2 * frames, value);
    return buffer;
}

std::vector<std::string> Keys(const std::vector<StageMetric>& metrics)
{
    std::vector<std::string> keys;
    for (const StageMetric& metric : metrics)
    {
        keys.push_back(metric.key);
    }
    return keys;
}

double Value(const std::vector<StageMetric>& metrics, const std::string& key)
{
    for (const StageMetric& metric : metrics)
    {
        if (metric.key == key)
        {
            return metric.value;
        }
    }
    ADD_FAILURE() << "no metric " << key;
    return NAN;
}

} // namespace

TEST(RunMetrics, Stage1DeltaIsTheTargetLevelRelativeToTheReference)
{
    const std::vector<StageMetric> half = BuildStage1Metrics(0.1, 0.2);
    EXPECT_EQ(Keys(half),
              (std::vector<std::string>{"stage1.target_match_rms", "stage1.reference_match_rms",
                                        "stage1.match_delta_db"}));
    EXPECT_DOUBLE_EQ(half[0].value, 0.1);
    EXPECT_DOUBLE_EQ(half[1].value, 0.2);
    EXPECT_NEAR(half[2].value, -6.0206, 1e-4) << "half the reference level is about -6.02 dB";

    const std::vector<StageMetric> silent = BuildStage1Metrics(0.0, 0.2);
    EXPECT_DOUBLE_EQ(silent[2].value, 20.0 * std::log10(1e-9 / 0.2))
        << "a silent target reads the 1e-9 floor, not -infinity";
}

TEST(RunMetrics, StagesOneToFourGiveSixteenMetricsInTheirFixedOrder)
{
    ToneMatchResult tone;
    tone.spectralDistanceDb = 4.5;
    tone.confidence = 0.6;
    tone.appliedStrength = 0.45;
    DynamicsMetrics dynamics;
    dynamics.midGainDb = 1.5;
    dynamics.minGainDb = -2.0;
    dynamics.meanGainDb = 0.25;
    dynamics.maxGainDb = 2.5;
    dynamics.currentLoudnessRange = 9.0;
    dynamics.referenceLoudnessRange = 6.0;

    std::vector<StageMetric> metrics = BuildStage1Metrics(0.2, 0.2);
    const std::vector<StageMetric> stage2 = BuildStage2Metrics(tone);
    metrics.insert(metrics.end(), stage2.begin(), stage2.end());
    BuildStage3Metrics(metrics, dynamics);
    BuildStage4Metrics(metrics, 0.9, -3.0, Constant(48000, 10, 1.0), Constant(48000, 10, 0.5));

    EXPECT_EQ(
        Keys(metrics),
        (std::vector<std::string>{
            "stage1.target_match_rms", "stage1.reference_match_rms", "stage1.match_delta_db",
            "stage2.spectral_distance_db", "stage2.adaptive_confidence", "stage2.applied_strength",
            "stage3.mid_band_gain", "stage3.min_macro_gain_db", "stage3.mean_macro_gain_db",
            "stage3.max_macro_gain_db", "stage3.current_loudness_range",
            "stage3.reference_loudness_range", "stage4.effective_ceiling",
            "stage4.loudness_gain_db", "stage4.peak_reduction_db", "stage4.final_peak"}));
    EXPECT_DOUBLE_EQ(Value(metrics, "stage2.spectral_distance_db"), 4.5);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage2.adaptive_confidence"), 0.6);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage2.applied_strength"), 0.45);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage3.mid_band_gain"), 1.5);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage3.min_macro_gain_db"), -2.0);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage3.mean_macro_gain_db"), 0.25);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage3.max_macro_gain_db"), 2.5);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage3.current_loudness_range"), 9.0);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage3.reference_loudness_range"), 6.0);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage4.effective_ceiling"), 0.9);
    EXPECT_DOUBLE_EQ(Value(metrics, "stage4.loudness_gain_db"), -3.0);
    EXPECT_NEAR(Value(metrics, "stage4.peak_reduction_db"), 6.0206, 1e-4);
    EXPECT_NEAR(Value(metrics, "stage4.final_peak"), -6.0206, 1e-4);
}

TEST(RunMetrics, Stage4OfAnUntouchedOrSilentSignal)
{
    const AudioBuffer loud = Constant(48000, 4800, -0.7);
    std::vector<StageMetric> untouched;
    BuildStage4Metrics(untouched, 0.9, 0.0, loud, loud);
    EXPECT_DOUBLE_EQ(Value(untouched, "stage4.peak_reduction_db"), 0.0);
    EXPECT_NEAR(Value(untouched, "stage4.final_peak"), 20.0 * std::log10(0.7), 1e-12)
        << "the final peak reads the largest absolute sample";

    const AudioBuffer silence = Constant(48000, 4800, 0.0);
    std::vector<StageMetric> silent;
    BuildStage4Metrics(silent, 0.9, 0.0, silence, silence);
    EXPECT_DOUBLE_EQ(Value(silent, "stage4.final_peak"), -180.0);
    EXPECT_DOUBLE_EQ(Value(silent, "stage4.peak_reduction_db"), 0.0);

    for (const AudioBuffer* signal : {&loud, &silence})
    {
        const MeterSeries series = BuildStage4GainReductionSeries(*signal, *signal, 50.0);
        EXPECT_EQ(series.values, std::vector<float>(5, 0.0f)) << "nothing was reduced";
    }
}

TEST(RunMetrics, SeriesBlocksFollowTheRate)
{
    struct Case
    {
        int sampleRate;
        std::size_t frames;
        std::size_t expectedValues;
    };
    const Case cases[] = {
        {44100, 44100, 50}, // hop 882: one second is exactly 50 blocks
        {48000, 1000, 2},   // hop 960: the second block covers the last 40 frames
        {48000, 960, 1},    {48000, 961, 2}, {48000, 1, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.sampleRate) + " Hz, " + std::to_string(c.frames) + " frames");
        const AudioBuffer signal = Constant(c.sampleRate, c.frames, 0.5);
        const MeterSeries series = BuildDynamicsGainReductionSeries(signal, signal, 50.0);
        EXPECT_EQ(series.key, "dynamics.gain_reduction_db");
        EXPECT_EQ(series.rate, 50.0);
        EXPECT_EQ(series.values.size(), c.expectedValues);
    }
}

TEST(RunMetrics, SeriesReadsThePeakReductionOfEachBlock)
{
    // 1000 frames at 48 kHz: block 0 is frames 0..959, block 1 the last 40.
    AudioBuffer before = Constant(48000, 1000, 0.0);
    before.samples[2 * 100 + 1] = -0.8; // right channel counts as much as left
    before.samples[2 * 990] = 0.5;
    AudioBuffer after = before;
    after.samples[2 * 100 + 1] = -0.4;
    after.samples[2 * 990] = 0.9; // a raised peak is no reduction

    const MeterSeries series = BuildStage4GainReductionSeries(before, after, 50.0);
    EXPECT_EQ(series.key, "stage4.gain_reduction_db");
    ASSERT_EQ(series.values.size(), 2u);
    EXPECT_NEAR(series.values[0], 6.0206, 1e-4) << "the limiter halved the block's peak";
    EXPECT_EQ(series.values[1], 0.0f);

    after.samples[2 * 100 + 1] = 0.0;
    EXPECT_NEAR(BuildStage4GainReductionSeries(before, after, 50.0).values[0],
                20.0 * std::log10(0.8 / 1e-12), 1e-3)
        << "a block limited to silence reads the 1e-12 floor";
}

TEST(RunMetrics, SeriesWithoutComparableBuffersKeepsKeyAndRateButNoValues)
{
    const AudioBuffer at48 = Constant(48000, 4800, 0.5);
    const AudioBuffer at44 = Constant(44100, 4800, 0.5);
    const AudioBuffer empty = Constant(48000, 0, 0.0);
    AudioBuffer noRate = at48;
    noRate.sampleRate = 0;

    struct Case
    {
        const char* name;
        const AudioBuffer* before;
        const AudioBuffer* after;
        double rate;
    };
    const Case cases[] = {
        {"different rates", &at48, &at44, 50.0},    {"no frames", &empty, &empty, 50.0},
        {"no sample rate", &noRate, &noRate, 50.0}, {"zero series rate", &at48, &at48, 0.0},
        {"NaN series rate", &at48, &at48, NAN},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const MeterSeries series = BuildStage4GainReductionSeries(*c.before, *c.after, c.rate);
        EXPECT_EQ(series.key, "stage4.gain_reduction_db");
        EXPECT_TRUE(series.values.empty());
    }
    EXPECT_EQ(BuildStage4GainReductionSeries(at48, at44, 50.0).rate, 50.0);
    EXPECT_EQ(BuildStage4GainReductionSeries(at48, at48, 1e-300).values.size(), 1u)
        << "a tiny rate makes one block of the whole buffer";
}
