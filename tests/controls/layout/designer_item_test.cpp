#include "controls/layout/designer_item.h"

#include "engine/settings/json_document.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>

using nlohmann::json;

namespace
{

json WrittenItem(const DesignerItem& item)
{
    const JsonNodeHandle node = JsonNodeHandle::NewObjectDocument();
    DesignerItemToJson(node, item);
    return *node.Resolve();
}

DesignerItem ReadItem(const json& object, int counter = 1)
{
    const auto document = std::make_shared<json>(object);
    DesignerItem item;
    EXPECT_TRUE(DesignerItemFromJson(JsonReadHandle{document, document.get()}, counter, item))
        << object.dump();
    return item;
}

const std::set<std::string> kAlwaysWritten = {
    "kind",  "parameterId", "label", "toolTip",     "textValue",  "gridX",
    "gridY", "spanX",       "spanY", "accentColor", "drawBorder", "drawBackground"};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

TEST(DesignerItemToJson, DefaultItemWritesOnlyTheAlwaysWrittenKeys)
{
    const json written = WrittenItem(DesignerItem{});
    std::set<std::string> keys;
    for (const auto& member : written.items())
    {
        keys.insert(member.key());
    }
    EXPECT_EQ(keys, kAlwaysWritten);
    EXPECT_EQ(written["kind"], "small_knob");
    EXPECT_EQ(written["accentColor"], 5407973) << "0x5284E5 as a decimal integer";
    EXPECT_EQ(written["spanX"], 1);
    EXPECT_EQ(written["drawBorder"], true);
}

// Each row changes one field of a default item and names the key it must (or
// must not) add to the always-written ones. A null `expected` means "absent".
TEST(DesignerItemToJson, KeysBeyondTheAlwaysWrittenOnesFollowTheirDefaults)
{
    struct Case
    {
        const char* what;
        std::function<void(DesignerItem&)> change;
        const char* key;
        json expected;
    };
    const Case cases[] = {
        {"internal name", [](DesignerItem& i) { i.internalName = "small knob"; }, "internalName",
         "small knob"},
        {"secondary text", [](DesignerItem& i) { i.secondaryText = "dB"; }, "secondaryText", "dB"},
        {"positive id", [](DesignerItem& i) { i.instanceId = 5; }, "instanceId", 5},
        {"id 0", [](DesignerItem& i) { i.instanceId = 0; }, "instanceId", nullptr},
        {"negative id", [](DesignerItem& i) { i.instanceId = -3; }, "instanceId", nullptr},
        {"value at its default", [](DesignerItem& i) { i.value = 0.5; }, "value", nullptr},
        // The default test is made before rounding.
        {"value rounding to the default", [](DesignerItem& i) { i.value = 0.50001; }, "value", 0.5},
        {"value of many decimals", [](DesignerItem& i) { i.value = 0.123456; }, "value", 0.1235},
        {"value an integer", [](DesignerItem& i) { i.value = 1.0; }, "value", 1.0},
        {"secondary value without its flag", [](DesignerItem& i) { i.secondaryValue = 0.7; },
         "secondaryValue", nullptr},
        {"value mode", [](DesignerItem& i) { i.valueMode = 2; }, "valueMode", 2},
        {"negative value mode", [](DesignerItem& i) { i.valueMode = -1; }, "valueMode", -1},
        {"step count", [](DesignerItem& i) { i.stepCount = 4; }, "stepCount", 4},
        {"negative step count", [](DesignerItem& i) { i.stepCount = -4; }, "stepCount", nullptr},
        {"selected index", [](DesignerItem& i) { i.selectedIndex = -2; }, "selectedIndex", -2},
        {"step labels",
         [](DesignerItem& i) {
             i.stepLabels = {"Lo", "", "Hi"};
         },
         "stepLabels", json::array({"Lo", "", "Hi"})},
        {"toggle on", [](DesignerItem& i) { i.toggleValue = true; }, "toggleValue", true},
        {"display minimum", [](DesignerItem& i) { i.displayMin = -0.00005; }, "displayMin",
         -0.0001},
        {"display maximum at its default", [](DesignerItem& i) { i.displayMax = 100.0; },
         "displayMax", nullptr},
        {"display maximum", [](DesignerItem& i) { i.displayMax = 24.00004; }, "displayMax", 24.0},
        {"decimals", [](DesignerItem& i) { i.displayDecimals = 3; }, "displayDecimals", 3},
        {"empty suffix", [](DesignerItem& i) { i.displaySuffix = ""; }, "displaySuffix", ""},
        {"suffix", [](DesignerItem& i) { i.displaySuffix = " dB"; }, "displaySuffix", " dB"},
        // Scaled by 10000 this passes the range of int: it must round in double.
        {"large value", [](DesignerItem& i) { i.value = 300000.12345; }, "value", 300000.1235},
        // Times 10000 it is no longer finite, so it has no decimals to round.
        {"1e305", [](DesignerItem& i) { i.value = 1e305; }, "value", 1e305},
        {"-1e305", [](DesignerItem& i) { i.displayMin = -1e305; }, "displayMin", -1e305},
        // JSON spells these only as null: they are left out.
        {"NaN value", [](DesignerItem& i) { i.value = kNaN; }, "value", nullptr},
        {"infinite maximum", [](DesignerItem& i) { i.displayMax = kInfinity; }, "displayMax",
         nullptr},
        {"minus infinite minimum", [](DesignerItem& i) { i.displayMin = -kInfinity; }, "displayMin",
         nullptr},
    };
    for (const Case& c : cases)
    {
        DesignerItem item;
        c.change(item);
        const json written = WrittenItem(item);
        if (c.expected.is_null())
        {
            EXPECT_FALSE(written.contains(c.key)) << c.what << ": " << written.dump();
        }
        else if (c.expected.is_number_float())
        {
            ASSERT_TRUE(written.contains(c.key)) << c.what;
            ASSERT_TRUE(written[c.key].is_number_float()) << c.what << ": " << written[c.key];
            EXPECT_DOUBLE_EQ(written[c.key].get<double>(), c.expected.get<double>()) << c.what;
        }
        else
        {
            EXPECT_EQ(written.value(c.key, json()), c.expected) << c.what;
        }
        EXPECT_EQ(written.size(), kAlwaysWritten.size() + (c.expected.is_null() ? 0 : 1))
            << c.what << " wrote other keys: " << written.dump();
    }
}

TEST(DesignerItemToJson, SecondaryValueTravelsWithItsFlagAndNaNReadsBackAsZero)
{
    DesignerItem item;
    item.hasSecondaryValue = true;
    item.secondaryValue = 0.33333;
    json written = WrittenItem(item);
    EXPECT_EQ(written["hasSecondaryValue"], true);
    EXPECT_DOUBLE_EQ(written["secondaryValue"].get<double>(), 0.3333);

    item.secondaryValue = kNaN;
    item.value = kNaN;
    written = WrittenItem(item);
    EXPECT_EQ(written["hasSecondaryValue"], true);
    EXPECT_FALSE(written.contains("secondaryValue"));
    const DesignerItem readBack = ReadItem(written);
    EXPECT_EQ(readBack.secondaryValue, 0.0);
    EXPECT_EQ(readBack.value, 0.5);
}

TEST(DesignerItemToJson, ColourAboveTheSignedRangeIsWrittenNegativeAndReadsBack)
{
    DesignerItem item;
    item.accentColor = 0xFF00FF00;
    const json written = WrittenItem(item);
    EXPECT_EQ(written["accentColor"], static_cast<int>(0xFF00FF00));
    EXPECT_EQ(ReadItem(written).accentColor, 0xFF00FF00u);
}

TEST(DesignerItemToJson, NodesThatAreNotObjectsAreLeftAlone)
{
    const JsonNodeHandle array = JsonNodeHandle::NewArrayDocument();
    DesignerItemToJson(array, DesignerItem{});
    EXPECT_EQ(*array.Resolve(), json::array());
    DesignerItemToJson(JsonNodeHandle(), DesignerItem{});
}

TEST(DesignerItemFromJson, EveryKeyOfTheWrongTypeKeepsItsDefault)
{
    const json wrong = {
        {"kind", "goniometer"},
        {"instanceId", "7"},
        {"internalName", 1},
        {"gridX", 3.0},
        {"gridY", "2"},
        {"spanX", true},
        {"spanY", nullptr},
        {"drawBorder", 0},
        {"drawBackground", "false"},
        {"accentColor", 255.0},
        {"value", "0.25"},
        {"secondaryValue", false},
        {"hasSecondaryValue", 1},
        {"label", json::array()},
        {"secondaryText", 2.5},
        {"toolTip", json::object()},
        {"parameterId", 12},
        {"textValue", nullptr},
        {"valueMode", 2.0},
        {"stepCount", "4"},
        {"selectedIndex", 1.5},
        {"stepLabels", "A,B"},
        {"toggleValue", "true"},
        {"displayMin", "0"},
        {"displayMax", nullptr},
        {"displayDecimals", 2.0},
        {"displaySuffix", 37},
    };
    DesignerItem expected;
    expected.kind = ControlKind::Goniometer;
    expected.instanceId = 4;
    EXPECT_EQ(ReadItem(wrong, 4), expected);
}

TEST(DesignerItemFromJson, StepLabelsThatAreNotStringsBecomeEmpty)
{
    const json object = {{"kind", "segment_switch"}, {"stepLabels", {"A", 3, "C"}}};
    const std::vector<std::string> expected = {"A", "", "C"};
    EXPECT_EQ(ReadItem(object).stepLabels, expected);
}

TEST(DesignerItemFromJson, ARejectedItemLeavesItsOutputAndTheCounterAlone)
{
    const json rejected[] = {json::object(), {{"kind", "Small_Knob"}},
                             {{"kind", 1}},  {{"kind", "knob"}},
                             json::array(),  "small_knob"};
    for (const json& object : rejected)
    {
        const auto document = std::make_shared<json>(object);
        DesignerItem out;
        out.label = "kept";
        int counter = 9;
        EXPECT_FALSE(DesignerItemFromJson(JsonReadHandle{document, document.get()}, counter, out))
            << object.dump();
        EXPECT_EQ(out.label, "kept");
        EXPECT_EQ(counter, 9);
    }
    int counter = 1;
    DesignerItem out;
    EXPECT_FALSE(DesignerItemFromJson(JsonReadHandle{}, counter, out)) << "an empty handle";
}
