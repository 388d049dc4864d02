// Which temporary files of a target count as left behind by a killed writer.

#include "base/stale_temp_files.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// A child process for the test's lifetime: a copy of this program, or another
// program (`sleep`) standing for a process that took over a writer's id.
class ChildProcess
{
public:
    enum Kind
    {
        kCopyOfThisProgram,
        kOtherProgram,
        kExited,
    };

    explicit ChildProcess(Kind kind)
    {
        if (kind == kOtherProgram)
        {
            char sleep[] = "sleep";
            char seconds[] = "600";
            char* argv[] = {sleep, seconds, nullptr};
            EXPECT_EQ(::posix_spawnp(&m_pid, "sleep", nullptr, nullptr, argv, environ), 0);
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0)
        {
            if (kind == kCopyOfThisProgram)
            {
                ::pause();
            }
            ::_exit(0);
        }
        if (kind == kExited)
        {
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    ~ChildProcess()
    {
        if (::kill(m_pid, SIGKILL) == 0)
        {
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Id() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

void Age(const std::filesystem::path& file, std::chrono::hours age)
{
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - age);
}

} // namespace

TEST(StaleTempFiles, OnlyFilesNoLiveWriterCanOwnAreRemoved)
{
    TempDir dir;
    const auto target = dir / "mix.wav";
    WriteFileBytes(target, "target");
    const ChildProcess exited(ChildProcess::kExited);
    const ChildProcess copy(ChildProcess::kCopyOfThisProgram);
    const ChildProcess other(ChildProcess::kOtherProgram);
    // `sleep` must have replaced the child's image before its /proc entry is read.
    const std::filesystem::path otherExe = "/proc/" + std::to_string(other.Id()) + "/exe";
    std::error_code error;
    for (int i = 0; i < 200 && std::filesystem::read_symlink(otherExe, error).filename() != "sleep";
         ++i)
    {
        ::usleep(5000);
    }
    const std::string dead = std::to_string(exited.Id());
    const std::string self = std::to_string(::getpid());

    struct Case
    {
        std::string name;
        std::chrono::hours age;
        bool kept;
    };
    const Case cases[] = {
        {".mix.wav.tmp-" + dead + "-0", std::chrono::hours(0), false},
        {".mix.wav.tmp-" + dead + "-17", std::chrono::hours(100), false},
        {".mix.wav.tmp-" + self + "-3", std::chrono::hours(48), true},
        {".mix.wav.tmp-" + std::to_string(copy.Id()) + "-1", std::chrono::hours(48), true},
        {".mix.wav.tmp-" + std::to_string(other.Id()) + "-1", std::chrono::hours(1), true},
        {".mix.wav.tmp-" + std::to_string(other.Id()) + "-2", std::chrono::hours(25), false},
        // Not a temporary file of this target.
        {".mix.flac.tmp-" + dead + "-0", std::chrono::hours(0), true},
        {".mix.wav.tmp-" + dead, std::chrono::hours(0), true},
        {".mix.wav.tmp-" + dead + "-", std::chrono::hours(0), true},
        {".mix.wav.tmp-" + dead + "-1x", std::chrono::hours(0), true},
        {".mix.wav.tmp--" + dead + "-1", std::chrono::hours(0), true},
        {"mix.wav.tmp-" + dead + "-0", std::chrono::hours(0), true},
    };
    for (const Case& c : cases)
    {
        WriteFileBytes(dir / c.name, "partial");
        Age(dir / c.name, c.age);
    }
    // A folder or a link of a temporary file's name was not made by a writer.
    std::filesystem::create_directory(dir / (".mix.wav.tmp-" + dead + "-90"));
    std::filesystem::create_symlink("mix.wav", dir / (".mix.wav.tmp-" + dead + "-91"));

    RemoveStaleTempFiles(target);

    for (const Case& c : cases)
    {
        EXPECT_EQ(std::filesystem::exists(dir / c.name), c.kept) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / (".mix.wav.tmp-" + dead + "-90")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / (".mix.wav.tmp-" + dead + "-91")));
    EXPECT_EQ(ReadFileBytes(target), "target");
}
