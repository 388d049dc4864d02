#pragma once

// The process's own cost of a stretch of work beside its wall time: system
// time and minor page faults (first touches of fresh memory), which on many
// machines set the time of whole-track runs more than the arithmetic does.

#include <sys/resource.h>

struct ProcessUsage
{
    double systemSeconds = 0.0;
    double minorFaults = 0.0;

    static ProcessUsage Now()
    {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return {static_cast<double>(usage.ru_stime.tv_sec) +
                    1e-6 * static_cast<double>(usage.ru_stime.tv_usec),
                static_cast<double>(usage.ru_minflt)};
    }

    ProcessUsage operator-(const ProcessUsage& earlier) const
    {
        return {systemSeconds - earlier.systemSeconds, minorFaults - earlier.minorFaults};
    }
};
