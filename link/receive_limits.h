#pragma once

#include <cstddef>
#include <cstdint>

namespace devlink {

// The receive loop reads when the tick count has reached its limit: on every 6th tick of the
// 10 ms timer (about 60 ms after a request), every 21st after a settings request, whose 41-byte
// reply takes about 21 ms on the serial line.
inline constexpr uint8_t kReadTickLimit = 5;
inline constexpr uint8_t kSlowReadTickLimit = 20;
// Without a link every tick only finds that there is none; the loop sleeps through a second of
// them at a time.
inline constexpr unsigned kTicksSkippedWithoutLink = 100;

// The longest reply; a longer batch can be no reply and is dropped.
inline constexpr size_t kMaxBatch = 41;
// More than this waiting on the serial port is line noise: purged unread.
inline constexpr size_t kMaxSerialQueue = 512;
// The Ethernet read lets the rest of a reply that is on its way arrive.
inline constexpr int kTcpReadWaitMs = 10;

}  // namespace devlink
