#pragma once

#include "engine/audio_buffer.h"

#include <string>

// Reads a track file into an AudioBuffer: interleaved stereo doubles at the
// file's own sample rate (a mono source is duplicated to both channels). The
// reader is chosen by the lower-cased extension alone (".wav", ".flac", ".mp3",
// ".ogg"); the content is never sniffed. Every failure throws std::runtime_error
// with the text shown to the user; nothing is partially returned.
AudioBuffer ReadAudioFile(const std::wstring& path);
