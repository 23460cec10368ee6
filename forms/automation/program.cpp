#include "forms/automation/program.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "forms/application.h"
#include "forms/automation/runner.h"
#include "forms/form.h"
#include "platform/gdi/png.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#if VELMOR_HAVE_DISPLAY
#include "platform/display/display.h"
#endif

namespace forms::automation {

struct Program::Display {
#if VELMOR_HAVE_DISPLAY
    std::unique_ptr<display::Display> driver;
#endif
};

Program::Program(int argc, char** argv, std::string name)
    : name_(std::move(name)), display_(std::make_unique<Display>()) {
    options_ = ParseCommandLine(argc, argv);
    if (!options_.error.empty()) {
        Exit(2, name_ + ": " + options_.error + "\nTry '" + name_ + " --help'.");
        return;
    }
    if (options_.help) {
        std::fputs(HelpText(name_).c_str(), stdout);
        done_ = true;
        return;
    }
    if (options_.version) {
        std::fputs(VersionText(name_).c_str(), stdout);
        done_ = true;
        return;
    }
    if (options_.headless) {
        win::SetScreenSize(options_.screen_width, options_.screen_height);
#if VELMOR_HAVE_DISPLAY
        display::Options o;
        o.kind = display::Kind::Headless;
        o.screen = {options_.screen_width, options_.screen_height};
        std::string error;
        display_->driver = display::Open(o, &error);
#endif
    } else {
#if VELMOR_HAVE_DISPLAY
        display::Options o;
        o.kind = display::Kind::X11;
        std::string error;
        display_->driver = display::Open(o, &error);
        if (!display_->driver) {
            Exit(1, name_ + ": " + (error.empty() ? std::string("cannot open X display") : error) +
                        "; run with --headless --screenshot FILE to render without a display");
            return;
        }
#else
        Exit(1, name_ +
                    ": cannot open X display (built without one); run with --headless "
                    "--screenshot FILE to render without a display");
        return;
#endif
    }
    Application->OnStarted = [this] { Started(); };
}

Program::~Program() {
    if (Application)
        Application->OnStarted = nullptr;
    runner_.reset();
}

void Program::Exit(int code, const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    done_ = true;
    exit_code_ = code;
}

bool Program::WriteScreenshot() {
    TForm* form = Application->MainForm();
    if (!form || !form->HandleAllocated())
        return false;
    if (!WriteWindowShot(form->Handle(), options_.screenshot)) {
        std::fprintf(stderr, "%s: cannot write %s\n", name_.c_str(), options_.screenshot.c_str());
        return false;
    }
    return true;
}

void Program::Started() {
    // What start-up posted to the window (a skin's take-over of its controls) is done before
    // the first frame, the screenshot or the script.
    Application->ProcessMessages();
    if (!options_.screenshot.empty() && !WriteScreenshot()) {
        Application->Terminate(2);
        return;
    }
    if (!options_.script.empty()) {
        std::ifstream in(options_.script, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot read the script %s\n", name_.c_str(),
                         options_.script.c_str());
            Application->Terminate(2);
            return;
        }
        std::stringstream text;
        text << in.rdbuf();
        runner_ = std::make_unique<ScriptRunner>(Application->MainForm(), ParseScript(text.str()),
                                                 options_.script);
        runner_->OnFinished = [this](int code) {
            if (!options_.screenshot.empty() && !WriteScreenshot() && code == 0)
                code = 2;
            Application->Terminate(code);
        };
        runner_->Start();
        return;
    }
    if (!options_.screenshot.empty() || options_.exit_after_first_frame) {
        if (options_.exit_after_first_frame)
            ShowFirstFrame();
        Application->Terminate(0);
    }
}

void Program::ShowFirstFrame() {
    // Paints what is invalid and puts it on the display; the round trip makes sure the server
    // has drawn it before the program goes.
    win::UpdateAllWindows();
#if VELMOR_HAVE_DISPLAY
    if (display_->driver)
        display_->driver->finish();
#endif
}

int Program::StartupFailed(const std::exception& e) {
    if (options_.headless || !Application) {
        std::fprintf(stderr, "%s: %s\n", name_.c_str(), e.what());
    } else {
        Application->ShowException(e);
    }
    return 1;
}

int Program::Finish() {
    if (done_)
        return exit_code_;
    return Application ? Application->ExitCode() : 0;
}

}  // namespace forms::automation
