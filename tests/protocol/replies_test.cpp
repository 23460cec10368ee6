#include <gtest/gtest.h>

#include "protocol/replies.h"

namespace protocol {
namespace {

TEST(ReplyKinds, RecognisedByExactLengthAndFamilyByte) {
    EXPECT_EQ(classify_reply(Bytes{0x54, 3, 0xA6}), ReplyKind::Ack);
    EXPECT_EQ(classify_reply(Bytes{0x55, 0, 0xAB, 0, 7, 0xAC}), ReplyKind::IdReply);
    EXPECT_EQ(classify_reply(Bytes(8, 0x55)), ReplyKind::StatusReply);
    EXPECT_EQ(classify_reply(Bytes(9, 0x57)), ReplyKind::StateReport);
    EXPECT_EQ(classify_reply(Bytes(41, 0x56)), ReplyKind::SettingsReply);

    EXPECT_EQ(classify_reply(Bytes{}), ReplyKind::Unknown);
    EXPECT_EQ(classify_reply(Bytes(7, 0x55)), ReplyKind::Unknown);
    EXPECT_EQ(classify_reply(Bytes(6, 0x57)), ReplyKind::Unknown);
    EXPECT_EQ(classify_reply(Bytes(3, 0x55)), ReplyKind::Unknown);
    EXPECT_EQ(classify_reply(Bytes(9, 0x55)), ReplyKind::Unknown);
    EXPECT_EQ(classify_reply(Bytes(41, 0x55)), ReplyKind::Unknown);
    EXPECT_EQ(classify_reply(Bytes(42, 0x56)), ReplyKind::Unknown);
    EXPECT_FALSE(parse_ack(Bytes(7, 0x55)));
    EXPECT_FALSE(parse_id_reply(Bytes{0x57, 0, 0xAB, 0, 7, 0xAC}));
}

TEST(ReplyKinds, ARepeatedReplyInOneBatchIsTakenOnce) {
    const Bytes ack_twice{0x54, 1, 0xA0, 0x54, 1, 0xA0};
    const auto ack = single_reply(ack_twice);
    EXPECT_EQ(Bytes(ack.begin(), ack.end()), (Bytes{0x54, 1, 0xA0}));
    const Bytes report{0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75};
    Bytes twice = report;
    twice.insert(twice.end(), report.begin(), report.end());
    EXPECT_EQ(single_reply(twice).size(), 9u);

    // A batch that is a reply as a whole stays one, even when its halves agree.
    const Bytes id_reply{0x55, 0, 0xAB, 0x55, 0, 0xAB};
    EXPECT_EQ(single_reply(id_reply).size(), 6u);
    // Two different answers, three copies, or halves that are no reply stay unrecognised.
    const Bytes unlike{0x54, 1, 0xA0, 0x54, 2, 0xA0};
    EXPECT_EQ(classify_reply(single_reply(unlike)), ReplyKind::Unknown);
    const Bytes thrice{0x54, 1, 0xA0, 0x54, 1, 0xA0, 0x54, 1, 0xA0};
    EXPECT_EQ(classify_reply(single_reply(thrice)), ReplyKind::Unknown);
    EXPECT_EQ(classify_reply(single_reply(Bytes{0x54, 0x54})), ReplyKind::Unknown);
    EXPECT_TRUE(single_reply(Bytes{}).empty());
}

TEST(Ack, MatchesOnlyTheLastShortRequest) {
    const ShortPayload last = CascadeOn(3, 5);
    EXPECT_TRUE(acknowledges(Bytes{0x54, 0x03, 0xA6}, last));
    EXPECT_FALSE(acknowledges(Bytes{0x54, 0x03, 0xA7}, last));
    EXPECT_FALSE(acknowledges(Bytes{0x54, 0x04, 0xA6}, last));
    EXPECT_FALSE(acknowledges(Bytes{0x54, 0x03, 0xA6, 0x00}, last));
    EXPECT_EQ(build_ack(3, 0xA6), (Bytes{0x54, 0x03, 0xA6}));
}

TEST(IdReply, ParsesTheIdAndRefusesADamagedOne) {
    const Bytes good{0x55, 0x00, 0xAB, 0x00, 0x07, 0xAC};
    EXPECT_TRUE(reply_intact(good));
    const auto id = parse_id_reply(good);
    ASSERT_TRUE(id);
    EXPECT_EQ(id->device_id, 7);
    EXPECT_EQ(build_id_reply(7), good);

    Bytes bad = good;
    bad[5] = 0xAD;
    EXPECT_EQ(classify_reply(bad), ReplyKind::IdReply);  // still recognised: it still confirms
    EXPECT_FALSE(reply_intact(bad));
    EXPECT_FALSE(parse_id_reply(bad));

    // Intact, but another code in byte 2.
    EXPECT_FALSE(parse_id_reply(Bytes{0x55, 0x00, 0xAA, 0x00, 0x07, 0xAD}));
}

TEST(StatusReply, ExampleDecodesLcdCh1AndCh16On) {
    const Bytes batch{0x55, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x2B};
    EXPECT_TRUE(reply_intact(batch));
    const auto s = parse_status_reply(batch);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->device_id, 3);
    EXPECT_TRUE(s->status.lcd_on);
    EXPECT_FALSE(s->status.locked);
    EXPECT_FALSE(s->status.running);
    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(s->channels.test(c), c == 1 || c == 16) << c;
    }
    EXPECT_EQ(build_status_reply(3, s->status, s->channels), batch);

    Bytes wrong_code = batch;
    wrong_code[2] = 0xA9;
    wrong_code[7] ^= 0xA8 ^ 0xA9;
    EXPECT_TRUE(reply_intact(wrong_code));
    EXPECT_FALSE(parse_status_reply(wrong_code));
}

TEST(StateReport, ExamplesWithBothCodesAndTheMaskWord) {
    const Bytes b0{0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75};
    const Bytes b1{0x57, 0x03, 0xB1, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x74};
    for (const Bytes& batch : {b0, b1}) {
        const auto r = parse_state_report(batch);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->device_id, 3);
        EXPECT_FALSE(r->status.lcd_on);
        EXPECT_TRUE(r->status.locked);
        EXPECT_TRUE(r->status.running);
        EXPECT_TRUE(r->channels.test(1));
        for (int c = 2; c <= 16; ++c) {
            EXPECT_FALSE(r->channels.test(c)) << c;
        }
        // 0xBFFF: only CH2 (mask index 1) is masked.
        for (int m = 0; m < 16; ++m) {
            EXPECT_EQ(r->mask.test(channel_of_mask_index(m)), m != 1) << m;
        }
        EXPECT_EQ(build_state_report(3, r->code, r->status, r->channels, r->mask), batch);
    }
    EXPECT_EQ(parse_state_report(b0)->code, kStateReportConfirmed);
    EXPECT_EQ(parse_state_report(b1)->code, kStateReportQuiet);

    const auto m = parse_state_report(
        build_state_report(1, kStateReportConfirmed, {}, {}, ChannelWord::from_bytes(0xFF, 0xFE)));
    ASSERT_TRUE(m);
    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(m->mask.test(c), c != 16) << c;
    }

    EXPECT_FALSE(parse_state_report(build_state_report(1, 0xB2, {}, {}, {})));
    Bytes damaged = b0;
    damaged[4] = 0x00;
    EXPECT_FALSE(parse_state_report(damaged));
}

TEST(SettingsReply, ExampleFillsEveryField) {
    Bytes batch{0x56, 0x03, 0xA7};
    batch.insert(batch.end(), 17, 0x05);
    batch.insert(batch.end(), 17, 0x81);
    batch.insert(batch.end(), {0x02, 0x05, 0xAA, 0x8D});
    ASSERT_EQ(batch.size(), 41u);
    const auto s = parse_settings_reply(batch);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->device_id, 3);
    for (int c = 0; c < kChannelCount; ++c) {
        EXPECT_EQ(s->on_delays[c], 0x05);
        EXPECT_EQ(s->off_delays[c], 0x81);
    }
    EXPECT_TRUE(s->cascade_on());
    EXPECT_EQ(s->start_item(), 5);
    EXPECT_TRUE(s->locked());
    EXPECT_EQ(build_settings_reply(*s), batch);
}

TEST(SettingsReply, LenientFieldReadings) {
    SettingsReply s;
    s.device_id = 9;
    s.cascade = 0x05;
    s.start_channel = 0x20;
    s.lock = kUnlockedByte;
    const auto parsed = parse_settings_reply(build_settings_reply(s));
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->cascade_on());
    EXPECT_EQ(parsed->start_item(), 0);  // above 16 selects "LCD"
    EXPECT_FALSE(parsed->locked());
    s.lock = 0x00;
    s.start_channel = 16;
    EXPECT_TRUE(s.locked());
    EXPECT_EQ(s.start_item(), 16);

    Bytes damaged = build_settings_reply(s);
    damaged[20] ^= 0x40;
    EXPECT_EQ(classify_reply(damaged), ReplyKind::SettingsReply);
    EXPECT_FALSE(parse_settings_reply(damaged));
}

TEST(DeviceState, StatusByteAndChannelWordBitOrder) {
    const StatusByte s = StatusByte::decode(0xF9);  // bits 3-7 are ignored
    EXPECT_TRUE(s.lcd_on);
    EXPECT_FALSE(s.locked);
    EXPECT_FALSE(s.running);
    EXPECT_EQ(s.encode(), 0x01);

    ChannelWord w;
    w.set(1, true);
    EXPECT_EQ(w.high(), 0x80);
    w.set(8, true);
    EXPECT_EQ(w.high(), 0x81);
    w.set(9, true);
    w.set(16, true);
    EXPECT_EQ(w.low(), 0x81);
    w.set(1, false);
    EXPECT_EQ(w.bits, 0x0181);
    // Channel 0 and channels past 16 have no bit in the word.
    w.set(0, true);
    w.set(17, true);
    EXPECT_EQ(w.bits, 0x0181);
    EXPECT_FALSE(w.test(0));
    EXPECT_FALSE(w.test(17));
}

}  // namespace
}  // namespace protocol
