// Accelerator tables loaded from resources.

#include "tests/platform/test_windows.h"

#include <vector>

class AcceleratorTable : public WindowTest
{
};

TEST_F(AcceleratorTable, Table128TranslatesEveryKeyOfTheProgram)
{
    struct Case
    {
        UINT vk;
        UINT modifiers;
        UINT command; // 0: none
    };
    constexpr UINT ctrl = MK_CONTROL;
    constexpr UINT shift = MK_SHIFT;
    constexpr UINT alt = brvl::win32::kModifierAlt;
    const Case cases[] = {
        {'N', ctrl, 57600}, {'O', ctrl, 57601},       {'S', ctrl, 57603}, {'P', ctrl, 57607},
        {'Z', ctrl, 57643}, {VK_BACK, alt, 57643},    {'X', ctrl, 57635}, {VK_DELETE, shift, 57635},
        {'C', ctrl, 57634}, {VK_INSERT, ctrl, 57634}, {'V', ctrl, 57637}, {VK_INSERT, shift, 57637},
        {VK_F6, 0, 57680},  {VK_F6, shift, 57681},    {'N', 0, 0},        {'N', ctrl | shift, 0},
        {VK_DELETE, 0, 0},  {VK_BACK, 0, 0},
    };
    const HACCEL table = LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(128));
    ASSERT_NE(table, nullptr);
    RecordingWnd top("top", log);
    ASSERT_TRUE(top.CreateTopLevel(CRect(10, 10, 200, 200)));
    std::vector<UINT> commands;
    const auto translate = [&](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
    {
        MSG msg{top.GetSafeHwnd(), WM_KEYDOWN, wParam, lParam, 0, {}};
        TranslateAcceleratorW(top.GetSafeHwnd(), table, &msg);
        return 0;
    };
    top.On(WM_KEYDOWN, translate);
    top.On(WM_SYSKEYDOWN, translate);
    top.On(WM_COMMAND,
           [&](WPARAM wParam, LPARAM) -> std::optional<LRESULT>
           {
               EXPECT_EQ(HIWORD(wParam), 1) << "accelerators send code 1";
               commands.push_back(LOWORD(wParam));
               return 0;
           });
    top.SetFocus();
    for (const Case& c : cases)
    {
        commands.clear();
        session->Key(c.vk, 0, c.modifiers);
        EXPECT_EQ(commands, c.command != 0 ? std::vector<UINT>{c.command} : std::vector<UINT>{})
            << "key " << c.vk << " modifiers " << c.modifiers;
    }
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(4242)), nullptr);
}
