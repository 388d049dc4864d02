#pragma once

#include "platform/mfc/base_pane.h"
#include "platform/mfc/cstring.h"
#include "platform/win32/dpi_scale.h"

#include <string>
#include <vector>

namespace Gdiplus
{
class Graphics;
}

// The pattern for a custom-drawn window, to be copied. `State` is a plain
// snapshot of all the picture shows, size and DPI included; the static `Draw`
// paints a State on any Graphics, so a test or a preview needs no window:
// geometry from the size, lengths designed at 96 DPI through
// brvl::win32::ScaleForDpi, colours from brvl::palette. OnPaint only takes
// the snapshot and draws it. Handlers stay short and tell the parent by message.
//
// The bar at the bottom of a frame: a message pane (ID_SEPARATOR, "Ready" when
// idle, menu prompts while a menu item is highlighted) and indicator panes
// whose text shows while their command-update handler enables them.
class CMFCStatusBar : public CBasePane
{
    DECLARE_DYNAMIC(CMFCStatusBar)

public:
    struct Indicator
    {
        std::wstring text;
        bool lit = false;
    };

    struct State
    {
        CSize size;
        UINT dpi = brvl::win32::kDesignDpi;
        bool hasMessagePane = false; // the first pane is ID_SEPARATOR
        std::wstring message;
        std::vector<Indicator> indicators; // left to right
    };

    // The message pane at the left, the indicators from the right edge.
    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT id = AFX_IDW_STATUS_BAR);
    // Ids of the panes; each indicator's text is its string.
    BOOL SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int index) const;
    BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    // Whether an indicator is lit (its text shown).
    BOOL IsPaneLit(int index) const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);

    struct Pane
    {
        UINT id = 0;
        std::wstring text;
        bool lit = true;
    };
    std::vector<Pane> m_panes;

    DECLARE_MESSAGE_MAP()
};
