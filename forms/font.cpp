#include "forms/font.h"

#include <cmath>

namespace forms {

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

void TFont::SetName(const std::string& name) {
    if (name == name_)
        return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_)
        return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    return static_cast<int>(std::lround(-height_ * 72.0 / 96.0));
}

void TFont::SetSize(int points) {
    SetHeight(-static_cast<int>(std::lround(points * 96.0 / 72.0)));
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
    f.face = name_;
    f.height = height_;
    f.weight = bold_ ? gdi::FW_BOLD : gdi::FW_NORMAL;
    return f;
}

}  // namespace forms
