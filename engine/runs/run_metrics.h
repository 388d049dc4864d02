#pragma once

#include "engine/audio_buffer.h"
#include "engine/stages/stage2_tone_match.h"
#include "engine/stages/stage3_dynamics.h"

#include <string>
#include <vector>

// The numbers and gain-reduction series that explain what each stage of a
// preview did. Metric values are in the unit their key names (dB, linear or
// LU); series values are dB of peak reduction, never negative.

inline constexpr const char* kDynamicsGainReductionKey = "dynamics.gain_reduction_db";
inline constexpr const char* kStage4GainReductionKey = "stage4.gain_reduction_db";

// Both series are read by meters at this many values per second (20 ms).
inline constexpr double kGainReductionSeriesRate = 50.0;

// "stage1.target_match_rms", "stage1.reference_match_rms" and
// "stage1.match_delta_db" (the target's level relative to the reference).
std::vector<StageMetric> BuildStage1Metrics(double targetRms, double referenceRms);

// "stage2.spectral_distance_db", "stage2.adaptive_confidence",
// "stage2.applied_strength".
std::vector<StageMetric> BuildStage2Metrics(const ToneMatchResult& tone);

// Appends "stage3.mid_band_gain", the minimum, mean and maximum macro gain and
// the current and reference loudness range, copied unchanged.
void BuildStage3Metrics(std::vector<StageMetric>& metrics, const DynamicsMetrics& dynamics);

// Appends "stage4.effective_ceiling", "stage4.loudness_gain_db",
// "stage4.peak_reduction_db" (limiter input peak over output peak) and
// "stage4.final_peak" (output peak, dBFS).
void BuildStage4Metrics(std::vector<StageMetric>& metrics, double ceiling, double loudnessGainDb,
                        const AudioBuffer& limiterInput, const AudioBuffer& limiterOutput);

// The peak reduction from before to after in blocks of sampleRate / rate
// frames (the last block may be shorter), one float per block. The series
// keeps its key and rate but has no values unless both buffers share a
// positive rate, hold at least one frame and the rate is positive.
MeterSeries BuildGainReductionSeries(const std::string& key, const AudioBuffer& before,
                                     const AudioBuffer& after, double rate);

// Around the POSTMATCHDYNAMICS add-ons.
MeterSeries BuildDynamicsGainReductionSeries(const AudioBuffer& before, const AudioBuffer& after,
                                             double rate);

// Around the stage-4 limiter.
MeterSeries BuildStage4GainReductionSeries(const AudioBuffer& limiterInput,
                                           const AudioBuffer& limiterOutput, double rate);

// The largest absolute sample of both channels; 0 for an empty buffer. NaN
// samples are passed over.
double BufferPeak(const AudioBuffer& buffer);
