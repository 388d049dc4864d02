#include "engine/stage2_tone_match.h"

#include "engine/fir_filter.h"
#include "engine/tone_spectrum.h"

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

// How far the track's spectrum may be moved per bin: the reference's target
// over the track's own. A reference bin that is not a number says nothing about
// the target, so that bin is left as it is.
std::vector<double> CorrectionRatio(const std::vector<double>& reference,
                                    const std::vector<double>& track, double floor)
{
    std::vector<double> ratio(track.size());
    for (std::size_t k = 0; k < track.size(); ++k)
    {
        ratio[k] = std::isfinite(reference[k]) ? reference[k] / FloorLevel(track[k], floor) : 1.0;
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

// dry + (wet - dry) * amount at sample i; where the wet signal is missing the
// dry one stays.
double BlendAt(const std::vector<double>& dry, const std::vector<double>& wet, std::size_t i,
               double amount)
{
    return i < wet.size() ? dry[i] + (wet[i] - dry[i]) * amount : dry[i];
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
    const std::vector<double> midFir =
        DesignCorrectionFilter(CorrectionRatio(targets.mid, trackMid, settings.floor), settings,
                               sampleRate);
    const double midDistanceDb = SmoothedDistance(trackMid, targets.mid, settings, sampleRate);

    const std::vector<double> trackSide =
        AverageSelectedSpectrum(level.selectedSide, level, fftSize);
    if (targets.side.size() != trackSide.size())
    {
        throw std::runtime_error("Reference profile side spectrum size mismatch");
    }
    std::vector<double> sideRatio = CorrectionRatio(targets.side, trackSide, settings.floor);
    if (settings.sideAmount != 1.0)
    {
        // 0 removes the side correction, 2 doubles its deviation from flat.
        for (double& value : sideRatio)
        {
            value = (value - 1.0) * settings.sideAmount + 1.0;
        }
    }
    const std::vector<double> sideFir = DesignCorrectionFilter(sideRatio, settings, sampleRate);
    const double sideDistanceDb = SmoothedDistance(trackSide, targets.side, settings, sampleRate);

    // The mid carries most of what is heard as tone.
    constexpr double kSideShare = 0.2;
    ToneCorrection correction;
    correction.spectralDistanceDb = kSideShare * sideDistanceDb + (1.0 - kSideShare) * midDistanceDb;
    correction.processedMid = FastConvolve(level.mid, midFir);
    correction.processedSide = FastConvolve(level.side, sideFir);
    return correction;
}

ToneMatchResult ApplyToneMatch(const LevelAnalysis& level, const ToneCorrection& correction,
                               const ToneMatchSettings& settings, int sampleRate)
{
    ToneMatchResult result;
    result.spectralDistanceDb = correction.spectralDistanceDb;
    result.confidence =
        settings.adaptiveStrength ? AdaptiveConfidence(correction.spectralDistanceDb) : 1.0;
    // fmax/fmin rather than clamp, so that a NaN strength applies nothing.
    const double strength = std::fmin(std::fmax(settings.stage2Strength, 0.0), 1.0);
    result.appliedStrength = result.confidence * strength;

    // The side is blended on the fly: only the mid is handed on as a signal.
    const std::size_t frames = std::min(level.mid.size(), level.side.size());
    result.mid.resize(frames);
    result.audio.sampleRate = sampleRate;
    result.audio.samples.resize(2 * frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double mid = BlendAt(level.mid, correction.processedMid, i, result.appliedStrength);
        const double side =
            BlendAt(level.side, correction.processedSide, i, result.appliedStrength);
        result.mid[i] = mid;
        result.audio.samples[2 * i] = mid + side;
        result.audio.samples[2 * i + 1] = mid - side;
    }
    return result;
}
