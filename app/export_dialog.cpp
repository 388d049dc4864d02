#include "app/export_dialog.h"

#include <cmath>
#include <cstdint>
#include <string>

IMPLEMENT_DYNAMIC(CExportDialog, CDialogEx)

namespace
{

constexpr int kBrowseId = 1017;
constexpr int kSampleRateId = 1018;
constexpr int kBitDepthId = 1019;
constexpr int kPathId = 1020;
constexpr int kFormatId = 1024;
constexpr int kBitrateId = 1025;
constexpr int kModeId = 1026;
constexpr int kQualityId = 1027;
constexpr int kPresetId = 1028;
constexpr int kTargetId = 1029;
constexpr int kCeilingId = 1030;
constexpr int kLoudnessModeId = 1031;
constexpr int kOverwriteId = 1005;

constexpr int kVbr = 2;

// Loudness a delivery target can ask for: the absolute gate's floor to full scale.
constexpr double kLowestTargetLufs = -70.0;
constexpr double kLowestCeilingDbtp = -20.0;

void AddItem(CComboBox& list, const CString& text, int value)
{
    const int index = list.AddString(text);
    list.SetItemData(index, static_cast<DWORD_PTR>(static_cast<std::intptr_t>(value)));
}

int ItemValue(const CComboBox& list, int index)
{
    return static_cast<int>(static_cast<std::intptr_t>(list.GetItemData(index)));
}

// Selects the item holding `value`; false when none does.
bool SelectValue(CComboBox& list, int value)
{
    for (int i = 0; i < list.GetCount(); ++i)
    {
        if (ItemValue(list, i) == value)
        {
            list.SetCurSel(i);
            return true;
        }
    }
    return false;
}

void SelectIndexOr(CComboBox& list, int index, int fallback)
{
    list.SetCurSel(index >= 0 && index < list.GetCount() ? index : fallback);
}

int SelectedValue(const CComboBox& list, int fallback)
{
    const int index = list.GetCurSel();
    return index >= 0 ? ItemValue(list, index) : fallback;
}

CString Formatted(const wchar_t* format, int value)
{
    CString text;
    text.Format(format, value);
    return text;
}

bool IsFormatWithBitrate(int format)
{
    return format == ExportMp3 || format == ExportOgg;
}

} // namespace

BEGIN_MESSAGE_MAP(CExportDialog, CDialogEx)
ON_BN_CLICKED(1017, &CExportDialog::OnBrowse)
ON_CBN_SELCHANGE(1024, &CExportDialog::OnFormatChanged)
ON_CBN_SELCHANGE(1026, &CExportDialog::OnModeChanged)
ON_CBN_SELCHANGE(1028, &CExportDialog::OnPresetChanged)
END_MESSAGE_MAP()

CExportDialog::CExportDialog(CWnd* parent) : CDialogEx(kTemplateId, parent)
{
}

CExportDialog::~CExportDialog() = default;

void CExportDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, kSampleRateId, sampleRateList);
    DDX_Control(pDX, kBitDepthId, bitDepthList);
    DDX_Control(pDX, kFormatId, formatList);
    DDX_Control(pDX, kBitrateId, bitrateList);
    DDX_Control(pDX, kModeId, modeList);
    DDX_Control(pDX, kQualityId, qualityList);
    DDX_Control(pDX, kPresetId, presetList);
    DDX_Control(pDX, kLoudnessModeId, loudnessModeList);
    DDX_Check(pDX, kOverwriteId, overwrite);
    DDX_Text(pDX, kPathId, outputPath);
    DDX_Text(pDX, kTargetId, options.targetLufs);
    DDX_Text(pDX, kCeilingId, options.ceilingDbtp);
}

BOOL CExportDialog::OnInitDialog()
{
    // The base runs the exchange once; the path it writes is replaced below.
    CDialogEx::OnInitDialog();
    outputPath = CString(RemoveKnownAudioExtension(outputPath.GetString()).c_str());
    FillLists();
    UpdateEnabledStates();
    UpdateData(FALSE);
    return TRUE;
}

void CExportDialog::FillLists()
{
    AddItem(sampleRateList,
            internalRate >= 1 ? Formatted(L"Optimal (%d Hz)", internalRate) : CString(L"Optimal"),
            0);
    AddItem(sampleRateList,
            sourceRate >= 1 ? Formatted(L"Source (%d Hz)", sourceRate) : CString(L"Source"), -1);
    for (int rate : {44100, 48000, 96000})
    {
        AddItem(sampleRateList, Formatted(L"%d Hz", rate), rate);
    }
    if (!SelectValue(sampleRateList, options.sampleRateChoice))
    {
        sampleRateList.SetCurSel(0);
    }

    int value = 0;
    for (const wchar_t* name : {L"WAV", L"FLAC", L"MP3", L"OGG Vorbis"})
    {
        AddItem(formatList, name, value++);
    }
    SelectIndexOr(formatList, options.format, 0);

    AddItem(bitDepthList, L"16-bit PCM", 16);
    AddItem(bitDepthList, L"24-bit PCM", 24);
    if (!SelectValue(bitDepthList, options.bitDepth))
    {
        SelectValue(bitDepthList, 24);
    }

    value = 0;
    for (const wchar_t* name : {L"CBR", L"ABR", L"VBR"})
    {
        AddItem(modeList, name, value++);
    }
    SelectIndexOr(modeList, options.bitrateMode, 0);

    for (int kbps : {96, 128, 160, 192, 256, 320})
    {
        AddItem(bitrateList, Formatted(L"%d kbps", kbps), kbps);
    }
    if (!SelectValue(bitrateList, options.bitrateKbps))
    {
        bitrateList.SetCurSel(0);
    }

    const std::pair<const wchar_t*, int> qualities[] = {
        {L"Best", 100}, {L"High", 80}, {L"Medium", 60}, {L"Low", 40}, {L"Draft", 20}};
    for (const auto& [name, quality] : qualities)
    {
        AddItem(qualityList, name, quality);
    }
    if (!SelectValue(qualityList, options.quality))
    {
        SelectValue(qualityList, 80);
    }

    AddItem(presetList, L"None", -1);
    value = 0;
    for (const DeliveryTarget& target : kDeliveryTargets)
    {
        AddItem(presetList, CString(target.name), value++);
    }
    SelectIndexOr(presetList, options.loudnessPreset, 0);

    AddItem(loudnessModeList, L"Adjust Gain", 0);
    AddItem(loudnessModeList, L"Limit to Target", 1);
    SelectIndexOr(loudnessModeList, options.loudnessMode, 1);
}

void CExportDialog::UpdateEnabledStates()
{
    const int format = SelectedValue(formatList, options.format);
    const int mode = SelectedValue(modeList, options.bitrateMode);
    const bool withBitrate = IsFormatWithBitrate(format);
    const bool withTarget = presetList.GetCurSel() > 0;
    const HWND dialog = GetSafeHwnd();
    ::EnableWindow(::GetDlgItem(dialog, kBitDepthId), !withBitrate);
    ::EnableWindow(::GetDlgItem(dialog, kModeId), withBitrate);
    ::EnableWindow(::GetDlgItem(dialog, kBitrateId), withBitrate && mode != kVbr);
    ::EnableWindow(::GetDlgItem(dialog, kQualityId), withBitrate && mode == kVbr);
    for (int id : {kLoudnessModeId, kTargetId, kCeilingId})
    {
        ::EnableWindow(::GetDlgItem(dialog, id), withTarget);
    }
}

void CExportDialog::OnBrowse()
{
    if (!UpdateData(TRUE))
    {
        return;
    }
    ReadLists();
    const std::wstring extension = ExportExtension(options.format);
    const std::wstring initial =
        outputPath.IsEmpty() ? std::wstring() : std::wstring(outputPath.GetString()) + extension;
    CFileDialog dialog(FALSE, extension.c_str() + 1, initial.empty() ? nullptr : initial.c_str(),
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       L"Audio Files (*.wav;*.flac;*.mp3;*.ogg)|*.wav;*.flac;*.mp3;*.ogg|"
                       L"Wave Audio (*.wav)|*.wav|FLAC Audio (*.flac)|*.flac|"
                       L"MP3 Audio (*.mp3)|*.mp3|OGG Audio (*.ogg)|*.ogg|All Files (*.*)|*.*||",
                       this);
    dialog.m_ofn.lpstrTitle = L"Export Processed Audio";
    if (dialog.DoModal() != IDOK || GetSafeHwnd() == nullptr)
    {
        return;
    }
    const std::wstring chosen = dialog.GetPathName().GetString();
    options.format = ExportFormatForPath(chosen);
    formatList.SetCurSel(options.format);
    outputPath = CString(RemoveKnownAudioExtension(chosen).c_str());
    UpdateEnabledStates();
    UpdateData(FALSE);
}

void CExportDialog::OnFormatChanged()
{
    options.format = formatList.GetCurSel();
    UpdateEnabledStates();
}

void CExportDialog::OnModeChanged()
{
    options.bitrateMode = modeList.GetCurSel();
    UpdateEnabledStates();
}

void CExportDialog::OnPresetChanged()
{
    const int row = presetList.GetCurSel();
    options.loudnessPreset = row > 0 ? row : 0;
    if (options.loudnessPreset > 0)
    {
        const DeliveryTarget& target = kDeliveryTargets[size_t(options.loudnessPreset - 1)];
        options.targetLufs = target.targetLufs;
        options.ceilingDbtp = target.ceilingDbtp;
        CString text;
        text.Format(L"%.*g", 15, options.targetLufs);
        SetDlgItemText(kTargetId, text);
        text.Format(L"%.*g", 15, options.ceilingDbtp);
        SetDlgItemText(kCeilingId, text);
    }
    UpdateEnabledStates();
}

void CExportDialog::ReadLists()
{
    options.sampleRateChoice = SelectedValue(sampleRateList, 0);
    options.format = SelectedValue(formatList, 0);
    options.bitDepth = SelectedValue(bitDepthList, 24);
    options.bitrateMode = SelectedValue(modeList, 0);
    options.bitrateKbps = SelectedValue(bitrateList, 192);
    options.quality = SelectedValue(qualityList, 80);
    const int row = presetList.GetCurSel();
    options.loudnessPreset = row > 0 ? row : 0;
    options.loudnessMode = SelectedValue(loudnessModeList, 1);
}

void CExportDialog::OnOK()
{
    ReadLists();
    if (!UpdateData(TRUE))
    {
        return;
    }
    // The normaliser refuses what no delivery standard asks for; say so while
    // the numbers can still be corrected.
    if (options.loudnessPreset > 0)
    {
        if (!std::isfinite(options.targetLufs) || options.targetLufs < kLowestTargetLufs ||
            options.targetLufs > 0.0)
        {
            AfxMessageBox(L"Target loudness must be between -70 and 0 LUFS.");
            return;
        }
        if (!std::isfinite(options.ceilingDbtp) || options.ceilingDbtp < kLowestCeilingDbtp ||
            options.ceilingDbtp > 0.0)
        {
            AfxMessageBox(L"True-peak ceiling must be between -20 and 0 dBTP.");
            return;
        }
    }
    EndDialog(IDOK);
}
