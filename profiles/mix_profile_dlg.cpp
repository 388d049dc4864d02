#include "profiles/mix_profile_dlg.h"

#include "base/path_parts.h"
#include "controls/base/user_folders.h"

#include <string>

IMPLEMENT_DYNAMIC(CMixProfileDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CMixProfileDlg, CDialogEx)
ON_BN_CLICKED(1048, &CMixProfileDlg::OnLoadA)
ON_BN_CLICKED(1049, &CMixProfileDlg::OnLoadB)
ON_BN_CLICKED(1051, &CMixProfileDlg::OnMix)
ON_BN_CLICKED(IDOK, &CMixProfileDlg::OnSave)
END_MESSAGE_MAP()

namespace
{

constexpr int kIncludeAudioCheckId = 1005;
constexpr int kSliderId = 1050;

} // namespace

CMixProfileDlg::CMixProfileDlg(CWnd* parent) : CDialogEx(kTemplateId, parent)
{
}

CMixProfileDlg::~CMixProfileDlg() = default;

void CMixProfileDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Text(pDX, 1046, fileNameA);
    DDX_Text(pDX, 1047, fileNameB);
    DDX_Text(pDX, 1015, nameText);
    DDX_Text(pDX, 1016, commentText);
    DDX_Control(pDX, kSliderId, slider);
}

BOOL CMixProfileDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    SetWindowText(L"Mix Profiles");
    slider.SetRange(0, 100, TRUE);
    slider.SetTicFreq(10);
    slider.SetPos(mixPosition);
    includeAudioCheck = ::GetDlgItem(GetSafeHwnd(), kIncludeAudioCheckId);
    if (includeAudioCheck != nullptr)
    {
        ::ShowWindow(includeAudioCheck, SW_HIDE);
    }
    return TRUE;
}

void CMixProfileDlg::BrowseProfile(CString& fullPath, CString& shownName)
{
    UpdateData(TRUE);
    const std::wstring folder = GetUserProfilesFolder();
    CFileDialog dialog(TRUE, L"prs", fullPath.IsEmpty() ? nullptr : fullPath.GetString(),
                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                       L"Profile Files (*.prs)|*.prs||", this);
    dialog.m_ofn.lpstrTitle = L"Load Reference Profile";
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    if (dialog.DoModal() != IDOK || GetSafeHwnd() == nullptr)
    {
        return;
    }
    fullPath = dialog.GetPathName();
    shownName = CString(FileNamePart(fullPath.GetString()));
    UpdateData(FALSE);
}

void CMixProfileDlg::OnLoadA()
{
    BrowseProfile(profilePathA, fileNameA);
}

void CMixProfileDlg::OnLoadB()
{
    BrowseProfile(profilePathB, fileNameB);
}

void CMixProfileDlg::ReadChoices()
{
    UpdateData(TRUE);
    mixPosition = slider.GetPos();
}

void CMixProfileDlg::OnMix()
{
    ReadChoices();
    if (owner != nullptr)
    {
        m_mixed = owner->MixProfilesForPreview(*this);
    }
}

void CMixProfileDlg::OnSave()
{
    ReadChoices();
    if (owner == nullptr)
    {
        return;
    }
    // Before a successful Mix the preview profile is whatever was loaded last,
    // not a mix of A and B.
    if (!m_mixed)
    {
        AfxMessageBox(L"Mix the profiles first so there is a preview profile to save.",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    const HWND window = GetSafeHwnd();
    if (owner->SaveMergedProfile(*this) && ::IsWindow(window) && GetSafeHwnd() == window)
    {
        DestroyWindow();
    }
}

void CMixProfileDlg::OnCancel()
{
    const HWND window = GetSafeHwnd();
    if (owner != nullptr)
    {
        owner->RestoreProfileAfterMix();
    }
    if (window != nullptr && ::IsWindow(window) && GetSafeHwnd() == window)
    {
        DestroyWindow();
    }
}
