#include "engine/runs/preview_run.h"

#include "engine/runs/full_run.h"
#include "engine/runs/preview_cache.h"
#include "engine/runs/run_metrics.h"
#include "engine/profiles/synthetic_profile.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

// What a test add-on does to the buffer. A channel swap changes the samples
// but neither the level nor the loudness, so stage 4 cannot hide it.
enum class Action
{
    Keep,
    SwapChannels,
};

// Notes the position it ran at and applies its action.
class ProbeAddon final : public AudioProcessorBase
{
public:
    ProbeAddon(int position, Action action, std::vector<int>* ran)
        : m_position(position), m_action(action), m_ran(ran)
    {
    }

    const char* id() const override { return "preview_probe"; }
    const char* displayName() const override { return "Probe"; }
    const char* description() const override { return "Notes where it ran."; }
    const char* bestUse() const override { return "Tests of the preview run."; }
    int chainPosition() const override { return m_position; }
    std::vector<AddonParamSpec> parameters() const override { return {}; }
    bool setParameter(const std::string&, double) override { return false; }
    bool getParameter(const std::string&, double&) const override { return false; }

    void process(AudioBuffer& buffer, const ProcessContext&) override
    {
        m_ran->push_back(m_position);
        if (m_action == Action::SwapChannels)
        {
            for (std::size_t i = 0; i + 1 < buffer.samples.size(); i += 2)
            {
                std::swap(buffer.samples[i], buffer.samples[i + 1]);
            }
        }
    }

private:
    int m_position;
    Action m_action;
    std::vector<int>* m_ran;
};

using AddonList = std::vector<std::pair<int, Action>>;

const AddonList kEveryPosition = {{ChainPreMatch, Action::Keep},
                                  {ChainPostMatchTone, Action::Keep},
                                  {ChainPostMatchDynamics, Action::Keep},
                                  {ChainStereoImage, Action::Keep},
                                  {ChainPreLimiter, Action::Keep}};

// What one preview run did.
struct Outcome
{
    AudioBuffer audio;
    std::vector<double> progress;
    std::vector<std::string> stageTexts;
    std::vector<std::string> lines;
    std::vector<int> ran; // chain positions whose add-ons ran, in order

    // The resume point the run named, "FromStart" when it named none.
    std::string ResumedAt() const
    {
        const std::string marker = "point=";
        for (const std::string& line : lines)
        {
            if (line.rfind("preview resume ", 0) == 0)
            {
                return line.substr(line.find(marker) + marker.size());
            }
        }
        return "FromStart";
    }

    bool Traced(const std::string& point) const
    {
        return std::any_of(lines.begin(), lines.end(),
                           [&point](const std::string& line)
                           { return line.rfind("preview " + point + " ", 0) == 0; });
    }
};

std::vector<std::string> Keys(const std::vector<StageMetric>& metrics)
{
    std::vector<std::string> keys;
    for (const StageMetric& metric : metrics)
    {
        keys.push_back(metric.key);
    }
    return keys;
}

double Metric(const AudioBuffer& audio, const std::string& key)
{
    for (const StageMetric& metric : audio.stageMetrics)
    {
        if (metric.key == key)
        {
            return metric.value;
        }
    }
    ADD_FAILURE() << "no metric " << key;
    return NAN;
}

const std::vector<std::string> kMetricKeys = {
    "stage1.target_match_rms",       "stage1.reference_match_rms",
    "stage1.match_delta_db",         "stage2.spectral_distance_db",
    "stage2.adaptive_confidence",    "stage2.applied_strength",
    "stage3.mid_band_gain",          "stage3.min_macro_gain_db",
    "stage3.mean_macro_gain_db",     "stage3.max_macro_gain_db",
    "stage3.current_loudness_range", "stage3.reference_loudness_range",
    "stage4.effective_ceiling",      "stage4.loudness_gain_db",
    "stage4.peak_reduction_db",      "stage4.final_peak",
};

// The largest difference between two sample lists of equal length.
double MaxDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    EXPECT_EQ(a.size(), b.size());
    double largest = 0.0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    {
        largest = std::max(largest, std::fabs(a[i] - b[i]));
    }
    return largest;
}

// Every case starts and ends with an empty process-wide cache.
class PreviewRun : public ::testing::Test
{
protected:
    void SetUp() override { PreviewCache::Instance().Clear(); }
    void TearDown() override { PreviewCache::Instance().Clear(); }

    // The request as the preview worker makes it: half the FFT size, no
    // oversampling.
    static EngineRequest PreviewRequest(int scope)
    {
        EngineRequest request;
        request.settings.fftSize = 2048;
        request.settings.linLogOversampling = 1;
        request.settings.limiterOversample = 1;
        request.previewScope = scope;
        return request;
    }

    Outcome Run(const AudioBuffer& track, EngineRequest request, const AddonList& addons = {},
                double start = 0.5, double end = 2.5, const ReferenceProfile* profile = nullptr)
    {
        Outcome outcome;
        request.progress = [&outcome](double fraction, const char* text)
        {
            outcome.progress.push_back(fraction);
            outcome.stageTexts.push_back(text);
        };
        ProcessorChain chain;
        for (const auto& [position, action] : addons)
        {
            chain.buckets[position].push_back(
                std::make_unique<ProbeAddon>(position, action, &outcome.ran));
        }
        outcome.audio = ProcessPreviewRange(
                            track, start, end, request, profile ? profile : &m_profile, chain,
                            [&outcome](const std::string& line) { outcome.lines.push_back(line); })
                            .audio;
        return outcome;
    }

    // The same run from an empty cache.
    Outcome RunFresh(const AudioBuffer& track, EngineRequest request, const AddonList& addons = {})
    {
        PreviewCache::Instance().Clear();
        request.previewScope = PreviewFromStart;
        return Run(track, request, addons);
    }

    const ReferenceProfile m_profile = BuildSyntheticDefaultProfile();
    const AudioBuffer m_track = StereoPinkNoise(48000, 3.0, 0.1, 5);
};

} // namespace

TEST_F(PreviewRun, FirstRunStartsFromTheRangeAndStoresOnlyWhatItComputed)
{
    const Outcome first = Run(m_track, PreviewRequest(PreviewClean));

    EXPECT_EQ(first.ResumedAt(), "FromStart");
    EXPECT_EQ(first.progress, (std::vector<double>{0.02, 0.1, 0.26, 0.42, 0.68, 0.86, 1.0}));
    EXPECT_EQ(first.stageTexts, (std::vector<std::string>{"Preparing", "Analyzing input", "Stage 1",
                                                          "Spectral Staging", "Dynamic Staging",
                                                          "Final Tone Shaper", "Completed"}));
    const PreviewCache& cache = PreviewCache::Instance();
    EXPECT_NE(cache.SourceRange(), nullptr);
    EXPECT_NE(cache.Stage2(), nullptr);
    EXPECT_NE(cache.Checkpoint(ResumeStage3), nullptr);
    EXPECT_EQ(cache.PreMatchAudio(), nullptr) << "an empty chain stored a PREMATCH state";
    for (int point = ResumePostTone; point <= ResumePostPreLimiter; ++point)
    {
        EXPECT_EQ(cache.Checkpoint(point), nullptr) << "an empty chain stored point " << point;
    }

    // Two seconds at 48 kHz, with the 16 metrics and only the limiter's series.
    EXPECT_EQ(first.audio.sampleRate, 48000);
    EXPECT_EQ(first.audio.FrameCount(), 96000u);
    EXPECT_EQ(Keys(first.audio.stageMetrics), kMetricKeys);
    ASSERT_EQ(first.audio.meterSeries.size(), 1u);
    EXPECT_EQ(first.audio.meterSeries[0].key, "stage4.gain_reduction_db");
    EXPECT_EQ(first.audio.meterSeries[0].rate, 50.0);
    EXPECT_EQ(first.audio.meterSeries[0].values.size(), 100u);
    EXPECT_EQ(Metric(first.audio, "stage1.reference_match_rms"), m_profile.referenceMatchRms);
    EXPECT_EQ(Metric(first.audio, "stage4.effective_ceiling"),
              ComputeStage4Ceiling(0.998138427734375, m_profile.truePeak, 1.0, 1e-6));
    EXPECT_LE(Metric(first.audio, "stage4.final_peak"),
              20.0 * std::log10(Metric(first.audio, "stage4.effective_ceiling")) + 1e-9)
        << "the limiter let a peak past the ceiling";

    // The same preview again resumes after stage 3 and gives the same sound.
    const Outcome again = Run(m_track, PreviewRequest(PreviewClean));
    EXPECT_EQ(again.ResumedAt(), "stage3Checkpoint");
    EXPECT_EQ(again.progress, (std::vector<double>{0.02, 0.1, 0.86, 1.0}));
    EXPECT_TRUE(again.Traced("stage0_cached"));
    EXPECT_EQ(again.audio.samples, first.audio.samples);
    EXPECT_EQ(Keys(again.audio.stageMetrics), kMetricKeys);
}

// From a cache primed by a run with an add-on at every position, each scope
// resumes where its table says, reports the matching progress, runs only the
// positions after its checkpoint, and returns the sound of a run from scratch
// with the 16 metrics and both series, each once. (Regression: stage 4
// appended its metrics and series to the lists the limiter had already copied
// from its input, so every one of them appeared twice.)
TEST_F(PreviewRun, EachScopeResumesAtItsPointAndSoundsLikeAFreshRun)
{
    const Outcome fresh = Run(m_track, PreviewRequest(PreviewFromStart), kEveryPosition);
    ASSERT_EQ(fresh.ran, (std::vector<int>{0, 1, 2, 3, 4}));

    const std::vector<double> fromStart = {0.02, 0.1, 0.26, 0.42, 0.68, 0.86, 1.0};
    const std::vector<double> fromStage2 = {0.02, 0.1, 0.42, 0.68, 0.86, 1.0};
    const std::vector<double> fromCheckpoint = {0.02, 0.1, 0.86, 1.0};
    struct Case
    {
        int scope;
        const char* resumedAt;
        std::vector<double> progress;
        std::vector<int> ran;
    };
    const Case cases[] = {
        {PreviewFromStart, "FromStart", fromStart, {0, 1, 2, 3, 4}},
        {PreviewPreMatch, "FromStart", fromStart, {0, 1, 2, 3, 4}},
        {PreviewStage1, "preMatchCheckpoint", fromStart, {1, 2, 3, 4}},
        {PreviewStage2, "preMatchCheckpoint", fromStart, {1, 2, 3, 4}},
        {PreviewStage2PostFft, "stage2PostFft", fromStage2, {1, 2, 3, 4}},
        {PreviewStage3, "stage2Checkpoint", fromStage2, {1, 2, 3, 4}},
        {PreviewPostMatchTone, "stage3Checkpoint", fromCheckpoint, {1, 2, 3, 4}},
        {PreviewPostMatchDynamics, "postToneCheckpoint", fromCheckpoint, {2, 3, 4}},
        {PreviewStereoImage, "postDynamicsCheckpoint", fromCheckpoint, {3, 4}},
        {PreviewPreLimiter, "postStereoCheckpoint", fromCheckpoint, {4}},
        {PreviewStage4, "postPreLimiterCheckpoint", fromCheckpoint, {}},
        {PreviewOutputOnly, "postPreLimiterCheckpoint", fromCheckpoint, {}},
        {PreviewClean, "postPreLimiterCheckpoint", fromCheckpoint, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(PreviewScopeName(c.scope));
        const Outcome outcome = Run(m_track, PreviewRequest(c.scope), kEveryPosition);
        EXPECT_EQ(outcome.ResumedAt(), c.resumedAt);
        EXPECT_EQ(outcome.progress, c.progress);
        EXPECT_EQ(outcome.ran, c.ran);
        EXPECT_EQ(outcome.audio.samples, fresh.audio.samples);
        EXPECT_EQ(Keys(outcome.audio.stageMetrics), kMetricKeys);
        ASSERT_EQ(outcome.audio.meterSeries.size(), 2u);
        EXPECT_EQ(outcome.audio.meterSeries[0].key, "dynamics.gain_reduction_db");
        EXPECT_EQ(outcome.audio.meterSeries[1].key, "stage4.gain_reduction_db");
    }
}

TEST_F(PreviewRun, DynamicsSeriesOfAnAddonThatReducesNoPeakIsZeroEvery20Ms)
{
    const Outcome outcome =
        Run(m_track, PreviewRequest(PreviewFromStart), {{ChainPostMatchDynamics, Action::Keep}});
    ASSERT_EQ(outcome.audio.meterSeries.size(), 2u);
    const MeterSeries& dynamics = outcome.audio.meterSeries[0];
    EXPECT_EQ(dynamics.key, "dynamics.gain_reduction_db");
    EXPECT_EQ(dynamics.rate, 50.0);
    EXPECT_EQ(dynamics.values, std::vector<float>(100, 0.0f));
}

TEST_F(PreviewRun, StageTwoStrengthAloneReblendsOnTheStoredAnalysis)
{
    Run(m_track, PreviewRequest(PreviewFromStart));

    // A profile that fails the compatibility check but keeps its key: the
    // re-blend must not look at it.
    ReferenceProfile withoutSpectra = m_profile;
    withoutSpectra.spectrumSets.clear();
    EngineRequest weaker = PreviewRequest(PreviewStage2PostFft);
    weaker.settings.stage2Strength = 0.3;
    const Outcome reblended = Run(m_track, weaker, {}, 0.5, 2.5, &withoutSpectra);

    EXPECT_EQ(reblended.ResumedAt(), "stage2PostFft");
    EXPECT_FALSE(reblended.Traced("stage2_fft_cache")) << "the spectral analysis was redone";
    EXPECT_EQ(reblended.progress, (std::vector<double>{0.02, 0.1, 0.42, 0.68, 0.86, 1.0}));
    EXPECT_NEAR(Metric(reblended.audio, "stage2.applied_strength"), 0.3, 1e-12);
    EXPECT_EQ(PreviewCache::Instance().Stage2()->tone.appliedStrength,
              Metric(reblended.audio, "stage2.applied_strength"))
        << "the stored stage-2 result was not updated";

    const Outcome fresh = RunFresh(m_track, weaker);
    EXPECT_EQ(reblended.audio.samples, fresh.audio.samples);

    // From scratch the same profile is refused.
    PreviewCache::Instance().Clear();
    EXPECT_THROW(Run(m_track, weaker, {}, 0.5, 2.5, &withoutSpectra), std::runtime_error);
}

// Regression: a checkpoint stored while a position held add-ons was resumed
// after the position had been emptied, so the removed add-on stayed audible.
TEST_F(PreviewRun, AnEmptiedPositionIsNotResumedWithItsOldAddons)
{
    struct Case
    {
        int position;
        int removalScope; // what removing the add-on raises
        int laterScope;   // a later change further down the chain
    };
    const Case cases[] = {
        {ChainPreLimiter, PreviewPreLimiter, PreviewStage4},
        {ChainStereoImage, PreviewStereoImage, PreviewPreLimiter},
        {ChainPostMatchTone, PreviewPostMatchTone, PreviewStage4},
        {ChainPreMatch, PreviewPreMatch, PreviewStage1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.position);
        PreviewCache::Instance().Clear();
        const Outcome withAddon =
            Run(m_track, PreviewRequest(PreviewFromStart), {{c.position, Action::SwapChannels}});
        Run(m_track, PreviewRequest(c.removalScope));

        EngineRequest later = PreviewRequest(c.laterScope);
        later.settings.stage4LimiterStrength = 0.9;
        const Outcome afterRemoval = Run(m_track, later);
        const Outcome fresh = RunFresh(m_track, later);
        EXPECT_EQ(afterRemoval.audio.samples, fresh.audio.samples)
            << "the removed add-on was heard again";
        EXPECT_NE(afterRemoval.audio.samples, withAddon.audio.samples);
    }
}

// Regression: the range key named the source only by its length and rate, so
// another track of the same length was previewed with the old track's audio.
TEST_F(PreviewRun, AnotherTrackOfTheSameLengthIsCutAfresh)
{
    const AudioBuffer otherTrack = StereoPinkNoise(48000, 3.0, 0.1, 99);
    Run(m_track, PreviewRequest(PreviewFromStart));
    const Outcome second = Run(otherTrack, PreviewRequest(PreviewFromStart));
    EXPECT_FALSE(second.Traced("stage0_cached")) << "the old track's range was reused";
    EXPECT_EQ(second.audio.samples,
              RunFresh(otherTrack, PreviewRequest(PreviewFromStart)).audio.samples);
}

TEST_F(PreviewRun, ARangeMovedWithinTheToleranceKeepsItsCutAndPreMatchState)
{
    const AddonList preMatch = {{ChainPreMatch, Action::Keep}};
    Run(m_track, PreviewRequest(PreviewFromStart), preMatch, 0.5, 2.5);

    const Outcome nudged = Run(m_track, PreviewRequest(PreviewStage1), preMatch, 0.50005, 2.5);
    EXPECT_TRUE(nudged.Traced("stage0_cached"));
    EXPECT_EQ(nudged.ResumedAt(), "preMatchCheckpoint");

    const Outcome moved = Run(m_track, PreviewRequest(PreviewStage1), preMatch, 0.501, 2.5);
    EXPECT_FALSE(moved.Traced("stage0_cached"));
    EXPECT_EQ(moved.ResumedAt(), "FromStart");
}

// The entries stored before a failure stay usable.
TEST_F(PreviewRun, ACancelledRunKeepsTheStatesItStored)
{
    EngineRequest request = PreviewRequest(PreviewFromStart);
    int reports = 0;
    request.cancel = [&reports]() { return ++reports == 5; }; // the fifth report is 0.68
    try
    {
        ProcessPreviewRange(m_track, 0.5, 2.5, request, &m_profile, ProcessorChain());
        FAIL() << "the run was not cancelled";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Processing cancelled");
    }
    EXPECT_NE(PreviewCache::Instance().Stage2(), nullptr);
    EXPECT_EQ(PreviewCache::Instance().Checkpoint(ResumeStage3), nullptr);
    EXPECT_EQ(Run(m_track, PreviewRequest(PreviewClean)).ResumedAt(), "stage2Checkpoint");
}

TEST_F(PreviewRun, RefusesRangesItCannotPreviewWithAClearText)
{
    const std::string empty = "Select a non-empty preview range before monitoring output.";
    struct Case
    {
        const char* name;
        double start;
        double end;
        std::string error;
    };
    const Case cases[] = {
        {"start after end", 2.0, 1.0, empty},
        {"start at end", 1.0, 1.0, empty},
        {"beyond the end", 5.0, 6.0, empty},
        {"before the start", -2.0, -1.0, empty},
        {"NaN start", NAN, 1.0, empty},
        {"NaN end", 0.5, NAN, empty},
        {"2048 frames", 1.0, 1.0 + 2048.0 / 48000.0, "Input audio too short for FFT size"},
        {"100 frames", 1.0, 1.0 + 100.0 / 48000.0, "Input audio too short for FFT size"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EngineRequest request = PreviewRequest(PreviewFromStart);
        try
        {
            ProcessPreviewRange(m_track, c.start, c.end, request, &m_profile, ProcessorChain());
            ADD_FAILURE() << "the range was accepted";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(error.what(), c.error);
        }
    }

    EngineRequest request = PreviewRequest(PreviewFromStart);
    EXPECT_THROW(
        ProcessPreviewRange(AudioBuffer(), 0.0, 1.0, request, &m_profile, ProcessorChain()),
        std::runtime_error);
    try
    {
        ProcessPreviewRange(m_track, 0.5, 2.5, request, nullptr, ProcessorChain());
        ADD_FAILURE() << "a run without a profile was accepted";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "No profile loaded");
    }
    ReferenceProfile otherRate = m_profile;
    otherRate.sampleRate = 44100;
    try
    {
        ProcessPreviewRange(m_track, 0.5, 2.5, request, &otherRate, ProcessorChain());
        ADD_FAILURE() << "an incompatible profile was accepted";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Reference profile incompatible: sample rate mismatch;");
    }
}

// The preview performs the full run's chain on the range alone. Over the whole
// track the two are the same computation. Over a part of it, what each stage
// measures is measured on the range: stage 1's loud-piece level, stage 2's
// long-term spectra (hence its correction filters) and stage 3's level passes,
// and the filters see silence beyond the range's ends instead of the track's
// neighbouring audio. Stage 4 moves the loudness measured on the range and
// limits only the range. On a steady signal these differ little: the stage
// 1-3 sound (stage 4 made transparent) agrees closely away from the edges, and
// with stage 4 the level agrees within a fraction of a dB.
TEST_F(PreviewRun, SoundsLikeTheSameRangeOfAFullRun)
{
    {
        SCOPED_TRACE("whole track");
        EngineRequest request = PreviewRequest(PreviewFromStart);
        const AudioBuffer full = ProcessTrack(m_track, request, &m_profile, ProcessorChain()).audio;
        const Outcome preview = Run(m_track, request, {}, 0.0, 3.0);
        EXPECT_LE(MaxDifference(preview.audio.samples, full.samples), 1e-12);
    }

    const AudioBuffer longTrack = StereoPinkNoise(48000, 12.0, 0.1, 21);
    const std::size_t first = 3 * 48000;
    const std::size_t last = 9 * 48000;
    const std::size_t edge = 4800; // 0.1 s, beyond the reach of the stage-2 filters
    const auto compare = [&](const EngineRequest& request)
    {
        EngineRequest fullRequest = request;
        const AudioBuffer full =
            ProcessTrack(longTrack, fullRequest, &m_profile, ProcessorChain()).audio;
        PreviewCache::Instance().Clear();
        const Outcome preview = Run(longTrack, request, {}, 3.0, 9.0);
        double residual = 0.0;
        double signal = 0.0;
        double previewEnergy = 0.0;
        for (std::size_t frame = edge; frame < last - first - edge; ++frame)
        {
            for (std::size_t channel = 0; channel < 2; ++channel)
            {
                const double cut = full.samples[2 * (first + frame) + channel];
                const double own = preview.audio.samples[2 * frame + channel];
                residual += (own - cut) * (own - cut);
                signal += cut * cut;
                previewEnergy += own * own;
            }
        }
        return std::pair(10.0 * std::log10(residual / signal),
                         10.0 * std::log10(previewEnergy / signal));
    };

    EngineRequest stages123 = PreviewRequest(PreviewFromStart);
    stages123.settings.stage4LoudnessStrength = 0.0;
    stages123.settings.stage4LimiterStrength = 0.0;
    const auto [residualDb, levelDb] = compare(stages123);
    EXPECT_LT(residualDb, -35.0) << "stages 1-3 of the preview strayed from the full run";
    EXPECT_NEAR(levelDb, 0.0, 0.1);

    const auto [residualAllDb, levelAllDb] = compare(PreviewRequest(PreviewFromStart));
    EXPECT_LT(residualAllDb, -35.0) << "stage 4 of the preview strayed from the full run";
    EXPECT_NEAR(levelAllDb, 0.0, 0.1) << "the preview's loudness strayed from the full run's";
}

TEST(PreviewRange, TakesTheSelectedFramesAtTheInternalRate)
{
    const AudioBuffer track = StereoPinkNoise(44100, 3.0, 0.1, 3);
    EngineRequest request;
    struct Case
    {
        double start;
        double end;
        std::size_t first;
        std::size_t last;
    };
    const Case cases[] = {
        {-1.0, 2.0, 0, 88200},     // a negative start reads from 0
        {1.0, 1e9, 44100, 132300}, // an end past the track stops at its end
        {1.0, INFINITY, 44100, 132300},
        {0.5, 0.25, 22050, 22050}, // an end before the start selects nothing
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.start);
        const PreviewFrameSpan span = PreviewRangeFrames(track, c.start, c.end);
        EXPECT_EQ(span.first, c.first);
        EXPECT_EQ(span.last, c.last);
    }
    const AudioBuffer range = ExtractPreviewRange(track, -1.0, 2.0, request);
    EXPECT_EQ(range.sampleRate, 48000);
    EXPECT_EQ(range.FrameCount(), 96000u);
    EXPECT_TRUE(range.meterSeries.empty());
    EXPECT_TRUE(range.stageMetrics.empty());
}
