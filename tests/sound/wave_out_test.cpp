#include "platform/winmm/fake_wave_driver.h"
#include "platform/winmm/mmsystem.h"
#include "platform/winmm/wave_test_hooks.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <atomic>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace brvl::winmm;

namespace
{

constexpr DWORD kRate = 48000;

WAVEFORMATEX StereoPcm(DWORD rate = kRate)
{
    return WAVEFORMATEX{WAVE_FORMAT_PCM, 2, rate, rate * 4, 4, 16, 0};
}

// Every callback the device made, with the thread it came on.
struct CallbackLog
{
    struct Entry
    {
        UINT message;
        WAVEHDR* header;
        DWORD flagsAtCall;
        std::thread::id thread;
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Entry> entries;
    std::function<void(HWAVEOUT, UINT, WAVEHDR*)> reaction;

    static void Callback(HWAVEOUT device, UINT msg, DWORD_PTR instance, DWORD_PTR p1, DWORD_PTR)
    {
        auto* log = reinterpret_cast<CallbackLog*>(instance);
        auto* header = reinterpret_cast<WAVEHDR*>(p1);
        {
            std::lock_guard lock(log->mutex);
            log->entries.push_back(
                {msg, header, header != nullptr ? header->dwFlags : 0, std::this_thread::get_id()});
        }
        log->changed.notify_all();
        if (log->reaction)
        {
            log->reaction(device, msg, header);
        }
    }

    int Count(UINT msg)
    {
        std::lock_guard lock(mutex);
        int n = 0;
        for (const Entry& e : entries)
        {
            n += e.message == msg ? 1 : 0;
        }
        return n;
    }

    bool WaitFor(UINT msg, int count, std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout,
                                [&]
                                {
                                    int n = 0;
                                    for (const Entry& e : entries)
                                    {
                                        n += e.message == msg ? 1 : 0;
                                    }
                                    return n >= count;
                                });
    }

    std::vector<Entry> Snapshot()
    {
        std::lock_guard lock(mutex);
        return entries;
    }
};

// A buffer of PCM whose every byte is nonzero, so that the driver's silence
// can be told apart from it in what was played.
struct PcmBuffer
{
    std::vector<char> data;
    WAVEHDR header{};

    PcmBuffer(std::size_t frames, int seed) : data(frames * 4)
    {
        for (std::size_t i = 0; i < data.size(); ++i)
        {
            data[i] = static_cast<char>(1 + (i * 7 + static_cast<std::size_t>(seed) * 31) % 255);
        }
        header.lpData = data.data();
        header.dwBufferLength = static_cast<DWORD>(data.size());
    }
};

MMRESULT Open(HWAVEOUT& device, CallbackLog& log, DWORD rate = kRate)
{
    const WAVEFORMATEX format = StereoPcm(rate);
    return waveOutOpen(&device, WAVE_MAPPER, &format,
                       reinterpret_cast<DWORD_PTR>(&CallbackLog::Callback),
                       reinterpret_cast<DWORD_PTR>(&log), CALLBACK_FUNCTION);
}

// The system's sound under a chosen SDL driver; restarted for each test since
// SDL reads its environment when it starts.
class SystemSoundTest : public ::testing::Test
{
protected:
    void UseSdlDriver(const char* driver, const std::optional<std::string>& diskFile = {})
    {
        ShutDownSystemSoundForTests();
        m_driver.reset();
        m_diskFile.reset();
        m_driver.emplace("SDL_AUDIODRIVER", driver);
        m_diskFile.emplace("SDL_DISKAUDIOFILE", diskFile);
    }

    // The environment goes back after the sound system is down.
    ~SystemSoundTest() override { ShutDownSystemSoundForTests(); }

    TempDir temp;

private:
    std::optional<ScopedEnvironment> m_driver;
    std::optional<ScopedEnvironment> m_diskFile;
};

std::string WithoutSilentFrames(const std::string& bytes)
{
    std::string kept;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4)
    {
        if (bytes.compare(i, 4, std::string(4, '\0')) != 0)
        {
            kept.append(bytes, i, 4);
        }
    }
    return kept;
}

} // namespace

TEST_F(SystemSoundTest, DiskDriverPlaysTheQueuedPcmInOrderAndReturnsEveryBuffer)
{
    const auto played = temp / "played.raw";
    UseSdlDriver("disk", played.string());
    CallbackLog log;
    HWAVEOUT device = nullptr;
    ASSERT_EQ(Open(device, log), MMSYSERR_NOERROR);

    std::vector<PcmBuffer> buffers;
    for (int i = 0; i < 3; ++i)
    {
        buffers.emplace_back(1500 + 300 * i, i); // lengths that do not match SDL's pulls
    }
    std::string queued;
    for (PcmBuffer& b : buffers)
    {
        ASSERT_EQ(waveOutPrepareHeader(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        queued.append(b.data.begin(), b.data.end());
    }
    ASSERT_TRUE(log.WaitFor(WOM_DONE, 3)) << "not every buffer came back";
    for (PcmBuffer& b : buffers)
    {
        EXPECT_EQ(b.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
        EXPECT_EQ(waveOutUnprepareHeader(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    ASSERT_EQ(waveOutClose(device), MMSYSERR_NOERROR);

    const auto entries = log.Snapshot();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries.front().message, WOM_OPEN);
    EXPECT_EQ(entries.back().message, WOM_CLOSE);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(entries[1 + i].header, &buffers[i].header) << "buffers returned out of order";
        EXPECT_EQ(entries[1 + i].flagsAtCall & WHDR_DONE, WHDR_DONE);
        EXPECT_NE(entries[1 + i].thread, std::this_thread::get_id());
    }
    EXPECT_EQ(WithoutSilentFrames(ReadFileBytes(played)), queued)
        << "what was played differs from what was queued";
}

TEST_F(SystemSoundTest, ResetFromAnotherThreadReturnsThePendingBuffersBeforeItReturns)
{
    UseSdlDriver("dummy");
    CallbackLog log;
    HWAVEOUT device = nullptr;
    ASSERT_EQ(Open(device, log, 8000), MMSYSERR_NOERROR);
    std::vector<PcmBuffer> buffers;
    for (int i = 0; i < 3; ++i)
    {
        buffers.emplace_back(8000 * 2, i); // two seconds each: still queued when reset
    }
    for (PcmBuffer& b : buffers)
    {
        ASSERT_EQ(waveOutPrepareHeader(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(waveOutClose(device), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveOutUnprepareHeader(device, &buffers[2].header, sizeof(WAVEHDR)),
              WAVERR_STILLPLAYING);

    int doneWhenResetReturned = -1;
    std::thread resetter(
        [&]
        {
            EXPECT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
            doneWhenResetReturned = log.Count(WOM_DONE);
        });
    resetter.join();
    EXPECT_EQ(doneWhenResetReturned, 3);
    for (PcmBuffer& b : buffers)
    {
        EXPECT_EQ(b.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
        EXPECT_EQ(waveOutUnprepareHeader(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
    EXPECT_EQ(log.Count(WOM_DONE), 3) << "a reset buffer came back twice";
    EXPECT_EQ(waveOutWrite(device, &buffers[0].header, sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutClose(device), MMSYSERR_INVALHANDLE);
}

TEST_F(SystemSoundTest, NoSoundDeviceIsAnErrorWithText)
{
    UseSdlDriver("no-such-sound-driver");
    CallbackLog log;
    HWAVEOUT device = reinterpret_cast<HWAVEOUT>(1);
    const MMRESULT result = Open(device, log);
    EXPECT_EQ(result, MMSYSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    wchar_t text[MAXERRORLENGTH] = L"";
    EXPECT_EQ(waveOutGetErrorTextW(result, text, MAXERRORLENGTH), MMSYSERR_NOERROR);
    EXPECT_GT(std::wcslen(text), 0u);
    EXPECT_EQ(log.Count(WOM_OPEN), 0);

    // The failure leaves nothing behind: the next device opens.
    UseSdlDriver("dummy");
    ASSERT_EQ(Open(device, log), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
}

TEST_F(SystemSoundTest, ADeviceAtAVeryLowRateClosesWithoutWaitingOutALongPull)
{
    // SDL's clocked drivers sleep one pull's length between pulls and a
    // close waits for that sleep: the pull must stay short at every rate.
    UseSdlDriver("dummy");
    for (const DWORD rate : {1u, 7u, 100u})
    {
        CallbackLog log;
        HWAVEOUT device = nullptr;
        ASSERT_EQ(Open(device, log, rate), MMSYSERR_NOERROR) << rate;
        PcmBuffer buffer(4, 1);
        ASSERT_EQ(waveOutPrepareHeader(device, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveOutWrite(device, &buffer.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        EXPECT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
        EXPECT_EQ(waveOutUnprepareHeader(device, &buffer.header, sizeof(WAVEHDR)),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR) << rate;
    }
}

TEST_F(SystemSoundTest, EveryRateTheFormatCheckAcceptsOpensOnARealDriver)
{
    // From 1 Hz up to the 768 kHz ceiling, the pull worked out from the rate
    // must be one that SDL takes.
    UseSdlDriver("dummy");
    for (const DWORD rate : {1u, 8u, 100u, 8000u, 384000u, 768000u})
    {
        CallbackLog log;
        HWAVEOUT device = nullptr;
        ASSERT_EQ(Open(device, log, rate), MMSYSERR_NOERROR) << rate;
        EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR) << rate;
    }
}

// The rest runs on the test double: the test decides when a buffer is done.
class FakeSoundTest : public ::testing::Test
{
protected:
    FakeSoundTest() { InstallWaveDriver(&driver); }
    ~FakeSoundTest() override { InstallWaveDriver(nullptr); }

    FakeWaveDriver driver;
    CallbackLog log;
};

TEST_F(FakeSoundTest, RefusesWhatItCannotPlayWithTheDocumentedCodes)
{
    HWAVEOUT device = nullptr;
    struct Case
    {
        const char* what;
        WAVEFORMATEX format;
        MMRESULT expected;
    };
    const Case cases[] = {
        {"mono", {WAVE_FORMAT_PCM, 1, kRate, kRate * 2, 2, 16, 0}, WAVERR_BADFORMAT},
        {"8-bit", {WAVE_FORMAT_PCM, 2, kRate, kRate * 2, 2, 8, 0}, WAVERR_BADFORMAT},
        {"float", {3, 2, kRate, kRate * 8, 8, 32, 0}, WAVERR_BADFORMAT},
        {"zero rate", {WAVE_FORMAT_PCM, 2, 0, 0, 4, 16, 0}, WAVERR_BADFORMAT},
        {"lying byte rate", {WAVE_FORMAT_PCM, 2, kRate, kRate, 4, 16, 0}, WAVERR_BADFORMAT},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &c.format, 0, 0, CALLBACK_NULL), c.expected)
            << c.what;
    }
    const WAVEFORMATEX good = StereoPcm();
    EXPECT_EQ(waveOutOpen(&device, 7, &good, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, &good, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    driver.FailOpens(MMSYSERR_NODRIVER);
    EXPECT_EQ(waveOutOpen(&device, WAVE_MAPPER, &good, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
    EXPECT_EQ(driver.OpenCount(), 0);

    wchar_t text[MAXERRORLENGTH] = L"x";
    EXPECT_EQ(waveOutGetErrorTextW(12345, text, MAXERRORLENGTH), MMSYSERR_BADERRNUM);
    EXPECT_EQ(text[0], L'\0');
    wchar_t small[8];
    EXPECT_EQ(waveOutGetErrorTextW(WAVERR_BADFORMAT, small, 8), MMSYSERR_NOERROR);
    EXPECT_EQ(std::wcslen(small), 7u) << "the text is cut to the buffer";
}

TEST_F(FakeSoundTest, BuffersFollowTheirFlagsThroughWriteAndDone)
{
    HWAVEOUT device = nullptr;
    ASSERT_EQ(Open(device, log), MMSYSERR_NOERROR);
    PcmBuffer a(64, 1);
    PcmBuffer b(64, 2);
    EXPECT_EQ(waveOutWrite(device, &a.header, sizeof(WAVEHDR)), WAVERR_UNPREPARED);
    EXPECT_EQ(waveOutPrepareHeader(device, &a.header, sizeof(WAVEHDR) - 1), MMSYSERR_INVALPARAM);
    ASSERT_EQ(waveOutPrepareHeader(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutPrepareHeader(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(a.header.dwFlags, WHDR_PREPARED);
    ASSERT_EQ(waveOutWrite(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(device, &b.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(a.header.dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
    EXPECT_EQ(waveOutWrite(device, &a.header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING)
        << "a queued buffer was queued twice";

    const auto written = driver.WrittenBuffers();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].header, &a.header);
    EXPECT_EQ(written[0].bytes, std::string(a.data.begin(), a.data.end()));

    // The second is done first: the double completes whichever the test names.
    ASSERT_TRUE(driver.FireDone(&b.header));
    ASSERT_TRUE(log.WaitFor(WOM_DONE, 1));
    EXPECT_EQ(log.Snapshot().back().header, &b.header);
    EXPECT_EQ(b.header.dwFlags, WHDR_PREPARED | WHDR_DONE);
    EXPECT_FALSE(driver.FireDone(&b.header)) << "a finished buffer finished again";
    EXPECT_EQ(waveOutUnprepareHeader(device, &a.header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);

    ASSERT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
    EXPECT_EQ(log.Count(WOM_DONE), 2);
    EXPECT_EQ(waveOutUnprepareHeader(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(a.header.dwFlags, WHDR_DONE);
    EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
    EXPECT_EQ(log.Count(WOM_CLOSE), 1);
    EXPECT_EQ(waveOutPrepareHeader(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
}

TEST_F(FakeSoundTest, TheCallbackMayRequeueAndMayThrowWithoutStoppingTheDevice)
{
    HWAVEOUT device = nullptr;
    PcmBuffer a(64, 1);
    std::atomic<int> requeued{0};
    log.reaction = [&](HWAVEOUT d, UINT msg, WAVEHDR* header)
    {
        if (msg != WOM_DONE)
        {
            return;
        }
        if (requeued.fetch_add(1) == 0)
        {
            // Queued from inside the callback, as the player refills its buffers.
            EXPECT_EQ(waveOutWrite(d, header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
            return;
        }
        throw std::runtime_error("the player's callback failed");
    };
    ASSERT_EQ(Open(device, log), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutPrepareHeader(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_TRUE(driver.FireDone(&a.header));
    ASSERT_TRUE(log.WaitFor(WOM_DONE, 1));
    // The requeue happens after the entry is logged; wait for it to land.
    for (int i = 0; i < 500 && driver.WrittenBuffers().size() < 2; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_EQ(driver.WrittenBuffers().size(), 2u);
    ASSERT_TRUE(driver.FireDone(&a.header));
    ASSERT_TRUE(log.WaitFor(WOM_DONE, 2)); // this callback throws; the device lives on
    EXPECT_EQ(waveOutReset(device), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutUnprepareHeader(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
    EXPECT_EQ(log.Count(WOM_CLOSE), 1);
}

TEST_F(FakeSoundTest, ANewOpenWaitsForThePreviousDeviceToFinishClosing)
{
    HWAVEOUT first = nullptr;
    ASSERT_EQ(Open(first, log), MMSYSERR_NOERROR);
    PcmBuffer a(64, 1);
    ASSERT_EQ(waveOutPrepareHeader(first, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(first, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);

    std::thread closer(
        [&]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            EXPECT_EQ(waveOutReset(first), MMSYSERR_NOERROR);
            EXPECT_EQ(waveOutUnprepareHeader(first, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
            EXPECT_EQ(waveOutClose(first), MMSYSERR_NOERROR);
        });
    CallbackLog second;
    HWAVEOUT next = nullptr;
    const MMRESULT result = Open(next, second);
    // Asked the moment the open returned: the first device must be gone by then.
    const MMRESULT firstState = waveOutReset(first);
    closer.join();
    ASSERT_EQ(result, MMSYSERR_NOERROR);
    EXPECT_EQ(firstState, MMSYSERR_INVALHANDLE) << "two devices were open at once";
    EXPECT_NE(next, first) << "a handle was reused";
    EXPECT_EQ(driver.OpenCount(), 2);

    // A device that is never closed keeps the output: after the bounded wait
    // the next open is refused rather than playing two devices at once.
    HWAVEOUT third = nullptr;
    EXPECT_EQ(Open(third, second), MMSYSERR_ALLOCATED);
    EXPECT_EQ(third, nullptr);
    EXPECT_EQ(driver.OpenCount(), 2);
    EXPECT_EQ(waveOutClose(next), MMSYSERR_NOERROR);
}

TEST_F(FakeSoundTest, TheCallbackMayCloseItsOwnDevice)
{
    HWAVEOUT device = nullptr;
    PcmBuffer a(64, 1);
    constexpr MMRESULT kNotYet = 0xFFFF;
    std::atomic<MMRESULT> closed{kNotYet};
    log.reaction = [&](HWAVEOUT d, UINT msg, WAVEHDR* header)
    {
        if (msg == WOM_DONE)
        {
            waveOutUnprepareHeader(d, header, sizeof(WAVEHDR));
            closed = waveOutClose(d);
        }
    };
    ASSERT_EQ(Open(device, log), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutPrepareHeader(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(device, &a.header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    ASSERT_TRUE(driver.FireDone(&a.header));
    // Waits for the callback's own close to return, not only for WOM_CLOSE
    // (sent from inside that close).
    for (int i = 0; i < 1000 && closed.load() == kNotYet; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(closed.load(), MMSYSERR_NOERROR) << "closing from the callback hung or failed";
    EXPECT_EQ(log.Count(WOM_CLOSE), 1);
    EXPECT_EQ(waveOutReset(device), MMSYSERR_INVALHANDLE);

    // The slot is free again: the next device opens at once.
    CallbackLog next;
    ASSERT_EQ(Open(device, next), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(device), MMSYSERR_NOERROR);
}
