#pragma once

#include <new>
#include <stdexcept>

// What a run says when the track does not fit in memory (a ten-minute track at
// 44.1 kHz needs about 1.5 GB): a cause the user can act on, not "std::bad_alloc".
inline constexpr const char* kOutOfMemoryText = "Not enough memory to process this track";

template <typename Run> decltype(auto) WithOutOfMemoryText(Run&& run)
{
    try
    {
        return run();
    }
    catch (const std::bad_alloc&)
    {
        throw std::runtime_error(kOutOfMemoryText);
    }
}
