#pragma once

#include "platform/winmm/wave_driver.h"

#include <mutex>
#include <string>
#include <vector>

namespace brvl::winmm
{

// A test double for the sound output: plays nothing, records every buffer
// written and lets the test decide when a buffer is done. Install it with
// InstallWaveDriver before opening.
class FakeWaveDriver : public WaveDriver
{
public:
    struct Written
    {
        const WAVEHDR* header;
        std::string bytes; // the buffer's contents when it was written
    };

    // Fails every following open with `error` (MMSYSERR_NOERROR: opens succeed).
    void FailOpens(MMRESULT error);

    std::vector<Written> WrittenBuffers() const;
    // The headers of the last `count` buffers written, oldest first, without
    // copying their contents.
    std::vector<WAVEHDR*> RecentHeaders(std::size_t count) const;
    int OpenCount() const;
    DWORD LastSampleRate() const;

    // Marks `header` played: WOM_DONE follows on the device's completion
    // thread. False when it is not queued on the open device.
    bool FireDone(WAVEHDR* header);

    MMRESULT Open(DWORD sampleRate, WaveFeed& feed, std::unique_ptr<WaveStream>& stream) override;

private:
    class Stream;

    mutable std::mutex m_mutex;
    MMRESULT m_openError = MMSYSERR_NOERROR;
    std::vector<Written> m_written;
    int m_opens = 0;
    DWORD m_rate = 0;
    WaveFeed* m_feed = nullptr; // of the open stream
};

} // namespace brvl::winmm
