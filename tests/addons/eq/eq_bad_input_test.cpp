// What the eight equalisers share beyond the add-on conformance frame: the
// rates a direct caller may pass, samples that are not finite, every
// parameter at its extremes at other rates, and filter states kept in the
// object where they belong to it.

#include "registry/addon_registry.h"

#include "tests/support/addon_checks.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{

struct EqRow
{
    const char* id;
    // Makes the add-on change a signal (two of them do nothing at their defaults).
    AddonSetting active;
    bool keepsStateBetweenCalls;
};

const EqRow kEqualisers[] = {
    {"air_shelf", {}, true},
    {"three_band_eq", {{"low_gain_db", 6.0}}, false},
    {"tilt_eq", {{"tilt", 1.0}}, false},
    {"ms_color_eq", {}, true},
    {"center_focus", {}, true},
    {"low_end_punch", {}, true},
    {"low_mid_cleanup", {}, true},
    {"presence_lift", {}, true},
};

class EqualiserInput : public ::testing::TestWithParam<EqRow>
{
protected:
    std::unique_ptr<IAudioProcessor> Create() const
    {
        std::unique_ptr<IAudioProcessor> addon = CreateProcessor(GetParam().id);
        EXPECT_NE(addon, nullptr) << GetParam().id;
        if (addon != nullptr)
        {
            for (const auto& [id, value] : GetParam().active)
            {
                EXPECT_TRUE(addon->setParameter(id, value)) << id;
            }
        }
        return addon;
    }

    AddonFactory Factory() const
    {
        return [this] { return Create(); };
    }

    AudioBuffer Processed(const AudioBuffer& input, int contextRate) const
    {
        return ProcessedAtContextRate(Factory(), input, contextRate);
    }
};

AudioBuffer Signal(int rate = 48000)
{
    return StereoNoise(rate, 0.25, 0.8, 21);
}

} // namespace

// The rate comes from the context. At 0 every tan(pi f / fs) and every pole
// is undefined and the track would turn to NaN; 3-Band EQ takes 1 Hz instead
// (its own test), the others hand the buffer back untouched.
TEST_P(EqualiserInput, RateOfZeroOrLessLeavesTheBufferUntouched)
{
    if (std::string(GetParam().id) == "three_band_eq")
    {
        GTEST_SKIP() << "falls back to 1 Hz";
    }
    for (int rate : {0, -48000})
    {
        EXPECT_TRUE(Processed(Signal(), rate).samples == Signal().samples) << "rate " << rate;
    }
    EXPECT_FALSE(Processed(Signal(), 48000).samples == Signal().samples)
        << "the same signal at a real rate must be processed";
}

// A value that is not finite enters the filter states and spoils what comes
// after it, but nothing before it changes and the call ends.
TEST_P(EqualiserInput, NonFiniteSamplesChangeNothingBeforeThem)
{
    ExpectANonFiniteSampleChangesNothingBeforeIt(Factory(), Signal());
}

TEST_P(EqualiserInput, EveryParameterAtItsExtremesStaysFiniteAtOtherRates)
{
    for (int rate : {44100, 96000})
    {
        ExpectFiniteWithEveryParameterAtItsExtremes(Factory(), Signal(rate));
    }
}

// Filter states that are members carry on from one call to the next; states
// that are locals start again at rest in every call.
TEST_P(EqualiserInput, StatesLiveWhereTheyBelong)
{
    ExpectStatesWhereTheyBelong(Factory(), Signal(), GetParam().keepsStateBetweenCalls);
}

INSTANTIATE_TEST_SUITE_P(Eq, EqualiserInput, ::testing::ValuesIn(kEqualisers),
                         [](const ::testing::TestParamInfo<EqRow>& info)
                         { return std::string(info.param.id); });
