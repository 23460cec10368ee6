#pragma once

namespace device_setup {

// What a tick of the alarm and schedule timer decides to send to the working device.
enum class PowerAction { None, TurnOn, TurnOff };

}  // namespace device_setup
