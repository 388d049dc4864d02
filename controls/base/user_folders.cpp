#include "controls/base/user_folders.h"

#include "platform/win32/shell_folders.h"

std::wstring GetUserProfilesFolder()
{
    PWSTR documents = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents);
    std::wstring folder = SUCCEEDED(result) && documents != nullptr ? documents : L"";
    CoTaskMemFree(documents);
    if (folder.empty())
    {
        return folder;
    }
    if (folder.back() != L'/')
    {
        folder += L'/';
    }
    return folder + L"Brimhold/profiles";
}
