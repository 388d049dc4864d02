#pragma once

#include "controls/base/base_control_wnd.h"
#include "controls/base/step_index.h"

#include <vector>

// The most items a selection control shows or steps through; labels past it
// are kept but never shown.
constexpr int kMaxSelectionItems = kMaxSteps;

// What the segment switch and the menu bar paint besides the snapshot.
struct SegmentSwitchState
{
    int selectedIndex = 0;
    int count = 0;
    int hoverIndex = -1;   // -1 none
    int pressedIndex = -1; // -1 none
    std::vector<CString> labels;
};

// Item i's text: its label, or its number from 1 where there is no label.
CString SelectionItemText(const SegmentSwitchState& s, int i);

// A row of labelled items of which one is selected, shared by the segment
// switch and the menu bar: the selection and its value (index / (count - 1)),
// the labels, and the click, wheel and hover gestures over the items that the
// class's HitTest finds. Not a control of its own.
class CSelectionControl : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CSelectionControl)

public:
    struct State : CBaseControlWnd::State
    {
        SegmentSwitchState items;
    };

    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;

    // Selects lround((count - 1) x v), v clamped to 0..1; NaN is refused.
    void SetValue(double v) override;
    void SetValueSilently(double v) override;
    // The value (over the old count), then the step count or labels, then the
    // item's selected index.
    void ApplyItem(const ControlItem& item) override;

    // Clamped to the selection range; tells the parent of a change.
    void SetSelectedIndex(int index);
    int GetSelectedIndex() const { return selectedIndex; }
    int GetCount() const { return count; }
    const std::vector<CString>& GetLabels() const { return labels; }

    SegmentSwitchState GetSwitchState() const;

    // The item under a client point, -1 for none.
    virtual int HitTest(CPoint point) const = 0;

protected:
    // `lowestIndex` is 0, or -1 for a control that may have nothing selected;
    // `commits` says whether a click or wheel step ends with a commit.
    CSelectionControl(std::vector<CString> initialLabels, int lowestIndex, bool commits);

    // An empty list is ignored; the selection is clamped into the new range
    // silently.
    void ReplaceLabels(const std::vector<CString>& list);

    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnCaptureChanged(CWnd* gaining);

    DECLARE_MESSAGE_MAP()

    std::vector<CString> labels;
    int selectedIndex = 0;
    int count = 0;
    int hoverIndex = -1;
    int pressedIndex = -1;

private:
    int ClampIndex(int index) const;
    int IndexFrom(double v) const;
    void StoreSelection(int index);
    // False when the parent did away with the control while it was told.
    bool ChangeSelection(int index);
    bool InputAllowed() const;

    int lowestIndex;
    bool commits;
};
