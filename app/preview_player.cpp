#include "app/preview_player.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <limits>
#include <list>
#include <mutex>
#include <thread>
#include <utility>

namespace
{

constexpr DWORD kBytesPerFrame = 4;
constexpr double kShortestRegionSeconds = 0.001;
// A callback that passed its playing test just before a stop may queue a
// buffer after the closing reset; each further round takes it back.
constexpr int kCloseAttempts = 50;

std::atomic<long long> g_closeWaitMs{2000};

// The closing threads of one player, so that its destructor can wait for them.
class CloseCount
{
public:
    void Begin()
    {
        std::lock_guard lock(m_mutex);
        ++m_pending;
    }

    void End()
    {
        {
            std::lock_guard lock(m_mutex);
            --m_pending;
        }
        m_idle.notify_all();
    }

    void WaitIdle(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait_for(lock, limit, [this] { return m_pending == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_pending = 0;
};

// Every closing thread of the program, joined once it ended, so that none is
// left running when the program ends.
class ClosingThreads
{
public:
    // Starts `body` on a thread of its own. False, with nothing started, when
    // no thread could be made.
    template <typename Body> bool Launch(Body body) noexcept
    {
        try
        {
            std::lock_guard lock(m_mutex);
            ReapEnded();
            m_threads.emplace_back();
            Entry& entry = m_threads.back();
            try
            {
                entry.thread = std::thread(
                    [this, &entry, body = std::move(body)]() mutable
                    {
                        body();
                        {
                            std::lock_guard doneLock(m_mutex);
                            entry.done = true;
                        }
                        m_changed.notify_all();
                    });
            }
            catch (...)
            {
                m_threads.pop_back();
                return false;
            }
            return true;
        }
        catch (...)
        {
            return false;
        }
    }

    bool JoinAll(std::chrono::milliseconds limit)
    {
        std::list<Entry> ended;
        bool allEnded = false;
        {
            std::unique_lock lock(m_mutex);
            allEnded = m_changed.wait_for(lock, limit, [this] { return AllEnded(); });
            TakeEnded(ended);
        }
        for (Entry& entry : ended)
        {
            entry.thread.join();
        }
        return allEnded;
    }

private:
    struct Entry
    {
        std::thread thread;
        bool done = false;
    };

    bool AllEnded() const
    {
        return std::all_of(m_threads.begin(), m_threads.end(),
                           [](const Entry& entry) { return entry.done; });
    }

    // Lock held.
    void TakeEnded(std::list<Entry>& ended)
    {
        for (auto it = m_threads.begin(); it != m_threads.end();)
        {
            const auto next = std::next(it);
            if (it->done)
            {
                ended.splice(ended.end(), m_threads, it);
            }
            it = next;
        }
    }

    // Lock held; an ended thread only has its return left, so the join is short.
    void ReapEnded()
    {
        std::list<Entry> ended;
        TakeEnded(ended);
        for (Entry& entry : ended)
        {
            entry.thread.join();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::list<Entry> m_threads; // stable addresses: a thread marks its own entry
};

// Never destroyed: closing threads may still end while the program exits.
ClosingThreads& Closers()
{
    static auto* closers = new ClosingThreads;
    return *closers;
}

// Devices whose close never succeeded keep their buffers here, since the
// device may still read them.
std::mutex g_abandonedMutex;
std::vector<std::shared_ptr<PreviewPlayer::DeviceContext>>* g_abandoned = nullptr;

} // namespace

// What one open device's notifications reach. Held by the player while it
// plays and by the closing thread until the device is closed, so it outlives
// every callback of its device.
struct PreviewPlayer::DeviceContext
{
    HWAVEOUT device = nullptr;
    std::vector<PreviewBufferSlot> slots;
    std::atomic<bool> closing{false};
    std::weak_ptr<PreviewPlayer::State> player;
};

struct PreviewPlayer::State
{
    std::atomic<bool> playing{false};
    std::mutex lock; // guards every member below
    AudioBuffer source;
    std::int64_t loopStart = 0;
    std::int64_t loopEnd = 0;
    std::int64_t readFrame = 0;
    std::atomic<std::int64_t> publishedFrame{0};
    std::atomic<int> sourceRate{0};
    std::int64_t sourceFrames = 0;
    const void* sourceKey = nullptr;
    std::shared_ptr<DeviceContext> context; // the open device and its buffers
    int framesPerBuffer = kFramesPerBuffer;
    std::shared_ptr<CloseCount> closes = std::make_shared<CloseCount>();

    int FillBuffer(std::size_t slotIndex);
    // Stops when `only` is null or still the open device's context.
    void StopPlayback(const DeviceContext* only) noexcept;
};

namespace
{

void CloseDeviceThreadBody(PreviewPlayer::DeviceContext& context)
{
    bool closed = false;
    for (int attempt = 0; attempt < kCloseAttempts && !closed; ++attempt)
    {
        waveOutReset(context.device);
        for (PreviewBufferSlot& slot : context.slots)
        {
            if (slot.header)
            {
                waveOutUnprepareHeader(context.device, slot.header.get(), sizeof(WAVEHDR));
            }
        }
        const MMRESULT result = waveOutClose(context.device);
        closed = result != WAVERR_STILLPLAYING;
    }
    if (!closed)
    {
        std::fprintf(stderr, "BRVL: a preview device would not close; its buffers are kept\n");
        return;
    }
    context.device = nullptr;
    context.slots.clear();
}

void KeepAbandoned(std::shared_ptr<PreviewPlayer::DeviceContext> context) noexcept
{
    try
    {
        std::lock_guard lock(g_abandonedMutex);
        if (g_abandoned == nullptr)
        {
            g_abandoned = new std::vector<std::shared_ptr<PreviewPlayer::DeviceContext>>;
        }
        g_abandoned->push_back(std::move(context));
    }
    catch (...)
    {
        new std::shared_ptr<PreviewPlayer::DeviceContext>(std::move(context));
    }
}

void CloseNow(std::shared_ptr<PreviewPlayer::DeviceContext> context) noexcept
{
    CloseDeviceThreadBody(*context);
    if (context->device != nullptr)
    {
        KeepAbandoned(std::move(context));
    }
}

// With a device, a closing thread owns it and its buffers; one that cannot be
// started closes the device here instead.
void CloseDeviceDetached(std::shared_ptr<PreviewPlayer::DeviceContext> context,
                         const std::shared_ptr<CloseCount>& closes) noexcept
{
    if (!context)
    {
        return;
    }
    context->closing.store(true);
    if (context->device == nullptr)
    {
        return;
    }
    closes->Begin();
    const bool started = Closers().Launch(
        [context, closes]() mutable
        {
            CloseNow(std::move(context));
            closes->End();
        });
    if (!started)
    {
        CloseNow(std::move(context));
        closes->End();
    }
}

std::wstring QueuingErrorText(MMRESULT result)
{
    wchar_t text[MAXERRORLENGTH] = L"";
    if (waveOutGetErrorTextW(result, text, MAXERRORLENGTH) == MMSYSERR_NOERROR && text[0] != L'\0')
    {
        return text;
    }
    return L"Failed to submit preview audio to the output device.";
}

// Frame index of a time, truncated; times are within the source, so it fits.
std::int64_t FrameAt(int rate, double seconds)
{
    return static_cast<std::int64_t>(static_cast<double>(rate) * seconds);
}

} // namespace

std::int16_t PreviewSampleToPcm16(double sample)
{
    if (std::isnan(sample))
    {
        return 0;
    }
    const double scaled = std::nearbyint(std::clamp(sample, -1.0, 1.0) * 32767.0);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

int PreviewPlayer::State::FillBuffer(std::size_t slotIndex)
{
    if (!context || slotIndex >= context->slots.size() || !context->slots[slotIndex].header)
    {
        return 0;
    }
    const auto frames = static_cast<std::int64_t>(source.FrameCount());
    if (frames == 0 || loopStart >= loopEnd || loopStart >= frames)
    {
        return 0;
    }
    std::vector<std::int16_t>& out = context->slots[slotIndex].samples;
    std::fill(out.begin(), out.end(), std::int16_t{0});
    const int count = std::min<int>(framesPerBuffer, static_cast<int>(out.size() / 2));
    for (int i = 0; i < count; ++i)
    {
        if (readFrame >= loopEnd || readFrame >= frames)
        {
            readFrame = loopStart;
        }
        const auto at = static_cast<std::size_t>(readFrame) * 2;
        out[2 * static_cast<std::size_t>(i)] = PreviewSampleToPcm16(source.samples[at]);
        out[2 * static_cast<std::size_t>(i) + 1] = PreviewSampleToPcm16(source.samples[at + 1]);
        ++readFrame;
    }
    if (count > 0)
    {
        publishedFrame.store(readFrame, std::memory_order_relaxed);
    }
    return count;
}

void PreviewPlayer::State::StopPlayback(const DeviceContext* only) noexcept
{
    std::shared_ptr<DeviceContext> closing;
    {
        std::lock_guard guard(lock);
        if (only != nullptr && context.get() != only)
        {
            return;
        }
        playing.exchange(false);
        sourceKey = nullptr;
        sourceFrames = 0;
        closing = std::move(context);
        context.reset();
    }
    CloseDeviceDetached(std::move(closing), closes);
}

PreviewPlayer::PreviewPlayer() : m_state(std::make_shared<State>())
{
}

PreviewPlayer::~PreviewPlayer()
{
    Stop();
    m_state->closes->WaitIdle(std::chrono::milliseconds(g_closeWaitMs.load()));
}

bool PreviewPlayer::IsPlaying() const
{
    return m_state->playing.load();
}

std::int64_t PreviewPlayer::PublishedFrame() const
{
    return m_state->publishedFrame.load(std::memory_order_relaxed);
}

int PreviewPlayer::SourceRate() const
{
    return m_state->sourceRate.load(std::memory_order_relaxed);
}

void PreviewPlayer::Stop() noexcept
{
    m_state->StopPlayback(nullptr);
}

bool PreviewPlayer::Start(const AudioBuffer& source, double loopStartSec, double loopEndSec,
                          double cursorSec, const void* sourceKey, std::wstring& errorText,
                          bool restart)
{
    errorText.clear();
    const int rate = source.sampleRate;
    const auto frames = static_cast<std::int64_t>(source.FrameCount());
    if (rate <= 0 || frames == 0)
    {
        errorText = L"Preview source audio is empty.";
        return false;
    }
    const double duration = static_cast<double>(frames) / rate;
    // Not a number: the start falls back to the track's start, the end to the
    // start, and then the region is refused as too short.
    const double s =
        std::isnan(loopStartSec) ? 0.0 : std::max(std::min(loopStartSec, duration), 0.0);
    const double e = std::isnan(loopEndSec) ? s : std::max(std::min(loopEndSec, duration), s);
    if (e - s < kShortestRegionSeconds)
    {
        errorText = L"Preview region is too short.";
        return false;
    }
    const std::int64_t startFrame = FrameAt(rate, s);
    const std::int64_t endFrame =
        std::max(std::min(static_cast<std::int64_t>(std::ceil(rate * e)), frames), startFrame + 1);
    const double cursor = std::isnan(cursorSec) ? s : std::clamp(cursorSec, s, e);
    const std::int64_t cursorFrame =
        std::max(std::min(FrameAt(rate, cursor), endFrame - 1), startFrame);

    State& state = *m_state;
    {
        std::lock_guard guard(state.lock);
        if (!restart && state.playing.load() && state.context && state.sourceKey == sourceKey &&
            state.sourceRate.load(std::memory_order_relaxed) == rate &&
            state.sourceFrames == frames && state.loopStart == startFrame &&
            state.loopEnd == endFrame)
        {
            return true;
        }
    }
    Stop();

    auto context = std::make_shared<DeviceContext>();
    context->player = m_state;
    const auto bytesPerSecond = static_cast<std::uint64_t>(rate) * kBytesPerFrame;
    const WAVEFORMATEX format{WAVE_FORMAT_PCM,
                              2,
                              static_cast<DWORD>(rate),
                              static_cast<DWORD>(bytesPerSecond),
                              kBytesPerFrame,
                              16,
                              0};
    if (bytesPerSecond > std::numeric_limits<DWORD>::max() ||
        waveOutOpen(&context->device, WAVE_MAPPER, &format,
                    reinterpret_cast<DWORD_PTR>(&PreviewPlayer::WaveOutCallback),
                    reinterpret_cast<DWORD_PTR>(context.get()),
                    CALLBACK_FUNCTION) != MMSYSERR_NOERROR)
    {
        errorText = L"Failed to open preview audio output device.";
        return false;
    }

    bool prepared = true;
    try
    {
        context->slots.resize(kBufferCount);
        for (PreviewBufferSlot& slot : context->slots)
        {
            slot.samples.assign(static_cast<std::size_t>(state.framesPerBuffer) * 2, 0);
            slot.header = std::make_unique<WAVEHDR>();
            slot.header->lpData = reinterpret_cast<char*>(slot.samples.data());
            slot.header->dwBufferLength =
                static_cast<DWORD>(state.framesPerBuffer) * kBytesPerFrame;
            if (waveOutPrepareHeader(context->device, slot.header.get(), sizeof(WAVEHDR)) !=
                MMSYSERR_NOERROR)
            {
                prepared = false;
                break;
            }
        }
    }
    catch (const std::bad_alloc&)
    {
        prepared = false;
    }
    // The copy is made before the lock is taken, so that running out of memory
    // leaves the player as it was.
    AudioBuffer copy;
    if (prepared)
    {
        try
        {
            copy.sampleRate = rate;
            copy.samples = source.samples;
        }
        catch (const std::bad_alloc&)
        {
            prepared = false;
        }
    }
    if (!prepared)
    {
        errorText = L"Failed to prepare preview audio buffer.";
        CloseNow(std::move(context));
        return false;
    }

    std::vector<WAVEHDR*> toQueue;
    HWAVEOUT device = context->device;
    {
        std::lock_guard guard(state.lock);
        state.source = std::move(copy);
        state.loopStart = startFrame;
        state.loopEnd = endFrame;
        state.readFrame = cursorFrame;
        state.publishedFrame.store(cursorFrame, std::memory_order_relaxed);
        state.sourceRate.store(rate, std::memory_order_relaxed);
        state.sourceFrames = frames;
        state.sourceKey = sourceKey;
        state.context = std::move(context);
        state.playing.exchange(true);
        for (std::size_t i = 0; i < state.context->slots.size(); ++i)
        {
            const int n = state.FillBuffer(i);
            if (n > 0)
            {
                WAVEHDR* header = state.context->slots[i].header.get();
                header->dwBufferLength = static_cast<DWORD>(n) * kBytesPerFrame;
                header->dwFlags &= ~WHDR_DONE;
                toQueue.push_back(header);
            }
        }
    }
    for (WAVEHDR* header : toQueue)
    {
        const MMRESULT result = waveOutWrite(device, header, sizeof(WAVEHDR));
        if (result != MMSYSERR_NOERROR)
        {
            errorText = QueuingErrorText(result);
            Stop();
            return false;
        }
    }
    return true;
}

void PreviewPlayer::WaveOutCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                    DWORD_PTR)
{
    if (message != WOM_DONE || instance == 0 || param1 == 0)
    {
        return;
    }
    auto* context = reinterpret_cast<DeviceContext*>(instance);
    auto* header = reinterpret_cast<WAVEHDR*>(param1);
    if (context->closing.load())
    {
        return;
    }
    const std::shared_ptr<State> state = context->player.lock();
    if (!state || !state->playing.load())
    {
        return;
    }
    HWAVEOUT device = nullptr;
    {
        std::lock_guard guard(state->lock);
        if (!state->playing.load() || state->context.get() != context)
        {
            return;
        }
        const auto& slots = context->slots;
        const auto found = std::find_if(slots.begin(), slots.end(),
                                        [header](const PreviewBufferSlot& slot)
                                        { return slot.header.get() == header; });
        if (found == slots.end())
        {
            return;
        }
        const int n = state->FillBuffer(static_cast<std::size_t>(found - slots.begin()));
        if (n == 0)
        {
            return;
        }
        header->dwFlags &= ~WHDR_DONE;
        header->dwBufferLength = static_cast<DWORD>(n) * kBytesPerFrame;
        device = context->device;
    }
    if (waveOutWrite(device, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
    {
        // Only this device's playback ends: a newer one may be running already.
        state->StopPlayback(context);
    }
}

bool PreviewPlayer::JoinPendingCloses(std::chrono::milliseconds limit)
{
    return Closers().JoinAll(limit);
}

void PreviewPlayer::SetCloseWaitForTests(std::chrono::milliseconds limit)
{
    g_closeWaitMs.store(limit.count());
}
