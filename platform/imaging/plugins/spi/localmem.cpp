// Movable memory blocks for the image plug-ins and the program. A block keeps
// its length and a mark in front of its bytes, so a handle that is not one of
// ours is refused instead of freed.
//
// Blocks of a few megabytes (decoded pictures) ask for 2 MB pages where the
// kernel offers them: on these machines touching fresh memory in 4 KB pages
// costs a few milliseconds a megabyte, far more than decoding into it, and
// in 2 MB pages a small part of that. Below the size from which the C
// library maps every block afresh, blocks still come from it, so that a
// block freed is reused by the next picture as the library reuses it for
// everyone; from that size on they are mapped here, already zero.
#include "platform/imaging/plugins/spiabi.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace {

constexpr uint64_t kMark = 0x4B434F4C4D4C5856ull; // "VXLMLOCK"
// Larger blocks are refused: no picture of ours needs one.
constexpr size_t kMaxBlock = size_t(1) << 32;

struct alignas(16) Block {
    uint64_t mark;
    size_t bytes;
    int32_t locks;
    // The whole mapping, from the block on, or 0 when it came from malloc.
    size_t mapped;
};

constexpr size_t kHugePage = size_t(2) << 20;
// From this size on, a block asks for large pages.
constexpr size_t kLargeFrom = 2 * kHugePage;
// From this size on, the C library maps each block afresh (its largest
// threshold); so does this file, aligned for large pages.
constexpr size_t kMapFrom = size_t(32) << 20;

// Large pages for the whole 2 MB stretches of a block not yet touched.
void adviseLarge(void *p, size_t bytes)
{
    const uintptr_t start = reinterpret_cast<uintptr_t>(p);
    const uintptr_t from = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    const uintptr_t to = (start + bytes) & ~uintptr_t(kHugePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE);
}

// A mapping of at least `bytes` starting on a large-page boundary (or null).
void *mapLarge(size_t bytes, size_t &length)
{
    length = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    const size_t reserve = length + kHugePage;
    void *raw = mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    if (aligned > start)
        munmap(raw, aligned - start);
    if (const size_t tail = start + reserve - (aligned + length))
        munmap(reinterpret_cast<void *>(aligned + length), tail);
    void *p = reinterpret_cast<void *>(aligned);
    // Only advice: without large pages the block is still good.
    madvise(p, length, MADV_HUGEPAGE);
    return p;
}

std::atomic<int64_t> live{0};

Block *blockOf(SpiHandle h)
{
    if (!h)
        return nullptr;
    Block *b = static_cast<Block *>(h);
    return b->mark == kMark ? b : nullptr;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) SpiHandle LocalAlloc(uint32_t flags, size_t bytes)
{
    if (bytes > kMaxBlock)
        return nullptr;
    size_t mapped = 0;
    void *raw = sizeof(Block) + bytes >= kMapFrom ? mapLarge(sizeof(Block) + bytes, mapped)
        : (flags & LMEM_ZEROINIT)                 ? std::calloc(1, sizeof(Block) + bytes)
                                                  : std::malloc(sizeof(Block) + bytes);
    if (!raw)
        return nullptr;
    if (!mapped && sizeof(Block) + bytes >= kLargeFrom)
        adviseLarge(raw, sizeof(Block) + bytes);
    Block *b = static_cast<Block *>(raw);
    b->mark = kMark;
    b->bytes = bytes;
    b->locks = 0;
    b->mapped = mapped;
    live.fetch_add(1);
    return b;
}

__attribute__((visibility("default"))) void *LocalLock(SpiHandle h)
{
    Block *b = blockOf(h);
    if (!b)
        return nullptr;
    ++b->locks;
    return b + 1;
}

__attribute__((visibility("default"))) int32_t LocalUnlock(SpiHandle h)
{
    Block *b = blockOf(h);
    if (!b || b->locks == 0)
        return 0;
    return --b->locks;
}

__attribute__((visibility("default"))) SpiHandle LocalFree(SpiHandle h)
{
    if (!h)
        return nullptr;
    Block *b = blockOf(h);
    if (!b)
        return h;
    b->mark = 0;
    if (b->mapped)
        munmap(b, b->mapped);
    else
        std::free(b);
    live.fetch_sub(1);
    return nullptr;
}

__attribute__((visibility("default"))) size_t LocalSize(SpiHandle h)
{
    Block *b = blockOf(h);
    return b ? b->bytes : 0;
}

__attribute__((visibility("default"))) int64_t LocalLiveBlocks(void)
{
    return live.load();
}

} // extern "C"
