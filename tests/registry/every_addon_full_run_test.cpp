// Every add-on the registry creates, at its defaults, inside a whole mastering
// run: all of them at once in the descriptor list's order, and each alone.

#include "registry/addon_registry.h"

#include "engine/profiles/synthetic_profile.h"
#include "engine/runs/full_run.h"
#include "engine/runs/run_metrics.h"
#include "engine/runs/run_steps.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace
{

// Long enough for the spectral add-ons' frames and a loudness reading, short
// enough for 2 x 67 runs on a small machine under the sanitizers.
constexpr double kTrackSeconds = 2.0;

// The rate every run works at after its resampling.
constexpr int kInternalRate = 48000;

// Pink noise with a quiet first half and a loud second half (+9.5 dB).
AudioBuffer GeneratedMix(int sampleRate)
{
    AudioBuffer track = StereoPinkNoise(sampleRate, kTrackSeconds, 0.05, 11);
    for (std::size_t i = track.FrameCount() / 2; i < track.FrameCount(); ++i)
    {
        track.samples[2 * i] *= 3.0;
        track.samples[2 * i + 1] *= 3.0;
    }
    return track;
}

std::vector<std::string> BuiltAddonIds()
{
    std::vector<std::string> ids;
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        ids.push_back(descriptor.id);
    }
    return ids;
}

std::size_t AddonsIn(const ProcessorChain& chain)
{
    return std::accumulate(chain.buckets.begin(), chain.buckets.end(), std::size_t{0},
                           [](std::size_t n, const ProcessorBucket& b) { return n + b.size(); });
}

// The chain of the given ids, each enabled with its defaults.
ProcessorChain ChainOf(const std::vector<std::string>& ids)
{
    MasteringSettings settings;
    for (const std::string& id : ids)
    {
        settings.addons.push_back({id, true, {}});
    }
    return BuildProcessorChain(settings);
}

// The run completes with a finite master of the track's duration whose sample
// peak stays at or under the run's ceiling.
void ExpectAFiniteMasterUnderTheCeiling(int sampleRate, const ProcessorChain& chain)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const AudioBuffer track = GeneratedMix(sampleRate);
    EngineRequest request;
    const AudioBuffer result = ProcessTrack(track, request, &profile, chain).audio;

    EXPECT_EQ(result.sampleRate, kInternalRate);
    EXPECT_NEAR(static_cast<double>(result.FrameCount()) / kInternalRate, kTrackSeconds,
                1.0 / 44100.0)
        << "the track kept its duration";
    ASSERT_TRUE(AllFinite(result)) << "the master holds values that are not finite";
    const MatchSettings& settings = request.settings;
    const double ceiling = ComputeStage4Ceiling(settings.peakCeiling, profile.truePeak,
                                                settings.stage4LoudnessStrength, settings.floor);
    // Within rounding: the limiter's gain is ceiling / peak, and a sample times
    // that gain may land one step of the last bit above the ceiling.
    EXPECT_LE(BufferPeak(result), ceiling * (1.0 + 1e-15))
        << "the sample peak is over the ceiling by " << BufferPeak(result) / ceiling - 1.0;
}

class EveryAddonAlone : public ::testing::TestWithParam<std::tuple<std::string, int>>
{
};

std::string AloneName(const ::testing::TestParamInfo<std::tuple<std::string, int>>& info)
{
    return std::get<0>(info.param) + "_" + RateName(std::get<1>(info.param));
}

} // namespace

TEST(EveryAddonInAFullRun, AllTogetherInDescriptorOrder)
{
    const std::vector<std::string> ids = BuiltAddonIds();
    for (int sampleRate : {44100, 48000})
    {
        SCOPED_TRACE(RateName(sampleRate));
        // A chain serves one run: each run gets fresh add-ons.
        const ProcessorChain chain = ChainOf(ids);
        ASSERT_EQ(AddonsIn(chain), ids.size()) << "every built add-on joins the chain";
        ExpectAFiniteMasterUnderTheCeiling(sampleRate, chain);
    }
}

TEST_P(EveryAddonAlone, MastersAtItsDefaults)
{
    const auto& [id, sampleRate] = GetParam();
    const ProcessorChain chain = ChainOf({id});
    ASSERT_EQ(AddonsIn(chain), 1u) << id;
    ExpectAFiniteMasterUnderTheCeiling(sampleRate, chain);
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryAddonAlone,
                         ::testing::Combine(::testing::ValuesIn(BuiltAddonIds()),
                                            ::testing::Values(44100, 48000)),
                         AloneName);
