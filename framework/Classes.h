// Persistent objects and owned components. Portable.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/SysUtils.h"

namespace pellix {

PELLIX_EXCEPTION(EComponentError, Exception);
PELLIX_EXCEPTION(EStringListError, Exception);

class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    // Copies from source; a class that cannot take the source raises
    // "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

enum class TOperation { opInsert, opRemove };

class TComponent;
using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name) { name_ = name; }
    int Tag = 0;

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    TComponent* FindComponent(const std::string& name) const;

    // True while a form description is being read into the component.
    bool Loading() const { return loading_; }
    void SetLoading(bool loading) { loading_ = loading; }
    // Runs for every component after its whole form description has been read.
    virtual void Loaded() { loading_ = false; }
    bool Destroying() const { return destroying_; }
    // Runs before the destructor chain, while the whole object still exists:
    // the place for destroy events that reach into derived classes.
    virtual void BeforeDestruction() { destroying_ = true; }
    // Frees a component the framework's way: BeforeDestruction, then delete.
    static void Free(TComponent* component);

    // The form loader hands over each object nested in this one's description
    // that is not a control: menus and action lists take their items so.
    virtual void ReadChild(TComponent* child) { (void)child; }

    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Hands an owned child over to a new owner (used by the form loader).
    void InsertComponent(TComponent* child);
    void RemoveComponent(TComponent* child);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    // Frees the owned components in reverse order of creation.
    void DestroyComponents();

private:
    TComponent* owner_ = nullptr;
    std::string name_;
    bool loading_ = false;
    bool destroying_ = false;
    std::vector<TComponent*> components_;       // owned
    std::vector<TComponent*> freeNotifies_;
};

// The owned component of that name and class, as a form binds its fields;
// a missing one raises "<ownerText> has no component <name>".
template <class T>
T* FindComponentAs(const TComponent& owner, const std::string& name, const std::string& ownerText) {
    auto* found = dynamic_cast<T*>(owner.FindComponent(name));
    if (found == nullptr) throw EComponentError(ownerText + " has no component " + name);
    return found;
}

// Lets a unique_ptr free a component the framework's way.
struct ComponentFree {
    void operator()(TComponent* component) const { TComponent::Free(component); }
};

}  // namespace pellix
