#include "engine/profiles/reference_profile.h"

#include "base/atomic_file.h"
#include "base/unicode_text.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace
{

constexpr std::string_view kMagic = "AMRPROF1";

// Versions 3 and 4 added optional fields; older files are still read.
constexpr uint32_t kFirstVersionWithToneSettings = 3; // smoothing, the two flags, source rate
constexpr uint32_t kFirstVersionWithShortTerm = 4;    // short-term loudness distribution

constexpr uint64_t kMaxStoredCount = std::numeric_limits<uint32_t>::max();

constexpr size_t kU32Bytes = 4;
constexpr size_t kF64Bytes = 8;
// The smallest stored set: its header with empty vectors.
constexpr size_t kMinDynamicsSetBytes = 4 + 4;     // bandCount, empty bandRms
constexpr size_t kMinSpectrumSetBytes = 4 + 4 + 4; // fftSize, empty mid, empty side

// ---------------------------------------------------------------- writing

class ProfileEncoder
{
public:
    void Bytes(std::string_view bytes) { m_bytes.append(bytes); }

    void U32(uint32_t value) { Put(value, 4); }

    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }

    void F64(double value) { Put(std::bit_cast<uint64_t>(value), 8); }

    void Flag(bool value) { m_bytes.push_back(value ? 1 : 0); }

    void Count(size_t count, const char* tooLongText)
    {
        if (count > kMaxStoredCount)
        {
            throw std::runtime_error(tooLongText);
        }
        U32(static_cast<uint32_t>(count));
    }

    void Vector(const std::vector<double>& values)
    {
        Count(values.size(), "Vector too long for profile format");
        for (double value : values)
        {
            F64(value);
        }
    }

    void String(const std::string& text)
    {
        Count(text.size(), "String too long for profile format");
        Bytes(text);
    }

    std::string Take() { return std::move(m_bytes); }

private:
    // Little-endian whatever the machine's own order.
    void Put(uint64_t value, size_t byteCount)
    {
        char bytes[8];
        for (size_t i = 0; i < byteCount; ++i)
        {
            bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        m_bytes.append(bytes, byteCount);
    }

    std::string m_bytes;
};

// A profile that carries spectra only in midSpectrum / sideSpectrum still
// stores them, as the one set of its own FFT size.
std::vector<SpectrumSet> SpectrumSetsToStore(const ReferenceProfile& profile)
{
    if (profile.spectrumSets.empty() &&
        (!profile.midSpectrum.empty() || !profile.sideSpectrum.empty()))
    {
        return {SpectrumSet{profile.fftSize, profile.midSpectrum, profile.sideSpectrum}};
    }
    return profile.spectrumSets;
}

// ---------------------------------------------------------------- reading

[[noreturn]] void ThrowUnexpectedEof(const char* what)
{
    throw std::runtime_error(std::string("Invalid profile: unexpected EOF while reading ") + what);
}

class ProfileDecoder
{
public:
    explicit ProfileDecoder(std::string_view bytes) : m_bytes(bytes) {}

    size_t Remaining() const { return m_bytes.size() - m_position; }

    uint32_t U32() { return ReadU32("u32"); }

    int32_t I32() { return static_cast<int32_t>(ReadU32("i32")); }

    double F64()
    {
        const unsigned char* data = Take(kF64Bytes, "f64");
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
        {
            bits |= static_cast<uint64_t>(data[i]) << (8 * i);
        }
        return std::bit_cast<double>(bits);
    }

    bool Flag() { return *Take(1, "bool") != 0; }

    std::vector<double> Vector()
    {
        const uint32_t count = U32();
        if (count > Remaining() / kF64Bytes)
        {
            ThrowUnexpectedEof("vector");
        }
        std::vector<double> values(count);
        for (double& value : values)
        {
            value = F64();
        }
        return values;
    }

    std::string String()
    {
        const uint32_t length = U32();
        if (length > Remaining())
        {
            ThrowUnexpectedEof("string");
        }
        const char* data = reinterpret_cast<const char*>(Take(length, "string"));
        return std::string(data, length);
    }

    // Room for a stored list of `count` elements of at least `minBytes` each,
    // never more than the bytes left could hold: the elements are read one by
    // one, so a lying count fails with the text of the field that runs short.
    template <typename T>
    void ReserveFor(std::vector<T>& list, uint32_t count, size_t minBytes) const
    {
        list.reserve(std::min<size_t>(count, Remaining() / minBytes));
    }

private:
    uint32_t ReadU32(const char* what)
    {
        const unsigned char* data = Take(kU32Bytes, what);
        return static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
               (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
    }

    const unsigned char* Take(size_t count, const char* what)
    {
        if (count > Remaining())
        {
            ThrowUnexpectedEof(what);
        }
        const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.data() + m_position);
        m_position += count;
        return data;
    }

    std::string_view m_bytes;
    size_t m_position = 0;
};

// The header names the FFT size the runs match against; a file whose sets
// lack that size falls back to its first set.
void SelectTargetSpectra(ReferenceProfile& profile)
{
    if (profile.spectrumSets.empty())
    {
        return;
    }
    const auto match =
        std::find_if(profile.spectrumSets.begin(), profile.spectrumSets.end(),
                     [&](const SpectrumSet& set) { return set.fftSize == profile.fftSize; });
    const SpectrumSet& target =
        match != profile.spectrumSets.end() ? *match : profile.spectrumSets.front();
    profile.fftSize = target.fftSize;
    profile.midSpectrum = target.mid;
    profile.sideSpectrum = target.side;
}

} // namespace

std::string EncodeReferenceProfile(const ReferenceProfile& profile)
{
    const bool hasToneSettings = profile.version >= kFirstVersionWithToneSettings;
    const bool hasShortTerm = profile.version >= kFirstVersionWithShortTerm;

    ProfileEncoder out;
    out.Bytes(kMagic);
    out.U32(profile.version);
    out.I32(profile.sampleRate);
    out.I32(profile.fftSize);
    out.I32(profile.linLogOversampling);
    out.F64(profile.toneReserved);
    if (hasToneSettings)
    {
        out.I32(profile.smoothingOctaveDenominator);
        out.Flag(profile.psychoacoustic);
        out.Flag(profile.adaptiveStrength);
    }
    out.F64(profile.maxPieceSeconds);
    out.F64(profile.peakCeiling);
    out.F64(profile.floor);
    out.F64(profile.referenceMatchRms);
    out.F64(profile.finalAmplitudeCoefficient);
    out.F64(profile.truePeak);
    out.Flag(profile.hasIntegratedLufs);
    out.F64(profile.integratedLufs);
    if (hasShortTerm)
    {
        out.Flag(profile.hasShortTermDistribution);
        for (double percentile : profile.shortTermLufsPercentiles)
        {
            out.F64(percentile);
        }
        out.F64(profile.loudnessRange);
    }
    for (double percentile : profile.pieceRmsPercentiles)
    {
        out.F64(percentile);
    }
    out.I32(profile.dynamicsBandCount);

    out.Count(profile.dynamicsSets.size(), "Too many dynamics sets for profile format");
    for (const DynamicsSet& set : profile.dynamicsSets)
    {
        out.I32(set.bandCount);
        out.Vector(set.bandRms);
    }

    const std::vector<SpectrumSet> spectrumSets = SpectrumSetsToStore(profile);
    out.Count(spectrumSets.size(), "Too many spectrum sets for profile format");
    for (const SpectrumSet& set : spectrumSets)
    {
        out.I32(set.fftSize);
        out.Vector(set.mid);
        out.Vector(set.side);
    }

    out.String(profile.name);
    out.String(profile.description);
    out.String(profile.createdAt);
    out.String(profile.sourcePath);
    out.String(profile.sourceFileName);
    if (hasToneSettings)
    {
        out.I32(profile.sourceSampleRate);
    }
    return out.Take();
}

ReferenceProfile DecodeReferenceProfile(std::string_view bytes)
{
    if (bytes.size() < kMagic.size() || bytes.substr(0, kMagic.size()) != kMagic)
    {
        throw std::runtime_error("Invalid reference profile header");
    }
    ProfileDecoder in(bytes.substr(kMagic.size()));
    ReferenceProfile profile;
    profile.version = in.U32();
    const bool hasToneSettings = profile.version >= kFirstVersionWithToneSettings;
    const bool hasShortTerm = profile.version >= kFirstVersionWithShortTerm;

    profile.sampleRate = in.I32();
    profile.fftSize = in.I32();
    profile.linLogOversampling = in.I32();
    profile.toneReserved = in.F64();
    if (hasToneSettings)
    {
        profile.smoothingOctaveDenominator = in.I32();
        profile.psychoacoustic = in.Flag();
        profile.adaptiveStrength = in.Flag();
    }
    profile.maxPieceSeconds = in.F64();
    profile.peakCeiling = in.F64();
    profile.floor = in.F64();
    profile.referenceMatchRms = in.F64();
    profile.finalAmplitudeCoefficient = in.F64();
    profile.truePeak = in.F64();
    profile.hasIntegratedLufs = in.Flag();
    profile.integratedLufs = in.F64();
    if (hasShortTerm)
    {
        profile.hasShortTermDistribution = in.Flag();
        for (double& percentile : profile.shortTermLufsPercentiles)
        {
            percentile = in.F64();
        }
        profile.loudnessRange = in.F64();
    }
    for (double& percentile : profile.pieceRmsPercentiles)
    {
        percentile = in.F64();
    }
    profile.dynamicsBandCount = in.I32();

    const uint32_t dynamicsSetCount = in.U32();
    in.ReserveFor(profile.dynamicsSets, dynamicsSetCount, kMinDynamicsSetBytes);
    for (uint32_t i = 0; i < dynamicsSetCount; ++i)
    {
        DynamicsSet set;
        set.bandCount = in.I32();
        set.bandRms = in.Vector();
        profile.dynamicsSets.push_back(std::move(set));
    }

    const uint32_t spectrumSetCount = in.U32();
    in.ReserveFor(profile.spectrumSets, spectrumSetCount, kMinSpectrumSetBytes);
    for (uint32_t i = 0; i < spectrumSetCount; ++i)
    {
        SpectrumSet set;
        set.fftSize = in.I32();
        set.mid = in.Vector();
        set.side = in.Vector();
        profile.spectrumSets.push_back(std::move(set));
    }

    profile.name = in.String();
    profile.description = in.String();
    profile.createdAt = in.String();
    profile.sourcePath = in.String();
    profile.sourceFileName = in.String();
    profile.sourceSampleRate = hasToneSettings ? in.I32() : profile.sampleRate;

    SelectTargetSpectra(profile);
    return profile;
}

void WriteReferenceProfile(const std::wstring& path, const ReferenceProfile& profile)
{
    // Encoding first: a profile the format cannot hold never touches the file.
    const std::string bytes = EncodeReferenceProfile(profile);
    const std::filesystem::path target = WidePathToFs(path);
    std::error_code error;
    if (std::filesystem::is_directory(target, error))
    {
        throw std::runtime_error("Cannot open profile for writing");
    }
    AtomicFile file(target);
    if (!file.IsOpen())
    {
        throw std::runtime_error("Cannot open profile for writing");
    }
    if (!file.Write(bytes.data(), bytes.size()) || !file.Commit())
    {
        throw std::runtime_error("Failed while writing profile");
    }
}

ReferenceProfile ReadReferenceProfile(const std::wstring& path)
{
    const std::filesystem::path source = WidePathToFs(path);
    std::error_code error;
    // A directory opens as a stream on Linux but cannot be read.
    std::ifstream stream(source, std::ios::binary);
    if (!stream.is_open() || std::filesystem::is_directory(source, error))
    {
        throw std::runtime_error("Cannot open profile for reading");
    }
    std::string bytes;
    constexpr size_t kChunkBytes = 64 * 1024;
    std::string chunk(kChunkBytes, '\0');
    while (stream.read(chunk.data(), kChunkBytes) || stream.gcount() > 0)
    {
        bytes.append(chunk.data(), static_cast<size_t>(stream.gcount()));
    }
    if (stream.bad())
    {
        throw std::runtime_error("Cannot open profile for reading");
    }
    return DecodeReferenceProfile(bytes);
}
