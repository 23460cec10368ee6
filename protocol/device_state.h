#pragma once

#include <cstdint>

#include "protocol/frame.h"

namespace protocol {

// The status byte of StatusReply and StateReport. Bits 3-7 are not interpreted.
struct StatusByte {
    bool lcd_on = false;   // bit 0: the LCD channel (channel 0) is on
    bool locked = false;   // bit 1
    bool running = false;  // bit 2: the device is running a sequence

    static StatusByte decode(Byte b);
    Byte encode() const;
    friend bool operator==(const StatusByte&, const StatusByte&) = default;
};

// A big-endian 16-bit word over CH1..CH16: bit (16 - c) is CH c, so the high byte's bit 7 is CH1
// and the low byte's bit 0 is CH16. The channel word says which channels are on; the mask word
// of a StateReport says which are usable (set) or masked (clear).
struct ChannelWord {
    uint16_t bits = 0;

    static ChannelWord from_bytes(Byte high, Byte low) {
        return {static_cast<uint16_t>((high << 8) | low)};
    }
    Byte high() const { return static_cast<Byte>(bits >> 8); }
    Byte low() const { return static_cast<Byte>(bits & 0xFF); }

    // c from 1 to 16; any other channel reads false and is never set.
    bool test(int channel) const;
    void set(int channel, bool value);

    friend bool operator==(const ChannelWord&, const ChannelWord&) = default;
};

// Mask index m (0..15) names CH m+1.
constexpr int channel_of_mask_index(int m) {
    return m + 1;
}

}  // namespace protocol
