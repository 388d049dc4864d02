#include "engine/io/audio_file_writer.h"

#include "engine/io/audio_file_extension.h"
#include "engine/io/sndfile_encoder.h"
#include "engine/io/wav_writer.h"

#include <sndfile.h>

#include <stdexcept>

namespace
{

enum OutputFormat
{
    kOutputWav = 0,
    kOutputFlac = 1,
    kOutputOggVorbis = 2,
    kOutputMp3 = 3,
};

// Only an extension that names none of the four containers leaves the choice
// to the caller's format code.
int FormatFromExtension(const std::string& extension, int fallback)
{
    if (extension == ".wav")
    {
        return kOutputWav;
    }
    if (extension == ".flac")
    {
        return kOutputFlac;
    }
    if (extension == ".ogg")
    {
        return kOutputOggVorbis;
    }
    if (extension == ".mp3")
    {
        return kOutputMp3;
    }
    return fallback;
}

constexpr int kFlac24BitThreshold = 16;

} // namespace

void WriteAudioFile(const std::wstring& path, const AudioBuffer& buffer,
                    const AudioWriteOptions& options)
{
    switch (FormatFromExtension(LowerCaseExtension(path), options.format))
    {
    case kOutputWav:
        WriteWavFile(path, buffer, options.bitDepth);
        return;
    case kOutputFlac:
        EncodeWithSndfile(
            path, buffer,
            SF_FORMAT_FLAC |
                (options.bitDepth > kFlac24BitThreshold ? SF_FORMAT_PCM_24 : SF_FORMAT_PCM_16),
            options);
        return;
    case kOutputOggVorbis:
        EncodeWithSndfile(path, buffer, SF_FORMAT_OGG | SF_FORMAT_VORBIS, options);
        return;
    case kOutputMp3:
        EncodeWithSndfile(path, buffer, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, options);
        return;
    default:
        throw std::runtime_error("Unsupported output audio format");
    }
}
