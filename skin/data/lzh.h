#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "skin/data/memory_stream.h"

namespace skin {

// Raised when the codec's dictionary tables cannot be had or given back.
class ElzhException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The LZHUF codec of skin packages: LZSS over a 4096-byte ring with matches of 3 to 60 bytes,
// adaptive Huffman coding of literals and match lengths, and a fixed code for the upper 6 bits
// of a match position. Bits are sent most significant first.
class TLZH {
  public:
    static constexpr int N = 4096;
    static constexpr int F = 60;
    static constexpr int THRESHOLD = 2;
    static constexpr int NIL = N;
    static constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314
    static constexpr int T = N_CHAR * 2 - 1;            // 627
    static constexpr int R = T - 1;                     // 626
    static constexpr unsigned MAX_FREQ = 0x8000;
    static constexpr int kSpare = T + 1;  // a node outside the tree (see the work tables)

    // Block callbacks: (buffer, count, bytes done). The codec asks for input and hands out
    // output in blocks of up to kBlock bytes; a get that delivers fewer bytes than asked (none
    // at the end) is asked again when more are needed.
    static constexpr uint16_t kBlock = 4096;
    using TGetBlock = std::function<void(uint8_t* buffer, uint16_t count, uint16_t& done)>;
    using TPutBlock = std::function<void(const uint8_t* buffer, uint16_t count, uint16_t& done)>;

    TLZH();
    ~TLZH();
    TLZH(const TLZH&) = delete;
    TLZH& operator=(const TLZH&) = delete;

    // Produces exactly length bytes through put; input bits missing at the end read as 0.
    // The input is read ahead by up to one block beyond the bits the code uses.
    void LZHUnpack(int32_t length, const TPutBlock& put, const TGetBlock& get);
    // Codes everything get delivers; bytes_consumed receives the number of input bytes.
    void LZHPack(int32_t& bytes_consumed, const TPutBlock& put, const TGetBlock& get);

    // Stream adapters over StreamIn and StreamOut.
    void GetBlockStream(uint8_t* buffer, uint16_t count, uint16_t& done);
    void PutBlockStream(const uint8_t* buffer, uint16_t count, uint16_t& done);

    TStream* StreamIn = nullptr;
    TStream* StreamOut = nullptr;

    // The work tables of one run (skin/data/lzh_work_tables.h), for the codec's own helpers.
    struct Tables;

  private:
    class BlockInput;
    class BlockOutput;

    void InitLZH();
    void EndLZH();

    // Tree of earlier strings for the encoder.
    void InitTree();
    void InsertNode(int r);
    void DeleteNode(int p);

    // Adaptive Huffman tree.
    void StartHuff();
    void reconst();
    void update(int c);

    void Putcode(int l, uint16_t c);
    void EncodeChar(unsigned c);
    void EncodePosition(unsigned c);
    void EncodeEnd();

    uint16_t code = 0;
    uint16_t len = 0;
    uint8_t putlen = 0;
    uint16_t putbuf = 0;
    int32_t textsize = 0;
    int32_t codesize = 0;
    int32_t printcount = 0;
    int16_t match_position = 0;
    int16_t match_length = 0;

    std::unique_ptr<Tables> tables_;
    BlockOutput* out_ = nullptr;  // the encoder's output while LZHPack runs
};

}  // namespace skin
