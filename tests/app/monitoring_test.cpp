// Monitoring playback: the preview player on the fake and the SDL disk sound
// drivers, and the monitor controller with the real waveform strip and
// transport page.

#include "app/brimvale_doc.h"
#include "app/monitor_controller.h"
#include "app/preview_player.h"
#include "base/unicode_text.h"
#include "controls/waveform/waveform_strip_wnd.h"
#include "engine/io/wav_writer.h"
#include "pages/transport_surface_viewport_wnd.h"
#include "platform/winmm/fake_wave_driver.h"
#include "platform/winmm/wave_test_hooks.h"
#include "tests/platform/test_windows.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace brvl::winmm;

namespace
{

using Frames = std::vector<std::pair<int, int>>;

AudioBuffer MakeAudio(int rate, std::size_t frames, const std::function<double(std::size_t)>& left,
                      const std::function<double(std::size_t)>& right)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    audio.samples.resize(frames * 2);
    for (std::size_t i = 0; i < frames; ++i)
    {
        audio.samples[2 * i] = left(i);
        audio.samples[2 * i + 1] = right(i);
    }
    return audio;
}

// Frame i holds i / 32767 on the left and -i / 32767 on the right, so that the
// played value names the frame.
AudioBuffer Ramp(int rate, std::size_t frames)
{
    return MakeAudio(
        rate, frames, [](std::size_t i) { return static_cast<double>(i) / 32767.0; },
        [](std::size_t i) { return -static_cast<double>(i) / 32767.0; });
}

Frames Decode(const std::string& bytes)
{
    Frames frames;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4)
    {
        std::int16_t l = 0;
        std::int16_t r = 0;
        std::memcpy(&l, bytes.data() + i, 2);
        std::memcpy(&r, bytes.data() + i + 2, 2);
        frames.emplace_back(l, r);
    }
    return frames;
}

// The ramp frame indices of a written buffer (its left channel).
std::vector<int> LeftValues(const std::string& bytes)
{
    std::vector<int> values;
    for (const auto& frame : Decode(bytes))
    {
        values.push_back(frame.first);
    }
    return values;
}

bool WaitUntil(const std::function<bool()>& condition)
{
    for (int i = 0; i < 500; ++i)
    {
        if (condition())
        {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

WAVEHDR* HeaderOf(const FakeWaveDriver::Written& written)
{
    return const_cast<WAVEHDR*>(written.header);
}

// Marks the latest buffers played, over and over, on a thread of its own:
// WOM_DONE races every start and stop of the test.
class DoneFiring
{
public:
    explicit DoneFiring(FakeWaveDriver& fake)
        : m_thread(
              [this, &fake]
              {
                  while (!m_done)
                  {
                      for (WAVEHDR* header : fake.RecentHeaders(3))
                      {
                          fake.FireDone(header);
                      }
                      std::this_thread::yield();
                  }
              })
    {
    }
    ~DoneFiring()
    {
        m_done = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// The fake driver for the whole test; every closing thread is joined before
// it goes.
class FakeSound
{
public:
    FakeSound() { InstallWaveDriver(&fake); }
    ~FakeSound()
    {
        EXPECT_TRUE(PreviewPlayer::JoinPendingCloses(std::chrono::seconds(10)));
        SetWaveOutResetHookForTests({});
        FailNextWaveOutWriteForTests(MMSYSERR_NOERROR);
        InstallWaveDriver(nullptr);
        PreviewPlayer::SetCloseWaitForTests(std::chrono::seconds(2));
    }

    FakeWaveDriver fake;
};

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

namespace
{

// The system's sound under a chosen SDL driver.
class SystemSound
{
public:
    explicit SystemSound(const char* driver, const std::optional<std::string>& diskFile = {})
    {
        InstallWaveDriver(nullptr);
        ShutDownSystemSoundForTests();
        m_driver.emplace("SDL_AUDIODRIVER", driver);
        m_diskFile.emplace("SDL_DISKAUDIOFILE", diskFile);
    }
    ~SystemSound()
    {
        PreviewPlayer::JoinPendingCloses(std::chrono::seconds(10));
        ShutDownSystemSoundForTests();
    }

private:
    std::optional<ScopedEnvironment> m_driver;
    std::optional<ScopedEnvironment> m_diskFile;
};

} // namespace

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

namespace
{

class MonitorTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 900, 300)));
        ASSERT_TRUE(strip.Create(&parent, CRect(0, 0, 900, 150), 8705));
        strip.SetDuration(12);
        strip.SetViewRange(2, 6.5, false);
        strip.SetPlayhead(2);
        strip.SetPlaybackState(false, true);
        ASSERT_TRUE(transport.Create(&parent, CRect(0, 150, 900, 220)));
        monitor.emplace();
        monitor->document = &document;
        monitor->waveformStrip = &strip;
        monitor->transportPage = &transport;
        session->SetResponder(
            [this](const brvl::backend::ModalRequest& request)
            {
                boxes.push_back(request);
                return brvl::backend::ModalAnswer::With(IDOK);
            });
        Settle();
    }

    void TearDown() override { monitor.reset(); }

    std::wstring WriteTrack(const std::string& name, int rate, std::size_t frames, double level)
    {
        const auto path = (temp / name).wstring();
        WriteWavFile(path,
                     MakeAudio(
                         rate, frames, [=](std::size_t) { return level; },
                         [=](std::size_t) { return -level; }),
                     16);
        return path;
    }

    void Load(const std::wstring& path)
    {
        CString failure;
        ASSERT_TRUE(document.LoadAudioFile(path, failure)) << WideToUtf8(std::wstring(failure));
        monitor->SyncLoadedTrack();
    }

    bool ShownPlaying() const { return strip.playing && transport.playing; }
    bool ShownStopped() const { return !strip.playing && !transport.playing && strip.playheadLit; }

    TempDir temp;
    FakeSound sound;
    CBrimvaleDoc document;
    RecordingWnd parent{"view", log};
    CWaveformStripWnd strip;
    CTransportSurfaceViewportWnd transport;
    std::optional<MonitorController> monitor;
    std::vector<brvl::backend::ModalRequest> boxes;
};

} // namespace

TEST_F(MonitorTest, ANewTrackOpensOnItsMiddleFiveSecondsAndTheSameOneKeepsTheView)
{
    Load(WriteTrack("short.wav", 8000, 3 * 8000, 0.1));
    EXPECT_DOUBLE_EQ(strip.viewStart, 0.0);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 3.0);
    EXPECT_DOUBLE_EQ(strip.playhead, 1.5);
    EXPECT_DOUBLE_EQ(monitor->playPosition, 1.5);
    EXPECT_DOUBLE_EQ(transport.position, 1.5);
    EXPECT_EQ(transport.timeText, FormatTransportTime(1.5));

    Load(WriteTrack("long.wav", 8000, 60 * 8000, 0.1));
    EXPECT_DOUBLE_EQ(strip.viewStart, 27.5);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 32.5);
    EXPECT_DOUBLE_EQ(strip.playhead, 30.0);
    EXPECT_DOUBLE_EQ(transport.position, 30.0);

    // The document changed but the track did not: the user's view stays.
    strip.SetViewRange(10, 12, false);
    strip.SetPlayhead(11);
    monitor->SyncLoadedTrack();
    EXPECT_DOUBLE_EQ(strip.viewStart, 10.0);
    EXPECT_DOUBLE_EQ(strip.playhead, 11.0);

    // A file that cannot be read is no new track.
    CString failure;
    EXPECT_FALSE(document.LoadAudioFile((temp / "missing.wav").wstring(), failure));
    monitor->SyncLoadedTrack();
    EXPECT_DOUBLE_EQ(strip.viewStart, 10.0);

    // Another track of the same length and rate is new, wherever its samples lie.
    Load(WriteTrack("other.wav", 8000, 60 * 8000, 0.2));
    EXPECT_DOUBLE_EQ(strip.viewStart, 27.5);
    EXPECT_DOUBLE_EQ(strip.playhead, 30.0);
}

TEST_F(MonitorTest, PlayAndStopSetAndClearTheIndicatorsAndPlayWithoutRestartStartsOnce)
{
    Load(WriteTrack("track.wav", 8000, 10 * 8000, 0.1));
    monitor->SetMonitorOriginal(true);
    EXPECT_TRUE(transport.monitorSource);
    monitor->Play(false);
    monitor->Play(false);
    EXPECT_EQ(sound.fake.OpenCount(), 1);
    EXPECT_EQ(sound.fake.WrittenBuffers().size(), 3u);
    EXPECT_TRUE(ShownPlaying());
    EXPECT_TRUE(monitor->player.IsPlaying());
    EXPECT_DOUBLE_EQ(monitor->startOffset, 0.0);
    // From the play-head at the track's middle.
    EXPECT_EQ(monitor->player.PublishedFrame(), 5 * 8000 + 3 * 4096);

    monitor->Stop();
    EXPECT_FALSE(monitor->player.IsPlaying());
    EXPECT_TRUE(ShownStopped());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MonitorTest, TheABSwitchRestartsOnTheOtherSourceOnlyWhenItIsHeard)
{
    Load(WriteTrack("track.wav", 8000, 10 * 8000, 0.1));
    strip.SetViewRange(4, 6, false);
    strip.SetPlayhead(4.5);

    // Processed sound without a preview: nothing plays, nothing is said.
    monitor->Play(true);
    EXPECT_EQ(sound.fake.OpenCount(), 0);
    EXPECT_FALSE(ShownPlaying());
    EXPECT_TRUE(boxes.empty());

    // Without a preview either side plays the track: no restart.
    monitor->SetMonitorOriginal(true);
    monitor->Play(true);
    ASSERT_EQ(sound.fake.OpenCount(), 1);
    monitor->processedBuffer = Ramp(1000, 2000); // the preview of 4 to 6 s
    // Switching while the track plays restarts on the preview, at the
    // play-head's offset into the region.
    monitor->SetMonitorOriginal(false);
    EXPECT_EQ(sound.fake.OpenCount(), 2);
    EXPECT_EQ(sound.fake.LastSampleRate(), 1000u);
    EXPECT_DOUBLE_EQ(monitor->startOffset, 4.0);
    EXPECT_EQ(LeftValues(sound.fake.WrittenBuffers()[3].bytes).front(), 500);
    EXPECT_FALSE(transport.monitorSource);
    EXPECT_TRUE(ShownPlaying());

    // Back to the track.
    monitor->SetMonitorOriginal(true);
    EXPECT_EQ(sound.fake.OpenCount(), 3);
    EXPECT_EQ(sound.fake.LastSampleRate(), 8000u);
    EXPECT_DOUBLE_EQ(monitor->startOffset, 0.0);

    // While nothing plays only the switch moves.
    monitor->Stop();
    monitor->SetMonitorOriginal(false);
    EXPECT_EQ(sound.fake.OpenCount(), 3);
    EXPECT_FALSE(transport.monitorSource);

    // Choosing the processed sound without a preview stops a running playback.
    monitor->SetMonitorOriginal(true);
    monitor->Play(true);
    monitor->processedBuffer = AudioBuffer{};
    monitor->SetMonitorOriginal(false);
    EXPECT_FALSE(monitor->player.IsPlaying());
    EXPECT_TRUE(ShownStopped());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MonitorTest, AQueuingFailureDuringPlaybackEndsItAndTheTimerClearsTheIndicators)
{
    Load(WriteTrack("track.wav", 8000, 10 * 8000, 0.1));
    monitor->SetMonitorOriginal(true);
    monitor->Play(false);
    ASSERT_TRUE(monitor->player.IsPlaying());
    EXPECT_FALSE(monitor->StopIfPlaybackEnded());

    FailNextWaveOutWriteForTests(MMSYSERR_NOMEM);
    ASSERT_TRUE(sound.fake.FireDone(HeaderOf(sound.fake.WrittenBuffers()[0])));
    ASSERT_TRUE(WaitUntil([&] { return !monitor->player.IsPlaying(); }));
    EXPECT_TRUE(monitor->StopIfPlaybackEnded());
    EXPECT_TRUE(ShownStopped());
    EXPECT_FALSE(monitor->StopIfPlaybackEnded());
    EXPECT_TRUE(boxes.empty()); // silently
}

TEST_F(MonitorTest, AQueuingFailureAtStartIsShownWithTheDevicesText)
{
    Load(WriteTrack("track.wav", 8000, 10 * 8000, 0.1));
    monitor->SetMonitorOriginal(true);
    monitor->Play(false);
    ASSERT_TRUE(ShownPlaying());
    FailNextWaveOutWriteForTests(MMSYSERR_NOMEM);
    monitor->Play(true);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Not enough memory is available for the audio device.");
    EXPECT_NE(boxes[0].flags & MB_ICONERROR, 0u);
    EXPECT_FALSE(monitor->player.IsPlaying());
    EXPECT_TRUE(ShownStopped());
}

TEST_F(MonitorTest, WithoutASoundDeviceOneBoxAndNothingElseChanges)
{
    Load(WriteTrack("track.wav", 8000, 10 * 8000, 0.1));
    monitor->SetMonitorOriginal(true);
    strip.SetViewRange(3, 7, false);
    strip.SetPlayhead(4);
    SystemSound none("no-such-sound-driver");
    monitor->Play(false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Failed to open preview audio output device.");
    EXPECT_NE(boxes[0].flags & MB_ICONERROR, 0u);
    EXPECT_TRUE(ShownStopped());
    EXPECT_DOUBLE_EQ(strip.viewStart, 3.0);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 7.0);
    EXPECT_DOUBLE_EQ(strip.playhead, 4.0);
    EXPECT_TRUE(transport.monitorSource);
    EXPECT_FALSE(monitor->player.IsPlaying());
}

TEST_F(MonitorTest, AThousandRapidPlayStopAndSwitchesLeaveNoDevice)
{
    Load(WriteTrack("track.wav", 8000, 10 * 8000, 0.1));
    monitor->processedBuffer = Ramp(1000, 2000);
    std::optional<DoneFiring> firing{std::in_place, sound.fake};
    for (int i = 0; i < 1000; ++i)
    {
        switch (i % 4)
        {
        case 0:
            monitor->Play(i % 8 == 0);
            break;
        case 1:
            monitor->SetMonitorOriginal(!monitor->monitorUnprocessed);
            break;
        case 2:
            monitor->Stop();
            break;
        default:
            monitor->Play(true);
            break;
        }
    }
    firing.reset();
    monitor->Stop();
    EXPECT_TRUE(ShownStopped());
    EXPECT_TRUE(PreviewPlayer::JoinPendingCloses(std::chrono::seconds(5)));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MonitorTest, ARefusedRegionIsShownAndLeavesTheRunningPlaybackAndItsIndicators)
{
    Load(WriteTrack("track.wav", 8000, 10 * 8000, 0.1));
    monitor->SetMonitorOriginal(true);
    monitor->Play(false);
    ASSERT_TRUE(ShownPlaying());
    monitor->processedBuffer = Ramp(48000, 1); // a preview of 21 microseconds
    monitor->SetMonitorOriginal(false);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Preview region is too short.");
    EXPECT_TRUE(monitor->player.IsPlaying());
    EXPECT_TRUE(ShownPlaying());
    EXPECT_EQ(sound.fake.OpenCount(), 1);
}
