#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace forms::automation {

// The component name of a start-up array element written with its indices, as operators read
// them: "ChannelButton[1][3]" names "ChannelButton1_3", "PanelIdEdit[0]" names "PanelIdEdit0".
// Nothing for a name that is not an identifier followed by one or two bracketed decimal
// indices (no sign, no blanks, at most four digits each).
std::optional<std::string> ArrayElementName(std::string_view written);

}  // namespace forms::automation
