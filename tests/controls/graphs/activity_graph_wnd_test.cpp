#include "controls/base/painting_helpers.h"
#include "controls/graphs/activity_graph_wnd.h"
#include "tests/controls/control_test_kit.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace
{

constexpr int kRate = 48000;

// A phrase that swells and falls back four times over `seconds`, louder after
// processing, with the reductions a limiter and a compressor would report.
AudioBuffer Phrase(double seconds, double level)
{
    AudioBuffer audio = StereoSine(220, kRate, seconds, 1.0);
    for (std::size_t frame = 0; frame < audio.FrameCount(); ++frame)
    {
        const double t = double(frame) / kRate;
        const double swell = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * 4 * t / seconds);
        audio.samples[2 * frame] *= level * swell;
        audio.samples[2 * frame + 1] *= level * swell * 0.9;
    }
    return audio;
}

MeterSeries Reduction(const char* key, double seconds, double deepestDb)
{
    MeterSeries series{key, 20, {}};
    for (int i = 0; i < int(seconds * 20); ++i)
    {
        const double swell = std::sin(2 * std::numbers::pi * 4 * i / (seconds * 20));
        series.values.push_back(float(std::max(0.0, deepestDb * swell)));
    }
    return series;
}

CActivityGraphWnd::State Analysed(const AudioBuffer& source, const AudioBuffer& processed,
                                  CSize size)
{
    CActivityGraphWnd::State state;
    state.size = size;
    state.hasProcessedAudio = processed.samples.size() >= 2 && processed.sampleRate > 0;
    state.derived = AnalyseActivity(source, processed);
    return state;
}

// A picture of `state`, kept under `name`.
std::unique_ptr<Gdiplus::Bitmap> Picture(const CActivityGraphWnd::State& state,
                                         const std::string& name = "")
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(state.size.cx, state.size.cy);
    Gdiplus::Graphics graphics(bitmap.get());
    PrepareControlGraphics(graphics);
    CActivityGraphWnd::Draw(graphics, state);
    if (!name.empty())
    {
        EXPECT_TRUE(SaveControlPicture(*bitmap, name));
    }
    return bitmap;
}

int Red(Gdiplus::Bitmap& bitmap, int x, int y)
{
    return GetRValue(PixelAt(bitmap, x, y));
}

// The row of column `x` where a yellow line is strongest.
int YellowestRow(Gdiplus::Bitmap& bitmap, int x)
{
    int best = 0;
    int bestYellow = -1000;
    for (int y = 0; y < int(bitmap.GetHeight()); ++y)
    {
        const COLORREF c = PixelAt(bitmap, x, y);
        const int yellow = GetRValue(c) + GetGValue(c) - 2 * GetBValue(c);
        if (yellow > bestYellow)
        {
            bestYellow = yellow;
            best = y;
        }
    }
    return best;
}

// At 480 x 260 the plot runs from x 16 to 456 and y 34 to 230: centre line at
// 132, a full value 88.2 pixels from it.
const CSize kSmall(480, 260);
constexpr int kMiddleX = 236;
constexpr double kCentreY = 132;
constexpr double kHalfHeight = 88.2;

} // namespace

TEST(ActivityGraphDraw, LimiterTraceStandsAtItsReductionOverTwelveDecibels)
{
    struct Case
    {
        float reductionDb;
        double y;
    };
    const Case cases[] = {{6.0f, kCentreY - kHalfHeight / 2}, {15.0f, kCentreY - kHalfHeight}};
    for (const Case& c : cases)
    {
        AudioBuffer processed = StereoSine(1000, kRate, 1.0, 0.0);
        processed.meterSeries = {
            MeterSeries{kLimiterReductionKey, 50, std::vector<float>(50, c.reductionDb)}};
        const auto bitmap = Picture(Analysed(AudioBuffer{}, processed, kSmall));
        EXPECT_NEAR(YellowestRow(*bitmap, 100), c.y, 1.5) << c.reductionDb << " dB";
    }
}

TEST(ActivityGraphDraw, CursorBandAndDotsStandAtTheCursor)
{
    AudioBuffer processed = StereoSine(1000, kRate, 1.0, 0.0);
    processed.meterSeries = {MeterSeries{kLimiterReductionKey, 50, std::vector<float>(50, 6.0f)}};
    CActivityGraphWnd::State state = Analysed(AudioBuffer{}, processed, kSmall);
    state.cursorFraction = 0.5;
    state.playing = true;
    const auto bitmap = Picture(state);
    EXPECT_GT(Red(*bitmap, kMiddleX, 38), 150) << "the cursor line at the middle of the plot";
    EXPECT_LT(Red(*bitmap, kMiddleX + 40, 38), 60);
    // The dot's glow disc, beside the cursor line and off the trace's own line.
    const int dotY = int(kCentreY - kHalfHeight / 2) + 5;
    EXPECT_GT(Red(*bitmap, kMiddleX - 3, dotY) - Red(*bitmap, 100, dotY), 50)
        << "the limiter's dot at the cursor";

    // Out of range or not a number: drawn at the nearest end, or the start.
    struct Case
    {
        double fraction;
        int x;
    };
    const Case cases[] = {{-1.0, 16}, {2.0, 456}, {std::numeric_limits<double>::quiet_NaN(), 16}};
    for (const Case& c : cases)
    {
        state.cursorFraction = c.fraction;
        const auto odd = Picture(state);
        EXPECT_GT(Red(*odd, c.x, 38), 150) << c.fraction;
        EXPECT_LT(Red(*odd, kMiddleX, 38), 60) << c.fraction;
    }
}

TEST(ActivityGraphDraw, ScaleAndLegendFollowTheTraces)
{
    // Silence keeps the envelopes on the centre line, out of the way.
    const AudioBuffer plain = StereoSine(1000, kRate, 1.0, 0.0);
    AudioBuffer limited = plain;
    limited.meterSeries = {MeterSeries{kLimiterReductionKey, 50, std::vector<float>(50, 3.0f)}};
    const auto brightestRed = [](Gdiplus::Bitmap& bitmap, int left, int top, int right, int bottom)
    {
        int most = 0;
        for (int y = top; y < bottom; ++y)
        {
            for (int x = left; x < right; ++x)
            {
                most = std::max(most, Red(bitmap, x, y));
            }
        }
        return most;
    };
    // "+12 dB" lies in (19, 38, 36, 10); the third legend swatch at (220, 17.5, 8, 8).
    const auto withoutTraces = Picture(Analysed(plain, plain, kSmall));
    EXPECT_LT(brightestRed(*withoutTraces, 19, 39, 55, 48), 50) << "no scale";
    EXPECT_LT(Red(*withoutTraces, 224, 21), 60) << "two legend items";
    const auto withLimiter = Picture(Analysed(plain, limited, kSmall));
    EXPECT_GT(brightestRed(*withLimiter, 19, 39, 55, 48), 70) << "the scale";
    EXPECT_GT(Red(*withLimiter, 224, 21), 200) << "the limiter's legend item";
}

TEST(ActivityGraphDraw, TooSmallAPlotShowsTheBackgroundOnly)
{
    AudioBuffer processed = StereoSine(1000, kRate, 1.0, 0.5);
    processed.meterSeries = {MeterSeries{kLimiterReductionKey, 50, std::vector<float>(50, 6.0f)}};
    // 119 wide leaves a plot under 80; 123 high one under 60.
    for (const CSize size : {CSize(119, 300), CSize(400, 123), CSize(20, 20)})
    {
        CActivityGraphWnd::State full = Analysed(AudioBuffer{}, processed, size);
        full.cursorFraction = 0.5;
        CActivityGraphWnd::State empty;
        empty.size = size;
        const auto drawn = Picture(full);
        const auto background = Picture(empty);
        EXPECT_EQ(DifferingPixels(*drawn, *background), 0) << size.cx << " x " << size.cy;
    }
}

TEST(ActivityGraphDraw, PicturesWithBothTracesAndWithoutAPreview)
{
    constexpr double kSeconds = 12;
    const AudioBuffer source = Phrase(kSeconds, 0.35);
    AudioBuffer processed = Phrase(kSeconds, 0.8);
    processed.meterSeries = {Reduction(kDynamicsReductionKey, kSeconds, 4),
                             Reduction(kLimiterReductionKey, kSeconds, 8)};
    for (const CSize size : {CSize(480, 260), CSize(960, 400)})
    {
        const std::string suffix = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        CActivityGraphWnd::State state = Analysed(source, processed, size);
        state.cursorFraction = 0.3;
        for (const bool playing : {true, false})
        {
            state.playing = playing;
            Picture(state, std::string("activity_") + (playing ? "playing_" : "still_") + suffix);
        }
        Picture(Analysed(source, AudioBuffer{}, size), "activity_no_preview_" + suffix);
    }
}

class ActivityGraphWindow : public ControlTest
{
};

TEST_F(ActivityGraphWindow, FeedsDeriveOnceAndTheCursorRepaintsOnRealMoves)
{
    CActivityGraphWnd graph;
    ASSERT_TRUE(graph.Create(&parent, CRect(10, 10, 490, 270)));
    EXPECT_EQ(graph.GetDlgCtrlID(), 12965);
    Settle();
    graph.SetSourceAudio(StereoSine(1000, kRate, 2.0, 0.25));
    AudioBuffer processed = StereoSine(1000, kRate, 1.5, 0.5); // shorter than the source
    processed.meterSeries = {MeterSeries{kLimiterReductionKey, 10, std::vector<float>(15, 6.0f)}};
    graph.SetProcessedAudio(processed);
    EXPECT_EQ(graph.derived.processedEnvelope.size(), kActivityColumns);
    EXPECT_TRUE(graph.derived.hasLimiterTrace);
    EXPECT_DOUBLE_EQ(graph.derived.durationSec, 1.5);
    EXPECT_TRUE(graph.GetState().hasProcessedAudio);

    graph.UpdateWindow();
    graph.SetCursorFraction(5e-7);
    graph.SetPlaying(false);
    EXPECT_FALSE(::GetUpdateRect(graph.GetSafeHwnd(), nullptr, FALSE)) << "nothing moved";
    graph.SetCursorFraction(0.25);
    EXPECT_TRUE(::GetUpdateRect(graph.GetSafeHwnd(), nullptr, FALSE));
    EXPECT_EQ(graph.cursorFraction, 0.25);

    graph.SetProcessedAudio(AudioBuffer{});
    EXPECT_FALSE(graph.GetState().hasProcessedAudio) << "the message replaces the graph";
    EXPECT_FALSE(graph.derived.hasLimiterTrace);
    EXPECT_DOUBLE_EQ(graph.derived.durationSec, 2.0) << "the source's length then";
}
