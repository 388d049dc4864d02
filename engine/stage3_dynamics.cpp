#include "engine/stage3_dynamics.h"

#include "engine/decibels.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace
{

double QuadraticMean(const std::vector<double>& values)
{
    if (values.empty())
    {
        return 0.0;
    }
    double sumSquares = 0.0;
    for (const double v : values)
    {
        sumSquares += v * v;
    }
    return std::sqrt(sumSquares / static_cast<double>(values.size()));
}

// RMS of each piece of the mid signal as clamped to full scale, without a
// clamped copy of the whole track.
std::vector<double> ClampedPieceRms(const std::vector<double>& mid, size_t pieceLength,
                                    size_t pieceCount)
{
    std::vector<double> rms(pieceCount);
    for (size_t p = 0; p < pieceCount; ++p)
    {
        double sumSquares = 0.0;
        for (size_t i = p * pieceLength; i < (p + 1) * pieceLength; ++i)
        {
            const double sample = ClampedForMeasurement(mid[i]);
            sumSquares += sample * sample;
        }
        rms[p] = std::sqrt(sumSquares / static_cast<double>(pieceLength));
    }
    return rms;
}

void Scale(std::vector<double>& mid, AudioBuffer& audio, double gain)
{
    for (double& x : mid)
    {
        x *= gain;
    }
    for (double& x : audio.samples)
    {
        x *= gain;
    }
}

// Moves the loud-piece level of the mid signal towards the reference level,
// by the strength's share, `iterations` times.
void MatchLoudPieceLevel(std::vector<double>& mid, AudioBuffer& audio, const PieceAnalysis& pieces,
                         double referenceRms, const DynamicsSettings& settings, double strength)
{
    if (pieces.pieceLength <= 0 || pieces.pieceCount <= 0 ||
        static_cast<size_t>(pieces.pieceLength) * static_cast<size_t>(pieces.pieceCount) >
            mid.size())
    {
        return;
    }
    for (int pass = 0; pass < settings.iterations; ++pass)
    {
        const std::vector<double> rms =
            ClampedPieceRms(mid, static_cast<size_t>(pieces.pieceLength),
                            static_cast<size_t>(pieces.pieceCount));
        const double threshold = QuadraticMean(rms);
        std::vector<double> loud;
        std::copy_if(rms.begin(), rms.end(), std::back_inserter(loud),
                     [&](double value) { return value >= threshold; });
        const double loudRms = QuadraticMean(loud);
        const double gain =
            (referenceRms / std::max(loudRms, settings.floor) - 1.0) * strength + 1.0;
        Scale(mid, audio, gain);
    }
}

DynamicsMetrics MetricsOf(const MacroDynamicsResult& macro, double midGainDb)
{
    DynamicsMetrics metrics;
    metrics.macroAttempted = macro.macroAttempted;
    metrics.macroApplied = macro.macroApplied;
    metrics.midGainDb = midGainDb;
    metrics.currentPercentiles = macro.currentPercentiles;
    metrics.referencePercentiles = macro.referencePercentiles;
    metrics.currentLoudnessRange = macro.currentLoudnessRange;
    metrics.referenceLoudnessRange = macro.referenceLoudnessRange;
    metrics.minGainDb = macro.minGainDb;
    metrics.maxGainDb = macro.maxGainDb;
    metrics.meanGainDb = macro.meanGainDb;
    return metrics;
}

} // namespace

double Rms(std::span<const double> x)
{
    if (x.empty())
    {
        return 0.0;
    }
    double sumSquares = 0.0;
    for (const double v : x)
    {
        sumSquares += std::isnan(v) ? 0.0 : v * v;
    }
    return std::sqrt(sumSquares / static_cast<double>(x.size()));
}

void ApplyDynamicsStage(std::vector<double>& mid, AudioBuffer& audio, const PieceAnalysis& pieces,
                        const PieceAnalysis& reference, const DynamicsSettings& settings)
{
    if (mid.size() * 2 != audio.samples.size())
    {
        throw std::invalid_argument("Dynamics stage needs one mid value per audio frame");
    }
    // Written so that a NaN strength changes nothing.
    const double strength = std::min(settings.strength, 1.0);
    if (!(strength > 0.0))
    {
        if (settings.metrics != nullptr)
        {
            *settings.metrics = DynamicsMetrics{};
        }
        return;
    }

    const double enteringRms = Rms(mid);
    MatchLoudPieceLevel(mid, audio, pieces, reference.selectedRms, settings, strength);
    const double midGainDb =
        GainToDb(Rms(mid), settings.floor) - GainToDb(enteringRms, settings.floor);

    if (!settings.hasShortTermDistribution)
    {
        if (settings.metrics != nullptr)
        {
            *settings.metrics = DynamicsMetrics{};
            settings.metrics->midGainDb = midGainDb;
        }
        return;
    }

    MacroDynamicsResult macro =
        MacroDynamicsGain(mid, settings.sampleRate, settings.floor,
                          settings.shortTermLufsPercentiles, settings.loudnessRange,
                          settings.macroStrength);
    if (settings.metrics != nullptr)
    {
        *settings.metrics = MetricsOf(macro, midGainDb);
    }
    if (settings.gainCurve != nullptr)
    {
        *settings.gainCurve = macro.gain;
    }
    if (!macro.gain.empty() && macro.gain.size() == mid.size())
    {
        double* samples = audio.samples.data();
        for (size_t i = 0; i < mid.size(); ++i)
        {
            mid[i] *= macro.gain[i];
            samples[2 * i] *= macro.gain[i];
            samples[2 * i + 1] *= macro.gain[i];
        }
    }
}
