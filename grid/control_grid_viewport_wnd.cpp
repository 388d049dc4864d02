#include "grid/control_grid_viewport_wnd.h"

#include "controls/graphs/correlation_meter_control_wnd.h"
#include "controls/graphs/goniometer_control_wnd.h"
#include "controls/graphs/peak_symmetry_graph_control_wnd.h"
#include "controls/graphs/stereo_field_graph_control_wnd.h"
#include "controls/layout/designer_layout.h"
#include "controls/meters/compressor_meter_control_wnd.h"
#include "controls/meters/meter_scales.h"
#include "grid/parameter_page.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CControlGridViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CControlGridViewportWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_CONTEXTMENU()
ON_MESSAGE(WMU_CONTROL_COMMIT, &CControlGridViewportWnd::OnScrollOffset)
ON_MESSAGE(WMU_PANEL_CONTROL_CHANGED, &CControlGridViewportWnd::OnPanelControlChanged)
ON_MESSAGE(WMU_PANEL_CONTROL_COMMIT, &CControlGridViewportWnd::OnPanelControlCommit)
END_MESSAGE_MAP()

namespace
{

constexpr COLORREF kBarAccent = 0xD8D8D8;
// Cursor moves smaller than this change nothing a graph shows.
constexpr double kCursorTolerance = 1e-4;

bool HasWindow(const CWnd& wnd)
{
    return ::IsWindow(wnd.GetSafeHwnd()) != FALSE;
}

CRect RectInParent(const CWnd& child, const CWnd& parent)
{
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

// The cursor of a graph moved by at least the tolerance; a NaN never moves it.
bool CursorMoved(double stored, double cursor)
{
    return !std::isnan(cursor) && std::fabs(std::max(0.0, cursor) - stored) >= kCursorTolerance;
}

void FeedAnalysisCursor(CAnalysisGraphBase& graph, double cursor, double window, bool playing)
{
    if (CursorMoved(graph.CursorSeconds(), cursor))
    {
        graph.SetCursor(std::max(0.0, cursor));
    }
    graph.SetWindowSeconds(window);
    graph.SetPlaying(playing);
}

// The largest value of the buffer's gain-reduction series, at least 0.
float PeakGainReduction(const AudioBuffer& buffer)
{
    float peak = 0.0f;
    if (const MeterSeries* series = FindDynamicsGainReductionSeries(buffer))
    {
        for (const float v : series->values)
        {
            if (v > peak)
            {
                peak = v;
            }
        }
    }
    return peak;
}

} // namespace

CControlGridViewportWnd::CControlGridViewportWnd()
{
    panel.packParams = GridPackParams{GridPackMode::FitColumns, 1, 0, 8, 16};
}

CControlGridViewportWnd::~CControlGridViewportWnd()
{
    if (HasWindow(*this))
    {
        DestroyWindow();
    }
}

BOOL CControlGridViewportWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    if (!CreateEx(0, windowClass, L"BrimvaleControlGridViewportWnd",
                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, parent, id))
    {
        return FALSE;
    }
    CreateChildren();
    return TRUE;
}

void CControlGridViewportWnd::CreateChildren()
{
    if (!HasWindow(*this))
    {
        return;
    }
    const CRect empty(0, 0, 0, 0);
    if (!HasWindow(panel))
    {
        panel.Create(empty, this, kControlGridPanelId);
    }
    const auto createBar = [&](CGridOffsetBarWnd& bar, UINT id, int vertical)
    {
        if (HasWindow(bar) || !bar.Create(empty, this, id))
        {
            return;
        }
        bar.vertical = vertical;
        bar.accent = kBarAccent;
        if (bar.background != background)
        {
            bar.background = background;
        }
        bar.Invalidate(FALSE);
    };
    createBar(horizontalBar, kHorizontalOffsetBarId, 0);
    createBar(verticalBar, kVerticalOffsetBarId, 1);
}

void CControlGridViewportWnd::PlaceBar(CGridOffsetBarWnd& bar, const CRect& rect, int content,
                                       int view, int offset)
{
    if (!HasWindow(bar))
    {
        return;
    }
    if (RectInParent(bar, *this) != rect)
    {
        bar.MoveWindow(&rect, TRUE);
    }
    bar.SetRange(content, view, offset);
    bar.ShowWindow(SW_SHOWNA);
    bar.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CControlGridViewportWnd::LayoutChildren()
{
    if (!HasWindow(*this) || !HasWindow(panel))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        return;
    }
    const CRect p(client.left, client.top, std::max(client.right - kBarThickness, client.left),
                  std::max(client.bottom - kBarThickness, client.top));
    if (RectInParent(panel, *this) != p)
    {
        panel.MoveWindow(&p, TRUE);
    }
    if (panel.marginX != 0 || panel.marginY != 0)
    {
        panel.marginX = 0;
        panel.marginY = 0;
        panel.LayoutControls();
    }
    const int w = panel.content.right - panel.content.left;
    const int h = panel.content.bottom - panel.content.top;
    PlaceBar(horizontalBar, CRect(p.left, p.bottom, p.right, p.bottom + kBarThickness), w,
             p.Width(), panel.scrollX);
    PlaceBar(verticalBar, CRect(p.right, p.top, p.right + kBarThickness, p.bottom), h, p.Height(),
             panel.scrollY);
}

void CControlGridViewportWnd::SetBackgroundColor(COLORREF colour)
{
    if (colour == background)
    {
        return;
    }
    background = colour;
    if (panel.background != colour)
    {
        panel.background = colour;
        for (ControlGridEntry& entry : panel.entries)
        {
            if (entry.control)
            {
                entry.control->SetBackgroundColor(colour);
            }
        }
        if (HasWindow(panel))
        {
            panel.Invalidate(FALSE);
        }
    }
    for (CGridOffsetBarWnd* bar : {&horizontalBar, &verticalBar})
    {
        if (bar->background != colour)
        {
            bar->background = colour;
            if (HasWindow(*bar))
            {
                bar->Invalidate(FALSE);
            }
        }
    }
    if (HasWindow(*this))
    {
        Invalidate(FALSE);
    }
}

bool CControlGridViewportWnd::LoadLayout(const std::wstring& path)
{
    DesignerLayout layout;
    if (!DesignerLayout::Load(path, layout))
    {
        return false;
    }
    panel.name = layout.pluginId;
    const int cell = std::max(layout.cellSize, 1);
    if (cell != panel.cellSize)
    {
        panel.cellSize = cell;
        panel.LayoutControls();
    }
    LayoutChildren();
    const int gap = std::max(layout.padding, 0);
    if (gap != panel.gap)
    {
        panel.gap = gap;
        panel.LayoutControls();
    }
    LayoutChildren();
    std::vector<ControlItem> items;
    items.reserve(layout.items.size());
    for (const DesignerItem& item : layout.items)
    {
        items.push_back(DesignerItemToControlItem(item));
    }
    panel.RebuildControls(items);
    LayoutChildren();
    return true;
}

template <typename Record> bool CControlGridViewportWnd::PostRecord(UINT message, Record record)
{
    if (!HasWindow(panel) || !panel.alive)
    {
        return false;
    }
    auto* posted = new Record(std::move(record));
    if (!::PostMessageW(panel.GetSafeHwnd(), message, 0, reinterpret_cast<LPARAM>(posted)))
    {
        delete posted;
        return false;
    }
    return true;
}

bool CControlGridViewportWnd::PostControlValue(const std::string& parameterId, double value)
{
    return PostRecord(WMU_SET_CONTROL_VALUE, ControlValueUpdate{parameterId, value, 0.0, false});
}

bool CControlGridViewportWnd::PostControlText(const std::string& parameterId,
                                              const std::string& utf8Text)
{
    return PostRecord(WMU_SET_CONTROL_TEXT, ControlTextUpdate{parameterId, utf8Text});
}

bool CControlGridViewportWnd::PostControlAccent(const std::string& parameterId, COLORREF colour)
{
    return PostRecord(WMU_SET_CONTROL_ACCENT, ControlAccentUpdate{parameterId, colour});
}

template <typename T, typename Feed> void CControlGridViewportWnd::ForEachGraph(Feed feed)
{
    if (!HasWindow(panel) || panel.rebuilding)
    {
        return;
    }
    for (ControlGridEntry& entry : panel.entries)
    {
        CBaseControlWnd* control = entry.control.get();
        if (control != nullptr && entry.item.visible && HasWindow(*control) &&
            control->IsKindOf(T::GetThisClass()))
        {
            feed(static_cast<T&>(*control));
        }
    }
}

void CControlGridViewportWnd::SetStereoFieldCursor(double cursor, double window, bool playing)
{
    ForEachGraph<CStereoFieldGraphControlWnd>(
        [&](CStereoFieldGraphControlWnd& host)
        {
            CStereoFieldGraphWnd& graph = host.GetGraph();
            graph.SetCursor(cursor);
            graph.SetWindowSeconds(window);
            if (graph.playing != playing)
            {
                graph.SetPlaying(playing);
            }
        });
}

void CControlGridViewportWnd::SetCorrelationMeterData(const AudioBuffer& buffer)
{
    ForEachGraph<CCorrelationMeterControlWnd>(
        [&](CCorrelationMeterControlWnd& host)
        {
            if (HasWindow(host.GetGraph()))
            {
                host.GetGraph().SetAudio(buffer);
            }
        });
}

void CControlGridViewportWnd::SetCorrelationMeterCursor(double cursor, double window, bool playing)
{
    ForEachGraph<CCorrelationMeterControlWnd>(
        [&](CCorrelationMeterControlWnd& host)
        {
            if (HasWindow(host.GetGraph()))
            {
                FeedAnalysisCursor(host.GetGraph(), cursor, window, playing);
            }
        });
}

void CControlGridViewportWnd::SetGoniometerData(const AudioBuffer& buffer)
{
    ForEachGraph<CGoniometerControlWnd>([&](CGoniometerControlWnd& host)
                                        { host.GetGraph().SetAudio(buffer); });
}

void CControlGridViewportWnd::SetGoniometerCursor(double cursor, double window, bool playing)
{
    ForEachGraph<CGoniometerControlWnd>(
        [&](CGoniometerControlWnd& host)
        { FeedAnalysisCursor(host.GetGraph(), cursor, window, playing); });
}

void CControlGridViewportWnd::SetCompressorMeterData(const AudioBuffer& buffer)
{
    ForEachGraph<CCompressorMeterControlWnd>(
        [&](CCompressorMeterControlWnd& meter)
        {
            meter.buffer = buffer;
            meter.peakGainReductionDb = PeakGainReduction(meter.buffer);
            meter.gainReductionDb = meter.GainReductionAtCursor();
            meter.Invalidate(FALSE);
        });
}

void CControlGridViewportWnd::SetCompressorMeterCursor(double cursor, bool playing)
{
    ForEachGraph<CCompressorMeterControlWnd>(
        [&](CCompressorMeterControlWnd& meter)
        {
            if (CursorMoved(meter.cursorSec, cursor))
            {
                meter.cursorSec = std::max(0.0, cursor);
                meter.gainReductionDb = meter.GainReductionAtCursor();
                meter.Invalidate(FALSE);
            }
            if (meter.playing != playing)
            {
                meter.playing = playing;
                meter.Invalidate(FALSE);
            }
        });
}

void CControlGridViewportWnd::SetPeakSymmetryData(const AudioBuffer& buffer)
{
    ForEachGraph<CPeakSymmetryGraphControlWnd>([&](CPeakSymmetryGraphControlWnd& host)
                                               { host.GetGraph().SetAudio(buffer); });
}

void CControlGridViewportWnd::SetPeakSymmetryCursor(double cursor, double window, bool playing)
{
    ForEachGraph<CPeakSymmetryGraphControlWnd>(
        [&](CPeakSymmetryGraphControlWnd& host)
        { FeedAnalysisCursor(host.GetGraph(), cursor, window, playing); });
}

void CControlGridViewportWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, background);
}

void CControlGridViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    LayoutChildren();
}

void CControlGridViewportWnd::OnDestroy()
{
    for (CWnd* child : {static_cast<CWnd*>(&horizontalBar), static_cast<CWnd*>(&verticalBar),
                        static_cast<CWnd*>(&panel)})
    {
        if (HasWindow(*child))
        {
            child->DestroyWindow();
        }
    }
    CWnd::OnDestroy();
}

LRESULT CControlGridViewportWnd::OnScrollOffset(WPARAM wParam, LPARAM lParam)
{
    const int o = static_cast<int>(lParam);
    int& along = wParam != 0 ? panel.scrollY : panel.scrollX;
    int& across = wParam != 0 ? panel.scrollX : panel.scrollY;
    if (o == along)
    {
        return 0;
    }
    const int newAlong = std::max(o, 0);
    const int newAcross = std::max(across, 0);
    if (newAlong != along || newAcross != across)
    {
        along = newAlong;
        across = newAcross;
        panel.LayoutControls();
    }
    LayoutChildren();
    return 0;
}

LRESULT CControlGridViewportWnd::PassToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const HWND parent = ::GetParent(m_hWnd))
    {
        ::SendMessageW(parent, message, wParam, lParam);
    }
    return 0;
}

LRESULT CControlGridViewportWnd::OnPanelControlChanged(WPARAM wParam, LPARAM lParam)
{
    return PassToParent(WMU_PANEL_CONTROL_CHANGED, wParam, lParam);
}

LRESULT CControlGridViewportWnd::OnPanelControlCommit(WPARAM wParam, LPARAM lParam)
{
    return PassToParent(WMU_PANEL_CONTROL_COMMIT, wParam, lParam);
}
