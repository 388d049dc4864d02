#include "engine/io/audio_file_writer.h"
#include "engine/io/wav_writer.h"
#include "engine/io/audio_file_reader.h"

#include "tests/support/signals.h"
#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <csignal>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace
{

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

AudioBuffer Stereo(int sampleRate, std::vector<double> samples)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples = std::move(samples);
    return buffer;
}

// A 1 kHz tone with the right channel at half the left's level, so that
// swapped or merged channels show.
AudioBuffer Tone(int sampleRate, double seconds, double amplitude)
{
    AudioBuffer tone = StereoSine(1000.0, sampleRate, seconds, amplitude);
    for (size_t i = 1; i < tone.samples.size(); i += 2)
    {
        tone.samples[i] *= 0.5;
    }
    return tone;
}

double RmsDb(const std::vector<double>& samples, size_t channel)
{
    double sum = 0.0;
    size_t count = 0;
    for (size_t i = channel; i < samples.size(); i += 2, ++count)
    {
        sum += samples[i] * samples[i];
    }
    return 10.0 * std::log10(sum / std::max<size_t>(count, 1));
}

std::string WriteError(const std::filesystem::path& path, const AudioBuffer& buffer,
                       const AudioWriteOptions& options)
{
    try
    {
        WriteAudioFile(path.wstring(), buffer, options);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "(no error)";
}

int32_t Le16At(const std::string& bytes, size_t offset)
{
    return static_cast<int16_t>(static_cast<uint8_t>(bytes[offset]) |
                                (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}

int32_t Le24At(const std::string& bytes, size_t offset)
{
    const uint32_t raw = static_cast<uint8_t>(bytes[offset]) |
                         (static_cast<uint8_t>(bytes[offset + 1]) << 8) |
                         (static_cast<uint8_t>(bytes[offset + 2]) << 16);
    return static_cast<int32_t>(raw << 8) >> 8;
}

uint32_t Le32At(const std::string& bytes, size_t offset)
{
    return static_cast<uint32_t>(Le16At(bytes, offset) & 0xFFFF) |
           (static_cast<uint32_t>(Le16At(bytes, offset + 2) & 0xFFFF) << 16);
}

int SndfileFormat(const std::filesystem::path& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
    {
        return 0;
    }
    sf_close(file);
    return info.format;
}

TEST(WavWriter, HeaderAndCodesOf16BitPcm)
{
    TempDir dir;
    const auto path = dir / "mix.WAV";
    AudioWriteOptions options;
    options.bitDepth = 16;
    options.format = 2; // the extension decides
    WriteAudioFile(path.wstring(), Stereo(44100, {1.0, -1.0, 0.5, 1.7, kNaN, -kInf}), options);

    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 44u + 12u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32At(bytes, 4), 36u + 12u);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le32At(bytes, 16), 16u);
    EXPECT_EQ(Le16At(bytes, 20), 1);
    EXPECT_EQ(Le16At(bytes, 22), 2);
    EXPECT_EQ(Le32At(bytes, 24), 44100u);
    EXPECT_EQ(Le32At(bytes, 28), 44100u * 4);
    EXPECT_EQ(Le16At(bytes, 32), 4);
    EXPECT_EQ(Le16At(bytes, 34), 16);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(Le32At(bytes, 40), 12u);
    const int32_t expected[] = {32767, -32768, 16384, 32767, 0, -32768};
    for (size_t i = 0; i < 6; ++i)
    {
        EXPECT_EQ(Le16At(bytes, 44 + 2 * i), expected[i]) << "sample " << i;
    }
}

TEST(WavWriter, TwentyFourBitRoundsHalvesToEven)
{
    TempDir dir;
    const auto path = dir / "ties.wav";
    const double lsb = 1.0 / 8388608.0;
    WriteWavFile(path.wstring(),
                 Stereo(48000, {1.5 * lsb, 2.5 * lsb, -1.5 * lsb, 1.0, -1.0, kInf, kNaN, 0.0}), 24);
    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 44u + 8 * 3);
    EXPECT_EQ(Le16At(bytes, 32), 6) << "block align of 24-bit stereo";
    const int32_t expected[] = {2, 2, -2, 8388607, -8388608, 8388607, 0, 0};
    for (size_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(Le24At(bytes, 44 + 3 * i), expected[i]) << "sample " << i;
    }
}

TEST(WavWriter, EmptyBufferGivesA44ByteFile)
{
    TempDir dir;
    WriteWavFile((dir / "empty.wav").wstring(), Stereo(48000, {}), 16);
    const std::string bytes = ReadFileBytes(dir / "empty.wav");
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(Le32At(bytes, 40), 0u);
    EXPECT_EQ(Le32At(bytes, 4), 36u);
}

TEST(WavWriter, CreatesMissingFoldersAndReplacesAnExistingFile)
{
    TempDir dir;
    const auto path = dir / "new" / "folder" / "mix.wav";
    WriteWavFile(path.wstring(), Stereo(48000, {0.25, 0.25}), 16);
    WriteWavFile(path.wstring(), Stereo(48000, {0.5, 0.5, 0.5, 0.5}), 16);
    EXPECT_EQ(ReadAudioFile(path.wstring()).samples, (std::vector<double>{0.5, 0.5, 0.5, 0.5}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

// Lossless formats return exactly the codes the WAV writer makes: values
// limited to [-1, 1], rounded to the nearest code, NaN as silence.
struct LosslessCase
{
    const char* name;
    int bitDepth;
    double fullScale;
};

class LosslessRoundTrip : public testing::TestWithParam<LosslessCase>
{
};

TEST_P(LosslessRoundTrip, ReadsBackTheQuantisedSamples)
{
    const LosslessCase& c = GetParam();
    TempDir dir;
    AudioBuffer track = StereoNoise(44100, 0.5, 1.2, 7);
    track.samples[0] = 1.0;
    track.samples[1] = -1.0;
    track.samples[2] = kNaN;
    track.samples[3] = -kInf;
    const auto path = dir / c.name;
    AudioWriteOptions options;
    options.bitDepth = c.bitDepth;
    WriteAudioFile(path.wstring(), track, options);

    const AudioBuffer back = ReadAudioFile(path.wstring());
    EXPECT_EQ(back.sampleRate, 44100);
    ASSERT_EQ(back.samples.size(), track.samples.size());
    for (size_t i = 0; i < track.samples.size(); ++i)
    {
        const double source = std::isnan(track.samples[i]) ? 0.0 : track.samples[i];
        const double code =
            std::min(std::nearbyint(std::clamp(source, -1.0, 1.0) * c.fullScale), c.fullScale - 1);
        ASSERT_EQ(back.samples[i], code / c.fullScale) << "sample " << i << " of " << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, LosslessRoundTrip,
                         testing::Values(LosslessCase{"wav16.wav", 16, 32768.0},
                                         LosslessCase{"wav24.wav", 24, 8388608.0},
                                         LosslessCase{"flac16.flac", 16, 32768.0},
                                         LosslessCase{"flac24.flac", 24, 8388608.0},
                                         LosslessCase{"flac8.flac", 8, 32768.0}),
                         [](const auto& info)
                         {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(SndfileWriter, FlacBitDepthPicksTheSubtype)
{
    TempDir dir;
    const AudioBuffer track = Tone(48000, 0.1, 0.5);
    for (const auto& [bitDepth, subtype] :
         {std::pair{24, SF_FORMAT_PCM_24}, std::pair{16, SF_FORMAT_PCM_16},
          std::pair{8, SF_FORMAT_PCM_16}})
    {
        AudioWriteOptions options;
        options.bitDepth = bitDepth;
        WriteAudioFile((dir / "x.flac").wstring(), track, options);
        EXPECT_EQ(SndfileFormat(dir / "x.flac"), SF_FORMAT_FLAC | subtype) << bitDepth;
    }
}

// Lossy codecs: the level and the length survive within what the codec allows.
TEST(SndfileWriter, LossyRoundTripKeepsLevelAndLength)
{
    TempDir dir;
    const AudioBuffer track = Tone(44100, 2.0, 0.5);
    for (const char* name : {"mix.mp3", "mix.ogg"})
    {
        WriteAudioFile((dir / name).wstring(), track, {});
        const AudioBuffer back = ReadAudioFile((dir / name).wstring());
        EXPECT_EQ(back.sampleRate, 44100) << name;
        // The MP3 decoder trims the encoder delay and padding that the LAME tag
        // records; Ogg's last granule position gives the exact length.
        EXPECT_EQ(back.FrameCount(), track.FrameCount()) << name << " changed the track's length";
        EXPECT_NEAR(RmsDb(back.samples, 0), RmsDb(track.samples, 0), 0.5) << name << " left";
        EXPECT_NEAR(RmsDb(back.samples, 1), RmsDb(track.samples, 1), 0.5) << name << " right";
    }
}

double CorrelationAtLagZero(const std::vector<double>& a, const std::vector<double>& b)
{
    double ab = 0.0;
    double aa = 0.0;
    double bb = 0.0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    {
        ab += a[i] * b[i];
        aa += a[i] * a[i];
        bb += b[i] * b[i];
    }
    return ab / std::sqrt(aa * bb + 1e-30);
}

// Broadband noise only lines up with itself: a decoder that kept the encoder
// delay would leave the decoded track shifted and uncorrelated.
TEST(SndfileWriter, LossyRoundTripStaysTimeAligned)
{
    TempDir dir;
    const AudioBuffer noise = StereoNoise(44100, 1.0, 0.3, 7);
    AudioWriteOptions options;
    options.bitrateKbps = 320;
    for (const char* name : {"aligned.mp3", "aligned.ogg"})
    {
        WriteAudioFile((dir / name).wstring(), noise, options);
        const AudioBuffer back = ReadAudioFile((dir / name).wstring());
        EXPECT_GT(CorrelationAtLagZero(back.samples, noise.samples), 0.9) << name;
    }
}

uintmax_t EncodedSize(const std::filesystem::path& path, const AudioBuffer& track, int mode,
                      int kbps, double quality)
{
    AudioWriteOptions options;
    options.bitrateMode = mode;
    options.bitrateKbps = kbps;
    options.vbrQuality = quality;
    WriteAudioFile(path.wstring(), track, options);
    return std::filesystem::file_size(path);
}

TEST(SndfileWriter, HigherBitrateAndQualityGiveLargerFiles)
{
    TempDir dir;
    const AudioBuffer noise = StereoNoise(48000, 3.0, 0.5, 7);
    for (const char* name : {"noise.mp3", "noise.ogg"})
    {
        const auto path = dir / name;
        for (int mode : {0, 1})
        {
            const uintmax_t high = EncodedSize(path, noise, mode, 320, 0.8);
            const uintmax_t low = EncodedSize(path, noise, mode, 96, 0.8);
            EXPECT_GT(high, low * 2) << name << " mode " << mode << ": 320 kbps vs 96 kbps";
        }
        const uintmax_t best = EncodedSize(path, noise, 2, 96, 1.0);
        const uintmax_t draft = EncodedSize(path, noise, 2, 320, 0.2);
        EXPECT_GT(best, draft * 3 / 2) << name << ": Best vs Draft";
    }
    // A constant 320 kbps MP3 is 320 kbps, not the reverse end of the scale.
    const uintmax_t bytes = EncodedSize(dir / "cbr.mp3", noise, 0, 320, 0.8);
    EXPECT_NEAR(bytes * 8.0 / 3.0 / 1000.0, 320.0, 16.0);
    const uintmax_t bytes96 = EncodedSize(dir / "cbr96.mp3", noise, 0, 96, 0.8);
    EXPECT_NEAR(bytes96 * 8.0 / 3.0 / 1000.0, 96.0, 8.0);
}

TEST(AudioFileWriter, ExtensionDecidesAndFormatCodeOnlyForOthers)
{
    TempDir dir;
    const AudioBuffer track = Tone(44100, 0.2, 0.5);
    AudioWriteOptions options;
    options.format = 2;
    WriteAudioFile((dir / "mix.aiff").wstring(), track, options);
    EXPECT_EQ(SndfileFormat(dir / "mix.aiff"), SF_FORMAT_OGG | SF_FORMAT_VORBIS);

    options.format = 1;
    WriteAudioFile((dir / "mix.Mp3").wstring(), track, options);
    EXPECT_EQ(SndfileFormat(dir / "mix.Mp3") & SF_FORMAT_TYPEMASK, SF_FORMAT_MPEG);

    options.format = 0;
    options.bitDepth = 24;
    WriteAudioFile((dir / "mix.OGG").wstring(), track, options);
    EXPECT_EQ(SndfileFormat(dir / "mix.OGG"), SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    WriteAudioFile((dir / "noextension").wstring(), track, options);
    EXPECT_EQ(SndfileFormat(dir / "noextension"), SF_FORMAT_WAV | SF_FORMAT_PCM_24);

    for (int format : {-1, 4, 99})
    {
        options.format = format;
        EXPECT_EQ(WriteError(dir / "mix.aiff", track, options), "Unsupported output audio format");
    }
}

TEST(AudioFileWriter, RefusalsLeaveNoFileAndKeepTheOldOne)
{
    TempDir dir;
    WriteFileBytes(dir / "keep.mp3", "previous");
    WriteFileBytes(dir / "keep.wav", "previous");
    WriteFileBytes(dir / "blocker", "a file where a folder is expected");
    AudioWriteOptions wav24;
    wav24.bitDepth = 24;
    AudioWriteOptions wav8;
    wav8.bitDepth = 8;
    struct Case
    {
        std::filesystem::path path;
        AudioBuffer buffer;
        AudioWriteOptions options;
        std::string error;
    };
    const Case cases[] = {
        {dir / "keep.mp3",
         Tone(96000, 0.1, 0.5),
         {},
         "Cannot open output audio file: MP3 cannot be written at 96000 Hz"},
        {dir / "keep.mp3", Tone(0, 0.0, 0.5), {}, "Cannot write audio with invalid sample rate"},
        {dir / "keep.wav", Stereo(0, {0.1, 0.1}), wav24,
         "Cannot write audio with invalid sample rate"},
        {dir / "keep.wav", Tone(48000, 0.1, 0.5), wav8, "Unsupported output audio format"},
        {dir / "blocker" / "mix.flac",
         Tone(48000, 0.1, 0.5),
         {},
         "Cannot open output audio file: " + (dir / "blocker" / "mix.flac").string() +
             ": Not a directory"},
        {dir / "blocker" / "mix.wav",
         Tone(48000, 0.1, 0.5),
         {},
         "Cannot open output WAV: " + (dir / "blocker" / "mix.wav").string() + ": Not a directory"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(WriteError(c.path, c.buffer, c.options), c.error) << c.path;
    }
    EXPECT_EQ(ReadFileBytes(dir / "keep.mp3"), "previous");
    EXPECT_EQ(ReadFileBytes(dir / "keep.wav"), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              3)
        << "a refused write left a file behind";
}

TEST(AudioFileWriter, FailedWriteIsReportedAndKeepsThePreviousFile)
{
    TempDir dir;
    const AudioBuffer track = StereoNoise(48000, 4.0, 0.5, 7);
    for (const char* name : {"full.wav", "full.flac", "full.ogg", "full.mp3"})
    {
        const auto path = dir / name;
        WriteFileBytes(path, "previous");
        {
            FileSizeLimit limit(64 * 1024);
            EXPECT_EQ(WriteError(path, track, {}),
                      "Failed to write audio data: " + path.string() + ": File too large")
                << name;
        }
        EXPECT_EQ(ReadFileBytes(path), "previous") << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              4)
        << "a failed write left its temporary file behind";
}

TEST(AudioFileWriter, RefusedReplacementNamesItsCause)
{
    TempDir dir;
    const AudioBuffer track = Tone(48000, 0.1, 0.5);
    // A folder in the way is found before anything is written.
    for (const auto& [name, opening] : {std::pair{"taken.wav", "Cannot open output WAV: "},
                                        std::pair{"taken.flac", "Cannot open output audio file: "}})
    {
        std::filesystem::create_directories(dir / name / "inside");
        EXPECT_EQ(WriteError(dir / name, track, {}),
                  opening + (dir / name).string() + ": Is a directory");
    }
}

} // namespace
