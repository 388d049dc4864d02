#include "engine/stages/stage3_dynamics.h"

#include "engine/decibels.h"
#include "engine/stages/loud_pieces.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace
{

// RMS of each piece of gain * mid as clamped to full scale, without a scaled
// or clamped copy of the whole track.
std::vector<double> ClampedPieceRms(const std::vector<double>& mid, double gain, size_t pieceLength,
                                    size_t pieceCount)
{
    std::vector<double> rms(pieceCount);
    for (size_t p = 0; p < pieceCount; ++p)
    {
        double sumSquares = 0.0;
        for (size_t i = p * pieceLength; i < (p + 1) * pieceLength; ++i)
        {
            const double sample = ClampedForMeasurement(gain * mid[i]);
            sumSquares += sample * sample;
        }
        rms[p] = std::sqrt(sumSquares / static_cast<double>(pieceLength));
    }
    return rms;
}

void Scale(std::vector<double>& signal, double gain)
{
    if (gain == 1.0)
    {
        return;
    }
    for (double& x : signal)
    {
        x *= gain;
    }
}

// The gain that moves the loud-piece level of the mid signal towards the
// reference level, by the strength's share, in `iterations` passes. Each pass
// measures the mid as the passes before it have scaled it; the signals are
// scaled once afterwards (the same to rounding, at a fraction of the cost).
double LoudPieceLevelGain(const std::vector<double>& mid, const PieceAnalysis& pieces,
                          double referenceRms, const DynamicsSettings& settings, double strength)
{
    if (pieces.pieceLength <= 0 || pieces.pieceCount <= 0 ||
        static_cast<size_t>(pieces.pieceLength) * static_cast<size_t>(pieces.pieceCount) >
            mid.size())
    {
        return 1.0;
    }
    double total = 1.0;
    for (int pass = 0; pass < settings.iterations; ++pass)
    {
        const std::vector<double> rms =
            ClampedPieceRms(mid, total, static_cast<size_t>(pieces.pieceLength),
                            static_cast<size_t>(pieces.pieceCount));
        const double threshold = LoudPieceThreshold(rms);
        std::vector<double> loud;
        std::copy_if(rms.begin(), rms.end(), std::back_inserter(loud),
                     [&](double value) { return value >= threshold; });
        const double loudRms = QuadraticMean(loud);
        total *= (referenceRms / std::max(loudRms, settings.floor) - 1.0) * strength + 1.0;
    }
    return total;
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
    const double levelGain =
        LoudPieceLevelGain(mid, pieces, reference.selectedRms, settings, strength);
    Scale(mid, levelGain);
    const double midGainDb =
        GainToDb(Rms(mid), settings.floor) - GainToDb(enteringRms, settings.floor);

    if (!settings.hasShortTermDistribution)
    {
        Scale(audio.samples, levelGain);
        if (settings.metrics != nullptr)
        {
            *settings.metrics = DynamicsMetrics{};
            settings.metrics->midGainDb = midGainDb;
        }
        return;
    }

    MacroDynamicsResult macro = MacroDynamicsGain(mid, settings.sampleRate, settings.floor,
                                                  settings.shortTermLufsPercentiles,
                                                  settings.loudnessRange, settings.macroStrength);
    if (settings.metrics != nullptr)
    {
        *settings.metrics = MetricsOf(macro, midGainDb);
    }
    if (settings.gainCurve != nullptr)
    {
        *settings.gainCurve = macro.gain;
    }
    if (macro.gain.empty() || macro.gain.size() != mid.size())
    {
        Scale(audio.samples, levelGain);
        return;
    }
    double* samples = audio.samples.data();
    for (size_t i = 0; i < mid.size(); ++i)
    {
        mid[i] *= macro.gain[i];
        const double frameGain = levelGain * macro.gain[i];
        samples[2 * i] *= frameGain;
        samples[2 * i + 1] *= frameGain;
    }
}
