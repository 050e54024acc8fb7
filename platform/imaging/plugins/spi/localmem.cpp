// Movable memory blocks for the image plug-ins and the program. A block keeps
// its length and a mark in front of its bytes, so a handle that is not one of
// ours is refused instead of freed.
#include "platform/imaging/plugins/spiabi.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint64_t kMark = 0x4B434F4C4D4C5856ull; // "VXLMLOCK"
// Larger blocks are refused: no picture of ours needs one.
constexpr size_t kMaxBlock = size_t(1) << 32;

struct alignas(16) Block {
    uint64_t mark;
    size_t bytes;
    int32_t locks;
};

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
    void *raw = (flags & LMEM_ZEROINIT) ? std::calloc(1, sizeof(Block) + bytes) : std::malloc(sizeof(Block) + bytes);
    if (!raw)
        return nullptr;
    Block *b = static_cast<Block *>(raw);
    b->mark = kMark;
    b->bytes = bytes;
    b->locks = 0;
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
