#include "platform/gdi/png.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace gdi {
namespace {

TEST(Png, WrittenFilesReadBackWithTheSamePixels) {
    Bitmap b(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            b.set_color(x, y, rgb(x * 50, y * 80, 7));
    const std::string path = ::testing::TempDir() + "gdi_png_test.png";
    ASSERT_TRUE(write_png_file(path, b));
    EXPECT_EQ(read_png_file(path), b);
    std::remove(path.c_str());
    const std::vector<uint8_t> bytes = encode_png(b);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_FALSE(write_png_file("/nonexistent/dir/x.png", b));
    EXPECT_TRUE(encode_png(Bitmap()).empty());
    EXPECT_TRUE(read_png_file("/nonexistent/x.png").empty());
}

}  // namespace
}  // namespace gdi
