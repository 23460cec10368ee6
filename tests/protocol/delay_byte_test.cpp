#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "protocol/delay_byte.h"

namespace protocol {
namespace {

TEST(DelayEncoding, TextExamples) {
    EXPECT_EQ(encode_delay_text("2.5", false), 0x05);
    EXPECT_EQ(encode_delay_text("60", true), 0xF8);
    EXPECT_EQ(encode_delay_text("0.5", true), 0x81);
    EXPECT_EQ(encode_delay_text("1.2", false), 0x02);  // truncated to 1.0, never rounded
    EXPECT_EQ(encode_delay_text("0.5", false), 0x01);
    EXPECT_EQ(encode_delay_text("1", false), 0x02);
    EXPECT_EQ(encode_delay_text("0.7", false), 0x01);
    EXPECT_EQ(encode_delay_text("60.4", false), 120);
    EXPECT_EQ(encode_delay_text("0", false), 0x00);
    EXPECT_EQ(encode_delay_text("0", true), 0x80);
    EXPECT_EQ(encode_delay_text(".5", false), 0x01);
    EXPECT_EQ(encode_delay_text("3.", false), 0x06);
    EXPECT_EQ(encode_delay_text("0060", false), 120);
}

TEST(DelayEncoding, RefusedTexts) {
    for (const char* text : {"1.5.", "1,5", " 1", "1 ", "-1", "", ".", "..", "60.5", "99", "1e1",
                             "+1", "0x10", "inf", "nan"}) {
        EXPECT_FALSE(encode_delay_text(text, false)) << '"' << text << '"';
        EXPECT_FALSE(encode_delay_text(text, true)) << '"' << text << '"';
    }
    // Far too many digits for any double must not wrap into a small byte.
    EXPECT_FALSE(encode_delay_text(std::string(400, '9'), false));
    EXPECT_FALSE(encode_delay_text("121", false));
}

TEST(DelayEncoding, ValuesOutsideTheRangeNeverSpillIntoTheUnitBit) {
    EXPECT_EQ(encode_delay(60.0, false), 120);
    EXPECT_FALSE(encode_delay(60.5, false));
    EXPECT_FALSE(encode_delay(-0.5, false));
    EXPECT_FALSE(encode_delay(std::numeric_limits<double>::infinity(), true));
    // Half units of every step from 0 to 60 land exactly despite binary fractions.
    for (int h = 0; h <= 120; ++h) {
        EXPECT_EQ(delay_halves(h * 0.5), h) << h;
    }
    // The guard lifts a product just below a whole half unit, and only that.
    EXPECT_EQ(delay_halves(2.9999999), 6);
    EXPECT_EQ(delay_halves(2.99), 5);
}

TEST(DelayDecoding, TextAndUnit) {
    EXPECT_EQ(delay_text(0x80), "0");
    EXPECT_TRUE(delay_in_minutes(0x80));
    EXPECT_EQ(delay_text(0x81), "0.5");
    EXPECT_TRUE(delay_in_minutes(0x81));
    EXPECT_EQ(delay_text(0x78), "60");
    EXPECT_FALSE(delay_in_minutes(0x78));
    EXPECT_EQ(delay_text(0x00), "0");
    EXPECT_FALSE(delay_in_minutes(0x00));
    EXPECT_EQ(delay_text(0x01), "0.5");
    EXPECT_EQ(delay_text(0x05), "2.5");
    EXPECT_EQ(delay_text(0x02), "1");
    // Bytes a device may send beyond 120 still show their plain value.
    EXPECT_EQ(delay_text(0x7F), "63.5");
    EXPECT_EQ(delay_text(0xFF), "63.5");
}

TEST(DelayRoundTrip, EveryDisplayedTextEncodesBackToItsByte) {
    for (int b = 0; b < 256; ++b) {
        const Byte byte = static_cast<Byte>(b);
        if (delay_halves_of(byte) > kMaxDelayHalves) {
            continue;
        }
        EXPECT_EQ(encode_delay_text(delay_text(byte), delay_in_minutes(byte)), byte) << b;
    }
}

}  // namespace
}  // namespace protocol
