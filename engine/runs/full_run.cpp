#include "engine/runs/full_run.h"

#include "engine/out_of_memory.h"
#include "engine/track_memory.h"
#include "engine/decibels.h"
#include "engine/loudness/loudness.h"
#include "engine/runs/run_metrics.h"
#include "engine/runs/run_steps.h"
#include "engine/dsp/sinc_resampler.h"
#include "engine/stages/stage1_level_match.h"
#include "engine/stages/stage2_tone_match.h"
#include "engine/stages/stage3_dynamics.h"
#include "engine/stages/stage4_limiters.h"

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace
{

// Frees a whole-track vector that a later step no longer reads, so that the
// run holds as few track-sized vectors at once as it can.
void Release(std::vector<double>& signal)
{
    std::vector<double>().swap(signal);
}

const char* LimiterModeName(int limiterMode)
{
    switch (limiterMode)
    {
    case LimiterLookaheadTruePeak:
        return "lookahead true-peak";
    case LimiterTruePeak:
        return "true-peak";
    default:
        return "standard";
    }
}

// A short file is mastered as what is there; the log says it was cut.
void ReportShortSource(const AudioBuffer& input, const DiagnosticLog& log)
{
    if (!input.sourceLength.IsShort() || input.sampleRate <= 0)
    {
        return;
    }
    const auto seconds = [&](size_t frames)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.1f",
                      static_cast<double>(frames) / static_cast<double>(input.sampleRate));
        return std::string(text);
    };
    WriteDiagnostic(log, "File is shorter than its header says: read " +
                             seconds(input.sourceLength.readFrames) + " s of " +
                             seconds(input.sourceLength.declaredFrames) + " s");
}

ProcessResult MasterTrack(const AudioBuffer& input, EngineRequest& request,
                          const ReferenceProfile* profile, const ProcessorChain& chain,
                          const DiagnosticLog& log)
{
    // The run's scratch blocks are reused from stage to stage until it ends.
    const TrackMemoryScope scratch;
    // A copy, so a progress callback that touches the request cannot change
    // the settings half-way through the run.
    const MatchSettings settings = request.settings;

    // The work buffer is a copy of the input only once something changes it;
    // until then the input itself is read, which spares a whole-track copy.
    request.ReportProgress(0.02, "Preparing");
    ReportShortSource(input, log);
    std::optional<AudioBuffer> ownWork;
    if (input.sampleRate != settings.internalSampleRate)
    {
        request.ReportProgress(0.06, "Resampling input");
        WriteDiagnostic(log, "Resampling input to internal sample rate...");
        ownWork = ResampleAudio(input, settings.internalSampleRate);
    }

    request.ReportProgress(0.1, "Analyzing input");
    {
        const AudioBuffer& work = ownWork ? *ownWork : input;
        if (settings.fftSize >= 0 &&
            work.FrameCount() <= static_cast<std::size_t>(settings.fftSize))
        {
            throw std::runtime_error("Input audio too short for FFT size");
        }
    }

    const ProcessorBucket& preMatch = chain.buckets[ChainPreMatch];
    if (!preMatch.empty())
    {
        if (!ownWork)
        {
            ownWork = input;
        }
        RunChainPosition(preMatch, ChainPreMatch, *ownWork,
                         PreMatchContextOf(settings, ownWork->sampleRate));
    }

    if (profile == nullptr)
    {
        throw std::runtime_error("No profile loaded");
    }
    WriteDiagnostic(log, "Using loaded reference profile...");
    const ProfileCompatibility compatibility = CheckProfileCompatibility(*profile, request);
    for (const std::string& warning : compatibility.warnings)
    {
        WriteDiagnostic(log, "Reference profile warning: " + warning);
    }
    if (!compatibility.errors.empty())
    {
        throw std::runtime_error(ProfileIncompatibleText(compatibility));
    }

    // Stage 1 - mid/side and level match.
    request.ReportProgress(0.26, "Mid Separation");
    LevelAnalysis level;
    {
        const AudioBuffer& work = ownWork ? *ownWork : input;
        level = MatchLevel(work, {profile->referenceMatchRms, profile->finalAmplitudeCoefficient},
                           {settings.maxPieceSeconds, settings.peakCeiling, settings.floor});
    }
    const LateStageInputs late = LateStageInputsOf(*profile, level.amplitude);
    const MidSideMagnitudes targets = LinearTargets(*FindSpectrumSet(*profile, settings.fftSize));
    WriteDiagnostic(log, "stage1");

    // Stage 2 - tone match. It consumes stage 1's signals (stage 3 reads only
    // the piece grid) and writes the stereo track over the storage of the work
    // buffer, which stage 2 rebuilds from mid and side.
    request.ReportProgress(0.42, "Spectral Shaping");
    WriteDiagnostic(log, "stage2");
    AudioBuffer stage1Track = ownWork ? std::move(*ownWork) : AudioBuffer();
    ownWork.reset();
    ToneMatchResult tone = MatchTone(level, targets, ToneSettingsOf(settings),
                                     settings.internalSampleRate, std::move(stage1Track));
    if (settings.adaptiveStrength)
    {
        WriteDiagnostic(log, "Adaptive strength: spectral distance " +
                                 FormatDiagnosticNumber(tone.spectralDistanceDb) +
                                 " dB, confidence " + FormatDiagnosticNumber(tone.confidence) +
                                 ", Stage 2 applied " +
                                 FormatDiagnosticNumber(tone.appliedStrength));
    }
    AudioBuffer buffer = std::move(tone.audio);

    // Stage 3 - dynamics.
    request.ReportProgress(0.68, "Dynamics");
    WriteDiagnostic(log, "stage3");
    {
        PieceAnalysis referenceLevel;
        referenceLevel.selectedRms = profile->referenceMatchRms;
        ApplyDynamicsStage(tone.mid, buffer, level, referenceLevel,
                           DynamicsSettingsOf(settings, late, tone.confidence, buffer.sampleRate));
    }
    Release(tone.mid);

    const double ceiling = ComputeStage4Ceiling(settings.peakCeiling, profile->truePeak,
                                                settings.stage4LoudnessStrength, settings.floor);
    const ProcessContext laterContext = LaterContextOf(settings, late, ceiling, buffer.sampleRate);
    for (int position :
         {ChainPostMatchTone, ChainPostMatchDynamics, ChainStereoImage, ChainPreLimiter})
    {
        RunChainPosition(chain.buckets[position], position, buffer, laterContext);
    }

    // Stage 4 - makeup, loudness and the limiter. The buffer is not read
    // again, so the final shaping works on it in place.
    request.ReportProgress(0.86, "Final Shaping");
    WriteDiagnostic(log, "stage4");
    const LoudnessMove loudness =
        ApplyMakeupAndLoudness(buffer, late, settings.stage4LoudnessStrength);
    if (request.logDetail > 0)
    {
        std::string line = "Stage 4 target ceiling " + FormatDiagnosticNumber(ceiling);
        if (loudness.measuredLufs)
        {
            line += ", current LUFS " + FormatDiagnosticNumber(*loudness.measuredLufs) +
                    ", target LUFS " + FormatDiagnosticNumber(profile->integratedLufs) +
                    ", applied loudness gain " + FormatDiagnosticNumber(loudness.gainDb) + " dB";
        }
        WriteDiagnostic(log, line);
    }

    WriteDiagnostic(log,
                    std::string("Stage 4 limiter mode: ") + LimiterModeName(settings.limiterMode));
    ProcessResult result;
    Stage4LimitInPlace(buffer, ceiling, settings.limiterMode, settings.limiterOversample,
                       settings.stage4LimiterStrength);
    result.audio = std::move(buffer);

    if (request.logDetail > 0)
    {
        std::string line =
            "Stage 4 result peak " + FormatDiagnosticNumber(BufferPeak(result.audio));
        if (profile->hasIntegratedLufs)
        {
            const LoudnessStats finalStats = MeasureLoudness(result.audio);
            if (finalStats.hasIntegratedLufs)
            {
                line += ", final LUFS " + FormatDiagnosticNumber(finalStats.integratedLufs);
            }
        }
        WriteDiagnostic(log, line);
    }

    request.ReportProgress(1.0, "Completed");
    return result;
}

} // namespace

ProcessResult ProcessTrack(const AudioBuffer& input, EngineRequest& request,
                           const ReferenceProfile* profile, const ProcessorChain& chain,
                           const DiagnosticLog& log)
{
    return WithOutOfMemoryText([&] { return MasterTrack(input, request, profile, chain, log); });
}
