#pragma once

#include <deque>
#include <functional>
#include <span>
#include <vector>

#include "protocol/frame.h"
#include "tools/velmor_ctl/ctl_line.h"

namespace velmor_ctl::testing {

// A line whose reads return prepared pieces in turn; after the last one, nothing (or a closed
// connection). A test may answer each request as it is sent (on_send) and act at every read
// (on_read).
class ScriptedLine : public ctl::Line {
  public:
    std::deque<protocol::Bytes> pieces;
    bool close_at_end = false;
    bool refuse_sends = false;  // the connection is gone: nothing can be sent
    std::vector<protocol::Bytes> sent;
    std::function<void(const protocol::Bytes& frame)> on_send;
    std::function<void()> on_read;

    bool Send(std::span<const uint8_t> frame) override {
        if (refuse_sends) {
            return false;
        }
        sent.emplace_back(frame.begin(), frame.end());
        if (on_send) {
            on_send(sent.back());
        }
        return true;
    }
    ctl::ReadResult Read(std::vector<uint8_t>* into, int) override {
        if (on_read) {
            on_read();
        }
        if (pieces.empty()) {
            return close_at_end ? ctl::ReadResult::Closed : ctl::ReadResult::Nothing;
        }
        into->insert(into->end(), pieces.front().begin(), pieces.front().end());
        pieces.pop_front();
        return ctl::ReadResult::Data;
    }
    void Discard() override {}
};

}  // namespace velmor_ctl::testing
