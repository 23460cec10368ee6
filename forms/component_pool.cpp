#include "forms/component_pool.h"

#include <new>

namespace forms::component_pool {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

// Cells are multiples of 16 bytes, the alignment operator new gives; components larger than
// kLargest (none of the framework's controls) go to the general allocator.
constexpr std::size_t kGrain = 16;
constexpr std::size_t kLargest = 4096;
constexpr std::size_t kBlock = 64 * 1024;

struct FreeCell {
    FreeCell* next;
};

struct Pool {
    FreeCell* free[kLargest / kGrain + 1] = {};
    char* next = nullptr;
    char* end = nullptr;
};

// One pool per thread: a component freed on another thread than the one that made it serves
// that thread's next component of its size.
thread_local Pool pool;

}  // namespace

void* Allocate(std::size_t size) {
    if (!kPooled || size > kLargest || size == 0)
        return ::operator new(size);
    const std::size_t cells = (size + kGrain - 1) / kGrain;
    Pool& p = pool;
    if (FreeCell* cell = p.free[cells]) {
        p.free[cells] = cell->next;
        return cell;
    }
    const std::size_t bytes = cells * kGrain;
    if (static_cast<std::size_t>(p.end - p.next) < bytes) {
        // What is left of the block (less than one component) stays unused.
        p.next = static_cast<char*>(::operator new(kBlock));
        p.end = p.next + kBlock;
    }
    void* cell = p.next;
    p.next += bytes;
    return cell;
}

void Release(void* cell, std::size_t size) noexcept {
    if (cell == nullptr)
        return;
    if (!kPooled || size > kLargest || size == 0) {
        ::operator delete(cell);
        return;
    }
    const std::size_t cells = (size + kGrain - 1) / kGrain;
    Pool& p = pool;
    auto* free_cell = static_cast<FreeCell*>(cell);
    free_cell->next = p.free[cells];
    p.free[cells] = free_cell;
}

}  // namespace forms::component_pool
