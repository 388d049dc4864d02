#include "engine/io/sndfile_encoder.h"

#include "base/atomic_file.h"
#include "engine/io/io_error.h"
#include "engine/io/pcm_sample.h"
#include "base/unicode_text.h"

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

constexpr int kChannels = 2;
// Whole long tracks handed to libvorbis in one call can crash it; every format
// is written in blocks of this many frames.
constexpr sf_count_t kWriteBlockFrames = 65536;

constexpr int kFormatFlac16 = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
constexpr int kFormatFlac24 = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
constexpr int kFormatOggVorbis = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
constexpr int kFormatMp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;

constexpr int kBitrateModeAverage = 1;
constexpr int kBitrateModeVariable = 2;

// The MPEG audio rates (MPEG-1, -2 and -2.5) the layer III encoder accepts.
constexpr std::array<int, 9> kMp3SampleRatesHz = {8000,  11025, 12000, 16000, 22050,
                                                  24000, 32000, 44100, 48000};

// libsndfile's layer III encoder turns a compression level c into a constant or
// average bitrate of maxKbps - c x (maxKbps - minKbps), with the range set by the
// MPEG version that the sample rate selects.
struct Mp3BitrateRange
{
    int minSampleRateHz;
    double minKbps;
    double maxKbps;
};
constexpr std::array<Mp3BitrateRange, 3> kMp3BitrateRanges = {{
    {32000, 32.0, 320.0}, // MPEG-1
    {16000, 8.0, 160.0},  // MPEG-2
    {0, 8.0, 64.0},       // MPEG-2.5
}};

// Nominal stereo bitrates of the Vorbis quality settings 0.0, 0.1, ... 1.0
// (libvorbis documentation, 44.1 kHz); libsndfile's Vorbis quality is
// 1 - compression level.
constexpr std::array<double, 11> kVorbisNominalKbps = {64,  80,  96,  112, 128, 160,
                                                       192, 224, 256, 320, 500};

double LimitToUnit(double value)
{
    // NaN counts as the bottom of the range.
    return value > 0.0 ? std::min(value, 1.0) : 0.0;
}

double Mp3CompressionForKbps(int sampleRateHz, int kbps)
{
    for (const Mp3BitrateRange& range : kMp3BitrateRanges)
    {
        if (sampleRateHz >= range.minSampleRateHz)
        {
            const double limited = std::clamp<double>(kbps, range.minKbps, range.maxKbps);
            return (range.maxKbps - limited) / (range.maxKbps - range.minKbps);
        }
    }
    return 0.0;
}

double VorbisQualityForKbps(int kbps)
{
    const double step = 1.0 / (kVorbisNominalKbps.size() - 1);
    if (kbps <= kVorbisNominalKbps.front())
    {
        return 0.0;
    }
    for (size_t i = 1; i < kVorbisNominalKbps.size(); ++i)
    {
        if (kbps <= kVorbisNominalKbps[i])
        {
            const double fraction = (kbps - kVorbisNominalKbps[i - 1]) /
                                    (kVorbisNominalKbps[i] - kVorbisNominalKbps[i - 1]);
            return (i - 1 + fraction) * step;
        }
    }
    return 1.0;
}

// libsndfile has one knob for lossy encoders, the compression level (0 = best,
// 1 = smallest); its quality command is the same knob reversed, so only the level
// is sent, taken from the quality in variable mode and from the bitrate otherwise.
void ApplyLossySettings(SNDFILE* file, int formatCode, int sampleRateHz,
                        const AudioWriteOptions& options)
{
    int mode = SF_BITRATE_MODE_CONSTANT;
    if (options.bitrateMode == kBitrateModeAverage)
    {
        mode = SF_BITRATE_MODE_AVERAGE;
    }
    else if (options.bitrateMode == kBitrateModeVariable)
    {
        mode = SF_BITRATE_MODE_VARIABLE;
    }
    double compression = 0.0;
    if (mode == SF_BITRATE_MODE_VARIABLE)
    {
        compression = 1.0 - LimitToUnit(options.vbrQuality);
    }
    else if (formatCode == kFormatMp3)
    {
        compression = Mp3CompressionForKbps(sampleRateHz, options.bitrateKbps);
    }
    else
    {
        compression = 1.0 - VorbisQualityForKbps(options.bitrateKbps);
    }
    // Vorbis has no bitrate mode and refuses the command; that is expected.
    sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof(mode));
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &compression, sizeof(compression));
}

double FiniteSample(double sample)
{
    if (std::isnan(sample))
    {
        return 0.0;
    }
    return std::isinf(sample) ? std::copysign(1.0, sample) : sample;
}

// libsndfile writes through these callbacks into the AtomicFile, so that every
// byte it writes is checked, also those its encoders flush while closing (it
// ignores a failed write there and would report success).
sf_count_t VirtualLength(void* user)
{
    struct stat info
    {
    };
    const int fd = static_cast<AtomicFile*>(user)->Descriptor();
    return ::fstat(fd, &info) == 0 ? info.st_size : -1;
}

sf_count_t VirtualSeek(sf_count_t offset, int whence, void* user)
{
    return ::lseek(static_cast<AtomicFile*>(user)->Descriptor(), offset, whence);
}

sf_count_t VirtualRead(void* target, sf_count_t count, void* user)
{
    const ssize_t got =
        ::read(static_cast<AtomicFile*>(user)->Descriptor(), target, static_cast<size_t>(count));
    return got < 0 ? 0 : got;
}

sf_count_t VirtualWrite(const void* source, sf_count_t count, void* user)
{
    return static_cast<AtomicFile*>(user)->Write(source, static_cast<size_t>(count)) ? count : 0;
}

sf_count_t VirtualTell(void* user)
{
    return ::lseek(static_cast<AtomicFile*>(user)->Descriptor(), 0, SEEK_CUR);
}

SF_VIRTUAL_IO kAtomicFileIo = {VirtualLength, VirtualSeek, VirtualRead, VirtualWrite, VirtualTell};

// The cause of a failed write: the file's own error when the bytes did not
// reach the disk, else the library's text.
[[noreturn]] void FailWrite(const std::wstring& path, const AtomicFile& target, SNDFILE* file,
                            int closeError = SF_ERR_NO_ERROR)
{
    std::string reason;
    if (target.Error())
    {
        reason = target.Error().message();
    }
    else if (file != nullptr && sf_error(file) != SF_ERR_NO_ERROR)
    {
        reason = sf_strerror(file);
    }
    else if (closeError != SF_ERR_NO_ERROR)
    {
        reason = sf_error_number(closeError);
    }
    throw std::runtime_error(MakeIoError("Failed to write audio data", path, reason));
}

class SndfileWriter
{
public:
    explicit SndfileWriter(SNDFILE* file) : m_file(file) {}
    ~SndfileWriter()
    {
        if (m_file != nullptr)
        {
            sf_close(m_file);
        }
    }
    SndfileWriter(const SndfileWriter&) = delete;
    SndfileWriter& operator=(const SndfileWriter&) = delete;

    SNDFILE* Get() const { return m_file; }

    // The library's error code of closing (0 when all was written).
    int Close()
    {
        SNDFILE* file = m_file;
        m_file = nullptr;
        return sf_close(file);
    }

private:
    SNDFILE* m_file;
};

// PCM formats get integer codes made exactly as the WAV writer makes them (left
// aligned in 32 bits, which libsndfile shifts down losslessly); lossy encoders
// get doubles with NaN silenced and infinities held at full scale.
bool WriteFrames(SNDFILE* file, int formatCode, const AudioBuffer& buffer)
{
    const bool pcm = formatCode == kFormatFlac16 || formatCode == kFormatFlac24;
    const double fullScale = formatCode == kFormatFlac16 ? kPcm16FullScale : kPcm24FullScale;
    const int shift = formatCode == kFormatFlac16 ? 16 : 8;
    std::vector<int> codes(pcm ? kWriteBlockFrames * kChannels : 0);
    std::vector<double> values(pcm ? 0 : kWriteBlockFrames * kChannels);

    const sf_count_t frames = static_cast<sf_count_t>(buffer.FrameCount());
    for (sf_count_t first = 0; first < frames; first += kWriteBlockFrames)
    {
        const sf_count_t count = std::min(kWriteBlockFrames, frames - first);
        const double* source = buffer.samples.data() + first * kChannels;
        sf_count_t written = 0;
        if (pcm)
        {
            for (sf_count_t i = 0; i < count * kChannels; ++i)
            {
                codes[i] = static_cast<int>(static_cast<uint32_t>(QuantizePcm(source[i], fullScale))
                                            << shift);
            }
            written = sf_writef_int(file, codes.data(), count);
        }
        else
        {
            for (sf_count_t i = 0; i < count * kChannels; ++i)
            {
                values[i] = FiniteSample(source[i]);
            }
            written = sf_writef_double(file, values.data(), count);
        }
        if (written != count || sf_error(file) != SF_ERR_NO_ERROR)
        {
            return false;
        }
    }
    return true;
}

} // namespace

void EncodeWithSndfile(const std::wstring& path, const AudioBuffer& buffer, int formatCode,
                       const AudioWriteOptions& options)
{
    if (buffer.sampleRate < 1)
    {
        throw std::runtime_error("Cannot write audio with invalid sample rate");
    }
    SF_INFO info{};
    info.frames = static_cast<sf_count_t>(buffer.FrameCount());
    info.samplerate = buffer.sampleRate;
    info.channels = kChannels;
    info.format = formatCode;
    if (!sf_format_check(&info))
    {
        throw std::runtime_error("Unsupported output audio format");
    }
    if (formatCode == kFormatMp3 && std::find(kMp3SampleRatesHz.begin(), kMp3SampleRatesHz.end(),
                                              buffer.sampleRate) == kMp3SampleRatesHz.end())
    {
        throw std::runtime_error("Cannot open output audio file: MP3 cannot be written at " +
                                 std::to_string(buffer.sampleRate) + " Hz");
    }

    AtomicFile target(WidePathToFs(path));
    if (!target.IsOpen())
    {
        throw std::runtime_error(
            MakeIoError("Cannot open output audio file", path, target.Error()));
    }
    SndfileWriter file(sf_open_virtual(&kAtomicFileIo, SFM_WRITE, &info, &target));
    if (file.Get() == nullptr)
    {
        throw std::runtime_error(
            MakeIoError("Cannot open output audio file", path, sf_strerror(nullptr)));
    }
    if (formatCode == kFormatOggVorbis || formatCode == kFormatMp3)
    {
        ApplyLossySettings(file.Get(), formatCode, buffer.sampleRate, options);
    }
    if (!WriteFrames(file.Get(), formatCode, buffer))
    {
        FailWrite(path, target, file.Get());
    }
    sf_write_sync(file.Get());
    const int closeError = file.Close();
    if (closeError != SF_ERR_NO_ERROR || !target.Commit())
    {
        FailWrite(path, target, nullptr, closeError);
    }
}
