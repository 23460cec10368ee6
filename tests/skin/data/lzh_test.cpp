#include "skin/data/lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "skin/data/lzh_tables.h"
#include "skin/data/skin_stream.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes pack(const Bytes& in) {
    return compress_bytes(in);
}

Bytes unpack(const Bytes& stream) {
    auto out = decompress_bytes(stream);
    EXPECT_TRUE(out.has_value());
    return out.value_or(Bytes{});
}

Bytes random_bytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& x : b) {
        x = static_cast<uint8_t>(rng());
    }
    return b;
}

TEST(LzhTables, DecodingTablesMatchThePrintedOnes) {
    const auto& t = lzh_tables::decode_tables;
    // Spot checks at the boundaries of each code-length group.
    EXPECT_EQ(t.d_code[0x00], 0x00);
    EXPECT_EQ(t.d_len[0x1F], 3);
    EXPECT_EQ(t.d_code[0x20], 0x01);
    EXPECT_EQ(t.d_len[0x20], 4);
    EXPECT_EQ(t.d_code[0x50], 0x04);
    EXPECT_EQ(t.d_code[0x57], 0x04);
    EXPECT_EQ(t.d_code[0x90], 0x0C);
    EXPECT_EQ(t.d_len[0x90], 6);
    EXPECT_EQ(t.d_code[0xC0], 0x18);
    EXPECT_EQ(t.d_len[0xC1], 7);
    EXPECT_EQ(t.d_code[0xF0], 0x30);
    EXPECT_EQ(t.d_code[0xFF], 0x3F);
    EXPECT_EQ(t.d_len[0xFF], 8);
}

TEST(Lzh, RoundTripsReturnTheInputUnchanged) {
    std::vector<Bytes> inputs;
    inputs.push_back({});
    inputs.push_back({0x41});
    inputs.push_back({0x20});
    inputs.push_back(Bytes(5000, 0x20));  // matches the pre-filled ring at once
    inputs.push_back(Bytes(3, 0x20));     // shorter than a match, at the end
    Bytes spaces_then_text(100, 0x20);
    for (char c : std::string("skin package")) {
        spaces_then_text.push_back(static_cast<uint8_t>(c));
    }
    inputs.push_back(spaces_then_text);
    inputs.push_back(random_bytes(1, 1));
    inputs.push_back(random_bytes(61, 2));
    inputs.push_back(random_bytes(70000, 3));
    Bytes structured;
    for (int i = 0; i < 200000; ++i) {
        structured.push_back(static_cast<uint8_t>((i % 97) < 50 ? i % 7 : (i * 31) >> 5));
    }
    inputs.push_back(structured);
    Bytes one_value(300000, 0xAB);  // drives the root frequency to the rescale point
    inputs.push_back(one_value);
    for (const Bytes& in : inputs) {
        const Bytes stream = pack(in);
        ASSERT_GE(stream.size(), 4u);
        EXPECT_EQ(unpack(stream), in) << "input of " << in.size() << " bytes";
    }
}

TEST(Lzh, RunsOfShortPatternsRoundTrip) {
    // Pixels of 1 to 9 bytes repeated: matches whose source lies a few bytes behind them, of
    // every length from the shortest to the longest, and runs that end at odd places.
    Bytes in;
    std::mt19937 rng(12);
    for (int period = 1; period <= 9; ++period) {
        for (int length : {3, 7, 8, 9, 15, 16, 17, 31, 60, 61, 119, 500}) {
            for (int k = 0; k < 5; ++k) {
                in.push_back(static_cast<uint8_t>(rng()));  // breaks the run before it
            }
            Bytes pattern(static_cast<size_t>(period));
            for (auto& b : pattern) {
                b = static_cast<uint8_t>(rng());
            }
            for (int k = 0; k < period + length; ++k) {
                in.push_back(pattern[static_cast<size_t>(k % period)]);
            }
        }
    }
    EXPECT_EQ(unpack(pack(in)), in);
}

TEST(Lzh, EmptyInputGivesOnlyTheLength) {
    const Bytes stream = pack({});
    EXPECT_EQ(stream, (Bytes{0, 0, 0, 0}));
}

TEST(Lzh, CompressesRepetitiveData) {
    const Bytes in(100000, 7);
    EXPECT_LT(pack(in).size(), in.size() / 20);
}

TEST(Lzh, StopsAfterExactlyTheRequestedLength) {
    // 200 equal bytes code as a literal and a few long matches; asking for fewer bytes stops
    // inside a match.
    Bytes stream = pack(Bytes(200, 'x'));
    for (int32_t want : {0, 1, 5, 61, 199}) {
        Bytes s = stream;
        s[0] = static_cast<uint8_t>(want);
        s[1] = s[2] = s[3] = 0;
        const Bytes out = unpack(s);
        EXPECT_EQ(out, Bytes(static_cast<size_t>(want), 'x'));
    }
}

TEST(Lzh, MissingBitsReadAsZero) {
    const Bytes in = random_bytes(4000, 9);
    Bytes stream = pack(in);
    Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2));
    Bytes padded = cut;
    padded.resize(stream.size() + 64, 0);
    // The cut stream still yields L bytes, the same as the stream padded with zero bytes.
    const Bytes a = unpack(cut);
    const Bytes b = unpack(padded);
    ASSERT_EQ(a.size(), in.size());
    EXPECT_EQ(a, b);
    // Its first part is intact.
    EXPECT_TRUE(std::equal(in.begin(), in.begin() + 1000, a.begin()));
}

TEST(Lzh, CountsTheConsumedInput) {
    TMemoryStream in(random_bytes(12345, 4));
    TMemoryStream out;
    TLZH lzh;
    lzh.StreamIn = &in;
    lzh.StreamOut = &out;
    int32_t consumed = -1;
    lzh.LZHPack(
        consumed, [&](const uint8_t* b, uint16_t n, uint16_t& d) { lzh.PutBlockStream(b, n, d); },
        [&](uint8_t* b, uint16_t n, uint16_t& d) { lzh.GetBlockStream(b, n, d); });
    EXPECT_EQ(consumed, 12345);
}

Bytes read_vector(const std::string& name) {
    std::ifstream f(std::string(LZHUF_VECTORS) + "/" + name, std::ios::binary);
    EXPECT_TRUE(f.good()) << name;
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Streams coded independently by the classic algorithm: the codec agrees with it bit for bit,
// both ways (an empty input, one literal, matches against the initial spaces, text, literals
// only with deep codes, and input long enough to rescale the tree).
TEST(Lzh, AgreesWithStreamsCodedElsewhere) {
    for (const char* name :
         {"empty-0", "one-1", "run-5000", "text-1000", "noise-20000", "mixed-70000"}) {
        SCOPED_TRACE(name);
        const Bytes input = read_vector(std::string(name) + ".bin");
        const Bytes stream = read_vector(std::string(name) + ".lzh");
        ASSERT_GE(stream.size(), 4u);
        EXPECT_EQ(unpack(stream), input);
        EXPECT_EQ(pack(input), stream);
    }
}

// Callers may deliver input in pieces of any size and must see the same output, in blocks no
// larger than the codec's block.
TEST(Lzh, BlockCallbacksGiveTheSameBytesWhateverThePieces) {
    const Bytes input = read_vector("mixed-70000.bin");
    const Bytes stream = read_vector("mixed-70000.lzh");
    int32_t length = 0;
    std::memcpy(&length, stream.data(), 4);
    for (uint16_t piece : {1, 7, 4096, 65535}) {
        SCOPED_TRACE(piece);
        size_t at = 4;
        Bytes out;
        size_t calls = 0;
        TLZH lzh;
        lzh.LZHUnpack(
            length,
            [&](const uint8_t* b, uint16_t n, uint16_t& done) {
                EXPECT_LE(n, TLZH::kBlock);
                out.insert(out.end(), b, b + n);
                done = n;
                ++calls;
            },
            [&](uint8_t* b, uint16_t n, uint16_t& done) {
                const size_t take = std::min<size_t>({n, piece, stream.size() - at});
                std::memcpy(b, stream.data() + at, take);
                at += take;
                done = static_cast<uint16_t>(take);
            });
        EXPECT_EQ(out, input);
        EXPECT_LE(calls, input.size() / 1000);
        // The coder takes its input in pieces the same way.
        at = 0;
        Bytes coded;
        int32_t consumed = 0;
        lzh.LZHPack(
            consumed,
            [&](const uint8_t* b, uint16_t n, uint16_t& done) {
                coded.insert(coded.end(), b, b + n);
                done = n;
            },
            [&](uint8_t* b, uint16_t n, uint16_t& done) {
                const size_t take = std::min<size_t>({n, piece, input.size() - at});
                std::memcpy(b, input.data() + at, take);
                at += take;
                done = static_cast<uint16_t>(take);
            });
        EXPECT_EQ(consumed, static_cast<int32_t>(input.size()));
        EXPECT_EQ(coded, Bytes(stream.begin() + 4, stream.end()));
    }
}

}  // namespace
}  // namespace skin
