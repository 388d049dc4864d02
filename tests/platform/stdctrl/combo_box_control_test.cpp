#include "tests/platform/test_windows.h"

namespace
{

class ComboBoxTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(RECT{100, 100, 500, 400}));
        parent.On(WM_COMMAND,
                  [this](WPARAM w, LPARAM) -> std::optional<LRESULT>
                  {
                      if (HIWORD(w) == CBN_SELCHANGE && LOWORD(w) == 9)
                      {
                          selections.push_back(combo.GetCurSel());
                      }
                      return 0;
                  });
        ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | WS_TABSTOP, RECT{10, 10, 150, 200},
                                 &parent, 9));
        for (int i = 0; i < 5; ++i)
        {
            CString text;
            text.Format(L"item %d", i);
            EXPECT_EQ(combo.AddString(text), i);
            combo.SetItemData(i, static_cast<DWORD_PTR>(1000 + i));
        }
        Settle();
    }

    // The row `index` of the open list, as a screen point.
    POINT RowPoint(int index)
    {
        const HWND list = FindList();
        RECT client{};
        GetClientRect(list, &client);
        const int rows = combo.GetCount();
        const int rowHeight = (client.bottom - 2) / rows;
        return brvl::backend::HeadlessBackend::ScreenPointOf(list, 20,
                                                             1 + index * rowHeight + rowHeight / 2);
    }
    HWND FindList()
    {
        // The list opens right below the closed field.
        CRect field;
        combo.GetClientRect(&field);
        const HWND below = WindowFromPoint(ScreenPoint(combo, 20, field.Height() + 4));
        return below != parent.GetSafeHwnd() ? below : nullptr;
    }

    RecordingWnd parent{"parent", log};
    CComboBox combo;
    std::vector<int> selections;
};

TEST_F(ComboBoxTest, ItemsKeepTheirDataAndTexts)
{
    EXPECT_EQ(combo.GetCount(), 5);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.GetItemData(3), 1003u);
    CString text;
    combo.GetLBText(4, text);
    EXPECT_EQ(text, CString(L"item 4"));
    EXPECT_EQ(combo.GetLBTextLen(7), CB_ERR);
    EXPECT_EQ(combo.SetItemData(7, 1), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(2), 2);
    EXPECT_EQ(combo.SetCurSel(-1), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    combo.SetCurSel(1);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_TRUE(selections.empty()) << "changes made by code never report";
}

TEST_F(ComboBoxTest, TheUserPicksFromThePopupList)
{
    combo.SetCurSel(0);
    session->Click(ScreenPoint(combo, 20, 5));
    ASSERT_TRUE(combo.GetDroppedState());
    ASSERT_NE(FindList(), nullptr);
    const POINT row = RowPoint(3);
    session->MoveMouse(row);
    session->Click(row);
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(selections, std::vector<int>{3});
    // Choosing the same item again changes nothing and reports nothing.
    session->Click(ScreenPoint(combo, 20, 5));
    session->Click(RowPoint(3));
    EXPECT_EQ(selections.size(), 1u);
    // A press outside dismisses the list without a change.
    session->Click(ScreenPoint(combo, 20, 5));
    session->Click(ScreenPoint(parent, 350, 280));
    EXPECT_FALSE(combo.GetDroppedState());
    EXPECT_EQ(combo.GetCurSel(), 3);
}

TEST_F(ComboBoxTest, ArrowKeysChangeTheSelectionAndReport)
{
    combo.SetFocus();
    combo.SetCurSel(1);
    session->Key(VK_DOWN);
    session->Key(VK_DOWN);
    session->Key(VK_UP);
    session->Key(VK_END);
    session->Key(VK_END);
    EXPECT_EQ(selections, (std::vector<int>{2, 3, 2, 4}));
    session->Key(VK_DOWN, 0, brvl::win32::kModifierAlt); // opens the list
    ASSERT_TRUE(combo.GetDroppedState());
    session->Key(VK_UP);
    session->Key(VK_ESCAPE);
    EXPECT_EQ(combo.GetCurSel(), 4) << "Escape closes the list without choosing";
}

TEST_F(ComboBoxTest, ADisabledComboIgnoresTheMouse)
{
    combo.EnableWindow(FALSE);
    session->Click(ScreenPoint(combo, 20, 5));
    EXPECT_FALSE(combo.GetDroppedState());
}

} // namespace
