// The eight text widgets as a family: what their creators set, their pictures,
// and what bad input does to them.
#include "controls/text/shown_texts.h"
#include "platform/win32/backend_bridge.h"
#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using TextWidgets = ControlTest;

struct Defaults
{
    const char* kindName;
    const wchar_t* windowName;
    CSize preferred;
    CSize span;
    const wchar_t* label;
    const wchar_t* textValue;
    const wchar_t* toolTip;
    bool framedBody; // drawBorder and drawBackground
};

} // namespace

TEST_F(TextWidgets, CreatorsSetTheirKindsSpansTextsAndFlags)
{
    const std::vector<Defaults> expected = {
        {"text title", L"BrimvaleTextTitleWnd", {240, 52}, {6, 1}, L"Title", L"", L"", false},
        {"text caption", L"BrimvaleTextCaptionWnd", {200, 32}, {4, 1}, L"Caption", L"", L"", false},
        {"text caption block",
         L"BrimvaleTextCaptionBlockWnd",
         {280, 40},
         {6, 1},
         L"Caption",
         L"Body",
         L"",
         false},
        {"text label",
         L"BrimvaleTextLabelStripWnd",
         {160, 80},
         {4, 1},
         L"Text Label",
         L"",
         L"",
         false},
        {"text block",
         L"BrimvaleTextBlockWnd",
         {160, 80},
         {4, 2},
         L"Title",
         L"",
         L"Wrapped text block.\r\nSecond line.",
         false},
        {"value readout",
         L"BrimvaleValueReadoutWnd",
         {160, 40},
         {4, 1},
         L"Readout",
         L"12.3 dB",
         L"",
         true},
        {"horizontal divider",
         L"BrimvaleHorizontalDividerWnd",
         {160, 40},
         {4, 1},
         L"",
         L"",
         L"",
         false},
        {"vertical divider",
         L"BrimvaleVerticalDividerWnd",
         {40, 160},
         {1, 4},
         L"",
         L"",
         L"",
         false},
    };
    const std::vector<TextWidgetRow> rows = TextWidgetRows();
    ASSERT_EQ(rows.size(), expected.size());
    UINT id = 10;
    for (size_t i = 0; i < rows.size(); ++i)
    {
        SCOPED_TRACE(rows[i].name);
        const Defaults& want = expected[i];
        const std::unique_ptr<CBaseControlWnd> control = rows[i].make();
        EXPECT_EQ(control->GetKindName(), want.kindName);
        EXPECT_EQ(control->GetPreferredSize(), want.preferred);
        EXPECT_EQ(control->GetGridSpan(), want.span);
        EXPECT_EQ(control->GetLabel().Str(), want.label);
        EXPECT_EQ(control->GetTextValue().Str(), want.textValue);
        EXPECT_EQ(control->GetToolTip().Str(), want.toolTip);
        EXPECT_EQ(control->GetDrawBorder(), want.framedBody);
        EXPECT_EQ(control->GetDrawBackground(), want.framedBody);
        EXPECT_EQ(control->GetValue(), 0.0);

        CreateIn(*control, CRect(CPoint(20, 20), want.preferred), id++);
        wchar_t name[64] = {};
        control->GetWindowText(name, 64);
        EXPECT_STREQ(name, want.windowName);
        EXPECT_EQ(control->GetStyle(), 0x54000000u);
        session->MoveMouse(At(*control, 5, 5));
        EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
                  reinterpret_cast<UINT_PTR>(IDC_ARROW));
        // They take no input: a click and a double-click tell the parent nothing.
        session->Click(At(*control, 5, 5));
        session->Click(At(*control, 5, 5));
        EXPECT_TRUE(heard.empty());
        control->DestroyWindow();
    }
}

namespace
{

// Sample texts: short ones, and ones long enough to be cut, with a two-line
// body and text beyond ASCII.
struct Sample
{
    const char* name;
    const wchar_t* label;
    const wchar_t* textValue;
    const wchar_t* toolTip;
};

const Sample kShort = {"short", L"Gain", L"Warm", L"Adds warmth."};
const Sample kLong = {
    "long", L"Übersteuerung und Sättigung — Ausgangsstufe",
    L"Große Räume klingen weit.\r\nZweite Zeile: ñandú, 東京, ελληνικά und noch viel mehr Text.",
    L"Tipp: öffnen"};

void Write(CBaseControlWnd& control, const Sample& sample)
{
    control.SetLabel(sample.label);
    control.SetTextValue(sample.textValue);
    control.SetToolTip(sample.toolTip);
}

// Copies a window's picture into `sheet` at `x`, `y`.
void Paste(Gdiplus::Bitmap& sheet, const WindowPicture& picture, int x, int y)
{
    for (int row = 0; row < picture.height; ++row)
    {
        for (int column = 0; column < picture.width; ++column)
        {
            sheet.SetPixel(x + column, y + row,
                           Gdiplus::Color(picture.pixels[size_t(row) * picture.width + column]));
        }
    }
}

} // namespace

// One sheet per widget: short texts above long ones, each at the preferred
// size and 60 pixels wide.
TEST_F(TextWidgets, PicturesAtPreferredAndNarrowSizesWithShortAndLongTexts)
{
    UINT id = 10;
    for (const TextWidgetRow& row : TextWidgetRows())
    {
        SCOPED_TRACE(row.name);
        const std::unique_ptr<CBaseControlWnd> control = row.make();
        const CSize preferred = control->GetPreferredSize();
        CreateIn(*control, CRect(CPoint(20, 20), preferred), id++);
        control->SetBackgroundColor(RGB(0x30, 0x30, 0x38)); // shows the controls' edges
        constexpr int kGap = 8;
        Gdiplus::Bitmap sheet(preferred.cx + 60 + 3 * kGap, 2 * preferred.cy + 3 * kGap);
        {
            Gdiplus::Graphics graphics(&sheet);
            graphics.Clear(Gdiplus::Color(255, 0x80, 0x80, 0x80));
        }
        int y = kGap;
        for (const Sample& sample : {kShort, kLong})
        {
            Write(*control, sample);
            int x = kGap;
            for (const CSize size : {preferred, CSize(60, preferred.cy)})
            {
                const WindowPicture picture = PaintedAt(*control, size);
                ASSERT_EQ(picture.width, size.cx);
                Paste(sheet, picture, x, y);
                x += size.cx + kGap;
            }
            y += preferred.cy + kGap;
        }
        EXPECT_TRUE(SaveControlPicture(sheet, std::string("text_widget_") + row.name));
    }
}

namespace
{

constexpr int kTallestHeadingBox = 28;

// What the Draw of each widget leaves outside its rectangle: text drawn in a
// box without area must not spread over the rest of the surface.
bool DrawsOutside(const TextWidgetRow& row, const ControlDrawState& snapshot, CSize size)
{
    Gdiplus::Bitmap bitmap(size.cx + 120, size.cy + 60);
    {
        Gdiplus::Graphics graphics(&bitmap);
        graphics.Clear(Gdiplus::ColorFromRef(snapshot.backgroundColor));
        PrepareControlGraphics(graphics);
        row.draw(graphics, snapshot, size);
    }
    const COLORREF surface = snapshot.backgroundColor;
    // A pen's half pixel may touch the row and column just outside, and the
    // headings' boxes are of fixed height (to 28 px down) in short controls too.
    const int bottom = std::max<int>(size.cy, kTallestHeadingBox) + 2;
    for (int y = 0; y < int(bitmap.GetHeight()); ++y)
    {
        for (int x = 0; x < int(bitmap.GetWidth()); ++x)
        {
            const bool outside = x >= size.cx + 2 || y >= bottom;
            if (outside && PixelAt(bitmap, x, y) != surface)
            {
                return true;
            }
        }
    }
    return false;
}

ControlDrawState Filled(const wchar_t* text)
{
    ControlDrawState state;
    state.label = text;
    state.textValue = text;
    state.toolTip = text;
    state.backgroundColor = RGB(0, 0, 0);
    return state;
}

} // namespace

TEST(TextWidgetsDraw, BoxesWithoutAreaDrawNoTextInNarrowOrShortControls)
{
    const ControlDrawState state = Filled(L"Wide enough to spill far out of any box WWWW");
    for (const TextWidgetRow& row : TextWidgetRows())
    {
        if (!row.showsText)
        {
            continue;
        }
        SCOPED_TRACE(row.name);
        const CSize preferred = row.make()->GetPreferredSize();
        std::vector<CSize> sizes;
        for (int width = 0; width <= 20; ++width)
        {
            for (int height = 0; height <= 10; ++height)
            {
                sizes.emplace_back(width, height);
            }
            sizes.emplace_back(width, preferred.cy);
        }
        for (int height = 0; height <= 10; ++height)
        {
            sizes.emplace_back(preferred.cx, height);
        }
        for (const CSize size : sizes)
        {
            ASSERT_FALSE(DrawsOutside(row, state, size)) << size.cx << " x " << size.cy;
        }
    }
}

TEST_F(TextWidgets, BadTextsAndSizesNeitherCrashNorSpill)
{
    std::wstring invalid = L"A";
    invalid += wchar_t(0xD800);   // a lone surrogate
    invalid += wchar_t(0x110000); // beyond Unicode
    invalid += wchar_t(0xFFFF);
    invalid += L"B";
    const std::wstring huge(10000, L'w');
    std::wstring hugeWords;
    for (int i = 0; i < 2000; ++i)
    {
        hugeWords += L"word ";
    }
    const std::vector<std::wstring> texts = {L"",      huge,   hugeWords, L"<b>bold</b>",
                                             L"&amp;", invalid};
    UINT id = 10;
    for (const TextWidgetRow& row : TextWidgetRows())
    {
        SCOPED_TRACE(row.name);
        const std::unique_ptr<CBaseControlWnd> control = row.make();
        CreateIn(*control, CRect(CPoint(20, 20), control->GetPreferredSize()), id++);
        for (const std::wstring& text : texts)
        {
            SCOPED_TRACE(text.size());
            const ControlDrawState state = Filled(text.c_str());
            for (const CSize size : {CSize(0, 0), CSize(7, 3), CSize(20, 10), CSize(60, 40)})
            {
                if (!row.showsText)
                {
                    break; // a divider's line is not bounded by its box
                }
                EXPECT_FALSE(DrawsOutside(row, state, size)) << size.cx << " x " << size.cy;
            }
            Write(*control, {"", text.c_str(), text.c_str(), text.c_str()});
            for (const CSize size : {CSize(1, 1), CSize(60, 30)})
            {
                EXPECT_EQ(PaintedAt(*control, size).width, size.cx);
            }
            if (text == hugeWords) // a huge client is slow to compose: once is enough
            {
                EXPECT_EQ(PaintedAt(*control, CSize(4000, 2000)).width, 4000);
            }
        }
    }
}

TEST_F(TextWidgets, MarkupIsDrawnLiterally)
{
    CTextCaptionWnd caption;
    CreateIn(caption, CRect(20, 20, 220, 52));
    const auto pictureOf = [&](const wchar_t* text)
    {
        caption.SetTextValue(text);
        return PaintedAt(caption, CSize(200, 32)).pixels;
    };
    EXPECT_NE(pictureOf(L"&amp;"), pictureOf(L"&"));
    EXPECT_NE(pictureOf(L"<b>x</b>"), pictureOf(L"x"));
}

TEST_F(TextWidgets, TheAccentsHighByteIsIgnored)
{
    UINT id = 10;
    for (const TextWidgetRow& row : TextWidgetRows())
    {
        SCOPED_TRACE(row.name);
        const std::unique_ptr<CBaseControlWnd> control = row.make();
        CreateIn(*control, CRect(CPoint(20, 20), control->GetPreferredSize()), id++);
        control->SetDrawBackground(true);
        control->SetAccentColor(0xFFFFFFFF);
        const WindowPicture withHighByte = PaintedAt(*control, control->GetPreferredSize());
        control->SetAccentColor(0x00FFFFFF);
        const WindowPicture without = PaintedAt(*control, control->GetPreferredSize());
        EXPECT_TRUE(withHighByte.pixels == without.pixels);
    }
}
