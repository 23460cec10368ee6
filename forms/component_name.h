#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace forms {

// A component's name, held inside the component up to 31 characters: the designed names and
// those of the start-up arrays ("EntryOffPicker6_9") cost no allocation of their own, where a
// std::string allocates past 15. A longer name is kept on the heap.
class TComponentName {
  public:
    TComponentName() = default;
    TComponentName(const TComponentName&) = delete;
    TComponentName& operator=(const TComponentName&) = delete;

    void Assign(std::string_view name) {
        if (name.size() <= kInline) {
            std::memmove(inline_, name.data(), name.size());  // it may be its own name
            size_ = static_cast<uint8_t>(name.size());
            long_.reset();
        } else {
            long_ = std::make_unique<std::string>(name);
            size_ = kLong;
        }
    }
    std::string_view View() const {
        return size_ == kLong ? std::string_view(*long_) : std::string_view(inline_, size_);
    }

  private:
    static constexpr size_t kInline = 31;
    static constexpr uint8_t kLong = 0xFF;
    char inline_[kInline];
    uint8_t size_ = 0;
    std::unique_ptr<std::string> long_;
};

}  // namespace forms
