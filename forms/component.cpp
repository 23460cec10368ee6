#include "forms/component.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "forms/component_tracker.h"

namespace forms {

bool TObject::ClassNameIs(std::string_view class_name) const {
    std::string_view own = ClassName();
    if (own.size() != class_name.size())
        return false;
    for (size_t i = 0; i < own.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(own[i])) !=
            std::tolower(static_cast<unsigned char>(class_name[i])))
            return false;
    }
    return true;
}

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Whoever watches this component across a call learns that it is gone.
    while (trackers_)
        trackers_->Unlink();
    // Owned components go last-created first, each removing itself from the list.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        delete c;
    }
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::ChangeOwner(TComponent* new_owner) {
    if (new_owner == owner_)
        return;
    if (owner_)
        owner_->RemoveComponent(this);
    if (new_owner)
        new_owner->InsertComponent(this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (c->Name() == name)
            return c;
    return nullptr;
}

void TComponent::Notification(TComponent*, bool) {}

void TComponent::InsertComponent(TComponent* c) {
    components_.push_back(c);
    c->owner_ = this;
    Notification(c, true);
}

void TComponent::RemoveComponent(TComponent* c) {
    // Searched from the end: an owner frees its components last-created first, so the one
    // that goes is found at once and a form of a thousand controls closes in linear time.
    auto it = std::find(components_.rbegin(), components_.rend(), c);
    if (it != components_.rend())
        components_.erase(std::next(it).base());
    c->owner_ = nullptr;
    if (!destroying_)
        Notification(c, false);
}

}  // namespace forms
