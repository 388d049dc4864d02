#include "base/atomic_file.h"

#include "base/stale_temp_files.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Linux gives up on a chain of more links than this (ELOOP) as well.
constexpr int kMaxLinksFollowed = 40;

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

std::filesystem::path MakeTempPath(const std::filesystem::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const std::string name = TempFilePrefix(target) + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1) + attempt);
    return target.parent_path() / name;
}

// The file a chain of symbolic links ends at; a link to a missing file names
// the file to create. Folders on the way may be links: the temporary file and
// the target share the folder either way.
std::filesystem::path FollowLinks(std::filesystem::path target, std::error_code& error)
{
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed)
    {
        struct stat link
        {
        };
        if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        {
            return target;
        }
        const std::filesystem::path named = std::filesystem::read_symlink(target, error);
        if (error)
        {
            return target;
        }
        target = named.is_absolute() ? named : target.parent_path() / named;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return target;
}

// Renaming over a file needs only the folder's permission, so the file's own
// protection is checked here as opening it for writing would. Root passes that
// check for every file; for root a file without any write permission bit still
// counts as read-only, so a protected file is not replaced by accident.
std::error_code CheckWritable(const std::filesystem::path& target)
{
    struct stat existing
    {
    };
    if (::stat(target.c_str(), &existing) != 0)
    {
        return errno == ENOENT ? std::error_code() : LastError();
    }
    if (S_ISDIR(existing.st_mode))
    {
        return std::make_error_code(std::errc::is_a_directory);
    }
    // A device or a pipe, perhaps named by a link, would be replaced by a
    // regular file, and for root that could be /dev/null itself.
    if (!S_ISREG(existing.st_mode))
    {
        return std::make_error_code(std::errc::operation_not_permitted);
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    {
        return LastError();
    }
    if (::geteuid() == 0 && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    {
        return std::make_error_code(std::errc::permission_denied);
    }
    return {};
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(std::move(target))
{
    if (m_target.filename().empty())
    {
        m_error = std::make_error_code(std::errc::is_a_directory);
        return;
    }
    m_target = FollowLinks(m_target, m_error);
    if (!m_error)
    {
        m_error = CheckWritable(m_target);
    }
    if (m_error)
    {
        return;
    }
    RemoveStaleTempFiles(m_target);
    for (unsigned attempt = 0; attempt < 16 && m_fd < 0; ++attempt)
    {
        m_tempPath = MakeTempPath(m_target, attempt);
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
        {
            break;
        }
    }
    if (m_fd < 0)
    {
        m_error = LastError();
        m_tempPath.clear();
        return;
    }
    // Keep the permissions of the file being replaced, as an in-place write would.
    struct stat existing
    {
    };
    if (::stat(m_target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    {
        ::fchmod(m_fd, existing.st_mode & 07777);
    }
}

AtomicFile::~AtomicFile()
{
    Discard();
}

bool AtomicFile::Write(const void* data, size_t size)
{
    if (m_fd < 0 || m_failed)
    {
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0)
    {
        const ssize_t written = ::write(m_fd, bytes, size);
        if (written < 0)
        {
            if (errno == EINTR)
            {
                continue;
            }
            m_error = LastError();
            m_failed = true;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool AtomicFile::Commit()
{
    if (m_fd < 0)
    {
        return false;
    }
    bool ok = !m_failed;
    if (ok && ::fsync(m_fd) != 0)
    {
        m_error = LastError();
        ok = false;
    }
    if (::close(m_fd) != 0 && ok)
    {
        m_error = LastError();
        ok = false;
    }
    m_fd = -1;
    if (ok && ::rename(m_tempPath.c_str(), m_target.c_str()) != 0)
    {
        m_error = LastError();
        ok = false;
    }
    if (!ok)
    {
        ::unlink(m_tempPath.c_str());
    }
    m_tempPath.clear();
    return ok;
}

void AtomicFile::Discard()
{
    if (m_fd >= 0)
    {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty())
    {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes)
{
    AtomicFile file(target);
    return file.IsOpen() && file.Write(bytes.data(), bytes.size()) && file.Commit();
}
