#include "app/program_options.h"

#include "link/com_port_options.h"
#include "link/tcp_port.h"
#include "skin/engine/startup_skin.h"

ProgramOptions TakeProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--settings-dir") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                options.error = "--settings-dir needs a directory";
                return options;
            }
            options.settings_dir = args[++i];
        } else if (arg.starts_with("--settings-dir=")) {
            options.settings_dir = arg.substr(sizeof("--settings-dir=") - 1);
            if (options.settings_dir.empty()) {
                options.error = "--settings-dir needs a directory";
                return options;
            }
        } else if (arg == "--no-skin") {
            options.no_skin = true;
        } else if (arg == "--skin") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                options.error = "--skin needs a skin file";
                return options;
            }
            options.skin_file = args[++i];
        } else if (arg.starts_with("--skin=")) {
            options.skin_file = arg.substr(sizeof("--skin=") - 1);
            if (options.skin_file.empty()) {
                options.error = "--skin needs a skin file";
                return options;
            }
        } else {
            rest.push_back(arg);
        }
    }
    devlink::ComOptionsResult com = devlink::TakeComOptions(rest);
    if (!com.error.empty()) {
        options.error = std::move(com.error);
        return options;
    }
    // The skin switches take effect at once, for the main window created next.
    skin::startup_skin_options().no_skin = options.no_skin;
    skin::startup_skin_options().skin_file = options.skin_file;
    devlink::TcpPortOptionResult tcp_port = devlink::TakeTcpPortOption(com.rest);
    options.error = std::move(tcp_port.error);
    options.rest = std::move(tcp_port.rest);
    return options;
}

std::string ProgramOptionsHelp() {
    return "  --settings-dir DIR   keep the settings file zuvo_16.dat in DIR\n"
           "                       (else $VELMOR_SETTINGS_DIR, else "
           "$XDG_CONFIG_HOME/velmor-manager\n"
           "                       or ~/.config/velmor-manager)\n"
           "  --com N=PATH         open the device PATH as port COMN (repeatable; also\n"
           "                       $VELMOR_COMN; default /dev/ttyS<N-1>)\n"
           "  --tcp-port P         connect the Ethernet link to port P instead of 8080\n"
           "                       (for a simulator or test rig; the texts shown stay the same)\n"
           "  --no-skin            start in the plain look, without the skin\n"
           "  --skin FILE          paint the window with the skin package FILE instead of the\n"
           "                       built-in skin (a missing or damaged file is reported and the\n"
           "                       program goes on)\n";
}
