// Feeds any batch through the reply recognisers and parsers, and any byte run through the
// device-side request parser, as the receive loop and the simulator would.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "protocol/replies.h"

using namespace protocol;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const Byte> batch(data, size);
    const ReplyKind kind = classify_reply(batch);
    (void)reply_intact(batch);
    // Every parser runs on every batch, whatever the others say.
    const bool ack = parse_ack(batch).has_value();
    const bool id = parse_id_reply(batch).has_value();
    const bool status = parse_status_reply(batch).has_value();
    const bool state = parse_state_report(batch).has_value();
    const bool any = ack || id || status || state;
    const auto settings = parse_settings_reply(batch);
    if ((any || settings) && kind == ReplyKind::Unknown) {
        std::abort();  // a parser accepted what the recogniser refused
    }
    if (settings && build_settings_reply(*settings) != Bytes(batch.begin(), batch.end())) {
        std::abort();  // an intact reply must rebuild to the same bytes
    }
    if (settings) {
        (void)settings->start_item();
    }
    (void)acknowledges(batch, ReadSettings(size > 0 ? data[0] : 0));
    (void)parse_request_frame(batch);
    return 0;
}
