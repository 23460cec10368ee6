#pragma once

#include <functional>
#include <string>

#include "platform/gdi/color.h"
#include "platform/gdi/font.h"

namespace forms {

enum class TFontStyle { Regular, Bold };

// A control's font: face name, height in pixels (negative: character height) or size in points
// at 96 pixels per inch, colour and weight. Changing it calls OnChange.
class TFont {
  public:
    TFont() : name_(DefaultFaceName()) {}
    TFont(const TFont& other)
        : name_(other.name_), height_(other.height_), color_(other.color_), bold_(other.bold_) {}
    TFont& operator=(const TFont& other);

    const std::string& Name() const { return *name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points at 96 dpi: Height = -Size * 96 / 72.
    int Size() const;
    void SetSize(int points);
    gdi::Color Color() const { return color_; }
    void SetColor(gdi::Color c);
    bool Bold() const { return bold_; }
    void SetBold(bool bold);

    // Copies the face, height, colour and weight; calls OnChange once when something changed.
    void Assign(const TFont& other);
    gdi::Font ToGdi() const;
    bool SameAs(const TFont& o) const {
        // Face names are kept once each (FaceName): the same face is the same pointer.
        return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && bold_ == o.bold_;
    }

    std::function<void()> OnChange;

    // The one copy of a face name that every font naming that face points to: a control takes
    // its parent's font, and compares it with its own, without copying or comparing text.
    static const std::string* FaceName(const std::string& name);

  private:
    static const std::string* DefaultFaceName();
    void Changed() {
        if (OnChange)
            OnChange();
    }
    const std::string* name_;
    int height_ = -11;
    gdi::Color color_ = 0;
    bool bold_ = false;
};

}  // namespace forms
