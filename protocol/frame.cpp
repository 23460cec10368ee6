#include "protocol/frame.h"

#include <algorithm>

namespace protocol {

Byte check_byte(std::span<const Byte> bytes) {
    Byte x = 0x00;
    for (Byte b : bytes) {
        x ^= b;
    }
    return x;
}

Bytes build_frame(std::span<const Byte> payload) {
    Bytes frame;
    frame.reserve(payload.size() + 2);
    frame.push_back(payload.size() <= kMaxShortPayload ? kShortHeader : kLongHeader);
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(check_byte(payload));
    return frame;
}

std::optional<std::span<const Byte>> write_frame(std::span<const Byte> payload,
                                                 std::span<Byte, kMaxRequestFrameSize> out) {
    if (payload.size() + 2 > out.size())
        return std::nullopt;
    out[0] = payload.size() <= kMaxShortPayload ? kShortHeader : kLongHeader;
    std::copy(payload.begin(), payload.end(), out.begin() + 1);
    out[payload.size() + 1] = check_byte(payload);
    return std::span<const Byte>(out.data(), payload.size() + 2);
}

size_t request_frame_length(Byte header) {
    if (header == kShortHeader) {
        return kShortFrameSize;
    }
    if (header == kLongHeader) {
        return kDelaysFrameSize;
    }
    return 0;
}

std::optional<Request> parse_request_frame(std::span<const Byte> frame) {
    if (frame.empty() || frame.size() != request_frame_length(frame[0])) {
        return std::nullopt;
    }
    const auto payload = frame.subspan(1, frame.size() - 2);
    if (check_byte(payload) != frame.back()) {
        return std::nullopt;
    }
    Request r;
    r.device_id = payload[0];
    r.command = payload[1];
    r.long_frame = frame[0] == kLongHeader;
    if (r.long_frame) {
        std::copy(payload.begin() + 2, payload.end(), r.delays.begin());
    } else {
        r.arg2 = payload[2];
        r.arg3 = payload[3];
    }
    return r;
}

}  // namespace protocol
