// The factory and the catalogue over the table of kinds, and a contact sheet
// of every kind living side by side.

#include "grid/control_catalog.h"
#include "grid/control_factory.h"

#include "base/unicode_text.h"
#include "controls/buttons/action_button_wnd.h"
#include "controls/buttons/round_transport_button_wnd.h"
#include "controls/displays/nixie_display_wnd.h"
#include "controls/displays/panel_light_wnd.h"
#include "controls/displays/seven_segment_display_wnd.h"
#include "controls/graphs/correlation_meter_control_wnd.h"
#include "controls/graphs/goniometer_control_wnd.h"
#include "controls/graphs/peak_symmetry_graph_control_wnd.h"
#include "controls/graphs/stereo_field_graph_control_wnd.h"
#include "controls/knobs/master_knob_lmt_wnd.h"
#include "controls/knobs/master_knob_wnd.h"
#include "controls/knobs/small_knob_wnd.h"
#include "controls/knobs/small_stepped_knob_wnd.h"
#include "controls/knobs/stepped_knob_wnd.h"
#include "controls/meters/compressor_meter_control_wnd.h"
#include "controls/meters/needle_meter_wnd.h"
#include "controls/meters/output_meter_wnd.h"
#include "controls/sliders/horizontal_slider_wnd.h"
#include "controls/sliders/vertical_slider_wnd.h"
#include "controls/switches/ab_monitor_switch_wnd.h"
#include "controls/switches/menu_bar_wnd.h"
#include "controls/switches/segment_switch_wnd.h"
#include "controls/switches/toggle_switch_wnd.h"
#include "controls/text/horizontal_divider_wnd.h"
#include "controls/text/text_block_wnd.h"
#include "controls/text/text_caption_block_wnd.h"
#include "controls/text/text_caption_wnd.h"
#include "controls/text/text_label_strip_wnd.h"
#include "controls/text/text_title_wnd.h"
#include "controls/text/value_readout_wnd.h"
#include "controls/text/vertical_divider_wnd.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

struct KindRow
{
    int kind;
    CRuntimeClass* runtimeClass;
    const char* kindName;
    CSize span;
    CSize size;
    const wchar_t* label;
    const wchar_t* textValue;
    const wchar_t* toolTip;
    bool framed; // border and background drawn
};

// clang-format off
const KindRow kKinds[] = {
    {0,  RUNTIME_CLASS(CMasterKnobWnd),               "master knob",           CSize(6, 8),  CSize(240, 320), L"Intensity",  L"",        L"", true},
    {1,  RUNTIME_CLASS(CSmallKnobWnd),                "small knob",            CSize(4, 4),  CSize(160, 160), L"Tone",       L"",        L"", true},
    {2,  RUNTIME_CLASS(CTextTitleWnd),                "text title",            CSize(6, 1),  CSize(240, 52),  L"Title",      L"",        L"", false},
    {3,  RUNTIME_CLASS(CTextCaptionWnd),              "text caption",          CSize(4, 1),  CSize(200, 32),  L"Caption",    L"",        L"", false},
    {4,  RUNTIME_CLASS(CTextCaptionBlockWnd),         "text caption block",    CSize(6, 1),  CSize(280, 40),  L"Caption",    L"Body",    L"", false},
    {5,  RUNTIME_CLASS(CTextLabelStripWnd),           "text label",            CSize(4, 1),  CSize(160, 80),  L"Text Label", L"",        L"", false},
    {6,  RUNTIME_CLASS(CValueReadoutWnd),             "value readout",         CSize(4, 1),  CSize(160, 40),  L"Readout",    L"12.3 dB", L"", true},
    {7,  RUNTIME_CLASS(CTextBlockWnd),                "text block",            CSize(4, 2),  CSize(160, 80),  L"Title",      L"",        L"Wrapped text block.\r\nSecond line.", false},
    {8,  RUNTIME_CLASS(CStereoFieldGraphControlWnd),  "stereo field graph",    CSize(9, 5),  CSize(360, 220), L"",           L"",        L"", false},
    {9,  RUNTIME_CLASS(CCorrelationMeterControlWnd),  "correlation meter",     CSize(8, 3),  CSize(320, 128), L"",           L"",        L"", false},
    {10, RUNTIME_CLASS(CGoniometerControlWnd),        "goniometer",            CSize(8, 5),  CSize(320, 220), L"",           L"",        L"", false},
    {11, RUNTIME_CLASS(CPeakSymmetryGraphControlWnd), "peak_symmetry_graph",   CSize(8, 5),  CSize(320, 220), L"",           L"",        L"", false},
    {12, RUNTIME_CLASS(CHorizontalDividerWnd),        "horizontal divider",    CSize(4, 1),  CSize(160, 40),  L"",           L"",        L"", false},
    {13, RUNTIME_CLASS(CVerticalDividerWnd),          "vertical divider",      CSize(1, 4),  CSize(40, 160),  L"",           L"",        L"", false},
    {14, RUNTIME_CLASS(CNeedleMeterWnd),              "needle meter",          CSize(4, 4),  CSize(160, 160), L"Meter",      L"",        L"", true},
    {15, RUNTIME_CLASS(CSevenSegmentDisplayWnd),      "seven segment display", CSize(4, 2),  CSize(160, 80),  L"Readout",    L"12.3",    L"", true},
    {16, RUNTIME_CLASS(CNixieDisplayWnd),             "nixie display",         CSize(4, 2),  CSize(160, 80),  L"Counter",    L"1234",    L"", true},
    {17, RUNTIME_CLASS(CVerticalSliderWnd),           "vertical slider",       CSize(2, 8),  CSize(80, 320),  L"Amount",     L"",        L"", true},
    {18, RUNTIME_CLASS(CHorizontalSliderWnd),         "horizontal slider",     CSize(4, 2),  CSize(160, 80),  L"Amount",     L"",        L"", true},
    {19, RUNTIME_CLASS(COutputMeterWnd),              "output meter",          CSize(2, 8),  CSize(80, 320),  L"Output",     L"",        L"", true},
    {20, RUNTIME_CLASS(CSteppedKnobWnd),              "stepped knob",          CSize(8, 8),  CSize(320, 320), L"Style",      L"",        L"", true},
    {21, RUNTIME_CLASS(CSmallSteppedKnobWnd),         "small stepped knob",    CSize(4, 4),  CSize(160, 160), L"Mode",       L"",        L"", true},
    {22, RUNTIME_CLASS(CMenuBarWnd),                  "menu bar",              CSize(12, 1), CSize(160, 40),  L"",           L"",        L"", true},
    {23, RUNTIME_CLASS(CSegmentSwitchWnd),            "segment switch",        CSize(4, 2),  CSize(160, 80),  L"Mode",       L"",        L"", true},
    {24, RUNTIME_CLASS(CToggleSwitchWnd),             "toggle switch",         CSize(2, 2),  CSize(80, 80),   L"Bypass",     L"",        L"", true},
    {25, RUNTIME_CLASS(CActionButtonWnd),             "action button",         CSize(4, 2),  CSize(160, 80),  L"Action",     L"",        L"", true},
    {26, RUNTIME_CLASS(CPanelLightWnd),               "panel light",           CSize(1, 1),  CSize(40, 40),   L"",           L"",        L"", true},
    {27, RUNTIME_CLASS(CRoundTransportButtonWnd),     "round transport",       CSize(2, 2),  CSize(80, 80),   L"",           L"play",    L"", true},
    {28, RUNTIME_CLASS(CABMonitorSwitchWnd),          "ab monitor",            CSize(4, 2),  CSize(176, 80),  L"",           L"",        L"", true},
    {29, RUNTIME_CLASS(CMasterKnobLMTWnd),            "master knob lmt",       CSize(6, 8),  CSize(240, 320), L"Intensity",  L"",        L"", true},
    {30, RUNTIME_CLASS(CCompressorMeterControlWnd),   "compressor meter",      CSize(1, 6),  CSize(40, 240),  L"",           L"",        L"", false},
};
// clang-format on

std::unique_ptr<CBaseControlWnd> Create(int kind)
{
    ControlItem item;
    item.kind = static_cast<ControlKind>(kind);
    return CreateControlForKind(item);
}

std::string DisplayRange(const CBaseControlWnd& control)
{
    double lo = 0.0;
    double hi = 0.0;
    int decimals = 0;
    CString suffix;
    control.GetDisplayRange(lo, hi, decimals, suffix);
    return std::to_string(lo) + ".." + std::to_string(hi) + "/" + std::to_string(decimals) + "'" +
           WideToUtf8(suffix.GetString()) + "'";
}

std::vector<std::wstring> Labels(const CSelectionControl& control)
{
    std::vector<std::wstring> labels;
    for (const CString& label : control.GetLabels())
    {
        labels.emplace_back(label.GetString());
    }
    return labels;
}

} // namespace

TEST(ControlFactory, MakesEachKindsClassWithItsDefaults)
{
    ASSERT_EQ(std::size(kKinds), static_cast<size_t>(kControlKindCount));
    for (const KindRow& row : kKinds)
    {
        SCOPED_TRACE(row.kindName);
        const std::unique_ptr<CBaseControlWnd> control = Create(row.kind);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->IsKindOf(row.runtimeClass));
        EXPECT_EQ(control->GetKindName(), row.kindName);
        EXPECT_EQ(control->GetKindName(),
                  FindControlKindInfo(static_cast<ControlKind>(row.kind))->kindName);
        EXPECT_EQ(control->GetGridSpan(), row.span);
        EXPECT_EQ(control->GetPreferredSize(), row.size);
        EXPECT_EQ(std::wstring(control->GetLabel().GetString()), row.label);
        EXPECT_EQ(std::wstring(control->GetTextValue().GetString()), row.textValue);
        EXPECT_EQ(std::wstring(control->GetToolTip().GetString()), row.toolTip);
        EXPECT_EQ(control->GetDrawBorder(), row.framed);
        EXPECT_EQ(control->GetDrawBackground(), row.framed);
        EXPECT_EQ(control->GetSafeHwnd(), nullptr) << "the caller creates the window";
    }
}

TEST(ControlFactory, GivesTheOtherSampleDefaults)
{
    EXPECT_EQ(DisplayRange(*Create(0)), DisplayRange(*Create(1))) << "the base range";
    EXPECT_EQ(DisplayRange(*Create(1)), "0.000000..100.000000/0'%'");
    EXPECT_EQ(DisplayRange(*Create(14)), "-20.000000..3.000000/1' dB'");
    EXPECT_EQ(DisplayRange(*Create(26)), "0.000000..1.000000/0''");
    EXPECT_EQ(DisplayRange(*Create(27)), "0.000000..1.000000/0''");
    EXPECT_EQ(DisplayRange(*Create(28)), "0.000000..100.000000/0''");

    const auto output = Create(19);
    EXPECT_EQ(static_cast<COutputMeterWnd&>(*output).minDb, -60.0);

    // A new menu bar shows its first tab selected.
    const auto menu = Create(22);
    const auto& bar = static_cast<CMenuBarWnd&>(*menu);
    EXPECT_EQ(Labels(bar), (std::vector<std::wstring>{L"Apprentice", L"Maester"}));
    EXPECT_EQ(bar.GetSelectedIndex(), 0);
    const auto segments = Create(23);
    EXPECT_EQ(Labels(static_cast<CSegmentSwitchWnd&>(*segments)),
              (std::vector<std::wstring>{L"A", L"B", L"C"}));

    auto correlation = Create(9);
    auto& meter = static_cast<CCorrelationMeterControlWnd&>(*correlation).GetGraph();
    EXPECT_EQ(meter.WindowSeconds(), 0.055);
    EXPECT_EQ(meter.GetCorrelation(), 1.0);
    auto goniometer = Create(10);
    EXPECT_EQ(static_cast<CGoniometerControlWnd&>(*goniometer).GetGraph().WindowSeconds(), 0.055);
    auto symmetry = Create(11);
    EXPECT_EQ(static_cast<CPeakSymmetryGraphControlWnd&>(*symmetry).GetGraph().WindowSeconds(),
              0.055);
}

TEST(ControlFactory, MakesNothingForAnUnknownKind)
{
    for (const int kind : {-1, 31, 99, INT_MIN, INT_MAX})
    {
        EXPECT_EQ(Create(kind), nullptr) << kind;
    }
}

TEST(ControlCatalog, ListsEveryKindOnceInPaletteOrder)
{
    const std::vector<ControlCatalogEntry> catalog = BuildControlCatalog();
    std::vector<int> order;
    for (const ControlCatalogEntry& entry : catalog)
    {
        order.push_back(entry.kind);
        const KindRow& row = kKinds[entry.kind];
        EXPECT_EQ(entry.kindName, row.kindName);
        EXPECT_EQ(CSize(entry.spanX, entry.spanY), row.span) << row.kindName;
        EXPECT_EQ(CSize(entry.width, entry.height), row.size) << row.kindName;
    }
    EXPECT_EQ(order,
              (std::vector<int>{28, 0,  29, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 30, 11, 12,
                                13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}));

    const auto same =
        [](const ControlCatalogEntry& e, int kind, const char* name, int sx, int sy, int w, int h)
    {
        return e.kind == kind && e.kindName == name && e.spanX == sx && e.spanY == sy &&
               e.width == w && e.height == h;
    };
    ASSERT_EQ(catalog.size(), 31u);
    EXPECT_TRUE(same(catalog.front(), 28, "ab monitor", 4, 2, 176, 80));
    EXPECT_TRUE(same(catalog[1], 0, "master knob", 6, 8, 240, 320));
    EXPECT_TRUE(same(catalog.back(), 27, "round transport", 2, 2, 80, 80));
    EXPECT_TRUE(same(MakeControlCatalogEntry(31, nullptr), 31, "", 1, 1, 80, 80));
    EXPECT_TRUE(same(MakeControlCatalogEntry(-1, Create(-1)), -1, "", 1, 1, 80, 80));
}

class ControlContactSheet : public WindowTest
{
protected:
    RecordingWnd sheet{"sheet", log};
    std::vector<std::unique_ptr<CBaseControlWnd>> controls;
};

// Every kind the factory makes, created at its preferred size and given the
// item a layout would hold for its samples, on one top-level: a picture for
// people to look at.
TEST_F(ControlContactSheet, ShowsEveryKindAtItsPreferredSize)
{
    constexpr int kSheetWidth = 1500;
    constexpr int kMargin = 12;
    // Shelves left to right in palette order, a new shelf when one is full.
    std::vector<CRect> rects;
    int x = kMargin;
    int y = kMargin;
    int shelfHeight = 0;
    const std::vector<ControlCatalogEntry> catalog = BuildControlCatalog();
    for (const ControlCatalogEntry& entry : catalog)
    {
        if (x + entry.width + kMargin > kSheetWidth)
        {
            x = kMargin;
            y += shelfHeight + kMargin;
            shelfHeight = 0;
        }
        rects.emplace_back(CPoint(x, y), CSize(entry.width, entry.height));
        x += entry.width + kMargin;
        shelfHeight = std::max(shelfHeight, entry.height);
    }
    ASSERT_TRUE(sheet.CreateTopLevel(CRect(0, 0, kSheetWidth, y + shelfHeight + kMargin)));

    for (size_t i = 0; i < catalog.size(); ++i)
    {
        std::unique_ptr<CBaseControlWnd> control = Create(catalog[i].kind);
        ASSERT_NE(control, nullptr);
        // The item keeps the samples, as a layout written from them would.
        ControlItem item;
        item.kind = static_cast<ControlKind>(catalog[i].kind);
        item.label = WideToUtf8(control->GetLabel().GetString());
        item.secondaryText = WideToUtf8(control->GetSecondaryText().GetString());
        item.textValue = WideToUtf8(control->GetTextValue().GetString());
        item.toolTip = WideToUtf8(control->GetToolTip().GetString());
        item.drawBorder = control->GetDrawBorder();
        item.drawBackground = control->GetDrawBackground();
        CString suffix;
        control->GetDisplayRange(item.displayMin, item.displayMax, item.displayDecimals, suffix);
        item.displaySuffix = WideToUtf8(suffix.GetString());
        item.value = 0.5;

        ASSERT_TRUE(control->Create(rects[i], &sheet, static_cast<UINT>(100 + i)));
        control->ApplyItem(item);
        EXPECT_EQ(control->GetGridSpan(), CSize(catalog[i].spanX, catalog[i].spanY));
        controls.push_back(std::move(control));
    }
    PumpPendingMessages();

    const std::filesystem::path path =
        std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / "control_contact_sheet.png";
    std::cout << "picture: " << path.string() << '\n';
    ASSERT_TRUE(RenderWindowToPng(sheet.GetSafeHwnd(), path));

    // Each control painted its own place: not the sheet's empty colour all over.
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(sheet.GetSafeHwnd(), picture));
    for (size_t i = 0; i < rects.size(); ++i)
    {
        const CRect& r = rects[i];
        bool varied = false;
        const COLORREF first = picture.ColorAt(r.left + 1, r.top + 1);
        for (int py = r.top; py < r.bottom && !varied; py += 2)
        {
            for (int px = r.left; px < r.right && !varied; px += 2)
            {
                varied = picture.ColorAt(px, py) != first;
            }
        }
        EXPECT_TRUE(varied || catalog[i].kind == 12 || catalog[i].kind == 13)
            << catalog[i].kindName << " painted one colour";
    }
}
