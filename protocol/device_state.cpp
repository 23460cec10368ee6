#include "protocol/device_state.h"

namespace protocol {

StatusByte StatusByte::decode(Byte b) {
    return {(b & 0x01) != 0, (b & 0x02) != 0, (b & 0x04) != 0};
}

Byte StatusByte::encode() const {
    return static_cast<Byte>((lcd_on ? 0x01 : 0) | (locked ? 0x02 : 0) | (running ? 0x04 : 0));
}

namespace {
bool valid_channel(int channel) {
    return channel >= 1 && channel <= 16;
}
uint16_t bit_of(int channel) {
    return static_cast<uint16_t>(1u << (16 - channel));
}
}  // namespace

bool ChannelWord::test(int channel) const {
    return valid_channel(channel) && (bits & bit_of(channel)) != 0;
}

void ChannelWord::set(int channel, bool value) {
    if (!valid_channel(channel)) {
        return;
    }
    if (value) {
        bits = static_cast<uint16_t>(bits | bit_of(channel));
    } else {
        bits = static_cast<uint16_t>(bits & ~bit_of(channel));
    }
}

}  // namespace protocol
