#pragma once

#include <string>
#include <vector>

// The console's own command-line options, taken out before the framework reads the rest:
// --settings-dir DIR (the directory of the settings file, instead of $VELMOR_SETTINGS_DIR or
// the configuration directory), --com N=PATH (repeatable: the device of port COMn) and
// --tcp-port P (the Ethernet link's port for this run), --no-skin (the plain look) and
// --skin FILE (a skin package file instead of the built-in skin).
struct ProgramOptions {
    std::string settings_dir;
    bool no_skin = false;
    std::string skin_file;
    std::vector<std::string> rest;  // for the framework's command line
    std::string error;
};

// Reads the options; the COM mappings and the skin switches take effect at once.
ProgramOptions TakeProgramOptions(const std::vector<std::string>& args);

// The lines --help adds for these options.
std::string ProgramOptionsHelp();
