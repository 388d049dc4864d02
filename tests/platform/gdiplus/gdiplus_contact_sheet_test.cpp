// Every primitive, cap, join, dash, gradient, spline tension, arc angle and text
// alignment on one sheet, written as a PNG for people to look at and compared
// with the stored picture.
#include "platform/gdiplus/gdiplus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace Gdiplus;

namespace
{

const Color kInk(255, 230, 236, 245);
const Color kAccent(255, 255, 140, 40);

void DrawStrokes(Graphics& g)
{
    const LineCap caps[] = {LineCapFlat, LineCapSquare, LineCapRound};
    for (int i = 0; i < 3; ++i)
    {
        Pen pen(kInk, 8.0f);
        pen.SetStartCap(caps[i]);
        pen.SetEndCap(caps[i]);
        g.DrawLine(&pen, 20.0f, 20.0f + 20 * i, 90.0f, 20.0f + 20 * i);
    }
    const LineJoin joins[] = {LineJoinMiter, LineJoinBevel, LineJoinRound};
    for (int i = 0; i < 3; ++i)
    {
        Pen pen(kAccent, 7.0f);
        pen.SetLineJoin(joins[i]);
        const PointF zigzag[] = {
            {110.0f + 40 * i, 70}, {125.0f + 40 * i, 20}, {140.0f + 40 * i, 70}};
        g.DrawLines(&pen, zigzag, 3);
    }
    const DashStyle dashes[] = {DashStyleDash, DashStyleDot, DashStyleDashDot};
    for (int i = 0; i < 3; ++i)
    {
        Pen pen(kInk, 2.0f + i);
        pen.SetDashStyle(dashes[i]);
        g.DrawLine(&pen, 250.0f, 20.0f + 20 * i, 460.0f, 20.0f + 20 * i);
    }
    Pen custom(kAccent, 0.75f);
    const REAL pattern[] = {2, 3};
    custom.SetDashPattern(pattern, 2);
    g.DrawLine(&custom, 250.0f, 80.0f, 460.0f, 80.0f);
}

void DrawShapes(Graphics& g)
{
    const SolidBrush fill(Color(255, 60, 120, 200));
    Pen outline(kInk, 2.0f);
    g.FillRectangle(&fill, RectF(20, 100, 60, 40));
    g.DrawRectangle(&outline, RectF(20.5f, 100.5f, 59, 39));
    g.FillEllipse(&fill, RectF(95, 100, 70, 40));
    g.DrawEllipse(&outline, RectF(95, 100, 70, 40));
    g.FillPie(&fill, RectF(180, 95, 50, 50), -90, 120);
    Pen arc(kAccent, 4.0f);
    arc.SetStartCap(LineCapRound);
    arc.SetEndCap(LineCapRound);
    g.DrawArc(&arc, RectF(245, 95, 90, 50), 30, 250);
    g.DrawArc(&arc, RectF(350, 95, 50, 50), 135, -270);
    const PointF star[] = {{430, 95}, {442, 145}, {405, 113}, {455, 113}, {418, 145}};
    g.FillPolygon(&fill, star, 5, FillModeAlternate);
}

void DrawGradients(Graphics& g)
{
    LinearGradientBrush vertical(PointF(0, 160), PointF(0, 210), Color(255, 255, 80, 80),
                                 Color(255, 20, 20, 60));
    g.FillRectangle(&vertical, RectF(20, 160, 80, 50));
    LinearGradientBrush stops(PointF(110, 0), PointF(230, 0), Color(0, 0, 0, 0), Color(0, 0, 0, 0));
    const Color colors[] = {Color(0, 80, 200, 255), Color(255, 80, 200, 255),
                            Color(0, 80, 200, 255)};
    const REAL positions[] = {0.0f, 0.5f, 1.0f};
    stops.SetInterpolationColors(colors, positions, 3);
    g.FillRectangle(&stops, RectF(110, 160, 120, 50));

    GraphicsPath knob;
    knob.AddEllipse(RectF(245, 160, 50, 50));
    PathGradientBrush centred(&knob);
    centred.SetCenterColor(Color(255, 250, 250, 250));
    Color surround(255, 40, 40, 50);
    int count = 1;
    centred.SetSurroundColors(&surround, &count);
    g.FillPath(&centred, &knob);

    GraphicsPath panel;
    panel.AddRectangle(RectF(310, 160, 90, 50));
    PathGradientBrush offCentre(&panel);
    offCentre.SetCenterPoint(PointF(330, 170));
    offCentre.SetCenterColor(Color(255, 255, 200, 90));
    offCentre.SetSurroundColors(&surround, &count);
    g.FillPath(&offCentre, &panel);
}

void DrawSplines(Graphics& g)
{
    const PointF points[] = {{20, 260}, {60, 225}, {100, 270}, {140, 230}, {180, 265}};
    const REAL tensions[] = {0.0f, 0.35f, 0.5f, 1.0f};
    const Color colors[] = {Color(255, 120, 120, 120), kInk, kAccent, Color(255, 90, 200, 120)};
    for (int i = 0; i < 4; ++i)
    {
        Pen pen(colors[i], 1.5f);
        pen.SetLineJoin(LineJoinRound);
        g.DrawCurve(&pen, points, 5, tensions[i]);
    }
    const PointF blob[] = {{220, 230}, {260, 225}, {255, 270}, {215, 265}};
    const SolidBrush fill(Color(160, 90, 200, 120));
    g.FillClosedCurve(&fill, blob, 4);
}

void DrawTexts(Graphics& g)
{
    const Font font(L"Segoe UI", 12.0f, FontStyleRegular, UnitPixel);
    const Font bold(L"Times New Roman", 16.0f, FontStyleBold, UnitPixel);
    const SolidBrush ink(kInk);
    Pen frame(Color(255, 90, 90, 110), 1.0f);
    const StringAlignment aligns[] = {StringAlignmentNear, StringAlignmentCenter,
                                      StringAlignmentFar};
    for (int i = 0; i < 3; ++i)
    {
        const RectF box(20.0f + 150 * i, 290, 140, 30);
        g.DrawRectangle(&frame, RectF(box.X + 0.5f, box.Y + 0.5f, box.Width - 1, box.Height - 1));
        StringFormat format;
        format.SetAlignment(aligns[i]);
        format.SetLineAlignment(aligns[i]);
        g.DrawString(L"Segoe UI \u00e9", -1, &font, box, &format, &ink);
    }
    StringFormat trimmed(StringFormatFlagsNoWrap);
    trimmed.SetTrimming(StringTrimmingEllipsisCharacter);
    g.DrawString(L"An ellipsis ends this long caption", -1, &font, RectF(300, 225, 100, 20),
                 &trimmed, &ink);
    g.DrawString(L"Wrapped words run on to the next line", -1, &font, RectF(300, 245, 160, 40),
                 StringFormat::GenericDefault(), &ink);
    g.DrawString(L"12.5", -1, &bold, PointF(410, 165), &ink);
}

double MeanAbsoluteDifference(const Bitmap& a, const Bitmap& b)
{
    double sum = 0;
    for (unsigned y = 0; y < a.GetHeight(); ++y)
    {
        for (unsigned x = 0; x < a.GetWidth(); ++x)
        {
            Color ca;
            Color cb;
            a.GetPixel(int(x), int(y), &ca);
            b.GetPixel(int(x), int(y), &cb);
            sum += std::abs(ca.GetR() - cb.GetR()) + std::abs(ca.GetG() - cb.GetG()) +
                   std::abs(ca.GetB() - cb.GetB());
        }
    }
    return sum / (3.0 * a.GetWidth() * a.GetHeight());
}

} // namespace

TEST(GdiplusContactSheet, MatchesTheStoredPicture)
{
    Bitmap sheet(480, 340, PixelFormat32bppRGB);
    {
        Graphics g(&sheet);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        g.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
        g.Clear(Color(255, 12, 14, 16));
        DrawStrokes(g);
        DrawShapes(g);
        DrawGradients(g);
        DrawSplines(g);
        DrawTexts(g);
        ASSERT_EQ(g.GetLastStatus(), Ok);
    }
    const std::string written = std::string(BRVL_TEST_OUTPUT_DIR) + "/gdiplus_contact_sheet.png";
    ASSERT_EQ(sheet.SaveAsPng(written), Ok);

    const std::filesystem::path golden =
        std::filesystem::path(BRVL_TEST_SOURCE_DIR) / "golden" / "gdiplus_contact_sheet.png";
    if (std::getenv("BRVL_UPDATE_GOLDEN") != nullptr)
    {
        std::filesystem::copy_file(written, golden,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    Bitmap stored(golden.wstring().c_str());
    ASSERT_EQ(stored.GetLastStatus(), Ok) << "missing golden picture " << golden;
    ASSERT_EQ(stored.GetWidth(), sheet.GetWidth());
    ASSERT_EQ(stored.GetHeight(), sheet.GetHeight());
    EXPECT_LT(MeanAbsoluteDifference(sheet, stored), 1.0)
        << "the sheet drifted from " << golden << "; compare with " << written;
}

TEST(GdiplusImages, BmpEncoderWritesBottomUpRowsAndPngsLoadBack)
{
    unsigned count = 0;
    unsigned size = 0;
    ASSERT_EQ(GetImageEncodersSize(&count, &size), Ok);
    ASSERT_EQ(count, 1u);
    ImageCodecInfo encoder;
    ASSERT_EQ(GetImageEncoders(count, size, &encoder), Ok);
    EXPECT_EQ(std::wstring(encoder.MimeType), L"image/bmp");

    Bitmap bitmap(3, 2, PixelFormat32bppRGB);
    {
        Graphics g(&bitmap);
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        const SolidBrush red(Color(255, 255, 0, 0));
        g.FillRectangle(&red, 0, 0, 3, 1); // top row red, bottom row black
    }
    const std::filesystem::path bmp = std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / "tiny.bmp";
    ASSERT_EQ(bitmap.Save(bmp.wstring().c_str(), &encoder.Clsid), Ok);
    std::string bytes(200, '\0');
    {
        FILE* f = std::fopen(bmp.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    ASSERT_EQ(bytes.size(), 54u + 2 * 12) << "rows of 9 bytes padded to 12";
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(uint8_t(bytes[28]), 24) << "24 bits per pixel";
    EXPECT_EQ(uint8_t(bytes[54 + 2]), 0) << "first stored row is the bottom (black) one";
    EXPECT_EQ(uint8_t(bytes[54 + 12 + 2]), 255) << "then the red top row (stored B, G, R)";

    const std::string png = std::string(BRVL_TEST_OUTPUT_DIR) + "/tiny.png";
    ASSERT_EQ(bitmap.SaveAsPng(png), Ok);
    Bitmap loaded(std::filesystem::path(png).wstring().c_str());
    ASSERT_EQ(loaded.GetLastStatus(), Ok);
    Color c;
    loaded.GetPixel(1, 0, &c);
    EXPECT_EQ(c.GetR(), 255);

    Bitmap missing(L"/no/such/file.png");
    EXPECT_NE(missing.GetLastStatus(), Ok);
    EXPECT_EQ(missing.GetWidth(), 0u);
    Bitmap tooLarge(40000, 10);
    EXPECT_NE(tooLarge.GetLastStatus(), Ok);
}
