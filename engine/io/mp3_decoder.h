#pragma once

#include "engine/audio_buffer.h"

#include <string>

// MP3 through libmpg123, decoded to 32-bit float.
AudioBuffer DecodeMp3File(const std::wstring& path);
