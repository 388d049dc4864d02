// The frame's menu bar and popups driven by mouse and keyboard, the pane
// menu, the status bar and the layout of the bars, and a picture of them.

#include "tests/platform/framework_fixture.h"

#include "platform/win32/palette.h"
#include "platform/win32/window_picture.h"

#include <cairo.h>

namespace
{

class MenuBar : public FrameworkTest
{
protected:
    void SetUp() override
    {
        frame = Start(app);
        ASSERT_NE(frame, nullptr);
        bar = &frame->m_wndMenuBar;
    }

    POINT TopItem(int index) const
    {
        const CRect item = bar->ItemRect(index);
        return ScreenPoint(*bar, item.CenterPoint().x, item.CenterPoint().y);
    }

    POINT PopupItem(int index) const
    {
        return bar->OpenPopup()->ItemScreenRect(index).CenterPoint();
    }

    UINT StateOf(UINT id) const { return ::GetMenuState(frame->m_hMenuDefault, id, MF_BYCOMMAND); }

    CRect RectOf(CWnd& wnd) const
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        frame->ScreenToClient(&rect);
        return rect;
    }

    TestApp app;
    TestFrame* frame = nullptr;
    CMFCMenuBar* bar = nullptr;
};

// The frame as the user sees it with a menu open: the popup (a top-level of
// its own) drawn over the frame's picture where it is on the screen.
bool WriteFrameWithPopupsPng(CWnd& frame, const std::vector<HWND>& popups,
                             const std::filesystem::path& path)
{
    WindowPicture picture;
    if (!ComposeWindowPicture(frame.GetSafeHwnd(), picture))
    {
        return false;
    }
    CPoint origin(0, 0);
    frame.ClientToScreen(&origin);
    for (const HWND popup : popups)
    {
        WindowPicture popupPicture;
        if (!ComposeWindowPicture(popup, popupPicture))
        {
            return false;
        }
        CRect placed;
        ::GetWindowRect(popup, &placed);
        placed.OffsetRect(-origin.x, -origin.y);
        for (int y = 0; y < popupPicture.height; ++y)
        {
            for (int x = 0; x < popupPicture.width; ++x)
            {
                const int tx = placed.left + x;
                const int ty = placed.top + y;
                if (tx >= 0 && ty >= 0 && tx < picture.width && ty < picture.height)
                {
                    picture.pixels[static_cast<size_t>(ty * picture.width + tx)] =
                        popupPicture.pixels[static_cast<size_t>(y * popupPicture.width + x)];
                }
            }
        }
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(picture.pixels.data()), CAIRO_FORMAT_ARGB32, picture.width,
        picture.height, picture.width * 4);
    const bool written =
        cairo_surface_write_to_png(surface, path.string().c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

} // namespace

TEST_F(MenuBar, ShowsTheFrameMenuAndLaysOutBarsPaneAndViewFromTheTop)
{
    ASSERT_EQ(bar->ItemCount(), 4); // File, Edit, View, Help
    CRect client;
    frame->GetClientRect(&client);
    const CRect menu = RectOf(*bar);
    const CRect pane = RectOf(frame->m_wndToolbarPane);
    const CRect status = RectOf(frame->m_wndStatusBar);
    const CRect view = RectOf(*frame->GetActiveView());
    EXPECT_EQ(menu.top, 0);
    EXPECT_EQ(pane.top, menu.bottom);
    EXPECT_EQ(pane.Height(), 48);
    EXPECT_EQ(view.top, pane.bottom);
    EXPECT_EQ(view.bottom, status.top);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(view.Width(), client.Width());
}

TEST_F(MenuBar, TheBarsFollowTheDpi)
{
    brvl::win32::ChangeDpi(144);
    EXPECT_EQ(RectOf(*bar).Height(), 39);
    EXPECT_EQ(RectOf(frame->m_wndStatusBar).Height(), 33);
    EXPECT_EQ(RectOf(*frame->GetActiveView()).top, 39 + 48);
    EXPECT_GT(bar->ItemRect(1).left, 0);
    const int fileWidth144 = bar->ItemRect(0).Width();
    brvl::win32::ChangeDpi(96);
    EXPECT_LT(bar->ItemRect(0).Width(), fileWidth144) << "items are measured with the scaled font";
    EXPECT_EQ(RectOf(*bar).Height(), 26);
}

TEST_F(MenuBar, ItemsWithoutHandlersAreDisabledAndUpdateHandlersDecideTheRest)
{
    session->Click(TopItem(0)); // File
    ASSERT_NE(bar->OpenPopup(), nullptr);
    EXPECT_EQ(bar->OpenPopupMenu(), ::GetSubMenu(frame->m_hMenuDefault, 0));
    EXPECT_NE(StateOf(32785) & MF_GRAYED, 0u) << "Reset has no handler in this program";
    EXPECT_EQ(StateOf(kImportAudio) & MF_GRAYED, 0u) << "a command handler enables";
    EXPECT_EQ(StateOf(ID_APP_EXIT) & MF_GRAYED, 0u) << "the application handles Exit";
    session->Key(VK_ESCAPE);
    session->Key(VK_ESCAPE);

    Trace().processEnabled = false;
    EXPECT_FALSE(brvl::mfc::ChooseMenuCommand(frame, kProcessAndSave));
    EXPECT_NE(StateOf(kProcessAndSave) & MF_GRAYED, 0u) << "the update handler disabled it";
    EXPECT_FALSE(brvl::mfc::ChooseMenuCommand(frame, ID_EDIT_CUT));
    EXPECT_EQ(Trace().Count("view process"), 0);

    Trace().processEnabled = true;
    EXPECT_TRUE(brvl::mfc::ChooseMenuCommand(frame, kProcessAndSave));
    EXPECT_EQ(Trace().Count("view process"), 1);

    // Checked comes from an update handler; the status bar entry shows its state.
    EXPECT_TRUE(brvl::mfc::ChooseMenuCommand(frame, ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(frame->m_wndStatusBar.IsVisible());
    EXPECT_EQ(StateOf(ID_VIEW_STATUS_BAR) & MF_CHECKED, static_cast<UINT>(MF_CHECKED))
        << "the update ran before the command hid the bar";
    brvl::mfc::ChooseMenuCommand(frame, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->m_wndStatusBar.IsVisible());
}

TEST_F(MenuBar, AClickOpensAPopupAndAClickOnAnItemSendsItsCommand)
{
    session->Click(TopItem(0));
    ASSERT_NE(bar->OpenPopup(), nullptr);
    EXPECT_EQ(bar->HighlightedItem(), 0);

    session->MoveMouse(TopItem(2)); // along the bar to View
    EXPECT_EQ(bar->OpenPopupMenu(), ::GetSubMenu(frame->m_hMenuDefault, 2));
    session->MoveMouse(TopItem(0));

    session->Click(PopupItem(1)); // "Import Audio.."
    EXPECT_EQ(bar->OpenPopup(), nullptr);
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_EQ(Trace().Count("view import"), 1);

    // A click on a disabled item does nothing and leaves the menu open.
    session->Click(TopItem(0));
    session->Click(PopupItem(0)); // "Reset..." has no handler
    EXPECT_NE(bar->OpenPopup(), nullptr);

    // A click outside closes the menu without a command; so does a second
    // click on the open item.
    const CRect view = RectOf(*frame->GetActiveView());
    session->Click(ScreenPoint(*frame, view.CenterPoint().x, view.CenterPoint().y));
    EXPECT_FALSE(bar->IsInMenuMode());
    session->Click(TopItem(1));
    session->Click(TopItem(1));
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_EQ(Trace().Count("view import"), 1);
}

TEST_F(MenuBar, HoveringASubmenuItemOpensItAndAClickInsideChoosesFromIt)
{
    session->Click(TopItem(2));       // View
    session->MoveMouse(PopupItem(0)); // "Toolbars and Docking Windows"
    CMFCPopupMenu* panes = bar->OpenPopup();
    ASSERT_NE(panes, nullptr);
    ASSERT_NE(panes->Menu(), bar->OpenPopupMenu()) << "the submenu opened beside its item";
    session->Click(panes->ItemScreenRect(0).CenterPoint());
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_FALSE(frame->m_wndToolbarPane.IsVisible());
}

TEST_F(MenuBar, AltOrF10HighlightsTheBarAndArrowsEnterAndEscapeWalkTheMenus)
{
    session->Key(VK_MENU, 0, brvl::win32::kModifierAlt);
    EXPECT_TRUE(bar->IsInMenuMode());
    EXPECT_EQ(bar->HighlightedItem(), 0);
    EXPECT_EQ(bar->OpenPopup(), nullptr);

    session->Key(VK_RIGHT);
    EXPECT_EQ(bar->HighlightedItem(), 1);
    session->Key(VK_DOWN); // opens Edit with its first item selected
    ASSERT_NE(bar->OpenPopup(), nullptr);
    EXPECT_EQ(bar->OpenPopupMenu(), ::GetSubMenu(frame->m_hMenuDefault, 1));
    EXPECT_EQ(bar->OpenPopupSelection(), 0);
    session->Key(VK_DOWN); // over the separator
    EXPECT_EQ(bar->OpenPopupSelection(), 2);
    session->Key(VK_RIGHT); // the next menu
    EXPECT_EQ(bar->OpenPopupMenu(), ::GetSubMenu(frame->m_hMenuDefault, 2));

    session->Key(VK_F10); // F10 with a menu open leaves the menus
    EXPECT_FALSE(bar->IsInMenuMode());
    session->Key(VK_MENU, 0, brvl::win32::kModifierAlt);
    session->Key(VK_DOWN);
    ASSERT_NE(bar->OpenPopup(), nullptr);

    session->Key(VK_ESCAPE); // back to the highlighted bar
    EXPECT_EQ(bar->OpenPopup(), nullptr);
    EXPECT_TRUE(bar->IsInMenuMode());
    session->Key(VK_ESCAPE);
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_EQ(Trace().Count("view import"), 0);

    session->Key(VK_F10);
    EXPECT_TRUE(bar->IsInMenuMode());
    const CRect view = RectOf(*frame->GetActiveView());
    session->Click(ScreenPoint(*frame, view.CenterPoint().x, view.CenterPoint().y));
    EXPECT_FALSE(bar->IsInMenuMode()) << "a press elsewhere leaves the highlighted bar";

    session->Key(VK_F10);
    session->Key(VK_RETURN); // opens File
    session->Key(VK_DOWN);   // Reset... -> Import Audio..
    session->Key(VK_RETURN);
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_EQ(Trace().Count("view import"), 1);
}

TEST_F(MenuBar, AltAndAMnemonicOpenAMenuAndALetterChoosesItsItem)
{
    session->Key('V', 0, brvl::win32::kModifierAlt);
    ASSERT_EQ(bar->OpenPopupMenu(), ::GetSubMenu(frame->m_hMenuDefault, 2));

    session->Key('S', L's'); // "&Status Bar"
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_FALSE(frame->m_wndStatusBar.IsVisible());
    EXPECT_EQ(Trace().Count("view char 115"), 0) << "a key the menu took types nothing";

    session->Key('S', L's');
    EXPECT_EQ(Trace().Count("view char 115"), 1) << "with the menu closed the view types";
}

TEST_F(MenuBar, ThePaneMenuListsTheToolbarPaneAndHidesAndShowsIt)
{
    session->Key('V', 0, brvl::win32::kModifierAlt);
    session->Key(VK_RIGHT); // into "Toolbars and Docking Windows"
    CMFCPopupMenu* panes = bar->OpenPopup();
    ASSERT_NE(panes, nullptr);
    ASSERT_EQ(panes->ItemCount(), 1) << "one entry per pane, no Customize entry";
    EXPECT_EQ(::GetMenuItemID(panes->Menu(), 0), kToolbarPaneId);
    EXPECT_EQ(::GetMenuState(panes->Menu(), 0, MF_BYPOSITION) & MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(0), CString(L"Show or hide Toolbar"))
        << "a highlighted item shows its prompt";

    const int viewTop = RectOf(*frame->GetActiveView()).top;
    session->Key(VK_RETURN);
    EXPECT_FALSE(frame->m_wndToolbarPane.IsVisible());
    EXPECT_EQ(RectOf(*frame->GetActiveView()).top, viewTop - 48) << "the strip collapses";
    EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(0), CString(L"Ready"));

    EXPECT_TRUE(brvl::mfc::ChooseMenuCommand(frame, kToolbarPaneId));
    EXPECT_TRUE(frame->m_wndToolbarPane.IsVisible());
    EXPECT_EQ(RectOf(*frame->GetActiveView()).top, viewTop);
}

TEST_F(MenuBar, TrackPopupMenuReturnsTheResponderChoiceOrWhatTheKeysChoose)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(326));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->ModifyMenu(32780, MF_BYCOMMAND | MF_STRING, 32780, L"Enable"));
    CWnd* view = frame->GetActiveView();

    session->SetResponder(
        [](const brvl::backend::ModalRequest& request)
        {
            EXPECT_EQ(request.kind, brvl::backend::ModalKind::PopupMenu);
            EXPECT_EQ(request.text, L"Enable");
            return brvl::backend::ModalAnswer::With(32780);
        });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 300, 300, view), 32780);

    session->SetResponder(nullptr);
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 300, 300, view), 0) << "dismissed";

    session->SetResponder(
        [](const brvl::backend::ModalRequest&)
        {
            brvl::win32::QueueKey(VK_DOWN, true, 0, 0);
            brvl::win32::QueueKey(VK_RETURN, true, 0, 0);
            return brvl::backend::ModalAnswer::KeepRunning();
        });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 300, 300, view), 32780);
    EXPECT_EQ(::GetFocus(), view->GetSafeHwnd()) << "the focus comes back";
    EXPECT_TRUE(view->IsWindowEnabled());
}

TEST_F(MenuBar, AFrameWithMenuBarDockedPaneAndStatusBarRendersToPng)
{
    frame->MoveWindow(60, 40, 900, 560);
    frame->m_wndStatusBar.SetPaneText(0, L"Ready");
    const auto folder = std::filesystem::path(BRVL_TEST_OUTPUT_DIR);
    ASSERT_TRUE(RenderWindowToPng(frame->GetSafeHwnd(), folder / "framework_frame.png"));

    session->Key('F', 0, brvl::win32::kModifierAlt);
    session->Key(VK_DOWN);
    ASSERT_NE(bar->OpenPopup(), nullptr);
    ASSERT_TRUE(WriteFrameWithPopupsPng(*frame, {bar->OpenPopup()->GetSafeHwnd()},
                                        folder / "framework_frame_menu_open.png"));
    session->Key(VK_ESCAPE);
    session->Key(VK_ESCAPE);

    session->Key('V', 0, brvl::win32::kModifierAlt);
    const HWND viewMenu = bar->OpenPopup()->GetSafeHwnd();
    session->Key(VK_RIGHT);
    ASSERT_TRUE(WriteFrameWithPopupsPng(*frame, {viewMenu, bar->OpenPopup()->GetSafeHwnd()},
                                        folder / "framework_frame_pane_menu_open.png"));

    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(frame->GetSafeHwnd(), picture));
    const CRect menu = RectOf(*bar);
    const CRect status = RectOf(frame->m_wndStatusBar);
    EXPECT_EQ(picture.ColorAt(menu.right - 3, menu.top + 3), brvl::palette::kBackground);
    EXPECT_EQ(picture.ColorAt(status.right - 3, status.bottom - 3), brvl::palette::kBackground);
}

TEST_F(MenuBar, AModalBoxOrTheFrameGoingAwayWhileAMenuIsOpenClosesTheMenuCleanly)
{
    // A message box raised by some other handler while a popup is open takes
    // the capture: the menu closes, and no command is chosen.
    session->Click(TopItem(0));
    ASSERT_NE(bar->OpenPopup(), nullptr);
    ::AfxMessageBox(L"Export finished", MB_OK);
    EXPECT_EQ(bar->OpenPopup(), nullptr);
    EXPECT_FALSE(bar->IsInMenuMode());
    EXPECT_EQ(Trace().Count("view import"), 0);

    // The frame destroyed while a cascade of popups is open takes them along.
    session->Click(TopItem(2));
    session->MoveMouse(PopupItem(0)); // opens the pane submenu too
    ASSERT_NE(bar->OpenPopup(), nullptr);
    const HWND popup = bar->OpenPopup()->GetSafeHwnd();
    const HWND hwnd = frame->GetSafeHwnd();
    frame->PostMessage(WM_CLOSE);
    PumpPendingMessages();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(Trace().Count("doc destroyed"), 1);
}

TEST_F(MenuBar, ACommandThatDestroysTheFrameFromAPopupEndsEverythingInOrder)
{
    // File > Exit chosen with the mouse: the popup handling the click is gone
    // before the command runs.
    const HWND hwnd = frame->GetSafeHwnd();
    session->Click(TopItem(0));
    ASSERT_NE(bar->OpenPopup(), nullptr);
    session->Click(PopupItem(4)); // "Exit"
    PumpPendingMessages();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(MenuBar, TrackPopupMenuEndsAsDismissedWhenItsOwnerGoesAwayWhileItIsOpen)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(326));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);

    // A window of its own (not the main one): nothing ends the loop but the menu.
    RecordingWnd owner("owner", log);
    ASSERT_TRUE(owner.CreateTopLevel(CRect(100, 100, 500, 400)));
    const HWND ownerHwnd = owner.GetSafeHwnd();
    session->SetResponder(
        [ownerHwnd](const brvl::backend::ModalRequest&)
        {
            ::DestroyWindow(ownerHwnd);
            return brvl::backend::ModalAnswer::KeepRunning();
        });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 300, 300, &owner), 0);

    // The main frame closed by a handler while its chain-strip menu is open:
    // the menu is dismissed, never answered with some other result.
    CWnd* view = frame->GetActiveView();
    const HWND hwnd = frame->GetSafeHwnd();
    session->SetResponder(
        [hwnd](const brvl::backend::ModalRequest&)
        {
            ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
            return brvl::backend::ModalAnswer::KeepRunning();
        });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 300, 300, view), 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(MenuBar, AMessageBoxRaisedWhileTrackPopupMenuIsOpenDismissesTheMenu)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(326));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    RecordingWnd worker("worker", log);
    ASSERT_TRUE(worker.CreateTopLevel(CRect(0, 0, 10, 10), WS_POPUP));
    constexpr UINT kFinished = WM_APP + 7;
    worker.On(kFinished,
              [](WPARAM, LPARAM) -> std::optional<LRESULT>
              { return ::AfxMessageBox(L"Export failed", MB_OK | MB_ICONERROR); });
    const HWND workerHwnd = worker.GetSafeHwnd();
    session->SetResponder(
        [workerHwnd](const brvl::backend::ModalRequest& request)
        {
            if (request.kind == brvl::backend::ModalKind::PopupMenu)
            {
                ::PostMessageW(workerHwnd, kFinished, 0, 0);
                return brvl::backend::ModalAnswer::KeepRunning();
            }
            return brvl::backend::ModalAnswer::Unanswered();
        });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 300, 300, frame->GetActiveView()), 0);
    EXPECT_EQ(log.Count("worker", kFinished), 1);
    EXPECT_TRUE(frame->IsWindowEnabled());
}
