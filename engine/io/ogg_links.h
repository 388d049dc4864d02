#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// One logical bitstream of a chained Ogg file: the byte range from its first
// beginning-of-stream page up to the next link (or the end of the file).
struct OggLink
{
    int64_t offset = 0;
    int64_t length = 0;
};

// The links of an Ogg file, found by walking its page headers. A file that does
// not start with a page, or whose pages stop parsing part-way, yields what was
// found so far with the last link running to the end of the file; a file that
// is not Ogg at all yields no links.
std::vector<OggLink> FindOggLinks(std::FILE* file);
