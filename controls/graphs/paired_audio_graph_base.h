#pragma once

#include "engine/audio_buffer.h"
#include "platform/mfc/afxwin.h"

// What the graphs that set processed audio against unprocessed audio are fed:
// a copy of each, the cursor, the window length and whether monitoring plays.
// A graph derives from it and paints both copies on WM_PAINT.
class CPairedAudioGraphBase : public CWnd
{
public:
    static constexpr double kDefaultWindowSec = 0.12;

    // Each copies the buffer whole, every time, and repaints.
    void SetSourceAudio(const AudioBuffer& audio);
    void SetProcessedAudio(const AudioBuffer& audio);
    // At least 0; repaints on a move of 1e-4 s or more; a NaN is ignored.
    void SetCursor(double seconds);
    // Held to 0.02..0.25 s; repaints on a change of 1e-4 s or more; a NaN is
    // ignored.
    void SetWindowSeconds(double seconds);
    void SetPlaying(bool play);

    AudioBuffer sourceAudio;
    AudioBuffer processedAudio;
    double cursorSec = 0.0;
    double windowSec = kDefaultWindowSec;
    bool playing = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
};
