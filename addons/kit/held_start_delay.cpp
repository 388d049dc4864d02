#include "addons/kit/held_start_delay.h"

#include <algorithm>
#include <cmath>

HeldStartDelay::HeldStartDelay(std::size_t delayFrames)
    : m_line(std::max<std::size_t>(1, delayFrames))
{
}

double HeldStartDelay::Step(double input)
{
    if (!m_started)
    {
        std::fill(m_line.begin(), m_line.end(), input);
        m_started = true;
    }
    const double delayed = m_line[m_position];
    m_line[m_position] = input;
    m_position = m_position + 1 == m_line.size() ? 0 : m_position + 1;
    return delayed;
}

std::size_t HeldStartDelay::Frames(double ms, double sampleRateHz, std::size_t frameCount)
{
    const long frames = std::max(1L, std::lround(ms * 0.001 * sampleRateHz));
    return std::min(static_cast<std::size_t>(frames), std::max<std::size_t>(1, frameCount));
}
