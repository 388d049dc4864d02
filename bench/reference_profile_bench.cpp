// Reading and writing a profile as analysis makes it: two spectrum sets
// (4096 and 2048) and three dynamics sets, about 49 KB on disk.

#include "engine/profiles/reference_profile.h"
#include "engine/profiles/synthetic_profile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace
{

std::filesystem::path BenchFile()
{
    return std::filesystem::temp_directory_path() /
           ("brvl-profile-bench-" + std::to_string(::getpid()) + ".prs");
}

void BM_WriteReferenceProfile(benchmark::State& state)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    const std::filesystem::path path = BenchFile();
    for (auto _ : state)
    {
        WriteReferenceProfile(path.wstring(), profile);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteReferenceProfile)->Unit(benchmark::kMicrosecond);

void BM_ReadReferenceProfile(benchmark::State& state)
{
    const std::filesystem::path path = BenchFile();
    WriteReferenceProfile(path.wstring(), BuildSyntheticDefaultProfile());
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(ReadReferenceProfile(path.wstring()));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadReferenceProfile)->Unit(benchmark::kMicrosecond);

// The format alone, without the file system (the write above includes fsync).
void BM_EncodeReferenceProfile(benchmark::State& state)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(EncodeReferenceProfile(profile));
    }
}
BENCHMARK(BM_EncodeReferenceProfile)->Unit(benchmark::kMicrosecond);

void BM_DecodeReferenceProfile(benchmark::State& state)
{
    const std::string bytes = EncodeReferenceProfile(BuildSyntheticDefaultProfile());
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(DecodeReferenceProfile(bytes));
    }
}
BENCHMARK(BM_DecodeReferenceProfile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
