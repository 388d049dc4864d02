#pragma once

#include "controls/switches/selection_control.h"
#include "platform/gdiplus/gdiplus.h"

// The switch's face: its caption over a rounded strip of equal segments, the
// selected one filled with the accent.
void DrawSegmentSwitch(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                       const SegmentSwitchState& s);

// The whole picture without a window: nothing for an empty rectangle, the
// background colour alone when blank, else the background and the face.
void RenderSegmentSwitch(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state, const SegmentSwitchState& s);

// A caption over segments of which one is always selected; a click selects
// the segment pressed and released on and the wheel steps, each ending with a
// commit. Its value is the selected index spread over 0..1.
class CSegmentSwitchWnd : public CSelectionControl
{
    DECLARE_DYNAMIC(CSegmentSwitchWnd)

public:
    CSegmentSwitchWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    CSize GetPreferredSize() const override { return CSize(160, 80); }

    // Replaces the labels; the selection stays in range and nothing is sent.
    void SetLabels(const std::vector<CString>& list) { ReplaceLabels(list); }

    int HitTest(CPoint point) const override;

protected:
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()
};
