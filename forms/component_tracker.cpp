#include "forms/component_tracker.h"

namespace forms {

TComponentTracker::TComponentTracker(TComponent* component) : component_(component) {
    if (!component_)
        return;
    next_ = component_->trackers_;
    if (next_)
        next_->prev_ = this;
    component_->trackers_ = this;
}

TComponentTracker::~TComponentTracker() {
    Unlink();
}

void TComponentTracker::Unlink() {
    if (!component_)
        return;
    if (prev_)
        prev_->next_ = next_;
    else
        component_->trackers_ = next_;
    if (next_)
        next_->prev_ = prev_;
    prev_ = next_ = nullptr;
    component_ = nullptr;
}

}  // namespace forms
