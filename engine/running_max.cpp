#include "engine/running_max.h"

#include <algorithm>

std::vector<double> WindowMax(std::span<const double> x, size_t before, size_t after)
{
    const size_t n = x.size();
    std::vector<double> out(n);
    // Each index enters the queue once, so a plain array of n slots holds it;
    // the values at the queued indices decrease from head to tail.
    std::vector<size_t> queue(n);
    size_t head = 0;
    size_t tail = 0;
    size_t next = 0;
    for (size_t i = 0; i < n; ++i)
    {
        const size_t last = std::min(n - 1, i + std::min(after, n));
        for (; next <= last; ++next)
        {
            while (tail > head && x[queue[tail - 1]] <= x[next])
            {
                --tail;
            }
            queue[tail++] = next;
        }
        const size_t first = i >= before ? i - before : 0;
        while (queue[head] < first)
        {
            ++head;
        }
        out[i] = x[queue[head]];
    }
    return out;
}

std::vector<double> RunningMax(std::span<const double> x, size_t length)
{
    if (x.empty() || length < 2)
    {
        return {x.begin(), x.end()};
    }
    return WindowMax(x, length - 1, 0);
}

std::vector<double> FutureMax(std::span<const double> x, size_t length)
{
    if (x.empty() || length < 2)
    {
        return {x.begin(), x.end()};
    }
    return WindowMax(x, 0, length - 1);
}

std::vector<double> SlidingMax(std::span<const double> x, size_t length)
{
    std::vector<double> out = RunningMax(x, length);
    // The zeros before the start are part of the first windows.
    const size_t padded = std::min(out.size(), length > 0 ? length - 1 : 0);
    for (size_t i = 0; i < padded; ++i)
    {
        out[i] = std::max(out[i], 0.0);
    }
    return out;
}
