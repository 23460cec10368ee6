#pragma once

#include <string>

namespace forms {
class TForm;
}

namespace forms::automation {

struct ScriptResult {
    int exit_code = 0;
    std::string report;  // what the runner printed (failures, errors)
};

// Runs a script against a form until it ends and returns its result; the form is shown (and
// made the main form when there is none) first. On the manual clock the loop's idle moments
// advance time to the runner's next step, so waits take no real time. Used by the test suite's
// UI harness; the program uses the same runner through its message loop.
ScriptResult RunScript(TForm* form, const std::string& script, const std::string& name = "script");

}  // namespace forms::automation
