#pragma once

namespace brvl::winmm
{

// Tests only: shuts the system's sound down (every device closed first), so
// that the next open starts it again and reads SDL_AUDIODRIVER and
// SDL_DISKAUDIOFILE afresh.
void ShutDownSystemSoundForTests();

} // namespace brvl::winmm
