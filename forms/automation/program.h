#pragma once

#include <exception>
#include <memory>
#include <string>

#include "forms/automation/command_line.h"

namespace forms::automation {

class ScriptRunner;

// The program side of the command line. A main built on the framework reads:
//
//   forms::automation::Program program(argc, argv, "velmor-manager");
//   if (program.Done()) return program.ExitCode();
//   try {
//       Application->Initialize();
//       Application->CreateForm<TForm1>(&Form1);
//       Application->Run();
//   } catch (const std::exception& e) {
//       return program.StartupFailed(e);
//   }
//   return program.Finish();
//
// The constructor answers --help and --version, rejects malformed arguments (exit 2), sets up
// the headless screen or the X display (exit 1 with one clear line when there is none). Once
// the main form is shown, --screenshot writes it as PNG and --script starts the script; the
// program then ends with the script's result (after a second screenshot when both are given).
class Program {
  public:
    Program(int argc, char** argv, std::string name);
    ~Program();
    bool Done() const { return done_; }
    int ExitCode() const { return exit_code_; }
    const CommandLine& Options() const { return options_; }
    // The exit code once Application->Run() has returned.
    int Finish();
    // An exception escaped start-up: shown in the standard box (on a display) or on standard
    // error (headless, where nobody could answer a box); returns the exit code 1.
    int StartupFailed(const std::exception& e);

  private:
    void Started();
    bool WriteScreenshot();
    void ShowFirstFrame();
    void Exit(int code, const std::string& message);

    std::string name_;
    CommandLine options_;
    bool done_ = false;
    int exit_code_ = 0;
    std::unique_ptr<ScriptRunner> runner_;
    struct Display;
    std::unique_ptr<Display> display_;
};

}  // namespace forms::automation
