#include "controls/waveform/waveform_strip_wnd.h"

#include "controls/base/client_state.h"
#include "controls/base/double_buffered_paint.h"
#include "controls/base/standard_cursor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

IMPLEMENT_DYNAMIC(CWaveformStripWnd, CWnd)

BEGIN_MESSAGE_MAP(CWaveformStripWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEWHEEL()
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace
{

constexpr double kSameTime = 1e-4;
constexpr double kLeastTrack = 0.001;

bool Same(double a, double b)
{
    return std::fabs(a - b) < kSameTime;
}

} // namespace

BOOL CWaveformStripWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return CreateEx(0, windowClass, L"BrimvaleWaveformStripWnd",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, parent, id);
}

void CWaveformStripWnd::SetDuration(double seconds)
{
    if (!std::isfinite(seconds))
    {
        return;
    }
    const double length = std::max(seconds, kLeastTrack);
    if (Same(length, duration))
    {
        return;
    }
    zoomStart = 0.0;
    duration = length;
    zoomEnd = length;
    const double start = viewStart < 0 ? 0.0 : std::min(length, viewStart);
    const double end = start > viewEnd ? start : std::min(length, viewEnd);
    ApplyViewRange(start, end, false);
    SetPlayhead(playhead);
    // The whole track is now drawn at another scale, even where the range and
    // play-head kept their times.
    Repaint();
}

void CWaveformStripWnd::SetPeaks(const AudioBuffer& audio)
{
    WaveformPeaks columns = DecimatePeaks(audio);
    SetDuration(PeakTrackSeconds(audio));
    peaks = std::move(columns);
    Repaint();
}

void CWaveformStripWnd::SetPeaks(WaveformPeaks newPeaks)
{
    peaks = std::move(newPeaks);
    Repaint();
}

void CWaveformStripWnd::SetPlayhead(double seconds)
{
    if (!std::isfinite(seconds))
    {
        return;
    }
    const int oldX = XOf(playhead);
    playhead = seconds < 0 ? 0.0 : std::min(duration, seconds);
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    const RECT& wave = layout.waveRect;
    if (wave.right <= wave.left || wave.bottom <= wave.top)
    {
        Repaint();
        return;
    }
    const RECT band =
        PlayheadBand(oldX, XOf(playhead), layout.playheadWidth, wave, layout.clientRect);
    InvalidateRect(&band, FALSE);
}

void CWaveformStripWnd::SetViewRange(double start, double end, bool notify)
{
    ApplyViewRange(start, end, notify);
}

bool CWaveformStripWnd::ApplyViewRange(double start, double end, bool notify)
{
    if (!std::isfinite(start) || !std::isfinite(end))
    {
        return true;
    }
    const TimeSpan view = ClampViewRange(start, end, duration, minViewWidth);
    if (Same(view.start, viewStart) && Same(view.end, viewEnd))
    {
        return true;
    }
    viewStart = view.start;
    viewEnd = view.end;
    const TimeSpan zoom = ZoomKeepingViewInSight(view, Zoom(), duration);
    SetZoomRange(zoom.start, zoom.end);
    Repaint();
    return notify ? Notify(WMU_WAVEFORM_RANGE) : true;
}

void CWaveformStripWnd::SetZoomRange(double start, double end)
{
    if (!std::isfinite(start) || !std::isfinite(end))
    {
        return;
    }
    const TimeSpan zoom = ClampZoomRange(start, end, duration);
    if (Same(zoom.start, zoomStart) && Same(zoom.end, zoomEnd))
    {
        return;
    }
    zoomStart = zoom.start;
    zoomEnd = zoom.end;
    Repaint();
}

void CWaveformStripWnd::SetProgress(bool active, double fraction, const CString& text)
{
    if (!std::isfinite(fraction))
    {
        return;
    }
    fraction = std::clamp(fraction, 0.0, 1.0);
    const CString shown = text.IsEmpty() ? CString(L"Processing") : text;
    if (active == progressActive && Same(fraction, progressFraction) && shown == progressText)
    {
        return;
    }
    progressActive = active;
    progressFraction = fraction;
    progressText = shown;
    Repaint();
}

void CWaveformStripWnd::SetPlaybackState(bool isPlaying, bool isPlayheadLit)
{
    const bool changed = isPlaying != playing || isPlayheadLit != playheadLit;
    playing = isPlaying;
    playheadLit = isPlayheadLit;
    if (changed)
    {
        Repaint();
    }
}

CWaveformStripWnd::State CWaveformStripWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.systemBorderWidth = ::GetSystemMetrics(SM_CXBORDER);
    state.peaks = &peaks;
    state.duration = duration;
    state.view = {viewStart, viewEnd};
    state.zoom = Zoom();
    state.playhead = playhead;
    state.progressActive = progressActive;
    state.progressFraction = progressFraction;
    state.progressText = progressText;
    state.hoverZone = hoverZone;
    state.dragZone = dragZone;
    return state;
}

void CWaveformStripWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    DrawWaveformStrip(graphics, RECT{0, 0, state.size.cx, state.size.cy}, state);
}

void CWaveformStripWnd::OnPaint()
{
    PaintDoubleBuffered(*this,
                        [this](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            State state = GetState();
                            state.size = CSize(client.right, client.bottom);
                            Draw(graphics, state);
                        });
}

void CWaveformStripWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    CRect client;
    GetClientRect(&client);
    layout = LayoutWaveformStrip(client.Size(), ::GetSystemMetrics(SM_CXBORDER));
}

int CWaveformStripWnd::HitTest(POINT point) const
{
    return HitTestWaveform(point, layout.waveRect, peaks.HasColumns(), XOf(viewStart), XOf(viewEnd),
                           layout.handleWidth, layout.gripSize);
}

bool CWaveformStripWnd::Notify(UINT message)
{
    const HWND self = m_hWnd;
    const HWND parent = ::IsWindow(self) ? ::GetParent(self) : nullptr;
    if (parent == nullptr)
    {
        return true;
    }
    WaveformNotify record;
    record.messageId = static_cast<int>(message);
    record.playhead = playhead;
    record.viewStart = viewStart;
    record.viewEnd = viewEnd;
    record.playing = playing;
    record.playheadLit = playheadLit;
    ::SendMessage(parent, message, reinterpret_cast<WPARAM>(self),
                  reinterpret_cast<LPARAM>(&record));
    // The parent may have destroyed the strip, window or object, meanwhile.
    return ::IsWindow(self) != FALSE;
}

void CWaveformStripWnd::Repaint()
{
    if (::IsWindow(m_hWnd))
    {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

void CWaveformStripWnd::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    const int zone = HitTest(point);
    pressViewStart = viewStart;
    pressViewEnd = viewEnd;
    pressZone = zone;
    dragZone = 0;
    dragging = false;
    pressPoint = point;
    if (!playing)
    {
        if (zone == kZoneTrack)
        {
            // The range keeps its width and centres on the click.
            const double width = viewEnd - viewStart;
            const TimeSpan moved = FitSpan(TimeAt(point.x) - width / 2, width, duration);
            if (!ApplyViewRange(moved.start, moved.end, true))
            {
                return;
            }
            SetPlayhead(moved.start);
            if (!Notify(WMU_WAVEFORM_PLAYHEAD))
            {
                return;
            }
        }
        else if (zone == kZoneInsideRange)
        {
            SetPlayhead(std::clamp(TimeAt(point.x), viewStart, viewEnd));
            if (!Notify(WMU_WAVEFORM_PLAYHEAD))
            {
                return;
            }
            SetCapture();
        }
        else if (zone == kZoneStartEdge || zone == kZoneEndEdge)
        {
            SetCapture();
        }
    }
    Repaint();
}

void CWaveformStripWnd::OnMouseMove(UINT, CPoint point)
{
    if (!trackingLeave)
    {
        TRACKMOUSEEVENT request{};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_LEAVE;
        request.hwndTrack = m_hWnd;
        trackingLeave = ::TrackMouseEvent(&request) != FALSE;
    }
    if (GetCapture() == this && pressZone != kZoneOutside && !dragging &&
        (std::abs(point.x - pressPoint.x) >= ::GetSystemMetrics(SM_CXDRAG) ||
         std::abs(point.y - pressPoint.y) >= ::GetSystemMetrics(SM_CYDRAG)))
    {
        dragZone = pressZone;
        dragging = true;
    }
    if (dragging && dragZone != kZoneOutside)
    {
        const double t = TimeAt(point.x);
        if (dragZone == kZoneStartEdge)
        {
            ApplyViewRange(t, pressViewEnd, false);
        }
        else if (dragZone == kZoneEndEdge)
        {
            ApplyViewRange(pressViewStart, t, false);
        }
        else if (dragZone == kZoneInsideRange)
        {
            const double width = pressViewEnd - pressViewStart;
            const double shift = t - TimeAt(pressPoint.x);
            const TimeSpan moved = FitSpan(pressViewStart + shift, width, duration);
            ApplyViewRange(moved.start, moved.end, false);
        }
        return;
    }
    const int zone = HitTest(point);
    if (zone != hoverZone)
    {
        hoverZone = zone;
        Repaint();
    }
}

void CWaveformStripWnd::OnLButtonUp(UINT, CPoint)
{
    const bool rangeDrag = dragging && (dragZone == kZoneStartEdge || dragZone == kZoneEndEdge ||
                                        dragZone == kZoneInsideRange);
    const bool bodyDrag = rangeDrag && dragZone == kZoneInsideRange;
    // Releasing sends WM_CAPTURECHANGED at once, which ends the gesture too.
    if (GetCapture() == this)
    {
        ::ReleaseCapture();
    }
    dragZone = kZoneOutside;
    pressZone = kZoneOutside;
    dragging = false;
    if (bodyDrag)
    {
        SetPlayhead(viewStart);
        if (!Notify(WMU_WAVEFORM_PLAYHEAD))
        {
            return;
        }
    }
    if (rangeDrag && !Notify(WMU_WAVEFORM_RANGE))
    {
        return;
    }
    Repaint();
}

BOOL CWaveformStripWnd::OnMouseWheel(UINT flags, short delta, CPoint screenPoint)
{
    if (playing || delta == 0)
    {
        return CWnd::OnMouseWheel(flags, delta, screenPoint);
    }
    const TimeSpan zoom = WheelZoomStep({viewStart, viewEnd}, Zoom(), duration, delta);
    SetZoomRange(zoom.start, zoom.end);
    return TRUE;
}

void CWaveformStripWnd::OnCaptureChanged(CWnd*)
{
    pressZone = kZoneOutside;
    dragZone = kZoneOutside;
    dragging = false;
}

BOOL CWaveformStripWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    POINT point{};
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const int zone = HitTest(point);
    if (zone == kZoneStartEdge || zone == kZoneEndEdge)
    {
        ShowStandardCursor(IDC_SIZEWE);
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CWaveformStripWnd::OnMouseLeave()
{
    trackingLeave = false;
    if (hoverZone != kZoneOutside)
    {
        hoverZone = kZoneOutside;
        Repaint();
    }
}
