#include "platform/win32/shell_folders.h"

#include "base/unicode_text.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

const KNOWNFOLDERID FOLDERID_Documents = {
    0xFDD39AD0, 0x238F, 0x46AF, {0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7}};

namespace
{

std::optional<std::string> Environment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
    {
        return std::nullopt;
    }
    return std::string(value);
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs: a quoted "$HOME/..." or
// absolute path; backslash escapes the next character.
std::optional<std::string> DocumentsFromUserDirs(const std::filesystem::path& file,
                                                 const std::string& home)
{
    std::ifstream in(file);
    std::string line;
    std::optional<std::string> found;
    while (std::getline(in, line))
    {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
        {
            continue;
        }
        const std::string key = "XDG_DOCUMENTS_DIR=";
        if (line.compare(start, key.size(), key) != 0)
        {
            continue;
        }
        std::string raw = line.substr(start + key.size());
        const auto end = raw.find_last_not_of(" \t\r");
        raw = end == std::string::npos ? std::string() : raw.substr(0, end + 1);
        if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"')
        {
            continue;
        }
        std::string value;
        for (size_t i = 1; i + 1 < raw.size(); ++i)
        {
            if (raw[i] == '\\' && i + 2 < raw.size())
            {
                ++i;
            }
            value += raw[i];
        }
        const std::string homeVariable = "$HOME";
        if (value.compare(0, homeVariable.size(), homeVariable) == 0 &&
            (value.size() == homeVariable.size() || value[homeVariable.size()] == '/'))
        {
            std::string rest = value.substr(homeVariable.size());
            // "$HOME/" alone means the folder is switched off.
            found = rest.find_first_not_of('/') == std::string::npos ? std::optional<std::string>()
                                                                     : home + rest;
        }
        else if (!value.empty() && value.front() == '/')
        {
            found = value;
        }
        else
        {
            found.reset();
        }
    }
    return found;
}

wchar_t* CopyForCaller(const std::wstring& text)
{
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (copy != nullptr)
    {
        std::copy(text.begin(), text.end(), copy);
        copy[text.size()] = L'\0';
    }
    return copy;
}

std::filesystem::path& ModuleFolderOverride()
{
    static std::filesystem::path folder;
    return folder;
}

// Copies `text` into a buffer of `count` characters as the Win32 string calls
// do: at most count - 1 characters and a terminator.
void CopyTruncated(const std::wstring& text, LPWSTR buffer, DWORD count)
{
    if (buffer == nullptr || count == 0)
    {
        return;
    }
    const size_t copied = std::min<size_t>(text.size(), count - 1);
    std::copy_n(text.c_str(), copied, buffer);
    buffer[copied] = L'\0';
}

} // namespace

namespace brvl::win32
{

std::filesystem::path ConfigHome()
{
    if (const auto config = Environment("XDG_CONFIG_HOME"); config && config->front() == '/')
    {
        return *config;
    }
    if (const auto home = Environment("HOME"))
    {
        return std::filesystem::path(*home) / ".config";
    }
    return {};
}

std::wstring ModulePath()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path& folder = ModuleFolderOverride();
    if (!folder.empty())
    {
        return FsPathToWide(folder / (error ? std::filesystem::path("brvl") : exe.filename()));
    }
    return error ? std::wstring() : FsPathToWide(exe);
}

void SetModuleFolderForTests(const std::filesystem::path& folder)
{
    ModuleFolderOverride() = folder;
}

} // namespace brvl::win32

HRESULT SHGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD, HANDLE, PWSTR* path)
{
    if (path == nullptr)
    {
        return E_FAIL;
    }
    *path = nullptr;
    const auto home = Environment("HOME");
    if (std::memcmp(&id, &FOLDERID_Documents, sizeof(KNOWNFOLDERID)) != 0 || !home)
    {
        return E_FAIL;
    }
    std::string folder = *home + "/Documents";
    const std::filesystem::path config = brvl::win32::ConfigHome();
    if (!config.empty())
    {
        if (auto fromFile = DocumentsFromUserDirs(config / "user-dirs.dirs", *home))
        {
            folder = *fromFile;
        }
    }
    *path = CopyForCaller(FsPathToWide(folder));
    return *path != nullptr ? S_OK : E_FAIL;
}

void CoTaskMemFree(void* memory)
{
    std::free(memory);
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR buffer, DWORD count)
{
    const std::wstring path = brvl::win32::ModulePath();
    CopyTruncated(path, buffer, count);
    if (count == 0)
    {
        return 0;
    }
    return path.size() >= count ? count : static_cast<DWORD>(path.size());
}

DWORD GetTempPathW(DWORD count, LPWSTR buffer)
{
    std::string folder = Environment("TMPDIR").value_or("/tmp");
    if (folder.back() != '/')
    {
        folder += '/';
    }
    const std::wstring wide = FsPathToWide(folder);
    if (buffer == nullptr || wide.size() + 1 > count)
    {
        return static_cast<DWORD>(wide.size() + 1);
    }
    CopyTruncated(wide, buffer, count);
    return static_cast<DWORD>(wide.size());
}

UINT GetTempFileNameW(LPCWSTR folder, LPCWSTR prefix, UINT, LPWSTR out)
{
    if (folder == nullptr || out == nullptr)
    {
        return 0;
    }
    std::wstring name = prefix != nullptr ? std::wstring(prefix).substr(0, 3) : std::wstring();
    std::string pattern = (WidePathToFs(folder) / WidePathToFs(name + L"XXXXXX.tmp")).native();
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0)
    {
        return 0;
    }
    ::close(fd);
    const std::wstring path = FsPathToWide(pattern);
    if (path.size() >= MAX_PATH)
    {
        ::unlink(pattern.c_str());
        return 0;
    }
    CopyTruncated(path, out, MAX_PATH);
    return 1;
}
