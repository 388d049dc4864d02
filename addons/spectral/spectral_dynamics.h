#pragma once

#include "addons/kit/addon_base.h"

// The compressor law of one bin, in dB on the scale of the spectral frame's
// bin magnitudes (a full-scale sine centred on a bin reads about +60 dB).
struct SpectralDynamicsLaw
{
    double thresholdDb;
    double ratio;   // 1 or more
    double kneeDb;  // 0 or more; below 0.1 the knee is hard
    double rangeDb; // the deepest reduction, 0 or less
};

// The law as a curve of linear gains, before the make-up: the soft- or
// hard-knee reduction, never deeper than the range; unity for a silent
// envelope (below 1e-18) and at a ratio of about 1.
class SpectralDynamicsCurve
{
public:
    explicit SpectralDynamicsCurve(const SpectralDynamicsLaw& law);

    // The gain of a bin inside the band whose envelope is `envelope`.
    double Gain(double envelope) const;

private:
    SpectralDynamicsLaw m_law;
    bool m_compresses;
    // Below the knee the gain is unity and from the range on the range gain,
    // with no logarithm or power worked out: most bins lie in one or the other.
    double m_unityBelow;
    double m_rangeFrom;
    double m_rangeGain;
};

// Compresses, in each channel on its own, every bin whose level rises above a
// threshold, each bin with its own follower.
class SpectralDynamics final : public AddonBase
{
public:
    SpectralDynamics();
    void process(AudioBuffer& buffer, const ProcessContext& context) override;
};
