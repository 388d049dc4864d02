#pragma once

#include "controls/waveform/waveform_geometry.h"
#include "controls/waveform/waveform_notify.h"
#include "controls/waveform/waveform_peaks.h"
#include "platform/mfc/afxwin.h"

#include <string>

namespace Gdiplus
{
class Graphics;
}

// The overview strip of the loaded track: the peak envelope (left channel
// above, right below), the view range that preview and monitoring play with
// its draggable edges, a wheel zoom of the drawn part, the play-head, and a
// progress overlay while a preview renders. It tells its parent about
// play-head and range changes with WMU_WAVEFORM_PLAYHEAD and
// WMU_WAVEFORM_RANGE. While `playing` it takes no clicks, drags or wheel.
class CWaveformStripWnd : public CWnd
{
    DECLARE_DYNAMIC(CWaveformStripWnd)

public:
    // What a paint shows; the layout follows from the size.
    struct State
    {
        CSize size;
        int systemBorderWidth = 1;
        const WaveformPeaks* peaks = nullptr; // valid for the paint only
        double duration = 1.0;
        TimeSpan view;
        TimeSpan zoom; // resolved
        double playhead = 0.0;
        bool progressActive = false;
        double progressFraction = 0.0;
        CString progressText;
        int hoverZone = 0;
        int dragZone = 0;
    };

    CWaveformStripWnd() = default;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);

    // Non-finite arguments are ignored: no change, repaint or message.
    void SetDuration(double seconds);
    void SetPeaks(const AudioBuffer& audio);
    // Takes a ready record, as the owner does to clear the strip.
    void SetPeaks(WaveformPeaks newPeaks);
    void SetPlayhead(double seconds);
    void SetViewRange(double start, double end, bool notify);
    void SetZoomRange(double start, double end);
    void SetProgress(bool active, double fraction, const CString& text);
    void SetPlaybackState(bool isPlaying, bool isPlayheadLit);

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    double duration = 1.0;
    double viewStart = 0.15;
    double viewEnd = 0.55;
    double playhead = 0.25;
    double minViewWidth = 0.5;
    double zoomStart = 0.0;
    double zoomEnd = 1.0;
    bool playing = false;
    bool playheadLit = false;
    bool progressActive = false;
    double progressFraction = 0.0;
    CString progressText = L"Processing";
    int hoverZone = 0;
    int pressZone = 0;
    int dragZone = 0;
    bool dragging = false;

    const WaveformPeaks& GetPeaks() const { return peaks; }
    const RECT& GetWaveRect() const { return layout.waveRect; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint screenPoint);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    TimeSpan Zoom() const { return ResolveZoom(zoomStart, zoomEnd, duration); }
    int XOf(double t) const { return TimeToX(t, layout.waveRect, Zoom()); }
    double TimeAt(int x) const { return XToTime(x, layout.waveRect, Zoom(), duration); }
    int HitTest(POINT point) const;

    // Each returns false when the window went away during a message it sent:
    // then nothing of the strip may be touched.
    bool ApplyViewRange(double start, double end, bool notify);
    bool Notify(UINT message);
    void Repaint();

    WaveformLayout layout;
    WaveformPeaks peaks;
    bool trackingLeave = false;
    POINT pressPoint{0, 0};
    double pressViewStart = 0.0;
    double pressViewEnd = 0.0;
};

// Paints the strip in `rect` (its top-left corner is 0, 0): background, frame,
// lanes, range shading or progress, grips and play-head.
void DrawWaveformStrip(Gdiplus::Graphics& graphics, const RECT& rect,
                       const CWaveformStripWnd::State& state);
