#pragma once

#include <cstdint>

namespace realtime {

// What the last applied status reply put on one device panel, so that a reply that changes
// nothing leaves the panel's controls unread and unwritten. The panel's controls count every
// change of their state in `changes` (forms::TControl::SetChangeCounter); the record holds only
// while that count is the one it was left at, so any other writer of the panel (the operator's
// clicks, the queue's follow-up, the poller's reset, a language switch, a script, a test)
// makes the next reply write the panel again without having to know about the record.
struct ShownStatus {
    // A channel c (0 "LCD" to 16) stands at bit 16 - c, as in the device's channel word.
    static constexpr uint32_t kAllChannels = 0x1FFFF;
    static constexpr uint16_t kAllMasks = 0xFFFF;

    static constexpr uint32_t ChannelBit(int c) { return uint32_t{1} << (16 - c); }
    // The mask index m (0 to 15) stands for channel m + 1, at the same place as its channel.
    static constexpr uint16_t MaskBit(int m) { return static_cast<uint16_t>(1u << (15 - m)); }

    // Added to by the panel's controls at each change of their state.
    uint32_t changes = 0;
    // `changes` as the last reply left it.
    uint32_t changes_applied = 0;
    // Channels shown on: red indicator, the off-text on the button.
    uint32_t lit = 0;
    // Mask word of the last StateReport: a set bit is a usable channel (mask box clear, channel
    // button enabled). Holds only with `masks_known`.
    uint16_t usable = 0;
    // The language whose on- and off-texts the channel buttons carry.
    int language = 0;
    bool known = false;
    bool locked = false;
    // Set by a StateReport only: a StatusReply does not show the masks.
    bool masks_known = false;

    // Whether the panel still shows what the record says, in the given language.
    bool Holds(int current_language) const {
        return known && changes == changes_applied && language == current_language;
    }
};

}  // namespace realtime
