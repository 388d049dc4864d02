#pragma once

#include "engine/audio_buffer.h"
#include "engine/io/audio_file_writer.h"

#include <string>

// FLAC, Ogg Vorbis or MP3 through libsndfile; formatCode is libsndfile's
// major|subtype code (0x170002 FLAC 16-bit, 0x170003 FLAC 24-bit, 0x200060 Ogg
// Vorbis, 0x230082 MPEG layer III). The file is replaced atomically, as
// WriteAudioFile replaces it.
void EncodeWithSndfile(const std::wstring& path, const AudioBuffer& buffer, int formatCode,
                       const AudioWriteOptions& options);
