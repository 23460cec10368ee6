#include "forms/automation/command_line.h"

#include <charconv>

#ifndef VELMOR_VERSION
#define VELMOR_VERSION "0.0.0"
#endif

namespace forms::automation {

namespace {

bool ParseScreen(const std::string& s, int* w, int* h) {
    const size_t x = s.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    auto num = [](const std::string& t, int* out) {
        if (t.empty())
            return false;
        auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), *out);
        return ec == std::errc() && p == t.data() + t.size();
    };
    int ww = 0, hh = 0;
    if (!num(s.substr(0, x), &ww) || !num(s.substr(x + 1), &hh))
        return false;
    // A screen smaller than a caption bar or larger than any real one is a typing error.
    if (ww < 64 || hh < 64 || ww > 16384 || hh > 16384)
        return false;
    *w = ww;
    *h = hh;
    return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= args.size()) {
                cl.error = a + " needs a value";
                return false;
            }
            *out = args[++i];
            return true;
        };
        if (a == "--headless") {
            cl.headless = true;
        } else if (a == "--screen") {
            std::string v;
            if (!value(&v))
                return cl;
            if (!ParseScreen(v, &cl.screen_width, &cl.screen_height)) {
                cl.error = "--screen wants WIDTHxHEIGHT, for example 1280x1024, not \"" + v + "\"";
                return cl;
            }
        } else if (a == "--screenshot") {
            if (!value(&cl.screenshot))
                return cl;
        } else if (a == "--script") {
            if (!value(&cl.script))
                return cl;
        } else if (a == "--exit-after-first-frame") {
            cl.exit_after_first_frame = true;
        } else if (a == "--help" || a == "-h") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else {
            cl.error = "unknown option \"" + a + "\"";
            return cl;
        }
    }
    return cl;
}

CommandLine ParseCommandLine(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return ParseCommandLine(args);
}

std::string HelpText(const std::string& program) {
    return "Usage: " + program +
           " [options]\n"
           "Console for power sequencers on a serial line or over TCP.\n"
           "\n"
           "Options:\n"
           "  --headless         run without an X display (windows are kept in memory)\n"
           "  --screen WxH       size of the headless screen (default 1280x1024)\n"
           "  --screenshot FILE  write the main window as PNG after start-up and after the\n"
           "                     script, then exit\n"
           "  --script FILE      run an automation script, then exit (0 passed, 1 an\n"
           "                     expectation failed, 2 the script is in error)\n"
           "  --exit-after-first-frame\n"
           "                     exit once the main window's first frame is on the display\n"
           "                     (for measuring start-up)\n"
           "  --help             show this text\n"
           "  --version          show the version\n";
}

std::string VersionText(const std::string& program) {
    return program + " " VELMOR_VERSION "\n";
}

}  // namespace forms::automation
