#pragma once

#include "controls/graphs/energy_delta_bands.h"
#include "engine/audio_buffer.h"
#include "platform/mfc/afxwin.h"

namespace Gdiplus
{
class Graphics;
}

// Eighteen log-spaced bands around the cursor as bars: the processed level
// less the unprocessed level, up or down from a middle line (Delta), or,
// without a processed preview, the unprocessed levels up from a floor
// (Profile). It takes no input.
class CEnergyDeltaGraphWnd : public CWnd
{
    DECLARE_DYNAMIC(CEnergyDeltaGraphWnd)

public:
    static constexpr UINT kCodexId = 12962;
    static constexpr double kDefaultWindowSec = 0.12;

    struct State
    {
        CSize size;
        EnergyBars bars;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    // Measures the bands of both copies at the cursor.
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kCodexId);

    // Each copies the buffer whole and repaints.
    void SetSourceAudio(const AudioBuffer& audio);
    void SetProcessedAudio(const AudioBuffer& audio);
    // At least 0; repaints on a change of 1e-4 s or more; a NaN is ignored.
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
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
