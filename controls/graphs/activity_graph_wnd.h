#pragma once

#include "controls/graphs/activity_envelopes.h"
#include "engine/audio_buffer.h"
#include "platform/mfc/afxwin.h"

#include <vector>

namespace Gdiplus
{
class Graphics;
}

// The level envelopes of the unprocessed and processed audio over the whole
// view range as mirrored bands around a centre line, the gain reduction of
// the limiter and of the dynamics stage as traces above it, a cursor band at
// the play position and a time axis. It analyses its buffers once per feed,
// so a paint or a cursor move costs only drawing. It takes no input.
class CActivityGraphWnd : public CWnd
{
    DECLARE_DYNAMIC(CActivityGraphWnd)

public:
    static constexpr UINT kCodexId = 12965;

    struct State
    {
        CSize size;
        bool hasProcessedAudio = false;
        ActivityAnalysis derived;
        double cursorFraction = 0.0; // drawn clamped to [0, 1], a NaN as 0
        bool playing = false;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kCodexId);

    // Each copies the buffer whole, derives the envelopes and traces again and
    // repaints.
    void SetSourceAudio(const AudioBuffer& audio);
    void SetProcessedAudio(const AudioBuffer& audio);
    // The play position as a fraction of the processed length; repaints on a
    // change above 1e-6.
    void SetCursorFraction(double fraction);
    void SetPlaying(bool play);

    // Derives `derived` from the two buffers.
    void RebuildEnvelopes();

    AudioBuffer sourceAudio;
    AudioBuffer processedAudio;
    // The envelopes, traces and duration, rebuilt at each feed.
    ActivityAnalysis derived;
    double cursorFraction = 0.0;
    bool playing = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
