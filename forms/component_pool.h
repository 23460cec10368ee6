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

}  // namespace component_pool
}  // namespace forms
