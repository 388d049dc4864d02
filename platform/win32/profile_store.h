#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>

struct stat;

namespace brvl::win32
{

// The application's registry key as a settings file: one "[section]" per
// sub-key with "entry=value" lines, UTF-8. Every write reads the file, changes
// it and replaces it atomically, so a failed write leaves the previous
// settings intact and two application objects in turn see each other's values.
//
// The file is parsed once and kept indexed by section and entry; it is parsed
// again only when it changed on disk (another identity, size or time). A file
// that exists but cannot be read (no permission, an I/O error, a folder) reads
// as the defaults and is never written over: every write to it fails. Only a
// missing file is created.
class ProfileStore
{
public:
    // $XDG_CONFIG_HOME/<registry key folders>/<application>.ini, the key's "\"
    // separating folders; without a key, $XDG_CONFIG_HOME/<application>.ini.
    // Empty when there is no config folder (no HOME): reads then give the
    // defaults and writes fail.
    static std::filesystem::path PathFor(const std::wstring& registryKey,
                                         const std::wstring& application);

    explicit ProfileStore(std::filesystem::path file) : m_file(std::move(file)) {}

    const std::filesystem::path& File() const { return m_file; }

    std::optional<std::wstring> Read(const std::wstring& section, const std::wstring& entry) const;
    // A null `value` removes the entry; a null `entry` removes the section.
    bool Write(const std::wstring& section, const std::wstring* entry, const std::wstring* value);

private:
    // Names keep the letter case they were first written with; the maps are
    // keyed by the case-folded name, as the registry compares names.
    struct Entry
    {
        std::wstring name;
        std::wstring value;
    };
    struct Section
    {
        std::wstring name;
        std::map<std::wstring, Entry> entries;
    };
    using Sections = std::map<std::wstring, Section>;

    // What tells a changed file from the one parsed last.
    struct FileIdentity
    {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;
        bool operator==(const FileIdentity&) const = default;
    };

    static FileIdentity IdentityOf(const struct stat& file);
    // Brings m_sections up to the file; false when the file exists but
    // cannot be read (m_sections is then empty).
    bool Refresh() const;

    std::filesystem::path m_file;
    mutable std::mutex m_mutex;
    mutable Sections m_sections;
    // Empty while the file is missing or unreadable.
    mutable std::optional<FileIdentity> m_parsed;
};

} // namespace brvl::win32
