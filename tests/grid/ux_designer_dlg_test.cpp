// The UX designer, modeless over a test owner: its fields typed through the
// edits, the palette's and grid's messages, and its files answered by the
// test responder, with the settings, temporary and executable folders moved
// into a temporary folder.

#include "grid/designer_test_dlg.h"
#include "grid/ux_designer_dlg.h"

#include "base/unicode_text.h"
#include "platform/mfc/win_app.h"
#include "platform/win32/shell_folders.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using brvl::backend::ModalAnswer;
using brvl::backend::ModalKind;
using brvl::backend::ModalRequest;

// The view's rule for its one designer: a live window is shown again,
// otherwise a new designer replaces the old object.
struct DesignerOwner
{
    CWnd* view = nullptr;
    std::unique_ptr<CUXDesignerDlg> dialog;

    void OnUxDesigner()
    {
        if (dialog && ::IsWindow(dialog->GetSafeHwnd()))
        {
            dialog->ShowWindow(SW_SHOW);
            dialog->SetForegroundWindow();
            return;
        }
        dialog = std::make_unique<CUXDesignerDlg>(view);
        if (!dialog->Create(CUXDesignerDlg::kTemplateId, view))
        {
            dialog.reset();
            return;
        }
        dialog->ShowWindow(SW_SHOW);
    }
};

class UXDesignerTest : public WindowTest
{
protected:
    UXDesignerTest()
    {
        fs::create_directories(root / "config");
        fs::create_directories(root / "tmp");
        fs::create_directories(root / "bin");
        brvl::win32::SetModuleFolderForTests(root / "bin");
        app.SetRegistryKey(L"Quorvant\\BRVL");
        session->SetResponder(
            [this](const ModalRequest& request)
            {
                if (request.kind == ModalKind::Message)
                {
                    boxTexts.push_back(request.text);
                    return ModalAnswer::With(IDOK);
                }
                if (request.kind == ModalKind::FileDialog && request.file)
                {
                    fileRequests.push_back(*request.file);
                    if (!answers.empty())
                    {
                        const std::wstring path = answers.front();
                        answers.pop_front();
                        return ModalAnswer::WithPath(path);
                    }
                    return ModalAnswer::Unanswered();
                }
                if (request.kind == ModalKind::Dialog)
                {
                    modalDialogs.push_back(request.window);
                    if (onDialog)
                    {
                        onDialog(request.window);
                    }
                }
                return ModalAnswer::Unanswered();
            });
    }

    ~UXDesignerTest() override
    {
        owner.dialog.reset();
        brvl::win32::SetModuleFolderForTests({});
    }

    void SetUp() override
    {
        ASSERT_TRUE(view.CreateTopLevel(CRect(0, 0, 1400, 1000)));
        owner.view = &view;
    }

    CUXDesignerDlg& Open()
    {
        owner.OnUxDesigner();
        EXPECT_NE(owner.dialog, nullptr);
        Settle();
        return *owner.dialog;
    }

    CUXDesignerDlg& Designer() { return *owner.dialog; }

    void Type(int id, const wchar_t* text) { Designer().SetDlgItemText(id, text); }

    CString Field(int id)
    {
        CString text;
        Designer().GetDlgItemText(id, text);
        return text;
    }

    void Press(int id)
    {
        Designer().SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                               reinterpret_cast<LPARAM>(Designer().GetDlgItem(id)->GetSafeHwnd()));
    }

    void ClickControl(int id)
    {
        CWnd* control = Designer().GetDlgItem(id);
        CRect rect;
        control->GetClientRect(&rect);
        session->Click(ScreenPoint(*control, rect.Width() / 2, rect.Height() / 2));
    }

    LRESULT Tell(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return Designer().SendMessage(message, wParam, lParam);
    }

    static LPARAM Packed(POINT screen) { return MAKELPARAM(screen.x, screen.y); }

    const DesignerLayout& Layout() { return Designer().grid.layout; }

    CSize WindowSize()
    {
        CRect rect;
        Designer().GetWindowRect(&rect);
        return rect.Size();
    }

    TempDir temp;
    fs::path root = temp.Path();
    ScopedEnvironment config{"XDG_CONFIG_HOME", (root / "config").string()};
    ScopedEnvironment tmpdir{"TMPDIR", (root / "tmp").string()};
    CWinApp app;
    RecordingWnd view{"view", log};
    DesignerOwner owner;

    std::vector<std::wstring> boxTexts;
    std::vector<brvl::backend::FileDialogRequest> fileRequests;
    std::deque<std::wstring> answers;
    std::vector<HWND> modalDialogs;
    std::function<void(HWND)> onDialog;
};

// ---------------------------------------------------------------- fields

TEST_F(UXDesignerTest, OpensWithTheSampleLayoutAndItsFields)
{
    CUXDesignerDlg& dialog = Open();
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(Layout(), (DesignerLayout{"designer.sample", 40, 2, 1, {}}));
    EXPECT_EQ(Field(1004), CString(L"designer.sample"));
    EXPECT_EQ(Field(1011), CString(L"40"));
    EXPECT_EQ(Field(1012), CString(L"2"));
    EXPECT_EQ(dialog.catalogue.size(), 31u);
    EXPECT_EQ(dialog.palette.GetState().entries.size(), 31u);
    EXPECT_EQ(dialog.palette.GetDlgCtrlID(), 20481);
    EXPECT_EQ(dialog.grid.GetDlgCtrlID(), 20482);
    EXPECT_EQ(dialog.colourWells.GetCurrentColor(), COLORREF(0x5284E5));
    EXPECT_FALSE(dialog.GetDlgItem(1001)->IsWindowVisible());
    EXPECT_FALSE(dialog.GetDlgItem(1002)->IsWindowVisible());
    EXPECT_FALSE(dialog.GetDlgItem(1010)->IsWindowVisible());
    EXPECT_TRUE(boxTexts.empty());
}

TEST_F(UXDesignerTest, PaddingFollowsEachKeystrokeAndRefusesWhatIsNotAnInteger)
{
    CUXDesignerDlg& dialog = Open();
    struct Case
    {
        const wchar_t* text;
        int padding; // what the grid uses afterwards
        bool refused;
    };
    const Case cases[] = {
        {L"-3", 0, false},         {L"5", 5, false},   {L"", 5, true},
        {L"-", 5, true},           {L"abc", 5, true},  {L"0", 0, false},
        {L"99999999999", 0, true}, {L" 7 ", 7, false},
    };
    for (const Case& c : cases)
    {
        boxTexts.clear();
        PumpPendingMessages();
        Type(1012, c.text);
        EXPECT_EQ(Layout().padding, c.padding) << c.text;
        EXPECT_EQ(Field(1012), CString(c.text)) << "the field keeps what was typed";
        EXPECT_EQ(boxTexts, c.refused ? std::vector<std::wstring>{L"Enter an integer."}
                                      : std::vector<std::wstring>{})
            << c.text;
        if (!c.refused)
        {
            EXPECT_TRUE(::GetUpdateRect(dialog.grid.GetSafeHwnd(), nullptr, FALSE)) << c.text;
        }
    }
    // Typed: "-" on the way to "-3" is refused for that keystroke.
    Type(1012, L"6");
    boxTexts.clear();
    dialog.GotoDlgCtrl(dialog.GetDlgItem(1012));
    constexpr UINT kMinusKey = 0xBD; // the main keyboard's "-"
    session->Key(kMinusKey, L'-');
    EXPECT_EQ(boxTexts, std::vector<std::wstring>{L"Enter an integer."});
    EXPECT_EQ(Layout().padding, 6);
    dialog.GotoDlgCtrl(dialog.GetDlgItem(1012));
    ::SendMessageW(dialog.GetDlgItem(1012)->GetSafeHwnd(), EM_SETSEL, 1, 1);
    session->Key('3', L'3');
    EXPECT_EQ(Field(1012), CString(L"-3"));
    EXPECT_EQ(Layout().padding, 0);
    EXPECT_EQ(boxTexts.size(), 1u);

    // A refused padding stops the read there: the texts after it are not read
    // for that keystroke.
    Tell(WMU_PALETTE_ADD, 0, 0);
    Type(1012, L"x");
    dialog.labelText = L"stale";
    Type(1015, L"new label");
    EXPECT_EQ(dialog.grid.layout.items[0].label, "stale");
}

TEST_F(UXDesignerTest, CellSizeIsShownOnlyAndPluginIdIsTakenAsTyped)
{
    CUXDesignerDlg& dialog = Open();
    EXPECT_TRUE(dialog.GetDlgItem(1011)->GetStyle() & ES_READONLY);
    Type(1011, L"0");
    EXPECT_EQ(Layout().cellSize, 80);
    Type(1011, L"24");
    EXPECT_EQ(Layout().cellSize, 24);
    for (const wchar_t* id : {L"my.page", L"a/b", L"f\u00fcr \u00e9t\u00e9", L""})
    {
        Type(1004, id);
        EXPECT_EQ(Utf8ToWide(Layout().pluginId), id);
    }
}

TEST_F(UXDesignerTest, ItemFieldsWriteTheSelectedItemAndFollowTheSelection)
{
    CUXDesignerDlg& dialog = Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    Tell(WMU_PALETTE_ADD, 1, 0);
    ASSERT_EQ(Layout().items.size(), 2u);
    EXPECT_EQ(dialog.grid.selectedId, 2);
    EXPECT_EQ(Field(1008), CString(L"ITEM_2"));

    Type(1008, L"GAIN");
    Type(1015, L"Gain \u00b1");
    Type(1009, L"tip\r\nline");
    // The multi-line tool tip reports only what is typed into it.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(1009, EN_CHANGE),
                       reinterpret_cast<LPARAM>(dialog.GetDlgItem(1009)->GetSafeHwnd()));
    const DesignerItem& second = Layout().items[1];
    EXPECT_EQ(second.parameterId, "GAIN");
    EXPECT_EQ(second.label, "Gain \xc2\xb1");
    EXPECT_EQ(second.toolTip, "tip\r\nline");

    Tell(WMU_COLOR_WELL_PICKED, 0x123456, 0);
    EXPECT_EQ(Layout().items[1].accentColor, COLORREF(0x123456));
    EXPECT_EQ(dialog.colourWells.GetCurrentColor(), COLORREF(0x123456));

    // Selecting the first item in the grid shows its fields.
    const RECT first = CDesignerGridWnd::GeometryOf(Layout()).ItemRect(Layout().items[0]);
    session->Click(ScreenPoint(dialog.grid, first.left + 5, first.top + 5));
    EXPECT_EQ(dialog.grid.selectedId, 1);
    EXPECT_EQ(Field(1008), CString(L"ITEM_1"));
    EXPECT_EQ(dialog.colourWells.GetCurrentColor(), Layout().items[0].accentColor);
    // Nothing selected: empty fields and the default colour.
    dialog.grid.selectedId = -1;
    Tell(WMU_DESIGNER_SELECTION, WPARAM(-1), 0);
    EXPECT_EQ(Field(1008), CString());
    EXPECT_EQ(dialog.colourWells.GetCurrentColor(), COLORREF(0x5284E5));
    EXPECT_EQ(Layout().items[1].parameterId, "GAIN");
}

TEST_F(UXDesignerTest, DrawBorderWithNothingSelectedChangesOnlyLaterItems)
{
    CUXDesignerDlg& dialog = Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    ASSERT_FALSE(Layout().items[0].drawBorder);
    dialog.grid.selectedId = -1;
    Tell(WMU_DESIGNER_SELECTION, WPARAM(-1), 0);
    ClickControl(1005);
    EXPECT_EQ(dialog.newItemDrawBorder, 1);
    EXPECT_FALSE(Layout().items[0].drawBorder);
    Tell(WMU_PALETTE_ADD, 0, 0);
    EXPECT_TRUE(Layout().items[1].drawBorder);
    EXPECT_FALSE(Layout().items[1].drawBackground);
    EXPECT_EQ(::SendMessageW(dialog.GetDlgItem(1005)->GetSafeHwnd(), BM_GETCHECK, 0, 0),
              BST_CHECKED);

    // With an item selected a check box sets both the item and later items.
    ClickControl(1006);
    EXPECT_TRUE(Layout().items[1].drawBackground);
    EXPECT_FALSE(Layout().items[0].drawBackground);
    Tell(WMU_PALETTE_ADD, 0, 0);
    EXPECT_TRUE(Layout().items[2].drawBackground);
}

TEST_F(UXDesignerTest, PasteBeforeAnyCopyEmptiesTheTextsAndCopyCarriesThemOver)
{
    Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    Type(1015, L"Drive");
    ASSERT_EQ(Layout().items[0].label, "Drive");
    Press(1022);
    EXPECT_EQ(Layout().items[0].parameterId, "");
    EXPECT_EQ(Layout().items[0].label, "");
    EXPECT_EQ(Layout().items[0].toolTip, "");
    EXPECT_EQ(Field(1008), CString());

    Type(1008, L"DRIVE");
    Type(1015, L"Drive");
    Press(1021);
    Tell(WMU_PALETTE_ADD, 2, 0);
    ASSERT_EQ(Field(1008), CString(L"ITEM_2"));
    Press(1022);
    EXPECT_EQ(Layout().items[1].parameterId, "DRIVE");
    EXPECT_EQ(Layout().items[1].label, "Drive");
    EXPECT_EQ(Field(1015), CString(L"Drive"));
}

// ---------------------------------------------------------------- life

TEST_F(UXDesignerTest, EnterKeepsItEscapeHidesItAndCloseDestroysOnlyTheWindow)
{
    CUXDesignerDlg& dialog = Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    dialog.GotoDlgCtrl(dialog.GetDlgItem(1012));
    session->Key(VK_RETURN);
    EXPECT_TRUE(dialog.IsWindowVisible());
    session->Key(VK_ESCAPE);
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHwnd()));
    EXPECT_FALSE(dialog.IsWindowVisible());

    // A second open shows the same live designer with its items.
    owner.OnUxDesigner();
    EXPECT_EQ(owner.dialog.get(), &dialog);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(Layout().items.size(), 1u);

    ClickControl(1023);
    EXPECT_FALSE(::IsWindow(dialog.GetSafeHwnd()));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(owner.dialog.get(), &dialog) << "the object stays with its owner";

    owner.OnUxDesigner();
    ASSERT_TRUE(::IsWindow(Designer().GetSafeHwnd()));
    EXPECT_TRUE(Layout().items.empty()) << "a new designer";
    EXPECT_TRUE(boxTexts.empty());
}

TEST_F(UXDesignerTest, TheStoredSizeIsRestoredWhenBothAreAboveZero)
{
    const CSize templateSize = [&]
    {
        Open();
        const CSize size = WindowSize();
        Designer().DestroyWindow();
        return size;
    }();
    // Closing stored the size it had.
    EXPECT_EQ(int(app.GetProfileInt(L"UXDesigner", L"Width", -1)), templateSize.cx);
    EXPECT_EQ(int(app.GetProfileInt(L"UXDesigner", L"Height", -1)), templateSize.cy);

    struct Case
    {
        int width, height;
        CSize expected;
    };
    const Case cases[] = {
        {900, 700, CSize(900, 700)}, {0, 700, templateSize},          {900, -1, templateSize},
        {-900, -700, templateSize},  {3000, 2000, CSize(3000, 2000)},
    };
    for (const Case& c : cases)
    {
        app.WriteProfileInt(L"UXDesigner", L"Width", c.width);
        app.WriteProfileInt(L"UXDesigner", L"Height", c.height);
        Open();
        EXPECT_EQ(WindowSize(), c.expected) << c.width << " x " << c.height;
        // The children follow the new size: the grid keeps its right margin.
        CRect client;
        Designer().GetClientRect(&client);
        CRect grid;
        Designer().grid.GetWindowRect(&grid);
        Designer().ScreenToClient(&grid);
        EXPECT_EQ(client.Width() - grid.right,
                  Designer().initialClientSize.cx - Designer().initialChildRects[1].right);
        EXPECT_EQ(client.Height() - grid.bottom,
                  Designer().initialClientSize.cy - Designer().initialChildRects[1].bottom);
        // The buttons keep their place: at 900 px "Close" is cut off.
        Press(1023);
        ASSERT_FALSE(::IsWindow(Designer().GetSafeHwnd())) << c.width;
    }
    // Closing stores the size the window has then.
    Open();
    Designer().SetWindowPos(nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    Press(1023);
    EXPECT_EQ(int(app.GetProfileInt(L"UXDesigner", L"Width", -1)), 900);
    EXPECT_EQ(int(app.GetProfileInt(L"UXDesigner", L"Height", -1)), 700);
}

// ---------------------------------------------------------------- designer messages

TEST_F(UXDesignerTest, PaletteMessagesAddPreviewAndDropOnlyForValidIndexes)
{
    CUXDesignerDlg& dialog = Open();
    for (const WPARAM bad : {WPARAM(-1), WPARAM(31), WPARAM(1000)})
    {
        EXPECT_EQ(Tell(WMU_PALETTE_ADD, bad, 0), 0);
        EXPECT_EQ(Tell(WMU_PALETTE_SELECT, bad, 0), 0);
    }
    EXPECT_TRUE(Layout().items.empty());

    const POINT inside = ScreenPoint(dialog.grid, 100, 100);
    Tell(WMU_PALETTE_DRAG, 3, Packed(inside));
    EXPECT_TRUE(dialog.grid.dropPreviewVisible);
    Tell(WMU_PALETTE_DRAG, 3, LPARAM(-1));
    EXPECT_FALSE(dialog.grid.dropPreviewVisible);
    for (const WPARAM bad : {WPARAM(-1), WPARAM(31), WPARAM(1000)})
    {
        Tell(WMU_PALETTE_DRAG, 3, Packed(inside));
        ASSERT_TRUE(dialog.grid.dropPreviewVisible);
        Tell(WMU_PALETTE_DRAG, bad, Packed(inside));
        EXPECT_FALSE(dialog.grid.dropPreviewVisible);
        Tell(WMU_PALETTE_DRAG, 3, Packed(inside));
        Tell(WMU_PALETTE_DROP, bad, Packed(inside));
        EXPECT_FALSE(dialog.grid.dropPreviewVisible);
        EXPECT_TRUE(Layout().items.empty());
    }

    // A drop in the grid adds the item in the cell under the point and shows it.
    const CDesignerGridWnd::Geometry geometry = CDesignerGridWnd::GeometryOf(Layout());
    const RECT cell = geometry.CellRect(2, 1, 1, 1);
    Tell(WMU_PALETTE_DRAG, 0, Packed(ScreenPoint(dialog.grid, cell.left + 3, cell.top + 3)));
    Tell(WMU_PALETTE_DROP, 0, Packed(ScreenPoint(dialog.grid, cell.left + 3, cell.top + 3)));
    ASSERT_EQ(Layout().items.size(), 1u);
    EXPECT_EQ(Layout().items[0].gridX, 2);
    EXPECT_EQ(Layout().items[0].gridY, 1);
    EXPECT_FALSE(dialog.grid.dropPreviewVisible);
    EXPECT_EQ(Field(1008), CString(L"ITEM_1"));

    // A drop outside the grid (left of it, a negative packed x included) adds
    // nothing, hides the preview and refreshes the fields.
    dialog.grid.selectedId = -1;
    for (const POINT outside : {ScreenPoint(dialog.grid, -40, 10), POINT{-5, -5}})
    {
        Tell(WMU_PALETTE_DRAG, 0, Packed(inside));
        Tell(WMU_PALETTE_DROP, 0, Packed(outside));
        EXPECT_EQ(Layout().items.size(), 1u);
        EXPECT_FALSE(dialog.grid.dropPreviewVisible);
        EXPECT_EQ(Field(1008), CString());
    }
}

// ---------------------------------------------------------------- files

TEST_F(UXDesignerTest, ExportOffersThePluginIdAndWritesAFileThatLoadsBackEqual)
{
    CUXDesignerDlg& dialog = Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    Tell(WMU_PALETTE_ADD, 5, 0);
    Type(1015, L"\u00e9l\u00e9ment");
    Press(1000); // cancelled: nothing written
    ASSERT_EQ(fileRequests.size(), 1u);
    const brvl::backend::FileDialogRequest& offered = fileRequests[0];
    EXPECT_FALSE(offered.open);
    EXPECT_EQ(offered.fileName, L"designer.sample.json");
    EXPECT_EQ(offered.defaultExtension, L"json");
    EXPECT_EQ(offered.initialFolder, (root / "bin" / "plugins").wstring());
    EXPECT_TRUE(fs::is_directory(root / "bin" / "plugins"));
    EXPECT_EQ(offered.flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT),
              DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    ASSERT_EQ(offered.filters.size(), 1u);
    EXPECT_EQ(offered.filters[0].first, L"JSON Files (*.json)");
    EXPECT_EQ(offered.filters[0].second, L"*.json");
    EXPECT_TRUE(fs::is_empty(root / "bin" / "plugins"));

    const fs::path path = root / "bin" / "plugins" / "out.json";
    answers.push_back(path.wstring());
    Press(1000);
    DesignerLayout back;
    ASSERT_TRUE(DesignerLayout::Load(path.wstring(), back));
    EXPECT_EQ(back, Layout());
    EXPECT_EQ(back.items[1].label, "\xc3\xa9l\xc3\xa9ment");

    Type(1004, L"");
    Press(1000);
    EXPECT_EQ(fileRequests.back().fileName, L"designer_layout.json");
    Type(1004, L"a/b");
    Press(1000);
    EXPECT_EQ(fileRequests.back().fileName, L"a/b.json");
    EXPECT_TRUE(boxTexts.empty());
    (void)dialog;
}

TEST_F(UXDesignerTest, AFailedExportSaysSoAndKeepsTheGrid)
{
    Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    const DesignerLayout before = Layout();
    answers.push_back((root / "full.json").wstring());
    {
        FileSizeLimit full(0);
        Press(1000);
    }
    EXPECT_EQ(boxTexts, std::vector<std::wstring>{L"Failed to write designer layout JSON."});
    EXPECT_EQ(Layout(), before);
    EXPECT_FALSE(fs::exists(root / "full.json"));
}

TEST_F(UXDesignerTest, APluginsPathThatIsAFileIsStillOffered)
{
    WriteFileBytes(root / "bin" / "plugins", "not a folder");
    Open();
    Press(1000);
    Press(1003);
    ASSERT_EQ(fileRequests.size(), 2u);
    EXPECT_EQ(fileRequests[0].initialFolder, (root / "bin" / "plugins").wstring());
    EXPECT_EQ(fileRequests[1].initialFolder, (root / "bin" / "plugins").wstring());
    EXPECT_TRUE(boxTexts.empty());
}

TEST_F(UXDesignerTest, LoadReplacesTheLayoutOrKeepsEveryItemAndSaysWhy)
{
    CUXDesignerDlg& dialog = Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    Tell(WMU_PALETTE_ADD, 0, 0);
    const DesignerLayout before = Layout();

    Press(1003); // cancelled
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(fileRequests[0].open);
    EXPECT_EQ(fileRequests[0].fileName, L"");
    EXPECT_TRUE(fileRequests[0].flags & OFN_FILEMUSTEXIST);
    EXPECT_EQ(fileRequests[0].initialFolder, (root / "bin" / "plugins").wstring());

    WriteFileBytes(root / "bad.json", "{ not json");
    WriteFileBytes(root / "no_id.json", R"({"cellSize": 30, "items": []})");
    for (const char* name : {"bad.json", "no_id.json"})
    {
        answers.push_back((root / name).wstring());
        Press(1003);
    }
    EXPECT_EQ(boxTexts, std::vector<std::wstring>(2, L"Failed to load designer layout JSON."));
    EXPECT_EQ(Layout(), before);

    DesignerLayout stored{"other.page", 30, 4, 9, {}};
    stored.items.push_back(MakeSampleDesignerItem(dialog.catalogue[4], 7, 8, true, false));
    ASSERT_TRUE(stored.Save((root / "good.json").wstring()));
    answers.push_back((root / "good.json").wstring());
    Press(1003);
    EXPECT_EQ(Layout(), stored);
    EXPECT_EQ(Field(1004), CString(L"other.page"));
    EXPECT_EQ(Field(1011), CString(L"30"));
    EXPECT_EQ(Field(1012), CString(L"4"));
}

TEST_F(UXDesignerTest, TestWritesATemporaryLayoutAndRunsTheTestDialogOnIt)
{
    CUXDesignerDlg& dialog = Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    Tell(WMU_PALETTE_ADD, 8, 0);
    std::wstring shown;
    onDialog = [&](HWND window)
    {
        auto* test = dynamic_cast<CDesignerTestDlg*>(CWnd::FromHandlePermanent(window));
        ASSERT_NE(test, nullptr);
        shown = test->layoutPath;
        EXPECT_EQ(test->viewport.panel.entries.size(), 2u);
    };
    Press(1014);
    ASSERT_EQ(modalDialogs.size(), 1u);
    const fs::path path(shown);
    EXPECT_EQ(path.parent_path(), root / "tmp");
    EXPECT_EQ(path.filename().string().substr(0, 3), "uxd");
    EXPECT_EQ(path.extension(), ".json");
    DesignerLayout back;
    ASSERT_TRUE(DesignerLayout::Load(path.wstring(), back));
    EXPECT_EQ(back, Layout());
    // Neither the reserved file nor the layout is removed.
    fs::path reserved = path;
    reserved.replace_extension(".tmp");
    EXPECT_TRUE(fs::exists(reserved));
    EXPECT_TRUE(boxTexts.empty());
    EXPECT_TRUE(::IsWindow(dialog.GetSafeHwnd()));
}

TEST_F(UXDesignerTest, TestReportsEachStepThatFailsAndOpensNothing)
{
    Open();
    Tell(WMU_PALETTE_ADD, 0, 0);
    struct Case
    {
        std::string tmpdir;
        rlim_t fileLimit; // RLIM_INFINITY: none
        const wchar_t* message;
    };
    const Case cases[] = {
        {(root / "missing").string(), RLIM_INFINITY, L"Failed to create temp file."},
        {(root / std::string(300, 'x')).string(), RLIM_INFINITY, L"Failed to get temp path."},
        {(root / "tmp").string(), 0, L"Failed to write temporary test JSON."},
    };
    for (const Case& c : cases)
    {
        boxTexts.clear();
        ScopedEnvironment folder{"TMPDIR", c.tmpdir};
        {
            std::optional<FileSizeLimit> limit;
            if (c.fileLimit != RLIM_INFINITY)
            {
                limit.emplace(c.fileLimit);
            }
            Press(1014);
        }
        EXPECT_EQ(boxTexts, std::vector<std::wstring>{c.message}) << c.tmpdir;
    }
    EXPECT_TRUE(modalDialogs.empty());
    EXPECT_EQ(Layout().items.size(), 1u);
}

TEST_F(UXDesignerTest, PaintsTheDesignerWithItemsASelectionAndTheColourStrip)
{
    CUXDesignerDlg& dialog = Open();
    for (const WPARAM index : {WPARAM(0), WPARAM(4), WPARAM(12), WPARAM(20)})
    {
        Tell(WMU_PALETTE_ADD, index, 0);
    }
    Tell(WMU_COLOR_WELL_PICKED, 0xB1C972, 0);
    PumpPendingMessages();
    const fs::path path = fs::path(BRVL_TEST_OUTPUT_DIR) / "ux_designer.png";
    ASSERT_TRUE(RenderWindowToPng(dialog.GetSafeHwnd(), path)) << path;
    std::cout << "picture: " << path.string() << "\n";
}

} // namespace
