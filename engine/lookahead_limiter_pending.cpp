#include "engine/lookahead_limiter.h"

#include <stdexcept>

// Stands in until the stage-4 limiters are built; remove this file when
// LookaheadLimiter::Process gets its real definition.
AudioBuffer LookaheadLimiter::Process(const AudioBuffer&) const
{
    throw std::logic_error("Lookahead limiter is not available in this build");
}
