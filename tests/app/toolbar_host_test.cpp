// The toolbar host: layout at any DPI, tooltips, command states and clicks,
// its images and their caches, and its picture.

#include "tests/platform/test_windows.h"

#include "app/toolbar_host_wnd.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/stdctrl/tooltip_control.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/shell_folders.h"
#include "platform/win32/window_picture.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

constexpr int kImport = 1001;
constexpr int kReference = 1002;
constexpr int kProcess = 1003;
constexpr int kStop = 1004;
constexpr int kShowToolbar = 32772; // its string is "Show or hide Toolbar\nToolbar"

std::vector<int>& Commands()
{
    static std::vector<int> commands;
    return commands;
}

} // namespace

// A frame whose handlers record commands; Process is disabled and Stop checked.
class ToolbarTestFrame : public CFrameWnd
{
public:
    bool disableProcess = true;

protected:
    void OnAnyCommand(UINT id) { Commands().push_back(static_cast<int>(id)); }
    void OnUpdateProcess(CCmdUI* cmdUI) { cmdUI->Enable(!disableProcess); }
    void OnUpdateStop(CCmdUI* cmdUI) { cmdUI->SetCheck(1); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ToolbarTestFrame, CFrameWnd)
ON_COMMAND_RANGE(1000, 1100, &ToolbarTestFrame::OnAnyCommand)
ON_UPDATE_COMMAND_UI(kProcess, &ToolbarTestFrame::OnUpdateProcess)
ON_UPDATE_COMMAND_UI(kStop, &ToolbarTestFrame::OnUpdateStop)
END_MESSAGE_MAP()

namespace
{

using brvl::win32::ScaleForDpi;

ToolbarButtonDef Button(int id, const std::wstring& image, int source = 0)
{
    ToolbarButtonDef def;
    def.button.commandId = id;
    def.button.imageName = image;
    def.button.imageSource = source;
    return def;
}

ToolbarButtonDef Separator(int width96)
{
    ToolbarButtonDef def;
    def.type = ToolbarButtonDef::kSeparator;
    def.separatorWidth = width96;
    return def;
}

// The frame's bar: the four buttons with a separator before Stop.
std::vector<ToolbarButtonDef> FrameButtons()
{
    ToolbarButtonDef reference = Button(kReference, L"332");
    reference.button.tooltipTitle = L"Create reference";
    reference.button.tooltipText = L"Make a reference profile from a file ";
    ToolbarButtonDef process = Button(kProcess, L"333");
    process.button.tooltipTitle = L"Process and Save";
    ToolbarButtonDef stop = Button(kStop, L"334");
    stop.button.tooltipTitle = L"Stop";
    stop.button.tooltipText = L"Stop playback\r\n";
    return {Button(kImport, L"331"), reference, process, Separator(12), stop};
}

COLORREF PixelAt(const Gdiplus::Bitmap& bitmap, int x, int y)
{
    Gdiplus::Color color;
    bitmap.GetPixel(x, y, &color);
    return color.ToCOLORREF();
}

void WritePng(const std::filesystem::path& path, int width, int height)
{
    Gdiplus::Bitmap bitmap(width, height);
    {
        Gdiplus::Graphics graphics(&bitmap);
        const Gdiplus::SolidBrush brush(Gdiplus::Color(255, 40, 90, 160));
        graphics.FillRectangle(&brush, 0, 0, width, height);
    }
    ASSERT_EQ(bitmap.SaveAsPng(path.string()), Gdiplus::Ok);
}

class ToolbarHost : public WindowTest
{
protected:
    void SetUp() override { Commands().clear(); }
    void TearDown() override
    {
        bar.DestroyWindow();
        if (frame != nullptr && frame->GetSafeHwnd() != nullptr)
        {
            frame->DestroyWindow(); // deletes the frame
        }
        frame = nullptr;
        brvl::win32::ChangeDpi(96);
        brvl::win32::SetModuleFolderForTests({});
    }

    // A frame with the bar across its top, `height96` pixels at 96 DPI.
    void Open(UINT dpi, int width, int height96 = 48)
    {
        brvl::win32::ChangeDpi(dpi);
        frame = new ToolbarTestFrame;
        ASSERT_TRUE(frame->CreateEx(0, nullptr, L"frame", WS_POPUP | WS_VISIBLE,
                                    CRect(0, 0, width, 400), nullptr, 0));
        ASSERT_TRUE(bar.Create(frame, 100));
        bar.MoveWindow(0, 0, width, ScaleForDpi(height96, dpi));
        Settle();
    }

    POINT Centre(int item) const
    {
        const CRect& r = bar.Items()[static_cast<size_t>(item)].rect;
        return ScreenPoint(bar, r.CenterPoint().x, r.CenterPoint().y);
    }

    void Click(int item)
    {
        session->AdvanceTime(1000); // not the second half of a double click
        session->Click(Centre(item));
        PumpPendingMessages();
    }

    ToolbarTestFrame* frame = nullptr;
    CToolbarHostWnd bar;
};

TEST_F(ToolbarHost, LaysOutTheRowAtEveryDpi)
{
    struct Case
    {
        UINT dpi;
        int firstX, top, height, buttonWidth, gap, separator;
    };
    const Case cases[] = {
        {96, 8, 5, 38, 48, 2, 12},
        {144, 12, 7, 57, 72, 3, 18},
        {192, 16, 10, 76, 96, 4, 24},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.dpi);
        Open(c.dpi, 800);
        bar.SetButtons(FrameButtons());
        const auto& items = bar.Items();
        ASSERT_EQ(items.size(), 5u);
        EXPECT_EQ(items[0].rect,
                  CRect(c.firstX, c.top, c.firstX + c.buttonWidth, c.top + c.height));
        EXPECT_EQ(items[1].rect.left, items[0].rect.right + c.gap);
        EXPECT_EQ(items[1].rect.Width(), c.buttonWidth);
        EXPECT_EQ(items[3].rect.left, items[2].rect.right + c.gap);
        EXPECT_EQ(items[3].rect.Width(), c.separator);
        EXPECT_EQ(items[4].rect.left, items[3].rect.right) << "no gap after a separator";
        EXPECT_FALSE(bar.HasOverflow());

        const CToolbarHostWnd::State state = bar.GetState();
        Gdiplus::Bitmap picture(state.size.cx, state.size.cy);
        {
            Gdiplus::Graphics graphics(&picture);
            CToolbarHostWnd::Draw(graphics, state);
        }
        const int line = ScaleForDpi(1, c.dpi);
        const int bottom = state.size.cy - 1;
        EXPECT_EQ(PixelAt(picture, 700, bottom), ToolbarTheme(0).bottomLine);
        EXPECT_EQ(PixelAt(picture, 700, bottom - line + 1), ToolbarTheme(0).bottomLine);
        EXPECT_EQ(PixelAt(picture, 700, bottom - line), ToolbarTheme(0).background);
        TearDown();
    }
}

TEST_F(ToolbarHost, LeavesOutWhatDoesNotFitAndHidesGroups)
{
    Open(96, 200);
    ToolbarButtonDef wide = Button(kProcess, L"333");
    wide.button.displayMode = 1;
    wide.button.width = 120;
    wide.button.tooltipTitle = L"Wide";
    // 8 + 48 + 2 + 48 + 2 = 108: the wide one does not fit before 192, Stop does.
    bar.SetButtons(
        {Button(kImport, L"331"), Button(kReference, L"332"), wide, Button(kStop, L"334")});
    const auto& items = bar.Items();
    EXPECT_TRUE(items[2].rect.IsRectEmpty());
    EXPECT_EQ(items[3].rect.left, 108) << "a later, narrower item still appears";
    EXPECT_TRUE(bar.HasOverflow());
    EXPECT_FALSE(brvl::win32::RequestTooltip(bar, CPoint(170, 24)).has_value())
        << "an item left out has no tool";

    // Two groups: one hides the next two items, one hides command ids.
    ToolbarButtonDef byCount;
    byCount.type = ToolbarButtonDef::kGroupToggle;
    byCount.group.commandId = 0;
    byCount.groupItemCount = 2;
    byCount.groupExpanded = false;
    ToolbarButtonDef byIds = byCount;
    byIds.groupItemCount = 0;
    byIds.groupCommandIds = {kImport};
    bar.MoveWindow(0, 0, 1000, 48);
    bar.SetButtons({byCount, Button(kReference, L"332"), Separator(12), Button(kStop, L"334"),
                    byIds, Button(kImport, L"331")});
    EXPECT_TRUE(bar.Items()[1].rect.IsRectEmpty());
    EXPECT_TRUE(bar.Items()[2].rect.IsRectEmpty()) << "a separator is hidden by a group";
    EXPECT_FALSE(bar.Items()[3].rect.IsRectEmpty());
    EXPECT_TRUE(bar.Items()[5].rect.IsRectEmpty());
    EXPECT_FALSE(bar.HasOverflow());
    EXPECT_EQ(bar.Items()[0].rect.Width(), 28 + 14) << "the empty face plus its marker";

    Click(0);
    EXPECT_TRUE(bar.Items()[0].expanded);
    EXPECT_FALSE(bar.Items()[1].rect.IsRectEmpty()) << "expanding shows the group again";
    EXPECT_TRUE(bar.Items()[5].rect.IsRectEmpty());
    EXPECT_TRUE(Commands().empty()) << "a toggle without a command sends nothing";
}

TEST_F(ToolbarHost, PreparesTooltipsFromTheFaceAndTheCommandString)
{
    Open(96, 800);
    std::vector<ToolbarButtonDef> defs = FrameButtons();
    ToolbarButtonDef fromString = Button(kShowToolbar, L"331");
    ToolbarButtonDef titleOnly = Button(0, L"331");
    titleOnly.button.caption = L"  Caption\ntwo lines ";
    defs.push_back(fromString);
    defs.push_back(titleOnly);
    bar.SetButtons(defs);
    const auto& items = bar.Items();
    EXPECT_EQ(items[0].tooltipTitle, L"");
    EXPECT_EQ(items[0].tooltipText, L"");
    EXPECT_EQ(items[1].tooltipText, L"Make a reference profile from a file");
    EXPECT_EQ(items[4].tooltipText, L"Stop playback");
    EXPECT_EQ(items[5].tooltipTitle, L"Toolbar");
    EXPECT_EQ(items[5].tooltipText, L"Show or hide Toolbar");
    EXPECT_EQ(items[6].tooltipTitle, L"Caption two lines") << "a caption stands in for the title";

    const auto shown = [&](int item)
    {
        const CRect& r = items[static_cast<size_t>(item)].rect;
        return brvl::win32::RequestTooltip(bar, r.CenterPoint());
    };
    ASSERT_TRUE(shown(1).has_value());
    EXPECT_EQ(shown(1)->title, L"Create reference");
    EXPECT_EQ(shown(1)->text, L"Make a reference profile from a file");
    ASSERT_TRUE(shown(2).has_value());
    EXPECT_EQ(shown(2)->text, L"Process and Save") << "an empty text shows the title";
    ASSERT_TRUE(shown(0).has_value());
    EXPECT_EQ(shown(0)->title, L"");
    EXPECT_EQ(shown(0)->text, L"");
    EXPECT_FALSE(brvl::win32::RequestTooltip(bar, items[3].rect.CenterPoint()).has_value())
        << "a separator has no tool";
}

TEST_F(ToolbarHost, FollowsUpdateHandlersAndSendsClicksToTheFrame)
{
    Open(96, 800);
    bar.SetButtons(FrameButtons());
    const auto& items = bar.Items();
    EXPECT_TRUE(items[0].enabled) << "a command without an update handler stays enabled";
    EXPECT_FALSE(items[2].enabled);
    EXPECT_TRUE(items[4].checked);

    Click(2);
    EXPECT_TRUE(Commands().empty()) << "a disabled button ignores clicks";
    EXPECT_EQ(bar.PressedIndex(), -1);

    session->AdvanceTime(1000);
    session->PressButton(Centre(1));
    PumpPendingMessages();
    EXPECT_EQ(bar.PressedIndex(), 1);
    session->ReleaseButton(ScreenPoint(bar, items[0].rect.CenterPoint().x, 20));
    PumpPendingMessages();
    EXPECT_TRUE(Commands().empty()) << "released outside the pressed button";
    EXPECT_EQ(bar.PressedIndex(), -1);

    Click(1);
    EXPECT_EQ(Commands(), std::vector<int>{kReference});

    // The state follows the handler on the next idle pass.
    frame->disableProcess = false;
    bar.SendMessage(WM_IDLEUPDATECMDUI);
    EXPECT_TRUE(items[2].enabled);
    Click(2);
    EXPECT_EQ(Commands(), (std::vector<int>{kReference, kProcess}));

    // Replacing the buttons while one is pressed forgets the press.
    session->AdvanceTime(1000);
    session->PressButton(Centre(0));
    PumpPendingMessages();
    bar.SetButtons(FrameButtons());
    session->ReleaseButton(Centre(0));
    PumpPendingMessages();
    EXPECT_EQ(Commands(), (std::vector<int>{kReference, kProcess}));
    EXPECT_EQ(bar.PressedIndex(), -1);
}

TEST_F(ToolbarHost, FindsResourceAndFileImages)
{
    for (const wchar_t* name : {L"331", L"332", L"333", L" 334 "})
    {
        std::unique_ptr<Gdiplus::Image> image(CToolbarHostWnd::LoadPngResource(name));
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->GetWidth(), 32u);
        EXPECT_EQ(image->GetHeight(), 32u);
    }
    for (const wchar_t* name : {L"", L"  ", L"335", L"99999999999999", L"missing"})
    {
        EXPECT_EQ(CToolbarHostWnd::LoadPngResource(name), nullptr) << name;
    }

    TempDir temp;
    const std::filesystem::path folder = temp.Path() / "images";
    std::filesystem::create_directories(folder / "icons");
    WritePng(folder / "Play.png", 32, 32);
    WritePng(folder / "12.png", 64, 32);
    WritePng(folder / "icons" / "Stop.png", 16, 16);
    std::ofstream(folder / "Truncated.png", std::ios::binary) << "\x89PNG\r\n\x1a\n\0\0";
    std::ofstream(folder / "Text.png") << "not an image";

    Open(96, 800);
    bar.SetResourceFolder(folder.wstring(), true);
    EXPECT_EQ(bar.ResolvedResourceFolder(), folder.wstring()) << "an absolute folder";
    EXPECT_EQ(bar.ImageFilePath(L" Play "), folder.wstring() + L"/Play.png");
    EXPECT_EQ(bar.ImageFilePath(L"12.png"), folder.wstring() + L"/12.png");
    bar.SetResourceFolder(L"C:\\Images", true);
    EXPECT_EQ(bar.ResolvedResourceFolder(), L"C:\\Images");
    bar.SetResourceFolder(L"\\\\server\\share", true);
    EXPECT_EQ(bar.ResolvedResourceFolder(), L"\\\\server\\share");
    brvl::win32::SetModuleFolderForTests(folder);
    bar.SetResourceFolder(L"icons", true);
    EXPECT_EQ(bar.ResolvedResourceFolder(), folder.wstring() + L"/icons");
    bar.SetResourceFolder(L"", true);
    EXPECT_EQ(bar.ResolvedResourceFolder(), folder.wstring());
    bar.SetResourceFolder(L"icons", false);
    EXPECT_EQ(bar.ResolvedResourceFolder(), L"icons");

    bar.SetResourceFolder(folder.wstring(), true);
    bar.SetButtons({Button(1, L"Play", 1), Button(2, L"12.png", 1), Button(3, L"Truncated", 1),
                    Button(4, L"Text", 1), Button(5, L"Absent", 1), Button(6, L"  ", 1)});
    const auto& items = bar.Items();
    EXPECT_NE(bar.GetImage(items[0]), nullptr);
    EXPECT_NE(bar.GetImage(items[1]), nullptr);
    for (size_t i = 2; i < items.size(); ++i)
    {
        EXPECT_EQ(bar.GetImage(items[i]), nullptr) << i;
        EXPECT_EQ(items[i].rect.Width(), 28) << "a missing image keeps the plain width";
    }
    EXPECT_EQ(bar.CachedImageCount(), 2u);

    // A missing file is looked for again and found once it is there.
    WritePng(folder / "Absent.png", 32, 32);
    EXPECT_NE(bar.GetImage(items[4]), nullptr);

    Gdiplus::Image* wide = bar.GetScaledImage(items[1], 20);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->GetWidth(), 40u);
    EXPECT_EQ(wide->GetHeight(), 20u);
    EXPECT_EQ(bar.GetScaledImage(items[1], 0), nullptr);
    EXPECT_EQ(bar.GetScaledImage(items[1], -3), nullptr);
}

TEST_F(ToolbarHost, KeepsOneScaledCopyPerHeightUntilTheBarChanges)
{
    Open(96, 800);
    bar.SetButtons({Button(kImport, L"331")});
    bar.ClearScaledImageCache();
    const ToolbarItem& item = bar.Items()[0];
    Gdiplus::Image* at32 = bar.GetScaledImage(item, 32);
    ASSERT_NE(at32, nullptr);
    ASSERT_NE(bar.GetScaledImage(item, 30), nullptr);
    EXPECT_EQ(bar.ScaledImageCount(), 2u);
    EXPECT_EQ(bar.GetScaledImage(item, 32), at32);
    EXPECT_EQ(bar.ScaledImageCount(), 2u);

    // Layout and painting use the cached copies (32 to measure, 30 to paint).
    bar.LayoutButtons();
    bar.GetState();
    EXPECT_EQ(bar.ScaledImageCount(), 2u);

    bar.SetBarHeight(36); // unchanged: nothing happens
    EXPECT_EQ(bar.ScaledImageCount(), 2u);
    bar.SetBarHeight(10);
    EXPECT_EQ(bar.GetBarHeight(), 24);
    EXPECT_EQ(bar.ScaledImageCount(), 1u) << "emptied, then the layout measured again";
    EXPECT_EQ(bar.CachedImageCount(), 1u) << "decoded images stay";
    bar.SetTheme(7);
    EXPECT_EQ(bar.GetThemeIndex(), 7);
    EXPECT_EQ(bar.GetState().colors.background, ToolbarTheme(0).background);
    bar.DestroyWindow();
    EXPECT_EQ(bar.ScaledImageCount(), 0u);
    EXPECT_EQ(bar.CachedImageCount(), 0u);
}

TEST_F(ToolbarHost, PaintsTheFrameBarInThemeTwo)
{
    for (const UINT dpi : {96u, 192u})
    {
        SCOPED_TRACE(dpi);
        Open(dpi, ScaleForDpi(320, dpi));
        bar.SetTheme(2);
        bar.SetButtons(FrameButtons());
        const CToolbarHostWnd::State state = bar.GetState();
        ASSERT_EQ(state.items.size(), 5u);
        Gdiplus::Bitmap picture(state.size.cx, state.size.cy);
        {
            Gdiplus::Graphics graphics(&picture);
            CToolbarHostWnd::Draw(graphics, state);
        }
        const std::string name = "toolbar_theme2_" + std::to_string(dpi) + ".png";
        ASSERT_EQ(picture.SaveAsPng((std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / name).string()),
                  Gdiplus::Ok);

        const ToolbarThemeColors theme = ToolbarTheme(2);
        const CRect disabled = state.items[2].rect;
        EXPECT_EQ(PixelAt(picture, disabled.left + 1, disabled.top + 1),
                  toolbar_colors::kDisabledFill);
        // The disabled image is grey: every inked pixel has r = g = b within rounding.
        int grey = 0;
        int coloured = 0;
        for (int y = disabled.top; y < disabled.bottom; ++y)
        {
            for (int x = disabled.left; x < disabled.right; ++x)
            {
                const COLORREF c = PixelAt(picture, x, y);
                if (c == toolbar_colors::kDisabledFill)
                {
                    continue;
                }
                const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                (std::abs(r - g) <= 2 && std::abs(g - b) <= 2 ? grey : coloured) += 1;
            }
        }
        EXPECT_GT(grey, 0);
        EXPECT_EQ(coloured, 0);
        const CRect checked = state.items[4].rect;
        EXPECT_EQ(PixelAt(picture, checked.left, checked.top + 2), theme.checkedBorder);
        EXPECT_EQ(PixelAt(picture, checked.left + 1, checked.top + 2), theme.checkedFill);
        const CRect separator = state.items[3].rect;
        const int middle = separator.left + (separator.Width() - ScaleForDpi(1, dpi)) / 2;
        EXPECT_EQ(PixelAt(picture, middle, separator.CenterPoint().y), toolbar_colors::kSeparator);
        EXPECT_EQ(PixelAt(picture, state.size.cx - 2, 2), theme.background);

        // The window paints what Draw paints.
        WindowPicture shown;
        ASSERT_TRUE(ComposeWindowPicture(bar.GetSafeHwnd(), shown));
        EXPECT_EQ(shown.ColorAt(disabled.left + 1, disabled.top + 1),
                  toolbar_colors::kDisabledFill);
        EXPECT_EQ(shown.ColorAt(checked.left, checked.top + 2), theme.checkedBorder);
        TearDown();
    }
}

TEST_F(ToolbarHost, TakesTheMenuFontAtTheWindowsDpi)
{
    for (const UINT dpi : {96u, 192u})
    {
        SCOPED_TRACE(dpi);
        Open(dpi, 400);
        const LOGFONTW& font = bar.BarFontDescription();
        EXPECT_EQ(std::wstring(font.lfFaceName), L"Segoe UI");
        EXPECT_EQ(font.lfHeight, -MulDiv(9, static_cast<int>(dpi), 72));
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        TearDown();
    }
    NONCLIENTMETRICSW metrics;
    metrics.cbSize = sizeof(metrics) - 1;
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0));
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, nullptr, 0));
}

TEST_F(ToolbarHost, DecodesAHugeImageOnceAndScalesItOnce)
{
    TempDir temp;
    WritePng(temp.Path() / "Huge.png", 10000, 10000);
    Open(96, 800);
    bar.SetResourceFolder(temp.Path().wstring(), true);
    bar.SetButtons({Button(1, L"Huge", 1)});
    EXPECT_EQ(bar.CachedImageCount(), 1u);
    EXPECT_EQ(bar.ScaledImageCount(), 1u);
    EXPECT_EQ(bar.Items()[0].rect.Width(), 32 + 16);
    bar.UpdateWindow();
    bar.LayoutButtons();
    EXPECT_EQ(bar.ScaledImageCount(), 2u) << "one copy to measure, one to paint";
}

TEST_F(ToolbarHost, CopesWithEmptyClientsAndManyItems)
{
    Open(96, 800, 48);
    bar.MoveWindow(0, 0, 0, 0);
    bar.SetButtons(FrameButtons());
    EXPECT_TRUE(bar.HasOverflow());
    for (const CToolbarHostWnd::ItemState& item : bar.GetState().items)
    {
        EXPECT_EQ(item.type, ToolbarButtonDef::kSeparator) << "only separators never overflow";
    }
    bar.UpdateWindow();

    bar.MoveWindow(0, 0, 800, 48);
    std::vector<ToolbarButtonDef> many;
    for (int i = 0; i < 400; ++i)
    {
        many.push_back(i % 5 == 4 ? Separator(8) : Button(1000 + i % 5, L"331"));
    }
    bar.SetButtons(many);
    int shown = 0;
    for (const ToolbarItem& item : bar.Items())
    {
        if (item.def.type == ToolbarButtonDef::kButton && !item.rect.IsRectEmpty())
        {
            ++shown;
            EXPECT_LE(item.rect.right, 800 - 8);
        }
    }
    EXPECT_GT(shown, 10);
    EXPECT_TRUE(bar.HasOverflow());
    EXPECT_EQ(bar.CachedImageCount(), 4u) << "the frame's four, decoded once";
    bar.UpdateWindow();
}

} // namespace
