#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "protocol/frame.h"

namespace sequencer_sim {

// "rx" or "tx", then each byte as two upper-case hex digits, separated by spaces.
std::string format_log_line(std::string_view direction, const protocol::Bytes& bytes);

// The frame log: one line per frame received or sent, flushed at once so that a test can read
// it while the simulator runs. A log that is not open writes nothing.
class FrameLog {
  public:
    FrameLog() = default;
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    bool open(const std::string& path);
    void received(const protocol::Bytes& bytes) { write("rx", bytes); }
    void sent(const protocol::Bytes& bytes) { write("tx", bytes); }

  private:
    void write(std::string_view direction, const protocol::Bytes& bytes);
    std::FILE* file_ = nullptr;
};

}  // namespace sequencer_sim
