// Whole skin archives kept in a form's data, each item named.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Classes.h"
#include "framework/Streams.h"

namespace pellix {

class TSkinCollectionItem : public TCollectionItem {
public:
    // Named "SkinItem" and the item's identifier.
    explicit TSkinCollectionItem(TCollection* collection);
    std::string ClassName() const override { return "TSkinCollectionItem"; }

    const std::string& Name() const { return name_; }
    // Raises "The name <name> is already used." when another item of the
    // collection has exactly that name.
    void SetName(const std::string& name);
    std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string&) {}
    int32_t DataSize() const { return static_cast<int32_t>(ItemStream.Size()); }

    // One packed skin archive, byte for byte as in a ".skn" file.
    TMemoryStream ItemStream;

    // From another item: its name (without the uniqueness test) and its bytes.
    void Assign(const TPersistent* source) override;
    std::string ItemDisplayName() const override { return name_; }
    // "DataStream": the whole of ItemStream, stored even when empty.
    void DeclareStoredProperties(TStoredProperties& properties) override;

    // All of ItemStream into target; ItemStream's position stays.
    void CopyItemStream(TStream& target) const;
    void ReadDataStream(TStream& source);
    void WriteDataStream(TStream& target) const;

private:
    std::string name_;
};

class TSkinCollection : public TOwnedCollection {
public:
    explicit TSkinCollection(TPersistent* owner) : TOwnedCollection(owner, ItemClass<TSkinCollectionItem>()) {}
    std::string ClassName() const override { return "TSkinCollection"; }

    TSkinCollectionItem* Items(int index) const { return static_cast<TSkinCollectionItem*>(TCollection::Items(index)); }
};

class TSkinStore : public TComponent {
public:
    explicit TSkinStore(TComponent* owner);
    std::string ClassName() const override { return "TSkinStore"; }

    TSkinCollection* Store() const { return store_.get(); }
    // Copies the given items into the store's own collection; null is ignored.
    void SetStore(const TSkinCollection* store);

private:
    std::unique_ptr<TSkinCollection> store_;
};

// Makes the store's classes known to the form loader.
void RegisterWinSkinStoreClasses();

}  // namespace pellix
