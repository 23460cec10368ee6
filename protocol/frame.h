#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace protocol {

using Byte = uint8_t;
using Bytes = std::vector<Byte>;

// A request frame is header, payload, check. Payloads of at most six bytes go in a short frame,
// longer ones (only WriteDelays) in a long frame.
inline constexpr Byte kShortHeader = 0x55;
inline constexpr Byte kLongHeader = 0x56;
inline constexpr size_t kMaxShortPayload = 6;

// Every request payload is four bytes (id, command, two arguments) except WriteDelays.
inline constexpr size_t kShortPayloadSize = 4;
inline constexpr size_t kDelaysPayloadSize = 36;
inline constexpr size_t kShortFrameSize = kShortPayloadSize + 2;    // 6
inline constexpr size_t kDelaysFrameSize = kDelaysPayloadSize + 2;  // 38

using ShortPayload = std::array<Byte, kShortPayloadSize>;
using DelaysPayload = std::array<Byte, kDelaysPayloadSize>;

// XOR of the given bytes, starting from 0x00. For a request these are the payload bytes; for a
// reply, every byte after the family byte up to (not including) the check byte.
Byte check_byte(std::span<const Byte> bytes);

// Wraps a payload into a frame: 0x55 for n <= 6, else 0x56, then the payload, then its check.
Bytes build_frame(std::span<const Byte> payload);

// The longest frame a request makes (WriteDelays).
inline constexpr size_t kMaxRequestFrameSize = kDelaysFrameSize;
// The same frame written into `out`, which holds it when the payload is at most
// kDelaysPayloadSize bytes; returns the frame, or nothing (and writes nothing) when it does not
// fit.
std::optional<std::span<const Byte>> write_frame(std::span<const Byte> payload,
                                                 std::span<Byte, kMaxRequestFrameSize> out);

// The device side of a request, as a sequencer (or the simulator) takes it off the line.
struct Request {
    Byte device_id = 0;
    Byte command = 0;
    Byte arg2 = 0;  // payload byte 2 (DeviceOption sub-code, mask index, lock flag)
    Byte arg3 = 0;  // payload byte 3 (channel, start channel, new id, mask flag)
    // For WriteDelays: payload bytes 2..35 (17 power-on then 17 power-off delay bytes).
    std::array<Byte, 34> delays{};
    bool long_frame = false;
};

// The length of the frame that starts with this header byte: 6 for a short frame, 38 for the
// long one, 0 when the byte starts no request.
size_t request_frame_length(Byte header);

// Decodes one whole request frame (exactly 6 or 38 bytes, header first). Returns nothing when
// the length does not match the header or the check byte is wrong.
std::optional<Request> parse_request_frame(std::span<const Byte> frame);

}  // namespace protocol
