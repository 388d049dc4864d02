// Parameter pages: controls made from the engine's catalogue and from add-on
// descriptors, and pages read from a "plugins" layout file beside the program.
#include "grid/parameter_page.h"

#include "controls/layout/designer_layout.h"
#include "grid/control_grid_viewport_wnd.h"
#include "platform/win32/shell_folders.h"
#include "platform/win32/window_picture.h"
#include "tests/grid/plugin_folder.h"
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

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

ParameterDescriptor Descriptor(int kind, double minValue, double maxValue,
                               std::vector<std::string> choices = {})
{
    ParameterDescriptor d;
    d.section = "test";
    d.key = "p";
    d.kind = kind;
    d.minValue = minValue;
    d.maxValue = maxValue;
    d.choices = std::move(choices);
    return d;
}

AddonParamSpec Spec(std::string id, int kind, double minValue, double maxValue, double defaultValue,
                    double step = 0.0)
{
    AddonParamSpec spec;
    spec.id = std::move(id);
    spec.label = "Label " + spec.id;
    spec.kind = kind;
    spec.minValue = minValue;
    spec.maxValue = maxValue;
    spec.defaultValue = defaultValue;
    spec.step = step;
    spec.unit = "dB";
    return spec;
}

ProcessorDescriptor Addon(std::vector<AddonParamSpec> parameters = {})
{
    ProcessorDescriptor d;
    d.id = "warmth";
    d.displayName = "Warmth";
    d.description = "Adds a gentle glow.";
    d.bestUse = "Thin mixes.";
    d.parameters = std::move(parameters);
    return d;
}

} // namespace

TEST(ParameterPage, NormalisesCatalogueValues)
{
    struct Case
    {
        const char* what;
        ParameterDescriptor descriptor;
        double value, want;
    };
    const std::vector<Case> cases = {
        {"toggle on from 0.5", Descriptor(ParameterToggle, 0, 1), 0.5, 1.0},
        {"toggle off below", Descriptor(ParameterToggle, 0, 1), 0.49, 0.0},
        {"three choices, the last", Descriptor(ParameterChoice, 0, 2, {"a", "b", "c"}), 2, 1.0},
        {"three choices, the middle", Descriptor(ParameterChoice, 0, 2, {"a", "b", "c"}), 1, 0.5},
        {"no choices, maximum 0", Descriptor(ParameterChoice, 0, 0), 3, 0.0},
        {"no choices counts by maximum", Descriptor(ParameterChoice, 0, 4), 1, 0.25},
        {"number across its range", Descriptor(ParameterNumber, -10, 10), 5, 0.75},
        {"number above its range", Descriptor(ParameterNumber, -10, 10), 50, 1.0},
        {"number below its range", Descriptor(ParameterNumber, -10, 10), -50, 0.0},
        {"minimum equals maximum", Descriptor(ParameterNumber, 3, 3), 3, 0.0},
        {"NaN", Descriptor(ParameterNumber, 0, 1), kNaN, 0.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_DOUBLE_EQ(NormalizeParameterValue(c.descriptor, c.value), c.want) << c.what;
    }
}

TEST(ParameterPage, CatalogueItemsOverTheRealCatalogue)
{
    const std::vector<ParameterDescriptor>& catalogue = GetParameterCatalog();
    ASSERT_FALSE(catalogue.empty());
    int styled = 0;
    for (const ParameterDescriptor& d : catalogue)
    {
        SCOPED_TRACE(d.section + "." + d.key);
        const ControlItem item = MakeParameterItem(d);
        const ControlKind byStyle[] = {ControlKind::SmallKnob, ControlKind::HorizontalSlider,
                                       ControlKind::ToggleSwitch, ControlKind::SegmentSwitch,
                                       ControlKind::SteppedKnob};
        const ControlKind byKind[] = {ControlKind::SmallKnob, ControlKind::ToggleSwitch,
                                      ControlKind::SegmentSwitch};
        EXPECT_EQ(item.kind, d.controlStyle != 0 ? byStyle[d.controlStyle] : byKind[d.kind]);
        styled += d.controlStyle != 0;
        EXPECT_EQ(item.parameterId, d.section + "." + d.key);
        EXPECT_EQ(item.label, d.label);
        EXPECT_EQ(item.toolTip, d.description);
        EXPECT_EQ(item.valueMode, 1) << "the catalogue marks nothing bipolar";
        EXPECT_EQ(item.displaySuffix, d.unit);
        EXPECT_EQ(item.displayDecimals, d.decimals);
        EXPECT_FALSE(item.explicitPlacement);
        EXPECT_TRUE(item.drawBorder);
        EXPECT_GE(item.value, 0.0);
        EXPECT_LE(item.value, 1.0);
        if (d.kind == ParameterChoice)
        {
            EXPECT_EQ(item.stepLabels, d.choices);
            EXPECT_EQ(item.stepCount, static_cast<int>(d.choices.size()));
            EXPECT_EQ(item.selectedIndex, static_cast<int>(d.defaultValue));
        }
        EXPECT_EQ(item.toggleValue, d.kind == ParameterToggle && d.defaultValue >= 0.5);
    }
    EXPECT_GT(styled, 0);

    // A choice default beyond its range or NaN is held to 0..maximum.
    ParameterDescriptor choice = Descriptor(ParameterChoice, 0, 2, {"a", "b", "c"});
    for (const auto& [defaultValue, index] :
         std::vector<std::pair<double, int>>{{7.9, 2}, {-3, 0}, {1.9, 1}, {kNaN, 0}})
    {
        choice.defaultValue = defaultValue;
        EXPECT_EQ(MakeParameterItem(choice).selectedIndex, index) << defaultValue;
    }
}

TEST(ParameterPage, AddonItems)
{
    struct Case
    {
        const char* what;
        AddonParamSpec spec;
        ControlKind kind;
        int valueMode, decimals;
        double value;
        COLORREF accent;
    };
    AddonParamSpec mixByLabel = Spec("blend", 0, 0, 100, 50, 1);
    mixByLabel.label = "Mix";
    const std::vector<Case> cases = {
        {"step 0.05: 2 decimals", Spec("a", 0, 0, 1, 0.25, 0.05), ControlKind::SmallKnob, 1, 2,
         0.25, 0x5284E5},
        {"step 0.001: 3 decimals", Spec("a", 0, 0, 1, 0.5, 0.001), ControlKind::SmallKnob, 1, 3,
         0.5, 0x5284E5},
        {"step 2: none", Spec("a", 0, 0, 10, 4, 2), ControlKind::SmallKnob, 1, 0, 0.4, 0x5284E5},
        {"step 0.1: 1, bipolar range", Spec("a", 0, -12, 12, 6, 0.1), ControlKind::SmallKnob, 2, 1,
         0.75, 0x5284E5},
        {"default beyond the range", Spec("a", 0, 0, 1, 3, 0.01), ControlKind::SmallKnob, 1, 2, 1.0,
         0x5284E5},
        {"empty range, NaN default", Spec("a", 0, 1, 1, kNaN, 0.01), ControlKind::SmallKnob, 1, 2,
         0.0, 0x5284E5},
        {"toggle on", Spec("a", 1, 0, 1, 0.7, 0.5), ControlKind::ToggleSwitch, 1, 0, 1.0, 0x5284E5},
        {"toggle off", Spec("a", 1, 0, 1, 0.2, 0.5), ControlKind::ToggleSwitch, 1, 0, 0.0,
         0x5284E5},
        {"the Mix accent by id", Spec("mix", 0, 0, 100, 100, 1), ControlKind::SmallKnob, 1, 0, 1.0,
         0x9A56B6},
        {"the Mix accent by label", mixByLabel, ControlKind::SmallKnob, 1, 0, 0.5, 0x9A56B6},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const ControlItem item = MakeAddonParameterItem(c.spec);
        EXPECT_EQ(item.kind, c.kind);
        EXPECT_EQ(item.valueMode, c.valueMode);
        EXPECT_EQ(item.displayDecimals, c.decimals);
        EXPECT_DOUBLE_EQ(item.value, c.value);
        EXPECT_EQ(item.accentColor, c.accent);
        EXPECT_EQ(item.parameterId, c.spec.id);
        EXPECT_EQ(item.label, c.spec.label);
        EXPECT_TRUE(item.toolTip.empty());
        EXPECT_EQ(item.displaySuffix, "dB");
        EXPECT_DOUBLE_EQ(item.displayMin, c.spec.minValue);
        EXPECT_FALSE(item.drawBorder);
        EXPECT_FALSE(item.drawBackground);
        EXPECT_EQ(item.toggleValue, c.spec.kind == 1 && c.value == 1.0);
    }
}

TEST(ParameterPage, IntegerChoices)
{
    struct Case
    {
        const char* what;
        double minValue, maxValue, defaultValue;
        std::vector<std::string> labels;
        int selected;
        double value;
    };
    const std::vector<Case> cases = {
        {"-2.4 to 2.6, default 7", -2.4, 2.6, 7, {"-2", "-1", "0", "1", "2", "3"}, 5, 1.0},
        {"halves away from zero", -0.5, 1.5, 0.5, {"-1", "0", "1", "2"}, 2, 0.5},
        {"inverted", 3, 1, 2, {}, 0, 0.0},
        {"a single step", 4, 4, 4, {"4"}, 0, 0.0},
        {"NaN default", 0, 3, kNaN, {"0", "1", "2", "3"}, 0, 0.0},
        {"infinite maximum", 0, kInf, 2, {}, 0, 0.0},
        {"NaN minimum", kNaN, 3, 2, {}, 0, 0.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const ControlItem item =
            MakeAddonParameterItem(Spec("n", 2, c.minValue, c.maxValue, c.defaultValue, 1));
        EXPECT_EQ(item.kind, ControlKind::SegmentSwitch);
        EXPECT_EQ(item.stepLabels, c.labels);
        EXPECT_EQ(item.stepCount, static_cast<int>(c.labels.size()));
        EXPECT_EQ(item.selectedIndex, c.selected);
        EXPECT_DOUBLE_EQ(item.value, c.value);
        EXPECT_EQ(item.displayDecimals, 0);
    }
    // A huge range gives the first 32 steps, as many as a stepped control shows.
    const ControlItem huge = MakeAddonParameterItem(Spec("n", 2, -1e15, 1e15, 1e15, 1));
    EXPECT_EQ(huge.stepCount, kMaxIntegerChoiceSteps);
    ASSERT_EQ(huge.stepLabels.size(), 32u);
    EXPECT_EQ(huge.stepLabels.front(), "-1000000000000000");
    EXPECT_EQ(huge.stepLabels.back(), "-999999999999969");
    EXPECT_EQ(huge.selectedIndex, 31);
}

TEST(ParameterPage, AutomaticAddonPage)
{
    struct Expected
    {
        const char* id;
        ControlKind kind;
        const char* label;
        const char* text;
        int group;
    };
    const std::vector<Expected> expected = {
        {"addon_name", ControlKind::TextTitle, "Warmth", "Warmth", 1},
        {"addon_description", ControlKind::TextCaptionBlock, "Warmth:", "Info", 2},
        {"addon_best_use", ControlKind::TextCaptionBlock, "Best Use", "Thin mixes.", 3},
    };
    const std::vector<ControlItem> bare = BuildAutoAddonInfoPage(Addon());
    ASSERT_EQ(bare.size(), 3u);
    for (size_t i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE(expected[i].id);
        EXPECT_EQ(bare[i].parameterId, expected[i].id);
        EXPECT_EQ(bare[i].kind, expected[i].kind);
        EXPECT_EQ(bare[i].label, expected[i].label);
        EXPECT_EQ(bare[i].textValue, expected[i].text);
        EXPECT_EQ(bare[i].group, expected[i].group);
        EXPECT_EQ(bare[i].valueMode, 0);
        EXPECT_EQ(bare[i].spanOverrideX, 12);
        EXPECT_FALSE(bare[i].drawBorder);
        EXPECT_FALSE(bare[i].drawBackground);
        EXPECT_TRUE(bare[i].toolTip.empty()) << "the description stays off the automatic page";
    }
    const std::vector<ControlItem> full =
        BuildAutoAddonInfoPage(Addon({Spec("drive", 0, 0, 10, 5, 0.1), Spec("on", 1, 0, 1, 1)}));
    ASSERT_EQ(full.size(), 5u);
    EXPECT_EQ(full[1].parameterId, "drive");
    EXPECT_EQ(full[2].parameterId, "on");
    EXPECT_EQ(full[2].group, 0);
    EXPECT_EQ(full[3].parameterId, "addon_description");
}

TEST(ParameterPage, FillingLayoutItemsOfAnAddonPage)
{
    const ProcessorDescriptor addon = Addon({Spec("drive", 0, -6, 6, 3, 0.05)});
    struct Case
    {
        const char* what;
        ControlKind kind;
        std::string id, label;
        const AddonParamSpec* spec;
        std::string wantLabel, wantText, wantTip;
        int wantValueMode;
    };
    const AddonParamSpec* drive = &addon.parameters[0];
    const std::vector<Case> cases = {
        {"name on a title", ControlKind::TextTitle, "addon_name", "Own", nullptr, "Warmth", "old",
         "", 0},
        {"name elsewhere, empty label", ControlKind::TextCaption, "addon_name", "", nullptr,
         "Warmth", "Warmth", "", 0},
        {"name elsewhere keeps its label", ControlKind::TextCaption, "addon_name", "Own", nullptr,
         "Own", "Warmth", "", 0},
        {"a text block keeps its label", ControlKind::TextBlock, "addon_description", "Mine",
         nullptr, "Mine", "old", "Adds a gentle glow.", 0},
        {"a text block without label", ControlKind::TextBlock, "addon_description", "", nullptr,
         "Details", "old", "Adds a gentle glow.", 0},
        {"description elsewhere", ControlKind::TextCaptionBlock, "addon_description", "", nullptr,
         "Details", "Adds a gentle glow.", "", 0},
        {"best use", ControlKind::TextCaptionBlock, "addon_best_use", "", nullptr, "Best Use",
         "Thin mixes.", "", 0},
        {"a parameter replaces the label", ControlKind::SmallKnob, "drive", "Layout", drive,
         "Label drive", "old", "Adds a gentle glow.", 2},
        {"nothing matches", ControlKind::SmallKnob, "other", "Layout", nullptr, "Layout", "old", "",
         1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ControlItem item;
        item.kind = c.kind;
        item.parameterId = c.id;
        item.label = c.label;
        item.textValue = "old";
        item.valueMode = 1;
        item.stepLabels = {"x", "y", "z"};
        item.selectedIndex = 2;
        FillAddonInfoItem(item, addon, c.spec);
        EXPECT_EQ(item.label, c.wantLabel);
        EXPECT_EQ(item.textValue, c.wantText);
        EXPECT_EQ(item.toolTip, c.wantTip);
        EXPECT_EQ(item.valueMode, c.wantValueMode);
        if (c.spec != nullptr)
        {
            EXPECT_EQ(item.displayDecimals, 2);
            EXPECT_DOUBLE_EQ(item.value, 0.75);
            EXPECT_EQ(item.stepCount, 3) << "a continuous parameter counts the layout's labels";
            EXPECT_EQ(item.selectedIndex, 0);
        }
    }

    // A toggle and an integer choice replace the layout's step data.
    ControlItem toggle;
    toggle.stepLabels = {"x"};
    toggle.stepCount = 1;
    const AddonParamSpec on = Spec("on", 1, 0, 1, 1);
    FillAddonInfoItem(toggle, addon, &on);
    EXPECT_TRUE(toggle.toggleValue);
    EXPECT_DOUBLE_EQ(toggle.value, 1.0);
    EXPECT_TRUE(toggle.stepLabels.empty());
    EXPECT_EQ(toggle.stepCount, 0);
    ControlItem choice;
    choice.stepLabels = {"x"};
    choice.toggleValue = true;
    const AddonParamSpec steps = Spec("steps", 2, 1, 3, 2);
    FillAddonInfoItem(choice, addon, &steps);
    EXPECT_EQ(choice.stepLabels, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(choice.selectedIndex, 1);
    EXPECT_FALSE(choice.toggleValue);
}

TEST(ParameterPage, BindingAndMappingLayoutItems)
{
    DesignerItem d;
    d.kind = ControlKind::SteppedKnob;
    d.internalName = "stepped knob";
    d.parameterId = "stage4.limiter_mode";
    d.gridX = 5;
    d.gridY = 6;
    d.spanX = 3;
    d.spanY = 4;
    d.accentColor = 0x010203;
    d.value = 0.9;
    d.hasSecondaryValue = true;
    d.secondaryValue = 0.4;
    d.stepLabels = {"one"};
    d.stepCount = 1;
    d.toggleValue = true;
    d.secondaryText = "second";
    d.textValue = "text";
    d.toolTip = "tip";
    d.displayDecimals = 3;
    d.drawBorder = false;
    ControlItem item = DesignerItemToControlItem(d);
    EXPECT_EQ(item.kind, ControlKind::SteppedKnob);
    EXPECT_EQ(item.label, "stage4.limiter_mode");
    EXPECT_TRUE(item.explicitPlacement);
    EXPECT_EQ(item.gridX, 5);
    EXPECT_EQ(item.gridY, 6);
    EXPECT_EQ(item.spanX, 3);
    EXPECT_EQ(item.spanY, 4);
    EXPECT_EQ(item.accentColor, 0x010203u);
    EXPECT_TRUE(item.hasSecondaryValue);
    EXPECT_DOUBLE_EQ(item.secondaryValue, 0.4);
    EXPECT_EQ(item.secondaryText, "second");
    EXPECT_EQ(item.textValue, "text");
    EXPECT_EQ(item.toolTip, "tip");
    EXPECT_EQ(item.displayDecimals, 3);
    EXPECT_FALSE(item.drawBorder);
    EXPECT_EQ(item.group, 0);
    EXPECT_EQ(item.spanOverrideX, 0);

    const ParameterDescriptor* mode = FindParameterDescriptor("stage4", "limiter_mode");
    ASSERT_NE(mode, nullptr);
    BindItemToParameter(item, *mode);
    EXPECT_EQ(item.kind, ControlKind::SteppedKnob) << "the layout's kind stays";
    EXPECT_EQ(item.gridX, 5);
    EXPECT_EQ(item.valueMode, 1);
    EXPECT_EQ(item.stepLabels, mode->choices);
    EXPECT_EQ(item.stepCount, static_cast<int>(mode->choices.size()));
    EXPECT_FALSE(item.toggleValue);
    EXPECT_FALSE(item.hasSecondaryValue);
    EXPECT_DOUBLE_EQ(item.value, NormalizeParameterValue(*mode, mode->defaultValue));

    ParameterDescriptor number = Descriptor(ParameterNumber, 0, 10);
    number.defaultValue = 2.5;
    number.unit = " %";
    BindItemToParameter(item, number);
    EXPECT_TRUE(item.stepLabels.empty());
    EXPECT_EQ(item.stepCount, 0);
    EXPECT_DOUBLE_EQ(item.value, 0.25);
    EXPECT_EQ(item.displaySuffix, " %");
}

TEST(ParameterPage, AutomaticPagesWithoutALayoutFile)
{
    const PluginFolder plugins("automatic");
    const GridPackParams params{2, 1, 0, 8, 20};
    const ModeParameterGroup* apprentice = FindModeParameterGroup("apprentice");
    ASSERT_NE(apprentice, nullptr);
    const ParameterPage page = BuildParameterPage(*apprentice, "apprentice", params);
    EXPECT_FALSE(page.fromLayoutFile);
    EXPECT_EQ(page.params.mode, 2);
    EXPECT_EQ(page.params.maxColumns, 20);
    ASSERT_EQ(page.items.size(), apprentice->parameters.size());
    for (size_t i = 0; i < page.items.size(); ++i)
    {
        const ParameterRef& ref = apprentice->parameters[i];
        EXPECT_EQ(page.items[i].parameterId, ref.section + "." + ref.key);
    }

    ModeParameterGroup mixed{"mixed", "Mixed", {{"nowhere", "nothing"}, apprentice->parameters[0]}};
    EXPECT_EQ(BuildParameterPage(mixed, "mixed", params).items.size(), 1u);
    const ModeParameterGroup empty{"empty", "Empty", {}};
    const ParameterPage none = BuildParameterPage(empty, "empty", params);
    EXPECT_TRUE(none.items.empty());
    EXPECT_EQ(none.params.mode, 2);

    const ParameterPage addon = BuildAddonInfoPage(Addon(), "warmth", params);
    EXPECT_FALSE(addon.fromLayoutFile);
    EXPECT_EQ(addon.items.size(), 3u);
    EXPECT_EQ(addon.params.mode, 2);

    EXPECT_EQ(GetPluginLayoutPath("stage2"),
              (plugins.folder / "plugins" / "stage2.json").wstring());
}

TEST(ParameterPage, ALayoutFileWinsWhenItLoads)
{
    const PluginFolder plugins("from_file");
    const GridPackParams params{2, 1, 0, 8, 20};
    plugins.Write("apprentice", R"({"pluginId": "apprentice", "cellSize": 77, "padding": 9,
      "items": [
        {"kind": "master_knob", "parameterId": "stage2.strength", "label": "Match",
         "gridX": 2, "gridY": 1, "spanX": 4, "spanY": 4, "value": 0.9, "displaySuffix": "x"},
        {"kind": "panel_light", "parameterId": "stage4_led", "gridX": 7, "gridY": 0,
         "spanX": 1, "spanY": 1, "value": 0.3, "displaySuffix": "y"}
      ]})");
    const ModeParameterGroup* apprentice = FindModeParameterGroup("apprentice");
    ASSERT_NE(apprentice, nullptr);
    const ParameterPage page = BuildParameterPage(*apprentice, "apprentice", params);
    EXPECT_TRUE(page.fromLayoutFile);
    EXPECT_EQ(page.params.mode, 0);
    EXPECT_EQ(page.params.maxColumns, 20);
    ASSERT_EQ(page.items.size(), 2u);
    const ParameterDescriptor* strength = FindParameterDescriptor("stage2", "strength");
    ASSERT_NE(strength, nullptr);
    EXPECT_EQ(page.items[0].kind, ControlKind::MasterKnob);
    EXPECT_EQ(page.items[0].label, "Match");
    EXPECT_EQ(page.items[0].gridX, 2);
    EXPECT_TRUE(page.items[0].explicitPlacement);
    EXPECT_DOUBLE_EQ(page.items[0].value,
                     NormalizeParameterValue(*strength, strength->defaultValue));
    EXPECT_EQ(page.items[0].displaySuffix, strength->unit);
    EXPECT_DOUBLE_EQ(page.items[1].value, 0.3) << "no such parameter: the file's values";
    EXPECT_EQ(page.items[1].displaySuffix, "y");

    // The page carries no cell size: a viewport keeps its own.
    CControlGridViewportWnd viewport;
    EXPECT_EQ(viewport.panel.cellSize, 40);

    plugins.Write("warmth", R"({"pluginId": "warmth", "items": [
        {"kind": "text_block", "parameterId": "addon_description", "label": "About"},
        {"kind": "small_knob", "parameterId": "drive", "label": "Layout"}]})");
    const ParameterPage addon =
        BuildAddonInfoPage(Addon({Spec("drive", 0, 0, 10, 5, 0.5)}), "warmth", params);
    EXPECT_TRUE(addon.fromLayoutFile);
    EXPECT_EQ(addon.params.mode, 0);
    ASSERT_EQ(addon.items.size(), 2u);
    EXPECT_EQ(addon.items[0].label, "About");
    EXPECT_EQ(addon.items[0].toolTip, "Adds a gentle glow.");
    EXPECT_EQ(addon.items[1].label, "Label drive");
    EXPECT_DOUBLE_EQ(addon.items[1].value, 0.5);

    // Rejected files silently give the automatic pages.
    for (const char* rejected : {R"({"pluginId": "", "items": []})", "not json at all",
                                 R"({"pluginId": "x", "items": [{"kind": "no_such_kind"}]})"})
    {
        SCOPED_TRACE(rejected);
        plugins.Write("apprentice", rejected);
        plugins.Write("warmth", rejected);
        const ParameterPage automatic = BuildParameterPage(*apprentice, "apprentice", params);
        EXPECT_FALSE(automatic.fromLayoutFile);
        EXPECT_EQ(automatic.params.mode, 2);
        EXPECT_EQ(automatic.items.size(), apprentice->parameters.size());
        EXPECT_EQ(BuildAddonInfoPage(Addon(), "warmth", params).items.size(), 3u);
    }
}

class ParameterPagePicture : public WindowTest
{
protected:
    RecordingWnd parent{"parent", log};
    CControlGridViewportWnd viewport;
};

TEST_F(ParameterPagePicture, TheAutomaticApprenticePage)
{
    const PluginFolder plugins("picture");
    ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 1000, 600)));
    ASSERT_TRUE(viewport.Create(CRect(0, 0, 800, 400), &parent, 8725));
    const ModeParameterGroup* apprentice = FindModeParameterGroup("apprentice");
    ASSERT_NE(apprentice, nullptr);
    const ParameterPage page =
        BuildParameterPage(*apprentice, "apprentice", GridPackParams{2, 1, 0, 8, 20});
    viewport.panel.packParams = page.params;
    viewport.panel.RebuildControls(page.items);
    viewport.LayoutChildren();
    PumpPendingMessages();
    ASSERT_EQ(viewport.panel.entries.size(), page.items.size());
    const std::filesystem::path path =
        std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / "parameter_page_apprentice.png";
    std::cout << "picture: " << path.string() << '\n';
    EXPECT_TRUE(RenderWindowToPng(viewport.GetSafeHwnd(), path));
    for (const ControlGridEntry& entry : viewport.panel.entries)
    {
        EXPECT_TRUE(entry.control->IsWindowVisible()) << entry.item.parameterId;
    }
}
