#include "controls/sliders/slider_face.h"

#include "controls/base/painting_helpers.h"
#include "controls/sliders/horizontal_slider_wnd.h"
#include "controls/sliders/vertical_slider_wnd.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{

using DrawSlider = void (*)(Gdiplus::Graphics&, const RECT&, const ControlDrawState&, const int&);

struct Slider
{
    std::string name;
    CSize preferred;
    CSize other;
    DrawSlider draw;
};

const std::vector<Slider> kSliders = {
    {"horizontal_slider", CSize(160, 80), CSize(260, 64), &DrawHorizontalSlider},
    {"vertical_slider", CSize(80, 320), CSize(64, 200), &DrawVerticalSlider},
};

ControlDrawState Snapshot(double value, const wchar_t* text, bool active)
{
    ControlDrawState state;
    state.label = L"Amount";
    state.value = value;
    state.valueText = text;
    state.hover = active;
    state.dragging = active;
    return state;
}

std::unique_ptr<Gdiplus::Bitmap> Paint(DrawSlider draw, CSize size, const ControlDrawState& state,
                                       int mode)
{
    auto bitmap =
        std::make_unique<Gdiplus::Bitmap>(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
    Gdiplus::Graphics graphics(bitmap.get());
    PrepareControlGraphics(graphics);
    const RECT rect{0, 0, size.cx, size.cy};
    PaintValueControlBackground(graphics, rect, state);
    draw(graphics, rect, state, mode);
    return bitmap;
}

// How far a colour is from grey: the default accent (red 0xE5, blue 0x52)
// stands far from the grey groove.
int Spread(COLORREF c)
{
    const int r = GetRValue(c);
    const int g = GetGValue(c);
    const int b = GetBValue(c);
    return std::max({r, g, b}) - std::min({r, g, b});
}

} // namespace

TEST(SliderFace, ABipolarFillRunsFromTheMiddleTickToTheThumb)
{
    // 160 wide: the track from 16 to 144, its middle at 80; the thumb at 0
    // stands on 16, its circle reaching to 24.
    auto empty = Paint(&DrawHorizontalSlider, CSize(160, 80), Snapshot(0.5, L"0", false), 1);
    auto left = Paint(&DrawHorizontalSlider, CSize(160, 80), Snapshot(0.0, L"-100", false), 1);
    auto unipolar = Paint(&DrawHorizontalSlider, CSize(160, 80), Snapshot(0.5, L"50", false), 0);
    for (const int x : {40, 60, 120})
    {
        SCOPED_TRACE(x);
        EXPECT_LT(Spread(PixelAt(*empty, x, 48)), 40) << "no fill at 0.5";
        EXPECT_EQ(Spread(PixelAt(*left, x, 48)) > 80, x < 80) << "filled left of the middle";
        EXPECT_EQ(Spread(PixelAt(*unipolar, x, 48)) > 80, x < 80) << "filled from the left end";
    }
    // The tick stands above the track at the middle, only when bipolar.
    auto unipolarZero = Paint(&DrawHorizontalSlider, CSize(160, 80), Snapshot(0.0, L"0", false), 0);
    const auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    EXPECT_GT(brightness(PixelAt(*left, 80, 43)), brightness(PixelAt(*unipolarZero, 80, 43)) + 20);
}

TEST(SliderFace, TheVerticalFillGrowsUpFromTheBottom)
{
    auto bitmap = Paint(&DrawVerticalSlider, CSize(80, 320), Snapshot(0.5, L"50%", false), 0);
    EXPECT_GT(Spread(PixelAt(*bitmap, 40, 240)), 80);
    EXPECT_LT(Spread(PixelAt(*bitmap, 40, 80)), 40);
}

TEST(SliderFace, NoDisabledLook)
{
    ControlDrawState state = Snapshot(0.7, L"70%", false);
    auto enabled = Paint(&DrawHorizontalSlider, CSize(160, 80), state, 0);
    state.disabled = true;
    auto disabled = Paint(&DrawHorizontalSlider, CSize(160, 80), state, 0);
    for (int x = 0; x < 160; x += 7)
    {
        for (int y = 0; y < 80; y += 3)
        {
            ASSERT_EQ(PixelAt(*enabled, x, y), PixelAt(*disabled, x, y)) << x << ", " << y;
        }
    }
}

// Both sliders, unipolar and bipolar, idle and hovered while dragged, at
// their preferred sizes and one other: one sheet a slider.
TEST(SliderFace, PicturesOfTheSlidersInTheirStates)
{
    struct Shot
    {
        int mode;
        double value;
        const wchar_t* text;
        bool active;
    };
    const Shot shots[] = {
        {0, 0.3, L"30%", false},
        {0, 0.8, L"80%", true},
        {1, 0.5, L"0.0 dB", false},
        {1, 0.2, L"-6.0 dB", true},
    };
    for (const Slider& slider : kSliders)
    {
        const CSize cell(std::max(slider.preferred.cx, slider.other.cx) + 10,
                         std::max(slider.preferred.cy, slider.other.cy) + 10);
        Gdiplus::Bitmap sheet(4 * cell.cx, 2 * cell.cy);
        Gdiplus::Graphics sheetGraphics(&sheet);
        sheetGraphics.Clear(Gdiplus::Color(0xFF404040));
        int row = 0;
        for (const CSize size : {slider.preferred, slider.other})
        {
            int column = 0;
            for (const Shot& shot : shots)
            {
                auto bitmap = Paint(slider.draw, size, Snapshot(shot.value, shot.text, shot.active),
                                    shot.mode);
                sheetGraphics.DrawImage(bitmap.get(), column * cell.cx, row * cell.cy);
                ++column;
            }
            ++row;
        }
        EXPECT_TRUE(SaveControlPicture(sheet, slider.name + "_states"));
    }
}

TEST(SliderFace, PaintsAtSizesTooSmallForItsTrack)
{
    for (const Slider& slider : kSliders)
    {
        for (const CSize size : {CSize(10, 10), CSize(32, 80), CSize(80, 98), CSize(0, 0)})
        {
            for (const int mode : {0, 1, 7})
            {
                SCOPED_TRACE(::testing::Message() << slider.name << " " << size.cx << " x "
                                                  << size.cy << " mode " << mode);
                auto bitmap = Paint(slider.draw, size, Snapshot(0.8, L"80%", true), mode);
                EXPECT_EQ(bitmap->GetWidth(), UINT(std::max<int>(size.cx, 1)));
            }
        }
    }
}
