#pragma once

#include "controls/graphs/graph_feed.h"
#include "engine/audio_buffer.h"
#include "platform/mfc/afxwin.h"

// What every analysis graph is fed: its own copy of the audio, the cursor,
// the window length and whether monitoring plays. A graph derives from it,
// hears of each change in FeedChanged, and paints on WM_PAINT.
class CAnalysisGraphBase : public CWnd
{
public:
    static constexpr double kDefaultWindowSec = 0.055;
    static constexpr double kShortestWindowSec = kShortestGraphWindowSec;
    static constexpr double kLongestWindowSec = kLongestGraphWindowSec;

    // Copies `source` unless the copy already holds the same rate and samples.
    void SetAudio(const AudioBuffer& source);
    // At least 0; a NaN is ignored.
    void SetCursor(double seconds);
    // Held to 0.02..0.25 s; a change below 1e-4 or a NaN is ignored.
    void SetWindowSeconds(double seconds);
    void SetPlaying(bool playing);

    const AudioBuffer& Audio() const { return audio; }
    double CursorSeconds() const { return cursorSec; }
    double WindowSeconds() const { return windowSec; }
    bool IsPlaying() const { return playing; }

protected:
    // After a change of the copy, the cursor or the window.
    virtual void FeedChanged() {}
    // Invalidates without erase, when the window exists.
    void Repaint();

    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }

    AudioBuffer audio;
    double cursorSec = 0.0;
    double windowSec = kDefaultWindowSec;
    bool playing = false;
};
