#include "app/profile_folders.h"

#include "base/unicode_text.h"
#include "controls/base/user_folders.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

constexpr const char* kProfilesFolderName = "profiles";
constexpr const char* kUserFolderName = "Brimhold";

// Absolute and lexically normal, without the empty last component a trailing
// separator leaves; empty when the path is empty or has no absolute form.
fs::path NormalisedAbsolute(const std::wstring& path)
{
    if (path.empty())
    {
        return {};
    }
    std::error_code error;
    fs::path absolute = fs::absolute(WidePathToFs(path), error);
    if (error)
    {
        return {};
    }
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute != absolute.root_path())
    {
        absolute = absolute.parent_path();
    }
    return absolute;
}

// The number of components of `path` beyond those of `folder`, or -1 when
// `path` is not inside it.
int DepthInside(const std::wstring& path, const std::wstring& folder)
{
    const fs::path inner = NormalisedAbsolute(path);
    const fs::path outer = NormalisedAbsolute(folder);
    if (inner.empty() || outer.empty())
    {
        return -1;
    }
    auto it = inner.begin();
    for (const fs::path& component : outer)
    {
        if (it == inner.end() || *it != component)
        {
            return -1;
        }
        ++it;
    }
    return static_cast<int>(std::distance(it, inner.end()));
}

} // namespace

std::wstring FactoryProfilesFolder()
{
    return FsPathToWide(WidePathToFs(ExeFolder()) / kProfilesFolderName);
}

std::wstring DocumentsProfilesFolder()
{
    // Without a Documents folder the names still resolve, relative to the
    // working folder, so a pick fails on the file rather than on the folder.
    const std::wstring folder = GetUserProfilesFolder();
    return folder.empty() ? FsPathToWide(fs::path(kUserFolderName) / kProfilesFolderName) : folder;
}

std::string ProfileFileNamePart(const std::string& name)
{
    const size_t separator = name.find_last_of("\\/");
    return separator == std::string::npos ? name : name.substr(separator + 1);
}

std::wstring ResolveProfilePath(const std::string& fileName, bool factory)
{
    const std::string part = ProfileFileNamePart(fileName);
    // "." and ".." name folders, never a profile file beside the others.
    if (part.empty() || part == "." || part == "..")
    {
        return {};
    }
    const std::wstring folder = factory ? FactoryProfilesFolder() : DocumentsProfilesFolder();
    return FsPathToWide(WidePathToFs(folder) / WidePathToFs(Utf8ToWide(part)));
}

bool IsPathInsideFolder(const std::wstring& path, const std::wstring& folder)
{
    return DepthInside(path, folder) >= 0;
}

bool IsPathDirectlyInFolder(const std::wstring& path, const std::wstring& folder)
{
    return DepthInside(path, folder) == 1;
}

bool IsSameAbsolutePath(const std::wstring& a, const std::wstring& b)
{
    const fs::path first = NormalisedAbsolute(a);
    return !first.empty() && first == NormalisedAbsolute(b);
}
