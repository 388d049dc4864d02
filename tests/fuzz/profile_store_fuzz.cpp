// libFuzzer harness for the settings store's file format; built only by
// scripts/fuzz-settings.sh.
//
// The input is a settings file. Besides crashes and sanitizer reports it
// checks that a value written into any such file reads back, from the same
// store and from a fresh one, and that a value read before the write of
// another entry is still there after it.

#include "platform/win32/profile_store.h"

#include "base/unicode_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

// On tmpfs, where the saves' flushes cost nothing.
std::filesystem::path StoreFile()
{
    static const std::filesystem::path folder = []
    {
        char name[] = "/dev/shm/brvl-profile-fuzz-XXXXXX";
        return std::filesystem::path(::mkdtemp(name));
    }();
    return folder / "settings.ini";
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "profile store fuzz: %s\n", what);
    std::abort();
}

// The first section and entry names the input seems to hold, so the checks
// touch what the file says and not only names it never mentions.
void FirstNames(std::string_view text, std::wstring& section, std::wstring& entry)
{
    section = L"Section";
    entry = L"Entry";
    const size_t open = text.find('[');
    const size_t close = text.find(']', open);
    if (open != std::string_view::npos && close != std::string_view::npos)
    {
        section = Utf8ToWide(std::string(text.substr(open + 1, close - open - 1)));
        const size_t equals = text.find('=', close);
        const size_t line = text.rfind('\n', equals);
        if (equals != std::string_view::npos && line != std::string_view::npos && line > close)
        {
            entry = Utf8ToWide(std::string(text.substr(line + 1, equals - line - 1)));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::ofstream(StoreFile(), std::ios::binary | std::ios::trunc).write(text.data(), size);

    std::wstring section;
    std::wstring entry;
    FirstNames(text, section, entry);
    brvl::win32::ProfileStore store(StoreFile());
    const auto before = store.Read(section, entry);

    const std::wstring other = entry + L" written";
    const std::wstring value = L"value\n[=]\\" + section;
    if (!store.Write(section, &other, &value))
    {
        Fail("a readable settings file could not be written");
    }
    if (store.Read(section, other) != value ||
        brvl::win32::ProfileStore(StoreFile()).Read(section, other) != value)
    {
        Fail("a written value did not read back");
    }
    if (!entry.empty() && entry != other &&
        brvl::win32::ProfileStore(StoreFile()).Read(section, entry) != before)
    {
        Fail("writing one entry changed another");
    }
    return 0;
}
