// skin-tool: lists, unpacks, packs and draws skin packages.
//   skin-tool list [PACKAGE]
//   skin-tool unpack DIR [PACKAGE]
//   skin-tool pack DIR PACKAGE
//   skin-tool sheet PNG [PACKAGE]
// PACKAGE is a skin file (a compressed stream); without it the embedded default skin is used.
#include <iostream>
#include <string>

#include "tools/skin_tool/skin_tool_commands.h"

namespace {

int usage() {
    std::cerr << "usage: skin-tool list [PACKAGE]\n"
                 "       skin-tool unpack DIR [PACKAGE]\n"
                 "       skin-tool pack DIR PACKAGE\n"
                 "       skin-tool sheet PNG [PACKAGE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const std::string command = argv[1];
    auto arg = [&](int i) { return i < argc ? std::string(argv[i]) : std::string(); };
    if (command == "list" && argc <= 3) {
        return skin_tool::list(arg(2), std::cout, std::cerr);
    }
    if (command == "unpack" && (argc == 3 || argc == 4)) {
        return skin_tool::unpack(arg(2), arg(3), std::cout, std::cerr);
    }
    if (command == "pack" && argc == 4) {
        return skin_tool::pack(arg(2), arg(3), std::cout, std::cerr);
    }
    if (command == "sheet" && (argc == 3 || argc == 4)) {
        return skin_tool::sheet(arg(2), arg(3), std::cout, std::cerr);
    }
    return usage();
}
