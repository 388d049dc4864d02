// Load and save of a 300-item control layout (about 180 KB), larger than any
// page the designer makes. The save is timed twice: on tmpfs, where flushing to
// disk costs nothing, and in the temporary folder on disk; the difference is
// the flush.
#include "controls/layout/designer_layout.h"
#include "base/unicode_text.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{

DesignerLayout ThreeHundredItemLayout()
{
    DesignerLayout layout;
    layout.pluginId = "spectral_gate";
    for (int i = 0; i < 300; ++i)
    {
        DesignerItem item;
        item.instanceId = i + 1;
        item.kind = static_cast<ControlKind>(i % kControlKindCount);
        item.internalName = "stepped knob";
        item.gridX = (i % 20) * 2;
        item.gridY = (i / 20) * 3;
        item.spanX = 2;
        item.spanY = 3;
        item.accentColor = 0x5284E5 + i;
        item.value = 0.123456 * (i % 8);
        item.label = "Threshold " + std::to_string(i);
        item.toolTip = "Level above which the gate opens.";
        item.parameterId = "spectral_gate.threshold_db_" + std::to_string(i);
        item.textValue = "-42.5 dB";
        item.valueMode = 2;
        // Meters carry a second value, stepped controls their steps.
        if (i % 4 == 0)
        {
            item.hasSecondaryValue = true;
            item.secondaryValue = 0.654321;
            item.secondaryText = "Band " + std::to_string(i % 6);
        }
        if (i % 5 == 0)
        {
            item.stepCount = 4;
            item.selectedIndex = i % 4;
            item.stepLabels = {"Soft", "Medium", "Hard", "Brick"};
        }
        item.displayMin = -80.0;
        item.displayMax = 0.0;
        item.displayDecimals = 1;
        item.displaySuffix = " dB";
        layout.items.push_back(std::move(item));
    }
    layout.nextItemCounter = 301;
    return layout;
}

std::filesystem::path BenchFile(const std::filesystem::path& folder)
{
    return folder / ("brvl-layout-bench-" + std::to_string(::getpid()) + ".json");
}

void SaveInto(benchmark::State& state, const std::filesystem::path& folder)
{
    if (!std::filesystem::is_directory(folder))
    {
        state.SkipWithError("no such folder");
        return;
    }
    const std::filesystem::path path = BenchFile(folder);
    const std::wstring widePath = Utf8ToWide(path.string());
    const DesignerLayout layout = ThreeHundredItemLayout();
    for (auto _ : state)
    {
        if (!layout.Save(widePath))
        {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.counters["kB"] = static_cast<double>(std::filesystem::file_size(path)) / 1000.0;
    std::filesystem::remove(path);
}

void BM_DesignerLayoutSaveTmpfs(benchmark::State& state)
{
    SaveInto(state, "/dev/shm");
}
BENCHMARK(BM_DesignerLayoutSaveTmpfs)->Unit(benchmark::kMillisecond);

void BM_DesignerLayoutSaveDisk(benchmark::State& state)
{
    SaveInto(state, std::filesystem::temp_directory_path());
}
BENCHMARK(BM_DesignerLayoutSaveDisk)->Unit(benchmark::kMillisecond);

void BM_DesignerLayoutLoad(benchmark::State& state)
{
    const std::filesystem::path path = BenchFile(std::filesystem::temp_directory_path());
    const std::wstring widePath = Utf8ToWide(path.string());
    ThreeHundredItemLayout().Save(widePath);
    DesignerLayout loaded;
    for (auto _ : state)
    {
        if (!DesignerLayout::Load(widePath, loaded))
        {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["items"] = static_cast<double>(loaded.items.size());
    std::filesystem::remove(path);
}
BENCHMARK(BM_DesignerLayoutLoad)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
