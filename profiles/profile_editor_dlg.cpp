#include "profiles/profile_editor_dlg.h"

#include "base/path_parts.h"
#include "base/unicode_text.h"
#include "engine/settings/library_comments.h"
#include "platform/mfc/number_text.h"
#include "profiles/profile_curve_editor_dlg.h"
#include "profiles/profile_description.h"

#include <exception>
#include <filesystem>
#include <system_error>

IMPLEMENT_DYNAMIC(CProfileEditor, CDialogEx)

BEGIN_MESSAGE_MAP(CProfileEditor, CDialogEx)
ON_BN_CLICKED(1041, &CProfileEditor::OnSaveProfile)
ON_BN_CLICKED(1042, &CProfileEditor::OnSaveComment)
ON_BN_CLICKED(1043, &CProfileEditor::OnRename)
ON_BN_CLICKED(1044, &CProfileEditor::OnAnalyze)
ON_BN_CLICKED(1052, &CProfileEditor::OnCurveEditor)
END_MESSAGE_MAP()

namespace
{

namespace fs = std::filesystem;

constexpr const wchar_t* kEmptyPath = L"Profile path is empty.";
constexpr const wchar_t* kProfileExtension = L".prs";
constexpr int kDescriptionId = 1034;

CString ExceptionText(const std::exception& e)
{
    return CString(Utf8ToWide(e.what()));
}

CString SystemText(const std::error_code& error)
{
    return CString(Utf8ToWide(error.message()));
}

// The name with ".prs" as its extension (exactly: ".PRS" is replaced too).
std::wstring WithProfileExtension(const std::wstring& name)
{
    const std::size_t dot = name.rfind(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot > 0;
    if (hasExtension && name.compare(dot, std::wstring::npos, kProfileExtension) == 0)
    {
        return name;
    }
    return (hasExtension ? name.substr(0, dot) : name) + kProfileExtension;
}

bool SamePath(const fs::path& a, const fs::path& b)
{
    if (a.lexically_normal() == b.lexically_normal())
    {
        return true;
    }
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

void ShowBox(const CString& text, UINT icon)
{
    AfxMessageBox(text, MB_OK | icon);
}

} // namespace

CProfileEditor::CProfileEditor(CWnd* parent) : CDialogEx(kTemplateId, parent)
{
}

CProfileEditor::~CProfileEditor() = default;

void CProfileEditor::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Text(pDX, 1032, pathText);
    DDX_Text(pDX, 1015, newFileName);
    DDX_Text(pDX, 1033, nameText);
    DDX_Text(pDX, 1034, descriptionText);
    DDX_Text(pDX, 1035, sourceFileText);
    DDX_Text(pDX, 1036, referenceMatchRms);
    DDX_Text(pDX, 1037, finalAmplitudeCoefficient);
    DDX_Text(pDX, 1038, integratedLufs);
    DDX_Text(pDX, 1039, truePeak);
    DDX_Text(pDX, 1040, libraryComment);
}

BOOL CProfileEditor::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    FillFields();
    return TRUE;
}

bool CProfileEditor::LoadProfile(CString& error)
{
    if (profilePath.IsEmpty())
    {
        error = kEmptyPath;
        return false;
    }
    try
    {
        ReferenceProfile loaded = ReadReferenceProfile(profilePath.GetString());
        const std::string comment = GetLibraryComment(profilePath.GetString());
        profile = std::move(loaded);
        libraryComment = CString(Utf8ToWide(comment));
        FillFields();
        return true;
    }
    catch (const std::exception& e)
    {
        error = ExceptionText(e);
        return false;
    }
}

void CProfileEditor::FillFields()
{
    pathText = profilePath;
    newFileName = CString(FileNamePart(profilePath.GetString()));
    nameText = CString(Utf8ToWide(profile.name));
    descriptionText = CString(Utf8ToWide(profile.description));
    sourceFileText = CString(Utf8ToWide(profile.sourceFileName));
    referenceMatchRms = profile.referenceMatchRms;
    finalAmplitudeCoefficient = profile.finalAmplitudeCoefficient;
    integratedLufs = profile.integratedLufs;
    truePeak = profile.truePeak;
    m_filledLufs = integratedLufs;
    CString shown;
    shown.Format(L"%.*g", 15, integratedLufs);
    m_filledLufsShown = ParseWholeDouble(shown.GetString()).value_or(integratedLufs);
    if (GetSafeHwnd() != nullptr)
    {
        UpdateData(FALSE);
    }
}

bool CProfileEditor::SaveProfile(CString& error)
{
    if (profilePath.IsEmpty())
    {
        error = kEmptyPath;
        return false;
    }
    try
    {
        profile.name = WideToUtf8(nameText.GetString());
        profile.description = WideToUtf8(descriptionText.GetString());
        profile.sourceFileName = WideToUtf8(sourceFileText.GetString());
        profile.referenceMatchRms = referenceMatchRms;
        profile.finalAmplitudeCoefficient = finalAmplitudeCoefficient;
        if (integratedLufs != m_filledLufs && integratedLufs != m_filledLufsShown)
        {
            profile.hasIntegratedLufs = true;
        }
        profile.integratedLufs = integratedLufs;
        profile.truePeak = truePeak;
        WriteReferenceProfile(profilePath.GetString(), profile);
        return true;
    }
    catch (const std::exception& e)
    {
        error = ExceptionText(e);
        return false;
    }
}

bool CProfileEditor::SaveComment(CString& error)
{
    if (profilePath.IsEmpty())
    {
        error = kEmptyPath;
        return false;
    }
    try
    {
        if (!SetLibraryComment(profilePath.GetString(), libraryComment.GetString()))
        {
            error = L"Failed to save library comment.";
            return false;
        }
        return true;
    }
    catch (const std::exception& e)
    {
        error = ExceptionText(e);
        return false;
    }
}

void CProfileEditor::RunSave(bool (CProfileEditor::*save)(CString&), const wchar_t* done)
{
    if (!UpdateData(TRUE))
    {
        return;
    }
    CString error;
    if ((this->*save)(error))
    {
        ShowBox(done, MB_ICONINFORMATION);
    }
    else
    {
        ShowBox(error, MB_ICONERROR);
    }
}

void CProfileEditor::OnSaveProfile()
{
    RunSave(&CProfileEditor::SaveProfile, L"Profile metadata saved.");
}

void CProfileEditor::OnSaveComment()
{
    RunSave(&CProfileEditor::SaveComment, L"Library comment saved.");
}

void CProfileEditor::OnRename()
{
    if (!UpdateData(TRUE))
    {
        return;
    }
    if (profilePath.IsEmpty())
    {
        ShowBox(kEmptyPath, MB_ICONERROR);
        return;
    }
    CString trimmed = newFileName;
    trimmed.Trim();
    const std::wstring typed = trimmed.GetString();
    // A separator would move the file out of its folder.
    if (typed.empty() || typed.find_first_of(L"/\\") != std::wstring::npos)
    {
        ShowBox(L"Enter a new profile file name first.", MB_ICONINFORMATION);
        return;
    }
    try
    {
        const std::wstring newName = WithProfileExtension(typed);
        const std::wstring oldPath = profilePath.GetString();
        const std::wstring folder = FolderPart(oldPath);
        const std::wstring oldName = FileNamePart(oldPath);
        const fs::path source = WidePathToFs(oldPath);
        const fs::path target = source.parent_path() / WidePathToFs(newName);
        if (SamePath(source, target))
        {
            return;
        }
        std::error_code error;
        if (fs::exists(fs::symlink_status(target, error)))
        {
            const CString question = CString(newName) + L" already exists.\nOverwrite it?";
            if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            {
                return;
            }
            if (fs::is_directory(fs::symlink_status(target, error)))
            {
                error = std::make_error_code(std::errc::is_a_directory);
            }
            else
            {
                fs::remove(target, error);
            }
            if (error)
            {
                ShowBox(L"Failed to remove the existing file:\n" + SystemText(error), MB_ICONERROR);
                return;
            }
        }
        fs::rename(source, target, error);
        if (error)
        {
            ShowBox(L"Failed to rename profile:\n" + SystemText(error), MB_ICONERROR);
            return;
        }
        // The replaced file's entries go first, or its comment would shadow the moved one.
        const bool dropped = RemoveLibraryCommentEntries(folder, newName);
        const bool moved = RenameLibraryCommentEntry(folder, oldName, newName);

        profilePath = FsPathToWide(target).c_str();
        CString loadError;
        if (!LoadProfile(loadError))
        {
            ShowBox(L"Profile was renamed, but reload failed:\n" + loadError, MB_ICONERROR);
        }
        else if (dropped && moved)
        {
            ShowBox(L"Profile renamed.", MB_ICONINFORMATION);
        }
        else
        {
            ShowBox(L"Profile renamed, but its library comment could not be moved.",
                    MB_ICONWARNING);
        }
    }
    catch (const std::exception& e)
    {
        ShowBox(L"Failed to rename profile:\n" + ExceptionText(e), MB_ICONERROR);
    }
}

void CProfileEditor::OnAnalyze()
{
    // Only the description changes, so what the user typed elsewhere stays.
    descriptionText = CString(DescribeProfile(profile));
    SetDlgItemText(kDescriptionId, descriptionText);
}

void CProfileEditor::OnCurveEditor()
{
    CProfileCurveEditorDlg editor(&profile, this);
    editor.DoModal();
}
