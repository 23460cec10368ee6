// Command-line arguments for the COM mappings: any bytes, split into arguments at zero bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/com_port_options.h"
#include "platform/serial/com_ports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back().push_back(static_cast<char>(data[i]));
    }
    const devlink::ComOptionsResult result = devlink::TakeComOptions(args);
    // Every argument is either taken as a mapping or handed on, never both nor lost.
    if (result.error.empty() && result.rest.size() > args.size())
        __builtin_trap();
    for (int n = 0; n <= 256; n += 37)
        (void)serial::com_device_path(n);
    serial::clear_com_mappings();
    return 0;
}
