#pragma once

#include "controls/graphs/tone_levels.h"
#include "controls/graphs/paired_audio_graph_base.h"
#include "engine/audio_buffer.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"

#include <array>
#include <optional>

// The level of four broad bands around the cursor as one smooth curve: the
// processed audio against the unprocessed (Delta) when a processed copy is
// there, the unprocessed levels themselves (Profile) otherwise. It takes no
// input.
class CToneGraphWnd : public CPairedAudioGraphBase
{
    DECLARE_DYNAMIC(CToneGraphWnd)

public:
    struct State
    {
        CSize size;
        ToneCurve curve;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    // The curve's points: the left end of the baseline, the four bands, the
    // right end; none for a plot under 120 x 60 pixels.
    using CurvePoints = std::array<Gdiplus::PointF, kToneBands + 2>;
    static std::optional<CurvePoints> CurvePointsOf(const State& state);

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
