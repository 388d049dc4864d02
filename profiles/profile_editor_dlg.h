#pragma once

#include "engine/profiles/reference_profile.h"
#include "platform/mfc/afxwin.h"

// A modal developer tool that edits the metadata of one stored reference
// profile: its texts and level numbers, its library comment in the folder's
// "meta.json" and the file's own name. It opens the curve editor on the
// profile in memory; only Save Profile, Save Comment and Rename touch disk.
class CProfileEditor : public CDialogEx
{
    DECLARE_DYNAMIC(CProfileEditor)

public:
    static constexpr UINT kTemplateId = 324;

    explicit CProfileEditor(CWnd* parent = nullptr);
    ~CProfileEditor() override;

    bool LoadProfile(CString& error);
    // Copies `profile` and `profilePath` into the members and, with a window, the controls.
    void FillFields();
    bool SaveProfile(CString& error);
    bool SaveComment(CString& error);

    CString profilePath;
    ReferenceProfile profile;
    CString pathText;
    CString nameText;
    CString descriptionText;
    CString sourceFileText;
    CString libraryComment;
    CString newFileName;
    double referenceMatchRms = 0.0;
    double finalAmplitudeCoefficient = 1.0;
    double integratedLufs = 0.0;
    double truePeak = 0.0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSaveProfile();
    afx_msg void OnSaveComment();
    afx_msg void OnRename();
    afx_msg void OnAnalyze();
    afx_msg void OnCurveEditor();
    DECLARE_MESSAGE_MAP()

private:
    // Reads the controls, runs `save` and shows `done` or its error.
    void RunSave(bool (CProfileEditor::*save)(CString&), const wchar_t* done);

    // The loudness the field was filled with, and as its text reads back: a
    // profile without a loudness aim gains one only when the user changes it.
    double m_filledLufs = 0.0;
    double m_filledLufsShown = 0.0;
};
