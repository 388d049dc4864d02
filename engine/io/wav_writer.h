#pragma once

#include "engine/audio_buffer.h"

#include <string>

// 16- or 24-bit PCM WAV by the engine's own writer. Samples are limited to
// [-1, 1] and rounded to the nearest code (ties to even), NaN is written as 0.
// The file is replaced atomically, as WriteAudioFile replaces it.
void WriteWavFile(const std::wstring& path, const AudioBuffer& buffer, int bitDepth);
