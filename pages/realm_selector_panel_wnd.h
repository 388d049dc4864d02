#pragma once

#include "pages/card_list_scroll.h"
#include "pages/library_entry.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/win_messages.h"

#include <string>
#include <vector>

namespace Gdiplus
{
class Graphics;
}

// The list from which the user picks a reference profile, a mastering style
// or a preset after clicking a realm pill's value box: two columns of cards,
// "FACTORY" and "CUSTOM", the current choice marked with an accent bar,
// scrolled with the wheel or a thin bar of its own. A click on a card and the
// Escape key go to the parent; what they do is the parent's business.

// A card was clicked: lParam a RealmItemPick on the panel's stack, valid
// during the call only.
constexpr UINT WMU_REALM_ITEM_PICKED = WM_APP + 277; // 0x8115
// Escape was pressed; wParam and lParam 0.
constexpr UINT WMU_REALM_PANEL_CANCEL = WM_APP + 278; // 0x8116

struct RealmItemPick
{
    bool fromFactory = false;
    int index = 0;
    std::string path; // empty when the index is outside the list
    std::string name; // empty when the index is outside the list
};

// The panel's geometry for one client size, list lengths, measured name
// widths and scroll offset.
struct RealmPanelLayout
{
    int contentHeight = 0;
    int leftX = 0;
    int leftWidth = 0;
    int rightX = 0;
    int rightWidth = 0;
    int factoryNameWidth = 0;
    int customNameWidth = 0;
    std::vector<CardHitRect> rows; // FACTORY cards first, then CUSTOM
    RECT trackRect{};
    RECT thumbRect{};
};

RealmPanelLayout ComputeRealmPanelLayout(int width, int height, int factoryCount, int customCount,
                                         int factoryNameWidth, int customNameWidth,
                                         int scrollOffset);

// A column's name width: the widest display name, measured as the cards draw
// it on the screen's DC, truncated, plus 35 (35 for an empty column).
int MeasureRealmNameWidth(const std::vector<LibraryEntry>& entries);

class CRealmSelectorPanelWnd : public CWnd
{
    DECLARE_DYNAMIC(CRealmSelectorPanelWnd)

public:
    // What a paint shows. The entries are borrowed for the paint only.
    struct State
    {
        CSize size;
        const std::vector<LibraryEntry>* factoryEntries = nullptr;
        const std::vector<LibraryEntry>* customEntries = nullptr;
        std::string selectedPath;
        COLORREF accentColor = 0xDCA050;
        COLORREF backgroundColor = 0x100E0C;
        int scrollOffset = 0;
        int factoryNameWidth = 35;
        int customNameWidth = 35;
        int hoverColumn = 0;
        int hoverIndex = -1;
        int pressedColumn = 0;
        int pressedIndex = -1;
        bool barHover = false;
        bool thumbHover = false;
        bool draggingThumb = false;
    };

    CRealmSelectorPanelWnd() = default;

    // Creates the window as the view does.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    // Each returns to the top and forgets the hover and pressed cards.
    void SetFactoryEntries(const std::vector<LibraryEntry>& entries);
    void SetCustomEntries(const std::vector<LibraryEntry>& entries);
    // These store and repaint only on a change.
    void SetSelectedPath(const std::string& path);
    void SetAccentColor(COLORREF color);
    void SetBackgroundColor(COLORREF color);
    void UpdateLayout();
    // Tells the parent, when there is one.
    void NotifyPick(bool fromFactory, int index);

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    std::vector<LibraryEntry> factoryEntries;
    std::vector<LibraryEntry> customEntries;
    std::string selectedPath;
    COLORREF accentColor = 0xDCA050;
    COLORREF backgroundColor = 0x100E0C;
    int scrollOffset = 0;
    int contentHeight = 0;
    int factoryNameWidth = 0;
    int customNameWidth = 0;
    std::vector<CardHitRect> rows;
    RECT trackRect{};
    RECT thumbRect{};
    int hoverColumn = 0;
    int hoverIndex = -1;
    int pressedColumn = 0;
    int pressedIndex = -1;
    bool barHover = false;
    bool thumbHover = false;
    bool draggingThumb = false;
    int dragStartY = 0;
    int dragStartScroll = 0;
    bool trackingMouse = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    DECLARE_MESSAGE_MAP()

private:
    void ReplacedEntries();
    CSize ClientSize() const;
    CardScrollBar Bar() const { return {trackRect, thumbRect}; }
    CardScrollFields Fields()
    {
        return {scrollOffset, contentHeight, Bar(),      barHover,
                thumbHover,   draggingThumb, dragStartY, dragStartScroll};
    }
};
