#pragma once

#include <cstddef>

// How the engine takes memory for whole-track buffers. Every block of at least
// kTrackBlockMinBytes, whoever asks for it (the engine's buffers are plain
// std::vector<double>, so the global operator new routes them here), is its
// own mapping, aligned to 2 MiB and advised for transparent huge pages: a
// fresh block then costs one page fault per 2 MiB instead of one per 4 KiB.
// While a TrackMemoryScope is open, a freed block is kept and handed to the
// next block that fits it, so the stages of a run reuse the memory the earlier
// stages touched instead of faulting in fresh pages; when the last scope
// closes, what is kept goes back to the system but for a little that the next
// run (a preview, typically) takes again, as do blocks freed between runs. A refused advice changes
// nothing but the speed.
//
// Built with the address sanitizer, the global operator new is left alone
// so that the sanitizer sees every allocation; the blocks below still work.

inline constexpr std::size_t kTrackBlockAlignment = std::size_t{2} << 20;
inline constexpr std::size_t kTrackBlockMinBytes = std::size_t{1} << 20;
// The most that stays kept between runs (the smallest blocks first: the
// scratch of a preview, which the next preview takes again).
inline constexpr std::size_t kTrackBytesKeptBetweenRuns = std::size_t{128} << 20;

// Keeps freed track blocks for reuse while open. Scopes nest and may be open
// on several threads at once; the blocks kept are shared by all of them.
class TrackMemoryScope
{
public:
    TrackMemoryScope();
    ~TrackMemoryScope();
    TrackMemoryScope(const TrackMemoryScope&) = delete;
    TrackMemoryScope& operator=(const TrackMemoryScope&) = delete;
};

// A block of at least bytes (rounded up to kTrackBlockAlignment), aligned to
// kTrackBlockAlignment: the smallest kept block that holds it, else a fresh
// mapping, before which the largest kept blocks are returned until the blocks
// in use and kept stay within the most in use at once since the outermost
// scope opened, so keeping never raises a run's peak. Returns nullptr when
// the system refuses.
void* AllocateTrackBlock(std::size_t bytes);

// Takes back a block from AllocateTrackBlock: kept while a scope is open,
// else kept only within kTrackBytesKeptBetweenRuns (the largest blocks go
// back to the system first). Returns false (and does nothing) for an
// address that is not a live track block.
bool FreeTrackBlock(void* address);

// Gives every kept block back to the system.
void ReturnKeptTrackBlocks();

// Whether fresh blocks are advised for huge pages (on by default). Turning it
// off stands in for a kernel that refuses the advice.
void SetTrackHugePageAdvice(bool advise);

// Whether the global operator new hands its large blocks out here (not in a
// sanitizer build).
bool TrackBlocksServeGlobalNew();

// Bytes of the blocks kept for reuse and of the blocks in use.
std::size_t KeptTrackBytes();
std::size_t LiveTrackBytes();
