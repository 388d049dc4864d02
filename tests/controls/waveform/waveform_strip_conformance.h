#pragma once

#include "controls/waveform/waveform_strip_wnd.h"

#include <memory>
#include <vector>

// The strip as the conformance frame uses it: created and set up as the view
// does before a track is loaded; its "values" are its times, and playing is
// the state in which it takes no input.

inline std::unique_ptr<CWnd> CreateWaveformStrip(CWnd& parent, const CRect& rect, UINT id)
{
    auto strip = std::make_unique<CWaveformStripWnd>();
    if (!strip->Create(&parent, rect, id))
    {
        return nullptr;
    }
    strip->SetDuration(12);
    strip->SetViewRange(2, 6.5, false);
    strip->SetPlayhead(2);
    strip->SetPlaybackState(false, true);
    return strip;
}

inline void SetWaveformTimes(CWnd& control, double value, bool silent)
{
    auto& strip = static_cast<CWaveformStripWnd&>(control);
    strip.SetPlayhead(value);
    strip.SetViewRange(value, value + 1, !silent);
    strip.SetZoomRange(value, 2 * value);
    strip.SetProgress(value > 0, value, L"");
    if (!silent)
    {
        strip.SetDuration(value);
    }
}

inline std::vector<double> WaveformTimes(CWnd& control)
{
    const auto& strip = static_cast<CWaveformStripWnd&>(control);
    return {strip.duration,  strip.viewStart, strip.viewEnd,         strip.playhead,
            strip.zoomStart, strip.zoomEnd,   strip.progressFraction};
}

inline void LockWaveformStrip(CWnd& control)
{
    static_cast<CWaveformStripWnd&>(control).SetPlaybackState(true, true);
}
