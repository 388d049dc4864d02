#pragma once

#include "controls/base/painting_helpers.h"
#include "controls/text/horizontal_divider_wnd.h"
#include "controls/text/text_block_wnd.h"
#include "controls/text/text_caption_block_wnd.h"
#include "controls/text/text_caption_wnd.h"
#include "controls/text/text_label_strip_wnd.h"
#include "controls/text/text_title_wnd.h"
#include "controls/text/value_readout_wnd.h"
#include "controls/text/vertical_divider_wnd.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

// What the text widgets' tests share: the eight classes as rows, their
// windows' pictures, and probes for the ink of a text.

struct TextWidgetRow
{
    const char* name;
    std::unique_ptr<CBaseControlWnd> (*make)();
    // The class's Draw of `snapshot` at `size`, without the paint's background.
    void (*draw)(Gdiplus::Graphics& graphics, const ControlDrawState& snapshot, CSize size);
    bool showsText;
};

template <typename Control> std::unique_ptr<CBaseControlWnd> MakeWidget()
{
    return std::make_unique<Control>();
}

template <typename Control>
void DrawWidget(Gdiplus::Graphics& graphics, const ControlDrawState& snapshot, CSize size)
{
    typename Control::State state;
    state.size = size;
    state.snapshot = snapshot;
    Control::Draw(graphics, state);
}

template <typename Control> TextWidgetRow WidgetRow(const char* name, bool showsText = true)
{
    return {name, &MakeWidget<Control>, &DrawWidget<Control>, showsText};
}

inline std::vector<TextWidgetRow> TextWidgetRows()
{
    return {
        WidgetRow<CTextTitleWnd>("title"),
        WidgetRow<CTextCaptionWnd>("caption"),
        WidgetRow<CTextCaptionBlockWnd>("caption_block"),
        WidgetRow<CTextLabelStripWnd>("label_strip"),
        WidgetRow<CTextBlockWnd>("text_block"),
        WidgetRow<CValueReadoutWnd>("value_readout"),
        WidgetRow<CHorizontalDividerWnd>("horizontal_divider", false),
        WidgetRow<CVerticalDividerWnd>("vertical_divider", false),
    };
}

// The control's window at `size`, painted afresh.
inline WindowPicture PaintedAt(CBaseControlWnd& control, CSize size)
{
    control.MoveWindow(20, 20, size.cx, size.cy);
    control.Invalidate(FALSE);
    control.UpdateWindow();
    WindowPicture picture;
    EXPECT_TRUE(ComposeWindowPicture(control.GetSafeHwnd(), picture));
    return picture;
}

// Text ink: a pixel well away from the surface colour under it.
inline bool IsInk(COLORREF pixel, COLORREF surface)
{
    const int distance = std::abs(GetRValue(pixel) - GetRValue(surface)) +
                         std::abs(GetGValue(pixel) - GetGValue(surface)) +
                         std::abs(GetBValue(pixel) - GetBValue(surface));
    return distance > 90;
}

// The bounds of the ink in `area` of a picture, none when it has none.
inline std::optional<CRect> InkBounds(const WindowPicture& picture, COLORREF surface,
                                      const CRect& area)
{
    std::optional<CRect> bounds;
    for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, picture.height); ++y)
    {
        for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, picture.width); ++x)
        {
            if (!IsInk(picture.ColorAt(x, y), surface))
            {
                continue;
            }
            if (!bounds)
            {
                bounds = CRect(x, y, x + 1, y + 1);
            }
            bounds->left = std::min<int>(bounds->left, x);
            bounds->top = std::min<int>(bounds->top, y);
            bounds->right = std::max<int>(bounds->right, x + 1);
            bounds->bottom = std::max<int>(bounds->bottom, y + 1);
        }
    }
    return bounds;
}

inline CRect Whole(const WindowPicture& picture)
{
    return CRect(0, 0, picture.width, picture.height);
}
