#pragma once

#include "engine/audio_buffer.h"
#include "engine/diagnostic_log.h"
#include "engine/engine_request.h"
#include "engine/chain/processor_chain.h"
#include "engine/profiles/reference_profile.h"

// Masters one whole track: resampling to the internal rate, the PREMATCH
// add-ons, the profile check, stages 1 to 3, the four later add-on positions
// and stage 4. Returns the result at the internal rate, without meter series or
// stage metrics. Progress and cancellation go through the request; a cancelled
// run throws "Processing cancelled". Every failure is a std::runtime_error (an
// add-on's own exception passes through unchanged; running out of memory reads
// "Not enough memory to process this track") and leaves the input, request,
// profile and chain as they were. An input shorter than its file's header says
// is mastered as it is, and the log says so.
ProcessResult ProcessTrack(const AudioBuffer& input, EngineRequest& request,
                           const ReferenceProfile* profile, const ProcessorChain& chain,
                           const DiagnosticLog& log = {});
