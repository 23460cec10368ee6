// The weekly schedule against the real sequencer-sim process over TCP on loopback, on the real
// clock: an entry armed a few seconds ahead of now switches the device on in its second, as the
// simulator's log and the device's own status show.

#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "protocol/replies.h"
#include "sim_process.h"
#include "tests/pages/timed_tasks/timer_task_fixture.h"

namespace {

using sequencer_sim::testing::LineEnd;
using timed_tasks_test::Bytes;
using sequencer_sim::testing::read_lines;
using sequencer_sim::testing::SimProcess;

class WeeklyRunnerSimTest : public timed_tasks_test::TimerTaskTest {
  protected:
    std::string LogPath() const { return (dir_ / "sim.log").string(); }
    std::vector<std::string> LogLines(const char* prefix) const {
        std::vector<std::string> out;
        for (const std::string& line : read_lines(LogPath()))
            if (line.rfind(prefix, 0) == 0)
                out.push_back(line);
        return out;
    }
};

TEST_F(WeeklyRunnerSimTest, AnEntryAheadOfTheRealClockSwitchesTheDevice) {
    SimProcess sim(
        {"--devices", "5", "--tcp", "127.0.0.1:0", "--log", LogPath(), "--time-scale", "1000"});
    clk::SystemClock real;
    clk::ScopedClock on_real_time(real);
    const clk::LocalTime now = real.local_now();
    const clk::LocalTime due = clk::from_day_count(clk::to_day_count(now) + 3.0 / 86400.0);
    if (due.day != now.day)
        GTEST_SKIP() << "too close to midnight for a same-day entry";

    StartLinkWindow();
    ConnectTcp(sim.port());
    ASSERT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::Connected);
    Form1->Ed_conn_id->SetText("5");
    Form1->Cb_ch->SetItemIndex(0);
    EnableDay(now.weekday);
    Arm(Form1->EntryOnBox[now.weekday][4], Form1->EntryOnPicker[now.weekday][4], due.hour,
        due.minute, due.second);

    // The window runs on the real clock until the entry's second has passed (with a generous
    // bound for a loaded machine).
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const double after_due = clk::to_day_count(due) + 1.5 / 86400.0;
    while (std::chrono::steady_clock::now() < give_up &&
           clk::to_day_count(real.local_now()) < after_due) {
        win::PumpPending();
        ::poll(nullptr, 0, 5);
    }
    win::PumpPending();
    const Bytes turn_on = Wire({0x05, 0xA6, 0x08, 0x00});
    char line[64] = "rx";
    for (uint8_t b : turn_on)
        std::snprintf(line + std::strlen(line), sizeof line - std::strlen(line), " %02X", b);
    // The device options the console sent: one per tick of the due second, at most five.
    std::vector<std::string> rx;
    for (const std::string& l : LogLines("rx "))
        if (l.rfind("rx 55 05 A6", 0) == 0)
            rx.push_back(l);
    ASSERT_FALSE(rx.empty());
    EXPECT_LE(rx.size(), 5u);
    for (const std::string& l : rx)
        EXPECT_EQ(l, line);
    EXPECT_FALSE(LogLines("tx ").empty());
    EXPECT_TRUE(SeenBoxes().empty());

    // The device, asked on its own line once the console has left, has every channel on.
    CloseWindow();
    LineEnd end = LineEnd::tcp(sim.port());
    end.send(protocol::build_frame(protocol::PollStatus(5)));
    const auto status = protocol::parse_status_reply(end.receive(protocol::kStatusReplySize));
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(status->status.lcd_on);
    for (int c = 1; c <= 16; ++c)
        EXPECT_TRUE(status->channels.test(c)) << c;
}

}  // namespace
