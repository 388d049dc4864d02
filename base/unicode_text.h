#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Conversions between the wide strings shown to the user (wchar_t holds one
// UTF-32 code point here) and the UTF-8 of file contents and file names.
// Anything that is not a valid code point (a surrogate, a value beyond
// U+10FFFF, a malformed UTF-8 sequence) becomes U+FFFD, so no conversion throws.

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

// File names are bytes and need not be UTF-8. A path comes in through
// FsPathToWide, where each byte 0x80..0xFF that does not decode becomes
// U+DC80..U+DCFF, and goes out through WidePathToFs, which turns those back into
// the same bytes; so every name survives the round trip. WideToUtf8 shows such
// a character as U+FFFD.
std::wstring FsPathToWide(const std::filesystem::path& path);

// libstdc++ converts a wide path through the locale and throws for anything
// outside ASCII; every engine file open goes through this one conversion instead.
std::filesystem::path WidePathToFs(std::wstring_view path);

// The UTF-8 spelling of a path for messages: bytes that do not decode show as
// U+FFFD. Libraries that take char* get path.c_str(), the name's own bytes.
std::string PathToUtf8(const std::filesystem::path& path);
