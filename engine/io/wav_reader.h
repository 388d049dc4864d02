#pragma once

#include "engine/audio_buffer.h"

#include <string>

// The engine's own RIFF/WAVE parser: PCM 8/16/24/32 and IEEE float 32/64, plain
// or WAVE_FORMAT_EXTENSIBLE. Its errors are bare texts ("Invalid WAV header").
AudioBuffer ReadWavFile(const std::wstring& path);
