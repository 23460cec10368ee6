#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "forms/automation/script.h"
#include "platform/win/types.h"

namespace forms {
class TComponent;
class TControl;
class TForm;
}  // namespace forms

namespace forms::automation {

// Runs an automation script against a form the way an operator works: clicks and keys go in
// through the window system's input entry point and reach the controls through hit testing
// and focus, one command per tick of the runner's own timer, so everything the previous
// command caused (painting, handlers, boxes and their nested loops) has happened before the
// next command runs. Commands keep running inside a message box's nested loop.
//
// Results: 0 when every command passed, 1 when an expectation failed (or an action was
// impossible, such as clicking a hidden control), 2 when the script is in error (unknown
// control, property or key, malformed line).
class ScriptRunner {
  public:
    ScriptRunner(TForm* form, ParsedScript script, std::string script_name);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Starts the runner's timer; the commands run as the message loop runs.
    void Start();
    bool Finished() const { return finished_; }
    int ExitCode() const { return exit_code_; }
    // What the runner reported (failures and errors), as printed.
    const std::string& Report() const { return report_; }

    // Called with every report line (default: standard error).
    std::function<void(const std::string&)> Output;
    // Called once when the script ends (default: the application terminates with the code).
    std::function<void(int exit_code)> OnFinished;

    // For loops driven on the manual clock: advances time to the runner's next tick.
    // Returns false when the script has ended.
    bool DriveIdle();

  private:
    void Tick();
    void Schedule(int64_t ms);
    void Finish(int code);
    // Each returns false when the script ended (failure or error).
    bool Execute(const ScriptCommand& cmd);
    bool Fail(const ScriptCommand& cmd, const std::string& expected, const std::string& found);
    bool Impossible(const ScriptCommand& cmd, const std::string& message);
    bool Error(const ScriptCommand& cmd, const std::string& message);
    TControl* FindControl(const std::string& name) const;
    bool ClickControl(const ScriptCommand& cmd, TControl* c, bool twice);
    bool Screenshot(const ScriptCommand& cmd, const std::string& file);
    static win::LRESULT DriverProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

    TForm* form_;
    ParsedScript script_;
    std::string script_name_;
    size_t pc_ = 0;
    int phase_ = 0;  // step of a command that takes more than one tick
    bool finished_ = false;
    bool started_ = false;
    int exit_code_ = 0;
    std::string report_;
    win::HWND driver_ = nullptr;
    int64_t next_due_ = 0;
};

// Writes what the screen shows over a top-level window (drop-downs and boxes included) as PNG.
bool WriteWindowShot(win::HWND hwnd, const std::string& file);
// Types one character through a key press of its own.
void TypeCharacter(const std::string& utf8_char);

// Finds a component by its Name among everything the root owns, at any depth.
TComponent* FindComponentDeep(TComponent* root, const std::string& name);

}  // namespace forms::automation
