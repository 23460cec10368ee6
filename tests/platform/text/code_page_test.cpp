#include <gtest/gtest.h>

#include "platform/text/code_page.h"

namespace text {
namespace {

TEST(CodePage936, SimplifiedAndTraditionalTextsRoundTrip) {
    // "状态" in code page 936 is D7 B4 CC AC; traditional "狀態" is also in the code page.
    EXPECT_EQ(utf8_to_gbk("状态"), "\xD7\xB4\xCC\xAC");
    EXPECT_EQ(gbk_to_utf8("\xD7\xB4\xCC\xAC"), "状态");
    for (const char* s : {"打开成功", "打開成功", "版本：Talo_V0.4.2", "連接主機失敗，請重新檢查！",
                          "192.168.0.255", ""}) {
        EXPECT_EQ(gbk_to_utf8(utf8_to_gbk(s)), s) << s;
    }
    EXPECT_EQ(utf8_to_gbk("Status:"), "Status:");
}

TEST(CodePage936, BadBytesBecomeQuestionMarks) {
    // A lead byte cut off at the end, a lone 0x80 and 0xFF: each offending byte is one '?'.
    EXPECT_EQ(gbk_to_utf8("ab\xD7"), "ab?");
    EXPECT_EQ(gbk_to_utf8("\xFF"
                          "1"),
              "?1");
    EXPECT_EQ(gbk_to_utf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    // Characters outside the code page, and broken UTF-8.
    EXPECT_EQ(utf8_to_gbk("x\xF0\x9F\x98\x80y"), "x?y");  // one '?' per character
    EXPECT_EQ(utf8_to_gbk("\x80\x80z"), "?z");
    EXPECT_EQ(utf8_to_gbk("\xC3"), "?");
    // Long input crosses the internal buffer without losing characters.
    std::string many;
    for (int i = 0; i < 500; ++i) {
        many += "开";
    }
    EXPECT_EQ(gbk_to_utf8(utf8_to_gbk(many)), many);
    EXPECT_EQ(utf8_to_gbk(many).size(), 1000u);
}

}  // namespace
}  // namespace text
