#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace brvl::win32
{

// The application's registry key as a settings file: one "[section]" per
// sub-key with "entry=value" lines, UTF-8. Every write reads the file, changes
// it and replaces it atomically, so a failed write leaves the previous
// settings intact and two application objects in turn see each other's values.
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
    using Sections = std::map<std::wstring, std::map<std::wstring, std::wstring>>;
    Sections Load() const;

    std::filesystem::path m_file;
};

} // namespace brvl::win32
