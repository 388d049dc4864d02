#include "controls/base/painting_helpers.h"
#include "controls/displays/nixie_display_wnd.h"
#include "controls/displays/panel_light_wnd.h"
#include "controls/displays/seven_segment_display_wnd.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace
{

using Painter = void (*)(Gdiplus::Graphics&, const RECT&, const ControlDrawState&);
using Face = std::function<void(Gdiplus::Graphics&, const CBaseControlWnd::State&)>;

void Paint(Gdiplus::Bitmap& bitmap, Painter background, const Face& face,
           const ControlDrawState& snapshot)
{
    CBaseControlWnd::State state;
    state.size = CSize(int(bitmap.GetWidth()), int(bitmap.GetHeight()));
    state.snapshot = snapshot;
    Gdiplus::Graphics graphics(&bitmap);
    PrepareControlGraphics(graphics);
    background(graphics, RECT{0, 0, state.size.cx, state.size.cy}, snapshot);
    face(graphics, state);
}

ControlDrawState Showing(const wchar_t* text, double value = 0.0)
{
    ControlDrawState snapshot;
    snapshot.label = L"Readout";
    snapshot.textValue = text;
    snapshot.value = value;
    return snapshot;
}

const Face kSevenSegment = &CSevenSegmentDisplayWnd::Draw;
const Face kNixie = &CNixieDisplayWnd::Draw;
const Face kLight = &CPanelLightWnd::Draw;

} // namespace

TEST(SevenSegmentDisplay, DigitsAndPointsSitWhereTheGeometrySays)
{
    // 160 x 80: digits 26 x 45 from x 14 in steps of 33; points centred in the gap.
    Gdiplus::Bitmap bitmap(160, 80);
    Paint(bitmap, &PaintSevenSegmentBackground, kSevenSegment, Showing(L"12.3"));
    const auto lit = [&](int x, int y) { return GetRValue(PixelAt(bitmap, x, y)) > 150; };
    // Digit 1 (k = 1) shows 1: segment b at its right edge, not a at its top.
    EXPECT_TRUE(lit(14 + 33 + 26 - 1, 25 + 12));
    EXPECT_FALSE(lit(14 + 33 + 13, 25 + 1));
    // Digit 3 shows 3: a lit, f (upper left) not.
    EXPECT_TRUE(lit(14 + 99 + 13, 25 + 1));
    EXPECT_FALSE(lit(14 + 99 + 1, 25 + 12));
    // The point after digit 2 (c = 3.38, x = 14 + 66 + 26 + 1.81, y = 65.62) is lit;
    // the one after digit 1 is not.
    EXPECT_TRUE(lit(14 + 66 + 26 + 3, 67));
    EXPECT_FALSE(lit(14 + 33 + 26 + 3, 67));
}

TEST(DigitDisplays, PicturesAtTwoSizesAndOddInputs)
{
    struct Picture
    {
        const char* name;
        Painter background;
        Face face;
        ControlDrawState snapshot;
        CSize size;
    };
    // Each at its preferred size and at twice that.
    const Picture pictures[] = {
        {"seven_segment_12.3", &PaintSevenSegmentBackground, kSevenSegment, Showing(L"12.3"),
         CSize(160, 80)},
        {"seven_segment_-9.8", &PaintSevenSegmentBackground, kSevenSegment, Showing(L"-9.8"),
         CSize(160, 80)},
        {"nixie_1234", &PaintNixieBackground, kNixie, Showing(L"1234"), CSize(160, 80)},
        {"nixie_-5", &PaintNixieBackground, kNixie, Showing(L"-5"), CSize(160, 80)},
        {"panel_light_0", &PaintPanelLightBackground, kLight, Showing(L"", 0.0), CSize(40, 40)},
        {"panel_light_half", &PaintPanelLightBackground, kLight, Showing(L"", 0.5), CSize(40, 40)},
        {"panel_light_1", &PaintPanelLightBackground, kLight, Showing(L"", 1.0), CSize(40, 40)},
    };
    for (const Picture& p : pictures)
    {
        for (const int scale : {1, 2})
        {
            Gdiplus::Bitmap bitmap(p.size.cx * scale, p.size.cy * scale);
            Paint(bitmap, p.background, p.face, p.snapshot);
            ASSERT_TRUE(SaveControlPicture(bitmap, std::string("display_") + p.name + "_" +
                                                       std::to_string(bitmap.GetWidth()) + "x" +
                                                       std::to_string(bitmap.GetHeight())));
        }
    }

    const std::wstring longText(10000, L'8');
    const wchar_t invalid[] = {L'1', wchar_t(0xD800), wchar_t(0x110000), L'.', 0};
    for (const CSize size : {CSize(1, 1), CSize(20, 20), CSize(160, 23), CSize(40, 10)})
    {
        for (const wchar_t* text : {L"....", L"abc", longText.c_str(), invalid})
        {
            Gdiplus::Bitmap bitmap(size.cx, size.cy);
            ControlDrawState odd = Showing(text, std::numeric_limits<double>::quiet_NaN());
            odd.accentColor = 0xFFFFFFFF;
            Paint(bitmap, &PaintSevenSegmentBackground, kSevenSegment, odd);
            Paint(bitmap, &PaintNixieBackground, kNixie, odd);
            Paint(bitmap, &PaintPanelLightBackground, kLight, odd);
        }
    }
}

TEST(PanelLight, DarkAtZeroAndGlowingAtOne)
{
    ControlDrawState red = Showing(L"", 0.0);
    red.accentColor = RGB(255, 0, 0);
    Gdiplus::Bitmap off(80, 80);
    Paint(off, &PaintPanelLightBackground, kLight, red);
    red.value = 1.0;
    Gdiplus::Bitmap on(80, 80);
    Paint(on, &PaintPanelLightBackground, kLight, red);
    // The core: the centre is near-black red at 0 and bright at 1.
    EXPECT_LT(GetRValue(PixelAt(off, 40, 41)), 60);
    EXPECT_GT(GetRValue(PixelAt(on, 40, 41)), 200);
    // The halo reaches past the bezel (radius 27) only when lit.
    EXPECT_EQ(PixelAt(off, 40, 8), PixelAt(off, 2, 8)) << "no halo at 0";
    EXPECT_GT(GetRValue(PixelAt(on, 40, 8)), GetRValue(PixelAt(off, 40, 8)));
}

class DigitDisplayWindows : public ControlTest
{
};

TEST_F(DigitDisplayWindows, CreatorsDefaultsAndBlankPaintsOneColour)
{
    CSevenSegmentDisplayWnd seven;
    CNixieDisplayWnd nixie;
    CPanelLightWnd light;
    EXPECT_EQ(seven.GetKindName(), "seven segment display");
    EXPECT_EQ(seven.GetTextValue().Str(), L"12.3");
    EXPECT_EQ(seven.GetLabel().Str(), L"Readout");
    EXPECT_EQ(nixie.GetKindName(), "nixie display");
    EXPECT_EQ(nixie.GetTextValue().Str(), L"1234");
    EXPECT_EQ(nixie.GetLabel().Str(), L"Counter");
    EXPECT_EQ(nixie.GetGridSpan(), CSize(4, 2));
    EXPECT_EQ(light.GetKindName(), "panel light");
    EXPECT_EQ(light.GetGridSpan(), CSize(1, 1));
    EXPECT_EQ(light.GetPreferredSize(), CSize(40, 40));
    light.SetValueSilently(0.5);
    EXPECT_EQ(light.GetDrawState().valueText.Str(), L"0") << "0 to 1, no decimals, no suffix";

    CreateIn(seven, CRect(10, 10, 170, 90));
    seven.SetBackgroundColor(RGB(0, 90, 0));
    seven.SetBlank(true);
    seven.UpdateWindow();
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(seven.GetSafeHwnd(), picture));
    for (const auto& [x, y] : {std::pair{0, 0}, {60, 40}, {159, 79}})
    {
        EXPECT_EQ(picture.ColorAt(x, y), RGB(0, 90, 0));
    }
    EXPECT_TRUE(RenderWindowToPng(seven.GetSafeHwnd(), ControlPicturePath("display_blank")));
}
