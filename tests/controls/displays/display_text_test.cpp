#include "controls/displays/display_text.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// The four slots as text, a point after a character whose dot is lit.
std::wstring Shown(const std::array<DigitSlot, 4>& slots)
{
    std::wstring shown;
    for (const DigitSlot& slot : slots)
    {
        shown += slot.character;
        if (slot.dot)
        {
            shown += L'.';
        }
    }
    return shown;
}

} // namespace

TEST(SevenSegmentSlots, KeepTheLastFourCharactersRightAlignedWithTheirPoints)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"12.3", L" 12.3"},   {L"12.3 dB", L"3 dB"},    {L".5", L"   5"},
        {L"1.2.3", L" 1.2.3"}, {L"-9.8", L" -9.8"},      {L"", L"    "},
        {L"....", L"    "},    {L"12345.6.", L"345.6."}, // points move with their digits
        {L"9.", L"   9."},     {L"1..2", L"  1.2"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Shown(SevenSegmentSlots(c.text)), c.shown) << "text \"" << c.text << "\"";
    }
    const std::wstring long_text(10000, L'7');
    EXPECT_EQ(Shown(SevenSegmentSlots(long_text)), L"7777");
}

TEST(SevenSegmentsOf, LightTheFigureOfEachCharacter)
{
    // Bits a = 1, b = 2, c = 4, d = 8, e = 16, f = 32, g = 64.
    const unsigned expected[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    for (int digit = 0; digit < 10; ++digit)
    {
        EXPECT_EQ(SevenSegmentsOf(wchar_t(L'0' + digit)), expected[digit]) << digit;
    }
    EXPECT_EQ(SevenSegmentsOf(L'-'), 0x40u);
    for (const wchar_t other : {L' ', L'd', L'B', L'\u00b5', wchar_t(0xD800), wchar_t(0x10FFFF)})
    {
        EXPECT_EQ(SevenSegmentsOf(other), 0u);
    }
}

TEST(NixieTubes, KeepTheLastFourDigitsBlanksAndMinusSigns)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* tubes;
    };
    const Case cases[] = {{L"12.3", L" 123"}, {L"12345", L"2345"}, {L"-5", L"  -5"},
                          {L"", L"    "},     {L"dB", L"    "},    {L"1 2", L" 1 2"}};
    for (const Case& c : cases)
    {
        const std::array<wchar_t, 4> tubes = NixieTubes(c.text);
        EXPECT_EQ(std::wstring(tubes.begin(), tubes.end()), c.tubes) << "text \"" << c.text << "\"";
    }
}

TEST(PanelLightColors, BrightAndHotCapAndDarkRounds)
{
    const PanelLightColors red = PanelLightColorsOf(RGB(255, 0, 0), 1.0);
    EXPECT_EQ(red.bright.red, 255);
    EXPECT_EQ(red.hot.red, 255);
    EXPECT_EQ(red.dark.red, 41); // 255 x 0.16 = 40.8
    EXPECT_EQ(red.bright.green, 44);
    EXPECT_EQ(red.hot.green, 44 + int((255 - 44) * 0.72)); // 195
    EXPECT_EQ(PanelLightColorsOf(RGB(255, 0, 0), 0.0).hot.green, 44);
    // The high byte of a COLORREF is not a colour.
    EXPECT_EQ(PanelLightColorsOf(0xFFFFFFFF, 0.5).dark.blue, 41);
}
