#include "profiles/profile_curve_editor_dlg.h"

#include "profiles/spline_points.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(CProfileCurveEditorDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CProfileCurveEditorDlg, CDialogEx)
ON_BN_CLICKED(1054, &CProfileCurveEditorDlg::OnMid)
ON_BN_CLICKED(1055, &CProfileCurveEditorDlg::OnSide)
ON_BN_CLICKED(1057, &CProfileCurveEditorDlg::OnReset)
ON_BN_CLICKED(1058, &CProfileCurveEditorDlg::OnApply)
ON_CBN_SELCHANGE(1056, &CProfileCurveEditorDlg::OnPointsChanged)
ON_MESSAGE(WMU_SPECTRUM_POINTS_CHANGED, &CProfileCurveEditorDlg::OnSpectrumPointsChanged)
END_MESSAGE_MAP()

namespace
{

constexpr int kEditorFrameId = 1053;
constexpr int kBloomFrameId = 1059;
constexpr int kPointsComboId = 1056;
constexpr int kMidRadioId = 1054;
constexpr int kDefaultSampleRate = 44100;
constexpr int kDefaultFftSize = 4096;
constexpr const wchar_t* kPointChoices[] = {L"4", L"6", L"8", L"10", L"12"};

} // namespace

CProfileCurveEditorDlg::CProfileCurveEditorDlg(ReferenceProfile* edited, CWnd* parent)
    : CDialogEx(kTemplateId, parent), profile(edited)
{
}

void CProfileCurveEditorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, kEditorFrameId, editorFrame);
    DDX_Control(pDX, kBloomFrameId, bloomFrame);
    DDX_Control(pDX, kPointsComboId, pointsCombo);
    DDX_Radio(pDX, kMidRadioId, curveMode);
}

BOOL CProfileCurveEditorDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    for (const wchar_t* choice : kPointChoices)
    {
        pointsCombo.AddString(choice);
    }
    pointsCombo.SetCurSel(1);
    pointCount = 6;
    EnsurePointCounts();

    // The frames only mark where the two views go.
    const auto placeOver = [this](CWnd& frame)
    {
        CRect rect;
        frame.GetWindowRect(&rect);
        ScreenToClient(&rect);
        frame.ShowWindow(SW_HIDE);
        return rect;
    };
    spectrumEditor.Create(placeOver(editorFrame), this, kSpectrumEditorId);
    bloomView.Create(placeOver(bloomFrame), this, kBloomViewId);
    RefreshEditors();
    return TRUE;
}

int CProfileCurveEditorDlg::HeaderSampleRate() const
{
    return profile != nullptr && profile->sampleRate >= 1 ? profile->sampleRate
                                                          : kDefaultSampleRate;
}

int CProfileCurveEditorDlg::HeaderFftSize() const
{
    return profile != nullptr && profile->fftSize >= 1 ? profile->fftSize : kDefaultFftSize;
}

void CProfileCurveEditorDlg::StoreEditorPoints()
{
    if (spectrumEditor.GetSafeHwnd() != nullptr)
    {
        (curveMode == 1 ? sidePoints : midPoints) = spectrumEditor.points;
    }
}

void CProfileCurveEditorDlg::EnsurePointCounts()
{
    const auto size = static_cast<std::size_t>(std::max(pointCount, 0));
    midPoints.resize(size, 0.0);
    sidePoints.resize(size, 0.0);
}

void CProfileCurveEditorDlg::RefreshEditors()
{
    if (profile == nullptr || spectrumEditor.GetSafeHwnd() == nullptr)
    {
        return;
    }
    EnsurePointCounts();
    const int rate = HeaderSampleRate();
    const int size = HeaderFftSize();
    spectrumEditor.SetSampleRate(rate);
    spectrumEditor.SetFftSize(size);
    bloomView.sampleRate = rate;
    bloomView.fftSize = size;
    if (bloomView.GetSafeHwnd() != nullptr)
    {
        bloomView.Invalidate(FALSE);
    }
    spectrumEditor.SetPointCount(pointCount);
    const bool side = curveMode == 1;
    spectrumEditor.SetCurveMode(side ? 1 : 0);
    spectrumEditor.SetSpectrum(side ? profile->sideSpectrum : profile->midSpectrum);
    spectrumEditor.SetReferenceSpectrum(side ? profile->midSpectrum : profile->sideSpectrum);
    spectrumEditor.SetPoints(side ? sidePoints : midPoints);
    spectrumEditor.SetReferencePoints(side ? midPoints : sidePoints);
    UpdateBloomPreview();
}

std::vector<double> CProfileCurveEditorDlg::EvaluateCurve(const std::vector<double>& spectrum,
                                                          const std::vector<double>& points) const
{
    std::vector<double> curve = spectrum;
    if (profile != nullptr)
    {
        AddSplineCorrection(curve, points, HeaderSampleRate(), HeaderFftSize(), 1.0, 0.0);
    }
    return curve;
}

void CProfileCurveEditorDlg::ApplyCurve(std::vector<double>& spectrum,
                                        const std::vector<double>& points, int fftSize) const
{
    if (profile != nullptr)
    {
        AddSplineCorrection(spectrum, points, HeaderSampleRate(),
                            fftSize >= 1 ? fftSize : kDefaultFftSize, 1.0, 0.0);
    }
}

void CProfileCurveEditorDlg::UpdateBloomPreview()
{
    if (profile == nullptr || bloomView.GetSafeHwnd() == nullptr)
    {
        return;
    }
    bloomView.SetSpectra(HeaderSampleRate(), HeaderFftSize(),
                         EvaluateCurve(profile->midSpectrum, midPoints),
                         EvaluateCurve(profile->sideSpectrum, sidePoints));
}

void CProfileCurveEditorDlg::OnMid()
{
    StoreEditorPoints();
    curveMode = 0;
    RefreshEditors();
}

void CProfileCurveEditorDlg::OnSide()
{
    StoreEditorPoints();
    curveMode = 1;
    RefreshEditors();
}

void CProfileCurveEditorDlg::OnPointsChanged()
{
    StoreEditorPoints();
    const int selected = pointsCombo.GetCurSel();
    if (selected < 0)
    {
        return;
    }
    CString text;
    pointsCombo.GetLBText(selected, text);
    int value = 0;
    try
    {
        value = std::stoi(std::wstring(text.GetString()));
    }
    catch (const std::exception&)
    {
        value = 0; // a list item that is not a number counts as the fewest points
    }
    pointCount = std::clamp(value, 4, 16);
    EnsurePointCounts();
    RefreshEditors();
}

void CProfileCurveEditorDlg::OnReset()
{
    (curveMode == 1 ? sidePoints : midPoints)
        .assign(static_cast<std::size_t>(std::max(pointCount, 0)), 0.0);
    RefreshEditors();
}

void CProfileCurveEditorDlg::OnApply()
{
    if (profile == nullptr)
    {
        return;
    }
    StoreEditorPoints();
    // Each set has its own FFT size, so each maps its bins on its own axis.
    const auto applyTo = [this](const std::vector<double>& points, bool side)
    {
        if (points.empty())
        {
            return;
        }
        ApplyCurve(side ? profile->sideSpectrum : profile->midSpectrum, points, HeaderFftSize());
        for (SpectrumSet& set : profile->spectrumSets)
        {
            ApplyCurve(side ? set.side : set.mid, points, set.fftSize);
        }
    };
    applyTo(midPoints, false);
    applyTo(sidePoints, true);
    if (!profile->spectrumSets.empty())
    {
        const SpectrumSet& first = profile->spectrumSets.front();
        profile->fftSize = first.fftSize;
        profile->midSpectrum = first.mid;
        profile->sideSpectrum = first.side;
    }
    AfxMessageBox(L"Curve edits applied in memory. Use Save Profile to persist them.",
                  MB_OK | MB_ICONINFORMATION);
    RefreshEditors();
}

LRESULT CProfileCurveEditorDlg::OnSpectrumPointsChanged(WPARAM, LPARAM)
{
    StoreEditorPoints();
    UpdateBloomPreview();
    return 0;
}
