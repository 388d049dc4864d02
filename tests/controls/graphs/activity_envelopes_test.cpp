#include "controls/graphs/activity_envelopes.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

AudioBuffer Silence(int rate, double seconds)
{
    return StereoSine(1000, rate, seconds, 0.0);
}

MeterSeries ConstantSeries(const char* key, double rate, std::size_t count, float reductionDb)
{
    return MeterSeries{key, rate, std::vector<float>(count, reductionDb)};
}

double Largest(const std::vector<float>& values)
{
    return *std::max_element(values.begin(), values.end());
}

bool AllFiniteWithin01(const std::vector<float>& values)
{
    return std::all_of(values.begin(), values.end(),
                       [](float v) { return std::isfinite(v) && v >= 0.0f && v <= 1.0f; });
}

} // namespace

TEST(ActivityEnvelopes, NormaliseTheLouderBufferToTheTop)
{
    // A full-scale sine against silence: the processed band fills the plot.
    ActivityAnalysis fullAgainstSilence =
        AnalyseActivity(Silence(48000, 1.0), StereoSine(1000, 48000, 1.0, 1.0));
    for (std::size_t d = 0; d < kActivityColumns; ++d)
    {
        ASSERT_NEAR(fullAgainstSilence.processedEnvelope[d], 1.0, 1e-3) << "column " << d;
        ASSERT_EQ(fullAgainstSilence.sourceEnvelope[d], 0.0f) << "column " << d;
    }

    // Twice as loud after processing: the processed band reaches 1, the source half.
    ActivityAnalysis twiceAsLoud =
        AnalyseActivity(StereoSine(1000, 48000, 1.0, 0.25), StereoSine(1000, 48000, 1.0, 0.5));
    EXPECT_NEAR(Largest(twiceAsLoud.processedEnvelope), 1.0, 1e-6);
    for (std::size_t d = 0; d < kActivityColumns; ++d)
    {
        ASSERT_NEAR(twiceAsLoud.sourceEnvelope[d], 0.5, 0.01) << "column " << d;
    }

    // Two silent buffers stay at the floor instead of dividing by nothing.
    ActivityAnalysis silent = AnalyseActivity(Silence(48000, 1.0), Silence(48000, 1.0));
    EXPECT_EQ(Largest(silent.processedEnvelope), 0.0f);
}

TEST(ActivityEnvelopes, ShortBuffersLeaveColumnsEmptyUntilTheSmoothingSpreadsThem)
{
    // 100 frames over 480 columns: only the columns where a frame starts hold one.
    const AudioBuffer shortBuffer = StereoSine(0, 48000, 100.0 / 48000, 0.0);
    AudioBuffer constant = shortBuffer;
    std::fill(constant.samples.begin(), constant.samples.end(), 0.5);
    const std::vector<float> peaks = ColumnPeaks(constant);
    EXPECT_EQ(std::count(peaks.begin(), peaks.end(), 0.5f), 100);
    EXPECT_EQ(std::count(peaks.begin(), peaks.end(), 0.0f), 380);
    EXPECT_EQ(peaks[0], 0.0f) << "column 0 ends before frame 0 does";
    EXPECT_EQ(peaks[4], 0.5f) << "column 4 holds frame 0";

    const std::vector<float> envelope = ActivityEnvelope(constant);
    EXPECT_GT(*std::min_element(envelope.begin() + 5, envelope.end()), 0.1f)
        << "the release and the smoothing fill the gaps";
}

TEST(ActivityEnvelopes, ColumnsReadPeaksOfEitherChannel)
{
    AudioBuffer audio = Silence(48000, 1.0);
    audio.samples[2 * 24000 + 1] = -0.8; // one right-channel frame at the middle
    audio.samples[2 * 100] = 3.0;        // beyond full scale, held to 1
    audio.samples[2 * 30000] = kNaN;
    audio.samples[2 * 40000 + 1] = kInf;
    const std::vector<float> peaks = ColumnPeaks(audio);
    EXPECT_EQ(peaks[240], 0.8f);
    EXPECT_EQ(peaks[1], 1.0f);
    EXPECT_EQ(peaks[300], 0.0f) << "a NaN counts as 0";
    EXPECT_EQ(peaks[400], 0.0f) << "an infinity counts as 0";

    struct Case
    {
        const char* name;
        AudioBuffer audio;
    };
    AudioBuffer noRate = StereoSine(1000, 48000, 0.1, 0.5);
    noRate.sampleRate = 0;
    AudioBuffer negativeRate = noRate;
    negativeRate.sampleRate = -44100;
    AudioBuffer oneSample;
    oneSample.sampleRate = 48000;
    oneSample.samples = {0.7};
    const Case empty[] = {{"no samples", AudioBuffer{}},
                          {"rate 0", noRate},
                          {"negative rate", negativeRate},
                          {"one sample", oneSample}};
    for (const Case& c : empty)
    {
        const std::vector<float> envelope = ActivityEnvelope(c.audio);
        ASSERT_EQ(envelope.size(), kActivityColumns) << c.name;
        EXPECT_EQ(Largest(envelope), 0.0f) << c.name;
    }
}

TEST(ActivityEnvelopes, GainReductionTracesReadTwelveDecibelsFullScale)
{
    AudioBuffer processed = StereoSine(1000, 48000, 2.0, 0.5);
    processed.meterSeries = {ConstantSeries(kLimiterReductionKey, 100, 200, 6.0f)};
    ActivityAnalysis half = AnalyseActivity(AudioBuffer{}, processed);
    ASSERT_TRUE(half.hasLimiterTrace);
    for (const float v : half.limiterTrace)
    {
        ASSERT_FLOAT_EQ(v, 0.5f) << "6 dB lies at half of the scale";
    }
    processed.meterSeries = {ConstantSeries(kLimiterReductionKey, 100, 200, 15.0f)};
    EXPECT_EQ(AnalyseActivity(AudioBuffer{}, processed).limiterTrace[200], 1.0f)
        << "15 dB is held at the top";

    // A ramp of 0..12 dB over the two seconds reads back along the columns.
    MeterSeries ramp{kDynamicsReductionKey, 10, {}};
    for (int i = 0; i <= 20; ++i)
    {
        ramp.values.push_back(float(i) * 0.6f);
    }
    const std::vector<float> rising = GainReductionTrace(ramp, 2.0);
    EXPECT_NEAR(rising[0], 0.0, 1e-6);
    EXPECT_NEAR(rising[479], 1.0, 1e-6);
    EXPECT_NEAR(rising[240], 240.0 / 479.0, 1e-5) << "linear between the series' values";
    EXPECT_NEAR(GainReductionTrace(ramp, 10.0)[479], 1.0, 1e-6) << "the last value repeats";
}

TEST(ActivityEnvelopes, DynamicsTraceShowsOnlyAboveATenthOfADecibel)
{
    struct Case
    {
        float reductionDb;
        bool shown;
    };
    const Case cases[] = {{0.0f, false}, {0.1f, false}, {0.12f, false}, {0.2f, true}, {6.0f, true}};
    for (const Case& c : cases)
    {
        AudioBuffer processed = StereoSine(1000, 48000, 1.0, 0.5);
        processed.meterSeries = {ConstantSeries(kDynamicsReductionKey, 50, 50, c.reductionDb)};
        EXPECT_EQ(AnalyseActivity(AudioBuffer{}, processed).hasDynamicsTrace, c.shown)
            << c.reductionDb << " dB";
    }
}

TEST(ActivityEnvelopes, OddSeriesGiveFlatOrNoTraces)
{
    struct Case
    {
        const char* name;
        MeterSeries series;
        bool limiter; // the limiter trace is shown (flat or not)
        double top;   // its largest value
    };
    MeterSeries withNaN = ConstantSeries(kLimiterReductionKey, 100, 100, 6.0f);
    withNaN.values[0] = float(kNaN);
    withNaN.values[50] = float(kInf);
    MeterSeries huge = ConstantSeries(kLimiterReductionKey, 1e7, 10'000'000, 3.0f);
    const Case cases[] = {
        {"empty", MeterSeries{kLimiterReductionKey, 100, {}}, false, 0.0},
        {"rate 0", ConstantSeries(kLimiterReductionKey, 0, 100, 6.0f), true, 0.0},
        {"negative rate", ConstantSeries(kLimiterReductionKey, -5, 100, 6.0f), true, 0.0},
        {"NaN rate", ConstantSeries(kLimiterReductionKey, kNaN, 100, 6.0f), true, 0.0},
        {"infinite rate", ConstantSeries(kLimiterReductionKey, kInf, 100, 6.0f), true, 0.0},
        {"NaN and inf values", withNaN, true, 0.5},
        {"negative reduction", ConstantSeries(kLimiterReductionKey, 100, 100, -6.0f), true, 0.0},
        {"wrong key", ConstantSeries("stage4.gain_reduction", 100, 100, 6.0f), false, 0.0},
        {"key of another case", ConstantSeries("Stage4.Gain_Reduction_dB", 100, 100, 6.0f), false,
         0.0},
        {"ten million values", huge, true, 0.25},
    };
    for (const Case& c : cases)
    {
        AudioBuffer processed = StereoSine(1000, 48000, 1.0, 0.5);
        processed.meterSeries = {c.series};
        const ActivityAnalysis analysis = AnalyseActivity(AudioBuffer{}, processed);
        EXPECT_EQ(analysis.hasLimiterTrace, c.limiter) << c.name;
        if (c.limiter)
        {
            ASSERT_EQ(analysis.limiterTrace.size(), kActivityColumns) << c.name;
            EXPECT_TRUE(AllFiniteWithin01(analysis.limiterTrace)) << c.name;
            EXPECT_NEAR(Largest(analysis.limiterTrace), c.top, 1e-6) << c.name;
        }
    }

    // Without processed audio there is no length to spread the series over.
    AudioBuffer noAudio;
    noAudio.meterSeries = {ConstantSeries(kLimiterReductionKey, 100, 100, 6.0f)};
    EXPECT_EQ(Largest(AnalyseActivity(AudioBuffer{}, noAudio).limiterTrace), 0.0f);
}

TEST(ActivityEnvelopes, DurationPrefersTheProcessedLength)
{
    struct Case
    {
        const char* name;
        AudioBuffer source;
        AudioBuffer processed;
        double seconds;
    };
    AudioBuffer rateOnly;
    rateOnly.sampleRate = 48000;
    AudioBuffer framesWithoutRate = StereoSine(1000, 48000, 1.0, 0.5);
    framesWithoutRate.sampleRate = 0;
    const Case cases[] = {
        {"processed", StereoSine(1000, 48000, 3.0, 0.5), StereoSine(1000, 44100, 2.0, 0.5), 2.0},
        {"shorter processed", StereoSine(1000, 48000, 3.0, 0.5), StereoSine(1000, 48000, 0.5, 0.5),
         0.5},
        {"no processed frames", StereoSine(1000, 48000, 3.0, 0.5), rateOnly, 3.0},
        {"processed without a rate", StereoSine(1000, 48000, 3.0, 0.5), framesWithoutRate, 3.0},
        {"neither", AudioBuffer{}, AudioBuffer{}, 0.0},
        {"source without a rate", framesWithoutRate, AudioBuffer{}, 0.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(ActivityDurationSec(c.source, c.processed), c.seconds, 1e-9) << c.name;
    }
}

TEST(ActivityEnvelopes, ValuesBetweenColumnsAreInterpolated)
{
    const std::vector<float> values = {0.0f, 1.0f, 0.5f};
    EXPECT_DOUBLE_EQ(ValueAtColumn(values, 0.5), 0.5);
    EXPECT_DOUBLE_EQ(ValueAtColumn(values, 1.5), 0.75);
    EXPECT_DOUBLE_EQ(ValueAtColumn(values, 7.0), 0.5);
    EXPECT_DOUBLE_EQ(ValueAtColumn(values, -1.0), 0.0);
    EXPECT_DOUBLE_EQ(ValueAtColumn(values, kNaN), 0.0);
    EXPECT_DOUBLE_EQ(ValueAtColumn({}, 3.0), 0.0);
}
