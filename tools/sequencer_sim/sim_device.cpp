#include "tools/sequencer_sim/sim_device.h"

#include <algorithm>

#include "protocol/delay_byte.h"

namespace sequencer_sim {

namespace {

using protocol::Command;
using protocol::Option;

// A new device waits half a second before each channel it switches on and a second before each
// it switches off, the console's own default delays.
constexpr Byte kDefaultOnDelay = 0x01;
constexpr Byte kDefaultOffDelay = 0x02;

bool is_switching(Command c) {
    switch (c) {
        case Command::ChannelOn:
        case Command::ChannelOff:
        case Command::AllOn:
        case Command::AllOff:
        case Command::SequentialOn:
        case Command::ReverseOff:
        case Command::BroadcastAllOn:
        case Command::BroadcastAllOff:
            return true;
        default:
            return false;
    }
}

}  // namespace

SimDevice::SimDevice(Byte id, double time_scale)
    : id_(id), time_scale_(time_scale > 0 ? time_scale : 1.0) {
    settings_.on_delays.fill(kDefaultOnDelay);
    settings_.off_delays.fill(kDefaultOffDelay);
}

bool SimDevice::masked(int channel) const {
    return masked_.test(channel);
}

protocol::StatusByte SimDevice::status() const {
    protocol::StatusByte s;
    s.lcd_on = on_[0];
    s.locked = settings_.locked;
    s.running = running();
    return s;
}

protocol::ChannelWord SimDevice::channel_word() const {
    protocol::ChannelWord w;
    for (int c = 1; c < protocol::kChannelCount; ++c) {
        w.set(c, on_[c]);
    }
    return w;
}

protocol::ChannelWord SimDevice::mask_word() const {
    return {static_cast<uint16_t>(~masked_.bits)};
}

SimDuration SimDevice::delay_duration(Byte delay) const {
    const int halves = std::min(protocol::delay_halves_of(delay), protocol::kMaxDelayHalves);
    const double unit_seconds = protocol::delay_in_minutes(delay) ? 30.0 : 0.5;
    const std::chrono::duration<double> seconds(halves * unit_seconds / time_scale_);
    return std::chrono::duration_cast<SimDuration>(seconds);
}

Bytes SimDevice::state_report(Byte code) const {
    return protocol::build_state_report(id_, code, status(), channel_word(), mask_word());
}

Bytes SimDevice::settings_reply() const {
    protocol::SettingsReply r;
    r.device_id = id_;
    r.on_delays = settings_.on_delays;
    r.off_delays = settings_.off_delays;
    r.cascade = settings_.cascade ? protocol::kCascadeOnByte : 0x05;
    r.start_channel = settings_.start_channel;
    r.lock = settings_.locked ? protocol::kFlagSet : protocol::kUnlockedByte;
    return protocol::build_settings_reply(r);
}

void SimDevice::switch_all(bool on) {
    on_[0] = on;
    for (int c = 1; c < protocol::kChannelCount; ++c) {
        if (!masked(c)) {
            on_[c] = on;
        }
    }
}

std::vector<int> SimDevice::power_on_order() const {
    const int start = settings_.cascade && settings_.start_channel < protocol::kChannelCount
                          ? settings_.start_channel
                          : 0;
    std::vector<int> order;
    for (int i = 0; i < protocol::kChannelCount; ++i) {
        const int c = (start + i) % protocol::kChannelCount;
        if (!masked(c)) {
            order.push_back(c);
        }
    }
    return order;
}

void SimDevice::start_sequence(bool power_on, SimTime now) {
    sequence_ = power_on_order();
    if (!power_on) {
        std::reverse(sequence_.begin(), sequence_.end());
    }
    sequence_on_ = power_on;
    if (!sequence_.empty()) {
        const auto& delays = power_on ? settings_.on_delays : settings_.off_delays;
        next_step_ = now + delay_duration(delays[sequence_.front()]);
    }
    advance(now);
}

void SimDevice::advance(SimTime now) {
    const auto& delays = sequence_on_ ? settings_.on_delays : settings_.off_delays;
    while (!sequence_.empty() && next_step_ <= now) {
        on_[sequence_.front()] = sequence_on_;
        sequence_.erase(sequence_.begin());
        if (!sequence_.empty()) {
            // Each step is timed from the previous one, not from when the loop noticed it.
            next_step_ += delay_duration(delays[sequence_.front()]);
        }
    }
}

std::optional<SimTime> SimDevice::next_step_time() const {
    if (sequence_.empty()) {
        return std::nullopt;
    }
    return next_step_;
}

std::optional<Bytes> SimDevice::handle_option(const protocol::Request& r, SimTime now) {
    switch (static_cast<Option>(r.arg2)) {
        case Option::CascadeOn:
            settings_.cascade = true;
            // A start channel that names no channel (0xFF from an empty selection) keeps the
            // one the device had.
            if (r.arg3 < protocol::kChannelCount) {
                settings_.start_channel = r.arg3;
            }
            break;
        case Option::CascadeOff:
            settings_.cascade = false;
            break;
        case Option::ManualSwitch:
            if (!switching_blocked()) {
                const bool any_on = std::find(on_.begin(), on_.end(), true) != on_.end();
                start_sequence(!any_on, now);
            }
            break;
        case Option::TurnOn:
        case Option::TurnOff:
            if (!switching_blocked()) {
                start_sequence(r.arg2 == protocol::code_of(Option::TurnOn), now);
            }
            break;
        default:
            return std::nullopt;
    }
    return protocol::build_ack(r.device_id, r.command);
}

std::optional<Bytes> SimDevice::handle_mask(const protocol::Request& r) {
    if (r.arg3 == protocol::kFlagSet || r.arg3 == protocol::kFlagCleared) {
        const bool mask = r.arg3 == protocol::kFlagSet;
        if (r.arg2 == protocol::kMaskAll) {
            masked_.bits = mask ? 0xFFFF : 0x0000;
        } else if (r.arg2 < 16) {
            masked_.set(protocol::channel_of_mask_index(r.arg2), mask);
        }
    }
    return protocol::build_ack(r.device_id, r.command);
}

std::optional<Bytes> SimDevice::handle(const protocol::Request& r, SimTime now) {
    advance(now);
    const auto command = static_cast<Command>(r.command);
    if (r.long_frame != (command == Command::WriteDelays)) {
        return std::nullopt;
    }
    if (is_switching(command) && switching_blocked()) {
        return protocol::build_ack(r.device_id, r.command);
    }
    switch (command) {
        case Command::ChannelOn:
        case Command::ChannelOff:
            if (r.arg3 < protocol::kChannelCount && !masked(r.arg3)) {
                on_[r.arg3] = command == Command::ChannelOn;
            }
            break;
        case Command::AllOn:
        case Command::BroadcastAllOn:
            switch_all(true);
            break;
        case Command::AllOff:
        case Command::BroadcastAllOff:
            switch_all(false);
            break;
        case Command::SequentialOn:
        case Command::ReverseOff:
            start_sequence(command == Command::SequentialOn, now);
            break;
        case Command::DeviceOption:
            return handle_option(r, now);
        case Command::WriteDelays:
            std::copy_n(r.delays.begin(), protocol::kChannelCount, settings_.on_delays.begin());
            std::copy_n(r.delays.begin() + protocol::kChannelCount, protocol::kChannelCount,
                        settings_.off_delays.begin());
            return settings_reply();
        case Command::PollStatus:
            return protocol::build_status_reply(id_, status(), channel_word());
        case Command::ReadSettings:
            return settings_reply();
        case Command::WriteId:
            // A device takes no ID 0: that would make it answer to every broadcast only.
            if (r.arg3 == 0) {
                return std::nullopt;
            }
            id_ = r.arg3;
            break;
        case Command::ReadId:
            return protocol::build_id_reply(id_, r.device_id);
        case Command::SetLock:
            if (r.arg2 == protocol::kFlagSet || r.arg2 == protocol::kFlagCleared) {
                settings_.locked = r.arg2 == protocol::kFlagSet;
            }
            break;
        case Command::SetMask:
            return handle_mask(r);
        default:
            return std::nullopt;
    }
    return protocol::build_ack(r.device_id, r.command);
}

}  // namespace sequencer_sim
