#include "engine/engine_request.h"

#include "engine/settings/canonical_values.h"

#include <algorithm>
#include <stdexcept>

const char* PreviewScopeName(int scope)
{
    static const char* const names[] = {
        "Clean",         "OutputOnly",  "stage4",
        "PRELIMITER",    "STEREOIMAGE", "POSTMATCHDYNAMICS",
        "POSTMATCHTONE", "stage3",      "stage2PostFft",
        "stage2",        "stage1",      "PREMATCH",
        "FromStart",
    };
    if (scope < 0 || scope >= static_cast<int>(std::size(names)))
    {
        return "Unknown";
    }
    return names[scope];
}

void EngineRequest::ReportProgress(double fraction, const char* stageText) const
{
    if (cancel && cancel())
    {
        throw std::runtime_error(kProcessingCancelledText);
    }
    if (progress)
    {
        // NaN is not a position in the run; report it as the start rather than
        // hand a meaningless number to a progress bar.
        const double clamped = fraction > 0.0 ? std::min(fraction, 1.0) : 0.0;
        progress(clamped, stageText);
    }
}

bool EngineRequest::SetCanonicalValue(const std::string& section, const std::string& key,
                                      double value)
{
    return WriteCanonicalValue(settings, section, key, value);
}
