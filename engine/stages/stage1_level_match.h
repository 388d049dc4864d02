#pragma once

#include "engine/audio_buffer.h"

#include <cstddef>
#include <span>
#include <vector>

// Stage 1: the track as mid and side, cut into equal pieces of at most
// maxPieceSeconds, with the loud pieces selected. Stages 2 and 3 work on this
// piece grid; the reference-profile creation takes its level data from it.
struct PieceAnalysis
{
    std::vector<double> mid;  // (left + right) / 2, one value per frame of the track
    std::vector<double> side; // (left - right) / 2
    // The frames of the selected pieces, concatenated in piece order
    // (selectedCount * pieceLength values each).
    std::vector<double> selectedMid;
    std::vector<double> selectedSide;
    double selectedRms = 0.0; // quadratic mean of the selected pieces' mid RMS
    int pieceCount = 0;
    int pieceLength = 0; // frames per piece
    int selectedCount = 0;
};

// A piece analysis with the linear amplitude divisor that produced it: the
// normalisation of a reference track, or the reference's
// finalAmplitudeCoefficient passed through by MatchLevel.
struct LevelAnalysis : PieceAnalysis
{
    double amplitude = 1.0;
};

// The three MatchSettings values stage 1 reads, in their declaration order.
struct LevelSettings
{
    double maxPieceSeconds = 15.0;
    double peakCeiling = 32707.0 / 32768.0;
    double floor = 1e-6;
};

// The level data of a reference profile that a track is matched to.
struct ReferenceLevel
{
    double referenceMatchRms = 0.0;
    double finalAmplitudeCoefficient = 1.0;
};

struct MidSideSignals
{
    std::vector<double> mid;
    std::vector<double> side;
};

// mid = (left + right) / 2, side = (left - right) / 2 for every frame.
MidSideSignals SplitMidSide(const AudioBuffer& buffer);

// Value i is the RMS of signal[i * blockLength, (i + 1) * blockLength). Blocks
// that do not fit in the signal (and every block when blockLength is 0) read 0.
std::vector<double> BlockRms(std::span<const double> signal, std::size_t blockLength,
                             std::size_t blockCount);

// Cuts the track into pieces of equal length no longer than maxPieceSeconds
// (the last few frames may belong to no piece) and selects the pieces whose mid
// RMS reaches the quadratic mean of all pieces. Throws std::runtime_error
// "Audio too short" when no piece of at least one frame can be formed, and
// "Audio contains invalid samples (the first at 1.250 s)" when a NaN or
// infinite sample (or one so large that its square overflows) leaves the level
// undefined.
PieceAnalysis SplitIntoPieces(const AudioBuffer& buffer, double maxPieceSeconds);

// The reference side of stage 1: a quieter reference is first raised so that
// its peak reaches peakCeiling (by at most 1 / floor); amplitude is the divisor
// that did it (1 when the peak already reaches the ceiling).
LevelAnalysis AnalyseReferenceLevel(AudioBuffer reference, const LevelSettings& settings);

// Scales mid, side and the selected pieces so that the loud pieces' RMS equals
// the reference's. selectedRms stays the track's own level before the gain; the
// stereo buffer itself is not touched (stage 2 rebuilds it from mid and side).
LevelAnalysis MatchLevel(const AudioBuffer& target, const ReferenceLevel& reference,
                         const LevelSettings& settings);
