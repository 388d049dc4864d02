#pragma once

#include "engine/settings/mastering_settings.h"

#include <functional>

// The earliest point of the chain whose inputs changed since the last preview.
// A caller that records several changes keeps the largest value; a larger
// value never recomputes less.
enum PreviewScope : int
{
    PreviewClean = 0,
    PreviewOutputOnly = 1,
    PreviewStage4 = 2,
    PreviewPreLimiter = 3,
    PreviewStereoImage = 4,
    PreviewPostMatchDynamics = 5,
    PreviewPostMatchTone = 6,
    PreviewStage3 = 7,
    PreviewStage2PostFft = 8,
    PreviewStage2 = 9,
    PreviewStage1 = 10,
    PreviewPreMatch = 11,
    PreviewFromStart = 12,
};

// The name the preview run's diagnostic header prints; "Unknown" outside 0..12.
const char* PreviewScopeName(int scope);

// The settings and the two callbacks of one run. The callables are values: a
// copy owns clones of them, so a worker's copy outlives the caller's request.
struct EngineRequest
{
    using ProgressCallback = std::function<void(double fraction, const char* stageText)>;
    using CancelCallback = std::function<bool()>;

    MatchSettings settings;
    int previewScope = PreviewFromStart;
    int logDetail = 0;
    ProgressCallback progress;
    CancelCallback cancel;

    // MasteringSettings::SetCanonicalValue on `settings`.
    bool SetCanonicalValue(const std::string& section, const std::string& key, double value);

    // Asks cancel first, so a cancelled run never reports again: throws
    // std::runtime_error("Processing cancelled") when it answers true. The
    // fraction handed on is clamped to 0..1.
    void ReportProgress(double fraction, const char* stageText) const;
};

// The exact text by which callers recognise a cancelled run.
inline constexpr const char* kProcessingCancelledText = "Processing cancelled";
