#include "framework/Classes.h"

#include <algorithm>

namespace pellix {

void TPersistent::Assign(const TPersistent* source) {
    if (source != nullptr) {
        source->AssignTo(this);
        return;
    }
    AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    std::string from = dest == this ? std::string("nil") : ClassName();
    throw EConvertError("Cannot assign a " + from + " to a " + dest->ClassName());
}

void TStoredProperties::DefineBinaryProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                                             TBinaryLayout layout) {
    properties_.push_back(TBinaryProperty{name, std::move(readData), std::move(writeData), layout});
}

const TStoredProperties::TBinaryProperty* TStoredProperties::Find(const std::string& name) const {
    for (const TBinaryProperty& p : properties_)
        if (SameText(p.Name, name)) return &p;
    return nullptr;
}

// ---------------------------------------------------------- collections

TCollectionItem::TCollectionItem(TCollection* collection)
    : collection_(collection), id_(collection != nullptr ? collection->nextId_++ : 0) {}

int TCollectionItem::Index() const {
    if (collection_ == nullptr) return -1;
    const auto& items = collection_->items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i);
    return -1;
}

TCollection::TCollection(TItemClass itemClass) : itemClass_(std::move(itemClass)) {}

TCollection::~TCollection() = default;

TCollectionItem* TCollection::Add() {
    items_.push_back(itemClass_(this));
    return items_.back().get();
}

void TCollection::Clear() { items_.clear(); }

void TCollection::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TCollection*>(source);
    if (other == nullptr) return TPersistent::Assign(source);
    // Clearing first would leave nothing to copy from.
    if (other == this) return;
    Clear();
    for (const auto& item : other->items_) Add()->Assign(item.get());
}

// ---------------------------------------------------------- components

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    for (TComponent* other : std::vector<TComponent*>(freeNotifies_)) {
        other->Notification(this, TOperation::opRemove);
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
    }
    freeNotifies_.clear();
    DestroyComponents();
    if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        Free(last);
    }
}

void TComponent::Free(TComponent* component) {
    if (component == nullptr) return;
    component->BeforeDestruction();
    delete component;  // owned by the caller, which hands it over here
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->Name(), name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* child) {
    if (child->owner_ != nullptr) child->owner_->RemoveComponent(child);
    components_.push_back(child);
    child->owner_ = this;
    Notification(child, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* child) {
    auto it = std::find(components_.begin(), components_.end(), child);
    if (it == components_.end()) return;
    components_.erase(it);
    child->owner_ = nullptr;
    if (!destroying_) Notification(child, TOperation::opRemove);
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
    other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                               other->freeNotifies_.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove)
        for (TComponent* c : components_) c->Notification(component, operation);
}

}  // namespace pellix
