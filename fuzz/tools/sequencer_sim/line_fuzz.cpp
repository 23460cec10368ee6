// Any byte stream from the console, cut into writes at any points and spread over time, goes
// through the simulator's receiver and devices. Every reply they give must be one whole reply
// of a known length with a good check byte (an Ack has none), and once the line has been quiet
// long enough the receiver must have given up every byte it took.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "protocol/replies.h"
#include "tools/sequencer_sim/device_line.h"
#include "tools/sequencer_sim/request_reader.h"

using namespace sequencer_sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first byte picks the size of the writes, the second how far time moves between them.
    const size_t chunk = 1 + data[0] % 40;
    const auto step = std::chrono::milliseconds(data[1]);
    data += 2;
    size -= 2;

    DeviceLine line({1, 2, 3, 3}, 50.0, (size & 1) != 0);
    RequestReader reader;
    SimTime now{};
    for (size_t pos = 0; pos < size; pos += chunk) {
        reader.feed(data + pos, std::min(chunk, size - pos), now);
        now += step;
        line.advance(now);
        for (auto& piece : reader.take(now)) {
            if (!piece.request) {
                continue;
            }
            for (const auto& reply : line.handle(*piece.request, now)) {
                const auto kind = protocol::classify_reply(reply);
                if (kind == protocol::ReplyKind::Unknown ||
                    (kind != protocol::ReplyKind::Ack && !protocol::reply_intact(reply))) {
                    std::abort();
                }
            }
        }
    }
    size_t given_up = 0;
    for (auto& piece : reader.take(now + std::chrono::seconds(1))) {
        given_up += piece.bytes.size();
    }
    if (reader.deadline() || given_up > protocol::kDelaysFrameSize) {
        std::abort();
    }
    return 0;
}
