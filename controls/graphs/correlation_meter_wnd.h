#pragma once

#include "controls/graphs/analysis_graph_base.h"

namespace Gdiplus
{
class Graphics;
}

// The phase correlation of left and right in a short window around the
// cursor, as a number and a bar from -1 to +1. Recomputed when it is fed,
// not when it paints. It takes no input.
class CCorrelationMeterWnd : public CAnalysisGraphBase
{
    DECLARE_DYNAMIC(CCorrelationMeterWnd)

public:
    struct State
    {
        CSize size;
        double correlation = 1.0;
        bool playing = false;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);
    double ComputeCorrelation() const;
    double GetCorrelation() const { return correlation; }

protected:
    void FeedChanged() override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    double correlation = 1.0;
};

// The correlation of `audio`'s channels over at least 64 frames (or the
// window) centred on the cursor; silence and no audio read 1.
double CorrelationAt(const AudioBuffer& audio, double cursorSec, double windowSec);
