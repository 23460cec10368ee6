#pragma once

#include <array>
#include <optional>
#include <vector>

#include "protocol/device_state.h"
#include "protocol/frame.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "tools/sequencer_sim/sim_time.h"

namespace sequencer_sim {

using protocol::Byte;
using protocol::Bytes;

// The settings a sequencer keeps: a power-on and a power-off delay byte per channel, cascade,
// start channel and lock.
struct DeviceSettings {
    std::array<Byte, protocol::kChannelCount> on_delays{};
    std::array<Byte, protocol::kChannelCount> off_delays{};
    bool cascade = false;
    Byte start_channel = 0;
    bool locked = false;
};

// One simulated sequencer: 17 channels ("LCD" and CH1..CH16), 34 delays, cascade, start
// channel, lock and the masks of CH1..CH16, and the sequence it may be running.
//
// Behaviour where the console leaves the device open:
// - A request the device does not know (unknown command or DeviceOption sub-code, a short frame
//   with the WriteDelays code, a long frame with any other code) is not answered.
// - Switching requests (ChannelOn/Off, AllOn/Off, SequentialOn, ReverseOff, the broadcasts,
//   ManualSwitch, TurnOn, TurnOff) are acknowledged but not carried out while the device is
//   locked or running a sequence. Settings, masks, lock and ID may be changed at any time.
// - A masked channel keeps its state and is left out of every switching request and sequence.
//   The LCD channel has no mask.
// - A sequential power-on starts at the start channel when cascade is on (at "LCD" when it is
//   off) and runs upwards through all 17 channels, wrapping from CH16 to "LCD". Before each
//   channel it waits that channel's power-on delay. The reverse power-off runs the same order
//   backwards, waiting each channel's power-off delay before switching it off.
// - TurnOn is a sequential power-on, TurnOff a reverse power-off; ManualSwitch runs the power-off
//   when any channel is on and the power-on otherwise.
class SimDevice {
  public:
    // time_scale divides every delay (1 = real time; tests use larger values).
    explicit SimDevice(Byte id, double time_scale = 1.0);

    Byte id() const { return id_; }
    // ID 0 addresses every device on the line.
    bool addressed_by(Byte request_id) const { return request_id == 0 || request_id == id_; }

    // Carries out a request addressed to this device and returns the reply it sends, or nothing
    // when it sends none. Any sequence step due by now is taken first.
    std::optional<Bytes> handle(const protocol::Request& request, SimTime now);

    // Takes every sequence step due by now.
    void advance(SimTime now);
    // When the next sequence step is due, or nothing while no sequence runs.
    std::optional<SimTime> next_step_time() const;

    // The StateReport with the given code (0xB0 or 0xB1) describing the device now.
    Bytes state_report(Byte code) const;

    bool channel_on(int channel) const { return on_[channel]; }
    bool masked(int channel) const;
    bool running() const { return !sequence_.empty(); }
    const DeviceSettings& settings() const { return settings_; }

    protocol::StatusByte status() const;
    protocol::ChannelWord channel_word() const;
    protocol::ChannelWord mask_word() const;

    // How long a delay byte lasts on this device (its unit, its half units capped at 60, the
    // time scale).
    SimDuration delay_duration(Byte delay) const;

  private:
    bool switching_blocked() const { return settings_.locked || running(); }
    void switch_all(bool on);
    void start_sequence(bool power_on, SimTime now);
    std::vector<int> power_on_order() const;
    Bytes settings_reply() const;
    std::optional<Bytes> handle_option(const protocol::Request& request, SimTime now);
    std::optional<Bytes> handle_mask(const protocol::Request& request);

    Byte id_;
    double time_scale_;
    std::array<bool, protocol::kChannelCount> on_{};
    protocol::ChannelWord masked_;  // set bit = channel masked
    DeviceSettings settings_;

    // The running sequence: the channels still to switch, in order, and when the first is due.
    std::vector<int> sequence_;
    bool sequence_on_ = false;
    SimTime next_step_{};
};

}  // namespace sequencer_sim
