// The monitor controller with the real waveform strip and transport page, on
// the fake sound driver.

#include "app/brimvale_doc.h"
#include "app/monitor_controller.h"
#include "app/preview_player.h"
#include "base/unicode_text.h"
#include "controls/waveform/waveform_strip_wnd.h"
#include "engine/io/wav_writer.h"
#include "pages/transport_surface_viewport_wnd.h"
#include "tests/app/monitoring_test_kit.h"
#include "tests/platform/test_windows.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace monitoring_test;

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
