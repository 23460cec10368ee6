#pragma once

#include <array>

#include "protocol/frame.h"

namespace protocol {

// Command codes, payload byte 1 of every request.
enum class Command : Byte {
    ChannelOn = 0xA0,
    ChannelOff = 0xA1,
    AllOn = 0xA2,
    AllOff = 0xA3,
    SequentialOn = 0xA4,
    ReverseOff = 0xA5,
    DeviceOption = 0xA6,
    WriteDelays = 0xA7,
    PollStatus = 0xA8,
    ReadSettings = 0xA9,
    WriteId = 0xAA,
    ReadId = 0xAB,
    BroadcastAllOn = 0xAC,
    BroadcastAllOff = 0xAD,
    SetLock = 0xAE,
    SetMask = 0xAF,
};

// DeviceOption sub-codes, payload byte 2 of a DeviceOption request.
enum class Option : Byte {
    CascadeOn = 0x02,
    CascadeOff = 0x05,
    ManualSwitch = 0x07,
    TurnOn = 0x08,
    TurnOff = 0x09,
};

// Flag byte of SetLock and SetMask: set (locked, masked) or cleared.
inline constexpr Byte kFlagSet = 0xAA;
inline constexpr Byte kFlagCleared = 0x55;

// Mask index standing for all sixteen channels.
inline constexpr Byte kMaskAll = 0xFF;

// Number of channels a device has: "LCD" (0) and CH1..CH16.
inline constexpr int kChannelCount = 17;

constexpr Byte code_of(Command c) {
    return static_cast<Byte>(c);
}
constexpr Byte code_of(Option o) {
    return static_cast<Byte>(o);
}

// Payload builders, one per request. Channel c: 0 "LCD", 1..16 CH1..CH16.
ShortPayload ChannelOn(Byte id, Byte channel);
ShortPayload ChannelOff(Byte id, Byte channel);
ShortPayload AllOn(Byte id);
ShortPayload AllOff(Byte id);
ShortPayload SequentialOn(Byte id);
ShortPayload ReverseOff(Byte id);
ShortPayload PollStatus(Byte id);
ShortPayload ReadSettings(Byte id);
// old_id goes out exactly as entered (0..255).
ShortPayload WriteId(Byte old_id, Byte new_id);
ShortPayload ReadId();
ShortPayload BroadcastAllOn();
ShortPayload BroadcastAllOff();
ShortPayload SetLock(Byte id, bool locked);
// mask_index 0..15 for CH1..CH16, kMaskAll for all.
ShortPayload SetMask(Byte id, Byte mask_index, bool masked);

// start_channel is the selected item index of the start-channel box (0..16); -1 (no selection)
// goes out as 0xFF, like any other value, as its low byte.
ShortPayload DeviceOption(Byte id, Option option, int start_channel);
ShortPayload CascadeOn(Byte id, int start_channel);
ShortPayload CascadeOff(Byte id, int start_channel);
ShortPayload ManualSwitch(Byte id, int start_channel);
ShortPayload TurnOn(Byte id, int start_channel);
ShortPayload TurnOff(Byte id, int start_channel);

// The 36-byte payload: id, 0xA7, 17 power-on delay bytes, 17 power-off delay bytes (channel 0
// "LCD" first).
DelaysPayload WriteDelays(Byte id, const std::array<Byte, kChannelCount>& on_delays,
                          const std::array<Byte, kChannelCount>& off_delays);

}  // namespace protocol
