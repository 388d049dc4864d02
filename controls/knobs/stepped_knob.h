#pragma once

#include "controls/base/base_control_wnd.h"
#include "controls/knobs/stepped_knob_face.h"

#include <vector>

// What the two stepped knobs share: a selection of one of 2 to 32 steps
// spread over the knob's scale, whose value is the step over (count - 1),
// and the gestures. A press selects the step at its angle and starts a drag
// in which every 48 pixels to the right or upwards advance one step; the
// wheel steps once a notch and commits. A message goes out only when the
// step changes. There is no double-click: two quick clicks are two presses.
class CSteppedKnob : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CSteppedKnob)

public:
    struct State : CBaseControlWnd::State
    {
        SteppedKnobState knob;
    };

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    // A NaN is refused: it would round to any step.
    void SetValue(double v) override;
    void SetValueSilently(double v) override;
    // The value (over the present count), then the item's labels or step
    // count, then its selected index.
    void ApplyItem(const ControlItem& item) override;

    // Held to the steps there are; tells the parent of a change.
    void SetSelectedIndex(int index);
    int GetSelectedIndex() const { return selectedIndex; }
    int GetStepCount() const { return stepCount; }
    const std::vector<CString>& GetStepLabels() const { return stepLabels; }
    KnobSize GetKnobSize() const { return knobSize; }
    bool IsDragging() const { return dragging; }
    bool IsHovered() const { return hover; }

    State GetState() const;

protected:
    CSteppedKnob(KnobSize size, int initialIndex);

    KnobGeometry Geometry() const;

    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);

    DECLARE_MESSAGE_MAP()

    const KnobSize knobSize;
    std::vector<CString> stepLabels;
    int selectedIndex;
    int stepCount = 5;
    bool showPointer = false;
    POINT dragStartPoint{0, 0};
    int dragStartIndex = 0;

private:
    bool TakesInput() const;
    int ClampIndex(int index) const;
    // Stores a step count already held to 2..32, keeping the selection on a step.
    void ChangeStepCount(int count);
    // The step a press at `point` selects.
    int PressedStep(CPoint point) const;
};
