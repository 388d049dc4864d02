#include "base/atomic_file.h"

#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

size_t CountEntries(const std::filesystem::path& folder)
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
    {
        ++count;
    }
    return count;
}

} // namespace

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryBehind)
{
    TempDir dir;
    const auto target = dir / "settings.mst";
    WriteFileBytes(target, "old contents that are longer");

    EXPECT_TRUE(WriteFileAtomically(target, "new"));

    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(CountEntries(dir.Path()), 1u);
}

TEST(AtomicFile, FailedWriteLeavesThePreviousFileByteForByte)
{
    TempDir dir;
    const auto target = dir / "settings.mst";
    const std::string previous = "previous bytes";
    WriteFileBytes(target, previous);

    {
        FileSizeLimit limit(4);
        EXPECT_FALSE(WriteFileAtomically(target, std::string(1000, 'x')));
    }

    EXPECT_EQ(ReadFileBytes(target), previous);
    EXPECT_EQ(CountEntries(dir.Path()), 1u) << "the temporary file must be removed";
}

TEST(AtomicFile, UncommittedFileIsDiscardedAndTargetUntouched)
{
    TempDir dir;
    const auto target = dir / "profile.prs";
    WriteFileBytes(target, "keep");
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.IsOpen());
        ASSERT_TRUE(file.Write("half", 4));
    }
    EXPECT_EQ(ReadFileBytes(target), "keep");
    EXPECT_EQ(CountEntries(dir.Path()), 1u);
}

TEST(AtomicFile, UnusableTargetsFailCleanly)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "folder");
    WriteFileBytes(dir / "folder" / "inside", "x");

    EXPECT_FALSE(WriteFileAtomically(dir / "folder", "text")) << "a directory is not a file";
    EXPECT_EQ(AtomicFile(dir / "folder").Error(), std::errc::is_a_directory);
    EXPECT_EQ(AtomicFile(dir / "missing" / "a.mst").Error(), std::errc::no_such_file_or_directory);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    std::filesystem::create_symlink("pipe", dir / "link-to-pipe");
    EXPECT_EQ(AtomicFile(dir / "link-to-pipe").Error(), std::errc::operation_not_permitted);
    EXPECT_EQ(std::filesystem::status(dir / "pipe").type(), std::filesystem::file_type::fifo);
    EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "a.mst", "text"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    EXPECT_EQ(CountEntries(dir / "folder"), 1u);
    EXPECT_EQ(CountEntries(dir.Path()), 3u);
}

TEST(AtomicFile, AWriterKilledMidWriteLeavesNothingAfterTheNextWrite)
{
    TempDir dir;
    const auto target = dir / "mix.wav";
    WriteFileBytes(target, "old");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
    {
        AtomicFile file(target);
        const std::string block(1 << 20, 'x');
        if (file.IsOpen() && file.Write(block.data(), block.size()))
        {
            [[maybe_unused]] const auto sent = ::write(ready[1], "w", 1);
        }
        ::pause();
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(CountEntries(dir.Path()), 2u) << "the killed writer's temporary file is left";

    EXPECT_TRUE(WriteFileAtomically(target, "new"));

    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(CountEntries(dir.Path()), 1u) << "the stale temporary file must be gone";
}

TEST(AtomicFile, ATargetWithoutWritePermissionIsRefusedWithTheCause)
{
    TempDir dir;
    const auto target = dir / "master.flac";
    WriteFileBytes(target, "protected");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);

    AtomicFile file(target);

    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Error(), std::errc::permission_denied);
    EXPECT_FALSE(WriteFileAtomically(target, "new"));
    EXPECT_EQ(ReadFileBytes(target), "protected");
    EXPECT_EQ(CountEntries(dir.Path()), 1u);
}

TEST(AtomicFile, ALinkIsWrittenThroughToTheFileItNames)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "real");
    const auto real = dir / "real" / "settings.mst";
    WriteFileBytes(real, "old");
    std::filesystem::create_symlink("real/settings.mst", dir / "link.mst");
    std::filesystem::create_symlink(dir / "link.mst", dir / "link-to-link.mst");
    std::filesystem::create_symlink("real/new.mst", dir / "dangling.mst");

    {
        AtomicFile file(dir / "link-to-link.mst");
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.TempPath().parent_path(), dir / "real")
            << "the temporary file is made beside the real file, so the rename stays in one "
               "file system";
        ASSERT_TRUE(file.Write("new", 3));
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_TRUE(WriteFileAtomically(dir / "dangling.mst", "made"));

    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.mst"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link-to-link.mst"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.mst"));
    EXPECT_EQ(ReadFileBytes(real), "new");
    EXPECT_EQ(ReadFileBytes(dir / "real" / "new.mst"), "made");

    std::filesystem::create_symlink("loop-b", dir / "loop-a");
    std::filesystem::create_symlink("loop-a", dir / "loop-b");
    AtomicFile loop(dir / "loop-a");
    EXPECT_FALSE(loop.IsOpen());
    EXPECT_EQ(loop.Error(), std::errc::too_many_symbolic_link_levels);
}
