#include "addons/cleanup/balance_corrector.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/level_floor.h"
#include "engine/decibels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace
{

enum Param
{
    LoudSectionsOnly,
    Amount,
    MaxCorrectionDb
};

constexpr AddonIdentity kIdentity{"balance_corrector", "Balance Corrector",
                                  "Corrects left-right level imbalance before reference analysis.",
                                  "Use when one side consistently leans louder before matching.",
                                  ChainPreMatch};

constexpr std::array<AddonParamDef, 3> kTable{{
    {"loud_sections_only", "Loud Sections", kAddonParamToggle, 0.0, 1.0, 1.0, 1.0, ""},
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 0.75, 0.01, ""},
    {"max_correction_db", "Max Correction", kAddonParamContinuous, 0.5, 12.0, 6.0, 0.1, "dB"},
}};

constexpr std::size_t kMinimumBlockFrames = 1024;
// A block as loud as the mean, to rounding, still counts.
constexpr double kBlockLevelSlack = 1e-12;

// The left and right RMS levels of the track or of part of it.
struct ChannelLevels
{
    double left = 0.0;
    double right = 0.0;
};

struct BlockSums
{
    double left = 0.0;
    double right = 0.0;
    std::size_t frames = 0;
};

// A mean square raised to the floor before its root is taken.
double FlooredRms(double sumOfSquares, double count, double floor)
{
    return std::sqrt(std::max(sumOfSquares / count, floor));
}

// The levels of the blocks at least as loud as the mean block level, so a quiet
// intro or fade that leans to one side does not steer the correction. Zero
// when no block counts.
ChannelLevels LoudBlockLevels(const std::vector<double>& samples, std::size_t blockFrames,
                              double floor)
{
    const std::size_t frames = samples.size() / 2;
    std::vector<BlockSums> blocks((frames + blockFrames - 1) / blockFrames);
    for (std::size_t b = 0; b < blocks.size(); ++b)
    {
        const std::size_t end = std::min(frames, (b + 1) * blockFrames);
        for (std::size_t i = b * blockFrames; i < end; ++i)
        {
            blocks[b].left += samples[2 * i] * samples[2 * i];
            blocks[b].right += samples[2 * i + 1] * samples[2 * i + 1];
        }
        blocks[b].frames = end - b * blockFrames;
    }
    std::vector<double> blockLevels(blocks.size());
    double levelSum = 0.0;
    for (std::size_t b = 0; b < blocks.size(); ++b)
    {
        blockLevels[b] = FlooredRms(blocks[b].left + blocks[b].right,
                                    2.0 * static_cast<double>(blocks[b].frames), floor);
        levelSum += blockLevels[b];
    }
    const double meanLevel = levelSum / static_cast<double>(blocks.size());
    BlockSums loud;
    for (std::size_t b = 0; b < blocks.size(); ++b)
    {
        if (!(meanLevel > blockLevels[b] + kBlockLevelSlack))
        {
            loud.left += blocks[b].left;
            loud.right += blocks[b].right;
            loud.frames += blocks[b].frames;
        }
    }
    if (loud.frames == 0)
    {
        return {};
    }
    const double count = static_cast<double>(loud.frames);
    return {FlooredRms(loud.left, count, floor), FlooredRms(loud.right, count, floor)};
}

ChannelLevels WholeTrackLevels(const std::vector<double>& samples, double floor)
{
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = 0; i < samples.size(); i += 2)
    {
        left += samples[i] * samples[i];
        right += samples[i + 1] * samples[i + 1];
    }
    const double frames = static_cast<double>(samples.size() / 2);
    return {FlooredRms(left, frames, floor), FlooredRms(right, frames, floor)};
}

} // namespace

BalanceCorrector::BalanceCorrector() : AddonBase(kIdentity, kTable)
{
}

// Both channels meet at the geometric mean of their levels, each moving by at
// most the largest correction, so a balanced track keeps its overall level.
// A level that is not finite (a NaN or infinite sample) gives no correction.
void BalanceCorrector::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer))
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double floor = AddonLevelFloor(context);
    ChannelLevels levels;
    if (IsOn(LoudSectionsOnly))
    {
        const std::size_t blockFrames = std::max(
            kMinimumBlockFrames, static_cast<std::size_t>(std::max(1, context.sampleRate)));
        levels = LoudBlockLevels(buffer.samples, blockFrames, floor);
    }
    if (!(levels.left > floor && levels.right > floor))
    {
        levels = WholeTrackLevels(buffer.samples, floor);
    }
    const double mean = std::sqrt(levels.left * levels.right);
    if (!std::isfinite(mean) || mean <= floor)
    {
        return;
    }
    const double c = ClampToRange(Value(MaxCorrectionDb), 0.5, 12.0);
    const double leftDb = ClampToRange(20.0 * std::log10(mean / levels.left), -c, c);
    const double rightDb = ClampToRange(20.0 * std::log10(mean / levels.right), -c, c);
    const double leftGain = DbToGain(a * leftDb);
    const double rightGain = DbToGain(a * rightDb);
    for (std::size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        buffer.samples[i] *= leftGain;
        buffer.samples[i + 1] *= rightGain;
    }
}
