#include "platform/win32/profile_store.h"

#include "base/atomic_file.h"
#include "base/unicode_text.h"
#include "platform/win32/shell_folders.h"

#include <cwctype>
#include <fstream>
#include <sstream>
#include <vector>

namespace brvl::win32
{

namespace
{

// Names and values may hold any character: the few that would break the
// line format are written as backslash escapes.
std::string Escape(const std::wstring& text)
{
    std::string out;
    for (const char c : WideToUtf8(text))
    {
        switch (c)
        {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '=':
            out += "\\e";
            break;
        case '[':
            out += "\\o";
            break;
        case ']':
            out += "\\c";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::wstring Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\' || i + 1 == text.size())
        {
            out += text[i];
            continue;
        }
        switch (text[++i])
        {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'e':
            out += '=';
            break;
        case 'o':
            out += '[';
            break;
        case 'c':
            out += ']';
            break;
        default:
            out += text[i];
        }
    }
    return Utf8ToWide(out);
}

// Windows compares registry names without regard to case.
std::wstring Folded(const std::wstring& name)
{
    std::wstring folded = name;
    for (wchar_t& c : folded)
    {
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    }
    return folded;
}

template <typename Map> auto FindFolded(Map& map, const std::wstring& name)
{
    const std::wstring wanted = Folded(name);
    for (auto it = map.begin(); it != map.end(); ++it)
    {
        if (Folded(it->first) == wanted)
        {
            return it;
        }
    }
    return map.end();
}

} // namespace

std::filesystem::path ProfileStore::PathFor(const std::wstring& registryKey,
                                            const std::wstring& application)
{
    std::filesystem::path folder = ConfigHome();
    if (folder.empty())
    {
        // No home at all: a relative path would put the settings in whatever
        // folder the program was started from, so there is no settings file.
        return {};
    }
    std::wstring part;
    const auto addPart = [&folder, &part]
    {
        // Parts that would climb out of the settings folder are dropped.
        if (!part.empty() && part != L"." && part != L"..")
        {
            folder /= WidePathToFs(part);
        }
        part.clear();
    };
    for (const wchar_t c : registryKey)
    {
        if (c == L'\\' || c == L'/')
        {
            addPart();
        }
        else
        {
            part += c;
        }
    }
    addPart();
    std::wstring name = application.empty() ? std::wstring(L"settings") : application;
    for (wchar_t& c : name)
    {
        c = c == L'/' || c == L'\\' ? L'_' : c;
    }
    return folder / WidePathToFs(name + L".ini");
}

ProfileStore::Sections ProfileStore::Load() const
{
    Sections sections;
    std::ifstream in(m_file, std::ios::binary);
    std::string line;
    std::map<std::wstring, std::wstring>* current = nullptr;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
        {
            line.pop_back();
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
        {
            const std::wstring name = Unescape(std::string_view(line).substr(1, line.size() - 2));
            auto it = FindFolded(sections, name);
            current = it != sections.end() ? &it->second : &sections[name];
            continue;
        }
        const auto equals = line.find('=');
        if (current == nullptr || equals == std::string::npos || equals == 0)
        {
            continue; // a damaged line is skipped, the rest still reads
        }
        (*current)[Unescape(std::string_view(line).substr(0, equals))] =
            Unescape(std::string_view(line).substr(equals + 1));
    }
    return sections;
}

std::optional<std::wstring> ProfileStore::Read(const std::wstring& section,
                                               const std::wstring& entry) const
{
    Sections sections = Load();
    const auto s = FindFolded(sections, section);
    if (s == sections.end())
    {
        return std::nullopt;
    }
    const auto e = FindFolded(s->second, entry);
    if (e == s->second.end())
    {
        return std::nullopt;
    }
    return e->second;
}

bool ProfileStore::Write(const std::wstring& section, const std::wstring* entry,
                         const std::wstring* value)
{
    if (m_file.empty())
    {
        return false;
    }
    Sections sections = Load();
    auto s = FindFolded(sections, section);
    if (entry == nullptr)
    {
        if (s != sections.end())
        {
            sections.erase(s);
        }
    }
    else
    {
        if (s == sections.end())
        {
            s = sections.emplace(section, std::map<std::wstring, std::wstring>()).first;
        }
        auto e = FindFolded(s->second, *entry);
        if (value == nullptr)
        {
            if (e != s->second.end())
            {
                s->second.erase(e);
            }
        }
        else if (e != s->second.end())
        {
            e->second = *value;
        }
        else
        {
            s->second.emplace(*entry, *value);
        }
    }
    std::ostringstream out;
    for (const auto& [name, entries] : sections)
    {
        out << '[' << Escape(name) << "]\n";
        for (const auto& [key, text] : entries)
        {
            out << Escape(key) << '=' << Escape(text) << '\n';
        }
    }
    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    return WriteFileAtomically(m_file, out.str());
}

} // namespace brvl::win32
