#pragma once

// Stereo tracks made from, and read back as, mid and side signals, for the
// tests of the width add-ons.

#include "addons/kit/mid_side.h"
#include "engine/audio_buffer.h"

#include <cstddef>
#include <vector>

// The track whose mid and side are the two signals: L = M + S, R = M - S.
inline AudioBuffer FromMidSide(const std::vector<double>& mid, const std::vector<double>& side,
                               int sampleRate)
{
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.samples.resize(2 * mid.size());
    JoinMidSide(mid, side, buffer.samples);
    return buffer;
}

inline std::vector<double> MidOf(const AudioBuffer& buffer)
{
    return SplitMidSide(buffer.samples).mid;
}

inline std::vector<double> SideOf(const AudioBuffer& buffer)
{
    return SplitMidSide(buffer.samples).side;
}

// The largest difference between two signals over the values both hold.
inline double LargestDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    double largest = 0.0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    {
        const double difference = a[i] > b[i] ? a[i] - b[i] : b[i] - a[i];
        largest = difference > largest || difference != difference ? difference : largest;
    }
    return largest;
}
