#pragma once

#include "engine/audio_buffer.h"
#include "pages/preview_graph_scene.h"
#include "platform/mfc/afxwin.h"

namespace Gdiplus
{
class Graphics;
}

// The Codex page's "Reference" graph: around the play position, the
// unprocessed and the processed audio as two overlaid envelopes, and the
// gain reduction the preview recorded for the limiter and the dynamics stage
// as two lanes under the top edge. It takes no input; the page feeds it.
class CPreviewGraphWnd : public CWnd
{
    DECLARE_DYNAMIC(CPreviewGraphWnd)

public:
    static constexpr UINT kCodexId = 12961;

    // A paint's record: the client size and what the window holds, read
    // during the paint only.
    struct State
    {
        CSize size;
        PreviewGraphInput input;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kCodexId);

    // Each copies the buffer and repaints.
    void SetSourceAudio(const AudioBuffer& audio);
    void SetProcessedAudio(const AudioBuffer& audio);
    // The time at the middle of the window; repaints. A value that is not
    // finite counts as 0.
    void SetCursor(double seconds);
    // Stored only on a change of 1e-4 s or more, then repaints. A value that
    // is not finite counts as 0 (drawn as the shortest window).
    void SetWindowSeconds(double seconds);
    // Each repaints only on a change.
    void SetShowRms(bool show);
    void SetPlaying(bool play);

    AudioBuffer sourceAudio;
    AudioBuffer processedAudio;
    double cursorSec = 0.0; // the middle of the window
    double windowSec = 0.2;
    bool showRms = false;
    bool playing = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
