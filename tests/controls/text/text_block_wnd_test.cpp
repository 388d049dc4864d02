#include "controls/text/text_block_wnd.h"

#include "tests/controls/text/text_widget_kit.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

constexpr COLORREF kSurface = RGB(0, 0, 0);

// The bands of rows of `area` that hold ink, top to bottom.
std::vector<std::pair<int, int>> InkBands(const WindowPicture& picture, const CRect& area)
{
    std::vector<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = area.top; y < area.bottom; ++y)
    {
        const bool ink =
            InkBounds(picture, kSurface, CRect(area.left, y, area.right, y + 1)).has_value();
        if (ink && !inBand)
        {
            bands.emplace_back(y, y + 1);
        }
        if (ink)
        {
            bands.back().second = y + 1;
        }
        inBand = ink;
    }
    return bands;
}

class TextBlock : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(block, CRect(CPoint(20, 20), block.GetPreferredSize()));
        block.SetBackgroundColor(kSurface);
    }

    CTextBlockWnd block;
};

} // namespace

TEST_F(TextBlock, ANewBlockShowsItsTitleOverTheTwoLinesOfItsToolTip)
{
    const WindowPicture picture = PaintedAt(block, CSize(160, 80));
    const auto heading = InkBands(picture, CRect(0, 0, 160, 30));
    ASSERT_EQ(heading.size(), 1u);
    EXPECT_GE(heading[0].first, 8);
    // "\r\n" is one break: two lines, not three.
    const auto body = InkBands(picture, CRect(0, 30, 160, 80));
    ASSERT_EQ(body.size(), 2u);
    EXPECT_GE(body[0].first, 32);
    EXPECT_LE(body[1].second, 80 - 8);
    const std::optional<CRect> ink = InkBounds(picture, kSurface, Whole(picture));
    ASSERT_TRUE(ink.has_value());
    EXPECT_GE(ink->left, 10 + 2) << "10 px margin and the text's padding";
}

TEST_F(TextBlock, ALongBodyIsCutAtItsBoxAndKeepsTheMargins)
{
    block.SetDrawBorder(false);
    block.SetDrawBackground(false);
    block.SetTextValue(L"A body much longer than the block can hold, in words that wrap from one "
                       L"line to the next until the box ends and the rest is cut away.");
    const WindowPicture picture = PaintedAt(block, CSize(160, 80));
    const std::optional<CRect> ink = InkBounds(picture, kSurface, Whole(picture));
    ASSERT_TRUE(ink.has_value());
    EXPECT_LE(ink->bottom, 80 - 8) << "the body box ends 8 px above the bottom";
    EXPECT_LE(ink->right, 160 - 10) << "and 10 px left of the right edge";
}
