#pragma once

#include "engine/audio_buffer.h"

#include <string>

// Reads a track file into an AudioBuffer: interleaved stereo doubles at the
// file's own sample rate (a mono source is duplicated to both channels). The
// reader is chosen by the lower-cased extension alone (".wav", ".flac", ".mp3",
// ".ogg"); the content is never sniffed. Every failure throws std::runtime_error
// with the text shown to the user; nothing is partially returned.
AudioBuffer ReadAudioFile(const std::wstring& path);

// The engine's own RIFF/WAVE parser: PCM 8/16/24/32 and IEEE float 32/64, plain
// or WAVE_FORMAT_EXTENSIBLE. Its errors are bare texts ("Invalid WAV header").
AudioBuffer ReadWavFile(const std::wstring& path);

// MP3 through libmpg123, decoded to 32-bit float.
AudioBuffer DecodeMp3File(const std::wstring& path);

// FLAC and Ogg Vorbis through libsndfile; decoderName is the format word of the
// error message ("FLAC" or "OGG").
AudioBuffer DecodeWithSndfile(const std::wstring& path, const std::string& decoderName);

// "Failed to read <decoderName> file '<file name>': <detail>", the quoted name
// only for a non-empty path and the detail only when it is not empty.
std::string MakeReadError(const std::wstring& path, const std::string& decoderName,
                          const std::string& detail);
