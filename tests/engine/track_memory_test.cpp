#include "engine/track_memory.h"

#include "engine/stages/stage4_limiters.h"
#include "engine/stages/limiter_mode.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

constexpr std::size_t kMiB = std::size_t{1} << 20;

bool IsAligned(const void* address)
{
    return reinterpret_cast<std::uintptr_t>(address) % kTrackBlockAlignment == 0;
}

TEST(TrackMemory, BlocksAreAlignedWritableAndOnlyTheirOwnAreTakenBack)
{
    const std::size_t liveBefore = LiveTrackBytes();
    void* block = AllocateTrackBlock(5 * kMiB + 3);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(IsAligned(block));
    EXPECT_EQ(LiveTrackBytes() - liveBefore, 6 * kMiB); // rounded up to 2 MiB
    std::memset(block, 0x5a, 5 * kMiB + 3);

    void* foreign = std::malloc(64);
    EXPECT_FALSE(FreeTrackBlock(foreign));
    std::free(foreign);
    EXPECT_FALSE(FreeTrackBlock(nullptr));
    EXPECT_FALSE(FreeTrackBlock(static_cast<char*>(block) + kTrackBlockAlignment));

    EXPECT_TRUE(FreeTrackBlock(block));
    EXPECT_FALSE(FreeTrackBlock(block)); // no longer live
    EXPECT_EQ(LiveTrackBytes(), liveBefore);
    EXPECT_EQ(AllocateTrackBlock(0), nullptr);
}

TEST(TrackMemory, AScopeReusesFreedBlocksAndReturnsThemWhenItCloses)
{
    ReturnKeptTrackBlocks();
    EXPECT_EQ(KeptTrackBytes(), 0u);
    {
        const TrackMemoryScope scope;
        void* large = AllocateTrackBlock(16 * kMiB);
        ASSERT_NE(large, nullptr);
        ASSERT_TRUE(FreeTrackBlock(large));
        EXPECT_EQ(KeptTrackBytes(), 16 * kMiB);

        // A smaller block takes the front of the kept one; the rest stays kept.
        void* front = AllocateTrackBlock(6 * kMiB);
        EXPECT_EQ(front, large);
        EXPECT_EQ(KeptTrackBytes(), 10 * kMiB);
        void* back = AllocateTrackBlock(10 * kMiB);
        EXPECT_EQ(back, static_cast<char*>(large) + 6 * kMiB);
        EXPECT_EQ(KeptTrackBytes(), 0u);

        // Freed again, the pieces join, so the whole block serves a whole request.
        ASSERT_TRUE(FreeTrackBlock(front));
        ASSERT_TRUE(FreeTrackBlock(back));
        EXPECT_EQ(AllocateTrackBlock(16 * kMiB), large);
        ASSERT_TRUE(FreeTrackBlock(large));

        {
            const TrackMemoryScope nested;
        }
        EXPECT_EQ(KeptTrackBytes(), 16 * kMiB); // the outer scope still keeps it

        // A block larger than any kept one is mapped fresh, and what is kept
        // goes back first: keeping it would raise the most ever in use.
        void* larger = AllocateTrackBlock(20 * kMiB);
        ASSERT_NE(larger, nullptr);
        EXPECT_EQ(KeptTrackBytes(), 0u);
        ASSERT_TRUE(FreeTrackBlock(larger));
        EXPECT_EQ(KeptTrackBytes(), 20 * kMiB);
    }
    // Past the last scope a little stays for the next run.
    EXPECT_EQ(KeptTrackBytes(), 20 * kMiB);

    // Freed between runs, a block is kept within the same bound.
    void* track = AllocateTrackBlock(kTrackBytesKeptBetweenRuns);
    ASSERT_NE(track, nullptr);
    ASSERT_TRUE(FreeTrackBlock(track));
    EXPECT_LE(KeptTrackBytes(), kTrackBytesKeptBetweenRuns);
    void* beyond = AllocateTrackBlock(kTrackBytesKeptBetweenRuns + kTrackBlockAlignment);
    ASSERT_TRUE(FreeTrackBlock(beyond));
    EXPECT_LE(KeptTrackBytes(), kTrackBytesKeptBetweenRuns);
}

TEST(TrackMemory, LargeVectorsTakeTrackBlocks)
{
    if (!TrackBlocksServeGlobalNew())
    {
        GTEST_SKIP() << "the sanitizer keeps the global operator new";
    }
    const std::size_t liveBefore = LiveTrackBytes();
    {
        std::vector<double> track(kTrackBlockMinBytes / sizeof(double));
        EXPECT_TRUE(IsAligned(track.data()));
        EXPECT_EQ(LiveTrackBytes() - liveBefore, kTrackBlockAlignment);
        std::vector<double> small(1000);
        EXPECT_EQ(LiveTrackBytes() - liveBefore, kTrackBlockAlignment);
    }
    EXPECT_EQ(LiveTrackBytes(), liveBefore);
}

// A kernel that refuses huge pages changes the speed, never the samples.
TEST(TrackMemory, RefusedHugePageAdviceGivesTheSameSamples)
{
    const AudioBuffer track = StereoPinkNoise(48000, 4.0, 0.4, 9);
    const AudioBuffer advised = Stage4Limit(track, 0.5, LimiterTruePeak, 4, 1.0);
    SetTrackHugePageAdvice(false);
    const AudioBuffer refused = Stage4Limit(track, 0.5, LimiterTruePeak, 4, 1.0);
    const AudioBuffer lookahead = Stage4Limit(track, 0.5, LimiterLookaheadTruePeak, 4, 1.0);
    SetTrackHugePageAdvice(true);
    EXPECT_EQ(advised.samples, refused.samples);
    EXPECT_EQ(lookahead.samples, Stage4Limit(track, 0.5, LimiterLookaheadTruePeak, 4, 1.0).samples);
}

} // namespace
