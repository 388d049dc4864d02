#include "base/atomic_file.h"

#include "tests/support/temp_dir.h"
#include "tests/support/write_failure.h"

#include <gtest/gtest.h>

#include <string>

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
    EXPECT_FALSE(WriteFileAtomically(dir / "missing" / "a.mst", "text"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    EXPECT_EQ(CountEntries(dir / "folder"), 1u);
    EXPECT_EQ(CountEntries(dir.Path()), 1u);
}
