#include "controls/base/painting_helpers.h"
#include "controls/graphs/stereo_field_graph_wnd.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

namespace
{

constexpr int kRate = 48000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A second of stereo at 48 kHz, each frame's channels given by `channels` of
// a 1 kHz sine of amplitude 0.5 and of the time.
AudioBuffer Stereo(const std::function<std::pair<double, double>(double x, double t)>& channels,
                   std::size_t frames = kRate)
{
    AudioBuffer audio;
    audio.sampleRate = kRate;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / kRate;
        const auto [left, right] = channels(0.5 * std::sin(2 * std::numbers::pi * 1000 * t), t);
        audio.samples.push_back(left);
        audio.samples.push_back(right);
    }
    return audio;
}

const auto kMono = [](double x, double) { return std::pair{x, x}; };
const auto kLeftOnly = [](double x, double) { return std::pair{x, 0.0}; };
const auto kRightOnly = [](double x, double) { return std::pair{0.0, x}; };
// Leans left in the first half second, right in the second.
const auto kSwaying = [](double x, double t) {
    return t < 0.5 ? std::pair{x, 0.4 * x} : std::pair{0.2 * x, x};
};
// Two channels of unrelated content: energy all across the field.
const auto kWide = [](double x, double t) {
    return std::pair{x, 0.45 * std::sin(2 * std::numbers::pi * 1370 * t + 0.3)};
};

AudioBuffer OneFrame(double left, double right)
{
    AudioBuffer audio;
    audio.sampleRate = kRate;
    audio.samples = {left, right};
    return audio;
}

CStereoFieldGraphWnd::State StateAt(CSize size)
{
    CStereoFieldGraphWnd::State state;
    state.size = size;
    return state;
}

} // namespace

TEST(StereoFieldAnalysis, AFrameFallsInTheBinOfItsPositionWithHalfItsLevel)
{
    struct Case
    {
        double left;
        double right;
        std::size_t bin;
        double value;
    };
    // NaN and inf count as 0, so the other channel alone places the frame.
    const Case cases[] = {{0.5, 0.5, 60, 0.5},
                          {0.5, 0, 0, 0.25},
                          {0, -0.5, 120, 0.25},
                          {kNaN, 0.5, 120, 0.25},
                          {0.5, INFINITY, 0, 0.25}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.left << ", " << c.right);
        const PolarDistribution bins = StereoPolarDistribution(OneFrame(c.left, c.right), 0, 0.055);
        // The end bins are not smoothed; an inner one keeps 0.56 and lends 0.22 each side.
        const bool end = c.bin == 0 || c.bin == 120;
        EXPECT_DOUBLE_EQ(bins[c.bin], end ? c.value : 0.56 * c.value);
        const std::size_t inner = c.bin == 0 ? 1 : c.bin - 1;
        EXPECT_DOUBLE_EQ(bins[inner], 0.22 * c.value);
    }
    const PolarDistribution silent = StereoPolarDistribution(OneFrame(1e-7, 0), 0, 0.055);
    EXPECT_EQ(*std::max_element(silent.begin(), silent.end()), 0.0);
}

TEST(StereoFieldAnalysis, MonoIsANarrowLobeStraightUp)
{
    const PolarDistribution bins = StereoPolarDistribution(Stereo(kMono), 0.5, 0.055);
    EXPECT_NEAR(bins[60], 0.56 * 0.5, 1e-3);
    EXPECT_EQ(bins[58], 0.0);
    EXPECT_EQ(bins[62], 0.0);
}

TEST(StereoFieldAnalysis, BandCornersStayBelowTheNyquistFrequency)
{
    struct Case
    {
        double rate;
        double lowHz;
        double highHz;
        double cornerLow;
        double cornerHigh;
    };
    const Case cases[] = {
        {48000, 350, 2400, 350, 2400}, // Mids
        {48000, 2400, 0, 2400, 2400},  // Highs: both filters at 2400 Hz
        {1000, 2400, 0, 475, 475},     // held to 0.475 x rate
        {1000, 350, 2400, 350, 490},   // the upper corner at 0.49 x rate
        {1000, 480, 2400, 475, 495},   // and 20 Hz above the lower one
    };
    for (const Case& c : cases)
    {
        const BandCorners corners = BalanceBandCorners(c.rate, c.lowHz, c.highHz);
        EXPECT_DOUBLE_EQ(corners.lowHz, c.cornerLow) << c.rate << " " << c.lowHz;
        EXPECT_DOUBLE_EQ(corners.highHz, c.cornerHigh) << c.rate << " " << c.lowHz;
    }
}

TEST(StereoFieldAnalysis, BalanceFollowsWhereTheBandSits)
{
    struct Case
    {
        const char* name;
        AudioBuffer audio;
        double mean;
    };
    const Case cases[] = {{"hard right", Stereo(kRightOnly), 1.0},
                          {"hard left", Stereo(kLeftOnly), -1.0},
                          {"centre", Stereo(kMono), 0.0}};
    for (const Case& c : cases)
    {
        for (const auto [low, high] : {std::pair{350.0, 2400.0}, std::pair{2400.0, 0.0}})
        {
            const BandBalance balance = StereoBandBalance(c.audio, 0.5, 0.055, low, high);
            EXPECT_TRUE(balance.valid) << c.name << " " << low;
            EXPECT_NEAR(balance.mean, c.mean, 1e-6) << c.name << " " << low;
        }
    }
    // Between: the level-weighted position of the band.
    const auto leaning = [](double x, double) { return std::pair{0.5 * x, x}; };
    EXPECT_NEAR(StereoBandBalance(Stereo(leaning), 0.5, 0.055, 350, 2400).mean, 1.0 / 3, 1e-3);

    const auto silence = [](double, double) { return std::pair{0.0, 0.0}; };
    const auto whisper = [](double x, double) { return std::pair{0.01 * x, 0.01 * x}; };
    EXPECT_FALSE(StereoBandBalance(Stereo(silence), 0.5, 0.055, 350, 2400).valid);
    EXPECT_FALSE(StereoBandBalance(Stereo(whisper), 0.5, 0.055, 350, 2400).valid)
        << "no frame weighs 0.01";
    AudioBuffer poisoned = Stereo(kRightOnly);
    for (std::size_t i = 0; i < poisoned.samples.size(); i += 101)
    {
        poisoned.samples[i] = i % 2 == 0 ? kNaN : -INFINITY;
    }
    const BandBalance survived = StereoBandBalance(poisoned, 0.5, 0.055, 350, 2400);
    EXPECT_TRUE(survived.valid);
    EXPECT_NEAR(survived.mean, 1.0, 0.05) << "a non-finite sample does not poison the filters";
}

TEST(StereoFieldAnalysis, AHeldRangeStartsAtOneValueAndWidens)
{
    HeldRange range;
    range = Widened(range, 0.3);
    EXPECT_TRUE(range.held);
    EXPECT_FLOAT_EQ(range.min, 0.3f);
    EXPECT_FLOAT_EQ(range.max, 0.3f);
    range = Widened(Widened(range, -0.2), 0.1);
    EXPECT_FLOAT_EQ(range.min, -0.2f);
    EXPECT_FLOAT_EQ(range.max, 0.3f);
}

TEST(StereoFieldAnalysis, BadInputGivesFiniteResults)
{
    std::vector<AudioBuffer> buffers = {AudioBuffer{}, Stereo(kWide, 1)};
    buffers[1].samples.pop_back(); // one sample
    for (const int rate : {0, -48000, 1})
    {
        AudioBuffer odd = Stereo(kWide, 200);
        odd.sampleRate = rate;
        buffers.push_back(odd);
    }
    AudioBuffer poisoned = Stereo(kWide, 4800);
    for (std::size_t i = 0; i < poisoned.samples.size(); i += 3)
    {
        poisoned.samples[i] = i % 2 == 0 ? kNaN : INFINITY;
    }
    buffers.push_back(poisoned);
    for (const AudioBuffer& audio : buffers)
    {
        for (const double cursor : {kNaN, -1.0, 99.0, 0.05})
        {
            for (const double window : {kNaN, 0.001, 1.0, 0.055})
            {
                for (const double bin : StereoPolarDistribution(audio, cursor, window))
                {
                    ASSERT_TRUE(std::isfinite(bin));
                }
                const BandBalance balance = StereoBandBalance(audio, cursor, window, 350, 2400);
                ASSERT_TRUE(std::isfinite(balance.mean));
            }
        }
    }
}

class StereoFieldGraphWindow : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        ASSERT_TRUE(graph.Create(&parent, CRect(10, 10, 370, 230), 18337));
        Settle();
    }

    // Shows the cursor's window and paints it, as the owner's feed does.
    void PaintAt(double cursorSec)
    {
        graph.SetCursor(cursorSec);
        graph.UpdateWindow();
    }

    CStereoFieldGraphWnd graph;
};

TEST_F(StereoFieldGraphWindow, MonoHoldsBothNeedlesStraightUp)
{
    graph.SetSourceAudio(Stereo(kMono));
    graph.SetProcessedAudio(Stereo(kMono));
    EXPECT_FALSE(graph.highsHeld) << "held ranges change only when painting";
    PaintAt(0.5);
    ASSERT_TRUE(graph.highsHeld);
    ASSERT_TRUE(graph.midsHeld);
    EXPECT_NEAR(graph.highsMin, 0.0f, 1e-6f);
    EXPECT_NEAR(graph.highsMax, 0.0f, 1e-6f);
    EXPECT_NEAR(graph.midsMin, 0.0f, 1e-6f);
    EXPECT_NEAR(graph.midsMax, 0.0f, 1e-6f);
}

TEST_F(StereoFieldGraphWindow, CursorMovesWidenTheHeldRangesAndANewWindowClearsThem)
{
    graph.SetProcessedAudio(Stereo(kSwaying));
    PaintAt(0.25);
    ASSERT_TRUE(graph.midsHeld);
    const float leftLean = graph.midsMin;
    EXPECT_LT(leftLean, -0.3f);
    EXPECT_EQ(graph.midsMax, leftLean);
    PaintAt(0.75);
    EXPECT_EQ(graph.midsMin, leftLean) << "the range keeps what it saw";
    EXPECT_GT(graph.midsMax, 0.5f) << "and widens to the new balance";
    EXPECT_GT(graph.highsMax, graph.highsMin);

    graph.SetWindowSeconds(0.055); // no change
    EXPECT_TRUE(graph.midsHeld);
    graph.SetWindowSeconds(0.08);
    EXPECT_FALSE(graph.midsHeld);
    EXPECT_FALSE(graph.highsHeld);
    EXPECT_EQ(graph.midsMin, 0.0f);
    EXPECT_EQ(graph.highsMax, 0.0f);

    // The same processed copy again keeps the ranges; another one clears them.
    PaintAt(0.75);
    graph.SetProcessedAudio(Stereo(kSwaying));
    EXPECT_TRUE(graph.midsHeld);
    graph.SetProcessedAudio(Stereo(kMono));
    EXPECT_FALSE(graph.midsHeld);
}

TEST_F(StereoFieldGraphWindow, NaNCursorAndWindowAreIgnored)
{
    graph.SetCursor(0.3);
    graph.SetCursor(kNaN);
    EXPECT_EQ(graph.cursorSec, 0.3);
    graph.SetCursor(-3);
    EXPECT_EQ(graph.cursorSec, 0.0);
    graph.SetWindowSeconds(kNaN);
    EXPECT_EQ(graph.windowSec, 0.055);
    graph.SetWindowSeconds(1.0);
    EXPECT_EQ(graph.windowSec, 0.25);
    graph.SetWindowSeconds(0.001);
    EXPECT_EQ(graph.windowSec, 0.02);
}

TEST_F(StereoFieldGraphWindow, SilenceAndASmallClientDrawNoNeedles)
{
    const auto silence = [](double, double) { return std::pair{0.0, 0.0}; };
    graph.SetProcessedAudio(Stereo(silence));
    PaintAt(0.5);
    EXPECT_FALSE(graph.highsHeld);
    EXPECT_FALSE(graph.GetState().mids.shown);

    // Rd = min((40 - 36) / 2, 40 - 76) <= 20: title and legend only, nothing held.
    graph.SetProcessedAudio(Stereo(kMono));
    graph.MoveWindow(10, 10, 40, 40);
    PaintAt(0.5);
    EXPECT_FALSE(graph.highsHeld);
    EXPECT_LE(CStereoFieldGraphWnd::FieldRadius(CSize(360, 95)), 20);
    EXPECT_GT(CStereoFieldGraphWnd::FieldRadius(CSize(360, 97)), 20);

    CStereoFieldGraphWnd::State fed = graph.GetState();
    CStereoFieldGraphWnd::State empty = StateAt(fed.size);
    Gdiplus::Bitmap withAudio(40, 40);
    Gdiplus::Bitmap without(40, 40);
    for (auto [bitmap, state] : {std::pair{&withAudio, &fed}, std::pair{&without, &empty}})
    {
        Gdiplus::Graphics graphics(bitmap);
        PrepareControlGraphics(graphics);
        CStereoFieldGraphWnd::Draw(graphics, *state);
    }
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 40; ++x)
        {
            ASSERT_EQ(PixelAt(withAudio, x, y), PixelAt(without, x, y)) << x << ", " << y;
        }
    }
}

TEST(StereoFieldGraphDraw, AOneValueRangeStillDrawsAFourDegreePie)
{
    // Only the Highs indicator, its range a single value straight up.
    CStereoFieldGraphWnd::State state = StateAt(CSize(360, 220));
    CStereoFieldGraphWnd::State bare = state;
    state.highs.shown = true;
    state.highs.range = Widened(HeldRange{}, 0.0);
    const int radius = CStereoFieldGraphWnd::FieldRadius(state.size);
    const double cx = 180;
    const double cy = 220 - 40;
    Gdiplus::Bitmap shown(360, 220);
    Gdiplus::Bitmap plain(360, 220);
    for (auto [bitmap, s] : {std::pair{&shown, &state}, std::pair{&plain, &bare}})
    {
        Gdiplus::Graphics graphics(bitmap);
        PrepareControlGraphics(graphics);
        CStereoFieldGraphWnd::Draw(graphics, *s);
    }
    ASSERT_TRUE(SaveControlPicture(shown, "stereo_field_one_value_range"));
    // Sample the pie 60 % out, in the drawing library's degrees (clockwise, y down).
    const auto pixel = [&](Gdiplus::Bitmap& bitmap, double degrees)
    {
        const double radians = degrees / 180 * std::numbers::pi;
        return PixelAt(bitmap, int(std::lround(cx + std::cos(radians) * 0.6 * (radius - 4))),
                       int(std::lround(cy + std::sin(radians) * 0.6 * (radius - 4))));
    };
    // The pie runs from straight up (270) 4 degrees clockwise.
    EXPECT_NE(pixel(shown, 272.5), pixel(plain, 272.5)) << "inside the pie";
    EXPECT_EQ(pixel(shown, 264), pixel(plain, 264)) << "before it";
    EXPECT_EQ(pixel(shown, 280), pixel(plain, 280)) << "after it";
}

TEST(StereoFieldGraphPictures, MonoWideAndNoAudio)
{
    struct Material
    {
        const char* name;
        AudioBuffer source;
        AudioBuffer processed;
    };
    const auto narrower = [](double x, double t)
    {
        const auto [l, r] = kWide(x, t);
        return std::pair{0.7 * l + 0.3 * r, 0.3 * l + 0.7 * r};
    };
    const Material materials[] = {{"mono", Stereo(kMono), Stereo(kMono)},
                                  {"wide", Stereo(narrower), Stereo(kWide)},
                                  {"none", AudioBuffer{}, AudioBuffer{}}};
    for (const CSize size : {CSize(360, 220), CSize(720, 400)})
    {
        for (const Material& m : materials)
        {
            CStereoFieldGraphWnd graph;
            graph.SetSourceAudio(m.source);
            graph.SetProcessedAudio(m.processed);
            graph.SetCursor(0.2);
            graph.highsHeld = false;
            CStereoFieldGraphWnd::State state = graph.GetState();
            state.size = size;
            if (std::string(m.name) == "wide")
            {
                // As after a few paints while playing: the ranges widened.
                state.highs.range = Widened(Widened(state.highs.range, -0.35), 0.2);
                state.mids.range = Widened(Widened(state.mids.range, -0.1), 0.4);
            }
            Gdiplus::Bitmap bitmap(size.cx, size.cy);
            Gdiplus::Graphics graphics(&bitmap);
            PrepareControlGraphics(graphics);
            CStereoFieldGraphWnd::Draw(graphics, state);
            ASSERT_TRUE(SaveControlPicture(bitmap, std::string("stereo_field_") + m.name + "_" +
                                                       std::to_string(size.cx) + "x" +
                                                       std::to_string(size.cy)));
        }
    }
}
