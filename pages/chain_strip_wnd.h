#pragma once

#include "grid/grid_offset_bar_wnd.h"
#include "pages/addon_glyphs.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/win_messages.h"

#include <optional>
#include <string>
#include <vector>

namespace Gdiplus
{
class Graphics;
}

// The band across the top of the expert page: the whole processing chain as a
// row of groups, one per chain position, each a row of cards. The strip holds
// no chain logic: it draws the groups it is given and reports every gesture to
// its parent, which hands it a new list. The main view builds the same
// records from the document, so they are defined here once.

// One card of a group.
struct ChainStripEntry
{
    std::string id;    // a stage id ("stage2", "stage3", "stage4") or an add-on id
    std::string title; // the card's title bar
    COLORREF color = 0x767676;
    bool selected = false;
    bool enabled = true; // false: bypassed, drawn in the disabled palette
    AddonGlyph glyph = kNoAddonGlyph;
};

// One chain position.
struct ChainStripGroup
{
    std::string key;       // "PREMATCH", ..., or "match" / "stage4" for the engine groups
    std::string shortCode; // header text while the group has no cards
    std::string title;     // header text while it has cards
    COLORREF color = 0;
    std::vector<ChainStripEntry> entries;
    bool editable = false; // cards get a remove button; the group ends with an add button
};

// Equal lists, the cards' `selected` flags aside.
bool ChainStripGroupsEqual(const std::vector<ChainStripGroup>& a,
                           const std::vector<ChainStripGroup>& b);

enum ChainStripHitKind
{
    kChainStripCard = 0,
    kChainStripAddButton = 1,
    kChainStripRemoveButton = 2,
};

struct ChainStripHitRect
{
    int kind = kChainStripCard;
    int groupIndex = 0;
    int entryIndex = 0; // -1 for an add button
    RECT rect{};        // strip client coordinates, scroll applied
};

enum ChainStripActionKind
{
    kChainStripSelect = 0,
    kChainStripToggleEnabled = 1,
    kChainStripAdd = 2,
    kChainStripRemove = 3,
};

// lParam of WMU_CHAIN_STRIP_ACTION (wParam 0), on the sender's stack and
// valid during the call only.
struct ChainStripAction
{
    int action = kChainStripSelect;
    std::string groupKey;
    std::string entryId; // empty for an add
    int entryIndex = -1;
};

constexpr UINT WMU_CHAIN_STRIP_ACTION = WM_APP + 272; // 0x8110

constexpr UINT kChainStripId = 8800;
constexpr UINT kChainStripBarId = 8801;
constexpr UINT kChainEntryMenuId = 326;
constexpr UINT kChainEntryToggleCommand = 32780;

// Where one group lies: its first rectangle's left edge and its width (0 for a
// group that is not drawn).
struct ChainStripGroupSpan
{
    int left = 0;
    int width = 0;
};

struct ChainStripLayout
{
    int contentWidth = 0;
    std::vector<ChainStripHitRect> hitRects; // in the order they are emitted
    std::vector<ChainStripGroupSpan> groups; // one per group
};

// The layout over `client` with the content scrolled left by `scrollOffset`.
ChainStripLayout ComputeChainStripLayout(const std::vector<ChainStripGroup>& groups,
                                         const RECT& client, int scrollOffset);

// A remove button first, then any rectangle holding the point.
std::optional<ChainStripHitRect> HitTestChainStrip(const std::vector<ChainStripHitRect>& hitRects,
                                                   POINT point);

class CChainStripWnd : public CWnd
{
    DECLARE_DYNAMIC(CChainStripWnd)

public:
    // What a paint shows. The groups are borrowed for the paint only.
    struct State
    {
        CSize size;
        const std::vector<ChainStripGroup>* groups = nullptr;
        COLORREF backgroundColor = 0x100E0C;
        int scrollOffset = 0;
        int hoverGroup = -1;
        int hoverEntry = -1;
        int hoverKind = 0;
    };

    // Creates the window as the viewport does (double clicks reach it).
    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    void RecomputeLayout();
    int ClampScroll(int offset) const;
    std::optional<ChainStripHitRect> HitTest(POINT point) const;

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    std::vector<ChainStripGroup> groups;
    COLORREF backgroundColor = 0x100E0C;
    int scrollOffset = 0;
    int contentWidth = 0;
    std::vector<ChainStripHitRect> hitRects;
    int hoverGroup = -1;
    int hoverEntry = -1;
    int hoverKind = 0;
    bool trackingMouse = false;
    AddonGlyphPainter glyphPainter;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnContextMenu(CWnd*, CPoint) {}
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    // Sends `action` to the parent, when there is one; false when the strip
    // lost its window during the call.
    bool SendAction(const ChainStripAction& action);
    void ShowHoverCursor() const;
};

// The strip's host: the strip above a 12-px horizontal offset bar that
// scrolls it; the strip's actions go on to the viewport's parent unchanged.
class CChainStripViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CChainStripViewportWnd)

public:
    // Creates the viewport's own window (the page does this), then its children.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    void EnsureChildren();
    void LayoutChildren();
    void SetBackgroundColor(COLORREF color);
    void SetGroups(const std::vector<ChainStripGroup>& groups);
    const std::vector<ChainStripGroup>& GetGroups() const { return strip.groups; }

    CChainStripWnd strip;
    CGridOffsetBarWnd bar;
    COLORREF backgroundColor = 0x100E0C;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnBarCommit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStripAction(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
