#include "controls/graphs/energy_delta_graph_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/graphs/analysis_graph_base.h"
#include "controls/graphs/graph_feed.h"
#include "controls/graphs/graph_look.h"
#include "controls/graphs/graph_window.h"
#include "platform/gdiplus/gdiplus.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CEnergyDeltaGraphWnd, CWnd)

BEGIN_MESSAGE_MAP(CEnergyDeltaGraphWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::ARGB;
using Gdiplus::PointF;
using Gdiplus::REAL;
using Gdiplus::RectF;

// Below this largest delta the scale stays at 3 dB, so small wobbles stay small.
constexpr double kLeastDeltaScaleDb = 0.5;
constexpr double kQuietDeltaScaleDb = 3;

constexpr ARGB kRaised = 0xDB516F;  // a band the processing made louder
constexpr ARGB kLowered = 0x4B8CBA; // and quieter; also the Profile bars

struct Plot
{
    REAL left;
    REAL top;
    REAL width;
    REAL height;
};

// How a bar is painted: a vertical gradient from its top to its bottom edge,
// an optional soft line down its middle, an outline.
struct BarLook
{
    ARGB topFill;
    ARGB bottomFill;
    ARGB core; // 0: none
    ARGB outline;
    REAL outlineWidth;
};

constexpr BarLook DeltaLook(ARGB rgb)
{
    return {WithAlpha(rgb, 0xC4), WithAlpha(rgb, 0x5C), WithAlpha(rgb, 0x26), WithAlpha(rgb, 0xD6),
            1.2f};
}
constexpr BarLook kProfileLook{WithAlpha(kLowered, 0xC4), WithAlpha(kLowered, 0x48), 0,
                               WithAlpha(kLowered, 0xCE), 1.1f};

// A bar of no height draws nothing, not even its outline: it would leave a
// line on the baseline for a band that did not change.
void DrawBar(Gdiplus::Graphics& graphics, REAL x, REAL width, REAL top, REAL bottom,
             const BarLook& look)
{
    if (!(bottom > top))
    {
        return;
    }
    const Gdiplus::LinearGradientBrush fill(PointF(0, top), PointF(0, bottom),
                                            Gdiplus::Color(look.topFill),
                                            Gdiplus::Color(look.bottomFill));
    graphics.FillRectangle(&fill, x, top, width, bottom - top);
    if (look.core != 0)
    {
        const Gdiplus::Pen core(Gdiplus::Color(look.core), 4.0f);
        graphics.DrawLine(&core, x + width / 2, top, x + width / 2, bottom);
    }
    const Gdiplus::Pen outline(Gdiplus::Color(look.outline), look.outlineWidth);
    graphics.DrawRectangle(&outline, x, top, width, bottom - top);
}

void DrawFrequencyLabels(Gdiplus::Graphics& graphics, const Plot& plot, REAL slot)
{
    const struct
    {
        int slot;
        const wchar_t* text;
    } labels[] = {{0, L"40"}, {3, L"120"}, {7, L"500"}, {11, L"2k"}, {16, L"10k"}};
    for (const auto& label : labels)
    {
        const REAL x = plot.left + (REAL(label.slot) + 0.5f) * slot;
        DrawControlText(graphics, label.text, {9}, 0x96BABEC4,
                        RectF(x - 24, plot.top + plot.height + 4, 48, 14));
    }
}

} // namespace

BOOL CEnergyDeltaGraphWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreateGraphWindow(*this, parent, rect, id, L"BrimvaleEnergyDeltaGraphWnd");
}

CEnergyDeltaGraphWnd::State CEnergyDeltaGraphWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.bars = EnergyBarsOf(sourceAudio, processedAudio, cursorSec, windowSec);
    return state;
}

void CEnergyDeltaGraphWnd::OnPaint()
{
    PaintGraph(*this);
}

void CEnergyDeltaGraphWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    const REAL width = REAL(state.size.cx);
    const REAL height = REAL(state.size.cy);
    PaintGraphBackground(graphics, RECT{0, 0, state.size.cx, state.size.cy}, 0xFF0C0E12,
                         0xFF121217);

    const EnergyBars& bars = state.bars;
    CString title;
    title.Format(L"Energy  %ls", bars.delta ? L"Delta" : L"Profile");
    DrawControlText(graphics, title, {11}, 0xB6DCDCDC, RectF(20, 10, width - 40, 20),
                    Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);

    const Plot plot{18, 30, (width - 18) - 18, (height - 44) - 30};
    if (plot.width < 140 || plot.height < 90)
    {
        return;
    }
    const REAL bottom = plot.top + plot.height;
    const REAL y0 = bars.delta ? plot.top + 0.5f * plot.height : bottom - 8;
    const double scaleDb = bars.scaleDb > kLeastDeltaScaleDb ? bars.scaleDb : kQuietDeltaScaleDb;
    const double pixelsPerDb = 0.34 * plot.height / scaleDb;

    const Gdiplus::Pen baseline(Gdiplus::Color(0x4EFFFFFF), 1.0f);
    graphics.DrawLine(&baseline, plot.left, y0, plot.left + plot.width, y0);
    const Gdiplus::Pen grid(Gdiplus::Color(0x12DCE0E6), 1.0f);
    for (int j = 0; j <= 4; ++j)
    {
        const REAL y = plot.top + REAL(j) * 0.25f * plot.height;
        graphics.DrawLine(&grid, plot.left, y, plot.left + plot.width, y);
    }

    const REAL slot = plot.width / REAL(kEnergyBands);
    const REAL bar = slot > 6 ? slot - 6 : 0.7f * slot;
    for (std::size_t j = 0; j < kEnergyBands; ++j)
    {
        const REAL x = plot.left + REAL(j) * slot + (slot - bar) / 2;
        const double value = bars.values[j];
        if (bars.delta)
        {
            const REAL extent = REAL(std::fabs(value) * pixelsPerDb);
            if (value >= 0)
            {
                DrawBar(graphics, x, bar, y0 - extent, y0, DeltaLook(kRaised));
            }
            else
            {
                DrawBar(graphics, x, bar, y0, y0 + extent, DeltaLook(kLowered));
            }
        }
        else
        {
            const double filled = std::clamp((value + 60) / 60, 0.0, 1.0);
            DrawBar(graphics, x, bar, REAL(y0 - filled * 0.76 * plot.height), y0, kProfileLook);
        }
    }
    DrawFrequencyLabels(graphics, plot, slot);
}
