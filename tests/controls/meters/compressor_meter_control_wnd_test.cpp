#include "controls/meters/compressor_meter_control_wnd.h"

#include "controls/base/painting_helpers.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{

CCompressorMeterControlWnd::State Reading(float db, bool playing, CSize size = CSize(40, 240))
{
    CCompressorMeterControlWnd::State state;
    state.size = size;
    state.gainReductionDb = db;
    state.peakGainReductionDb = db;
    state.playing = playing;
    return state;
}

void Paint(Gdiplus::Bitmap& bitmap, const CCompressorMeterControlWnd::State& state)
{
    Gdiplus::Graphics graphics(&bitmap);
    PrepareControlGraphics(graphics);
    CCompressorMeterControlWnd::Draw(graphics, state);
}

// Whether any pixel of the track's middle column is the accent's hue.
bool BarShows(Gdiplus::Bitmap& bitmap, int fromY, int toY)
{
    for (int y = fromY; y < toY; ++y)
    {
        const COLORREF pixel = PixelAt(bitmap, 8, y);
        if (GetRValue(pixel) > GetBValue(pixel) + 20)
        {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(CompressorMeter, TheBarGrowsDownToTwelveDecibelsAndBrightensWhilePlaying)
{
    // 40 x 240: the track is (4, 4, 16, 214).
    Gdiplus::Bitmap full(40, 240);
    Paint(full, Reading(15, false));
    EXPECT_TRUE(BarShows(full, 200, 216)) << "15 dB fills the track";

    Gdiplus::Bitmap none(40, 240);
    Paint(none, Reading(0.01f, false));
    EXPECT_FALSE(BarShows(none, 4, 218)) << "0.01 dB shows no bar";

    // The top of the bar: the accent at alpha 210 playing, 150 idle, over the
    // track colour (0x12, 0x16, 0x1C).
    for (const auto& [playing, alpha] : {std::pair{true, 210}, {false, 150}})
    {
        CCompressorMeterControlWnd::State state = Reading(6, playing);
        state.peakGainReductionDb = 0;
        Gdiplus::Bitmap bitmap(40, 240);
        Paint(bitmap, state);
        const COLORREF pixel = PixelAt(bitmap, 10, 6);
        const double expectedRed = (0xE5 * alpha + 0x12 * (255 - alpha)) / 255.0;
        EXPECT_NEAR(GetRValue(pixel), expectedRed, 4) << (playing ? "playing" : "idle");
        ASSERT_TRUE(SaveControlPicture(bitmap, playing ? "compressor_meter_playing"
                                                       : "compressor_meter_idle"));
    }
    Gdiplus::Bitmap larger(60, 360);
    Paint(larger, Reading(4.2f, true, CSize(60, 360)));
    ASSERT_TRUE(SaveControlPicture(larger, "compressor_meter_60x360"));
}

TEST(CompressorMeter, TooSmallForItsTrackItShowsOnlyItsFace)
{
    for (const CSize size : {CSize(26, 240), CSize(40, 30), CSize(10, 10)})
    {
        Gdiplus::Bitmap bitmap(size.cx, size.cy);
        Paint(bitmap, Reading(8, true, size));
        for (int y = 0; y < size.cy; y += 3)
        {
            for (int x = 0; x < size.cx; x += 3)
            {
                ASSERT_EQ(PixelAt(bitmap, x, y), RGB(0x0D, 0x0E, 0x12)) << x << ", " << y;
            }
        }
    }
    const float odd[] = {std::nanf(""), INFINITY, -INFINITY, -3, 1e30f};
    for (const float db : odd)
    {
        Gdiplus::Bitmap bitmap(40, 240);
        Paint(bitmap, Reading(db, false));
    }
}

class CompressorMeterWindow : public ControlTest
{
protected:
    CCompressorMeterControlWnd meter;
};

TEST_F(CompressorMeterWindow, ReadsItsCopyOfTheBufferAtTheCursorAndIgnoresBlank)
{
    EXPECT_EQ(meter.GetKindName(), "compressor meter");
    EXPECT_EQ(meter.GetGridSpan(), CSize(1, 6));
    EXPECT_FALSE(meter.GetDrawBorder() || meter.GetDrawBackground());
    CreateIn(meter, CRect(CPoint(10, 10), meter.GetPreferredSize()));

    meter.buffer.sampleRate = 10;
    meter.buffer.samples.assign(40, 0.0); // 2 s
    meter.buffer.meterSeries = {{"dynamics.gain_reduction_db", 4, {1, 2, 3, 4, 5, 6, 7, 8, 9}}};
    meter.cursorSec = 5;
    EXPECT_EQ(meter.GainReductionAtCursor(), 9.0f) << "the end time, 2 s";
    meter.cursorSec = 0.6;
    EXPECT_EQ(meter.GainReductionAtCursor(), 3.0f);

    meter.gainReductionDb = 12;
    meter.SetBlank(true);
    meter.UpdateWindow();
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(meter.GetSafeHwnd(), picture));
    EXPECT_NE(picture.ColorAt(10, 100), RGB(0x0D, 0x0E, 0x12)) << "the bar shows although blank";
}
