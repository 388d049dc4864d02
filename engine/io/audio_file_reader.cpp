#include "engine/io/audio_file_reader.h"

#include "engine/io/audio_file_extension.h"
#include "base/unicode_text.h"

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

std::string MakeReadError(const std::wstring& path, const std::string& decoderName,
                          const std::string& detail)
{
    std::string message = "Failed to read " + decoderName + " file";
    if (!path.empty())
    {
        message += " '" + PathToUtf8(WidePathToFs(path).filename()) + "'";
    }
    if (!detail.empty())
    {
        message += ": " + detail;
    }
    return message;
}
