#include "controls/meters/needle_meter_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/meters/meter_scales.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace
{

void Paint(Gdiplus::Bitmap& bitmap, double value, double min, double max)
{
    CNeedleMeterWnd::State state;
    state.size = CSize(int(bitmap.GetWidth()), int(bitmap.GetHeight()));
    state.snapshot.value = value;
    state.snapshot.label = L"Meter";
    state.snapshot.valueText = L"-6.0 dB";
    state.displayMin = min;
    state.displayMax = max;
    Gdiplus::Graphics graphics(&bitmap);
    PrepareControlGraphics(graphics);
    PaintNeedleMeterBackground(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
    CNeedleMeterWnd::Draw(graphics, state);
}

} // namespace

TEST(NeedleMeter, TheNeedlePointsAtTheTickOfItsValue)
{
    // 160 x 160: R0 = 47, centre (80, 73), dial radius 37, needle 31.08.
    Gdiplus::Bitmap bitmap(160, 160);
    Paint(bitmap, 20.0 / 23, -20, 3);
    const double angle = NeedleAngleDegrees(NeedleTickPosition(0, -20, 3)) * std::numbers::pi / 180;
    // Halfway along the needle, on the 0 dB tick's angle, is the needle's light colour.
    const int x = int(std::lround(80 + 20 * std::cos(angle)));
    const int y = int(std::lround(73 + 20 * std::sin(angle)));
    const COLORREF pixel = PixelAt(bitmap, x, y);
    EXPECT_GT(GetRValue(pixel), 200) << x << ", " << y;
    EXPECT_GT(GetGValue(pixel), 190);
    ASSERT_TRUE(SaveControlPicture(bitmap, "needle_meter_0db"));

    Gdiplus::Bitmap low(240, 240);
    Paint(low, 0.25, -20, 3);
    ASSERT_TRUE(SaveControlPicture(low, "needle_meter_240_quarter"));
}

TEST(NeedleMeter, OddRangesAndSizesPaintWithoutADial)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const CSize size : {CSize(10, 10), CSize(47, 85), CSize(48, 86), CSize(160, 160)})
    {
        for (const auto& [min, max] : {std::pair{-5.0, -5.0}, {3.0, -20.0}, {nan, 3.0}})
        {
            Gdiplus::Bitmap bitmap(size.cx, size.cy);
            Paint(bitmap, nan, min, max);
        }
    }
}

TEST(NeedleMeterDefaults, AreTheCreatorsOnes)
{
    CNeedleMeterWnd meter;
    double min = 0;
    double max = 0;
    int decimals = 0;
    CString suffix;
    meter.GetDisplayRange(min, max, decimals, suffix);
    EXPECT_EQ(min, -20);
    EXPECT_EQ(max, 3);
    EXPECT_EQ(decimals, 1);
    EXPECT_EQ(suffix.Str(), L" dB");
    EXPECT_EQ(meter.GetLabel().Str(), L"Meter");
    EXPECT_EQ(meter.GetKindName(), "needle meter");
    EXPECT_EQ(meter.GetGridSpan(), CSize(4, 4));
    EXPECT_EQ(meter.GetPreferredSize(), CSize(160, 160));
}
