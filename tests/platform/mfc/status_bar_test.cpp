// The status bar's picture, painted from a snapshot without a window and by
// the window itself.

#include "tests/platform/test_windows.h"

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/status_bar.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/palette.h"
#include "platform/win32/window_picture.h"

#include <filesystem>
#include <string>

namespace
{

using brvl::win32::ScaleForDpi;

COLORREF PixelAt(const Gdiplus::Bitmap& bitmap, int x, int y)
{
    Gdiplus::Color color;
    bitmap.GetPixel(x, y, &color);
    return color.ToCOLORREF();
}

// Pixels in columns [left, right) that are neither background nor divider.
int InkBetween(const Gdiplus::Bitmap& bitmap, int left, int right)
{
    int ink = 0;
    for (int y = 1; y < static_cast<int>(bitmap.GetHeight()); ++y)
    {
        for (int x = left; x < right; ++x)
        {
            const COLORREF c = PixelAt(bitmap, x, y);
            ink += c != brvl::palette::kBackground && c != brvl::palette::kSeparator ? 1 : 0;
        }
    }
    return ink;
}

CMFCStatusBar::State ThreeIndicators(UINT dpi, int width, const wchar_t* message)
{
    CMFCStatusBar::State state;
    state.dpi = dpi;
    state.size = CSize(width, ScaleForDpi(22, dpi));
    state.hasMessagePane = true;
    state.message = message;
    state.indicators = {{L"CAP", true}, {L"NUM", false}, {L"SCRL", true}};
    return state;
}

class StatusBarWindow : public WindowTest
{
};

} // namespace

TEST(StatusBar, DrawsTheMessageLeftAndLitIndicatorsFromTheRight)
{
    struct Case
    {
        UINT dpi;
        int width;
        const wchar_t* message;
    };
    const Case cases[] = {
        {96, 480, L"Ready"},
        {96, 300, L"A message too long for the room the indicators leave it"},
        {144, 720, L"Show or hide Toolbar"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.dpi);
        const CMFCStatusBar::State state = ThreeIndicators(c.dpi, c.width, c.message);
        Gdiplus::Bitmap bitmap(state.size.cx, state.size.cy);
        {
            Gdiplus::Graphics graphics(&bitmap);
            CMFCStatusBar::Draw(graphics, state);
        }
        const std::string name =
            "status_bar_" + std::to_string(c.dpi) + "_" + std::to_string(c.width) + ".png";
        ASSERT_EQ(bitmap.SaveAsPng((std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / name).string()),
                  Gdiplus::Ok);

        EXPECT_EQ(PixelAt(bitmap, c.width / 2, 0), brvl::palette::kSeparator) << "the top edge";
        const int box = ScaleForDpi(52, c.dpi);
        const int scrl = c.width - box;
        const int num = scrl - box;
        const int cap = num - box;
        for (const int divider : {cap, num, scrl})
        {
            EXPECT_EQ(PixelAt(bitmap, divider, state.size.cy / 2), brvl::palette::kSeparator);
        }
        EXPECT_GT(InkBetween(bitmap, cap + 1, num), 0) << "CAP is lit";
        EXPECT_EQ(InkBetween(bitmap, num + 1, scrl), 0) << "NUM is dark";
        EXPECT_GT(InkBetween(bitmap, scrl + 1, c.width), 0) << "SCRL is lit";

        const int inset = ScaleForDpi(8, c.dpi);
        EXPECT_EQ(InkBetween(bitmap, 0, inset), 0) << "the message starts at the inset";
        EXPECT_GT(InkBetween(bitmap, inset, cap - inset), 0) << "the message shows";
        EXPECT_EQ(InkBetween(bitmap, cap - inset, cap), 0)
            << "the message keeps off the indicators";
    }
}

TEST_F(StatusBarWindow, PaintsWhatDrawPaintsForItsSnapshot)
{
    brvl::win32::ChangeDpi(120);
    RecordingWnd top("top", log);
    ASSERT_TRUE(top.CreateTopLevel(CRect(0, 0, 420, 60)));
    CMFCStatusBar bar;
    ASSERT_TRUE(bar.Create(&top));
    const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
    ASSERT_TRUE(bar.SetIndicators(ids, 3));
    ASSERT_TRUE(bar.SetPaneText(0, L"Exporting the master"));
    bar.MoveWindow(0, 0, 420, bar.CalcFixedLayout(TRUE, TRUE).cy);

    const CMFCStatusBar::State state = bar.GetState();
    EXPECT_EQ(state.dpi, 120u);
    EXPECT_EQ(state.size, CSize(420, ScaleForDpi(22, 120)));
    Gdiplus::Bitmap drawn(state.size.cx, state.size.cy);
    {
        Gdiplus::Graphics graphics(&drawn);
        CMFCStatusBar::Draw(graphics, state);
    }
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(bar.GetSafeHwnd(), picture));
    ASSERT_EQ(picture.width, state.size.cx);
    ASSERT_EQ(picture.height, state.size.cy);
    int differing = 0;
    for (int y = 0; y < picture.height; ++y)
    {
        for (int x = 0; x < picture.width; ++x)
        {
            differing += picture.ColorAt(x, y) != PixelAt(drawn, x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "the window's picture differs from Draw's";
    brvl::win32::ChangeDpi(96);
}
