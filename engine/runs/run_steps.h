#pragma once

#include "engine/audio_buffer.h"
#include "engine/chain/audio_processor.h"
#include "engine/engine_request.h"
#include "engine/stages/macro_dynamics.h"
#include "engine/settings/mastering_settings.h"
#include "engine/profiles/reference_profile.h"
#include "engine/stages/stage2_tone_match.h"
#include "engine/stages/stage3_dynamics.h"

#include <optional>
#include <string>
#include <vector>

// The steps that the full run and the preview run take alike, so that a
// preview of a range sounds like the same range of an export.

// Whether a reference profile can drive a run with the given settings. Errors
// make it unusable; warnings are informational. Both lists keep the order of
// the checks.
struct ProfileCompatibility
{
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
};

ProfileCompatibility CheckProfileCompatibility(const ReferenceProfile& profile,
                                               const EngineRequest& request);

// "Reference profile incompatible:" followed by " <error>;" for each error.
std::string ProfileIncompatibleText(const ProfileCompatibility& compatibility);

// The first spectrum set of the profile with this FFT size, or null.
const SpectrumSet* FindSpectrumSet(const ReferenceProfile& profile, int fftSize);

// The peak ceiling of stage 4, linear: the run's own ceiling moved towards the
// reference's peak by the loudness strength, never above the run's ceiling and
// never below the floor. A reference without a peak (<= 0) keeps the run's.
double ComputeStage4Ceiling(double baseCeiling, double referencePeak, double strength,
                            double floor);

// The profile values a run needs after stage 2. A preview that resumes from a
// stored state takes them from that state and never reads the profile again.
struct LateStageInputs
{
    double makeupCoefficient = 1.0; // stage 1's amplitude: the profile's finalAmplitudeCoefficient
    double truePeak = 0.0;
    bool hasIntegratedLufs = false;
    double integratedLufs = 0.0;
    bool hasShortTermDistribution = false;
    PercentileSet shortTermLufsPercentiles{};
    double loudnessRange = 0.0;
};

LateStageInputs LateStageInputsOf(const ReferenceProfile& profile, double makeupCoefficient);

// The reference's mid and side spectra of one FFT size as linear magnitudes.
MidSideMagnitudes LinearTargets(const SpectrumSet& set);

ToneMatchSettings ToneSettingsOf(const MatchSettings& settings);

// Stage 3 at the strength that stage 2's confidence leaves, towards the
// reference's loudness distribution; metrics are filled when given.
DynamicsSettings DynamicsSettingsOf(const MatchSettings& settings, const LateStageInputs& late,
                                    double toneConfidence, int sampleRate,
                                    DynamicsMetrics* metrics = nullptr);

// What the PREMATCH add-ons are told: the run's own ceiling, no loudness.
ProcessContext PreMatchContextOf(const MatchSettings& settings, int sampleRate);

// What the add-ons after stage 3 are told: the stage-4 ceiling and the
// reference's loudness figures.
ProcessContext LaterContextOf(const MatchSettings& settings, const LateStageInputs& late,
                              double ceiling, int sampleRate);

// Multiplies every sample by gain.
void ScaleSamples(AudioBuffer& buffer, double gain);

struct LoudnessMove
{
    std::optional<double> measuredLufs; // absent when the loudness was not measured
    double gainDb = 0.0;                // 0 when no gain was applied
};

// Stage 4 before its limiter: the makeup coefficient, then the integrated
// loudness moved towards the reference's by the given share.
LoudnessMove ApplyMakeupAndLoudness(AudioBuffer& buffer, const LateStageInputs& late,
                                    double loudnessStrength);
