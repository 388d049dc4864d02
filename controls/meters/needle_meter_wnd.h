#pragma once

#include "controls/base/base_control_wnd.h"

// An analogue needle on a 230-degree dial whose scale is the display range;
// it prints the value text under the dial and takes no input.
class CNeedleMeterWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CNeedleMeterWnd)

public:
    struct State : CBaseControlWnd::State
    {
        double displayMin = -20.0;
        double displayMax = 3.0;
    };

    CNeedleMeterWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 160); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// Its own background: a fainter frame than the standard one.
void PaintNeedleMeterBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                const ControlDrawState& state);
// The dial over min..max, the needle at the value, the hub and the texts. A
// dial with no room (under 48 x 86) shows only the texts.
void DrawNeedleMeter(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                     double min, double max);
