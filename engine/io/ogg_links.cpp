#include "engine/io/ogg_links.h"

#include <cstring>

namespace
{

constexpr size_t kPageHeaderBytes = 27;
constexpr unsigned char kBeginningOfStream = 0x02;

struct PageHeader
{
    bool beginsStream = false;
    int64_t totalBytes = 0; // header, segment table and body
};

bool ReadPageHeader(std::FILE* file, PageHeader& page)
{
    unsigned char header[kPageHeaderBytes];
    if (std::fread(header, 1, sizeof(header), file) != sizeof(header) ||
        std::memcmp(header, "OggS", 4) != 0 || header[4] != 0)
    {
        return false;
    }
    const size_t segmentCount = header[26];
    unsigned char lacing[255];
    if (std::fread(lacing, 1, segmentCount, file) != segmentCount)
    {
        return false;
    }
    int64_t bodyBytes = 0;
    for (size_t i = 0; i < segmentCount; ++i)
    {
        bodyBytes += lacing[i];
    }
    page.beginsStream = (header[5] & kBeginningOfStream) != 0;
    page.totalBytes = static_cast<int64_t>(kPageHeaderBytes + segmentCount) + bodyBytes;
    return true;
}

} // namespace

std::vector<OggLink> FindOggLinks(std::FILE* file)
{
    std::vector<OggLink> links;
    if (fseeko(file, 0, SEEK_END) != 0)
    {
        return links;
    }
    const int64_t fileBytes = ftello(file);
    int64_t position = 0;
    // Multiplexed streams open with several beginning pages in a row: they
    // belong to one link, so only a beginning page after data starts a new one.
    bool previousBegan = false;
    PageHeader page;
    while (position < fileBytes && fseeko(file, position, SEEK_SET) == 0 &&
           ReadPageHeader(file, page))
    {
        if (page.beginsStream && !previousBegan)
        {
            links.push_back({position, 0});
        }
        previousBegan = page.beginsStream;
        position += page.totalBytes;
    }
    for (size_t i = 0; i < links.size(); ++i)
    {
        const int64_t end = i + 1 < links.size() ? links[i + 1].offset : fileBytes;
        links[i].length = end - links[i].offset;
    }
    return links;
}
