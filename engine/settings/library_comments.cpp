#include "engine/settings/library_comments.h"

#include "engine/settings/json_document.h"
#include "base/path_parts.h"
#include "base/unicode_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>

using nlohmann::json;

namespace
{

constexpr const char* kMetaFileName = "meta.json";
constexpr const char* kFileKey = "file";
constexpr const char* kCommentKey = "comment";

std::filesystem::path MetaFilePath(const std::wstring& folderPath)
{
    return WidePathToFs(folderPath) / kMetaFileName;
}

std::string StringMember(const json& entry, const char* key)
{
    std::string value;
    JsonReadString(entry, key, value);
    return value;
}

// The entries of an existing array root, or null when there is none.
const json* EntryArray(const JsonReadHandle& handle)
{
    return handle.IsEmpty() || !handle.value->is_array() ? nullptr : handle.value;
}

// The file exists and holds something, yet does not parse as JSON: rewriting
// it would throw away whatever comments a person can still repair by hand.
bool IsUnreadableButPresent(const std::filesystem::path& metaPath, const JsonReadHandle& handle)
{
    if (!handle.IsEmpty())
    {
        return false;
    }
    std::error_code error;
    const bool exists = std::filesystem::exists(metaPath, error);
    if (error)
    {
        return true;
    }
    if (!exists)
    {
        return false;
    }
    const bool emptyFile = std::filesystem::is_regular_file(metaPath, error) &&
                           std::filesystem::file_size(metaPath, error) == 0 && !error;
    return !emptyFile;
}

// Writes the object entries of `stored` back, each under the name `keep` leaves
// it (an entry it returns false for is dropped); false when writing fails.
bool RewriteEntries(const std::filesystem::path& metaPath, const json& stored,
                    const std::function<bool(std::string&)>& keep)
{
    const JsonNodeHandle document = JsonNodeHandle::NewArrayDocument();
    json& entries = *document.Resolve();
    for (const json& entry : stored)
    {
        if (!entry.is_object())
        {
            continue;
        }
        std::string name = StringMember(entry, kFileKey);
        if (keep(name))
        {
            entries.push_back({{kFileKey, name}, {kCommentKey, StringMember(entry, kCommentKey)}});
        }
    }
    return document.SaveToFile(metaPath);
}

} // namespace

LibraryCommentMap LoadLibraryComments(const std::wstring& folderPath)
{
    LibraryCommentMap comments;
    const JsonReadHandle handle = OpenJsonReadHandle(MetaFilePath(folderPath));
    const json* entries = EntryArray(handle);
    if (entries == nullptr)
    {
        return comments;
    }
    for (const json& entry : *entries)
    {
        if (!entry.is_object())
        {
            continue;
        }
        const std::string name = StringMember(entry, kFileKey);
        if (!name.empty())
        {
            comments[Utf8ToWide(name)] = StringMember(entry, kCommentKey);
        }
    }
    return comments;
}

std::string GetLibraryComment(const std::wstring& filePath)
{
    const LibraryCommentMap comments = LoadLibraryComments(FolderPart(filePath));
    const auto found = comments.find(FileNamePart(filePath));
    return found == comments.end() ? std::string() : found->second;
}

bool SetLibraryComment(const std::wstring& filePath, const std::wstring& comment)
{
    const std::wstring folderPath = FolderPart(filePath);
    std::error_code ignored; // a folder that cannot be made fails the save below
    std::filesystem::create_directories(WidePathToFs(folderPath), ignored);

    const std::filesystem::path metaPath = MetaFilePath(folderPath);
    const JsonReadHandle existing = OpenJsonReadHandle(metaPath);
    if (IsUnreadableButPresent(metaPath, existing))
    {
        return false;
    }

    const JsonNodeHandle document = JsonNodeHandle::NewArrayDocument();
    json& entries = *document.Resolve();
    if (const json* stored = EntryArray(existing))
    {
        for (const json& entry : *stored)
        {
            if (entry.is_object())
            {
                entries.push_back({{kFileKey, StringMember(entry, kFileKey)},
                                   {kCommentKey, StringMember(entry, kCommentKey)}});
            }
        }
    }

    // The reader lets the last entry of a name win, so that is the one to
    // change; the earlier ones are never read and would only mislead.
    const std::string name = WideToUtf8(FileNamePart(filePath));
    const std::string commentUtf8 = WideToUtf8(comment);
    const auto isNamed = [&](const json& entry)
    { return entry[kFileKey].get_ref<const std::string&>() == name; };
    const auto last = std::find_if(entries.rbegin(), entries.rend(), isNamed);
    if (last != entries.rend())
    {
        (*last)[kCommentKey] = commentUtf8;
        const auto lastPosition = std::prev(last.base());
        entries.erase(std::remove_if(entries.begin(), lastPosition, isNamed), lastPosition);
    }
    else
    {
        entries.push_back({{kFileKey, name}, {kCommentKey, commentUtf8}});
    }
    return document.SaveToFile(metaPath);
}

bool RenameLibraryCommentEntry(const std::wstring& folderPath, const std::wstring& oldName,
                               const std::wstring& newName)
{
    const std::filesystem::path metaPath = MetaFilePath(folderPath);
    const JsonReadHandle existing = OpenJsonReadHandle(metaPath);
    const json* stored = EntryArray(existing);
    if (stored == nullptr)
    {
        return true;
    }
    const std::string oldNameUtf8 = WideToUtf8(oldName);
    const std::string newNameUtf8 = WideToUtf8(newName);
    return RewriteEntries(metaPath, *stored,
                          [&](std::string& name)
                          {
                              if (name == oldNameUtf8)
                              {
                                  name = newNameUtf8;
                              }
                              return true;
                          });
}

bool RemoveLibraryCommentEntries(const std::wstring& folderPath, const std::wstring& name)
{
    const std::filesystem::path metaPath = MetaFilePath(folderPath);
    const JsonReadHandle existing = OpenJsonReadHandle(metaPath);
    if (IsUnreadableButPresent(metaPath, existing))
    {
        return false;
    }
    const json* stored = EntryArray(existing);
    if (stored == nullptr)
    {
        return true;
    }
    const std::string nameUtf8 = WideToUtf8(name);
    return RewriteEntries(metaPath, *stored,
                          [&](const std::string& entryName) { return entryName != nameUtf8; });
}
