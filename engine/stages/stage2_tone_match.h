#pragma once

#include "engine/audio_buffer.h"
#include "engine/stages/stage1_level_match.h"

#include <vector>

// Stage 2: the long-term spectrum of the track moved towards the reference's,
// separately for mid and side, by a linear-phase FIR per channel.

// Built by the runs from MatchSettings; the fields keep that record's order.
struct ToneMatchSettings
{
    int fftSize = 4096;
    int linLogOversampling = 4;   // recorded with the settings; stage 2 does not read it
    double toneReserved = 0.0375; // carried for the runs; stage 2 does not read it
    int smoothingOctaveDenominator = 6;
    double floor = 1e-6;
    double sideAmount = 1.0; // stereoWidthAmount * stereoBoostAmount
    bool psychoacoustic = false;
    bool adaptiveStrength = false;
    double stage2Strength = 1.0;

    // Compared whole, so that a test of what the runs read misses no field.
    bool operator==(const ToneMatchSettings&) const = default;
};

// Linear magnitude spectra of fftSize / 2 + 1 bins: a track's measured ones,
// or a reference's targets.
struct MidSideMagnitudes
{
    std::vector<double> mid;
    std::vector<double> side;
};

// The fully corrected mid and side signals, as long as the track.
struct ToneCorrection
{
    std::vector<double> processedMid;
    std::vector<double> processedSide;
    double spectralDistanceDb = 0.0;
};

struct ToneMatchResult
{
    std::vector<double> mid; // the blended mid, handed on to stage 3
    AudioBuffer audio;       // left = mid + side, right = mid - side
    double spectralDistanceDb = 0.0;
    double confidence = 1.0; // 0.35 .. 1
    double appliedStrength = 0.0;
};

// The average magnitude spectra of the selected mid and side pieces: the tone
// fingerprint of a reference, and the track's own spectra in stage 2.
MidSideMagnitudes MidSideSpectra(const PieceAnalysis& analysis, int fftSize);

// Measures the track's loud pieces, designs the mid and side correction
// filters towards the reference targets and filters the whole mid and side.
// With ApplyToneMatch, stage 2 for a caller that keeps the intermediates (the
// preview run re-blends from a stored correction).
// Throws std::runtime_error "Reference profile mid spectrum size mismatch" (before
// any side work) or "... side spectrum size mismatch" when a target is not
// fftSize / 2 + 1 long, "Input audio too short for FFT size" when the selected
// pieces hold no whole FFT frame, and std::invalid_argument when fftSize is not
// a power of two of at least 2.
ToneCorrection ComputeToneCorrection(const LevelAnalysis& level, const MidSideMagnitudes& targets,
                                     const ToneMatchSettings& settings, int sampleRate);

// Blends the corrected signals into the stage-1 ones by the stage-2 strength,
// reduced by the adaptive confidence when that is on, and rebuilds the stereo track.
ToneMatchResult ApplyToneMatch(const LevelAnalysis& level, const ToneCorrection& correction,
                               const ToneMatchSettings& settings, int sampleRate);

// Stage 2 for a caller that keeps neither the stage-1 signals nor the
// correction (the full run): the result of ApplyToneMatch(level,
// ComputeToneCorrection(level, ...), ...), with the filtering and the blend
// done in place and the stereo samples written over stage1Input's (the track
// stage 1 analysed, of no further use to the caller), so that no whole-track
// vector is allocated. level keeps its piece grid, selectedRms and amplitude
// for stage 3; its four signals are consumed and left empty. Throws as
// ComputeToneCorrection, before anything is changed.
ToneMatchResult MatchTone(LevelAnalysis& level, const MidSideMagnitudes& targets,
                          const ToneMatchSettings& settings, int sampleRate,
                          AudioBuffer&& stage1Input);
