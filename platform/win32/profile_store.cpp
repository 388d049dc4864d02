#include "platform/win32/profile_store.h"

#include "base/atomic_file.h"
#include "base/unicode_text.h"
#include "platform/win32/shell_folders.h"

#include <cerrno>
#include <cwctype>
#include <fcntl.h>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

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

// The whole file behind `fd`; nothing when a read fails (EIO, EISDIR).
std::optional<std::string> ReadAll(int fd)
{
    std::string bytes;
    char block[65536];
    for (;;)
    {
        const ssize_t count = ::read(fd, block, sizeof block);
        if (count == 0)
        {
            return bytes;
        }
        if (count < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            return std::nullopt;
        }
        bytes.append(block, static_cast<size_t>(count));
    }
}

std::string_view NextLine(std::string_view& text)
{
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r')
    {
        line.remove_suffix(1);
    }
    return line;
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

ProfileStore::FileIdentity ProfileStore::IdentityOf(const struct stat& file)
{
    return {file.st_dev, file.st_ino, file.st_size,
            file.st_mtim.tv_sec * 1'000'000'000LL + file.st_mtim.tv_nsec};
}

bool ProfileStore::Refresh() const
{
    struct stat status
    {
    };
    if (m_file.empty() || (::stat(m_file.c_str(), &status) != 0 && errno == ENOENT))
    {
        m_sections.clear();
        m_parsed.reset();
        return true;
    }
    if (m_parsed && *m_parsed == IdentityOf(status))
    {
        return true;
    }
    m_sections.clear();
    m_parsed.reset();
    const int fd = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
    {
        return false;
    }
    // The identity of what is read, not of what the path named a moment ago.
    const bool known = ::fstat(fd, &status) == 0;
    const std::optional<std::string> bytes = ReadAll(fd);
    ::close(fd);
    if (!known || !bytes)
    {
        return false;
    }

    std::string_view text = *bytes;
    Section* current = nullptr;
    while (!text.empty())
    {
        const std::string_view line = NextLine(text);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
        {
            const std::wstring name = Unescape(line.substr(1, line.size() - 2));
            current = &m_sections.try_emplace(Folded(name), Section{name, {}}).first->second;
            continue;
        }
        const auto equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos || equals == 0)
        {
            continue; // a damaged line is skipped, the rest still reads
        }
        const std::wstring name = Unescape(line.substr(0, equals));
        Entry& entry = current->entries.try_emplace(Folded(name), Entry{name, {}}).first->second;
        entry.value = Unescape(line.substr(equals + 1));
    }
    m_parsed = IdentityOf(status);
    return true;
}

std::optional<std::wstring> ProfileStore::Read(const std::wstring& section,
                                               const std::wstring& entry) const
{
    const std::lock_guard lock(m_mutex);
    Refresh();
    const auto s = m_sections.find(Folded(section));
    if (s == m_sections.end())
    {
        return std::nullopt;
    }
    const auto e = s->second.entries.find(Folded(entry));
    if (e == s->second.entries.end())
    {
        return std::nullopt;
    }
    return e->second.value;
}

bool ProfileStore::Write(const std::wstring& section, const std::wstring* entry,
                         const std::wstring* value)
{
    const std::lock_guard lock(m_mutex);
    if (m_file.empty() || !Refresh())
    {
        return false;
    }
    Sections sections = m_sections;
    if (entry == nullptr)
    {
        sections.erase(Folded(section));
    }
    else
    {
        Section& s = sections.try_emplace(Folded(section), Section{section, {}}).first->second;
        if (value == nullptr)
        {
            s.entries.erase(Folded(*entry));
        }
        else
        {
            s.entries.try_emplace(Folded(*entry), Entry{*entry, {}}).first->second.value = *value;
        }
    }
    std::ostringstream out;
    for (const auto& [folded, s] : sections)
    {
        out << '[' << Escape(s.name) << "]\n";
        for (const auto& [key, e] : s.entries)
        {
            out << Escape(e.name) << '=' << Escape(e.value) << '\n';
        }
    }
    const std::string bytes = out.str();

    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    AtomicFile file(m_file);
    struct stat written
    {
    };
    if (!file.IsOpen() || !file.Write(bytes.data(), bytes.size()) ||
        ::fstat(file.Descriptor(), &written) != 0 || !file.Commit())
    {
        return false;
    }
    // The renamed file keeps the identity of the temporary one, so the next
    // read knows it without parsing it again.
    m_sections = std::move(sections);
    m_parsed = IdentityOf(written);
    return true;
}

} // namespace brvl::win32
