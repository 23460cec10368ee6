#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmor_ctl::testing {

// What a run of the velmor-ctl program gave: its exit status and its two outputs.
struct CtlRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs velmor-ctl (VELMOR_CTL_PATH) with the arguments and waits for it to end; its outputs
// pass through files in `scratch`.
CtlRun RunCtl(std::vector<std::string> args, const std::filesystem::path& scratch);

}  // namespace velmor_ctl::testing
