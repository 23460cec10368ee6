#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ctl {

// A channel as the operator names it on the command line: "LCD" (channel 0), "1" to "16" or
// "CH1" to "CH16" (case-insensitive). Returns the channel index 0..16, or nothing.
std::optional<int> ParseChannel(std::string_view name);

// The name the console shows for a channel index: "LCD", "CH1" .. "CH16".
std::string ChannelName(int channel);

// A list of channel names, in the order given, each at most once. "all" is not a channel here;
// callers that accept it test for it first. Returns nothing (and the offending name in *bad)
// when a name is no channel.
std::optional<std::vector<int>> ParseChannels(const std::vector<std::string>& names,
                                              std::string* bad);

// The channels of the list joined for people: runs of three or more neighbours become ranges,
// "LCD, CH1-CH4, CH16"; "none" for an empty list.
std::string ChannelRanges(const std::vector<int>& channels);

}  // namespace ctl
