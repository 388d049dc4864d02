#include "engine/io/audio_file_reader.h"
#include "engine/io/read_error.h"
#include "engine/io/wav_reader.h"
#include "engine/io/audio_file_writer.h"
#include "base/unicode_text.h"

#include "tests/support/signals.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

std::string Le16(uint32_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

std::string Le32(uint32_t value)
{
    return Le16(value & 0xFFFF) + Le16(value >> 16);
}

// One RIFF chunk; the declared size may differ from the body (lying headers) and
// the pad byte after an odd body may be left out (sloppy writers).
std::string Chunk(const std::string& id, const std::string& body, int64_t declaredSize = -1,
                  bool pad = true)
{
    const uint32_t size =
        declaredSize < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declaredSize);
    std::string bytes = id + Le32(size) + body;
    if (pad && body.size() % 2 != 0)
    {
        bytes += '\0';
    }
    return bytes;
}

std::string FmtBody(uint32_t tag, uint32_t channels, uint32_t rateHz, uint32_t blockAlign,
                    uint32_t bits)
{
    return Le16(tag) + Le16(channels) + Le32(rateHz) + Le32(rateHz * blockAlign) +
           Le16(blockAlign) + Le16(bits);
}

std::string Fmt(uint32_t tag, uint32_t channels, uint32_t bits, uint32_t rateHz = 44100)
{
    return Chunk("fmt ", FmtBody(tag, channels, rateHz, channels * bits / 8, bits));
}

const std::string kGuidTail("\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 12);

std::string ExtensibleFmt(uint32_t subFormat, uint32_t channels, uint32_t bits,
                          const std::string& guidTail = kGuidTail)
{
    const std::string body = FmtBody(0xFFFE, channels, 48000, channels * bits / 8, bits) +
                             Le16(22) + Le16(bits) + Le32(3) + Le32(subFormat) + guidTail;
    return Chunk("fmt ", body);
}

std::string Riff(const std::string& chunks, const std::string& form = "WAVE",
                 const std::string& id = "RIFF")
{
    return id + Le32(static_cast<uint32_t>(4 + chunks.size())) + form + chunks;
}

std::string Float32Bytes(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return Le32(bits);
}

std::string Float64Bytes(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return Le32(static_cast<uint32_t>(bits)) + Le32(static_cast<uint32_t>(bits >> 32));
}

const std::string kPcm16StereoData = Le16(0x8000) + Le16(0x7FFF) + Le16(0x4000) + Le16(0x0000);
const std::vector<double> kPcm16StereoSamples = {-1.0, 32767 / 32768.0, 0.5, 0.0};

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
    {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

struct WavCase
{
    const char* name;
    std::string bytes;
    std::vector<double> samples; // expected, when error is empty
    std::string error;
    int sampleRate;
};

WavCase Reads(const char* name, std::string bytes, std::vector<double> samples,
              int sampleRate = 44100)
{
    return {name, std::move(bytes), std::move(samples), "", sampleRate};
}

WavCase Fails(const char* name, std::string bytes, const char* error)
{
    return {name, std::move(bytes), {}, error, 0};
}

std::vector<WavCase> WavCases()
{
    const std::string pcm16 = Fmt(1, 2, 16);
    const std::string data16 = Chunk("data", kPcm16StereoData);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {
        Reads("pcm8_mono_is_duplicated",
              Riff(Fmt(1, 1, 8) + Chunk("data", Bytes({0x80, 0x00, 0xFF}))),
              {0.0, 0.0, -1.0, -1.0, 127 / 128.0, 127 / 128.0}),
        Reads("pcm16_stereo", Riff(pcm16 + data16), kPcm16StereoSamples),
        Reads("pcm24_sign_from_third_byte",
              Riff(Fmt(1, 2, 24) + Chunk("data", Bytes({0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80}))),
              {8388607 / 8388608.0, -1.0}),
        Reads("pcm32", Riff(Fmt(1, 1, 32) + Chunk("data", Le32(0x80000000) + Le32(0x40000000))),
              {-1.0, -1.0, 0.5, 0.5}),
        Reads("float32_not_clipped_nan_passes",
              Riff(Fmt(3, 2, 32) +
                   Chunk("data", Float32Bytes(0.25f) + Float32Bytes(-2.0f) +
                                     Float32Bytes(static_cast<float>(nan)) + Float32Bytes(1.0f))),
              {0.25, -2.0, nan, 1.0}),
        Reads("float64_mono", Riff(Fmt(3, 1, 64) + Chunk("data", Float64Bytes(0.1))), {0.1, 0.1}),
        Reads("extensible_pcm", Riff(ExtensibleFmt(1, 2, 16) + data16), kPcm16StereoSamples, 48000),
        Reads("extensible_float",
              Riff(ExtensibleFmt(3, 1, 32) + Chunk("data", Float32Bytes(0.75f))), {0.75, 0.75},
              48000),
        Reads("data_before_fmt", Riff(data16 + pcm16), kPcm16StereoSamples),
        Reads("later_fmt_overrides", Riff(Fmt(1, 1, 8) + pcm16 + data16), kPcm16StereoSamples),
        Reads("later_data_replaces", Riff(pcm16 + Chunk("data", Le16(1) + Le16(2)) + data16),
              kPcm16StereoSamples),
        Reads("unknown_chunk_skipped", Riff(Chunk("LIST", "INFOabcd") + pcm16 + data16),
              kPcm16StereoSamples),
        Reads("odd_chunk_with_pad", Riff(Chunk("junk", "abc") + pcm16 + data16),
              kPcm16StereoSamples),
        Reads("odd_chunk_without_pad", Riff(Chunk("junk", "abc", -1, false) + pcm16 + data16),
              kPcm16StereoSamples),
        Reads("data_size_zero_reads_to_end", Riff(pcm16 + Chunk("data", kPcm16StereoData, 0)),
              kPcm16StereoSamples),
        Reads("data_size_unknown_reads_to_end",
              Riff(pcm16 + Chunk("data", kPcm16StereoData, 0xFFFFFFFF, false)),
              kPcm16StereoSamples),
        Reads("data_size_beyond_file_reads_to_end",
              Riff(pcm16 + Chunk("data", kPcm16StereoData, 1 << 30)), kPcm16StereoSamples),
        Reads("partial_last_frame_dropped",
              Riff(pcm16 + Chunk("data", kPcm16StereoData + Le16(5), -1, false)),
              kPcm16StereoSamples),
        Reads("less_than_one_frame_is_empty", Riff(pcm16 + Chunk("data", Le16(5))), {}),
        Reads("unknown_width_without_frames_is_empty", Riff(Fmt(1, 2, 40) + Chunk("data", "ab")),
              {}),
        Reads("block_align_zero_computed",
              Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 0, 16)) + data16), kPcm16StereoSamples),
        Reads(
            "block_align_six_skips_two",
            Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 6, 16)) +
                 Chunk("data", Le16(0x8000) + Le16(0x4000) + "xy" + Le16(0x2000) + Le16(0) + "zw")),
            {-1.0, 0.5, 0.25, 0.0}),
        Reads("highest_rate", Riff(Fmt(1, 2, 16, 768000) + data16), kPcm16StereoSamples, 768000),
        Reads("lowest_rate", Riff(Fmt(1, 2, 16, 1000) + data16), kPcm16StereoSamples, 1000),
        Fails("shorter_than_12_bytes", "RIFF\4\0\0\0WAV", "Invalid WAV header"),
        Fails("rifx_refused", Riff(pcm16 + data16, "WAVE", "RIFX"), "Invalid WAV header"),
        Fails("rf64_refused", Riff(pcm16 + data16, "WAVE", "RF64"), "Invalid WAV header"),
        Fails("not_wave", Riff(pcm16 + data16, "AVI "), "Invalid WAV header"),
        Fails("fmt_over_1024", Riff(Chunk("fmt ", std::string(1026, '\0')) + data16),
              "fmt chunk too large"),
        Fails("fmt_under_16", Riff(Chunk("fmt ", std::string(14, '\1')) + data16),
              "Invalid fmt chunk"),
        Fails("extensible_too_short",
              Riff(Chunk("fmt ", FmtBody(0xFFFE, 2, 48000, 4, 16) + std::string(8, '\0')) + data16),
              "Invalid WAVE_FORMAT_EXTENSIBLE fmt chunk"),
        Fails("extensible_foreign_guid",
              Riff(ExtensibleFmt(1, 2, 16, std::string(11, '\0') + "\x71") + data16),
              "Unsupported WAV SubFormat GUID"),
        Fails("extensible_adpcm", Riff(ExtensibleFmt(2, 2, 16) + data16),
              "Unsupported WAV SubFormat (need PCM or IEEE float)"),
        Fails("three_channels", Riff(Fmt(1, 3, 16) + data16), "Unsupported WAV structure"),
        Fails("rate_zero", Riff(Fmt(1, 2, 16, 0) + data16), "Unsupported WAV structure"),
        Fails("rate_below_1000", Riff(Fmt(1, 2, 16, 999) + data16), "Unsupported WAV structure"),
        Fails("rate_above_768000", Riff(Fmt(1, 2, 16, 768001) + data16),
              "Unsupported WAV structure"),
        Fails("rate_negative_as_signed", Riff(Fmt(1, 2, 16, 0x80000000u) + data16),
              "Unsupported WAV structure"),
        Fails("bits_zero", Riff(Fmt(1, 2, 0) + data16), "Unsupported WAV structure"),
        Fails("no_data_chunk", Riff(pcm16), "Unsupported WAV structure"),
        Fails("no_fmt_chunk", Riff(data16), "Unsupported WAV structure"),
        Fails("empty_data", Riff(pcm16 + Chunk("data", "")), "Unsupported WAV structure"),
        Fails("truncated_fmt", Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 4, 16)).substr(0, 14)),
              "Unsupported WAV structure"),
        Fails("adpcm_tag", Riff(Fmt(2, 2, 16) + data16),
              "Unsupported WAV encoding (need PCM or IEEE float)"),
        Fails("twelve_bit", Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 4, 12)) + data16),
              "Unsupported bit depth"),
        Fails("block_align_too_small", Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 2, 16)) + data16),
              "Invalid block align"),
        Fails("pcm_40_bit", Riff(Fmt(1, 1, 40) + Chunk("data", std::string(10, '\0'))),
              "Unsupported PCM bit depth"),
        Fails("float_16_bit", Riff(Fmt(3, 2, 16) + data16), "Unsupported float WAV bit depth"),
    };
}

void PrintTo(const WavCase& c, std::ostream* os)
{
    *os << c.name;
}

class WavReadTable : public testing::TestWithParam<WavCase>
{
};

TEST_P(WavReadTable, ReadsSamplesOrGivesTheExactError)
{
    const WavCase& c = GetParam();
    TempDir dir;
    const auto path = dir / "case.wav";
    WriteFileBytes(path, c.bytes);
    if (!c.error.empty())
    {
        try
        {
            ReadWavFile(path.wstring());
            FAIL() << "a malformed file was accepted";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(error.what(), c.error);
        }
        return;
    }
    const AudioBuffer buffer = ReadWavFile(path.wstring());
    EXPECT_EQ(buffer.sampleRate, c.sampleRate);
    ASSERT_EQ(buffer.samples.size(), c.samples.size()) << "wrong number of samples read";
    for (size_t i = 0; i < c.samples.size(); ++i)
    {
        if (std::isnan(c.samples[i]))
        {
            EXPECT_TRUE(std::isnan(buffer.samples[i])) << "sample " << i;
        }
        else
        {
            EXPECT_EQ(buffer.samples[i], c.samples[i]) << "sample " << i;
        }
    }
    EXPECT_TRUE(buffer.meterSeries.empty());
    EXPECT_TRUE(buffer.stageMetrics.empty());
}

INSTANTIATE_TEST_SUITE_P(Wav, WavReadTable, testing::ValuesIn(WavCases()),
                         [](const testing::TestParamInfo<WavCase>& info)
                         { return std::string(info.param.name); });

std::string ReadError(const std::filesystem::path& path)
{
    try
    {
        ReadAudioFile(FsPathToWide(path));
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "(no error)";
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

TEST(AudioFileReader, ExtensionChoosesTheReaderWhateverItsCase)
{
    TempDir dir;
    const std::string wav = Riff(Fmt(1, 2, 16) + Chunk("data", kPcm16StereoData));
    WriteFileBytes(dir / "TRACK.WAV", wav);
    EXPECT_EQ(ReadAudioFile((dir / "TRACK.WAV").wstring()).samples, kPcm16StereoSamples);

    WriteAudioFile((dir / "track.Flac").wstring(), StereoSine(1000.0, 44100, 0.1, 0.5), {});
    EXPECT_EQ(ReadAudioFile((dir / "track.Flac").wstring()).FrameCount(), 4410u);

    for (const char* name : {"track.wave", "track.aiff", "track", "track.wav.bak", ".hidden"})
    {
        WriteFileBytes(dir / name, wav);
        EXPECT_EQ(ReadError(dir / name), "Unsupported input audio format") << name;
    }
}

TEST(AudioFileReader, UnreadableFilesGiveTheReadersTexts)
{
    TempDir dir;
    WriteFileBytes(dir / "text.mp3", std::string(4000, 'x') + "This is not an MPEG stream.\n");
    for (const char* name : {"empty.wav", "empty.mp3", "empty.flac", "empty.ogg"})
    {
        WriteFileBytes(dir / name, "");
    }
    for (const char* name : {"folder.wav", "folder.mp3", "folder.flac", "folder.ogg"})
    {
        std::filesystem::create_directory(dir / name);
    }
    struct Case
    {
        const char* name;
        std::string prefix;
    };
    const Case cases[] = {
        {"missing.wav", "Cannot open input WAV: " + (dir / "missing.wav").string() +
                            ": No such file or directory"},
        {"folder.wav",
         "Cannot open input WAV: " + (dir / "folder.wav").string() + ": Is a directory"},
        {"empty.wav", "Invalid WAV header"},
        {"text.mp3", "Failed to read MP3 file 'text.mp3': "},
        {"empty.mp3", "Failed to read MP3 file 'empty.mp3': "},
        {"missing.mp3", "Failed to read MP3 file 'missing.mp3': No such file or directory"},
        {"folder.mp3", "Failed to read MP3 file 'folder.mp3': Is a directory"},
        {"empty.flac", "Failed to read FLAC file 'empty.flac': "},
        {"missing.flac", "Failed to read FLAC file 'missing.flac': "},
        {"folder.flac", "Failed to read FLAC file 'folder.flac': Is a directory"},
        {"empty.ogg", "Failed to read OGG file 'empty.ogg': "},
        {"folder.ogg", "Failed to read OGG file 'folder.ogg': Is a directory"},
    };
    for (const Case& c : cases)
    {
        const std::string error = ReadError(dir / c.name);
        EXPECT_TRUE(StartsWith(error, c.prefix)) << c.name << " gave: " << error;
        EXPECT_GT(error.size(), c.prefix.size() - 1) << c.name;
    }
}

TEST(AudioFileReader, MakeReadErrorNamesTheFileAndDetail)
{
    EXPECT_EQ(MakeReadError(L"/music/Ünïcode mix.mp3", "MP3", "detail"),
              "Failed to read MP3 file 'Ünïcode mix.mp3': detail");
    EXPECT_EQ(MakeReadError(L"", "FLAC", "detail"), "Failed to read FLAC file: detail");
    EXPECT_EQ(MakeReadError(L"a.ogg", "OGG", ""), "Failed to read OGG file 'a.ogg'");
}

TEST(AudioFileReader, TruncatedCompressedStreamsFailAndDoNotCrash)
{
    TempDir dir;
    const AudioBuffer track = StereoSine(1000.0, 44100, 2.0, 0.5);
    for (const char* name : {"cut.flac", "cut.ogg", "cut.mp3"})
    {
        WriteAudioFile((dir / name).wstring(), track, {});
        const std::string whole = ReadFileBytes(dir / name);
        WriteFileBytes(dir / name, whole.substr(0, whole.size() / 2));
    }
    // FLAC knows its length; a short stream ends in the library's error text.
    const std::string flacError = ReadError(dir / "cut.flac");
    const std::string prefix =
        "Failed to read FLAC file 'cut.flac': the decoder stopped before reading the full stream (";
    EXPECT_TRUE(StartsWith(flacError, prefix)) << flacError;
    EXPECT_EQ(flacError.back(), ')') << flacError;
    const std::string libraryText = flacError.substr(prefix.size());
    EXPECT_EQ(flacError.find(libraryText.substr(0, libraryText.size() - 1)), prefix.size())
        << "the library's text is printed twice: " << flacError;

    // A cut Ogg or MP3 stream either fails with its reader's text or yields the
    // part that is there; it never crashes or invents audio.
    for (const char* name : {"cut.ogg", "cut.mp3"})
    {
        try
        {
            const AudioBuffer part = ReadAudioFile((dir / name).wstring());
            EXPECT_LT(part.FrameCount(), track.FrameCount()) << name;
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_TRUE(StartsWith(error.what(), "Failed to read ")) << error.what();
        }
    }
}

TEST(AudioFileReader, CorruptCompressedStreamsFailWithTheReadersText)
{
    TempDir dir;
    const AudioBuffer track = StereoSine(1000.0, 44100, 1.0, 0.5);
    for (const char* name : {"bad.flac", "bad.ogg"})
    {
        WriteAudioFile((dir / name).wstring(), track, {});
        std::string bytes = ReadFileBytes(dir / name);
        // Overwrite the stream header that follows the container's magic.
        for (size_t i = 8; i < 200 && i < bytes.size(); ++i)
        {
            bytes[i] = static_cast<char>(0xA5);
        }
        WriteFileBytes(dir / name, bytes);
    }
    EXPECT_TRUE(StartsWith(ReadError(dir / "bad.flac"), "Failed to read FLAC file 'bad.flac': "));
    EXPECT_TRUE(StartsWith(ReadError(dir / "bad.ogg"), "Failed to read OGG file 'bad.ogg': "));
}

TEST(AudioFileReader, MonoFlacAndOggAreDuplicated)
{
    TempDir dir;
    const std::vector<double> mono = {0.5, -0.25, 0.125, 0.0};
    for (const auto& [name, format] : {std::pair{"mono.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                                       std::pair{"mono.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS}})
    {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 1;
        info.format = format;
        SNDFILE* file = sf_open((dir / name).c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr) << name;
        std::vector<double> block(4410);
        for (size_t i = 0; i < block.size(); ++i)
        {
            block[i] = mono[i % mono.size()];
        }
        sf_writef_double(file, block.data(), static_cast<sf_count_t>(block.size()));
        sf_close(file);

        const AudioBuffer buffer = ReadAudioFile((dir / name).wstring());
        ASSERT_EQ(buffer.FrameCount(), block.size()) << name;
        for (size_t frame = 0; frame < buffer.FrameCount(); ++frame)
        {
            ASSERT_EQ(buffer.samples[2 * frame], buffer.samples[2 * frame + 1])
                << name << " frame " << frame << " differs between channels";
        }
    }
}

} // namespace

namespace
{

// Joined MP3 streams at alternating rates: the decoder reports a new format at
// the start and at every change of rate.
std::string JoinedMp3(const TempDir& dir, int segments)
{
    std::string joined;
    for (int i = 0; i < segments; ++i)
    {
        const auto part = dir / "part.mp3";
        WriteAudioFile(part.wstring(), StereoSine(1000.0, i % 2 == 0 ? 44100 : 48000, 0.2, 0.5),
                       {});
        joined += ReadFileBytes(part);
    }
    return joined;
}

TEST(AudioFileReader, Mp3FormatChangesAreLimitedToEight)
{
    TempDir dir;
    WriteFileBytes(dir / "eight.mp3", JoinedMp3(dir, 8));
    WriteFileBytes(dir / "nine.mp3", JoinedMp3(dir, 9));
    const AudioBuffer eight = ReadAudioFile((dir / "eight.mp3").wstring());
    EXPECT_EQ(eight.sampleRate, 48000) << "the last accepted format sets the rate";
    EXPECT_GT(eight.FrameCount(), 8u * 8000u);
    EXPECT_EQ(ReadError(dir / "nine.mp3"),
              "Failed to read MP3 file 'nine.mp3': decoder reported too many mid-stream format "
              "changes");
}

// An ID3v2.4 header whose synchsafe size field claims the given body length.
std::string Id3v2Header(uint32_t bodyBytes)
{
    return std::string("ID3\x04\x00\x00", 6) + static_cast<char>((bodyBytes >> 21) & 0x7F) +
           static_cast<char>((bodyBytes >> 14) & 0x7F) +
           static_cast<char>((bodyBytes >> 7) & 0x7F) + static_cast<char>(bodyBytes & 0x7F);
}

TEST(AudioFileReader, Mp3TagsAreSkippedWhateverSizeTheyClaim)
{
    TempDir dir;
    WriteAudioFile((dir / "plain.mp3").wstring(), StereoSine(1000.0, 44100, 0.2, 0.5), {});
    const std::string audio = ReadFileBytes(dir / "plain.mp3");
    const size_t frames = ReadAudioFile((dir / "plain.mp3").wstring()).FrameCount();
    ASSERT_GT(frames, 0u);

    constexpr uint32_t k256MiB = 0x0FFFFFFF;
    WriteFileBytes(dir / "tagged.mp3", Id3v2Header(300) + std::string(300, '\0') + audio);
    WriteFileBytes(dir / "lying.mp3", Id3v2Header(k256MiB) + audio);
    EXPECT_EQ(ReadAudioFile((dir / "tagged.mp3").wstring()).FrameCount(), frames);
    EXPECT_EQ(ReadAudioFile((dir / "lying.mp3").wstring()).FrameCount(), frames)
        << "a tag larger than its file hides playable audio";

    WriteFileBytes(dir / "only_tag.mp3", Id3v2Header(k256MiB));
    EXPECT_TRUE(
        StartsWith(ReadError(dir / "only_tag.mp3"), "Failed to read MP3 file 'only_tag.mp3': "));
}

// libsndfile writing to a sink that cannot seek, as an encoder writing to a
// pipe does: the stream header never learns the total length.
std::string EncodeToPipe(const AudioBuffer& track, int format)
{
    struct Sink
    {
        std::string bytes;
    } sink;
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void*) -> sf_count_t { return -1; };
    io.seek = [](sf_count_t, int, void*) -> sf_count_t { return -1; };
    io.read = [](void*, sf_count_t, void*) -> sf_count_t { return 0; };
    io.write = [](const void* data, sf_count_t count, void* user) -> sf_count_t
    {
        static_cast<Sink*>(user)->bytes.append(static_cast<const char*>(data),
                                               static_cast<size_t>(count));
        return count;
    };
    io.tell = [](void* user) -> sf_count_t
    { return static_cast<sf_count_t>(static_cast<Sink*>(user)->bytes.size()); };
    SF_INFO info{};
    info.samplerate = track.sampleRate;
    info.channels = 2;
    info.format = format;
    SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &sink);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file != nullptr)
    {
        sf_writef_double(file, track.samples.data(), static_cast<sf_count_t>(track.FrameCount()));
        sf_close(file);
    }
    return sink.bytes;
}

TEST(AudioFileReader, FlacWithoutItsLengthIsReadToTheEnd)
{
    TempDir dir;
    const AudioBuffer track = StereoSine(1000.0, 44100, 1.0, 0.5);
    const std::string piped = EncodeToPipe(track, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    WriteFileBytes(dir / "piped.flac", piped);
    const AudioBuffer buffer = ReadAudioFile((dir / "piped.flac").wstring());
    EXPECT_EQ(buffer.sampleRate, 44100);
    ASSERT_EQ(buffer.FrameCount(), track.FrameCount());
    EXPECT_NEAR(buffer.samples[2001], track.samples[2001], 1e-4);

    WriteFileBytes(dir / "cut.flac", piped.substr(0, piped.size() / 2));
    const AudioBuffer part = ReadAudioFile((dir / "cut.flac").wstring());
    EXPECT_GT(part.FrameCount(), 0u);
    EXPECT_LT(part.FrameCount(), track.FrameCount());
}

TEST(AudioFileReader, ChainedOggIsReadWholeUnlessItChangesFormat)
{
    TempDir dir;
    const auto encode = [&](const AudioBuffer& track)
    {
        WriteAudioFile((dir / "link.ogg").wstring(), track, {});
        return ReadFileBytes(dir / "link.ogg");
    };
    const std::string first = encode(StereoSine(1000.0, 44100, 1.0, 0.5));
    const std::string second = encode(StereoSine(500.0, 44100, 0.5, 0.25));
    const std::string other = encode(StereoSine(500.0, 48000, 0.5, 0.25));

    WriteFileBytes(dir / "chain.ogg", first + second + first);
    const AudioBuffer chain = ReadAudioFile((dir / "chain.ogg").wstring());
    EXPECT_EQ(chain.sampleRate, 44100);
    EXPECT_EQ(chain.FrameCount(), 44100u + 22050u + 44100u);
    // The second link's quieter, slower tone follows the first one's.
    EXPECT_LT(std::abs(chain.samples[2 * 60000]), 0.3);

    WriteFileBytes(dir / "changes.ogg", first + other);
    EXPECT_EQ(ReadError(dir / "changes.ogg"),
              "Failed to read OGG file 'changes.ogg': the chained streams change format: stream 2 "
              "has 2 channels at 48000 Hz, the first 2 channels at 44100 Hz");
}

TEST(AudioFileReader, NamesThatAreNotUtf8AreReadAndWritten)
{
    TempDir dir;
    const AudioBuffer track = StereoSine(1000.0, 44100, 0.2, 0.5);
    for (const char* extension : {".wav", ".flac", ".mp3", ".ogg"})
    {
        const std::filesystem::path latin1 = dir / (std::string("caf\xE9 ") + extension);
        const std::wstring wide = FsPathToWide(latin1);
        WriteAudioFile(wide, track, {});
        ASSERT_TRUE(std::filesystem::exists(latin1)) << extension << " written under another name";
        EXPECT_GT(ReadAudioFile(wide).FrameCount(), track.FrameCount() / 2) << extension;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              4);
    EXPECT_EQ(ReadError(dir / "caf\xE9 missing.mp3"),
              "Failed to read MP3 file 'caf\xEF\xBF\xBD missing.mp3': No such file or directory");
}

TEST(AudioFileReader, TruncatedWavKeepsWhatIsThereAndSaysHowMuchWasDeclared)
{
    TempDir dir;
    // 30 s of 8-bit mono at 1 kHz declared, 15 s present.
    const std::string header = Fmt(1, 1, 8, 1000) + "data" + Le32(30000);
    WriteFileBytes(dir / "cut.wav", Riff(header + std::string(15000, '\x80')));
    const AudioBuffer cut = ReadAudioFile((dir / "cut.wav").wstring());
    EXPECT_EQ(cut.FrameCount(), 15000u);
    EXPECT_EQ(cut.sourceLength.declaredFrames, 30000u);
    EXPECT_EQ(cut.sourceLength.readFrames, 15000u);
    EXPECT_TRUE(cut.sourceLength.IsShort());

    WriteFileBytes(dir / "whole.wav", Riff(Fmt(1, 2, 16) + Chunk("data", kPcm16StereoData)));
    EXPECT_FALSE(ReadAudioFile((dir / "whole.wav").wstring()).sourceLength.IsShort());
    WriteFileBytes(dir / "open.wav",
                   Riff(Fmt(1, 2, 16) + Chunk("data", kPcm16StereoData, 0xFFFFFFFF, false)));
    EXPECT_FALSE(ReadAudioFile((dir / "open.wav").wstring()).sourceLength.IsShort())
        << "a recorder's open-ended size states no length";
}

} // namespace
