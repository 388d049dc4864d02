#include "tests/display/display_test_support.h"

#include "grid/ux_designer_dlg.h"
#include "platform/win32/shell_folders.h"

#include <memory>

using namespace brvl::backend;

namespace
{

// A card dragged from the palette by the real pointer lands in the grid cell
// under the drop.
TEST_F(DisplayTest, APaletteCardDraggedOntoTheGridLandsInTheCellUnderTheDrop)
{
    // The colour strip keeps its colours beside the executable.
    const std::filesystem::path bin = kDisplayOutput / "ux_designer_bin";
    std::filesystem::create_directories(bin);
    brvl::win32::SetModuleFolderForTests(bin);

    ASSERT_TRUE(frame.CreateTopLevel(RECT{0, 0, 200, 100}, WS_POPUP | WS_VISIBLE));
    auto designer = std::make_unique<CUXDesignerDlg>(&frame);
    ASSERT_TRUE(designer->Create(CUXDesignerDlg::kTemplateId, &frame));
    designer->SetWindowPos(nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    designer->ShowWindow(SW_SHOW);
    DispatchFor(std::chrono::milliseconds(300));

    const CDesignerPaletteWnd::EntryRects card = designer->palette.GetEntryRects(0);
    const POINT from = ScreenOf(designer->palette, (card.card.left + card.card.right) / 2,
                                (card.card.top + card.card.bottom) / 2);
    const CDesignerGridWnd::Geometry geometry = CDesignerGridWnd::GeometryOf(designer->grid.layout);
    const RECT cell = geometry.CellRect(3, 2, 1, 1);
    const POINT to = ScreenOf(designer->grid, cell.left + 10, cell.top + 10);
    const bool dropped = RunWhileDispatching(
        Xdotool("search --sync --onlyvisible --name '^UXDesigner$'") + " >/dev/null && " +
            Xdotool("mousemove " + At(from) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " +
                    At(POINT{from.x + 20, from.y}) + " sleep 0.1 mousemove " +
                    At(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2}) + " sleep 0.1 mousemove " +
                    At(to) + " sleep 0.2 mouseup 1"),
        [&] { return !designer->grid.layout.items.empty(); });
    ASSERT_TRUE(dropped) << "nothing was dropped";
    const DesignerItem& item = designer->grid.layout.items.front();
    EXPECT_EQ(item.gridX, 3);
    EXPECT_EQ(item.gridY, 2);
    EXPECT_EQ(designer->grid.selectedId, item.instanceId);
    EXPECT_FALSE(designer->grid.dropPreviewVisible);
    CString parameterId;
    designer->GetDlgItemText(1008, parameterId);
    EXPECT_EQ(parameterId, CString(L"ITEM_1"));

    DispatchFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(wx_testing::SaveScreenPng(kDisplayOutput / "display_ux_designer.png"));
    designer->DestroyWindow();
    designer.reset();
    brvl::win32::SetModuleFolderForTests({});
}

} // namespace
