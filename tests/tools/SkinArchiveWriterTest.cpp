#include "tools/skinpack/SkinArchiveWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/SkinRead.h"

namespace pellix {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(SkinArchiveWriterTest, WritesTheContainerLayout) {
    const Bytes unpacked = BuildSkinArchive({{"A.ini", BytesOf("x")}, {"b.bmp", BytesOf("yz")}});
    Bytes expected{0x20, 0x4E, 0, 0, 14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (char c : std::string("A.ini\r\nb.bmp\r\n")) expected.push_back(static_cast<uint8_t>(c));
    expected.insert(expected.end(), {1, 0, 0, 0, 2, 0, 0, 0, 'x', 'y', 'z'});
    EXPECT_EQ(unpacked, expected);
}

TEST(SkinArchiveWriterTest, PackedArchiveUnpacksToTheContainer) {
    const std::vector<TSkinArchiveEntry> entries{{"skin.ini", BytesOf("[Form]")}, {"a.bmp", Bytes(3000, 0x42)}};
    const Bytes packed = PackSkinArchive(entries);
    TMemoryStream in, out;
    in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    TSkinReader reader;
    ASSERT_TRUE(reader.DecompressSkin(in, out));
    EXPECT_EQ(Bytes(out.Memory(), out.Memory() + out.Size()), BuildSkinArchive(entries));
}

struct RefusedEntries {
    const char* name;
    std::vector<TSkinArchiveEntry> entries;
};

class SkinArchiveWriterRefusesTest : public testing::TestWithParam<RefusedEntries> {};

TEST_P(SkinArchiveWriterRefusesTest, EntriesTheReaderCouldNotServe) {
    EXPECT_THROW(BuildSkinArchive(GetParam().entries), ESkinPackError);
}

std::vector<TSkinArchiveEntry> TooMany() {
    std::vector<TSkinArchiveEntry> entries{{"skin.ini", {}}};
    for (int i = 0; i < TSkinReader::MaxEntries; ++i) entries.push_back({"e" + std::to_string(i) + ".bmp", {}});
    return entries;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SkinArchiveWriterRefusesTest,
    testing::Values(RefusedEntries{"NoEntries", {}},
                    RefusedEntries{"NoSettings", {{"a.bmp", {}}}},
                    RefusedEntries{"TwoSettings", {{"a.ini", {}}, {"b.INI", {}}}},
                    RefusedEntries{"SettingsTextInsideABitmapName", {{"a.ini", {}}, {"b.ini.bmp", {}}}},
                    RefusedEntries{"EmptyName", {{"a.ini", {}}, {"", {}}}},
                    RefusedEntries{"FolderPart", {{"a.ini", {}}, {"skins/a.bmp", {}}}},
                    RefusedEntries{"WindowsFolderPart", {{"a.ini", {}}, {"C:\\a.bmp", {}}}},
                    RefusedEntries{"LineEndInName", {{"a.ini", {}}, {"a\nb.bmp", {}}}},
                    RefusedEntries{"NulInName", {{"a.ini", {}}, {std::string("a\0b.bmp", 7), {}}}},
                    RefusedEntries{"SameNameInOtherCase", {{"a.ini", {}}, {"B.bmp", {}}, {"b.BMP", {}}}},
                    RefusedEntries{"MoreThanTheReaderHolds", TooMany()}),
    [](const testing::TestParamInfo<RefusedEntries>& info) { return std::string(info.param.name); });

TEST(SkinArchiveWriterTest, AsManyEntriesAsTheReaderHoldsOpen) {
    std::vector<TSkinArchiveEntry> entries = TooMany();
    entries.pop_back();
    entries.back().Data = BytesOf("last");
    const Bytes packed = PackSkinArchive(entries);
    TMemoryStream in, target;
    in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenSkinArchive(in));
    EXPECT_EQ(reader.EntryCount(), TSkinReader::MaxEntries);
    reader.ExtractEntry(entries.back().Name, target);
    EXPECT_EQ(target.Size(), 4);
}

}  // namespace
}  // namespace pellix
