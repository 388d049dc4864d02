// The preview player on the fake and the SDL disk sound drivers.

#include "app/preview_player.h"
#include "base/unicode_text.h"
#include "tests/app/monitoring_test_kit.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace monitoring_test;

namespace
{

class PlayerTest : public ::testing::Test
{
protected:
    ~PlayerTest() override { player.reset(); }

    bool Start(const AudioBuffer& source, double start, double end, double cursor,
               bool restart = true)
    {
        return player->Start(source, start, end, cursor, source.samples.data(), error, restart);
    }

    std::vector<int> FirstBufferLeft() const
    {
        const auto written = sound.fake.WrittenBuffers();
        return written.empty() ? std::vector<int>{} : LeftValues(written.front().bytes);
    }

    FakeSound sound;
    std::optional<PreviewPlayer> player{std::in_place};
    std::wstring error;
};

} // namespace

TEST(PreviewSamples, ClampRoundHalfToEvenAndSilenceNotANumber)
{
    const struct
    {
        double in;
        int out;
    } cases[] = {
        {1.5, 32767},     {-1.5, -32767}, {0.5, 16384},   {-0.5, -16384},    {2.5 / 32767, 2},
        {3.5 / 32767, 4}, {1.0, 32767},   {-1.0, -32767}, {std::nan(""), 0}, {0.0, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(PreviewSampleToPcm16(c.in), c.out) << c.in;
    }
}

TEST_F(PlayerTest, WritesConvertedSamplesInThreeFullBuffers)
{
    const AudioBuffer source = MakeAudio(
        48000, 1000, [](std::size_t i) { return i % 2 == 0 ? 1.5 : 0.5; },
        [](std::size_t) { return -1.5; });
    ASSERT_TRUE(Start(source, 0.0, 1.0, 0.0)) << WideToUtf8(error);
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(sound.fake.LastSampleRate(), 48000u);
    const auto written = sound.fake.WrittenBuffers();
    ASSERT_EQ(written.size(), 3u);
    for (const auto& buffer : written)
    {
        EXPECT_EQ(buffer.bytes.size(), 4096u * 4);
    }
    const Frames frames = Decode(written[0].bytes);
    EXPECT_EQ(frames[0], std::make_pair(32767, -32767));
    EXPECT_EQ(frames[1], std::make_pair(16384, -32767));
    EXPECT_EQ(player->SourceRate(), 48000);
    EXPECT_EQ(player->PublishedFrame(), (3 * 4096) % 1000);
}

TEST_F(PlayerTest, RefusesEmptySourcesAndRegionsUnderAMillisecond)
{
    const AudioBuffer tenSeconds = Ramp(1000, 10000);
    AudioBuffer noRate = tenSeconds;
    noRate.sampleRate = 0;
    const double nan = std::nan("");
    const struct
    {
        const AudioBuffer* source;
        double start, end;
        const wchar_t* text;
    } cases[] = {
        {nullptr, 0, 1, L"Preview source audio is empty."},
        {&noRate, 0, 1, L"Preview source audio is empty."},
        {&tenSeconds, 2.0, 2.0005, L"Preview region is too short."},
        {&tenSeconds, 3.0, 2.0, L"Preview region is too short."},
        {&tenSeconds, 2.0, nan, L"Preview region is too short."},
        {&tenSeconds, 10.0, 12.0, L"Preview region is too short."},
    };
    const AudioBuffer empty;
    for (const auto& c : cases)
    {
        EXPECT_FALSE(Start(c.source != nullptr ? *c.source : empty, c.start, c.end, 0.0));
        EXPECT_EQ(error, c.text) << c.start << " " << c.end;
        EXPECT_FALSE(player->IsPlaying());
    }
    EXPECT_EQ(sound.fake.OpenCount(), 0);

    // Two milliseconds is enough: frames 2000 and 2001 loop.
    ASSERT_TRUE(Start(tenSeconds, 2.0, 2.002, 2.0)) << WideToUtf8(error);
    const std::vector<int> left = FirstBufferLeft();
    ASSERT_GE(left.size(), 4u);
    EXPECT_EQ(std::vector<int>(left.begin(), left.begin() + 4),
              (std::vector<int>{2000, 2001, 2000, 2001}));
}

TEST_F(PlayerTest, CursorsOutsideTheRegionStartAtItsNearestEdge)
{
    const AudioBuffer source = Ramp(1000, 10000);
    const struct
    {
        double cursor;
        std::vector<int> first;
    } cases[] = {
        {2.5, {2499, 2000, 2001}}, // the region's end: its last frame
        {9.0, {2499, 2000, 2001}},          {0.5, {2000, 2001, 2002}},
        {std::nan(""), {2000, 2001, 2002}}, {2.25, {2250, 2251, 2252}},
    };
    for (const auto& c : cases)
    {
        const auto before = sound.fake.WrittenBuffers().size();
        ASSERT_TRUE(Start(source, 2.0, 2.5, c.cursor)) << WideToUtf8(error);
        const auto written = sound.fake.WrittenBuffers();
        ASSERT_GT(written.size(), before);
        const std::vector<int> left = LeftValues(written[before].bytes);
        EXPECT_EQ(std::vector<int>(left.begin(), left.begin() + 3), c.first) << c.cursor;
    }
}

TEST_F(PlayerTest, ALoopEndPastTheSourceWrapsAtItsEnd)
{
    const AudioBuffer source = Ramp(1000, 3000);
    ASSERT_TRUE(Start(source, 2.0, 10.0, 2.998)) << WideToUtf8(error);
    const std::vector<int> left = FirstBufferLeft();
    EXPECT_EQ(std::vector<int>(left.begin(), left.begin() + 4),
              (std::vector<int>{2998, 2999, 2000, 2001}));
}

TEST_F(PlayerTest, AnUnchangedStartWithoutRestartLeavesPlaybackAlone)
{
    const AudioBuffer source = Ramp(1000, 10000);
    ASSERT_TRUE(Start(source, 2.0, 4.0, 3.0, false));
    const std::int64_t published = player->PublishedFrame();
    ASSERT_TRUE(Start(source, 2.0, 4.0, 2.5, false));
    EXPECT_EQ(sound.fake.OpenCount(), 1);
    EXPECT_EQ(sound.fake.WrittenBuffers().size(), 3u);
    EXPECT_EQ(player->PublishedFrame(), published);

    // Another region, or a restart, starts over on a new device.
    ASSERT_TRUE(Start(source, 2.0, 5.0, 2.5, false));
    EXPECT_EQ(sound.fake.OpenCount(), 2);
    ASSERT_TRUE(Start(source, 2.0, 5.0, 2.5, true));
    EXPECT_EQ(sound.fake.OpenCount(), 3);
    EXPECT_EQ(sound.fake.WrittenBuffers().size(), 9u);
}

TEST_F(PlayerTest, DoneBuffersAreRefilledAndStopReturnsAtOnceIgnoringLaterOnes)
{
    const AudioBuffer source = Ramp(1000, 10000);
    ASSERT_TRUE(Start(source, 0.0, 10.0, 0.0));
    auto written = sound.fake.WrittenBuffers();
    ASSERT_TRUE(sound.fake.FireDone(HeaderOf(written[0])));
    ASSERT_TRUE(WaitUntil([&] { return sound.fake.WrittenBuffers().size() == 4; }));
    written = sound.fake.WrittenBuffers();
    EXPECT_EQ(written[3].header, written[0].header);
    EXPECT_EQ(LeftValues(written[3].bytes).front(), 3 * 4096 % 10000);
    EXPECT_EQ(player->PublishedFrame(), 4 * 4096 % 10000);

    // A header that is no slot of the device is not refilled.
    WAVEHDR foreign{};
    PreviewPlayer::WaveOutCallback(nullptr, WOM_DONE, 0, reinterpret_cast<DWORD_PTR>(&foreign), 0);

    player->Stop();
    EXPECT_FALSE(player->IsPlaying());
    // The close returns the queued buffers with WOM_DONE; none is queued again.
    EXPECT_TRUE(PreviewPlayer::JoinPendingCloses(std::chrono::seconds(5)));
    EXPECT_EQ(sound.fake.WrittenBuffers().size(), 4u);
    EXPECT_FALSE(sound.fake.FireDone(HeaderOf(written[1])));
}

// A buffer queued after the closing thread's reset (as by a callback that
// passed its playing test just before the stop) holds the close up once; the
// player may be gone by then, and the device still ends closed.
TEST_F(PlayerTest, ALateQueuedBufferAfterTheResetStillEndsInAClosedDevice)
{
    PreviewPlayer::SetCloseWaitForTests(std::chrono::milliseconds(10));
    const AudioBuffer source = Ramp(1000, 10000);
    ASSERT_TRUE(Start(source, 0.0, 10.0, 0.0));
    const auto written = sound.fake.WrittenBuffers();
    ASSERT_EQ(written.size(), 3u);

    std::mutex mutex;
    std::condition_variable changed;
    bool playerGone = false;
    std::atomic<int> resets{0};
    std::atomic<bool> requeued{false};
    // The hook reaches into this test's locals: it goes before they do, so that
    // the close of the second player below, in the fixture, never calls it.
    struct HookRemover
    {
        ~HookRemover() { SetWaveOutResetHookForTests({}); }
    } hookRemover;
    SetWaveOutResetHookForTests(
        [&](HWAVEOUT device)
        {
            if (resets.fetch_add(1) != 0)
            {
                return;
            }
            std::unique_lock lock(mutex);
            changed.wait_for(lock, std::chrono::seconds(5), [&] { return playerGone; });
            requeued =
                waveOutWrite(device, HeaderOf(written[1]), sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
        });
    player.reset(); // its close is held in the hook
    {
        std::lock_guard lock(mutex);
        playerGone = true;
    }
    changed.notify_all();

    ASSERT_TRUE(PreviewPlayer::JoinPendingCloses(std::chrono::seconds(5)));
    EXPECT_TRUE(requeued);
    EXPECT_GE(resets.load(), 2);
    EXPECT_EQ(sound.fake.WrittenBuffers().size(), 4u);
    // The device is gone: a new one opens at once rather than after a wait.
    player.emplace();
    ASSERT_TRUE(Start(source, 0.0, 10.0, 0.0)) << WideToUtf8(error);
    EXPECT_EQ(sound.fake.OpenCount(), 2);
}

TEST_F(PlayerTest, WithoutAClosingThreadStopClosesTheDeviceItself)
{
    PreviewPlayer::RefuseClosingThreadsForTests(true);
    const AudioBuffer source = Ramp(1000, 10000);
    ASSERT_TRUE(Start(source, 0.0, 10.0, 0.0));
    WAVEHDR* queued = HeaderOf(sound.fake.WrittenBuffers()[0]);
    player->Stop();
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_FALSE(sound.fake.FireDone(queued)) << "the device is still open";
    // The next start opens at once, and the destructor's stop does not throw.
    ASSERT_TRUE(Start(source, 0.0, 10.0, 0.0)) << WideToUtf8(error);
    EXPECT_EQ(sound.fake.OpenCount(), 2);
    player.reset();
    EXPECT_TRUE(PreviewPlayer::JoinPendingCloses(std::chrono::milliseconds(0)));
}

TEST_F(PlayerTest, RapidStartsAndStopsWithDoneBuffersRacingLeaveNoDevice)
{
    const AudioBuffer source = Ramp(1000, 10000);
    std::optional<DoneFiring> firing{std::in_place, sound.fake};
    for (int i = 0; i < 300; ++i)
    {
        ASSERT_TRUE(Start(source, i % 5, 9.0, 4.0)) << WideToUtf8(error);
        if (i % 2 == 0)
        {
            player->Stop();
        }
    }
    firing.reset();
    player.reset();
    EXPECT_TRUE(PreviewPlayer::JoinPendingCloses(std::chrono::seconds(5)));
}

TEST(PreviewPlayerDisk, TheDriversFileHoldsTheRegionLoopingAfterAnyLeadingSilence)
{
    TempDir temp;
    const auto played = temp / "played.raw";
    std::optional<SystemSound> sound{std::in_place, "disk", played.string()};
    // 1 kHz, no sample exactly zero, so that silence tells itself apart.
    const int rate = 48000;
    const AudioBuffer tone = MakeAudio(
        rate, rate,
        [](std::size_t i) { return 0.5 * std::cos(2 * M_PI * 1000.0 * i / rate + 0.1); },
        [](std::size_t i) { return 0.25 * std::cos(2 * M_PI * 1000.0 * i / rate + 0.1); });
    const std::int64_t start = 24000;
    const std::int64_t length = 4800; // 0.5 to 0.6 s
    {
        PreviewPlayer player;
        std::wstring error;
        ASSERT_TRUE(player.Start(tone, 0.5, 0.6, 0.5, tone.samples.data(), error, true))
            << WideToUtf8(error);
        ASSERT_TRUE(WaitUntil(
            [&]
            {
                std::error_code ignored;
                return std::filesystem::file_size(played, ignored) >= 4u * 3 * length + 8192;
            }));
        player.Stop();
    }
    sound.reset();

    std::string bytes = ReadFileBytes(played);
    std::size_t lead = 0;
    while (lead + 4 <= bytes.size() && bytes.compare(lead, 4, std::string(4, '\0')) == 0)
    {
        lead += 4;
    }
    const Frames frames = Decode(bytes.substr(lead));
    ASSERT_GE(frames.size(), static_cast<std::size_t>(3 * length));
    std::size_t matched = 0;
    for (; matched < frames.size(); ++matched)
    {
        const auto source =
            static_cast<std::size_t>(start + static_cast<std::int64_t>(matched) % length);
        const std::pair<int, int> expected{PreviewSampleToPcm16(tone.samples[2 * source]),
                                           PreviewSampleToPcm16(tone.samples[2 * source + 1])};
        if (frames[matched] != expected)
        {
            break;
        }
    }
    EXPECT_GE(matched, static_cast<std::size_t>(3 * length));
    // Whatever follows the played buffers is the driver's silence.
    for (std::size_t i = matched; i < frames.size(); ++i)
    {
        ASSERT_EQ(frames[i], std::make_pair(0, 0)) << "frame " << i << " of " << frames.size();
    }
}
