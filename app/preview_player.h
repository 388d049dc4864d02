#pragma once

#include "engine/audio_buffer.h"
#include "platform/winmm/mmsystem.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One of the player's rotating device buffers: 16-bit stereo, interleaved.
struct PreviewBufferSlot
{
    std::vector<std::int16_t> samples;
    std::unique_ptr<WAVEHDR> header; // points at `samples`, prepared for the device
};

// Loops one region of a track through the sound card, three buffers in
// rotation refilled from the device's buffer-done notification, and publishes
// its read position for the view's timer. Start and Stop belong to the
// interface thread; Stop never blocks it: the device is reset and closed on a
// closing thread of its own.
class PreviewPlayer
{
public:
    static constexpr int kFramesPerBuffer = 4096;
    static constexpr int kBufferCount = 3;

    PreviewPlayer();
    // Stops, then waits a bounded time for this player's closing threads.
    ~PreviewPlayer();
    PreviewPlayer(const PreviewPlayer&) = delete;
    PreviewPlayer& operator=(const PreviewPlayer&) = delete;

    // Loops [loopStartSec, loopEndSec) of `source` (clamped to it) from
    // `cursorSec`. With `restart` false, a running playback of the same key,
    // rate, length and region is left as it is. On false `errorText` says why.
    bool Start(const AudioBuffer& source, double loopStartSec, double loopEndSec, double cursorSec,
               const void* sourceKey, std::wstring& errorText, bool restart);
    void Stop() noexcept;

    // Read without the player's lock, by the view's timer.
    bool IsPlaying() const;
    std::int64_t PublishedFrame() const;
    int SourceRate() const;

    // The device's callback; its instance data is the device's context, never
    // the player, so that a late notification cannot reach a freed player.
    static void WaveOutCallback(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                DWORD_PTR param2);

    // For the application's exit: waits up to `limit` for the closing threads
    // of every player and joins those that ended. True when none is left.
    static bool JoinPendingCloses(std::chrono::milliseconds limit);

    // Tests only: how long a destroyed player waits for its closing threads.
    static void SetCloseWaitForTests(std::chrono::milliseconds limit);

    struct State;
    struct DeviceContext;

private:
    std::shared_ptr<State> m_state;
};

// Nearest 16-bit value of a sample, clamped to [-1, 1] first (ties to even;
// not a number is silence).
std::int16_t PreviewSampleToPcm16(double sample);
