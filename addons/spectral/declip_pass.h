#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The rebuilding of clipped peaks in one channel. The samples at or above the
// clip level are marked, and two on each side of each of them; the unmarked
// samples are taken as known. Every pass resynthesises the current estimate
// through the spectral frame, keeping only the band and, with a smoothing
// radius, holding each bin to 1.2 times the mean magnitude around it; the
// marked samples take the result, each within a bound of its own input
// magnitude times b = (1 - p / P) * 2 + 1 (3 in the first pass, 1 + 2 / P in
// the last), and the known samples are put back. A marked sample is thus
// pulled towards what its neighbours and the band allow.

struct DeclipSettings
{
    double clipLevel;        // linear
    int passes;              // 1 to 32
    std::size_t frameLength; // 4096 or 8192
    int smoothingRadius;     // in bins; below 1 no bin is held
    double lowHz;
    double highHz;
    double postGain; // linear
    // A frame over no marked sample cannot change the result (the unmarked
    // samples are put back), so such frames are left out; true works every
    // frame, which gives the same result to the bit.
    bool workEveryFrame = false;
};

// "iterations" rounded half away from zero, 1 to 32.
int DeclipPassCount(double iterations);

// 8192 from an "oversampling" of 1.5 on, else 4096.
std::size_t DeclipFrameLength(double oversampling);

// The bound factor of pass p (from 0) of P.
double DeclipBound(int pass, int passes);

// One flag per sample: |x| at or above the clip level, widened by two samples
// on each side of every such sample (and no further), within the track.
std::vector<bool> MarkClippedSamples(std::span<const double> samples, double clipLevel);

// The channel's samples, dry on entry, come out rebuilt and times the post gain.
void RunDeclipPass(std::vector<double>& samples, double sampleRate, const DeclipSettings& settings);
