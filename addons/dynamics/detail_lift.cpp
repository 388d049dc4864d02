#include "addons/dynamics/detail_lift.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "addons/kit/gain_mix.h"
#include "addons/kit/knee_laws.h"
#include "addons/kit/level_follower.h"
#include "addons/kit/stereo_level.h"
#include "addons/kit/time_coefficient.h"

#include <algorithm>

void LiftDetail(std::vector<double>& x, const DetailLift& settings)
{
    const bool rms = settings.level == FrameLevel::Rms;
    const double noMakeup = 1.0;
    double follower = 0.0;
    for (size_t i = 0; i + 1 < x.size(); i += 2)
    {
        const double level = rms ? StereoRmsLevel(x[i], x[i + 1]) : StereoPeakLevel(x[i], x[i + 1]);
        const double levelDb =
            DecibelLevel(FollowLevel(follower, level, settings.attack, settings.release));
        const double liftDb =
            levelDb < settings.thresholdDb
                ? std::min(settings.capDb, (settings.thresholdDb - levelDb) * settings.liftPerDb)
                : 0.0;
        GainMixFrame(x[i], x[i + 1], MadeUpGain(liftDb, noMakeup), settings.mix);
    }
}

void LiftQuietDetail(AudioBuffer& buffer, const DetailLifterVoicing& voicing, double amount,
                     double liftDb, double mix)
{
    const double a = ClampToRange(amount, 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || buffer.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = buffer.sampleRate;
    LiftDetail(buffer.samples,
               {.level = voicing.level,
                .attack = TimeCoefficient(voicing.attackMs, fs),
                .release = TimeCoefficient(voicing.releaseMs, fs),
                .thresholdDb = voicing.thresholdAtZeroDb + voicing.thresholdPerAmountDb * a,
                .liftPerDb = voicing.liftPerDb,
                .capDb = a * liftDb,
                .mix = ClampToRange(mix, 0.0, 1.0)});
}
