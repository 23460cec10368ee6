#include "forms/automation/harness.h"

#include "forms/application.h"
#include "forms/automation/runner.h"
#include "forms/form.h"
#include "platform/clock/clock.h"
#include "platform/win/message.h"
#include "platform/win/test_driver.h"

namespace forms::automation {

ScriptResult RunScript(TForm* form, const std::string& script, const std::string& name) {
    Application->Reset();
    if (!Application->MainForm())
        Application->SetMainForm(form);
    if (!form->Visible())
        form->Show();
    ScriptRunner runner(form, ParseScript(script), name);
    runner.Output = [](const std::string&) {};
    runner.Start();
    const bool manual = clk::current_manual() != nullptr;
    if (manual)
        win::SetIdleScript([&runner] { return runner.DriveIdle(); });
    if (!runner.Finished())
        win::RunMessageLoop([&runner] { return runner.Finished() || Application->Terminated(); });
    if (manual) {
        win::SetIdleScript(nullptr);
        win::PumpPending();
    }
    ScriptResult result;
    result.exit_code = runner.Finished() ? runner.ExitCode() : Application->ExitCode();
    result.report = runner.Report();
    Application->Reset();
    return result;
}

}  // namespace forms::automation
