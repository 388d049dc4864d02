#pragma once

#include <string>
#include <system_error>

// A file operation's message: the fixed text first, then ": " and the path when
// given, then ": " and the system's reason when one is known, as in
// "Failed to write audio data: /music/mix.wav: No space left on device".
std::string MakeIoError(const std::string& text, const std::wstring& path,
                        const std::string& reason);
std::string MakeIoError(const std::string& text, const std::wstring& path,
                        const std::error_code& reason);
