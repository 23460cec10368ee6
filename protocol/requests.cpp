#include "protocol/requests.h"

#include <algorithm>

namespace protocol {

namespace {

ShortPayload make(Byte id, Command command, Byte arg2 = 0x00, Byte arg3 = 0x00) {
    return {id, code_of(command), arg2, arg3};
}

Byte flag(bool set) {
    return set ? kFlagSet : kFlagCleared;
}

}  // namespace

ShortPayload ChannelOn(Byte id, Byte channel) {
    return make(id, Command::ChannelOn, 0, channel);
}
ShortPayload ChannelOff(Byte id, Byte channel) {
    return make(id, Command::ChannelOff, 0, channel);
}
ShortPayload AllOn(Byte id) {
    return make(id, Command::AllOn);
}
ShortPayload AllOff(Byte id) {
    return make(id, Command::AllOff);
}
ShortPayload SequentialOn(Byte id) {
    return make(id, Command::SequentialOn);
}
ShortPayload ReverseOff(Byte id) {
    return make(id, Command::ReverseOff);
}
ShortPayload PollStatus(Byte id) {
    return make(id, Command::PollStatus);
}
ShortPayload ReadSettings(Byte id) {
    return make(id, Command::ReadSettings);
}
ShortPayload WriteId(Byte old_id, Byte new_id) {
    return make(old_id, Command::WriteId, 0, new_id);
}
ShortPayload ReadId() {
    return make(0x00, Command::ReadId);
}
ShortPayload BroadcastAllOn() {
    return make(0x00, Command::BroadcastAllOn);
}
ShortPayload BroadcastAllOff() {
    return make(0x00, Command::BroadcastAllOff);
}
ShortPayload SetLock(Byte id, bool locked) {
    return make(id, Command::SetLock, flag(locked));
}
ShortPayload SetMask(Byte id, Byte mask_index, bool masked) {
    return make(id, Command::SetMask, mask_index, flag(masked));
}

ShortPayload DeviceOption(Byte id, Option option, int start_channel) {
    return make(id, Command::DeviceOption, code_of(option),
                static_cast<Byte>(start_channel & 0xFF));
}
ShortPayload CascadeOn(Byte id, int start_channel) {
    return DeviceOption(id, Option::CascadeOn, start_channel);
}
ShortPayload CascadeOff(Byte id, int start_channel) {
    return DeviceOption(id, Option::CascadeOff, start_channel);
}
ShortPayload ManualSwitch(Byte id, int start_channel) {
    return DeviceOption(id, Option::ManualSwitch, start_channel);
}
ShortPayload TurnOn(Byte id, int start_channel) {
    return DeviceOption(id, Option::TurnOn, start_channel);
}
ShortPayload TurnOff(Byte id, int start_channel) {
    return DeviceOption(id, Option::TurnOff, start_channel);
}

DelaysPayload WriteDelays(Byte id, const std::array<Byte, kChannelCount>& on_delays,
                          const std::array<Byte, kChannelCount>& off_delays) {
    DelaysPayload p{};
    p[0] = id;
    p[1] = code_of(Command::WriteDelays);
    std::copy(on_delays.begin(), on_delays.end(), p.begin() + 2);
    std::copy(off_delays.begin(), off_delays.end(), p.begin() + 2 + kChannelCount);
    return p;
}

}  // namespace protocol
