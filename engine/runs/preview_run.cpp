#include "engine/runs/preview_run.h"

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

ProcessResult ProcessPreviewRange(const AudioBuffer& source, double startSec, double endSec,
                                  EngineRequest& request, const ReferenceProfile* profile,
                                  const ProcessorChain& chain, const DiagnosticLog& log)
{
    // A copy, so a progress callback that touches the request cannot change
    // the settings half-way through the run.
    const MatchSettings settings = request.settings;
    const RunTrace trace(log);
    WriteDiagnostic(log, std::string("**** preview run scope=") +
                             PreviewScopeName(request.previewScope) + " sel=[" +
                             FormatDiagnosticNumber(startSec) + "s," +
                             FormatDiagnosticNumber(endSec) + "s]");

    request.ReportProgress(0.02, "Preparing");
    PreviewCache& cache = PreviewCache::Instance();

    // The range at the internal rate: the cached one when it is this range of
    // this source, else cut afresh.
    const PreviewRangeKey rangeKey = BuildRangeKey(
        source, startSec, endSec, settings.internalSampleRate, cache.SourceRangeKey());
    AudioBuffer freshRange;
    const AudioBuffer* prepared = nullptr;
    if (cache.SourceRange() != nullptr && RangeKeysMatch(*cache.SourceRangeKey(), rangeKey))
    {
        prepared = cache.SourceRange();
        trace.Mark("stage0_cached");
    }
    else
    {
        freshRange = ExtractPreviewRange(source, startSec, endSec, request);
        if (freshRange.sampleRate <= 0 || freshRange.FrameCount() == 0)
        {
            throw std::runtime_error(kEmptyRangeText);
        }
        cache.StoreSourceRange(rangeKey, freshRange);
        prepared = &freshRange;
        trace.Mark(source.sampleRate != settings.internalSampleRate ? "stage0_resample"
                                                                    : "stage0_prepare",
                   "InputRate=" + std::to_string(source.sampleRate) +
                       " InternalRate=" + std::to_string(settings.internalSampleRate) +
                       " Frames=" + std::to_string(freshRange.FrameCount()));
    }
    const int rate = prepared->sampleRate;

    request.ReportProgress(0.1, "Analyzing input");
    if (settings.fftSize >= 0 &&
        prepared->FrameCount() <= static_cast<std::size_t>(settings.fftSize))
    {
        throw std::runtime_error("Input audio too short for FFT size");
    }
    // The keys name the profile, so there is nothing to resume without one.
    if (profile == nullptr)
    {
        throw std::runtime_error("No profile loaded");
    }

    const std::string profileKey = BuildProfileKey(*profile);
    const AnalysisKey analysisKey = BuildAnalysisKey(*prepared, request, profileKey);
    const ProcessingKey processingKey = BuildProcessingKey(*prepared, request, profileKey);
    const ResumePoint point =
        cache.FindResumePoint(request.previewScope, rangeKey, analysisKey, processingKey);
    if (point != ResumeFromStart)
    {
        trace.Mark("resume", std::string("point=") + ResumePointName(point));
    }

    LateStageInputs late;
    AudioBuffer working;
    if (point >= ResumeStage3)
    {
        const PreviewCheckpoint& checkpoint = *cache.Checkpoint(point);
        working = checkpoint.audio;
        late = checkpoint.late;
    }
    else
    {
        // PREMATCH. A position emptied since its checkpoint was stored must
        // not be resumed with what its add-ons made.
        const AudioBuffer* stage1Input = prepared;
        AudioBuffer preMatched;
        if (point == ResumePreMatch)
        {
            stage1Input = cache.PreMatchAudio();
        }
        else if (point == ResumeFromStart)
        {
            const ProcessorBucket& bucket = chain.buckets[ChainPreMatch];
            if (bucket.empty())
            {
                cache.InvalidatePreMatch();
            }
            else
            {
                preMatched = *prepared;
                RunChainPosition(bucket, ChainPreMatch, preMatched,
                                 PreMatchContextOf(settings, rate));
                cache.StorePreMatch(rangeKey, preMatched);
                stage1Input = &preMatched;
                trace.Mark("prematch");
            }
        }

        // Stages 1 and 2.
        const ToneMatchSettings toneSettings = ToneSettingsOf(settings);
        PieceAnalysis grid;
        PieceAnalysis reference;
        ToneMatchResult tone;
        if (point <= ResumePreMatch)
        {
            const ProfileCompatibility compatibility = CheckProfileCompatibility(*profile, request);
            if (!compatibility.errors.empty())
            {
                throw std::runtime_error(ProfileIncompatibleText(compatibility));
            }
            request.ReportProgress(0.26, "Stage 1");
            LevelAnalysis level = MatchLevel(
                *stage1Input, {profile->referenceMatchRms, profile->finalAmplitudeCoefficient},
                {settings.maxPieceSeconds, settings.peakCeiling, settings.floor});
            grid = PieceGridOf(level);
            late = LateStageInputsOf(*profile, level.amplitude);
            reference.selectedRms = profile->referenceMatchRms;
            const MidSideMagnitudes targets =
                LinearTargets(*FindSpectrumSet(*profile, settings.fftSize));
            preMatched = {};
            trace.Mark("stage1");

            request.ReportProgress(0.42, "Spectral Staging");
            ToneCorrection correction = ComputeToneCorrection(level, targets, toneSettings, rate);
            trace.Mark("stage2_fft_cache", "mode=recalculate");
            tone = ApplyToneMatch(level, correction, toneSettings, rate);
            trace.Mark("stage2");
            cache.StoreStage2(analysisKey,
                              {std::move(level), std::move(correction), tone, late, reference});
        }
        else
        {
            const Stage2State& stored = *cache.Stage2();
            grid = PieceGridOf(stored.level);
            late = stored.late;
            reference = stored.reference;
            request.ReportProgress(0.42, "Spectral Staging");
            if (point == ResumeStage2PostFft)
            {
                tone = ApplyToneMatch(stored.level, stored.correction, toneSettings, rate);
                cache.UpdateStage2Tone(tone);
                trace.Mark("stage2PostFft");
            }
            else
            {
                tone = stored.tone;
                trace.Mark("stage2Checkpoint");
            }
        }

        // Stage 3.
        working = std::move(tone.audio);
        request.ReportProgress(0.68, "Dynamic Staging");
        DynamicsMetrics dynamicsMetrics;
        ApplyDynamicsStage(
            tone.mid, working, grid, reference,
            DynamicsSettingsOf(settings, late, tone.confidence, rate, &dynamicsMetrics));
        trace.Mark("stage3");

        working.stageMetrics = BuildStage1Metrics(grid.selectedRms, reference.selectedRms);
        for (StageMetric& metric : BuildStage2Metrics(tone))
        {
            working.stageMetrics.push_back(std::move(metric));
        }
        BuildStage3Metrics(working.stageMetrics, dynamicsMetrics);
        cache.StoreStage3(processingKey, working, late);
    }

    const double ceiling = ComputeStage4Ceiling(settings.peakCeiling, late.truePeak,
                                                settings.stage4LoudnessStrength, settings.floor);
    const ProcessContext laterContext = LaterContextOf(settings, late, ceiling, working.sampleRate);
    for (const LaterPosition& later : kLaterPositions)
    {
        if (point >= AddonResumePoint(later.position))
        {
            continue;
        }
        const ProcessorBucket& bucket = chain.buckets[later.position];
        if (bucket.empty())
        {
            // An emptied position must not be resumed with its old add-ons.
            cache.InvalidateAddonCheckpoint(later.position);
            continue;
        }
        if (later.position == ChainPostMatchDynamics)
        {
            const AudioBuffer before = working;
            RunChainPosition(bucket, later.position, working, laterContext);
            working.meterSeries.push_back(
                BuildDynamicsGainReductionSeries(before, working, kGainReductionSeriesRate));
        }
        else
        {
            RunChainPosition(bucket, later.position, working, laterContext);
        }
        cache.StoreAddonCheckpoint(later.position, processingKey, working, late);
        trace.Mark(later.traceName);
    }

    // Stage 4: makeup, loudness and the limiter.
    request.ReportProgress(0.86, "Final Tone Shaper");
    AudioBuffer limiterInput = std::move(working);
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
    trace.Mark("stage4");

    request.ReportProgress(1.0, "Completed");
    ProcessResult result;
    result.audio = std::move(output);
    return result;
}
