// The designer's grid, driven through injected input against a recording
// parent, and the test dialog, run modally through the dialog driver.

#include "grid/designer_grid_wnd.h"
#include "grid/designer_test_dlg.h"

#include "platform/win32/window_picture.h"
#include "tests/platform/dialog_driver.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace
{

ControlCatalogEntry Entry(int spanX, int spanY, int kind = 1)
{
    return ControlCatalogEntry{kind, "small knob", spanX, spanY, 80, 80};
}

DesignerItem Placed(int id, int x, int y, int spanX, int spanY, int kind = 1)
{
    DesignerItem item = MakeSampleDesignerItem(Entry(spanX, spanY, kind), id, id, true, true);
    item.gridX = x;
    item.gridY = y;
    return item;
}

void SaveWindowPicture(HWND window, const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / name;
    EXPECT_TRUE(RenderWindowToPng(window, path)) << path;
    std::cout << "picture: " << path.string() << "\n";
}

// ---------------------------------------------------------------- sample items

TEST(MakeSampleDesignerItem, GivesEveryCatalogueKindItsSample)
{
    struct Sample
    {
        ControlKind kind;
        const char* label; // nullptr: the kind name
        const char* textValue;
        bool framed;
    };
    // clang-format off
    const Sample samples[] = {
        {ControlKind::TextTitle, "Section Title", "", false},
        {ControlKind::TextCaption, "Small description", "", false},
        {ControlKind::TextCaptionBlock, "Details", "", false},
        {ControlKind::TextLabelStrip, "Text Label", "", true},
        {ControlKind::ValueReadout, "Readout", "12.3 dB", true},
        {ControlKind::TextBlock, "Title", "", true},
        {ControlKind::StereoFieldGraph, "Stereo Field", "Polar stereo graph", false},
        {ControlKind::CorrelationMeter, "Correlation", "Stereo phase correlation", false},
        {ControlKind::Goniometer, "Goniometer", "Stereo shape scope", false},
        {ControlKind::PeakSymmetryGraph, "Peak Symmetry", "Positive and negative peak balance", false},
        {ControlKind::SevenSegmentDisplay, "LUFS", "-9.8", true},
        {ControlKind::NixieDisplay, "Counter", "1234", true},
        {ControlKind::OutputMeter, "Out", "", true},
        {ControlKind::MenuBar, "Mode", "", true},
        {ControlKind::SegmentSwitch, "Focus", "", true},
        {ControlKind::PanelLight, "", "", true},
        {ControlKind::RoundTransportButton, "", "play", true},
        {ControlKind::ABMonitorSwitch, "MONITOR", "", true},
    };
    // clang-format on
    const std::vector<ControlCatalogEntry> catalogue = BuildControlCatalog();
    ASSERT_EQ(catalogue.size(), 31u);
    for (const ControlCatalogEntry& entry : catalogue)
    {
        SCOPED_TRACE(entry.kindName);
        const DesignerItem item = MakeSampleDesignerItem(entry, 9, 12, true, true);
        EXPECT_EQ(item.instanceId, 9);
        EXPECT_EQ(int(item.kind), entry.kind);
        EXPECT_EQ(item.internalName, entry.kindName);
        EXPECT_EQ(item.parameterId, "ITEM_12");
        EXPECT_EQ(item.spanX, entry.spanX);
        EXPECT_EQ(item.spanY, entry.spanY);
        EXPECT_EQ(item.accentColor, COLORREF(0x5284E5));
        EXPECT_EQ(item.gridX, 0);
        EXPECT_EQ(item.gridY, 0);
        const Sample* sample = nullptr;
        for (const Sample& s : samples)
        {
            sample = s.kind == item.kind ? &s : sample;
        }
        EXPECT_EQ(item.label, sample != nullptr ? sample->label : entry.kindName);
        EXPECT_EQ(item.textValue, sample != nullptr ? sample->textValue : "");
        const bool framed = sample == nullptr || sample->framed;
        EXPECT_EQ(item.drawBackground, framed);
        EXPECT_EQ(item.drawBorder, framed && item.kind != ControlKind::PanelLight);
    }
    // The new-item flags come through where the kind keeps them.
    EXPECT_FALSE(MakeSampleDesignerItem(Entry(1, 1), 1, 1, false, true).drawBorder);
    EXPECT_TRUE(MakeSampleDesignerItem(Entry(1, 1), 1, 1, false, true).drawBackground);
    EXPECT_FALSE(MakeSampleDesignerItem(Entry(1, 1, 26), 1, 1, true, false).drawBackground);

    const DesignerItem needle = MakeSampleDesignerItem(Entry(2, 2, 14), 1, 1, true, true);
    EXPECT_EQ(needle.value, 0.35);
    EXPECT_EQ(needle.displayMin, -20.0);
    EXPECT_EQ(needle.displayMax, 6.0);
    EXPECT_EQ(needle.displayDecimals, 1);
    EXPECT_EQ(needle.displaySuffix, " dB");
    const DesignerItem meter = MakeSampleDesignerItem(Entry(1, 3, 19), 1, 1, true, true);
    EXPECT_EQ(meter.value, 0.62);
    EXPECT_EQ(meter.secondaryValue, 0.74);
    EXPECT_TRUE(meter.hasSecondaryValue);
    struct Steps
    {
        int kind;
        std::vector<std::string> labels;
        int selected;
    };
    for (const Steps& s :
         {Steps{20, {"A", "B", "C", "D", "E"}, 2}, Steps{21, {"A", "B", "C", "D", "E"}, 2},
          Steps{22, {"Apprentice", "Maester"}, 0}, Steps{23, {"Low", "Mid", "High"}, 1}})
    {
        const DesignerItem item = MakeSampleDesignerItem(Entry(1, 1, s.kind), 1, 1, true, true);
        EXPECT_EQ(item.stepLabels, s.labels) << s.kind;
        EXPECT_EQ(item.stepCount, int(s.labels.size())) << s.kind;
        EXPECT_EQ(item.selectedIndex, s.selected) << s.kind;
    }
    EXPECT_TRUE(MakeSampleDesignerItem(Entry(1, 1, 24), 1, 1, true, true).toggleValue);
    EXPECT_EQ(MakeSampleDesignerItem(Entry(1, 1, 26), 1, 1, true, true).value, 1.0);
    EXPECT_EQ(MakeSampleDesignerItem(Entry(1, 1, 27), 1, 1, true, true).value, 0.0);
    EXPECT_EQ(MakeSampleDesignerItem(Entry(1, 1, 7), 1, 1, true, true).toolTip,
              "Wrapped text block.\r\nSecond line.");
    EXPECT_EQ(MakeSampleDesignerItem(Entry(1, 1, 4), 1, 1, true, true).toolTip,
              "Short supporting text.");
}

// ---------------------------------------------------------------- grid

class DesignerGridTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 1100, 900)));
        ASSERT_TRUE(grid.Create(CRect(0, 0, 1000, 800), &parent));
        Settle();
    }

    POINT At(int x, int y) const { return ScreenPoint(grid, x, y); }

    // The selections the parent was told of, in order.
    std::vector<int> Told() const
    {
        std::vector<int> ids;
        for (const LoggedMessage& entry : log.entries)
        {
            if (entry.window == "parent" && entry.message == WMU_DESIGNER_SELECTION)
            {
                EXPECT_EQ(entry.lParam, reinterpret_cast<LPARAM>(&grid));
                ids.push_back(int(entry.wParam));
            }
        }
        return ids;
    }

    void Drag(POINT from, POINT to)
    {
        session->PressButton(At(from.x, from.y));
        session->MoveMouse(At(to.x, to.y), MK_LBUTTON);
        session->ReleaseButton(At(to.x, to.y));
    }

    void Layout(std::vector<DesignerItem> items, int cellSize = 40, int padding = 2)
    {
        DesignerLayout layout;
        layout.pluginId = "test";
        layout.cellSize = cellSize;
        layout.padding = padding;
        layout.items = std::move(items);
        grid.SetLayout(layout);
    }

    const DesignerItem& Item(size_t index) const { return grid.layout.items.at(index); }

    RecordingWnd parent{"parent", log};
    CDesignerGridWnd grid;
};

TEST_F(DesignerGridTest, CreatesTheGridWindowAndItsCellGeometry)
{
    EXPECT_EQ(grid.GetDlgCtrlID(), 20482);
    EXPECT_EQ(grid.GetStyle(), DWORD(0x56010000));
    wchar_t name[64] = {};
    grid.GetWindowText(name, 64);
    EXPECT_EQ(std::wstring(name), L"BrimvaleDesignerGridWnd");

    const CDesignerGridWnd::Geometry geometry{40, 2};
    const RECT item = geometry.CellRect(2, 1, 3, 2);
    EXPECT_EQ(CRect(item), CRect(96, 54, 220, 136));
    const RECT width = CDesignerGridWnd::Geometry::WidthHandle(item);
    const RECT height = CDesignerGridWnd::Geometry::HeightHandle(item);
    EXPECT_EQ(CRect(width), CRect(215, 90, 225, 100));
    EXPECT_EQ(CRect(height), CRect(153, 131, 163, 141));
    // Pitches below 1 are held to 1 cell and no gap; the layout keeps its values.
    for (const DesignerLayout& layout :
         {DesignerLayout{"p", 0, -5, 1, {}}, DesignerLayout{"p", -40, -50, 1, {}}})
    {
        const CDesignerGridWnd::Geometry held = CDesignerGridWnd::GeometryOf(layout);
        EXPECT_EQ(held.cellSize, 1);
        EXPECT_EQ(held.padding, 0);
        EXPECT_EQ(held.Pitch(), 1);
    }
    // Huge spans and cells stay within int.
    const RECT huge = geometry.CellRect(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(huge.left, 1 << 28);
    EXPECT_EQ(huge.right, 1 << 28);
    EXPECT_EQ(huge.top, -(1 << 28));
}

TEST_F(DesignerGridTest, AddItemTakesTheFirstFreeCellAndSelectsIt)
{
    grid.AddItem(Entry(4, 2));
    EXPECT_EQ(Item(0).instanceId, 1);
    EXPECT_EQ(Item(0).parameterId, "ITEM_1");
    EXPECT_EQ(CPoint(Item(0).gridX, Item(0).gridY), CPoint(0, 0));
    grid.AddItem(Entry(4, 2));
    EXPECT_EQ(Item(1).instanceId, 2);
    EXPECT_EQ(Item(1).parameterId, "ITEM_2");
    EXPECT_EQ(CPoint(Item(1).gridX, Item(1).gridY), CPoint(4, 0));
    EXPECT_EQ(grid.selectedId, 2);
    EXPECT_EQ(Told(), (std::vector<int>{1, 2}));
    EXPECT_EQ(grid.layout.nextItemCounter, 3);

    // Only other items count: a 6 x 8 starts at column 15 and reaches past it.
    Layout({Placed(1, 0, 0, 15, 64)});
    EXPECT_TRUE(grid.IsAreaFree(-1, 15, 0, 6, 8));
    EXPECT_FALSE(grid.IsAreaFree(-1, 14, 63, 1, 1));
    EXPECT_TRUE(grid.IsAreaFree(1, 14, 63, 1, 1));
    EXPECT_TRUE(grid.IsAreaFree(-1, 14, 64, 1, 1)); // half-open
    grid.AddItem(Entry(6, 8));
    EXPECT_EQ(CPoint(Item(1).gridX, Item(1).gridY), CPoint(15, 0));

    // A full range falls back to cell (0, 0) and still adds the item.
    Layout({Placed(1, 0, 0, 16, 64)});
    grid.AddItem(Entry(1, 1));
    ASSERT_EQ(grid.layout.items.size(), 2u);
    EXPECT_EQ(CPoint(Item(1).gridX, Item(1).gridY), CPoint(0, 0));
}

TEST_F(DesignerGridTest, DropsSearchFromTheCellUnderThePoint)
{
    struct Drop
    {
        POINT at;
        POINT cell;
    };
    for (const Drop d : {Drop{{11, 11}, {0, 0}}, Drop{{100, 60}, {2, 1}}, Drop{{0, 0}, {0, 0}},
                         Drop{{999, 799}, {0, 19}}, Drop{{800, 12}, {0, 1}}})
    {
        Layout({});
        ASSERT_TRUE(grid.DropAt(Entry(1, 1), d.at)) << d.at.x << "," << d.at.y;
        EXPECT_EQ(CPoint(Item(0).gridX, Item(0).gridY), d.cell) << d.at.x << "," << d.at.y;
    }
    // Outside the client: nothing taken, nothing told.
    Layout({});
    log.Clear();
    for (const POINT outside : {POINT{-1, 5}, POINT{1000, 5}, POINT{5, 800}})
    {
        EXPECT_FALSE(grid.DropAt(Entry(1, 1), outside));
    }
    EXPECT_EQ(grid.layout.nextItemCounter, 1);
    EXPECT_TRUE(Told().empty());
    // A full range refuses the drop but uses up a parameter number and an id.
    Layout({Placed(5, 0, 0, 16, 64)});
    EXPECT_FALSE(grid.DropAt(Entry(1, 1), POINT{20, 20}));
    EXPECT_EQ(grid.layout.items.size(), 1u);
    EXPECT_TRUE(Told().empty());
    grid.AddItem(Entry(1, 1));
    EXPECT_EQ(Item(1).instanceId, 7);
    EXPECT_EQ(Item(1).parameterId, "ITEM_2");
    // The drop's row ends at column 15, later rows start at 0.
    Layout({Placed(1, 0, 0, 16, 1), Placed(2, 0, 1, 3, 1)});
    ASSERT_TRUE(grid.DropAt(Entry(1, 1), POINT{20, 20}));
    EXPECT_EQ(CPoint(Item(2).gridX, Item(2).gridY), CPoint(3, 1));
}

TEST_F(DesignerGridTest, TheDropPreviewShowsWhereADropWouldLand)
{
    Layout({Placed(1, 0, 0, 2, 2)});
    const ControlCatalogEntry entry = Entry(1, 1);
    grid.UpdateDropPreview(&entry, At(20, 20));
    ASSERT_TRUE(grid.dropPreviewVisible);
    EXPECT_EQ(CPoint(grid.dropPreviewItem.gridX, grid.dropPreviewItem.gridY), CPoint(2, 0));
    EXPECT_EQ(grid.dropPreviewItem.instanceId, -1);
    EXPECT_EQ(grid.dropPreviewItem.parameterId, "ITEM_1");
    EXPECT_EQ(grid.layout.nextItemCounter, 1); // nothing taken
    grid.UpdateDropPreview(&entry, At(-5, 20));
    EXPECT_FALSE(grid.dropPreviewVisible);
    grid.UpdateDropPreview(&entry, At(100, 60));
    EXPECT_TRUE(grid.dropPreviewVisible);
    grid.UpdateDropPreview(nullptr, At(100, 60));
    EXPECT_FALSE(grid.dropPreviewVisible);
}

TEST_F(DesignerGridTest, DragsMoveByWholePitchesAndStopAtTheEdges)
{
    Layout({Placed(1, 2, 2, 2, 2)});
    // Item (2, 2) span 2 x 2: pixels 96..178; the body's middle is (120, 120).
    Drag({120, 120}, {161, 120});
    EXPECT_EQ(grid.selectedId, 1);
    EXPECT_EQ(CPoint(Item(0).gridX, Item(0).gridY), CPoint(2, 2)) << "41 px is no pitch";
    Drag({120, 120}, {162, 120});
    EXPECT_EQ(CPoint(Item(0).gridX, Item(0).gridY), CPoint(3, 2)) << "42 px is one";
    Drag({150, 120}, {-300, -300});
    EXPECT_EQ(CPoint(Item(0).gridX, Item(0).gridY), CPoint(0, 0)) << "cells stop at 0";
    EXPECT_EQ(grid.dragMode, 0);
    EXPECT_FALSE(grid.dragPreviewVisible);

    // Handles: width at (left + width - 5, middle), height at (middle, bottom - 5).
    Layout({Placed(1, 0, 0, 3, 3)});
    Drag({60, 60}, {60, 60}); // select; a click without a move changes nothing
    EXPECT_EQ(Item(0).spanX, 3);
    Drag({136, 73}, {136 + 84, 73});
    EXPECT_EQ(Item(0).spanX, 5);
    Drag({116, 136}, {116, 136 - 42});
    EXPECT_EQ(Item(0).spanY, 2);
    Drag({220, 52}, {0, 52});
    EXPECT_EQ(Item(0).spanX, 1) << "spans stop at 1";
    Drag({31, 94}, {31, -500});
    EXPECT_EQ(Item(0).spanY, 1);
    EXPECT_EQ(Told(), (std::vector<int>{1})) << "a commit sends nothing";
}

TEST_F(DesignerGridTest, AReleaseOverAnOccupiedAreaKeepsTheItem)
{
    Layout({Placed(1, 0, 0, 2, 2), Placed(2, 4, 0, 2, 2)});
    session->PressButton(At(30, 30));
    session->MoveMouse(At(30 + 3 * 42, 30), MK_LBUTTON);
    EXPECT_TRUE(grid.dragPreviewVisible);
    EXPECT_FALSE(grid.dragPreviewValid);
    EXPECT_EQ(CPoint(grid.dragPreviewCell), CPoint(3, 0));
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(grid.GetSafeHwnd(), picture));
    // The preview's fill and dashed outline are red over the free cell (3, 0).
    const COLORREF inside = picture.ColorAt(12 + 3 * 42 + 20, 30);
    EXPECT_GT(GetRValue(inside), GetBValue(inside));
    SaveWindowPicture(grid.GetSafeHwnd(), "designer_grid_invalid_drag.png");
    session->ReleaseButton(At(30 + 3 * 42, 30));
    EXPECT_EQ(CPoint(Item(0).gridX, Item(0).gridY), CPoint(0, 0));
    EXPECT_FALSE(grid.dragPreviewVisible);
}

TEST_F(DesignerGridTest, TheSelectedItemsHandleWinsOverAnItemOnTop)
{
    // Item 2 lies over the right edge of item 1, so item 1's width handle is
    // inside item 2.
    Layout({Placed(1, 0, 0, 2, 2), Placed(2, 1, 0, 2, 2)});
    session->PressButton(At(20, 20));
    session->ReleaseButton(At(20, 20));
    ASSERT_EQ(grid.selectedId, 1);
    const RECT handle = CDesignerGridWnd::Geometry::WidthHandle(
        CDesignerGridWnd::GeometryOf(grid.layout).ItemRect(Item(0)));
    session->PressButton(At(handle.left + 5, handle.top + 5));
    EXPECT_EQ(grid.selectedId, 1);
    EXPECT_EQ(grid.dragMode, CDesignerGridWnd::DragWidth);
    session->ReleaseButton(At(handle.left + 5, handle.top + 5));
    // Without a selection the item on top wins.
    session->PressButton(At(500, 500));
    session->ReleaseButton(At(500, 500));
    EXPECT_EQ(grid.selectedId, -1);
    session->PressButton(At(handle.left + 5, handle.top + 5));
    EXPECT_EQ(grid.selectedId, 2);
    EXPECT_EQ(grid.dragMode, CDesignerGridWnd::DragMove);
    session->ReleaseButton(At(handle.left + 5, handle.top + 5));
    EXPECT_EQ(Told(), (std::vector<int>{1, -1, 2}));
    EXPECT_EQ(::GetFocus(), grid.GetSafeHwnd());
}

TEST_F(DesignerGridTest, SetLayoutContinuesTheLayoutsCounters)
{
    Layout({Placed(7, 0, 0, 1, 1), Placed(3, 1, 0, 1, 1)});
    grid.AddItem(Entry(1, 1));
    EXPECT_EQ(Item(2).instanceId, 8);
    DesignerLayout zero;
    zero.nextItemCounter = 0;
    grid.selectedId = 5;
    grid.SetLayout(zero);
    EXPECT_EQ(grid.selectedId, 5) << "the selection is the dialog's to clear";
    EXPECT_EQ(grid.nextInstanceId, 1);
    grid.AddItem(Entry(1, 1));
    EXPECT_EQ(Item(0).parameterId, "ITEM_1");
    EXPECT_EQ(Item(0).instanceId, 1);
    grid.SetLayout(grid.layout); // its own layout: kept
    EXPECT_EQ(grid.layout.items.size(), 1u);
}

TEST_F(DesignerGridTest, DeleteRemovesTheSelectedItemOnly)
{
    Layout({Placed(1, 0, 0, 1, 1), Placed(2, 2, 0, 1, 1)});
    session->Click(At(30, 30));
    // The class takes no double-clicks: a second click at once is a press too.
    grid.selectedId = -1;
    session->Click(At(30, 30));
    ASSERT_EQ(grid.selectedId, 1);
    session->Key(VK_LEFT);
    session->Key(VK_INSERT);
    EXPECT_EQ(grid.layout.items.size(), 2u);
    session->Key(VK_DELETE);
    ASSERT_EQ(grid.layout.items.size(), 1u);
    EXPECT_EQ(Item(0).instanceId, 2);
    EXPECT_EQ(grid.selectedId, -1);
    EXPECT_EQ(Told(), (std::vector<int>{1, 1, -1}));
    session->Key(VK_DELETE); // nothing selected
    EXPECT_EQ(grid.layout.items.size(), 1u);
    EXPECT_EQ(Told(), (std::vector<int>{1, 1, -1}));
}

// In the modeless designer the keys pass the dialog manager first; Delete is
// not one of its keys, so it reaches the focused grid.
TEST_F(DesignerGridTest, DeleteReachesTheGridInsideAModelessDialog)
{
    brvl::win32::DialogTemplate empty;
    empty.caption = L"Designer";
    empty.cx = 300;
    empty.cy = 200;
    empty.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    CDialogEx dialog(empty);
    ASSERT_TRUE(dialog.CreateIndirect(empty));
    CDesignerGridWnd inner;
    ASSERT_TRUE(inner.Create(CRect(0, 0, 300, 200), &dialog));
    inner.AddItem(Entry(1, 1));
    inner.AddItem(Entry(1, 1));
    Settle();
    session->Click(ScreenPoint(inner, 20, 20));
    ASSERT_EQ(inner.selectedId, 1);
    session->Key(VK_DELETE);
    ASSERT_EQ(inner.layout.items.size(), 1u);
    EXPECT_EQ(inner.layout.items[0].instanceId, 2);
    inner.DestroyWindow();
    dialog.DestroyWindow();
}

TEST_F(DesignerGridTest, BadGeometryNeitherHangsNorStopsDrops)
{
    struct Case
    {
        int cellSize;
        int padding;
    };
    for (const Case c : {Case{0, -5}, Case{-40, 2}, Case{1000000, 2}, Case{40, -50}, Case{1, 0}})
    {
        SCOPED_TRACE(testing::Message() << c.cellSize << "/" << c.padding);
        // Item 4 would be a picture of some 29000 px square at 40 px cells.
        Layout({Placed(1, -3, -3, 2, 2), Placed(2, 5, 5, 1000000, 1000000), Placed(3, 1, 1, -2, 0),
                Placed(4, 2, 2, 700, 700)},
               c.cellSize, c.padding);
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(grid.GetSafeHwnd(), picture));
        EXPECT_TRUE(grid.DropAt(Entry(1, 1), POINT{100, 60}));
        Drag({30, 30}, {900, 700});
        Drag({999, 799}, {-900, -700});
        EXPECT_EQ(grid.layout.cellSize, c.cellSize) << "the stored values stay";
        EXPECT_EQ(grid.layout.padding, c.padding);
    }
}

TEST_F(DesignerGridTest, ACaptureLossMidDragCommitsNothing)
{
    Layout({Placed(1, 0, 0, 1, 1)});
    RecordingWnd thief("thief", log);
    ASSERT_TRUE(thief.CreateTopLevel(CRect(1200, 0, 1300, 100)));
    session->PressButton(At(30, 30));
    session->MoveMouse(At(30 + 84, 30), MK_LBUTTON);
    ASSERT_TRUE(grid.dragPreviewValid);
    log.Clear();
    thief.SetCapture();
    EXPECT_EQ(grid.dragMode, 0);
    EXPECT_FALSE(grid.dragPreviewVisible);
    ::ReleaseCapture();
    session->ReleaseButton(At(30 + 84, 30));
    EXPECT_EQ(CPoint(Item(0).gridX, Item(0).gridY), CPoint(0, 0));
    EXPECT_TRUE(Told().empty());
    thief.DestroyWindow();
}

TEST_F(DesignerGridTest, PaintsItemsSelectionAndPreviews)
{
    Layout({Placed(1, 0, 0, 2, 2), Placed(2, 3, 0, 3, 2, 14), Placed(3, 0, 3, 4, 1, 18)});
    session->PressButton(At(30, 30));
    session->MoveMouse(At(30 + 42, 30 + 84), MK_LBUTTON);
    const ControlCatalogEntry knob = Entry(2, 2, 0);
    grid.UpdateDropPreview(&knob, At(300, 200));
    ASSERT_TRUE(grid.dropPreviewVisible);
    SaveWindowPicture(grid.GetSafeHwnd(), "designer_grid.png");
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(grid.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(5, 5), 0x100E0Cu); // background
    // A grid line at x = 12.5, between cells.
    EXPECT_GT(std::max(GetGValue(picture.ColorAt(12, 500)), GetGValue(picture.ColorAt(13, 500))),
              0x1A);
    // The middle of the selected item's width handle: the orange accent fill.
    const RECT handle = CDesignerGridWnd::Geometry::WidthHandle(RECT{12, 12, 94, 94});
    const COLORREF fill = picture.ColorAt(handle.left + 5, handle.top + 5);
    EXPECT_GT(GetRValue(fill), 0xA0);
    EXPECT_GT(GetRValue(fill), GetGValue(fill));
    EXPECT_GT(GetGValue(fill), GetBValue(fill));
    session->ReleaseButton(At(30 + 42, 30 + 84));
}

TEST(DesignerGridDraw, PaintsAtAnySize)
{
    brvl::backend::HeadlessSession session;
    CDesignerGridWnd::State state;
    state.layout.items = {Placed(1, 0, 0, 2, 2), Placed(2, 1, 1, 2, 2)};
    state.selectedId = 2;
    state.dragMode = CDesignerGridWnd::DragWidth;
    state.dragPreviewVisible = true;
    for (const SIZE size : {SIZE{1, 1}, SIZE{11, 11}, SIZE{12, 300}, SIZE{600, 30}})
    {
        state.size = size;
        Gdiplus::Bitmap bitmap(size.cx, size.cy, Gdiplus::PixelFormat32bppPARGB);
        Gdiplus::Graphics graphics(&bitmap);
        CDesignerGridWnd::Draw(graphics, state);
        EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
    }
}

// ---------------------------------------------------------------- test dialog

class DesignerTestDialogTest : public WindowTest
{
protected:
    DesignerTestDialogTest() { driver.Install(session.Backend()); }

    ~DesignerTestDialogTest() override { std::filesystem::remove_all(folder); }

    std::wstring Write(const std::vector<DesignerItem>& items, int cellSize = 40, int padding = 0)
    {
        DesignerLayout layout;
        layout.pluginId = "test_page";
        layout.cellSize = cellSize;
        layout.padding = padding;
        layout.items = items;
        const std::filesystem::path path = folder / "layout.json";
        EXPECT_TRUE(layout.Save(path.wstring()));
        return path.wstring();
    }

    // Runs the dialog on `path` and reads it from inside the modal loop.
    void Run(const std::wstring& path, const std::function<void(CDesignerTestDlg&)>& read)
    {
        CDesignerTestDlg dialog(&owner);
        dialog.layoutPath = path;
        bool driven = false;
        driver.drive = [&](HWND)
        {
            driven = true;
            read(dialog);
            dialog.EndDialog(IDOK);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_TRUE(driven);
    }

    static CRect ClientOf(const CWnd& window)
    {
        CRect client;
        window.GetClientRect(&client);
        return client;
    }

    // `inner`'s rectangle in `outer`'s client coordinates.
    static CRect RectIn(const CWnd& inner, const CWnd& outer)
    {
        CRect rect;
        inner.GetWindowRect(&rect);
        outer.ScreenToClient(&rect);
        return rect;
    }

    std::filesystem::path folder = []
    {
        const std::filesystem::path p =
            std::filesystem::temp_directory_path() /
            ("brvl_designer_test_" +
             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(p);
        return p;
    }();
    DialogDriver driver;
    RecordingWnd owner{"owner", log};

    void SetUp() override { ASSERT_TRUE(owner.CreateTopLevel(CRect(0, 0, 1200, 900))); }
};

TEST_F(DesignerTestDialogTest, SizesItsClientAroundTheContent)
{
    // 10 x 5 cells of 40 px without a gap: content 400 x 200.
    const std::wstring path = Write({Placed(1, 0, 0, 10, 5, 12)});
    Run(path,
        [&](CDesignerTestDlg& dialog)
        {
            EXPECT_EQ(ClientOf(dialog).Size(), CSize(472, 272));
            EXPECT_EQ(RectIn(dialog.viewport, dialog), CRect(10, 10, 462, 262));
            const CControlGridPanelWnd& panel = dialog.viewport.panel;
            EXPECT_EQ(CRect(panel.content).Size(), CSize(400, 200));
            CRect content(panel.content);
            content.OffsetRect(RectIn(panel, dialog).TopLeft());
            EXPECT_EQ(content.TopLeft(), CPoint(30, 30));
            EXPECT_EQ(dialog.viewport.GetDlgCtrlID(), 24833);
            EXPECT_EQ(dialog.viewport.background, COLORREF(0x100E0C));
            EXPECT_EQ(panel.packParams.mode, 0);
            SaveWindowPicture(dialog.GetSafeHwnd(), "designer_test_dialog.png");
        });
    Run(Write({}),
        [&](CDesignerTestDlg& dialog) { EXPECT_EQ(ClientOf(dialog).Size(), CSize(72, 72)); });
    EXPECT_TRUE(driver.boxTexts.empty());
}

TEST_F(DesignerTestDialogTest, ResizingKeepsTheInsetAndScrollsOnceSmaller)
{
    Run(Write({Placed(1, 0, 0, 10, 5, 12)}),
        [&](CDesignerTestDlg& dialog)
        {
            for (const CSize client : {CSize(800, 600), CSize(200, 150), CSize(15, 12)})
            {
                CRect window(CPoint(0, 0), client);
                ::AdjustWindowRectEx(&window, dialog.GetStyle(), FALSE, dialog.GetExStyle());
                dialog.SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(),
                                    SWP_NOMOVE | SWP_NOZORDER);
                const CRect now = ClientOf(dialog);
                const CRect viewport = RectIn(dialog.viewport, dialog);
                EXPECT_EQ(viewport.TopLeft(), CPoint(10, 10));
                EXPECT_EQ(viewport.Width(), std::max(0, now.Width() - 20));
                EXPECT_EQ(viewport.Height(), std::max(0, now.Height() - 20));
                if (now.Width() >= 100)
                {
                    // The panel is the viewport less its 12-px bar strips.
                    const CGridOffsetBarWnd& bar = dialog.viewport.horizontalBar;
                    EXPECT_EQ(bar.viewExtent, now.Width() - 32);
                    EXPECT_EQ(bar.contentExtent > bar.viewExtent, now.Width() - 32 < 400)
                        << now.Width();
                    const CGridOffsetBarWnd& side = dialog.viewport.verticalBar;
                    EXPECT_EQ(side.contentExtent > side.viewExtent, now.Height() - 32 < 200)
                        << now.Height();
                }
            }
        });
}

TEST_F(DesignerTestDialogTest, TwoItemsOnOneCellBothShow)
{
    Run(Write({Placed(1, 1, 1, 2, 2), Placed(2, 1, 1, 2, 2)}),
        [&](CDesignerTestDlg& dialog)
        {
            const CControlGridPanelWnd& panel = dialog.viewport.panel;
            ASSERT_EQ(panel.entries.size(), 2u);
            EXPECT_EQ(RectIn(*panel.entries[0].control, panel),
                      RectIn(*panel.entries[1].control, panel));
            EXPECT_TRUE(panel.entries[0].control->IsWindowVisible());
            EXPECT_TRUE(panel.entries[1].control->IsWindowVisible());
        });
}

TEST_F(DesignerTestDialogTest, ABadOrEmptyPathKeepsTheTemplatesSize)
{
    CRect templateClient;
    Run(L"", [&](CDesignerTestDlg& dialog) { templateClient = ClientOf(dialog); });
    EXPECT_TRUE(driver.boxTexts.empty());
    EXPECT_GT(templateClient.Width(), 435);
    EXPECT_GT(templateClient.Height(), 315);

    std::ofstream(folder / "not.json") << "{ not json";
    std::ofstream(folder / "empty.json");
    const std::wstring paths[] = {(folder / "missing.json").wstring(),
                                  (folder / "not.json").wstring(),
                                  (folder / "empty.json").wstring(), folder.wstring()};
    for (const std::wstring& path : paths)
    {
        Run(path,
            [&](CDesignerTestDlg& dialog)
            {
                EXPECT_EQ(ClientOf(dialog), templateClient);
                EXPECT_TRUE(dialog.viewport.panel.entries.empty());
            });
    }
    EXPECT_EQ(driver.boxTexts,
              std::vector<std::wstring>(std::size(paths), L"Failed to load designer test JSON."));
}

} // namespace
