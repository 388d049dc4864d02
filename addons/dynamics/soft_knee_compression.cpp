#include "addons/dynamics/soft_knee_compression.h"

#include "addons/kit/gain_mix.h"
#include "addons/kit/knee_laws.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"

void CompressSoftKnee(std::vector<double>& x, const SoftKneeCompression& settings)
{
    const bool rms = settings.level == FrameLevel::Rms;
    double envelope = 0.0;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        const double level = rms ? StereoRmsLevel(x[i], x[i + 1]) : StereoPeakLevel(x[i], x[i + 1]);
        FollowLevel(envelope, level, settings.attack, settings.release);
        const double gainDb =
            SoftKneeGainDb(DecibelLevel(envelope) - settings.thresholdDb, settings.ratio);
        GainMixFrame(x[i], x[i + 1], MadeUpGain(gainDb, settings.makeup), settings.mix);
    }
}
