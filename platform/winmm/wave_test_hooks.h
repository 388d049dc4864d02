#pragma once

#include "platform/winmm/mmsystem.h"

#include <functional>

namespace brvl::winmm
{

// Tests only: shuts the system's sound down (every device closed first), so
// that the next open starts it again and reads SDL_AUDIODRIVER and
// SDL_DISKAUDIOFILE afresh.
void ShutDownSystemSoundForTests();

// Tests only: the next waveOutWrite, of whichever device on whichever thread,
// queues nothing and returns `error`; MMSYSERR_NOERROR takes a pending one back.
void FailNextWaveOutWriteForTests(MMRESULT error);

// Tests only: runs after every successful waveOutReset, on the resetting thread
// and under no lock of the device, so that it may queue or complete buffers as
// a late callback would. An empty function removes it.
void SetWaveOutResetHookForTests(std::function<void(HWAVEOUT)> hook);

} // namespace brvl::winmm
