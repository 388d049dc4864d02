// The designer's pictures of control kinds: the value text, the snapshots, the
// per-kind painter arguments, the two dispatchers and their off-screen
// wrappers, and contact sheets of every kind for people to look at.

#include "grid/designer_previews.h"

#include "grid/control_catalog.h"
#include "platform/backend/headless_backend.h"
#include "platform/gdiplus/gdiplus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace
{

constexpr Gdiplus::ARGB kSentinel = 0xFF204060;

ControlCatalogEntry EntryOf(int kind)
{
    for (const ControlCatalogEntry& entry : BuildControlCatalog())
    {
        if (entry.kind == kind)
        {
            return entry;
        }
    }
    ControlCatalogEntry unknown;
    unknown.kind = kind;
    return unknown;
}

DesignerItem ItemOf(int kind)
{
    DesignerItem item;
    item.kind = static_cast<ControlKind>(kind);
    item.internalName = EntryOf(kind).kindName;
    return item;
}

// A picture filled with the sentinel colour, to see what a drawing touched.
struct Canvas
{
    Canvas(int width, int height)
        : bitmap(width, height, Gdiplus::PixelFormat32bppPARGB), graphics(&bitmap)
    {
        graphics.Clear(Gdiplus::Color(kSentinel));
    }

    Gdiplus::ARGB At(int x, int y) const
    {
        Gdiplus::Color color;
        bitmap.GetPixel(x, y, &color);
        return color.GetValue();
    }

    int Touched() const
    {
        return TouchedIn(RECT{0, 0, int(bitmap.GetWidth()), int(bitmap.GetHeight())});
    }

    int TouchedIn(const RECT& rect) const
    {
        int touched = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
        {
            for (int x = rect.left; x < rect.right; ++x)
            {
                touched += At(x, y) != kSentinel ? 1 : 0;
            }
        }
        return touched;
    }

    // The bounding box of the touched pixels; empty when none.
    RECT TouchedBox() const
    {
        RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < int(bitmap.GetHeight()); ++y)
        {
            for (int x = 0; x < int(bitmap.GetWidth()); ++x)
            {
                if (At(x, y) != kSentinel)
                {
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                               std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
                }
            }
        }
        return box.left == INT_MAX ? RECT{} : box;
    }

    Gdiplus::Bitmap bitmap;
    Gdiplus::Graphics graphics;
};

void SavePicture(Gdiplus::Bitmap& bitmap, const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / name;
    EXPECT_EQ(bitmap.SaveAsPng(path.string()), Gdiplus::Ok) << path;
    std::cout << "picture: " << path.string() << "\n";
}

} // namespace

TEST(DesignerValueText, FormatsTheDisplayValueWithHeldDecimals)
{
    struct Case
    {
        double value, min, max;
        int decimals;
        const char* suffix;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {0.5, 0, 100, 0, "%", L"50%"},
        {0.5, 0, 100, -2, "%", L"50%"},
        {0.5, 0, 100, -5, "%", L"50%"},
        {0.5, 0, 100, 2, "%", L"50.00%"},
        {0.5, 0, 100, 9, "%", L"50.000000%"},
        // A stored count of two thousand million asks for no gigabyte text.
        {0.5, 0, 100, 2000000000, "%", L"50.000000%"},
        {0.25, -20, 3, 1, " dB", L"-14.2 dB"},
        {1.0, 10, 5, 0, "", L"5"},
        {0.0, 0, 1, 0, "\xC2\xB5s", L"0\u00B5s"}, // UTF-8 suffix
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(
            std::wstring(
                FormatDesignerValueText(c.value, c.min, c.max, c.decimals, c.suffix).GetString()),
            c.expected)
            << c.decimals;
    }
    const std::vector<CString> wide = ToWideStringList({"A", "", "\xC3\xA9t\xC3\xA9"});
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], L"A");
    EXPECT_TRUE(wide[1].IsEmpty());
    EXPECT_EQ(wide[2], L"\u00E9t\u00E9");
}

TEST(DesignerSnapshots, CatalogueAndPlacedStatesTakeTheirFields)
{
    const ControlDrawState sample = MakeCatalogDrawState(EntryOf(0));
    EXPECT_EQ(sample.label, L"master knob");
    EXPECT_EQ(sample.value, 0.5);
    EXPECT_EQ(sample.secondaryValue, 0.72);
    EXPECT_TRUE(sample.drawBorder && sample.drawBackground);
    EXPECT_EQ(sample.accentColor, 0x5284E5u);
    EXPECT_EQ(sample.backgroundColor, 0x100E0Cu);
    EXPECT_EQ(sample.valueText, L"50%");
    EXPECT_TRUE(sample.textValue.IsEmpty() && sample.toolTip.IsEmpty());

    DesignerItem item = ItemOf(1);
    item.value = 0.25;
    item.secondaryValue = 0.8; // copied though hasSecondaryValue is clear
    item.secondaryText = "sec";
    item.toolTip = "tip";
    item.textValue = "ignored";
    item.drawBorder = false;
    item.accentColor = 0x123456;
    item.displayDecimals = -2;
    ControlDrawState placed = MakePlacedItemDrawState(item);
    EXPECT_EQ(placed.label, L"small knob"); // the internal name stands in
    EXPECT_EQ(placed.secondaryValue, 0.8);
    EXPECT_EQ(placed.secondaryText, L"sec");
    EXPECT_EQ(placed.toolTip, L"tip");
    EXPECT_TRUE(placed.textValue.IsEmpty());
    EXPECT_FALSE(placed.drawBorder);
    EXPECT_EQ(placed.accentColor, 0x123456u);
    EXPECT_EQ(placed.backgroundColor, 0x100E0Cu);
    EXPECT_EQ(placed.valueText, L"25%");
    item.label = "Drive";
    EXPECT_EQ(MakePlacedItemDrawState(item).label, L"Drive");
}

TEST(DesignerArguments, PlacedItemsTakeTheirKindsArguments)
{
    DesignerItem needle = ItemOf(14);
    needle.displayMin = 10;
    needle.displayMax = 5;
    DesignerPaintArguments args = PlacedItemArguments(needle);
    EXPECT_EQ(args.meterMin, 10.0);
    EXPECT_EQ(args.meterMax, 3.0);
    needle.displayMax = 40;
    EXPECT_EQ(PlacedItemArguments(needle).meterMax, 40.0);

    DesignerItem output = ItemOf(19);
    output.displayMin = -5;
    output.displayMax = 5;
    args = PlacedItemArguments(output);
    EXPECT_EQ(args.meterMin, -60.0);
    EXPECT_EQ(args.meterMax, 0.0);

    for (const int kind : {20, 21})
    {
        DesignerItem stepped = ItemOf(kind);
        stepped.stepLabels = {"A", "B"};
        stepped.selectedIndex = 5;
        args = PlacedItemArguments(stepped);
        EXPECT_EQ(args.steps.stepCount, 2);
        EXPECT_EQ(args.steps.selectedIndex, 5);
        EXPECT_EQ(args.steps.stepText, L"50%");
        EXPECT_EQ(args.state.valueText, L"50%");
        EXPECT_FALSE(args.steps.showPointer);
        stepped.selectedIndex = 1;
        args = PlacedItemArguments(stepped);
        EXPECT_EQ(args.steps.stepText, L"B");
        EXPECT_EQ(args.state.valueText, L"B");
        stepped.stepLabels.clear();
        EXPECT_EQ(PlacedItemArguments(stepped).steps.stepCount, 5);
        stepped.stepCount = 7;
        EXPECT_EQ(PlacedItemArguments(stepped).steps.stepCount, 7);
    }

    DesignerItem segments = ItemOf(23);
    args = PlacedItemArguments(segments);
    EXPECT_EQ(args.segments.count, 3);
    EXPECT_EQ(args.segments.labels, (std::vector<CString>{L"Low", L"Mid", L"High"}));
    EXPECT_EQ(args.segments.hoverIndex, -1);
    EXPECT_EQ(args.segments.pressedIndex, -1);
    segments.stepCount = 4;
    args = PlacedItemArguments(segments);
    EXPECT_EQ(args.segments.count, 4);
    EXPECT_EQ(args.segments.labels.size(), 3u);
    segments.stepCount = 0;
    segments.stepLabels = {"x", "y"};
    segments.selectedIndex = 1;
    args = PlacedItemArguments(segments);
    EXPECT_EQ(args.segments.count, 2);
    EXPECT_EQ(args.segments.selectedIndex, 1);
    EXPECT_EQ(args.segments.labels, (std::vector<CString>{L"x", L"y"}));
    args = PlacedItemArguments(ItemOf(22));
    EXPECT_EQ(args.segments.count, 2);
    EXPECT_EQ(args.segments.labels, (std::vector<CString>{L"Apprentice", L"Maester"}));

    struct Glyph
    {
        const char* text;
        int glyph;
    };
    for (const Glyph g :
         {Glyph{"stop", 2}, Glyph{"pause", 1}, Glyph{"play", 0}, Glyph{"", 0}, Glyph{"rewind", 0}})
    {
        DesignerItem transport = ItemOf(27);
        transport.textValue = g.text;
        transport.label = "gone";
        args = PlacedItemArguments(transport);
        EXPECT_EQ(args.glyph, g.glyph) << g.text;
        EXPECT_TRUE(args.state.label.IsEmpty());
    }

    DesignerItem knob = ItemOf(0);
    knob.valueMode = 2;
    EXPECT_TRUE(PlacedItemArguments(knob).masterKnob.bipolar);
    EXPECT_TRUE(PlacedItemArguments(knob).masterKnob.showTicks);
    knob.kind = ControlKind::MasterKnobLMT;
    EXPECT_TRUE(PlacedItemArguments(knob).lmtKnob.bipolar);
    EXPECT_EQ(PlacedItemArguments(knob).lmtKnob.threshold, 0.75);
    DesignerItem slider = ItemOf(17);
    EXPECT_EQ(PlacedItemArguments(slider).sliderMode, 0);
    slider.valueMode = 2;
    EXPECT_EQ(PlacedItemArguments(slider).sliderMode, 1);
    DesignerItem toggle = ItemOf(24);
    toggle.toggleValue = true;
    EXPECT_TRUE(PlacedItemArguments(toggle).toggleOn);
    DesignerItem monitor = ItemOf(28);
    EXPECT_EQ(PlacedItemArguments(monitor).monitor.state, 0);
    monitor.selectedIndex = 3;
    EXPECT_EQ(PlacedItemArguments(monitor).monitor.state, 1);
    EXPECT_EQ(PlacedItemArguments(monitor).monitor.hoverHalf, -1);

    DesignerItem seven = ItemOf(15);
    args = PlacedItemArguments(seven);
    EXPECT_EQ(args.displayText, L"-9.8");
    EXPECT_EQ(args.state.valueText, L"-9.8");
    seven.textValue = "88";
    EXPECT_EQ(PlacedItemArguments(seven).state.valueText, L"88");
    DesignerItem nixie = ItemOf(16);
    EXPECT_EQ(PlacedItemArguments(nixie).state.valueText, L"1234");
    DesignerItem readout = ItemOf(6);
    EXPECT_EQ(PlacedItemArguments(readout).displayText, L"12.3 dB");
    EXPECT_EQ(PlacedItemArguments(readout).state.valueText, L"50%");
}

TEST(DesignerArguments, PaletteSamplesShowTheirSampleLooks)
{
    DesignerPaintArguments args = KindPreviewArguments(EntryOf(20));
    EXPECT_EQ(args.state.secondaryText, L"Mode");
    EXPECT_EQ(args.steps.stepText, L"C");
    EXPECT_EQ(args.steps.selectedIndex, 2);
    EXPECT_EQ(args.steps.stepCount, 5);
    args = KindPreviewArguments(EntryOf(23));
    EXPECT_EQ(args.state.label, L"Focus");
    EXPECT_EQ(args.segments.selectedIndex, 1);
    EXPECT_EQ(args.segments.labels, (std::vector<CString>{L"Low", L"Mid", L"High"}));
    args = KindPreviewArguments(EntryOf(2));
    EXPECT_EQ(args.state.label, L"Section Title");
    EXPECT_FALSE(args.state.drawBorder || args.state.drawBackground);
    args = KindPreviewArguments(EntryOf(26));
    EXPECT_TRUE(args.state.label.IsEmpty());
    EXPECT_EQ(args.state.value, 1.0);
    EXPECT_FALSE(args.state.drawBorder);
    EXPECT_TRUE(args.state.drawBackground);
    args = KindPreviewArguments(EntryOf(16));
    EXPECT_EQ(args.displayText, L"1234");
    EXPECT_EQ(args.state.valueText, L"50%"); // the nixie sample keeps its value text
    args = KindPreviewArguments(EntryOf(15));
    EXPECT_EQ(args.state.valueText, L"-9.8");
    args = KindPreviewArguments(EntryOf(8));
    EXPECT_EQ(args.cardTitle, L"Stereo Field");
    EXPECT_EQ(args.cardTitleTop, 12);
    EXPECT_EQ(args.cardSubtitleTop, 34);
    args = KindPreviewArguments(EntryOf(14));
    EXPECT_EQ(args.meterMin, -20.0);
    EXPECT_EQ(args.meterMax, 3.0);
    EXPECT_TRUE(KindPreviewArguments(EntryOf(24)).toggleOn);
    EXPECT_EQ(KindPreviewArguments(EntryOf(28)).state.label, L"MONITOR");
}

TEST(DesignerIcon, ScalesWithTheAspectKeptAndCentres)
{
    struct Case
    {
        RECT rect;
        int width, height;
        RECT expected;
    };
    const Case cases[] = {
        {{0, 0, 60, 60}, 160, 80, {0, 15, 60, 45}},
        {{10, 20, 70, 80}, 40, 240, {35, 20, 45, 80}},
        {{0, 0, 64, 64}, 240, 320, {8, 0, 56, 64}},
        {{0, 0, 0, 60}, 160, 80, {0, 0, 0, 60}},   // empty: the rect itself
        {{0, 0, 60, 60}, 0, 80, {0, 0, 60, 60}},   // no preferred width
        {{0, 0, 60, 60}, 160, -3, {0, 0, 60, 60}}, // below 1
    };
    for (const Case& c : cases)
    {
        const RECT target = KindIconTarget(c.rect, c.width, c.height);
        EXPECT_TRUE(::EqualRect(&target, &c.expected))
            << target.left << "," << target.top << "," << target.right << "," << target.bottom;
    }

    // Drawn: a 160 x 80 sample in 60 x 60 covers rows 15..44 only.
    brvl::backend::HeadlessSession session;
    Canvas canvas(60, 60);
    ControlCatalogEntry entry = EntryOf(18); // horizontal slider, 160 x 80
    ASSERT_EQ(entry.width, 160);
    ASSERT_EQ(entry.height, 80);
    DrawKindIcon(canvas.graphics, RECT{0, 0, 60, 60}, entry);
    const RECT box = canvas.TouchedBox();
    EXPECT_EQ(box.top, 15);
    EXPECT_EQ(box.bottom, 45);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 60);

    // A preferred size below 1 paints at the target's size.
    entry.width = 0;
    entry.height = -4;
    Canvas odd(40, 30);
    DrawKindIcon(odd.graphics, RECT{0, 0, 40, 30}, entry);
    EXPECT_GT(odd.Touched(), 0);
}

TEST(DesignerDispatch, UnknownKindsAndEmptyRectsDrawNothing)
{
    brvl::backend::HeadlessSession session;
    for (const int kind : {-1, 31, 99, INT_MIN})
    {
        Canvas canvas(80, 80);
        const RECT all{0, 0, 80, 80};
        DrawKindPreview(canvas.graphics, all, EntryOf(kind));
        DrawKindIcon(canvas.graphics, all, EntryOf(kind));
        DrawPlacedItem(canvas.graphics, all, ItemOf(kind));
        DrawPlacedItemBuffered(canvas.graphics, all, ItemOf(kind));
        EXPECT_EQ(canvas.Touched(), 0) << kind;
    }
    for (const RECT& empty : {RECT{10, 10, 10, 50}, RECT{10, 10, 50, 10}, RECT{50, 50, 10, 10}})
    {
        Canvas canvas(80, 80);
        for (int kind = 0; kind < kControlKindCount; ++kind)
        {
            DrawKindPreview(canvas.graphics, empty, EntryOf(kind));
            DrawKindIcon(canvas.graphics, empty, EntryOf(kind));
            DrawPlacedItem(canvas.graphics, empty, ItemOf(kind));
            DrawPlacedItemBuffered(canvas.graphics, empty, ItemOf(kind));
        }
        EXPECT_EQ(canvas.Touched(), 0);
    }
}

TEST(DesignerDispatch, PaintsTheDesignersOwnShapes)
{
    brvl::backend::HeadlessSession session;
    // A placed graph card: its fill inside, nothing of the palette's texts.
    Canvas card(120, 80);
    DrawPlacedItem(card.graphics, RECT{0, 0, 120, 80}, ItemOf(9));
    EXPECT_EQ(card.At(60, 40), 0xFF0E1116u);
    EXPECT_EQ(card.At(60, 25), 0xFF0E1116u);

    // A placed compressor meter: one green bar from x = w/2 - 3, 6 wide.
    Canvas meter(40, 240);
    DrawPlacedItem(meter.graphics, RECT{0, 0, 40, 240}, ItemOf(30));
    EXPECT_NE(meter.At(18, 50), 0xFF0E1116u);
    EXPECT_EQ(meter.At(14, 50), 0xFF0E1116u);
    EXPECT_EQ(meter.At(18, 200), 0xFF0E1116u); // 0.45 of the height ends near 108

    // Dividers: the accent line through the middle, at an offset rect too.
    Canvas divider(200, 100);
    DesignerItem line = ItemOf(12);
    line.accentColor = 0x0000FF; // red
    line.drawBackground = false;
    line.drawBorder = false;
    DrawPlacedItem(divider.graphics, RECT{20, 40, 180, 80}, line);
    const Gdiplus::Color mid(divider.At(100, 60));
    EXPECT_GT(mid.GetR(), 150);
    EXPECT_LT(mid.GetB(), 60);
    Canvas upright(100, 200);
    line.kind = ControlKind::VerticalDivider;
    DrawPlacedItem(upright.graphics, RECT{20, 40, 60, 180}, line);
    EXPECT_GT(Gdiplus::Color(upright.At(40, 100)).GetR(), 150);

    // The buffered item lands 1:1 at the rect's corner and nowhere else.
    Canvas placed(300, 300);
    DrawPlacedItemBuffered(placed.graphics, RECT{30, 40, 190, 120}, ItemOf(25));
    const RECT box = placed.TouchedBox();
    const RECT expected{30, 40, 190, 120};
    EXPECT_TRUE(::EqualRect(&box, &expected));
}

TEST(DesignerDispatch, OddItemsPaintWithoutHarm)
{
    brvl::backend::HeadlessSession session;
    std::vector<std::string> manyLabels;
    for (int i = 0; i < 1000; ++i)
    {
        manyLabels.push_back("step " + std::to_string(i));
    }
    Canvas canvas(160, 160);
    for (int kind = 0; kind < kControlKindCount; ++kind)
    {
        DesignerItem item = ItemOf(kind);
        item.displayDecimals = 2000000000;
        item.stepCount = 2000000000;
        item.selectedIndex = 999;
        item.stepLabels = manyLabels;
        item.value = 7.5;
        item.displayMin = 1e308;
        item.displayMax = -1e308;
        DrawPlacedItemBuffered(canvas.graphics, RECT{0, 0, 160, 160}, item);
        item.stepCount = -5;
        item.selectedIndex = -3;
        item.displayDecimals = -5;
        item.stepLabels.clear();
        DrawPlacedItemBuffered(canvas.graphics, RECT{0, 0, 3, 2}, item);
    }
    const DesignerPaintArguments args = PlacedItemArguments(
        [&]
        {
            DesignerItem item = ItemOf(23);
            item.stepLabels = manyLabels;
            return item;
        }());
    EXPECT_EQ(args.segments.count, 1000);
    EXPECT_EQ(canvas.bitmap.GetLastStatus(), Gdiplus::Ok);
}

// Contact sheets: every kind's palette sample and placed item at its preferred
// size, and its icon in a 64 x 64 box.
TEST(DesignerContactSheets, ShowEveryKindAsSamplePlacedAndIcon)
{
    brvl::backend::HeadlessSession session;
    const std::vector<ControlCatalogEntry> catalog = BuildControlCatalog();
    constexpr int kSheetWidth = 1500;
    constexpr int kMargin = 12;
    std::vector<RECT> rects;
    int x = kMargin;
    int y = kMargin;
    int shelf = 0;
    for (const ControlCatalogEntry& entry : catalog)
    {
        if (x + entry.width + kMargin > kSheetWidth)
        {
            x = kMargin;
            y += shelf + kMargin;
            shelf = 0;
        }
        rects.push_back(RECT{x, y, x + entry.width, y + entry.height});
        x += entry.width + kMargin;
        shelf = std::max(shelf, entry.height);
    }
    const int sheetHeight = y + shelf + kMargin;
    Canvas samples(kSheetWidth, sheetHeight);
    Canvas placed(kSheetWidth, sheetHeight);
    Canvas icons(int(catalog.size()) * 76 + kMargin, 88);
    for (size_t i = 0; i < catalog.size(); ++i)
    {
        // At its preferred size the icon is the sample 1:1, each on its own
        // bitmap: the toolkit's painters clear the whole surface they get.
        DrawKindIcon(samples.graphics, rects[i], catalog[i]);
        DesignerItem item = ItemOf(catalog[i].kind);
        item.label = "";
        DrawPlacedItemBuffered(placed.graphics, rects[i], item);
        const int left = kMargin + int(i) * 76;
        DrawKindIcon(icons.graphics, RECT{left, 12, left + 64, 76}, catalog[i]);
        // Every kind paints something of its own.
        EXPECT_GT(samples.TouchedIn(rects[i]), 0) << catalog[i].kindName;
        EXPECT_GT(placed.TouchedIn(rects[i]), 0) << catalog[i].kindName;
    }
    SavePicture(samples.bitmap, "designer_palette_samples.png");
    SavePicture(placed.bitmap, "designer_placed_items.png");
    SavePicture(icons.bitmap, "designer_icons.png");
}
