#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace serial {

// Where the port named "COM" + n lives: the path set on the command line (--com N=PATH), else
// $VELMOR_COMn, else /dev/ttyS<n-1>. Port numbers without a device (COM0, say) map to a path
// that does not exist, so opening them fails as any absent port does.
std::string com_device_path(int n);

// Sets (or, with an empty path, clears) the command-line mapping of COMn.
void set_com_mapping(int n, std::string path);
void clear_com_mappings();

// Reads one --com argument "N=PATH" and sets the mapping. Returns false, changing nothing, for
// any other form (N must be a decimal number from 1 to 255, PATH non-empty).
bool parse_com_mapping(std::string_view argument);

// The port number of a device name "COMn" (case-insensitive, as the system's device names are),
// or nothing when the name is not of that form.
std::optional<int> com_port_number(std::string_view name);

}  // namespace serial
