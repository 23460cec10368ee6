#include "platform/text/code_page.h"

#include <iconv.h>

#include <cerrno>

namespace text {

namespace {

// Code page 936 as glibc's iconv names it.
constexpr const char* kCodePage936 = "CP936";

// One conversion descriptor per direction for the life of the call.
class Converter {
  public:
    // from_utf8: a character that cannot be converted is skipped whole (lead byte and its
    // continuation bytes) so that it gives one '?', as the system's own conversion does.
    Converter(const char* to, const char* from, bool from_utf8)
        : cd_(iconv_open(to, from)), from_utf8_(from_utf8) {}
    ~Converter() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in, replacing what cannot be converted by '?'.
    std::string run(std::string_view in) {
        std::string out;
        if (!ok()) {
            // Without the converter the ASCII part still reads correctly.
            for (char ch : in) {
                out += static_cast<unsigned char>(ch) < 0x80 ? ch : '?';
            }
            return out;
        }
        out.reserve(in.size() * 3 / 2 + 4);
        char* src = const_cast<char*>(in.data());
        size_t src_left = in.size();
        char buffer[256];
        while (src_left > 0) {
            char* dst = buffer;
            size_t dst_left = sizeof buffer;
            const size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r != static_cast<size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;  // buffer full: flush and go on
            }
            // EILSEQ or EINVAL (a sequence cut off at the end): replace one byte and resync.
            out += '?';
            ++src;
            --src_left;
            while (from_utf8_ && src_left > 0 &&
                   (static_cast<unsigned char>(*src) & 0xC0) == 0x80) {
                ++src;
                --src_left;
            }
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        // Flush any shift state (none for these encodings, but cheap to be correct).
        char* dst = buffer;
        size_t dst_left = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dst_left);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        return out;
    }

  private:
    iconv_t cd_;
    bool from_utf8_;
};

// Bytes below 0x80 are the same characters in both encodings. Most texts (an IP address, an
// English caption) are all ASCII: they need no converter, and the program does not load the
// C library's code page 936 module for them.
bool all_ascii(std::string_view s) {
    for (char ch : s) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

std::string gbk_to_utf8(std::string_view gbk) {
    if (all_ascii(gbk))
        return std::string(gbk);
    return Converter("UTF-8", kCodePage936, false).run(gbk);
}

std::string utf8_to_gbk(std::string_view utf8) {
    if (all_ascii(utf8))
        return std::string(utf8);
    return Converter(kCodePage936, "UTF-8", true).run(utf8);
}

}  // namespace text
