#pragma once

#include <ctime>
#include <string>

// A moment as profiles record it: "%Y-%m-%dT%H:%M:%SZ" in UTC, whole seconds.
std::string FormatUtcTimestamp(std::time_t time);

// The current time in that form.
std::string CurrentUtcTimestamp();
