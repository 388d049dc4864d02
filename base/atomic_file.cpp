#include "base/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

std::filesystem::path MakeTempPath(const std::filesystem::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + target.filename().string() + ".tmp-" +
                             std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1) + attempt);
    return target.parent_path() / name;
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : m_target(std::move(target))
{
    if (m_target.filename().empty())
    {
        m_error = std::make_error_code(std::errc::is_a_directory);
        return;
    }
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
