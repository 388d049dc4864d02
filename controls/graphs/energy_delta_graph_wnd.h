#pragma once

#include "controls/graphs/energy_delta_bands.h"
#include "controls/graphs/paired_audio_graph_base.h"
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
class CEnergyDeltaGraphWnd : public CPairedAudioGraphBase
{
    DECLARE_DYNAMIC(CEnergyDeltaGraphWnd)

public:
    static constexpr UINT kCodexId = 12962;

    struct State
    {
        CSize size;
        EnergyBars bars;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    // Measures the bands of both copies at the cursor.
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kCodexId);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
