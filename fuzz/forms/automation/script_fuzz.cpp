// Automation scripts and command lines come from files and shells: parse any bytes, and run
// short scripts against a small form on the manual clock. Errors must come out as exit codes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/automation/command_line.h"
#include "forms/automation/harness.h"
#include "forms/automation/script.h"
#include "forms/forms.h"
#include "platform/clock/clock.h"

using namespace forms;

namespace {

TForm* MakeForm() {
    auto* form = new TForm(Application);
    form->SetName("F");
    form->SetBounds(10, 10, 300, 200);
    auto* b = new TButton(form);
    b->SetName("B");
    b->SetParent(form);
    b->SetBounds(10, 10, 80, 25);
    auto* e = new TEdit(form);
    e->SetName("E");
    e->SetParent(form);
    e->SetBounds(10, 40, 80, 24);
    e->SetMaxLength(5);
    auto* c = new TComboBox(form);
    c->SetName("C");
    c->SetParent(form);
    c->SetBounds(10, 70, 80, 24);
    c->Items().Assign({"a", "b"});
    auto* k = new TCheckBox(form);
    k->SetName("K");
    k->SetParent(form);
    k->SetBounds(10, 100, 80, 20);
    return form;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The same bytes as command-line arguments split at blanks.
    std::vector<std::string> args;
    std::string word;
    for (char ch : text) {
        if (ch == ' ' || ch == '\n') {
            if (!word.empty())
                args.push_back(word);
            word.clear();
        } else {
            word += ch;
        }
    }
    if (!word.empty())
        args.push_back(word);
    automation::ParseCommandLine(args);

    automation::ParsedScript parsed = automation::ParseScript(text);
    if (parsed.commands.size() > 8)
        return 0;
    for (const auto& cmd : parsed.commands) {
        if (cmd.name == "wait" && cmd.args[0].size() > 3)
            return 0;  // keep runs short
        if (cmd.name == "screenshot")
            return 0;  // no files
    }
    static clk::ManualClock clock;
    static clk::ScopedClock scoped(clock);
    static TForm* form = MakeForm();
    auto result = automation::RunScript(form, text, "fuzz");
    if (result.exit_code < 0 || result.exit_code > 2)
        __builtin_trap();
    // Scripts may leave the form in any state; put it back.
    form->Show();
    return 0;
}
