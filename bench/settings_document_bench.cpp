// Load and save of a settings document holding a chain of all 67 add-ons, the
// largest style or preset a user can make.
#include "engine/settings/mastering_settings.h"
#include "base/unicode_text.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{

MasteringSettings SixtySevenAddonChain()
{
    MasteringSettings settings;
    for (int i = 0; i < 67; ++i)
    {
        ChainEntry entry{"addon_" + std::to_string(i), i % 3 != 0, {}};
        for (int p = 0; p < 6; ++p)
        {
            entry.parameters.push_back({"param_" + std::to_string(p), 0.123456 * (i + p)});
        }
        settings.addons.push_back(std::move(entry));
    }
    return settings;
}

void BM_SettingsSaveAndLoad(benchmark::State& state)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("brvl-bench-" + std::to_string(::getpid()) + ".mst");
    const std::wstring widePath = Utf8ToWide(path.string());
    const MasteringSettings settings = SixtySevenAddonChain();
    for (auto _ : state)
    {
        settings.SaveToFile(widePath);
        benchmark::DoNotOptimize(MasteringSettings::LoadFromFile(path));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SettingsSaveAndLoad)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
