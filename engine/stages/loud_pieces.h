#pragma once

#include <span>

// Root mean square of a list of values; 0 for an empty list.
double QuadraticMean(std::span<const double> values);

// The level a piece's RMS must reach to count as loud: the quadratic mean of
// all pieces' RMS, but never above the loudest piece - rounding in the mean of
// equal pieces could otherwise lift it past all of them, select nothing and
// leave a level match dividing by the floor.
double LoudPieceThreshold(std::span<const double> pieceRms);
