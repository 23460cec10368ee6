// velmor-manager: the console's program entry. Initialises the application, creates the main
// window (which runs its start-up) and runs the message loop until the window closes. An
// exception that escapes these steps is shown in the framework's standard box and ends the
// program; one raised inside a handler is reported by the application and the loop goes on.

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program_options.h"
#include "forms/application.h"
#include "forms/automation/program.h"
#include "platform/files/settings_directory.h"

namespace {

constexpr const char* kProgram = "velmor-manager";

// Without a display there is nobody to answer a box, so the report goes to standard error as
// well.
int ReportStartupFailure(const std::exception& e, bool headless) {
    std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
    if (!headless)
        forms::Application->ShowException(e);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const ProgramOptions options =
        TakeProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s: %s (see --help)\n", kProgram, options.error.c_str());
        return 2;
    }
    // The framework reads the rest of the command line.
    std::vector<std::string> rest{argv[0]};
    rest.insert(rest.end(), options.rest.begin(), options.rest.end());
    std::vector<char*> rest_argv;
    for (std::string& arg : rest)
        rest_argv.push_back(arg.data());
    rest_argv.push_back(nullptr);

    forms::automation::Program program(static_cast<int>(rest.size()), rest_argv.data(), kProgram);
    if (program.Done()) {
        if (program.Options().help)
            std::fputs(ProgramOptionsHelp().c_str(), stdout);
        return program.ExitCode();
    }
    if (!options.settings_dir.empty())
        files::set_settings_directory(options.settings_dir);

    try {
        forms::Application->Initialize();
        forms::Application->CreateForm(&Form1);
        forms::Application->Run();
    } catch (const std::exception& e) {
        return ReportStartupFailure(e, program.Options().headless);
    } catch (...) {
        return ReportStartupFailure(std::runtime_error("Unknown failure"),
                                    program.Options().headless);
    }
    return program.Finish();
}
