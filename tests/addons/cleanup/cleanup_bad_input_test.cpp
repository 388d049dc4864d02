// What the six clean-up and balance add-ons share beyond the add-on
// conformance frame: the rates a direct caller may pass, samples that are not
// finite, and a level floor of 0.

#include "registry/addon_registry.h"

#include "engine/decibels.h"
#include "tests/support/addon_checks.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <string>

namespace
{

struct CleanupRow
{
    const char* id;
    // Makes the add-on change a signal (one does nothing at its defaults).
    AddonSetting active;
    // Every filter needs the rate; the balance corrector only sizes its
    // blocks by it.
    bool needsTheRate;
};

const CleanupRow kCleanups[] = {
    {"balance_corrector", {}, false},
    {"band_balance_corrector", {{"mid_balance.amount", 1.0}, {"high_balance.amount", -1.0}}, true},
    {"phase_align", {}, true},
    {"dc_blocker", {}, true},
    {"sub_rumble_filter", {}, true},
    {"hum_notch", {}, true},
};

class CleanupInput : public ::testing::TestWithParam<CleanupRow>
{
protected:
    AddonFactory Factory() const
    {
        return [row = GetParam()]
        {
            std::unique_ptr<IAudioProcessor> addon = CreateProcessor(row.id);
            EXPECT_NE(addon, nullptr) << row.id;
            for (const auto& [id, value] : row.active)
            {
                EXPECT_TRUE(addon != nullptr && addon->setParameter(id, value)) << id;
            }
            return addon;
        };
    }
};

// Leaning left, with a right channel 2 frames late, so every add-on has
// something to change.
AudioBuffer Signal()
{
    AudioBuffer buffer = StereoNoise(48000, 0.25, 0.5, 5);
    for (std::size_t i = buffer.samples.size() - 1; i >= 5; i -= 2)
    {
        buffer.samples[i] = 0.5 * buffer.samples[i - 5];
    }
    return buffer;
}

std::string RowName(const ::testing::TestParamInfo<CleanupRow>& info)
{
    return info.param.id;
}

} // namespace

// At a rate of 0 or less every pole and tangent is undefined and a filtered
// track would turn to NaN: the filters hand the buffer back untouched. The
// balance corrector takes blocks of 1024 frames then and corrects as usual.
TEST_P(CleanupInput, RateOfZeroOrLessLeavesTheFiltersUntouched)
{
    const AudioBuffer input = Signal();
    const AudioBuffer atRate = ProcessedAtContextRate(Factory(), input, 48000);
    ASSERT_NE(atRate.samples, input.samples) << "the signal must be one the add-on changes";
    for (int rate : {0, -48000})
    {
        const AudioBuffer output = ProcessedAtContextRate(Factory(), input, rate);
        if (GetParam().needsTheRate)
        {
            EXPECT_EQ(output.samples, input.samples) << "rate " << rate;
        }
        else
        {
            EXPECT_TRUE(AllFinite(output)) << "rate " << rate;
            EXPECT_NE(output.samples, input.samples) << "rate " << rate;
        }
    }
}

// A NaN or an infinity ends no call early and reaches no index out of range;
// the filters carry it on from where it enters, and the measuring add-ons,
// whose levels or lag sums it spoils, leave the track as it was.
TEST_P(CleanupInput, NonFiniteSamples)
{
    const std::string id = GetParam().id;
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        AudioBuffer input = Signal();
        input.samples[input.samples.size() / 2 + 1] = bad;
        const AudioBuffer output = ProcessedAtContextRate(Factory(), input, 48000);
        ASSERT_EQ(output.samples.size(), input.samples.size());
        if (id == "balance_corrector" || id == "phase_align")
        {
            for (std::size_t i = 0; i < input.samples.size(); ++i)
            {
                ASSERT_TRUE(output.samples[i] == input.samples[i] ||
                            (std::isnan(output.samples[i]) && std::isnan(input.samples[i])))
                    << bad << " at value " << i;
            }
        }
    }
    if (id != "balance_corrector" && id != "phase_align")
    {
        ExpectANonFiniteSampleChangesNothingBeforeIt(Factory(), Signal());
    }
}

INSTANTIATE_TEST_SUITE_P(Cleanup, CleanupInput, ::testing::ValuesIn(kCleanups), RowName);

// A level floor of 0 is taken as the smallest, 1e-9 in the mean square:
// silence stays silent, and a lean at mean squares of a few 1e-9, which the
// default floor of 1e-6 would hide, is corrected.
TEST(BalanceCorrectorFloor, FloorOfZero)
{
    ProcessContext context;
    context.sampleRate = 48000;
    context.floor = 0.0;
    AudioBuffer silence;
    silence.sampleRate = 48000;
    silence.samples.assign(9600, 0.0);
    AudioBuffer quiet = StereoSine(440.0, 48000, 0.2, 1e-4);
    for (std::size_t i = 1; i < quiet.samples.size(); i += 2)
    {
        quiet.samples[i] *= DbToGain(-3.0);
    }
    const AudioBuffer quietInput = quiet;
    const std::unique_ptr<IAudioProcessor> first = CreateProcessor("balance_corrector");
    first->process(silence, context);
    EXPECT_TRUE(std::all_of(silence.samples.begin(), silence.samples.end(),
                            [](double v) { return v == 0.0; }));
    const std::unique_ptr<IAudioProcessor> second = CreateProcessor("balance_corrector");
    second->process(quiet, context);
    EXPECT_NEAR(quiet.samples[21] / quietInput.samples[21], DbToGain(0.75 * 1.5), 1e-9);
}
