#include "controls/meters/output_meter_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/meters/meter_scales.h"

#include <cmath>

IMPLEMENT_DYNAMIC(COutputMeterWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(COutputMeterWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr double kScaleTop = 36;
constexpr double kTicksDb[] = {-60, -40, -20, -12, -6, -3, 0};
constexpr BYTE kRowAlpha = 0xE4;

struct Bar
{
    int left;
    int right;
    double value;
};

} // namespace

COutputMeterWnd::COutputMeterWnd()
{
    kindName = "output meter";
    gridSpanX = 2;
    gridSpanY = 8;
    label = L"Output";
}

COutputMeterWnd::State COutputMeterWnd::GetState() const
{
    State state = ClientStateOf<State>(*this);
    state.minDb = minDb;
    state.maxDb = maxDb;
    return state;
}

void COutputMeterWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawOutputMeter(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state.snapshot, state.minDb,
                    state.maxDb);
}

BOOL COutputMeterWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
}

void COutputMeterWnd::OnPaint()
{
    PaintControl(*this, &PaintValueControlBackground);
}

void DrawOutputMeter(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                     double minDb, double maxDb)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int bottom = height - 18;
    const Bar bars[] = {{width - 38, width - 28, state.value},
                        {width - 24, width - 14, state.secondaryValue}};

    DrawControlText(graphics, state.label, {10, Gdiplus::FontStyleBold}, 0xD6DEDCD6,
                    Gdiplus::RectF(8, 12, REAL(width - 16), 16));

    for (const Bar& bar : bars)
    {
        const REAL barWidth = REAL(bar.right - bar.left);
        const REAL barHeight = REAL(bottom - kScaleTop);
        const Gdiplus::LinearGradientBrush body(Gdiplus::PointF(REAL(bar.left), REAL(kScaleTop)),
                                                Gdiplus::PointF(REAL(bar.left), REAL(bottom)),
                                                Gdiplus::Color(0x4E22252A),
                                                Gdiplus::Color(0x4E121418));
        graphics.FillRectangle(&body, REAL(bar.left), REAL(kScaleTop), barWidth, barHeight);
        const Gdiplus::Pen frame(Gdiplus::Color(0x30FFFFFF), 1.0f);
        graphics.DrawRectangle(&frame, REAL(bar.left) + 0.5f, REAL(kScaleTop) + 0.5f, barWidth - 1,
                               barHeight - 1);
    }
    if (!IsDrawableDbRange(minDb, maxDb))
    {
        return; // a scale of no height would divide by zero
    }

    const Gdiplus::Pen tickPen(Gdiplus::Color(0x46969CA4), 1.0f);
    for (const double tick : kTicksDb)
    {
        if (tick < minDb || tick > maxDb)
        {
            continue;
        }
        const REAL y = REAL(OutputMeterTickY(tick, minDb, maxDb, kScaleTop, bottom));
        graphics.DrawLine(&tickPen, REAL(width - 49), y, REAL(width - 42), y);
        wchar_t text[32];
        std::swprintf(text, 32, L"%.0f", tick);
        DrawControlText(graphics, text, {9}, 0xB0A4AAB2, Gdiplus::RectF(2, y - 7, 26, 14),
                        Gdiplus::StringAlignmentFar);
    }

    const double rowSpan = bottom - kScaleTop >= 2 ? bottom - kScaleTop : 1;
    Gdiplus::Pen rowPen(Gdiplus::Color(0), 1.0f);
    const Gdiplus::Pen marker(Gdiplus::Color(0xF0FAF8F2), 2.0f);
    for (const Bar& bar : bars)
    {
        const double level = OutputMeterLevelY(bar.value, minDb, maxDb, kScaleTop, bottom);
        for (int row = static_cast<int>(level); row < bottom; ++row)
        {
            const double rowDb = maxDb - (row - kScaleTop) / rowSpan * (maxDb - minDb);
            const RgbBytes colour = OutputMeterRowColor(rowDb, maxDb);
            rowPen.SetColor(Gdiplus::Color(kRowAlpha, colour.red, colour.green, colour.blue));
            graphics.DrawLine(&rowPen, REAL(bar.left + 1), REAL(row), REAL(bar.right - 2),
                              REAL(row));
        }
        graphics.DrawLine(&marker, REAL(bar.left - 2), REAL(level), REAL(bar.right + 1),
                          REAL(level));
    }
}
