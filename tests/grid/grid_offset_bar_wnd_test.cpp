// The grid's offset bar: its geometry, the offsets it posts for clicks and
// drags, and how it looks idle, hovered and dragged.
#include "grid/grid_offset_bar_wnd.h"

#include "controls/base/control_messages.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace
{

// Counts its paints, to tell a redraw from none.
class CountingBar : public CGridOffsetBarWnd
{
public:
    int paints = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_PAINT)
        {
            ++paints;
        }
        return CGridOffsetBarWnd::WindowProc(msg, wParam, lParam);
    }
};

CGridOffsetBarWnd::State StateOf(int vertical, int content, int view, int offset)
{
    CGridOffsetBarWnd::State state;
    state.vertical = vertical;
    state.contentExtent = content;
    state.viewExtent = view;
    state.offset = offset;
    return state;
}

class GridOffsetBarTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(600, 100, 1200, 700)));
        Settle();
    }

    // A bar in the parent at `rect`, set up and shown as its owner would.
    void Make(CountingBar& bar, const CRect& rect, int vertical, int content, int view, int offset)
    {
        ASSERT_TRUE(bar.Create(rect, &parent, 77));
        EXPECT_FALSE(bar.IsWindowVisible()) << "created visible";
        bar.vertical = vertical;
        bar.accent = 0xD8D8D8;
        bar.SetRange(content, view, offset);
        bar.ShowWindow(SW_SHOW);
        Settle();
    }

    // The offsets the parent was posted, with their wParam.
    std::vector<std::pair<WPARAM, LPARAM>> Posts()
    {
        PumpPendingMessages();
        std::vector<std::pair<WPARAM, LPARAM>> posts;
        for (const LoggedMessage& m : log.entries)
        {
            if (m.window == "parent" && m.message == WMU_CONTROL_COMMIT)
            {
                posts.emplace_back(m.wParam, m.lParam);
            }
        }
        log.Clear();
        return posts;
    }

    RecordingWnd parent{"parent", log};
};

} // namespace

TEST(GridOffsetBarGeometry, PlacesTrackAndThumbAlongTheAxis)
{
    struct Case
    {
        const char* what;
        RECT client;
        CGridOffsetBarWnd::State state;
        RECT track;
        RECT thumb;
        int length;
        int thumbLength;
        int travel;
        int range;
    };
    const Case cases[] = {
        {"half the content in view",
         {0, 0, 400, 12},
         StateOf(0, 800, 400, 200),
         {0, 3, 400, 9},
         {100, 3, 300, 9},
         400,
         200,
         200,
         400},
        {"the thumb never below 28 px",
         {0, 0, 400, 12},
         StateOf(0, 10000, 100, 0),
         {0, 3, 400, 9},
         {0, 3, 28, 9},
         400,
         28,
         372,
         9900},
        {"nothing to scroll",
         {0, 0, 400, 12},
         StateOf(0, 300, 400, 0),
         {0, 3, 400, 9},
         {0, 3, 400, 9},
         400,
         400,
         0,
         0},
        {"vertical, at the end",
         {0, 0, 12, 400},
         StateOf(1, 800, 400, 400),
         {3, 0, 9, 400},
         {3, 200, 9, 400},
         400,
         200,
         200,
         400},
        {"offset held to the range",
         {0, 0, 400, 12},
         StateOf(0, 800, 400, 5000),
         {0, 3, 400, 9},
         {200, 3, 400, 9},
         400,
         200,
         200,
         400},
        {"a track shorter than the least thumb",
         {0, 0, 20, 12},
         StateOf(0, 800, 400, 100),
         {0, 3, 20, 9},
         {0, 3, 20, 9},
         20,
         20,
         0,
         400},
        {"thinner than the track",
         {0, 0, 400, 5},
         StateOf(0, 800, 400, 0),
         {0, 0, 400, 6},
         {0, 0, 200, 6},
         400,
         200,
         200,
         400},
        {"content near the int limit",
         {0, 0, 400, 12},
         StateOf(0, INT_MAX, 1, INT_MAX),
         {0, 3, 400, 9},
         {372, 3, 400, 9},
         400,
         28,
         372,
         INT_MAX - 1},
        {"an empty client",
         {0, 0, 0, 12},
         StateOf(0, 800, 400, 200),
         {0, 0, 0, 0},
         {0, 0, 0, 0},
         0,
         0,
         0,
         0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const CGridOffsetBarWnd::Geometry g = CGridOffsetBarWnd::ComputeGeometry(c.client, c.state);
        EXPECT_EQ(CRect(g.track), CRect(c.track));
        EXPECT_EQ(CRect(g.thumb), CRect(c.thumb));
        EXPECT_EQ(g.length, c.length);
        EXPECT_EQ(g.thumbLength, c.thumbLength);
        EXPECT_EQ(g.travel, c.travel);
        EXPECT_EQ(g.range, c.range);
    }
}

TEST(GridOffsetBarLook, ThumbColoursFollowTheState)
{
    struct Case
    {
        bool dragging;
        bool hover;
        BYTE alpha;
        BYTE channel;
    };
    const Case cases[] = {{false, false, 138, 178},
                          {false, true, 196, 216},
                          {true, false, 224, 202},
                          {true, true, 224, 202}};
    for (const Case& c : cases)
    {
        const Gdiplus::Color colour = CGridOffsetBarWnd::ThumbColor(0xD8D8D8, c.dragging, c.hover);
        EXPECT_EQ(colour.GetA(), c.alpha) << c.dragging << c.hover;
        EXPECT_EQ(colour.GetR(), c.channel);
        EXPECT_EQ(colour.GetG(), c.channel);
        EXPECT_EQ(colour.GetB(), c.channel);
    }
    // Channels stop at 0.
    const Gdiplus::Color dark = CGridOffsetBarWnd::ThumbColor(RGB(10, 30, 50), false, false);
    EXPECT_EQ(dark.GetR(), 0);
    EXPECT_EQ(dark.GetG(), 0);
    EXPECT_EQ(dark.GetB(), 12);
}

TEST_F(GridOffsetBarTest, SetRangeClampsAndRepaintsOnlyOnAChange)
{
    CountingBar bar;
    Make(bar, CRect(0, 0, 400, 12), 0, 0, 0, 0);
    struct Step
    {
        int content, view, offset;
        int storedContent, storedView, storedOffset;
        bool repaints;
    };
    const Step steps[] = {
        {800, 400, 1000, 800, 400, 400, true},
        {800, 400, 400, 800, 400, 400, false},
        {800, 400, -5, 800, 400, 0, true},
        {800, 400, -5, 800, 400, 0, false},
        {-5, -3, 7, 0, 0, 0, true},
        {300, 400, 50, 300, 400, 0, true},
    };
    for (const Step& s : steps)
    {
        const int before = bar.paints;
        bar.SetRange(s.content, s.view, s.offset);
        EXPECT_EQ(bar.contentExtent, s.storedContent);
        EXPECT_EQ(bar.viewExtent, s.storedView);
        EXPECT_EQ(bar.offset, s.storedOffset);
        EXPECT_EQ(bar.paints > before, s.repaints)
            << s.content << ", " << s.view << ", " << s.offset;
    }
    EXPECT_TRUE(Posts().empty()) << "the owner's range was posted back";
}

TEST_F(GridOffsetBarTest, AClickOnTheTrackCentresTheThumbThereAndPostsOnce)
{
    struct Case
    {
        int vertical;
        CRect rect;
    };
    for (const Case& c : {Case{0, CRect(0, 0, 400, 12)}, Case{1, CRect(20, 0, 32, 400)}})
    {
        SCOPED_TRACE(c.vertical);
        CountingBar bar;
        Make(bar, c.rect, c.vertical, 10000, 100, 0);
        // The thumb is 28 px from 0: its centre is at 14; click 50 px further.
        const POINT at = c.vertical != 0 ? ScreenPoint(bar, 6, 64) : ScreenPoint(bar, 64, 6);
        session->PressButton(at);
        EXPECT_TRUE(bar.dragging);
        session->ReleaseButton(at);
        const auto posts = Posts();
        ASSERT_EQ(posts.size(), 1u);
        EXPECT_EQ(posts[0].first, WPARAM(c.vertical));
        EXPECT_EQ(posts[0].second, 1330); // 50 / 372 of 9900
        EXPECT_EQ(bar.offset, 1330);
        CRect client;
        bar.GetClientRect(&client);
        const RECT thumb = bar.GetGeometry(client).thumb;
        const int centre =
            c.vertical != 0 ? (thumb.top + thumb.bottom) / 2 : (thumb.left + thumb.right) / 2;
        EXPECT_LE(std::abs(centre - 64), 1);
        EXPECT_FALSE(bar.dragging);
    }
}

TEST_F(GridOffsetBarTest, DraggingPastTheEndsPostsTheRangeAndZero)
{
    CountingBar bar;
    Make(bar, CRect(20, 20, 420, 32), 0, 800, 400, 0);
    session->PressButton(ScreenPoint(bar, 100, 6)); // on the thumb: nothing moves yet
    EXPECT_EQ(bar.grabOffset, 100);
    session->MoveMouse(ScreenPoint(bar, 150, 6));
    session->MoveMouse(ScreenPoint(bar, 1000, 40));
    session->MoveMouse(ScreenPoint(bar, 1200, 6));
    session->MoveMouse(ScreenPoint(bar, -500, 6));
    session->ReleaseButton(ScreenPoint(bar, -500, 6));
    const auto posts = Posts();
    ASSERT_EQ(posts.size(), 3u) << "one post per changed offset, none at the release";
    EXPECT_EQ(posts[0].second, 100);
    EXPECT_EQ(posts[1].second, 400);
    EXPECT_EQ(posts[2].second, 0);
    EXPECT_EQ(posts[0].first, WPARAM(0));
    EXPECT_FALSE(bar.dragging);
    EXPECT_EQ(bar.grabOffset, 0);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(GridOffsetBarTest, NothingToScrollMeansAClickPostsNothing)
{
    CountingBar bar;
    Make(bar, CRect(0, 0, 400, 12), 0, 300, 400, 0);
    session->Click(ScreenPoint(bar, 200, 1));
    session->Click(ScreenPoint(bar, 390, 6));
    EXPECT_TRUE(Posts().empty());
    EXPECT_EQ(bar.offset, 0);

    CountingBar empty; // no client at all
    Make(empty, CRect(0, 50, 0, 62), 0, 800, 400, 0);
    empty.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
    empty.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    empty.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    empty.RedrawWindow();
    EXPECT_TRUE(Posts().empty());
    EXPECT_FALSE(empty.dragging);
}

TEST_F(GridOffsetBarTest, LosingTheCaptureEndsTheDragWithoutAPost)
{
    CountingBar bar;
    Make(bar, CRect(0, 0, 400, 12), 0, 800, 400, 200);
    session->PressButton(ScreenPoint(bar, 150, 6));
    ASSERT_TRUE(bar.dragging);
    ::SetCapture(parent.GetSafeHwnd());
    EXPECT_FALSE(bar.dragging);
    EXPECT_EQ(bar.grabOffset, 0);
    session->MoveMouse(ScreenPoint(bar, 300, 6));
    ::ReleaseCapture();
    EXPECT_TRUE(Posts().empty());
    EXPECT_EQ(bar.offset, 200);
}

TEST_F(GridOffsetBarTest, HoverFollowsOnlyTheMessagesTheBarHears)
{
    CountingBar bar;
    Make(bar, CRect(0, 0, 400, 12), 0, 800, 400, 0);
    session->MoveMouse(ScreenPoint(bar, 300, 6));
    EXPECT_TRUE(bar.hoverBar);
    EXPECT_FALSE(bar.hoverThumb);
    session->MoveMouse(ScreenPoint(bar, 50, 6));
    EXPECT_TRUE(bar.hoverThumb);
    session->MoveMouse(ScreenPoint(parent, 300, 300)); // away: the bar hears nothing
    EXPECT_TRUE(bar.hoverBar);
    EXPECT_TRUE(bar.hoverThumb);
}

TEST_F(GridOffsetBarTest, PicturesIdleHoveredAndDragging)
{
    struct Look
    {
        const char* name;
        bool hover;
        bool dragging;
    };
    const Look looks[] = {
        {"idle", false, false}, {"hovered", true, false}, {"dragging", false, true}};
    std::vector<WindowPicture> pictures;
    for (const int vertical : {0, 1})
    {
        for (const Look& look : looks)
        {
            CountingBar bar;
            const CRect rect = vertical != 0 ? CRect(0, 0, 12, 240) : CRect(0, 0, 240, 12);
            Make(bar, rect, vertical, 900, 300, 300);
            bar.hoverBar = bar.hoverThumb = look.hover;
            bar.dragging = look.dragging;
            bar.RedrawWindow();
            const std::string name = std::string("grid_offset_bar_") +
                                     (vertical != 0 ? "vertical_" : "horizontal_") + look.name;
            const std::filesystem::path path =
                std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / (name + ".png");
            std::cout << "picture: " << path.string() << '\n';
            EXPECT_TRUE(RenderWindowToPng(bar.GetSafeHwnd(), path));
            WindowPicture picture;
            ASSERT_TRUE(ComposeWindowPicture(bar.GetSafeHwnd(), picture));
            // Thumb from 80 to 160 along the axis; the track's ends outside it.
            const auto at = [&](int along, int across) {
                return vertical != 0 ? picture.ColorAt(across, along)
                                     : picture.ColorAt(along, across);
            };
            EXPECT_EQ(at(120, 0), COLORREF(0x100E0C)) << "beside the track: the background";
            EXPECT_NE(at(120, 6), at(20, 6)) << "the thumb stands out of the track";
            EXPECT_NE(at(20, 6), COLORREF(0x100E0C)) << "the track is drawn";
            pictures.push_back(picture);
            bar.DestroyWindow();
        }
        const size_t first = pictures.size() - 3;
        EXPECT_NE(pictures[first].pixels, pictures[first + 1].pixels) << "hover looks the same";
        EXPECT_NE(pictures[first].pixels, pictures[first + 2].pixels) << "a drag looks the same";
    }
}
