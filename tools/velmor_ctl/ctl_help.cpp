#include "tools/velmor_ctl/ctl_help.h"

#include <array>

namespace ctl {

namespace {

struct CommandDoc {
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;  // for the program's list of commands
    std::string_view text;
};

constexpr std::array<CommandDoc, 16> kCommands{{
    {"scan", "scan [FIRST-LAST]", "devices that answer a status poll (default 1-255)",
     "Asks every ID of the range (default 1-255) for its status, one after another, and lists\n"
     "the devices that answered. Each silent ID costs one time-out, so a whole line takes about\n"
     "255 x TIMEOUT; give a short --timeout (50 ms over TCP, 100 ms on a 19200-baud line).\n"
     "Exit status 1 when no device answered."},
    {"id", "id", "the ID of the one device on the line",
     "Reads the ID of the one device on the line (the request goes to ID 0; with several\n"
     "devices on the line the answers collide)."},
    {"set-id", "set-id NEW [--current OLD]", "give the device a new ID",
     "Gives a device the ID NEW (1-255). Without --current the ID of the one device on the line\n"
     "is read first, as the console's read button does; OLD may be 0 to 255."},
    {"status", "status ID", "LCD and CH1-CH16 on or off, locked, running",
     "Shows which of LCD and CH1-CH16 are on, and whether the device is\n"
     "locked and running a sequence."},
    {"on", "on ID CH...|all", "switch channels on (CH: LCD, 1-16, CH1-CH16)",
     "Switches channels on, one request per channel (CH: LCD, 1-16 or CH1-CH16); \"all\"\n"
     "switches LCD and every usable channel on with one request."},
    {"off", "off ID CH...|all", "switch channels off", "Switches channels off, as \"on\" does."},
    {"sequence-on", "sequence-on ID", "start the power-on sequence",
     "Starts the device's own power-on sequence (with its power-on delays)."},
    {"sequence-off", "sequence-off ID", "start the reverse power-off sequence",
     "Starts the device's reverse power-off sequence (with its power-off delays)."},
    {"broadcast-on", "broadcast-on", "every channel of every device on the line on",
     "Switches every channel of every device on the line on."},
    {"broadcast-off", "broadcast-off", "every channel of every device on the line off",
     "Switches every channel of every device on the line off."},
    {"lock", "lock ID on|off", "lock or unlock the device",
     "Locks or unlocks the device's front panel and switching."},
    {"mask", "mask ID CH...|all on|off", "mask channels out of use, or make them usable",
     "Masks channels out of use (on) or makes them usable again (off). CH: 1-16 or CH1-CH16;\n"
     "the LCD channel has no mask."},
    {"cascade", "cascade ID on|off [--start CH]", "cascade with its start channel",
     "Sets the cascade. The start channel (LCD, CH1-CH16) travels with it: --start sets it,\n"
     "otherwise the device's current one is read first and kept."},
    {"settings", "settings ID", "delays, cascade, start channel, lock",
     "Shows the 17 power-on and power-off delays, the cascade, the start channel and the lock."},
    {"delays", "delays ID [--on LIST] [--off LIST]",
     "write delays (values as on the Device Setup page, 60m)",
     "Writes delays. The device's settings are read first; the channels named get the new\n"
     "values, the others are written back as they were. LIST is comma-separated: 17\n"
     "values for LCD, CH1 .. CH16 in order, or CH=VALUE items (CH also \"all\"). A VALUE is\n"
     "as on the Device Setup page, 0 to 60 in steps of 0.5, seconds unless it ends in \"m\"\n"
     "(minutes): 0.5, 2.5s, 60m."},
    {"watch", "watch ID... [--count N]", "poll the devices in turn, print every change",
     "Asks the devices for their status in turn, one request every 100 ms, and prints every\n"
     "change until stopped (Ctrl+C), or after N rounds with --count."},
}};

}  // namespace

std::string UsageLine() {
    return "usage: velmor-ctl (--tcp HOST[:PORT] | --serial DEVICE | --com N) [--timeout MS] "
           "[--json] COMMAND ...\n"
           "       velmor-ctl --help | velmor-ctl COMMAND --help\n";
}

std::string ProgramHelp() {
    std::string text = UsageLine();
    text +=
        "\nDrives power sequencers from scripts, over the same wire protocol as the console.\n"
        "Each request waits for its answer, which is checked before it is printed.\n"
        "\nLink (exactly one):\n"
        "  --tcp HOST[:PORT]   the sequencer's network interface (port 8080 by default)\n"
        "  --serial DEVICE     a serial device such as /dev/ttyUSB0 (19200 baud, 8N1)\n"
        "  --com N             port COMN as the console maps it: $VELMOR_COMN, else\n"
        "                      /dev/ttyS<N-1>; --com N=PATH names the device directly\n"
        "Options:\n"
        "  --timeout MS        how long to wait for each answer (1-600000, default 1000)\n"
        "  --json              one JSON document per command (one per line for watch)\n"
        "\nCommands:\n";
    for (const CommandDoc& doc : kCommands) {
        std::string synopsis(doc.synopsis);
        text += "  " + synopsis;
        text += std::string(synopsis.size() < 36 ? 36 - synopsis.size() : 1, ' ');
        text += std::string(doc.summary) + "\n";
    }
    text +=
        "\nIDs are 1 to 255. \"velmor-ctl COMMAND --help\" explains one command.\n"
        "\nExit status: 0 done; 1 the device did not answer in time, answered wrongly or the\n"
        "connection broke; 2 a usage error (nothing was sent); 3 the link could not be opened.\n";
    return text;
}

std::string CommandHelp(std::string_view command) {
    for (const CommandDoc& doc : kCommands) {
        if (doc.name == command) {
            return "usage: velmor-ctl LINK [--timeout MS] [--json] " + std::string(doc.synopsis) +
                   "\n\n" + std::string(doc.text) + "\n";
        }
    }
    return {};
}

bool IsCommand(std::string_view name) {
    for (const CommandDoc& doc : kCommands) {
        if (doc.name == name) {
            return true;
        }
    }
    return false;
}

}  // namespace ctl
