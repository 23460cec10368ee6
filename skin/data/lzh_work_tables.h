#pragma once

#include <cstdint>

#include "skin/data/lzh.h"

namespace skin {

// The work tables of one run, sized as the codec needs them.
struct TLZH::Tables {
    uint8_t text_buf[N + F - 1];
    int16_t lson[N + 1];
    int16_t dad[N + 1];
    int16_t rson[N + 257];
    // The Huffman tree in machine words: the decoder walks and updates it once per symbol,
    // and whole words spare the narrowing and widening of every step.
    // After the nodes: a 0xFFFF sentinel, then a spare node that the decoder's table puts in
    // the places above the root, whose count never passes the entry after it (it is reset at
    // every rescaling, long before it could), then room for the decoder to read eight counts
    // from any node on.
    uint32_t freq[T + 8];
    int32_t prnt[T + N_CHAR];
    int32_t son[T];
};

}  // namespace skin
