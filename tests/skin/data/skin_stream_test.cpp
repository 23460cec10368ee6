#include "skin/data/skin_stream.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SkinStreamProperty, EnvelopeRoundTripsAndEmptyCases) {
    const Bytes layer2 = compress_bytes(Bytes(1000, 'q'));
    TMemoryStream stored(wrap_skin_stream(layer2));
    ASSERT_EQ(stored.Size(), layer2.size() + 4);
    TMemoryStream data;
    ASSERT_EQ(ReadSkinStream(stored, data), SkinStreamRead::Loaded);
    EXPECT_EQ(data.Bytes(), layer2);

    TMemoryStream written;
    WriteSkinStream(written, data);
    EXPECT_EQ(written.Bytes(), stored.Bytes());

    // N = 0 writes and reads as no skin, with no bytes after the count.
    TMemoryStream none;
    WriteSkinStream(none, TMemoryStream{});
    EXPECT_EQ(none.Bytes(), (Bytes{0, 0, 0, 0}));
    none.SetPosition(0);
    EXPECT_EQ(ReadSkinStream(none, data), SkinStreamRead::NoSkin);
    TMemoryStream negative(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 2});
    EXPECT_EQ(ReadSkinStream(negative, data), SkinStreamRead::NoSkin);
}

TEST(SkinStreamProperty, CountPastTheStoredBytesIsDamaged) {
    TMemoryStream stored(Bytes{10, 0, 0, 0, 1, 2, 3});
    TMemoryStream data(Bytes{9});
    EXPECT_EQ(ReadSkinStream(stored, data), SkinStreamRead::Damaged);
    EXPECT_EQ(data.Bytes(), Bytes{9});
}

TEST(CompressedStream, LengthsTheInputCannotJustifyAreRefused) {
    // 2 GB claimed from 4 code bytes: refused before anything is decoded or allocated.
    EXPECT_FALSE(decompress_bytes(Bytes{0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4}).has_value());
    EXPECT_FALSE(decompress_bytes(Bytes{0, 0, 0, 0x80}).has_value());  // negative
    EXPECT_FALSE(decompress_bytes(Bytes{1, 0}).has_value());           // no length at all
    EXPECT_EQ(package_size_ceiling(0), 65536u);
    EXPECT_EQ(package_size_ceiling(size_t{1} << 40), kMaxPackageSize);
    // At the ceiling a stream still decodes (zero bits past the end).
    Bytes at_ceiling{0, 0, 1, 0, 0, 0, 0, 0};  // L = 65536 from 4 code bytes fits 64 * 4 + 65536
    auto out = decompress_bytes(at_ceiling);
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->size(), 65536u);
}

TEST(CompressedStream, HighlyCompressibleRealDataStaysUnderTheCeiling) {
    // The best case of the codec must stay inside the ceiling it is judged by.
    const Bytes in(4 << 20, 0);
    const Bytes stream = compress_bytes(in);
    EXPECT_LE(in.size(), package_size_ceiling(stream.size() - 4));
    EXPECT_EQ(decompress_bytes(stream).value_or(Bytes{}), in);
}

}  // namespace
}  // namespace skin
