#include "bench/skin/classic_lzh_decoder.h"

#include <cstring>

#include "skin/data/lzh_tables.h"

namespace skin_bench {

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

struct Classic {
    const uint8_t* in;
    const uint8_t* in_end;
    uint8_t* out;
    unsigned short getbuf = 0;
    uint8_t getlen = 0;
    uint8_t text_buf[N + F - 1];
    unsigned short freq[T + 1];
    short prnt[T + N_CHAR];
    short son[T];

    int getc() { return in < in_end ? *in++ : -1; }

    int GetBit() {
        while (getlen <= 8) {
            int i = getc();
            if (i < 0) {
                i = 0;
            }
            getbuf = static_cast<unsigned short>(getbuf | (i << (8 - getlen)));
            getlen = static_cast<uint8_t>(getlen + 8);
        }
        const unsigned i = getbuf;
        getbuf = static_cast<unsigned short>(getbuf << 1);
        getlen--;
        return static_cast<int>((i & 0x8000) >> 15);
    }

    int GetByte() {
        while (getlen <= 8) {
            int i = getc();
            if (i < 0) {
                i = 0;
            }
            getbuf = static_cast<unsigned short>(getbuf | (i << (8 - getlen)));
            getlen = static_cast<uint8_t>(getlen + 8);
        }
        const unsigned i = getbuf;
        getbuf = static_cast<unsigned short>(getbuf << 8);
        getlen = static_cast<uint8_t>(getlen - 8);
        return static_cast<int>(i >> 8);
    }

    void StartHuff() {
        int i, j;
        for (i = 0; i < N_CHAR; i++) {
            freq[i] = 1;
            son[i] = static_cast<short>(i + T);
            prnt[i + T] = static_cast<short>(i);
        }
        i = 0;
        j = N_CHAR;
        while (j <= R) {
            freq[j] = static_cast<unsigned short>(freq[i] + freq[i + 1]);
            son[j] = static_cast<short>(i);
            prnt[i] = prnt[i + 1] = static_cast<short>(j);
            i += 2;
            j++;
        }
        freq[T] = 0xffff;
        prnt[R] = 0;
    }

    void reconst() {
        int i, j, k;
        unsigned f, l;
        j = 0;
        for (i = 0; i < T; i++) {
            if (son[i] >= T) {
                freq[j] = static_cast<unsigned short>((freq[i] + 1) / 2);
                son[j] = son[i];
                j++;
            }
        }
        for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
            k = i + 1;
            f = freq[j] = static_cast<unsigned short>(freq[i] + freq[k]);
            for (k = j - 1; f < freq[k]; k--) {
            }
            k++;
            l = static_cast<unsigned>(j - k) * 2;
            std::memmove(&freq[k + 1], &freq[k], l);
            freq[k] = static_cast<unsigned short>(f);
            std::memmove(&son[k + 1], &son[k], l);
            son[k] = static_cast<short>(i);
        }
        for (i = 0; i < T; i++) {
            if ((k = son[i]) >= T) {
                prnt[k] = static_cast<short>(i);
            } else {
                prnt[k] = prnt[k + 1] = static_cast<short>(i);
            }
        }
    }

    void update(int c) {
        int i, j, l;
        unsigned k;
        if (freq[R] == MAX_FREQ) {
            reconst();
        }
        c = prnt[c + T];
        do {
            k = ++freq[c];
            if (k > freq[l = c + 1]) {
                while (k > freq[++l]) {
                }
                l--;
                freq[c] = freq[l];
                freq[l] = static_cast<unsigned short>(k);
                i = son[c];
                prnt[i] = static_cast<short>(l);
                if (i < T) {
                    prnt[i + 1] = static_cast<short>(l);
                }
                j = son[l];
                son[l] = static_cast<short>(i);
                prnt[j] = static_cast<short>(c);
                if (j < T) {
                    prnt[j + 1] = static_cast<short>(c);
                }
                son[c] = static_cast<short>(j);
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }

    int DecodeChar() {
        unsigned c = static_cast<unsigned>(son[R]);
        while (c < T) {
            c += static_cast<unsigned>(GetBit());
            c = static_cast<unsigned>(son[c]);
        }
        c -= T;
        update(static_cast<int>(c));
        return static_cast<int>(c);
    }

    int DecodePosition() {
        unsigned i, j, c;
        i = static_cast<unsigned>(GetByte());
        c = static_cast<unsigned>(skin::lzh_tables::decode_tables.d_code[i]) << 6;
        j = skin::lzh_tables::decode_tables.d_len[i];
        j -= 2;
        while (j--) {
            i = (i << 1) + static_cast<unsigned>(GetBit());
        }
        return static_cast<int>(c | (i & 0x3f));
    }

    void Decode(int32_t textsize) {
        int i, j, k, r, c;
        int32_t count;
        StartHuff();
        for (i = 0; i < N - F; i++) {
            text_buf[i] = ' ';
        }
        r = N - F;
        for (count = 0; count < textsize;) {
            c = DecodeChar();
            if (c < 256) {
                *out++ = static_cast<uint8_t>(c);
                text_buf[r++] = static_cast<uint8_t>(c);
                r &= (N - 1);
                count++;
            } else {
                i = (r - DecodePosition() - 1) & (N - 1);
                j = c - 255 + THRESHOLD;
                for (k = 0; k < j; k++) {
                    c = text_buf[(i + k) & (N - 1)];
                    *out++ = static_cast<uint8_t>(c);
                    text_buf[r++] = static_cast<uint8_t>(c);
                    r &= (N - 1);
                    count++;
                }
            }
        }
    }
};

}  // namespace

std::vector<uint8_t> classic_lzh_decode(std::span<const uint8_t> stream) {
    if (stream.size() < 4) {
        return {};
    }
    const int32_t length = static_cast<int32_t>(
        static_cast<uint32_t>(stream[0]) | (static_cast<uint32_t>(stream[1]) << 8) |
        (static_cast<uint32_t>(stream[2]) << 16) | (static_cast<uint32_t>(stream[3]) << 24));
    if (length <= 0) {
        return {};
    }
    // The last match may run past the length by up to a match's length; the classic loop
    // writes it whole and the surplus is cut off afterwards.
    std::vector<uint8_t> out(static_cast<size_t>(length) + F);
    // Zeroed, as the static tables of the C program are: the ring after the first write index
    // starts as zero bytes.
    Classic d{};
    d.in = stream.data() + 4;
    d.in_end = stream.data() + stream.size();
    d.out = out.data();
    d.Decode(length);
    out.resize(static_cast<size_t>(length));
    return out;
}

}  // namespace skin_bench
