#pragma once

#include "platform/winmm/mmsystem.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace brvl::winmm
{

// What an open waveOut device offers the sound driver behind it: the bytes of
// its queued buffers, in order.
class WaveFeed
{
public:
    virtual ~WaveFeed() = default;

    // Copies up to `bytes` queued bytes to `out`, in queue order, and hands every
    // buffer used up to the device's completion thread. Returns the bytes copied
    // (fewer when the queue ran dry). Called on the driver's own thread.
    virtual std::size_t Pull(std::uint8_t* out, std::size_t bytes) = 0;

    // `header` counts as played although nobody pulled its bytes (a driver that
    // plays nothing decides when a buffer is done). False when it is not queued.
    virtual bool Complete(WAVEHDR* header) = 0;
};

// One open output stream of a driver; destroying it stops every pull before
// the destructor returns.
class WaveStream
{
public:
    virtual ~WaveStream() = default;

    // The first buffer was queued: start pulling.
    virtual void Start() {}

    // A buffer was queued (after Start for the first one).
    virtual void BufferQueued(const WAVEHDR&) {}
};

// What plays the bytes: the system's sound (SDL) by default, or a test double.
class WaveDriver
{
public:
    virtual ~WaveDriver() = default;

    // Opens a stream of 16-bit stereo at `sampleRate` fed by `feed`, which
    // outlives the stream. Returns MMSYSERR_NOERROR or the error to report.
    virtual MMRESULT Open(DWORD sampleRate, WaveFeed& feed,
                          std::unique_ptr<WaveStream>& stream) = 0;
};

// The driver used by waveOutOpen; nullptr restores the system's sound.
// Devices keep the driver they were opened with.
void InstallWaveDriver(WaveDriver* driver);

// The system's sound driver (SDL audio).
WaveDriver& SystemWaveDriver();

} // namespace brvl::winmm
