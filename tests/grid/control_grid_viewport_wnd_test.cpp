// The control grid viewport under a recording parent: where it puts its panel
// and bars, how the bars scroll the panel, loading a layout file, posted
// updates, and the feeds of the graph controls.
#include "grid/control_grid_viewport_wnd.h"

#include "controls/graphs/correlation_meter_control_wnd.h"
#include "controls/graphs/goniometer_control_wnd.h"
#include "controls/graphs/peak_symmetry_graph_control_wnd.h"
#include "controls/graphs/stereo_field_graph_control_wnd.h"
#include "controls/meters/compressor_meter_control_wnd.h"
#include "grid/parameter_page.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr int kPanelLight = 26;

CRect RectIn(const CWnd& child, const CWnd& parent)
{
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

ControlItem Item(ControlKind kind, std::string id = {})
{
    ControlItem item;
    item.kind = kind;
    item.parameterId = std::move(id);
    return item;
}

std::filesystem::path TempFolder(const std::string& name)
{
    const std::filesystem::path folder =
        std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / "viewport_files" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class ControlGridViewportTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 1200, 900)));
        ASSERT_TRUE(viewport.Create(CRect(0, 0, 400, 300), &parent, 8725));
        viewport.LayoutChildren();
        Settle();
    }

    void Resize(int width, int height)
    {
        viewport.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
        PumpPendingMessages();
    }

    RecordingWnd parent{"parent", log};
    CControlGridViewportWnd viewport;
};

} // namespace

TEST_F(ControlGridViewportTest, PanelAndBarsShareTheClientArea)
{
    struct Case
    {
        int width, height;
        CRect panel, horizontal, vertical;
    };
    const std::vector<Case> cases = {
        {400, 300, {0, 0, 388, 288}, {0, 288, 388, 300}, {388, 0, 400, 288}},
        {10, 300, {0, 0, 0, 288}, {0, 288, 0, 300}, {0, 0, 12, 288}},
        {500, 8, {0, 0, 488, 0}, {0, 0, 488, 12}, {488, 0, 500, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Resize(c.width, c.height);
        EXPECT_EQ(RectIn(viewport.panel, viewport), c.panel);
        EXPECT_EQ(RectIn(viewport.horizontalBar, viewport), c.horizontal);
        EXPECT_EQ(RectIn(viewport.verticalBar, viewport), c.vertical);
    }
    EXPECT_EQ(viewport.panel.GetDlgCtrlID(), 8736);
    EXPECT_EQ(viewport.horizontalBar.GetDlgCtrlID(), 8737);
    EXPECT_EQ(viewport.verticalBar.GetDlgCtrlID(), 8738);
    for (const CGridOffsetBarWnd* bar : {&viewport.horizontalBar, &viewport.verticalBar})
    {
        EXPECT_TRUE(bar->IsWindowVisible());
        EXPECT_EQ(bar->accent, 0xD8D8D8u);
    }
    EXPECT_EQ(viewport.horizontalBar.vertical, 0);
    EXPECT_EQ(viewport.verticalBar.vertical, 1);

    viewport.panel.marginX = viewport.panel.marginY = 10;
    viewport.LayoutChildren();
    EXPECT_EQ(viewport.panel.marginX, 0);
    EXPECT_EQ(viewport.panel.marginY, 0);
}

TEST_F(ControlGridViewportTest, BackgroundReachesPanelControlsAndBars)
{
    EXPECT_EQ(viewport.panel.packParams.mode, GridPackMode::FitColumns);
    EXPECT_EQ(viewport.panel.packParams.maxColumns, 16);
    viewport.panel.RebuildControls({Item(ControlKind::SmallKnob, "a")});
    viewport.SetBackgroundColor(0x303030);
    EXPECT_EQ(viewport.background, 0x303030u);
    EXPECT_EQ(viewport.panel.background, 0x303030u);
    EXPECT_EQ(viewport.panel.entries[0].control->GetBackgroundColor(), 0x303030u);
    EXPECT_EQ(viewport.horizontalBar.background, 0x303030u);
    EXPECT_EQ(viewport.verticalBar.background, 0x303030u);
    PumpPendingMessages();
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(viewport.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(395, 295), 0x303030u) << "the corner between the bars";
}

TEST_F(ControlGridViewportTest, BarOffsetsScrollThePanelWithinItsContent)
{
    viewport.panel.packParams.mode = GridPackMode::ExplicitOnly;
    viewport.panel.gap = 0;
    ControlItem tall = Item(static_cast<ControlKind>(kPanelLight), "tall");
    tall.explicitPlacement = true;
    tall.spanX = 1;
    tall.spanY = 10; // 400 px at 40 px a cell
    viewport.panel.RebuildControls({tall});
    viewport.LayoutChildren();
    ASSERT_EQ(viewport.panel.content.bottom - viewport.panel.content.top, 400);
    EXPECT_EQ(viewport.verticalBar.contentExtent, 400);
    EXPECT_EQ(viewport.verticalBar.viewExtent, 288);

    viewport.PostMessage(WMU_CONTROL_COMMIT, 1, 250);
    PumpPendingMessages();
    EXPECT_EQ(viewport.panel.scrollY, 112);
    EXPECT_EQ(viewport.verticalBar.offset, 112);
    EXPECT_EQ(RectIn(*viewport.panel.entries[0].control, viewport.panel).top, -112);

    // The offset the panel has already: no layout at all (the margins would go).
    viewport.panel.marginX = 5;
    viewport.PostMessage(WMU_CONTROL_COMMIT, 1, 112);
    PumpPendingMessages();
    EXPECT_EQ(viewport.panel.marginX, 5);

    // A negative offset from the horizontal bar is taken as 0 and nothing moves.
    viewport.PostMessage(WMU_CONTROL_COMMIT, 0, -40);
    PumpPendingMessages();
    EXPECT_EQ(viewport.panel.scrollX, 0);
    EXPECT_EQ(viewport.panel.marginX, 0) << "the offset differed, so the children were laid out";
}

TEST_F(ControlGridViewportTest, PassesPanelEventsToItsParentAndSwallowsContextMenus)
{
    std::vector<std::string> ids;
    for (const UINT message : {WMU_PANEL_CONTROL_CHANGED, WMU_PANEL_CONTROL_COMMIT})
    {
        parent.On(message,
                  [&ids](WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      ids.push_back(reinterpret_cast<const ControlEvent*>(lParam)->parameterId);
                      return 0;
                  });
    }
    viewport.panel.RebuildControls({Item(ControlKind::SmallKnob, "stage2.strength")});
    Settle();
    ids.clear();
    // As the knob reports a drag and its end.
    const LPARAM knob = reinterpret_cast<LPARAM>(viewport.panel.entries[0].control.get());
    viewport.panel.SendMessage(WMU_CONTROL_CHANGED, 0, knob);
    viewport.panel.SendMessage(WMU_CONTROL_COMMIT, 0, knob);
    EXPECT_EQ(ids, (std::vector<std::string>{"stage2.strength", "stage2.strength"}));
    EXPECT_EQ(log.Count("parent", WMU_PANEL_CONTROL_CHANGED), 1);
    EXPECT_EQ(log.Count("parent", WMU_PANEL_CONTROL_COMMIT), 1);

    viewport.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(viewport.GetSafeHwnd()), 0);
    EXPECT_EQ(log.Count("parent", WM_CONTEXTMENU), 0);
}

TEST_F(ControlGridViewportTest, LoadLayoutMapsEveryItemAndKeepsThePackingMode)
{
    const std::filesystem::path folder = TempFolder("load");
    DesignerLayout layout;
    layout.pluginId = "stage4";
    layout.cellSize = 30;
    layout.padding = 4;
    DesignerItem named;
    named.kind = ControlKind::SmallKnob;
    named.internalName = "small knob";
    named.label = "Drive";
    named.parameterId = "stage4.drive";
    named.gridX = 3;
    named.gridY = 2;
    named.spanX = 2;
    named.spanY = 3;
    named.value = 0.25;
    named.accentColor = 0x123456;
    named.valueMode = 2;
    named.stepLabels = {"a", "b"};
    named.stepCount = 2;
    named.displaySuffix = " dB";
    DesignerItem byId = named;
    byId.label.clear();
    byId.parameterId = "stage4.ceiling";
    DesignerItem byName = named;
    byName.label.clear();
    byName.parameterId.clear();
    layout.items = {named, byId, byName};
    ASSERT_TRUE(layout.Save((folder / "stage4.json").wstring()));

    viewport.panel.packParams.mode = GridPackMode::ExplicitOnly;
    ASSERT_TRUE(viewport.LoadLayout((folder / "stage4.json").wstring()));
    EXPECT_EQ(viewport.panel.name, "stage4");
    EXPECT_EQ(viewport.panel.cellSize, 30);
    EXPECT_EQ(viewport.panel.gap, 4);
    ASSERT_EQ(viewport.panel.entries.size(), 3u);
    const ControlItem& first = viewport.panel.entries[0].item;
    EXPECT_EQ(first.label, "Drive");
    EXPECT_TRUE(first.explicitPlacement);
    EXPECT_EQ(first.gridX, 3);
    EXPECT_EQ(first.spanY, 3);
    EXPECT_EQ(first.valueMode, 2);
    EXPECT_EQ(first.accentColor, 0x123456u);
    EXPECT_EQ(first.stepLabels, named.stepLabels);
    EXPECT_EQ(first.displaySuffix, " dB");
    EXPECT_DOUBLE_EQ(first.value, 0.25);
    EXPECT_EQ(viewport.panel.entries[1].item.label, "stage4.ceiling");
    EXPECT_EQ(viewport.panel.entries[2].item.label, "small knob");
    EXPECT_EQ(RectIn(*viewport.panel.entries[0].control, viewport.panel),
              CRect(3 * 34, 2 * 34, 3 * 34 + 64, 2 * 34 + 98));

    // Out-of-range cells and padding are held; a failed load changes nothing.
    struct Bad
    {
        const char* what;
        std::string json;
    };
    const std::vector<Bad> bad = {
        {"missing", ""},
        {"not JSON", "{ this is not"},
        {"empty pluginId", R"({"pluginId": "", "items": []})"},
    };
    for (const Bad& b : bad)
    {
        SCOPED_TRACE(b.what);
        const std::filesystem::path path = folder / "bad.json";
        std::filesystem::remove(path);
        if (!b.json.empty())
        {
            WriteText(path, b.json);
        }
        EXPECT_FALSE(viewport.LoadLayout(path.wstring()));
        EXPECT_EQ(viewport.panel.entries.size(), 3u);
        EXPECT_EQ(viewport.panel.name, "stage4");
        EXPECT_EQ(viewport.panel.cellSize, 30);
    }
    struct Cells
    {
        int cellSize, padding, wantCell, wantGap;
    };
    for (const Cells& c :
         std::vector<Cells>{{0, -3, 1, 0}, {-5, 2, 1, 2}, {1000000000, 0, 1000000000, 0}})
    {
        layout.cellSize = c.cellSize;
        layout.padding = c.padding;
        ASSERT_TRUE(layout.Save((folder / "cells.json").wstring()));
        ASSERT_TRUE(viewport.LoadLayout((folder / "cells.json").wstring()));
        EXPECT_EQ(viewport.panel.cellSize, c.wantCell);
        EXPECT_EQ(viewport.panel.gap, c.wantGap);
    }

    // In the default mode the file's cells are not honoured: nothing is placed.
    CControlGridViewportWnd flowing;
    ASSERT_TRUE(flowing.Create(CRect(0, 0, 400, 300), &parent, 8726));
    flowing.LayoutChildren();
    ASSERT_TRUE(flowing.LoadLayout((folder / "stage4.json").wstring()));
    EXPECT_EQ(flowing.panel.content.right - flowing.panel.content.left, 0);
}

TEST_F(ControlGridViewportTest, PostedUpdatesReachTheControlAfterThePump)
{
    viewport.panel.RebuildControls({Item(ControlKind::SmallKnob, "mix")});
    CBaseControlWnd& knob = *viewport.panel.entries[0].control;
    ASSERT_TRUE(viewport.PostControlValue("mix", 0.7));
    ASSERT_TRUE(viewport.PostControlText("mix", "Seventy"));
    ASSERT_TRUE(viewport.PostControlAccent("mix", 0x00FF00));
    EXPECT_DOUBLE_EQ(knob.GetValue(), 0.0) << "nothing before the queue runs";
    PumpPendingMessages();
    EXPECT_DOUBLE_EQ(knob.GetValue(), 0.7);
    EXPECT_EQ(knob.GetTextValue(), CString(L"Seventy"));
    EXPECT_EQ(knob.GetAccentColor(), 0x00FF00u);
    EXPECT_TRUE(viewport.PostControlValue("nobody", 0.1)) << "the poster is not told of misses";
    PumpPendingMessages();

    viewport.DestroyWindow();
    EXPECT_FALSE(viewport.panel.alive);
    EXPECT_FALSE(viewport.PostControlValue("mix", 0.2));
    EXPECT_FALSE(viewport.PostControlText("mix", "x"));
    EXPECT_FALSE(viewport.PostControlAccent("mix", 0));
    EXPECT_FALSE(::IsWindow(viewport.horizontalBar.GetSafeHwnd()));
    EXPECT_FALSE(::IsWindow(viewport.verticalBar.GetSafeHwnd()));
}

namespace
{

AudioBuffer Tone(int frames, double amplitude)
{
    AudioBuffer buffer;
    buffer.sampleRate = 1000;
    for (int i = 0; i < frames; ++i)
    {
        const double s = amplitude * std::sin(i * 0.1);
        buffer.samples.push_back(s);
        buffer.samples.push_back(0.5 * s);
    }
    return buffer;
}

class GraphFeedTest : public ControlGridViewportTest
{
protected:
    void SetUp() override
    {
        ControlGridViewportTest::SetUp();
        Resize(1200, 900);
        ControlItem hidden = Item(ControlKind::Goniometer, "hidden");
        hidden.visible = false;
        viewport.panel.RebuildControls({Item(ControlKind::Goniometer, "gonio"),
                                        Item(ControlKind::CorrelationMeter, "corr"),
                                        Item(ControlKind::PeakSymmetryGraph, "peak"),
                                        Item(ControlKind::StereoFieldGraph, "field"),
                                        Item(ControlKind::CompressorMeter, "comp"), hidden});
        ASSERT_EQ(viewport.panel.entries.size(), 6u);
    }

    template <typename T> T& Control(size_t index)
    {
        return static_cast<T&>(*viewport.panel.entries[index].control);
    }
    CGoniometerWnd& Gonio() { return Control<CGoniometerControlWnd>(0).GetGraph(); }
    CCorrelationMeterWnd& Corr() { return Control<CCorrelationMeterControlWnd>(1).GetGraph(); }
    CPeakSymmetryGraphWnd& Peak() { return Control<CPeakSymmetryGraphControlWnd>(2).GetGraph(); }
    CStereoFieldGraphWnd& Field() { return Control<CStereoFieldGraphControlWnd>(3).GetGraph(); }
    CCompressorMeterControlWnd& Comp() { return Control<CCompressorMeterControlWnd>(4); }
    CGoniometerWnd& Hidden() { return Control<CGoniometerControlWnd>(5).GetGraph(); }

    void FeedCursors(double cursor, double window, bool playing)
    {
        viewport.SetGoniometerCursor(cursor, window, playing);
        viewport.SetCorrelationMeterCursor(cursor, window, playing);
        viewport.SetPeakSymmetryCursor(cursor, window, playing);
        viewport.SetStereoFieldCursor(cursor, window, playing);
        viewport.SetCompressorMeterCursor(cursor, playing);
    }
};

} // namespace

TEST_F(GraphFeedTest, DataFeedsCopyOnlyABufferThatDiffers)
{
    AudioBuffer first = Tone(2000, 0.8);
    first.meterSeries.push_back({"first", 10.0, {1.0f}});
    AudioBuffer sameSamples = first;
    sameSamples.meterSeries[0].key = "second";
    for (const auto& feed : {&CControlGridViewportWnd::SetGoniometerData,
                             &CControlGridViewportWnd::SetCorrelationMeterData,
                             &CControlGridViewportWnd::SetPeakSymmetryData})
    {
        (viewport.*feed)(first);
        (viewport.*feed)(sameSamples);
    }
    for (const CAnalysisGraphBase* graph :
         std::vector<const CAnalysisGraphBase*>{&Gonio(), &Corr(), &Peak()})
    {
        ASSERT_EQ(graph->Audio().meterSeries.size(), 1u);
        EXPECT_EQ(graph->Audio().meterSeries[0].key, "first") << "same samples: not copied";
    }
    EXPECT_TRUE(Hidden().Audio().samples.empty()) << "a hidden graph gets nothing";

    sameSamples.samples[1234] += 1e-9;
    viewport.SetGoniometerData(sameSamples);
    EXPECT_EQ(Gonio().Audio().meterSeries[0].key, "second") << "one sample changed";

    AudioBuffer nan = first;
    nan.samples[0] = std::numeric_limits<double>::quiet_NaN();
    viewport.SetGoniometerData(nan);
    viewport.SetGoniometerData(nan);
    EXPECT_TRUE(std::isnan(Gonio().Audio().samples[0]));

    // The correlation meter reads its new copy: in phase, then one channel inverted.
    EXPECT_NEAR(Corr().GetCorrelation(), 1.0, 1e-9);
    AudioBuffer inverted = first;
    for (size_t i = 1; i < inverted.samples.size(); i += 2)
    {
        inverted.samples[i] = -inverted.samples[i];
    }
    viewport.SetCorrelationMeterData(inverted);
    EXPECT_NEAR(Corr().GetCorrelation(), -1.0, 1e-9);

    // Degenerate buffers go through without harm.
    for (AudioBuffer odd : {AudioBuffer{}, Tone(1, 0.5)})
    {
        odd.sampleRate = 0;
        viewport.SetGoniometerData(odd);
        viewport.SetCorrelationMeterData(odd);
        viewport.SetPeakSymmetryData(odd);
        viewport.SetCompressorMeterData(odd);
        FeedCursors(1.0, 0.05, true);
        PumpPendingMessages();
    }
}

TEST_F(GraphFeedTest, CompressorMeterCopiesEveryTimeAndReadsItsSeries)
{
    AudioBuffer buffer = Tone(1000, 0.5);
    viewport.SetCompressorMeterData(buffer);
    EXPECT_EQ(Comp().peakGainReductionDb, 0.0f) << "no gain-reduction series";
    EXPECT_EQ(Comp().gainReductionDb, 0.0f);

    buffer.meterSeries.push_back({"dynamics.gain_reduction_db", 10.0, {1.0f, 6.0f, 3.0f, -2.0f}});
    viewport.SetCompressorMeterData(buffer);
    EXPECT_EQ(Comp().buffer.meterSeries.size(), 1u) << "the same samples, copied again";
    EXPECT_EQ(Comp().peakGainReductionDb, 6.0f);
    viewport.SetCompressorMeterCursor(0.25, true);
    EXPECT_EQ(Comp().gainReductionDb, 3.0f);
    EXPECT_TRUE(Comp().playing);

    buffer.meterSeries[0].values = {-4.0f, -1.0f};
    viewport.SetCompressorMeterData(buffer);
    EXPECT_EQ(Comp().peakGainReductionDb, 0.0f) << "never below 0";
}

TEST_F(GraphFeedTest, CursorFeedsHoldCursorAndWindowAndIgnoreTinyMoves)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Step
    {
        const char* what;
        double cursor, window;
        double wantCursor, wantWindow, wantFieldCursor;
    };
    const std::vector<Step> steps = {
        {"a negative cursor is 0, a long window 0.25", -1.0, 0.5, 0.0, 0.25, 0.0},
        {"a short window is 0.02", 2.0, 0.001, 2.0, 0.02, 2.0},
        {"a move under 1e-4 is ignored but by the stereo field", 2.00005, 0.02004, 2.0, 0.02,
         2.00005},
        {"a NaN cursor and window are ignored", nan, nan, 2.0, 0.02, 2.00005},
        {"a real move", 3.5, 0.1, 3.5, 0.1, 3.5},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.what);
        FeedCursors(s.cursor, s.window, true);
        for (const CAnalysisGraphBase* graph :
             std::vector<const CAnalysisGraphBase*>{&Gonio(), &Corr(), &Peak()})
        {
            EXPECT_DOUBLE_EQ(graph->CursorSeconds(), s.wantCursor);
            EXPECT_DOUBLE_EQ(graph->WindowSeconds(), s.wantWindow);
            EXPECT_TRUE(graph->IsPlaying());
        }
        EXPECT_DOUBLE_EQ(Comp().cursorSec, s.wantCursor);
        EXPECT_DOUBLE_EQ(Field().cursorSec, s.wantFieldCursor);
        EXPECT_DOUBLE_EQ(Field().windowSec, s.wantWindow);
        EXPECT_TRUE(Field().playing);
        EXPECT_DOUBLE_EQ(Hidden().CursorSeconds(), 0.0);
        EXPECT_FALSE(Hidden().IsPlaying());
    }
    FeedCursors(3.5, 0.1, false);
    EXPECT_FALSE(Gonio().IsPlaying());
    EXPECT_FALSE(Field().playing);
    EXPECT_FALSE(Comp().playing);

    // Showing the hidden graph lets the next feed reach it.
    viewport.panel.entries[5].item.visible = true;
    viewport.SetGoniometerCursor(1.5, 0.1, true);
    EXPECT_DOUBLE_EQ(Hidden().CursorSeconds(), 1.5);
}

TEST_F(ControlGridViewportTest, PicturesOfAHandWrittenLayoutLargerAndSmallerThanItsView)
{
    const std::filesystem::path folder = TempFolder("picture");
    WriteText(folder / "demo.json", R"({
  "pluginId": "demo.layout", "cellSize": 36, "padding": 4,
  "items": [
    {"kind": "text_title", "gridX": 0, "gridY": 0, "spanX": 10, "spanY": 1, "label": "Demo layout",
     "drawBorder": false, "drawBackground": false},
    {"kind": "master_knob", "gridX": 0, "gridY": 1, "spanX": 4, "spanY": 4, "label": "Drive",
     "value": 0.6},
    {"kind": "small_knob", "gridX": 4, "gridY": 1, "spanX": 3, "spanY": 3, "label": "Mix",
     "value": 0.3, "accentColor": 10114742},
    {"kind": "toggle_switch", "gridX": 7, "gridY": 1, "spanX": 3, "spanY": 2, "label": "Auto",
     "toggleValue": true},
    {"kind": "horizontal_slider", "gridX": 4, "gridY": 5, "spanX": 6, "spanY": 2, "label": "Width",
     "value": 0.7},
    {"kind": "output_meter", "gridX": 10, "gridY": 0, "spanX": 2, "spanY": 8, "label": "Out",
     "value": 0.8},
    {"kind": "segment_switch", "gridX": 0, "gridY": 6, "spanX": 4, "spanY": 1, "label": "Mode",
     "stepLabels": ["A", "B", "C"], "stepCount": 3, "selectedIndex": 1}
  ]})");
    viewport.panel.packParams.mode = GridPackMode::ExplicitOnly;
    ASSERT_TRUE(viewport.LoadLayout((folder / "demo.json").wstring()));
    ASSERT_EQ(viewport.panel.entries.size(), 7u);
    const auto save = [&](const std::string& name)
    {
        const std::filesystem::path path =
            std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / (name + ".png");
        std::cout << "picture: " << path.string() << '\n';
        EXPECT_TRUE(RenderWindowToPng(viewport.GetSafeHwnd(), path));
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(viewport.GetSafeHwnd(), picture));
        return picture;
    };
    Resize(600, 400);
    const WindowPicture large = save("control_grid_viewport_larger");
    EXPECT_EQ(viewport.verticalBar.contentExtent, 8 * 40 - 4);
    EXPECT_LE(viewport.verticalBar.contentExtent, viewport.verticalBar.viewExtent);
    EXPECT_EQ(large.ColorAt(595, 395), viewport.background) << "the corner";

    Resize(300, 200);
    viewport.PostMessage(WMU_CONTROL_COMMIT, 1, 60);
    PumpPendingMessages();
    save("control_grid_viewport_smaller");
    EXPECT_GT(viewport.verticalBar.contentExtent, viewport.verticalBar.viewExtent);
    EXPECT_GT(viewport.horizontalBar.contentExtent, viewport.horizontalBar.viewExtent);
    EXPECT_EQ(viewport.panel.scrollY, 60);
    EXPECT_EQ(viewport.verticalBar.offset, 60);
}
