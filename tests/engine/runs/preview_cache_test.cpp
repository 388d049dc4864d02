#include "engine/runs/preview_cache.h"

#include "engine/profiles/synthetic_profile.h"
#include "engine/runs/preview_run.h"
#include "engine/settings/match_setting_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace
{

PreviewRangeKey RangeKey(double start, double end)
{
    PreviewRangeKey key;
    key.start = start;
    key.end = end;
    key.sourceFrames = 480000;
    key.sourceSampleRate = 44100;
    key.internalSampleRate = 48000;
    key.sourceHash = 0x1234;
    return key;
}

AudioBuffer Frames(std::size_t frames)
{
    AudioBuffer buffer;
    buffer.sampleRate = 48000;
    buffer.samples.assign(2 * frames, 0.25);
    return buffer;
}

// Which entries a case makes valid, and with which keys.
enum Entries : unsigned
{
    kPreMatch = 1u << 0,
    kStage2 = 1u << 1,
    kStage3 = 1u << 2,
    kPostTone = 1u << 3,
    kPostDynamics = 1u << 4,
    kPostStereo = 1u << 5,
    kPostPreLimiter = 1u << 6,
    kAddons = kPostTone | kPostDynamics | kPostStereo | kPostPreLimiter,
    kAll = kPreMatch | kStage2 | kStage3 | kAddons,
};

} // namespace

// The resume decision for every scope against the states an earlier run may
// have left: each case lists the point expected for scopes 0 to 12.
TEST(PreviewCache, ResumesAtTheDeepestValidPointTheScopeAllows)
{
    struct Case
    {
        const char* name;
        unsigned valid;
        bool otherProcessingKey; // the checkpoints from stage 3 on were made with other settings
        bool otherAnalysisKey;   // the stage-2 state was made with other settings
        std::array<int, 13> expected;
    };
    const Case cases[] = {
        {"empty cache", 0, false, false, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"add-on at every position", kAll, false, false, {8, 8, 8, 7, 6, 5, 4, 3, 2, 1, 1, 0, 0}},
        {"empty chain", kStage2 | kStage3, false, false, {4, 4, 4, 4, 4, 4, 4, 3, 2, 0, 0, 0, 0}},
        {"PREMATCH and PRELIMITER add-ons",
         kPreMatch | kStage2 | kStage3 | kPostPreLimiter,
         false,
         false,
         {8, 8, 8, 4, 4, 4, 4, 3, 2, 1, 1, 0, 0}},
        {"STEREOIMAGE add-on only",
         kStage2 | kStage3 | kPostStereo,
         false,
         false,
         {7, 7, 7, 7, 4, 4, 4, 3, 2, 0, 0, 0, 0}},
        {"stage 2 only", kStage2, false, false, {3, 3, 3, 3, 3, 3, 3, 3, 2, 0, 0, 0, 0}},
        {"PREMATCH only", kPreMatch, false, false, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
        {"stage 3 settings changed", kAll, true, false, {3, 3, 3, 3, 3, 3, 3, 3, 2, 1, 1, 0, 0}},
        {"stage 2 analysis changed", kAll, true, true, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
    };

    const PreviewRangeKey range = RangeKey(1.0, 3.0);
    const std::string profileKey = BuildProfileKey(BuildSyntheticDefaultProfile());
    EngineRequest request;
    const AnalysisKey analysis = BuildAnalysisKey(Frames(96000), request, profileKey);
    const ProcessingKey processing = BuildProcessingKey(Frames(96000), request, profileKey);
    EngineRequest otherRequest;
    otherRequest.settings.smoothingOctaveDenominator = 3;
    otherRequest.settings.stage3Strength = 0.5;
    const AnalysisKey otherAnalysis = BuildAnalysisKey(Frames(96000), otherRequest, profileKey);
    ProcessingKey otherProcessing = processing;
    otherProcessing.stage3Strength = 0.5;

    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PreviewCache cache;
        const ProcessingKey& checkpointKey = c.otherProcessingKey ? otherProcessing : processing;
        if (c.valid & kPreMatch)
        {
            cache.StorePreMatch(range, Frames(4));
        }
        if (c.valid & kStage2)
        {
            cache.StoreStage2(c.otherAnalysisKey ? otherAnalysis : analysis, {});
        }
        if (c.valid & kStage3)
        {
            cache.StoreStage3(checkpointKey, Frames(4), {});
        }
        const std::pair<unsigned, int> addons[] = {{kPostTone, ChainPostMatchTone},
                                                   {kPostDynamics, ChainPostMatchDynamics},
                                                   {kPostStereo, ChainStereoImage},
                                                   {kPostPreLimiter, ChainPreLimiter}};
        for (const auto& [flag, position] : addons)
        {
            if (c.valid & flag)
            {
                cache.StoreAddonCheckpoint(position, checkpointKey, Frames(4), {});
            }
        }
        for (int scope = 0; scope <= 12; ++scope)
        {
            EXPECT_EQ(cache.FindResumePoint(scope, range, analysis, processing), c.expected[scope])
                << "scope " << scope;
        }
        // Values outside the named scopes behave like their neighbours.
        EXPECT_EQ(cache.FindResumePoint(-1, range, analysis, processing), c.expected[0]);
        EXPECT_EQ(cache.FindResumePoint(40, range, analysis, processing), ResumeFromStart);
    }
}

TEST(PreviewCache, InvalidatedAndClearedEntriesAreNotResumed)
{
    const PreviewRangeKey range = RangeKey(1.0, 3.0);
    EngineRequest request;
    const AnalysisKey analysis = BuildAnalysisKey(Frames(96000), request, "p");
    const ProcessingKey processing = BuildProcessingKey(Frames(96000), request, "p");
    PreviewCache cache;
    cache.StorePreMatch(range, Frames(4));
    cache.StoreStage3(processing, Frames(4), {});
    cache.StoreAddonCheckpoint(ChainPreLimiter, processing, Frames(4), {});
    ASSERT_EQ(cache.FindResumePoint(PreviewStage4, range, analysis, processing),
              ResumePostPreLimiter);

    cache.InvalidateAddonCheckpoint(ChainPreLimiter);
    EXPECT_EQ(cache.Checkpoint(ResumePostPreLimiter), nullptr);
    EXPECT_EQ(cache.FindResumePoint(PreviewStage4, range, analysis, processing), ResumeStage3);

    cache.InvalidatePreMatch();
    EXPECT_EQ(cache.FindResumePoint(PreviewStage1, range, analysis, processing), ResumeFromStart);

    cache.Clear();
    EXPECT_EQ(cache.FindResumePoint(PreviewClean, range, analysis, processing), ResumeFromStart);
    EXPECT_EQ(cache.Checkpoint(ResumeStage3), nullptr);
    EXPECT_THROW(cache.StoreAddonCheckpoint(ChainPreMatch, processing, {}, {}), std::out_of_range);
}

TEST(PreviewCache, RangeKeysMatchWithinATenthOfAMillisecond)
{
    const PreviewRangeKey stored = RangeKey(1.0, 3.0);
    struct Case
    {
        const char* name;
        double startShift;
        double endShift;
        bool matches;
    };
    const Case cases[] = {
        {"same range", 0.0, 0.0, true},
        {"start moved by 0.05 ms", 0.00005, 0.0, true},
        {"end moved back by 0.05 ms", 0.0, -0.00005, true},
        {"start moved by 1 ms", 0.001, 0.0, false},
        {"end moved by 1 ms", 0.0, 0.001, false},
        {"NaN start", NAN, 0.0, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RangeKeysMatch(stored, RangeKey(1.0 + c.startShift, 3.0 + c.endShift)),
                  c.matches);
    }

    PreviewRangeKey otherTrack = stored;
    otherTrack.sourceHash ^= 1;
    EXPECT_TRUE(RangePlacesMatch(stored, otherTrack));
    EXPECT_FALSE(RangeKeysMatch(stored, otherTrack)) << "another track of the same length matched";
    PreviewRangeKey longerTrack = stored;
    longerTrack.sourceFrames += 1;
    EXPECT_FALSE(RangeKeysMatch(stored, longerTrack));
    PreviewRangeKey otherRate = stored;
    otherRate.internalSampleRate = 96000;
    EXPECT_FALSE(RangeKeysMatch(stored, otherRate));

    // The pre-match state follows the same rule.
    PreviewCache cache;
    cache.StorePreMatch(stored, Frames(4));
    EXPECT_EQ(cache.FindResumePoint(PreviewStage1, RangeKey(1.00005, 3.0), {}, {}), ResumePreMatch);
    EXPECT_EQ(cache.FindResumePoint(PreviewStage1, RangeKey(1.001, 3.0), {}, {}), ResumeFromStart);
}

TEST(PreviewCache, ProfileKeyNamesTheProfileButNotItsDescription)
{
    ReferenceProfile profile = BuildSyntheticDefaultProfile();
    profile.name = "Warm";
    profile.createdAt = "2024-05-01T10:00:00Z";
    profile.sourcePath = "/music/ref.wav";
    profile.sampleRate = 48000;
    profile.fftSize = 4096;
    EXPECT_EQ(BuildProfileKey(profile), "Warm|2024-05-01T10:00:00Z|/music/ref.wav|48000|4096");

    struct Case
    {
        const char* name;
        void (*change)(ReferenceProfile&);
        bool keyChanges;
    };
    const Case cases[] = {
        {"description", [](ReferenceProfile& p) { p.description = "brighter"; }, false},
        {"name", [](ReferenceProfile& p) { p.name = "Cold"; }, true},
        {"creation time", [](ReferenceProfile& p) { p.createdAt = "2024-05-01T10:00:01Z"; }, true},
        {"source path", [](ReferenceProfile& p) { p.sourcePath = "/music/other.wav"; }, true},
        {"sample rate", [](ReferenceProfile& p) { p.sampleRate = 44100; }, true},
        {"FFT size", [](ReferenceProfile& p) { p.fftSize = 2048; }, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ReferenceProfile changed = profile;
        c.change(changed);
        EXPECT_EQ(BuildProfileKey(changed) != BuildProfileKey(profile), c.keyChanges);
    }

    // The texts are joined without escaping, so a "|" can move between them.
    ReferenceProfile a = profile;
    a.name = "A|B";
    a.createdAt = "C";
    ReferenceProfile b = profile;
    b.name = "A";
    b.createdAt = "B|C";
    EXPECT_EQ(BuildProfileKey(a), BuildProfileKey(b));
}

TEST(PreviewCache, AnalysisAndProcessingKeysCoverTheirSettingsExactly)
{
    const AudioBuffer range = Frames(96000);
    EngineRequest request;
    const AnalysisKey analysis = BuildAnalysisKey(range, request, "p");
    EXPECT_EQ(analysis.frames, 96000u);
    EXPECT_EQ(analysis.sideAmount, 1.0);

    EngineRequest stage2Blend = request;
    stage2Blend.settings.stage2Strength = 0.2;
    stage2Blend.settings.adaptiveStrength = true;
    EXPECT_EQ(BuildAnalysisKey(range, stage2Blend, "p"), analysis)
        << "the stage-2 blend changed the analysis key";
    EXPECT_NE(BuildProcessingKey(range, stage2Blend, "p"), BuildProcessingKey(range, request, "p"));

    EngineRequest stage4 = request;
    stage4.settings.stage4LimiterStrength = 0.3;
    stage4.settings.limiterMode = 2;
    stage4.settings.stage4LoudnessStrength = 0.5;
    EXPECT_EQ(BuildProcessingKey(range, stage4, "p"), BuildProcessingKey(range, request, "p"))
        << "a stage-4 setting reached the processing key";

    // The side amount is the product of width and boost, as stage 2 reads it.
    EngineRequest sameProduct = request;
    sameProduct.settings.stereoWidthAmount = 2.0;
    sameProduct.settings.stereoBoostAmount = 0.5;
    EXPECT_EQ(BuildAnalysisKey(range, sameProduct, "p"), analysis);

    EngineRequest notANumber = request;
    notANumber.settings.floor = NAN;
    const AnalysisKey nanKey = BuildAnalysisKey(range, notANumber, "p");
    EXPECT_FALSE(nanKey == nanKey) << "a NaN setting matched itself";
}

namespace
{

// Another value of a setting: doubled, halved, flipped, or moved off zero.
int Changed(int value)
{
    return value == 0 ? 1 : 2 * value;
}

double Changed(double value)
{
    return value == 0.0 ? 0.5 : 0.5 * value;
}

bool Changed(bool value)
{
    return !value;
}

} // namespace

// A setting that the stages up to 3 read but that the key of their stored state
// leaves out would replay a stale preview without a word. The table places each
// setting at the first point of the chain that reads it; every state from there
// on must be keyed by it, and no earlier state may be. What ToneSettingsOf and
// DynamicsSettingsOf read must lie at or before stage 2 and stage 3.
TEST(PreviewCache, KeysHoldEverySettingWhereTheSettingTableSaysStagesReadIt)
{
    const AudioBuffer source = Frames(9600);
    const LateStageInputs late;
    const auto keysOf = [&](const EngineRequest& request)
    {
        const AudioBuffer prepared = ExtractPreviewRange(source, 0.0, 0.2, request);
        return std::pair(BuildAnalysisKey(prepared, request, "p"),
                         BuildProcessingKey(prepared, request, "p"));
    };
    const EngineRequest request;
    const auto [analysis, processing] = keysOf(request);
    const ToneMatchSettings tone = ToneSettingsOf(request.settings);
    const DynamicsSettings dynamics = DynamicsSettingsOf(request.settings, late, 1.0, 48000);

    for (const MatchSettingField& field : kMatchSettingFields)
    {
        SCOPED_TRACE(field.name);
        EngineRequest changed;
        std::visit([&](auto member)
                   { changed.settings.*member = Changed(request.settings.*member); },
                   field.member);
        const auto [changedAnalysis, changedProcessing] = keysOf(changed);
        const int scope = field.previewScope;

        EXPECT_EQ(changedAnalysis != analysis, scope >= PreviewStage2)
            << "the stage-2 state's key does not follow the setting's scope " << scope;
        EXPECT_EQ(changedProcessing != processing, scope >= PreviewStage3)
            << "the stage-3 checkpoints' key does not follow the setting's scope " << scope;
        if (ToneSettingsOf(changed.settings) != tone)
        {
            EXPECT_GE(scope, PreviewStage2PostFft) << "stage 2 reads a setting placed after it";
        }
        if (DynamicsSettingsOf(changed.settings, late, 1.0, 48000) != dynamics)
        {
            EXPECT_GE(scope, PreviewStage3) << "stage 3 reads a setting placed after it";
        }
    }
}
