#pragma once

#include <string>
#include <vector>

namespace devlink {

// Takes the console's own port options out of a command line: every "--com N=PATH" (also
// written "--com=N=PATH") maps the port COMn to the device PATH for this run, in addition to
// $VELMOR_COMn, which the serial layer reads by itself. The other arguments are returned in
// their order. A --com option without a value, or with one that is not N=PATH (N from 1 to
// 255, PATH not empty), is refused: `error` then names it and nothing after it is mapped.
struct ComOptionsResult {
    std::vector<std::string> rest;
    std::string error;
};
ComOptionsResult TakeComOptions(const std::vector<std::string>& args);

}  // namespace devlink
