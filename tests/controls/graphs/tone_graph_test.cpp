#include "controls/base/painting_helpers.h"
#include "controls/graphs/tone_graph_wnd.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace
{

constexpr int kRate = 48000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Sine
{
    double hz;
    double amplitude;
};

// A second at 48 kHz of the sum of `sines`, the same on both channels, plus
// white noise of `noise` peak amplitude (the same seed every time).
AudioBuffer Mix(const std::vector<Sine>& sines, double noise = 0.0, double gain = 1.0)
{
    AudioBuffer audio;
    audio.sampleRate = kRate;
    std::uint32_t seed = 7;
    for (int i = 0; i < kRate; ++i)
    {
        double x = 0.0;
        for (const Sine& s : sines)
        {
            x += s.amplitude * std::sin(2 * std::numbers::pi * s.hz * i / kRate);
        }
        seed = seed * 1664525u + 1013904223u;
        x += noise * (2 * double(seed >> 8) / double(1u << 24) - 1);
        audio.samples.push_back(gain * x);
        audio.samples.push_back(gain * x);
    }
    return audio;
}

double DbGain(double db)
{
    return std::pow(10.0, db / 20);
}

} // namespace

TEST(ToneLevels, IdenticalBuffersGiveAFlatDeltaOnATwoDecibelScale)
{
    const AudioBuffer music = Mix({{100, 0.2}, {1000, 0.2}}, 0.1);
    const ToneCurve curve = ToneCurveOf(music, music, 0.5, 0.12);
    EXPECT_TRUE(curve.delta);
    for (const double value : curve.values)
    {
        EXPECT_EQ(value, 0.0);
    }
    EXPECT_EQ(curve.scaleDb, 2.0);
}

TEST(ToneLevels, ALouderPreviewLiftsEveryBandByItsGain)
{
    const AudioBuffer noise = Mix({}, 0.3);
    const ToneCurve curve = ToneCurveOf(noise, Mix({}, 0.3, DbGain(3)), 0.5, 0.12);
    for (const double value : curve.values)
    {
        EXPECT_NEAR(value, 3.0, 1e-6);
    }
    EXPECT_NEAR(curve.scaleDb, 3.0, 1e-6);

    // Drawn 0.34 of the plot's height above the baseline: 3 dB on a 3 dB scale.
    CToneGraphWnd::State state;
    state.size = CSize(720, 400);
    state.curve = curve;
    const auto points = CToneGraphWnd::CurvePointsOf(state);
    ASSERT_TRUE(points);
    const double plotHeight = (400 - 40) - 30;
    const double baseline = 30 + 0.54 * plotHeight;
    EXPECT_FLOAT_EQ(points->front().Y, float(baseline));
    EXPECT_FLOAT_EQ(points->back().Y, float(baseline));
    EXPECT_FLOAT_EQ(points->front().X, 18.0f);
    EXPECT_FLOAT_EQ(points->back().X, 702.0f);
    for (std::size_t band = 1; band <= kToneBands; ++band)
    {
        EXPECT_NEAR((*points)[band].Y, baseline - 0.34 * plotHeight, 1e-3) << band;
    }
    EXPECT_NEAR((*points)[1].X, 18 + 0.1 * 684, 1e-3);
    EXPECT_NEAR((*points)[4].X, 702 - 0.1 * 684, 1e-3);
}

TEST(ToneLevels, ADifferenceBeyondSixDecibelsIsHeldAtSix)
{
    const AudioBuffer source = Mix({{60, 0.1}, {1500, 0.1}});
    const AudioBuffer louderLows = Mix({{60, 0.1 * DbGain(9)}, {1500, 0.1}});
    const ToneCurve curve = ToneCurveOf(source, louderLows, 0.5, 0.12);
    EXPECT_EQ(curve.values[0], 6.0);
    EXPECT_EQ(curve.scaleDb, 6.0);
    EXPECT_LT(curve.values[2], 1.0) << "High-Mid did not change";
    EXPECT_EQ(ToneCurveOf(louderLows, source, 0.5, 0.12).values[0], -6.0);
}

TEST(ToneLevels, InProfileAToneLiftsTheBandThatHoldsIt)
{
    // 0.12 s at 48 kHz: 5760 frames become 2048 points about 17 kHz apart, and
    // the probes read those points at that rate. Each band listens at six
    // frequencies with a resolution of some 8 Hz, so the tones sit where a
    // band listens: 60 Hz by Low's probes at 52 and 69 Hz; the others on a
    // probe (High's six run from 4 kHz to 0.475 of the points' rate).
    struct Case
    {
        double hz;
        std::size_t band;
    };
    for (const Case c : {Case{60, 0}, Case{256.3, 1}, Case{1522.9, 2}, Case{6110.1, 3}})
    {
        // Small tones, so no level reaches Profile's +12 dB clamp.
        const AudioBuffer tone = Mix({{c.hz, 0.002}});
        const ToneLevels levels = ToneBandLevels(tone, 0.5, 0.12);
        const auto loudest = std::max_element(levels.begin(), levels.end()) - levels.begin();
        EXPECT_EQ(std::size_t(loudest), c.band) << c.hz << " Hz";
        const ToneCurve profile = ToneCurveOf(tone, AudioBuffer{}, 0.5, 0.12);
        EXPECT_FALSE(profile.delta);
        EXPECT_EQ(profile.values[c.band], levels[c.band]);
        for (std::size_t band = 0; band < kToneBands; ++band)
        {
            EXPECT_EQ(profile.values[band], std::clamp(levels[band], -60.0, 12.0));
        }
    }
}

TEST(ToneLevels, BandsThePointsCannotCarryKeepZero)
{
    // At 8 kHz the High band (4000 Hz and up) lies above 0.475 x rate.
    AudioBuffer low = Mix({{1000, 0.3}});
    low.sampleRate = 8000;
    const ToneLevels levels = ToneBandLevels(low, 0.5, 0.12);
    EXPECT_EQ(levels[3], 0.0);
    EXPECT_NE(levels[2], 0.0);

    // No audio: Profile, all on the baseline, on a 12 dB scale.
    const ToneCurve none = ToneCurveOf(AudioBuffer{}, AudioBuffer{}, 0, 0.12);
    EXPECT_FALSE(none.delta);
    EXPECT_EQ(none.values, ToneLevels{});
    EXPECT_EQ(none.scaleDb, 12.0);
}

TEST(ToneLevels, BadInputGivesFiniteLevels)
{
    std::vector<AudioBuffer> buffers = {AudioBuffer{}, Mix({{100, 0.2}})};
    buffers[1].samples.resize(1); // one sample
    for (const int rate : {0, -48000, 1})
    {
        AudioBuffer odd = Mix({{100, 0.2}});
        odd.samples.resize(400);
        odd.sampleRate = rate;
        buffers.push_back(odd);
    }
    AudioBuffer poisoned = Mix({{100, 0.2}}, 0.1);
    for (std::size_t i = 0; i < poisoned.samples.size(); i += 3)
    {
        poisoned.samples[i] = i % 2 == 0 ? kNaN : -INFINITY;
    }
    buffers.push_back(poisoned);
    for (const AudioBuffer& audio : buffers)
    {
        for (const double cursor : {kNaN, -1.0, 99.0, 0.5})
        {
            for (const double window : {kNaN, 0.001, 1.0, 0.12})
            {
                const ToneCurve curve = ToneCurveOf(audio, audio, cursor, window);
                for (const double value : curve.values)
                {
                    ASSERT_TRUE(std::isfinite(value));
                }
                for (const double level : ToneBandLevels(audio, cursor, window))
                {
                    ASSERT_TRUE(std::isfinite(level));
                }
            }
        }
    }
}

class ToneGraphWindow : public ControlTest
{
};

TEST_F(ToneGraphWindow, FeedsCopyEveryTimeAndIgnoreNaN)
{
    CToneGraphWnd graph;
    ASSERT_TRUE(graph.Create(&parent, CRect(10, 10, 370, 230), 12963));
    Settle();
    EXPECT_EQ(graph.windowSec, 0.12);
    graph.SetSourceAudio(Mix({{100, 0.2}}));
    graph.UpdateWindow();
    graph.SetSourceAudio(graph.sourceAudio);
    EXPECT_TRUE(::GetUpdateRect(graph.GetSafeHwnd(), nullptr, FALSE)) << "no equality test";
    graph.UpdateWindow();

    graph.SetCursor(0.4);
    graph.SetCursor(kNaN);
    EXPECT_EQ(graph.cursorSec, 0.4);
    graph.SetCursor(-2);
    EXPECT_EQ(graph.cursorSec, 0.0);
    graph.UpdateWindow();
    graph.SetCursor(0.00005);
    EXPECT_FALSE(::GetUpdateRect(graph.GetSafeHwnd(), nullptr, FALSE)) << "a move below 1e-4";

    struct Case
    {
        double input;
        double stored;
    };
    for (const Case c : {Case{kNaN, 0.12}, Case{1.0, 0.25}, Case{0.001, 0.02}, Case{0.12, 0.12}})
    {
        graph.SetWindowSeconds(0.12);
        graph.SetWindowSeconds(c.input);
        EXPECT_EQ(graph.windowSec, c.stored) << c.input;
    }
}

TEST(ToneGraphPictures, DeltaProfileAndNoAudio)
{
    // Quiet material, so Profile stays inside its -60..+12 dB.
    const AudioBuffer source = Mix({{60, 0.01}, {256.3, 0.01}, {1522.9, 0.006}}, 0.004);
    const AudioBuffer processed =
        Mix({{60, 0.01 * DbGain(2.5)}, {256.3, 0.01}, {1522.9, 0.006 * DbGain(-2)}}, 0.005);
    struct Material
    {
        const char* name;
        ToneCurve curve;
    };
    const Material materials[] = {{"delta", ToneCurveOf(source, processed, 0.5, 0.12)},
                                  {"profile", ToneCurveOf(source, AudioBuffer{}, 0.5, 0.12)},
                                  {"none", ToneCurveOf(AudioBuffer{}, AudioBuffer{}, 0, 0.12)}};
    for (const CSize size : {CSize(360, 220), CSize(720, 400)})
    {
        for (const Material& m : materials)
        {
            CToneGraphWnd::State state;
            state.size = size;
            state.curve = m.curve;
            Gdiplus::Bitmap bitmap(size.cx, size.cy);
            Gdiplus::Graphics graphics(&bitmap);
            PrepareControlGraphics(graphics);
            CToneGraphWnd::Draw(graphics, state);
            ASSERT_TRUE(SaveControlPicture(bitmap, std::string("tone_") + m.name + "_" +
                                                       std::to_string(size.cx) + "x" +
                                                       std::to_string(size.cy)));
        }
    }
}
