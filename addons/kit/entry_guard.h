#pragma once

#include "engine/audio_buffer.h"

// The common entry test of an add-on's process: only a buffer of whole stereo
// frames, at least one, is processed; any other is handed back untouched.
inline bool IsWholeStereoBuffer(const AudioBuffer& buffer)
{
    const size_t valueCount = buffer.samples.size();
    return valueCount >= 2 && valueCount % 2 == 0;
}
