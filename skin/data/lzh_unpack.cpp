// Decoding: the code bits are read from a 64-bit window loaded eight bytes at a time, the
// Huffman code through the table of the tree's upper levels, matches are copied in words where
// their two ends allow, and the ring of earlier bytes is also the output buffer.
#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "skin/data/lzh.h"
#include "skin/data/lzh_code_table.h"
#include "skin/data/lzh_tables.h"
#include "skin/data/lzh_work_tables.h"

namespace skin {

namespace {

constexpr int T = TLZH::T;
constexpr int K = LzhCodeTable::kBits;

// The compressed bytes, asked from the get callback a block at a time.
class CodeInput {
  public:
    struct Span {
        const uint8_t* next;
        const uint8_t* end;
    };

    explicit CodeInput(const TLZH::TGetBlock& get) : get_(get) {}

    Span empty() const { return {buf_, buf_}; }

    // Keeps the bytes from next on and asks for more until at least eight are there or the
    // input has ended; a get that delivers fewer bytes than asked is asked again.
    Span top_up(const uint8_t* next) {
        auto have = static_cast<uint16_t>(end_ - next);
        std::memmove(buf_, next, have);
        while (have < 8 && !ended_) {
            uint16_t done = 0;
            const auto room = static_cast<uint16_t>(TLZH::kBlock - have);
            get_(buf_ + have, room, done);
            if (done == 0) {
                ended_ = true;
            } else {
                have = static_cast<uint16_t>(have + std::min(done, room));
            }
        }
        end_ = buf_ + have;
        return {buf_, end_};
    }

  private:
    const TLZH::TGetBlock& get_;
    uint8_t buf_[TLZH::kBlock];
    const uint8_t* end_ = buf_;
    bool ended_ = false;
};

uint64_t load_big_endian(const uint8_t* p) {
    uint64_t v = 0;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::little) {
        v = __builtin_bswap64(v);
    }
    return v;
}

template <size_t Size>
void copy_word(uint8_t* to, const uint8_t* from) {
    uint8_t word[Size];
    std::memcpy(word, from, Size);
    std::memcpy(to, word, Size);
}

// Hands n decoded bytes to the put callback (nothing when n is 0).
[[gnu::noinline]] void hand_out(const TLZH::TPutBlock& put, const uint8_t* bytes, int n) {
    if (n > 0) {
        uint16_t done = 0;
        put(bytes, static_cast<uint16_t>(n), done);
    }
}

// Copies n bytes from `from` to `to` within one stretch of the ring, as a byte-by-byte copy
// would, in words of Word bytes: the two are at least Word bytes apart, so every word read
// holds only bytes that are final (either never written by this copy or written by an earlier
// word). A last word that overlaps the one before
// rewrites the same bytes; copies shorter than a word take two overlapping smaller ones.
template <int Word>
void copy_apart(uint8_t* to, const uint8_t* from, int n) {
    if (n >= Word) {
        int k = 0;
        for (; k + Word <= n; k += Word) {
            copy_word<Word>(to + k, from + k);
        }
        if (k < n) {
            copy_word<Word>(to + n - Word, from + n - Word);
        }
    } else if (Word > 8 && n >= 8) {
        copy_word<8>(to, from);
        copy_word<8>(to + n - 8, from + n - 8);
    } else if (n >= 4) {
        copy_word<4>(to, from);
        copy_word<4>(to + n - 4, from + n - 4);
    } else {
        for (int k = 0; k < n; ++k) {
            to[k] = from[k];
        }
    }
}

// Copies n bytes from `from` to `to` within one stretch of the ring, as a byte-by-byte copy
// would, where the two are fewer than 8 bytes apart. Copying ahead of the source (the source
// after the target) takes the bytes as they are, one at a time. Copying behind it repeats the
// last `apart` bytes: the first 8 bytes are written as 4 single bytes and a word of 4 taken
// where the repeat puts them, and the rest is a copy in words from a whole number of repeats
// 8 bytes or more back.
void copy_near(uint8_t* to, const uint8_t* from, int n) {
    const auto apart = static_cast<int>(to - from);
    if (apart > 0 && n >= 8) {
        // Indexed by apart (2 to 7): where the second 4 bytes are taken from, counted from
        // `from`, and how far back the word copy then reads, a multiple of apart.
        static constexpr int kSecond[8] = {0, 1, 2, 1, 0, 4, 4, 4};
        static constexpr int kBack[8] = {0, 8, 8, 9, 8, 10, 12, 14};
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
        to[3] = from[3];
        copy_word<4>(to + 4, from + kSecond[apart]);
        copy_apart<8>(to + 8, to + 8 - kBack[apart], n - 8);
        return;
    }
    for (int k = 0; k < n; ++k) {
        to[k] = from[k];
    }
}

// The write index of the ring and the start of what has not been handed out yet.
struct RingEnds {
    int r;
    int flushed;
};

// Copies a match of n bytes from ring index `from` on, one byte at a time, where the match or
// its source runs across the end of the ring; hands the ring out whenever r comes round.
[[gnu::noinline]] RingEnds copy_across_the_end(const TLZH::TPutBlock& put, uint8_t* ring,
                                               RingEnds ends, int from, int n) {
    constexpr int N = TLZH::N;
    for (int k = 0; k < n; ++k) {
        ring[ends.r++] = ring[from];
        from = (from + 1) & (N - 1);
        if (ends.r == N) {
            hand_out(put, ring + ends.flushed, N - ends.flushed);
            ends.r = ends.flushed = 0;
        }
    }
    return ends;
}

// The last node after c whose count is below k, where freq[c + 1] is known to be: the nodes are
// in order of their counts, so it is c plus the number of nodes below k that follow c. Eight
// counts are compared at once (a run of equal counts is rarely longer), which spares the
// mispredicted end of a loop over them.
inline int last_below(const uint32_t* freq, int c, uint32_t k) {
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(static_cast<int>(k));
    for (int l = c + 1;; l += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(freq + l));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(freq + l + 4));
        const auto below =
            static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(key, a)))) |
            static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(key, b)))) << 4;
        if (below != 0xFF) {
            // below has a zero among its eight bits, so ~below has a bit set.
            return l + __builtin_ctz(~below) - 1;
        }
    }
#else
    int l = c + 1;
    while (k > freq[++l]) {
    }
    return l - 1;
#endif
}

// Exchanges the node at c, whose count has just become k, with l, the last node of its old
// count, each taking its subtree along (as TLZH::update does). The second child's parent link
// is written without a branch: for a leaf it is the same store again.
inline void swap_subtrees(TLZH::Tables& t, int c, int l, uint32_t k) {
    uint32_t* const freq = t.freq;
    int32_t* const prnt = t.prnt;
    int32_t* const son = t.son;
    const int i = son[c];
    const int j = son[l];
    freq[c] = freq[l];
    freq[l] = k;
    prnt[i] = l;
    prnt[i + (i < T)] = l;
    son[l] = i;
    prnt[j] = c;
    prnt[j + (j < T)] = c;
    son[c] = j;
}

// The same for a node with a place in the table. Exchanges that change what the table reads are
// passed to it; two leaves changing places change nothing there, as the table holds positions,
// not symbols.
inline void exchange(TLZH::Tables& t, int c, int l, uint32_t k, LzhCodeTable& table) {
    const int32_t* const son = t.son;
    const bool reshapes = (son[c] < T || son[l] < T) && (table.reads(c) || table.reads(l));
    if (reshapes) {
        table.detach(c, l);
    }
    swap_subtrees(t, c, l, k);
    if (reshapes) {
        table.attach(c, l);
    }
}

// Adds one occurrence to the leaf at position c (heap place h, 0 below the table) and to every
// node above it, keeping the nodes ordered by frequency: a node whose count passes that of the
// next node changes places with the last node of its old count, taking its subtree along, and
// the walk goes on from its new place (as TLZH::update does).
//
// A leaf below the table, the usual case, is exchanged without asking whether an exchange is
// due: the last node of its old count is the leaf itself when none is, and the exchange then
// writes back what was there. Whether one is due is close to a coin toss on pictures, a branch
// the processor would mispredict on nearly half of the symbols.
//
// Below the table the walk goes up the parent links, and its exchanges never touch the table:
// in a Huffman tree a node deeper than another has no larger count, and a parent has a larger
// count than its children, so two nodes of equal count lie at most one level apart; a node below
// the table (more than kBits levels down) is therefore exchanged only with nodes at kBits levels
// or deeper, whose subtrees the table does not read.
//
// Where the walk is at a node with a heap place h in the table, the nodes above are known
// without walking up to them: the row of h lists them, and the spare node stands in for those
// above the root, so that the loop always takes the same steps. An exchange, rare up there,
// leaves the fixed steps, and the walk goes on from the parent of the exchanged place, wherever
// that is.
inline void count_path(TLZH::Tables& t, int c, unsigned h, LzhCodeTable& table) {
    uint32_t* const freq = t.freq;
    int32_t* const prnt = t.prnt;
    if (h == 0) {
        int32_t* const son = t.son;
        const uint32_t k = freq[c] + 1;
        const int l = last_below(freq, c, k);
        const int i = son[c];
        const int j = son[l];
        freq[c] = freq[l];
        freq[l] = k;
        prnt[i] = l;
        prnt[j] = c;
        prnt[j + (j < T)] = c;
        son[l] = i;
        son[c] = j;
        c = prnt[l];
        h = table.place(c);
    }
    for (;;) {
        // Up the parent links to the table (the root has a place there, so this ends).
        while (h == 0) {
            const uint32_t k = ++freq[c];
            if (k > freq[c + 1]) {
                const int l = last_below(freq, c, k);
                swap_subtrees(t, c, l, k);
                c = l;
            }
            c = prnt[c];
            h = table.place(c);
        }
        // The nodes below the root, by their row of counts; then the root, whose count never
        // passes the sentinel after it.
        uint32_t* const* const row = table.path(h);
        uint32_t* f = freq;
        uint32_t k = 0;
        int i = 0;
#pragma GCC unroll 16
        for (; i < K; ++i) {
            f = row[i];
            k = ++f[0];
            if (k > f[1]) {
                break;
            }
        }
        if (i == K) {
            ++freq[TLZH::R];
            return;
        }
        c = static_cast<int>(f - freq);
        const int l = last_below(freq, c, k);
        exchange(t, c, l, k, table);
        c = prnt[l];
        if (c == 0) {
            return;
        }
        h = table.place(c);
    }
}

}  // namespace

void TLZH::LZHUnpack(int32_t length, const TPutBlock& put, const TGetBlock& get) {
    InitLZH();
    struct Ender {
        TLZH* self;
        ~Ender() { self->EndLZH(); }
    } ender{this};
    Tables& t = *tables_;
    StartHuff();
    LzhCodeTable table(t.son, t.freq, T, R, kSpare);
    table.build();

    // The code bits, most significant first, left-aligned in the window; `held` of them are
    // valid, and the bits below those are either zero or the coming bits themselves. Bits past
    // the end of the input read as 0.
    CodeInput input(get);
    CodeInput::Span bytes = input.empty();
    uint64_t window = 0;
    int held = 0;
    // Makes at least 57 bits held.
    const auto refill = [&]() __attribute__((always_inline)) {
        if (bytes.end - bytes.next < 8) [[unlikely]] {
            bytes = input.top_up(bytes.next);
            if (bytes.end - bytes.next < 8) {
                while (held <= 56) {
                    const uint8_t b = bytes.next < bytes.end ? *bytes.next++ : 0;
                    window |= static_cast<uint64_t>(b) << (56 - held);
                    held += 8;
                }
                return;
            }
        }
        window |= load_big_endian(bytes.next) >> held;
        bytes.next += (63 - held) >> 3;
        held |= 56;
    };

    std::memset(t.text_buf, ' ', N - F);
    // The ring is also the output buffer: what lies between `flushed` and r has been decoded
    // and not yet handed out; it is handed out whenever r comes round to the start.
    int r = N - F;
    int flushed = r;
    int32_t left = length;
    while (left > 0) {
        refill();
        // The table takes the upper levels in one step; the few codes deeper than it go on bit
        // by bit. The tree keeps its nodes in order of their counts with siblings side by side,
        // so it is a Huffman tree for its counts, and one with a leaf d levels down and every
        // count at least 1 has a root count of at least the Fibonacci number F(d + 2). The root
        // count is at most 0x8000 when a code is read (F(24) = 46368 is more), so a code has at
        // most 21 bits, and the 57 bits held cover it and a match position's 14 without another
        // refill.
        const auto bits = static_cast<uint32_t>(window >> (64 - K));
        const uint32_t e = table.entry(bits);
        const int code_length = LzhCodeTable::length(e);
        window <<= code_length;
        held -= code_length;
        int p = LzhCodeTable::position(e);
        unsigned place = LzhCodeTable::place_of(e);
        int v = t.son[p];
        if (v < T) {
            place = 0;
            do {
                p = v + static_cast<int>(window >> 63);
                window <<= 1;
                --held;
                v = t.son[p];
            } while (v < T);
        }
        if (t.freq[R] == MAX_FREQ) [[unlikely]] {
            // Rescaling moves every node; the table and the leaf's place are found again.
            reconst();
            table.build();
            p = t.prnt[v];
            place = table.place(p);
        }
        count_path(t, p, place, table);

        const int c = v - T;
        if (c < 256) {
            t.text_buf[r++] = static_cast<uint8_t>(c);
            --left;
            if (r == N) [[unlikely]] {
                hand_out(put, t.text_buf + flushed, N - flushed);
                r = flushed = 0;
            }
            continue;
        }

        // A match: the upper 6 bits of its distance come from the table by the next 8 bits,
        // which also give the length of their code; the lower 6 bits are the last 6 of the
        // code's d_len + 6 bits.
        const auto byte = static_cast<uint32_t>(window >> 56);
        const int code_bits = lzh_tables::decode_tables.d_len[byte] + 6;
        const auto lower = static_cast<uint32_t>(window >> (64 - code_bits)) & 0x3F;
        window <<= code_bits;
        held -= code_bits;
        const int distance = static_cast<int>(
            (static_cast<uint32_t>(lzh_tables::decode_tables.d_code[byte]) << 6) | lower);
        int from = (r - distance - 1) & (N - 1);
        // A match never carries the output past the requested length.
        const int n = std::min(c - 255 + THRESHOLD, left);
        left -= n;
        uint8_t* const ring = t.text_buf;
        if (r + n <= N && from + n <= N) {
            const int apart = r - from;
            if (apart >= 16 || apart <= -16) {
                copy_apart<16>(ring + r, ring + from, n);
            } else if (apart >= 8 || apart <= -8) {
                copy_apart<8>(ring + r, ring + from, n);
            } else if (apart == 1) {
                // A run of the byte just written.
                std::memset(ring + r, ring[from], static_cast<size_t>(n));
            } else {
                copy_near(ring + r, ring + from, n);
            }
            r += n;
        } else {
            const RingEnds ends = copy_across_the_end(put, ring, {r, flushed}, from, n);
            r = ends.r;
            flushed = ends.flushed;
        }
        if (r == N) {
            hand_out(put, ring + flushed, N - flushed);
            r = flushed = 0;
        }
    }
    hand_out(put, t.text_buf + flushed, r - flushed);
    textsize = length - left;
}

}  // namespace skin
