#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "tools/sequencer_sim/device_line.h"
#include "tools/sequencer_sim/fault_plan.h"
#include "tools/sequencer_sim/frame_log.h"
#include "tools/sequencer_sim/output_queue.h"
#include "tools/sequencer_sim/pty_port.h"
#include "tools/sequencer_sim/repeat_filter.h"
#include "tools/sequencer_sim/request_reader.h"
#include "tools/sequencer_sim/sim_options.h"
#include "tools/sequencer_sim/tcp_listener.h"

namespace sequencer_sim {

// The simulator process: one line (a TCP endpoint taking one client at a time, or a
// pseudo-terminal), the devices on it, the faults, and a single poll() loop that drives them.
class Simulator {
  public:
    explicit Simulator(const SimOptions& options);

    // Opens the line and the log and prints "tcp HOST:PORT" or "pty PATH" as the first line of
    // out. Returns an error text, empty on success.
    std::string open(std::FILE* out);
    // Serves the line. Returns only when a pseudo-terminal line has been closed by
    // --close-after; the return value is the process exit code.
    int run();

  private:
    bool connected() const { return line_fd_ >= 0; }
    void connect(int fd, SimTime now);
    void disconnect();
    // Reads what has arrived; false when the client has left.
    bool take_input(SimTime now);
    void handle_pieces(SimTime now);
    void send(protocol::Bytes bytes, SimTime now, bool is_reply);
    void unprompted(SimTime now);
    bool write_due(SimTime now);
    bool ready_to_close(SimTime now);
    int poll_timeout(SimTime now) const;

    SimOptions options_;
    DeviceLine line_;
    FaultPlan faults_;
    FrameLog log_;
    TcpListener listener_;
    PtyPort pty_;
    RequestReader reader_;
    RepeatFilter repeats_;
    OutputQueue output_;
    protocol::Bytes unwritten_;  // released by the queue, not yet taken by the socket

    int line_fd_ = -1;
    int frames_ = 0;
    bool closing_ = false;
    bool peer_gone_ = false;  // the client has left; what it sent last gets no reply
    std::optional<SimTime> drain_deadline_;
    std::optional<SimTime> next_noise_;
    std::optional<SimTime> next_report_;
};

}  // namespace sequencer_sim
