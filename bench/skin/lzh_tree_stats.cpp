// lzh-tree-stats [PACKAGE]: replays the adaptive Huffman tree of a decode of one of the
// benchmark's packages (default or noisy, both by default) through the textbook update and
// prints how the tree moves: the code lengths, the exchanges by the depth of the node that
// moves and by the kind of the two nodes, how often an exchange reshapes the upper levels of
// the tree (the part a decoding table of that many levels would have to follow), and how often
// the update's walk up leaves the path the decode came down by. For choosing how the decoder
// keeps its tables, not for timing.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/skin/lzh_bench_packages.h"
#include "skin/data/lzh_tables.h"

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int N_CHAR = 314;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;
constexpr int kMaxDepth = 32;
constexpr int kTableDepths[] = {6, 7, 8, 9, 10, 11, 12};

struct Stats {
    long symbols = 0;
    long literals = 0;
    long rebuilds = 0;
    long code_bits = 0;
    long depth[kMaxDepth + 1] = {};
    long exchanges = 0;
    long leaf_leaf = 0;
    long leaf_inner = 0;
    long inner_inner = 0;
    long siblings = 0;
    // Exchanges between nodes more than one level apart (none in a Huffman tree).
    long far_apart = 0;
    long by_depth[kMaxDepth + 1] = {};
    // Symbols whose update reshapes the tree above the depth, for each table depth.
    long reshaping_symbols[std::size(kTableDepths)] = {};
    long reshaping_exchanges[std::size(kTableDepths)] = {};
    long off_path_symbols = 0;
    long off_path_steps = 0;
    long path_steps = 0;
    // Symbols whose walk up leaves the decode path right after the leaf's step.
    long off_after_leaf = 0;
};

struct Replay {
    unsigned freq[T + 1];
    int prnt[T + N_CHAR];
    int son[T];
    const uint8_t* in;
    const uint8_t* end;
    uint64_t bits = 0;
    int held = 0;
    Stats s;

    int bit() {
        if (held == 0) {
            bits = in < end ? *in++ : 0;
            held = 8;
        }
        --held;
        return static_cast<int>((bits >> held) & 1);
    }

    void start() {
        for (int i = 0; i < N_CHAR; ++i) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
        }
        freq[T] = 0xFFFF;
        prnt[R] = 0;
    }

    void reconst() {
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                ++j;
            }
        }
        for (int i = 0, k = N_CHAR; k < T; i += 2, ++k) {
            const unsigned f = freq[k] = freq[i] + freq[i + 1];
            int m = k - 1;
            while (f < freq[m]) {
                --m;
            }
            ++m;
            std::memmove(&freq[m + 1], &freq[m], (k - m) * sizeof freq[0]);
            freq[m] = f;
            std::memmove(&son[m + 1], &son[m], (k - m) * sizeof son[0]);
            son[m] = i;
        }
        for (int i = 0; i < T; ++i) {
            const int k = son[i];
            prnt[k] = i;
            if (k < T) {
                prnt[k + 1] = i;
            }
        }
    }

    int depth_of(int p) const {
        int d = 0;
        while (p != R) {
            p = prnt[p];
            ++d;
        }
        return d;
    }

    void update(int c, const std::vector<int>& path) {
        if (freq[R] == MAX_FREQ) {
            reconst();
            ++s.rebuilds;
        }
        bool reshaped[std::size(kTableDepths)] = {};
        bool off = false;
        size_t on = path.size();  // the walk is at path[on - 1] while on the path
        c = prnt[c + T];
        do {
            ++s.path_steps;
            if (!off && (on == 0 || path[on - 1] != c)) {
                off = true;
                s.off_after_leaf += on + 1 == path.size();
            }
            if (off) {
                ++s.off_path_steps;
            } else {
                --on;
            }
            const unsigned k = ++freq[c];
            if (k > freq[c + 1]) {
                int l = c + 1;
                while (k > freq[++l]) {
                }
                --l;
                const int dc = depth_of(c);
                const int dl = depth_of(l);
                const bool ci = son[c] < T;
                const bool li = son[l] < T;
                ++s.exchanges;
                ++s.by_depth[dc < kMaxDepth ? dc : kMaxDepth];
                (ci && li ? s.inner_inner : ci || li ? s.leaf_inner : s.leaf_leaf) += 1;
                s.siblings += prnt[c] == prnt[l];
                s.far_apart += dc - dl > 1 || dl - dc > 1;
                for (size_t t = 0; t < std::size(kTableDepths); ++t) {
                    const int K = kTableDepths[t];
                    if ((ci || li) && (dc < K || dl < K)) {
                        reshaped[t] = true;
                        ++s.reshaping_exchanges[t];
                    }
                }
                freq[c] = freq[l];
                freq[l] = k;
                const int i = son[c];
                prnt[i] = l;
                if (i < T) {
                    prnt[i + 1] = l;
                }
                const int j = son[l];
                son[l] = i;
                prnt[j] = c;
                if (j < T) {
                    prnt[j + 1] = c;
                }
                son[c] = j;
                c = l;
            }
        } while ((c = prnt[c]) != 0);
        for (size_t t = 0; t < std::size(kTableDepths); ++t) {
            s.reshaping_symbols[t] += reshaped[t];
        }
        s.off_path_symbols += off;
    }

    int decode_char(std::vector<int>& path) {
        path.clear();
        int c = son[R];
        path.push_back(R);
        int d = 0;
        while (c < T) {
            c += bit();
            path.push_back(c);
            c = son[c];
            ++d;
        }
        s.code_bits += d;
        ++s.depth[d < kMaxDepth ? d : kMaxDepth];
        c -= T;
        update(c, path);
        return c;
    }

    void run(const std::vector<uint8_t>& stream) {
        const int32_t length = static_cast<int32_t>(stream[0] | (stream[1] << 8) |
                                                    (stream[2] << 16) | (stream[3] << 24));
        in = stream.data() + 4;
        end = stream.data() + stream.size();
        start();
        std::vector<int> path;
        for (int32_t count = 0; count < length;) {
            const int c = decode_char(path);
            ++s.symbols;
            if (c < 256) {
                ++s.literals;
                ++count;
            } else {
                unsigned i = 0;
                for (int b = 0; b < 8; ++b) {
                    i = (i << 1) | static_cast<unsigned>(bit());
                }
                for (int b = skin::lzh_tables::decode_tables.d_len[i] - 2; b > 0; --b) {
                    bit();
                }
                count += c - 253;
            }
        }
    }
};

void report(const char* name, const std::vector<uint8_t>& stream) {
    static Replay r;
    r = Replay{};
    r.run(stream);
    const Stats& s = r.s;
    const auto per = [&](long n) {
        return static_cast<double>(n) / static_cast<double>(s.symbols);
    };
    std::printf("%s package: %ld symbols (%ld literals), %ld rebuilds, %.2f code bits a symbol\n",
                name, s.symbols, s.literals, s.rebuilds, per(s.code_bits));
    std::printf("  code lengths:");
    for (int d = 0; d <= kMaxDepth; ++d) {
        if (s.depth[d] != 0) {
            std::printf(" %d:%.1f%%", d, 100.0 * per(s.depth[d]));
        }
    }
    std::printf(
        "\n  exchanges %.3f a symbol: leaf-leaf %.3f, leaf-inner %.3f, inner-inner %.3f,"
        " between siblings %.3f\n",
        per(s.exchanges), per(s.leaf_leaf), per(s.leaf_inner), per(s.inner_inner), per(s.siblings));
    std::printf("  exchanges between nodes more than one level apart: %ld\n", s.far_apart);
    std::printf("  exchanges by depth of the moving node:");
    for (int d = 0; d <= kMaxDepth; ++d) {
        if (s.by_depth[d] != 0) {
            std::printf(" %d:%.3f", d, per(s.by_depth[d]));
        }
    }
    std::printf(
        "\n  symbols whose update reshapes the levels above depth K (exchanges a symbol):\n");
    for (size_t t = 0; t < std::size(kTableDepths); ++t) {
        std::printf("    K=%2d: %.2f%% of symbols (%.4f)\n", kTableDepths[t],
                    100.0 * per(s.reshaping_symbols[t]), per(s.reshaping_exchanges[t]));
    }
    std::printf(
        "  walk up: %.2f steps a symbol, leaves the decode path on %.1f%% of symbols,"
        " %.2f steps a symbol off it\n",
        per(s.path_steps), 100.0 * per(s.off_path_symbols), per(s.off_path_steps));
    std::printf("  leaves it right after the leaf's step on %.1f%% of symbols\n",
                100.0 * per(s.off_after_leaf));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string which = argc > 1 ? argv[1] : "";
    if (which.empty() || which == "default") {
        report("default", skin_bench::default_package_stream());
    }
    if (which.empty() || which == "noisy") {
        report("noisy", skin_bench::noisy_package_stream());
    }
    return 0;
}
