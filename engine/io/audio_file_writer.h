#pragma once

#include "engine/audio_buffer.h"

#include <string>

// How an exported track is encoded. The extension of the output path decides
// the container; `format` only decides for an extension that is none of ".wav",
// ".flac", ".ogg" and ".mp3".
struct AudioWriteOptions
{
    int format = 0;          // 0 WAV, 1 FLAC, 2 Ogg Vorbis, 3 MP3
    int bitDepth = 24;       // WAV 16 or 24; FLAC above 16 is 24-bit, else 16-bit
    int bitrateKbps = 192;   // MP3 and Ogg Vorbis, constant and average modes
    int bitrateMode = 0;     // 0 constant, 1 average, 2 variable (any other value: 0)
    double vbrQuality = 0.8; // MP3 and Ogg Vorbis, variable mode: 0 (smallest) to 1 (best)
};

// Writes the buffer (two channels at its sampleRate) to path, replacing an
// existing file only once everything was written: a failure throws
// std::runtime_error and leaves whatever was there before untouched.
void WriteAudioFile(const std::wstring& path, const AudioBuffer& buffer,
                    const AudioWriteOptions& options);
