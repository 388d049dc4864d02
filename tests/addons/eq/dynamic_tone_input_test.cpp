// What the dynamic equalisers and the resonance cuts share beyond the add-on
// conformance frame: the rates a direct caller may pass, in the context and in
// the buffer, samples that are not finite, quiet bands that must keep every
// bit, every parameter at its extremes at other rates, and states kept where
// they belong.

#include "registry/addon_registry.h"

#include "tests/support/addon_checks.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace
{

// Which rate besides the context's an add-on reads.
enum class BufferRate
{
    NotRead,
    Fallback, // when the context's rate is 0 or less
    Followers,
};

struct DynamicToneRow
{
    const char* id;
    BufferRate bufferRate;
    bool keepsStateBetweenCalls;
};

const DynamicToneRow kRows[] = {
    {"dynamic_eq", BufferRate::Fallback, true},
    {"dynamic_air", BufferRate::Followers, true},
    {"dynamic_tilt", BufferRate::Followers, true},
    {"resonance_tracker", BufferRate::Followers, false},
    {"dynamic_low_end_tamer", BufferRate::NotRead, true},
    {"resonance_suppressor", BufferRate::Followers, true},
    {"harshness_tamer", BufferRate::Followers, true},
    {"master_deesser", BufferRate::Followers, true},
};

void PrintTo(const DynamicToneRow& row, std::ostream* out)
{
    *out << row.id;
}

class DynamicToneInput : public ::testing::TestWithParam<DynamicToneRow>
{
protected:
    AddonFactory Factory() const
    {
        return [id = std::string(GetParam().id)] { return CreateProcessor(id); };
    }

    AudioBuffer Processed(const AudioBuffer& buffer, int contextRate) const
    {
        return ProcessedAtContextRate(Factory(), buffer, contextRate);
    }
};

// Loud enough in every region for each of them to act at its defaults.
AudioBuffer LoudSignal(int rate = 48000)
{
    return StereoPinkNoise(rate, 0.5, 0.5, 31);
}

} // namespace

// A rate of 0 or less would give filter and follower coefficients that blow
// the track up to NaN. Whichever rate an add-on reads being 0 or less leaves
// the buffer untouched; a rate it does not read changes nothing; Dynamic EQ
// falls back from the context's rate to the buffer's.
TEST_P(DynamicToneInput, RatesOfZeroOrLessInContextOrBuffer)
{
    const AudioBuffer input = LoudSignal();
    const AudioBuffer processed = Processed(input, 48000);
    ASSERT_FALSE(processed.samples == input.samples) << "the signal must be processed";
    for (int contextRate : {48000, 0, -48000})
    {
        for (int bufferRate : {48000, 0, -48000})
        {
            const bool contextBad = contextRate <= 0;
            const bool bufferBad = bufferRate <= 0;
            bool untouched = contextBad;
            switch (GetParam().bufferRate)
            {
            case BufferRate::NotRead:
                break;
            case BufferRate::Fallback:
                untouched = contextBad && bufferBad;
                break;
            case BufferRate::Followers:
                untouched = contextBad || bufferBad;
                break;
            }
            AudioBuffer buffer = input;
            buffer.sampleRate = bufferRate;
            const AudioBuffer output = Processed(buffer, contextRate);
            EXPECT_TRUE(output.samples == (untouched ? input.samples : processed.samples))
                << "context " << contextRate << ", buffer " << bufferRate << ": expected "
                << (untouched ? "untouched" : "processed as at 48 kHz");
        }
    }
}

TEST_P(DynamicToneInput, NonFiniteSamplesChangeNothingBeforeThem)
{
    ExpectANonFiniteSampleChangesNothingBeforeIt(Factory(), LoudSignal());
}

// A band whose followed level stays at or under the threshold gets a gain of
// exactly 1: the track comes back bit for bit (Dynamic Air lifts a quiet band
// and Dynamic Tilt tilts any level but 0.175, so they are not in this).
TEST_P(DynamicToneInput, AQuietBandKeepsEveryBit)
{
    const std::string id = GetParam().id;
    if (id == "dynamic_air" || id == "dynamic_tilt")
    {
        GTEST_SKIP() << id << " changes quiet material by design";
    }
    for (int rate : {44100, 48000, 96000})
    {
        AudioBuffer quiet = StereoPinkNoise(rate, 1.0, 0.003, 41);
        quiet.samples[7] = -0.0;
        EXPECT_TRUE(Processed(quiet, rate).samples == quiet.samples) << rate << " Hz";
    }
}

TEST_P(DynamicToneInput, EveryParameterAtItsExtremesStaysFiniteAtOtherRates)
{
    for (int rate : {44100, 96000})
    {
        ExpectFiniteWithEveryParameterAtItsExtremes(Factory(), StereoPinkNoise(rate, 0.5, 0.7, 51));
    }
}

TEST_P(DynamicToneInput, StatesLiveWhereTheyBelong)
{
    ExpectStatesWhereTheyBelong(Factory(), LoudSignal(), GetParam().keepsStateBetweenCalls);
}

INSTANTIATE_TEST_SUITE_P(DynamicTone, DynamicToneInput, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<DynamicToneRow>& info)
                         { return std::string(info.param.id); });
