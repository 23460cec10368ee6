#include "skin/data/lzh.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "skin/data/lzh_tables.h"

namespace skin {

// The work tables of one run, sized as the codec needs them.
struct TLZH::Tables {
    uint8_t text_buf[N + F - 1];
    int16_t lson[N + 1];
    int16_t dad[N + 1];
    int16_t rson[N + 257];
    // The Huffman tree in machine words: the decoder walks and updates it once per symbol,
    // and whole words spare the narrowing and widening of every step.
    uint32_t freq[T + 1];  // the extra entry is a 0xFFFF sentinel
    int32_t prnt[T + N_CHAR];
    int32_t son[T];
};

// Input taken from the get callback a block at a time; past the end it gives zero bytes.
class TLZH::BlockInput {
  public:
    explicit BlockInput(const TGetBlock& get) : get_(get) {}

    // The next byte, if there is one.
    bool next(uint8_t& b) {
        if (pos_ == end_ && !refill()) {
            return false;
        }
        b = buf_[pos_++];
        return true;
    }

  private:
    bool refill() {
        if (ended_) {
            return false;
        }
        uint16_t done = 0;
        get_(buf_, kBlock, done);
        if (done == 0) {
            ended_ = true;
            return false;
        }
        pos_ = 0;
        end_ = std::min<uint16_t>(done, kBlock);
        return true;
    }

    const TGetBlock& get_;
    uint8_t buf_[kBlock];
    uint16_t pos_ = 0;
    uint16_t end_ = 0;
    bool ended_ = false;
};

// Output gathered into blocks for the put callback.
class TLZH::BlockOutput {
  public:
    explicit BlockOutput(const TPutBlock& put) : put_(put) {}

    void byte(uint8_t b) {
        buf_[used_++] = b;
        if (used_ == kBlock) {
            flush();
        }
    }
    void flush() {
        if (used_ > 0) {
            uint16_t done = 0;
            put_(buf_, used_, done);
            used_ = 0;
        }
    }

  private:
    const TPutBlock& put_;
    uint8_t buf_[kBlock];
    uint16_t used_ = 0;
};

// The code bits, most significant first, left-aligned in a 64-bit window; bits past the end
// of the input read as 0.
class TLZH::BitInput {
  public:
    explicit BitInput(const TGetBlock& get) : bytes_(get) {}

    // Makes at least 57 bits available.
    void fill() {
        while (count_ <= 56) {
            uint8_t b = 0;
            bytes_.next(b);
            window_ |= static_cast<uint64_t>(b) << (56 - count_);
            count_ += 8;
        }
    }
    // The next n bits (1 to 32) without taking them; fill() first.
    uint32_t peek(int n) const { return static_cast<uint32_t>(window_ >> (64 - n)); }
    void skip(int n) {
        window_ <<= n;
        count_ -= n;
    }
    int bit() {
        if (count_ == 0) {
            fill();
        }
        const int b = static_cast<int>(window_ >> 63);
        window_ <<= 1;
        --count_;
        return b;
    }
    int available() const { return count_; }
    uint64_t window() const { return window_; }

  private:
    BlockInput bytes_;
    uint64_t window_ = 0;
    int count_ = 0;
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::InitLZH() {
    try {
        tables_ = std::make_unique<Tables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    putbuf = 0;
    putlen = 0;
    textsize = 0;
    codesize = 0;
    printcount = 0;
    match_position = 0;
    match_length = 0;
}

void TLZH::EndLZH() {
    tables_.reset();
}

void TLZH::GetBlockStream(uint8_t* buffer, uint16_t count, uint16_t& done) {
    done = 0;
    if (StreamIn == nullptr) {
        return;
    }
    const size_t n = std::min<size_t>(count, StreamIn->Remaining());
    done = static_cast<uint16_t>(StreamIn->Read(buffer, n));
}

void TLZH::PutBlockStream(const uint8_t* buffer, uint16_t count, uint16_t& done) {
    if (StreamOut != nullptr) {
        StreamOut->Write(buffer, count);
    }
    done = count;
}

// --- binary search trees over the ring buffer (encoder) ---

void TLZH::InitTree() {
    Tables& t = *tables_;
    for (int i = N + 1; i <= N + 256; ++i) {
        t.rson[i] = NIL;
    }
    for (int i = 0; i < N; ++i) {
        t.dad[i] = NIL;
    }
}

void TLZH::InsertNode(int r) {
    Tables& t = *tables_;
    int cmp = 1;
    const uint8_t* key = &t.text_buf[r];
    int p = N + 1 + key[0];
    t.rson[r] = t.lson[r] = NIL;
    match_length = 0;
    for (;;) {
        if (cmp >= 0) {
            if (t.rson[p] != NIL) {
                p = t.rson[p];
            } else {
                t.rson[p] = static_cast<int16_t>(r);
                t.dad[r] = static_cast<int16_t>(p);
                return;
            }
        } else {
            if (t.lson[p] != NIL) {
                p = t.lson[p];
            } else {
                t.lson[p] = static_cast<int16_t>(r);
                t.dad[r] = static_cast<int16_t>(p);
                return;
            }
        }
        int i = 1;
        for (; i < F; ++i) {
            cmp = key[i] - t.text_buf[p + i];
            if (cmp != 0) {
                break;
            }
        }
        if (i > THRESHOLD) {
            const int distance = ((r - p) & (N - 1)) - 1;
            if (i > match_length) {
                match_position = static_cast<int16_t>(distance);
                match_length = static_cast<int16_t>(i);
                if (match_length >= F) {
                    break;
                }
            }
            if (i == match_length && distance < match_position) {
                match_position = static_cast<int16_t>(distance);
            }
        }
    }
    // A full-length match: r takes p's place in the tree.
    t.dad[r] = t.dad[p];
    t.lson[r] = t.lson[p];
    t.rson[r] = t.rson[p];
    t.dad[t.lson[p]] = static_cast<int16_t>(r);
    t.dad[t.rson[p]] = static_cast<int16_t>(r);
    if (t.rson[t.dad[p]] == p) {
        t.rson[t.dad[p]] = static_cast<int16_t>(r);
    } else {
        t.lson[t.dad[p]] = static_cast<int16_t>(r);
    }
    t.dad[p] = NIL;
}

void TLZH::DeleteNode(int p) {
    Tables& t = *tables_;
    if (t.dad[p] == NIL) {
        return;
    }
    int q;
    if (t.rson[p] == NIL) {
        q = t.lson[p];
    } else if (t.lson[p] == NIL) {
        q = t.rson[p];
    } else {
        q = t.lson[p];
        if (t.rson[q] != NIL) {
            do {
                q = t.rson[q];
            } while (t.rson[q] != NIL);
            t.rson[t.dad[q]] = t.lson[q];
            t.dad[t.lson[q]] = t.dad[q];
            t.lson[q] = t.lson[p];
            t.dad[t.lson[p]] = static_cast<int16_t>(q);
        }
        t.rson[q] = t.rson[p];
        t.dad[t.rson[p]] = static_cast<int16_t>(q);
    }
    t.dad[q] = t.dad[p];
    if (t.rson[t.dad[p]] == p) {
        t.rson[t.dad[p]] = static_cast<int16_t>(q);
    } else {
        t.lson[t.dad[p]] = static_cast<int16_t>(q);
    }
    t.dad[p] = NIL;
}

// --- adaptive Huffman tree ---

void TLZH::StartHuff() {
    Tables& t = *tables_;
    for (int i = 0; i < N_CHAR; ++i) {
        t.freq[i] = 1;
        t.son[i] = i + T;
        t.prnt[i + T] = i;
    }
    int i = 0;
    for (int j = N_CHAR; j <= R; ++j, i += 2) {
        t.freq[j] = t.freq[i] + t.freq[i + 1];
        t.son[j] = i;
        t.prnt[i] = t.prnt[i + 1] = j;
    }
    t.freq[T] = 0xFFFF;
    t.prnt[R] = 0;
}

void TLZH::reconst() {
    Tables& t = *tables_;
    // Gather the leaves at the front, halving their frequencies (rounded up).
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (t.son[i] >= T) {
            t.freq[j] = (t.freq[i] + 1) / 2;
            t.son[j] = t.son[i];
            ++j;
        }
    }
    // Rebuild the internal nodes, keeping the frequencies in order.
    for (int i = 0, k = 0; j < T; i += 2, ++j) {
        const unsigned f = static_cast<unsigned>(t.freq[i]) + t.freq[i + 1];
        t.freq[j] = f;
        for (k = j - 1; f < t.freq[k]; --k) {
        }
        ++k;
        const size_t count = static_cast<size_t>(j - k);
        std::memmove(&t.freq[k + 1], &t.freq[k], count * sizeof t.freq[0]);
        t.freq[k] = f;
        std::memmove(&t.son[k + 1], &t.son[k], count * sizeof t.son[0]);
        t.son[k] = i;
    }
    for (int i = 0; i < T; ++i) {
        const int k = t.son[i];
        if (k >= T) {
            t.prnt[k] = i;
        } else {
            t.prnt[k] = t.prnt[k + 1] = i;
        }
    }
}

void TLZH::update(int c) {
    Tables& t = *tables_;
    if (t.freq[R] == MAX_FREQ) {
        reconst();
    }
    c = t.prnt[c + T];
    do {
        const unsigned k = ++t.freq[c];
        int l = c + 1;
        if (k > t.freq[l]) {
            // The order is disturbed: swap c with the last node of smaller frequency.
            while (k > t.freq[++l]) {
            }
            --l;
            t.freq[c] = t.freq[l];
            t.freq[l] = k;

            const int i = t.son[c];
            t.prnt[i] = l;
            if (i < T) {
                t.prnt[i + 1] = l;
            }
            const int j = t.son[l];
            t.son[l] = i;
            t.prnt[j] = c;
            if (j < T) {
                t.prnt[j + 1] = c;
            }
            t.son[c] = j;
            c = l;
        }
        c = t.prnt[c];
    } while (c != 0);
}

// --- bit input and output ---

// Sends the top l bits (l <= 16) of c.
void TLZH::Putcode(int l, uint16_t c) {
    putbuf = static_cast<uint16_t>(putbuf | (c >> putlen));
    putlen = static_cast<uint8_t>(putlen + l);
    if (putlen >= 8) {
        out_->byte(static_cast<uint8_t>(putbuf >> 8));
        putlen = static_cast<uint8_t>(putlen - 8);
        if (putlen >= 8) {
            out_->byte(static_cast<uint8_t>(putbuf));
            codesize += 2;
            putlen = static_cast<uint8_t>(putlen - 8);
            putbuf = static_cast<uint16_t>(c << (l - putlen));
        } else {
            putbuf = static_cast<uint16_t>(putbuf << 8);
        }
        ++codesize;
    }
}

void TLZH::EncodeChar(unsigned c) {
    Tables& t = *tables_;
    // Walk from the leaf to the root; an odd node is the larger of two brothers (bit 1). The
    // path is gathered in 64 bits, as a tree whose root frequency stays below 0x8000 cannot
    // grow deeper than that, and sent in pieces of at most 16 bits.
    uint64_t bits = 0;
    int depth = 0;
    int k = t.prnt[c + T];
    do {
        bits >>= 1;
        if (k & 1) {
            bits |= uint64_t{1} << 63;
        }
        ++depth;
        k = t.prnt[k];
    } while (k != R);
    code = static_cast<uint16_t>(bits >> 48);
    len = static_cast<uint16_t>(depth);
    for (int sent = 0; sent < depth; sent += 16) {
        const int piece = std::min(16, depth - sent);
        Putcode(piece, static_cast<uint16_t>((bits << sent) >> 48));
    }
    update(static_cast<int>(c));
}

void TLZH::EncodePosition(unsigned c) {
    const unsigned i = c >> 6;
    Putcode(lzh_tables::p_len[i], static_cast<uint16_t>(lzh_tables::p_code[i] << 8));
    Putcode(6, static_cast<uint16_t>((c & 0x3F) << 10));
}

void TLZH::EncodeEnd() {
    if (putlen != 0) {
        out_->byte(static_cast<uint8_t>(putbuf >> 8));
        ++codesize;
    }
}

int TLZH::DecodeChar(BitInput& in) {
    Tables& t = *tables_;
    // The walk reads the bits straight from the window, at least 57 of them; a tree whose
    // root frequency stays below 0x8000 is less than 25 levels deep, so the bit-by-bit rest
    // is there only for completeness.
    in.fill();
    uint64_t window = in.window();
    int used = 0;
    int c = t.son[R];
    while (c < T && used < 57) {
        c = t.son[c + static_cast<int>(window >> 63)];
        window <<= 1;
        ++used;
    }
    in.skip(used);
    while (c < T) {
        c = t.son[c + in.bit()];
    }
    c -= T;
    update(c);
    return c;
}

// The upper 6 bits of the position come from the table by the next 8 bits, which also give
// the length of their code; the lower 6 bits are the last 6 of the code's d_len + 6 bits.
int TLZH::DecodePosition(BitInput& in) {
    if (in.available() < 16) {
        in.fill();
    }
    const uint32_t i = in.peek(8);
    const int n = lzh_tables::decode_tables.d_len[i] + 6;
    const uint32_t lower = in.peek(n) & 0x3F;
    in.skip(n);
    return static_cast<int>((static_cast<uint32_t>(lzh_tables::decode_tables.d_code[i]) << 6) |
                            lower);
}

// --- the two directions ---

void TLZH::LZHUnpack(int32_t length, const TPutBlock& put, const TGetBlock& get) {
    InitLZH();
    struct Ender {
        TLZH* self;
        ~Ender() { self->EndLZH(); }
    } ender{this};
    Tables& t = *tables_;
    BitInput in(get);

    StartHuff();
    std::memset(t.text_buf, ' ', N - F);
    // The ring is also the output buffer: what lies between `flushed` and r has been decoded
    // and not yet handed out, and is handed out whenever r comes round to the start.
    uint8_t* const ring = t.text_buf;
    int r = N - F;
    int flushed = r;
    const auto hand_out = [&] {
        if (r > flushed) {
            uint16_t done = 0;
            put(ring + flushed, static_cast<uint16_t>(r - flushed), done);
        }
        if (r == N) {
            r = 0;
        }
        flushed = r;
    };
    int32_t count = 0;
    while (count < length) {
        const int c = DecodeChar(in);
        if (c < 256) {
            ring[r++] = static_cast<uint8_t>(c);
            ++count;
            if (r == N) {
                hand_out();
            }
            continue;
        }
        int i = (r - DecodePosition(in) - 1) & (N - 1);
        // A match never carries the output past the requested length.
        const int j = static_cast<int>(std::min<int32_t>(c - 255 + THRESHOLD, length - count));
        count += j;
        if (r + j <= N && i + j <= N && (i >= r || i + j <= r)) {
            // Neither end wraps, and no byte is read after this copy has written it: a block
            // move gives what byte-by-byte copying gives.
            std::memmove(ring + r, ring + i, static_cast<size_t>(j));
            r += j;
            if (r == N) {
                hand_out();
            }
            continue;
        }
        if (r - i == 1 && r + j <= N) {
            // A run of the byte just written.
            std::memset(ring + r, ring[i], static_cast<size_t>(j));
            r += j;
            if (r == N) {
                hand_out();
            }
            continue;
        }
        for (int k = 0; k < j; ++k) {
            ring[r++] = ring[i];
            i = (i + 1) & (N - 1);
            if (r == N) {
                hand_out();
            }
        }
    }
    hand_out();
    textsize = count;
}

void TLZH::LZHPack(int32_t& bytes_consumed, const TPutBlock& put, const TGetBlock& get) {
    InitLZH();
    BlockInput in(get);
    BlockOutput out(put);
    out_ = &out;
    struct Ender {
        TLZH* self;
        ~Ender() {
            self->out_ = nullptr;
            self->EndLZH();
        }
    } ender{this};
    Tables& t = *tables_;

    StartHuff();
    InitTree();
    int s = 0;
    int r = N - F;
    std::memset(t.text_buf, ' ', static_cast<size_t>(r));
    int length = 0;
    uint8_t b = 0;
    while (length < F && in.next(b)) {
        t.text_buf[r + length] = b;
        ++length;
    }
    textsize = length;
    if (length > 0) {
        for (int i = 1; i <= F; ++i) {
            InsertNode(r - i);
        }
        InsertNode(r);
        do {
            if (match_length > length) {
                match_length = static_cast<int16_t>(length);
            }
            if (match_length <= THRESHOLD) {
                match_length = 1;
                EncodeChar(t.text_buf[r]);
            } else {
                EncodeChar(static_cast<unsigned>(255 - THRESHOLD + match_length));
                EncodePosition(static_cast<unsigned>(match_position));
            }
            const int last_match_length = match_length;
            int i = 0;
            for (; i < last_match_length && in.next(b); ++i) {
                DeleteNode(s);
                t.text_buf[s] = b;
                if (s < F - 1) {
                    t.text_buf[s + N] = b;
                }
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                InsertNode(r);
            }
            textsize += i;
            while (i++ < last_match_length) {
                DeleteNode(s);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                if (--length != 0) {
                    InsertNode(r);
                }
            }
        } while (length > 0);
    }
    EncodeEnd();
    out.flush();
    bytes_consumed = textsize;
}

}  // namespace skin
