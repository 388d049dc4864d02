#pragma once

#include "engine/engine_request.h"
#include "engine/profiles/reference_profile.h"

#include <string>

// Analyses a reference track into a ReferenceProfile and writes it to a ".prs"
// file: the track is brought to the internal rate, measured for loudness, level,
// dynamics (1, 3 and 6 bands) and the mid and side tone fingerprint at fftSize
// and at max(256, fftSize / 2). Every analysis setting comes from
// request.settings; progress and cancellation go through the request.
//
// The file is written only once the whole analysis succeeded and the run was
// not cancelled, so a failed or cancelled creation leaves any previous file
// untouched. Once written, the run is finished: the final "Completed" report
// no longer asks to cancel. Returns the profile the file holds.
//
// Throws std::runtime_error: "Reference file missing" (not an existing regular
// file), "Reference audio too short for FFT size" (no more frames than fftSize
// at the internal rate), "Reference audio is silent" (loud pieces below the
// level floor, which would mute every track matched to the profile),
// "FFT size must be a power of two" (for the fftSize setting), "Processing
// cancelled", "Not enough memory to process this track", and the texts of the
// reader, resampler, analysis and profile writer unchanged.
ReferenceProfile CreateReferenceProfile(const EngineRequest& request,
                                        const std::wstring& referencePath,
                                        const std::wstring& outputPath, const std::string& name,
                                        const std::string& description);
