#pragma once

#include "platform/win32/win_types.h"

#include <filesystem>
#include <string>

// Folders the program stores files in: the user's Documents folder, the
// executable's own path, the temporary folder.

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}

struct KNOWNFOLDERID
{
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};
using REFKNOWNFOLDERID = const KNOWNFOLDERID&;
using PWSTR = wchar_t*;
using HANDLE = void*;

extern const KNOWNFOLDERID FOLDERID_Documents;

// Documents: XDG_DOCUMENTS_DIR of $XDG_CONFIG_HOME/user-dirs.dirs ($HOME
// expanded), else $HOME/Documents; the folder is not created. The text is
// allocated for the caller, who frees it with CoTaskMemFree (also on failure:
// the pointer is then NULL). No HOME: E_FAIL.
HRESULT SHGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD flags, HANDLE token, PWSTR* path);
void CoTaskMemFree(void* memory);

// The executable's full path. A buffer too small gets the first count - 1
// characters and the result is `count`.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD count);

// $TMPDIR (else /tmp) with a trailing "/"; the length written, or the length
// needed (with the terminator) when the buffer is too small.
DWORD GetTempPathW(DWORD count, LPWSTR buffer);
// Creates a new empty file "<prefix up to 3 characters>XXXXXX.tmp" in `folder` and
// writes its path (MAX_PATH characters at most) to `out`; 0 on failure.
UINT GetTempFileNameW(LPCWSTR folder, LPCWSTR prefix, UINT unique, LPWSTR out);

#define GetModuleFileName GetModuleFileNameW
#define GetTempPath GetTempPathW
#define GetTempFileName GetTempFileNameW

namespace brvl::win32
{

// The full path of the running executable, as GetModuleFileNameW gives it
// without a length limit.
std::wstring ModulePath();

// Tests: the executable appears to live in `folder` (its file name kept);
// an empty path restores the real one.
void SetModuleFolderForTests(const std::filesystem::path& folder);

// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config; empty
// without either.
std::filesystem::path ConfigHome();

} // namespace brvl::win32
