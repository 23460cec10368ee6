#include <gtest/gtest.h>

#include "app/main_form.h"
#include "forms/edit.h"
#include "forms/timer.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "tests/app/main_window_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The dispatcher on the real main window, with the two Device Setup edits it uses.
class ReplyDispatchTest : public velmor_test::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        StartWindow();
        if (!Form1->Ed_read_id)
            Form1->Ed_read_id = new forms::TEdit(Form1);
        if (!Form1->Ed_conn_id)
            Form1->Ed_conn_id = new forms::TEdit(Form1);
        Form1->Ed_read_id->SetText("1");
    }
    // The state right after a request went out: the watch runs, panel 2 shows the prompt.
    void Sent(const protocol::ShortPayload& payload) {
        Form1->SendFrame(payload);
        Form1->StatusBar1->Panels(2).SetText("Status:");
    }
    static bool Confirmed() {
        return !Form1->Timer1->Enabled() && Panel(2) == "Status:Data sent successfully";
    }
    static bool Untouched() { return Form1->Timer1->Enabled() && Panel(2) == "Status:"; }
    static void Handle(const Bytes& b) { Form1->HandleReply(b); }
};

TEST_F(ReplyDispatchTest, AnAckConfirmsOnlyTheLastShortFrameSent) {
    Sent(protocol::CascadeOn(3, 5));
    Handle({0x54, 0x03, 0xA7});  // another command
    EXPECT_TRUE(Untouched());
    Handle({0x54, 0x04, 0xA6});  // another device
    EXPECT_TRUE(Untouched());
    Handle({0x54, 0x03, 0xA6});
    EXPECT_TRUE(Confirmed());

    // A long WriteDelays frame never becomes the frame an Ack is matched with.
    protocol::DelaysPayload delays{};
    delays[0] = 0x01;
    delays[1] = 0xA7;
    Form1->SendFrame(delays);
    Form1->StatusBar1->Panels(2).SetText("Status:");
    Handle({0x54, 0x01, 0xA7});
    EXPECT_TRUE(Untouched());
    Handle({0x54, 0x03, 0xA6});  // still the cascade frame's Ack
    EXPECT_TRUE(Confirmed());
}

TEST_F(ReplyDispatchTest, AnIdReplyShowsTheIdWhenIntactAndConfirmsEitherWay) {
    Sent(protocol::ReadId());
    Handle({0x55, 0x00, 0xAB, 0x00, 0x07, 0xAC});
    EXPECT_EQ(Form1->Ed_read_id->Text(), "7");
    EXPECT_TRUE(Confirmed());

    Sent(protocol::ReadId());
    Handle({0x55, 0x00, 0xAB, 0x00, 0x09, 0xAC});  // wrong check
    EXPECT_EQ(Form1->Ed_read_id->Text(), "7");
    EXPECT_TRUE(Confirmed());

    Sent(protocol::ReadId());
    Handle({0x55, 0x00, 0xAC, 0x00, 0x09, 0xA5});  // intact, but not the ID code
    EXPECT_EQ(Form1->Ed_read_id->Text(), "7");
    EXPECT_TRUE(Confirmed());

    Sent(protocol::ReadId());
    Handle({0x55, 0x00, 0xAB, 0x00, 0xFF, 0x54});
    EXPECT_EQ(Form1->Ed_read_id->Text(), "255");
}

TEST_F(ReplyDispatchTest, StatusAndSettingsRepliesConfirmWhateverTheirCheckSays) {
    Sent(protocol::PollStatus(3));
    Handle({0x55, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x2B});
    EXPECT_TRUE(Confirmed());
    Sent(protocol::PollStatus(3));
    Handle({0x55, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x00});
    EXPECT_TRUE(Confirmed());

    // For a device Ed_conn_id does not show, or while it is empty, still confirmed.
    protocol::SettingsReply settings;
    settings.device_id = 3;
    const Bytes reply = protocol::build_settings_reply(settings);
    ASSERT_EQ(reply.size(), 41u);
    for (const char* shown : {"", "x", "4", "3"}) {
        Form1->Ed_conn_id->SetText(shown);
        Sent(protocol::ReadSettings(3));
        Handle(reply);
        EXPECT_TRUE(Confirmed()) << shown;
    }
    Bytes damaged = reply;
    damaged[40] ^= 0x01;
    Sent(protocol::ReadSettings(3));
    Handle(damaged);
    EXPECT_TRUE(Confirmed());
}

TEST_F(ReplyDispatchTest, AStateReportStopsTheWatchAndOnlyB0ShowsSuccess) {
    const Bytes b1{0x57, 0x03, 0xB1, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x74};
    Sent(protocol::AllOn(3));
    Handle(b1);
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(Panel(2), "Status:");

    Sent(protocol::AllOn(3));
    Handle({0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75});
    EXPECT_TRUE(Confirmed());
    // A damaged B0 report still shows the success text.
    Sent(protocol::AllOn(3));
    Handle({0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x00});
    EXPECT_TRUE(Confirmed());

    // While a queued real-time command counts down, reports are not taken at all.
    Form1->PendingFlag = true;
    Sent(protocol::AllOn(3));
    Handle({0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75});
    EXPECT_TRUE(Untouched());
}

TEST_F(ReplyDispatchTest, BatchesOfNoReplyLengthOrFamilyChangeNothing) {
    Sent(protocol::ReadId());
    const Bytes batches[] = {
        {0x54},
        {0x54, 0x00},
        {0x55, 0x00, 0xAB},                          // Ack length, wrong family
        {0x57, 0x00, 0xAB, 0x00, 0x07, 0xAC},        // IdReply length, wrong family
        {0x55, 0x00, 0xAB, 0x00, 0x07, 0xAC, 0x00},  // seven bytes
        {0x57, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x2B},
        {0x55, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75},
        Bytes(41, 0x55),
        Bytes(40, 0x56),
    };
    for (const Bytes& b : batches) {
        Handle(b);
        EXPECT_TRUE(Untouched()) << b.size();
        EXPECT_EQ(Form1->Ed_read_id->Text(), "1");
    }
}

TEST_F(ReplyDispatchTest, BothAnswersToACommandSentTwiceAreTakenAsOne) {
    // The queue sends each command twice; a device that answers both leaves two answers in one
    // read, and the command is still confirmed.
    Sent(protocol::ChannelOn(1, 1));
    Handle({0x54, 0x01, 0xA0, 0x54, 0x01, 0xA0});
    EXPECT_TRUE(Confirmed());

    Sent(protocol::AllOn(3));
    Handle({0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75,  //
            0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75});
    EXPECT_TRUE(Confirmed());

    // Two different answers in one read are still no reply.
    Sent(protocol::ChannelOn(1, 1));
    Handle({0x54, 0x01, 0xA0, 0x54, 0x02, 0xA0});
    EXPECT_TRUE(Untouched());
}

TEST_F(ReplyDispatchTest, TheSuccessTextFollowsTheLanguage) {
    Form1->LanguageIndex = 0;
    Sent(protocol::ReadId());
    Handle({0x55, 0x00, 0xAB, 0x00, 0x07, 0xAC});
    EXPECT_EQ(Panel(2), "状态:数据发送成功");
    Form1->LanguageIndex = 2;
    Handle({0x55, 0x00, 0xAB, 0x00, 0x07, 0xAC});
    EXPECT_EQ(Panel(2), "狀態:數據發送成功");
    Form1->LanguageIndex = 7;
    Handle({0x55, 0x00, 0xAB, 0x00, 0x07, 0xAC});
    EXPECT_EQ(Panel(2), "Status:Data sent successfully");
}

}  // namespace
