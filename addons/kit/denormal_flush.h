#pragma once

// While it lives, the floating-point unit of the calling thread flushes
// subnormal results to zero and reads subnormal inputs as zero; the caller's
// mode is back when it ends, by return or by exception.
//
// A follower or a filter state decaying through a long silence sinks into the
// subnormal numbers (below 2.2e-308), where every operation costs about a
// hundred times as much; flushed, it reaches 0 and stays cheap. Nothing above
// 2.2e-308 changes. Every add-on's process runs under one:
//
//     const ScopedDenormalFlush flush;
class ScopedDenormalFlush
{
public:
    ScopedDenormalFlush();
    ~ScopedDenormalFlush();

    ScopedDenormalFlush(const ScopedDenormalFlush&) = delete;
    ScopedDenormalFlush& operator=(const ScopedDenormalFlush&) = delete;

private:
    unsigned m_callerMode;
};
