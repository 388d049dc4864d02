#include "controls/meters/output_meter_wnd.h"

#include "controls/base/painting_helpers.h"
#include "controls/layout/control_item.h"
#include "controls/meters/meter_scales.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The meter's paint, as its window does it, on a bitmap of `size`.
void Paint(Gdiplus::Bitmap& bitmap, double left, double right, double minDb, double maxDb)
{
    COutputMeterWnd::State state;
    state.size = CSize(int(bitmap.GetWidth()), int(bitmap.GetHeight()));
    state.snapshot.value = left;
    state.snapshot.secondaryValue = right;
    state.snapshot.label = L"Output";
    state.minDb = minDb;
    state.maxDb = maxDb;
    Gdiplus::Graphics graphics(&bitmap);
    PrepareControlGraphics(graphics);
    PaintValueControlBackground(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot);
    COutputMeterWnd::Draw(graphics, state);
}

int Distance(COLORREF a, RgbBytes b)
{
    return std::abs(GetRValue(a) - b.red) + std::abs(GetGValue(a) - b.green) +
           std::abs(GetBValue(a) - b.blue);
}

} // namespace

TEST(OutputMeter, LitRowsShowTheRampColourOfTheirOwnLevel)
{
    // 80 x 320 at -60..+3: the scale runs from y 36 (+3 dB) to 302 (-60 dB).
    Gdiplus::Bitmap bitmap(80, 320);
    Paint(bitmap, 1.0, 0.0, -60, 3);
    const int leftBarMiddle = 80 - 33;
    const auto rowAt = [](double db) { return int(std::lround(302 - (db + 60) / 63 * 266)); };
    const RgbBytes teal = OutputMeterRowColor(-30, 3);
    const RgbBytes amber = OutputMeterRowColor(-9, 3);
    const RgbBytes red = OutputMeterRowColor(3, 3);
    for (const auto& [db, expected] : {std::pair{-40.0, teal}, {-9.0, amber}, {2.0, red}})
    {
        const COLORREF pixel = PixelAt(bitmap, leftBarMiddle, rowAt(db));
        const int nearest = Distance(pixel, expected);
        for (const RgbBytes other : {teal, amber, red})
        {
            EXPECT_LE(nearest, Distance(pixel, other)) << "row at " << db << " dB";
        }
        EXPECT_GT(GetRValue(pixel) + GetGValue(pixel), 150) << "lit at " << db << " dB";
    }
    // The right bar is unlit: its middle shows the frame's dark body.
    const COLORREF unlit = PixelAt(bitmap, 80 - 19, rowAt(-30));
    EXPECT_LT(GetRValue(unlit) + GetGValue(unlit) + GetBValue(unlit), 120);
    ASSERT_TRUE(SaveControlPicture(bitmap, "output_meter_full_and_empty"));
}

TEST(OutputMeter, PicturesAtTwoSizesAndRangesItCannotScale)
{
    for (const CSize size : {CSize(80, 320), CSize(120, 480)})
    {
        Gdiplus::Bitmap bitmap(size.cx, size.cy);
        Paint(bitmap, 0.3, 0.9, -60, 3);
        ASSERT_TRUE(SaveControlPicture(bitmap, "output_meter_" + std::to_string(size.cx) + "x" +
                                                   std::to_string(size.cy)));
    }
    // Empty, reversed and not finite ranges, the -9 dB top and odd sizes paint
    // without a crash or an endless row loop.
    for (const auto& [min, max] : std::vector<std::pair<double, double>>{
             {-5, -5}, {0, -60}, {kNaN, 0}, {-60, INFINITY}, {-40, -9}, {-1e308, 1e308}})
    {
        for (const CSize size : {CSize(10, 10), CSize(47, 85), CSize(80, 320)})
        {
            Gdiplus::Bitmap bitmap(size.cx, size.cy);
            Paint(bitmap, 0.5, kNaN, min, max);
        }
    }
}

class OutputMeterWindow : public ControlTest
{
protected:
    COutputMeterWnd meter;
};

TEST_F(OutputMeterWindow, KeepsItsOwnScaleWhateverTheLayoutItemSays)
{
    EXPECT_EQ(meter.GetKindName(), "output meter");
    EXPECT_EQ(meter.GetLabel().Str(), L"Output");
    EXPECT_EQ(meter.GetGridSpan(), CSize(2, 8));
    EXPECT_EQ(meter.GetPreferredSize(), CSize(80, 320));
    CreateIn(meter, CRect(CPoint(10, 10), meter.GetPreferredSize()));
    ControlItem item;
    item.displayMin = -30;
    item.displayMax = 6;
    meter.ApplyItem(item);
    EXPECT_EQ(meter.minDb, -60.0);
    EXPECT_EQ(meter.maxDb, 0.0);

    // Tick lines cross the column 45 pixels left of the right edge: all seven
    // on -60..0, six on -40..0.
    const auto ticks = [&](double minDb)
    {
        meter.minDb = minDb;
        meter.Invalidate(FALSE);
        meter.UpdateWindow();
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(meter.GetSafeHwnd(), picture));
        const COLORREF body = picture.ColorAt(80 - 45, 30);
        int lines = 0;
        bool inLine = false;
        for (int y = 30; y < 320 - 10; ++y)
        {
            const bool lit = GetGValue(picture.ColorAt(80 - 45, y)) > GetGValue(body) + 8;
            lines += lit && !inLine ? 1 : 0;
            inLine = lit;
        }
        return lines;
    };
    EXPECT_EQ(ticks(-60), 7);
    EXPECT_EQ(ticks(-40), 6);
}
