#pragma once

#include "controls/layout/designer_layout.h"
#include "grid/control_catalog.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"

// Sent to the parent whenever the selection changes through the grid: wParam
// is the selected instance id (-1 none), lParam the grid.
constexpr UINT WMU_DESIGNER_SELECTION = WM_APP + 322; // 0x8142

// The new item a catalogue entry gives: the kind's sample texts, values and
// steps, parameter id "ITEM_<counter>".
DesignerItem MakeSampleDesignerItem(const ControlCatalogEntry& entry, int instanceId, int counter,
                                    bool drawBorder, bool drawBackground);

// The designer's editing surface: the layout's items on a grid of square
// cells. A press selects, a drag moves an item or (on a handle) changes its
// span, Delete removes it; a move or resize is committed on release only when
// its target cells are free.
class CDesignerGridWnd : public CWnd
{
    DECLARE_DYNAMIC(CDesignerGridWnd)

public:
    static constexpr UINT kControlId = 20482;
    static constexpr int kOrigin = 12;
    static constexpr int kHandleSize = 10;
    static constexpr int kSearchColumns = 16;
    static constexpr int kSearchRows = 64;

    enum DragMode : int
    {
        DragNone = 0,
        DragMove = 1,
        DragWidth = 2,
        DragHeight = 3,
    };

    // The cell geometry a layout is drawn and hit with. A stored cell size
    // below 1 or a negative gap would give a pitch that never advances, so
    // both are held here; the layout keeps its own values.
    struct Geometry
    {
        int cellSize = 40;
        int padding = 2;
        int Pitch() const { return cellSize + padding; }
        RECT CellRect(int gridX, int gridY, int spanX, int spanY) const;
        RECT ItemRect(const DesignerItem& item) const;
        static RECT WidthHandle(const RECT& item);
        static RECT HeightHandle(const RECT& item);
    };
    static Geometry GeometryOf(const DesignerLayout& layout);

    struct State
    {
        DesignerLayout layout;
        int selectedId = -1;
        int dragMode = DragNone;
        bool dropPreviewVisible = false;
        DesignerItem dropPreviewItem;
        bool dragPreviewVisible = false;
        POINT dragPreviewCell{0, 0};
        SIZE dragPreviewSpan{1, 1};
        bool dragPreviewValid = false;
        SIZE size{};
    };
    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    ~CDesignerGridWnd() override;

    BOOL Create(const RECT& rect, CWnd* parent);

    void SetLayout(const DesignerLayout& source);
    void AddItem(const ControlCatalogEntry& entry);
    bool DropAt(const ControlCatalogEntry& entry, POINT client);
    void UpdateDropPreview(const ControlCatalogEntry* entry, POINT screen);
    bool IsAreaFree(int excludedId, int col, int row, int spanX, int spanY) const;

    // The dialog reads these and writes pluginId, cellSize, padding, the flags
    // and the selected item's fields directly.
    DesignerLayout layout;
    int nextInstanceId = 1;
    int selectedId = -1;
    int dragMode = DragNone;
    POINT dragStartCell{0, 0};
    POINT dragStartPoint{0, 0};
    SIZE dragStartSpan{1, 1};
    bool newItemDrawBorder = false;
    bool newItemDrawBackground = false;
    bool dropPreviewVisible = false;
    DesignerItem dropPreviewItem;
    bool dragPreviewVisible = false;
    POINT dragPreviewCell{0, 0};
    SIZE dragPreviewSpan{1, 1};
    bool dragPreviewValid = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    DECLARE_MESSAGE_MAP()

private:
    DesignerItem* FindItem(int instanceId);
    // The first free cell from (startCol, startRow) on, as DropAt searches.
    bool FindFreeCell(const DesignerItem& item, int startCol, int startRow, POINT& cell) const;
    bool StartCellAt(POINT client, int& col, int& row) const;
    void Repaint();
    void TellSelection();
    // Ends a move or resize without committing it.
    void EndDrag();
};
