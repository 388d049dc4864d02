#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afx_controls.h"
#include "platform/mfc/afxwin.h"

#include <string>
#include <string_view>
#include <vector>

// The strip tells its parent the colour a click picked: wParam the COLORREF,
// lParam the strip.
constexpr UINT WMU_COLOR_WELL_PICKED = WM_APP + 323; // 0x8143

// The designer's row of colour wells: the built-in accent colours, every
// colour it is given or the user mixes (kept in "designer_colors.txt" beside
// the executable so they survive the run), and a last "add" well that opens
// the colour dialog. The current colour wears a light outline. A static that
// notifies, so that it is hit by the mouse at all.
class CColorWellStripWnd : public CStatic
{
    DECLARE_DYNAMIC(CColorWellStripWnd)

public:
    static constexpr UINT kControlId = 20483;
    static constexpr COLORREF kDefaultCurrentColor = 0x5284E5;
    static constexpr COLORREF kDefaultBackground = 0x100E0C;

    // The seven built-in colours, in well order.
    static const std::vector<COLORREF>& BuiltInColors();

    struct State
    {
        std::vector<COLORREF> colors;
        COLORREF currentColor = kDefaultCurrentColor;
        COLORREF backgroundColor = kDefaultBackground;
        SIZE size{};
    };

    // The wells of `state.colors`, then the add well, over the background;
    // wells wholly outside the width are skipped.
    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    // Well i (the add well is i == number of colours) of a strip `height`
    // pixels high: squares of side max(height - 4, 4), 4 px apart from x = 2.
    static RECT WellRect(int index, int height);

    // The reading rule of the colour file: each line parsed as a hex number
    // (blanks first, an optional "0x", digits up to the first other
    // character); lines without a number are skipped.
    static std::vector<COLORREF> ParseColorLines(std::string_view text);

    CColorWellStripWnd();

    // Creates the strip, loads the file and adds the current colour.
    bool Create(const RECT& rect, CWnd* parent);

    // Appends a colour not yet in the list and saves the list; nothing else.
    void AddColor(COLORREF color);
    // Makes `color` current and repaints; tells nobody.
    void SetCurrentColor(COLORREF color);
    COLORREF GetCurrentColor() const { return currentColor; }
    const std::vector<COLORREF>& GetColors() const { return colors; }

    // The colour file: read without saving (an unreadable file changes
    // nothing), written whole; a file that cannot be written is ignored.
    void LoadColors();
    void SaveColors() const;
    std::wstring GetColorsFilePath() const;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Picks `color`: current, told to the parent, repainted. False when the
    // parent destroyed the strip meanwhile.
    bool Pick(COLORREF color);
    void PickFromDialog();

    std::vector<COLORREF> colors;
    COLORREF currentColor = kDefaultCurrentColor;
    COLORREF backgroundColor = kDefaultBackground;
};
