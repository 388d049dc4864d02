// The settings file of a user with many remembered items: 16,000 sections of
// four entries each. Reads come one value at a time from the application.
#include "platform/win32/profile_store.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

constexpr int kSections = 16000;

class SettingsFile
{
public:
    SettingsFile()
        : m_path(std::filesystem::temp_directory_path() /
                 ("brvl-bench-" + std::to_string(::getpid()) + ".ini"))
    {
        std::ofstream out(m_path, std::ios::binary);
        for (int s = 0; s < kSections; ++s)
        {
            out << "[Recent Track " << s << "]\n";
            for (int e = 0; e < 4; ++e)
            {
                out << "Entry" << e << "=value " << s * 4 + e << "\n";
            }
        }
    }
    ~SettingsFile() { std::filesystem::remove(m_path); }

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::wstring SectionName(int index)
{
    return L"recent track " + std::to_wstring(index);
}

// The first read of a store parses the whole file.
void BM_ProfileStoreFirstRead(benchmark::State& state)
{
    const SettingsFile file;
    for (auto _ : state)
    {
        const brvl::win32::ProfileStore store(file.Path());
        benchmark::DoNotOptimize(store.Read(SectionName(kSections - 1), L"entry3"));
    }
}
BENCHMARK(BM_ProfileStoreFirstRead)->Unit(benchmark::kMillisecond);

// Later reads of an unchanged file.
void BM_ProfileStoreRepeatedRead(benchmark::State& state)
{
    const SettingsFile file;
    const brvl::win32::ProfileStore store(file.Path());
    int index = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(store.Read(SectionName(index), L"entry1"));
        index = (index + 7919) % kSections;
    }
}
BENCHMARK(BM_ProfileStoreRepeatedRead)->Unit(benchmark::kMicrosecond);

// One changed value: the whole file is written again, atomically.
void BM_ProfileStoreWrite(benchmark::State& state)
{
    const SettingsFile file;
    brvl::win32::ProfileStore store(file.Path());
    int value = 0;
    for (auto _ : state)
    {
        const std::wstring text = std::to_wstring(++value);
        const std::wstring entry = L"Entry2";
        benchmark::DoNotOptimize(store.Write(SectionName(value % kSections), &entry, &text));
    }
}
BENCHMARK(BM_ProfileStoreWrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
