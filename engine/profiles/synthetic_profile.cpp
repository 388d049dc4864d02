#include "engine/profiles/synthetic_profile.h"

#include "engine/decibels.h"
#include "engine/profiles/utc_timestamp.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

struct TiltCurvePoint
{
    double frequencyHz;
    double gainDb;
};

// A gentle low lift and a rolled-off top, flat at 1 kHz.
constexpr std::array<TiltCurvePoint, 8> kTiltCurve{{
    {30.0, 1.2},
    {90.0, 2.0},
    {200.0, 1.6},
    {1000.0, 0.0},
    {5000.0, -2.5},
    {10000.0, -5.0},
    {16000.0, -9.0},
    {20000.0, -13.0},
}};

// The curves are drawn on a 48 kHz bin grid whatever rate a profile records.
constexpr double kCurveSampleRateHz = 48000.0;
constexpr double kLowestBinFrequencyHz = 1.0; // bin 0 is read at 1 Hz
constexpr double kLevelFloorLinear = 1e-10;

constexpr int kDefaultFftSize = 4096;
constexpr int kSecondFftSize = 2048;
constexpr double kMatchRmsLinear = 0.18;

double SmoothStep(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

} // namespace

double SyntheticTiltGainDb(double frequencyHz)
{
    const TiltCurvePoint& first = kTiltCurve.front();
    const TiltCurvePoint& last = kTiltCurve.back();
    const double x = std::max(frequencyHz, first.frequencyHz);
    // Written so that a NaN frequency lands on an end of the curve.
    if (!(x > first.frequencyHz))
    {
        return first.gainDb;
    }
    if (!(x < last.frequencyHz))
    {
        return last.gainDb;
    }
    const auto upper =
        std::find_if(kTiltCurve.begin() + 1, kTiltCurve.end(),
                     [x](const TiltCurvePoint& point) { return point.frequencyHz >= x; });
    const TiltCurvePoint& p0 = *(upper - 1);
    const TiltCurvePoint& p1 = *upper;
    const double lo = std::log(std::max(1.0, p0.frequencyHz));
    const double hi = std::log(std::max(p0.frequencyHz + 1.0, p1.frequencyHz));
    const double t =
        hi > lo ? std::clamp((std::log(std::max(1.0, x)) - lo) / (hi - lo), 0.0, 1.0) : 0.0;
    return p0.gainDb + (p1.gainDb - p0.gainDb) * SmoothStep(t);
}

double SyntheticSideOffsetDb(double frequencyHz)
{
    // Narrower lows, a little openness in the highs.
    constexpr double kLowOffsetDb = -2.8;
    constexpr double kMidOffsetDb = -2.0;
    constexpr double kHighOffsetDb = -1.4;
    if (frequencyHz < 160.0)
    {
        return kLowOffsetDb;
    }
    if (frequencyHz < 350.0)
    {
        return kLowOffsetDb + (kMidOffsetDb - kLowOffsetDb) * (frequencyHz - 160.0) / 190.0;
    }
    if (frequencyHz < 8000.0)
    {
        return kMidOffsetDb;
    }
    if (frequencyHz < 14000.0)
    {
        return kMidOffsetDb + (kHighOffsetDb - kMidOffsetDb) * (frequencyHz - 8000.0) / 6000.0;
    }
    return kHighOffsetDb;
}

SpectrumSet BuildSyntheticSpectrumSet(int fftSize, double levelLinear)
{
    SpectrumSet set;
    set.fftSize = fftSize;
    if (fftSize <= 0)
    {
        return set;
    }
    // An FFT magnitude of a signal at level L grows with sqrt(N).
    const double offsetDb = GainToDb(std::sqrt(double(fftSize)) * levelLinear, kLevelFloorLinear);
    const int binCount = fftSize / 2 + 1;
    set.mid.resize(binCount);
    set.side.resize(binCount);
    for (int i = 0; i < binCount; ++i)
    {
        const double frequencyHz =
            std::max(kLowestBinFrequencyHz, double(i) * kCurveSampleRateHz / fftSize);
        const double tiltDb = SyntheticTiltGainDb(frequencyHz);
        set.mid[i] = tiltDb + offsetDb;
        set.side[i] = tiltDb + SyntheticSideOffsetDb(frequencyHz) + offsetDb;
    }
    return set;
}

ReferenceProfile BuildSyntheticDefaultProfile()
{
    ReferenceProfile profile;
    profile.version = 6;
    profile.sampleRate = 48000;
    profile.fftSize = kDefaultFftSize;
    profile.linLogOversampling = 4;
    profile.toneReserved = 0.0375;
    profile.smoothingOctaveDenominator = 6;
    profile.psychoacoustic = true;
    profile.adaptiveStrength = true;
    profile.maxPieceSeconds = 15.0;
    profile.peakCeiling = 1.0;
    profile.floor = 1e-6;
    profile.referenceMatchRms = kMatchRmsLinear;
    profile.finalAmplitudeCoefficient = 1.0;
    profile.truePeak = DbToGain(-1.0);
    profile.hasIntegratedLufs = true;
    profile.integratedLufs = -9.0;
    profile.hasShortTermDistribution = true;
    const double shortTermLufs[] = {-12.0, -10.8, -9.7, -8.9, -8.3};
    std::copy(std::begin(shortTermLufs), std::end(shortTermLufs), profile.shortTermLufsPercentiles);
    profile.loudnessRange = 6.0;
    const double pieceRms[] = {0.08, 0.11, 0.145, 0.19, 0.24};
    std::copy(std::begin(pieceRms), std::end(pieceRms), profile.pieceRmsPercentiles);
    profile.dynamicsBandCount = 1;
    profile.dynamicsSets = {
        {1, {0.18}},
        {3, {0.185, 0.18, 0.172}},
        {6, {0.188, 0.184, 0.18, 0.176, 0.172, 0.168}},
    };
    profile.spectrumSets = {
        BuildSyntheticSpectrumSet(kDefaultFftSize, kMatchRmsLinear),
        BuildSyntheticSpectrumSet(kSecondFftSize, kMatchRmsLinear),
    };
    profile.midSpectrum = profile.spectrumSets.front().mid;
    profile.sideSpectrum = profile.spectrumSets.front().side;
    profile.name = "Default";
    profile.description = "Synthetic unity mastering profile with flat tonal mapping, restrained "
                          "low-end width, slight high-band stereo openness, and moderate modern "
                          "loudness.";
    profile.createdAt = CurrentUtcTimestamp();
    profile.sourcePath.clear();
    profile.sourceFileName = "Synthetic Default";
    profile.sourceSampleRate = 48000;
    return profile;
}
