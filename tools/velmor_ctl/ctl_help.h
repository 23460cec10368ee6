#pragma once

#include <string>
#include <string_view>

namespace ctl {

// The one-line usage of the program, printed with every usage error.
std::string UsageLine();

// The whole help of the program: usage, link options, every command, exit statuses.
std::string ProgramHelp();

// The help of one command, or an empty text when the name is no command.
std::string CommandHelp(std::string_view command);

// Whether the name is one of the commands.
bool IsCommand(std::string_view name);

}  // namespace ctl
