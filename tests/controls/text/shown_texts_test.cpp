#include "controls/text/shown_texts.h"

#include "controls/text/text_block_wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

ControlDrawState Texts(const wchar_t* label, const wchar_t* textValue, const wchar_t* toolTip)
{
    ControlDrawState state;
    state.label = label;
    state.textValue = textValue;
    state.toolTip = toolTip;
    state.valueText = L"99%"; // the formatted value, which no text widget shows
    return state;
}

struct Case
{
    const char* what;
    ShownTexts (*choose)(const ControlDrawState&);
    ControlDrawState state;
    std::wstring first;
    std::wstring second;
};

} // namespace

TEST(ShownTexts, EachWidgetPicksItsTextsWithTheirFallBacks)
{
    const std::vector<Case> cases = {
        {"title shows its label only", &TitleTexts, Texts(L"Title", L"Value", L"Tip"), L"Title",
         L""},
        {"caption without a text value shows its label", &CaptionTexts,
         Texts(L"Caption", L"", L"Tip"), L"Caption", L""},
        {"caption with a text value never shows its label", &CaptionTexts,
         Texts(L"Caption", L"Value", L""), L"Value", L""},
        {"caption block: the placeholder body gives way to the tool tip", &CaptionBlockTexts,
         Texts(L"Heading", L"Short supporting text.", L"Tip"), L"Heading", L"Tip"},
        {"caption block: an empty body gives way to the tool tip", &CaptionBlockTexts,
         Texts(L"Heading", L"", L"Tip"), L"Heading", L"Tip"},
        {"caption block: a written body stays", &CaptionBlockTexts,
         Texts(L"Heading", L"Body", L"Tip"), L"Heading", L"Body"},
        {"caption block without a tool tip keeps the placeholder", &CaptionBlockTexts,
         Texts(L"Heading", L"Short supporting text.", L""), L"Heading", L"Short supporting text."},
        {"caption block without a tool tip or body shows no body", &CaptionBlockTexts,
         Texts(L"Heading", L"", L""), L"Heading", L""},
        {"caption block: the placeholder is matched whole", &CaptionBlockTexts,
         Texts(L"Heading", L"Short supporting text", L"Tip"), L"Heading", L"Short supporting text"},
        {"label strip without a text value shows its label", &LabelStripTexts,
         Texts(L"Text Label", L"", L""), L"Text Label", L""},
        {"label strip with a text value shows it", &LabelStripTexts,
         Texts(L"Text Label", L"Value", L""), L"Value", L""},
        {"text block without a text value shows its tool tip", &TextBlockTexts,
         Texts(L"Title", L"", L"Tip"), L"Title", L"Tip"},
        {"text block with a text value shows it", &TextBlockTexts, Texts(L"Title", L"Body", L"Tip"),
         L"Title", L"Body"},
        {"value readout shows the text value, not the formatted value", &ValueReadoutTexts,
         Texts(L"Readout", L"12.3 dB", L"Tip"), L"Readout", L"12.3 dB"},
        {"value readout without a text value shows no value", &ValueReadoutTexts,
         Texts(L"Readout", L"", L""), L"Readout", L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const ShownTexts shown = c.choose(c.state);
        EXPECT_EQ(shown.first.Str(), c.first);
        EXPECT_EQ(shown.second.Str(), c.second);
    }
}

TEST(ShownTexts, ANewTextBlockShowsItsTitleAndTheTwoToolTipLinesUntilATextValueIsSet)
{
    CTextBlockWnd block;
    ShownTexts shown = TextBlockTexts(block.GetDrawState());
    EXPECT_EQ(shown.first.Str(), L"Title");
    EXPECT_EQ(shown.second.Str(), L"Wrapped text block.\r\nSecond line.");

    block.SetTextValue(L"Written");
    shown = TextBlockTexts(block.GetDrawState());
    EXPECT_EQ(shown.second.Str(), L"Written");
}
