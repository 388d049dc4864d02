#include "engine/runs/full_run.h"

#include "engine/loudness/loudness.h"
#include "engine/runs/run_metrics.h"
#include "engine/runs/run_steps.h"
#include "engine/profiles/synthetic_profile.h"
#include "tests/support/signals.h"
#include "tests/support/test_processors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{

constexpr double kDefaultCeiling = 0.998138427734375;

// Records each call with the context it was given; scales the buffer, or
// throws, when told to.
class ProbeProcessor final : public AudioProcessorBase
{
public:
    struct Call
    {
        int position;
        ProcessContext context;
    };

    ProbeProcessor(int position, std::vector<Call>* calls) : m_position(position), m_calls(calls) {}

    const char* id() const override { return "probe"; }
    const char* displayName() const override { return "Probe"; }
    const char* description() const override { return "Records what the run hands it."; }
    const char* bestUse() const override { return "Tests of the full run."; }
    int chainPosition() const override { return m_position; }
    std::vector<AddonParamSpec> parameters() const override { return {}; }
    bool setParameter(const std::string&, double) override { return false; }
    bool getParameter(const std::string&, double&) const override { return false; }

    void process(AudioBuffer& buffer, const ProcessContext& context) override
    {
        m_calls->push_back({m_position, context});
        if (m_throws)
        {
            throw std::logic_error("probe refused the buffer");
        }
        if (m_outOfMemory)
        {
            throw std::bad_alloc();
        }
        for (double& sample : buffer.samples)
        {
            sample *= m_gain;
        }
    }

    ProbeProcessor& Gain(double gain)
    {
        m_gain = gain;
        return *this;
    }
    ProbeProcessor& Throws()
    {
        m_throws = true;
        return *this;
    }
    ProbeProcessor& RunsOutOfMemory()
    {
        m_outOfMemory = true;
        return *this;
    }

private:
    int m_position;
    std::vector<Call>* m_calls;
    double m_gain = 1.0;
    bool m_throws = false;
    bool m_outOfMemory = false;
};

struct ProgressPoint
{
    double fraction;
    std::string text;
};

// A short, steady track: long enough for the FFT and for a loudness reading.
AudioBuffer ShortTrack(int sampleRate = 48000, double seconds = 1.5)
{
    return StereoPinkNoise(sampleRate, seconds, 0.1, 7);
}

EngineRequest Recording(std::vector<ProgressPoint>& points)
{
    EngineRequest request;
    request.progress = [&points](double fraction, const char* text) {
        points.push_back({fraction, text});
    };
    return request;
}

// The text of the runtime error the run throws, or "" when it returns.
template <typename Run> std::string ErrorOf(Run run)
{
    try
    {
        run();
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "";
}

// One run of a short track with a probe at the given position.
struct ProbedRun
{
    std::vector<ProbeProcessor::Call> calls;
    std::vector<std::string> lines;
};

ProbedRun RunWithProbe(const ReferenceProfile& profile, EngineRequest& request, int position)
{
    ProbedRun run;
    ProcessorChain chain;
    chain.buckets[position].push_back(std::make_unique<ProbeProcessor>(position, &run.calls));
    ProcessTrack(ShortTrack(), request, &profile, chain,
                 [&run](const std::string& line) { run.lines.push_back(line); });
    return run;
}

} // namespace

TEST(FullRun, ReportsItsProgressPointsInOrder)
{
    struct Case
    {
        int inputRate;
        std::vector<double> fractions;
    };
    const Case cases[] = {
        {48000, {0.02, 0.1, 0.26, 0.42, 0.68, 0.86, 1.0}},
        {44100, {0.02, 0.06, 0.1, 0.26, 0.42, 0.68, 0.86, 1.0}},
    };
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.inputRate);
        const AudioBuffer track = ShortTrack(c.inputRate);
        std::vector<ProgressPoint> points;
        EngineRequest request = Recording(points);
        const ProcessResult result = ProcessTrack(track, request, &profile, ProcessorChain());

        std::vector<double> fractions;
        std::vector<std::string> texts;
        for (const ProgressPoint& point : points)
        {
            fractions.push_back(point.fraction);
            texts.push_back(point.text);
        }
        EXPECT_EQ(fractions, c.fractions);
        std::vector<std::string> expectedTexts = {
            "Preparing", "Analyzing input", "Mid Separation", "Spectral Shaping",
            "Dynamics",  "Final Shaping",   "Completed"};
        if (c.inputRate != 48000)
        {
            expectedTexts.insert(expectedTexts.begin() + 1, "Resampling input");
        }
        EXPECT_EQ(texts, expectedTexts);

        EXPECT_EQ(result.audio.sampleRate, 48000);
        EXPECT_EQ(result.audio.FrameCount(), track.FrameCount() * 48000 / c.inputRate);
        EXPECT_TRUE(result.audio.meterSeries.empty());
        EXPECT_TRUE(result.audio.stageMetrics.empty());
    }
}

TEST(FullRun, CancelAtEveryProgressPointStopsAndLeavesTheInputsAlone)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    AudioBuffer track = ShortTrack(44100);
    track.stageMetrics.push_back({"caller.metric", 1.0});
    const AudioBuffer trackBefore = track;
    std::vector<ProbeProcessor::Call> calls;
    ProcessorChain chain;
    chain.buckets[ChainPreMatch].push_back(std::make_unique<ProbeProcessor>(ChainPreMatch, &calls));

    constexpr int kProgressPoints = 8; // with resampling
    for (int stopAt = 0; stopAt < kProgressPoints; ++stopAt)
    {
        SCOPED_TRACE("cancelled at point " + std::to_string(stopAt));
        int asked = 0;
        std::vector<ProgressPoint> points;
        EngineRequest request = Recording(points);
        request.settings.stage2Strength = 0.5;
        request.cancel = [&asked, stopAt]() { return asked++ == stopAt; };
        const MatchSettings settingsBefore = request.settings;

        EXPECT_EQ(ErrorOf([&] { ProcessTrack(track, request, &profile, chain); }),
                  "Processing cancelled");
        EXPECT_EQ(points.size(), static_cast<size_t>(stopAt)) << "no report after the cancel";
        EXPECT_EQ(track.samples, trackBefore.samples);
        EXPECT_EQ(track.sampleRate, trackBefore.sampleRate);
        EXPECT_EQ(track.stageMetrics.size(), 1u);
        EXPECT_EQ(request.settings.stage2Strength, settingsBefore.stage2Strength);
        EXPECT_EQ(request.settings.limiterMode, settingsBefore.limiterMode);
    }
    EXPECT_EQ(chain.buckets[ChainPreMatch].size(), 1u);
    EXPECT_EQ(profile.spectrumSets, BuildSyntheticDefaultProfile().spectrumSets);
}

TEST(FullRun, RefusesATrackNoLongerThanTheFftSize)
{
    // 3764 frames at 44.1 kHz become 4096 at 48 kHz, 3765 become 4097.
    struct Case
    {
        int rate;
        size_t frames;
        bool tooShort;
    };
    const Case cases[] = {
        {48000, 4096, true},  {48000, 4097, false}, {44100, 3764, true},
        {44100, 3765, false}, {48000, 0, true},     {48000, 1, true},
    };
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.frames) + " frames at " + std::to_string(c.rate));
        AudioBuffer track = StereoPinkNoise(c.rate, 1.0, 0.1, 3);
        track.samples.resize(2 * c.frames);
        EngineRequest request;
        const std::string error =
            ErrorOf([&] { ProcessTrack(track, request, &profile, ProcessorChain()); });
        if (c.tooShort)
        {
            EXPECT_EQ(error, "Input audio too short for FFT size");
        }
        else
        {
            EXPECT_EQ(error, "") << "one frame more than the FFT size is enough";
        }
    }
}

TEST(FullRun, TracksThatCannotBeResampledAreRefused)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    AudioBuffer oneFrame;
    oneFrame.sampleRate = 44100;
    oneFrame.samples = {0.5, 0.5};
    AudioBuffer noRate;
    for (const AudioBuffer* track : {&oneFrame, &noRate})
    {
        EngineRequest request;
        EXPECT_NE(ErrorOf([&] { ProcessTrack(*track, request, &profile, ProcessorChain()); }), "");
    }
}

TEST(FullRun, NoProfileIsNoticedAfterThePreMatchAddons)
{
    std::vector<ProbeProcessor::Call> calls;
    ProcessorChain chain;
    chain.buckets[ChainPreMatch].push_back(std::make_unique<ProbeProcessor>(ChainPreMatch, &calls));
    std::vector<ProgressPoint> points;
    EngineRequest request = Recording(points);

    EXPECT_EQ(ErrorOf([&] { ProcessTrack(ShortTrack(), request, nullptr, chain); }),
              "No profile loaded");
    EXPECT_EQ(calls.size(), 1u) << "the PREMATCH add-on runs before the profile is needed";
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.back().text, "Analyzing input") << "stopped before Mid Separation";
}

TEST(FullRun, AnUnusableProfileStopsTheRunWithItsReason)
{
    struct Case
    {
        void (*change)(ReferenceProfile&);
        const char* text;
        const char* lastProgress;
    };
    const Case cases[] = {
        {[](ReferenceProfile& p)
         {
             p.sampleRate = 44100;
             p.spectrumSets.clear();
         },
         "Reference profile incompatible: sample rate mismatch; FFT size mismatch;",
         "Analyzing input"},
        {[](ReferenceProfile& p) {
             p.dynamicsSets.push_back({9, {}});
         },
         "Reference profile incompatible: profile dynamics set has invalid band count;",
         "Analyzing input"},
        {[](ReferenceProfile& p) { p.spectrumSets[0].mid.pop_back(); },
         "Reference profile mid spectrum size mismatch", "Spectral Shaping"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        ReferenceProfile profile = BuildSyntheticDefaultProfile();
        c.change(profile);
        std::vector<ProgressPoint> points;
        EngineRequest request = Recording(points);
        EXPECT_EQ(ErrorOf([&] { ProcessTrack(ShortTrack(), request, &profile, ProcessorChain()); }),
                  c.text);
        EXPECT_EQ(points.back().text, c.lastProgress);
    }
}

TEST(FullRun, AddonsRunAtTheirPositionsWithTheirContexts)
{
    ReferenceProfile profile = BuildSyntheticDefaultProfile();
    profile.truePeak = 0.5;
    std::vector<ProbeProcessor::Call> calls;
    ProcessorChain chain;
    // Filed in reverse so that the order of the calls is the run's, not the chain's.
    for (int position = ChainPreLimiter; position >= ChainPreMatch; --position)
    {
        chain.buckets[position].push_back(std::make_unique<ProbeProcessor>(position, &calls));
    }
    // A position no chain knows is filed under PRELIMITER and never runs.
    chain.buckets[ChainPreLimiter].push_back(std::make_unique<ProbeProcessor>(7, &calls));

    EngineRequest request;
    ProcessTrack(ShortTrack(), request, &profile, chain);

    ASSERT_EQ(calls.size(), 5u);
    for (int position = ChainPreMatch; position <= ChainPreLimiter; ++position)
    {
        SCOPED_TRACE(position);
        const ProbeProcessor::Call& call = calls[position];
        EXPECT_EQ(call.position, position);
        EXPECT_EQ(call.context.sampleRate, 48000);
        EXPECT_EQ(call.context.floor, 1e-6);
        if (position == ChainPreMatch)
        {
            EXPECT_EQ(call.context.ceiling, kDefaultCeiling);
            EXPECT_FALSE(call.context.hasIntegratedLufs);
            EXPECT_FALSE(call.context.hasLoudnessRange);
        }
        else
        {
            EXPECT_EQ(call.context.ceiling, 0.5) << "the later add-ons see the stage-4 ceiling";
            EXPECT_TRUE(call.context.hasIntegratedLufs);
            EXPECT_EQ(call.context.integratedLufs, profile.integratedLufs);
            EXPECT_TRUE(call.context.hasLoudnessRange);
            EXPECT_EQ(call.context.loudnessRange, profile.loudnessRange);
        }
    }
}

TEST(FullRun, APreMatchAddonThatChangesNothingChangesNoSample)
{
    // The run reads the input itself until an add-on needs a copy to change.
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const AudioBuffer track = ShortTrack();
    std::vector<ProbeProcessor::Call> calls;
    ProcessorChain chain;
    chain.buckets[ChainPreMatch].push_back(std::make_unique<ProbeProcessor>(ChainPreMatch, &calls));
    EngineRequest request;
    EXPECT_EQ(ProcessTrack(track, request, &profile, chain).audio.samples,
              ProcessTrack(track, request, &profile, ProcessorChain()).audio.samples);
    EXPECT_EQ(calls.size(), 1u);
}

TEST(FullRun, TwoRunsOnTwoThreadsGiveWhatEachGivesAlone)
{
    // They share only the FFT plan cache and the resampler's table.
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const AudioBuffer tracks[] = {ShortTrack(44100), ShortTrack(48000, 2.0)};
    AudioBuffer together[2];
    {
        std::vector<std::thread> threads;
        for (int i = 0; i < 2; ++i)
        {
            threads.emplace_back(
                [&, i]
                {
                    EngineRequest request;
                    together[i] =
                        ProcessTrack(tracks[i], request, &profile, ProcessorChain()).audio;
                });
        }
        for (std::thread& thread : threads)
        {
            thread.join();
        }
    }
    for (int i = 0; i < 2; ++i)
    {
        EngineRequest request;
        EXPECT_EQ(together[i].samples,
                  ProcessTrack(tracks[i], request, &profile, ProcessorChain()).audio.samples);
    }
}

TEST(FullRun, AnAddonsExceptionPassesThroughUnchangedUnlessMemoryRanOut)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    std::vector<ProbeProcessor::Call> calls;
    const auto chainWith = [&](ProbeProcessor& (ProbeProcessor::*fault)())
    {
        ProcessorChain chain;
        auto probe = std::make_unique<ProbeProcessor>(ChainStereoImage, &calls);
        ((*probe).*fault)();
        chain.buckets[ChainStereoImage].push_back(std::move(probe));
        return chain;
    };
    EngineRequest request;
    const ProcessorChain throwing = chainWith(&ProbeProcessor::Throws);
    EXPECT_THROW(ProcessTrack(ShortTrack(), request, &profile, throwing), std::logic_error);
    const ProcessorChain starving = chainWith(&ProbeProcessor::RunsOutOfMemory);
    EXPECT_EQ(ErrorOf([&] { ProcessTrack(ShortTrack(), request, &profile, starving); }),
              "Not enough memory to process this track");
}

TEST(FullRun, OldProfileWithoutLoudnessRunsWithoutALoudnessGain)
{
    ReferenceProfile profile = BuildSyntheticDefaultProfile();
    profile.version = 3;
    profile.hasIntegratedLufs = false;
    profile.hasShortTermDistribution = false;
    EngineRequest request;
    request.logDetail = 1;
    const ProbedRun run = RunWithProbe(profile, request, ChainPostMatchTone);

    ASSERT_EQ(run.calls.size(), 1u);
    EXPECT_FALSE(run.calls[0].context.hasIntegratedLufs);
    EXPECT_FALSE(run.calls[0].context.hasLoudnessRange);
    const std::vector<std::string>& lines = run.lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Reference profile warning: profile uses older metadata version"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Stage 4 target ceiling 0.89"), lines.end())
        << "without a loudness target the ceiling line carries no loudness figures";
}

TEST(FullRun, LoudnessStrengthZeroKeepsTheLevelAndTheRunsCeiling)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    EngineRequest request;
    request.logDetail = 1;
    request.settings.stage4LoudnessStrength = 0.0;
    const ProbedRun run = RunWithProbe(profile, request, ChainPreLimiter);

    ASSERT_EQ(run.calls.size(), 1u);
    EXPECT_EQ(run.calls[0].context.ceiling, kDefaultCeiling);
    bool sawCeilingLine = false;
    for (const std::string& line : run.lines)
    {
        if (line.rfind("Stage 4 target ceiling 1.00, current LUFS ", 0) == 0)
        {
            sawCeilingLine = true;
            EXPECT_NE(line.find("applied loudness gain 0.00 dB"), std::string::npos) << line;
        }
    }
    EXPECT_TRUE(sawCeilingLine);
}

TEST(FullRun, LimiterModesAndTheirOversampleFactors)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const AudioBuffer track = ShortTrack();
    const auto run = [&](int mode, int oversample)
    {
        EngineRequest request;
        request.settings.limiterMode = mode;
        request.settings.limiterOversample = oversample;
        return ProcessTrack(track, request, &profile, ProcessorChain()).audio;
    };

    EXPECT_EQ(run(7, 1).samples, run(0, 1).samples) << "an unknown mode is the standard limiter";
    EXPECT_EQ(ErrorOf([&] { run(1, 3); }),
              "True-peak limiter oversample factor must be 1, 2, or 4");
    EXPECT_EQ(ErrorOf([&] { run(2, 3); }),
              "Lookahead limiter oversample factor must be 1, 2, or 4");
    EXPECT_EQ(ErrorOf([&] { run(0, 3); }), "") << "the standard limiter ignores the factor";
}

TEST(FullRun, InvalidSamplesAreRefusedWhereverTheyStand)
{
    // Pieces of 0.5 s leave the last frame of 72001 outside every piece.
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    struct Case
    {
        const char* name;
        int rate;
        size_t frame;
        double value;
        std::string error;
    };
    const Case cases[] = {
        {"NaN inside a piece", 48000, 30000, NAN,
         "Audio contains invalid samples (the first at 0.625 s)"},
        {"NaN in the frame no piece holds", 48000, 72000, NAN,
         "Audio contains invalid samples (the first at 1.500 s)"},
        {"infinity in the first frame", 48000, 0, INFINITY,
         "Audio contains invalid samples (the first at 0.000 s)"},
        // The resampler's kernel spreads the NaN over the frames around it.
        {"NaN before resampling", 44100, 20000, NAN,
         "Audio contains invalid samples (the first at 0.45"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        AudioBuffer track = ShortTrack(c.rate);
        track.samples.resize(2 * 72001, 0.05);
        track.samples[2 * c.frame + 1] = c.value;
        EngineRequest request;
        request.settings.maxPieceSeconds = 0.5;
        const std::string error =
            ErrorOf([&] { ProcessTrack(track, request, &profile, ProcessorChain()); });
        EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    }
}

TEST(FullRun, ComposesItsDiagnosticLines)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const auto linesOf = [&](int logDetail, int limiterMode)
    {
        std::vector<std::string> lines;
        EngineRequest request;
        request.logDetail = logDetail;
        request.settings.limiterMode = limiterMode;
        request.settings.psychoacoustic = true;
        request.settings.adaptiveStrength = true;
        ProcessTrack(ShortTrack(44100), request, &profile, ProcessorChain(),
                     [&lines](const std::string& line) { lines.push_back(line); });
        return lines;
    };
    // Numbers vary with the signal; compare up to the first figure.
    const auto prefixes = [](const std::vector<std::string>& lines)
    {
        std::vector<std::string> result;
        for (const std::string& line : lines)
        {
            result.push_back(line.substr(0, line.find_first_of("-0123456789", 8)));
        }
        return result;
    };

    EXPECT_EQ(prefixes(linesOf(0, 0)),
              (std::vector<std::string>{"Resampling input to internal sample rate...",
                                        "Using loaded reference profile...", "stage1", "stage2",
                                        "Adaptive strength: spectral distance ", "stage3", "stage4",
                                        "Stage 4 limiter mode: standard"}));

    const std::vector<std::string> detailed = linesOf(1, 1);
    ASSERT_EQ(detailed.size(), 10u);
    EXPECT_EQ(detailed[7].rfind("Stage 4 target ceiling 0.89, current LUFS ", 0), 0u)
        << detailed[7];
    EXPECT_NE(detailed[7].find(", target LUFS -9.00, applied loudness gain "), std::string::npos)
        << detailed[7];
    EXPECT_EQ(detailed[8], "Stage 4 limiter mode: true-peak");
    EXPECT_EQ(detailed[9].rfind("Stage 4 result peak 0.89, final LUFS ", 0), 0u) << detailed[9];
    EXPECT_EQ(linesOf(0, 2).back(), "Stage 4 limiter mode: lookahead true-peak");
}

TEST(FullRun, SaysWhenTheFileWasShorterThanItsHeader)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const auto linesOf = [&](const AudioBuffer& track)
    {
        std::vector<std::string> lines;
        EngineRequest request;
        ProcessTrack(track, request, &profile, ProcessorChain(),
                     [&lines](const std::string& line) { lines.push_back(line); });
        return lines;
    };
    AudioBuffer track = ShortTrack(48000, 1.5);
    track.sourceLength = {track.FrameCount() * 20, track.FrameCount()};
    const std::vector<std::string> lines = linesOf(track);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "File is shorter than its header says: read 1.5 s of 30.0 s");

    track.sourceLength = {track.FrameCount(), track.FrameCount()};
    for (const std::string& line : linesOf(track))
    {
        EXPECT_EQ(line.find("shorter"), std::string::npos) << line;
    }
}

// A 30-second mix with a quiet verse and a loud chorus, mastered against the
// synthetic default profile.
TEST(FullRun, MastersAMixToTheDefaultProfile)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    for (int inputRate : {48000, 44100})
    {
        SCOPED_TRACE(inputRate);
        AudioBuffer track = StereoPinkNoise(inputRate, 30.0, 0.05, 11);
        for (size_t i = track.FrameCount() / 2; i < track.FrameCount(); ++i)
        {
            track.samples[2 * i] *= 3.0;
            track.samples[2 * i + 1] *= 3.0;
        }
        EngineRequest request;
        const AudioBuffer result = ProcessTrack(track, request, &profile, ProcessorChain()).audio;

        EXPECT_EQ(result.sampleRate, 48000);
        EXPECT_NEAR(static_cast<double>(result.FrameCount()) / 48000.0, 30.0, 1.0 / 44100.0)
            << "the track kept its duration";
        ASSERT_TRUE(AllFinite(result));
        const double ceiling = ComputeStage4Ceiling(kDefaultCeiling, profile.truePeak, 1.0, 1e-6);
        // Within rounding: the limiter's gain is ceiling / peak, and a sample times
        // that gain may land one step of the last bit above the ceiling.
        EXPECT_LE(BufferPeak(result), ceiling * (1.0 + 1e-15))
            << "the standard limiter holds the sample peak; over by "
            << BufferPeak(result) / ceiling - 1.0;
        const LoudnessStats loudness = MeasureLoudness(result);
        ASSERT_TRUE(loudness.hasIntegratedLufs);
        EXPECT_NEAR(loudness.integratedLufs, profile.integratedLufs, 1.0)
            << "the master missed the reference loudness";
        std::cout << "[          ] " << inputRate << " Hz input: " << loudness.integratedLufs
                  << " LUFS (target " << profile.integratedLufs << "), peak "
                  << 20.0 * std::log10(BufferPeak(result)) << " dBFS\n";
    }
}
