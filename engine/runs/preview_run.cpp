#include "engine/runs/preview_run.h"

#include "engine/out_of_memory.h"
#include "engine/track_memory.h"
#include "engine/runs/preview_cache.h"
#include "engine/runs/run_metrics.h"
#include "engine/runs/run_steps.h"
#include "engine/runs/sample_hash.h"
#include "engine/dsp/sinc_resampler.h"
#include "engine/stages/stage1_level_match.h"
#include "engine/stages/stage2_tone_match.h"
#include "engine/stages/stage3_dynamics.h"
#include "engine/stages/stage4_limiters.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

namespace
{

constexpr const char* kEmptyRangeText =
    "Select a non-empty preview range before monitoring output.";

// The preview's diagnostic lines, each timed from the start of the run.
class RunTrace
{
public:
    explicit RunTrace(const DiagnosticLog& log)
        : m_log(log), m_start(std::chrono::steady_clock::now())
    {
    }

    void Mark(const char* point, const std::string& detail = {}) const
    {
        if (!m_log)
        {
            return;
        }
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - m_start;
        std::string line = std::string("preview ") + point +
                           " MsFromStart=" + FormatDiagnosticNumber(elapsed.count());
        if (!detail.empty())
        {
            line += " " + detail;
        }
        m_log(line);
    }

private:
    const DiagnosticLog& m_log;
    std::chrono::steady_clock::time_point m_start;
};

// The range key of this request. When the cached range lies at the same place
// (within the tolerance), its frames are the ones hashed, so that a start
// moved by less than the tolerance still finds it while another track of the
// same length does not.
PreviewRangeKey BuildRangeKey(const AudioBuffer& source, double startSec, double endSec,
                              int internalSampleRate, const PreviewRangeKey* cached)
{
    PreviewRangeKey key;
    key.start = startSec;
    key.end = endSec;
    key.sourceFrames = source.FrameCount();
    key.sourceSampleRate = source.sampleRate;
    key.internalSampleRate = internalSampleRate;

    PreviewFrameSpan span = PreviewRangeFrames(source, startSec, endSec);
    if (cached != nullptr && RangePlacesMatch(*cached, key) &&
        cached->hashFirstFrame <= cached->hashLastFrame &&
        cached->hashLastFrame <= source.FrameCount())
    {
        span = {cached->hashFirstFrame, cached->hashLastFrame};
    }
    key.hashFirstFrame = span.first;
    key.hashLastFrame = span.last;
    key.sourceHash = HashSamples(std::span<const double>(source.samples)
                                     .subspan(2 * span.first, 2 * (span.last - span.first)));
    return key;
}

// The piece grid and level of a stage-1 analysis without its signals: what
// stage 3 and the metrics read.
PieceAnalysis PieceGridOf(const PieceAnalysis& analysis)
{
    PieceAnalysis grid;
    grid.selectedRms = analysis.selectedRms;
    grid.pieceCount = analysis.pieceCount;
    grid.pieceLength = analysis.pieceLength;
    grid.selectedCount = analysis.selectedCount;
    return grid;
}

struct LaterPosition
{
    int position;
    const char* traceName;
};

constexpr LaterPosition kLaterPositions[] = {
    {ChainPostMatchTone, "postTone"},
    {ChainPostMatchDynamics, "postDynamics"},
    {ChainStereoImage, "postStereo"},
    {ChainPreLimiter, "postPreLimiter"},
};

// What every phase of one preview run reads: the request (for progress and
// cancellation), the run's own copy of its settings, the cache and the trace.
struct PreviewRunContext
{
    EngineRequest& request;
    const MatchSettings& settings;
    PreviewCache& cache;
    const RunTrace& trace;
};

// Stage 0: the range at the internal rate, the cached one when it is this
// range of this source, else cut afresh into `fresh` and stored.
const AudioBuffer& PrepareRange(const PreviewRunContext& run, const AudioBuffer& source,
                                double startSec, double endSec, const PreviewRangeKey& rangeKey,
                                AudioBuffer& fresh)
{
    if (run.cache.SourceRange() != nullptr && RangeKeysMatch(*run.cache.SourceRangeKey(), rangeKey))
    {
        run.trace.Mark("stage0_cached");
        return *run.cache.SourceRange();
    }
    fresh = ExtractPreviewRange(source, startSec, endSec, run.request);
    if (fresh.sampleRate <= 0 || fresh.FrameCount() == 0)
    {
        throw std::runtime_error(kEmptyRangeText);
    }
    run.cache.StoreSourceRange(rangeKey, fresh);
    const int internalSampleRate = run.settings.internalSampleRate;
    run.trace.Mark(source.sampleRate != internalSampleRate ? "stage0_resample" : "stage0_prepare",
                   "InputRate=" + std::to_string(source.sampleRate) +
                       " InternalRate=" + std::to_string(internalSampleRate) +
                       " Frames=" + std::to_string(fresh.FrameCount()));
    return fresh;
}

// The refusals before any stage: a range no longer than the FFT, and no
// profile (the cache keys name the profile, so there is nothing to resume
// without one).
void RefuseUnmasterableRange(const AudioBuffer& prepared, const MatchSettings& settings,
                             const ReferenceProfile* profile)
{
    if (settings.fftSize >= 0 &&
        prepared.FrameCount() <= static_cast<std::size_t>(settings.fftSize))
    {
        throw std::runtime_error("Input audio too short for FFT size");
    }
    if (profile == nullptr)
    {
        throw std::runtime_error("No profile loaded");
    }
}

// PREMATCH: the input of stage 1. A run from the start runs the position's
// add-ons into `preMatched` and stores their result; a position emptied since
// its checkpoint was stored must not be resumed with what its add-ons made.
const AudioBuffer& RunPreMatchPosition(const PreviewRunContext& run, ResumePoint point,
                                       const AudioBuffer& prepared, const PreviewRangeKey& rangeKey,
                                       const ProcessorBucket& bucket, AudioBuffer& preMatched)
{
    if (point == ResumePreMatch)
    {
        return *run.cache.PreMatchAudio();
    }
    if (point != ResumeFromStart)
    {
        return prepared;
    }
    if (bucket.empty())
    {
        run.cache.InvalidatePreMatch();
        return prepared;
    }
    preMatched = prepared;
    RunChainPosition(bucket, ChainPreMatch, preMatched,
                     PreMatchContextOf(run.settings, prepared.sampleRate));
    run.cache.StorePreMatch(rangeKey, preMatched);
    run.trace.Mark("prematch");
    return preMatched;
}

// What stage 3 and the rest of the run take from stages 1 and 2.
struct ToneStage
{
    PieceAnalysis grid;
    PieceAnalysis reference; // only selectedRms is set
    ToneMatchResult tone;
    LateStageInputs late;
};

// Stages 1 and 2 from their input, stored as the stage-2 state. The
// PREMATCH result is released once stage 1 has read it.
ToneStage MatchLevelAndTone(const PreviewRunContext& run, const AudioBuffer& stage1Input,
                            AudioBuffer& preMatched, const ReferenceProfile& profile,
                            const AnalysisKey& analysisKey, int rate)
{
    const MatchSettings& settings = run.settings;
    const ProfileCompatibility compatibility = CheckProfileCompatibility(profile, run.request);
    if (!compatibility.errors.empty())
    {
        throw std::runtime_error(ProfileIncompatibleText(compatibility));
    }
    run.request.ReportProgress(0.26, "Stage 1");
    LevelAnalysis level =
        MatchLevel(stage1Input, {profile.referenceMatchRms, profile.finalAmplitudeCoefficient},
                   {settings.maxPieceSeconds, settings.peakCeiling, settings.floor});
    ToneStage stage;
    stage.grid = PieceGridOf(level);
    stage.late = LateStageInputsOf(profile, level.amplitude);
    stage.reference.selectedRms = profile.referenceMatchRms;
    const MidSideMagnitudes targets = LinearTargets(*FindSpectrumSet(profile, settings.fftSize));
    preMatched = {};
    run.trace.Mark("stage1");

    run.request.ReportProgress(0.42, "Spectral Staging");
    const ToneMatchSettings toneSettings = ToneSettingsOf(settings);
    ToneCorrection correction = ComputeToneCorrection(level, targets, toneSettings, rate);
    run.trace.Mark("stage2_fft_cache", "mode=recalculate");
    stage.tone = ApplyToneMatch(level, correction, toneSettings, rate);
    run.trace.Mark("stage2");
    run.cache.StoreStage2(analysisKey, {std::move(level), std::move(correction), stage.tone,
                                        stage.late, stage.reference});
    return stage;
}

// Stages 1 and 2 from the stored stage-2 state: its result as it is, or
// re-blended from its analysis when only the blend changed.
ToneStage ResumeTone(const PreviewRunContext& run, ResumePoint point, int rate)
{
    const Stage2State& stored = *run.cache.Stage2();
    ToneStage stage;
    stage.grid = PieceGridOf(stored.level);
    stage.late = stored.late;
    stage.reference = stored.reference;
    run.request.ReportProgress(0.42, "Spectral Staging");
    if (point == ResumeStage2PostFft)
    {
        stage.tone =
            ApplyToneMatch(stored.level, stored.correction, ToneSettingsOf(run.settings), rate);
        run.cache.UpdateStage2Tone(stage.tone);
        run.trace.Mark("stage2PostFft");
    }
    else
    {
        stage.tone = stored.tone;
        run.trace.Mark("stage2Checkpoint");
    }
    return stage;
}

// Stage 3 on stage 2's result, with the metrics of stages 1 to 3, stored as
// the stage-3 checkpoint.
AudioBuffer MatchDynamics(const PreviewRunContext& run, ToneStage& stage, int rate,
                          const ProcessingKey& processingKey)
{
    AudioBuffer working = std::move(stage.tone.audio);
    run.request.ReportProgress(0.68, "Dynamic Staging");
    DynamicsMetrics dynamicsMetrics;
    ApplyDynamicsStage(stage.tone.mid, working, stage.grid, stage.reference,
                       DynamicsSettingsOf(run.settings, stage.late, stage.tone.confidence, rate,
                                          &dynamicsMetrics));
    run.trace.Mark("stage3");

    working.stageMetrics = BuildStage1Metrics(stage.grid.selectedRms, stage.reference.selectedRms);
    for (StageMetric& metric : BuildStage2Metrics(stage.tone))
    {
        working.stageMetrics.push_back(std::move(metric));
    }
    BuildStage3Metrics(working.stageMetrics, dynamicsMetrics);
    run.cache.StoreStage3(processingKey, working, stage.late);
    return working;
}

// The add-on positions after stage 3 that lie past the resume point, each
// stored as its checkpoint; an emptied position must not be resumed with its
// old add-ons.
void RunLaterPositions(const PreviewRunContext& run, ResumePoint point, const ProcessorChain& chain,
                       const ProcessContext& context, const ProcessingKey& processingKey,
                       const LateStageInputs& late, AudioBuffer& working)
{
    for (const LaterPosition& later : kLaterPositions)
    {
        if (point >= AddonResumePoint(later.position))
        {
            continue;
        }
        const ProcessorBucket& bucket = chain.buckets[later.position];
        if (bucket.empty())
        {
            run.cache.InvalidateAddonCheckpoint(later.position);
            continue;
        }
        if (later.position == ChainPostMatchDynamics)
        {
            const AudioBuffer before = working;
            RunChainPosition(bucket, later.position, working, context);
            working.meterSeries.push_back(
                BuildDynamicsGainReductionSeries(before, working, kGainReductionSeriesRate));
        }
        else
        {
            RunChainPosition(bucket, later.position, working, context);
        }
        run.cache.StoreAddonCheckpoint(later.position, processingKey, working, late);
        run.trace.Mark(later.traceName);
    }
}

// Stage 4: makeup, loudness and the limiter, with the stage-4 metrics and
// gain-reduction series.
AudioBuffer LimitStage4(const PreviewRunContext& run, AudioBuffer limiterInput,
                        const LateStageInputs& late, double ceiling)
{
    const MatchSettings& settings = run.settings;
    run.request.ReportProgress(0.86, "Final Tone Shaper");
    const LoudnessMove loudness =
        ApplyMakeupAndLoudness(limiterInput, late, settings.stage4LoudnessStrength);
    AudioBuffer output = Stage4Limit(limiterInput, ceiling, settings.limiterMode,
                                     settings.limiterOversample, settings.stage4LimiterStrength);

    // The limiter hands back its input's lists; they are replaced, not
    // appended to, so nothing appears twice.
    std::vector<StageMetric> metrics = limiterInput.stageMetrics;
    BuildStage4Metrics(metrics, ceiling, loudness.gainDb, limiterInput, output);
    std::vector<MeterSeries> series = limiterInput.meterSeries;
    series.push_back(
        BuildStage4GainReductionSeries(limiterInput, output, kGainReductionSeriesRate));
    output.stageMetrics = std::move(metrics);
    output.meterSeries = std::move(series);
    run.trace.Mark("stage4");
    return output;
}

} // namespace

PreviewFrameSpan PreviewRangeFrames(const AudioBuffer& source, double startSec, double endSec)
{
    const std::size_t frames = source.FrameCount();
    if (source.sampleRate <= 0 || frames == 0 || std::isnan(startSec) || std::isnan(endSec))
    {
        return {};
    }
    const double rate = source.sampleRate;
    const double duration = static_cast<double>(frames) / rate;
    const double start = std::clamp(startSec, 0.0, duration);
    const double end = std::clamp(endSec, start, duration);
    const auto toFrame = [frames, rate](double seconds)
    { return std::min(static_cast<std::size_t>(std::trunc(rate * seconds)), frames); };
    return {toFrame(start), toFrame(end)};
}

AudioBuffer ExtractPreviewRange(const AudioBuffer& source, double startSec, double endSec,
                                const EngineRequest& request)
{
    const PreviewFrameSpan span = PreviewRangeFrames(source, startSec, endSec);
    AudioBuffer range;
    range.sampleRate = source.sampleRate;
    range.samples.assign(source.samples.begin() + static_cast<std::ptrdiff_t>(2 * span.first),
                         source.samples.begin() + static_cast<std::ptrdiff_t>(2 * span.last));
    const int internalSampleRate = request.settings.internalSampleRate;
    if (range.sampleRate > 0 && range.FrameCount() > 0 && range.sampleRate != internalSampleRate)
    {
        range = ResampleAudio(range, internalSampleRate);
    }
    return range;
}

namespace
{

ProcessResult MasterPreviewRange(const AudioBuffer& source, double startSec, double endSec,
                                 EngineRequest& request, const ReferenceProfile* profile,
                                 const ProcessorChain& chain, const DiagnosticLog& log)
{
    // The run's scratch blocks are reused from stage to stage until it ends.
    const TrackMemoryScope scratch;
    // A copy, so a progress callback that touches the request cannot change
    // the settings half-way through the run.
    const MatchSettings settings = request.settings;
    const RunTrace trace(log);
    WriteDiagnostic(log, std::string("**** preview run scope=") +
                             PreviewScopeName(request.previewScope) + " sel=[" +
                             FormatDiagnosticNumber(startSec) + "s," +
                             FormatDiagnosticNumber(endSec) + "s]");

    request.ReportProgress(0.02, "Preparing");
    const PreviewRunContext run{request, settings, PreviewCache::Instance(), trace};
    const PreviewRangeKey rangeKey = BuildRangeKey(
        source, startSec, endSec, settings.internalSampleRate, run.cache.SourceRangeKey());
    AudioBuffer freshRange;
    const AudioBuffer& prepared = PrepareRange(run, source, startSec, endSec, rangeKey, freshRange);
    const int rate = prepared.sampleRate;

    request.ReportProgress(0.1, "Analyzing input");
    RefuseUnmasterableRange(prepared, settings, profile);

    const std::string profileKey = BuildProfileKey(*profile);
    const AnalysisKey analysisKey = BuildAnalysisKey(prepared, request, profileKey);
    const ProcessingKey processingKey = BuildProcessingKey(prepared, request, profileKey);
    const ResumePoint point =
        run.cache.FindResumePoint(request.previewScope, rangeKey, analysisKey, processingKey);
    if (point != ResumeFromStart)
    {
        trace.Mark("resume", std::string("point=") + ResumePointName(point));
    }

    LateStageInputs late;
    AudioBuffer working;
    if (point >= ResumeStage3)
    {
        const PreviewCheckpoint& checkpoint = *run.cache.Checkpoint(point);
        working = checkpoint.audio;
        late = checkpoint.late;
    }
    else
    {
        AudioBuffer preMatched;
        const AudioBuffer& stage1Input = RunPreMatchPosition(
            run, point, prepared, rangeKey, chain.buckets[ChainPreMatch], preMatched);
        ToneStage stage = point <= ResumePreMatch ? MatchLevelAndTone(run, stage1Input, preMatched,
                                                                      *profile, analysisKey, rate)
                                                  : ResumeTone(run, point, rate);
        late = stage.late;
        working = MatchDynamics(run, stage, rate, processingKey);
    }

    const double ceiling = ComputeStage4Ceiling(settings.peakCeiling, late.truePeak,
                                                settings.stage4LoudnessStrength, settings.floor);
    RunLaterPositions(run, point, chain,
                      LaterContextOf(settings, late, ceiling, working.sampleRate), processingKey,
                      late, working);
    AudioBuffer output = LimitStage4(run, std::move(working), late, ceiling);

    request.ReportProgress(1.0, "Completed");
    ProcessResult result;
    result.audio = std::move(output);
    return result;
}

} // namespace

ProcessResult ProcessPreviewRange(const AudioBuffer& source, double startSec, double endSec,
                                  EngineRequest& request, const ReferenceProfile* profile,
                                  const ProcessorChain& chain, const DiagnosticLog& log)
{
    return WithOutOfMemoryText(
        [&] { return MasterPreviewRange(source, startSec, endSec, request, profile, chain, log); });
}
