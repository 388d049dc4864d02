#include "platform/mfc/common_dialogs.h"

#include "base/path_parts.h"
#include "base/unicode_text.h"
#include "platform/mfc/afx_message_box.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/message_loop.h"

#include <filesystem>
#include <system_error>

namespace
{

HWND OwnerTopLevel(CWnd* parent)
{
    const HWND hwnd = parent != nullptr ? parent->GetSafeHwnd() : AfxDefaultModalOwner();
    return hwnd != nullptr ? ::GetAncestorTopLevel(hwnd) : nullptr;
}

// "Desc|*.a;*.b|Desc2|*.c||" as (description, patterns) pairs; the list ends
// at an empty description.
std::vector<std::pair<std::wstring, std::wstring>> ParseFilter(const std::wstring& filter)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= filter.size())
    {
        const size_t bar = filter.find(L'|', start);
        parts.push_back(
            filter.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos)
        {
            break;
        }
        start = bar + 1;
    }
    std::vector<std::pair<std::wstring, std::wstring>> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
    {
        if (parts[i].empty())
        {
            break;
        }
        filters.emplace_back(parts[i], parts[i + 1]);
    }
    return filters;
}

bool HasExtension(const std::wstring& path)
{
    const std::wstring name = FileNamePart(path);
    const size_t dot = name.rfind(L'.');
    return dot != std::wstring::npos && dot > 0 && dot + 1 < name.size();
}

bool Exists(const std::wstring& path)
{
    std::error_code error;
    return std::filesystem::exists(WidePathToFs(path), error);
}

} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defaultExtension, LPCTSTR fileName,
                         DWORD flags, LPCTSTR filter, CWnd* parent, DWORD, BOOL)
    : m_open(openFileDialog != FALSE),
      m_defaultExtension(defaultExtension != nullptr ? defaultExtension : L""),
      m_fileName(fileName != nullptr ? fileName : L""), m_filter(filter != nullptr ? filter : L""),
      m_parent(parent)
{
    m_ofn.Flags = flags;
    m_ofn.lpstrFilter = m_filter.c_str();
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size() + 1);
}

INT_PTR CFileDialog::DoModal()
{
    brvl::backend::FileDialogRequest request;
    request.open = m_open;
    request.title = m_ofn.lpstrTitle != nullptr ? m_ofn.lpstrTitle : L"";
    request.initialFolder = m_ofn.lpstrInitialDir != nullptr ? m_ofn.lpstrInitialDir : L"";
    request.fileName = m_fileName;
    request.defaultExtension = m_ofn.lpstrDefExt != nullptr ? m_ofn.lpstrDefExt : L"";
    request.filters = ParseFilter(m_filter);
    request.flags = m_ofn.Flags;

    const HWND owner = m_ofn.hwndOwner != nullptr ? ::GetAncestorTopLevel(m_ofn.hwndOwner)
                                                  : OwnerTopLevel(m_parent);
    const std::optional<std::wstring> chosen = brvl::win32::ShowModalFileDialog(owner, request);
    if (!chosen || chosen->empty())
    {
        return IDCANCEL; // nothing changes
    }
    std::wstring path = *chosen;
    if (!request.defaultExtension.empty() && !HasExtension(path))
    {
        path += L"." + request.defaultExtension;
        // The dialog asked about the name it returned, not about this one.
        if (!m_open && (m_ofn.Flags & OFN_OVERWRITEPROMPT) != 0 && Exists(path))
        {
            CString question;
            question.Format(L"%ls already exists.\nDo you want to replace it?",
                            FileNamePart(path).c_str());
            if (AfxMessageBox(question, MB_YESNO | MB_ICONWARNING) != IDYES)
            {
                return IDCANCEL;
            }
        }
    }
    if (m_open && (m_ofn.Flags & OFN_FILEMUSTEXIST) != 0 && !Exists(path))
    {
        CString message;
        message.Format(L"%ls\nFile not found.\nCheck the file name and try again.", path.c_str());
        AfxMessageBox(message, MB_OK | MB_ICONWARNING);
        return IDCANCEL;
    }
    m_pathName = path;
    return IDOK;
}

CString CFileDialog::GetFileName() const
{
    return CString(FileNamePart(m_pathName));
}

CString CFileDialog::GetFileExt() const
{
    const std::wstring name = FileNamePart(m_pathName);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? CString() : CString(name.substr(dot + 1));
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : m_parent(parent)
{
    m_cc.rgbResult = initial;
    m_cc.Flags = flags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    const HWND owner =
        m_cc.hwndOwner != nullptr ? ::GetAncestorTopLevel(m_cc.hwndOwner) : OwnerTopLevel(m_parent);
    const std::optional<COLORREF> chosen = brvl::win32::ShowModalColorDialog(owner, m_cc.rgbResult);
    if (!chosen)
    {
        return IDCANCEL;
    }
    m_cc.rgbResult = *chosen & 0x00FFFFFFu;
    return IDOK;
}
