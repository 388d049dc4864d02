#pragma once

#include "controls/buttons/action_button_wnd.h"
#include "controls/buttons/curve_mode_selector_wnd.h"
#include "controls/sliders/horizontal_slider_wnd.h"
#include "engine/profiles/reference_profile.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/win_messages.h"
#include "profiles/spectrum_spline_editor_wnd.h"
#include "profiles/stereo_bloom_wnd.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Gdiplus
{
class Graphics;
}

// Sent to the page's parent, wParam 0 and lParam a ProfileEditorAction on the
// sender's stack, valid during the call only.
constexpr UINT WMU_PROFILE_EDITOR_ACTION = WM_APP + 928; // 0x83A0

struct ProfileEditorAction
{
    // 0 live edit, 1 Apply, 2 Save, 3 Cancel.
    int32_t action = 0;
};

// The page on which the user reshapes a reference profile's tone and stereo
// balance: a spline edit of the mid or side spectrum, Contour, Tone Tilt and
// Focus / Bloom sliders acting on both, and a stereo bloom preview. It keeps
// the profile as loaded and a working copy with every applied edit baked in;
// the pending edit is applied on demand by BuildEditedProfile. The view hears
// of live edits, Apply, Save and Cancel by WMU_PROFILE_EDITOR_ACTION.
class CReferenceProfileEditorViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CReferenceProfileEditorViewportWnd)

public:
    // What a paint of the page itself shows (the children paint themselves).
    struct State
    {
        CSize size;
        bool hasProfile = false;
        std::wstring profilePath;
        std::wstring errorText;
        COLORREF backgroundColor = 0;
    };

    // The children in the order of the layout table.
    enum Child
    {
        kModeSelector,
        kSpectrumEditor,
        kContourSlider,
        kToneTiltSlider,
        kBloomView,
        kFocusBloomSlider,
        kApplyButton,
        kSaveButton,
        kCancelButton,
        kChildCount
    };

    // The selector comes from its constructor on Mid, named "curve mode
    // selector", without border and background.
    CReferenceProfileEditorViewportWnd() = default;

    BOOL Create(const RECT& rect, CWnd* parent);

    // False (the page then shows why under "Reference Profile Unavailable")
    // when the file cannot be read as a profile.
    bool LoadProfile(const std::wstring& path);
    void SetProfile(const ReferenceProfile& profile, const std::wstring& path);
    void ClearProfile();
    // The working profile with the pending edit applied; false, `out`
    // untouched, without a profile.
    bool BuildEditedProfile(ReferenceProfile& out) const;

    // The edit in effect: the slider's reading while its window exists, else
    // the stored value.
    double GetContour() const;
    double GetToneTiltDb() const;
    double GetFocusBloomDb() const;

    // Adds the curve edit to `spectrum` at the working profile's rate, binned
    // by `fftSize` (the working profile's, then 4096, when below 1).
    void ApplySplineCurve(std::vector<double>& spectrum, std::span<const double> points,
                          double contourScale, double tiltDb, int fftSize = 0) const;
    std::vector<double> EvaluateCurve(const std::vector<double>& spectrum,
                                      std::span<const double> points, double offsetDb,
                                      double contourScale, double tiltDb) const;

    // Where each child goes in `client`, by Child.
    static std::array<CRect, kChildCount> ComputeLayout(const CRect& client);
    void LayoutChildren(const CRect& client);

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    bool hasProfile = false;
    std::wstring profilePath;
    std::wstring errorText;
    COLORREF backgroundColor = 0x100E0C;
    bool actionsDisabled = false;
    int curveMode = 0;
    ReferenceProfile loadedProfile;
    ReferenceProfile workingProfile;
    CCurveModeSelectorWnd modeSelector;
    CHorizontalSliderWnd contourSlider;
    CHorizontalSliderWnd toneTiltSlider;
    CHorizontalSliderWnd focusBloomSlider;
    CActionButtonWnd applyButton;
    CActionButtonWnd saveButton;
    CActionButtonWnd cancelButton;
    CProfileSpectrumEditorWnd spectrumEditor;
    CProfileStereoBloomWnd bloomView;
    std::vector<double> midPoints = std::vector<double>(6, 0.0);
    std::vector<double> sidePoints = std::vector<double>(6, 0.0);
    double focusBloomDb = 0.0;
    double contour = 1.0;
    double toneTiltDb = 0.0;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg LRESULT OnControlChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnControlCommit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSpectrumPointsChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSpectrumPointsCommitted(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    bool CreateChildren();
    void ReadEditorState();
    void SyncChildren();
    void RefreshEditorParameters();
    void UpdateBloomPreview();
    void ResetEdits();
    void ApplyEdits();
    // Steps of an edit on `profile`: both spline sets with contour and tilt on
    // the header spectra and every spectrum set, focus/bloom moved between mid
    // and side, and the header taken from the first set.
    void ApplyPendingEdit(ReferenceProfile& profile, double contourScale, double tiltDb,
                          double focusBloom) const;
    void PutSelectorOnMid();
    void ShowEditingChildren(bool show);
    int EffectiveSampleRate() const;
    int EffectiveFftSize() const;
    bool IsSlider(LPARAM control) const;
    bool Is(LPARAM control, const CBaseControlWnd& child) const;
    // Tells the parent; nothing of the page may be touched afterwards, the
    // parent may have destroyed it.
    void SendAction(int action);
    void RepaintPage();
};
