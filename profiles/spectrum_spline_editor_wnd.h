#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/win_messages.h"

#include <span>
#include <utility>
#include <vector>

// Sent (wParam and lParam 0) to the parent after every drag move that wrote a
// point and on every left-button release; the parent reads `points` meanwhile.
constexpr UINT WMU_SPECTRUM_POINTS_CHANGED = WM_APP + 288; // 0x8120
// Sent right after the WMU_SPECTRUM_POINTS_CHANGED of every release.
constexpr UINT WMU_SPECTRUM_POINTS_COMMITTED = WM_APP + 289; // 0x8121

// One channel (mid or side) of a profile's spectrum with the correction curve
// the user shapes by dragging its control points up and down, and the other
// channel's curve for comparison. The owner gives it the spectra, the point
// sets and the curve parameters, and reads `points` back when it reports.
class CProfileSpectrumEditorWnd : public CWnd
{
    DECLARE_DYNAMIC(CProfileSpectrumEditorWnd)

public:
    // One displayed curve: a spectrum and the edit drawn over it.
    struct CurveInput
    {
        std::span<const double> spectrum;
        std::span<const double> points;
        double offsetDb = 0.0;
        double contourScale = 1.0;
        double tiltDb = 0.0;
    };

    // What a paint shows; the spans are the window's fields, valid for the paint only.
    struct State
    {
        CSize size;
        int sampleRate = 44100;
        int fftSize = 4096;
        int curveMode = 0;
        CurveInput edited;
        CurveInput reference;
        int dragIndex = -1;
        bool dragging = false;
    };

    CProfileSpectrumEditorWnd() = default;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    // Six zeros for no values.
    void SetPoints(std::vector<double> values);
    // As many zeros as `points` has, at least 4, for no values.
    void SetReferencePoints(std::vector<double> values);
    // Both sets resampled to n points, n held to 4..16.
    void SetPointCount(int n);

    // The display fields; each repaints.
    void SetSampleRate(int rate) { Assign(sampleRate, rate); }
    void SetFftSize(int size) { Assign(fftSize, size); }
    void SetCurveMode(int mode) { Assign(curveMode, mode); }
    void SetSpectrum(std::vector<double> values) { Assign(spectrum, std::move(values)); }
    void SetReferenceSpectrum(std::vector<double> values)
    {
        Assign(referenceSpectrum, std::move(values));
    }
    void SetOffsetDb(double db) { Assign(offsetDb, db); }
    void SetReferenceOffsetDb(double db) { Assign(referenceOffsetDb, db); }
    void SetContourScale(double scale) { Assign(contourScale, scale); }
    void SetReferenceContourScale(double scale) { Assign(referenceContourScale, scale); }
    void SetTiltDb(double db) { Assign(tiltDb, db); }
    void SetReferenceTiltDb(double db) { Assign(referenceTiltDb, db); }

    // The edited and the reference curve as displayed, dB per bin.
    std::vector<double> BuildCurve() const;
    std::vector<double> BuildReferenceCurve() const;
    // The dB range the curves are drawn on.
    void ComputeRange(double& lo, double& hi) const;
    // The index of the point of `points` under `point` in a plot at `plotRect`, -1 for none.
    int HitTestPoint(const RECT& plotRect, POINT point) const;

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    // The client inset by 18 pixels left and right and 28 at top and bottom.
    static RECT PlotRect(CSize client);
    // The curve `input` as displayed: the spline held to +-18 dB, scaled, with
    // offset and tilt, added to the spectrum.
    static std::vector<double> BuildDisplayedCurve(const CurveInput& input, int sampleRate,
                                                   int fftSize);
    // -24..+24 dB widened to the finite values of the spectra and curves, 3 dB beyond.
    static void ComputeRange(const State& state, double& lo, double& hi);
    // Where point `index` of `count` with value `db` sits: equally spaced
    // across the plot, on the fixed +-18 dB scale (NaN at the bottom).
    static Gdiplus::PointF ControlPointPosition(const RECT& plotRect, std::size_t index,
                                                std::size_t count, double db);
    static int HitTestPoint(const RECT& plotRect, std::span<const double> points, POINT point);

    // The curve colours of a mode: its own (0 Mid, 1 Side) and the other's.
    static COLORREF OwnColor(int curveMode);
    static COLORREF OtherColor(int curveMode);
    // What the painting derives from the own colour.
    static COLORREF GlowColor(COLORREF own);
    static COLORREF GuideColor(COLORREF own);
    static COLORREF ActiveBodyColor(COLORREF own);

    int sampleRate = 44100;
    int fftSize = 4096;
    int curveMode = 0;
    std::vector<double> spectrum;
    std::vector<double> referenceSpectrum;
    double offsetDb = 0.0;
    double referenceOffsetDb = 0.0;
    double contourScale = 1.0;
    double referenceContourScale = 1.0;
    double tiltDb = 0.0;
    double referenceTiltDb = 0.0;
    std::vector<double> points = std::vector<double>(6, 0.0);
    std::vector<double> referencePoints = std::vector<double>(6, 0.0);
    int dragIndex = -1;
    bool trackingMouse = false;
    bool dragging = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    template <typename T> void Assign(T& field, T value)
    {
        field = std::move(value);
        Repaint();
    }
    void Repaint();
    CurveInput EditedInput() const;
    CurveInput ReferenceInput() const;
    RECT ClientPlotRect() const;
    void TrackLeave();
    // Sends `message` to the parent when there is one; false when this window
    // went away meanwhile, and then nothing of the editor may be touched.
    bool NotifyParent(UINT message);
};
