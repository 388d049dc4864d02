#include "base/stale_temp_files.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <csignal>
#include <ctime>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace
{

// Digits only, no sign, as AtomicFile writes them.
std::optional<unsigned long> ParseNumber(std::string_view text)
{
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
    {
        return std::nullopt;
    }
    return value;
}

// The writer's process id of a temporary file name "<prefix><pid>-<n>".
std::optional<pid_t> WriterOf(std::string_view name, std::string_view prefix)
{
    if (name.substr(0, prefix.size()) != prefix)
    {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    const size_t dash = name.find('-');
    const std::optional<unsigned long> pid = ParseNumber(name.substr(0, dash));
    if (dash == std::string_view::npos || !ParseNumber(name.substr(dash + 1)) || !pid ||
        *pid == 0 || *pid > INT32_MAX)
    {
        return std::nullopt;
    }
    return static_cast<pid_t>(*pid);
}

bool ProcessRuns(pid_t pid)
{
    // EPERM: it runs, under another user.
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// The same executable as this process; false when that cannot be known (a
// process of another user whose /proc entry is closed to us).
bool IsThisProgram(pid_t pid)
{
    if (pid == ::getpid())
    {
        return true;
    }
    struct stat self
    {
    };
    struct stat other
    {
    };
    const std::string exe = "/proc/" + std::to_string(pid) + "/exe";
    return ::stat("/proc/self/exe", &self) == 0 && ::stat(exe.c_str(), &other) == 0 &&
           self.st_dev == other.st_dev && self.st_ino == other.st_ino;
}

bool IsStale(pid_t writer, const struct stat& file, std::chrono::seconds unownedAge)
{
    if (!ProcessRuns(writer))
    {
        return true;
    }
    if (IsThisProgram(writer))
    {
        return false;
    }
    return std::time(nullptr) - file.st_mtime > unownedAge.count();
}

} // namespace

std::string TempFilePrefix(const std::filesystem::path& target)
{
    return "." + target.filename().string() + ".tmp-";
}

void RemoveStaleTempFiles(const std::filesystem::path& target, std::chrono::seconds unownedAge)
{
    const std::string prefix = TempFilePrefix(target);
    const std::filesystem::path folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error))
    {
        const std::filesystem::path& path = entries->path();
        const std::optional<pid_t> writer = WriterOf(path.filename().string(), prefix);
        struct stat file
        {
        };
        // Only regular files: a link or folder of that name was not made here.
        if (!writer || ::lstat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode))
        {
            continue;
        }
        if (IsStale(*writer, file, unownedAge))
        {
            ::unlink(path.c_str());
        }
    }
}
