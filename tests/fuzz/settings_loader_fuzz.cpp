// libFuzzer harness for the settings document loader (JSON); built only by
// scripts/fuzz-settings.sh.
//
// Besides crashes and sanitizer reports it checks that whatever the loader
// accepts is saved in a form that loads the same again.

#include "engine/settings/mastering_settings.h"

#include "base/unicode_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace
{

// The input as a file without touching the disk.
std::filesystem::path InputFile(const uint8_t* data, size_t size)
{
    static const int fd = ::memfd_create("settings", 0);
    ::ftruncate(fd, 0);
    ::pwrite(fd, data, size, 0);
    return "/proc/self/fd/" + std::to_string(fd);
}

// On tmpfs, where the saves' flushes cost nothing.
std::filesystem::path SavedFile()
{
    static const std::filesystem::path folder = []
    {
        char name[] = "/dev/shm/brvl-settings-fuzz-XXXXXX";
        return std::filesystem::path(::mkdtemp(name));
    }();
    return folder / "saved.mst";
}

std::string ReadSaved()
{
    std::FILE* file = std::fopen(SavedFile().c_str(), "rb");
    std::string bytes(1 << 20, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MasteringSettings settings;
    try
    {
        settings = MasteringSettings::LoadFromFile(InputFile(data, size));
    }
    catch (const std::runtime_error&)
    {
        return 0;
    }
    const std::wstring saved = Utf8ToWide(SavedFile().string());
    settings.SaveToFile(saved);
    const std::string first = ReadSaved();
    MasteringSettings::LoadFromFile(SavedFile()).SaveToFile(saved);
    const std::string second = ReadSaved();
    if (first != second)
    {
        std::fprintf(stderr, "settings fuzz: an accepted document did not survive saving\n");
        std::abort();
    }
    return 0;
}
