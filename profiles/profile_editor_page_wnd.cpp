#include "profiles/profile_editor_page_wnd.h"

#include "base/unicode_text.h"
#include "controls/base/client_state.h"
#include "controls/base/control_text.h"
#include "controls/graphs/graph_look.h"
#include "controls/graphs/graph_window.h"
#include "profiles/profile_graph_look.h"
#include "profiles/spline_points.h"

#include <algorithm>
#include <exception>

IMPLEMENT_DYNAMIC(CReferenceProfileEditorViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CReferenceProfileEditorViewportWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_MESSAGE(WMU_CONTROL_CHANGED, &CReferenceProfileEditorViewportWnd::OnControlChanged)
ON_MESSAGE(WMU_CONTROL_COMMIT, &CReferenceProfileEditorViewportWnd::OnControlCommit)
ON_MESSAGE(WMU_SPECTRUM_POINTS_CHANGED,
           &CReferenceProfileEditorViewportWnd::OnSpectrumPointsChanged)
ON_MESSAGE(WMU_SPECTRUM_POINTS_COMMITTED,
           &CReferenceProfileEditorViewportWnd::OnSpectrumPointsCommitted)
END_MESSAGE_MAP()

namespace
{

using Gdiplus::REAL;

constexpr UINT kPageId = 8721;
constexpr UINT kModeSelectorId = 21409;
constexpr UINT kApplyId = 21410;
constexpr UINT kSaveId = 21411;
constexpr UINT kCancelId = 21412;
constexpr UINT kSpectrumEditorId = 21413;
constexpr UINT kBloomViewId = 21414;
constexpr UINT kFocusBloomId = 21415;
constexpr UINT kContourId = 21416;
constexpr UINT kToneTiltId = 21417;

constexpr std::size_t kPointCount = 6;
constexpr int kDefaultSampleRate = 44100;
constexpr int kDefaultFftSize = 4096;
// The sliders' reach and the spectrum editor's display hold, dB.
constexpr double kSliderLimitDb = 6.0;
constexpr double kDisplayLimitDb = 18.0;
constexpr double kMostContour = 2.0;
constexpr double kNeutral = 0.5;

constexpr COLORREF kSideAccent = 0xFF9C6A;
constexpr COLORREF kMidAccent = 0x7454E0;
constexpr COLORREF kContourAccent = 0x5CA4D8;
constexpr COLORREF kToneTiltAccent = 0xCCC2BC;
constexpr COLORREF kApplyAccent = 0x5CA4D8;
constexpr COLORREF kSaveAccent = 0xFF9C62;
constexpr COLORREF kCancelAccent = 0x705CD6;

constexpr Gdiplus::ARGB kTitleText = 0xFFECEEF2;
constexpr Gdiplus::ARGB kEmptyTitleText = 0xFFE6E8EC;
constexpr Gdiplus::ARGB kSubtitleText = 0xFF969EA6;

// A slider position 0..1 for a stored value, held to the track.
double SliderPosition(double storedDb)
{
    return std::clamp((storedDb + kSliderLimitDb) / (2 * kSliderLimitDb), 0.0, 1.0);
}

// The dB a bipolar slider reads, held to its +-6 dB.
double SliderDb(const CBaseControlWnd& slider)
{
    return std::clamp((slider.GetValue() - kNeutral) * 2 * kSliderLimitDb, -kSliderLimitDb,
                      kSliderLimitDb);
}

bool Exists(const CWnd& window)
{
    return ::IsWindow(window.GetSafeHwnd()) != FALSE;
}

void ShowIfExists(CWnd& window, bool show)
{
    if (Exists(window))
    {
        window.ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void SetUpSlider(CHorizontalSliderWnd& slider, COLORREF background, const wchar_t* label,
                 bool bipolar, double min, double max, int decimals, const wchar_t* suffix)
{
    slider.SetBackgroundColor(background);
    slider.SetDrawBorder(false);
    slider.SetDrawBackground(false);
    slider.SetLabel(label);
    slider.SetBipolar(bipolar);
    slider.SetDisplayRange(min, max, decimals, suffix);
    slider.SetValueSilently(kNeutral);
    // A double-click returns the slider to neutral, not to the track's low end.
    slider.SetDefaultValue(kNeutral);
}

void SetUpButton(CActionButtonWnd& button, COLORREF background, const wchar_t* label,
                 COLORREF accent)
{
    button.SetBackgroundColor(background);
    button.SetDrawBackground(false);
    button.SetDrawBorder(false);
    button.SetLabel(label);
    button.SetAccentColor(accent);
}

void AddToEvery(std::vector<double>& spectrum, double db)
{
    for (double& bin : spectrum)
    {
        bin += db;
    }
}

} // namespace

BOOL CReferenceProfileEditorViewportWnd::Create(const RECT& rect, CWnd* parent)
{
    // The class and style are those of the profile graphs: redraw on resize,
    // the arrow cursor, no background brush, clipping siblings and children.
    if (!CreateProfileGraphWindow(*this, parent, rect, kPageId,
                                  L"BrimvaleReferenceProfileEditorViewportWnd") ||
        !Exists(*this))
    {
        return FALSE;
    }
    if (!CreateChildren())
    {
        // A page without all of its children is no page: nothing half-made stays.
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

bool CReferenceProfileEditorViewportWnd::CreateChildren()
{
    const CRect small(0, 0, 100, 32);
    const CRect graph(0, 0, 480, 320);

    if (!modeSelector.Create(small, this, kModeSelectorId))
    {
        return false;
    }
    modeSelector.SetBackgroundColor(backgroundColor);
    PutSelectorOnMid();

    if (!contourSlider.Create(small, this, kContourId) ||
        !toneTiltSlider.Create(small, this, kToneTiltId) ||
        !focusBloomSlider.Create(small, this, kFocusBloomId))
    {
        return false;
    }
    SetUpSlider(contourSlider, backgroundColor, L"Contour", false, 0, 200, 0, L"%");
    SetUpSlider(toneTiltSlider, backgroundColor, L"Tone Tilt", true, -6, 6, 1, L" dB");
    SetUpSlider(focusBloomSlider, backgroundColor, L"Focus / Bloom", true, -6, 6, 1, L" dB");

    if (!applyButton.Create(small, this, kApplyId) || !saveButton.Create(small, this, kSaveId) ||
        !cancelButton.Create(small, this, kCancelId))
    {
        return false;
    }
    SetUpButton(applyButton, backgroundColor, L"Apply", kApplyAccent);
    SetUpButton(saveButton, backgroundColor, L"Save", kSaveAccent);
    SetUpButton(cancelButton, backgroundColor, L"Cancel", kCancelAccent);

    if (!spectrumEditor.Create(graph, this, kSpectrumEditorId) ||
        !bloomView.Create(graph, this, kBloomViewId))
    {
        return false;
    }

    spectrumEditor.SetPointCount(static_cast<int>(kPointCount));
    if (actionsDisabled)
    {
        applyButton.SetDisabled(true);
        saveButton.SetDisabled(true);
    }
    SyncChildren();
    // The page's own WM_SIZE came before its children: place them now, so a
    // page that is never resized is usable too.
    CRect client;
    GetClientRect(&client);
    LayoutChildren(client);
    return true;
}

void CReferenceProfileEditorViewportWnd::PutSelectorOnMid()
{
    // Notifies the page when the mode changes, and the page then syncs.
    modeSelector.SetMode(0);
}

bool CReferenceProfileEditorViewportWnd::LoadProfile(const std::wstring& path)
{
    ReferenceProfile profile;
    try
    {
        profile = ReadReferenceProfile(path);
    }
    catch (const std::exception& error)
    {
        ClearProfile();
        profilePath = path;
        errorText = Utf8ToWide(error.what());
        RepaintPage();
        return false;
    }
    SetProfile(profile, path);
    return true;
}

void CReferenceProfileEditorViewportWnd::SetProfile(const ReferenceProfile& profile,
                                                    const std::wstring& path)
{
    // `profile` may be one of the page's own profiles: copy before anything changes.
    ReferenceProfile copy = profile;
    loadedProfile = copy;
    workingProfile = std::move(copy);
    profilePath = path;
    errorText.clear();
    hasProfile = true;
    curveMode = 0;
    if (Exists(modeSelector))
    {
        PutSelectorOnMid();
    }
    ResetEdits();
    SyncChildren();
    RepaintPage();
}

void CReferenceProfileEditorViewportWnd::ClearProfile()
{
    loadedProfile = ReferenceProfile();
    workingProfile = ReferenceProfile();
    profilePath.clear();
    errorText.clear();
    hasProfile = false;
    curveMode = 0;
    ResetEdits();
    SyncChildren();
    RepaintPage();
}

void CReferenceProfileEditorViewportWnd::ResetEdits()
{
    midPoints.assign(kPointCount, 0.0);
    sidePoints.assign(kPointCount, 0.0);
    focusBloomDb = 0.0;
    contour = 1.0;
    toneTiltDb = 0.0;
}

double CReferenceProfileEditorViewportWnd::GetContour() const
{
    if (Exists(contourSlider))
    {
        return std::clamp(2 * contourSlider.GetValue(), 0.0, kMostContour);
    }
    return contour;
}

double CReferenceProfileEditorViewportWnd::GetToneTiltDb() const
{
    return Exists(toneTiltSlider) ? SliderDb(toneTiltSlider) : toneTiltDb;
}

double CReferenceProfileEditorViewportWnd::GetFocusBloomDb() const
{
    return Exists(focusBloomSlider) ? SliderDb(focusBloomSlider) : focusBloomDb;
}

int CReferenceProfileEditorViewportWnd::EffectiveSampleRate() const
{
    return workingProfile.sampleRate >= 1 ? workingProfile.sampleRate : kDefaultSampleRate;
}

int CReferenceProfileEditorViewportWnd::EffectiveFftSize() const
{
    return workingProfile.fftSize >= 1 ? workingProfile.fftSize : kDefaultFftSize;
}

void CReferenceProfileEditorViewportWnd::ReadEditorState()
{
    if (!Exists(spectrumEditor))
    {
        return;
    }
    focusBloomDb = GetFocusBloomDb();
    contour = GetContour();
    toneTiltDb = GetToneTiltDb();
    (curveMode == 1 ? sidePoints : midPoints) = spectrumEditor.points;
}

void CReferenceProfileEditorViewportWnd::SyncChildren()
{
    if (Exists(modeSelector))
    {
        modeSelector.SetAccentColor(curveMode == 1 ? kSideAccent : kMidAccent);
        // May come back here through the selector's notice; only fields are
        // read from here on, so a nested run leaves nothing stale behind.
        modeSelector.SetMode(curveMode != 0 ? 1 : 0);
    }
    focusBloomSlider.SetAccentColor(focusBloomDb >= 0 ? kSideAccent : kMidAccent);
    focusBloomSlider.SetValueSilently(SliderPosition(focusBloomDb));
    // Like Focus / Bloom, the other two follow the stored edit, so a load,
    // Apply or Cancel returns them to 100 % and 0 dB and an applied tilt is
    // not applied again by the next edit.
    contourSlider.SetAccentColor(kContourAccent);
    contourSlider.SetValueSilently(std::clamp(contour / 2, 0.0, 1.0));
    toneTiltSlider.SetAccentColor(kToneTiltAccent);
    toneTiltSlider.SetValueSilently(SliderPosition(toneTiltDb));

    if (!hasProfile || !Exists(spectrumEditor))
    {
        ShowEditingChildren(hasProfile);
        return;
    }
    ShowEditingChildren(true);

    const bool side = curveMode == 1;
    spectrumEditor.SetSampleRate(EffectiveSampleRate());
    spectrumEditor.SetFftSize(EffectiveFftSize());
    spectrumEditor.SetPointCount(static_cast<int>(kPointCount));
    spectrumEditor.SetCurveMode(side ? 1 : 0);
    spectrumEditor.SetSpectrum(side ? workingProfile.sideSpectrum : workingProfile.midSpectrum);
    spectrumEditor.SetReferenceSpectrum(side ? workingProfile.midSpectrum
                                             : workingProfile.sideSpectrum);
    RefreshEditorParameters();
    spectrumEditor.SetPoints(side ? sidePoints : midPoints);
    spectrumEditor.SetReferencePoints(side ? midPoints : sidePoints);
    UpdateBloomPreview();
}

void CReferenceProfileEditorViewportWnd::ShowEditingChildren(bool show)
{
    for (CWnd* child : {static_cast<CWnd*>(&contourSlider), static_cast<CWnd*>(&toneTiltSlider),
                        static_cast<CWnd*>(&focusBloomSlider), static_cast<CWnd*>(&spectrumEditor),
                        static_cast<CWnd*>(&bloomView)})
    {
        ShowIfExists(*child, show);
    }
    for (CWnd* child : {static_cast<CWnd*>(&modeSelector), static_cast<CWnd*>(&applyButton),
                        static_cast<CWnd*>(&saveButton), static_cast<CWnd*>(&cancelButton)})
    {
        ShowIfExists(*child, true);
    }
}

void CReferenceProfileEditorViewportWnd::RefreshEditorParameters()
{
    if (!Exists(spectrumEditor))
    {
        return;
    }
    const double fb = GetFocusBloomDb();
    const double own = curveMode == 1 ? fb : -fb;
    const double scale = std::clamp(GetContour(), 0.0, kMostContour);
    const double tilt = std::clamp(GetToneTiltDb(), -kDisplayLimitDb, kDisplayLimitDb);
    spectrumEditor.SetOffsetDb(std::clamp(own, -kDisplayLimitDb, kDisplayLimitDb));
    spectrumEditor.SetReferenceOffsetDb(std::clamp(-own, -kDisplayLimitDb, kDisplayLimitDb));
    spectrumEditor.SetContourScale(scale);
    spectrumEditor.SetReferenceContourScale(scale);
    spectrumEditor.SetTiltDb(tilt);
    spectrumEditor.SetReferenceTiltDb(tilt);
}

void CReferenceProfileEditorViewportWnd::ApplySplineCurve(std::vector<double>& spectrum,
                                                          std::span<const double> points,
                                                          double contourScale, double tiltDb,
                                                          int fftSize) const
{
    AddSplineCorrection(spectrum, points, EffectiveSampleRate(),
                        fftSize >= 1 ? fftSize : EffectiveFftSize(), contourScale, tiltDb);
}

std::vector<double>
CReferenceProfileEditorViewportWnd::EvaluateCurve(const std::vector<double>& spectrum,
                                                  std::span<const double> points, double offsetDb,
                                                  double contourScale, double tiltDb) const
{
    std::vector<double> curve = spectrum;
    ApplySplineCurve(curve, points, contourScale, tiltDb);
    if (offsetDb != 0.0)
    {
        AddToEvery(curve, offsetDb);
    }
    return curve;
}

void CReferenceProfileEditorViewportWnd::UpdateBloomPreview()
{
    if (!hasProfile || !Exists(bloomView))
    {
        return;
    }
    const double fb = GetFocusBloomDb();
    const double c = GetContour();
    const double t = GetToneTiltDb();
    bloomView.SetSpectra(EffectiveSampleRate(), EffectiveFftSize(),
                         EvaluateCurve(workingProfile.midSpectrum, midPoints, -fb, c, t),
                         EvaluateCurve(workingProfile.sideSpectrum, sidePoints, fb, c, t));
}

void CReferenceProfileEditorViewportWnd::ApplyPendingEdit(ReferenceProfile& profile,
                                                          double contourScale, double tiltDb,
                                                          double focusBloom) const
{
    const auto edit = [&](std::vector<double>& mid, std::vector<double>& side, int fftSize)
    {
        ApplySplineCurve(mid, midPoints, contourScale, tiltDb, fftSize);
        ApplySplineCurve(side, sidePoints, contourScale, tiltDb, fftSize);
        AddToEvery(mid, -focusBloom);
        AddToEvery(side, focusBloom);
    };
    // The header spectra are binned by the header's size.
    const int headerSize = profile.fftSize >= 1 ? profile.fftSize : kDefaultFftSize;
    edit(profile.midSpectrum, profile.sideSpectrum, headerSize);
    // Each set is binned by its own size: mapped by the header's, a set of
    // another size would take the edit an octave or more away.
    for (SpectrumSet& set : profile.spectrumSets)
    {
        edit(set.mid, set.side, set.fftSize >= 1 ? set.fftSize : headerSize);
    }
    if (!profile.spectrumSets.empty())
    {
        const SpectrumSet& first = profile.spectrumSets.front();
        profile.fftSize = first.fftSize;
        profile.midSpectrum = first.mid;
        profile.sideSpectrum = first.side;
    }
}

bool CReferenceProfileEditorViewportWnd::BuildEditedProfile(ReferenceProfile& out) const
{
    if (!hasProfile)
    {
        return false;
    }
    ReferenceProfile edited = workingProfile;
    ApplyPendingEdit(edited, GetContour(), GetToneTiltDb(), GetFocusBloomDb());
    out = std::move(edited);
    return true;
}

void CReferenceProfileEditorViewportWnd::ApplyEdits()
{
    if (!hasProfile)
    {
        return;
    }
    ReadEditorState();
    ReferenceProfile edited = workingProfile;
    ApplyPendingEdit(edited, GetContour(), GetToneTiltDb(), GetFocusBloomDb());
    workingProfile = std::move(edited);
    ResetEdits();
    SyncChildren();
}

bool CReferenceProfileEditorViewportWnd::Is(LPARAM control, const CBaseControlWnd& child) const
{
    // Compared as numbers: an unknown lParam is never read as a control.
    return control == reinterpret_cast<LPARAM>(static_cast<const CBaseControlWnd*>(&child));
}

bool CReferenceProfileEditorViewportWnd::IsSlider(LPARAM control) const
{
    return Is(control, contourSlider) || Is(control, toneTiltSlider) ||
           Is(control, focusBloomSlider);
}

void CReferenceProfileEditorViewportWnd::SendAction(int action)
{
    const HWND self = GetSafeHwnd();
    const HWND parent = ::IsWindow(self) ? ::GetParent(self) : nullptr;
    if (parent == nullptr || !::IsWindow(parent))
    {
        return;
    }
    ProfileEditorAction record;
    record.action = action;
    ::SendMessage(parent, WMU_PROFILE_EDITOR_ACTION, 0, reinterpret_cast<LPARAM>(&record));
}

void CReferenceProfileEditorViewportWnd::RepaintPage()
{
    RepaintGraph(*this);
}

LRESULT CReferenceProfileEditorViewportWnd::OnControlChanged(WPARAM, LPARAM lParam)
{
    if (lParam == 0)
    {
        return 0;
    }
    if (Is(lParam, modeSelector))
    {
        // The points of the mode being left stay stored.
        ReadEditorState();
        curveMode = modeSelector.GetMode() != 0 ? 1 : 0;
        SyncChildren();
    }
    else if (IsSlider(lParam))
    {
        ReadEditorState();
        RefreshEditorParameters();
        UpdateBloomPreview();
    }
    else if (Is(lParam, applyButton))
    {
        ApplyEdits();
        SendAction(1);
    }
    else if (Is(lParam, saveButton))
    {
        SendAction(2);
    }
    else if (Is(lParam, cancelButton))
    {
        if (hasProfile)
        {
            workingProfile = loadedProfile;
            ResetEdits();
            SyncChildren();
            RepaintPage();
        }
        SendAction(3);
    }
    return 0;
}

LRESULT CReferenceProfileEditorViewportWnd::OnControlCommit(WPARAM, LPARAM lParam)
{
    if (lParam != 0 && IsSlider(lParam))
    {
        ReadEditorState();
        RefreshEditorParameters();
        UpdateBloomPreview();
        SendAction(0);
    }
    return 0;
}

LRESULT CReferenceProfileEditorViewportWnd::OnSpectrumPointsChanged(WPARAM, LPARAM)
{
    ReadEditorState();
    UpdateBloomPreview();
    return 0;
}

LRESULT CReferenceProfileEditorViewportWnd::OnSpectrumPointsCommitted(WPARAM, LPARAM)
{
    ReadEditorState();
    UpdateBloomPreview();
    SendAction(0);
    return 0;
}

std::array<CRect, CReferenceProfileEditorViewportWnd::kChildCount>
CReferenceProfileEditorViewportWnd::ComputeLayout(const CRect& client)
{
    const int l = client.left;
    const int t = client.top;
    const int r = client.right;
    const int b = client.bottom;
    const int g = (2 * ((r - 18) - (l + 18)) - 32) / 3;
    const int h = (g - 14) / 2;
    const int e = l + 18 + g;
    std::array<CRect, kChildCount> rects;
    rects[kModeSelector] = CRect(l + 18, b - 52, l + 238, b - 6);
    rects[kSpectrumEditor] = CRect(l + 18, t + 52, e, b - 158);
    rects[kContourSlider] = CRect(l + 18, b - 146, l + 18 + h, b - 66);
    rects[kToneTiltSlider] = CRect(l + 18 + h + 14, b - 146, e, b - 66);
    rects[kBloomView] = CRect(e + 16, t + 52, r - 18, b - 158);
    rects[kFocusBloomSlider] = CRect(e + 16, b - 146, r - 18, b - 66);
    rects[kApplyButton] = CRect(r - 356, b - 52, r - 250, b - 18);
    rects[kSaveButton] = CRect(r - 240, b - 52, r - 134, b - 18);
    rects[kCancelButton] = CRect(r - 124, b - 52, r - 18, b - 18);
    return rects;
}

void CReferenceProfileEditorViewportWnd::LayoutChildren(const CRect& client)
{
    const std::array<CRect, kChildCount> rects = ComputeLayout(client);
    CWnd* const children[kChildCount] = {&modeSelector,   &spectrumEditor, &contourSlider,
                                         &toneTiltSlider, &bloomView,      &focusBloomSlider,
                                         &applyButton,    &saveButton,     &cancelButton};
    for (int i = 0; i < kChildCount; ++i)
    {
        if (Exists(*children[i]))
        {
            children[i]->MoveWindow(&rects[i], TRUE);
        }
    }
}

void CReferenceProfileEditorViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    CRect client;
    GetClientRect(&client);
    LayoutChildren(client);
}

CReferenceProfileEditorViewportWnd::State CReferenceProfileEditorViewportWnd::GetState() const
{
    State state;
    state.size = ClientSizeOf(*this);
    state.hasProfile = hasProfile;
    state.profilePath = profilePath;
    state.errorText = errorText;
    state.backgroundColor = backgroundColor;
    return state;
}

void CReferenceProfileEditorViewportWnd::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    if (state.size.cx <= 0 || state.size.cy <= 0)
    {
        return;
    }
    const RECT client{0, 0, state.size.cx, state.size.cy};
    const COLORREF top = LiftChannels(state.backgroundColor, 0.72f, 6.16f, 6.72f, 8.12f);
    const COLORREF bottom = LiftChannels(state.backgroundColor, 0.82f, 1.62f, 1.80f, 2.16f);
    PaintGraphBackground(graphics, client, Gdiplus::ColorFromRef(top).GetValue(),
                         Gdiplus::ColorFromRef(bottom).GetValue());

    const REAL width = REAL(state.size.cx);
    const REAL height = REAL(state.size.cy);
    if (state.hasProfile)
    {
        DrawControlText(graphics, L"Reference Profile Editor", {16.0f, Gdiplus::FontStyleBold},
                        kTitleText, Gdiplus::RectF(18, 8, 320, 20), Gdiplus::StringAlignmentNear,
                        Gdiplus::StringAlignmentNear);
        const wchar_t* path = state.profilePath.empty() ? L"Editing the loaded profile fingerprint."
                                                        : state.profilePath.c_str();
        DrawControlText(graphics, path, {9.5f}, kSubtitleText,
                        Gdiplus::RectF(18, 30, width - 36, 16), Gdiplus::StringAlignmentNear,
                        Gdiplus::StringAlignmentNear);
        return;
    }
    const REAL titleTop = 0.34f * height;
    DrawControlText(graphics,
                    state.errorText.empty() ? L"Reference Profile Editor"
                                            : L"Reference Profile Unavailable",
                    {18.0f, Gdiplus::FontStyleBold}, kEmptyTitleText,
                    Gdiplus::RectF(40, titleTop, width - 80, 36));
    DrawControlText(graphics,
                    state.errorText.empty() ? L"Load a reference profile to shape its mid and "
                                              L"side curves and preview the stereo field bloom."
                                            : state.errorText.c_str(),
                    {11.0f}, kSubtitleText, Gdiplus::RectF(60, titleTop + 44, width - 120, 120));
}

void CReferenceProfileEditorViewportWnd::OnPaint()
{
    PaintGraph(*this);
}
