// The designer's colour well strip and kind palette, driven through injected
// input against a recording parent.

#include "grid/color_well_strip_wnd.h"
#include "grid/designer_palette_wnd.h"

#include "platform/win32/shell_folders.h"
#include "platform/win32/window_picture.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

using brvl::backend::ModalAnswer;
using brvl::backend::ModalRequest;

struct Told
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Told&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Told& t)
{
    return out << std::hex << "{0x" << t.message << ", " << std::dec << t.wParam << ", 0x"
               << std::hex << t.lParam << std::dec << "}";
}

// What `window` heard of `messages`, in order.
std::vector<Told> HeardOf(const MessageLog& log, const std::string& window,
                          std::initializer_list<UINT> messages)
{
    std::vector<Told> told;
    for (const LoggedMessage& entry : log.entries)
    {
        if (entry.window == window &&
            std::find(messages.begin(), messages.end(), entry.message) != messages.end())
        {
            told.push_back({entry.message, entry.wParam, entry.lParam});
        }
    }
    return told;
}

void SaveWindowPicture(const CWnd& window, const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / name;
    EXPECT_TRUE(RenderWindowToPng(window.GetSafeHwnd(), path)) << path;
    std::cout << "picture: " << path.string() << "\n";
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

// ---------------------------------------------------------------- palette

class DesignerPaletteTest : public WindowTest
{
protected:
    void Open(POINT origin, size_t entryCount = 31)
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(origin, CSize(400, 700))));
        ASSERT_TRUE(palette.Create(CRect(10, 20, 210, 620), &parent));
        std::vector<ControlCatalogEntry> entries = BuildControlCatalog();
        entries.resize(std::min(entries.size(), entryCount));
        palette.SetEntries(entries);
        Settle();
    }

    void SetUp() override { Open(POINT{0, 0}); }

    POINT At(int x, int y) const { return ScreenPoint(palette, x, y); }

    std::vector<Told> Heard() const
    {
        return HeardOf(log, "parent",
                       {WMU_PALETTE_SELECT, WMU_PALETTE_ADD, WMU_PALETTE_DRAG, WMU_PALETTE_DROP});
    }

    LPARAM Self() const { return reinterpret_cast<LPARAM>(&palette); }

    static LPARAM Packed(POINT screen)
    {
        return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
    }

    // Clicks far enough apart in time that no two make a double-click.
    void Click(POINT screen)
    {
        session->AdvanceTime(2000);
        session->Click(screen);
    }

    RecordingWnd parent{"parent", log};
    CDesignerPaletteWnd palette;
};

TEST_F(DesignerPaletteTest, CardsSitAHundredPixelsApartAndHitTheirCardOnly)
{
    EXPECT_EQ(palette.GetDlgCtrlID(), 20481);
    EXPECT_EQ(palette.GetStyle(), DWORD(0x56000000));
    const CDesignerPaletteWnd::EntryRects rects = palette.GetEntryRects(1);
    const RECT card{8, 108, 192, 192}, icon{18, 118, 82, 182}, title{94, 126, 182, 150},
        text{94, 154, 182, 174};
    EXPECT_TRUE(::EqualRect(&rects.card, &card));
    EXPECT_TRUE(::EqualRect(&rects.icon, &icon));
    EXPECT_TRUE(::EqualRect(&rects.title, &title));
    EXPECT_TRUE(::EqualRect(&rects.text, &text));
    struct Hit
    {
        POINT point;
        int index;
    };
    for (const Hit h :
         {Hit{{8, 108}, 1}, Hit{{191, 191}, 1}, Hit{{192, 150}, -1}, Hit{{100, 192}, -1},
          Hit{{100, 5}, -1}, Hit{{7, 50}, -1}, Hit{{100, 50}, 0}, Hit{{100, -50}, -1}})
    {
        EXPECT_EQ(palette.HitTest(h.point), h.index) << h.point.x << "," << h.point.y;
    }
}

TEST_F(DesignerPaletteTest, SetEntriesKeepsTheSelectionWithinTheCards)
{
    EXPECT_EQ(palette.GetSelectedEntry(), -1);
    Click(At(100, 550));
    EXPECT_EQ(palette.GetSelectedEntry(), 5);
    std::vector<ControlCatalogEntry> three = BuildControlCatalog();
    three.resize(3);
    palette.SetEntries(three);
    EXPECT_EQ(palette.GetSelectedEntry(), 0);
    palette.SetEntries({});
    EXPECT_EQ(palette.GetSelectedEntry(), -1);
    log.Clear();
    Click(At(100, 50)); // no cards: nothing to hit, nothing told
    EXPECT_TRUE(Heard().empty());
}

TEST_F(DesignerPaletteTest, ClicksSelectOnceAndEndWithoutADrop)
{
    // Below the last card: nothing armed, nothing told.
    std::vector<ControlCatalogEntry> three = BuildControlCatalog();
    three.resize(3);
    palette.SetEntries(three);
    session->PressButton(At(100, 350));
    EXPECT_EQ(palette.GetPressedIndex(), -1);
    session->ReleaseButton(At(100, 350));
    EXPECT_TRUE(Heard().empty());

    Click(At(100, 150));
    EXPECT_EQ(Heard(), (std::vector<Told>{{WMU_PALETTE_SELECT, 1, Self()},
                                          {WMU_PALETTE_DRAG, 1, LPARAM(-1)}}));
    log.Clear();
    // The selected card again: no SELECT, and the whole LPARAM is -1.
    Click(At(100, 150));
    EXPECT_EQ(Heard(), (std::vector<Told>{{WMU_PALETTE_DRAG, 1, LPARAM(-1)}}));
    EXPECT_EQ(palette.GetPressedIndex(), -1);
}

TEST_F(DesignerPaletteTest, ADoubleClickSelectsThenAdds)
{
    palette.SetEntries(BuildControlCatalog());
    session->Click(At(100, 250));
    session->Click(At(100, 250)); // the clock stands still: a double-click
    EXPECT_EQ(Heard(), (std::vector<Told>{{WMU_PALETTE_SELECT, 2, Self()},
                                          {WMU_PALETTE_DRAG, 2, LPARAM(-1)},
                                          {WMU_PALETTE_SELECT, 2, Self()},
                                          {WMU_PALETTE_ADD, 2, Self()}}));
    EXPECT_EQ(palette.GetSelectedEntry(), 2);
}

// A drag starts at 4 pixels on either axis and carries screen points, also
// where the top-level sits at negative screen coordinates.
TEST_F(DesignerPaletteTest, DragStartsAtFourPixelsAndDropsAtTheScreenPoint)
{
    for (const POINT origin : {POINT{0, 0}, POINT{-900, -650}})
    {
        palette.DestroyWindow();
        parent.DestroyWindow();
        Open(origin);
        session->AdvanceTime(2000);
        session->PressButton(At(40, 40));
        log.Clear();
        session->MoveMouse(At(43, 43));
        EXPECT_TRUE(Heard().empty());
        session->MoveMouse(At(40, 44));
        const POINT first = At(40, 44);
        session->MoveMouse(At(120, 300));
        const POINT second = At(120, 300);
        session->ReleaseButton(At(130, 310));
        const POINT drop = At(130, 310);
        EXPECT_EQ(Heard(), (std::vector<Told>{{WMU_PALETTE_DRAG, 0, Packed(first)},
                                              {WMU_PALETTE_DRAG, 0, Packed(second)},
                                              {WMU_PALETTE_DROP, 0, Packed(drop)}}));
        if (origin.x < 0)
        {
            ASSERT_LT(drop.x, 0);
            ASSERT_LT(drop.y, 0);
            const LPARAM packed = Heard().back().lParam;
            EXPECT_GT(packed, 0); // zero-extended, never -1
            EXPECT_EQ(GET_X_LPARAM(packed), drop.x);
            EXPECT_EQ(GET_Y_LPARAM(packed), drop.y);
        }
        EXPECT_EQ(palette.GetPressedIndex(), -1);
    }
}

TEST_F(DesignerPaletteTest, ALostCaptureEndsTheGestureWithoutADrop)
{
    session->PressButton(At(40, 40));
    session->MoveMouse(At(40, 60));
    log.Clear();
    parent.SetCapture(); // a message box or another window takes the pointer
    EXPECT_EQ(Heard(), (std::vector<Told>{{WMU_PALETTE_DRAG, 0, LPARAM(-1)}}));
    EXPECT_EQ(palette.GetPressedIndex(), -1);
    ::ReleaseCapture();
    log.Clear();
    session->MoveMouse(At(40, 90));
    session->ReleaseButton(At(40, 90));
    EXPECT_TRUE(Heard().empty());

    // Lost before any drag: disarmed, nothing told.
    session->AdvanceTime(2000);
    session->PressButton(At(40, 140));
    log.Clear();
    parent.SetCapture();
    EXPECT_EQ(palette.GetPressedIndex(), -1);
    ::ReleaseCapture();
    session->MoveMouse(At(40, 190));
    session->ReleaseButton(At(40, 190));
    EXPECT_TRUE(Heard().empty());
}

TEST_F(DesignerPaletteTest, TheWheelScrollsThirtyTwoPixelsWithinTheContent)
{
    for (int i = 0; i < 100; ++i)
    {
        session->Wheel(At(100, 100), -120);
    }
    EXPECT_EQ(palette.GetScrollOffset(), 31 * 100 - 600);
    session->Wheel(At(100, 100), 120);
    EXPECT_EQ(palette.GetScrollOffset(), 2500 - 32);
    // Scrolled, the point hits the card under it in the content.
    EXPECT_EQ(palette.HitTest(POINT{100, 600 - 1 - 8}), 30);
    for (int i = 0; i < 100; ++i)
    {
        session->Wheel(At(100, 100), 120);
    }
    EXPECT_EQ(palette.GetScrollOffset(), 0);
    session->Wheel(At(100, 100), 0); // below 1: down
    EXPECT_EQ(palette.GetScrollOffset(), 32);

    std::vector<ControlCatalogEntry> few = BuildControlCatalog();
    few.resize(4);
    palette.SetEntries(few);
    session->Wheel(At(100, 100), 120);
    session->Wheel(At(100, 100), -120);
    EXPECT_EQ(palette.GetScrollOffset(), 0);
}

TEST_F(DesignerPaletteTest, SurvivesAParentThatDestroysItOnSelect)
{
    parent.On(WMU_PALETTE_SELECT,
              [this](WPARAM, LPARAM) -> std::optional<LRESULT>
              {
                  palette.DestroyWindow();
                  return 0;
              });
    session->PressButton(At(100, 50));
    session->ReleaseButton(At(100, 50));
    EXPECT_FALSE(::IsWindow(palette.GetSafeHwnd()));
    EXPECT_EQ(Heard().size(), 1u);
}

TEST_F(DesignerPaletteTest, PaintsCardsWithIconsNamesAndSpans)
{
    Click(At(100, 150));
    session->Wheel(At(100, 100), -120);
    SaveWindowPicture(parent, "designer_palette.png");
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(palette.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(2, 2), 0x100E0Cu); // the palette's background
    // Card 1 (selected) is tinted toward the accent, card 2 is not.
    const COLORREF selected = picture.ColorAt(150, 100 - 32 + 85);
    const COLORREF plain = picture.ColorAt(150, 200 - 32 + 85);
    EXPECT_GT(GetRValue(selected), GetRValue(plain));
    EXPECT_GT(GetBValue(selected), GetBValue(plain) + 5);
    // Static: drawing the same state twice gives the same picture.
    WindowPicture again;
    palette.Invalidate(FALSE);
    ASSERT_TRUE(ComposeWindowPicture(palette.GetSafeHwnd(), again));
    EXPECT_EQ(picture.pixels, again.pixels);
}

TEST(DesignerPaletteDraw, PaintsAtAnySize)
{
    brvl::backend::HeadlessSession session;
    CDesignerPaletteWnd::State state;
    state.entries = BuildControlCatalog();
    state.selectedEntry = 3;
    for (const SIZE size : {SIZE{1, 1}, SIZE{20, 20}, SIZE{80, 3000}})
    {
        state.size = size;
        state.scrollOffset = 150;
        Gdiplus::Bitmap bitmap(size.cx, size.cy, Gdiplus::PixelFormat32bppPARGB);
        Gdiplus::Graphics graphics(&bitmap);
        CDesignerPaletteWnd::Draw(graphics, state);
        EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
    }
}

// ------------------------------------------------------------ colour strip

class ColorWellStripTest : public WindowTest
{
protected:
    void SetUp() override
    {
        folder =
            std::filesystem::temp_directory_path() /
            ("brvl_wells_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        brvl::win32::SetModuleFolderForTests(folder);
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 700, 100)));
    }

    void TearDown() override
    {
        strip.DestroyWindow();
        brvl::win32::SetModuleFolderForTests({});
        std::filesystem::remove_all(folder);
    }

    void CreateStrip(int width = 600)
    {
        ASSERT_TRUE(strip.Create(CRect(10, 10, 10 + width, 40), &parent));
        Settle();
    }

    std::filesystem::path File() const { return folder / "designer_colors.txt"; }

    POINT At(int x, int y) const { return ScreenPoint(strip, x, y); }

    std::vector<Told> Picked() const { return HeardOf(log, "parent", {WMU_COLOR_WELL_PICKED}); }

    std::filesystem::path folder;
    RecordingWnd parent{"parent", log};
    CColorWellStripWnd strip;
};

const std::string kBuiltInLines =
    "5284E5\r\nEBA76E\r\nB1C972\r\n5CC4E8\r\n7E6ED4\r\nDE8FAB\r\nD2D2D2\r\n";

TEST_F(ColorWellStripTest, WritesNothingUntilANewColourThenEveryLineInCrLf)
{
    CreateStrip();
    EXPECT_EQ(strip.GetDlgCtrlID(), 20483);
    EXPECT_EQ(strip.GetStyle(), DWORD(0x54000100));
    EXPECT_EQ(std::filesystem::path(strip.GetColorsFilePath()), File());
    EXPECT_EQ(strip.GetColors(), CColorWellStripWnd::BuiltInColors());
    EXPECT_FALSE(std::filesystem::exists(File()));
    strip.AddColor(0x5284E5);
    EXPECT_FALSE(std::filesystem::exists(File()));
    strip.AddColor(0x0A0B0C);
    EXPECT_EQ(ReadBytes(File()), kBuiltInLines + "0A0B0C\r\n");
    EXPECT_EQ(strip.GetCurrentColor(), 0x5284E5u); // adding selects nothing
    EXPECT_TRUE(Picked().empty());
}

TEST_F(ColorWellStripTest, ReadsHexLinesAndSkipsTheRest)
{
    WriteBytes(File(), "a0b0c0\n  5284E5\nzz\r\n0x1F\n\n12zz\nFF5284E5\r\n");
    CreateStrip();
    std::vector<COLORREF> expected = CColorWellStripWnd::BuiltInColors();
    expected.insert(expected.end(), {0xA0B0C0, 0x1F, 0x12, 0xFF5284E5});
    EXPECT_EQ(strip.GetColors(), expected);
    // Loading saves nothing; the next save writes the wide value's low 24 bits.
    EXPECT_EQ(ReadBytes(File()), "a0b0c0\n  5284E5\nzz\r\n0x1F\n\n12zz\nFF5284E5\r\n");
    strip.AddColor(0x333333);
    EXPECT_EQ(ReadBytes(File()),
              kBuiltInLines + "A0B0C0\r\n00001F\r\n000012\r\n5284E5\r\n333333\r\n");
    EXPECT_EQ(CColorWellStripWnd::ParseColorLines("  \t0XaB\nFFFFFFFFFFFF\n0x\n-\n"),
              (std::vector<COLORREF>{0xAB, 0xFFFFFFFF, 0}));
}

TEST_F(ColorWellStripTest, ClickingAWellPicksItsColourAndTheGapNothing)
{
    CreateStrip();
    const auto left = [](int i) { return CColorWellStripWnd::WellRect(i, 30).left; };
    EXPECT_EQ(left(0), 2);
    EXPECT_EQ(left(1), 32);
    EXPECT_EQ(left(2), 62);
    EXPECT_EQ(left(7), 212); // the add well after seven colours
    const RECT first = CColorWellStripWnd::WellRect(0, 30);
    const RECT expected{2, 2, 28, 28};
    EXPECT_TRUE(::EqualRect(&first, &expected));
    EXPECT_EQ(CColorWellStripWnd::WellRect(0, 3).right, 6); // never below 4 px

    const auto click = [this](POINT screen)
    {
        session->AdvanceTime(2000);
        session->Click(screen);
    };
    click(At(30, 15)); // between wells 0 and 1
    click(At(45, 1));  // above well 1
    EXPECT_TRUE(Picked().empty());
    click(At(45, 15));
    EXPECT_EQ(Picked(), (std::vector<Told>{
                            {WMU_COLOR_WELL_PICKED, 0xEBA76E, reinterpret_cast<LPARAM>(&strip)}}));
    EXPECT_EQ(strip.GetCurrentColor(), 0xEBA76Eu);
    EXPECT_TRUE(session->ModalLog().empty());
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(ColorWellStripTest, TheAddWellAsksTheColourDialog)
{
    CreateStrip();
    const POINT addWell = At(220, 15);
    // Cancelled: nothing happens.
    session->Click(addWell);
    ASSERT_EQ(session->ModalLog().size(), 1u);
    EXPECT_EQ(session->ModalLog()[0].request.initialColor, 0x5284E5u);
    EXPECT_TRUE(Picked().empty());
    EXPECT_FALSE(std::filesystem::exists(File()));

    // A known colour: picked, and the file rewritten with the list unchanged.
    session->SetResponder([](const ModalRequest&) { return ModalAnswer::With(0xEBA76E); });
    session->AdvanceTime(2000);
    session->Click(addWell);
    EXPECT_EQ(Picked(), (std::vector<Told>{
                            {WMU_COLOR_WELL_PICKED, 0xEBA76E, reinterpret_cast<LPARAM>(&strip)}}));
    EXPECT_EQ(strip.GetColors(), CColorWellStripWnd::BuiltInColors());
    EXPECT_EQ(ReadBytes(File()), kBuiltInLines);
    EXPECT_EQ(strip.GetCurrentColor(), 0xEBA76Eu);

    // A new colour joins the list, becomes current and is told.
    log.Clear();
    session->SetResponder([](const ModalRequest&) { return ModalAnswer::With(0x102030); });
    session->AdvanceTime(2000);
    session->Click(addWell);
    EXPECT_EQ(session->ModalLog().back().request.initialColor, 0xEBA76Eu);
    EXPECT_EQ(strip.GetColors().back(), 0x102030u);
    EXPECT_EQ(strip.GetCurrentColor(), 0x102030u);
    EXPECT_EQ(ReadBytes(File()), kBuiltInLines + "102030\r\n");
    EXPECT_EQ(Picked().size(), 1u);
    EXPECT_EQ(Picked()[0].wParam, 0x102030u);
}

TEST_F(ColorWellStripTest, OddColourFilesChangeNothingOrAddWhatTheyHold)
{
    // A directory where the file should be: read as nothing, written never.
    std::filesystem::create_directories(File());
    CreateStrip();
    EXPECT_EQ(strip.GetColors(), CColorWellStripWnd::BuiltInColors());
    strip.AddColor(0x010203);
    EXPECT_TRUE(std::filesystem::is_directory(File()));
    EXPECT_EQ(strip.GetColors().size(), 8u);
    strip.DestroyWindow();
    std::filesystem::remove_all(File());

    // Junk, a very long line and hundreds of colours.
    std::string bytes = std::string(1 << 20, 'q') + "\n" + std::string(200000, '7') + "\n";
    for (int i = 0; i < 400; ++i)
    {
        char line[16];
        std::snprintf(line, sizeof line, "%06X\n", 0x100000 + i);
        bytes += line;
    }
    WriteBytes(File(), bytes);
    CColorWellStripWnd many;
    ASSERT_TRUE(many.Create(CRect(0, 0, 600, 30), &parent));
    EXPECT_EQ(many.GetColors().size(), 7u + 1u + 400u); // the long line saturates to one value
    many.SetCurrentColor(0x100005);
    SaveWindowPicture(parent, "color_well_strip_many.png");
    many.DestroyWindow();
}

TEST_F(ColorWellStripTest, PaintsWellsTheCurrentOutlineAndThePlus)
{
    CreateStrip(300);
    strip.SetCurrentColor(0xEBA76E);
    SaveWindowPicture(parent, "color_well_strip.png");
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(strip.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(15, 15), 0x5284E5u); // well 0's colour
    EXPECT_EQ(picture.ColorAt(45, 15), 0xEBA76Eu); // well 1
    EXPECT_EQ(picture.ColorAt(30, 15), 0x100E0Cu); // the gap
    EXPECT_EQ(picture.ColorAt(215, 6), 0x1C1714u); // the add well's fill
    // The current well's outline is light, the others' faint.
    EXPECT_GT(GetRValue(picture.ColorAt(32, 15)), 0x6E + 80); // well 1, current
    EXPECT_LT(GetRValue(picture.ColorAt(62, 15)), 0x72 + 50); // well 2
    // The plus sign is lit at the add well's centre.
    EXPECT_GT(GetRValue(picture.ColorAt(225, 15)), 0x80);

    CColorWellStripWnd::State state = strip.GetState();
    for (const SIZE size : {SIZE{1, 1}, SIZE{5, 3}, SIZE{4000, 30}})
    {
        state.size = size;
        Gdiplus::Bitmap bitmap(size.cx, size.cy, Gdiplus::PixelFormat32bppPARGB);
        Gdiplus::Graphics graphics(&bitmap);
        CColorWellStripWnd::Draw(graphics, state);
        EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
    }
}

} // namespace
