#pragma once

#include <string>
#include <vector>

namespace forms::automation {

// What the program was asked to do on its command line.
struct CommandLine {
    bool headless = false;    // --headless: no X display
    int screen_width = 1280;  // --screen WxH: the headless screen size
    int screen_height = 1024;
    std::string screenshot;  // --screenshot FILE
    std::string script;      // --script FILE
    // --exit-after-first-frame: end once the main window's first frame is on the display (for
    // measuring start-up)
    bool exit_after_first_frame = false;
    bool help = false;
    bool version = false;
    std::string error;  // set when the arguments are malformed
};

// Parses the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
CommandLine ParseCommandLine(int argc, char** argv);
std::string HelpText(const std::string& program);
std::string VersionText(const std::string& program);

}  // namespace forms::automation
