#include "skin/data/lzh.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "skin/data/lzh_tables.h"
#include "skin/data/lzh_work_tables.h"

namespace skin {

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

namespace {

// Adds one occurrence to the leaf at position c and to every node above it, keeping the nodes
// ordered by frequency: a node whose count passes that of the next node changes places with
// the last node of its old count, taking its subtree along, and the walk goes on from its new
// place.
void count_path(uint32_t* freq, int32_t* prnt, int32_t* son, int c) {
    constexpr int T = TLZH::T;
    do {
        const uint32_t k = ++freq[c];
        int l = c + 1;
        if (k > freq[l]) {
            while (k > freq[++l]) {
            }
            --l;
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
        c = prnt[c];
    } while (c != 0);
}

}  // namespace

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
    t.freq[kSpare] = 0;
    t.freq[kSpare + 1] = UINT32_MAX;
    t.prnt[R] = 0;
}

void TLZH::reconst() {
    Tables& t = *tables_;
    t.freq[kSpare] = 0;
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
        // The new node goes after every node of the same or a smaller count.
        k = static_cast<int>(std::upper_bound(t.freq, t.freq + j, f) - t.freq);
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
    count_path(t.freq, t.prnt, t.son, t.prnt[c + T]);
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

// --- coding (decoding is in lzh_unpack.cpp) ---

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
