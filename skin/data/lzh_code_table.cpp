#include "skin/data/lzh_code_table.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace skin {

static_assert(LzhCodeTable::kBits >= 1 && LzhCodeTable::kBits <= 15,
              "an entry holds the length in 4 bits");

LzhCodeTable::LzhCodeTable(const int32_t* son, uint32_t* counts, int leaf_base, int root, int spare)
    : son_(son), leaf_base_(leaf_base), root_(root), counts_(counts) {
    std::memset(place_, 0, sizeof place_);
    std::fill_n(heap_, 2u << kBits, static_cast<uint16_t>(spare));
    std::fill_n(&path_[0][0], sizeof path_ / sizeof path_[0][0], counts + spare);
}

void LzhCodeTable::fill_path(unsigned h) {
    // The node itself, then its parent's row less its last entry. The root's row stays all
    // spare, so the spare entries come along.
    if (h == 1) {
        return;
    }
    path_[h][0] = counts_ + heap_[h];
    std::memcpy(&path_[h][1], &path_[h >> 1][0], (kBits - 1) * sizeof path_[0][0]);
}

void LzhCodeTable::build() {
    std::memset(place_, 0, sizeof place_);
    fill(root_, 1);
}

void LzhCodeTable::fill(int p, unsigned h) {
    place_[p] = static_cast<uint16_t>(h);
    heap_[h] = static_cast<uint16_t>(p);
    fill_path(h);
    const int level = std::bit_width(h) - 1;
    const unsigned prefix = h - (1u << level);
    const int v = son_[p];
    if (v >= leaf_base_) {
        // A leaf above the table's depth: every code that starts with its prefix ends here.
        const int spread = kBits - level;
        const uint32_t e = make_entry(p, level, h);
        std::fill_n(entries_ + (prefix << spread), size_t{1} << spread, e);
        return;
    }
    if (h >= kLastLevel) {
        // The children are kBits levels down: the entries end there, and the children get
        // their places.
        entries_[prefix * 2] = make_entry(v, kBits, h * 2);
        entries_[prefix * 2 + 1] = make_entry(v + 1, kBits, h * 2 + 1);
        place_[v] = static_cast<uint16_t>(h * 2);
        place_[v + 1] = static_cast<uint16_t>(h * 2 + 1);
        heap_[h * 2] = static_cast<uint16_t>(v);
        heap_[h * 2 + 1] = static_cast<uint16_t>(v + 1);
        fill_path(h * 2);
        fill_path(h * 2 + 1);
        return;
    }
    fill(v, h * 2);
    fill(v + 1, h * 2 + 1);
}

void LzhCodeTable::forget_subtree(int first_child) {
    for (int p = first_child; p <= first_child + 1; ++p) {
        forget_below(p);
        place_[p] = 0;
    }
}

}  // namespace skin
