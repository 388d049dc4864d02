#include "engine/io/sndfile_decoder.h"

#include "engine/io/ogg_links.h"
#include "engine/io/pcm_sample.h"
#include "engine/io/read_error.h"
#include "base/unicode_text.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace
{

// Frames decoded per library call; the header's frame count is never used to
// size an allocation, so a lying header cannot exhaust memory.
constexpr sf_count_t kReadBlockFrames = 65536;

// libsndfile's frame count for a stream that does not state its length, such
// as a FLAC piped out of an encoder.
constexpr sf_count_t kUnknownFrameCount = SF_COUNT_MAX;

bool IsMissingText(const char* text)
{
    return text == nullptr || *text == '\0' || std::strcmp(text, "No Error.") == 0;
}

bool IsDirectory(const std::filesystem::path& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

struct SndfileCloser
{
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// One link of a chained Ogg file, seen by libsndfile as a file of its own.
struct LinkSource
{
    std::FILE* file = nullptr;
    OggLink link;
    sf_count_t position = 0;
};

LinkSource& Source(void* data)
{
    return *static_cast<LinkSource*>(data);
}

sf_count_t LinkLength(void* data)
{
    return Source(data).link.length;
}

sf_count_t LinkSeek(sf_count_t offset, int whence, void* data)
{
    LinkSource& source = Source(data);
    const sf_count_t base = whence == SEEK_CUR   ? source.position
                            : whence == SEEK_END ? source.link.length
                                                 : 0;
    const sf_count_t target = base + offset;
    if (target < 0 || target > source.link.length)
    {
        return -1;
    }
    source.position = target;
    return target;
}

sf_count_t LinkRead(void* buffer, sf_count_t count, void* data)
{
    LinkSource& source = Source(data);
    const sf_count_t wanted = std::min(count, source.link.length - source.position);
    if (wanted <= 0 || fseeko(source.file, source.link.offset + source.position, SEEK_SET) != 0)
    {
        return 0;
    }
    const size_t got = std::fread(buffer, 1, static_cast<size_t>(wanted), source.file);
    source.position += static_cast<sf_count_t>(got);
    return static_cast<sf_count_t>(got);
}

sf_count_t LinkWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t LinkTell(void* data)
{
    return Source(data).position;
}

SF_VIRTUAL_IO kLinkIo{LinkLength, LinkSeek, LinkRead, LinkWrite, LinkTell};

class SndfileDecode
{
public:
    SndfileDecode(const std::wstring& path, const std::string& decoderName)
        : m_path(path), m_decoderName(decoderName), m_fsPath(WidePathToFs(path))
    {
    }

    AudioBuffer Run();

private:
    [[noreturn]] void Fail(const std::string& detail) const
    {
        throw std::runtime_error(MakeReadError(m_path, m_decoderName, detail));
    }
    [[noreturn]] void FailToOpen() const;
    void DecodeChain(const std::vector<OggLink>& links);
    void DecodeStream(SNDFILE* file, const SF_INFO& info);

    const std::wstring& m_path;
    const std::string& m_decoderName;
    const std::filesystem::path m_fsPath;
    AudioBuffer m_buffer;
};

void SndfileDecode::FailToOpen() const
{
    const char* text = sf_strerror(nullptr);
    Fail(IsMissingText(text) ? "the decoder could not open this file" : text);
}

AudioBuffer SndfileDecode::Run()
{
    // libsndfile opens a directory and then reports a misleading format error.
    if (IsDirectory(m_fsPath))
    {
        Fail(std::strerror(EISDIR));
    }
    // libsndfile decodes only the first link of a chained Ogg file.
    std::vector<OggLink> links;
    FileHandle scan(std::fopen(m_fsPath.c_str(), "rb"));
    if (scan)
    {
        links = FindOggLinks(scan.get());
    }
    if (links.size() > 1)
    {
        DecodeChain(links);
        return std::move(m_buffer);
    }
    scan.reset();

    SF_INFO info{};
    const SndfileHandle file(sf_open(m_fsPath.c_str(), SFM_READ, &info));
    if (!file)
    {
        FailToOpen();
    }
    DecodeStream(file.get(), info);
    return std::move(m_buffer);
}

void SndfileDecode::DecodeChain(const std::vector<OggLink>& links)
{
    FileHandle source(std::fopen(m_fsPath.c_str(), "rb"));
    if (!source)
    {
        Fail(std::strerror(errno));
    }
    SF_INFO first{};
    for (size_t i = 0; i < links.size(); ++i)
    {
        LinkSource link{source.get(), links[i], 0};
        SF_INFO info{};
        const SndfileHandle file(sf_open_virtual(&kLinkIo, SFM_READ, &info, &link));
        if (!file)
        {
            FailToOpen();
        }
        if (i == 0)
        {
            first = info;
        }
        else if (info.channels != first.channels || info.samplerate != first.samplerate)
        {
            Fail("the chained streams change format: stream " + std::to_string(i + 1) + " has " +
                 std::to_string(info.channels) + " channels at " + std::to_string(info.samplerate) +
                 " Hz, the first " + std::to_string(first.channels) + " channels at " +
                 std::to_string(first.samplerate) + " Hz");
        }
        DecodeStream(file.get(), info);
    }
}

void SndfileDecode::DecodeStream(SNDFILE* file, const SF_INFO& info)
{
    if ((info.channels != 1 && info.channels != 2) || info.samplerate <= 0 || info.frames <= 0)
    {
        Fail("unsupported channel count, sample rate, or frame count");
    }
    m_buffer.sampleRate = info.samplerate;
    const bool lengthKnown = info.frames != kUnknownFrameCount;
    std::vector<double> block(static_cast<size_t>(kReadBlockFrames * info.channels));
    sf_count_t framesRead = 0;
    int errorCode = SF_ERR_NO_ERROR;
    std::string detail;
    while (!lengthKnown || framesRead < info.frames)
    {
        const sf_count_t got = sf_readf_double(file, block.data(), kReadBlockFrames);
        if (got > 0)
        {
            AppendAsStereo(m_buffer.samples, block.data(), static_cast<size_t>(got), info.channels);
            framesRead += got;
        }
        if (got < kReadBlockFrames)
        {
            // The library clears its error at the next call: take it from the short one.
            errorCode = sf_error(file);
            const char* errorText = sf_strerror(file);
            detail = IsMissingText(errorText) ? "" : errorText;
            break;
        }
    }

    // Without a stated length the stream ends where the decoder stops. The
    // library reports lost sync at that end whether or not the stream was cut,
    // so what was decoded is the track, as a WAV cut short is.
    const bool complete = lengthKnown ? framesRead >= info.frames : framesRead > 0;
    if (!complete)
    {
        // The file's text is often the code's text again: say it once.
        const std::string codeText = errorCode != 0 ? sf_error_number(errorCode) : "";
        if (detail.empty() || detail == codeText)
        {
            detail = "the decoder stopped before reading the full stream";
        }
        std::string message = MakeReadError(m_path, m_decoderName, detail);
        if (!codeText.empty())
        {
            message += " (" + codeText + ")";
        }
        throw std::runtime_error(message);
    }
}

} // namespace

AudioBuffer DecodeWithSndfile(const std::wstring& path, const std::string& decoderName)
{
    return SndfileDecode(path, decoderName).Run();
}
