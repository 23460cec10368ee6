#include "platform/gdi/bitmap.h"

#include <gtest/gtest.h>

#include <utility>

#include <memory>
#include <vector>

namespace gdi {
namespace {

TEST(Bitmap, AbsurdOrNegativeSizesGiveAnEmptyBitmap) {
    EXPECT_TRUE(Bitmap(0, 5).empty());
    EXPECT_TRUE(Bitmap(-3, 5).empty());
    EXPECT_TRUE(Bitmap(100000, 100000).empty());
    Bitmap b(4, 3);
    b.resize(-1, 10);
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(b.width(), 0);
}

TEST(Bitmap, PixelAccessOutsideIsHarmless) {
    Bitmap b(2, 2, 0xFF112233u);
    b.set_pixel(-1, 0, 1);
    b.set_pixel(2, 1, 1);
    b.set_pixel(0, 2, 1);
    EXPECT_EQ(b.pixel(5, 5), 0u);
    EXPECT_EQ(b.pixel(1, 1), 0xFF112233u);
    EXPECT_EQ(b.color_at(0, 0), rgb(0x11, 0x22, 0x33));
}

Bitmap numbered(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_pixel(x, y, static_cast<Pixel>(y * 10 + x));
    return b;
}

TEST(Bitmap, MirrorsAndRotationsMovePixelsWhereExpected) {
    const Bitmap b = numbered(3, 2);  // 0 1 2 / 10 11 12
    const Bitmap lr = mirror_left_right(b);
    EXPECT_EQ(lr.pixel(0, 0), 2u);
    EXPECT_EQ(lr.pixel(2, 1), 10u);
    const Bitmap tb = mirror_top_bottom(b);
    EXPECT_EQ(tb.pixel(0, 0), 10u);
    EXPECT_EQ(tb.pixel(2, 1), 2u);
    const Bitmap cw = rotate(b, 90);  // 2 wide, 3 high: 10 0 / 11 1 / 12 2
    ASSERT_EQ(cw.size(), (Size{2, 3}));
    EXPECT_EQ(cw.pixel(0, 0), 10u);
    EXPECT_EQ(cw.pixel(1, 0), 0u);
    EXPECT_EQ(cw.pixel(1, 2), 2u);
    const Bitmap ccw = rotate(b, 270);  // 2 12 / 1 11 / 0 10
    EXPECT_EQ(ccw.pixel(0, 0), 2u);
    EXPECT_EQ(ccw.pixel(1, 2), 10u);
    EXPECT_EQ(rotate(rotate(b, 90), 270), b);
    EXPECT_EQ(rotate(b, 180), mirror_top_bottom(mirror_left_right(b)));
}

TEST(Bitmap, CopyIsClippedToTheBitmap) {
    const Bitmap b = numbered(3, 3);
    const Bitmap c = b.copy({1, 1, 10, 10});
    ASSERT_EQ(c.size(), (Size{2, 2}));
    EXPECT_EQ(c.pixel(0, 0), 11u);
    EXPECT_EQ(c.pixel(1, 1), 22u);
    EXPECT_TRUE(b.copy({5, 5, 8, 8}).empty());
}

// A bitmap over memory it does not own draws into that memory; copies and resized bitmaps have
// pixels of their own, and the memory is let go exactly when the last bitmap using it goes.
TEST(Bitmap, FillReachesEveryPixelAndNothingBeyond) {
    // Sizes around the block the fill copies, colours with equal and unequal bytes, over
    // memory with a guard pixel after the bitmap.
    for (const int width : {1, 7, 2047, 2049, 1265}) {
        for (const Pixel colour : {0xFFF0F0F0u, 0xFFFFFFFFu, 0u, 0xFF112233u, 0x01020304u}) {
            const int height = width == 1265 ? 693 : 3;
            std::vector<Pixel> memory(static_cast<size_t>(width) * height + 1, 0xDEADBEEFu);
            Bitmap b = Bitmap::over(width, height, memory.data(), nullptr, colour);
            ASSERT_FALSE(b.empty());
            size_t wrong = 0;
            for (size_t i = 0; i + 1 < memory.size(); ++i)
                wrong += memory[i] != colour;
            EXPECT_EQ(wrong, 0u) << width << " x " << height << " in " << std::hex << colour;
            EXPECT_EQ(memory.back(), 0xDEADBEEFu) << width << " x " << height;
        }
    }
}

TEST(Bitmap, OverMemoryItDoesNotOwn) {
    std::vector<Pixel> memory(6 * 4, 0);
    auto keeper = std::make_shared<int>(0);
    std::weak_ptr<int> watch = keeper;
    {
        Bitmap b = Bitmap::over(6, 4, memory.data(), std::move(keeper), 0xFF112233u);
        ASSERT_TRUE(b.external());
        EXPECT_EQ(memory[23], 0xFF112233u);
        b.set_pixel(5, 3, 0xFFABCDEFu);
        EXPECT_EQ(memory[23], 0xFFABCDEFu);

        Bitmap copy = b;
        EXPECT_FALSE(copy.external());
        EXPECT_EQ(copy, b);
        copy.set_pixel(0, 0, 1);
        EXPECT_EQ(memory[0], 0xFF112233u);

        Bitmap moved = std::move(b);
        EXPECT_TRUE(moved.external());
        EXPECT_TRUE(b.empty());
        EXPECT_FALSE(watch.expired());
        moved.resize(3, 3, 7);
        EXPECT_FALSE(moved.external());
        EXPECT_TRUE(watch.expired());
        EXPECT_EQ(memory[23], 0xFFABCDEFu);
    }
    EXPECT_TRUE(Bitmap::over(0, 4, memory.data(), nullptr, 0).empty());
    EXPECT_TRUE(Bitmap::over(4, 4, nullptr, nullptr, 0).empty());
}

// Pixels built into the program are read in place; no write ever reaches them (they lie in
// read-only memory here, so one that did would stop the test).
TEST(Bitmap, ViewOfBuiltInPixelsIsSharedUntilChanged) {
    static const Pixel kPixels[6] = {1, 2, 3, 4, 5, 6};
    Bitmap view = Bitmap::view_of(3, 2, kPixels);
    ASSERT_TRUE(view.read_only());
    EXPECT_EQ(std::as_const(view).data(), kPixels);
    EXPECT_EQ(view.pixel(2, 1), 6u);

    Bitmap copy = view;
    EXPECT_EQ(std::as_const(copy).data(), kPixels);
    EXPECT_EQ(copy, view);
    copy.set_pixel(0, 0, 9);
    EXPECT_FALSE(copy.read_only());
    EXPECT_EQ(copy.pixel(0, 0), 9u);
    EXPECT_EQ(copy.pixel(1, 1), 5u);

    Bitmap filled = view;
    filled.fill(7);
    EXPECT_EQ(filled.pixel(2, 1), 7u);
    Bitmap by_row = view;
    by_row.row(1)[0] = 8;
    EXPECT_EQ(by_row.pixel(0, 1), 8u);
    EXPECT_EQ(mirror_left_right(view).pixel(0, 0), 3u);
    EXPECT_EQ(view.copy({1, 0, 3, 2}).pixel(1, 1), 6u);

    Bitmap moved = std::move(view);
    EXPECT_TRUE(moved.read_only());
    EXPECT_TRUE(view.empty());
    moved.resize(2, 2, 0);
    EXPECT_FALSE(moved.read_only());
    EXPECT_EQ(kPixels[0], 1u);
    EXPECT_EQ(kPixels[3], 4u);
    EXPECT_TRUE(Bitmap::view_of(0, 2, kPixels).empty());
    EXPECT_TRUE(Bitmap::view_of(3, 2, nullptr).empty());
}

}  // namespace
}  // namespace gdi
