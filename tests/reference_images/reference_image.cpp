#include "tests/reference_images/reference_image.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/gdi/png.h"

namespace reftest {

bool Renewing() {
    const char* v = std::getenv("VELMOR_RENEW_REFERENCE_IMAGES");
    return v && *v && std::strcmp(v, "0") != 0;
}

::testing::AssertionResult MatchesReference(const gdi::Bitmap& actual, const std::string& dir,
                                            const std::string& name) {
    const std::string path = dir + "/" + name + ".png";
    if (actual.empty())
        return ::testing::AssertionFailure() << name << ": nothing was captured";
    if (Renewing()) {
        if (!gdi::write_png_file(path, actual))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    const gdi::Bitmap expected = gdi::read_png_file(path);
    auto keep_actual = [&] {
        gdi::write_png_file(name + ".actual.png", actual);
        return " (the picture taken is " + name +
               ".actual.png in the test's directory; renew with "
               "scripts/renew_reference_images.sh after an intended change)";
    };
    if (expected.empty()) {
        return ::testing::AssertionFailure() << "no reference image " << path << keep_actual();
    }
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        return ::testing::AssertionFailure()
               << name << ": size " << actual.width() << " x " << actual.height()
               << ", the reference is " << expected.width() << " x " << expected.height()
               << keep_actual();
    }
    int64_t differing = 0;
    int first_x = -1, first_y = -1;
    for (int y = 0; y < actual.height(); ++y) {
        const gdi::Pixel* a = actual.row(y);
        const gdi::Pixel* e = expected.row(y);
        if (std::memcmp(a, e, sizeof(gdi::Pixel) * actual.width()) == 0)
            continue;  // also equal alpha: the common case, one comparison per row
        for (int x = 0; x < actual.width(); ++x) {
            if (((a[x] ^ e[x]) & 0xFFFFFFu) == 0)
                continue;
            if (differing++ == 0) {
                first_x = x;
                first_y = y;
            }
        }
    }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << name << ": " << differing << " pixels differ from " << path << ", the first at ("
        << first_x << ", " << first_y << "): " << std::hex
        << (actual.row(first_y)[first_x] & 0xFFFFFFu) << " instead of "
        << (expected.row(first_y)[first_x] & 0xFFFFFFu) << std::dec;
    return ::testing::AssertionFailure() << out.str() << keep_actual();
}

}  // namespace reftest
