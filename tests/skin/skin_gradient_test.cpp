#include "skin/skin_gradient.h"

#include <gtest/gtest.h>

#include "skin/skin_colors.h"

namespace skin {
namespace {

using gdi::rgb;

TEST(Blend, WeightsAndSystemColours) {
    // w >= 100 works in thousandths: 150 of a, 850 of b.
    EXPECT_EQ(blend(rgb(0, 0, 0), rgb(255, 255, 255), 150), rgb(217, 217, 217));
    EXPECT_EQ(blend(rgb(200, 100, 0), rgb(0, 0, 0), 1000), rgb(200, 100, 0));
    // w < 100 works in hundredths.
    EXPECT_EQ(blend(rgb(100, 0, 0), rgb(0, 0, 200), 50), rgb(50, 0, 100));
    EXPECT_EQ(resolve_color(system_color(kSysBtnFace), nullptr), rgb(192, 192, 192));
    EXPECT_EQ(resolve_color(system_color(kSysBtnFace), [](int) { return rgb(1, 2, 3); }),
              rgb(1, 2, 3));
    EXPECT_EQ(resolve_color(rgb(4, 5, 6), nullptr), rgb(4, 5, 6));
}

TEST(Saturation, DarkColoursCountAs200) {
    EXPECT_EQ(saturation_value(rgb(150, 20, 20)), 200);
    EXPECT_EQ(saturation_value(rgb(255, 255, 255)), 0);
    EXPECT_EQ(saturation_value(rgb(255, 0, 0)), 255);
    EXPECT_EQ(saturation_value(rgb(28, 86, 196)), 219);  // 255 * 168 / 196 = 218.57
}

TEST(Gradient, RowsRunFromFirstToLast) {
    const auto rows = gradient_rows(40, rgb(0, 100, 255), rgb(255, 100, 0));
    ASSERT_EQ(rows.size(), 40u);
    EXPECT_EQ(rows.front(), rgb(0, 100, 255));
    // Division toward zero: a falling channel ends one step short of its last value.
    EXPECT_EQ(rows.back(), rgb(255, 100, 1));
    // Row 1: 0 + (19 + 255) / 39 = 7; 255 + (19 - 255) / 39 = 249 (division toward zero).
    EXPECT_EQ(rows[1], rgb(7, 100, 249));
    EXPECT_EQ(gradient_rows(1, rgb(0, 0, 0), rgb(100, 50, 10)).front(), rgb(50, 25, 5));
    EXPECT_TRUE(gradient_rows(0, 0, 0).empty());
}

TEST(Gradient, CacheKeepsTheSixteenMostRecentTables) {
    GradientCache cache;
    for (int n = 1; n <= 16; ++n) {
        cache.rows(n, 0, rgb(255, 255, 255));
    }
    EXPECT_EQ(cache.computed(), 16);
    cache.rows(1, 0, rgb(255, 255, 255));  // reused, becomes the most recent
    EXPECT_EQ(cache.computed(), 16);
    cache.rows(17, 0, rgb(255, 255, 255));  // evicts the least recent (2 rows)
    EXPECT_EQ(cache.size(), 16u);
    cache.rows(1, 0, rgb(255, 255, 255));
    EXPECT_EQ(cache.computed(), 17);
    cache.rows(2, 0, rgb(255, 255, 255));
    EXPECT_EQ(cache.computed(), 18);
    cache.rows(2, 0, rgb(255, 255, 254));  // another end colour is another table
    EXPECT_EQ(cache.computed(), 19);
}

}  // namespace
}  // namespace skin
