#include "engine/profiles/profile_creation.h"

#include "engine/io/audio_file_reader.h"
#include "engine/io/wav_writer.h"
#include "engine/dsp/band_split.h"
#include "engine/dsp/oversampler.h"
#include "engine/decibels.h"
#include "engine/loudness/loudness.h"
#include "engine/stages/stage1_level_match.h"
#include "engine/stages/stage2_tone_match.h"
#include "engine/stages/stage3_dynamics.h"
#include "engine/stages/tone_spectrum.h"
#include "base/unicode_text.h"
#include "engine/profiles/utc_timestamp.h"
#include "tests/support/signals.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <regex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace
{

constexpr int kInternalRate = 48000;
// Bin 96 of a 4096-point FFT at 48 kHz (bin 48 at 2048), so the tone lands on one bin.
constexpr double kToneHz = 1125.0;
constexpr int kToneBin4096 = 96;

using Frame = std::pair<double, double>;

AudioBuffer MakeTrack(int sampleRate, std::size_t frames,
                      const std::function<Frame(std::size_t)>& frameAt)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.resize(2 * frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const auto [left, right] = frameAt(i);
        buffer.samples[2 * i] = left;
        buffer.samples[2 * i + 1] = right;
    }
    return buffer;
}

// A tone common to both channels (mid only) over independent noise in each
// channel (mid and side alike).
AudioBuffer ToneOverNoise(int sampleRate, double seconds, double toneAmplitude = 0.4)
{
    AudioBuffer track = StereoNoise(sampleRate, seconds, 0.05, 7);
    const AudioBuffer tone = StereoSine(kToneHz, sampleRate, seconds, toneAmplitude);
    for (std::size_t i = 0; i < track.samples.size(); ++i)
    {
        track.samples[i] += tone.samples[i];
    }
    return track;
}

std::wstring WriteTrack(const TempDir& dir, const std::string& name, const AudioBuffer& track)
{
    const std::filesystem::path path = dir / name;
    WriteWavFile(Utf8ToWide(path.string()), track, 24);
    return Utf8ToWide(path.string());
}

std::wstring Wide(const std::filesystem::path& path)
{
    return Utf8ToWide(path.string());
}

struct ProgressPoint
{
    double fraction;
    std::string text;

    bool operator==(const ProgressPoint&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ProgressPoint& point)
{
    return out << point.fraction << " \"" << point.text << "\"";
}

struct Recorder
{
    std::vector<ProgressPoint> points;

    EngineRequest Request(const MatchSettings& settings = {})
    {
        EngineRequest request;
        request.settings = settings;
        request.progress = [this](double fraction, const char* text) {
            points.push_back({fraction, text});
        };
        return request;
    }
};

std::size_t LoudestBin(const std::vector<double>& spectrumDb)
{
    return static_cast<std::size_t>(std::max_element(spectrumDb.begin() + 1, spectrumDb.end()) -
                                    spectrumDb.begin());
}

std::string ErrorOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const std::runtime_error& error) // the one kind of failure the run promises
    {
        return error.what();
    }
    return "(no error)";
}

} // namespace

TEST(ProfileCreation, ProfileOfATrackAtTheInternalRateRecordsItsFigures)
{
    TempDir dir;
    const AudioBuffer track = ToneOverNoise(kInternalRate, 1.0);
    const std::wstring reference = WriteTrack(dir, "réf track.wav", track);
    const std::wstring output = Wide(dir / "out.prs");
    const AudioBuffer asRead = ReadAudioFile(reference);

    MatchSettings settings;
    settings.smoothingOctaveDenominator = 3;
    settings.psychoacoustic = true;
    settings.linLogOversampling = 2;
    Recorder recorder;
    const std::string before = CurrentUtcTimestamp();
    const ReferenceProfile profile = CreateReferenceProfile(
        recorder.Request(settings), reference, output, "Bright master", "Zürich, 2024");
    const std::string after = CurrentUtcTimestamp();

    const std::vector<ProgressPoint> expectedProgress = {{0.02, "Preparing"},
                                                         {0.08, "Loading target audio"},
                                                         {0.3, "Analyzing loudness"},
                                                         {0.48, "Extracting tone fingerprint"},
                                                         {0.7, "Extracting dynamics"},
                                                         {0.94, "Writing profile"},
                                                         {1.0, "Completed"}};
    EXPECT_EQ(recorder.points, expectedProgress) << "a track at the internal rate is not resampled";

    EXPECT_EQ(ReadReferenceProfile(output), profile) << "the file must hold the returned profile";

    EXPECT_EQ(profile.version, 6u);
    EXPECT_EQ(profile.sampleRate, kInternalRate);
    EXPECT_EQ(profile.sourceSampleRate, kInternalRate);
    EXPECT_EQ(profile.fftSize, 4096);
    EXPECT_EQ(profile.linLogOversampling, 2);
    EXPECT_EQ(profile.smoothingOctaveDenominator, 3);
    EXPECT_TRUE(profile.psychoacoustic);
    EXPECT_FALSE(profile.adaptiveStrength);
    EXPECT_EQ(profile.peakCeiling, settings.peakCeiling);
    EXPECT_EQ(profile.dynamicsBandCount, 1);

    EXPECT_EQ(profile.name, "Bright master");
    EXPECT_EQ(profile.description, "Zürich, 2024");
    EXPECT_EQ(profile.sourcePath, WideToUtf8(reference));
    EXPECT_EQ(profile.sourceFileName, "réf track.wav");
    EXPECT_TRUE(
        std::regex_match(profile.createdAt, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));
    EXPECT_LE(before, profile.createdAt);
    EXPECT_GE(after, profile.createdAt);

    // Level and loudness are those of the track as read.
    double peak = 0.0;
    for (const double sample : asRead.samples)
    {
        peak = std::max(peak, std::abs(sample));
    }
    EXPECT_EQ(profile.truePeak, peak);
    EXPECT_DOUBLE_EQ(profile.finalAmplitudeCoefficient, peak / settings.peakCeiling);
    const LoudnessStats loudness = MeasureLoudness(asRead);
    EXPECT_TRUE(profile.hasIntegratedLufs);
    EXPECT_EQ(profile.integratedLufs, loudness.integratedLufs);
    EXPECT_EQ(profile.loudnessRange, loudness.loudnessRange);

    // One second is one piece, so the piece percentiles and the one-band
    // dynamics all read the level of the whole peak-normalised mid signal.
    ASSERT_EQ(profile.dynamicsSets.size(), 3u);
    const int bandCounts[] = {1, 3, 6};
    for (std::size_t s = 0; s < 3; ++s)
    {
        EXPECT_EQ(profile.dynamicsSets[s].bandCount, bandCounts[s]);
        EXPECT_EQ(profile.dynamicsSets[s].bandRms.size(), static_cast<std::size_t>(bandCounts[s]));
    }
    EXPECT_NEAR(profile.dynamicsSets[0].bandRms[0], profile.referenceMatchRms,
                1e-12 * profile.referenceMatchRms);
    for (const double percentile : profile.pieceRmsPercentiles)
    {
        EXPECT_NEAR(percentile, profile.referenceMatchRms, 1e-12 * profile.referenceMatchRms);
    }

    // The tone is common to both channels: it is in the mid fingerprint only.
    ASSERT_EQ(profile.spectrumSets.size(), 2u);
    EXPECT_EQ(profile.spectrumSets[0].fftSize, 4096);
    EXPECT_EQ(profile.spectrumSets[1].fftSize, 2048);
    EXPECT_EQ(profile.spectrumSets[0].mid.size(), 2049u);
    EXPECT_EQ(profile.spectrumSets[1].side.size(), 1025u);
    EXPECT_EQ(LoudestBin(profile.spectrumSets[0].mid), 96u);
    EXPECT_EQ(LoudestBin(profile.spectrumSets[1].mid), 48u);
    EXPECT_GT(profile.spectrumSets[0].mid[kToneBin4096] -
                  profile.spectrumSets[0].side[kToneBin4096],
              30.0)
        << "the common tone leaked into the side fingerprint";
    EXPECT_EQ(profile.midSpectrum, profile.spectrumSets[0].mid);
    EXPECT_EQ(profile.sideSpectrum, profile.spectrumSets[0].side);
}

TEST(ProfileCreation, ReferenceAtAnotherRateIsAnalysedAtTheInternalRate)
{
    TempDir dir;
    const std::wstring reference = WriteTrack(dir, "cd.wav", ToneOverNoise(44100, 1.0));
    Recorder recorder;
    const ReferenceProfile profile =
        CreateReferenceProfile(recorder.Request(), reference, Wide(dir / "out.prs"), "", "");

    EXPECT_EQ(profile.sampleRate, 48000);
    EXPECT_EQ(profile.sourceSampleRate, 44100);
    // Read as if it were 48 kHz, the tone would sit near bin 104.
    EXPECT_EQ(LoudestBin(profile.midSpectrum), static_cast<std::size_t>(kToneBin4096))
        << "the reference was relabelled instead of resampled";

    const std::vector<ProgressPoint> expectedProgress = {{0.02, "Preparing"},
                                                         {0.08, "Loading target audio"},
                                                         {0.16, "Resampling"},
                                                         {0.3, "Analyzing loudness"},
                                                         {0.48, "Extracting tone fingerprint"},
                                                         {0.7, "Extracting dynamics"},
                                                         {0.94, "Writing profile"},
                                                         {1.0, "Completed"}};
    EXPECT_EQ(recorder.points, expectedProgress);
}

TEST(ProfileCreation, FftSizeDecidesTheSpectrumSets)
{
    struct Case
    {
        int fftSize;
        std::vector<int> setSizes;
    };
    const Case cases[] = {{256, {256}}, {512, {512, 256}}, {8192, {8192, 4096}}};
    TempDir dir;
    const std::wstring reference = WriteTrack(dir, "ref.wav", ToneOverNoise(kInternalRate, 1.0));
    for (const Case& c : cases)
    {
        MatchSettings settings;
        settings.fftSize = c.fftSize;
        Recorder recorder;
        const ReferenceProfile profile = CreateReferenceProfile(
            recorder.Request(settings), reference, Wide(dir / "out.prs"), "", "");
        ASSERT_EQ(profile.spectrumSets.size(), c.setSizes.size()) << "fftSize " << c.fftSize;
        for (std::size_t s = 0; s < c.setSizes.size(); ++s)
        {
            const SpectrumSet& set = profile.spectrumSets[s];
            EXPECT_EQ(set.fftSize, c.setSizes[s]);
            EXPECT_EQ(set.mid.size(), static_cast<std::size_t>(c.setSizes[s] / 2 + 1));
            EXPECT_EQ(set.side.size(), set.mid.size());
        }
        EXPECT_EQ(profile.fftSize, c.fftSize);
        EXPECT_EQ(profile.midSpectrum, profile.spectrumSets[0].mid);
    }
}

TEST(ProfileCreation, OneFrameMoreThanTheFftSizeIsEnough)
{
    TempDir dir;
    const AudioBuffer track = ToneOverNoise(kInternalRate, 4097.0 / kInternalRate);
    ASSERT_EQ(track.FrameCount(), 4097u);
    const std::wstring reference = WriteTrack(dir, "ref.wav", track);
    Recorder recorder;
    const ReferenceProfile profile =
        CreateReferenceProfile(recorder.Request(), reference, Wide(dir / "out.prs"), "", "");
    EXPECT_EQ(LoudestBin(profile.midSpectrum), static_cast<std::size_t>(kToneBin4096));
}

TEST(ProfileCreation, RefusedReferencesLeaveThePreviousProfileAlone)
{
    TempDir dir;
    const std::string garbagePath = (dir / "garbage.wav").string();
    WriteFileBytes(garbagePath, "RIFF\x04\x00\x00\x00WAVEjunk");
    const std::string readerError = ErrorOf([&] { ReadAudioFile(Utf8ToWide(garbagePath)); });
    ASSERT_NE(readerError, "(no error)");
    std::filesystem::create_directory(dir / "folder.wav");

    struct Case
    {
        const char* what;
        std::wstring reference;
        int fftSize;
        std::string expected;
    };
    const Case cases[] = {
        {"missing file", Wide(dir / "absent.wav"), 4096, "Reference file missing"},
        {"empty path", L"", 4096, "Reference file missing"},
        {"a folder", Wide(dir / "folder.wav"), 4096, "Reference file missing"},
        {"unreadable audio", Utf8ToWide(garbagePath), 4096, readerError},
        {"exactly fftSize frames",
         WriteTrack(dir, "short.wav", ToneOverNoise(kInternalRate, 4096.0 / kInternalRate)), 4096,
         "Reference audio too short for FFT size"},
        {"digital silence",
         WriteTrack(dir, "silent.wav",
                    MakeTrack(kInternalRate, kInternalRate, [](std::size_t) { return Frame{}; })),
         4096, "Reference audio is silent"},
        // Level matching reads the mid signal, which cancels here: every track
        // matched to this profile would be muted just the same.
        {"left opposite to right",
         WriteTrack(dir, "antiphase.wav",
                    InterleaveStereo(Sine(kToneHz, kInternalRate, kInternalRate, 0.5),
                                     Sine(kToneHz, kInternalRate, kInternalRate, -0.5),
                                     kInternalRate)),
         4096, "Reference audio is silent"},
        {"FFT size not a power of two",
         WriteTrack(dir, "ref.wav", ToneOverNoise(kInternalRate, 1.0)), 3000,
         "FFT size must be a power of two"},
    };

    const std::filesystem::path output = dir / "out.prs";
    for (const Case& c : cases)
    {
        WriteFileBytes(output, "previous profile");
        MatchSettings settings;
        settings.fftSize = c.fftSize;
        Recorder recorder;
        const EngineRequest request = recorder.Request(settings);
        EXPECT_EQ(
            ErrorOf([&] { CreateReferenceProfile(request, c.reference, Wide(output), "", ""); }),
            c.expected)
            << c.what;
        EXPECT_EQ(ReadFileBytes(output), "previous profile") << c.what;
    }
    // Nothing else was left behind in the folder either (no temporary files).
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expectedNames = {"antiphase.wav", "folder.wav", "garbage.wav",
                                                    "out.prs",       "ref.wav",    "short.wav",
                                                    "silent.wav"};
    EXPECT_EQ(names, expectedNames);
}

TEST(ProfileCreation, CancelAtAnyQuestionWritesNothing)
{
    TempDir dir;
    const std::wstring reference = WriteTrack(dir, "ref.wav", ToneOverNoise(kInternalRate, 0.5));
    const std::filesystem::path output = dir / "out.prs";

    // The k-th question to the cancel callback is the first answered with yes;
    // k grows until the run gets through every question.
    bool completed = false;
    for (int k = 1; k <= 30 && !completed; ++k)
    {
        WriteFileBytes(output, "previous profile");
        Recorder recorder;
        EngineRequest request = recorder.Request();
        int questions = 0;
        request.cancel = [&] { return ++questions >= k; };
        const std::string error =
            ErrorOf([&] { CreateReferenceProfile(request, reference, Wide(output), "", ""); });
        if (error == "(no error)")
        {
            completed = true;
            EXPECT_NE(ReadFileBytes(output), "previous profile");
            EXPECT_GT(k, 7) << "the run asked fewer times than it reported progress";
            continue;
        }
        EXPECT_EQ(error, "Processing cancelled") << "cancel at question " << k;
        EXPECT_EQ(ReadFileBytes(output), "previous profile") << "cancel at question " << k;
        if (k == 1)
        {
            EXPECT_TRUE(recorder.points.empty()) << "a cancel at \"Preparing\" reports nothing";
        }
        else
        {
            EXPECT_NE(recorder.points.back().text, "Completed");
        }
    }
    EXPECT_TRUE(completed);
}

TEST(ProfileCreation, CancelDuringTheWritingReportStopsTheWrite)
{
    TempDir dir;
    const std::wstring reference = WriteTrack(dir, "ref.wav", ToneOverNoise(kInternalRate, 0.5));
    const std::filesystem::path output = dir / "out.prs";
    WriteFileBytes(output, "previous profile");

    // The user presses Cancel while the "Writing profile" report is shown.
    bool cancelled = false;
    EngineRequest request;
    request.progress = [&](double, const char* text)
    { cancelled = cancelled || std::string(text) == "Writing profile"; };
    request.cancel = [&] { return cancelled; };
    EXPECT_EQ(ErrorOf([&] { CreateReferenceProfile(request, reference, Wide(output), "", ""); }),
              "Processing cancelled");
    EXPECT_EQ(ReadFileBytes(output), "previous profile");
}

TEST(ProfileCreation, CancelAfterTheFileIsWrittenDoesNotFailTheRun)
{
    TempDir dir;
    const std::wstring reference = WriteTrack(dir, "ref.wav", ToneOverNoise(kInternalRate, 0.5));
    const std::filesystem::path output = dir / "out.prs";
    WriteFileBytes(output, "previous profile");

    // A cancel that arrives once the profile is on disk is too late to undo
    // it; the run must not report the written profile as cancelled.
    Recorder recorder;
    EngineRequest request = recorder.Request();
    request.cancel = [&] { return ReadFileBytes(output) != "previous profile"; };
    const ReferenceProfile profile =
        CreateReferenceProfile(request, reference, Wide(output), "", "");
    EXPECT_EQ(ReadReferenceProfile(Wide(output)), profile);
    EXPECT_EQ(recorder.points.back(), (ProgressPoint{1.0, "Completed"}));
}

TEST(ProfileCreation, QuietAndLoudCopiesGiveTheSameFingerprint)
{
    TempDir dir;
    const AudioBuffer quiet = ToneOverNoise(kInternalRate, 1.0, 0.2);
    AudioBuffer loud = quiet;
    double quietPeak = 0.0;
    for (const double sample : quiet.samples)
    {
        quietPeak = std::max(quietPeak, std::abs(sample));
    }
    for (double& sample : loud.samples)
    {
        sample /= quietPeak; // peaks at full scale, above the ceiling
    }
    Recorder recorder;
    const ReferenceProfile quietProfile = CreateReferenceProfile(
        recorder.Request(), WriteTrack(dir, "quiet.wav", quiet), Wide(dir / "q.prs"), "", "");
    const ReferenceProfile loudProfile = CreateReferenceProfile(
        recorder.Request(), WriteTrack(dir, "loud.wav", loud), Wide(dir / "l.prs"), "", "");

    EXPECT_EQ(loudProfile.finalAmplitudeCoefficient, 1.0)
        << "a reference at full scale is not raised";
    EXPECT_NEAR(quietProfile.finalAmplitudeCoefficient, quietPeak / MatchSettings{}.peakCeiling,
                1e-6);
    // The quiet copy is raised to the ceiling, the loud one left at full
    // scale: their levels differ only by that small step.
    const double ceilingStepDb = GainToDb(MatchSettings{}.peakCeiling, 0.0);
    EXPECT_NEAR(GainToDb(quietProfile.referenceMatchRms / loudProfile.referenceMatchRms, 0.0),
                ceilingStepDb, 1e-3);
    const double floor = MatchSettings{}.floor;
    EXPECT_LT(SpectralDistance(quietProfile.midSpectrum, loudProfile.midSpectrum, floor) -
                  std::abs(ceilingStepDb),
              1e-3);
}

TEST(ProfileCreation, DynamicsSetsHoldTheBandLevelsOfThePeakNormalisedMid)
{
    TempDir dir;
    const std::wstring reference = WriteTrack(dir, "ref.wav", ToneOverNoise(kInternalRate, 1.0));
    Recorder recorder;
    const ReferenceProfile profile =
        CreateReferenceProfile(recorder.Request(), reference, Wide(dir / "out.prs"), "", "");

    const MatchSettings settings;
    const LevelAnalysis analysis = AnalyseReferenceLevel(
        ReadAudioFile(reference), {settings.maxPieceSeconds, settings.peakCeiling, settings.floor});
    ASSERT_EQ(profile.dynamicsSets.size(), 3u);
    for (const DynamicsSet& set : profile.dynamicsSets)
    {
        const std::vector<std::vector<double>> bands =
            SplitIntoBands(analysis.mid, kInternalRate, set.bandCount);
        ASSERT_EQ(set.bandRms.size(), bands.size());
        for (std::size_t b = 0; b < bands.size(); ++b)
        {
            EXPECT_DOUBLE_EQ(set.bandRms[b], std::max(Rms(bands[b]), settings.floor))
                << "band " << b << " of " << set.bandCount;
        }
    }
}

TEST(ProfileCreation, BandsFollowWhereTheEnergyIs)
{
    struct Case
    {
        double frequencyHz;
        std::size_t loudestOfThree;
        std::size_t loudestOfSix;
    };
    const Case cases[] = {{50.0, 0, 0}, {12000.0, 2, 5}};
    TempDir dir;
    for (const Case& c : cases)
    {
        const AudioBuffer track = StereoSine(c.frequencyHz, kInternalRate, 1.0, 0.5);
        Recorder recorder;
        const ReferenceProfile profile = CreateReferenceProfile(
            recorder.Request(), WriteTrack(dir, "tone.wav", track), Wide(dir / "out.prs"), "", "");
        const auto loudest = [](const DynamicsSet& set)
        {
            return static_cast<std::size_t>(
                std::max_element(set.bandRms.begin(), set.bandRms.end()) - set.bandRms.begin());
        };
        EXPECT_EQ(loudest(profile.dynamicsSets[1]), c.loudestOfThree) << c.frequencyHz << " Hz";
        EXPECT_EQ(loudest(profile.dynamicsSets[2]), c.loudestOfSix) << c.frequencyHz << " Hz";
        for (const DynamicsSet& set : profile.dynamicsSets)
        {
            for (const double rms : set.bandRms)
            {
                EXPECT_GE(rms, profile.floor);
            }
        }
    }
}

namespace
{

// Stages 1 and 2 as the full run chains them, with its final shaping (the
// profile's amplitude coefficient applied again at the end).
AudioBuffer MatchWithStages12(const AudioBuffer& track, const ReferenceProfile& profile)
{
    const MatchSettings settings;
    const LevelAnalysis level =
        MatchLevel(track, {profile.referenceMatchRms, profile.finalAmplitudeCoefficient},
                   {settings.maxPieceSeconds, settings.peakCeiling, settings.floor});
    MidSideMagnitudes targets;
    for (const double db : profile.midSpectrum)
    {
        targets.mid.push_back(DbToGain(db));
    }
    for (const double db : profile.sideSpectrum)
    {
        targets.side.push_back(DbToGain(db));
    }
    ToneMatchSettings tone;
    tone.fftSize = settings.fftSize;
    tone.smoothingOctaveDenominator = settings.smoothingOctaveDenominator;
    tone.floor = settings.floor;
    tone.stage2Strength = settings.stage2Strength;
    const ToneCorrection correction = ComputeToneCorrection(level, targets, tone, track.sampleRate);
    AudioBuffer matched = ApplyToneMatch(level, correction, tone, track.sampleRate).audio;
    for (double& sample : matched.samples)
    {
        sample *= level.amplitude;
    }
    return matched;
}

// The 1/6-octave smoothed long-term mid spectrum of a whole track, in dB.
std::vector<double> SmoothedMidSpectrumDb(const AudioBuffer& track)
{
    constexpr int fftSize = 4096;
    const PieceAnalysis pieces = SplitIntoPieces(track, 1e9);
    std::vector<double> spectrum =
        SmoothSpectrum(AverageSpectrum(pieces.mid, 1, static_cast<int>(pieces.mid.size()), fftSize),
                       track.sampleRate, fftSize, 6, 1e-12);
    for (double& bin : spectrum)
    {
        bin = GainToDb(bin, 1e-12);
    }
    return spectrum;
}

double RmsDb(const std::vector<double>& samples)
{
    double sum = 0.0;
    for (const double s : samples)
    {
        sum += s * s;
    }
    return GainToDb(std::sqrt(sum / static_cast<double>(samples.size())), 1e-12);
}

} // namespace

TEST(ProfileCreation, ProfileOfATrackMatchesThatTrackToItself)
{
    // Stereo noise falling 3 dB per octave, at half of full scale.
    constexpr std::size_t kFrames = 10 * kInternalRate;
    std::mt19937 random(3);
    std::normal_distribution<double> white(0.0, 0.1);
    double left = 0.0;
    double right = 0.0;
    const AudioBuffer track = MakeTrack(kInternalRate, kFrames,
                                        [&](std::size_t)
                                        {
                                            const double common = white(random);
                                            left = 0.9 * left + common + 0.4 * white(random);
                                            right = 0.9 * right + common + 0.4 * white(random);
                                            return Frame{0.15 * left, 0.15 * right};
                                        });
    TempDir dir;
    const std::wstring reference = WriteTrack(dir, "self.wav", track);
    const AudioBuffer asRead = ReadAudioFile(reference);
    Recorder recorder;
    const ReferenceProfile profile =
        CreateReferenceProfile(recorder.Request(), reference, Wide(dir / "self.prs"), "", "");
    ASSERT_LT(profile.finalAmplitudeCoefficient, 0.9) << "the fixture must exercise the raise";

    const AudioBuffer matched = MatchWithStages12(asRead, profile);
    const double levelChangeDb = RmsDb(matched.samples) - RmsDb(asRead.samples);
    const std::vector<double> before = SmoothedMidSpectrumDb(asRead);
    const std::vector<double> after = SmoothedMidSpectrumDb(matched);
    double largestBinChangeDb = 0.0;
    for (std::size_t k = 5; k < before.size() * 2 / 3; ++k) // about 60 Hz to 16 kHz
    {
        largestBinChangeDb = std::max(largestBinChangeDb, std::abs(after[k] - before[k]));
    }
    EXPECT_NEAR(levelChangeDb, 0.0, 0.05)
        << "matching a track to its own profile changed its level";
    EXPECT_LT(largestBinChangeDb, 0.25) << "matching a track to its own profile changed its tone";
}
