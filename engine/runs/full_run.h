#pragma once

#include "engine/audio_buffer.h"
#include "engine/diagnostic_log.h"
#include "engine/engine_request.h"
#include "engine/chain/processor_chain.h"
#include "engine/profiles/reference_profile.h"

#include <string>
#include <vector>

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

// Masters one whole track: resampling to the internal rate, the PREMATCH
// add-ons, the profile check, stages 1 to 3, the four later add-on positions
// and stage 4. Returns the result at the internal rate, without meter series or
// stage metrics. Progress and cancellation go through the request; a cancelled
// run throws "Processing cancelled". Every failure is a std::runtime_error (an
// add-on's own exception passes through unchanged) and leaves the input,
// request, profile and chain as they were.
ProcessResult ProcessTrack(const AudioBuffer& input, EngineRequest& request,
                           const ReferenceProfile* profile, const ProcessorChain& chain,
                           const DiagnosticLog& log = {});
