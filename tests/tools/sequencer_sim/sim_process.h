#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/frame.h"

namespace sequencer_sim::testing {

// The real sequencer-sim process, started with the given options; its first output line is
// read at once. The destructor stops it.
class SimProcess {
  public:
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& first_line() const { return first_line_; }
    uint16_t port() const;         // from "tcp HOST:PORT"
    std::string pty_path() const;  // from "pty PATH"
    // Waits up to the given time for the process to end; its exit status, or -1.
    int wait_exit(std::chrono::milliseconds limit);
    // Stops the process (SIGSTOP) and returns once it has stopped, so that it writes nothing
    // until resume(); a test uses it to hold the simulator between two writes of its own.
    void pause();
    void resume();

  private:
    pid_t pid_ = -1;
    std::string first_line_;
};

// One end of the line as the console holds it: a loopback TCP client or the opened pty.
class LineEnd {
  public:
    static LineEnd tcp(uint16_t port);
    static LineEnd pty(const std::string& path);
    ~LineEnd();
    LineEnd(LineEnd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    LineEnd(const LineEnd&) = delete;
    LineEnd& operator=(const LineEnd&) = delete;

    void send(const protocol::Bytes& bytes);
    // Reads until n bytes have come or the time is up.
    protocol::Bytes receive(size_t n, std::chrono::milliseconds limit = std::chrono::seconds(2));
    // Whatever arrives in one read, waiting at most the given time for it.
    protocol::Bytes receive_some(std::chrono::milliseconds limit = std::chrono::seconds(2));
    // True when the other side closed the connection within the time.
    bool closed_within(std::chrono::milliseconds limit);

  private:
    explicit LineEnd(int fd) : fd_(fd) {}
    int fd_;
};

std::vector<std::string> read_lines(const std::string& path);

}  // namespace sequencer_sim::testing
