#include "engine/runs/sample_hash.h"

#include <bit>

namespace
{

// Odd 64-bit multipliers with well-mixed bits (from the xxHash family).
constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;

inline std::uint64_t Round(std::uint64_t accumulator, std::uint64_t word)
{
    accumulator += word * kPrime2;
    accumulator = std::rotl(accumulator, 31);
    return accumulator * kPrime1;
}

inline std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

} // namespace

std::uint64_t HashSamples(std::span<const double> samples)
{
    // Four independent lanes keep the multiplier pipeline busy.
    std::uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    const std::size_t count = samples.size();
    const std::size_t whole = count - count % 4;
    const double* data = samples.data();
    for (std::size_t i = 0; i < whole; i += 4)
    {
        lanes[0] = Round(lanes[0], Bits(data[i]));
        lanes[1] = Round(lanes[1], Bits(data[i + 1]));
        lanes[2] = Round(lanes[2], Bits(data[i + 2]));
        lanes[3] = Round(lanes[3], Bits(data[i + 3]));
    }
    std::uint64_t hash = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) +
                         std::rotl(lanes[3], 18);
    hash ^= static_cast<std::uint64_t>(count) * kPrime3;
    for (std::size_t i = whole; i < count; ++i)
    {
        hash = Round(hash, Bits(data[i])) * kPrime4;
    }
    // Final avalanche, so that a one-bit change reaches every bit.
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}
