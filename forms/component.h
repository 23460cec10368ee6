#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "forms/component_name.h"
#include "forms/component_pool.h"
#include "forms/object.h"

namespace forms {

class TComponentTracker;
class TControl;

// A component has an owner, which destroys it, and owns the components created with it as their
// owner, enumerable in creation order. Name is the designer name a form and scripts find it by;
// Tag is a free integer for the program's own use.
class TComponent : public TObject {
    FORMS_CLASS(TComponent, TObject)
  public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    // Components take their memory from the component pool (forms/component_pool.h): one
    // cell per control, taken in a few instructions.
    static void* operator new(std::size_t size) { return component_pool::Allocate(size); }
    static void operator delete(void* cell, std::size_t size) noexcept {
        component_pool::Release(cell, size);
    }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    const std::vector<TComponent*>& ComponentList() const { return components_; }

    // Moves the component to another owner (or none).
    void ChangeOwner(TComponent* new_owner);
    // The owned component with this name (exact match), or nullptr.
    TComponent* FindComponent(std::string_view name) const;

    std::string_view Name() const { return name_.View(); }
    void SetName(std::string_view name) { name_.Assign(name); }
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    // True while the destructor chain runs; notifications to a dying component are skipped.
    bool Destroying() const { return destroying_; }

    // The component as a control, or nullptr: what a dynamic_cast would say, for the loops
    // over every component a form owns (the skin's scan of a taken-over window) that ask it of
    // each.
    virtual TControl* AsControl() { return nullptr; }

  protected:
    // Called on the owner when an owned component is inserted or removed.
    virtual void Notification(TComponent* component, bool inserted);
    void MarkDestroying() { destroying_ = true; }

  private:
    friend class TComponentTracker;
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    TComponentName name_;
    intptr_t tag_ = 0;
    bool destroying_ = false;
    TComponentTracker* trackers_ = nullptr;  // the trackers watching this component
};

}  // namespace forms
