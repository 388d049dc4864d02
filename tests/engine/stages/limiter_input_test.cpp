#include "engine/stages/limiter_input.h"

#include "tests/engine/stages/limiter_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(OversampledBlockPeak, BlocksReadTheSameTruePeakAsTheWholeBufferUpsampled)
{
    // Several blocks and a short last one; a loud block in the middle and a
    // quiet fade at the ends, so some blocks are settled by their bound alone.
    const size_t frames = 3 * kPeakBlockFrames + 777;
    AudioBuffer buffer = MusicLikeBursts(48000, static_cast<double>(frames) / 48000.0, 1.3, 41);
    buffer.samples.resize(2 * frames, 0.0);
    for (const int factor : {2, 4})
    {
        const Oversampler oversampler({factor, 32, 0.94});
        const AudioBuffer up = oversampler.Upsample(buffer);
        const std::vector<double> bounds = OversampledBlockPeakBounds(buffer, oversampler);
        ASSERT_EQ(bounds.size(), PeakBlockCount(buffer));
        EXPECT_EQ(*std::max_element(bounds.begin(), bounds.end()), SamplePeak(up))
            << "factor " << factor;
        for (size_t b = 0; b < bounds.size(); ++b)
        {
            const size_t begin = 2 * factor * b * kPeakBlockFrames;
            const size_t end = std::min(up.samples.size(), begin + 2 * factor * kPeakBlockFrames);
            double blockPeak = 0.0;
            for (size_t k = begin; k < end; ++k)
            {
                blockPeak = std::max(blockPeak, std::fabs(up.samples[k]));
            }
            EXPECT_EQ(OversampledBlockPeak(buffer, oversampler, b), blockPeak) << "block " << b;
            EXPECT_GE(bounds[b], blockPeak) << "block " << b << " bound under its peak";
        }
    }
}

TEST(FramePeak, NonFiniteFramesReadSilence)
{
    const double samples[] = {0.5, -0.7, std::nan(""), 0.1, 0.2, -INFINITY};
    EXPECT_EQ(FramePeak(samples, 0), 0.7);
    EXPECT_EQ(FramePeak(samples, 1), 0.0);
    EXPECT_EQ(FramePeak(samples, 2), 0.0);
}
