#pragma once

#include <type_traits>
#include <typeinfo>
#include <utility>

#include "forms/messages.h"

namespace forms {

class TControl;

// The window procedure every control starts with: the control's own WndProc.
struct TOwnWndProc {
    TControl* control;
    void operator()(TMessage& message) const;
};

// A control's replaceable window procedure (its WindowProc): a TWndMethod that knows, without
// asking the std::function, whether it is still the control's own WndProc. It is read and
// replaced as the method itself is (`TWndMethod old = c->WindowProc; c->WindowProc = ...;
// old(m)`); putting the saved own method back makes it the control's own again. Every
// notification of a page being built asks this, so it costs a flag, not a look at the
// target's type.
class TWindowProcedure {
  public:
    explicit TWindowProcedure(TControl* control)
        : method_(TOwnWndProc{control}), control_(control), own_(true) {}
    TWindowProcedure(const TWindowProcedure&) = default;
    TWindowProcedure& operator=(const TWindowProcedure& other) { return Assign(other.method_); }
    // A method, a lambda, nullptr: anything a TWndMethod takes.
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TWindowProcedure>) TWindowProcedure& operator=(
        F&& method) {
        return Assign(TWndMethod(std::forward<F>(method)));
    }

    operator const TWndMethod&() const { return method_; }
    const TWndMethod& Method() const { return method_; }
    explicit operator bool() const { return static_cast<bool>(method_); }
    // Whether the procedure is the control's own WndProc.
    bool IsOwn() const { return own_; }
    const std::type_info& target_type() const { return method_.target_type(); }
    template <class T>
    const T* target() const {
        return method_.template target<T>();
    }

  private:
    TWindowProcedure& Assign(TWndMethod method) {
        method_ = std::move(method);
        const auto* own = method_.target<TOwnWndProc>();
        const bool was_own = own_;
        own_ = own != nullptr && own->control == control_;
        if (own_ != was_own)
            OwnChanged(was_own);
        return *this;
    }
    // Whether the procedure is the control's own decides, among others, whether the control
    // hears focus changes: its containers count it in or out.
    void OwnChanged(bool was_own);

    TWndMethod method_;
    TControl* control_;
    bool own_;
};

}  // namespace forms
