#pragma once

#include "platform/mfc/wnd.h"

#include <memory>
#include <vector>

class CMenuTracker;

// What a menu tracker tells whoever opened it (the menu bar, TrackPopupMenu).
class CMenuTrackerHost
{
public:
    enum class Dismissal
    {
        Escape,       // Escape in the first popup
        ClickOutside, // a press outside every popup (the host may take it first)
        Lost,         // capture went elsewhere (a modal loop, a window going away)
    };

    // A popup of `menu` is about to open (WM_INITMENUPOPUP).
    virtual void PopupOpening(HMENU menu, int index) = 0;
    // An enabled command item was chosen; the popups are already closed.
    virtual void CommandChosen(UINT id) = 0;
    virtual void MenuDismissed(Dismissal why) = 0;
    // Left (-1) or Right (+1) with nothing to open or close: TRUE when the host
    // moved to a neighbouring menu.
    virtual bool MoveToNeighbour(int) { return false; }
    // Pointer input outside every popup: TRUE when the host used it.
    virtual bool MouseOutside(UINT, POINT) { return false; }
    // The highlighted command changed (0: none), for prompts.
    virtual void Highlighted(UINT) {}

protected:
    ~CMenuTrackerHost() = default;
};

// One open popup menu: a top-level window drawn by the framework, listing the
// items of a menu. The tracker owns it and decides what input does.
class CMFCPopupMenu : public CWnd
{
    DECLARE_DYNAMIC(CMFCPopupMenu)

public:
    // Popups never take the keyboard focus here: keys reach them through the
    // frame (accepted for the program's call).
    static void SetForceMenuFocus(BOOL) {}

    CMFCPopupMenu(CMenuTracker& tracker, HMENU menu);

    // Opens at a screen point, kept inside the screen.
    BOOL OpenAt(HWND owner, POINT screen);
    HMENU Menu() const { return m_menu; }
    int Selected() const { return m_selected; }
    void Select(int index);
    // The item under a screen point, -1 for none (or a separator).
    int ItemAt(POINT screen) const;
    CRect ItemScreenRect(int index) const;
    BOOL ContainsScreenPoint(POINT screen) const;
    int ItemCount() const { return static_cast<int>(m_items.size()); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(CDC& dc);

private:
    struct Item
    {
        int top = 0;
        int height = 0;
    };
    void Measure(int& width, int& height);

    CMenuTracker& m_tracker;
    HMENU m_menu;
    int m_selected = -1;
    int m_width = 0;
    std::vector<Item> m_items;
};

// Drives a cascade of popups: arrows, Enter, Escape and mnemonics from the
// keyboard, hover and clicks from the mouse (the first popup holds capture).
class CMenuTracker
{
public:
    explicit CMenuTracker(CMenuTrackerHost& host) : m_host(host) {}
    ~CMenuTracker();
    CMenuTracker(const CMenuTracker&) = delete;
    CMenuTracker& operator=(const CMenuTracker&) = delete;

    // `index`: the position of the menu in its bar (for WM_INITMENUPOPUP).
    // A tracker opened just before a modal loop takes capture once it runs.
    void Open(HWND owner, HMENU menu, POINT screen, int index, bool selectFirst,
              bool captureNow = true);
    void Close();
    bool IsOpen() const { return !m_levels.empty(); }
    HMENU RootMenu() const;
    // The innermost popup (tests look at its selection).
    CMFCPopupMenu* Innermost() const;

    // A key while the menu is open; every key is taken.
    void Key(UINT vk);
    void Mouse(UINT msg, POINT screen);
    void CaptureLost();

private:
    void OpenSubmenu(size_t level, bool selectFirst);
    void CloseFrom(size_t level);
    void Activate(size_t level, int index, bool selectFirst);
    void MoveSelection(CMFCPopupMenu& popup, int step);
    void Highlight(CMFCPopupMenu& popup, int index);

    CMenuTrackerHost& m_host;
    HWND m_owner = nullptr;
    std::vector<std::unique_ptr<CMFCPopupMenu>> m_levels;
    std::vector<std::unique_ptr<CMFCPopupMenu>> m_dead; // closed, freed at the next Open
    bool m_closing = false;
};
