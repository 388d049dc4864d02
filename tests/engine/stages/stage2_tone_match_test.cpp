#include "engine/stages/stage2_tone_match.h"

#include "engine/dsp/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

namespace
{

constexpr int kRate = 48000;
constexpr int kFftSize = 4096;

AudioBuffer MakeStereo(const std::vector<double>& left, const std::vector<double>& right)
{
    AudioBuffer buffer;
    buffer.sampleRate = kRate;
    buffer.samples.resize(2 * left.size());
    for (std::size_t i = 0; i < left.size(); ++i)
    {
        buffer.samples[2 * i] = left[i];
        buffer.samples[2 * i + 1] = right[i];
    }
    return buffer;
}

// White noise of a power-of-two length shaped in the frequency domain by
// gain(frequency in Hz); the shaping is circular, so the noise has no edges.
std::vector<double> ShapedNoise(std::size_t frames, unsigned seed,
                                const std::function<double(double)>& gain)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<std::complex<double>> spectrum(frames);
    for (auto& value : spectrum)
    {
        value = normal(random);
    }
    Fft(spectrum, false);
    for (std::size_t k = 0; k < frames; ++k)
    {
        const std::size_t bin = std::min(k, frames - k);
        spectrum[k] *= gain(static_cast<double>(bin) * kRate / frames);
    }
    Fft(spectrum, true);
    std::vector<double> signal(frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        signal[i] = 0.05 * spectrum[i].real();
    }
    return signal;
}

double Flat(double)
{
    return 1.0;
}

// Stage 1 without its gain, so that stage 2 can be compared with the track itself.
LevelAnalysis Analyse(const AudioBuffer& track)
{
    LevelAnalysis level;
    static_cast<PieceAnalysis&>(level) = SplitIntoPieces(track, 15.0);
    return level;
}

ToneMatchSettings Settings(double strength)
{
    ToneMatchSettings settings;
    settings.stage2Strength = strength;
    return settings;
}

double RmsOfRange(const std::vector<double>& signal, std::size_t first, std::size_t last)
{
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i)
    {
        sum += signal[i] * signal[i];
    }
    return std::sqrt(sum / static_cast<double>(last - first));
}

TEST(ToneMatch, ATrackMatchedToItsOwnSpectraComesBackUnchanged)
{
    // Content from 1 kHz up only: the flat correction's one deviation is the
    // cleared bin 0, and that removes only what lies within a few bins of DC.
    const auto highPass = [](double hz) { return hz >= 1000.0 ? 1.0 : 0.0; };
    const std::size_t frames = std::size_t{1} << 17;
    const AudioBuffer track =
        MakeStereo(ShapedNoise(frames, 1, highPass), ShapedNoise(frames, 2, highPass));
    const LevelAnalysis level = Analyse(track);
    const MidSideMagnitudes own = MidSideSpectra(level, kFftSize);

    ToneMatchSettings settings = Settings(0.5);
    settings.adaptiveStrength = true;
    const ToneCorrection correction = ComputeToneCorrection(level, own, settings, kRate);
    const ToneMatchResult result = ApplyToneMatch(level, correction, settings, kRate);

    EXPECT_EQ(result.spectralDistanceDb, 0.0);
    EXPECT_EQ(result.confidence, 1.0);
    EXPECT_EQ(result.appliedStrength, 0.5);
    ASSERT_EQ(result.audio.samples.size(), track.samples.size());
    // Away from the ends, where the filter reaches past the track.
    double worst = 0.0;
    for (std::size_t i = 2 * kFftSize; i < 2 * (frames - kFftSize); ++i)
    {
        worst = std::max(worst, std::abs(result.audio.samples[i] - track.samples[i]));
    }
    EXPECT_LT(worst, 1e-6) << "half-corrected track differs from itself: the filtered "
                              "signal is misaligned with the dry one";
}

TEST(ToneMatch, MovesTiltedPinkNoiseTowardsTheReferenceShape)
{
    const std::size_t frames = std::size_t{1} << 19;
    const auto pink = [](double hz) { return hz < 20.0 ? 0.0 : 1.0 / std::sqrt(hz / 1000.0); };
    // The known EQ: +3 dB per octave about 1 kHz, -10 dB at 100 Hz, +10 dB at 10 kHz.
    const auto tilted = [&](double hz)
    { return hz < 20.0 ? 0.0 : pink(hz) * std::pow(10.0, 3.0 * std::log2(hz / 1000.0) / 20.0); };
    const AudioBuffer reference =
        MakeStereo(ShapedNoise(frames, 3, pink), ShapedNoise(frames, 4, pink));
    const AudioBuffer track =
        MakeStereo(ShapedNoise(frames, 5, tilted), ShapedNoise(frames, 6, tilted));

    const LevelAnalysis referenceLevel = AnalyseReferenceLevel(reference, LevelSettings{});
    const MidSideMagnitudes targets = MidSideSpectra(referenceLevel, kFftSize);
    const LevelAnalysis level =
        MatchLevel(track, {referenceLevel.selectedRms, 1.0}, LevelSettings{});
    const ToneMatchSettings settings = Settings(1.0);
    const ToneMatchResult result = ApplyToneMatch(
        level, ComputeToneCorrection(level, targets, settings, kRate), settings, kRate);

    // 1/3-octave band levels of both channels, 100 Hz to 10 kHz.
    const auto bandLevelsDb = [&](const AudioBuffer& buffer)
    {
        std::vector<std::complex<double>> left(frames);
        std::vector<std::complex<double>> right(frames);
        for (std::size_t i = 0; i < frames; ++i)
        {
            left[i] = buffer.samples[2 * i];
            right[i] = buffer.samples[2 * i + 1];
        }
        Fft(left, false);
        Fft(right, false);
        std::vector<double> levels;
        for (int band = -10; band <= 10; ++band)
        {
            const double centreHz = 1000.0 * std::exp2(band / 3.0);
            double power = 0.0;
            for (std::size_t k = 1; k < frames / 2; ++k)
            {
                const double hz = static_cast<double>(k) * kRate / frames;
                if (hz >= centreHz * std::exp2(-1.0 / 6.0) && hz < centreHz * std::exp2(1.0 / 6.0))
                {
                    power += std::norm(left[k]) + std::norm(right[k]);
                }
            }
            levels.push_back(10.0 * std::log10(power));
        }
        return levels;
    };
    // How far two band-level shapes are apart: RMS of the difference about its mean.
    const auto shapeDistanceDb = [](const std::vector<double>& a, const std::vector<double>& b)
    {
        double mean = 0.0;
        for (std::size_t i = 0; i < a.size(); ++i)
        {
            mean += (a[i] - b[i]) / a.size();
        }
        double sum = 0.0;
        for (std::size_t i = 0; i < a.size(); ++i)
        {
            sum += (a[i] - b[i] - mean) * (a[i] - b[i] - mean);
        }
        return std::sqrt(sum / a.size());
    };
    const std::vector<double> referenceBands = bandLevelsDb(reference);
    const double beforeDb = shapeDistanceDb(bandLevelsDb(track), referenceBands);
    const double afterDb = shapeDistanceDb(bandLevelsDb(result.audio), referenceBands);
    std::printf("tilted pink noise: band-shape distance %.2f dB before, %.2f dB after\n", beforeDb,
                afterDb);
    EXPECT_GT(beforeDb, 5.0) << "the tilt should put the track well off the reference";
    EXPECT_LT(afterDb, beforeDb / 2.0) << "tone match did not move the track towards the reference";
    EXPECT_GT(result.spectralDistanceDb, 3.0);
}

TEST(ToneMatch, TheSideAmountScalesTheSideCorrectionLinearly)
{
    // A side target 6 dB above the track's own (a ratio of 2): amount 1 gives
    // the ratio, 0 leaves the side as it is, 2 doubles the deviation to 3.
    const std::size_t frames = std::size_t{1} << 17;
    const AudioBuffer track =
        MakeStereo(ShapedNoise(frames, 7, Flat), ShapedNoise(frames, 8, Flat));
    const LevelAnalysis level = Analyse(track);
    MidSideMagnitudes targets = MidSideSpectra(level, kFftSize);
    for (double& bin : targets.side)
    {
        bin *= 2.0;
    }
    for (const auto& [amount, expectedGain] : {std::pair{0.0, 1.0}, {1.0, 2.0}, {2.0, 3.0}})
    {
        ToneMatchSettings settings = Settings(1.0);
        settings.sideAmount = amount;
        const ToneCorrection correction = ComputeToneCorrection(level, targets, settings, kRate);
        const std::size_t first = kFftSize;
        const std::size_t last = frames - kFftSize;
        EXPECT_NEAR(RmsOfRange(correction.processedSide, first, last) /
                        RmsOfRange(level.side, first, last),
                    expectedGain, 0.01 * expectedGain)
            << "side amount " << amount;
        EXPECT_NEAR(RmsOfRange(correction.processedMid, first, last) /
                        RmsOfRange(level.mid, first, last),
                    1.0, 0.01)
            << "the mid matched its own spectrum";
    }
}

TEST(ToneMatch, RefusesTargetsOfTheWrongSizeMidFirst)
{
    const std::size_t frames = 3 * kFftSize;
    const AudioBuffer track =
        MakeStereo(ShapedNoise(frames, 9, Flat), ShapedNoise(frames, 10, Flat));
    const LevelAnalysis level = Analyse(track);
    const std::vector<double> right(kFftSize / 2 + 1, 1.0);
    const std::vector<double> wrong(kFftSize / 2, 1.0);
    const struct
    {
        MidSideMagnitudes targets;
        const char* message;
    } cases[] = {
        {{wrong, wrong}, "Reference profile mid spectrum size mismatch"},
        {{wrong, right}, "Reference profile mid spectrum size mismatch"},
        {{right, wrong}, "Reference profile side spectrum size mismatch"},
    };
    for (const auto& c : cases)
    {
        try
        {
            ComputeToneCorrection(level, c.targets, Settings(1.0), kRate);
            ADD_FAILURE() << "accepted targets of " << c.targets.mid.size() << " and "
                          << c.targets.side.size() << " bins";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(ToneMatch, RefusesAnalysisWithoutAWholeFrameOrAnFftSizeThatIsNoPowerOfTwo)
{
    const MidSideMagnitudes targets{std::vector<double>(kFftSize / 2 + 1, 1.0),
                                    std::vector<double>(kFftSize / 2 + 1, 1.0)};
    for (std::size_t frames : {std::size_t{1}, std::size_t{kFftSize - 1}})
    {
        const LevelAnalysis level =
            Analyse(MakeStereo(std::vector<double>(frames, 0.1), std::vector<double>(frames, 0.2)));
        try
        {
            ComputeToneCorrection(level, targets, Settings(1.0), kRate);
            ADD_FAILURE() << "a track of " << frames << " frames was measured";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_STREQ(error.what(), "Input audio too short for FFT size");
        }
    }
    const std::size_t frames = 2 * kFftSize;
    const LevelAnalysis level =
        Analyse(MakeStereo(std::vector<double>(frames, 0.1), std::vector<double>(frames, 0.2)));
    for (int fftSize : {0, -4096, 1000})
    {
        ToneMatchSettings settings = Settings(1.0);
        settings.fftSize = fftSize;
        EXPECT_THROW(ComputeToneCorrection(level, targets, settings, kRate), std::invalid_argument)
            << "fftSize " << fftSize;
    }
}

TEST(ToneMatch, CorruptReferenceBinsLeaveTheOutputFinite)
{
    const std::size_t frames = 4 * kFftSize;
    const AudioBuffer track =
        MakeStereo(ShapedNoise(frames, 11, Flat), ShapedNoise(frames, 12, Flat));
    const LevelAnalysis level = Analyse(track);
    MidSideMagnitudes targets = MidSideSpectra(level, kFftSize);
    targets.mid[100] = std::numeric_limits<double>::quiet_NaN();
    targets.mid[200] = std::numeric_limits<double>::infinity();
    targets.mid[300] = 0.0;
    targets.side[400] = std::numeric_limits<double>::quiet_NaN();
    ToneMatchSettings settings = Settings(1.0);
    settings.adaptiveStrength = true;
    const ToneMatchResult result = ApplyToneMatch(
        level, ComputeToneCorrection(level, targets, settings, kRate), settings, kRate);
    EXPECT_TRUE(std::isfinite(result.spectralDistanceDb));
    for (double sample : result.audio.samples)
    {
        ASSERT_TRUE(std::isfinite(sample)) << "a corrupt profile bin reached the audio";
    }
}

TEST(ToneMatch, SilenceAndAntiPhaseKeepTheirShape)
{
    const std::size_t frames = 2 * kFftSize;
    const MidSideMagnitudes targets{std::vector<double>(kFftSize / 2 + 1, 50.0),
                                    std::vector<double>(kFftSize / 2 + 1, 50.0)};

    const LevelAnalysis silent =
        MatchLevel(MakeStereo(std::vector<double>(frames, 0.0), std::vector<double>(frames, 0.0)),
                   {0.1, 1.0}, LevelSettings{});
    const ToneMatchResult quiet = ApplyToneMatch(
        silent, ComputeToneCorrection(silent, targets, Settings(1.0), kRate), Settings(1.0), kRate);
    EXPECT_EQ(quiet.audio.samples, std::vector<double>(2 * frames, 0.0));

    std::vector<double> left = ShapedNoise(frames, 13, Flat);
    std::vector<double> right(frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        right[i] = -left[i];
    }
    const LevelAnalysis antiPhase = Analyse(MakeStereo(left, right));
    const ToneMatchResult wide =
        ApplyToneMatch(antiPhase, ComputeToneCorrection(antiPhase, targets, Settings(1.0), kRate),
                       Settings(1.0), kRate);
    for (std::size_t i = 0; i < frames; ++i)
    {
        ASSERT_EQ(wide.audio.samples[2 * i], -wide.audio.samples[2 * i + 1])
            << "a silent mid must stay silent";
    }
}

TEST(MatchTone, GivesTheResultOfTheTwoStepsWhileConsumingItsInputs)
{
    // Long enough for several block pairs of the convolution, with a tilted
    // target so that the correction is far from flat.
    const std::size_t frames = std::size_t{1} << 17;
    const AudioBuffer track =
        MakeStereo(ShapedNoise(frames, 14, Flat), ShapedNoise(frames, 15, Flat));
    MidSideMagnitudes targets = MidSideSpectra(Analyse(track), kFftSize);
    for (std::size_t k = 0; k < targets.mid.size(); ++k)
    {
        targets.mid[k] *= 1.0 + 2.0 * k / targets.mid.size();
        targets.side[k] *= 0.5;
    }
    const struct
    {
        double strength;
        bool adaptive;
        bool psychoacoustic;
        double sideAmount;
    } cases[] = {{0.75, true, true, 1.0}, {1.0, false, false, 2.0}, {0.0, false, false, 1.0}};
    for (const auto& c : cases)
    {
        ToneMatchSettings settings = Settings(c.strength);
        settings.adaptiveStrength = c.adaptive;
        settings.psychoacoustic = c.psychoacoustic;
        settings.sideAmount = c.sideAmount;
        const LevelAnalysis kept = MatchLevel(track, {0.2, 0.9}, LevelSettings{});
        const ToneMatchResult expected = ApplyToneMatch(
            kept, ComputeToneCorrection(kept, targets, settings, kRate), settings, kRate);

        AudioBuffer stage1Input = track;
        stage1Input.stageMetrics.push_back({"stage1.input", 1.0});
        LevelAnalysis level = MatchLevel(stage1Input, {0.2, 0.9}, LevelSettings{});
        const ToneMatchResult result =
            MatchTone(level, targets, settings, kRate, std::move(stage1Input));

        EXPECT_EQ(result.mid, expected.mid) << "strength " << c.strength;
        EXPECT_EQ(result.audio.samples, expected.audio.samples) << "strength " << c.strength;
        EXPECT_EQ(result.audio.sampleRate, kRate);
        EXPECT_TRUE(result.audio.stageMetrics.empty()) << "the input's metrics came along";
        EXPECT_EQ(result.spectralDistanceDb, expected.spectralDistanceDb);
        EXPECT_EQ(result.confidence, expected.confidence);
        EXPECT_EQ(result.appliedStrength, expected.appliedStrength);
        // Stage 3 still needs the piece grid; the signals are gone.
        EXPECT_EQ(level.pieceCount, kept.pieceCount);
        EXPECT_EQ(level.pieceLength, kept.pieceLength);
        EXPECT_EQ(level.selectedRms, kept.selectedRms);
        EXPECT_EQ(level.amplitude, 0.9);
        EXPECT_TRUE(level.mid.empty() && level.side.empty() && level.selectedMid.empty() &&
                    level.selectedSide.empty());
    }
}

TEST(MatchTone, ARefusedReferenceLeavesTheInputsAsTheyWere)
{
    const std::size_t frames = 4 * kFftSize;
    const AudioBuffer track =
        MakeStereo(ShapedNoise(frames, 16, Flat), ShapedNoise(frames, 17, Flat));
    const LevelAnalysis before = Analyse(track);
    LevelAnalysis level = before;
    AudioBuffer stage1Input = track;
    const MidSideMagnitudes targets{std::vector<double>(kFftSize / 2 + 1, 1.0),
                                    std::vector<double>(kFftSize / 2, 1.0)};
    EXPECT_THROW(MatchTone(level, targets, Settings(1.0), kRate, std::move(stage1Input)),
                 std::runtime_error);
    EXPECT_EQ(level.mid, before.mid);
    EXPECT_EQ(level.side, before.side);
    EXPECT_EQ(level.selectedMid, before.selectedMid);
    EXPECT_EQ(level.selectedSide, before.selectedSide);
    EXPECT_EQ(stage1Input.samples, track.samples) << "a failed stage took over the track";
}

// ApplyToneMatch only blends: these cases hand it a made-up correction.
struct BlendFixture
{
    LevelAnalysis level;
    ToneCorrection correction;

    explicit BlendFixture(double distanceDb)
    {
        level.mid = {0.1, -0.2, 0.3};
        level.side = {0.05, 0.0, -0.1};
        correction.processedMid = {0.5, 0.5, 0.5};
        correction.processedSide = {-0.5, 0.25, 0.0};
        correction.spectralDistanceDb = distanceDb;
    }
};

TEST(ApplyToneMatch, AdaptiveConfidenceFallsSmoothlyWithTheSpectralDistance)
{
    const struct
    {
        double distanceDb;
        double confidence;
    } cases[] = {{2.0, 1.0},   {3.0, 1.0},   {7.5, 0.675},
                 {12.0, 0.35}, {20.0, 0.35}, {std::numeric_limits<double>::quiet_NaN(), 0.35}};
    for (const auto& c : cases)
    {
        const BlendFixture fixture(c.distanceDb);
        ToneMatchSettings settings = Settings(0.8);
        settings.adaptiveStrength = true;
        const ToneMatchResult result =
            ApplyToneMatch(fixture.level, fixture.correction, settings, kRate);
        EXPECT_NEAR(result.confidence, c.confidence, 1e-12) << c.distanceDb << " dB";
        EXPECT_NEAR(result.appliedStrength, 0.8 * c.confidence, 1e-12) << c.distanceDb << " dB";

        settings.adaptiveStrength = false;
        EXPECT_EQ(ApplyToneMatch(fixture.level, fixture.correction, settings, kRate).confidence,
                  1.0);
    }
}

TEST(ApplyToneMatch, BlendsByTheStrengthClampedToOne)
{
    const BlendFixture fixture(0.0);
    const struct
    {
        double strength;
        double applied;
    } cases[] = {{0.0, 0.0}, {0.5, 0.5}, {1.0, 1.0}, {1.4, 1.0}, {-1.0, 0.0}};
    for (const auto& c : cases)
    {
        const ToneMatchResult result =
            ApplyToneMatch(fixture.level, fixture.correction, Settings(c.strength), kRate);
        EXPECT_EQ(result.appliedStrength, c.applied) << "strength " << c.strength;
        EXPECT_EQ(result.audio.sampleRate, kRate);
        ASSERT_EQ(result.audio.samples.size(), 6u);
        for (std::size_t i = 0; i < 3; ++i)
        {
            const double mid =
                fixture.level.mid[i] +
                (fixture.correction.processedMid[i] - fixture.level.mid[i]) * c.applied;
            const double side =
                fixture.level.side[i] +
                (fixture.correction.processedSide[i] - fixture.level.side[i]) * c.applied;
            EXPECT_EQ(result.mid[i], mid);
            EXPECT_EQ(result.audio.samples[2 * i], mid + side) << "left = mid + side";
            EXPECT_EQ(result.audio.samples[2 * i + 1], mid - side) << "right = mid - side";
        }
    }
}

} // namespace
