#include "controls/sliders/slider_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

SliderLayout Horizontal(int width, double value, bool bipolar = false)
{
    return MakeSliderLayout(RECT{0, 0, width, 80}, SliderAxis::Horizontal, value, bipolar);
}

SliderLayout Vertical(int height, double value, bool bipolar = false)
{
    return MakeSliderLayout(RECT{0, 0, 80, height}, SliderAxis::Vertical, value, bipolar);
}

} // namespace

TEST(SliderLayout, PlacesTheTrackBoxesAndThumbAsDrawn)
{
    const SliderLayout h = Horizontal(160, 0.5);
    EXPECT_EQ(h.track.left, 16);
    EXPECT_EQ(h.track.right, 144);
    EXPECT_EQ(h.track.top, 44);
    EXPECT_EQ(h.track.bottom, 52);
    EXPECT_EQ(h.labelBox.left, 10);
    EXPECT_EQ(h.valueBox.left, 88);
    EXPECT_EQ(h.thumbX, 80);
    EXPECT_EQ(h.thumbY, 48);
    EXPECT_EQ(h.thumbRadius, 8);

    const SliderLayout v = Vertical(320, 0.25);
    EXPECT_EQ(v.track.left, 36);
    EXPECT_EQ(v.track.right, 44);
    EXPECT_EQ(v.track.top, 48);
    EXPECT_EQ(v.track.bottom, 270);
    EXPECT_EQ(v.valueBox.top, 286);
    EXPECT_EQ(v.thumbX, 40);
    EXPECT_EQ(v.thumbY, 214); // 270 - 0.25 x 222, truncated
}

TEST(SliderLayout, TheThumbFollowsTheValueFromTheLowEndOrTheMiddle)
{
    struct Case
    {
        double value;
        bool bipolar;
        int x; // 160 wide
        int y; // 320 high
    };
    const Case cases[] = {
        {0, false, 16, 270},  {1, false, 144, 48},
        {0.5, true, 80, 159}, {0, true, 16, 270},
        {1, true, 144, 48},   {-3, false, 16, 270},
        {7, true, 144, 48},   {std::numeric_limits<double>::quiet_NaN(), false, 16, 270},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.value << (c.bipolar ? " bipolar" : ""));
        EXPECT_EQ(Horizontal(160, c.value, c.bipolar).thumbX, c.x);
        EXPECT_EQ(Vertical(320, c.value, c.bipolar).thumbY, c.y);
    }
}

TEST(SliderLayout, ThePointerGivesTheValueHeldToTheTrack)
{
    struct Case
    {
        int at;
        bool bipolar;
        double horizontal; // x on a 160-wide slider
        double vertical;   // y on a 320-high slider
    };
    const Case cases[] = {
        {80, false, 0.5, 190.0 / 222}, {10, false, 0.0, 1.0},
        {500, false, 1.0, 0.0},        {-9999, false, 0.0, 1.0},
        {48, true, 0.25, 1.0},         {270, true, 1.0, 0.0},
        {159, true, 1.0, 0.5},         {80, true, 0.5, 0.5 + 79.0 / 111 * 0.5},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.at << (c.bipolar ? " bipolar" : ""));
        EXPECT_DOUBLE_EQ(SliderValueAt(Horizontal(160, 0.3, c.bipolar), SliderAxis::Horizontal,
                                       c.bipolar, POINT{c.at, 48}),
                         c.horizontal);
        EXPECT_DOUBLE_EQ(SliderValueAt(Vertical(320, 0.3, c.bipolar), SliderAxis::Vertical,
                                       c.bipolar, POINT{40, c.at}),
                         c.vertical);
    }
}

TEST(SliderLayout, TheHitAreaIsTheTrackGrownBy10AndTheSquareRoundTheThumb)
{
    const SliderLayout h = Horizontal(160, 1.0); // thumb at 144, 48
    struct Case
    {
        int x;
        int y;
        bool inside;
    };
    const Case cases[] = {
        {6, 48, true},  {5, 48, false},  {153, 48, true}, {80, 34, true},   {80, 33, false},
        {80, 61, true}, {80, 62, false}, {161, 30, true}, {161, 29, false}, {162, 48, false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(InSliderHitArea(h, POINT{c.x, c.y}), c.inside) << c.x << ", " << c.y;
    }
}

// Too narrow or too short for the track: the thumb stays on its ends and
// the pointer reads as the low end, or the middle of a bipolar slider.
TEST(SliderLayout, ASliderTooSmallForItsTrackPinsItsThumb)
{
    struct Case
    {
        SliderAxis axis;
        RECT client;
    };
    const Case cases[] = {
        {SliderAxis::Horizontal, {0, 0, 32, 80}}, {SliderAxis::Horizontal, {0, 0, 10, 10}},
        {SliderAxis::Horizontal, {0, 0, 0, 0}},   {SliderAxis::Vertical, {0, 0, 80, 98}},
        {SliderAxis::Vertical, {0, 0, 10, 10}},   {SliderAxis::Vertical, {0, 0, 32, 80}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.client.right << " x " << c.client.bottom);
        const bool horizontal = c.axis == SliderAxis::Horizontal;
        for (const bool bipolar : {false, true})
        {
            const SliderLayout low = MakeSliderLayout(c.client, c.axis, 0.0, bipolar);
            const SliderLayout high = MakeSliderLayout(c.client, c.axis, 1.0, bipolar);
            const RECT& t = low.track;
            const int position = horizontal ? low.thumbX : low.thumbY;
            const int other = horizontal ? high.thumbX : high.thumbY;
            const int a = horizontal ? t.left : t.top;
            const int b = horizontal ? t.right : t.bottom;
            EXPECT_GE(position, std::min(a, b));
            EXPECT_LE(position, std::max(a, b));
            EXPECT_GE(other, std::min(a, b));
            EXPECT_LE(other, std::max(a, b));
            for (const int at : {-100, 0, 5, 40, 300})
            {
                const POINT p = horizontal ? POINT{at, 48} : POINT{40, at};
                EXPECT_EQ(SliderValueAt(low, c.axis, bipolar, p), bipolar ? 0.5 : 0.0);
            }
        }
    }
}
