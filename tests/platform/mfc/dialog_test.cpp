#include "tests/platform/dialog_driver.h"
#include "tests/platform/dialog_fixtures.h"
#include "tests/platform/test_windows.h"

#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_picture.h"

#include <atomic>
#include <thread>

namespace
{

class DialogTest : public WindowTest
{
protected:
    DialogTest() { driver.Install(session.Backend()); }

    void Click(HWND dialog, int id)
    {
        const HWND control = GetDlgItem(dialog, id);
        RECT r{};
        GetClientRect(control, &r);
        session->Click(
            brvl::backend::HeadlessBackend::ScreenPointOf(control, r.right / 2, r.bottom / 2));
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
        {
            session->Key(c >= L'a' && c <= L'z' ? c - L'a' + 'A' : c, c);
        }
    }

    DialogDriver driver;
};

TEST_F(DialogTest, ControlsSitAtTheirDialogUnitRectangles)
{
    SampleDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(SampleTemplate()));
    const SIZE units = brvl::win32::DialogBaseUnits(dialog.GetSafeHwnd());
    EXPECT_GT(units.cx, 2);
    EXPECT_GT(units.cy, 8);
    for (const auto& c : SampleTemplate().controls)
    {
        if (c.id == -1)
        {
            continue;
        }
        RECT expected{c.x, c.y, c.x + c.cx, c.y + c.cy};
        dialog.MapDialogRect(&expected);
        RECT actual{};
        ::GetWindowRect(GetDlgItem(dialog.GetSafeHwnd(), c.id), &actual);
        dialog.ScreenToClient(&actual);
        EXPECT_EQ(actual.left, expected.left) << "control " << c.id;
        EXPECT_EQ(actual.top, expected.top) << "control " << c.id;
        EXPECT_EQ(actual.right, expected.right) << "control " << c.id;
        if (c.className != L"COMBOBOX") // a combo box shows its closed field only
        {
            EXPECT_EQ(actual.bottom, expected.bottom) << "control " << c.id;
        }
    }
    CRect client;
    dialog.GetClientRect(&client);
    RECT size{0, 0, 240, 170};
    dialog.MapDialogRect(&size);
    EXPECT_EQ(client.Width(), size.right);
    EXPECT_EQ(client.Height(), size.bottom);
    dialog.DestroyWindow();
}

TEST_F(DialogTest, DialogUnitsGrowWithTheDpi)
{
    SampleDialog normal;
    ASSERT_TRUE(normal.CreateIndirect(SampleTemplate()));
    const SIZE at96 = brvl::win32::DialogBaseUnits(normal.GetSafeHwnd());
    normal.DestroyWindow();
    brvl::win32::ChangeDpi(192);
    SampleDialog large;
    ASSERT_TRUE(large.CreateIndirect(SampleTemplate()));
    const SIZE at192 = brvl::win32::DialogBaseUnits(large.GetSafeHwnd());
    large.DestroyWindow();
    EXPECT_NEAR(at192.cx, 2 * at96.cx, 1);
    EXPECT_NEAR(at192.cy, 2 * at96.cy, 2);
}

TEST_F(DialogTest, EnterEscapeAndButtonsEndTheModalLoop)
{
    struct Case
    {
        const char* what;
        std::function<void(HWND)> act;
        INT_PTR result;
    };
    const Case cases[] = {
        {"Enter", [this](HWND) { session->Key(VK_RETURN, L'\r'); }, IDOK},
        {"Escape", [this](HWND) { session->Key(VK_ESCAPE, 0x1B); }, IDCANCEL},
        {"OK click", [this](HWND d) { Click(d, IDOK); }, IDOK},
        {"Cancel click", [this](HWND d) { Click(d, IDCANCEL); }, IDCANCEL},
        {"close box", [](HWND d) { SendMessageW(d, WM_CLOSE, 0, 0); }, IDCANCEL},
    };
    RecordingWnd owner("owner", log);
    ASSERT_TRUE(owner.CreateTopLevel(RECT{100, 100, 900, 700}));
    for (const Case& c : cases)
    {
        bool ownerDisabled = false;
        driver.drive = [&](HWND d)
        {
            ownerDisabled = !owner.IsWindowEnabled();
            c.act(d);
        };
        SampleDialog dialog(&owner);
        EXPECT_EQ(dialog.DoModal(), c.result) << c.what;
        EXPECT_TRUE(ownerDisabled) << c.what << ": the owner stays usable under a modal dialog";
        EXPECT_TRUE(owner.IsWindowEnabled()) << c.what;
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << c.what << ": the window outlives DoModal";
    }
    EXPECT_TRUE(driver.boxTexts.empty());
}

// An about box is made without a parent: it is still modal to the window the
// user works in, which must not take clicks or commands meanwhile.
TEST_F(DialogTest, ADialogWithoutAParentIsModalToTheActiveWindow)
{
    RecordingWnd main("main", log);
    ASSERT_TRUE(main.CreateTopLevel(RECT{100, 100, 900, 700}));
    main.SetFocus();
    bool mainDisabled = false;
    driver.drive = [&](HWND)
    {
        mainDisabled = !main.IsWindowEnabled();
        session->Key(VK_ESCAPE, 0x1B);
    };
    SampleDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(mainDisabled) << "the window under a parentless modal dialog stayed usable";
    EXPECT_TRUE(main.IsWindowEnabled());
    EXPECT_EQ(::GetFocus(), main.GetSafeHwnd()) << "focus returns where it was";
}

TEST_F(DialogTest, DataRoundTripsThroughTheControls)
{
    SampleDialog dialog;
    dialog.comment = L"line one\nline two";
    driver.drive = [&](HWND d)
    {
        EXPECT_EQ(CWnd::FromHandle(GetDlgItem(d, 1011))->GetWindowTextLength(), 1); // "3"
        wchar_t gain[32] = {};
        GetDlgItemTextW(d, 1029, gain, 32);
        EXPECT_STREQ(gain, L"-1.5");
        EXPECT_EQ(IsDlgButtonChecked(d, 1055), BST_CHECKED) << "radio index 1 is the second";
        SetDlgItemTextW(d, 1015, L"  spaced name ");
        SetDlgItemTextW(d, 1011, L" -42 ");
        SetDlgItemTextW(d, 1029, L"2.25e1");
        Click(d, 1005); // unticks
        Click(d, 1054); // the first radio
        Click(d, IDOK);
    };
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.name, CString(L"  spaced name ")) << "text comes back exactly as typed";
    EXPECT_EQ(dialog.comment, CString(L"line one\r\nline two"));
    EXPECT_EQ(dialog.count, -42);
    EXPECT_DOUBLE_EQ(dialog.gain, 22.5);
    EXPECT_EQ(dialog.check, 0);
    EXPECT_EQ(dialog.radio, 0);
}

TEST_F(DialogTest, ABadNumberPromptsAndKeepsTheDialogOpen)
{
    struct Case
    {
        int id;
        const wchar_t* text;
        const wchar_t* prompt;
    };
    const Case cases[] = {
        {1011, L"12abc", L"Enter an integer."}, {1011, L"99999999999", L"Enter an integer."},
        {1011, L"", L"Enter an integer."},      {1029, L"1,5", L"Enter a number."},
        {1029, L"nan", L"Enter a number."},     {1029, L"", L"Enter a number."},
    };
    for (const Case& c : cases)
    {
        driver.boxTexts.clear();
        SampleDialog dialog;
        bool stayedOpen = false;
        HWND focusAfter = nullptr;
        driver.drive = [&](HWND d)
        {
            SetDlgItemTextW(d, 1015, L"changed");
            SetDlgItemTextW(d, c.id, c.text);
            SetDlgItemTextW(d, 1005, L"");
            Click(d, 1005);
            session->Key(VK_RETURN, L'\r');
            stayedOpen = IsWindowVisible(d) != FALSE;
            focusAfter = GetFocus();
            const HWND field = GetDlgItem(d, c.id);
            EXPECT_EQ(focusAfter, field);
            SetDlgItemTextW(d, c.id, L"7");
            session->Key(VK_RETURN, L'\r');
        };
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_TRUE(stayedOpen) << "text " << testing::PrintToString(std::wstring(c.text));
        ASSERT_EQ(driver.boxTexts.size(), 1u);
        EXPECT_EQ(driver.boxTexts[0], c.prompt);
        const auto log = session->ModalLog();
        const auto box = std::find_if(
            log.begin(), log.end(),
            [](const auto& r) { return r.request.kind == brvl::backend::ModalKind::Message; });
        ASSERT_NE(box, log.end());
        EXPECT_EQ(box->request.caption, L"BRVL");
        EXPECT_EQ(box->request.flags & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
        EXPECT_EQ(dialog.name, CString(L"changed"));
        session->ClearModalLog();
    }
}

TEST_F(DialogTest, AFailedExchangeKeepsEarlierMembersAndSkipsLaterOnes)
{
    SampleDialog dialog;
    bool result = true;
    driver.drive = [&](HWND d)
    {
        SetDlgItemTextW(d, 1015, L"kept");
        SetDlgItemTextW(d, 1011, L"x");
        SetDlgItemTextW(d, 1029, L"9");
        result = dialog.UpdateData(TRUE) != FALSE;
        session->Key(VK_ESCAPE, 0x1B);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(result);
    EXPECT_EQ(dialog.name, CString(L"kept"));
    EXPECT_EQ(dialog.count, 3);
    EXPECT_DOUBLE_EQ(dialog.gain, -1.5) << "members after the failing one are not read";
}

TEST_F(DialogTest, TabWalksTabStopsAndArrowsMoveInARadioGroup)
{
    SampleDialog dialog;
    std::vector<int> order;
    int radioAfterArrow = -1;
    driver.drive = [&](HWND d)
    {
        order.push_back(GetDlgCtrlID(GetFocus()));
        for (int i = 0; i < 10; ++i)
        {
            session->Key(VK_TAB, L'\t');
            order.push_back(GetDlgCtrlID(GetFocus()));
        }
        session->Key(VK_TAB, L'\t', MK_SHIFT);
        order.push_back(GetDlgCtrlID(GetFocus()));
        SetFocus(GetDlgItem(d, 1055));
        session->Key(VK_LEFT);
        radioAfterArrow = IsDlgButtonChecked(d, 1054) == BST_CHECKED ? 0 : 1;
        session->Key(VK_ESCAPE);
    };
    dialog.DoModal();
    // The radio group is one stop, at its checked button (1055).
    const std::vector<int> expected = {1015, 1016, 1011, 1029,     1005, 1055,
                                       1056, 1050, IDOK, IDCANCEL, 1015, IDCANCEL};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(radioAfterArrow, 0);
}

TEST_F(DialogTest, TheFocusedPushButtonTakesEnterAndDisabledButtonsIgnoreIt)
{
    SampleDialog dialog;
    driver.drive = [&](HWND d)
    {
        EnableWindow(GetDlgItem(d, IDOK), FALSE);
        session->Key(VK_RETURN, L'\r');
        EXPECT_TRUE(IsWindowVisible(d)) << "a disabled default button does nothing";
        Click(d, IDOK);
        EXPECT_TRUE(IsWindowVisible(d)) << "a disabled button takes no clicks";
        SetFocus(GetDlgItem(d, IDCANCEL));
        session->Key(VK_RETURN, L'\r');
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, DisabledControlsGetNoInput)
{
    SampleDialog dialog;
    driver.drive = [&](HWND d)
    {
        const HWND edit = GetDlgItem(d, 1015);
        EnableWindow(edit, FALSE);
        Click(d, 1015);
        EXPECT_NE(GetFocus(), edit);
        EnableWindow(GetDlgItem(d, 1005), FALSE);
        Click(d, 1005);
        EXPECT_EQ(IsDlgButtonChecked(d, 1005), BST_CHECKED);
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(d, picture));
        session->Key(VK_ESCAPE);
    };
    dialog.DoModal();
}

TEST_F(DialogTest, APostFromAWorkerIsHandledWhileTheDialogIsOpen)
{
    RecordingWnd owner("owner", log);
    ASSERT_TRUE(owner.CreateTopLevel(RECT{0, 0, 400, 300}));
    std::atomic<bool> received{false};
    owner.On(WM_APP + 7,
             [&](WPARAM w, LPARAM) -> std::optional<LRESULT>
             {
                 received = w == 42;
                 return 0;
             });
    const HWND target = owner.GetSafeHwnd();
    SampleDialog dialog(&owner);
    driver.drive = [&](HWND)
    {
        std::thread worker([target] { PostMessageW(target, WM_APP + 7, 42, 0); });
        EXPECT_TRUE(session->PumpUntil([&] { return received.load(); }, std::chrono::seconds(5)));
        worker.join();
        session->Key(VK_ESCAPE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(received);
}

TEST_F(DialogTest, DestroyingTheOwnerEndsTheModalLoopAsCancelled)
{
    RecordingWnd owner("owner", log);
    ASSERT_TRUE(owner.CreateTopLevel(RECT{0, 0, 400, 300}));
    SampleDialog dialog(&owner);
    driver.drive = [&](HWND d)
    {
        SetDlgItemTextW(d, 1015, L"typed");
        owner.DestroyWindow();
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.name, CString(L"first")) << "nothing was confirmed";
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, AModelessDialogOnlyHidesOnEndDialog)
{
    RecordingWnd owner("owner", log);
    ASSERT_TRUE(owner.CreateTopLevel(RECT{0, 0, 400, 300}));
    SampleDialog dialog(&owner);
    ASSERT_TRUE(dialog.CreateIndirect(SampleTemplate(), &owner));
    dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog.IsWindowVisible());
    session->Key(VK_ESCAPE);
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHwnd()));
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(owner.IsWindowEnabled()) << "a modeless dialog never disables its owner";
    dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, EndDialogDuringInitialisationSkipsTheLoop)
{
    SampleDialog dialog;
    dialog.onInit = [](SampleDialog& d) { d.EndDialog(IDOK); };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(session->ModalLog().size(), 0u);
}

TEST_F(DialogTest, AMissingTemplateFailsDoModal)
{
    CDialog dialog(9999);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create(9999));
}

TEST_F(DialogTest, SampleDialogPicture)
{
    SampleDialog dialog;
    dialog.comment = L"A comment that runs over more than one line so that the multi-line field "
                     L"wraps it.\nAnd a second paragraph.";
    ASSERT_TRUE(dialog.CreateIndirect(SampleTemplate()));
    dialog.ShowWindow(SW_SHOW);
    SetFocus(GetDlgItem(dialog.GetSafeHwnd(), 1015));
    ::SendDlgItemMessageW(dialog.GetSafeHwnd(), 1015, EM_SETSEL, 0, 3);
    EnableWindow(GetDlgItem(dialog.GetSafeHwnd(), 1029), FALSE);
    PumpPendingMessages();
    EXPECT_TRUE(RenderWindowToPng(dialog.GetSafeHwnd(),
                                  std::string(BRVL_TEST_OUTPUT_DIR) + "/sample_dialog.png"));
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(dialog.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(2, 2), RGB(30, 32, 36)) << "the dialog has the dark surface";
    // The open list of the combo box is a window of its own.
    dialog.combo.ShowDropDown(TRUE);
    ASSERT_TRUE(dialog.combo.GetDroppedState());
    CRect field;
    dialog.combo.GetClientRect(&field);
    const HWND list = WindowFromPoint(ScreenPoint(dialog.combo, 10, field.Height() + 4));
    ASSERT_NE(list, dialog.GetSafeHwnd());
    EXPECT_TRUE(RenderWindowToPng(list, std::string(BRVL_TEST_OUTPUT_DIR) +
                                            "/sample_dialog_combo_list.png"));
    dialog.DestroyWindow();
}

} // namespace
