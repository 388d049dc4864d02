#include "engine/profiles/profile_creation.h"

#include "engine/out_of_memory.h"
#include "engine/track_memory.h"
#include "engine/io/audio_file_reader.h"
#include "engine/dsp/band_split.h"
#include "engine/dsp/one_pole_low_pass.h"
#include "engine/decibels.h"
#include "engine/loudness/loudness.h"
#include "base/path_parts.h"
#include "engine/dsp/sinc_resampler.h"
#include "engine/stages/stage1_level_match.h"
#include "engine/stages/stage2_tone_match.h"
#include "base/unicode_text.h"
#include "engine/profiles/utc_timestamp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <system_error>

namespace
{

// The band counts whose dynamics a profile records; stage 3 picks the one it uses.
constexpr int kDynamicsBandCounts[] = {1, 3, 6};
constexpr int kMostBands = 8;

// The second tone fingerprint is measured at half the FFT size, but never below this.
constexpr int kSmallestSecondFftSize = 256;

// 10th, 25th, 50th, 75th and 90th percentile, as the loudness distribution records them.
constexpr double kPercentiles[5] = {0.10, 0.25, 0.50, 0.75, 0.90};

// Unlike ReportProgress, this is asked where the run reports nothing.
void ThrowIfCancelled(const EngineRequest& request)
{
    if (request.cancel && request.cancel())
    {
        throw std::runtime_error(kProcessingCancelledText);
    }
}

bool IsPowerOfTwo(int n)
{
    return n >= 2 && (n & (n - 1)) == 0;
}

double LargestAbsoluteSample(std::span<const double> samples)
{
    double peak = 0.0;
    for (const double sample : samples)
    {
        peak = std::max(peak, std::abs(sample));
    }
    return peak;
}

// The RMS of each band that SplitIntoBands cuts the signal into, without
// holding the bands: six whole-track bands of a four-minute reference would
// take over half a gigabyte. The same one-pole low-passes (the split's
// coefficients through the one step) run side by side in one pass, and each
// band's squares are summed in the same order as Rms sums them, so the figures
// equal those of the split bands.
std::vector<double> SplitBandRms(std::span<const double> x, int sampleRate, int bandCount)
{
    const int bands = std::clamp(bandCount, 1, kMostBands);
    const int lowPasses = bands - 1;
    std::array<double, kMostBands> coefficients{};
    for (int j = 0; j < lowPasses; ++j)
    {
        coefficients[j] = BandCrossoverCoefficient(sampleRate, bands, j + 1);
    }

    std::array<double, kMostBands> low{};
    std::array<double, kMostBands> sumSquares{};
    const auto accumulate = [&](int band, double value)
    { sumSquares[band] += std::isnan(value) ? 0.0 : value * value; };
    for (const double sample : x)
    {
        for (int j = 0; j < lowPasses; ++j)
        {
            OnePoleLowPassStep(low[j], sample, coefficients[j]);
        }
        if (lowPasses == 0)
        {
            accumulate(0, sample);
            continue;
        }
        // Band 0 is the lowest low-pass, band j the low-pass above it minus the
        // one below, the top band what the highest low-pass leaves out.
        accumulate(0, low[0]);
        for (int j = 1; j < lowPasses; ++j)
        {
            accumulate(j, low[j] - low[j - 1]);
        }
        accumulate(lowPasses, sample - low[lowPasses - 1]);
    }

    std::vector<double> rms(static_cast<std::size_t>(bands), 0.0);
    if (!x.empty())
    {
        for (int band = 0; band < bands; ++band)
        {
            rms[band] = std::sqrt(sumSquares[band] / static_cast<double>(x.size()));
        }
    }
    return rms;
}

// The RMS of each band of the mid signal, floored at the level floor, for each
// recorded band count.
std::vector<DynamicsSet> MeasureDynamicsSets(const EngineRequest& request,
                                             std::span<const double> mid, int sampleRate,
                                             double floor)
{
    std::vector<DynamicsSet> sets;
    for (const int bandCount : kDynamicsBandCounts)
    {
        ThrowIfCancelled(request);
        DynamicsSet set;
        set.bandCount = bandCount;
        set.bandRms = SplitBandRms(mid, sampleRate, bandCount);
        for (double& rms : set.bandRms)
        {
            rms = std::max(rms, floor);
        }
        sets.push_back(std::move(set));
    }
    return sets;
}

// Percentiles of the per-piece RMS of the mid signal: how the loudness of the
// reference spreads over its pieces. All zero when there are no pieces.
void MeasurePieceRmsPercentiles(const PieceAnalysis& analysis, double (&percentiles)[5])
{
    std::vector<double> pieceRms =
        BlockRms(analysis.mid, static_cast<std::size_t>(std::max(analysis.pieceLength, 0)),
                 static_cast<std::size_t>(std::max(analysis.pieceCount, 0)));
    std::sort(pieceRms.begin(), pieceRms.end());
    for (int i = 0; i < 5; ++i)
    {
        percentiles[i] = InterpolatedPercentile(pieceRms, kPercentiles[i]);
    }
}

std::vector<double> MagnitudesToDb(const std::vector<double>& magnitudes, double floor)
{
    std::vector<double> levelsDb(magnitudes.size());
    for (std::size_t k = 0; k < magnitudes.size(); ++k)
    {
        levelsDb[k] = GainToDb(magnitudes[k], floor);
    }
    return levelsDb;
}

// The tone fingerprint at one FFT size: the average mid and side spectra of
// the loud pieces, in dB.
SpectrumSet MeasureSpectrumSet(const PieceAnalysis& analysis, int fftSize, double floor)
{
    const MidSideMagnitudes spectra = MidSideSpectra(analysis, fftSize);
    SpectrumSet set;
    set.fftSize = fftSize;
    set.mid = MagnitudesToDb(spectra.mid, floor);
    set.side = MagnitudesToDb(spectra.side, floor);
    return set;
}

ReferenceProfile CreateProfile(const EngineRequest& request, const std::wstring& referencePath,
                               const std::wstring& outputPath, const std::string& name,
                               const std::string& description)
{
    // The analysis's scratch blocks are reused from step to step until it ends.
    const TrackMemoryScope scratch;
    const MatchSettings& settings = request.settings;

    request.ReportProgress(0.02, "Preparing");
    const std::string sourcePath = WideToUtf8(referencePath);
    std::error_code error;
    if (!std::filesystem::is_regular_file(WidePathToFs(referencePath), error))
    {
        throw std::runtime_error("Reference file missing");
    }

    request.ReportProgress(0.08, "Loading target audio");
    AudioBuffer audio = ReadAudioFile(referencePath);
    const int sourceSampleRate = audio.sampleRate;

    if (sourceSampleRate != settings.internalSampleRate)
    {
        request.ReportProgress(0.16, "Resampling");
        audio = ResampleAudio(audio, settings.internalSampleRate);
    }

    ThrowIfCancelled(request);
    if (!IsPowerOfTwo(settings.fftSize))
    {
        // Any other size would measure no frame at all and record a spectrum of
        // nothing but the floor.
        throw std::runtime_error("FFT size must be a power of two");
    }
    if (audio.FrameCount() <= static_cast<std::size_t>(settings.fftSize))
    {
        throw std::runtime_error("Reference audio too short for FFT size");
    }

    ReferenceProfile profile;

    request.ReportProgress(0.3, "Analyzing loudness");
    profile.truePeak = LargestAbsoluteSample(audio.samples);
    const LoudnessStats loudness = MeasureLoudness(audio);
    profile.hasIntegratedLufs = loudness.hasIntegratedLufs;
    profile.integratedLufs = loudness.integratedLufs;
    profile.hasShortTermDistribution = loudness.hasShortTermDistribution;
    std::copy(loudness.shortTermLufsPercentiles.begin(), loudness.shortTermLufsPercentiles.end(),
              profile.shortTermLufsPercentiles);
    profile.loudnessRange = loudness.loudnessRange;

    request.ReportProgress(0.48, "Extracting tone fingerprint");
    // The audio is not needed past this point, so the analysis gets it rather
    // than a copy of a whole track.
    LevelAnalysis analysis = AnalyseReferenceLevel(
        std::move(audio), {settings.maxPieceSeconds, settings.peakCeiling, settings.floor});
    // The fingerprint reads the whole mid signal but only the loud pieces of
    // the side; a whole-track vector less is held through the band splits.
    std::vector<double>().swap(analysis.side);
    // A reference without level in its loud pieces would make every later match
    // scale the track to nothing.
    if (!(analysis.selectedRms > 0.0) || analysis.selectedRms < settings.floor)
    {
        throw std::runtime_error("Reference audio is silent");
    }
    profile.referenceMatchRms = analysis.selectedRms;
    profile.finalAmplitudeCoefficient = analysis.amplitude;

    profile.version = 6;
    profile.sampleRate = settings.internalSampleRate;
    profile.fftSize = settings.fftSize;
    profile.linLogOversampling = settings.linLogOversampling;
    profile.toneReserved = settings.toneReserved;
    profile.smoothingOctaveDenominator = settings.smoothingOctaveDenominator;
    profile.psychoacoustic = settings.psychoacoustic;
    profile.adaptiveStrength = settings.adaptiveStrength;
    profile.maxPieceSeconds = settings.maxPieceSeconds;
    profile.peakCeiling = settings.peakCeiling;
    profile.floor = settings.floor;
    profile.dynamicsBandCount = 1;

    request.ReportProgress(0.7, "Extracting dynamics");
    profile.dynamicsSets =
        MeasureDynamicsSets(request, analysis.mid, settings.internalSampleRate, settings.floor);
    MeasurePieceRmsPercentiles(analysis, profile.pieceRmsPercentiles);

    profile.spectrumSets.push_back(MeasureSpectrumSet(analysis, settings.fftSize, settings.floor));
    const int secondFftSize = std::max(kSmallestSecondFftSize, settings.fftSize / 2);
    if (secondFftSize != settings.fftSize)
    {
        profile.spectrumSets.push_back(MeasureSpectrumSet(analysis, secondFftSize, settings.floor));
    }
    profile.midSpectrum = profile.spectrumSets.front().mid;
    profile.sideSpectrum = profile.spectrumSets.front().side;

    profile.name = name;
    profile.description = description;
    profile.createdAt = CurrentUtcTimestamp();
    profile.sourcePath = sourcePath;
    profile.sourceFileName = WideToUtf8(FileNamePart(referencePath));
    profile.sourceSampleRate = sourceSampleRate;

    request.ReportProgress(0.94, "Writing profile");
    // Asked again because the progress callback may itself have led to a cancel;
    // past the write the file exists and the run can no longer be undone.
    ThrowIfCancelled(request);
    WriteReferenceProfile(outputPath, profile);

    if (request.progress)
    {
        request.progress(1.0, "Completed");
    }
    return profile;
}

} // namespace

ReferenceProfile CreateReferenceProfile(const EngineRequest& request,
                                        const std::wstring& referencePath,
                                        const std::wstring& outputPath, const std::string& name,
                                        const std::string& description)
{
    return WithOutOfMemoryText(
        [&] { return CreateProfile(request, referencePath, outputPath, name, description); });
}
