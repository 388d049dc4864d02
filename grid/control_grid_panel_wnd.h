#pragma once

#include "controls/base/base_control_wnd.h"
#include "controls/layout/control_item.h"
#include "controls/layout/designer_layout.h"
#include "grid/control_grid_messages.h"
#include "grid/grid_pack_params.h"
#include "grid/grid_packer.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// The panel's window id inside its viewport.
constexpr UINT kControlGridPanelId = 8736;

// One control of a panel: a copy of the item it was built from (by-id lookups
// and the layout export read this copy) and the control, owned.
struct ControlGridEntry
{
    ControlItem item;
    std::unique_ptr<CBaseControlWnd> control;
};

// The child window that holds one set of controls built from ControlItems.
// It creates and owns them, packs them into the cell grid (margins, optional
// centring, a scroll offset), turns its controls' notifications into
// ControlEvents for its parent and changes controls by parameter id, directly
// or through posted update records.
//
// The owner writes the fields below directly and then calls LayoutControls.
// Interface thread only, except `alive`, which a poster on any thread reads
// before it posts.
class CControlGridPanelWnd : public CWnd
{
    DECLARE_DYNAMIC(CControlGridPanelWnd)

public:
    CControlGridPanelWnd();
    ~CControlGridPanelWnd() override;

    std::vector<ControlGridEntry> entries; // in item order
    std::string name;                      // copied into every ControlEvent
    GridPackParams packParams;
    int cellSize = 40;
    int gap = 2;
    int marginX = 0; // kept free at the left and right edges
    int marginY = 0; // at the top and bottom edges
    int centreH = 0; // centring on that axis only when exactly 1
    int centreV = 0;
    int scrollX = 0; // clamped to the content by every layout
    int scrollY = 0;
    RECT content{0, 0, 0, 0}; // of the last layout, after centring, before scrolling
    COLORREF background = 0x100E0C;
    std::atomic<bool> alive{true}; // falls with WM_DESTROY, never rises again
    bool rebuilding = false;       // control notifications are dropped meanwhile

    // The window its viewport makes: "BrimvaleControlGridPanelWnd", visible.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id = kControlGridPanelId);

    // Replaces every control by new ones made from `items` and lays them out.
    // An item of an unknown kind is skipped; so is a later item repeating a
    // non-empty parameter id. Control ids count from 0x3000 and a control whose
    // window cannot be made uses its id up.
    void RebuildControls(const std::vector<ControlItem>& items);
    // Destroys every control's window, deletes the controls, empties `entries`.
    void DestroyControls();
    // Shows or hides each control by its item, packs the visible ones, clamps
    // the scroll offsets and moves every placed control in one batch; then
    // repaints at once. Does nothing without a window. A control the mode does
    // not place keeps where it was.
    void LayoutControls();
    // Offers one entry to a packing run: a live, visible control as an explicit
    // entry when its item has explicitPlacement, else as a flow entry, a new
    // band starting wherever the item's group differs from the one before.
    void AddEntryToPacker(GridPacker& packer, const ControlGridEntry& entry, bool& haveGroup,
                          int& currentGroup) const;
    // The arrangement as a layout: what the packer places at origin (0, 0),
    // in placement order, read back from the controls. Without a window, a
    // layout with no items.
    DesignerLayout ExportLayout() const;

    // False when no control matches, or the panel has no window or is dead.
    bool SetControlValueById(const std::string& parameterId, double value);
    bool SetControlTextById(const std::string& parameterId, const std::string& utf8Text);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; } // the paint fills everything
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnContextMenu(CWnd*, CPoint) {} // no menu, and the parent hears nothing
    afx_msg LRESULT OnControlChanged(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnControlCommit(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnSetControlValue(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnSetControlText(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnSetControlAccent(WPARAM, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Sends `message` with the control's ControlEvent to the parent.
    void TellParent(UINT message, LPARAM control);
    // The first entry whose control exists and whose item has `parameterId`.
    CBaseControlWnd* FindControl(const std::string& parameterId) const;
    // A run's parameters: the usable width filled in for the fitted modes.
    GridPackParams PackParamsFor(const RECT& client) const;
    // One packer at `originX`, `originY` with every entry offered to it.
    void FillPacker(GridPacker& packer, int originX, int originY) const;
    // Puts every placed control at its rectangle, batched when it can.
    void MoveControls(const std::vector<GridPlacement>& placements);
};
