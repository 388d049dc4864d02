#pragma once

#include "controls/switches/selection_control.h"
#include "platform/gdiplus/gdiplus.h"

#include <vector>

// Where the menu's tabs lie: a strip inset 6 x 4, and one tab per measured
// text width, each 28 wider than its text with 4 pixels to the next. Tabs
// that would start past the strip's right edge are left out.
struct MenuBarLayout
{
    RECT strip;
    int height;
    double radius;
    std::vector<RECT> items;

    static MenuBarLayout Of(const RECT& rect, const std::vector<int>& textWidths);
};

// The widths of the tab texts in the menu's GDI font (18-point bold "Segoe
// UI" at the DC's DPI), for as many items as can start inside `rect`.
std::vector<int> MeasureMenuTabs(HDC dc, const RECT& rect, const SegmentSwitchState& s);

// The menu's face: a baseline and the tabs, the selected one filled with the
// accent and open into the page below. Measures on the screen's DC.
void DrawMenuBarControl(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state, const SegmentSwitchState& s);

// A row of text tabs of which one or none (-1) is selected; a click selects
// the tab pressed and released on, the wheel steps (back from the first tab
// to none). Notifies changes, never commits.
class CMenuBarWnd : public CSelectionControl
{
    DECLARE_DYNAMIC(CMenuBarWnd)

public:
    CMenuBarWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    CSize GetPreferredSize() const override { return CSize(160, 40); }

    // Replaces the items; no selection stays none and nothing is sent.
    void SetItems(const std::vector<CString>& list) { ReplaceLabels(list); }

    int HitTest(CPoint point) const override;

protected:
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()
};
