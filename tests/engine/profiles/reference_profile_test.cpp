#include "engine/profiles/reference_profile.h"

#include "base/unicode_text.h"

#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace
{

// Every field away from its default, numbers chosen to have no short binary
// form, texts with multi-byte UTF-8.
ReferenceProfile MakeFullProfile()
{
    ReferenceProfile p;
    p.version = 6;
    p.sampleRate = 48000;
    p.fftSize = 4096;
    p.linLogOversampling = 4;
    p.toneReserved = 0.0375 + 1e-17;
    p.smoothingOctaveDenominator = 12;
    p.psychoacoustic = true;
    p.adaptiveStrength = true;
    p.maxPieceSeconds = 14.5;
    p.peakCeiling = 0.998138427734375;
    p.floor = 1.25e-7;
    p.referenceMatchRms = 0.1234567890123;
    p.finalAmplitudeCoefficient = 1.0 / 3.0;
    p.truePeak = 0.891250938;
    p.hasIntegratedLufs = true;
    p.integratedLufs = -9.87654321;
    p.hasShortTermDistribution = true;
    const double shortTerm[] = {-13.1, -11.2, -10.3, -9.4, -8.5};
    std::memcpy(p.shortTermLufsPercentiles, shortTerm, sizeof shortTerm);
    p.loudnessRange = 5.4321;
    const double pieces[] = {0.071, 0.102, 0.143, 0.184, 0.235};
    std::memcpy(p.pieceRmsPercentiles, pieces, sizeof pieces);
    p.dynamicsBandCount = 3;
    p.dynamicsSets = {
        {1, {0.2}}, {3, {0.21, 0.19, 0.17}}, {6, {0.31, 0.29, 0.27, 0.25, 0.23, 1e-300}}};
    SpectrumSet large{4096, std::vector<double>(2049), std::vector<double>(2049)};
    SpectrumSet small{2048, std::vector<double>(1025), std::vector<double>(1025)};
    for (size_t i = 0; i < large.mid.size(); ++i)
    {
        large.mid[i] = -std::sqrt(double(i)) - 0.1;
        large.side[i] = -std::sqrt(double(i)) - 3.3;
    }
    for (size_t i = 0; i < small.mid.size(); ++i)
    {
        small.mid[i] = std::sin(double(i)) * 7.0;
        small.side[i] = std::cos(double(i)) * 5.0;
    }
    p.spectrumSets = {large, small};
    p.midSpectrum = large.mid;
    p.sideSpectrum = large.side;
    p.name = "Réference Ω Master";
    p.description = "Warm, wide — 日本語 and emoji \U0001F3B5";
    p.createdAt = "2026-12-10T13:14:15Z";
    p.sourcePath = "/home/user/Music/Für Elise.wav";
    p.sourceFileName = "Für Elise.wav";
    p.sourceSampleRate = 44100;
    return p;
}

std::wstring WidePath(const std::filesystem::path& path)
{
    return path.wstring();
}

std::string ErrorText(const std::string& bytes)
{
    try
    {
        DecodeReferenceProfile(bytes);
    }
    catch (const std::runtime_error& error)
    {
        return error.what();
    }
    return "(decoded)";
}

std::string PutU32(std::string bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
    {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// Byte sizes of a version-6 profile without lists and with empty texts, and
// what versions 2 and 3 leave out.
constexpr size_t kBareV6Bytes = 220;
constexpr size_t kShortTermBytes = 1 + 5 * 8 + 8;
constexpr size_t kToneSettingsBytes = 4 + 1 + 1 + 4; // smoothing, two flags, source rate
constexpr size_t kPsychoacousticFlagOffset = 8 + 4 + 4 + 4 + 4 + 8 + 4;

// A profile with one short list of every kind, so that its byte layout can
// be spelled out field by field.
ReferenceProfile MakeSmallProfile()
{
    ReferenceProfile p;
    p.fftSize = 4;
    p.dynamicsSets = {{2, {0.5, 0.25}}};
    p.spectrumSets = {{4, {1.0}, {2.0, 3.0}}};
    p.midSpectrum = p.spectrumSets[0].mid;
    p.sideSpectrum = p.spectrumSets[0].side;
    p.name = "n";
    p.description = "dé";
    p.sourcePath = "p";
    p.sourceFileName = "f";
    return p;
}

struct Field
{
    size_t bytes;
    const char* kind;                    // the word of the EOF text when the field is cut off
    const char* count = nullptr;         // names a stored count
    const char* hugeCountKind = nullptr; // the EOF word a count past the file's end gives
};

std::vector<Field> SmallProfileLayout()
{
    std::vector<Field> layout = {{4, "u32"}, {4, "i32"}, {4, "i32"},  {4, "i32"},
                                 {8, "f64"}, {4, "i32"}, {1, "bool"}, {1, "bool"}};
    for (int i = 0; i < 6; ++i)
    {
        layout.push_back({8, "f64"}); // maxPieceSeconds .. truePeak
    }
    layout.push_back({1, "bool"});
    layout.push_back({8, "f64"});
    layout.push_back({1, "bool"});
    for (int i = 0; i < 11; ++i)
    {
        layout.push_back({8, "f64"}); // short-term percentiles, range, piece percentiles
    }
    // clang-format off
    layout.insert(layout.end(), {
        {4, "i32"},
        {4, "u32", "dynamics sets"},
        {4, "i32"},
        {4, "u32", "band values", "vector"},
        {16, "vector"},
        {4, "u32", "spectrum sets"},
        {4, "i32"},
        {4, "u32", "mid values", "vector"},
        {8, "vector"},
        {4, "u32", "side values", "vector"},
        {16, "vector"},
        {4, "u32", "name length", "string"},
        {1, "string"},
        {4, "u32"},
        {3, "string"},
        {4, "u32"}, // createdAt is empty: no bytes follow
        {4, "u32"},
        {1, "string"},
        {4, "u32"},
        {1, "string"},
        {4, "i32"},
    });
    // clang-format on
    return layout;
}

constexpr size_t kMagicBytes = 8;
constexpr const char* kHeaderText = "Invalid reference profile header";
constexpr const char* kEofText = "Invalid profile: unexpected EOF while reading ";

} // namespace

TEST(ReferenceProfileTest, FullProfileRoundTripsBitForBit)
{
    TempDir dir;
    const std::wstring path = WidePath(dir.Path()) + L"/Réference Ω.prs";
    const ReferenceProfile original = MakeFullProfile();

    WriteReferenceProfile(path, original);
    const ReferenceProfile read = ReadReferenceProfile(path);
    EXPECT_EQ(read, original) << "a written profile did not read back unchanged";

    const std::wstring again = WidePath(dir.Path()) + L"/again.prs";
    WriteReferenceProfile(again, read);
    EXPECT_EQ(ReadFileBytes(WidePathToFs(again)), ReadFileBytes(WidePathToFs(path)))
        << "writing the read profile again changed its bytes";
}

TEST(ReferenceProfileTest, NonFiniteNumbersAreStoredAsTheyAre)
{
    ReferenceProfile p = MakeSmallProfile();
    const double payloadNan = std::bit_cast<double>(0x7FF8000000001234ull);
    p.floor = payloadNan;
    p.truePeak = std::numeric_limits<double>::infinity();
    p.spectrumSets[0].side = {-std::numeric_limits<double>::infinity(), -0.0};

    const ReferenceProfile read = DecodeReferenceProfile(EncodeReferenceProfile(p));
    EXPECT_EQ(std::bit_cast<uint64_t>(read.floor), 0x7FF8000000001234ull);
    EXPECT_EQ(read.truePeak, std::numeric_limits<double>::infinity());
    ASSERT_EQ(read.sideSpectrum.size(), 2u);
    EXPECT_EQ(read.sideSpectrum[0], -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::signbit(read.sideSpectrum[1])) << "-0.0 lost its sign";
}

TEST(ReferenceProfileTest, VersionDecidesWhichOptionalFieldsAreStored)
{
    struct Case
    {
        uint32_t version;
        size_t bytes;
        bool toneSettings;
        bool shortTerm;
    };
    const Case cases[] = {
        {0, kBareV6Bytes - kShortTermBytes - kToneSettingsBytes, false, false},
        {2, kBareV6Bytes - kShortTermBytes - kToneSettingsBytes, false, false},
        {3, kBareV6Bytes - kShortTermBytes, true, false},
        {4, kBareV6Bytes, true, true},
        {6, kBareV6Bytes, true, true},
        {0xFFFFFFFFu, kBareV6Bytes, true, true}, // compared unsigned
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("version " + std::to_string(c.version));
        ReferenceProfile p;
        p.version = c.version;
        p.sampleRate = 44100;
        p.smoothingOctaveDenominator = 3;
        p.psychoacoustic = true;
        p.adaptiveStrength = true;
        p.hasShortTermDistribution = true;
        p.shortTermLufsPercentiles[2] = -10.0;
        p.loudnessRange = 7.0;
        p.sourceSampleRate = 96000;

        const std::string bytes = EncodeReferenceProfile(p);
        EXPECT_EQ(bytes.size(), c.bytes);
        const ReferenceProfile read = DecodeReferenceProfile(bytes);
        EXPECT_EQ(read.version, c.version);
        EXPECT_EQ(read.smoothingOctaveDenominator, c.toneSettings ? 3 : 6);
        EXPECT_EQ(read.psychoacoustic, c.toneSettings);
        EXPECT_EQ(read.adaptiveStrength, c.toneSettings);
        EXPECT_EQ(read.sourceSampleRate, c.toneSettings ? 96000 : 44100)
            << "an old file's source rate is its sample rate";
        EXPECT_EQ(read.hasShortTermDistribution, c.shortTerm);
        EXPECT_EQ(read.shortTermLufsPercentiles[2], c.shortTerm ? -10.0 : 0.0);
        EXPECT_EQ(read.loudnessRange, c.shortTerm ? 7.0 : 0.0);
    }
}

TEST(ReferenceProfileTest, TargetSpectraFollowTheHeaderFftSize)
{
    const std::vector<double> a = {1.0, 2.0};
    const std::vector<double> b = {3.0, 4.0, 5.0};

    ReferenceProfile onlyTarget;
    onlyTarget.fftSize = 2;
    onlyTarget.midSpectrum = a;
    onlyTarget.sideSpectrum = b;
    ReferenceProfile read = DecodeReferenceProfile(EncodeReferenceProfile(onlyTarget));
    ASSERT_EQ(read.spectrumSets.size(), 1u) << "bare target spectra were not stored as a set";
    EXPECT_EQ(read.spectrumSets[0], (SpectrumSet{2, a, b}));
    EXPECT_EQ(read.midSpectrum, a);

    ReferenceProfile none;
    none.fftSize = 4096;
    const std::string noneBytes = EncodeReferenceProfile(none);
    EXPECT_EQ(noneBytes.size(), kBareV6Bytes) << "an empty profile stores set counts of 0";
    read = DecodeReferenceProfile(noneBytes);
    EXPECT_TRUE(read.spectrumSets.empty());
    EXPECT_TRUE(read.midSpectrum.empty());
    EXPECT_EQ(read.fftSize, 4096);

    ReferenceProfile twoSets;
    twoSets.spectrumSets = {{2048, a, a}, {4096, b, b}};
    twoSets.fftSize = 4096;
    read = DecodeReferenceProfile(EncodeReferenceProfile(twoSets));
    EXPECT_EQ(read.fftSize, 4096);
    EXPECT_EQ(read.midSpectrum, b) << "the set of the header's FFT size gives the spectra";

    twoSets.fftSize = 8192;
    read = DecodeReferenceProfile(EncodeReferenceProfile(twoSets));
    EXPECT_EQ(read.fftSize, 2048) << "without a matching set the first set decides";
    EXPECT_EQ(read.midSpectrum, a);
    EXPECT_EQ(read.sideSpectrum, a);
    EXPECT_EQ(read.spectrumSets, twoSets.spectrumSets);
}

TEST(ReferenceProfileTest, AnyNonZeroFlagByteReadsTrueAndIsWrittenAsOne)
{
    ReferenceProfile p;
    std::string bytes = EncodeReferenceProfile(p);
    bytes[kPsychoacousticFlagOffset] = 7;
    const ReferenceProfile read = DecodeReferenceProfile(bytes);
    EXPECT_TRUE(read.psychoacoustic);
    EXPECT_EQ(EncodeReferenceProfile(read)[kPsychoacousticFlagOffset], 1);
}

TEST(ReferenceProfileTest, BytesAfterTheLastFieldAreIgnored)
{
    const ReferenceProfile p = MakeSmallProfile();
    EXPECT_EQ(DecodeReferenceProfile(EncodeReferenceProfile(p) + "trailing"),
              DecodeReferenceProfile(EncodeReferenceProfile(p)));
}

TEST(ReferenceProfileTest, WrongOrShortHeaderIsRefused)
{
    const std::string valid = EncodeReferenceProfile(ReferenceProfile());
    for (const std::string& bytes :
         {std::string(), std::string("AMRPROF"), "AMRPROF2" + valid.substr(8),
          "amrprof1" + valid.substr(8), std::string(valid.size(), '\0')})
    {
        EXPECT_EQ(ErrorText(bytes), kHeaderText) << "input of " << bytes.size() << " bytes";
    }
}

TEST(ReferenceProfileTest, EveryTruncationNamesTheFieldThatWasCutOff)
{
    const std::string full = EncodeReferenceProfile(MakeSmallProfile());
    const std::vector<Field> layout = SmallProfileLayout();

    size_t end = kMagicBytes;
    std::vector<const char*> kindAt(kMagicBytes, nullptr);
    for (const Field& field : layout)
    {
        kindAt.insert(kindAt.end(), field.bytes, field.kind);
        end += field.bytes;
    }
    ASSERT_EQ(end, full.size()) << "the layout of the test does not match the file";

    for (size_t length = 0; length < full.size(); ++length)
    {
        const std::string expected = length < kMagicBytes ? std::string(kHeaderText)
                                                          : kEofText + std::string(kindAt[length]);
        EXPECT_EQ(ErrorText(full.substr(0, length)), expected)
            << "cut after " << length << " bytes";
    }
    EXPECT_NO_THROW(DecodeReferenceProfile(full));
}

// A naive reader would size each list from the count before reading it: 32 GB
// for a vector, 128 GB for a set list. These cases would then fail with
// bad_alloc or run out of memory instead of naming the short field.
TEST(ReferenceProfileTest, CorruptCountsFailCleanlyWithoutHugeAllocations)
{
    const std::string full = EncodeReferenceProfile(MakeSmallProfile());
    size_t offset = kMagicBytes;
    for (const Field& field : SmallProfileLayout())
    {
        if (field.count != nullptr)
        {
            for (uint32_t count : {0u, 1u, 3u, 0x7FFFFFFFu, 0xFFFFFFFFu})
            {
                SCOPED_TRACE(std::string(field.count) + " = " + std::to_string(count));
                const std::string text = ErrorText(PutU32(full, offset, count));
                const bool clean = text == "(decoded)" || text.rfind(kEofText, 0) == 0;
                EXPECT_TRUE(clean) << text;
                if (count >= 0x7FFFFFFFu && field.hugeCountKind != nullptr)
                {
                    EXPECT_EQ(text, kEofText + std::string(field.hugeCountKind));
                }
            }
        }
        offset += field.bytes;
    }
}

TEST(ReferenceProfileTest, UnreadableOrUnwritablePathsGiveTheirTexts)
{
    TempDir dir;
    const std::wstring folder = WidePath(dir.Path());
    const ReferenceProfile p = MakeSmallProfile();

    auto readText = [](const std::wstring& path)
    {
        try
        {
            ReadReferenceProfile(path);
        }
        catch (const std::runtime_error& error)
        {
            return std::string(error.what());
        }
        return std::string("(read)");
    };
    auto writeText = [&](const std::wstring& path)
    {
        try
        {
            WriteReferenceProfile(path, p);
        }
        catch (const std::runtime_error& error)
        {
            return std::string(error.what());
        }
        return std::string("(written)");
    };

    EXPECT_EQ(readText(folder + L"/missing.prs"), "Cannot open profile for reading");
    EXPECT_EQ(readText(folder), "Cannot open profile for reading");
    EXPECT_EQ(writeText(folder), "Cannot open profile for writing");
    EXPECT_EQ(writeText(folder + L"/no such folder/a.prs"), "Cannot open profile for writing");

    WriteFileBytes(dir / "short.prs", "AMRP");
    EXPECT_EQ(readText(folder + L"/short.prs"), kHeaderText);
}

TEST(ReferenceProfileTest, RewritingReplacesTheWholeFile)
{
    TempDir dir;
    const std::wstring path = WidePath(dir.Path()) + L"/p.prs";
    WriteReferenceProfile(path, MakeFullProfile());
    const ReferenceProfile small = MakeSmallProfile();
    WriteReferenceProfile(path, small);
    EXPECT_EQ(ReadFileBytes(dir / "p.prs"), EncodeReferenceProfile(small))
        << "a shorter profile left bytes of the longer one behind";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left in the folder";
}

TEST(ReferenceProfileTest, FailedWriteKeepsThePreviousProfile)
{
    TempDir dir;
    const std::wstring path = WidePath(dir.Path()) + L"/p.prs";
    const ReferenceProfile previous = MakeSmallProfile();
    WriteReferenceProfile(path, previous);

    std::string text;
    {
        FileSizeLimit diskFull(4096); // far below the new profile, as a full disk would be
        try
        {
            WriteReferenceProfile(path, MakeFullProfile());
        }
        catch (const std::runtime_error& error)
        {
            text = error.what();
        }
    }

    EXPECT_EQ(text, "Failed while writing profile");
    EXPECT_EQ(ReadReferenceProfile(path), previous) << "a failed write damaged the old profile";
}
