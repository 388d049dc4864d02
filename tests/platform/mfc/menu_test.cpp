// Menus loaded from resources, and command UI on their items.

#include "platform/mfc/win_app.h"
#include "tests/platform/test_windows.h"

#include <string>
#include <vector>

namespace
{

// "text=id" per item, "-" for a separator, "text>" for a popup, depth-first.
void Flatten(HMENU menu, std::vector<std::wstring>& out)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
    {
        wchar_t text[128];
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        if (const HMENU sub = GetSubMenu(menu, i))
        {
            out.push_back(std::wstring(text) + L">");
            Flatten(sub, out);
            out.push_back(L"<");
        }
        else if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0)
        {
            out.push_back(L"-");
        }
        else
        {
            out.push_back(std::wstring(text) + L"=" + std::to_wstring(GetMenuItemID(menu, i)));
        }
    }
}

} // namespace

TEST(MenuResources, TheMainMenuAndTheDeveloperMenuLoadAsTheProgramDescribesThem)
{
    CMenu main;
    ASSERT_TRUE(main.LoadMenu(128));
    std::vector<std::wstring> items;
    Flatten(main, items);
    const std::vector<std::wstring> expected = {L"&File>",
                                                L"Reset...=32785",
                                                L"Import Audio..=32776",
                                                L"Process and Save...=32784",
                                                L"-",
                                                L"E&xit=57665",
                                                L"<",
                                                L"&Edit>",
                                                L"&Undo\tCtrl+Z=57643",
                                                L"-",
                                                L"Cu&t\tCtrl+X=57635",
                                                L"&Copy\tCtrl+C=57634",
                                                L"&Paste\tCtrl+V=57637",
                                                L"<",
                                                L"&View>",
                                                L"&Toolbars and Docking Windows=59392",
                                                L"&Status Bar=59393",
                                                L"<",
                                                L"&Help>",
                                                L"&About BRVL...=57664",
                                                L"<"};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(brvl::win32::MenuMnemonic(L"E&xit"), L'x');
    EXPECT_EQ(brvl::win32::MenuMnemonic(L"Save && &Quit"), L'q');
    EXPECT_EQ(brvl::win32::MenuAcceleratorText(L"&Undo\tCtrl+Z"), L"Ctrl+Z");

    CMenu debug;
    ASSERT_TRUE(debug.LoadMenu(327));
    EXPECT_EQ(debug.GetMenuItemCount(), 5u);
    CMenu* tools = debug.GetSubMenu(3);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->GetMenuItemCount(), 9u);
    EXPECT_EQ(tools->GetMenuItemID(8), 32787u);

    CMenu none;
    EXPECT_FALSE(none.LoadMenu(4242));
}

TEST(MenuResources, ModifyingAndDestroyingMenusKeepsHandlesHonest)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(326));
    const HMENU popup = menu.GetSubMenu(0)->GetSafeHmenu();
    EXPECT_TRUE(menu.ModifyMenu(32780, MF_BYCOMMAND | MF_STRING, 32780, L"Enable"));
    CString text;
    menu.GetMenuString(32780, text, MF_BYCOMMAND);
    EXPECT_EQ(text, CString(L"Enable"));
    EXPECT_FALSE(menu.ModifyMenu(12345, MF_BYCOMMAND | MF_STRING, 1, L"x")) << "no such item";
    EXPECT_EQ(GetMenuItemID(popup, 7), static_cast<UINT>(-1));
    menu.DestroyMenu();
    EXPECT_FALSE(IsMenu(popup)) << "destroying a menu destroys its submenus";
}

TEST(MenuResources, CommandUiOnAMenuItemEnablesChecksAndRenamesIt)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(128));
    CMenu* edit = menu.GetSubMenu(1);
    CCmdUI state;
    state.m_pMenu = edit;
    state.m_nIndex = 0; // "&Undo\tCtrl+Z"
    state.m_nID = edit->GetMenuItemID(0);
    state.Enable(FALSE);
    state.SetCheck(1);
    EXPECT_EQ(edit->GetMenuState(0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED),
              static_cast<UINT>(MF_GRAYED | MF_CHECKED));
    state.SetText(L"&Undo Reset\tCtrl+Z");
    CString text;
    edit->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString(L"&Undo Reset\tCtrl+Z"));
    EXPECT_EQ(edit->GetMenuState(0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED),
              static_cast<UINT>(MF_GRAYED | MF_CHECKED))
        << "renaming keeps the state";
    EXPECT_EQ(edit->GetMenuItemID(0), static_cast<UINT>(ID_EDIT_UNDO));
    state.Enable(TRUE);
    state.SetRadio(FALSE);
    EXPECT_EQ(edit->GetMenuState(0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED), 0u);
}
