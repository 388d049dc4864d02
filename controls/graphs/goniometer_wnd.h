#pragma once

#include "controls/graphs/analysis_graph_base.h"
#include "platform/gdiplus/gdiplus_types.h"

#include <vector>

namespace Gdiplus
{
class Graphics;
}

// The window around the cursor as a mid/side scatter: mono stands upright,
// antiphase lies flat. It takes no input.
class CGoniometerWnd : public CAnalysisGraphBase
{
    DECLARE_DYNAMIC(CGoniometerWnd)

public:
    struct State
    {
        CSize size;
        double windowSec = kDefaultWindowSec;
        bool playing = false;
        bool hasAudio = false;
        // Each frame's side and mid, -1..1, normalised to the window's peak.
        std::vector<Gdiplus::PointF> sideMid;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// The (side, mid) of each frame of the window around the cursor (at least
// 256 frames), each -1..1 after dividing by the window's peak.
std::vector<Gdiplus::PointF> GoniometerPoints(const AudioBuffer& audio, double cursorSec,
                                              double windowSec);
