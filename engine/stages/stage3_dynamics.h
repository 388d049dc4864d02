#pragma once

#include "engine/audio_buffer.h"
#include "engine/stages/macro_dynamics.h"
#include "engine/stages/stage1_level_match.h"

#include <span>
#include <vector>

// What stage 3 measured and did; all zero and false until written.
struct DynamicsMetrics
{
    bool macroAttempted = false;
    bool macroApplied = false;
    double midGainDb = 0.0;               // level change of the mid signal over the level passes
    PercentileSet currentPercentiles{};   // the track's 3-s window levels, dB
    PercentileSet referencePercentiles{}; // the reference's short-term loudness, LUFS
    double currentLoudnessRange = 0.0;
    double referenceLoudnessRange = 0.0;
    double minGainDb = 0.0; // statistics of the macro gain curve
    double maxGainDb = 0.0;
    double meanGainDb = 0.0;
};

// Built by the runs; the fields keep the order the runs fill them in.
struct DynamicsSettings
{
    int iterations = 4;         // level passes (MatchSettings::stage3Iterations)
    double floor = 1e-6;        // linear level floor
    double strength = 1.0;      // stage3Strength times the stage-2 confidence
    double macroStrength = 0.0; // stage3MacroStrength; 0 switches the macro step off
    int sampleRate = 0;
    bool hasShortTermDistribution = false; // from the reference profile, with the next two
    PercentileSet shortTermLufsPercentiles{};
    double loudnessRange = 0.0;
    DynamicsMetrics* metrics = nullptr;       // filled when given
    std::vector<double>* gainCurve = nullptr; // receives the macro gain curve when given

    // Compared whole, so that a test of what the runs read misses no field.
    bool operator==(const DynamicsSettings&) const = default;
};

// Stage 3: a few passes bring the loud pieces of the mid signal (on stage 1's
// piece grid) back to the reference level, then, when the reference carries a
// short-term loudness distribution, the macro gain curve reshapes the track's
// level distribution towards it. Every gain goes to both mid and audio, which
// stay consistent. Only pieceLength and pieceCount of `pieces` and selectedRms
// of `reference` are read. The level passes are skipped when the piece grid
// does not fit the mid signal. NaN samples read as silence when measuring.
// Throws std::invalid_argument when the mid signal is not one value per frame
// of the audio, before anything is changed.
void ApplyDynamicsStage(std::vector<double>& mid, AudioBuffer& audio, const PieceAnalysis& pieces,
                        const PieceAnalysis& reference, const DynamicsSettings& settings);

// RMS of x; 0 when empty; NaN samples read as 0.
double Rms(std::span<const double> x);
