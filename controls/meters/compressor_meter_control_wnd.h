#pragma once

#include "controls/base/base_control_wnd.h"
#include "engine/audio_buffer.h"

// A gain-reduction bar that grows down from the top of its track (full scale
// 12 dB), with the track's peak behind it and the reading under it. The owner
// copies in the audio, moves the cursor and repaints; it takes no input and
// paints its whole face itself, blank or not.
class CCompressorMeterControlWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CCompressorMeterControlWnd)

public:
    struct State : CBaseControlWnd::State
    {
        float peakGainReductionDb = 0.0f;
        float gainReductionDb = 0.0f;
        bool playing = false;
    };

    CCompressorMeterControlWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(40, 240); }
    void SetBackgroundColor(COLORREF color) override;

    // The reading of `buffer`'s gain-reduction series at `cursorSec`.
    float GainReductionAtCursor() const;

    AudioBuffer buffer;
    double cursorSec = 0.0;
    bool playing = false;
    float peakGainReductionDb = 0.0f; // of the whole series, at least 0
    float gainReductionDb = 0.0f;     // at the cursor, at least 0

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
