#pragma once

#include <string>

// One style, preset or reference profile of the library, as the realm
// selector panel lists it. The library fills it; the panel reads it only.
struct LibraryEntry
{
    std::string path;        // UTF-8
    std::string displayName; // the file stem
    std::string description; // the folder's comment for the file, or a fixed text
};
