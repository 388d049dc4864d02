#pragma once

#include <span>
#include <vector>

// The spectrum measurements of stage 2. A magnitude spectrum has fftSize / 2 + 1
// linear values, bin k at k * sampleRate / fftSize Hz.

// The level floor of the spectral blocks: values below floor, and NaN, read as
// floor, so that no logarithm sees zero and a corrupt value cannot spread.
inline double FloorLevel(double level, double floor)
{
    return level >= floor ? level : floor;
}

// The mean magnitude spectrum of the whole fftSize frames (rectangular, no
// overlap) of pieceCount consecutive pieces of pieceLength samples each. All
// zeros when no frame fits; empty when fftSize is below 2.
std::vector<double> AverageSpectrum(std::span<const double> signal, int pieceCount, int pieceLength,
                                    int fftSize);

// A Gaussian-weighted geometric mean over +-1/(2 * denominator) octave around
// each bin from bin 2 up; bin 0 becomes 0 and bin 1 is kept. Returns the curve
// unchanged when denominator < 1, fftSize / 2 < 2, sampleRate <= 0 or the curve
// is not fftSize / 2 + 1 long.
std::vector<double> SmoothSpectrum(const std::vector<double>& curve, int sampleRate, int fftSize,
                                   int denominator, double floor);

// Raises bins 1 and up to a power between 0.35 and 1 that follows A-weighting,
// so a correction ratio is pulled towards 1 where hearing is least sensitive.
void PsychoacousticExponent(std::vector<double>& curve, int sampleRate, int fftSize, double floor);

// RMS of the per-bin level difference in dB; 0 when the sizes differ or a is empty.
double SpectralDistance(const std::vector<double>& a, const std::vector<double>& b, double floor);
