#pragma once

#include <string>
#include <string_view>

// The extension that picks an audio reader or writer: the text from the last dot
// of the file name, ASCII letters lower-cased ("TRACK.WAV" -> ".wav"), as UTF-8;
// empty when the file name has no dot.
std::string LowerCaseExtension(std::wstring_view path);
