#include "tests/platform/dialog_fixtures.h"
#include "tests/platform/test_windows.h"

#include "platform/stdctrl/edit_text_model.h"

namespace
{

using brvl::win32::EditTextModel;

// An edit control in a plain parent that counts EN_CHANGE.
class EditControlTest : public WindowTest
{
protected:
    void Make(DWORD style)
    {
        ASSERT_TRUE(parent.CreateTopLevel(RECT{100, 100, 500, 400}));
        parent.On(WM_COMMAND,
                  [this](WPARAM w, LPARAM) -> std::optional<LRESULT>
                  {
                      if (HIWORD(w) == EN_CHANGE && LOWORD(w) == 7)
                      {
                          ++changes;
                      }
                      return 0;
                  });
        ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | WS_TABSTOP | style, RECT{10, 10, 210, 90},
                                &parent, 7));
        edit.SetFocus();
        Settle();
        changes = 0;
    }
    std::wstring Text() const
    {
        CString text;
        const int n = edit.GetWindowTextLength();
        ::GetWindowTextW(edit.GetSafeHwnd(), text.GetBuffer(n), n + 1);
        text.ReleaseBuffer();
        return text.Str();
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
        {
            session->Key(0, c);
        }
    }

    RecordingWnd parent{"parent", log};
    CEdit edit;
    int changes = 0;
};

TEST_F(EditControlTest, TypingSelectingDeletingAndPastingOnOneLine)
{
    Make(ES_AUTOHSCROLL);
    Type(L"hello world");
    EXPECT_EQ(Text(), L"hello world");
    EXPECT_EQ(changes, 11) << "every typed character reports a change";
    session->Key(VK_LEFT, 0, MK_SHIFT | MK_CONTROL); // select "world"
    session->Key('C', 0, MK_CONTROL);
    EXPECT_EQ(session->ClipboardText(), L"world");
    session->Key(VK_BACK);
    EXPECT_EQ(Text(), L"hello ");
    session->Key(VK_HOME);
    session->Key('V', 0, MK_CONTROL);
    EXPECT_EQ(Text(), L"worldhello ");
    session->Key(VK_DELETE);
    EXPECT_EQ(Text(), L"worldello ");
    session->SetClipboardText(L"two\r\nlines");
    session->Key(VK_END);
    session->Key(VK_INSERT, 0, MK_SHIFT);
    EXPECT_EQ(Text(), L"worldello two") << "a single line keeps the first line of a paste";
    session->Key('A', 0, MK_CONTROL);
    session->Key('X', 0, MK_CONTROL);
    EXPECT_EQ(Text(), L"");
    EXPECT_EQ(session->ClipboardText(), L"worldello two");
    const int before = changes;
    session->Key(VK_BACK);
    EXPECT_EQ(changes, before) << "nothing to delete is no change";
}

TEST_F(EditControlTest, MultiLineTextUsesCrLfAndEnterStartsALine)
{
    Make(ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL);
    Type(L"one");
    session->Key(VK_RETURN, L'\r');
    Type(L"two");
    EXPECT_EQ(Text(), L"one\r\ntwo");
    edit.SetWindowText(L"a\nb\r\nc\rd");
    EXPECT_EQ(Text(), L"a\r\nb\r\nc\r\nd") << "every break comes back as CRLF";
    edit.SetSel(3, 6); // "b" and its line break, counted as two characters
    int start = 0;
    int end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 6);
    edit.ReplaceSel(L"");
    EXPECT_EQ(Text(), L"a\r\nc\r\nd");
    session->Key(VK_DOWN);
    Type(L"X");
    EXPECT_EQ(Text(), L"a\r\nc\r\nXd") << "Down keeps the column on the next line";
    EXPECT_EQ(edit.GetLineCount(), 3);
}

TEST_F(EditControlTest, ChangeNotificationsFollowTheWindowsRules)
{
    struct Case
    {
        DWORD style;
        int expected;
    };
    const Case cases[] = {{ES_AUTOHSCROLL, 1}, {ES_MULTILINE | ES_WANTRETURN, 0}};
    for (const Case& c : cases)
    {
        Make(c.style);
        edit.SetWindowText(L"set by code");
        EXPECT_EQ(changes, c.expected) << "style " << c.style;
        edit.DestroyWindow();
        parent.DestroyWindow();
    }
}

TEST_F(EditControlTest, ReadOnlyFieldsSelectAndCopyButNeverChange)
{
    Make(ES_AUTOHSCROLL | ES_READONLY);
    edit.SetWindowText(L"fixed");
    changes = 0;
    Type(L"x");
    session->Key(VK_BACK);
    session->Key('A', 0, MK_CONTROL);
    session->Key('C', 0, MK_CONTROL);
    session->Key('X', 0, MK_CONTROL);
    session->Key('V', 0, MK_CONTROL);
    EXPECT_EQ(Text(), L"fixed");
    EXPECT_EQ(session->ClipboardText(), L"fixed");
    EXPECT_EQ(changes, 0);
}

TEST_F(EditControlTest, MouseDragSelectsAndShiftClickExtends)
{
    Make(ES_AUTOHSCROLL);
    edit.SetWindowText(L"abcdefgh");
    const POINT left = ScreenPoint(edit, 3, 10);
    const POINT right = ScreenPoint(edit, 190, 10);
    session->PressButton(left);
    session->MoveMouse(right);
    session->ReleaseButton(right);
    int start = -1;
    int end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 8);
    Type(L"Z");
    EXPECT_EQ(Text(), L"Z");
}

TEST_F(EditControlTest, TheFieldScrollsToKeepTheCaretInView)
{
    struct Case
    {
        DWORD style;
        std::wstring typed; // "\r" is Enter
    };
    const Case cases[] = {
        {ES_AUTOHSCROLL, std::wstring(120, L'w')},
        {ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, L"1\r2\r3\r4\r5\r6\r7\r8\r9"},
    };
    for (const Case& c : cases)
    {
        Make(c.style);
        for (wchar_t ch : c.typed)
        {
            session->Key(ch == L'\r' ? VK_RETURN : 0, ch);
        }
        // A click at the field's top-left corner lands on what is shown there now.
        session->Click(ScreenPoint(edit, 4, 4));
        int start = -1;
        int end = -1;
        edit.GetSel(start, end);
        EXPECT_GT(start, 0) << "style " << c.style << ": the start scrolled out of view";
        edit.DestroyWindow();
        parent.DestroyWindow();
    }
}

TEST_F(EditControlTest, PastingWithNothingOnTheClipboardKeepsTheSelection)
{
    Make(ES_AUTOHSCROLL);
    edit.SetWindowText(L"keep me");
    changes = 0;
    session->SetClipboardText(L"");
    session->Key('A', 0, MK_CONTROL);
    session->Key('V', 0, MK_CONTROL);
    EXPECT_EQ(Text(), L"keep me") << "an empty paste deleted the selected text";
    EXPECT_EQ(changes, 0);
}

// A click finds its place on a long line with a few measurements; measuring
// every prefix of a pasted 200 000 characters took hours.
TEST_F(EditControlTest, AClickOnAHugePastedLineFindsItsPlace)
{
    Make(ES_AUTOHSCROLL);
    session->SetClipboardText(std::wstring(200000, L'x') + L"\r\nsecond line");
    session->Key('V', 0, MK_CONTROL);
    EXPECT_EQ(Text(), std::wstring(200000, L'x')) << "a single line keeps the first line";
    session->Key(VK_HOME);
    session->Click(ScreenPoint(edit, 100, 10));
    int start = -1;
    int end = -1;
    edit.GetSel(start, end);
    EXPECT_GT(start, 0);
    EXPECT_LT(start, 100) << "the click is 100 px into the field";
    EXPECT_EQ(start, end);
}

TEST(EditTextModel, PositionsCountBreaksAsTwoOutside)
{
    EditTextModel model(true);
    model.SetText(L"ab\r\ncd");
    EXPECT_EQ(model.Inner(), L"ab\ncd");
    EXPECT_EQ(model.ToOuter(3), 4u);
    EXPECT_EQ(model.ToInner(4), 3u);
    EXPECT_EQ(model.ToInner(3), 2u) << "a position inside CRLF falls before the break";
    model.Select(1, 4);
    EXPECT_EQ(model.SelectedText(), L"b\r\nc");
    EditTextModel single(false);
    single.SetText(L"kept\nas given");
    EXPECT_EQ(single.Text(), L"kept\nas given");
}

} // namespace
