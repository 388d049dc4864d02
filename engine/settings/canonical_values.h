#pragma once

#include "engine/settings/mastering_settings.h"

#include <string>

// The value mapping behind MasteringSettings::GetCanonicalValue and
// SetCanonicalValue and EngineRequest::SetCanonicalValue: one rule for the
// settings of a document and the copy a run is started from.
//
// Numbers are stored as given. Toggles are set for a value of 0.5 or more and
// read back as 1 or 0. Choices are written as the index nearest the value
// (halves away from zero) and read back as the index: the limiter mode clamps
// the index to its three modes; smoothing (1/3, 1/6, 1/12 octave) and limiter
// oversampling (1x, 2x, 4x) take the middle choice for any index or stored
// value outside their lists.
bool ReadCanonicalValue(const MatchSettings& settings, const std::string& section,
                        const std::string& key, double& value);
bool WriteCanonicalValue(MatchSettings& settings, const std::string& section,
                         const std::string& key, double value);
