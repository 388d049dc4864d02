#include "engine/track_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>

namespace
{

// A mapping [address, address + bytes), both ends on kTrackBlockAlignment.
struct Region
{
    char* address = nullptr;
    std::size_t bytes = 0;
};

// Fixed tables, so that taking a block never itself allocates: a run holds a
// few dozen blocks at most; past the limits new blocks come from malloc and
// freed ones go straight back to the system.
constexpr int kMaxLive = 512;
constexpr int kMaxKept = 64;

struct TrackMemory
{
    std::mutex mutex;
    Region live[kMaxLive];
    int liveCount = 0;
    Region kept[kMaxKept];
    int keptCount = 0;
    std::size_t liveBytes = 0;
    // The most bytes in use at once since the outermost scope opened.
    std::size_t highWater = 0;
    int openScopes = 0;
    bool adviseHugePages = true;
};

constinit TrackMemory g_memory;

std::size_t RoundUpToBlock(std::size_t bytes)
{
    return (bytes + kTrackBlockAlignment - 1) & ~(kTrackBlockAlignment - 1);
}

bool IsBlockAligned(const void* address)
{
    return (reinterpret_cast<std::uintptr_t>(address) & (kTrackBlockAlignment - 1)) == 0;
}

void Unmap(const Region& region)
{
    ::munmap(region.address, region.bytes);
}

// A fresh mapping of bytes (a multiple of the alignment), aligned by mapping
// one alignment more and cutting off what lies outside.
char* MapAligned(std::size_t bytes, bool adviseHugePages)
{
    const std::size_t padded = bytes + kTrackBlockAlignment;
    void* mapped =
        ::mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
    {
        return nullptr;
    }
    char* start = static_cast<char*>(mapped);
    char* aligned = reinterpret_cast<char*>(
        (reinterpret_cast<std::uintptr_t>(start) + kTrackBlockAlignment - 1) &
        ~static_cast<std::uintptr_t>(kTrackBlockAlignment - 1));
    if (aligned > start)
    {
        ::munmap(start, static_cast<std::size_t>(aligned - start));
    }
    char* end = aligned + bytes;
    if (end < start + padded)
    {
        ::munmap(end, static_cast<std::size_t>(start + padded - end));
    }
    if (adviseHugePages)
    {
        // A kernel without huge pages refuses; the block is as good, only slower.
        ::madvise(aligned, bytes, MADV_HUGEPAGE);
    }
    return aligned;
}

void RemoveKept(TrackMemory& memory, int index)
{
    memory.kept[index] = memory.kept[--memory.keptCount];
}

// Returns kept regions, the largest first, until at most `bytes` are kept.
void ReturnKeptBeyond(TrackMemory& memory, std::size_t bytes)
{
    std::size_t kept = 0;
    for (int i = 0; i < memory.keptCount; ++i)
    {
        kept += memory.kept[i].bytes;
    }
    while (kept > bytes)
    {
        int largest = 0;
        for (int i = 1; i < memory.keptCount; ++i)
        {
            if (memory.kept[i].bytes > memory.kept[largest].bytes)
            {
                largest = i;
            }
        }
        kept -= memory.kept[largest].bytes;
        Unmap(memory.kept[largest]);
        RemoveKept(memory, largest);
    }
}

// The smallest kept region that holds bytes, split so that what it does not
// need stays kept; nullptr when none holds them.
char* TakeKept(TrackMemory& memory, std::size_t bytes)
{
    int best = -1;
    for (int i = 0; i < memory.keptCount; ++i)
    {
        if (memory.kept[i].bytes >= bytes &&
            (best < 0 || memory.kept[i].bytes < memory.kept[best].bytes))
        {
            best = i;
        }
    }
    if (best < 0)
    {
        return nullptr;
    }
    Region& region = memory.kept[best];
    char* address = region.address;
    if (region.bytes > bytes)
    {
        region = {address + bytes, region.bytes - bytes};
    }
    else
    {
        RemoveKept(memory, best);
    }
    return address;
}

// Keeps a freed region, joined with kept neighbours so that a large block
// split for smaller ones comes back whole; false when the table is full.
bool Keep(TrackMemory& memory, Region region)
{
    for (int i = 0; i < memory.keptCount;)
    {
        const Region& other = memory.kept[i];
        if (other.address + other.bytes == region.address ||
            region.address + region.bytes == other.address)
        {
            region = {std::min(region.address, other.address), region.bytes + other.bytes};
            RemoveKept(memory, i);
            continue;
        }
        ++i;
    }
    if (memory.keptCount == kMaxKept)
    {
        Unmap(region);
        return true;
    }
    memory.kept[memory.keptCount++] = region;
    return true;
}

std::size_t TotalBytes(const Region* regions, int count)
{
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i)
    {
        bytes += regions[i].bytes;
    }
    return bytes;
}

} // namespace

TrackMemoryScope::TrackMemoryScope()
{
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    if (g_memory.openScopes++ == 0)
    {
        g_memory.highWater = g_memory.liveBytes;
    }
}

TrackMemoryScope::~TrackMemoryScope()
{
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    if (--g_memory.openScopes == 0)
    {
        ReturnKeptBeyond(g_memory, kTrackBytesKeptBetweenRuns);
    }
}

void* AllocateTrackBlock(std::size_t bytes)
{
    if (bytes == 0 || bytes > SIZE_MAX - 2 * kTrackBlockAlignment)
    {
        return nullptr;
    }
    const std::size_t rounded = RoundUpToBlock(bytes);
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    if (g_memory.liveCount == kMaxLive)
    {
        return nullptr;
    }
    char* address = TakeKept(g_memory, rounded);
    if (address == nullptr)
    {
        // Without keeping, the memory in use would now be the blocks in use
        // and this one, and it has been as much as the high water: kept
        // blocks beyond that go back, so keeping never raises a run's peak.
        const std::size_t inUse = g_memory.liveBytes + rounded;
        ReturnKeptBeyond(g_memory, std::max(g_memory.highWater, inUse) - inUse);
        address = MapAligned(rounded, g_memory.adviseHugePages);
        if (address == nullptr)
        {
            return nullptr;
        }
    }
    g_memory.live[g_memory.liveCount++] = {address, rounded};
    g_memory.liveBytes += rounded;
    g_memory.highWater = std::max(g_memory.highWater, g_memory.liveBytes);
    return address;
}

bool FreeTrackBlock(void* address)
{
    if (address == nullptr || !IsBlockAligned(address))
    {
        return false;
    }
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    for (int i = 0; i < g_memory.liveCount; ++i)
    {
        if (g_memory.live[i].address == address)
        {
            const Region region = g_memory.live[i];
            g_memory.live[i] = g_memory.live[--g_memory.liveCount];
            g_memory.liveBytes -= region.bytes;
            Keep(g_memory, region);
            if (g_memory.openScopes == 0)
            {
                ReturnKeptBeyond(g_memory, kTrackBytesKeptBetweenRuns);
            }
            return true;
        }
    }
    return false;
}

void ReturnKeptTrackBlocks()
{
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    ReturnKeptBeyond(g_memory, 0);
}

void SetTrackHugePageAdvice(bool advise)
{
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    g_memory.adviseHugePages = advise;
}

std::size_t KeptTrackBytes()
{
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    return TotalBytes(g_memory.kept, g_memory.keptCount);
}

std::size_t LiveTrackBytes()
{
    const std::lock_guard<std::mutex> lock(g_memory.mutex);
    return g_memory.liveBytes;
}

// The replacement of the global allocation functions that routes large blocks
// here. The array forms, the sized and the nothrow forms of the library call
// these two, so they follow too; the aligned forms keep to malloc and free.
#if defined(__SANITIZE_ADDRESS__)
#define BRVL_TRACK_MEMORY_NEW 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRVL_TRACK_MEMORY_NEW 0
#endif
#endif
#ifndef BRVL_TRACK_MEMORY_NEW
#define BRVL_TRACK_MEMORY_NEW 1
#endif

bool TrackBlocksServeGlobalNew()
{
    return BRVL_TRACK_MEMORY_NEW != 0;
}

#if BRVL_TRACK_MEMORY_NEW
void* operator new(std::size_t bytes)
{
    if (bytes >= kTrackBlockMinBytes)
    {
        if (void* block = AllocateTrackBlock(bytes))
        {
            return block;
        }
    }
    for (;;)
    {
        if (void* memory = std::malloc(bytes == 0 ? 1 : bytes))
        {
            return memory;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
        {
            throw std::bad_alloc();
        }
        handler();
    }
}

void operator delete(void* memory) noexcept
{
    if (!FreeTrackBlock(memory))
    {
        std::free(memory);
    }
}

void operator delete(void* memory, std::size_t) noexcept
{
    ::operator delete(memory);
}
#endif
