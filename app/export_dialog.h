#pragma once

#include "app/export_options.h"
#include "platform/mfc/afxwin.h"

// The choices made before an export: output file, format, rate, bit depth,
// bitrate, quality, an optional loudness delivery target, and whether an
// existing file is replaced without asking. It fills and reads its controls;
// the export controller sets the members before DoModal and reads them after.
class CExportDialog : public CDialogEx
{
    DECLARE_DYNAMIC(CExportDialog)

public:
    static constexpr UINT kTemplateId = 322;

    explicit CExportDialog(CWnd* parent = nullptr);
    ~CExportDialog() override;

    CString outputPath;
    ExportOptions options;
    int internalRate = 48000; // for the "Optimal" label
    int sourceRate = 0;       // for the "Source" label
    int overwrite = 0;

    CComboBox sampleRateList;
    CComboBox bitDepthList;
    CComboBox formatList;
    CComboBox bitrateList;
    CComboBox modeList;
    CComboBox qualityList;
    CComboBox presetList;
    CComboBox loudnessModeList;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnBrowse();
    afx_msg void OnFormatChanged();
    afx_msg void OnModeChanged();
    afx_msg void OnPresetChanged();
    DECLARE_MESSAGE_MAP()

private:
    void FillLists();
    void UpdateEnabledStates();
    void ReadLists();
};
