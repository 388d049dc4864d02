#include "controls/base/painting_helpers.h"
#include "controls/graphs/correlation_meter_wnd.h"
#include "controls/graphs/goniometer_wnd.h"
#include "controls/graphs/peak_symmetry_graph_wnd.h"
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

// One second of a 1 kHz sine with each channel given by `channels`.
AudioBuffer Stereo(const std::function<std::pair<double, double>(double)>& channels,
                   std::size_t frames = kRate)
{
    AudioBuffer audio;
    audio.sampleRate = kRate;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double x = 0.5 * std::sin(2 * std::numbers::pi * 1000.0 * double(i) / kRate);
        const auto [left, right] = channels(x);
        audio.samples.push_back(left);
        audio.samples.push_back(right);
    }
    return audio;
}

const auto kMono = [](double x) { return std::pair{x, x}; };
const auto kInverted = [](double x) { return std::pair{x, -x}; };
const auto kLeftOnly = [](double x) { return std::pair{x, 0.0}; };
const auto kRightOnly = [](double x) { return std::pair{0.0, x}; };

} // namespace

TEST(Correlation, ReadsThePhaseOfTheChannels)
{
    struct Case
    {
        const char* name;
        AudioBuffer audio;
        double correlation;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    AudioBuffer withNaN = Stereo(kMono);
    withNaN.samples[48000] = nan;
    const Case cases[] = {
        {"identical", Stereo(kMono), 1.0},
        {"inverted", Stereo(kInverted), -1.0},
        {"silent right", Stereo(kLeftOnly), 1.0},
        {"silence",
         Stereo(
             [](double) {
                 return std::pair{0.0, 0.0};
             }),
         1.0},
        {"empty", AudioBuffer{}, 1.0},
        {"one frame", Stereo(kInverted, 1), 1.0}, // no energy at the sine's zero
        {"NaN counts as 0", withNaN, 1.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(CorrelationAt(c.audio, 0.5, 0.055), c.correlation, 1e-9) << c.name;
    }
    AudioBuffer noRate = Stereo(kInverted);
    noRate.sampleRate = 0;
    EXPECT_EQ(CorrelationAt(noRate, 0.5, 0.055), 1.0);
    EXPECT_NEAR(CorrelationAt(Stereo(kInverted), 1e12, 0.02), -1.0, 1e-9) << "at the end";
    EXPECT_NEAR(CorrelationAt(Stereo(kInverted), nan, 0.02), -1.0, 1e-9);
}

TEST(Goniometer, PointsLieOnTheLinesOfTheirStereoImage)
{
    struct Case
    {
        const char* name;
        AudioBuffer audio;
        double sideOverMid; // the slope of the line the points lie on (x = side, y = mid)
        bool vertical;
    };
    const Case cases[] = {
        {"mono on the vertical", Stereo(kMono), 0, true},
        {"antiphase on the horizontal", Stereo(kInverted), 0, false},
        {"left only from upper left to lower right", Stereo(kLeftOnly), -1, false},
        {"right only from lower left to upper right", Stereo(kRightOnly), 1, false},
    };
    for (const Case& c : cases)
    {
        const std::vector<Gdiplus::PointF> points = GoniometerPoints(c.audio, 0.5, 0.055);
        ASSERT_EQ(points.size(), 2640u) << c.name;
        for (const Gdiplus::PointF& p : points)
        {
            if (c.vertical)
            {
                ASSERT_EQ(p.X, 0.0f) << c.name;
            }
            else if (c.sideOverMid == 0)
            {
                ASSERT_EQ(p.Y, 0.0f) << c.name;
            }
            else
            {
                ASSERT_NEAR(p.X, c.sideOverMid * p.Y, 1e-6) << c.name;
            }
        }
    }
    EXPECT_TRUE(GoniometerPoints(AudioBuffer{}, 0, 0.055).empty());
}

TEST(PeakSymmetry, ComparesPositiveAndNegativePeaks)
{
    const auto positive = [](double x) { return std::pair{std::fabs(x), std::fabs(x)}; };
    struct Case
    {
        const char* name;
        AudioBuffer audio;
        double asymmetry;
    };
    const Case cases[] = {
        {"positive only", Stereo(positive), 1.0},
        {"a sine", Stereo(kMono), 0.0},
        {"opposite channels", Stereo(kInverted), 0.0},
        {"silence",
         Stereo(
             [](double) {
                 return std::pair{0.0, 0.0};
             }),
         0.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(PeakAsymmetry(PeakSymmetryColumns(c.audio, 0.5, 0.055, 364)), c.asymmetry, 0.01)
            << c.name;
    }
    EXPECT_EQ(PeakSymmetryColumns(Stereo(kMono), 0.5, 0.055, 364).posPeak.size(), 91u);
    EXPECT_EQ(PeakSymmetryColumns(Stereo(kMono, 10), 0.0, 0.055, 364).posPeak.size(), 10u);
    EXPECT_EQ(PeakSymmetryColumns(Stereo(kMono, 1), 0.0, 0.055, 364).posPeak.size(), 1u);
    EXPECT_TRUE(PeakSymmetryColumns(AudioBuffer{}, 0.0, 0.055, 364).posPeak.empty());
}

class AnalysisGraphWindows : public ControlTest
{
};

TEST_F(AnalysisGraphWindows, FeedsCopyOnceClampTheWindowAndIgnoreNaN)
{
    CCorrelationMeterWnd meter;
    ASSERT_TRUE(meter.Create(&parent, CRect(10, 10, 330, 138), 1));
    Settle();
    const AudioBuffer inverted = Stereo(kInverted);
    meter.SetAudio(inverted);
    EXPECT_NEAR(meter.GetCorrelation(), -1.0, 1e-9);
    meter.UpdateWindow();
    meter.SetAudio(inverted);
    EXPECT_FALSE(::GetUpdateRect(meter.GetSafeHwnd(), nullptr, FALSE)) << "no repaint for the same";

    struct Case
    {
        double input;
        double stored;
    };
    const Case windows[] = {
        {1.0, 0.25}, {0.001, 0.02}, {0.055, 0.055}, {0.05501, 0.055}, {std::nan(""), 0.055}};
    for (const Case& c : windows)
    {
        meter.SetWindowSeconds(0.055);
        meter.SetWindowSeconds(c.input);
        EXPECT_EQ(meter.WindowSeconds(), c.stored) << c.input;
    }
    meter.SetCursor(-3);
    EXPECT_EQ(meter.CursorSeconds(), 0.0);
    meter.SetCursor(std::nan(""));
    EXPECT_EQ(meter.CursorSeconds(), 0.0);
}

TEST(AnalysisGraphPictures, EachGraphWithMonoWideAndNoAudio)
{
    struct Material
    {
        const char* name;
        AudioBuffer audio;
    };
    const auto wide = [](double x) { return std::pair{x, 0.6 * x + 0.3 * std::sin(40 * x)}; };
    const Material materials[] = {
        {"mono", Stereo(kMono)}, {"wide", Stereo(wide)}, {"none", AudioBuffer{}}};
    for (const CSize size : {CSize(320, 220), CSize(640, 360)})
    {
        for (const Material& m : materials)
        {
            const std::string suffix =
                std::string(m.name) + "_" + std::to_string(size.cx) + "x" + std::to_string(size.cy);
            {
                CCorrelationMeterWnd::State state;
                state.size = CSize(size.cx, 128);
                state.correlation = CorrelationAt(m.audio, 0.5, 0.055);
                state.playing = std::string(m.name) == "wide";
                Gdiplus::Bitmap bitmap(state.size.cx, state.size.cy);
                Gdiplus::Graphics graphics(&bitmap);
                PrepareControlGraphics(graphics);
                CCorrelationMeterWnd::Draw(graphics, state);
                ASSERT_TRUE(SaveControlPicture(bitmap, "correlation_" + suffix));
            }
            {
                CGoniometerWnd::State state;
                state.size = size;
                state.hasAudio = !m.audio.samples.empty();
                state.sideMid = GoniometerPoints(m.audio, 0.5, 0.055);
                Gdiplus::Bitmap bitmap(size.cx, size.cy);
                Gdiplus::Graphics graphics(&bitmap);
                PrepareControlGraphics(graphics);
                CGoniometerWnd::Draw(graphics, state);
                ASSERT_TRUE(SaveControlPicture(bitmap, "goniometer_" + suffix));
            }
            {
                CPeakSymmetryGraphWnd::State state;
                state.size = size;
                state.hasAudio = !m.audio.samples.empty();
                const PeakColumns columns = PeakSymmetryColumns(m.audio, 0.5, 0.055, size.cx - 36);
                state.posPeak = columns.posPeak;
                state.negPeak = columns.negPeak;
                Gdiplus::Bitmap bitmap(size.cx, size.cy);
                Gdiplus::Graphics graphics(&bitmap);
                PrepareControlGraphics(graphics);
                CPeakSymmetryGraphWnd::Draw(graphics, state);
                ASSERT_TRUE(SaveControlPicture(bitmap, "peak_symmetry_" + suffix));
            }
        }
    }
}
