#include "controls/waveform/waveform_peaks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

AudioBuffer Frames(std::size_t frames, int rate = 48000)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    audio.samples.assign(2 * frames, 0.25);
    return audio;
}

} // namespace

TEST(WaveformPeaks, ColumnsFollowTheFrameCountUpTo2048)
{
    struct Case
    {
        std::size_t frames;
        std::size_t columns;
    };
    for (const Case c :
         {Case{1, 1}, Case{10, 10}, Case{2048, 2048}, Case{2049, 2048}, Case{1'000'000, 2048}})
    {
        const WaveformPeaks peaks = DecimatePeaks(Frames(c.frames));
        EXPECT_EQ(peaks.left.size(), c.columns) << c.frames;
        EXPECT_EQ(peaks.right.size(), c.columns);
        EXPECT_EQ(peaks.peak.size(), c.columns);
        EXPECT_TRUE(peaks.valid);
    }
    const ColumnFrames first = PeakColumnFrames(0, 2048, 1'000'000);
    EXPECT_EQ(first.begin, 0u);
    EXPECT_EQ(first.end, 488u) << "the first column covers frames 0 to 487";
}

TEST(WaveformPeaks, ColumnBoundsStayExactAndContiguousForBillionsOfFrames)
{
    for (const std::uint64_t frames : {std::uint64_t(3'000'000'000), std::uint64_t(1) << 52})
    {
        std::uint64_t expected = 0;
        for (std::uint64_t i = 0; i < kMaxPeakColumns; ++i)
        {
            const ColumnFrames range = PeakColumnFrames(i, kMaxPeakColumns, frames);
            ASSERT_EQ(range.begin, expected) << i;
            ASSERT_GT(range.end, range.begin);
            expected = range.end;
        }
        EXPECT_EQ(expected, frames) << "the last column ends at the last frame";
    }
    EXPECT_EQ(PeakColumnFrames(1024, 2048, 3'000'000'000).begin, 1'500'000'000u);
}

TEST(WaveformPeaks, KeepsTheLoudestSampleOfEachChannelWithinFullScale)
{
    AudioBuffer audio = Frames(4);
    audio.samples = {0.1, -0.3, -1.7, 0.2, 0.5, -0.6, 0.0, 0.0, 0.9}; // odd: 0.9 is no frame
    const WaveformPeaks peaks = DecimatePeaks(audio);
    ASSERT_EQ(peaks.left.size(), 4u);
    EXPECT_FLOAT_EQ(peaks.left[1], 1.0f) << "-1.7 stores full scale";
    EXPECT_FLOAT_EQ(peaks.right[1], 0.2f);
    EXPECT_FLOAT_EQ(peaks.peak[1], 1.0f);
    EXPECT_FLOAT_EQ(peaks.right[2], 0.6f);
    EXPECT_FLOAT_EQ(peaks.peak[0], 0.3f);
    EXPECT_FLOAT_EQ(peaks.left[3], 0.0f) << "the trailing odd sample is not read";
}

TEST(WaveformPeaks, NonFiniteSamplesCountAsSilence)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    AudioBuffer audio = Frames(3);
    audio.samples = {nan, 0.4, inf, -inf, 0.3, nan};
    const WaveformPeaks peaks = DecimatePeaks(audio);
    for (std::size_t i = 0; i < 3; ++i)
    {
        for (const float v : {peaks.left[i], peaks.right[i], peaks.peak[i]})
        {
            EXPECT_TRUE(std::isfinite(v) && v >= 0.0f && v <= 1.0f) << i << ": " << v;
        }
    }
    EXPECT_FLOAT_EQ(peaks.left[0], 0.0f);
    EXPECT_FLOAT_EQ(peaks.peak[0], 0.4f);
    EXPECT_FLOAT_EQ(peaks.peak[1], 0.0f);
    EXPECT_FLOAT_EQ(peaks.left[2], 0.3f);
}

TEST(WaveformPeaks, NoFramesGiveNoColumnsAndARateBelowOneGivesOneSecond)
{
    struct Case
    {
        std::size_t samples;
        int rate;
        std::size_t columns;
        double seconds;
    };
    for (const Case c :
         {Case{0, 48000, 0, 1.0}, Case{1, 48000, 0, 1.0}, Case{3, 48000, 1, 1 / 48000.0},
          Case{96000, 48000, 2048, 1.0}, Case{20, 0, 10, 1.0}, Case{20, -44100, 10, 1.0},
          Case{20, 10, 10, 1.0}, Case{48000 * 6, 48000, 2048, 3.0}})
    {
        AudioBuffer audio;
        audio.sampleRate = c.rate;
        audio.samples.assign(c.samples, -0.5);
        const WaveformPeaks peaks = DecimatePeaks(audio);
        EXPECT_EQ(peaks.left.size(), c.columns) << c.samples << " at " << c.rate;
        EXPECT_EQ(peaks.valid, c.columns > 0);
        EXPECT_DOUBLE_EQ(PeakTrackSeconds(audio), c.seconds) << c.samples << " at " << c.rate;
    }
}
