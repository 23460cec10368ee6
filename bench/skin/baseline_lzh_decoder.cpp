#include "bench/skin/baseline_lzh_decoder.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "skin/data/lzh_tables.h"
#include "skin/data/memory_stream.h"

namespace skin_bench {

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

using GetBlock = std::function<void(uint8_t* buffer, uint16_t count, uint16_t& done)>;
using PutBlock = std::function<void(const uint8_t* buffer, uint16_t count, uint16_t& done)>;

class Decoder {
  public:
    void Unpack(int32_t length, const PutBlock& put, const GetBlock& get) {
        put_ = &put;
        get_ = &get;
        StartHuff();
        std::memset(text_buf, ' ', N - F);
        int r = N - F;
        int32_t count = 0;
        while (count < length) {
            const int c = DecodeChar();
            if (c < 256) {
                WriteOutByte(static_cast<uint8_t>(c));
                text_buf[r] = static_cast<uint8_t>(c);
                r = (r + 1) & (N - 1);
                ++count;
            } else {
                const int i = (r - DecodePosition() - 1) & (N - 1);
                const int j = c - 255 + THRESHOLD;
                for (int k = 0; k < j && count < length; ++k) {
                    const uint8_t b = text_buf[(i + k) & (N - 1)];
                    WriteOutByte(b);
                    text_buf[r] = b;
                    r = (r + 1) & (N - 1);
                    ++count;
                }
            }
        }
    }

  private:
    bool ReadInByte(uint8_t& b) {
        uint16_t done = 0;
        (*get_)(&b, 1, done);
        return done == 1;
    }
    void WriteOutByte(uint8_t b) {
        uint16_t done = 0;
        (*put_)(&b, 1, done);
    }
    void StartHuff() {
        for (int i = 0; i < N_CHAR; ++i) {
            freq[i] = 1;
            son[i] = static_cast<int16_t>(i + T);
            prnt[i + T] = static_cast<int16_t>(i);
        }
        int i = 0;
        for (int j = N_CHAR; j <= R; ++j, i += 2) {
            freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
            son[j] = static_cast<int16_t>(i);
            prnt[i] = prnt[i + 1] = static_cast<int16_t>(j);
        }
        freq[T] = 0xFFFF;
        prnt[R] = 0;
    }
    void reconst() {
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (son[i] >= T) {
                freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
                son[j] = son[i];
                ++j;
            }
        }
        for (int i = 0, k = 0; j < T; i += 2, ++j) {
            const unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
            freq[j] = static_cast<uint16_t>(f);
            for (k = j - 1; f < freq[k]; --k) {
            }
            ++k;
            const size_t count = static_cast<size_t>(j - k);
            std::memmove(&freq[k + 1], &freq[k], count * sizeof freq[0]);
            freq[k] = static_cast<uint16_t>(f);
            std::memmove(&son[k + 1], &son[k], count * sizeof son[0]);
            son[k] = static_cast<int16_t>(i);
        }
        for (int i = 0; i < T; ++i) {
            const int k = son[i];
            if (k >= T) {
                prnt[k] = static_cast<int16_t>(i);
            } else {
                prnt[k] = prnt[k + 1] = static_cast<int16_t>(i);
            }
        }
    }
    void update(int c) {
        if (freq[R] == MAX_FREQ) {
            reconst();
        }
        c = prnt[c + T];
        do {
            const unsigned k = ++freq[c];
            int l = c + 1;
            if (k > freq[l]) {
                while (k > freq[++l]) {
                }
                --l;
                freq[c] = freq[l];
                freq[l] = static_cast<uint16_t>(k);
                const int i = son[c];
                prnt[i] = static_cast<int16_t>(l);
                if (i < T) {
                    prnt[i + 1] = static_cast<int16_t>(l);
                }
                const int j = son[l];
                son[l] = static_cast<int16_t>(i);
                prnt[j] = static_cast<int16_t>(c);
                if (j < T) {
                    prnt[j + 1] = static_cast<int16_t>(c);
                }
                son[c] = static_cast<int16_t>(j);
                c = l;
            }
            c = prnt[c];
        } while (c != 0);
    }
    void Fill() {
        while (getlen <= 8) {
            uint8_t b = 0;
            if (!ReadInByte(b)) {
                b = 0;
            }
            getbuf = static_cast<uint16_t>(getbuf | (b << (8 - getlen)));
            getlen = static_cast<uint8_t>(getlen + 8);
        }
    }
    int GetBit() {
        Fill();
        const int i = getbuf;
        getbuf = static_cast<uint16_t>(getbuf << 1);
        --getlen;
        return (i >> 15) & 1;
    }
    int GetByte() {
        Fill();
        const int i = getbuf;
        getbuf = static_cast<uint16_t>(getbuf << 8);
        getlen = static_cast<uint8_t>(getlen - 8);
        return (i >> 8) & 0xFF;
    }
    int DecodeChar() {
        int c = son[R];
        while (c < T) {
            c += GetBit();
            c = son[c];
        }
        c -= T;
        update(c);
        return c;
    }
    int DecodePosition() {
        unsigned i = static_cast<unsigned>(GetByte());
        const unsigned c = static_cast<unsigned>(skin::lzh_tables::decode_tables.d_code[i]) << 6;
        unsigned j = skin::lzh_tables::decode_tables.d_len[i];
        j -= 2;
        while (j-- > 0) {
            i = (i << 1) + static_cast<unsigned>(GetBit());
        }
        return static_cast<int>(c | (i & 0x3F));
    }

    uint8_t text_buf[N + F - 1] = {};
    uint16_t freq[T + 1] = {};
    int16_t prnt[T + N_CHAR] = {};
    int16_t son[T] = {};
    uint16_t getbuf = 0;
    uint8_t getlen = 0;
    const GetBlock* get_ = nullptr;
    const PutBlock* put_ = nullptr;
};

}  // namespace

std::vector<uint8_t> baseline_lzh_decode(std::span<const uint8_t> stream) {
    // Through memory streams and the stream adapters, as the skin reader decoded.
    skin::TMemoryStream in(std::vector<uint8_t>(stream.begin(), stream.end()));
    skin::TMemoryStream out;
    int32_t length = 0;
    if (!in.ReadInt32(length) || length < 0) {
        return {};
    }
    const auto decoder = std::make_unique<Decoder>();
    decoder->Unpack(
        length,
        [&](const uint8_t* b, uint16_t n, uint16_t& done) {
            out.Write(b, n);
            done = n;
        },
        [&](uint8_t* b, uint16_t n, uint16_t& done) {
            const size_t take = std::min<size_t>(n, in.Remaining());
            done = static_cast<uint16_t>(in.Read(b, take));
        });
    return std::move(out.Bytes());
}

}  // namespace skin_bench
