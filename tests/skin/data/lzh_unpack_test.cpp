// The decoder against a plain one written the textbook way (one tree level per bit, the walk
// back up the tree from the leaf, byte-by-byte copies), on code bits of every kind: arbitrary
// bytes reach symbol orders, tree shapes and matches (short distances, runs, copies across the
// ring's end) that no coder would produce, and skewed bits drive the tree deep and lopsided.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <random>
#include <vector>

#include "skin/data/lzh.h"
#include "skin/data/lzh_code_table.h"
#include "skin/data/lzh_tables.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

// The adaptive Huffman tree of the codec, the textbook way: one array entry per node, the
// update walking up the parent links.
struct PlainTree {
    static constexpr int T = TLZH::T, R = TLZH::R, N_CHAR = TLZH::N_CHAR;
    std::vector<unsigned> freq = std::vector<unsigned>(T + 1);
    std::vector<int> prnt = std::vector<int>(T + N_CHAR);
    std::vector<int> son = std::vector<int>(T);

    PlainTree() {
        for (int i = 0; i < N_CHAR; ++i) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        for (int i = 0, j = N_CHAR; j <= R; ++j, i += 2) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
        }
        freq[T] = 0xFFFF;
        prnt[R] = 0;
    }

    void rescale() {
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j++] = son[i];
            }
        }
        for (int i = 0; j < T; i += 2, ++j) {
            const unsigned f = freq[i] + freq[i + 1];
            int k = j - 1;
            while (f < freq[k]) {
                --k;
            }
            ++k;
            freq.insert(freq.begin() + k, f);
            freq.erase(freq.begin() + j + 1);
            son.insert(son.begin() + k, i);
            son.erase(son.begin() + j + 1);
        }
        for (int i = 0; i < T; ++i) {
            prnt[son[i]] = i;
            if (son[i] < T) {
                prnt[son[i] + 1] = i;
            }
        }
    }

    int depth(int p) const {
        int d = 0;
        for (; p != R; p = prnt[p]) {
            ++d;
        }
        return d;
    }

    // Counts symbol c (rescaling first at the limit); true when the update moved a subtree
    // within the upper LzhCodeTable::kBits levels (the part the decoder keeps as a table).
    bool update(int c) {
        if (freq[R] == TLZH::MAX_FREQ) {
            rescale();
        }
        bool top_changed = false;
        // From the leaf (which may sit at position 0) up to the root, whose parent is 0.
        int p = prnt[c + T];
        do {
            const unsigned k = ++freq[p];
            int l = p + 1;
            if (k > freq[l]) {
                while (k > freq[l + 1]) {
                    ++l;
                }
                std::swap(freq[p], freq[l]);
                const int i = son[p], j = son[l];
                if ((i < T || j < T) && std::min(depth(p), depth(l)) < LzhCodeTable::kBits) {
                    top_changed = true;
                }
                son[p] = j;
                son[l] = i;
                prnt[i] = l;
                if (i < T) {
                    prnt[i + 1] = l;
                }
                prnt[j] = p;
                if (j < T) {
                    prnt[j + 1] = p;
                }
                p = l;
            }
            p = prnt[p];
        } while (p != 0);
        return top_changed;
    }

    // The code of symbol c, first bit first.
    std::vector<int> code(int c) const {
        std::vector<int> bits;
        for (int p = prnt[c + T]; p != R; p = prnt[p]) {
            bits.insert(bits.begin(), p & 1);
        }
        return bits;
    }
};

// Counts of what a decode met.
struct DecodeCounts {
    long symbols = 0;
    // Symbols whose update moved a subtree within the tree's upper levels.
    long top_changes = 0;
};

Bytes plain_decode(const Bytes& code, int32_t length, DecodeCounts* counts = nullptr) {
    constexpr int N = TLZH::N, F = TLZH::F, T = TLZH::T, R = TLZH::R;
    PlainTree tree;
    size_t bit_at = 0;
    const auto bit = [&] {
        const size_t byte = bit_at / 8;
        const int b = byte < code.size() ? (code[byte] >> (7 - bit_at % 8)) & 1 : 0;
        ++bit_at;
        return b;
    };
    // Spaces before the first write index; the bytes after it start as zero.
    Bytes ring(N, 0);
    std::fill(ring.begin(), ring.begin() + (N - F), ' ');
    Bytes out;
    int r = N - F;
    while (static_cast<int32_t>(out.size()) < length) {
        int c = tree.son[R];
        while (c < T) {
            c = tree.son[c + bit()];
        }
        c -= T;
        const bool top_changed = tree.update(c);
        if (counts != nullptr) {
            ++counts->symbols;
            counts->top_changes += top_changed ? 1 : 0;
        }
        const auto emit = [&](uint8_t b) {
            if (static_cast<int32_t>(out.size()) < length) {
                out.push_back(b);
                ring[static_cast<size_t>(r)] = b;
                r = (r + 1) % N;
            }
        };
        if (c < 256) {
            emit(static_cast<uint8_t>(c));
            continue;
        }
        int i = 0;
        for (int n = 0; n < 8; ++n) {
            i = i * 2 + bit();
        }
        const int upper = lzh_tables::decode_tables.d_code[static_cast<size_t>(i)];
        for (int n = lzh_tables::decode_tables.d_len[static_cast<size_t>(i)] - 2; n > 0; --n) {
            i = i * 2 + bit();
        }
        const int distance = (upper << 6) | (i & 0x3F);
        const int from = r - distance - 1 + N;
        for (int k = 0; k < c - 253; ++k) {
            emit(ring[static_cast<size_t>((from + k) % N)]);
        }
    }
    return out;
}

// Literals chosen against the tree, and their code bits: after a start that brings a few
// frequent literals to the top, each literal is taken from the lighter side at each of the
// upper three levels (then at random), so that the lighter side keeps catching up with and
// passing the heavier one. top_changes receives the number of symbols whose update moved a
// subtree within the tree's upper levels.
Bytes code_against_the_tree(int count, Bytes& text, long& top_changes) {
    constexpr int T = TLZH::T, R = TLZH::R;
    constexpr int warm_up = 3000;
    PlainTree tree;
    std::mt19937 rng(11);
    Bytes code;
    int used = 0;
    for (int n = 0; n < count; ++n) {
        int pick = -1;
        if (n < warm_up) {
            // 'A' half the time, 'B' a quarter, ...
            const int z = std::countr_zero(static_cast<unsigned>(rng()) | 0x100u);
            pick = z < 6 ? 'A' + z : static_cast<int>(rng() % 256);
        } else {
            for (int p = R, level = 0; pick < 0; ++level) {
                const int next = tree.son[p] + (level < 3 ? 0 : static_cast<int>(rng() & 1));
                if (tree.son[next] >= T) {
                    pick = tree.son[next] - T;
                }
                p = next;
            }
            if (pick >= 256) {
                pick = static_cast<int>(rng() % 256);  // a match length: a literal instead
            }
        }
        for (const int bit : tree.code(pick)) {
            if (used % 8 == 0) {
                code.push_back(0);
            }
            code.back() = static_cast<uint8_t>(code.back() | bit << (7 - used % 8));
            ++used;
        }
        top_changes += tree.update(pick) ? 1 : 0;
        text.push_back(static_cast<uint8_t>(pick));
    }
    return code;
}

// The decoder, fed by a get callback that delivers at most `piece` bytes a call.
Bytes decode(const Bytes& code, int32_t length, size_t piece = TLZH::kBlock) {
    Bytes out;
    size_t at = 0;
    TLZH lzh;
    lzh.LZHUnpack(
        length,
        [&](const uint8_t* b, uint16_t n, uint16_t& done) {
            out.insert(out.end(), b, b + n);
            done = n;
        },
        [&](uint8_t* b, uint16_t n, uint16_t& done) {
            const size_t take = std::min({size_t{n}, piece, code.size() - at});
            if (take > 0) {
                std::memcpy(b, code.data() + at, take);
            }
            at += take;
            done = static_cast<uint16_t>(take);
        });
    return out;
}

// Code bytes whose bits are 1 with the given chance.
Bytes code_bits(size_t n, double ones, uint32_t seed) {
    std::mt19937 rng(seed);
    std::bernoulli_distribution one(ones);
    Bytes b(n);
    for (auto& x : b) {
        for (int k = 0; k < 8; ++k) {
            x = static_cast<uint8_t>(x << 1 | (one(rng) ? 1 : 0));
        }
    }
    return b;
}

TEST(LzhUnpack, DecodesAnyCodeBitsAsThePlainDecoderDoes) {
    // Long enough for many rescalings; skewed bits make codes far deeper than the decoder's
    // table of upper levels and move subtrees near the root.
    struct Case {
        size_t code_bytes;
        double ones;
        int32_t length;
    };
    for (const Case& k :
         {Case{60000, 0.5, 400000}, Case{30000, 0.9, 300000}, Case{30000, 0.1, 300000},
          Case{20000, 0.7, 200000}, Case{20000, 0.97, 200000}, Case{0, 0.5, 50000},
          // Nothing but ones: the path of the largest counts taken over and over, so the
          // leaf at its end keeps passing the nodes of its count.
          Case{20000, 1.0, 200000}}) {
        SCOPED_TRACE(testing::Message() << k.code_bytes << " bytes, ones " << k.ones);
        const Bytes code = code_bits(k.code_bytes, k.ones, static_cast<uint32_t>(k.length));
        const Bytes expected = plain_decode(code, k.length);
        ASSERT_EQ(expected.size(), static_cast<size_t>(k.length));
        EXPECT_EQ(decode(code, k.length), expected);
    }
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

TEST(LzhUnpack, TruncatedStreamsDecodeAsThePlainDecoderDoes) {
    // A real coded stream cut anywhere, in the middle of a code or of a match position, and
    // handed over in odd pieces: the missing bits read as 0 up to the requested length.
    std::mt19937 rng(77);
    Bytes input(30000);
    for (size_t k = 0; k < input.size(); ++k) {
        input[k] = static_cast<uint8_t>(k % 97 < 40 ? rng() % 7 : rng());
    }
    Bytes packed;
    {
        size_t at = 0;
        int32_t consumed = 0;
        TLZH lzh;
        lzh.LZHPack(
            consumed,
            [&](const uint8_t* b, uint16_t n, uint16_t& done) {
                packed.insert(packed.end(), b, b + n);
                done = n;
            },
            [&](uint8_t* b, uint16_t n, uint16_t& done) {
                const size_t take = std::min<size_t>(n, input.size() - at);
                std::memcpy(b, input.data() + at, take);
                at += take;
                done = static_cast<uint16_t>(take);
            });
    }
    const auto length = static_cast<int32_t>(input.size());
    ASSERT_EQ(decode(packed, length), input);
    for (const size_t cut : {size_t{0}, size_t{1}, size_t{5}, size_t{8}, size_t{9}, size_t{4095},
                             size_t{4096}, size_t{4097}, packed.size() / 2, packed.size() - 9,
                             packed.size() - 8, packed.size() - 7, packed.size() - 1}) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << packed.size());
        const Bytes code(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(cut));
        const Bytes expected = plain_decode(code, length);
        EXPECT_EQ(decode(code, length), expected);
        EXPECT_EQ(decode(code, length, 3), expected);
    }
}

TEST(LzhUnpack, FollowsATreeWhoseUpperLevelsChangeAtMostSymbols) {
    // The decoder keeps the tree's upper levels as a table and rewrites it when subtrees change
    // places up there; here they do at about two symbols of three, through rescalings.
    Bytes text;
    long top_changes = 0;
    const Bytes code = code_against_the_tree(80000, text, top_changes);
    EXPECT_GT(top_changes, 40000);
    const auto length = static_cast<int32_t>(text.size());
    DecodeCounts counts;
    ASSERT_EQ(plain_decode(code, length, &counts), text);
    EXPECT_EQ(counts.top_changes, top_changes);
    EXPECT_EQ(decode(code, length), text);
    EXPECT_EQ(decode(code, length, 7), text);
}

}  // namespace
}  // namespace skin
