// Skin archives kept in form data: item names, copies between items and
// stores, and the items a form description holds.
#include "skin/WinSkinStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "framework/Strings.h"

namespace pellix {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const TMemoryStream& stream) { return Bytes(stream.Memory(), stream.Memory() + stream.Size()); }

void Fill(TSkinCollectionItem& item, const Bytes& bytes) {
    item.ItemStream.Clear();
    item.ItemStream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

TSkinCollectionItem& AddItem(TSkinCollection& collection) {
    return *static_cast<TSkinCollectionItem*>(collection.Add());
}

std::vector<std::string> NamesOf(const TSkinCollection& collection) {
    std::vector<std::string> names;
    for (int i = 0; i < collection.Count(); ++i) names.push_back(collection.Items(i)->Name());
    return names;
}

TEST(SkinStore, ItemsAreNamedAfterIdentifiersThatAreNeverReused) {
    TSkinStore store(nullptr);
    TSkinCollection& items = *store.Store();
    AddItem(items);
    AddItem(items);
    EXPECT_EQ(NamesOf(items), (std::vector<std::string>{"SkinItem0", "SkinItem1"}));
    EXPECT_EQ(items.Owner(), &store);

    items.Clear();
    AddItem(items);
    EXPECT_EQ(NamesOf(items), (std::vector<std::string>{"SkinItem2"}));

    // Default names are not tested against the others.
    items.Items(0)->SetName("SkinItem3");
    AddItem(items);
    EXPECT_EQ(NamesOf(items), (std::vector<std::string>{"SkinItem3", "SkinItem3"}));
}

struct Rename {
    const char* name;
    bool refused;
};

void PrintTo(const Rename& r, std::ostream* os) { *os << r.name; }

class SkinItemRename : public testing::TestWithParam<Rename> {};

// Items "Blue" and "Green"; "Green" is renamed.
TEST_P(SkinItemRename, NameMustDifferExactlyFromEveryOtherItem) {
    TSkinStore store(nullptr);
    AddItem(*store.Store()).SetName("Blue");
    TSkinCollectionItem& green = AddItem(*store.Store());
    green.SetName("Green");

    const Rename& r = GetParam();
    if (r.refused) {
        try {
            green.SetName(r.name);
            FAIL() << "renamed";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), std::string("The name ") + r.name + " is already used.");
        }
        EXPECT_EQ(green.Name(), "Green");
    } else {
        EXPECT_NO_THROW(green.SetName(r.name));
        EXPECT_EQ(green.Name(), r.name);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SkinItemRename,
                         testing::Values(Rename{"Blue", true}, Rename{"blue", false}, Rename{"BLUE", false},
                                         Rename{"Green", false}, Rename{"Silver", false}, Rename{"", false}),
                         [](const testing::TestParamInfo<Rename>& info) {
                             std::string n = info.param.name;
                             return n.empty() ? std::string("Empty") : n + (n == "Blue" ? "Taken" : "");
                         });

TEST(SkinStore, AssignCopiesNameAndBytesAndLeavesTheSourceWhereItWas) {
    TSkinStore store(nullptr);
    TSkinCollectionItem& source = AddItem(*store.Store());
    TSkinCollectionItem& target = AddItem(*store.Store());
    source.SetName("Blue");
    Fill(source, {1, 2, 3, 4, 5});
    source.ItemStream.SetPosition(2);
    Fill(target, {9, 9, 9, 9, 9, 9, 9, 9});

    target.Assign(&source);
    EXPECT_EQ(target.Name(), "Blue") << "copied without the uniqueness test";
    EXPECT_EQ(BytesOf(target.ItemStream), (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(target.DataSize(), 5);
    EXPECT_EQ(source.ItemStream.Position(), 2);

    // An item assigned to itself keeps its bytes.
    source.Assign(&source);
    EXPECT_EQ(BytesOf(source.ItemStream), (Bytes{1, 2, 3, 4, 5}));

    TStringList other;
    try {
        target.Assign(&other);
        FAIL() << "assigned";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TStringList to a TSkinCollectionItem");
    }
}

TEST(SkinStore, EmptyItemStoresAnEmptyDataStream) {
    TSkinStore store(nullptr);
    TSkinCollectionItem& item = AddItem(*store.Store());
    EXPECT_EQ(item.DataSize(), 0);
    EXPECT_EQ(item.SkinData(), "Load Skin");
    item.SetSkinData("anything");
    EXPECT_EQ(item.SkinData(), "Load Skin");

    TStoredProperties stored;
    item.DeclareStoredProperties(stored);
    const auto* data = stored.Find("DataStream");
    ASSERT_NE(data, nullptr);
    TMemoryStream written;
    data->WriteData(written);
    EXPECT_EQ(written.Size(), 0);

    Fill(item, {7, 7});
    TMemoryStream empty;
    data->ReadData(empty);
    EXPECT_EQ(item.DataSize(), 0);
}

TEST(SkinStore, DataStreamWrittenAndReadGivesTheBytesBack) {
    TSkinStore store(nullptr);
    TSkinCollectionItem& item = AddItem(*store.Store());
    const Bytes bytes = {0, 1, 2, 250, 251, 252, 253};
    Fill(item, bytes);
    TMemoryStream written;
    item.WriteDataStream(written);

    TSkinCollectionItem& copy = AddItem(*store.Store());
    written.SetPosition(0);
    copy.ReadDataStream(written);
    EXPECT_EQ(BytesOf(copy.ItemStream), bytes);
}

TEST(SkinStore, SettingTheStoreCopiesTheItemsAndKeepsItsOwnCollection) {
    TSkinStore store(nullptr), other(nullptr);
    AddItem(*other.Store()).SetName("Blue");
    Fill(*other.Store()->Items(0), {1, 2, 3});
    AddItem(*other.Store()).SetName("Green");
    AddItem(*store.Store()).SetName("Old");

    TSkinCollection* own = store.Store();
    store.SetStore(other.Store());
    EXPECT_EQ(store.Store(), own);
    EXPECT_EQ(NamesOf(*store.Store()), (std::vector<std::string>{"Blue", "Green"}));
    EXPECT_EQ(BytesOf(store.Store()->Items(0)->ItemStream), (Bytes{1, 2, 3}));
    Fill(*other.Store()->Items(0), {4});
    EXPECT_EQ(BytesOf(store.Store()->Items(0)->ItemStream), (Bytes{1, 2, 3})) << "a copy, not shared";

    store.SetStore(store.Store());
    EXPECT_EQ(NamesOf(*store.Store()), (std::vector<std::string>{"Blue", "Green"}));
    EXPECT_EQ(BytesOf(store.Store()->Items(0)->ItemStream), (Bytes{1, 2, 3}));
    store.SetStore(nullptr);
    EXPECT_EQ(store.Store()->Count(), 2);
}

TEST(SkinStore, ItemsComeFromTheFormDescription) {
    RegisterWinSkinStoreClasses();
    std::unique_ptr<TForm, ComponentFree> form(new TForm(nullptr));
    LoadFormText(*form,
                 "object F: TForm\n"
                 "  object SkinStore1: TSkinStore\n"
                 "    Store = <\n"
                 "      item\n"
                 "        Name = 'Blue'\n"
                 "        SkinData = 'Load Skin'\n"
                 "        DataStream = {0A0B0C}\n"
                 "      end\n"
                 "      item\n"
                 "        Name = 'Picture'\n"
                 "        DataStream = @'Preview.bmp'\n"
                 "      end\n"
                 "      item\n"
                 "      end>\n"
                 "  end\n"
                 "end\n",
                 "Store.dfm");
    auto* store = dynamic_cast<TSkinStore*>(form->FindComponent("SkinStore1"));
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(NamesOf(*store->Store()), (std::vector<std::string>{"Blue", "Picture", "SkinItem2"}));
    EXPECT_EQ(BytesOf(store->Store()->Items(0)->ItemStream), (Bytes{0x0A, 0x0B, 0x0C}));
    const std::string_view file = ResourceBytes("PREVIEW_BMP");
    EXPECT_EQ(BytesOf(store->Store()->Items(1)->ItemStream), Bytes(file.begin(), file.end()));
    EXPECT_EQ(store->Store()->Items(2)->DataSize(), 0);
}

}  // namespace
}  // namespace pellix
