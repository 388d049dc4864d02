#include "engine/dsp/running_max.h"

#include <algorithm>
#include <bit>

MovingMax::MovingMax(size_t span)
    : m_indices(std::bit_ceil(span + 1)), m_values(m_indices.size()), m_mask(m_indices.size() - 1)
{
}

void BlockWindowMax(std::span<const double> x, size_t length, std::span<double> out)
{
    const size_t n = x.size();
    // Running maxima from the start of each block.
    std::vector<double> prefix(n);
    for (size_t block = 0; block < n; block += length)
    {
        const size_t end = std::min(block + length, n);
        double largest = x[block];
        for (size_t i = block; i < end; ++i)
        {
            largest = std::max(largest, x[i]);
            prefix[i] = largest;
        }
    }
    // A window from i is the rest of i's block (a maximum to the block's end)
    // and the start of the next block up to i + length - 1.
    for (size_t block = 0; block < out.size(); block += length)
    {
        const size_t end = std::min(block + length, n);
        double largest = x[end - 1];
        for (size_t i = end; i-- > block;)
        {
            largest = std::max(largest, x[i]);
            if (i < out.size())
            {
                const size_t last = std::min(i + length - 1, n - 1);
                out[i] = last >= end ? std::max(largest, prefix[last]) : largest;
            }
        }
    }
}

std::vector<double> WindowMax(std::span<const double> x, size_t before, size_t after)
{
    const size_t n = x.size();
    std::vector<double> out(n);
    if (n == 0)
    {
        return out;
    }
    MovingMax window(std::min(n, std::min(before, n) + std::min(after, n) + 1));
    const size_t ahead = std::min(after, n - 1);
    for (size_t j = 0; j < ahead; ++j)
    {
        window.Push(j, x[j]);
    }
    for (size_t i = 0; i < n; ++i)
    {
        if (i + ahead < n)
        {
            window.Push(i + ahead, x[i + ahead]);
        }
        window.DropBefore(i >= before ? i - before : 0);
        out[i] = window.Max();
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
