#include "controls/base/user_folders.h"

#include "base/unicode_text.h"
#include "platform/win32/shell_folders.h"

std::wstring DocumentsFolder()
{
    PWSTR documents = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents);
    std::wstring folder = SUCCEEDED(result) && documents != nullptr ? documents : L"";
    CoTaskMemFree(documents);
    return folder;
}

namespace
{

std::wstring UserLibraryFolder(const wchar_t* kind)
{
    std::wstring folder = DocumentsFolder();
    if (folder.empty())
    {
        return folder;
    }
    if (folder.back() != L'/')
    {
        folder += L'/';
    }
    return folder + L"Brimhold/" + kind;
}

} // namespace

std::wstring ExeFolder()
{
    return FsPathToWide(WidePathToFs(brvl::win32::ModulePath()).parent_path());
}

std::wstring GetUserProfilesFolder()
{
    return UserLibraryFolder(L"profiles");
}

std::wstring GetUserStylesFolder()
{
    return UserLibraryFolder(L"style");
}

std::wstring GetUserPresetsFolder()
{
    return UserLibraryFolder(L"presets");
}
