#include "controls/graphs/graph_feed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

AudioBuffer Frames(int rate, std::size_t frames)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    audio.samples.assign(2 * frames, 0.25);
    return audio;
}

} // namespace

TEST(GraphFeed, TheCursorFrameIsHeldToTheCopy)
{
    const AudioBuffer audio = Frames(100, 50); // 0.5 s
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        double cursor;
        std::size_t frame;
    };
    const Case cases[] = {{0.0, 0}, {0.123, 12}, {0.5, 49}, {1e12, 49}, {-3, 0}, {nan, 0}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(CursorFrame(audio, c.cursor), c.frame) << c.cursor;
    }
    EXPECT_TRUE(HasAudio(audio));
    EXPECT_FALSE(HasAudio(Frames(0, 50)));
    EXPECT_FALSE(HasAudio(Frames(-48000, 50)));
    EXPECT_FALSE(HasAudio(Frames(100, 0)));
}

TEST(GraphFeed, WindowsAreCutAtBothEnds)
{
    const AudioBuffer audio = Frames(48000, 48000); // 1 s
    EXPECT_EQ(WindowFrames(audio, 0.02, 64), 960u);
    EXPECT_EQ(WindowFrames(audio, 0.0001, 64), 64u);

    // Centred keeps its length where the track allows.
    const FrameRange start = CentredWindow(audio, 0.0, 960);
    EXPECT_EQ(start.begin, 0u);
    EXPECT_EQ(start.size(), 960u);
    const FrameRange end = CentredWindow(audio, 5.0, 960);
    EXPECT_EQ(end.begin, 47999u - 480);
    EXPECT_EQ(end.end, 48000u);

    // Symmetric: `half` each side of the cursor frame.
    const FrameRange middle = SymmetricWindow(audio, 0.5, 1320);
    EXPECT_EQ(middle.begin, 24000u - 1320);
    EXPECT_EQ(middle.size(), 2640u);
    EXPECT_EQ(SymmetricWindow(audio, 0.0, 1320).size(), 1320u);
}

TEST(GraphFeed, SameAudioComparesRateAndEverySample)
{
    AudioBuffer a = Frames(100, 4);
    AudioBuffer b = a;
    EXPECT_TRUE(SameAudio(a, b));
    b.sampleRate = 200;
    EXPECT_FALSE(SameAudio(a, b));
    b = a;
    b.samples[7] = 0.5;
    EXPECT_FALSE(SameAudio(a, b));
    a.samples[0] = std::nan("");
    EXPECT_FALSE(SameAudio(a, a)) << "a NaN never compares equal";
    EXPECT_EQ(Finite(std::nan("")), 0.0);
    EXPECT_EQ(Finite(-INFINITY), 0.0);
    EXPECT_EQ(Finite(-0.5), -0.5);
}
