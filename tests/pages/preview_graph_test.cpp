// The preview graph: its envelopes, lanes and caption as pure functions, the
// window's feeding rules, then its pictures.

#include "pages/chain_position_color.h"
#include "pages/preview_graph_wnd.h"

#include "controls/base/painting_helpers.h"
#include "tests/controls/control_test_kit.h"
#include "tests/pages/page_test_kit.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A buffer whose frame i holds `levels[i]` on both channels.
AudioBuffer Frames(const std::vector<double>& levels, int rate)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    for (const double level : levels)
    {
        audio.samples.push_back(level);
        audio.samples.push_back(level);
    }
    return audio;
}

MeterSeries Series(const std::string& key, double rate, std::vector<float> values)
{
    return {key, rate, std::move(values)};
}

// Ten seconds of a sine whose level swells and falls twice a second, with
// both gain-reduction series at 100 values a second.
AudioBuffer Preview(double level, bool limiter, bool dynamics)
{
    constexpr int kRate = 48000;
    AudioBuffer audio = StereoSine(220, kRate, 10.0, 1.0);
    for (std::size_t i = 0; i < audio.FrameCount(); ++i)
    {
        const double t = double(i) / kRate;
        const double swell = level * (0.55 + 0.45 * std::sin(2 * std::numbers::pi * 2 * t));
        audio.samples[2 * i] *= swell;
        audio.samples[2 * i + 1] *= swell;
    }
    std::vector<float> limited(1000);
    std::vector<float> compressed(1000);
    for (std::size_t i = 0; i < limited.size(); ++i)
    {
        const double t = double(i) / 100;
        limited[i] = float(std::max(0.0, 6 * std::sin(2 * std::numbers::pi * 2 * t)));
        compressed[i] = float(3 + 2.5 * std::sin(2 * std::numbers::pi * 0.7 * t));
    }
    if (limiter)
    {
        audio.meterSeries.push_back(Series("stage4.gain_reduction_db", 100, limited));
    }
    if (dynamics)
    {
        audio.meterSeries.push_back(Series("dynamics.gain_reduction_db", 100, compressed));
    }
    return audio;
}

std::unique_ptr<Gdiplus::Bitmap> Drawn(const CPreviewGraphWnd::State& state,
                                       const std::string& name = "")
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(std::max<int>(state.size.cx, 1),
                                                    std::max<int>(state.size.cy, 1));
    Gdiplus::Graphics graphics(bitmap.get());
    PrepareControlGraphics(graphics);
    CPreviewGraphWnd::Draw(graphics, state);
    if (!name.empty())
    {
        EXPECT_TRUE(SaveControlPicture(*bitmap, name));
    }
    return bitmap;
}

std::vector<std::string> LaneLabels(const PreviewGraphScene& scene)
{
    std::vector<std::string> labels;
    for (const PreviewLane& lane : scene.lanes)
    {
        labels.push_back(lane.label == std::wstring(L"Limiter GR") ? "limiter" : "dynamics");
    }
    return labels;
}

bool SamePoints(const std::vector<Gdiplus::PointF>& a, const std::vector<Gdiplus::PointF>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Gdiplus::PointF& p, const Gdiplus::PointF& q)
                      { return p.X == q.X && p.Y == q.Y; });
}

bool AllFinite(const std::vector<Gdiplus::PointF>& points)
{
    for (const Gdiplus::PointF& p : points)
    {
        if (!std::isfinite(p.X) || !std::isfinite(p.Y))
        {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(PreviewEnvelope, SmoothsAStepUpFastAndDownSlowThenBlursTheInnerColumns)
{
    // Four frames at 4 Hz over one second: one frame a column.
    struct Case
    {
        std::vector<double> frames;
        std::vector<double> expected;
    };
    const Case cases[] = {
        // follow: 0, 0, 0.62, 0.8556; blur of the inner two
        {{0, 0, 1, 1}, {0, 0.24 * 0.62, 0.52 * 0.62 + 0.24 * 0.8556, 0.8556}},
        // follow: 1, 1, 0.82, 0.6724
        {{1, 1, 0, 0}, {1, 0.24 + 0.52 + 0.24 * 0.82, 0.24 + 0.52 * 0.82 + 0.24 * 0.6724, 0.6724}},
        // mono is |(left + right) / 2|; above 1 counts as 1; not finite as 0
        // follow: 0.5, 0.5, 0.81, 0.6642
        {{-0.5, -0.5, 3, kNaN},
         {0.5, 0.24 * 0.5 + 0.52 * 0.5 + 0.24 * 0.81, 0.24 * 0.5 + 0.52 * 0.81 + 0.24 * 0.6642,
          0.6642}},
    };
    for (const Case& c : cases)
    {
        const auto envelope = PreviewEnvelope(Frames(c.frames, 4), 0, 1, 4, EnvelopeMode::Peak);
        ASSERT_EQ(envelope.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i)
        {
            EXPECT_NEAR(envelope[i], c.expected[i], 1e-12) << "column " << i;
        }
    }
    // One column over frames [0, 2): the RMS is the root of the mean square.
    const AudioBuffer pair = Frames({0.6, 0.8, 0.1, 0.1}, 4);
    EXPECT_NEAR(PreviewEnvelope(pair, 0, 0.5, 1, EnvelopeMode::Rms)[0], std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(PreviewEnvelope(pair, 0, 0.5, 1, EnvelopeMode::Peak)[0], 0.8, 1e-12);
}

TEST(PreviewEnvelope, ColumnsOutsideTheAudioUseItsFirstOrLastFrame)
{
    const AudioBuffer audio = Frames({0.5, 0.9, 0.9, 0.25}, 4);
    for (const EnvelopeMode mode : {EnvelopeMode::Peak, EnvelopeMode::Rms})
    {
        for (const double v : PreviewEnvelope(audio, -3, 2, 16, mode))
        {
            EXPECT_NEAR(v, 0.5, 1e-12) << "before 0 s";
        }
        for (const double v : PreviewEnvelope(audio, 1.5, 2, 16, mode))
        {
            EXPECT_NEAR(v, 0.25, 1e-12) << "past the end";
        }
    }
}

TEST(PreviewEnvelope, BuffersWithoutARateOrAFrameGiveZeros)
{
    const AudioBuffer cases[] = {AudioBuffer{}, Frames({0.7, 0.7}, 0), Frames({0.7}, -5),
                                 []
                                 {
                                     AudioBuffer half = Frames({}, 48000);
                                     half.samples = {0.7};
                                     return half;
                                 }()};
    for (const AudioBuffer& audio : cases)
    {
        EXPECT_EQ(PreviewEnvelope(audio, 0, 1, 5, EnvelopeMode::Peak), std::vector<double>(5, 0.0));
    }
    // One frame is enough: every column reads it.
    for (const double v : PreviewEnvelope(Frames({0.4}, 10), -1, 3, 3, EnvelopeMode::Peak))
    {
        EXPECT_NEAR(v, 0.4, 1e-12);
    }
}

TEST(PreviewLane, CatmullRomMeetsItsPointsAndSmoothsInnerPoints)
{
    EXPECT_DOUBLE_EQ(CatmullRom(1, 4, 9, 2, 0), 4);
    EXPECT_DOUBLE_EQ(CatmullRom(1, 4, 9, 2, 0.5), (-1 + 9 * 4 + 9 * 9 - 2) / 16.0);
    EXPECT_DOUBLE_EQ(CatmullRom(1, 4, 9, 2, 1), 9);

    // At whole positions the values themselves, 0..12 dB over 24 pixels down
    // from y 100; the inner point is 0.56 of itself and 0.22 of each neighbour.
    const MeterSeries steps = Series("k", 1, {0, 12, 6});
    const auto whole = PreviewLanePoints(steps, 0, 2, 18, 3, 100, 24);
    ASSERT_EQ(whole.size(), 3u);
    EXPECT_FLOAT_EQ(whole[0].Y, 100);
    EXPECT_FLOAT_EQ(whole[1].Y, 0.56f * 124 + 0.22f * 100 + 0.22f * 112);
    EXPECT_FLOAT_EQ(whole[2].Y, 112);
    EXPECT_FLOAT_EQ(whole[0].X, 18);
    EXPECT_FLOAT_EQ(whole[2].X, 20);

    // Half way between values, with the end indices held to the series.
    const auto halves = PreviewLanePoints(steps, 0.5, 1, 0, 2, 100, 24);
    ASSERT_EQ(halves.size(), 2u);
    EXPECT_FLOAT_EQ(halves[0].Y, 100 + (-0 + 9 * 0 + 9 * 12 - 6) / 16.0f / 12 * 24);
    EXPECT_FLOAT_EQ(halves[1].Y, 100 + (-0 + 9 * 12 + 9 * 6 - 6) / 16.0f / 12 * 24);

    // An overshoot is held to 12 dB, a value that is not finite counts as 0.
    const auto held = PreviewLanePoints(Series("k", 1, {0, 12, 12, 0}), 1.5, 0, 0, 2, 0, 12);
    EXPECT_FLOAT_EQ(held[0].Y, 12);
    const auto nan =
        PreviewLanePoints(Series("k", 1, {float(kNaN), float(kNaN)}), 0, 1, 0, 2, 5, 12);
    EXPECT_FLOAT_EQ(nan[1].Y, 5);
}

TEST(PreviewLane, UnusableSeriesOrLanesGiveNoPoints)
{
    const struct
    {
        MeterSeries series;
        int width;
    } cases[] = {
        {Series("k", 0, {1, 2, 3}), 100},    {Series("k", -4, {1, 2, 3}), 100},
        {Series("k", kNaN, {1, 2, 3}), 100}, {Series("k", kInf, {1, 2, 3}), 100},
        {Series("k", 100, {4}), 100},        {Series("k", 100, {}), 100},
        {Series("k", 100, {1, 2, 3}), 1},    {Series("k", 100, {1, 2, 3}), 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(PreviewLanePoints(c.series, 0, 1, 0, c.width, 0, 20).empty())
            << c.series.rate << " Hz, " << c.series.values.size() << " values, " << c.width;
    }
}

TEST(PreviewGraphScene, AWindowOfNothingIsDrawnAsAMillisecondAndCaptionedAsIs)
{
    const AudioBuffer source = Preview(0.5, false, false);
    const AudioBuffer output = Preview(0.8, true, true);
    const auto scene = [&](double window, double centre) {
        return ComposePreviewGraph({&source, &output, centre, window, true}, CSize(1200, 400));
    };

    const PreviewGraphScene zero = scene(0, 2.5);
    const PreviewGraphScene milli = scene(0.001, 2.5);
    EXPECT_TRUE(SamePoints(zero.output.peak, milli.output.peak));
    EXPECT_TRUE(SamePoints(zero.source.rms, milli.source.rms));
    ASSERT_EQ(zero.lanes.size(), 2u);
    EXPECT_TRUE(SamePoints(zero.lanes[0].points, milli.lanes[0].points));
    EXPECT_TRUE(SamePoints(scene(-4, 2.5).output.peak, milli.output.peak));

    struct Case
    {
        double window;
        double centre;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {0, 0, L"Window 0 ms  Center 0.000s"},
        {0.055, 1.23456, L"Window 55 ms  Center 1.235s"},
        {kNaN, kInf, L"Window 0 ms  Center 0.000s"},
        {-kInf, -kNaN, L"Window 0 ms  Center 0.000s"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(std::wstring(scene(c.window, c.centre).caption.GetString()), c.caption);
    }
    // A window that is not finite is drawn as the shortest one.
    EXPECT_TRUE(SamePoints(scene(kNaN, 2.5).output.peak, milli.output.peak));
    EXPECT_FALSE(SamePoints(scene(0.055, 2.5).output.peak, milli.output.peak));
}

TEST(PreviewGraphScene, SilenceKeepsTheScaleAndLiesOnTheBaseline)
{
    // At 1200 x 400 the plot is 1164 x 346 from (18, 28); baseline y 364.
    const AudioBuffer silent = Frames(std::vector<double>(4800, 0.0), 48000);
    const PreviewGraphScene scene =
        ComposePreviewGraph({&silent, &silent, 0.05, 0.055, true}, CSize(1200, 400));
    ASSERT_TRUE(scene.plotShown);
    EXPECT_DOUBLE_EQ(scene.scale, 346 * 0.78);
    EXPECT_FLOAT_EQ(scene.baseline, 364);
    ASSERT_EQ(scene.output.peak.size(), 1164u);
    for (const auto* points : {&scene.output.peak, &scene.output.rms, &scene.source.peak})
    {
        for (const Gdiplus::PointF& p : *points)
        {
            ASSERT_FLOAT_EQ(p.Y, 364);
        }
    }
    EXPECT_FLOAT_EQ(scene.output.peak.front().X, 18);
    EXPECT_FLOAT_EQ(scene.output.peak.back().X, 18 + 1164);

    // With sound, the louder peak envelope reaches 0.78 of the plot height.
    const AudioBuffer loud = Frames(std::vector<double>(4800, 0.4), 48000);
    const PreviewGraphScene sounding =
        ComposePreviewGraph({&silent, &loud, 0.05, 0.055, false}, CSize(1200, 400));
    EXPECT_NEAR(sounding.scale, 346 * 0.78 / 0.4, 1e-6);
    EXPECT_NEAR(sounding.output.peak[500].Y, 364 - 346 * 0.78, 1e-3);
    EXPECT_TRUE(sounding.output.rms.empty()) << "RMS is off";
}

TEST(PreviewGraphScene, LanesFollowTheSeriesTheOutputCarries)
{
    struct Case
    {
        const char* name;
        AudioBuffer output;
        std::vector<std::string> lanes;
    };
    AudioBuffer emptyDynamics = Preview(0.5, true, false);
    emptyDynamics.meterSeries.insert(emptyDynamics.meterSeries.begin(),
                                     Series("dynamics.gain_reduction_db", 100, {}));
    AudioBuffer stillLimiter = Preview(0.5, false, true);
    stillLimiter.meterSeries.push_back(Series("stage4.gain_reduction_db", 0, {1, 2, 3}));
    AudioBuffer lonely = Preview(0.5, false, false);
    lonely.meterSeries.push_back(Series("stage4.gain_reduction_db", 100, {3}));
    const Case cases[] = {
        {"both", Preview(0.5, true, true), {"limiter", "dynamics"}},
        {"limiter only", Preview(0.5, true, false), {"limiter"}},
        {"dynamics only", Preview(0.5, false, true), {"dynamics"}},
        {"neither", Preview(0.5, false, false), {}},
        {"an empty dynamics series first", emptyDynamics, {"limiter"}},
        {"a limiter series of rate 0", stillLimiter, {"dynamics"}},
        {"a limiter series of one value", lonely, {}},
    };
    for (const Case& c : cases)
    {
        const PreviewGraphScene scene =
            ComposePreviewGraph({nullptr, &c.output, 2.0, 0.055, true}, CSize(1200, 400));
        EXPECT_EQ(LaneLabels(scene), c.lanes) << c.name;
    }

    // Lane space 346 x 0.34 - 14: lane 1 at y 42, lane 2 half of it lower,
    // each half of it less 2 high, one point per plot column.
    const AudioBuffer both = Preview(0.5, true, true);
    const PreviewGraphScene scene =
        ComposePreviewGraph({nullptr, &both, 2.0, 0.055, true}, CSize(1200, 400));
    const double space = 346 * 0.34 - 14;
    ASSERT_EQ(scene.lanes.size(), 2u);
    EXPECT_FLOAT_EQ(scene.lanes[0].top, 42);
    EXPECT_FLOAT_EQ(scene.lanes[1].top, float(42 + space / 2));
    EXPECT_EQ(scene.lanes[0].points.size(), 1164u);
    for (const PreviewLane& lane : scene.lanes)
    {
        for (const Gdiplus::PointF& p : lane.points)
        {
            ASSERT_GE(p.Y, lane.top);
            ASSERT_LE(p.Y, lane.top + float(space / 2 - 2) + 1e-3f);
        }
    }
    // Too low a plot for lanes: 346 x 0.34 - 14 must pass 16, so 88 rows.
    EXPECT_TRUE(ComposePreviewGraph({nullptr, &both, 2.0, 0.055, true}, CSize(1200, 54 + 88))
                    .lanes.empty());
    EXPECT_EQ(
        ComposePreviewGraph({nullptr, &both, 2.0, 0.055, true}, CSize(1200, 54 + 89)).lanes.size(),
        2u);
}

TEST(PreviewGraphScene, OddInputStaysFiniteAndInsideThePlot)
{
    const AudioBuffer output = Preview(0.7, true, true);
    const AudioBuffer oneFrame = Frames({0.3}, 48000);
    const AudioBuffer noRate = Frames({0.3, 0.5, 0.2}, 0);
    const double values[] = {kNaN, -kInf, kInf, -1e300, 1e300, -3, 0, 4.5};
    for (const double window : values)
    {
        for (const double centre : values)
        {
            for (const AudioBuffer* source : {&oneFrame, &noRate})
            {
                const PreviewGraphScene scene =
                    ComposePreviewGraph({source, &output, centre, window, true}, CSize(1200, 400));
                EXPECT_TRUE(AllFinite(scene.output.peak) && AllFinite(scene.source.rms))
                    << window << " " << centre;
                for (const PreviewLane& lane : scene.lanes)
                {
                    EXPECT_TRUE(AllFinite(lane.points)) << window << " " << centre;
                }
                for (const Gdiplus::PointF& p : scene.output.peak)
                {
                    ASSERT_GE(p.X, 18);
                    ASSERT_LE(p.X, 1182);
                    ASSERT_GE(p.Y, 364 - 346 * 0.78 - 1e-3);
                }
            }
        }
    }
}

TEST(PreviewGraphPicture, ALowClientShowsBackgroundMarkerAndCaptionOnly)
{
    const AudioBuffer source = Preview(0.5, false, false);
    const AudioBuffer output = Preview(0.8, true, true);
    CPreviewGraphWnd::State full{CSize(600, 60), {&source, &output, 2.0, 0.055, true}};
    CPreviewGraphWnd::State bare{CSize(600, 60), {nullptr, nullptr, 2.0, 0.055, true}};
    const PreviewGraphScene scene = ComposePreviewGraph(full.input, full.size);
    EXPECT_FALSE(scene.plotShown);
    EXPECT_TRUE(scene.lanes.empty());
    const auto drawn = Drawn(full, "preview_graph_60_high");
    EXPECT_EQ(DifferingPixels(*drawn, *Drawn(bare)), 0);
    // The marker runs down the middle from y 18 to 42; the panel's body beside it.
    EXPECT_GT(GetRValue(PixelAt(*drawn, 300, 30)), 0xA0);
    EXPECT_LT(GetRValue(PixelAt(*drawn, 250, 30)), 0x30);
    EXPECT_LT(GetRValue(PixelAt(*drawn, 300, 50)), 0x30) << "below the marker";

    ExpectDrawLeavesGraphicsUsable<CPreviewGraphWnd>(full);
}

TEST(PreviewGraphPicture, FullGraphLimiterOnlyAndSilence)
{
    const AudioBuffer source = Preview(0.45, false, false);
    const AudioBuffer output = Preview(0.8, true, true);
    const AudioBuffer limiterOnly = Preview(0.8, true, false);
    const AudioBuffer silent = Frames(std::vector<double>(48000, 0.0), 48000);
    const CSize size(1200, 400);

    // A window of 0.6 s shows more than one swell of the 2 Hz envelope.
    const auto both = Drawn({size, {&source, &output, 2.1, 0.6, true}}, "preview_graph_1200x400");
    const auto limiter =
        Drawn({size, {&source, &limiterOnly, 2.1, 0.6, true}}, "preview_graph_limiter_only");
    const auto quiet = Drawn({size, {&silent, &silent, 0.5, 0.055, true}}, "preview_graph_silent");
    const auto codex =
        Drawn({size, {&source, &output, 2.1, 0.055, true}}, "preview_graph_codex_window");

    // Lane 2 (from y 42 + 51.8) is only in the picture with the dynamics series.
    const PreviewGraphScene scene = ComposePreviewGraph({&source, &output, 2.1, 0.6, true}, size);
    ASSERT_EQ(scene.lanes.size(), 2u);
    int lane2Differs = 0;
    int lane1Differs = 0;
    for (int x = 30; x < 1170; x += 7)
    {
        lane2Differs += PixelAt(*both, x, 96) != PixelAt(*limiter, x, 96) ? 1 : 0;
        lane1Differs += PixelAt(*both, x, 43) != PixelAt(*limiter, x, 43) ? 1 : 0;
    }
    EXPECT_GT(lane2Differs, 100);
    EXPECT_EQ(lane1Differs, 0);

    // Silence: nothing above the baseline at y 364, the lines on it.
    const auto bare = Drawn({size, {nullptr, nullptr, 0.5, 0.055, true}});
    for (const int y : {300, 200, 100, 360})
    {
        EXPECT_EQ(PixelAt(*quiet, 400, y), PixelAt(*bare, 400, y)) << y;
    }
    EXPECT_GT(GetRValue(PixelAt(*quiet, 400, 364)), 0x80);
    // Sound: above the unprocessed envelope and the processed RMS, only the
    // processed peak's red fill.
    const COLORREF fill = PixelAt(*both, 700, 140);
    EXPECT_GT(GetRValue(fill), GetGValue(fill) + 20);
    EXPECT_GT(DifferingPixels(*codex, *both), 10000);
}

class PreviewGraphWindow : public ControlTest
{
protected:
    bool RepaintPending(const CWnd& graph) const
    {
        return ::GetUpdateRect(graph.GetSafeHwnd(), nullptr, FALSE) != FALSE;
    }
};

TEST_F(PreviewGraphWindow, SettersRepaintOnlyOnTheirChanges)
{
    CPreviewGraphWnd graph;
    ASSERT_TRUE(graph.Create(&parent, CRect(10, 10, 770, 410)));
    EXPECT_EQ(graph.GetDlgCtrlID(), 12961);
    wchar_t name[64] = {};
    graph.GetWindowText(name, 64);
    EXPECT_EQ(std::wstring(name), L"BrimvalePreviewGraphWnd");
    EXPECT_EQ(graph.windowSec, 0.2);
    EXPECT_EQ(graph.cursorSec, 0.0);
    EXPECT_FALSE(graph.showRms);
    Settle();
    graph.UpdateWindow();

    struct Step
    {
        const char* name;
        std::function<void()> call;
        bool repaints;
    };
    const AudioBuffer audio = Preview(0.5, true, true);
    const Step steps[] = {
        {"window by 5e-5 s", [&] { graph.SetWindowSeconds(0.20005); }, false},
        {"window by 2e-4 s", [&] { graph.SetWindowSeconds(0.2002); }, true},
        {"window NaN counts as 0", [&] { graph.SetWindowSeconds(kNaN); }, true},
        {"window 0 again", [&] { graph.SetWindowSeconds(0.0); }, false},
        {"playing on", [&] { graph.SetPlaying(true); }, true},
        {"playing on again", [&] { graph.SetPlaying(true); }, false},
        {"RMS on", [&] { graph.SetShowRms(true); }, true},
        {"RMS on again", [&] { graph.SetShowRms(true); }, false},
        {"cursor", [&] { graph.SetCursor(1.5); }, true},
        {"cursor the same", [&] { graph.SetCursor(1.5); }, true},
        {"source", [&] { graph.SetSourceAudio(audio); }, true},
        {"processed", [&] { graph.SetProcessedAudio(audio); }, true},
    };
    for (const Step& step : steps)
    {
        step.call();
        EXPECT_EQ(RepaintPending(graph), step.repaints) << step.name;
        graph.UpdateWindow();
    }
    EXPECT_EQ(graph.windowSec, 0.0);
    graph.SetCursor(-kInf);
    EXPECT_EQ(graph.cursorSec, 0.0);

    // What the window shows is what Draw paints.
    graph.SetCursor(2.0);
    graph.SetWindowSeconds(0.055);
    graph.UpdateWindow();
    EXPECT_EQ(PixelsDifferingFromWindow(graph.GetSafeHwnd(), *Drawn(graph.GetState())), 0);

    // With the window gone the setters still store.
    graph.DestroyWindow();
    graph.SetWindowSeconds(0.3);
    graph.SetCursor(4);
    graph.SetPlaying(false);
    graph.SetShowRms(false);
    graph.SetSourceAudio(AudioBuffer{});
    EXPECT_EQ(graph.windowSec, 0.3);
    EXPECT_EQ(graph.cursorSec, 4.0);
    EXPECT_FALSE(graph.playing);
    EXPECT_EQ(graph.GetState().size, CSize(0, 0));
}

TEST(ChainPositionColor, NamesMatchExactlyElseGrey)
{
    const struct
    {
        const char* name;
        COLORREF colour;
    } cases[] = {
        {"PREMATCH", 0x4874C8},      {"match", 0xD0964A},
        {"POSTMATCHTONE", 0xD2645E}, {"POSTMATCHDYNAMICS", 0xCC5484},
        {"STEREOIMAGE", 0x9A48BC},   {"PRELIMITER", 0x3B3FA5},
        {"stage4", 0x80BE48},        {"prematch", 0x808080},
        {"MATCH", 0x808080},         {"", 0x808080},
        {"stage4 ", 0x808080},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(ChainPositionColor(c.name), c.colour) << c.name;
    }
}
