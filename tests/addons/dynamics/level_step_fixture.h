#pragma once

// Signals and readings for the static curves of the expanders and the detail
// lifters: a square wave's stereo RMS and peak levels are both its amplitude
// in every frame, and it never crosses zero, so every frame's gain can be read.

#include "engine/audio_buffer.h"
#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

// A 100 Hz square wave in both channels: one second at startDb, then two
// seconds at levelDb.
inline AudioBuffer LevelStep(int sampleRate, double startDb, double levelDb)
{
    AudioBuffer step = StereoSquare(100.0, sampleRate, 3.0, DbToGain(levelDb));
    const std::size_t startValues = 2 * FramesIn(1.0, sampleRate);
    const double startScale = DbToGain(startDb - levelDb);
    for (std::size_t i = 0; i < startValues; ++i)
    {
        step.samples[i] *= startScale;
    }
    return step;
}

// The gain in dB over the last second, when followers and smoothers have
// settled on the second level.
inline double SettledGainDb(const AudioBuffer& input, const AudioBuffer& output)
{
    return SteadyStateGainDb(input, output, FramesIn(2.0, input.sampleRate));
}

// The smallest and the largest gain in dB that any frame gets.
inline std::pair<double, double> FrameGainRangeDb(const AudioBuffer& input,
                                                  const AudioBuffer& output)
{
    double lowest = 0.0;
    double highest = 0.0;
    for (std::size_t i = 0; i < input.samples.size(); i += 2)
    {
        const double gainDb = GainToDb(output.samples[i] / input.samples[i], 0.0);
        lowest = std::min(lowest, gainDb);
        highest = std::max(highest, gainDb);
    }
    return {lowest, highest};
}

// One case of a static curve: the settings, the level step, the gain the
// second level settles at, and the bounds no frame's gain may pass.
struct LevelStepCase
{
    AddonSetting setting;
    double startDb;
    double levelDb;
    double expectedDb;
    double lowestDb;
    double highestDb;
};

// Runs the case through a fresh add-on at the rate and checks it.
inline void ExpectLevelStep(IAudioProcessor& freshAddon, int sampleRate, const LevelStepCase& c)
{
    const AudioBuffer input = LevelStep(sampleRate, c.startDb, c.levelDb);
    const AudioBuffer output = ProcessedBy(freshAddon, input, c.setting);
    std::string what =
        "from " + std::to_string(c.startDb) + " to " + std::to_string(c.levelDb) + " dB with";
    for (const auto& [id, value] : c.setting)
    {
        what += " " + id + " " + std::to_string(value);
    }
    EXPECT_NEAR(SettledGainDb(input, output), c.expectedDb, 0.1) << what;
    const auto [lowestDb, highestDb] = FrameGainRangeDb(input, output);
    EXPECT_GE(lowestDb, c.lowestDb - 1e-9) << what;
    EXPECT_LE(highestDb, c.highestDb + 1e-9) << what;
}
