#include "platform/winmm/mmsystem.h"
#include "platform/winmm/wave_test_hooks.h"
#include <gtest/gtest.h>
#include <cstdlib>
TEST(Probe, Rates)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (DWORD rate : {1u, 8u, 100u, 8000u, 384000u, 768000u})
    {
        WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, rate, rate * 4, 4, 16, 0};
        HWAVEOUT d{};
        MMRESULT r = waveOutOpen(&d, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL);
        printf("rate %u -> %u\n", rate, r);
        if (r == 0) waveOutClose(d);
    }
    brvl::winmm::ShutDownSystemSoundForTests();
}
