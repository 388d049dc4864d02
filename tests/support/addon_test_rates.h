#pragma once

// The sample rates an add-on test runs at unless it has a reason not to: CD,
// video and high-resolution audio. A rate-dependent fault (a coefficient
// worked out for 48 kHz, a buffer sized in samples) shows at one of them.
//
//     INSTANTIATE_TEST_SUITE_P(Rates, MyAddonTest, AddonTestRates(), RateTestName);

#include <gtest/gtest.h>

#include <array>
#include <string>

inline constexpr std::array<int, 3> kAddonTestRates{44100, 48000, 96000};

// The rates as a parameter generator, alone or inside ::testing::Combine.
inline auto AddonTestRates()
{
    return ::testing::ValuesIn(kAddonTestRates);
}

// "48000Hz": the part of a test's name that says its rate.
inline std::string RateName(int sampleRate)
{
    return std::to_string(sampleRate) + "Hz";
}

// The test name printer for a suite whose parameter is the rate alone.
inline std::string RateTestName(const ::testing::TestParamInfo<int>& info)
{
    return RateName(info.param);
}
