// The control grid panel under a recording parent: building controls from
// items, packing them with margins, centring and scrolling, reporting their
// gestures up and taking updates by parameter id.
#include "grid/control_grid_panel_wnd.h"

#include "base/unicode_text.h"
#include "platform/win32/test_hooks.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace
{

constexpr int kPanelLight = 26; // 1 x 1 cell
constexpr int kToggle = 24;     // 2 x 2
constexpr int kSmallKnob = 1;   // 4 x 4
constexpr int kHSlider = 18;    // 4 x 2

ControlItem Item(int kind, std::string id = {})
{
    ControlItem item;
    item.kind = static_cast<ControlKind>(kind);
    item.parameterId = std::move(id);
    return item;
}

ControlItem Explicit(int kind, int x, int y, int spanX, int spanY)
{
    ControlItem item = Item(kind);
    item.explicitPlacement = true;
    item.gridX = x;
    item.gridY = y;
    item.spanX = spanX;
    item.spanY = spanY;
    return item;
}

CRect RectInPanel(const CWnd& control)
{
    CRect r;
    control.GetWindowRect(&r);
    control.GetParent()->ScreenToClient(&r);
    return r;
}

class ControlGridPanelTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 1200, 900)));
        ASSERT_TRUE(panel.Create(CRect(0, 0, 500, 300), &parent));
        panel.name = "stage2";
        Settle();
    }

    void Resize(int width, int height)
    {
        panel.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
        PumpPendingMessages();
    }

    std::vector<UINT> ControlIds() const
    {
        std::vector<UINT> ids;
        for (const ControlGridEntry& entry : panel.entries)
        {
            ids.push_back(static_cast<UINT>(entry.control->GetDlgCtrlID()));
        }
        return ids;
    }

    RecordingWnd parent{"parent", log};
    CControlGridPanelWnd panel;
};

} // namespace

TEST_F(ControlGridPanelTest, BuildsOneControlPerUsableItemWithIdsFrom0x3000)
{
    struct Case
    {
        const char* what;
        std::vector<ControlItem> items;
        int failCreate; // the n-th creation fails; 0 none
        std::vector<std::string> parameterIds;
        std::vector<UINT> controlIds;
    };
    const std::vector<Case> cases = {
        {"a repeated non-empty id is skipped, empty ones never",
         {Item(kPanelLight, "a"), Item(kPanelLight, "b"), Item(kPanelLight, "a"), Item(kPanelLight),
          Item(kPanelLight)},
         0,
         {"a", "b", "", ""},
         {0x3000, 0x3001, 0x3002, 0x3003}},
        {"an unknown kind uses no id",
         {Item(kPanelLight, "x"), Item(99, "y"), Item(kPanelLight, "z")},
         0,
         {"x", "z"},
         {0x3000, 0x3001}},
        {"a failed creation uses its id up",
         {Item(kPanelLight, "x"), Item(kPanelLight, "y"), Item(kPanelLight, "z")},
         2,
         {"x", "z"},
         {0x3000, 0x3002}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (c.failCreate > 0)
        {
            FailNextCreate(c.failCreate);
        }
        panel.RebuildControls(c.items);
        std::vector<std::string> ids;
        for (const ControlGridEntry& entry : panel.entries)
        {
            ids.push_back(entry.item.parameterId);
            EXPECT_EQ(entry.control->GetParent(), &panel);
        }
        EXPECT_EQ(ids, c.parameterIds);
        EXPECT_EQ(ControlIds(), c.controlIds) << "a rebuild starts again at 0x3000";
        EXPECT_FALSE(panel.rebuilding);
    }
    const HWND last = panel.entries.back().control->GetSafeHwnd();
    panel.DestroyControls();
    EXPECT_TRUE(panel.entries.empty());
    EXPECT_FALSE(::IsWindow(last)) << "a control window stayed";
}

TEST_F(ControlGridPanelTest, SpansComeFromTheItemOnlyWhenExplicitAndWhole)
{
    panel.packParams.mode = GridPackMode::FitColumnsDense;
    ControlItem flow = Item(kSmallKnob);
    flow.spanX = 0;
    flow.spanY = 0;
    ControlItem flowWithSpan = Item(kSmallKnob); // a flow item's own span is not read
    flowWithSpan.spanX = 1;
    flowWithSpan.spanY = 1;
    panel.RebuildControls(
        {flow, flowWithSpan, Explicit(kSmallKnob, 0, 10, 0, 3), Explicit(kSmallKnob, 5, 10, 2, 3)});
    ASSERT_EQ(panel.entries.size(), 4u);
    const int knob = 4 * 40 + 3 * 2; // four cells and three gaps
    const CSize expected[] = {CSize(knob, knob), CSize(knob, knob), CSize(knob, knob),
                              CSize(2 * 40 + 2, 3 * 40 + 2 * 2)};
    for (size_t i = 0; i < panel.entries.size(); ++i)
    {
        EXPECT_EQ(RectInPanel(*panel.entries[i].control).Size(), expected[i]) << "item " << i;
    }
    EXPECT_EQ(panel.entries[3].control->GetGridSpan(), CSize(2, 3));
    EXPECT_EQ(RectInPanel(*panel.entries[3].control).TopLeft(), CPoint(5 * 42, 10 * 42));
}

TEST_F(ControlGridPanelTest, CentresTheContentAndHoldsTheScrollToIt)
{
    struct Case
    {
        const char* what;
        int margin;
        int centre;
        int cellsWide; // one explicit item of 50 px cells, no gaps
        int cellsHigh;
        int scrollX;
        int scrollY;
        RECT content;
        CPoint scroll;
        CPoint controlAt;
    };
    const Case cases[] = {
        {"centred", 0, 1, 4, 2, 0, 0, {150, 100, 350, 200}, {0, 0}, {150, 100}},
        {"centred within margins", 10, 1, 4, 2, 0, 0, {150, 100, 350, 200}, {0, 0}, {150, 100}},
        {"fits: no scroll", 0, 1, 4, 2, 40, 40, {150, 100, 350, 200}, {0, 0}, {150, 100}},
        {"not centred", 10, 0, 4, 2, 0, 0, {10, 10, 210, 110}, {0, 0}, {10, 10}},
        {"scrolled past the end", 0, 0, 16, 2, 1000, 0, {0, 0, 800, 100}, {300, 0}, {-300, 0}},
        {"scrolled before the start", 0, 0, 16, 2, -5, 0, {0, 0, 800, 100}, {0, 0}, {0, 0}},
        {"too wide to centre", 0, 1, 16, 2, 120, 0, {0, 100, 800, 200}, {120, 0}, {-120, 100}},
        {"tall: the last margin is out of reach",
         10,
         0,
         1,
         10,
         0,
         999,
         {10, 10, 60, 510},
         {0, 200},
         {10, -190}},
    };
    panel.packParams.mode = GridPackMode::ExplicitOnly;
    panel.cellSize = 50;
    panel.gap = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        panel.marginX = panel.marginY = c.margin;
        panel.centreH = panel.centreV = c.centre;
        panel.scrollX = c.scrollX;
        panel.scrollY = c.scrollY;
        panel.RebuildControls({Explicit(kPanelLight, 0, 0, c.cellsWide, c.cellsHigh)});
        EXPECT_EQ(CRect(panel.content), CRect(c.content));
        EXPECT_EQ(CPoint(panel.scrollX, panel.scrollY), c.scroll);
        ASSERT_EQ(panel.entries.size(), 1u);
        EXPECT_EQ(RectInPanel(*panel.entries[0].control).TopLeft(), c.controlAt);
    }
}

TEST_F(ControlGridPanelTest, ControlsAreShownHiddenAndBandedByTheirItems)
{
    panel.packParams.mode = GridPackMode::FixedColumns;
    panel.packParams.columns = 8;
    ControlItem hidden = Item(kToggle);
    hidden.visible = false;
    std::vector<ControlItem> items = {Item(kToggle), hidden, Item(kToggle), Item(kToggle),
                                      Item(kToggle)};
    items[2].group = 1; // groups 0, 1, 0: three bands
    items[3].group = 0;
    items[4].group = 0;
    panel.RebuildControls(items);
    ASSERT_EQ(panel.entries.size(), 5u);
    EXPECT_FALSE(panel.entries[1].control->IsWindowVisible());
    EXPECT_EQ(RectInPanel(*panel.entries[0].control).TopLeft(), CPoint(0, 0));
    EXPECT_EQ(RectInPanel(*panel.entries[2].control).TopLeft(), CPoint(0, 84));
    EXPECT_EQ(RectInPanel(*panel.entries[3].control).TopLeft(), CPoint(0, 168));
    EXPECT_EQ(RectInPanel(*panel.entries[4].control).TopLeft(), CPoint(84, 168));

    panel.entries[1].item.visible = true;
    panel.LayoutControls();
    EXPECT_TRUE(panel.entries[1].control->IsWindowVisible());
    EXPECT_EQ(RectInPanel(*panel.entries[1].control).TopLeft(), CPoint(84, 0));
}

TEST_F(ControlGridPanelTest, ASliderDraggedByTheUserIsReportedWithThePanelsName)
{
    struct Heard
    {
        UINT message;
        std::string panelName;
        std::string parameterId;
        double value;
        double controlValue;
    };
    std::vector<Heard> heard;
    for (const UINT message : {WMU_PANEL_CONTROL_CHANGED, WMU_PANEL_CONTROL_COMMIT})
    {
        parent.On(message,
                  [&heard, message](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      const auto* event = reinterpret_cast<const ControlEvent*>(lParam);
                      heard.push_back({message, event->panelName, event->parameterId, event->value,
                                       event->control->GetValue()});
                      return 0;
                  });
    }
    ControlItem slider = Item(kHSlider, "stage2.strength");
    slider.value = 0.7;
    panel.RebuildControls({Item(kPanelLight, "light"), slider});
    PumpPendingMessages();
    EXPECT_TRUE(heard.empty()) << "building the panel reported a value";

    CWnd& control = *panel.entries[1].control;
    const CRect r = RectInPanel(control);
    session->PressButton(ScreenPoint(control, r.Width() * 3 / 10, 48));
    session->MoveMouse(ScreenPoint(control, r.Width() * 8 / 10, 48));
    session->ReleaseButton(ScreenPoint(control, r.Width() * 8 / 10, 48));
    PumpPendingMessages();

    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard.back().message, WMU_PANEL_CONTROL_COMMIT);
    for (size_t i = 0; i < heard.size(); ++i)
    {
        EXPECT_EQ(heard[i].message,
                  i + 1 < heard.size() ? WMU_PANEL_CONTROL_CHANGED : WMU_PANEL_CONTROL_COMMIT);
        EXPECT_EQ(heard[i].panelName, "stage2");
        EXPECT_EQ(heard[i].parameterId, "stage2.strength");
        EXPECT_EQ(heard[i].value, heard[i].controlValue);
    }
    EXPECT_NE(heard.front().value, 0.7) << "the press moved nothing";
    EXPECT_DOUBLE_EQ(heard.back().value, panel.entries[1].control->GetValue());

    heard.clear();
    panel.RebuildControls({slider});
    PumpPendingMessages();
    EXPECT_TRUE(heard.empty()) << "a rebuild reported a value";
}

TEST_F(ControlGridPanelTest, PostedUpdatesReachTheFirstMatchingItemAndAreAlwaysFreed)
{
    ControlItem first = Item(kPanelLight);
    ControlItem second = Item(kPanelLight);
    panel.RebuildControls({Item(kPanelLight, "a"), first, second});
    CBaseControlWnd& a = *panel.entries[0].control;
    CBaseControlWnd& unnamed = *panel.entries[1].control;
    CBaseControlWnd& later = *panel.entries[2].control;
    const HWND hwnd = panel.GetSafeHwnd();

    ASSERT_TRUE(
        ::PostMessage(hwnd, WMU_SET_CONTROL_VALUE, 0,
                      reinterpret_cast<LPARAM>(new ControlValueUpdate{"a", 0.25, 0.5, true})));
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_TEXT, 0,
                              reinterpret_cast<LPARAM>(new ControlTextUpdate{"", "Grüße"})));
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_ACCENT, 0,
                              reinterpret_cast<LPARAM>(new ControlAccentUpdate{"", 0x123456})));
    // Misses: no control has the id.
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_VALUE, 0,
                              reinterpret_cast<LPARAM>(new ControlValueUpdate{"zz", 0.9})));
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_TEXT, 0,
                              reinterpret_cast<LPARAM>(new ControlTextUpdate{"zz", "x"})));
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_ACCENT, 0,
                              reinterpret_cast<LPARAM>(new ControlAccentUpdate{"zz", 1})));
    PumpPendingMessages();
    EXPECT_DOUBLE_EQ(a.GetValue(), 0.25);
    EXPECT_DOUBLE_EQ(a.GetSecondaryValue(), 0.5);
    EXPECT_EQ(std::wstring(unnamed.GetTextValue().GetString()), L"Grüße");
    EXPECT_EQ(unnamed.GetAccentColor(), COLORREF(0x123456));
    EXPECT_NE(later.GetAccentColor(), COLORREF(0x123456)) << "only the first match changes";
    EXPECT_EQ(log.Count("parent", WMU_PANEL_CONTROL_CHANGED), 0) << "an update raised an event";

    EXPECT_TRUE(panel.SetControlValueById("a", 0.75));
    EXPECT_DOUBLE_EQ(a.GetValue(), 0.75);
    EXPECT_TRUE(panel.SetControlTextById("", "direct"));
    EXPECT_FALSE(panel.SetControlValueById("zz", 0.5));
    EXPECT_FALSE(panel.SetControlTextById("zz", "x"));
    // Matching reads the entry's item, never the control's own id.
    panel.entries[0].item.parameterId = "renamed";
    EXPECT_FALSE(panel.SetControlValueById("a", 0.5));
    EXPECT_TRUE(panel.SetControlValueById("renamed", 0.5));
    EXPECT_EQ(a.GetParameterId(), "a");
    panel.entries[0].item.parameterId = "a";

    // Still queued when the window dies: the queue frees them (LSan would say).
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_VALUE, 0,
                              reinterpret_cast<LPARAM>(new ControlValueUpdate{"a", 0.1})));
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_TEXT, 0,
                              reinterpret_cast<LPARAM>(new ControlTextUpdate{"a", "late"})));
    ASSERT_TRUE(::PostMessage(hwnd, WMU_SET_CONTROL_ACCENT, 0,
                              reinterpret_cast<LPARAM>(new ControlAccentUpdate{"a", 2})));
    panel.DestroyWindow();
    EXPECT_FALSE(panel.alive);
    PumpPendingMessages();
    EXPECT_FALSE(panel.SetControlValueById("a", 0.5)) << "a dead panel took a value";
    EXPECT_FALSE(panel.SetControlTextById("a", "x"));
    // A post to the dead panel fails, so its poster keeps the record.
    const auto update = std::make_unique<ControlValueUpdate>();
    EXPECT_FALSE(
        ::PostMessage(hwnd, WMU_SET_CONTROL_VALUE, 0, reinterpret_cast<LPARAM>(update.get())));
}

TEST_F(ControlGridPanelTest, DeadOrEmptyMessagesChangeNothing)
{
    panel.RebuildControls({Item(kPanelLight, "a")});
    for (const UINT message : {WMU_CONTROL_CHANGED, WMU_CONTROL_COMMIT, WMU_SET_CONTROL_VALUE,
                               WMU_SET_CONTROL_TEXT, WMU_SET_CONTROL_ACCENT})
    {
        EXPECT_EQ(panel.SendMessage(message, 0, 0), 0);
    }
    // Updates handled while the panel is no longer alive are only freed.
    panel.alive = false;
    panel.SendMessage(WMU_SET_CONTROL_VALUE, 0,
                      reinterpret_cast<LPARAM>(new ControlValueUpdate{"a", 0.9}));
    panel.SendMessage(WMU_SET_CONTROL_TEXT, 0,
                      reinterpret_cast<LPARAM>(new ControlTextUpdate{"a", "x"}));
    panel.SendMessage(WMU_SET_CONTROL_ACCENT, 0,
                      reinterpret_cast<LPARAM>(new ControlAccentUpdate{"a", 7}));
    EXPECT_EQ(panel.entries[0].control->GetValue(), 0.0);
    EXPECT_EQ(std::wstring(panel.entries[0].control->GetTextValue().GetString()), L"");
    EXPECT_NE(panel.entries[0].control->GetAccentColor(), COLORREF(7));
    EXPECT_EQ(log.Count("parent", WMU_PANEL_CONTROL_CHANGED) +
                  log.Count("parent", WMU_PANEL_CONTROL_COMMIT),
              0);
}

TEST_F(ControlGridPanelTest, ExportsWhatTheModePlacesInPlacementOrder)
{
    std::vector<ControlItem> items;
    for (int i = 0; i < 5; ++i)
    {
        ControlItem item = Item(kToggle, "p" + std::to_string(i));
        item.label = "Label " + std::to_string(i);
        item.value = 0.2 * i;
        item.stepLabels = {"on", "off"};
        items.push_back(item);
    }
    items[4].group = 1;
    panel.packParams.mode = GridPackMode::FitColumns;
    panel.packParams.minColumns = 4;
    panel.packParams.maxColumns = 4;
    panel.cellSize = 30;
    panel.gap = 4;
    panel.RebuildControls(items);

    const DesignerLayout layout = panel.ExportLayout();
    EXPECT_EQ(layout.pluginId, "stage2");
    EXPECT_EQ(layout.cellSize, 30);
    EXPECT_EQ(layout.padding, 4);
    ASSERT_EQ(layout.items.size(), 5u);
    EXPECT_EQ(layout.nextItemCounter, 6);
    const CPoint cells[] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}, {0, 4}};
    for (int i = 0; i < 5; ++i)
    {
        const DesignerItem& out = layout.items[static_cast<size_t>(i)];
        SCOPED_TRACE(i);
        EXPECT_EQ(out.instanceId, i + 1);
        EXPECT_EQ(CPoint(out.gridX, out.gridY), cells[i]);
        EXPECT_EQ(CSize(out.spanX, out.spanY), CSize(2, 2));
        EXPECT_EQ(out.kind, static_cast<ControlKind>(kToggle));
        EXPECT_EQ(out.internalName, "toggle switch");
        EXPECT_EQ(out.parameterId, items[static_cast<size_t>(i)].parameterId);
        EXPECT_EQ(out.label, items[static_cast<size_t>(i)].label);
        EXPECT_EQ(out.stepLabels, items[static_cast<size_t>(i)].stepLabels);
        EXPECT_DOUBLE_EQ(out.value, panel.entries[static_cast<size_t>(i)].control->GetValue());
    }

    panel.packParams.mode = GridPackMode::ExplicitOnly;
    const DesignerLayout none = panel.ExportLayout();
    EXPECT_TRUE(none.items.empty()) << "mode 0 places no flow item";
    EXPECT_EQ(none.nextItemCounter, 1);

    panel.DestroyWindow();
    EXPECT_TRUE(panel.ExportLayout().items.empty());
}

TEST_F(ControlGridPanelTest, AFailedBatchStillPutsEveryControlInPlace)
{
    std::vector<ControlItem> items(6, Item(kToggle));
    panel.RebuildControls(items);
    std::vector<CRect> batched;
    for (const ControlGridEntry& entry : panel.entries)
    {
        batched.push_back(RectInPanel(*entry.control));
    }
    panel.scrollY = 0;
    Resize(200, 300); // fewer columns: every control moves
    std::vector<CRect> narrow;
    for (const ControlGridEntry& entry : panel.entries)
    {
        narrow.push_back(RectInPanel(*entry.control));
    }
    ASSERT_NE(narrow, batched);

    FailNextDeferWindowPos();
    Resize(500, 300);
    for (size_t i = 0; i < panel.entries.size(); ++i)
    {
        EXPECT_EQ(RectInPanel(*panel.entries[i].control), batched[i]) << "control " << i;
    }
}

TEST_F(ControlGridPanelTest, ARightClickNeverReachesTheParent)
{
    panel.RebuildControls({Item(kToggle, "t")});
    log.Clear();
    const CWnd& control = *panel.entries[0].control;
    for (const POINT at : {ScreenPoint(panel, 400, 250), ScreenPoint(control, 10, 10)})
    {
        session->PressButton(at, brvl::win32::MouseButton::Right);
        session->ReleaseButton(at, brvl::win32::MouseButton::Right);
    }
    PumpPendingMessages();
    EXPECT_EQ(log.Count("parent", WM_CONTEXTMENU), 0);
}

TEST_F(ControlGridPanelTest, HugeSpansAndCellsStayInTheWindowRange)
{
    panel.packParams.mode = GridPackMode::ExplicitOnly;
    panel.cellSize = INT_MAX;
    panel.gap = INT_MAX;
    panel.marginX = INT_MAX;
    panel.marginY = INT_MIN;
    panel.centreH = panel.centreV = 1;
    panel.scrollX = INT_MAX;
    panel.scrollY = INT_MIN;
    panel.RebuildControls({Explicit(kPanelLight, -3, -7, INT_MAX, INT_MAX),
                           Explicit(kPanelLight, INT_MAX, INT_MIN, 1, 1), Item(kToggle)});
    ASSERT_EQ(panel.entries.size(), 3u);
    for (const ControlGridEntry& entry : panel.entries)
    {
        const CRect r = RectInPanel(*entry.control);
        EXPECT_LE(r.Width(), 65535);
        EXPECT_GE(r.Width(), 0);
    }
    EXPECT_GE(panel.scrollX, 0);
    EXPECT_GE(panel.scrollY, 0);
    panel.cellSize = -40;
    panel.gap = -2;
    panel.marginX = panel.marginY = -10;
    panel.RebuildControls({Explicit(kPanelLight, -3, 2, 2, 2), Item(kToggle)});
    EXPECT_EQ(panel.entries.size(), 2u);
}

TEST_F(ControlGridPanelTest, PicturesOfADozenControls)
{
    std::vector<ControlItem> items;
    for (const int kind : {1, 2, 6, 14, 15, 17, 18, 19, 23, 24, 25, 26})
    {
        ControlItem item = Item(kind, "k" + std::to_string(kind));
        item.label = "Kind " + std::to_string(kind);
        item.value = 0.6;
        items.push_back(item);
    }
    const auto save = [&](const std::string& name)
    {
        const std::filesystem::path path =
            std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / (name + ".png");
        std::cout << "picture: " << path.string() << '\n';
        EXPECT_TRUE(RenderWindowToPng(panel.GetSafeHwnd(), path));
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(panel.GetSafeHwnd(), picture));
        return picture;
    };

    Resize(1100, 700);
    panel.RebuildControls(items);
    const WindowPicture wide = save("control_grid_panel_fit_wide");
    EXPECT_EQ(wide.ColorAt(1095, 695), panel.background) << "the panel's fill";
    Resize(520, 880);
    const WindowPicture narrow = save("control_grid_panel_fit_narrow");
    EXPECT_NE(wide.pixels, narrow.pixels);

    // Mode 0, every item at its own cells, the first three on the same ones.
    for (size_t i = 0; i < items.size(); ++i)
    {
        items[i].explicitPlacement = true;
        items[i].gridX = i < 3 ? 1 : static_cast<int>(i % 4) * 5;
        items[i].gridY = i < 3 ? 1 : static_cast<int>(i / 4) * 6;
    }
    panel.packParams.mode = GridPackMode::ExplicitOnly;
    Resize(1100, 700);
    panel.RebuildControls(items);
    save("control_grid_panel_explicit_overlapping");
    EXPECT_EQ(RectInPanel(*panel.entries[0].control).TopLeft(),
              RectInPanel(*panel.entries[1].control).TopLeft());
}
