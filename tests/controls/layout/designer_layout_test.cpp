#include "controls/layout/designer_layout.h"

#include "base/unicode_text.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using nlohmann::json;
using nlohmann::ordered_json;

namespace
{

std::wstring WidePath(const std::filesystem::path& path)
{
    return Utf8ToWide(path.string());
}

// A layout whose text was `text`, or nothing when it failed to load.
std::optional<DesignerLayout> LoadText(const TempDir& dir, const std::string& text)
{
    const auto path = dir / "layout.json";
    WriteFileBytes(path, text);
    DesignerLayout layout;
    if (!DesignerLayout::Load(WidePath(path), layout))
    {
        return std::nullopt;
    }
    return layout;
}

std::string ItemsFile(const std::string& items, const std::string& extra = "")
{
    return R"({"pluginId": "stage2", )" + extra + R"("items": [)" + items + "]}";
}

DesignerItem FullySetItem(int instanceId)
{
    DesignerItem item;
    item.instanceId = instanceId;
    item.kind = ControlKind::SegmentSwitch;
    item.internalName = "segment switch";
    item.gridX = -3;
    item.gridY = INT_MIN;
    item.spanX = INT_MAX;
    item.spanY = 0;
    item.drawBorder = false;
    item.drawBackground = false;
    item.accentColor = 0x00FF8000;
    item.value = 0.1235;
    item.secondaryValue = -0.25;
    item.hasSecondaryValue = true;
    item.label = "Wärme";
    item.secondaryText = "低音";
    item.toolTip = "Line one\r\nline \"two\" \\ three";
    item.parameterId = "stage2.strength";
    item.textValue = "−3 dB 🎚";
    item.valueMode = 2;
    item.stepCount = 3;
    item.selectedIndex = -1;
    item.stepLabels = {"Ø", "", "Hi/Lo"};
    item.toggleValue = true;
    item.displayMin = -60.5;
    item.displayMax = 1e6;
    item.displayDecimals = 2;
    item.displaySuffix = " µs";
    return item;
}

DesignerLayout FullySetLayout()
{
    DesignerLayout layout;
    layout.pluginId = "spektral_gäte";
    layout.cellSize = INT_MIN;
    layout.padding = INT_MAX;
    layout.nextItemCounter = INT_MAX;
    DesignerItem other = FullySetItem(INT_MAX);
    other.kind = ControlKind::CompressorMeter;
    other.label = "";
    layout.items = {FullySetItem(7), other, FullySetItem(1)};
    return layout;
}

} // namespace

TEST(DesignerLayout, LayoutWithEveryFieldOffItsDefaultRoundTrips)
{
    TempDir dir;
    const auto path = dir / "Lay öut ✓.json";
    const DesignerLayout layout = FullySetLayout();
    ASSERT_TRUE(layout.Save(WidePath(path)));

    DesignerLayout loaded;
    ASSERT_TRUE(DesignerLayout::Load(WidePath(path), loaded));
    EXPECT_EQ(loaded, layout);
}

TEST(DesignerLayout, FileHasSortedKeysIndentTwoAndTheItemsInOrder)
{
    TempDir dir;
    const auto path = dir / "layout.json";
    ASSERT_TRUE(FullySetLayout().Save(WidePath(path)));
    const std::string text = ReadFileBytes(path);

    // Parsed in file order, the keys of every object are sorted, and writing
    // the parse again with an indent of 2 gives the file back.
    const ordered_json inFileOrder = ordered_json::parse(text);
    std::function<void(const ordered_json&)> expectSorted = [&](const ordered_json& node)
    {
        if (!node.is_structured())
        {
            return;
        }
        std::string previous;
        for (auto it = node.begin(); it != node.end(); ++it)
        {
            if (node.is_object())
            {
                EXPECT_LT(previous, it.key()) << "keys out of order";
                previous = it.key();
            }
            expectSorted(*it);
        }
    };
    expectSorted(inFileOrder);
    EXPECT_EQ(inFileOrder.dump(2), text);

    const json parsed = json::parse(text);
    EXPECT_EQ(parsed["pluginId"], "spektral_gäte");
    EXPECT_EQ(parsed["cellSize"], INT_MIN);
    EXPECT_EQ(parsed["padding"], INT_MAX);
    ASSERT_EQ(parsed["items"].size(), 3u);
    EXPECT_EQ(parsed["items"][0]["instanceId"], 7);
    EXPECT_EQ(parsed["items"][1]["kind"], "compressor_meter");
    EXPECT_EQ(parsed["items"][2]["instanceId"], 1);
}

TEST(DesignerLayout, EmptyItemListIsWrittenAndReadBack)
{
    TempDir dir;
    DesignerLayout layout;
    layout.pluginId = "stage3";
    ASSERT_TRUE(layout.Save(WidePath(dir / "empty.json")));
    EXPECT_EQ(json::parse(ReadFileBytes(dir / "empty.json"))["items"], json::array());
    DesignerLayout loaded;
    loaded.items.resize(2);
    ASSERT_TRUE(DesignerLayout::Load(WidePath(dir / "empty.json"), loaded));
    EXPECT_EQ(loaded, layout);
}

// The reader's rules on files a person or another program may have written.
TEST(DesignerLayout, ReaderFollowsItsRulesOnHandWrittenFiles)
{
    using Check = std::function<void(const DesignerLayout&)>;
    struct Case
    {
        const char* what;
        std::string text;
        Check check; // empty: the file must be rejected
    };
    const std::string knob = R"({"kind": "small_knob"})";
    const Case cases[] = {
        {"empty item list", ItemsFile(""),
         [](const DesignerLayout& l)
         {
             EXPECT_TRUE(l.items.empty());
             EXPECT_EQ(l.cellSize, 40);
             EXPECT_EQ(l.padding, 2);
             EXPECT_EQ(l.nextItemCounter, 1);
         }},
        {"empty plug-in id", R"({"pluginId": "", "items": []})", {}},
        {"missing plug-in id", R"({"items": []})", {}},
        {"plug-in id a number", R"({"pluginId": 3, "items": []})", {}},
        {"items missing", R"({"pluginId": "stage2"})", {}},
        {"items an object", R"({"pluginId": "stage2", "items": {}})", {}},
        {"kind in the wrong case", ItemsFile(knob + R"(, {"kind": "Small_Knob"})"), {}},
        {"kind a number", ItemsFile(R"({"kind": 5})"), {}},
        {"kind missing", ItemsFile(knob + R"(, {"label": "x"})"), {}},
        {"kind unknown", ItemsFile(R"({"kind": "big_knob"})"), {}},
        {"item not an object", ItemsFile(knob + ", 3"), {}},
        {"cell size not an integer",
         ItemsFile(knob, R"("cellSize": 40.5, "padding": "4", "nextItemCounter": 2.0, )"),
         [](const DesignerLayout& l)
         {
             EXPECT_EQ(l.cellSize, 40);
             EXPECT_EQ(l.padding, 2);
             EXPECT_EQ(l.nextItemCounter, 2) << "1 + one item";
         }},
        {"grid cell a float", ItemsFile(R"({"kind": "small_knob", "gridX": 3.0, "gridY": 4})"),
         [](const DesignerLayout& l)
         {
             EXPECT_EQ(l.items[0].gridX, 0);
             EXPECT_EQ(l.items[0].gridY, 4);
         }},
        {"value an integer", ItemsFile(R"({"kind": "small_knob", "value": 1}, )" + knob),
         [](const DesignerLayout& l)
         {
             EXPECT_EQ(l.items[0].value, 1.0);
             EXPECT_EQ(l.items[1].value, 0.5) << "a missing value";
         }},
        {"ids by position",
         ItemsFile(knob + R"(, {"kind": "small_knob", "instanceId": 7}, )" + knob),
         [](const DesignerLayout& l)
         {
             EXPECT_EQ(l.items[0].instanceId, 1);
             EXPECT_EQ(l.items[1].instanceId, 7);
             EXPECT_EQ(l.items[2].instanceId, 3);
             EXPECT_EQ(l.nextItemCounter, 4);
         }},
        {"counter 0", ItemsFile(knob + ", " + knob, R"("nextItemCounter": 0, )"),
         [](const DesignerLayout& l) { EXPECT_EQ(l.nextItemCounter, 3); }},
        {"counter 10", ItemsFile(knob + ", " + knob, R"("nextItemCounter": 10, )"),
         [](const DesignerLayout& l) { EXPECT_EQ(l.nextItemCounter, 10); }},
        {"counter negative", ItemsFile("", R"("nextItemCounter": -5, )"),
         [](const DesignerLayout& l) { EXPECT_EQ(l.nextItemCounter, 1); }},
        // The grid and the designer guard sizes; the file keeps what it says.
        {"huge and negative sizes",
         ItemsFile(R"({"kind": "stepped_knob", "spanX": -3, "spanY": 100000,
                       "stepCount": 2147483647, "selectedIndex": -8})",
                   R"("cellSize": -5, "padding": 1000000, )"),
         [](const DesignerLayout& l)
         {
             EXPECT_EQ(l.cellSize, -5);
             EXPECT_EQ(l.padding, 1000000);
             EXPECT_EQ(l.items[0].spanX, -3);
             EXPECT_EQ(l.items[0].spanY, 100000);
             EXPECT_EQ(l.items[0].stepCount, INT_MAX);
             EXPECT_EQ(l.items[0].selectedIndex, -8);
         }},
        {"values outside 0 to 1", ItemsFile(R"({"kind": "small_knob", "value": -2.5e300})"),
         [](const DesignerLayout& l) { EXPECT_EQ(l.items[0].value, -2.5e300); }},
        {"unknown keys", ItemsFile(R"({"kind": "goniometer", "colour": 3})", R"("extra": [], )"),
         [](const DesignerLayout& l) { EXPECT_EQ(l.items[0].kind, ControlKind::Goniometer); }},
    };
    TempDir dir;
    for (const Case& c : cases)
    {
        const std::optional<DesignerLayout> layout = LoadText(dir, c.text);
        if (!c.check)
        {
            EXPECT_FALSE(layout.has_value()) << c.what << " loaded";
            continue;
        }
        ASSERT_TRUE(layout.has_value()) << c.what << " was rejected";
        SCOPED_TRACE(c.what);
        c.check(*layout);
    }
}

TEST(DesignerLayout, UnreadableFilesLeaveTheTargetUntouched)
{
    struct Case
    {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"an empty file", ""},
        {"a truncated file", R"({"pluginId": "stage2", "items": [{"kind": "small_kn)"},
        {"an array", R"([{"pluginId": "stage2", "items": []}])"},
        {"a string", R"("stage2")"},
        {"a number past double", R"({"pluginId": "a", "items": [], "cellSize": 1e400})"},
        {"NaN", R"({"pluginId": "a", "items": [{"kind": "small_knob", "value": NaN}]})"},
        {"invalid UTF-8", "{\"pluginId\": \"a\xff\", \"items\": []}"},
        {"a comment", "{\"pluginId\": \"a\", // note\n \"items\": []}"},
        {"two documents", R"({"pluginId": "a", "items": []} {})"},
    };
    const DesignerLayout before = FullySetLayout();
    TempDir dir;
    for (const Case& c : cases)
    {
        WriteFileBytes(dir / "bad.json", c.text);
        DesignerLayout out = before;
        EXPECT_FALSE(DesignerLayout::Load(WidePath(dir / "bad.json"), out)) << c.what;
        EXPECT_EQ(out, before) << c.what;
    }
    DesignerLayout out = before;
    EXPECT_FALSE(DesignerLayout::Load(WidePath(dir.Path()), out)) << "a directory";
    EXPECT_FALSE(DesignerLayout::Load(WidePath(dir / "missing.json"), out)) << "a missing file";
    EXPECT_FALSE(DesignerLayout::Load(L"", out)) << "an empty path";
    EXPECT_EQ(out, before);
}

// An integer outside int is as unusable as a mistyped one: the key keeps its
// default, never a wrapped value.
TEST(DesignerLayout, IntegersBeyondIntKeepTheirDefaults)
{
    const char* outOfRange[] = {"2147483648",           "-2147483649",
                                "4294967296",           "9223372036854775807",
                                "18446744073709551615", "-9223372036854775808"};
    struct Key
    {
        const char* name;
        bool ofTheItem;
        std::function<int(const DesignerLayout&)> read;
        int expected;
    };
    const Key keys[] = {
        {"cellSize", false, [](const DesignerLayout& l) { return l.cellSize; }, 40},
        {"padding", false, [](const DesignerLayout& l) { return l.padding; }, 2},
        {"nextItemCounter", false, [](const DesignerLayout& l) { return l.nextItemCounter; }, 2},
        {"instanceId", true, [](const DesignerLayout& l) { return l.items[0].instanceId; }, 1},
        {"gridX", true, [](const DesignerLayout& l) { return l.items[0].gridX; }, 0},
        {"gridY", true, [](const DesignerLayout& l) { return l.items[0].gridY; }, 0},
        {"spanX", true, [](const DesignerLayout& l) { return l.items[0].spanX; }, 1},
        {"spanY", true, [](const DesignerLayout& l) { return l.items[0].spanY; }, 1},
        {"accentColor", true,
         [](const DesignerLayout& l) { return static_cast<int>(l.items[0].accentColor); }, 5407973},
        {"valueMode", true, [](const DesignerLayout& l) { return l.items[0].valueMode; }, 0},
        {"stepCount", true, [](const DesignerLayout& l) { return l.items[0].stepCount; }, 0},
        {"selectedIndex", true, [](const DesignerLayout& l) { return l.items[0].selectedIndex; },
         0},
        {"displayDecimals", true,
         [](const DesignerLayout& l) { return l.items[0].displayDecimals; }, 0},
    };
    TempDir dir;
    for (const Key& key : keys)
    {
        for (const char* number : outOfRange)
        {
            const std::string member = "\"" + std::string(key.name) + "\": " + number;
            const std::string text = key.ofTheItem
                                         ? ItemsFile(R"({"kind": "small_knob", )" + member + "}")
                                         : ItemsFile(R"({"kind": "small_knob"})", member + ", ");
            const std::optional<DesignerLayout> layout = LoadText(dir, text);
            ASSERT_TRUE(layout.has_value()) << text;
            EXPECT_EQ(key.read(*layout), key.expected) << key.name << " = " << number;
        }
    }
}

// The designer selects, moves and deletes items by id, so no two may share one.
TEST(DesignerLayout, ClashingOrNonPositiveIdsAreRenamedAboveTheLargest)
{
    constexpr int kAbsent = INT_MIN; // the item gives no "instanceId"
    struct Case
    {
        const char* what;
        std::vector<int> fileIds;
        std::vector<int> loadedIds;
        int nextItemCounter;
    };
    const Case cases[] = {
        {"unique ids stay", {9, 4, kAbsent}, {9, 4, 3}, 4},
        {"explicit id repeats", {5, 5, 5}, {5, 6, 7}, 4},
        {"explicit id equals a positional one", {kAbsent, 1}, {1, 2}, 3},
        {"positional id equals an earlier explicit one", {2, kAbsent}, {2, 3}, 3},
        {"zero and negative ids", {0, kAbsent, -4}, {3, 2, 4}, 4},
        {"all zero", {0, 0}, {1, 2}, 3},
        {"no id above the largest", {INT_MAX, INT_MAX, 0}, {INT_MAX, 1, 2}, 4},
    };
    TempDir dir;
    for (const Case& c : cases)
    {
        std::string items;
        for (int id : c.fileIds)
        {
            items += items.empty() ? "" : ", ";
            items += id == kAbsent
                         ? R"({"kind": "small_knob"})"
                         : R"({"kind": "small_knob", "instanceId": )" + std::to_string(id) + "}";
        }
        const std::optional<DesignerLayout> layout = LoadText(dir, ItemsFile(items));
        ASSERT_TRUE(layout.has_value()) << c.what;
        std::vector<int> ids;
        for (const DesignerItem& item : layout->items)
        {
            ids.push_back(item.instanceId);
        }
        EXPECT_EQ(ids, c.loadedIds) << c.what;
        EXPECT_EQ(layout->nextItemCounter, c.nextItemCounter) << c.what;
    }
}

TEST(DesignerLayout, FailedSaveKeepsThePreviousFile)
{
    TempDir dir;
    const auto path = dir / "layout.json";
    DesignerLayout small;
    small.pluginId = "stage2";
    ASSERT_TRUE(small.Save(WidePath(path)));
    const std::string previous = ReadFileBytes(path);

    DesignerLayout large = FullySetLayout();
    large.items.resize(200, FullySetItem(0));
    {
        // Root ignores a read-only folder; a file size limit stops every writer.
        FileSizeLimit limit(previous.size() + 100);
        EXPECT_FALSE(large.Save(WidePath(path))) << "a write cut short";
    }
    EXPECT_EQ(ReadFileBytes(path), previous);

    DesignerLayout notUtf8 = small;
    notUtf8.items.push_back(DesignerItem{});
    notUtf8.items.back().label = "\xC3";
    EXPECT_FALSE(notUtf8.Save(WidePath(path))) << "a text that is not UTF-8";
    EXPECT_EQ(ReadFileBytes(path), previous);

    std::filesystem::create_directory(dir / "folder");
    EXPECT_FALSE(small.Save(WidePath(dir / "folder"))) << "a target that is a directory";
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    EXPECT_FALSE(small.Save(WidePath(dir / "missing" / "layout.json"))) << "a missing folder";

    // No temporary file is left behind by any of the failures.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"folder", "layout.json"}));
}
