#pragma once

#include <utility>

#include "forms/component.h"

namespace forms {

// Watches a component across a call that may free it: an event handler, a sent message, a
// nested message loop. Once the component is destroyed, Deleted() is true and Component() is
// nullptr, so the caller can stop before touching it:
//
//   TComponentTracker alive(this);
//   if (OnClick) OnClick(this);
//   if (alive.Deleted()) return;
//
// Trackers nest (each call level keeps its own) and cost no allocation.
class TComponentTracker {
  public:
    explicit TComponentTracker(TComponent* component);
    ~TComponentTracker();
    TComponentTracker(const TComponentTracker&) = delete;
    TComponentTracker& operator=(const TComponentTracker&) = delete;

    TComponent* Component() const { return component_; }
    bool Deleted() const { return component_ == nullptr; }

  private:
    friend class TComponent;
    void Unlink();

    TComponent* component_;
    TComponentTracker* prev_ = nullptr;
    TComponentTracker* next_ = nullptr;
};

// Calls an event handler through a copy of it, so that a handler that frees its sender (and with
// it the handler object itself) or replaces the event runs to its end on storage that lives.
// Every timer tick goes through here, so it sits with the idle loop's code.
template <typename Event, typename... Args>
[[gnu::hot]] void FireEvent(const Event& event, Args&&... args) {
    if (!event)
        return;
    Event handler = event;
    handler(std::forward<Args>(args)...);
}

}  // namespace forms
