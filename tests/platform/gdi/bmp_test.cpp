#include "platform/gdi/bmp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace gdi {
namespace {

Bitmap picture(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_color(x, y,
                        rgb(static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y * 60),
                            static_cast<uint8_t>(x + y)));
    return b;
}

struct Case {
    int bpp;
    bool top_down;
};

class BmpRoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(BmpRoundTrip, PixelsSurviveWritingAndReading) {
    // Odd widths exercise the row padding.
    for (int w : {1, 3, 5}) {
        const Bitmap b = picture(w, 4);
        const std::vector<uint8_t> bytes = encode_bmp(b, GetParam().bpp, GetParam().top_down);
        ASSERT_FALSE(bytes.empty());
        const BmpResult r = read_bmp(bytes);
        ASSERT_TRUE(r.ok()) << describe(r.error);
        EXPECT_EQ(r.bitmap, b) << "width " << w;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         ::testing::Values(Case{8, false}, Case{8, true}, Case{24, false},
                                           Case{24, true}, Case{32, false}, Case{32, true}));

TEST(Bmp, BottomUpRowsAreFlipped) {
    Bitmap b(1, 2);
    b.set_color(0, 0, rgb(255, 0, 0));
    b.set_color(0, 1, rgb(0, 0, 255));
    const std::vector<uint8_t> bytes = encode_bmp(b, 24, false);
    // The first stored row is the bottom one: blue, stored as B G R.
    EXPECT_EQ(bytes[54], 255);
    EXPECT_EQ(bytes[56], 0);
    EXPECT_EQ(read_bmp(bytes).bitmap.color_at(0, 0), rgb(255, 0, 0));
}

TEST(Bmp, EightBitsWithMoreThan256ColoursCannotBeWritten) {
    EXPECT_TRUE(encode_bmp(picture(20, 20), 8).empty());
    EXPECT_TRUE(encode_bmp(Bitmap(), 24).empty());
    EXPECT_TRUE(encode_bmp(picture(2, 2), 16).empty());
}

// A hand-made 4-bit and 1-bit file: the readers of the small depths.
std::vector<uint8_t> handmade(int bpp, std::vector<uint8_t> palette, std::vector<uint8_t> rows,
                              int w, int h, uint32_t colours) {
    std::vector<uint8_t> v(54, 0);
    auto put32 = [&](size_t at, uint32_t x) {
        for (int i = 0; i < 4; ++i)
            v[at + i] = static_cast<uint8_t>(x >> (8 * i));
    };
    v[0] = 'B';
    v[1] = 'M';
    put32(10, static_cast<uint32_t>(54 + palette.size()));
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    v[26] = 1;
    v[28] = static_cast<uint8_t>(bpp);
    put32(46, colours);
    v.insert(v.end(), palette.begin(), palette.end());
    v.insert(v.end(), rows.begin(), rows.end());
    put32(2, static_cast<uint32_t>(v.size()));
    return v;
}

TEST(Bmp, ReadsFourAndOneBitPalettes) {
    // Palette: 0 black, 1 red, 2 green (B G R x).
    const std::vector<uint8_t> pal = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0};
    const BmpResult four = read_bmp(handmade(4, pal, {0x12, 0x00, 0x00, 0x00}, 3, 1, 3));
    ASSERT_TRUE(four.ok()) << describe(four.error);
    EXPECT_EQ(four.bitmap.color_at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(four.bitmap.color_at(1, 0), rgb(0, 255, 0));
    EXPECT_EQ(four.bitmap.color_at(2, 0), rgb(0, 0, 0));
    const BmpResult one =
        read_bmp(handmade(1, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0}, 3, 1, 2));
    ASSERT_TRUE(one.ok());
    EXPECT_EQ(one.bitmap.color_at(0, 0), rgb(255, 255, 255));
    EXPECT_EQ(one.bitmap.color_at(1, 0), rgb(0, 0, 0));
    EXPECT_EQ(one.bitmap.color_at(2, 0), rgb(255, 255, 255));
    // An index past the colours given reads as black rather than as stray memory.
    const BmpResult past = read_bmp(handmade(4, pal, {0xF0, 0, 0, 0}, 1, 1, 3));
    ASSERT_TRUE(past.ok());
    EXPECT_EQ(past.bitmap.color_at(0, 0), 0u);
}

// A run-length-coded file: the hand-made helper's layout with the compression and code size.
std::vector<uint8_t> rle_file(int bpp, const std::vector<uint8_t>& palette,
                              const std::vector<uint8_t>& code, int w, int h) {
    std::vector<uint8_t> v = handmade(bpp, palette, code, w, h, 0);
    v[30] = bpp == 8 ? 1 : 2;
    const auto size = static_cast<uint32_t>(code.size());
    for (int i = 0; i < 4; ++i)
        v[34 + i] = static_cast<uint8_t>(size >> (8 * i));
    return v;
}

// Palette: 0 black, 1 red, 2 green, 3 blue (B G R x).
const std::vector<uint8_t> kRlePalette = {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};

std::vector<Color> row_colours(const Bitmap& b, int y) {
    std::vector<Color> out;
    for (int x = 0; x < b.width(); ++x)
        out.push_back(b.color_at(x, y));
    return out;
}

TEST(Bmp, ACallersPixelLimitRefusesTheImageBeforeItIsMade) {
    const std::vector<uint8_t> code = {0x00, 0x01};  // end of bitmap: all of it background
    EXPECT_TRUE(read_bmp(rle_file(8, kRlePalette, code, 100, 100)).ok());
    EXPECT_EQ(read_bmp(rle_file(8, kRlePalette, code, 100, 100), 9999).error, BmpError::BadSize);
    EXPECT_TRUE(read_bmp(rle_file(8, kRlePalette, code, 100, 100), 10000).ok());
    EXPECT_EQ(read_bmp(rle_file(8, kRlePalette, code, 100, 100), -5).error, BmpError::BadSize);
}

TEST(Bmp, RunLengthEightBitsWithEveryEscape) {
    const Color k = rgb(0, 0, 0), r = rgb(255, 0, 0), g = rgb(0, 255, 0), b = rgb(0, 0, 255);
    const std::vector<uint8_t> code = {
        0x03, 0x01, 0x00, 0x00,              // bottom row: 3 red, end of line
        0x00, 0x03, 0x02, 0x03, 0x01, 0x00,  // literal green blue red, one pad byte
        0x00, 0x00,                          // end of line
        0x00, 0x02, 0x02, 0x00,              // top row: move right by 2
        0x02, 0x03, 0x06, 0x01,              // 2 blue, then 6 red cut at the edge
        0x00, 0x01,                          // end of bitmap
        0x04, 0x02};                         // after the end: never read
    const BmpResult rle = read_bmp(rle_file(8, kRlePalette, code, 4, 3));
    ASSERT_TRUE(rle.ok()) << describe(rle.error);
    EXPECT_EQ(row_colours(rle.bitmap, 0), (std::vector<Color>{k, k, b, b}));
    EXPECT_EQ(row_colours(rle.bitmap, 1), (std::vector<Color>{g, b, r, k}));
    EXPECT_EQ(row_colours(rle.bitmap, 2), (std::vector<Color>{r, r, r, k}));

    // A move up by one from the bottom row lands on the middle row at the same column.
    const BmpResult delta = read_bmp(rle_file(
        8, kRlePalette, {0x01, 0x03, 0x00, 0x02, 0x01, 0x01, 0x01, 0x02, 0x00, 0x01}, 3, 2));
    ASSERT_TRUE(delta.ok());
    EXPECT_EQ(row_colours(delta.bitmap, 1), (std::vector<Color>{b, k, k}));
    EXPECT_EQ(row_colours(delta.bitmap, 0), (std::vector<Color>{k, k, g}));
}

TEST(Bmp, RunLengthFourBitsAlternatesNibbles) {
    const Color k = rgb(0, 0, 0), r = rgb(255, 0, 0), g = rgb(0, 255, 0), b = rgb(0, 0, 255);
    const std::vector<uint8_t> code = {0x05, 0x12, 0x00, 0x00,  // bottom: red green red green red
                                       0x00, 0x05, 0x30, 0x12,
                                       0x30, 0x00,  // literal of 5 nibbles: 3 bytes and a pad
                                       0x00, 0x01};
    const BmpResult rle = read_bmp(rle_file(4, kRlePalette, code, 5, 2));
    ASSERT_TRUE(rle.ok()) << describe(rle.error);
    EXPECT_EQ(row_colours(rle.bitmap, 1), (std::vector<Color>{r, g, r, g, r}));
    EXPECT_EQ(row_colours(rle.bitmap, 0), (std::vector<Color>{b, k, r, g, b}));
    // RLE4 at 8 bits (or RLE8 at 4) is no code the reader knows.
    std::vector<uint8_t> mismatched = rle_file(4, kRlePalette, code, 5, 2);
    mismatched[30] = 1;
    EXPECT_EQ(read_bmp(mismatched).error, BmpError::UnsupportedCompression);
}

TEST(Bmp, RunLengthCodeThatLeavesTheImageOrEndsEarlyWritesNothingOutside) {
    // A run past the right edge, a move far right and runs there, then a move past the top:
    // only the pixels inside the image change (the sanitizer build checks the rest).
    const std::vector<uint8_t> wild = {0x05, 0x01, 0x00, 0x00, 0x00, 0x02, 0xFF, 0x00,
                                       0x03, 0x02, 0x00, 0x02, 0x00, 0xFF, 0x09, 0x03};
    const Color k = rgb(0, 0, 0), r = rgb(255, 0, 0), g = rgb(0, 255, 0);
    const BmpResult w8 = read_bmp(rle_file(8, kRlePalette, wild, 2, 2));
    ASSERT_TRUE(w8.ok()) << describe(w8.error);
    EXPECT_EQ(row_colours(w8.bitmap, 1), (std::vector<Color>{r, r}));
    EXPECT_EQ(row_colours(w8.bitmap, 0), (std::vector<Color>{k, k}));
    const BmpResult w4 = read_bmp(rle_file(4, kRlePalette, wild, 2, 2));
    ASSERT_TRUE(w4.ok()) << describe(w4.error);
    EXPECT_EQ(row_colours(w4.bitmap, 1), (std::vector<Color>{k, r}));
    EXPECT_EQ(row_colours(w4.bitmap, 0), (std::vector<Color>{k, k}));
    // A literal run longer than the data left takes what there is.
    const BmpResult lit8 = read_bmp(rle_file(8, kRlePalette, {0x00, 0x09, 0x01, 0x02}, 3, 1));
    EXPECT_EQ(row_colours(lit8.bitmap, 0), (std::vector<Color>{r, g, k}));
    const BmpResult lit4 = read_bmp(rle_file(4, kRlePalette, {0x00, 0x09, 0x01, 0x02}, 3, 1));
    EXPECT_EQ(row_colours(lit4.bitmap, 0), (std::vector<Color>{k, r, k}));
    // Cut anywhere, a file still reads: what the code has reached is drawn, the rest is
    // palette entry 0. Cut inside the headers, it is refused as before.
    const std::vector<uint8_t> code = {0x02, 0x01, 0x00, 0x00, 0x00, 0x03, 0x02, 0x03, 0x01, 0x00};
    const std::vector<uint8_t> whole = rle_file(8, kRlePalette, code, 3, 2);
    for (size_t n = 70; n <= whole.size(); ++n) {
        const BmpResult r = read_bmp(std::span(whole.data(), n));
        ASSERT_TRUE(r.ok()) << n;
        EXPECT_EQ(r.bitmap.width(), 3);
    }
    EXPECT_EQ(read_bmp(std::span(whole.data(), 60)).error, BmpError::Truncated);
    // A code size in the header shorter than the data ends the code there.
    std::vector<uint8_t> short_size = whole;
    short_size[34] = 2;
    const BmpResult cut = read_bmp(short_size);
    ASSERT_TRUE(cut.ok());
    EXPECT_EQ(cut.bitmap.color_at(1, 1), rgb(255, 0, 0));
    EXPECT_EQ(cut.bitmap.color_at(0, 0), rgb(0, 0, 0));
}

TEST(Bmp, BrokenFilesGiveAnErrorAndAnEmptyBitmap) {
    const std::vector<uint8_t> good = encode_bmp(picture(3, 3), 24);
    // Every truncation fails cleanly; only the padding of the last row may be missing.
    for (size_t n = 0; n < good.size() - 3; ++n) {
        const BmpResult r = read_bmp(std::span(good.data(), n));
        EXPECT_FALSE(r.ok()) << n;
        EXPECT_TRUE(r.bitmap.empty());
    }
    auto patched = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> v = good;
        for (size_t i = 0; i < bytes.size(); ++i)
            v[at + i] = bytes[i];
        return read_bmp(v).error;
    };
    EXPECT_EQ(patched(0, {'X'}), BmpError::NotBmp);
    EXPECT_EQ(patched(14, {99}), BmpError::NotBmp);
    EXPECT_EQ(patched(18, {0, 0, 0, 0}), BmpError::BadSize);
    EXPECT_EQ(patched(18, {0xFF, 0xFF, 0xFF, 0xFF}), BmpError::BadSize);  // negative width
    EXPECT_EQ(patched(18, {0, 0, 1, 0, 0, 0, 1, 0}), BmpError::BadSize);  // 65536 x 65536
    EXPECT_EQ(patched(22, {0, 0, 0, 0x80}), BmpError::BadSize);           // INT_MIN height
    EXPECT_EQ(patched(28, {7}), BmpError::UnsupportedDepth);
    EXPECT_EQ(patched(30, {1}), BmpError::UnsupportedCompression);  // RLE8
    const std::vector<uint8_t> eight = encode_bmp(picture(2, 2), 8);
    std::vector<uint8_t> bad_palette = eight;
    bad_palette[46] = 0;
    bad_palette[47] = 2;  // 512 colours for 8 bits
    EXPECT_EQ(read_bmp(bad_palette).error, BmpError::BadPalette);
    EXPECT_EQ(read_bmp_file("/nonexistent/file.bmp").error, BmpError::Io);
}

TEST(Bmp, FilesRoundTrip) {
    const std::string path = ::testing::TempDir() + "gdi_bmp_test.bmp";
    const Bitmap b = picture(7, 5);
    ASSERT_EQ(write_bmp_file(path, b, 32, true), BmpError::None);
    EXPECT_EQ(read_bmp_file(path).bitmap, b);
    std::remove(path.c_str());
}

TEST(Bmp, PackedDibWithoutFileHeader) {
    const std::vector<uint8_t> file = encode_bmp(picture(2, 2), 24);
    const BmpResult r = read_dib(std::span(file).subspan(14));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.bitmap, picture(2, 2));
}

TEST(Bmp, TheSmallCorpusFilesReadAsWritten) {
    const std::string dir = GDI_BMP_CORPUS;
    const BmpResult core = read_bmp_file(dir + "/8bit_core_header.bmp");
    ASSERT_TRUE(core.ok()) << describe(core.error);
    EXPECT_EQ(core.bitmap.color_at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(core.bitmap.color_at(1, 0), rgb(0, 255, 0));
    const BmpResult b16 = read_bmp_file(dir + "/16bit_bitfields.bmp");
    ASSERT_TRUE(b16.ok()) << describe(b16.error);
    EXPECT_EQ(b16.bitmap.color_at(0, 0), kMagenta);  // 5-6-5 masks
    EXPECT_EQ(b16.bitmap.color_at(1, 0), rgb(0, 255, 0));
    const BmpResult v4 = read_bmp_file(dir + "/32bit_v4_bitfields.bmp");
    ASSERT_TRUE(v4.ok()) << describe(v4.error);
    EXPECT_EQ(v4.bitmap.color_at(0, 0), rgb(3, 2, 1));
    const BmpResult td = read_bmp_file(dir + "/32bit_top_down.bmp");
    ASSERT_TRUE(td.ok());
    EXPECT_EQ(td.bitmap.color_at(0, 0), kMagenta);
    EXPECT_EQ(td.bitmap.color_at(1, 1), rgb(3, 2, 1));
}

}  // namespace
}  // namespace gdi
