#pragma once

#include "grid/control_catalog.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"

#include <vector>

// What the palette tells its parent, by entry index (wParam); lParam is the
// palette for SELECT and ADD, a screen point packed by MAKELPARAM for DRAG and
// DROP, and -1 (the whole LPARAM) for a DRAG that says "no drop after all".
constexpr UINT WMU_PALETTE_SELECT = WM_APP + 320; // 0x8140
constexpr UINT WMU_PALETTE_ADD = WM_APP + 321;    // 0x8141
constexpr UINT WMU_PALETTE_DRAG = WM_APP + 324;   // 0x8144
constexpr UINT WMU_PALETTE_DROP = WM_APP + 325;   // 0x8145

// The designer's column of control kinds: one card per catalogue entry with
// the kind's preview icon, its name and its default span. A click selects a
// card, a double-click adds its kind, a drag carries it to the grid; every
// gesture goes to the parent as a message, the palette itself places nothing.
class CDesignerPaletteWnd : public CWnd
{
    DECLARE_DYNAMIC(CDesignerPaletteWnd)

public:
    static constexpr UINT kControlId = 20481;
    static constexpr int kCardPitch = 100; // cards are this far apart
    static constexpr int kDragDistance = 4;
    static constexpr int kWheelStep = 32;

    struct EntryRects
    {
        RECT card;
        RECT icon; // 64 x 64
        RECT title;
        RECT text;
    };

    struct State
    {
        std::vector<ControlCatalogEntry> entries;
        int selectedEntry = -1;
        int scrollOffset = 0;
        SIZE size{};
    };

    // Card i's rectangles in a client of `width` scrolled by `scrollOffset`.
    static EntryRects EntryRectsIn(int index, int width, int scrollOffset);
    // The cards that overlap the client, over the palette's background.
    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    ~CDesignerPaletteWnd() override;

    BOOL Create(const RECT& rect, CWnd* parent);

    // Replaces the cards; a selection past the new end becomes the first card
    // (none when there are no cards).
    void SetEntries(const std::vector<ControlCatalogEntry>& newEntries);
    // The card under a client point, -1 for none.
    int HitTest(POINT point) const;
    EntryRects GetEntryRects(int index) const;

    int GetSelectedEntry() const { return selectedEntry; }
    int GetScrollOffset() const { return scrollOffset; }
    int GetPressedIndex() const { return pressedIndex; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    DECLARE_MESSAGE_MAP()

private:
    // Sends to the parent; false when the palette was destroyed meanwhile.
    bool Tell(UINT message, WPARAM wParam, LPARAM lParam);
    LPARAM PackedScreenPoint(CPoint client) const;
    int ClientWidth() const;
    void EndGesture();

    std::vector<ControlCatalogEntry> entries;
    int selectedEntry = -1;
    int scrollOffset = 0;
    int pressedIndex = -1;
    bool dragStarted = false;
    POINT pressPoint{0, 0};
};
