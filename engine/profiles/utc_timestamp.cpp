#include "engine/profiles/utc_timestamp.h"

#include <array>

std::string FormatUtcTimestamp(std::time_t time)
{
    std::tm utc{};
    if (::gmtime_r(&time, &utc) == nullptr)
    {
        return {};
    }
    std::array<char, 64> text{};
    const size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return std::string(text.data(), length);
}

std::string CurrentUtcTimestamp()
{
    return FormatUtcTimestamp(std::time(nullptr));
}
