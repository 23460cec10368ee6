#include "forms/font.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

namespace forms {

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

const std::string* TFont::FaceName(const std::string& name) {
    // Faces are few (the console uses two); they are kept for the life of the program.
    static std::set<std::string, std::less<>> faces;
    return &*faces.insert(name).first;
}

const std::string* TFont::DefaultFaceName() {
    static const std::string* const face = FaceName("MS Sans Serif");
    return face;
}

void TFont::SetName(const std::string& name) {
    if (name == *name_)
        return;
    name_ = FaceName(name);
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_)
        return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    // In floating point: the height may be the one int that has no negative.
    return static_cast<int>(std::lround(-static_cast<double>(height_) * 72.0 / 96.0));
}

void TFont::SetSize(int points) {
    // points * 96 / 72 = points * 4 / 3 rounded to the nearest (thirds never tie), in
    // integers. Sizes whose height does not fit end at the largest height of their sign.
    const int64_t quarter = 4 * static_cast<int64_t>(points);
    const int64_t pixels = quarter >= 0 ? (quarter + 1) / 3 : -((-quarter + 1) / 3);
    constexpr int64_t kLargest = std::numeric_limits<int>::max();
    SetHeight(-static_cast<int>(std::clamp(pixels, -kLargest, kLargest)));
}

void TFont::SetColor(gdi::Color c) {
    if (c == color_)
        return;
    color_ = c;
    Changed();
}

void TFont::SetBold(bool bold) {
    if (bold == bold_)
        return;
    bold_ = bold;
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (SameAs(other))
        return;
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    bold_ = other.bold_;
    Changed();
}

gdi::Font TFont::ToGdi() const {
    gdi::Font f;
    f.face = *name_;
    f.height = height_;
    f.weight = bold_ ? gdi::FW_BOLD : gdi::FW_NORMAL;
    return f;
}

}  // namespace forms
