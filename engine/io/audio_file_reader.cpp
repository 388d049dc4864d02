#include "engine/io/audio_file_reader.h"

#include "engine/io/audio_file_extension.h"
#include "engine/io/mp3_decoder.h"
#include "engine/io/sndfile_decoder.h"
#include "engine/io/wav_reader.h"

#include <stdexcept>

AudioBuffer ReadAudioFile(const std::wstring& path)
{
    const std::string extension = LowerCaseExtension(path);
    if (extension == ".wav")
    {
        return ReadWavFile(path);
    }
    if (extension == ".flac")
    {
        return DecodeWithSndfile(path, "FLAC");
    }
    if (extension == ".mp3")
    {
        return DecodeMp3File(path);
    }
    if (extension == ".ogg")
    {
        return DecodeWithSndfile(path, "OGG");
    }
    throw std::runtime_error("Unsupported input audio format");
}
