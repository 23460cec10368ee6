// Feeds any bytes from the line, in any pieces, to velmor-ctl's commands (all but watch, whose
// polling shares the same answer judging but keeps a pace of its own): whatever arrives, a
// command either prints a result built from a verified answer of the addressed device or
// fails with status 1; it never crashes and never prints a result from a bad answer.
//
// Input: byte 0 picks the command, byte 1 the device ID; then pieces, each a length byte
// followed by that many bytes of line input, the last piece possibly cut short.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <sstream>

#include "protocol/replies.h"
#include "tools/velmor_ctl/ctl_commands.h"

namespace {

class FuzzedLine : public ctl::Line {
  public:
    std::deque<std::vector<uint8_t>> pieces;
    bool closes = false;

    bool Send(std::span<const uint8_t>) override { return true; }
    ctl::ReadResult Read(std::vector<uint8_t>* into, int) override {
        if (pieces.empty()) {
            return closes ? ctl::ReadResult::Closed : ctl::ReadResult::Nothing;
        }
        into->insert(into->end(), pieces.front().begin(), pieces.front().end());
        pieces.pop_front();
        return ctl::ReadResult::Data;
    }
    void Discard() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    static constexpr ctl::CommandKind kCommands[] = {
        ctl::CommandKind::Status,      ctl::CommandKind::Settings, ctl::CommandKind::Id,
        ctl::CommandKind::SetId,       ctl::CommandKind::On,       ctl::CommandKind::Mask,
        ctl::CommandKind::Cascade,     ctl::CommandKind::Delays,   ctl::CommandKind::Scan,
        ctl::CommandKind::BroadcastOn,
    };
    ctl::Invocation inv;
    inv.command = kCommands[data[0] % std::size(kCommands)];
    inv.command_name = "fuzz";
    inv.json = (data[0] & 0x80) != 0;
    const uint8_t id = data[1] == 0 ? 1 : data[1];
    inv.ids = {id};
    inv.new_id = 9;
    inv.channels = {0, 1, 16};
    inv.first = id;
    inv.last = id < 253 ? id + 2 : 255;
    inv.on_delays = {{3, {"60", true}}};

    FuzzedLine line;
    size_t at = 2;
    while (at < size) {
        const size_t n = data[at++];
        const size_t take = std::min(n, size - at);
        line.pieces.emplace_back(data + at, data + at + take);
        at += take;
    }
    line.closes = (data[0] & 0x40) != 0;
    ctl::Exchanger exchanger(line, 0);
    std::ostringstream out, err;
    const std::atomic<bool> stop{false};
    const int status = ctl::RunCommand(inv, exchanger, out, err, stop);
    if (status != ctl::kExitDone && status != ctl::kExitNoAnswer) {
        std::abort();
    }
    if (status == ctl::kExitNoAnswer && err.str().empty()) {
        std::abort();  // a failure always says what happened
    }
    return 0;
}
