#pragma once

#include "engine/engine_request.h"

#include <variant>

// Every field of MatchSettings, named once: the key a settings document stores
// it under, the catalogue parameter that adjusts it and the preview scope a
// change of it raises. The document reader and writer and the parameter
// catalogue work from this table, and a test holds the preview cache's keys to
// its scopes, so no setting is stored, shown or cached under a name or a scope
// of its own.
using MatchSettingMember =
    std::variant<int MatchSettings::*, double MatchSettings::*, bool MatchSettings::*>;

struct MatchSettingField
{
    MatchSettingMember member;
    const char* name;           // the field's name, and its key in a document's "match" object
    bool stored;                // false: an analysis setting that no document stores
    const char* catalogSection; // with catalogKey, the parameter; both null: none adjusts it
    const char* catalogKey;
    // The earliest point of the chain that reads the field: a change of it
    // raises this scope, and every preview state computed after that point
    // must be keyed by it.
    PreviewScope previewScope;
};

// In the order of MatchSettings; the analysis settings come first.
inline constexpr MatchSettingField kMatchSettingFields[] = {
    {&MatchSettings::internalSampleRate, "internalSampleRate", false, "session",
     "internal_sample_rate", PreviewFromStart},
    {&MatchSettings::maxPieceSeconds, "maxPieceSeconds", false, "session", "max_piece_seconds",
     PreviewStage1},
    // The PREMATCH add-ons are told the run's ceiling and floor.
    {&MatchSettings::peakCeiling, "peakCeiling", false, nullptr, nullptr, PreviewPreMatch},
    {&MatchSettings::floor, "floor", false, nullptr, nullptr, PreviewPreMatch},
    {&MatchSettings::fftSize, "fftSize", false, nullptr, nullptr, PreviewStage2},
    {&MatchSettings::linLogOversampling, "linLogOversampling", false, nullptr, nullptr,
     PreviewStage2},
    {&MatchSettings::stage3Iterations, "stage3Iterations", false, nullptr, nullptr, PreviewStage3},
    {&MatchSettings::toneReserved, "toneReserved", false, nullptr, nullptr, PreviewStage2},

    {&MatchSettings::smoothingOctaveDenominator, "smoothingOctaveDenominator", true, "stage2",
     "smoothing_octave", PreviewStage2},
    {&MatchSettings::stereoWidthAmount, "stereoWidthAmount", true, "stage2", "stereo_match",
     PreviewStage2},
    {&MatchSettings::stereoBoostAmount, "stereoBoostAmount", true, "stage2", "stereo_boost",
     PreviewStage2},
    {&MatchSettings::psychoacoustic, "psychoacoustic", true, "stage2", "psychoacoustic",
     PreviewStage2},
    {&MatchSettings::adaptiveStrength, "adaptiveStrength", true, "stage2", "adaptive_strength",
     PreviewStage2PostFft},
    {&MatchSettings::limiterMode, "limiterMode", true, "stage4", "limiter_mode", PreviewStage4},
    {&MatchSettings::limiterOversample, "limiterOversample", true, "stage4", "limiter_oversample",
     PreviewStage4},
    {&MatchSettings::stage2Strength, "stage2Strength", true, "stage2", "strength",
     PreviewStage2PostFft},
    {&MatchSettings::stage3Strength, "stage3Strength", true, "stage3", "strength", PreviewStage3},
    {&MatchSettings::stage3MacroStrength, "stage3MacroStrength", true, "stage3", "macro_strength",
     PreviewStage3},
    {&MatchSettings::stage4LoudnessStrength, "stage4LoudnessStrength", true, "stage4",
     "loudness_strength", PreviewStage4},
    {&MatchSettings::stage4LimiterStrength, "stage4LimiterStrength", true, "stage4",
     "limiter_strength", PreviewStage4},
};
