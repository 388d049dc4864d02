#include "engine/runs/preview_cache.h"

#include "engine/chain/audio_processor.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace
{

constexpr int kFirstCheckpointPoint = ResumeStage3;

} // namespace

bool RangePlacesMatch(const PreviewRangeKey& a, const PreviewRangeKey& b)
{
    return std::fabs(a.start - b.start) <= kRangeToleranceSec &&
           std::fabs(a.end - b.end) <= kRangeToleranceSec && a.sourceFrames == b.sourceFrames &&
           a.sourceSampleRate == b.sourceSampleRate && a.internalSampleRate == b.internalSampleRate;
}

bool RangeKeysMatch(const PreviewRangeKey& a, const PreviewRangeKey& b)
{
    return RangePlacesMatch(a, b) && a.sourceHash == b.sourceHash;
}

std::string BuildProfileKey(const ReferenceProfile& profile)
{
    return profile.name + "|" + profile.createdAt + "|" + profile.sourcePath + "|" +
           std::to_string(profile.sampleRate) + "|" + std::to_string(profile.fftSize);
}

AnalysisKey BuildAnalysisKey(const AudioBuffer& prepared, const EngineRequest& request,
                             const std::string& profileKey)
{
    const MatchSettings& settings = request.settings;
    AnalysisKey key;
    key.frames = prepared.FrameCount();
    key.sampleRate = prepared.sampleRate;
    key.profileKey = profileKey;
    key.maxPieceSeconds = settings.maxPieceSeconds;
    key.peakCeiling = settings.peakCeiling;
    key.floor = settings.floor;
    key.fftSize = settings.fftSize;
    key.linLogOversampling = settings.linLogOversampling;
    key.toneReserved = settings.toneReserved;
    key.smoothingOctaveDenominator = settings.smoothingOctaveDenominator;
    key.sideAmount = settings.stereoWidthAmount * settings.stereoBoostAmount;
    key.psychoacoustic = settings.psychoacoustic;
    return key;
}

ProcessingKey BuildProcessingKey(const AudioBuffer& prepared, const EngineRequest& request,
                                 const std::string& profileKey)
{
    const MatchSettings& settings = request.settings;
    ProcessingKey key;
    key.analysis = BuildAnalysisKey(prepared, request, profileKey);
    key.adaptiveStrength = settings.adaptiveStrength;
    key.stage2Strength = settings.stage2Strength;
    key.stage3Strength = settings.stage3Strength;
    key.stage3MacroStrength = settings.stage3MacroStrength;
    key.stage3Iterations = settings.stage3Iterations;
    return key;
}

const char* ResumePointName(int point)
{
    switch (point)
    {
    case ResumeFromStart:
        return "FromStart";
    case ResumePreMatch:
        return "preMatchCheckpoint";
    case ResumeStage2PostFft:
        return "stage2PostFft";
    case ResumeStage2:
        return "stage2Checkpoint";
    case ResumeStage3:
        return "stage3Checkpoint";
    case ResumePostTone:
        return "postToneCheckpoint";
    case ResumePostDynamics:
        return "postDynamicsCheckpoint";
    case ResumePostStereo:
        return "postStereoCheckpoint";
    case ResumePostPreLimiter:
        return "postPreLimiterCheckpoint";
    default:
        return "Unknown";
    }
}

int AddonResumePoint(int chainPosition)
{
    if (chainPosition < ChainPostMatchTone || chainPosition > ChainPreLimiter)
    {
        throw std::out_of_range("No preview checkpoint for this chain position");
    }
    return kFirstCheckpointPoint + chainPosition;
}

PreviewCache& PreviewCache::Instance()
{
    // A function-local static: constructed once even when two threads arrive
    // together, destroyed at exit.
    static PreviewCache cache;
    return cache;
}

bool PreviewCache::CheckpointMatches(int point, const ProcessingKey& key) const
{
    const CheckpointEntry& entry = m_checkpoints[point - kFirstCheckpointPoint];
    return entry.valid && entry.key == key;
}

ResumePoint PreviewCache::FindResumePoint(int scope, const PreviewRangeKey& range,
                                          const AnalysisKey& analysis,
                                          const ProcessingKey& processing) const
{
    // A checkpoint serves while the scope names a change after it: scope 2
    // (stage 4) allows point 8, scope 3 (PRELIMITER) point 7, ... scope 6
    // (POSTMATCHTONE) point 4.
    for (int point = ResumePostPreLimiter; point >= kFirstCheckpointPoint; --point)
    {
        const int latestScope = PreviewStage4 + (ResumePostPreLimiter - point);
        if (scope <= latestScope && CheckpointMatches(point, processing))
        {
            return static_cast<ResumePoint>(point);
        }
    }
    if (m_stage2.valid && m_stage2.key == analysis)
    {
        if (scope <= PreviewStage3)
        {
            return ResumeStage2;
        }
        if (scope == PreviewStage2PostFft)
        {
            return ResumeStage2PostFft;
        }
    }
    if (scope <= PreviewStage1 && m_preMatch.valid && RangeKeysMatch(m_preMatch.key, range))
    {
        return ResumePreMatch;
    }
    return ResumeFromStart;
}

void PreviewCache::StoreSourceRange(const PreviewRangeKey& key, AudioBuffer range)
{
    m_sourceRange = {true, key, std::move(range)};
}

void PreviewCache::StorePreMatch(const PreviewRangeKey& key, AudioBuffer audio)
{
    m_preMatch = {true, key, std::move(audio)};
}

void PreviewCache::StoreStage2(const AnalysisKey& key, Stage2State state)
{
    m_stage2 = {true, key, std::move(state)};
}

void PreviewCache::UpdateStage2Tone(ToneMatchResult tone)
{
    if (m_stage2.valid)
    {
        m_stage2.content.tone = std::move(tone);
    }
}

void PreviewCache::StoreStage3(const ProcessingKey& key, AudioBuffer audio,
                               const LateStageInputs& late)
{
    m_checkpoints[0] = {true, key, {std::move(audio), late}};
}

PreviewCache::CheckpointEntry& PreviewCache::AddonEntry(int position)
{
    return m_checkpoints[AddonResumePoint(position) - kFirstCheckpointPoint];
}

void PreviewCache::StoreAddonCheckpoint(int position, const ProcessingKey& key, AudioBuffer audio,
                                        const LateStageInputs& late)
{
    AddonEntry(position) = {true, key, {std::move(audio), late}};
}

void PreviewCache::InvalidatePreMatch()
{
    m_preMatch = {};
}

void PreviewCache::InvalidateAddonCheckpoint(int position)
{
    AddonEntry(position) = {};
}

void PreviewCache::Clear()
{
    *this = PreviewCache();
}

const PreviewRangeKey* PreviewCache::SourceRangeKey() const
{
    return m_sourceRange.valid ? &m_sourceRange.key : nullptr;
}

const AudioBuffer* PreviewCache::SourceRange() const
{
    return m_sourceRange.valid ? &m_sourceRange.content : nullptr;
}

const AudioBuffer* PreviewCache::PreMatchAudio() const
{
    return m_preMatch.valid ? &m_preMatch.content : nullptr;
}

const Stage2State* PreviewCache::Stage2() const
{
    return m_stage2.valid ? &m_stage2.content : nullptr;
}

const PreviewCheckpoint* PreviewCache::Checkpoint(int point) const
{
    if (point < kFirstCheckpointPoint || point > ResumePostPreLimiter)
    {
        return nullptr;
    }
    const CheckpointEntry& entry = m_checkpoints[point - kFirstCheckpointPoint];
    return entry.valid ? &entry.content : nullptr;
}
