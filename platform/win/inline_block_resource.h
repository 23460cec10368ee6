#pragma once

#include <cstddef>
#include <memory_resource>
#include <new>

namespace win::detail {

// A memory resource that holds one block of up to Size bytes inside itself and gives it to the
// first allocation that fits while it is free; every other allocation comes from the heap. A
// container that reserves Size bytes through it keeps its elements beside the resource, so
// what lies in one page of memory stays in that page until the container outgrows the block.
template <size_t Size>
class InlineBlockResource final : public std::pmr::memory_resource {
  public:
    InlineBlockResource() = default;
    InlineBlockResource(const InlineBlockResource&) = delete;
    InlineBlockResource& operator=(const InlineBlockResource&) = delete;

    bool owns(const void* p) const { return p == block_; }

  private:
    void* do_allocate(size_t bytes, size_t alignment) override {
        if (!in_use_ && bytes <= Size && alignment <= alignof(std::max_align_t)) {
            in_use_ = true;
            return block_;
        }
        return ::operator new(bytes, std::align_val_t(alignment));
    }
    void do_deallocate(void* p, size_t bytes, size_t alignment) override {
        if (p == block_) {
            in_use_ = false;
            return;
        }
        // The aligned delete without the size: clang (the fuzz build) declares the sized
        // form only with -fsized-deallocation, and the size tells the heap nothing it needs.
        static_cast<void>(bytes);
        ::operator delete(p, std::align_val_t(alignment));
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    alignas(std::max_align_t) std::byte block_[Size];
    bool in_use_ = false;
};

}  // namespace win::detail
