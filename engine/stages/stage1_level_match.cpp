#include "engine/stages/stage1_level_match.h"

#include "engine/stages/loud_pieces.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace
{

// The piece grid of a track and its loud pieces, measured on the mid.
struct PieceSelection
{
    std::size_t pieceCount = 0;
    std::size_t pieceLength = 0;
    std::vector<std::size_t> selected; // ascending piece indices
    double selectedRms = 0.0;
};

// Names where the first bad frame stands, so the user can find it in the mix.
[[noreturn]] void FailInvalidSamples(const AudioBuffer& buffer, std::size_t frame)
{
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "%.3f",
                  static_cast<double>(frame) / std::max(buffer.sampleRate, 1));
    throw std::runtime_error(std::string("Audio contains invalid samples (the first at ") +
                             seconds + " s)");
}

// The frame of [first, end) at which the running sum of squared mids stops
// being finite: a NaN or infinite sample, or the one whose square overflows.
std::size_t FirstUnmeasurableFrame(const double* samples, std::size_t first, std::size_t end)
{
    double sumOfSquares = 0.0;
    for (std::size_t i = first; i < end; ++i)
    {
        const double mid = (samples[2 * i] + samples[2 * i + 1]) * 0.5;
        sumOfSquares += mid * mid;
        if (!std::isfinite(sumOfSquares))
        {
            return i;
        }
    }
    return first;
}

PieceSelection SelectLoudPieces(const AudioBuffer& buffer, double maxPieceSeconds)
{
    const std::size_t frames = buffer.FrameCount();
    // fmax keeps a NaN setting from reaching the integer conversion; any span
    // longer than the track gives one piece, so it is capped there.
    const double spanFrames = std::trunc(std::fmax(buffer.sampleRate * maxPieceSeconds, 1.0));
    const std::size_t span = spanFrames > static_cast<double>(frames)
                                 ? frames + 1
                                 : static_cast<std::size_t>(spanFrames);
    PieceSelection selection;
    selection.pieceCount = frames / span + 1;
    selection.pieceLength = frames / selection.pieceCount;
    if (selection.pieceLength == 0)
    {
        throw std::runtime_error("Audio too short");
    }
    // A NaN or infinite sample anywhere would spread through every later
    // filter into the result. The level is judged from whole pieces only, so
    // the last frames, which belong to no piece, are checked on their own.
    const auto pieceEnd =
        buffer.samples.begin() +
        static_cast<std::ptrdiff_t>(2 * selection.pieceCount * selection.pieceLength);
    const auto invalid = std::find_if(pieceEnd, buffer.samples.end(),
                                      [](double sample) { return !std::isfinite(sample); });
    if (invalid != buffer.samples.end())
    {
        FailInvalidSamples(buffer, static_cast<std::size_t>(invalid - buffer.samples.begin()) / 2);
    }

    // BlockRms of the mid, with the mid formed on the fly so that the track
    // is split only once, already at its final level.
    std::vector<double> rms(selection.pieceCount);
    const double* samples = buffer.samples.data();
    for (std::size_t piece = 0; piece < selection.pieceCount; ++piece)
    {
        double sumOfSquares = 0.0;
        const std::size_t first = piece * selection.pieceLength;
        for (std::size_t i = first; i < first + selection.pieceLength; ++i)
        {
            const double mid = (samples[2 * i] + samples[2 * i + 1]) * 0.5;
            sumOfSquares += mid * mid;
        }
        // Inside a piece the measurement is the check: a NaN or infinite
        // sample in either channel makes its mid and so this sum NaN or
        // infinite (the squares never cancel), and so does a sample so large
        // that its square overflows, which no level can be taken from either.
        if (!std::isfinite(sumOfSquares))
        {
            FailInvalidSamples(
                buffer, FirstUnmeasurableFrame(samples, first, first + selection.pieceLength));
        }
        rms[piece] = std::sqrt(sumOfSquares / static_cast<double>(selection.pieceLength));
    }

    const double threshold = LoudPieceThreshold(rms);
    double selectedSumOfSquares = 0.0;
    for (std::size_t i = 0; i < selection.pieceCount; ++i)
    {
        if (rms[i] >= threshold)
        {
            selection.selected.push_back(i);
            selectedSumOfSquares += rms[i] * rms[i];
        }
    }
    selection.selectedRms =
        std::sqrt(selectedSumOfSquares / static_cast<double>(selection.selected.size()));
    return selection;
}

// A mid and side pair to append to, as whole signals or as selected pieces.
struct MidSideTarget
{
    std::vector<double>& mid;
    std::vector<double>& side;

    void Append(double midValue, double sideValue)
    {
        mid.push_back(midValue);
        side.push_back(sideValue);
    }
};

// Appends mid and side of frames [first, last), multiplied by gain, to each
// of the vectors given.
template <typename... Signals>
void AppendMidSide(const double* samples, std::size_t first, std::size_t last, double gain,
                   Signals&... signals)
{
    for (std::size_t i = first; i < last; ++i)
    {
        const double left = samples[2 * i];
        const double right = samples[2 * i + 1];
        const double mid = (left + right) * 0.5 * gain;
        const double side = (left - right) * 0.5 * gain;
        (signals.Append(mid, side), ...);
    }
}

// The piece analysis of a track whose mid and side are multiplied by gain;
// selectedRms is the selection's own, measured before the gain. One pass over
// the track fills the whole signals and the selected pieces together.
PieceAnalysis ScaledPieceAnalysis(const AudioBuffer& buffer, const PieceSelection& selection,
                                  double gain)
{
    PieceAnalysis analysis;
    analysis.pieceCount = static_cast<int>(selection.pieceCount);
    analysis.pieceLength = static_cast<int>(selection.pieceLength);
    analysis.selectedCount = static_cast<int>(selection.selected.size());
    analysis.selectedRms = selection.selectedRms;

    const std::size_t frames = buffer.FrameCount();
    const std::size_t length = selection.pieceLength;
    // Appended rather than resized first: a whole track is too large to be
    // written twice only to zero it.
    analysis.mid.reserve(frames);
    analysis.side.reserve(frames);
    analysis.selectedMid.reserve(selection.selected.size() * length);
    analysis.selectedSide.reserve(selection.selected.size() * length);
    MidSideTarget whole{analysis.mid, analysis.side};
    MidSideTarget selected{analysis.selectedMid, analysis.selectedSide};
    const double* samples = buffer.samples.data();
    auto nextSelected = selection.selected.begin();
    for (std::size_t piece = 0; piece < selection.pieceCount; ++piece)
    {
        const std::size_t first = piece * length;
        if (nextSelected != selection.selected.end() && *nextSelected == piece)
        {
            ++nextSelected;
            AppendMidSide(samples, first, first + length, gain, whole, selected);
        }
        else
        {
            AppendMidSide(samples, first, first + length, gain, whole);
        }
    }
    // The last few frames belong to no piece.
    AppendMidSide(samples, selection.pieceCount * length, frames, gain, whole);
    return analysis;
}

} // namespace

MidSideSignals SplitMidSide(const AudioBuffer& buffer)
{
    const std::size_t frames = buffer.FrameCount();
    MidSideSignals signals;
    signals.mid.reserve(frames);
    signals.side.reserve(frames);
    MidSideTarget whole{signals.mid, signals.side};
    AppendMidSide(buffer.samples.data(), 0, frames, 1.0, whole);
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
    return ScaledPieceAnalysis(buffer, SelectLoudPieces(buffer, maxPieceSeconds), 1.0);
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
    const PieceSelection selection = SelectLoudPieces(target, settings.maxPieceSeconds);
    const double gain =
        reference.referenceMatchRms / std::max(selection.selectedRms, settings.floor);
    LevelAnalysis analysis;
    static_cast<PieceAnalysis&>(analysis) = ScaledPieceAnalysis(target, selection, gain);
    analysis.amplitude = reference.finalAmplitudeCoefficient;
    return analysis;
}
