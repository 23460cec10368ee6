#pragma once

#include <functional>
#include <string>
#include <vector>

namespace forms {

// A list of strings (a combo box's items); OnChange follows every change.
class TStrings {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int i) const { return items_.at(i); }
    const std::string& operator[](int i) const { return items_.at(i); }
    int Add(const std::string& s) {
        items_.push_back(s);
        Changed();
        return Count() - 1;
    }
    void Clear() {
        if (items_.empty())
            return;
        items_.clear();
        Changed();
    }
    void Assign(std::vector<std::string> items) {
        items_ = std::move(items);
        Changed();
    }
    // The index of the first item equal to s, or -1.
    int IndexOf(const std::string& s) const {
        for (int i = 0; i < Count(); ++i)
            if (items_[i] == s)
                return i;
        return -1;
    }
    const std::vector<std::string>& List() const { return items_; }
    std::function<void()> OnChange;

  private:
    void Changed() {
        if (OnChange)
            OnChange();
    }
    std::vector<std::string> items_;
};

}  // namespace forms
