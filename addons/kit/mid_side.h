#pragma once

#include <span>
#include <vector>

// Mid and side of a frame: M = (L + R) / 2, S = (L - R) / 2, so that
// L = M + S and R = M - S rebuild it.
inline double MidOf(double left, double right)
{
    return 0.5 * (left + right);
}

inline double SideOf(double left, double right)
{
    return 0.5 * (left - right);
}

struct MidSideSignals
{
    std::vector<double> mid;
    std::vector<double> side;
};

// One mid and one side value per whole frame of interleaved stereo values; a
// trailing odd value belongs to no frame.
MidSideSignals SplitMidSide(std::span<const double> interleaved);

// Rebuilds left and right from mid and side over as many frames as all three
// hold; frames beyond those (and a trailing odd value) are not touched.
void JoinMidSide(std::span<const double> mid, std::span<const double> side,
                 std::span<double> interleaved);
