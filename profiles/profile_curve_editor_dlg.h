#pragma once

#include "engine/profiles/reference_profile.h"
#include "platform/mfc/afxwin.h"
#include "profiles/spectrum_spline_editor_wnd.h"
#include "profiles/stereo_bloom_wnd.h"

#include <vector>

// A modal developer tool: draw a correction curve for the mid or the side
// spectrum of a profile held by the opener and add it to that profile in
// memory. It never writes a file; the opener saves the profile.
class CProfileCurveEditorDlg : public CDialogEx
{
    DECLARE_DYNAMIC(CProfileCurveEditorDlg)

public:
    static constexpr UINT kTemplateId = 328;
    static constexpr UINT kSpectrumEditorId = 21281;
    static constexpr UINT kBloomViewId = 21282;

    // `edited` may be null: the editors stay empty and Apply does nothing.
    explicit CProfileCurveEditorDlg(ReferenceProfile* edited, CWnd* parent = nullptr);

    // The spectrum plus the spline of `points` at every bin, on the profile's
    // header axis; the spectrum unchanged without a profile or points.
    std::vector<double> EvaluateCurve(const std::vector<double>& spectrum,
                                      const std::vector<double>& points) const;
    // Adds the spline of `points` to `spectrum` on the axis of `fftSize`.
    void ApplyCurve(std::vector<double>& spectrum, const std::vector<double>& points,
                    int fftSize) const;

    ReferenceProfile* profile = nullptr;
    CProfileSpectrumEditorWnd spectrumEditor;
    CProfileStereoBloomWnd bloomView;
    CStatic editorFrame;
    CStatic bloomFrame;
    CComboBox pointsCombo;
    int curveMode = 0;
    int pointCount = 6;
    std::vector<double> midPoints;
    std::vector<double> sidePoints;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void StoreEditorPoints();
    void EnsurePointCounts();
    void RefreshEditors();
    void UpdateBloomPreview();
    int HeaderSampleRate() const;
    int HeaderFftSize() const;

    afx_msg void OnMid();
    afx_msg void OnSide();
    afx_msg void OnPointsChanged();
    afx_msg void OnReset();
    afx_msg void OnApply();
    afx_msg LRESULT OnSpectrumPointsChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
