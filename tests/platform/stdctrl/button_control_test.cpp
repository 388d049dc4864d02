#include "tests/platform/test_windows.h"

namespace
{

// Buttons and statics in a plain parent that records each notification with
// the sender's check state at that moment.
class ButtonControlTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(RECT{100, 100, 500, 400}));
        parent.On(WM_COMMAND,
                  [this](WPARAM w, LPARAM l) -> std::optional<LRESULT>
                  {
                      const auto sender = reinterpret_cast<HWND>(l);
                      notes.push_back({LOWORD(w), HIWORD(w),
                                       static_cast<int>(SendMessageW(sender, BM_GETCHECK, 0, 0))});
                      return 0;
                  });
    }
    void Add(CButton& button, LPCTSTR text, DWORD style, int y, UINT id)
    {
        ASSERT_TRUE(button.Create(text, WS_VISIBLE | WS_TABSTOP | style, RECT{10, y, 150, y + 20},
                                  &parent, id));
    }

    struct Note
    {
        int id;
        int code;
        int checkAtNotice;
    };
    RecordingWnd parent{"parent", log};
    std::vector<Note> notes;
};

TEST_F(ButtonControlTest, ACheckBoxTogglesBeforeItReportsTheClick)
{
    CButton box;
    Add(box, L"Include", BS_AUTOCHECKBOX, 10, 1005);
    session->Click(ScreenPoint(box, 5, 10));
    session->Click(ScreenPoint(box, 5, 10));
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].code, BN_CLICKED);
    EXPECT_EQ(notes[0].checkAtNotice, BST_CHECKED);
    EXPECT_EQ(notes[1].checkAtNotice, BST_UNCHECKED);
    box.SetCheck(BST_CHECKED);
    EXPECT_EQ(notes.size(), 2u) << "setting the state by code reports nothing";
    session->Key(VK_SPACE, L' ');
    EXPECT_EQ(box.GetCheck(), BST_UNCHECKED) << "Space clicks the focused box";
}

TEST_F(ButtonControlTest, ARadioChecksItselfAndClearsOnlyItsGroup)
{
    CButton a;
    CButton b;
    CButton c;
    Add(a, L"A", BS_AUTORADIOBUTTON | WS_GROUP, 10, 1);
    Add(b, L"B", BS_AUTORADIOBUTTON, 40, 2);
    Add(c, L"C", BS_AUTORADIOBUTTON | WS_GROUP, 70, 3);
    c.SetCheck(BST_CHECKED);
    session->Click(ScreenPoint(a, 5, 10));
    session->Click(ScreenPoint(b, 5, 10));
    EXPECT_EQ(a.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(b.GetCheck(), BST_CHECKED);
    EXPECT_EQ(c.GetCheck(), BST_CHECKED) << "another group keeps its choice";
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1].checkAtNotice, BST_CHECKED);
}

TEST_F(ButtonControlTest, AReleaseOutsideTheButtonIsNoClick)
{
    CButton push;
    Add(push, L"Go", BS_PUSHBUTTON, 10, 77);
    session->PressButton(ScreenPoint(push, 10, 10));
    session->MoveMouse(ScreenPoint(push, 300, 10));
    session->ReleaseButton(ScreenPoint(push, 300, 10));
    EXPECT_TRUE(notes.empty());
    session->PressButton(ScreenPoint(push, 10, 10));
    session->MoveMouse(ScreenPoint(push, 300, 10));
    session->MoveMouse(ScreenPoint(push, 12, 10));
    session->ReleaseButton(ScreenPoint(push, 12, 10));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].id, 77);
}

TEST_F(ButtonControlTest, OnlyANotifyingStaticHearsTheMouse)
{
    CStatic plain;
    CStatic notifying;
    ASSERT_TRUE(plain.Create(L"&Label", WS_VISIBLE | SS_LEFT, RECT{10, 10, 150, 30}, &parent, 5));
    ASSERT_TRUE(
        notifying.Create(L"", WS_VISIBLE | SS_NOTIFY, RECT{10, 40, 150, 60}, &parent, 20483));
    session->Click(ScreenPoint(plain, 5, 5));
    EXPECT_EQ(log.Count("parent", WM_LBUTTONDOWN), 1) << "a plain label lets the click through";
    session->Click(ScreenPoint(notifying, 5, 5));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].id, 20483);
    EXPECT_EQ(notes[0].code, STN_CLICKED);
}

} // namespace
