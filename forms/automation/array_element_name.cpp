#include "forms/automation/array_element_name.h"

#include <cctype>

namespace forms::automation {

namespace {

constexpr size_t kMaxIndices = 2;
constexpr size_t kMaxIndexDigits = 4;

bool IsIdentifierChar(char ch) {
    return std::isalnum(static_cast<unsigned char>(ch)) != 0 || ch == '_';
}

}  // namespace

std::optional<std::string> ArrayElementName(std::string_view written) {
    const size_t open = written.find('[');
    if (open == 0 || open == std::string_view::npos)
        return std::nullopt;
    const std::string_view base = written.substr(0, open);
    if (std::isdigit(static_cast<unsigned char>(base[0])) != 0)
        return std::nullopt;
    for (char ch : base) {
        if (!IsIdentifierChar(ch))
            return std::nullopt;
    }
    std::string name(base);
    size_t at = open;
    size_t indices = 0;
    while (at < written.size()) {
        if (written[at] != '[' || indices == kMaxIndices)
            return std::nullopt;
        const size_t close = written.find(']', at);
        if (close == std::string_view::npos)
            return std::nullopt;
        const std::string_view digits = written.substr(at + 1, close - at - 1);
        if (digits.empty() || digits.size() > kMaxIndexDigits)
            return std::nullopt;
        for (char ch : digits) {
            if (std::isdigit(static_cast<unsigned char>(ch)) == 0)
                return std::nullopt;
        }
        if (indices > 0)
            name += '_';
        name += digits;
        ++indices;
        at = close + 1;
    }
    return name;
}

}  // namespace forms::automation
