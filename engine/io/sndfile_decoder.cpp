#include "engine/io/sndfile_decoder.h"

#include "engine/io/read_error.h"
#include "engine/io/pcm_sample.h"
#include "base/unicode_text.h"

#include <sndfile.h>

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

} // namespace

AudioBuffer DecodeWithSndfile(const std::wstring& path, const std::string& decoderName)
{
    const auto fail = [&](const std::string& detail)
    { throw std::runtime_error(MakeReadError(path, decoderName, detail)); };

    const std::filesystem::path fsPath = WidePathToFs(path);
    SF_INFO info{};
    // libsndfile opens a directory and then reports a misleading format error.
    std::unique_ptr<SNDFILE, SndfileCloser> file(
        IsDirectory(fsPath) ? nullptr : sf_open(fsPath.c_str(), SFM_READ, &info));
    if (!file)
    {
        const char* text = IsDirectory(fsPath) ? std::strerror(EISDIR) : sf_strerror(nullptr);
        fail(IsMissingText(text) ? "the decoder could not open this file" : text);
    }
    if ((info.channels != 1 && info.channels != 2) || info.samplerate <= 0 || info.frames <= 0)
    {
        fail("unsupported channel count, sample rate, or frame count");
    }

    AudioBuffer buffer;
    buffer.sampleRate = info.samplerate;
    std::vector<double> block(static_cast<size_t>(kReadBlockFrames * info.channels));
    sf_count_t framesRead = 0;
    int errorCode = SF_ERR_NO_ERROR;
    std::string detail;
    while (framesRead < info.frames)
    {
        const sf_count_t got = sf_readf_double(file.get(), block.data(), kReadBlockFrames);
        if (got > 0)
        {
            AppendAsStereo(buffer.samples, block.data(), static_cast<size_t>(got), info.channels);
            framesRead += got;
        }
        if (got < kReadBlockFrames)
        {
            // The library clears its error at the next call: take it from the short one.
            errorCode = sf_error(file.get());
            const char* errorText = sf_strerror(file.get());
            detail = IsMissingText(errorText) ? "" : errorText;
            break;
        }
    }
    file.reset();

    if (framesRead < info.frames)
    {
        if (detail.empty())
        {
            detail = "the decoder stopped before reading the full stream";
        }
        std::string message = MakeReadError(path, decoderName, detail);
        if (errorCode != 0)
        {
            message += std::string(" (") + sf_error_number(errorCode) + ")";
        }
        throw std::runtime_error(message);
    }
    return buffer;
}
