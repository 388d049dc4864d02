#include "engine/stages/stage2_tone_match.h"

#include "engine/dsp/fir_filter.h"
#include "engine/stages/tone_spectrum.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace
{

// Adaptive strength: full confidence up to this spectral distance...
constexpr double kConfidentDistanceDb = 3.0;
// ...falling smoothly to its least value at this distance and beyond.
constexpr double kDoubtfulDistanceDb = 12.0;
constexpr double kLeastConfidence = 0.35;

// The reference's targets as stage 2 reads them: a bin that is not a finite
// number says nothing about the target, so it reads as the track's own level
// there and neither moves the track nor counts towards the distance.
std::vector<double> ReadableTarget(const std::vector<double>& reference,
                                   const std::vector<double>& track, double floor)
{
    std::vector<double> target(reference);
    for (std::size_t k = 0; k < target.size(); ++k)
    {
        if (!std::isfinite(target[k]))
        {
            target[k] = FloorLevel(track[k], floor);
        }
    }
    return target;
}

// How far the track's spectrum is to be moved, per bin.
std::vector<double> CorrectionRatio(const std::vector<double>& target,
                                    const std::vector<double>& track, double floor)
{
    std::vector<double> ratio(track.size());
    for (std::size_t k = 0; k < track.size(); ++k)
    {
        ratio[k] = target[k] / FloorLevel(track[k], floor);
    }
    return ratio;
}

std::vector<double> Smooth(const std::vector<double>& curve, const ToneMatchSettings& settings,
                           int sampleRate)
{
    return SmoothSpectrum(curve, sampleRate, settings.fftSize, settings.smoothingOctaveDenominator,
                          settings.floor);
}

std::vector<double> DesignCorrectionFilter(const std::vector<double>& ratio,
                                           const ToneMatchSettings& settings, int sampleRate)
{
    std::vector<double> curve = Smooth(ratio, settings, sampleRate);
    if (settings.psychoacoustic)
    {
        PsychoacousticExponent(curve, sampleRate, settings.fftSize, settings.floor);
    }
    return DesignFirFromCurve(curve, settings.fftSize);
}

double SmoothedDistance(const std::vector<double>& track, const std::vector<double>& reference,
                        const ToneMatchSettings& settings, int sampleRate)
{
    return SpectralDistance(Smooth(track, settings, sampleRate),
                            Smooth(reference, settings, sampleRate), settings.floor);
}

std::vector<double> AverageSelectedSpectrum(const std::vector<double>& selected,
                                            const PieceAnalysis& analysis, int fftSize)
{
    return AverageSpectrum(selected, analysis.selectedCount, analysis.pieceLength, fftSize);
}

// A smooth step from full confidence down to the least; an unknown (NaN)
// distance is treated as a far one.
double AdaptiveConfidence(double distanceDb)
{
    if (distanceDb <= kConfidentDistanceDb)
    {
        return 1.0;
    }
    if (!(distanceDb < kDoubtfulDistanceDb))
    {
        return kLeastConfidence;
    }
    const double t = std::clamp((distanceDb - kConfidentDistanceDb) /
                                    (kDoubtfulDistanceDb - kConfidentDistanceDb),
                                0.0, 1.0);
    return 1.0 - (1.0 - kLeastConfidence) * t * t * (3.0 - 2.0 * t);
}

// The figures of a stage-2 result, before any signal is blended.
ToneMatchResult UnblendedResult(double spectralDistanceDb, const ToneMatchSettings& settings)
{
    ToneMatchResult result;
    result.spectralDistanceDb = spectralDistanceDb;
    result.confidence = settings.adaptiveStrength ? AdaptiveConfidence(spectralDistanceDb) : 1.0;
    // fmax/fmin rather than clamp, so that a NaN strength applies nothing.
    const double strength = std::fmin(std::fmax(settings.stage2Strength, 0.0), 1.0);
    result.appliedStrength = result.confidence * strength;
    return result;
}

// Frees a whole-track vector's memory at once; clear() would keep it.
void Release(std::vector<double>& signal)
{
    std::vector<double>().swap(signal);
}

// dry + (wet - dry) * amount at sample i; where the wet signal is missing the
// dry one stays.
double BlendAt(const std::vector<double>& dry, const std::vector<double>& wet, std::size_t i,
               double amount)
{
    return i < wet.size() ? dry[i] + (wet[i] - dry[i]) * amount : dry[i];
}

// The correction filters and the spectral distance: everything of stage 2
// that is measured on the loud pieces rather than applied to the whole track.
struct CorrectionDesign
{
    std::vector<double> midFir;
    std::vector<double> sideFir;
    double spectralDistanceDb = 0.0;
};

CorrectionDesign DesignCorrection(const LevelAnalysis& level, const MidSideMagnitudes& targets,
                                  const ToneMatchSettings& settings, int sampleRate)
{
    const int fftSize = settings.fftSize;
    if (fftSize < 2 || (fftSize & (fftSize - 1)) != 0)
    {
        throw std::invalid_argument("FFT size must be a power of two");
    }
    // Without one whole frame there is no spectrum to measure, and dividing by
    // an empty one would ask for a boost of 1 / floor.
    if (level.selectedCount < 1 || level.pieceLength < fftSize)
    {
        throw std::runtime_error("Input audio too short for FFT size");
    }

    const std::vector<double> trackMid = AverageSelectedSpectrum(level.selectedMid, level, fftSize);
    if (targets.mid.size() != trackMid.size())
    {
        throw std::runtime_error("Reference profile mid spectrum size mismatch");
    }
    const std::vector<double> targetMid = ReadableTarget(targets.mid, trackMid, settings.floor);
    std::vector<double> midFir = DesignCorrectionFilter(
        CorrectionRatio(targetMid, trackMid, settings.floor), settings, sampleRate);
    const double midDistanceDb = SmoothedDistance(trackMid, targetMid, settings, sampleRate);

    const std::vector<double> trackSide =
        AverageSelectedSpectrum(level.selectedSide, level, fftSize);
    if (targets.side.size() != trackSide.size())
    {
        throw std::runtime_error("Reference profile side spectrum size mismatch");
    }
    const std::vector<double> targetSide = ReadableTarget(targets.side, trackSide, settings.floor);
    std::vector<double> sideRatio = CorrectionRatio(targetSide, trackSide, settings.floor);
    if (settings.sideAmount != 1.0)
    {
        // 0 removes the side correction, 2 doubles its deviation from flat.
        for (double& value : sideRatio)
        {
            value = (value - 1.0) * settings.sideAmount + 1.0;
        }
    }
    std::vector<double> sideFir = DesignCorrectionFilter(sideRatio, settings, sampleRate);
    const double sideDistanceDb = SmoothedDistance(trackSide, targetSide, settings, sampleRate);

    // The mid carries most of what is heard as tone.
    constexpr double kSideShare = 0.2;
    return {std::move(midFir), std::move(sideFir),
            kSideShare * sideDistanceDb + (1.0 - kSideShare) * midDistanceDb};
}

} // namespace

MidSideMagnitudes MidSideSpectra(const PieceAnalysis& analysis, int fftSize)
{
    return {AverageSelectedSpectrum(analysis.selectedMid, analysis, fftSize),
            AverageSelectedSpectrum(analysis.selectedSide, analysis, fftSize)};
}

ToneCorrection ComputeToneCorrection(const LevelAnalysis& level, const MidSideMagnitudes& targets,
                                     const ToneMatchSettings& settings, int sampleRate)
{
    const CorrectionDesign design = DesignCorrection(level, targets, settings, sampleRate);
    ToneCorrection correction;
    correction.spectralDistanceDb = design.spectralDistanceDb;
    correction.processedMid = FastConvolve(level.mid, design.midFir);
    correction.processedSide = FastConvolve(level.side, design.sideFir);
    return correction;
}

ToneMatchResult ApplyToneMatch(const LevelAnalysis& level, const ToneCorrection& correction,
                               const ToneMatchSettings& settings, int sampleRate)
{
    ToneMatchResult result = UnblendedResult(correction.spectralDistanceDb, settings);

    // The side is blended on the fly: only the mid is handed on as a signal.
    // Appended rather than resized first, so each whole-track vector is
    // written once.
    const std::size_t frames = std::min(level.mid.size(), level.side.size());
    result.mid.reserve(frames);
    result.audio.sampleRate = sampleRate;
    result.audio.samples.reserve(2 * frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double mid = BlendAt(level.mid, correction.processedMid, i, result.appliedStrength);
        const double side =
            BlendAt(level.side, correction.processedSide, i, result.appliedStrength);
        result.mid.push_back(mid);
        result.audio.samples.push_back(mid + side);
        result.audio.samples.push_back(mid - side);
    }
    return result;
}

ToneMatchResult MatchTone(LevelAnalysis& level, const MidSideMagnitudes& targets,
                          const ToneMatchSettings& settings, int sampleRate,
                          AudioBuffer&& stage1Input)
{
    const CorrectionDesign design = DesignCorrection(level, targets, settings, sampleRate);
    ToneMatchResult result = UnblendedResult(design.spectralDistanceDb, settings);
    const double amount = result.appliedStrength;
    // Measured once and never read again.
    Release(level.selectedMid);
    Release(level.selectedSide);

    // Each block of the filtered mid is blended into the dry mid where it
    // lies, which the convolution no longer reads.
    std::vector<double>& mid = level.mid;
    FastConvolveBlocks(mid, design.midFir,
                       [&mid, amount](std::size_t first, std::span<const double> wet)
                       {
                           double* dry = mid.data() + first;
                           for (std::size_t t = 0; t < wet.size(); ++t)
                           {
                               dry[t] = dry[t] + (wet[t] - dry[t]) * amount;
                           }
                       });

    // The side is blended on the fly and goes straight into the stereo
    // samples, which take over the stage-1 input's storage: no whole-track
    // vector is allocated here.
    const std::vector<double>& side = level.side;
    const std::size_t frames = std::min(mid.size(), side.size());
    result.audio.sampleRate = sampleRate;
    result.audio.samples = std::move(stage1Input.samples);
    result.audio.samples.resize(2 * frames);
    double* stereo = result.audio.samples.data();
    FastConvolveBlocks(
        side, design.sideFir,
        [&mid, &side, stereo, frames, amount](std::size_t first, std::span<const double> wet)
        {
            const std::size_t count = first < frames ? std::min(wet.size(), frames - first) : 0;
            for (std::size_t t = 0; t < count; ++t)
            {
                const std::size_t i = first + t;
                const double blended = side[i] + (wet[t] - side[i]) * amount;
                stereo[2 * i] = mid[i] + blended;
                stereo[2 * i + 1] = mid[i] - blended;
            }
        });
    mid.resize(frames);
    result.mid = std::move(mid);
    Release(level.mid);
    Release(level.side);
    return result;
}
