#include "platform/winmm/mmsystem.h"
#include "platform/winmm/wave_driver.h"
#include "platform/winmm/wave_test_hooks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace brvl::winmm
{

namespace
{

// Decision: a new open waits this long for the previous device (still closing
// on its own thread) to go, so that two devices never play at once.
constexpr std::chrono::seconds kPreviousCloseWait{2};

constexpr DWORD kMaxSampleRate = 768000;

std::atomic<WaveDriver*> g_driver{nullptr};

std::atomic<MMRESULT> g_failNextWrite{MMSYSERR_NOERROR};

std::mutex g_resetHookMutex;
std::function<void(HWAVEOUT)> g_resetHook;

void RunResetHook(HWAVEOUT device)
{
    std::function<void(HWAVEOUT)> hook;
    {
        std::lock_guard lock(g_resetHookMutex);
        hook = g_resetHook;
    }
    if (hook)
    {
        hook(device);
    }
}

// One open device: its queue, its completion thread and its driver stream.
class Device final : public WaveFeed, public std::enable_shared_from_this<Device>
{
public:
    Device(HWAVEOUT handle, WAVEOUTPROC callback, DWORD_PTR instance)
        : m_handle(handle), m_callback(callback), m_instance(instance)
    {
    }

    ~Device() override
    {
        if (m_completion.joinable())
        {
            // Only when the last owner is the completion thread itself (the
            // device was closed from its own callback).
            m_completion.detach();
        }
    }

    MMRESULT OpenStream(WaveDriver& driver, DWORD sampleRate)
    {
        std::lock_guard streamLock(m_streamMutex);
        return driver.Open(sampleRate, *this, m_stream);
    }

    void StartCompletionThread()
    {
        // The thread owns the device too, so that a close from inside the
        // callback cannot free it under the loop.
        m_completion = std::thread([self = shared_from_this()] { self->CompletionLoop(); });
        m_completionId = m_completion.get_id();
        Enqueue(Event{WOM_OPEN, nullptr});
    }

    MMRESULT Prepare(WAVEHDR* header)
    {
        std::lock_guard lock(m_mutex);
        if ((header->dwFlags & WHDR_INQUEUE) != 0)
        {
            return WAVERR_STILLPLAYING;
        }
        header->dwFlags |= WHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Unprepare(WAVEHDR* header)
    {
        std::lock_guard lock(m_mutex);
        if ((header->dwFlags & WHDR_INQUEUE) != 0)
        {
            return WAVERR_STILLPLAYING;
        }
        header->dwFlags &= ~WHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT Write(WAVEHDR* header)
    {
        bool first = false;
        {
            std::lock_guard lock(m_mutex);
            if (m_closing)
            {
                return MMSYSERR_INVALHANDLE;
            }
            if ((header->dwFlags & WHDR_PREPARED) == 0)
            {
                return WAVERR_UNPREPARED;
            }
            if ((header->dwFlags & WHDR_INQUEUE) != 0)
            {
                return WAVERR_STILLPLAYING;
            }
            header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
            m_queue.push_back(header);
            first = !m_started;
            m_started = true;
        }
        // The driver's own lock is taken by its thread before ours, so the
        // stream is told outside our lock.
        std::lock_guard streamLock(m_streamMutex);
        if (m_stream)
        {
            if (first)
            {
                m_stream->Start();
            }
            m_stream->BufferQueued(*header);
        }
        return MMSYSERR_NOERROR;
    }

    void Reset()
    {
        std::unique_lock lock(m_mutex);
        m_frontOffset = 0;
        while (!m_queue.empty())
        {
            HandOff(m_queue.front());
            m_queue.pop_front();
        }
        const std::uint64_t target = m_handedOff;
        m_wake.notify_all();
        if (std::this_thread::get_id() == m_completionId)
        {
            // Called from a callback: this thread is the one that delivers.
            lock.unlock();
            DeliverPendingHere();
            return;
        }
        m_delivered.wait(lock, [&] { return m_deliveredCount >= target; });
    }

    // Refuses while buffers are queued; otherwise stops the stream, sends
    // WOM_CLOSE after every outstanding WOM_DONE and ends the completion thread.
    MMRESULT Close()
    {
        {
            std::lock_guard lock(m_mutex);
            if (m_closing)
            {
                return MMSYSERR_INVALHANDLE;
            }
            // Buffers already played but whose WOM_DONE is still on its way
            // do not hold the close up: they are delivered before WOM_CLOSE.
            if (!m_queue.empty())
            {
                return WAVERR_STILLPLAYING;
            }
            m_closing = true; // later writes are refused: the stream is going
        }
        {
            std::lock_guard streamLock(m_streamMutex);
            m_stream.reset();
        }
        Enqueue(Event{WOM_CLOSE, nullptr});
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (std::this_thread::get_id() == m_completionId)
        {
            DeliverPendingHere();
        }
        else if (m_completion.joinable())
        {
            m_completion.join();
        }
        return MMSYSERR_NOERROR;
    }

    // WaveFeed
    std::size_t Pull(std::uint8_t* out, std::size_t bytes) override
    {
        std::size_t copied = 0;
        bool handedOff = false;
        {
            std::lock_guard lock(m_mutex);
            while (copied < bytes && !m_queue.empty())
            {
                WAVEHDR* front = m_queue.front();
                const std::size_t left = front->dwBufferLength - m_frontOffset;
                const std::size_t n = std::min(left, bytes - copied);
                if (n > 0)
                {
                    std::memcpy(out + copied, front->lpData + m_frontOffset, n);
                }
                copied += n;
                m_frontOffset += n;
                if (m_frontOffset >= front->dwBufferLength)
                {
                    m_queue.pop_front();
                    m_frontOffset = 0;
                    HandOff(front);
                    handedOff = true;
                }
            }
        }
        if (handedOff)
        {
            m_wake.notify_all();
        }
        return copied;
    }

    bool Complete(WAVEHDR* header) override
    {
        {
            std::lock_guard lock(m_mutex);
            const auto it = std::find(m_queue.begin(), m_queue.end(), header);
            if (it == m_queue.end())
            {
                return false;
            }
            if (it == m_queue.begin())
            {
                m_frontOffset = 0;
            }
            m_queue.erase(it);
            HandOff(header);
        }
        m_wake.notify_all();
        return true;
    }

private:
    struct Event
    {
        UINT message;
        WAVEHDR* header;
    };

    // Lock held: the buffer is finished and waits for its WOM_DONE.
    void HandOff(WAVEHDR* header)
    {
        m_events.push_back(Event{WOM_DONE, header});
        ++m_handedOff;
    }

    void Enqueue(Event event)
    {
        {
            std::lock_guard lock(m_mutex);
            m_events.push_back(event);
        }
        m_wake.notify_all();
    }

    // Lock held: takes the next event and marks a finished buffer done.
    bool TakeEvent(Event& event)
    {
        if (m_events.empty())
        {
            return false;
        }
        event = m_events.front();
        m_events.pop_front();
        if (event.header != nullptr)
        {
            event.header->dwFlags = (event.header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
        }
        return true;
    }

    void Deliver(const Event& event)
    {
        if (m_callback == nullptr)
        {
            return;
        }
        try
        {
            m_callback(m_handle, event.message, m_instance,
                       reinterpret_cast<DWORD_PTR>(event.header), 0);
        }
        catch (const std::exception& e)
        {
            std::fprintf(stderr, "BRVL: exception in the sound callback: %s\n", e.what());
        }
        catch (...)
        {
            std::fprintf(stderr, "BRVL: unknown exception in the sound callback\n");
        }
    }

    void Delivered(const Event& event)
    {
        if (event.message == WOM_DONE)
        {
            std::lock_guard lock(m_mutex);
            ++m_deliveredCount;
        }
        m_delivered.notify_all();
    }

    void DeliverPendingHere()
    {
        for (;;)
        {
            Event event{};
            {
                std::lock_guard lock(m_mutex);
                if (!TakeEvent(event))
                {
                    return;
                }
            }
            Deliver(event);
            Delivered(event);
        }
    }

    void CompletionLoop()
    {
        std::unique_lock lock(m_mutex);
        for (;;)
        {
            m_wake.wait(lock, [this] { return m_stopping || !m_events.empty(); });
            Event event{};
            if (!TakeEvent(event))
            {
                return; // stopping and nothing left
            }
            lock.unlock();
            Deliver(event);
            Delivered(event);
            lock.lock();
        }
    }

    const HWAVEOUT m_handle;
    const WAVEOUTPROC m_callback;
    const DWORD_PTR m_instance;

    std::mutex m_streamMutex; // never taken while m_mutex is held
    std::unique_ptr<WaveStream> m_stream;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_delivered;
    std::deque<WAVEHDR*> m_queue;
    std::size_t m_frontOffset = 0;
    std::deque<Event> m_events;
    std::uint64_t m_handedOff = 0;
    std::uint64_t m_deliveredCount = 0;
    bool m_started = false;
    bool m_closing = false;
    bool m_stopping = false;
    std::thread m_completion;
    // Kept apart from the thread object, which a join changes while other
    // threads may ask whether they are the completion thread.
    std::thread::id m_completionId;
};

// Open devices by handle; handles are never reused.
class DeviceTable
{
public:
    std::shared_ptr<Device> Find(HWAVEOUT handle)
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_devices.find(reinterpret_cast<std::uintptr_t>(handle));
        return it == m_devices.end() ? nullptr : it->second;
    }

    HWAVEOUT NextHandle()
    {
        std::lock_guard lock(m_mutex);
        m_next += 0x10;
        return reinterpret_cast<HWAVEOUT>(m_next);
    }

    // Waits (bounded) until no device is open, then reserves the one slot.
    bool Reserve()
    {
        std::unique_lock lock(m_mutex);
        if (!m_closed.wait_for(lock, kPreviousCloseWait, [this] { return !m_reserved; }))
        {
            return false;
        }
        m_reserved = true;
        return true;
    }

    void Release()
    {
        {
            std::lock_guard lock(m_mutex);
            m_reserved = false;
        }
        m_closed.notify_all();
    }

    void Add(HWAVEOUT handle, std::shared_ptr<Device> device)
    {
        std::lock_guard lock(m_mutex);
        m_devices.emplace(reinterpret_cast<std::uintptr_t>(handle), std::move(device));
    }

    // Takes the device out of the table; false when another thread already did.
    bool Remove(HWAVEOUT handle)
    {
        std::lock_guard lock(m_mutex);
        return m_devices.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_closed;
    std::unordered_map<std::uintptr_t, std::shared_ptr<Device>> m_devices;
    std::uintptr_t m_next = 0x5000;
    bool m_reserved = false;
};

DeviceTable& Devices()
{
    static DeviceTable table;
    return table;
}

bool IsSupportedFormat(const WAVEFORMATEX& f)
{
    return f.wFormatTag == WAVE_FORMAT_PCM && f.nChannels == 2 && f.wBitsPerSample == 16 &&
           f.nBlockAlign == 4 && f.nSamplesPerSec > 0 && f.nSamplesPerSec <= kMaxSampleRate &&
           f.nAvgBytesPerSec == f.nSamplesPerSec * 4;
}

bool IsHeaderArgument(const WAVEHDR* header, UINT size)
{
    return header != nullptr && size >= sizeof(WAVEHDR);
}

} // namespace

void InstallWaveDriver(WaveDriver* driver)
{
    g_driver.store(driver);
}

void FailNextWaveOutWriteForTests(MMRESULT error)
{
    g_failNextWrite.store(error);
}

void SetWaveOutResetHookForTests(std::function<void(HWAVEOUT)> hook)
{
    std::lock_guard lock(g_resetHookMutex);
    g_resetHook = std::move(hook);
}

} // namespace brvl::winmm

using namespace brvl::winmm;

MMRESULT waveOutOpen(LPHWAVEOUT device, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    if (device == nullptr || format == nullptr)
    {
        return MMSYSERR_INVALPARAM;
    }
    *device = nullptr;
    if (deviceId != WAVE_MAPPER && deviceId != 0)
    {
        return MMSYSERR_BADDEVICEID;
    }
    if (flags != CALLBACK_FUNCTION && flags != CALLBACK_NULL)
    {
        return MMSYSERR_INVALPARAM;
    }
    if (!IsSupportedFormat(*format))
    {
        return WAVERR_BADFORMAT;
    }
    DeviceTable& table = Devices();
    if (!table.Reserve())
    {
        return MMSYSERR_ALLOCATED;
    }
    WaveDriver* installed = g_driver.load();
    WaveDriver& driver = installed != nullptr ? *installed : SystemWaveDriver();
    const HWAVEOUT handle = table.NextHandle();
    const auto proc =
        flags == CALLBACK_FUNCTION ? reinterpret_cast<WAVEOUTPROC>(callback) : nullptr;
    auto opened = std::make_shared<Device>(handle, proc, instance);
    const MMRESULT result = opened->OpenStream(driver, format->nSamplesPerSec);
    if (result != MMSYSERR_NOERROR)
    {
        table.Release();
        return result;
    }
    opened->StartCompletionThread();
    table.Add(handle, std::move(opened));
    *device = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT size)
{
    const auto d = Devices().Find(device);
    if (!d)
    {
        return MMSYSERR_INVALHANDLE;
    }
    return IsHeaderArgument(header, size) ? d->Prepare(header) : MMSYSERR_INVALPARAM;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, LPWAVEHDR header, UINT size)
{
    const auto d = Devices().Find(device);
    if (!d)
    {
        return MMSYSERR_INVALHANDLE;
    }
    return IsHeaderArgument(header, size) ? d->Unprepare(header) : MMSYSERR_INVALPARAM;
}

MMRESULT waveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT size)
{
    const auto d = Devices().Find(device);
    if (!d)
    {
        return MMSYSERR_INVALHANDLE;
    }
    if (!IsHeaderArgument(header, size))
    {
        return MMSYSERR_INVALPARAM;
    }
    const MMRESULT injected = g_failNextWrite.exchange(MMSYSERR_NOERROR);
    return injected != MMSYSERR_NOERROR ? injected : d->Write(header);
}

MMRESULT waveOutReset(HWAVEOUT device)
{
    const auto d = Devices().Find(device);
    if (!d)
    {
        return MMSYSERR_INVALHANDLE;
    }
    d->Reset();
    RunResetHook(device);
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT device)
{
    DeviceTable& table = Devices();
    const auto d = table.Find(device);
    if (!d)
    {
        return MMSYSERR_INVALHANDLE;
    }
    const MMRESULT result = d->Close();
    if (result == MMSYSERR_NOERROR && table.Remove(device))
    {
        table.Release();
    }
    return result;
}

MMRESULT waveOutGetErrorTextW(MMRESULT error, LPWSTR text, UINT count)
{
    if (text == nullptr || count == 0)
    {
        return MMSYSERR_INVALPARAM;
    }
    const wchar_t* message = nullptr;
    switch (error)
    {
    case MMSYSERR_NOERROR:
        message = L"The command completed successfully.";
        break;
    case MMSYSERR_ERROR:
        message = L"An unspecified error occurred.";
        break;
    case MMSYSERR_BADDEVICEID:
        message = L"The specified audio device does not exist.";
        break;
    case MMSYSERR_ALLOCATED:
        message = L"The audio device is already in use.";
        break;
    case MMSYSERR_INVALHANDLE:
        message = L"The audio device handle is not valid.";
        break;
    case MMSYSERR_NODRIVER:
        message = L"No audio output device is available.";
        break;
    case MMSYSERR_NOMEM:
        message = L"Not enough memory is available for the audio device.";
        break;
    case MMSYSERR_INVALPARAM:
        message = L"An invalid parameter was passed to the audio device.";
        break;
    case WAVERR_BADFORMAT:
        message = L"The audio device does not support the requested format.";
        break;
    case WAVERR_STILLPLAYING:
        message = L"The audio device is still playing queued buffers.";
        break;
    case WAVERR_UNPREPARED:
        message = L"The audio buffer has not been prepared.";
        break;
    default:
        break;
    }
    if (message == nullptr)
    {
        text[0] = L'\0';
        return MMSYSERR_BADERRNUM;
    }
    const std::size_t n = std::min<std::size_t>(count - 1, std::wcslen(message));
    std::wmemcpy(text, message, n);
    text[n] = L'\0';
    return MMSYSERR_NOERROR;
}
