#pragma once

#include "engine/audio_buffer.h"

#include <string>

// FLAC and Ogg Vorbis through libsndfile; decoderName is the format word of the
// error message ("FLAC" or "OGG").
AudioBuffer DecodeWithSndfile(const std::wstring& path, const std::string& decoderName);
