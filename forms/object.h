#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace forms {

// The root of the framework's classes. Every class names itself through ClassName() and answers
// is-a questions by name through InheritsFrom(), including its ancestors, so that code which
// only knows a class by its name (control discovery, scripts) can classify an object.
class TObject {
  public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static constexpr std::string_view StaticClassName() { return "TObject"; }
    virtual std::string_view ClassName() const { return StaticClassName(); }
    virtual bool InheritsFrom(std::string_view class_name) const {
        return class_name == StaticClassName();
    }
    // Compares with the class's own name, ignoring letter case.
    bool ClassNameIs(std::string_view class_name) const;
};

// Declares a class's name and its place in the class tree. Use inside the class body:
//   class TButton : public TButtonControl { FORMS_CLASS(TButton, TButtonControl) ... };
#define FORMS_CLASS(Self, Base)                                                   \
  public:                                                                         \
    static constexpr std::string_view StaticClassName() {                         \
        return #Self;                                                             \
    }                                                                             \
    std::string_view ClassName() const override {                                 \
        return StaticClassName();                                                 \
    }                                                                             \
    bool InheritsFrom(std::string_view class_name) const override {               \
        return class_name == StaticClassName() || Base::InheritsFrom(class_name); \
    }                                                                             \
                                                                                  \
  private:

// An event with the sender only (click, change, exit, timer).
using TNotifyEvent = std::function<void(TObject* sender)>;

}  // namespace forms
