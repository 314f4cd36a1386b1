// Persistent objects and owned components. Portable.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "framework/SysUtils.h"

namespace pellix {

PELLIX_EXCEPTION(EComponentError, Exception);
PELLIX_EXCEPTION(EStringListError, Exception);

using TStreamProc = std::function<void(TStream& stream)>;

// How a binary property's data is laid out in form data.
enum class TBinaryLayout {
    Plain,
    // The data starts with its own 32-bit little-endian byte count. A file
    // kept beside a form description holds only the bytes after the count.
    CountPrefixed,
};

// The binary properties an object keeps in form data beside its published
// ones, each with the procedures that read and write its data.
class TStoredProperties {
public:
    struct TBinaryProperty {
        std::string Name;
        TStreamProc ReadData;
        TStreamProc WriteData;
        TBinaryLayout Layout = TBinaryLayout::Plain;
    };

    void DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                              TBinaryLayout layout = TBinaryLayout::Plain);
    // Names compare without case; null when there is none.
    const TBinaryProperty* Find(const std::string& name) const;

private:
    std::vector<TBinaryProperty> properties_;
};

class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    // Copies from source; a class that cannot take the source raises
    // "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent* source);
    virtual void DeclareStoredProperties(TStoredProperties& properties) { (void)properties; }

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

class TCollection;

// One item of a collection, which owns it.
class TCollectionItem : public TPersistent {
public:
    // Takes the collection's next identifier; the collection adds the item.
    explicit TCollectionItem(TCollection* collection);
    std::string ClassName() const override { return "TCollectionItem"; }

    TCollection* Collection() const { return collection_; }
    // Given by the collection in the order items were made: never reused.
    int ID() const { return id_; }
    int Index() const;
    virtual std::string ItemDisplayName() const { return ClassName(); }

private:
    TCollection* collection_;
    int id_;
};

// An ordered list of items of one class, made by Add and owned.
class TCollection : public TPersistent {
public:
    using TItemClass = std::function<std::unique_ptr<TCollectionItem>(TCollection* collection)>;

    explicit TCollection(TItemClass itemClass);
    ~TCollection() override;
    std::string ClassName() const override { return "TCollection"; }

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
    TCollectionItem* Add();
    void Clear();
    // From another collection: one new item per source item, each assigned
    // from its source. A collection assigned to itself keeps its items.
    void Assign(const TPersistent* source) override;
    virtual TPersistent* Owner() const { return nullptr; }

private:
    friend class TCollectionItem;

    TItemClass itemClass_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int nextId_ = 0;
};

template <class Item>
TCollection::TItemClass ItemClass() {
    return [](TCollection* collection) -> std::unique_ptr<TCollectionItem> { return std::make_unique<Item>(collection); };
}

class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* owner, TItemClass itemClass) : TCollection(std::move(itemClass)), owner_(owner) {}
    std::string ClassName() const override { return "TOwnedCollection"; }
    TPersistent* Owner() const override { return owner_; }

private:
    TPersistent* owner_;
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
