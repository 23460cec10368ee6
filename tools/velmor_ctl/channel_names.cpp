#include "tools/velmor_ctl/channel_names.h"

#include <algorithm>

namespace ctl {

namespace {

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// "1" .. "16" without sign, blanks or leading zeros.
std::optional<int> channel_number(std::string_view digits) {
    if (digits.empty() || digits.size() > 2 || digits[0] == '0') {
        return std::nullopt;
    }
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= 16 ? std::optional<int>(n) : std::nullopt;
}

}  // namespace

std::optional<int> ParseChannel(std::string_view name) {
    if (equal_ignoring_case(name, "LCD")) {
        return 0;
    }
    if (name.size() > 2 && equal_ignoring_case(name.substr(0, 2), "CH")) {
        return channel_number(name.substr(2));
    }
    return channel_number(name);
}

std::string ChannelName(int channel) {
    return channel == 0 ? std::string("LCD") : "CH" + std::to_string(channel);
}

std::optional<std::vector<int>> ParseChannels(const std::vector<std::string>& names,
                                              std::string* bad) {
    std::vector<int> channels;
    for (const std::string& name : names) {
        const auto channel = ParseChannel(name);
        if (!channel) {
            if (bad) {
                *bad = name;
            }
            return std::nullopt;
        }
        if (std::find(channels.begin(), channels.end(), *channel) == channels.end()) {
            channels.push_back(*channel);
        }
    }
    return channels;
}

std::string ChannelRanges(const std::vector<int>& channels) {
    if (channels.empty()) {
        return "none";
    }
    std::vector<int> sorted = channels;
    std::sort(sorted.begin(), sorted.end());
    std::string text;
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i;
        // LCD stands apart from CH1: it is no neighbour in a range.
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1 && sorted[i] != 0) {
            ++j;
        }
        if (!text.empty()) {
            text += ", ";
        }
        if (j - i >= 2) {
            text += ChannelName(sorted[i]) + "-" + ChannelName(sorted[j]);
            i = j + 1;
        } else {
            text += ChannelName(sorted[i]);
            ++i;
        }
    }
    return text;
}

}  // namespace ctl
