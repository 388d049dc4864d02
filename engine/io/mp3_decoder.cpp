#include "engine/io/mp3_decoder.h"

#include "engine/io/read_error.h"
#include "engine/io/pcm_sample.h"
#include "base/unicode_text.h"

#include <mpg123.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace
{

constexpr const char* kDecoderName = "MP3";
constexpr size_t kMaxOutputBlockBytes = size_t{64} << 20;
// The first format report at the start of the stream counts as one.
constexpr int kMaxFormatReports = 8;
constexpr long kMinDecodedRateHz = 8000;
constexpr long kMaxDecodedRateHz = 384000;
// Ten hours of stereo at 192 kHz.
constexpr size_t kMaxDecodedDoubles = 11'059'200'000;
constexpr int kMonoAndStereo = MPG123_MONO | MPG123_STEREO;

struct Mpg123Init
{
    std::once_flag once;
    int result = MPG123_OK;
};

Mpg123Init& LibraryInit()
{
    static Mpg123Init init;
    return init;
}

void EnsureLibraryInitialised()
{
    Mpg123Init& init = LibraryInit();
    std::call_once(init.once, [&init] { init.result = mpg123_init(); });
    if (init.result != MPG123_OK)
    {
        throw std::runtime_error(std::string("Failed to initialize mpg123: ") +
                                 mpg123_plain_strerror(init.result));
    }
}

// The I/O handle given to libmpg123. Whether the library has taken over closing
// the file after a failed open is not promised, so the cleanup callback marks
// the file closed and the reader closes whatever is still open.
struct Mp3Source
{
    std::FILE* file = nullptr;
    // Where the decoder's stream begins in the file: past an ID3v2 header
    // whose tag cannot fit the file, otherwise at its first byte.
    off_t start = 0;
};

constexpr size_t kId3v2HeaderBytes = 10;
constexpr unsigned char kId3v2FooterFlag = 0x10;

// The bytes an ID3v2 tag at the start of the file claims (header, body and
// footer), or 0 when there is no tag or its size field is not synchsafe.
off_t ClaimedId3v2Bytes(std::FILE* file)
{
    unsigned char header[kId3v2HeaderBytes];
    if (std::fread(header, 1, sizeof(header), file) != sizeof(header) ||
        std::memcmp(header, "ID3", 3) != 0)
    {
        return 0;
    }
    off_t body = 0;
    for (int i = 6; i < 10; ++i)
    {
        if (header[i] & 0x80)
        {
            return 0;
        }
        body = (body << 7) | header[i];
    }
    const off_t footer = (header[5] & kId3v2FooterFlag) ? kId3v2HeaderBytes : 0;
    return kId3v2HeaderBytes + body + footer;
}

std::FILE* SourceFile(void* handle)
{
    return handle == nullptr ? nullptr : static_cast<Mp3Source*>(handle)->file;
}

mpg123_ssize_t ReadCallback(void* handle, void* buffer, size_t size)
{
    std::FILE* file = SourceFile(handle);
    if (file == nullptr || buffer == nullptr)
    {
        return -1;
    }
    const size_t got = std::fread(buffer, 1, size, file);
    if (got < size && std::ferror(file))
    {
        return -1;
    }
    return static_cast<mpg123_ssize_t>(got);
}

off_t SeekCallback(void* handle, off_t offset, int origin)
{
    std::FILE* file = SourceFile(handle);
    if (file == nullptr)
    {
        return -1;
    }
    const off_t start = static_cast<Mp3Source*>(handle)->start;
    const int whence = origin == SEEK_CUR ? SEEK_CUR : origin == SEEK_END ? SEEK_END : SEEK_SET;
    if (fseeko(file, whence == SEEK_SET ? start + offset : offset, whence) != 0)
    {
        return -1;
    }
    const off_t position = ftello(file);
    return position < start ? -1 : position - start;
}

void CleanupCallback(void* handle)
{
    if (std::FILE* file = SourceFile(handle))
    {
        std::fclose(file);
        static_cast<Mp3Source*>(handle)->file = nullptr;
    }
}

struct DecoderDeleter
{
    void operator()(mpg123_handle* decoder) const
    {
        // Closing runs the cleanup callback, which closes the file.
        mpg123_close(decoder);
        mpg123_delete(decoder);
    }
};
using DecoderHandle = std::unique_ptr<mpg123_handle, DecoderDeleter>;

class Mp3Decode
{
public:
    explicit Mp3Decode(const std::wstring& path) : m_path(path) {}
    ~Mp3Decode()
    {
        m_decoder.reset();
        CleanupCallback(&m_source);
    }

    AudioBuffer Run();

private:
    [[noreturn]] void Fail(const std::string& detail) const
    {
        throw std::runtime_error(MakeReadError(m_path, kDecoderName, detail));
    }
    [[noreturn]] void FailWithDecoderText() const { Fail(mpg123_strerror(m_decoder.get())); }

    void OpenDecoder();
    void OpenFile();
    void AcceptFormat();
    void AppendDecoded(const float* samples, size_t byteCount);

    const std::wstring& m_path;
    Mp3Source m_source;
    DecoderHandle m_decoder;
    AudioBuffer m_buffer;
    int m_channels = 0;
};

void Mp3Decode::OpenDecoder()
{
    int error = MPG123_OK;
    m_decoder.reset(mpg123_new(nullptr, &error));
    if (!m_decoder)
    {
        Fail(mpg123_plain_strerror(error));
    }
    // Quiet: the library would otherwise print its resync notes to stderr.
    // The tag is never used, and parsing it first reserves the size it claims.
    if (mpg123_param(m_decoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_SKIP_ID3V2, 0.0) !=
            MPG123_OK ||
        mpg123_format_none(m_decoder.get()) != MPG123_OK ||
        mpg123_format2(m_decoder.get(), 0, kMonoAndStereo, MPG123_ENC_FLOAT_32) != MPG123_OK ||
        mpg123_replace_reader_handle(m_decoder.get(), ReadCallback, SeekCallback,
                                     CleanupCallback) != MPG123_OK)
    {
        FailWithDecoderText();
    }
}

void Mp3Decode::OpenFile()
{
    m_source.file = std::fopen(WidePathToFs(m_path).c_str(), "rb");
    if (m_source.file == nullptr)
    {
        Fail(std::strerror(errno));
    }
    // A directory opens for reading on Linux; say so rather than fail mid-stream.
    struct stat info
    {
    };
    if (::fstat(fileno(m_source.file), &info) != 0 || S_ISDIR(info.st_mode))
    {
        Fail(std::strerror(S_ISDIR(info.st_mode) ? EISDIR : errno));
    }
    // A tag that claims more than the file holds is damaged, and skipping it
    // would skip the audio behind it: the decoder starts after its header and
    // finds the first frame itself.
    if (ClaimedId3v2Bytes(m_source.file) > info.st_size)
    {
        m_source.start = kId3v2HeaderBytes;
    }
    if (fseeko(m_source.file, m_source.start, SEEK_SET) != 0)
    {
        Fail(std::strerror(errno));
    }
    if (mpg123_open_handle(m_decoder.get(), &m_source) != MPG123_OK)
    {
        FailWithDecoderText();
    }
}

void Mp3Decode::AcceptFormat()
{
    long rateHz = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(m_decoder.get(), &rateHz, &channels, &encoding) != MPG123_OK)
    {
        FailWithDecoderText();
    }
    if ((channels != 1 && channels != 2) || rateHz < kMinDecodedRateHz ||
        rateHz > kMaxDecodedRateHz || encoding != MPG123_ENC_FLOAT_32)
    {
        Fail("unsupported decoded channel count, sample rate, or sample encoding");
    }
    m_channels = channels;
    m_buffer.sampleRate = static_cast<int>(rateHz);
}

void Mp3Decode::AppendDecoded(const float* samples, size_t byteCount)
{
    if (byteCount % sizeof(float) != 0)
    {
        Fail("decoder returned a partial sample block");
    }
    const size_t floats = byteCount / sizeof(float);
    const size_t doubles = m_channels == 1 ? floats * 2 : floats;
    if (m_buffer.samples.size() + doubles > kMaxDecodedDoubles)
    {
        Fail("decoded audio is unreasonably large");
    }
    // The output grows geometrically; reserving each block exactly would copy the
    // whole track once per block.
    AppendAsStereo(m_buffer.samples, samples, floats / m_channels, m_channels);
}

AudioBuffer Mp3Decode::Run()
{
    EnsureLibraryInitialised();
    OpenDecoder();
    OpenFile();

    const size_t blockBytes = mpg123_outblock(m_decoder.get());
    if (blockBytes == 0 || blockBytes > kMaxOutputBlockBytes)
    {
        Fail("decoder returned an invalid output block size");
    }
    // Held as floats so the decoded bytes can be read as samples without a copy.
    std::vector<float> block((blockBytes + sizeof(float) - 1) / sizeof(float), 0.0f);
    int formatReports = 0;
    while (true)
    {
        size_t decodedBytes = 0;
        const int result = mpg123_read(m_decoder.get(), block.data(), blockBytes, &decodedBytes);
        if (result == MPG123_NEW_FORMAT)
        {
            if (++formatReports > kMaxFormatReports)
            {
                Fail("decoder reported too many mid-stream format changes");
            }
            AcceptFormat();
            continue;
        }
        if (m_channels == 0)
        {
            AcceptFormat();
        }
        if (result == MPG123_NEED_MORE)
        {
            Fail("the decoder stopped before reading the full stream");
        }
        if (result != MPG123_OK && result != MPG123_DONE)
        {
            FailWithDecoderText();
        }
        AppendDecoded(block.data(), decodedBytes);
        if (result == MPG123_DONE)
        {
            break;
        }
    }
    if (m_buffer.sampleRate < 1 || m_buffer.samples.empty())
    {
        Fail("no decodable audio frames were found");
    }
    m_decoder.reset();
    return std::move(m_buffer);
}

} // namespace

AudioBuffer DecodeMp3File(const std::wstring& path)
{
    return Mp3Decode(path).Run();
}
