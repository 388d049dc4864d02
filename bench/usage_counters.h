#pragma once

#include "bench/process_usage.h"

#include <benchmark/benchmark.h>

// Counts from construction to destruction and reports per iteration as the
// counters "sys_ms" and "minflt". Paused stretches of the benchmark count too,
// so a benchmark that pauses should keep its paused work small.
class UsageCounters
{
public:
    explicit UsageCounters(benchmark::State& state) : m_state(state), m_start(ProcessUsage::Now())
    {
    }
    ~UsageCounters()
    {
        const ProcessUsage used = ProcessUsage::Now() - m_start;
        m_state.counters["sys_ms"] =
            benchmark::Counter(1e3 * used.systemSeconds, benchmark::Counter::kAvgIterations);
        m_state.counters["minflt"] =
            benchmark::Counter(used.minorFaults, benchmark::Counter::kAvgIterations);
    }
    UsageCounters(const UsageCounters&) = delete;
    UsageCounters& operator=(const UsageCounters&) = delete;

private:
    benchmark::State& m_state;
    ProcessUsage m_start;
};
