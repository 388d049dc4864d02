#pragma once

#include <cstddef>
#include <span>
#include <vector>

// Maxima over a moving window, each in one pass with a monotonic queue of
// indices, so the cost does not grow with the window. All results have the
// input's length; the window is clipped at both ends of the signal.

// The largest of the values pushed since the last DropBefore, for signals fed
// one value at a time: values are pushed in index order and expire by index.
// Holds at most `span` values at once (the window's length).
class MovingMax
{
public:
    explicit MovingMax(size_t span);

    void Push(size_t index, double value)
    {
        while (m_tail > m_head && m_values[(m_tail - 1) & m_mask] <= value)
        {
            --m_tail;
        }
        m_indices[m_tail & m_mask] = index;
        m_values[m_tail & m_mask] = value;
        ++m_tail;
    }

    void DropBefore(size_t firstIndex)
    {
        while (m_tail > m_head && m_indices[m_head & m_mask] < firstIndex)
        {
            ++m_head;
        }
    }

    // The largest live value; call only after a Push that is still live.
    double Max() const { return m_values[m_head & m_mask]; }

private:
    // A ring whose values decrease from head to tail; head and tail count up
    // for ever and the slot is the count masked to the ring's power-of-two size.
    std::vector<size_t> m_indices;
    std::vector<double> m_values;
    size_t m_mask = 0;
    size_t m_head = 0;
    size_t m_tail = 0;
};

// out[i] = max of x over [i, i + length - 1], clipped to x, for every i of out
// (out.size() <= x.size()). Van Herk and Gil-Werman's method for a whole run at
// once: per block of `length` values a prefix and a suffix maximum, so three
// comparisons per value and no data-dependent branches whatever the length.
// Exact for values that are not NaN; length >= 1.
void BlockWindowMax(std::span<const double> x, size_t length, std::span<double> out);

// out[i] = max of x over [i - before, i + after], clipped to the signal.
std::vector<double> WindowMax(std::span<const double> x, size_t before, size_t after);

// out[i] = max of x over [max(0, i - length + 1), i]; a copy when x is empty
// or length < 2.
std::vector<double> RunningMax(std::span<const double> x, size_t length);

// out[i] = max of x over [i, min(n - 1, i + length - 1)]: what is coming.
std::vector<double> FutureMax(std::span<const double> x, size_t length);

// out[i] = max of x over the last `length` samples up to i, where positions
// before the start count as 0.
std::vector<double> SlidingMax(std::span<const double> x, size_t length);
