#include "engine/io/wav_reader.h"

#include "engine/io/io_error.h"
#include "base/unicode_text.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace
{

constexpr uint32_t kMaxFmtChunkBytes = 1024;
constexpr uint32_t kMinFmtChunkBytes = 16;
constexpr uint32_t kMinExtensibleFmtChunkBytes = 40;
constexpr uint32_t kUnknownDataSize = 0xFFFFFFFF;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatIeeeFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr long kMinFileBytes = 12;
// Rates a WAV may declare; anything outside is a damaged or hostile header.
constexpr int32_t kMinSampleRateHz = 1000;
constexpr int32_t kMaxSampleRateHz = 768000;
// Data is read in blocks so that a short file is noticed as it is read.
constexpr size_t kReadBlockBytes = size_t{1} << 20;

// Bytes 4..15 of KSDATAFORMAT_SUBTYPE_PCM and _IEEE_FLOAT (00000001-/00000003-
// 0000-0010-8000-00AA00389B71); only the first four bytes tell them apart.
constexpr std::array<unsigned char, 12> kSubFormatGuidTail = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                                              0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

struct WavFormat
{
    uint32_t formatCode = 0;
    uint16_t channels = 0;
    int32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

[[noreturn]] void Fail(const char* text)
{
    throw std::runtime_error(text);
}

uint16_t ReadLe16(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ReadLe32(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

bool ReadExactly(std::FILE* file, void* target, size_t size)
{
    return std::fread(target, 1, size, file) == size;
}

bool IsChunkIdCharacter(unsigned char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
           ch == ' ' || ch == '_';
}

// The chunk walk's view of the file: reads, skips and the bytes left, with the
// failed state of a short read kept as a stream would keep it.
class ChunkStream
{
public:
    ChunkStream(std::FILE* file, long long size, long long position)
        : m_file(file), m_size(size), m_position(position)
    {
    }

    bool Failed() const { return m_failed; }
    long long Remaining() const { return m_position < m_size ? m_size - m_position : 0; }

    bool Read(void* target, size_t size)
    {
        const size_t got = std::fread(target, 1, size, m_file);
        m_position += static_cast<long long>(got);
        if (got != size)
        {
            m_failed = true;
        }
        return !m_failed;
    }

    // Reads up to size bytes in blocks, never trusting size beyond what arrives.
    std::vector<unsigned char> ReadBlocks(size_t size)
    {
        std::vector<unsigned char> bytes(size);
        size_t filled = 0;
        while (filled < size)
        {
            const size_t want = std::min(kReadBlockBytes, size - filled);
            const size_t got = std::fread(bytes.data() + filled, 1, want, m_file);
            filled += got;
            m_position += static_cast<long long>(got);
            if (got != want)
            {
                m_failed = true;
                bytes.resize(filled);
                break;
            }
        }
        return bytes;
    }

    void Skip(long long bytes)
    {
        if (bytes > 0 && fseeko(m_file, bytes, SEEK_CUR) != 0)
        {
            m_failed = true;
            return;
        }
        m_position += bytes;
    }

    // After an odd-sized chunk: writers that leave out the pad byte go straight on
    // with the next chunk id, so four id characters mean "no pad here".
    void SkipPadByte()
    {
        if (Remaining() < 4)
        {
            return;
        }
        unsigned char next[4];
        if (std::fread(next, 1, sizeof(next), m_file) != sizeof(next) ||
            fseeko(m_file, m_position, SEEK_SET) != 0)
        {
            m_failed = true;
            return;
        }
        for (unsigned char ch : next)
        {
            if (!IsChunkIdCharacter(ch))
            {
                Skip(1);
                return;
            }
        }
    }

private:
    std::FILE* m_file;
    long long m_size;
    long long m_position;
    bool m_failed = false;
};

void ParseFmtChunk(ChunkStream& stream, uint32_t chunkSize, WavFormat& format)
{
    if (chunkSize > kMaxFmtChunkBytes)
    {
        Fail("fmt chunk too large");
    }
    std::array<unsigned char, kMaxFmtChunkBytes> bytes{};
    stream.Read(bytes.data(), chunkSize);
    if (chunkSize < kMinFmtChunkBytes)
    {
        Fail("Invalid fmt chunk");
    }
    uint32_t formatCode = ReadLe16(&bytes[0]);
    if (formatCode == kFormatExtensible)
    {
        if (chunkSize < kMinExtensibleFmtChunkBytes)
        {
            Fail("Invalid WAVE_FORMAT_EXTENSIBLE fmt chunk");
        }
        if (std::memcmp(&bytes[28], kSubFormatGuidTail.data(), kSubFormatGuidTail.size()) != 0)
        {
            Fail("Unsupported WAV SubFormat GUID");
        }
        formatCode = ReadLe32(&bytes[24]);
        if (formatCode != kFormatPcm && formatCode != kFormatIeeeFloat)
        {
            Fail("Unsupported WAV SubFormat (need PCM or IEEE float)");
        }
    }
    format.formatCode = formatCode;
    format.channels = ReadLe16(&bytes[2]);
    format.sampleRate = static_cast<int32_t>(ReadLe32(&bytes[4]));
    format.blockAlign = ReadLe16(&bytes[12]);
    format.bitsPerSample = ReadLe16(&bytes[14]);
}

// Checks what the chunks declared and settles the block align.
void ValidateFormat(WavFormat& format, const std::vector<unsigned char>& data)
{
    if ((format.channels != 1 && format.channels != 2) || format.sampleRate < kMinSampleRateHz ||
        format.sampleRate > kMaxSampleRateHz || format.bitsPerSample == 0 || data.empty())
    {
        Fail("Unsupported WAV structure");
    }
    if (format.formatCode != kFormatPcm && format.formatCode != kFormatIeeeFloat)
    {
        Fail("Unsupported WAV encoding (need PCM or IEEE float)");
    }
    if (format.bitsPerSample % 8 != 0)
    {
        Fail("Unsupported bit depth");
    }
    const unsigned frameBytes = format.channels * (format.bitsPerSample / 8u);
    if (format.blockAlign == 0)
    {
        format.blockAlign = static_cast<uint16_t>(frameBytes);
    }
    if (format.blockAlign < frameBytes)
    {
        Fail("Invalid block align");
    }
}

double DecodePcm8(const unsigned char* p)
{
    return (static_cast<int>(p[0]) - 128) / 128.0;
}

double DecodePcm16(const unsigned char* p)
{
    return static_cast<int16_t>(ReadLe16(p)) / 32768.0;
}

double DecodePcm24(const unsigned char* p)
{
    // Place the three bytes at the top of 32 bits so the sign comes from the third.
    const int32_t value = static_cast<int32_t>((static_cast<uint32_t>(p[0]) << 8) |
                                               (static_cast<uint32_t>(p[1]) << 16) |
                                               (static_cast<uint32_t>(p[2]) << 24)) >>
                          8;
    return value / 8388608.0;
}

double DecodePcm32(const unsigned char* p)
{
    return static_cast<int32_t>(ReadLe32(p)) / 2147483648.0;
}

double DecodeFloat32(const unsigned char* p)
{
    const uint32_t bits = ReadLe32(p);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

double DecodeFloat64(const unsigned char* p)
{
    const uint64_t bits = ReadLe32(p) | (static_cast<uint64_t>(ReadLe32(p + 4)) << 32);
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

using SampleDecoder = double (*)(const unsigned char*);
using FrameDecoder = void (*)(const WavFormat&, const unsigned char*, size_t, double*);

// One instantiation per sample decoder keeps the choice out of the per-sample loop.
template <SampleDecoder Decode>
void DecodeFrames(const WavFormat& format, const unsigned char* data, size_t frames, double* out)
{
    const size_t blockAlign = format.blockAlign;
    const size_t rightOffset = format.bitsPerSample / 8u;
    if (format.channels == 1)
    {
        for (size_t frame = 0; frame < frames; ++frame)
        {
            const double value = Decode(data + frame * blockAlign);
            out[2 * frame] = value;
            out[2 * frame + 1] = value;
        }
        return;
    }
    for (size_t frame = 0; frame < frames; ++frame)
    {
        const unsigned char* block = data + frame * blockAlign;
        out[2 * frame] = Decode(block);
        out[2 * frame + 1] = Decode(block + rightOffset);
    }
}

FrameDecoder PickFrameDecoder(const WavFormat& format)
{
    if (format.formatCode == kFormatPcm)
    {
        switch (format.bitsPerSample)
        {
        case 8:
            return DecodeFrames<DecodePcm8>;
        case 16:
            return DecodeFrames<DecodePcm16>;
        case 24:
            return DecodeFrames<DecodePcm24>;
        case 32:
            return DecodeFrames<DecodePcm32>;
        default:
            Fail("Unsupported PCM bit depth");
        }
    }
    switch (format.bitsPerSample)
    {
    case 32:
        return DecodeFrames<DecodeFloat32>;
    case 64:
        return DecodeFrames<DecodeFloat64>;
    default:
        Fail("Unsupported float WAV bit depth");
    }
}

void DecodeAll(const WavFormat& format, const std::vector<unsigned char>& data, AudioBuffer& out)
{
    // A trailing partial frame is dropped; with no whole frame there is nothing to
    // decode and the sample width is never looked at.
    const size_t frames = data.size() / format.blockAlign;
    if (frames == 0)
    {
        return;
    }
    const FrameDecoder decode = PickFrameDecoder(format);
    out.samples.resize(frames * 2);
    decode(format, data.data(), frames, out.samples.data());
}

} // namespace

AudioBuffer ReadWavFile(const std::wstring& path)
{
    FileHandle file(std::fopen(WidePathToFs(path).c_str(), "rb"));
    struct stat info
    {
    };
    // A directory opens for reading on Linux; only a regular file is a WAV.
    if (!file || ::fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode))
    {
        const int cause = !file                   ? errno
                          : S_ISDIR(info.st_mode) ? EISDIR
                          : S_ISREG(info.st_mode) ? errno
                                                  : EINVAL;
        const std::error_code reason(cause, std::generic_category());
        throw std::runtime_error(MakeIoError("Cannot open input WAV", path, reason));
    }
    const long long fileSize = info.st_size;
    unsigned char header[12];
    if (fileSize < kMinFileBytes || !ReadExactly(file.get(), header, sizeof(header)) ||
        std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
    {
        Fail("Invalid WAV header");
    }

    ChunkStream stream(file.get(), fileSize, sizeof(header));
    WavFormat format;
    std::vector<unsigned char> data;
    uint32_t declaredDataBytes = 0; // 0: the header states no length
    while (true)
    {
        unsigned char chunkHeader[8];
        if (!stream.Read(chunkHeader, sizeof(chunkHeader)))
        {
            break;
        }
        const uint32_t chunkSize = ReadLe32(chunkHeader + 4);
        const long long remaining = stream.Remaining();
        if (std::memcmp(chunkHeader, "fmt ", 4) == 0)
        {
            ParseFmtChunk(stream, chunkSize, format);
        }
        else if (std::memcmp(chunkHeader, "data", 4) == 0)
        {
            const bool sizeTrusted =
                chunkSize != 0 && chunkSize != kUnknownDataSize && chunkSize <= remaining;
            data = stream.ReadBlocks(sizeTrusted ? chunkSize : static_cast<size_t>(remaining));
            declaredDataBytes = chunkSize != kUnknownDataSize ? chunkSize : 0;
        }
        else
        {
            stream.Skip(std::min<long long>(chunkSize, remaining));
        }
        if (chunkSize % 2 != 0 && !stream.Failed())
        {
            stream.SkipPadByte();
        }
        if (stream.Failed())
        {
            break;
        }
    }

    ValidateFormat(format, data);
    AudioBuffer buffer;
    buffer.sampleRate = format.sampleRate;
    DecodeAll(format, data, buffer);
    buffer.sourceLength = {declaredDataBytes / format.blockAlign, buffer.FrameCount()};
    return buffer;
}
