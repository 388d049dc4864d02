#include "controls/base/painting_helpers.h"
#include "controls/graphs/energy_delta_graph_wnd.h"
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

// A sine on the middle of every band, falling 1.5 dB a band; `tiltDb` is
// added at the top band and spread linearly down to the bottom one, with
// `notchDb` on band 8.
AudioBuffer Chord(double tiltDb, double notchDb)
{
    const auto bands = EnergyBandsFor(kRate);
    AudioBuffer audio = StereoSine(0, kRate, 1.0, 0.0);
    for (std::size_t t = 0; t < kEnergyBands; ++t)
    {
        const double hz = std::sqrt(bands[t].lowHz * bands[t].highHz);
        double db = -8 - 1.5 * double(t) + tiltDb * (double(t) / 17.0 - 0.5);
        db += t == 8 ? notchDb : 0.0;
        const double amplitude = std::pow(10.0, db / 20);
        for (std::size_t i = 0; i < audio.FrameCount(); ++i)
        {
            const double x = amplitude * std::sin(2 * std::numbers::pi * hz * double(i) / kRate);
            audio.samples[2 * i] += x;
            audio.samples[2 * i + 1] += x;
        }
    }
    return audio;
}

std::unique_ptr<Gdiplus::Bitmap> Picture(const CEnergyDeltaGraphWnd::State& state,
                                         const std::string& name = "")
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(state.size.cx, state.size.cy);
    Gdiplus::Graphics graphics(bitmap.get());
    PrepareControlGraphics(graphics);
    CEnergyDeltaGraphWnd::Draw(graphics, state);
    if (!name.empty())
    {
        EXPECT_TRUE(SaveControlPicture(*bitmap, name));
    }
    return bitmap;
}

// How far up from the middle line (Delta) column `x` is drawn red.
int RedReach(Gdiplus::Bitmap& bitmap, int x, int middle)
{
    int top = middle;
    for (int y = middle; y > 0; --y)
    {
        const COLORREF c = PixelAt(bitmap, x, y);
        if (GetRValue(c) > GetBValue(c) + 40)
        {
            top = y;
        }
    }
    return middle - top;
}

} // namespace

TEST(EnergyDeltaGraphDraw, DeltaBarsScaleToTheLargestDifference)
{
    // At 480 x 260 the plot is 444 x 186 from (18, 30): middle line at y 123,
    // slots 24.67 wide, a bar 18.67 wide in each.
    CEnergyDeltaGraphWnd::State state;
    state.size = CSize(480, 260);
    state.bars.delta = true;
    const int middle = 123;
    const int slot2 = int(18 + 2.5 * 444.0 / 18);

    state.bars.values.fill(0.0);
    const auto flat = Picture(state);
    EXPECT_EQ(RedReach(*flat, slot2, middle), 0) << "identical buffers draw no bars";

    struct Case
    {
        double valueDb;
        double scaleDb;
        double reach; // pixels above the middle line
    };
    const Case cases[] = {
        {10, 10, 0.34 * 186},         // the full delta reaches 0.34 of the plot
        {0.4, 0.4, 0.34 * 186 / 7.5}, // below 0.5 dB the scale is 3 dB
        {1.5, 3, 0.34 * 186 / 2},
    };
    for (const Case& c : cases)
    {
        state.bars.values.fill(0.0);
        state.bars.values[2] = c.valueDb;
        state.bars.scaleDb = c.scaleDb;
        const auto bitmap = Picture(state);
        EXPECT_NEAR(RedReach(*bitmap, slot2, middle), c.reach, 1.5) << c.valueDb << " dB";
    }
}

TEST(EnergyDeltaGraphDraw, TooSmallAPlotShowsTheTitleOnly)
{
    // 175 wide leaves a plot of 139; 163 high one of 89.
    for (const CSize size : {CSize(175, 300), CSize(400, 163), CSize(20, 20)})
    {
        CEnergyDeltaGraphWnd::State full{size, EnergyBarsOf(Chord(0, 0), Chord(9, -12), 0.5, 0.12)};
        CEnergyDeltaGraphWnd::State flat{size, {}};
        flat.bars.delta = true;
        const auto drawn = Picture(full);
        const auto title = Picture(flat);
        EXPECT_EQ(DifferingPixels(*drawn, *title), 0) << size.cx << " x " << size.cy;
    }
}

TEST(EnergyDeltaGraphDraw, PicturesInDeltaAndProfile)
{
    const AudioBuffer source = Chord(0, 0);
    const AudioBuffer processed = Chord(9, -12);
    for (const CSize size : {CSize(480, 260), CSize(960, 400)})
    {
        const std::string suffix = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        CEnergyDeltaGraphWnd::State delta{size, EnergyBarsOf(source, processed, 0.5, 0.12)};
        Picture(delta, "energy_delta_" + suffix);
        CEnergyDeltaGraphWnd::State profile{size, EnergyBarsOf(source, AudioBuffer{}, 0.5, 0.12)};
        Picture(profile, "energy_profile_" + suffix);
        CEnergyDeltaGraphWnd::State none{size, EnergyBarsOf(AudioBuffer{}, AudioBuffer{}, 0, 0.12)};
        Picture(none, "energy_no_audio_" + suffix);
    }
}

class EnergyDeltaGraphWindow : public ControlTest
{
};

TEST_F(EnergyDeltaGraphWindow, FeedsRepaintOnRealChangesAndHoldTheWindow)
{
    CEnergyDeltaGraphWnd graph;
    ASSERT_TRUE(graph.Create(&parent, CRect(10, 10, 490, 270)));
    EXPECT_EQ(graph.GetDlgCtrlID(), 12962);
    EXPECT_EQ(graph.windowSec, 0.12);
    Settle();
    graph.SetSourceAudio(Chord(0, 0));
    graph.SetProcessedAudio(Chord(6, 0));
    graph.SetCursor(0.5);
    EXPECT_TRUE(graph.GetState().bars.delta);
    graph.UpdateWindow();

    graph.SetCursor(0.50005);
    graph.SetWindowSeconds(0.12005);
    graph.SetPlaying(false);
    graph.SetCursor(std::nan(""));
    graph.SetWindowSeconds(std::nan(""));
    EXPECT_FALSE(::GetUpdateRect(graph.GetSafeHwnd(), nullptr, FALSE)) << "nothing moved enough";
    EXPECT_EQ(graph.cursorSec, 0.5);

    struct Case
    {
        double input;
        double stored;
    };
    const Case windows[] = {{1.0, 0.25}, {0.001, 0.02}, {0.08, 0.08}, {-3, 0.02}};
    for (const Case& c : windows)
    {
        graph.SetWindowSeconds(c.input);
        EXPECT_EQ(graph.windowSec, c.stored) << c.input;
    }
    graph.SetCursor(-2);
    EXPECT_EQ(graph.cursorSec, 0.0);
    EXPECT_TRUE(::GetUpdateRect(graph.GetSafeHwnd(), nullptr, FALSE));
}
