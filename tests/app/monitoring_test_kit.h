#pragma once

// What the preview player's and the monitor controller's tests share: test
// tracks, the fake sound driver for a whole test, and a thread that marks
// buffers played while the test starts and stops.

#include "app/preview_player.h"
#include "engine/audio_buffer.h"
#include "platform/winmm/fake_wave_driver.h"
#include "platform/winmm/wave_test_hooks.h"
#include "tests/support/scoped_environment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace monitoring_test
{

using namespace brvl::winmm;

using Frames = std::vector<std::pair<int, int>>;

inline AudioBuffer MakeAudio(int rate, std::size_t frames,
                             const std::function<double(std::size_t)>& left,
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
inline AudioBuffer Ramp(int rate, std::size_t frames)
{
    return MakeAudio(
        rate, frames, [](std::size_t i) { return static_cast<double>(i) / 32767.0; },
        [](std::size_t i) { return -static_cast<double>(i) / 32767.0; });
}

inline Frames Decode(const std::string& bytes)
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
inline std::vector<int> LeftValues(const std::string& bytes)
{
    std::vector<int> values;
    for (const auto& frame : Decode(bytes))
    {
        values.push_back(frame.first);
    }
    return values;
}

inline bool WaitUntil(const std::function<bool()>& condition)
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

inline WAVEHDR* HeaderOf(const FakeWaveDriver::Written& written)
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
        PreviewPlayer::RefuseClosingThreadsForTests(false);
    }

    FakeWaveDriver fake;
};

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

} // namespace monitoring_test
