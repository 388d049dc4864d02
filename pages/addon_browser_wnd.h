#pragma once

#include "pages/addon_glyphs.h"
#include "pages/card_list_scroll.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/win_messages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Gdiplus
{
class Graphics;
}

// The scrolling grid of cards from which the user puts an add-on into one
// chain position: each card shows the add-on's glyph, name and description;
// one already in the position is dimmed with a "Used" badge and cannot be
// picked. A press on any other card goes to the parent at once.

// A card was pressed: lParam an AddonPick on the browser's stack, valid
// during the call only; wParam 0.
constexpr UINT WMU_ADDON_PICKED = WM_APP + 274; // 0x8112

constexpr UINT kAddonBrowserId = 8834;

struct AddonCard
{
    std::string id;
    std::string displayName;
    std::string description;
    bool used = false;
};

struct AddonPick
{
    int32_t index = 0;
};

struct AddonBrowserLayout
{
    int contentHeight = 0;
    int columns = 1;
    std::vector<CardHitRect> rows; // column always 0
    RECT trackRect{};
    RECT thumbRect{};
};

AddonBrowserLayout ComputeAddonBrowserLayout(int width, int height, int cardCount,
                                             int scrollOffset);

// The colours of one card for an accent, as GDI+ colours.
struct AddonCardLook
{
    Gdiplus::ARGB top = 0;
    Gdiplus::ARGB bottom = 0;
    Gdiplus::ARGB outline = 0;
    COLORREF glyph = 0;
};
AddonCardLook AddonCardLookFor(COLORREF accent, bool used, bool hovered);

class CAddonBrowserWnd : public CWnd
{
    DECLARE_DYNAMIC(CAddonBrowserWnd)

public:
    // What a paint shows. The cards are borrowed for the paint only.
    struct State
    {
        CSize size;
        const std::vector<AddonCard>* cards = nullptr;
        COLORREF accentColor = 0xDCA050;
        COLORREF backgroundColor = 0x100E0C;
        int scrollOffset = 0;
        int hoverIndex = -1;
        bool barHover = false;
        bool thumbHover = false;
        bool draggingThumb = false;
    };

    // Creates the window as the page does.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kAddonBrowserId);

    // Returns to the top and forgets the hover card.
    void SetCards(const std::vector<AddonCard>& list);
    void SetAccentColor(COLORREF color);
    void SetBackgroundColor(COLORREF color);
    void UpdateLayout();

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    std::vector<AddonCard> cards;
    COLORREF accentColor = 0xDCA050;
    COLORREF backgroundColor = 0x100E0C;
    int scrollOffset = 0;
    int contentHeight = 0;
    std::vector<CardHitRect> rows;
    RECT trackRect{};
    RECT thumbRect{};
    int hoverIndex = -1;
    bool barHover = false;
    bool thumbHover = false;
    bool draggingThumb = false;
    int dragStartY = 0;
    int dragStartScroll = 0;
    bool trackingMouse = false;
    AddonGlyphPainter glyphPainter;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    DECLARE_MESSAGE_MAP()

private:
    CSize ClientSize() const;
    CardScrollBar Bar() const { return {trackRect, thumbRect}; }
    CardScrollFields Fields()
    {
        return {scrollOffset, contentHeight, Bar(),      barHover,
                thumbHover,   draggingThumb, dragStartY, dragStartScroll};
    }
};
