// The UX designer from its creation to its first complete paint: the catalogue,
// the palette, the grid and the colour strip made and every window painted
// once; aim under 100 ms.
#include "grid/ux_designer_dlg.h"

#include "platform/backend/headless_backend.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/shell_folders.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace
{

void OpenToFirstPaint(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    // The colour strip keeps its colours beside the executable.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "brvl_ux_designer_bench";
    std::filesystem::create_directories(folder);
    brvl::win32::SetModuleFolderForTests(folder);
    for (auto _ : state)
    {
        CUXDesignerDlg dialog;
        dialog.Create(CUXDesignerDlg::kTemplateId, nullptr);
        dialog.ShowWindow(SW_SHOW);
        PumpPendingMessages();
        state.PauseTiming();
        dialog.DestroyWindow();
        PumpPendingMessages();
        state.ResumeTiming();
    }
    brvl::win32::SetModuleFolderForTests({});
    std::filesystem::remove_all(folder);
}
BENCHMARK(OpenToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
