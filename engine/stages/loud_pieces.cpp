#include "engine/stages/loud_pieces.h"

#include <algorithm>
#include <cmath>

double QuadraticMean(std::span<const double> values)
{
    if (values.empty())
    {
        return 0.0;
    }
    double sumOfSquares = 0.0;
    for (double value : values)
    {
        sumOfSquares += value * value;
    }
    return std::sqrt(sumOfSquares / static_cast<double>(values.size()));
}

double LoudPieceThreshold(std::span<const double> pieceRms)
{
    if (pieceRms.empty())
    {
        return 0.0;
    }
    return std::min(QuadraticMean(pieceRms), *std::max_element(pieceRms.begin(), pieceRms.end()));
}
