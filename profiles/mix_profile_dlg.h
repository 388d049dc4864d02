#pragma once

#include "platform/mfc/afxwin.h"

class CMixProfileDlg;

// What the mix dialog asks of the view that owns it; the view does the work.
class IMixProfileOwner
{
public:
    virtual ~IMixProfileOwner() = default;
    // Mixes profiles A and B at the dialog's position into the preview profile.
    virtual bool MixProfilesForPreview(CMixProfileDlg& dialog) = 0;
    // Saves the preview mix under the dialog's name and comment.
    virtual bool SaveMergedProfile(CMixProfileDlg& dialog) = 0;
    // Brings back the profile that was active before mixing.
    virtual void RestoreProfileAfterMix() = 0;
};

// A modeless developer tool: pick two stored profiles, set the balance between
// them, hear the mix as a preview and save it under a name with a comment.
class CMixProfileDlg : public CDialogEx
{
    DECLARE_DYNAMIC(CMixProfileDlg)

public:
    static constexpr UINT kTemplateId = 327;

    explicit CMixProfileDlg(CWnd* parent = nullptr);
    ~CMixProfileDlg() override;

    CString profilePathA;
    CString profilePathB;
    CString fileNameA;
    CString fileNameB;
    CString nameText;
    CString commentText;
    int mixPosition = 50;
    CSliderCtrl slider;
    HWND includeAudioCheck = nullptr;
    IMixProfileOwner* owner = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void BrowseProfile(CString& fullPath, CString& shownName);
    // Reads the controls and the slider position.
    void ReadChoices();

    afx_msg void OnLoadA();
    afx_msg void OnLoadB();
    afx_msg void OnMix();
    afx_msg void OnSave();
    DECLARE_MESSAGE_MAP()

private:
    // Whether the last Mix made a preview; Save has nothing to save before one.
    bool m_mixed = false;
};
