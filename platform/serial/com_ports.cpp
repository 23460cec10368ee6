#include "platform/serial/com_ports.h"

#include <cstdlib>
#include <map>

namespace serial {

namespace {

std::map<int, std::string>& mappings() {
    static std::map<int, std::string> table;
    return table;
}

std::optional<int> parse_number(std::string_view digits) {
    if (digits.empty() || digits.size() > 6) {
        return std::nullopt;
    }
    int n = 0;
    for (char ch : digits) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        n = n * 10 + (ch - '0');
    }
    return n;
}

char upper(char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

}  // namespace

std::string com_device_path(int n) {
    if (const auto it = mappings().find(n); it != mappings().end()) {
        return it->second;
    }
    const std::string variable = "VELMOR_COM" + std::to_string(n);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0') {
        return path;
    }
    return "/dev/ttyS" + std::to_string(n - 1);
}

void set_com_mapping(int n, std::string path) {
    if (path.empty()) {
        mappings().erase(n);
    } else {
        mappings()[n] = std::move(path);
    }
}

void clear_com_mappings() {
    mappings().clear();
}

bool parse_com_mapping(std::string_view argument) {
    const size_t eq = argument.find('=');
    if (eq == std::string_view::npos || eq + 1 >= argument.size()) {
        return false;
    }
    const auto n = parse_number(argument.substr(0, eq));
    if (!n || *n < 1 || *n > 255) {
        return false;
    }
    set_com_mapping(*n, std::string(argument.substr(eq + 1)));
    return true;
}

std::optional<int> com_port_number(std::string_view name) {
    if (name.size() < 4 || upper(name[0]) != 'C' || upper(name[1]) != 'O' ||
        upper(name[2]) != 'M') {
        return std::nullopt;
    }
    return parse_number(name.substr(3));
}

}  // namespace serial
