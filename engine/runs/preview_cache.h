#pragma once

#include "engine/audio_buffer.h"
#include "engine/engine_request.h"
#include "engine/profiles/reference_profile.h"
#include "engine/runs/run_steps.h"
#include "engine/stages/stage1_level_match.h"
#include "engine/stages/stage2_tone_match.h"

#include <array>
#include <cstdint>
#include <string>

// The intermediate states of the last preview runs, so that turning one knob
// recomputes only the part of the chain after it. One cache per process,
// without a lock: only one preview run may use it at a time.

// Which range of which source a state was cut from. Start and end are the
// requested seconds; two keys match when both lie within kRangeToleranceSec
// and the integers and the source hash are equal.
struct PreviewRangeKey
{
    double start = 0.0;
    double end = 0.0;
    std::uint64_t sourceFrames = 0;
    int sourceSampleRate = 0;
    int internalSampleRate = 0;
    // HashSamples of the source frames [hashFirstFrame, hashLastFrame), so that
    // another track of the same length is never taken for this one.
    std::uint64_t hashFirstFrame = 0;
    std::uint64_t hashLastFrame = 0;
    std::uint64_t sourceHash = 0;
};

// A range start or end moved by no more than this is the same range.
inline constexpr double kRangeToleranceSec = 1e-4;

// Start and end within the tolerance and the same source length and rates; the
// source hash is not compared.
bool RangePlacesMatch(const PreviewRangeKey& a, const PreviewRangeKey& b);

// RangePlacesMatch and the same source hash.
bool RangeKeysMatch(const PreviewRangeKey& a, const PreviewRangeKey& b);

// Everything that the stage-1 and stage-2 analysis depend on. Keys match when
// every field is exactly equal (a NaN never matches).
struct AnalysisKey
{
    std::uint64_t frames = 0; // of the prepared range
    int sampleRate = 0;       // of the prepared range
    std::string profileKey;
    double maxPieceSeconds = 0.0;
    double peakCeiling = 0.0;
    double floor = 0.0;
    int fftSize = 0;
    int linLogOversampling = 0;
    double toneReserved = 0.0;
    int smoothingOctaveDenominator = 0;
    double sideAmount = 0.0; // stereoWidthAmount * stereoBoostAmount
    bool psychoacoustic = false;

    bool operator==(const AnalysisKey&) const = default;
};

// Everything that stages 1 to 3 depend on.
struct ProcessingKey
{
    AnalysisKey analysis;
    bool adaptiveStrength = false;
    double stage2Strength = 0.0;
    double stage3Strength = 0.0;
    double stage3MacroStrength = 0.0;
    int stage3Iterations = 0;

    bool operator==(const ProcessingKey&) const = default;
};

// The profile's name, creation time, source path, sample rate and FFT size,
// joined by "|" without escaping. The description is not part of it.
std::string BuildProfileKey(const ReferenceProfile& profile);

AnalysisKey BuildAnalysisKey(const AudioBuffer& prepared, const EngineRequest& request,
                             const std::string& profileKey);
ProcessingKey BuildProcessingKey(const AudioBuffer& prepared, const EngineRequest& request,
                                 const std::string& profileKey);

// The state after stages 1 and 2, kept so that a change of the stage-2 blend
// needs no new spectral analysis.
struct Stage2State
{
    LevelAnalysis level;
    ToneCorrection correction;
    ToneMatchResult tone;
    LateStageInputs late;
    PieceAnalysis reference; // only selectedRms (the profile's referenceMatchRms) is set
};

// The audio after a point of the chain, with what the rest of the run needs.
struct PreviewCheckpoint
{
    AudioBuffer audio;
    LateStageInputs late;
};

// Where a preview run continues: the state after this point comes from the cache.
enum ResumePoint : int
{
    ResumeFromStart = 0,
    ResumePreMatch = 1,
    ResumeStage2PostFft = 2, // re-blend stage 2 from the stored analysis
    ResumeStage2 = 3,        // take the stored stage-2 result
    ResumeStage3 = 4,
    ResumePostTone = 5,
    ResumePostDynamics = 6,
    ResumePostStereo = 7,
    ResumePostPreLimiter = 8,
};

// "FromStart", "preMatchCheckpoint", "stage2PostFft", "stage2Checkpoint",
// "stage3Checkpoint", "postToneCheckpoint", "postDynamicsCheckpoint",
// "postStereoCheckpoint", "postPreLimiterCheckpoint"; "Unknown" otherwise.
const char* ResumePointName(int point);

// The resume point an add-on position's checkpoint provides (5 to 8 for
// POSTMATCHTONE to PRELIMITER).
int AddonResumePoint(int chainPosition);

class PreviewCache
{
public:
    // The process-wide cache, created on first use.
    static PreviewCache& Instance();

    // The deepest point that the scope allows and whose entry is valid with a
    // matching key; ResumeFromStart when there is none.
    ResumePoint FindResumePoint(int scope, const PreviewRangeKey& range,
                                const AnalysisKey& analysis, const ProcessingKey& processing) const;

    // Each store replaces the entry's key and content and makes it valid.
    void StoreSourceRange(const PreviewRangeKey& key, AudioBuffer range);
    void StorePreMatch(const PreviewRangeKey& key, AudioBuffer audio);
    void StoreStage2(const AnalysisKey& key, Stage2State state);
    // Replaces only the stage-2 result of a valid stage-2 entry.
    void UpdateStage2Tone(ToneMatchResult tone);
    void StoreStage3(const ProcessingKey& key, AudioBuffer audio, const LateStageInputs& late);
    // position: ChainPostMatchTone to ChainPreLimiter; others throw std::out_of_range.
    void StoreAddonCheckpoint(int position, const ProcessingKey& key, AudioBuffer audio,
                              const LateStageInputs& late);

    // A position whose chain bucket was emptied must not be resumed from what
    // its add-ons once made.
    void InvalidatePreMatch();
    void InvalidateAddonCheckpoint(int position);

    // Makes every entry invalid. Tests start each case from an empty cache.
    void Clear();

    // The stored content, or null when the entry is not valid. The cache keeps
    // it; a run copies what it changes.
    const PreviewRangeKey* SourceRangeKey() const;
    const AudioBuffer* SourceRange() const;
    const AudioBuffer* PreMatchAudio() const;
    const Stage2State* Stage2() const;
    // The checkpoint of a resume point from ResumeStage3 to ResumePostPreLimiter.
    const PreviewCheckpoint* Checkpoint(int point) const;

private:
    template <typename Key, typename Content> struct Entry
    {
        bool valid = false;
        Key key{};
        Content content{};
    };
    using CheckpointEntry = Entry<ProcessingKey, PreviewCheckpoint>;

    CheckpointEntry& AddonEntry(int position);
    bool CheckpointMatches(int point, const ProcessingKey& key) const;

    Entry<PreviewRangeKey, AudioBuffer> m_sourceRange;
    Entry<PreviewRangeKey, AudioBuffer> m_preMatch;
    Entry<AnalysisKey, Stage2State> m_stage2;
    // Index 0 is stage 3, then POSTMATCHTONE to PRELIMITER: resume points 4 to 8.
    std::array<CheckpointEntry, 5> m_checkpoints;
};
