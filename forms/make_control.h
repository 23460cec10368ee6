#pragma once

#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "forms/control.h"
#include "forms/win_control.h"

namespace forms {

// Creates a control owned by `owner`, named, placed in `parent` at the given bounds: how the
// designed controls and the start-up arrays of a form are made.
template <class T>
T* MakeControl(TComponent* owner, TWinControl* parent, std::string_view name, int left, int top,
               int width, int height) {
    T* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// The name of a control of a start-up array: the array's name and the indices, "DelayEdit0_16"
// for (0, 16), put together on the stack: a page of hundreds of controls names them all at
// start-up, and the name goes straight into the control.
class IndexedNameText {
  public:
    IndexedNameText(std::string_view array, int i, int j = -1) {
        // Two numbers of at most 11 characters each and the '_' take at most 23.
        if (array.size() > sizeof text_ - 23) {
            long_ = std::string(array) + std::string(IndexedNameText("", i, j));
            return;
        }
        std::memcpy(text_, array.data(), array.size());
        char* end = PutIndex(text_ + array.size(), i);
        if (j >= 0) {
            *end++ = '_';
            end = PutIndex(end, j);
        }
        size_ = static_cast<size_t>(end - text_);
    }
    IndexedNameText(const IndexedNameText&) = delete;
    IndexedNameText& operator=(const IndexedNameText&) = delete;
    operator std::string_view() const {
        return long_.empty() ? std::string_view(text_, size_) : std::string_view(long_);
    }
    explicit operator std::string() const { return std::string(std::string_view(*this)); }

  private:
    // The indices of the arrays are below 100: one or two digits written straight.
    static char* PutIndex(char* out, int n) {
        if (n >= 0 && n < 10) {
            *out = static_cast<char>('0' + n);
            return out + 1;
        }
        if (n >= 10 && n < 100) {
            out[0] = static_cast<char>('0' + n / 10);
            out[1] = static_cast<char>('0' + n % 10);
            return out + 2;
        }
        return std::to_chars(out, out + 11, n).ptr;
    }

    char text_[64];
    size_t size_ = 0;
    std::string long_;
};

inline std::string IndexedName(const char* array, int i, int j = -1) {
    return std::string(IndexedNameText(array, i, j));
}

// Sets a control's font to the face of the console's window with a character height in pixels.
inline void SetFontHeight(TControl* control, int pixels) {
    control->Font().SetName("MS Sans Serif");
    control->Font().SetHeight(-pixels);
}

}  // namespace forms
