// Bad input the six pre-limiter add-ons share beyond the add-on conformance
// frame: rates a direct caller may pass, odd counts, and samples that are not
// finite.

#include "registry/addon_registry.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace
{

struct PrelimiterAddon
{
    const char* id;
    bool readsTheContextRate;
    bool readsTheBufferRate;
    bool shapesValueByValue; // memoryless: each value through a curve of its own
    bool shapesAnOddCount;   // an odd trailing value included
    AddonSetting active;     // a setting under which a loud signal changes
};

const PrelimiterAddon kPrelimiterAddons[] = {
    {"asymmetric_clipper", false, false, true, true, {{"amount", 1.0}, {"drive_db", 12.0}}},
    {"loudness_driver", false, false, true, true, {{"amount", 1.0}, {"drive_db", 12.0}}},
    {"peak_clipper", false, false, true, false, {{"amount", 1.0}, {"drive_db", 12.0}}},
    {"soft_clipper", false, false, true, true, {{"amount", 1.0}, {"drive_db", 10.0}}},
    {"phase_rotator", true, false, false, false, {{"amount", 1.0}}},
    {"true_peak_guard", true, true, false, false, {{"strength", 1.0}, {"ceiling_dbtp", -3.0}}},
};

void PrintTo(const PrelimiterAddon& addon, std::ostream* out)
{
    *out << addon.id;
}

// Peaks at 1.6, well over every ceiling of the guard.
AudioBuffer LoudSignal()
{
    return StereoNoise(48000, 0.3, 1.6, 23);
}

class PrelimiterBadInput : public ::testing::TestWithParam<PrelimiterAddon>
{
protected:
    std::vector<double> Processed(AudioBuffer buffer, int contextRate) const
    {
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(GetParam().id);
        EXPECT_NE(addon, nullptr) << GetParam().id;
        if (addon == nullptr)
        {
            return buffer.samples;
        }
        for (const auto& [id, value] : GetParam().active)
        {
            EXPECT_TRUE(addon->setParameter(id, value)) << id;
        }
        ProcessContext context;
        context.sampleRate = contextRate;
        addon->process(buffer, context);
        return buffer.samples;
    }
};

} // namespace

// A rate the add-on reads that is 0 or less leaves the buffer untouched (the
// rotator's coefficients and the guard's limiter need a real one); a rate it
// does not read changes nothing. Nothing is thrown either way.
TEST_P(PrelimiterBadInput, RatesOfZeroOrLessInContextOrBuffer)
{
    struct Case
    {
        int contextRate;
        int bufferRate;
    };
    const Case cases[] = {{0, 48000}, {-48000, 48000}, {48000, 0}, {48000, -48000},
                          {0, 0},     {-1, -1},        {96000, 0}, {INT_MIN, INT_MIN}};
    const AudioBuffer loud = LoudSignal();
    const std::vector<double> normal = Processed(loud, 48000);
    ASSERT_FALSE(normal == loud.samples) << "the signal must be processed at a real rate";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message()
                     << "context " << c.contextRate << " Hz, buffer " << c.bufferRate << " Hz");
        AudioBuffer input = loud;
        input.sampleRate = c.bufferRate;
        std::vector<double> output;
        ASSERT_NO_THROW(output = Processed(input, c.contextRate));
        const bool readRateIsBad = (GetParam().readsTheContextRate && c.contextRate <= 0) ||
                                   (GetParam().readsTheBufferRate && c.bufferRate <= 0);
        if (readRateIsBad)
        {
            EXPECT_TRUE(output == loud.samples) << "must be left untouched";
        }
        else if ((!GetParam().readsTheContextRate || c.contextRate == 48000) &&
                 !GetParam().readsTheBufferRate)
        {
            EXPECT_TRUE(output == normal) << "a rate the add-on does not read changed its output";
        }
    }
}

// A buffer rate so high that its oversampled rate would not fit the engine's
// int is not given to the limiter, which would refuse it with an exception.
TEST_P(PrelimiterBadInput, RateTooHighToOversampleThrowsNothing)
{
    AudioBuffer input = LoudSignal();
    input.sampleRate = INT_MAX;
    std::vector<double> output;
    ASSERT_NO_THROW(output = Processed(input, INT_MAX));
    EXPECT_EQ(output.size(), input.samples.size());
    if (std::string(GetParam().id) == "true_peak_guard")
    {
        EXPECT_TRUE(output == input.samples);
    }
}

// The shapers work value by value: with an odd count the trailing value goes
// through the same curve as every other value.
TEST_P(PrelimiterBadInput, ShapersShapeAnOddTrailingValueToo)
{
    if (!GetParam().shapesAnOddCount)
    {
        GTEST_SKIP() << GetParam().id << " works on whole frames (the conformance frame checks it)";
    }
    AudioBuffer odd;
    odd.sampleRate = 48000;
    odd.samples = {0.2, -0.9, 1.4};
    AudioBuffer even = odd;
    even.samples.push_back(1.4);
    const std::vector<double> oddOutput = Processed(odd, 48000);
    const std::vector<double> evenOutput = Processed(even, 48000);
    ASSERT_EQ(oddOutput.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(oddOutput[i], evenOutput[i]) << "value " << i;
    }
    EXPECT_NE(oddOutput[2], 1.4) << "the trailing value must be shaped";
}

// A value that is not finite ends neither in a crash nor in a hang. The shapers
// keep it to itself; the rotator's states carry it on in its own channel only,
// so every value before it is as without it.
TEST_P(PrelimiterBadInput, NonFiniteSamples)
{
    const double inf = std::numeric_limits<double>::infinity();
    const AudioBuffer clean = LoudSignal();
    const std::vector<double> cleanOutput = Processed(clean, 48000);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
    {
        SCOPED_TRACE(bad);
        AudioBuffer input = clean;
        const size_t badIndex = input.samples.size() / 2 + 1;
        input.samples[badIndex] = bad;
        std::vector<double> output;
        ASSERT_NO_THROW(output = Processed(input, 48000));
        ASSERT_EQ(output.size(), input.samples.size());
        const std::string id = GetParam().id;
        if (GetParam().shapesValueByValue)
        {
            for (size_t i = 0; i < output.size(); ++i)
            {
                if (i != badIndex)
                {
                    ASSERT_EQ(output[i], cleanOutput[i]) << "value " << i;
                }
            }
        }
        else if (id == "phase_rotator")
        {
            for (size_t i = 0; i < badIndex; ++i)
            {
                ASSERT_EQ(output[i], cleanOutput[i]) << "value " << i;
            }
            for (size_t i = badIndex - 1; i < output.size(); i += 2)
            {
                ASSERT_TRUE(std::isfinite(output[i])) << "the other channel, value " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Prelimiter, PrelimiterBadInput, ::testing::ValuesIn(kPrelimiterAddons),
                         [](const ::testing::TestParamInfo<PrelimiterAddon>& info)
                         { return std::string(info.param.id); });
