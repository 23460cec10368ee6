#pragma once

#include <bit>
#include <cstdint>

namespace skin {

// The upper levels of the codec's adaptive Huffman tree as lookup tables, so that the decoder
// takes up to kBits code bits in one step instead of one tree level per bit, and finds the
// nodes above a leaf without walking up to them one by one.
//
// The tree is the codec's `son` array: position p holds either a leaf (son[p] >= leaf_base,
// the symbol plus leaf_base) or the first of the two child positions of p (the next code bit
// picks one). The walk starts at the root position. Indexed by the next kBits code bits, an
// entry gives the position the walk has reached when it has taken kBits bits, or the position
// of the leaf it met earlier, and how many bits it took; the caller reads son[] of that
// position to go on (or to find the leaf).
//
// The positions down to kBits levels have a place in a binary heap (the root 1, the children
// of place h 2h and 2h + 1), so the places of the nodes above one are h / 2, h / 4, ... down
// to 1, and place 0 holds a spare position that stands for "no node". The place of the
// position an entry gives is in the entry (`place_of`).
//
// The table stays true to the tree as the tree adapts: the tree changes its shape only by
// exchanging the subtrees below two positions, and the table reads son[] only of the positions
// fewer than kBits levels down. Before such an exchange the caller passes both positions to
// `detach`, after it to `attach`; only the entries and places under a position the table reads
// are written again, a handful for the deep positions where nearly all exchanges happen.
// `build` starts over, after the tree was rebuilt whole.
class LzhCodeTable {
  public:
    // Six levels: a deeper table takes more codes in one look but has more entries to rewrite
    // after the exchanges near its bottom, and its bottom leaves are counted through the
    // table's steps, whose exchange test is a coin toss there. Seven made the default skin 18 %
    // and a package of noisy pictures 9 % slower; five walk so many codes bit by bit that the
    // noisy package took 20 % longer (the default skin 2 % less).
    static constexpr int kBits = 6;

    // son: the tree; counts: the counts by position, for path(); leaf_base: the smallest leaf
    // value; root: the root position; spare: a position outside the tree, standing for the
    // places above the root.
    LzhCodeTable(const int32_t* son, uint32_t* counts, int leaf_base, int root, int spare);

    void build();

    // The entry for the next kBits code bits (right-aligned): the position reached, the number
    // of bits taken, and the heap place of the position.
    uint32_t entry(uint32_t bits) const { return entries_[bits]; }
    static int position(uint32_t entry) { return static_cast<int>(entry & 0x3FF); }
    static int length(uint32_t entry) { return static_cast<int>((entry >> 10) & 0xF); }
    static unsigned place_of(uint32_t entry) { return entry >> 14; }
    // The heap place of a position, 0 when it is deeper than kBits levels.
    unsigned place(int position) const { return place_[position]; }
    // The position at a heap place (the spare one at place 0).
    int at(unsigned place) const { return heap_[place]; }
    // The counts of the nodes from a heap place up to the root's children: entry i is the count
    // of the node at place >> i, for i below the place's level, and the spare position's beyond
    // (the root is not in the row). The update counts a row with independent loads and no
    // shifts of places.
    uint32_t* const* path(unsigned place) const { return path_[place]; }

    // Around an exchange of the subtrees below positions a and b: detach before, attach after.
    // Two positions at the same level swap subtrees of the same depth: attaching gives every
    // node below either a new place, so nothing needs forgetting.
    void detach(int a, int b) {
        if (std::bit_width(place_[a]) == std::bit_width(place_[b])) {
            return;
        }
        forget_below(a);
        forget_below(b);
    }
    void attach(int a, int b) {
        if (reads(a)) {
            fill(a, place_[a]);
        }
        if (reads(b)) {
            fill(b, place_[b]);
        }
    }
    // Whether son[] of this position is read by the table.
    bool reads(int position) const {
        return place_[position] != 0 && place_[position] < (1u << kBits);
    }

  private:
    static constexpr int kMaxPositions = 1024;
    static constexpr unsigned kLastLevel = 1u << (kBits - 1);

    // Fills the entries under position p at heap place h and records the places below it.
    void fill(int p, unsigned h);
    // Forgets the places of the positions below p.
    void forget_below(int p) {
        if (reads(p) && son_[p] < leaf_base_) {
            forget_subtree(son_[p]);
        }
    }
    void forget_subtree(int first_child);

    // Writes the row of path() for a place whose ancestors' places are all filled.
    void fill_path(unsigned h);

    const int32_t* son_;
    int leaf_base_;
    int root_;
    uint32_t* counts_;
    // Makes the entry of a position at heap place h, reached with `length` bits.
    static uint32_t make_entry(int position, int length, unsigned h) {
        return static_cast<uint32_t>(position) | static_cast<uint32_t>(length) << 10 | h << 14;
    }

    uint32_t entries_[1u << kBits];
    uint16_t heap_[2u << kBits];
    uint32_t* path_[2u << kBits][kBits];
    uint16_t place_[kMaxPositions];
};

}  // namespace skin
