#pragma once

#include <cstddef>
#include <span>

namespace brvl::resources
{

// One file of resources/<kind>/<name>.<ext>, as compiled into the program.
struct ResourceBlob
{
    const char* kind;
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

std::span<const ResourceBlob> AllResourceBlobs();

} // namespace brvl::resources
