#include "forms/automation/script.h"

#include <cctype>
#include <charconv>
#include <map>

#include "forms/utf8.h"
#include "platform/win/messages.h"

namespace forms::automation {

namespace {

// "#RRGGBB" standing as a word: a colour value, not the start of a comment.
bool IsColourWord(const std::string& line, size_t i) {
    if (i + 7 > line.size())
        return false;
    for (size_t k = i + 1; k < i + 7; ++k)
        if (!std::isxdigit(static_cast<unsigned char>(line[k])))
            return false;
    return i + 7 == line.size() || line[i + 7] == ' ' || line[i + 7] == '\t' || line[i + 7] == '\r';
}

// Splits one line; false with a message when a quote is not closed.
bool SplitLine(const std::string& line, std::vector<std::string>* out, std::string* error) {
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        if (i >= line.size())
            break;
        if (line[i] == '#' && (out->empty() || !IsColourWord(line, i)))
            break;
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
                    word += line[i++];
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    word += c;
                }
            }
            if (!closed) {
                *error = "a quoted argument is not closed";
                return false;
            }
            if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
                line[i] != '#') {
                *error = "a quoted argument must be followed by a blank";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                word += line[i++];
        }
        out->push_back(word);
    }
    return true;
}

bool IsNumber(const std::string& s) {
    if (s.empty() || s.size() > 9)
        return false;
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size() && v >= 0;
}

struct Arity {
    int min, max;
};
const std::map<std::string, Arity>& Commands() {
    static const std::map<std::string, Arity> commands = {
        {"click", {1, 1}},         {"dblclick", {1, 1}},      {"focus", {1, 1}},
        {"type", {2, 2}},          {"key", {1, 1}},           {"select", {2, 2}},
        {"page", {1, 1}},          {"wait", {1, 1}},          {"answer", {1, 1}},
        {"expect", {2, 2}},        {"expect-box", {1, 1}},    {"expect-caption", {1, 1}},
        {"expect-no-box", {0, 0}}, {"expect-status", {2, 2}}, {"screenshot", {1, 1}},
        {"rclick", {1, 1}},        {"menu", {1, 1}},          {"expect-menu", {1, 1000}},
    };
    return commands;
}

}  // namespace

int KeyFromName(const std::string& name, std::string* text) {
    using namespace win;
    static const std::map<std::string, int> keys = {
        {"Enter", VK_RETURN},  {"Escape", VK_ESCAPE}, {"Tab", VK_TAB},        {"Space", VK_SPACE},
        {"Up", VK_UP},         {"Down", VK_DOWN},     {"Left", VK_LEFT},      {"Right", VK_RIGHT},
        {"Home", VK_HOME},     {"End", VK_END},       {"Backspace", VK_BACK}, {"Delete", VK_DELETE},
        {"F1", VK_F1},         {"F2", VK_F1 + 1},     {"F3", VK_F1 + 2},      {"F4", VK_F4},
        {"F5", VK_F1 + 4},     {"F6", VK_F1 + 5},     {"F7", VK_F1 + 6},      {"F8", VK_F1 + 7},
        {"F9", VK_F1 + 8},     {"F10", VK_F10},       {"F11", VK_F1 + 10},    {"F12", VK_F1 + 11},
        {"Insert", VK_INSERT}, {"Apps", VK_APPS},
    };
    if (text)
        text->clear();
    auto it = keys.find(name);
    if (it != keys.end())
        return it->second;
    std::u32string chars = Utf8ToU32(name);
    if (chars.size() != 1 || chars[0] == 0xFFFD)
        return 0;
    if (text)
        *text = name;
    char32_t c = chars[0];
    if (c >= U'a' && c <= U'z')
        return static_cast<int>(c - U'a' + 'A');
    if ((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9'))
        return static_cast<int>(c);
    if (c == U' ')
        return VK_SPACE;
    // Other characters are typed without a key of their own.
    return -1;
}

bool ParseKeyChord(const std::string& name, KeyChord* out) {
    KeyChord chord;
    std::string rest = name;
    for (;;) {
        const size_t plus = rest.find('+');
        // A '+' that is the last character is the key itself.
        if (plus == std::string::npos || plus + 1 == rest.size())
            break;
        const std::string mod = rest.substr(0, plus);
        if (mod == "Ctrl") {
            chord.modifiers.push_back(win::VK_CONTROL);
        } else if (mod == "Shift") {
            chord.modifiers.push_back(win::VK_SHIFT);
        } else if (mod == "Alt") {
            chord.modifiers.push_back(win::VK_MENU);
        } else {
            return false;
        }
        rest = rest.substr(plus + 1);
    }
    chord.vk = KeyFromName(rest, &chord.text);
    if (chord.vk == 0 || (chord.vk < 0 && !chord.modifiers.empty()))
        return false;
    if (out)
        *out = std::move(chord);
    return true;
}

ParsedScript ParseScript(const std::string& text) {
    ParsedScript out;
    int number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        std::vector<std::string> words;
        std::string error;
        auto fail = [&](const std::string& message) {
            out.error = ScriptError{number, message};
            return out;
        };
        if (!SplitLine(line, &words, &error))
            return fail(error);
        if (words.empty()) {
            if (end == text.size())
                break;
            continue;
        }
        ScriptCommand cmd;
        cmd.line = number;
        cmd.text = line;
        while (!cmd.text.empty() && (cmd.text.back() == '\r' || cmd.text.back() == ' '))
            cmd.text.pop_back();
        cmd.name = words[0];
        cmd.args.assign(words.begin() + 1, words.end());
        auto it = Commands().find(cmd.name);
        if (it == Commands().end())
            return fail("unknown command \"" + cmd.name + "\"");
        const int n = static_cast<int>(cmd.args.size());
        if (n < it->second.min || n > it->second.max) {
            return fail("\"" + cmd.name + "\" takes " + std::to_string(it->second.min) +
                        (it->second.min == 1 ? " argument" : " arguments") + ", not " +
                        std::to_string(n));
        }
        if ((cmd.name == "wait" || cmd.name == "page" || cmd.name == "expect-status") &&
            !IsNumber(cmd.args[0]))
            return fail("\"" + cmd.name + "\" wants a number, not \"" + cmd.args[0] + "\"");
        if (cmd.name == "key" && !ParseKeyChord(cmd.args[0], nullptr))
            return fail("unknown key \"" + cmd.args[0] + "\"");
        if (cmd.name == "answer" && cmd.args[0] != "OK" && cmd.args[0] != "Cancel")
            return fail("\"answer\" wants OK or Cancel, not \"" + cmd.args[0] + "\"");
        if (cmd.name == "expect") {
            const std::string& target = cmd.args[0];
            const size_t dot = target.rfind('.');
            if (dot != std::string::npos && target.find(']', dot) == std::string::npos) {
                static const char* const props[] = {"text",    "checked", "enabled",
                                                    "visible", "index",   "color"};
                std::string prop = target.substr(dot + 1);
                bool known = false;
                for (const char* p : props)
                    known = known || prop == p;
                if (!known)
                    return fail("unknown property \"" + prop + "\"");
            }
        }
        out.commands.push_back(std::move(cmd));
        if (end == text.size())
            break;
    }
    return out;
}

}  // namespace forms::automation
