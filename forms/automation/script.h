#pragma once

#include <optional>
#include <string>
#include <vector>

namespace forms::automation {

// One command of an automation script.
struct ScriptCommand {
    int line = 0;      // 1-based line number in the script
    std::string text;  // the line as written (without comment)
    std::string name;  // "click", "expect", ...
    std::vector<std::string> args;
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Splits a script into commands: one per line, '#' starts a comment (outside quotes; a word
// "#RRGGBB" after the command is a colour value),
// arguments separated by blanks, double quotes around arguments with blanks (\" and \\ inside
// quotes stand for " and \). Every command name, its number of arguments, numbers, key names
// and property names are checked here; the first problem is returned as an error.
struct ParsedScript {
    std::vector<ScriptCommand> commands;
    std::optional<ScriptError> error;
};
ParsedScript ParseScript(const std::string& text);

// The virtual key of a key name of the `key` command ("Enter", "Tab", "Up", ..., or one
// character); 0 when unknown. For a single character, *text receives it.
int KeyFromName(const std::string& name, std::string* text);

// A key of the `key` command with the modifiers held for it: "Ctrl+C", "Shift+F10",
// "Ctrl+Shift+Left", "Alt+Space" (modifiers Ctrl, Shift, Alt, in any order before the key).
struct KeyChord {
    std::vector<int> modifiers;  // virtual keys held down, in the order written
    int vk = 0;                  // as KeyFromName: -1 for a character without a key of its own
    std::string text;
};
// False when the key or a modifier is unknown, or a modifier is given to a character that has
// no key of its own.
bool ParseKeyChord(const std::string& name, KeyChord* out);

}  // namespace forms::automation
