#include "addons/kit/denormal_flush.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <xmmintrin.h>

namespace
{

// The MXCSR bits: flush-to-zero for results, denormals-are-zero for inputs.
constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x0040;

} // namespace

ScopedDenormalFlush::ScopedDenormalFlush() : m_callerMode(_mm_getcsr())
{
    _mm_setcsr(m_callerMode | kFlushToZero | kDenormalsAreZero);
}

ScopedDenormalFlush::~ScopedDenormalFlush()
{
    _mm_setcsr(m_callerMode);
}

#else

// Without SSE the mode is left alone: the results stay right, only slower.
ScopedDenormalFlush::ScopedDenormalFlush() : m_callerMode(0)
{
}

ScopedDenormalFlush::~ScopedDenormalFlush()
{
}

#endif
