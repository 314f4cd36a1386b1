#include "skin/WinSkinStore.h"

#include "framework/FormLoader.h"

namespace pellix {

// ------------------------------------------------------ TSkinCollectionItem

TSkinCollectionItem::TSkinCollectionItem(TCollection* collection)
    : TCollectionItem(collection), name_("SkinItem" + IntToStr(ID())) {}

void TSkinCollectionItem::SetName(const std::string& name) {
    if (name == name_) return;
    if (TCollection* owner = Collection()) {
        for (int i = 0; i < owner->Count(); ++i) {
            const auto* other = dynamic_cast<const TSkinCollectionItem*>(owner->Items(i));
            if (other != nullptr && other != this && other->name_ == name)
                throw Exception("The name " + name + " is already used.");
        }
    }
    name_ = name;
}

void TSkinCollectionItem::Assign(const TPersistent* source) {
    const auto* item = dynamic_cast<const TSkinCollectionItem*>(source);
    if (item == nullptr) return TCollectionItem::Assign(source);
    // Clearing first would leave nothing to copy from.
    if (item == this) return;
    name_ = item->name_;
    ItemStream.Clear();
    item->CopyItemStream(ItemStream);
}

void TSkinCollectionItem::DeclareStoredProperties(TStoredProperties& properties) {
    properties.DefineBinaryProperty(
        "DataStream", [this](TStream& source) { ReadDataStream(source); },
        [this](TStream& target) { WriteDataStream(target); });
}

void TSkinCollectionItem::CopyItemStream(TStream& target) const {
    target.WriteBuffer(ItemStream.Memory(), ItemStream.Size());
}

void TSkinCollectionItem::ReadDataStream(TStream& source) {
    ItemStream.Clear();
    ItemStream.CopyFrom(source, 0);
}

void TSkinCollectionItem::WriteDataStream(TStream& target) const { CopyItemStream(target); }

// --------------------------------------------------------------- TSkinStore

TSkinStore::TSkinStore(TComponent* owner) : TComponent(owner), store_(std::make_unique<TSkinCollection>(this)) {}

void TSkinStore::SetStore(const TSkinCollection* store) {
    if (store != nullptr) store_->Assign(store);
}

void RegisterWinSkinStoreClasses() {
    RegisterClassInfo("TSkinCollectionItem", "TCollectionItem")
        .Property("Name", Prop<TSkinCollectionItem>([](TSkinCollectionItem& i, const FormValue& v, LoadContext& x) {
            i.SetName(x.String(v));
        }))
        .Property("SkinData", Prop<TSkinCollectionItem>([](TSkinCollectionItem& i, const FormValue& v, LoadContext& x) {
            i.SetSkinData(x.String(v));
        }));
    RegisterClassInfo("TSkinStore", "TComponent", Factory<TSkinStore>())
        .Property("Store", Prop<TSkinStore>([](TSkinStore& s, const FormValue& v, LoadContext& x) {
            x.ReadCollection(v, *s.Store());
        }));
}

}  // namespace pellix
