#include "platform/gdiplus/gdiplus.h"

#include <gtest/gtest.h>

using namespace Gdiplus;

TEST(GdiplusText, MeasureStringAddsASixthOfTheEmAtEachEnd)
{
    Bitmap bitmap(200, 50);
    Graphics g(&bitmap);
    const Font font(L"Segoe UI", 12.0f, FontStyleRegular, UnitPixel);
    RectF one;
    RectF two;
    g.MeasureString(L"MMMM", -1, &font, PointF(0, 0), &one);
    g.MeasureString(L"MMMMMMMM", -1, &font, PointF(0, 0), &two);
    const double glyphs = two.Width - one.Width; // four M's, no padding
    EXPECT_NEAR(one.Width - glyphs, 12.0 / 3.0, 0.01) << "padding is em/3 in all";
    EXPECT_GT(one.Height, 12.0f);

    RectF empty;
    g.MeasureString(L"", -1, &font, PointF(5, 5), &empty);
    EXPECT_EQ(empty.Width, 0.0f);
    EXPECT_EQ(empty.Height, 0.0f);

    const Font points(L"Segoe UI", 9.0f, FontStyleRegular, UnitPoint);
    const Font pixels(L"Segoe UI", 12.0f, FontStyleRegular, UnitPixel);
    RectF byPoints;
    RectF byPixels;
    g.MeasureString(L"Level", -1, &points, PointF(0, 0), &byPoints);
    g.MeasureString(L"Level", -1, &pixels, PointF(0, 0), &byPixels);
    EXPECT_NEAR(byPoints.Width, byPixels.Width, 0.01) << "9 pt is 12 px at 96 DPI";
}

TEST(GdiplusText, EllipsisAndWrappingKeepTextInsideItsBox)
{
    Bitmap bitmap(200, 100);
    Graphics g(&bitmap);
    const Font font(L"Segoe UI", 12.0f, FontStyleRegular, UnitPixel);
    const wchar_t* text = L"A rather long caption that cannot fit";

    RectF natural;
    g.MeasureString(text, -1, &font, PointF(0, 0), &natural);

    StringFormat ellipsis(StringFormatFlagsNoWrap);
    ellipsis.SetTrimming(StringTrimmingEllipsisCharacter);
    RectF trimmed;
    g.MeasureString(text, -1, &font, RectF(0, 0, 80, 20), &ellipsis, &trimmed);
    EXPECT_LE(trimmed.Width, 80.5f) << "an ellipsis shortens the line to the box";
    EXPECT_LT(trimmed.Height, 20.0f) << "one line";

    // The ellipsis starts exactly where the text stops fitting: a box as wide as
    // the measured text keeps it whole, a slightly narrower one trims it.
    RectF fits;
    g.MeasureString(text, -1, &font, RectF(0, 0, natural.Width + 0.5f, 20), &ellipsis, &fits);
    EXPECT_NEAR(fits.Width, natural.Width, 0.5f) << "text that fits must not be trimmed";
    RectF tight;
    g.MeasureString(text, -1, &font, RectF(0, 0, natural.Width - 4.0f, 20), &ellipsis, &tight);
    EXPECT_LE(tight.Width, natural.Width - 3.5f) << "text one glyph too wide must be trimmed";

    RectF wrapped;
    g.MeasureString(text, -1, &font, RectF(0, 0, 80, 100), StringFormat::GenericDefault(),
                    &wrapped);
    EXPECT_GT(wrapped.Height, natural.Height * 1.5f) << "the default format wraps";

    StringFormat noWrap(StringFormatFlagsNoWrap);
    RectF single;
    g.MeasureString(text, -1, &font, RectF(0, 0, 80, 100), &noWrap, &single);
    EXPECT_NEAR(single.Width, natural.Width, 0.5f);
}

TEST(GdiplusText, DrawnTextStaysInItsClippedBoxAndIsPlainText)
{
    Bitmap bitmap(120, 40);
    {
        Graphics g(&bitmap);
        g.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
        const Font font(L"Segoe UI", 14.0f, FontStyleBold, UnitPixel);
        const SolidBrush white(Color(255, 255, 255, 255));
        StringFormat centred;
        centred.SetAlignment(StringAlignmentCenter);
        centred.SetLineAlignment(StringAlignmentCenter);
        g.DrawString(L"<b>&amp;</b> wide text here", -1, &font, RectF(20, 10, 40, 20), &centred,
                     &white);
    }
    bool inside = false;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 120; ++x)
        {
            Color c;
            bitmap.GetPixel(x, y, &c);
            const bool inBox = x >= 20 && x < 60 && y >= 10 && y < 30;
            if (!inBox)
            {
                ASSERT_EQ(c.GetA(), 0) << "ink outside the clipped box at " << x << "," << y;
            }
            inside = inside || c.GetA() > 0;
        }
    }
    EXPECT_TRUE(inside);
}
