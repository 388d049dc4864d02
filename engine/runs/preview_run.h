#pragma once

#include "engine/audio_buffer.h"
#include "engine/diagnostic_log.h"
#include "engine/engine_request.h"
#include "engine/chain/processor_chain.h"
#include "engine/profiles/reference_profile.h"

#include <cstddef>

// The frames [first, last) of the source that a range in seconds selects: the
// start clamped to the track (a negative start is 0), the end clamped to
// [start, duration], both truncated to frames. Empty for a source without
// frames or rate and for a NaN start or end.
struct PreviewFrameSpan
{
    std::size_t first = 0;
    std::size_t last = 0;
};
PreviewFrameSpan PreviewRangeFrames(const AudioBuffer& source, double startSec, double endSec);

// The selected frames of the source brought to the request's internal rate,
// without meter series or stage metrics. An empty selection gives a buffer
// without frames; a selection of one frame at another rate throws the
// resampler's "Audio too short for resampling".
AudioBuffer ExtractPreviewRange(const AudioBuffer& source, double startSec, double endSec,
                                const EngineRequest& request);

// Masters the selected range through the same chain as the full run and
// attaches the 16 stage metrics and the gain-reduction series
// ("dynamics.gain_reduction_db" when POSTMATCHDYNAMICS holds add-ons, and
// "stage4.gain_reduction_db"). Resumes from the deepest state in
// PreviewCache::Instance() that the request's previewScope and the cache keys
// allow, and stores each state it computes, so only one preview run may be
// active at a time. Failures are std::runtime_error: "Select a non-empty
// preview range before monitoring output." (no frame selected), "Input audio
// too short for FFT size", "No profile loaded" (null profile), "Reference
// profile incompatible:" with its errors, "Processing cancelled", "Not enough
// memory to process this track" and those of the stages and add-ons. States
// already stored stay stored.
ProcessResult ProcessPreviewRange(const AudioBuffer& source, double startSec, double endSec,
                                  EngineRequest& request, const ReferenceProfile* profile,
                                  const ProcessorChain& chain, const DiagnosticLog& log = {});
