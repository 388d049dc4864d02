#include "engine/io/wav_writer.h"

#include "base/atomic_file.h"
#include "engine/io/io_error.h"
#include "engine/io/pcm_sample.h"
#include "base/unicode_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace
{

constexpr size_t kHeaderBytes = 44;
constexpr uint32_t kRiffSizeBeyondData = 36;
constexpr uint32_t kPcmFmtChunkBytes = 16;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kChannels = 2;
// Samples converted per write; keeps the staging block small and cache-resident.
constexpr size_t kBlockFrames = 16384;

void PutLe16(unsigned char* target, uint32_t value)
{
    target[0] = static_cast<unsigned char>(value);
    target[1] = static_cast<unsigned char>(value >> 8);
}

void PutLe24(unsigned char* target, uint32_t value)
{
    PutLe16(target, value);
    target[2] = static_cast<unsigned char>(value >> 16);
}

void PutLe32(unsigned char* target, uint32_t value)
{
    PutLe24(target, value);
    target[3] = static_cast<unsigned char>(value >> 24);
}

std::vector<unsigned char> MakeHeader(int sampleRate, uint16_t bitDepth, uint32_t dataBytes)
{
    const uint16_t blockAlign = static_cast<uint16_t>(bitDepth / 8 * kChannels);
    std::vector<unsigned char> header(kHeaderBytes);
    unsigned char* p = header.data();
    std::memcpy(p, "RIFF", 4);
    PutLe32(p + 4, kRiffSizeBeyondData + dataBytes);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    PutLe32(p + 16, kPcmFmtChunkBytes);
    PutLe16(p + 20, kFormatPcm);
    PutLe16(p + 22, kChannels);
    PutLe32(p + 24, static_cast<uint32_t>(sampleRate));
    PutLe32(p + 28, static_cast<uint32_t>(sampleRate) * blockAlign);
    PutLe16(p + 32, blockAlign);
    PutLe16(p + 34, bitDepth);
    std::memcpy(p + 36, "data", 4);
    PutLe32(p + 40, dataBytes);
    return header;
}

[[noreturn]] void FailWrite(const std::wstring& path, const std::error_code& reason)
{
    throw std::runtime_error(MakeIoError("Failed to write audio data", path, reason));
}

} // namespace

void WriteWavFile(const std::wstring& path, const AudioBuffer& buffer, int bitDepth)
{
    if (bitDepth != 16 && bitDepth != 24)
    {
        throw std::runtime_error("Unsupported output audio format");
    }
    if (buffer.sampleRate < 1)
    {
        throw std::runtime_error("Cannot write audio with invalid sample rate");
    }
    const size_t bytesPerSample = static_cast<size_t>(bitDepth / 8);
    const size_t frames = buffer.FrameCount();
    const uint64_t dataBytes = uint64_t{frames} * bytesPerSample * kChannels;
    // The RIFF sizes are 32-bit; a longer track would get a wrapped, lying header.
    if (dataBytes > UINT32_MAX - kRiffSizeBeyondData)
    {
        FailWrite(path, std::make_error_code(std::errc::file_too_large));
    }

    const std::filesystem::path target = WidePathToFs(path);
    if (!target.parent_path().empty())
    {
        // A folder that cannot be made shows up as the open failing below.
        std::error_code ignored;
        std::filesystem::create_directories(target.parent_path(), ignored);
    }
    AtomicFile file(target);
    if (!file.IsOpen())
    {
        throw std::runtime_error(MakeIoError("Cannot open output WAV", path, file.Error()));
    }
    const std::vector<unsigned char> header = MakeHeader(
        buffer.sampleRate, static_cast<uint16_t>(bitDepth), static_cast<uint32_t>(dataBytes));
    if (!file.Write(header.data(), header.size()))
    {
        FailWrite(path, file.Error());
    }

    const double fullScale = bitDepth == 16 ? kPcm16FullScale : kPcm24FullScale;
    std::vector<unsigned char> block(kBlockFrames * kChannels * bytesPerSample);
    const double* samples = buffer.samples.data();
    for (size_t first = 0; first < frames; first += kBlockFrames)
    {
        const size_t count = std::min(kBlockFrames, frames - first) * kChannels;
        const double* source = samples + first * kChannels;
        unsigned char* out = block.data();
        if (bitDepth == 16)
        {
            for (size_t i = 0; i < count; ++i, out += 2)
            {
                PutLe16(out, static_cast<uint32_t>(QuantizePcm(source[i], fullScale)));
            }
        }
        else
        {
            for (size_t i = 0; i < count; ++i, out += 3)
            {
                PutLe24(out, static_cast<uint32_t>(QuantizePcm(source[i], fullScale)));
            }
        }
        if (!file.Write(block.data(), count * bytesPerSample))
        {
            FailWrite(path, file.Error());
        }
    }
    if (!file.Commit())
    {
        FailWrite(path, file.Error());
    }
}
