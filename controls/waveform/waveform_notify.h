#pragma once

#include "platform/win32/win_messages.h"

// What the strip tells its parent, always sent: wParam is the strip's window,
// lParam a WaveformNotify on the strip's stack, readable only during the call.
// WM_APP + 769 is left to the view's own seek message.
constexpr UINT WMU_WAVEFORM_PLAYHEAD = WM_APP + 768; // 0x8300
constexpr UINT WMU_WAVEFORM_RANGE = WM_APP + 770;    // 0x8302

// The strip's state when it sends: the play-head and the selected view range
// (the region preview and monitoring play, not the zoomed part on screen).
struct WaveformNotify
{
    int messageId = 0;
    double playhead = 0.0;
    double viewStart = 0.0;
    double viewEnd = 0.0;
    bool playing = false;
    bool playheadLit = false;
};
