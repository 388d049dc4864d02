#include "tests/platform/test_windows.h"

namespace
{

class TrackbarTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(RECT{100, 100, 500, 400}));
        parent.On(WM_HSCROLL,
                  [this](WPARAM w, LPARAM l) -> std::optional<LRESULT>
                  {
                      EXPECT_EQ(reinterpret_cast<HWND>(l), slider.GetSafeHwnd());
                      codes.push_back(LOWORD(w));
                      return 0;
                  });
        ASSERT_TRUE(slider.Create(WS_VISIBLE | TBS_BOTH | TBS_NOTICKS | WS_TABSTOP,
                                  RECT{10, 10, 214, 40}, &parent, 1050));
        slider.SetRange(0, 100, TRUE);
        slider.SetTicFreq(10);
        slider.SetPos(50);
        slider.SetFocus();
        Settle();
    }
    POINT ThumbPoint()
    {
        CRect client;
        slider.GetClientRect(&client);
        // The thumb's centre moves over the channel, inset by half a thumb and 2 px.
        const int left = 7;
        const int width = client.Width() - 14;
        return ScreenPoint(slider, left + width * slider.GetPos() / 100, client.Height() / 2);
    }

    RecordingWnd parent{"parent", log};
    CSliderCtrl slider;
    std::vector<WORD> codes;
};

TEST_F(TrackbarTest, KeysMoveByOneAndByAFifthOfTheRange)
{
    struct Case
    {
        UINT key;
        int expected;
        WORD code;
    };
    const Case cases[] = {{VK_RIGHT, 51, TB_LINEDOWN}, {VK_LEFT, 50, TB_LINEUP},
                          {VK_NEXT, 70, TB_PAGEDOWN},  {VK_PRIOR, 50, TB_PAGEUP},
                          {VK_END, 100, TB_BOTTOM},    {VK_RIGHT, 100, TB_LINEDOWN},
                          {VK_HOME, 0, TB_TOP}};
    for (const Case& c : cases)
    {
        codes.clear();
        session->Key(c.key);
        EXPECT_EQ(slider.GetPos(), c.expected) << "key " << c.key;
        EXPECT_EQ(codes, (std::vector<WORD>{c.code, TB_ENDTRACK})) << "key " << c.key;
    }
}

TEST_F(TrackbarTest, DraggingTheThumbTracksAndEnds)
{
    const POINT start = ThumbPoint();
    session->PressButton(start);
    session->MoveMouse(POINT{start.x + 40, start.y});
    const int during = slider.GetPos();
    session->MoveMouse(POINT{start.x + 1000, start.y});
    session->ReleaseButton(POINT{start.x + 1000, start.y});
    EXPECT_GT(during, 50);
    EXPECT_LT(during, 100);
    EXPECT_EQ(slider.GetPos(), 100) << "dragging past the end stops at the maximum";
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), TB_THUMBTRACK);
    EXPECT_EQ(codes[codes.size() - 2], TB_THUMBPOSITION);
    EXPECT_EQ(codes.back(), TB_ENDTRACK);
}

TEST_F(TrackbarTest, SetPosClampsAndNeverReports)
{
    slider.SetPos(250);
    EXPECT_EQ(slider.GetPos(), 100);
    slider.SetPos(-3);
    EXPECT_EQ(slider.GetPos(), 0);
    EXPECT_TRUE(codes.empty());
    EXPECT_EQ(slider.GetRangeMin(), 0);
    EXPECT_EQ(slider.GetRangeMax(), 100);
}

// A parent may close what holds the slider when it hears the first report of a
// key or a drag; the slider must not touch its state after that.
TEST_F(TrackbarTest, AParentMayDestroyTheSliderFromItsReport)
{
    parent.On(WM_HSCROLL,
              [this](WPARAM w, LPARAM) -> std::optional<LRESULT>
              {
                  codes.push_back(LOWORD(w));
                  slider.DestroyWindow();
                  return 0;
              });
    session->Key(VK_RIGHT);
    EXPECT_FALSE(::IsWindow(slider.GetSafeHwnd()));
    EXPECT_EQ(codes, (std::vector<WORD>{TB_LINEDOWN}));

    codes.clear();
    ASSERT_TRUE(slider.Create(WS_VISIBLE | TBS_BOTH | TBS_NOTICKS | WS_TABSTOP,
                              RECT{10, 10, 214, 40}, &parent, 1050));
    slider.SetRange(0, 100, TRUE);
    slider.SetPos(50);
    Settle();
    const POINT start = ThumbPoint();
    parent.On(WM_HSCROLL,
              [this](WPARAM w, LPARAM) -> std::optional<LRESULT>
              {
                  codes.push_back(LOWORD(w));
                  if (LOWORD(w) == TB_THUMBPOSITION)
                  {
                      slider.DestroyWindow();
                  }
                  return 0;
              });
    session->PressButton(start);
    session->MoveMouse(POINT{start.x + 30, start.y});
    session->ReleaseButton(POINT{start.x + 30, start.y});
    EXPECT_FALSE(::IsWindow(slider.GetSafeHwnd()));
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), TB_THUMBPOSITION) << "a destroyed slider reports nothing more";
}

} // namespace
