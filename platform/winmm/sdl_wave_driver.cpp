#include "platform/winmm/wave_driver.h"
#include "platform/winmm/wave_test_hooks.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <mutex>

namespace brvl::winmm
{

namespace
{

// Frames per pull of SDL's audio thread: 1024 (about 21 ms) at 48 kHz.
constexpr Uint16 kFramesPerPull = 1024;

// SDL's clocked drivers sleep one pull's length between pulls, and closing a
// device waits for that sleep: at low rates the pull shrinks (a power of two,
// at least about 21 ms), so that a close never waits long (1024 frames would
// be 17 minutes at 1 Hz).
Uint16 FramesPerPull(DWORD sampleRate)
{
    const DWORD wanted = sampleRate / 47;
    Uint16 frames = 1;
    while (frames < kFramesPerPull && frames < wanted)
    {
        frames = static_cast<Uint16>(frames * 2);
    }
    return frames;
}

std::mutex g_sdlMutex;
bool g_sdlAudioUp = false;

// SDL audio is brought up once, on the first open, and reads its driver
// choice (SDL_AUDIODRIVER) then.
bool EnsureSdlAudio()
{
    std::lock_guard lock(g_sdlMutex);
    if (!g_sdlAudioUp)
    {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        {
            std::fprintf(stderr, "BRVL: no sound system: %s\n", SDL_GetError());
            return false;
        }
        g_sdlAudioUp = true;
    }
    return true;
}

// Runs on SDL's audio thread; what the queue cannot fill is silence.
void FillFromFeed(void* user, Uint8* out, int length)
{
    auto* feed = static_cast<WaveFeed*>(user);
    const auto bytes = static_cast<std::size_t>(length);
    const std::size_t copied = feed->Pull(out, bytes);
    if (copied < bytes)
    {
        std::memset(out + copied, 0, bytes - copied);
    }
}

class SdlWaveStream final : public WaveStream
{
public:
    explicit SdlWaveStream(SDL_AudioDeviceID id) : m_id(id) {}
    ~SdlWaveStream() override { SDL_CloseAudioDevice(m_id); }

    // Opened paused, so nothing (not even silence) is played before the first buffer.
    void Start() override { SDL_PauseAudioDevice(m_id, 0); }

private:
    SDL_AudioDeviceID m_id;
};

class SdlWaveDriver final : public WaveDriver
{
public:
    MMRESULT Open(DWORD sampleRate, WaveFeed& feed, std::unique_ptr<WaveStream>& stream) override
    {
        if (!EnsureSdlAudio())
        {
            return MMSYSERR_NODRIVER;
        }
        SDL_AudioSpec wanted{};
        wanted.freq = static_cast<int>(sampleRate);
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = FramesPerPull(sampleRate);
        wanted.callback = &FillFromFeed;
        wanted.userdata = &feed;
        SDL_AudioSpec obtained{};
        // No changes allowed: SDL converts to whatever the device plays.
        const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (id == 0)
        {
            std::fprintf(stderr, "BRVL: no sound output device: %s\n", SDL_GetError());
            return MMSYSERR_NODRIVER;
        }
        stream = std::make_unique<SdlWaveStream>(id);
        return MMSYSERR_NOERROR;
    }
};

} // namespace

WaveDriver& SystemWaveDriver()
{
    static SdlWaveDriver driver;
    return driver;
}

void ShutDownSystemSoundForTests()
{
    std::lock_guard lock(g_sdlMutex);
    if (g_sdlAudioUp)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_sdlAudioUp = false;
    }
}

} // namespace brvl::winmm
