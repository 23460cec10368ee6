#pragma once

#include <cstddef>

namespace forms {

// The memory of components (controls, timers, forms): taken from blocks of 64 KB cell by cell
// and kept for components of the same size when freed. A form of hundreds of controls is built
// at start-up, one allocation per control, and the general allocator's first allocations
// (each one carved from the top of the heap) cost ten times a cell taken here. The blocks are
// kept for the life of the program; a freed cell serves the next component of its size.
// Under the address sanitizer every component is allocated on its own, so that a use after
// free is still caught.
namespace component_pool {

void* Allocate(std::size_t size);
void Release(void* cell, std::size_t size) noexcept;

// The framework's small lists in pool cells (a container's children: a form of hundreds of
// controls has dozens of containers, each list one allocation). A list that grows takes a
// larger cell and leaves the smaller one to the next list of that size.
template <class T>
struct Allocator {
    using value_type = T;
    Allocator() noexcept = default;
    template <class U>
    Allocator(const Allocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(Allocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { Release(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const Allocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace component_pool
}  // namespace forms
