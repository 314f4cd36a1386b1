#include "skin/SkinRead.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/skinpack/LzhufEncoder.h"
#include "tools/skinpack/SkinArchiveWriter.h"

namespace pellix {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

void PutInt32(Bytes& out, int32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> shift));
}

// An unpacked container spelled field by field, so that tests can write the
// layouts the packer refuses to make.
struct RawArchive {
    int32_t magic = TSkinReader::ArchiveMagicValue;
    std::string names;
    std::optional<int32_t> nameListLength;  // default: the length of names
    std::vector<int32_t> sizes;
    std::string data;

    Bytes Unpacked() const {
        Bytes out;
        PutInt32(out, magic);
        PutInt32(out, nameListLength.value_or(static_cast<int32_t>(names.size())));
        PutInt32(out, 0x11111111);
        PutInt32(out, 0x22222222);
        out.insert(out.end(), names.begin(), names.end());
        for (int32_t s : sizes) PutInt32(out, s);
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
    Bytes Packed() const { return PackLzhuf(Unpacked()); }
};

class SkinReaderTest : public testing::Test {
protected:
    SkinReaderTest() {
        previousHook_ = SetSkinMessageHook([this](const std::string& text) { messages.push_back(text); });
    }
    ~SkinReaderTest() override { SetSkinMessageHook(std::move(previousHook_)); }

    bool Open(const Bytes& packed) {
        TMemoryStream stream;
        stream.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
        return reader.OpenSkinArchive(stream);
    }

    std::string Extract(const std::string& name) {
        TMemoryStream target;
        target.WriteBuffer("stale", 5);
        reader.ExtractEntry(name, target);
        EXPECT_EQ(target.Position(), 0);
        return std::string(target.Memory(), target.Memory() + target.Size());
    }

    // Entry text and the name found; the name is "unchanged" when none matched.
    std::pair<std::string, std::string> Find(const std::string& text) {
        TMemoryStream target;
        target.WriteBuffer("stale", 5);
        std::string name = "unchanged";
        reader.FindEntry(text, target, name);
        return {std::string(target.Memory(), target.Memory() + target.Size()), name};
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int i = 0; i < reader.EntryNames().Count(); ++i) out.push_back(reader.EntryNames()[i]);
        return out;
    }

    TSkinReader reader;
    std::vector<std::string> messages;

private:
    TSkinMessageHook previousHook_;
};

std::vector<TSkinArchiveEntry> SampleSkin() {
    Bytes bitmap;
    for (int i = 0; i < 3 * 256; ++i) bitmap.push_back(static_cast<uint8_t>(i));
    return {{"Skin.INI", BytesOf("[Form]\r\nCaption=Button.BMP\r\n")},
            {"Button.BMP", bitmap},
            {"back.bmp", BytesOf(std::string(5000, '\x7f'))}};
}

TEST_F(SkinReaderTest, PackedSkinOpensWithLowerCasedNamesAndEveryEntry) {
    const auto entries = SampleSkin();
    ASSERT_TRUE(Open(PackSkinArchive(entries)));
    EXPECT_EQ(reader.EntryCount(), 3);
    EXPECT_EQ(Names(), (std::vector<std::string>{"skin.ini", "button.bmp", "back.bmp"}));
    for (const auto& entry : entries) EXPECT_EQ(BytesOf(Extract(entry.Name)), entry.Data) << entry.Name;
    EXPECT_EQ(Find(".ini"), std::make_pair(std::string("[Form]\r\nCaption=Button.BMP\r\n"), std::string("skin.ini")));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinReaderTest, ExtractIgnoresTheCaseOfLettersButFindDoesNot) {
    ASSERT_TRUE(Open(PackSkinArchive(SampleSkin())));
    EXPECT_EQ(Extract("BUTTON.bmp").size(), 3u * 256);
    EXPECT_EQ(Find(".INI"), std::make_pair(std::string(), std::string("unchanged")));
    EXPECT_EQ(Find("ack.b").second, "back.bmp");
}

TEST_F(SkinReaderTest, MissingNameOrTextLeavesAnEmptyTarget) {
    ASSERT_TRUE(Open(PackSkinArchive(SampleSkin())));
    EXPECT_EQ(Extract("missing.bmp"), "");
    EXPECT_EQ(Find(".png"), std::make_pair(std::string(), std::string("unchanged")));
}

struct NameListCase {
    const char* name;
    std::string list;
    std::vector<std::string> expected;
};

class SkinReaderNameListTest : public SkinReaderTest, public testing::WithParamInterface<NameListCase> {};

// Entry i holds i + 1 bytes of 'a' + i, so a wrong count or offset shows.
TEST_P(SkinReaderNameListTest, LinesBecomeEntriesInOrder) {
    const NameListCase& c = GetParam();
    RawArchive raw{.names = c.list};
    for (size_t i = 0; i < c.expected.size(); ++i) {
        raw.sizes.push_back(static_cast<int32_t>(i + 1));
        raw.data += std::string(i + 1, static_cast<char>('a' + i));
    }
    ASSERT_TRUE(Open(raw.Packed()));
    EXPECT_EQ(Names(), c.expected);
    for (size_t i = 0; i < c.expected.size(); ++i)
        EXPECT_EQ(Extract(c.expected[i]), std::string(i + 1, static_cast<char>('a' + i)));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SkinReaderNameListTest,
    testing::Values(NameListCase{"FinalCrLf", "a.ini\r\nb.bmp\r\n", {"a.ini", "b.bmp"}},
                    NameListCase{"NoFinalLineEnd", "a.ini\r\nb.bmp", {"a.ini", "b.bmp"}},
                    NameListCase{"LoneCrAndLf", "a.ini\rb.bmp\nc.bmp\n", {"a.ini", "b.bmp", "c.bmp"}},
                    NameListCase{"NulEndsTheList", std::string("a.ini\r\nb.bmp\r\n\0c.bmp\r\n", 21), {"a.ini", "b.bmp"}},
                    NameListCase{"OnlyAToZLowered", "\xC3\x84RGER.INI\r\n", {"\xC3\x84rger.ini"}},
                    NameListCase{"NoNames", "", {}}),
    [](const testing::TestParamInfo<NameListCase>& info) { return std::string(info.param.name); });

TEST_F(SkinReaderTest, DuplicateNamesServeTheFirst) {
    RawArchive raw{.names = "dup.ini\r\ndup.ini\r\n", .sizes = {5, 6}, .data = "firstsecond"};
    ASSERT_TRUE(Open(raw.Packed()));
    EXPECT_EQ(Extract("dup.ini"), "first");
    EXPECT_EQ(Find("dup").first, "first");
}

TEST_F(SkinReaderTest, ZeroSizeEntryLooksMissingAndKeepsLaterOffsets) {
    RawArchive raw{.names = "a.ini\r\nempty.bmp\r\nlast.bmp\r\n", .sizes = {2, 0, 4}, .data = "ABlast"};
    ASSERT_TRUE(Open(raw.Packed()));
    EXPECT_EQ(Extract("empty.bmp"), "");
    EXPECT_EQ(Find("empty").first, "");
    EXPECT_EQ(Extract("last.bmp"), "last");
}

TEST_F(SkinReaderTest, WrongMagicShowsTheOlderSkinMessageAndChangesOnlyTheHeader) {
    ASSERT_TRUE(Open(PackSkinArchive(SampleSkin())));
    const int64_t dataSize = reader.EntryData().Size();

    RawArchive older{.magic = 10000, .names = "x.ini\r\n", .sizes = {1}, .data = "x"};
    EXPECT_FALSE(Open(older.Packed()));
    EXPECT_EQ(messages, std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"});
    EXPECT_EQ(reader.Header().ArchiveMagic, 10000);
    EXPECT_EQ(reader.Header().NameListLength, 7);
    EXPECT_EQ(reader.EntryCount(), 3);
    EXPECT_EQ(Names().front(), "skin.ini");
    EXPECT_EQ(reader.EntryData().Size(), dataSize);
}

Bytes WithSizeField(Bytes packed, int32_t size) {
    for (int i = 0; i < 4; ++i) packed[static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(size) >> (8 * i));
    return packed;
}

// A code long enough that the size limit, not the code length, refuses it.
Bytes LongCode() {
    TLzhufCodeWriter w;
    for (int i = 0; i < 200000; ++i) w.PutLiteral(static_cast<uint8_t>(i * 7));
    return w.Finish(0);
}

struct RefusedCase {
    const char* name;
    std::function<Bytes()> packed;
};

class SkinReaderRefusedTest : public SkinReaderTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(SkinReaderRefusedTest, RefusedSilentlyAndEntriesKept) {
    ASSERT_TRUE(Open(PackSkinArchive(SampleSkin())));
    EXPECT_FALSE(Open(GetParam().packed()));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(reader.EntryCount(), 3);
    EXPECT_EQ(Extract("back.bmp").size(), 5000u);
}

RawArchive Good() { return {.names = "a.ini\r\nb.bmp\r\n", .sizes = {1, 2}, .data = "abb"}; }

INSTANTIATE_TEST_SUITE_P(
    Archives, SkinReaderRefusedTest,
    testing::Values(
        RefusedCase{"ShorterThanTheSizeField", [] { return Bytes{0x10, 0, 0}; }},
        RefusedCase{"NegativeSize", [] { return WithSizeField(Good().Packed(), -1); }},
        RefusedCase{"SizeAbove64MiB", [] { return WithSizeField(LongCode(), TSkinReader::MaxUnpackedSize + 1); }},
        RefusedCase{"SizeTheCodeCannotProduce",
                    [] {
                        const Bytes packed = Good().Packed();
                        return WithSizeField(packed, static_cast<int32_t>((packed.size() - 4) * 480 + 1));
                    }},
        RefusedCase{"ShorterThanTheHeader", [] { return PackLzhuf(Bytes(15, 0)); }},
        RefusedCase{"NegativeNameListLength",
                    [] {
                        RawArchive raw = Good();
                        raw.nameListLength = -1;
                        return raw.Packed();
                    }},
        RefusedCase{"NameListPastTheEnd",
                    [] {
                        RawArchive raw = Good();
                        raw.nameListLength = 1000;
                        return raw.Packed();
                    }},
        RefusedCase{"SizesPastTheEnd", [] { return RawArchive{.names = "a.ini\r\nb.bmp\r\nc.bmp\r\n", .sizes = {0, 0}}.Packed(); }},
        RefusedCase{"NegativeEntrySize",
                    [] { return RawArchive{.names = "a.ini\r\nb.bmp\r\n", .sizes = {4, -1}, .data = "abcd"}.Packed(); }},
        RefusedCase{"EntriesPastTheEnd",
                    [] { return RawArchive{.names = "a.ini\r\nb.bmp\r\n", .sizes = {1, 3}, .data = "abc"}.Packed(); }},
        RefusedCase{"SizesOverflowing32Bits",
                    [] {
                        return RawArchive{.names = "a.ini\r\nb.bmp\r\nc.bmp\r\n",
                                          .sizes = {INT32_MAX, INT32_MAX, 2},
                                          .data = "ab"}
                            .Packed();
                    }},
        RefusedCase{"MoreThan1001Names",
                    [] {
                        RawArchive raw;
                        for (int i = 0; i < 1002; ++i) raw.names += "e" + std::to_string(i) + ".bmp\r\n";
                        raw.sizes.assign(1002, 0);
                        return raw.Packed();
                    }}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

TEST_F(SkinReaderTest, HoldsExactly1001Entries) {
    RawArchive raw;
    for (int i = 0; i < 1001; ++i) {
        raw.names += "e" + std::to_string(i) + ".bmp\r\n";
        raw.sizes.push_back(1);
        raw.data += static_cast<char>('0' + i % 10);
    }
    ASSERT_TRUE(Open(raw.Packed()));
    EXPECT_EQ(reader.EntryCount(), 1001);
    EXPECT_EQ(Extract("e1000.bmp"), "0");
}

// At the bound of what the code could produce the size is believed: the
// archive decodes, with zero bits past its code, and opens.
TEST_F(SkinReaderTest, SizeAtTheCodeBoundIsDecoded) {
    const Bytes packed = Good().Packed();
    ASSERT_TRUE(Open(WithSizeField(packed, static_cast<int32_t>((packed.size() - 4) * 480))));
    EXPECT_EQ(Extract("b.bmp"), "bb");
    EXPECT_GT(reader.EntryData().Size(), 3);
}

TEST_F(SkinReaderTest, DecompressSkinRefusesAHostileSizeWithoutDecoding) {
    TMemoryStream packed, unpacked;
    const Bytes bytes = WithSizeField(Good().Packed(), 2'000'000'000);
    packed.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    EXPECT_FALSE(reader.DecompressSkin(packed, unpacked));
    EXPECT_EQ(unpacked.Size(), 0);
}

}  // namespace
}  // namespace pellix
