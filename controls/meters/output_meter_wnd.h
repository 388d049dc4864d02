#pragma once

#include "controls/base/base_control_wnd.h"

// Two vertical bars, left and right channel, over a fixed dB scale. The
// owner writes the range and moves the bars silently; it takes no input.
class COutputMeterWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(COutputMeterWnd)

public:
    struct State : CBaseControlWnd::State
    {
        double minDb = -60.0;
        double maxDb = 0.0;
    };

    COutputMeterWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(80, 320); }

    // Written directly by the owner, which repaints when it wants the change
    // seen; the display range plays no part.
    double minDb = -60.0;
    double maxDb = 0.0;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// The bars' frames, scale, lit rows and level markers of `state`'s two
// values within minDb..maxDb. A range that is empty, reversed or not finite
// shows the caption and the frames only.
void DrawOutputMeter(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                     double minDb, double maxDb);
