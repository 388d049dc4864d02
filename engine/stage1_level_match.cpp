#include "engine/stage1_level_match.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace
{

void Scale(std::vector<double>& signal, double gain)
{
    for (double& value : signal)
    {
        value *= gain;
    }
}

double QuadraticMean(std::span<const double> values)
{
    double sumOfSquares = 0.0;
    for (double value : values)
    {
        sumOfSquares += value * value;
    }
    return std::sqrt(sumOfSquares / static_cast<double>(values.size()));
}

} // namespace

MidSideSignals SplitMidSide(const AudioBuffer& buffer)
{
    const std::size_t frames = buffer.FrameCount();
    MidSideSignals signals;
    signals.mid.resize(frames);
    signals.side.resize(frames);
    const double* samples = buffer.samples.data();
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double left = samples[2 * i];
        const double right = samples[2 * i + 1];
        signals.mid[i] = (left + right) * 0.5;
        signals.side[i] = (left - right) * 0.5;
    }
    return signals;
}

std::vector<double> BlockRms(std::span<const double> signal, std::size_t blockLength,
                             std::size_t blockCount)
{
    std::vector<double> rms(blockCount, 0.0);
    if (blockLength == 0)
    {
        return rms;
    }
    const std::size_t fitting = std::min(blockCount, signal.size() / blockLength);
    for (std::size_t i = 0; i < fitting; ++i)
    {
        rms[i] = QuadraticMean(signal.subspan(i * blockLength, blockLength));
    }
    return rms;
}

PieceAnalysis SplitIntoPieces(const AudioBuffer& buffer, double maxPieceSeconds)
{
    PieceAnalysis analysis;
    MidSideSignals signals = SplitMidSide(buffer);
    analysis.mid = std::move(signals.mid);
    analysis.side = std::move(signals.side);

    const std::size_t frames = analysis.mid.size();
    // fmax keeps a NaN setting from reaching the integer conversion; any span
    // longer than the track gives one piece, so it is capped there.
    const double spanFrames = std::fmax(buffer.sampleRate * maxPieceSeconds, 1.0);
    const std::size_t span = spanFrames > static_cast<double>(frames)
                                 ? frames + 1
                                 : static_cast<std::size_t>(std::trunc(spanFrames));
    const std::size_t pieceCount = frames / span + 1;
    const std::size_t pieceLength = frames / pieceCount;
    if (pieceLength == 0)
    {
        throw std::runtime_error("Audio too short");
    }
    analysis.pieceCount = static_cast<int>(pieceCount);
    analysis.pieceLength = static_cast<int>(pieceLength);

    const std::vector<double> rms = BlockRms(analysis.mid, pieceLength, pieceCount);
    const double threshold = QuadraticMean(rms);

    std::vector<std::size_t> selected;
    double selectedSumOfSquares = 0.0;
    for (std::size_t i = 0; i < pieceCount; ++i)
    {
        if (rms[i] >= threshold)
        {
            selected.push_back(i);
            selectedSumOfSquares += rms[i] * rms[i];
        }
    }
    analysis.selectedCount = static_cast<int>(selected.size());
    // Only a track holding NaN selects nothing: its level is then unknown.
    analysis.selectedRms = selected.empty()
                               ? std::nan("")
                               : std::sqrt(selectedSumOfSquares / selected.size());

    analysis.selectedMid.reserve(selected.size() * pieceLength);
    analysis.selectedSide.reserve(selected.size() * pieceLength);
    for (std::size_t i : selected)
    {
        const auto first = static_cast<std::ptrdiff_t>(i * pieceLength);
        const auto last = first + static_cast<std::ptrdiff_t>(pieceLength);
        analysis.selectedMid.insert(analysis.selectedMid.end(), analysis.mid.begin() + first,
                                    analysis.mid.begin() + last);
        analysis.selectedSide.insert(analysis.selectedSide.end(), analysis.side.begin() + first,
                                     analysis.side.begin() + last);
    }
    return analysis;
}

LevelAnalysis AnalyseReferenceLevel(AudioBuffer reference, const LevelSettings& settings)
{
    double peak = 0.0;
    for (double sample : reference.samples)
    {
        peak = std::max(peak, std::abs(sample));
    }
    double divisor = 1.0;
    if (settings.peakCeiling > peak)
    {
        divisor = std::max(peak / settings.peakCeiling, settings.floor);
    }
    if (divisor != 1.0)
    {
        for (double& sample : reference.samples)
        {
            sample /= divisor;
        }
    }
    LevelAnalysis analysis;
    static_cast<PieceAnalysis&>(analysis) = SplitIntoPieces(reference, settings.maxPieceSeconds);
    analysis.amplitude = divisor;
    return analysis;
}

LevelAnalysis MatchLevel(const AudioBuffer& target, const ReferenceLevel& reference,
                         const LevelSettings& settings)
{
    LevelAnalysis analysis;
    analysis.amplitude = reference.finalAmplitudeCoefficient;
    static_cast<PieceAnalysis&>(analysis) = SplitIntoPieces(target, settings.maxPieceSeconds);
    const double gain =
        reference.referenceMatchRms / std::max(analysis.selectedRms, settings.floor);
    Scale(analysis.mid, gain);
    Scale(analysis.side, gain);
    Scale(analysis.selectedMid, gain);
    Scale(analysis.selectedSide, gain);
    return analysis;
}
