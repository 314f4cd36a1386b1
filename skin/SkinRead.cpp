#include "skin/SkinRead.h"

#include <functional>
#include <utility>

#include "skin/WinConvert.h"

namespace pellix {

namespace {

constexpr int64_t kHeaderSize = 16;
// Every code symbol takes at least one bit and yields at most 60 bytes.
constexpr int64_t kMostBytesPerCodeByte = 8 * 60;

TSkinMessageHook& MessageHook() {
    static TSkinMessageHook hook;
    return hook;
}

void ShowSkinMessage(const std::string& text) {
    if (const auto& hook = MessageHook()) hook(text);
}

int32_t Int32At(const uint8_t* p) {
    const uint32_t v = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    return static_cast<int32_t>(v);
}

// Guards memory: the decoder would otherwise produce whatever size it is told.
bool PlausibleUnpackedSize(int32_t size, int64_t codeBytes) {
    return size >= 0 && size <= TSkinReader::MaxUnpackedSize && size <= codeBytes * kMostBytesPerCodeByte;
}

TSkinArchiveHeader ReadHeader(const uint8_t* p) {
    return {Int32At(p), Int32At(p + 4), Int32At(p + 8), Int32At(p + 12)};
}

struct TLayout {
    std::unique_ptr<TStringList> Names = std::make_unique<TStringList>();
    std::array<int32_t, TSkinReader::MaxEntries> Sizes{};
    int64_t DataOffset = 0;
};

// False when the name list, the sizes or the entries reach past the unpacked bytes.
bool ReadLayout(const TMemoryStream& unpacked, int32_t nameListLength, TLayout& layout) {
    const int64_t size = unpacked.Size();
    const uint8_t* bytes = unpacked.Memory();
    if (nameListLength < 0 || kHeaderSize + nameListLength > size) return false;
    const auto* names = reinterpret_cast<const char*>(bytes + kHeaderSize);
    layout.Names->SetText(LowerCase(std::string_view(names, static_cast<size_t>(nameListLength))));
    const int count = layout.Names->Count();
    if (count > TSkinReader::MaxEntries) return false;
    const int64_t sizesOffset = kHeaderSize + nameListLength;
    layout.DataOffset = sizesOffset + 4 * int64_t{count};
    if (layout.DataOffset > size) return false;
    int64_t total = 0;
    for (int i = 0; i < count; ++i) {
        const int32_t entrySize = Int32At(bytes + sizesOffset + 4 * i);
        if (entrySize < 0) return false;
        layout.Sizes[static_cast<size_t>(i)] = entrySize;
        total += entrySize;
    }
    return total <= size - layout.DataOffset;
}

}  // namespace

TSkinMessageHook SetSkinMessageHook(TSkinMessageHook hook) {
    return std::exchange(MessageHook(), std::move(hook));
}

TSkinReader::TSkinReader()
    : EntryNames_(std::make_unique<TStringList>()), EntryData_(std::make_unique<TMemoryStream>()) {}

TSkinReader::~TSkinReader() = default;

bool TSkinReader::DecompressSkin(TMemoryStream& packed, TMemoryStream& unpacked) {
    if (packed.Size() < 4) return false;
    const int32_t size = Int32At(packed.Memory());
    if (!PlausibleUnpackedSize(size, packed.Size() - 4)) return false;
    TLZH lzh;
    lzh.SourceStream = &packed;
    lzh.DestStream = &unpacked;
    packed.SetPosition(4);
    unpacked.SetPosition(0);
    lzh.DecodeLzhuf(size, std::bind_front(&TLZH::ReadSourceBytes, &lzh),
                    std::bind_front(&TLZH::WriteDestBytes, &lzh));
    return true;
}

bool TSkinReader::OpenSkinArchive(TMemoryStream& packed) {
    TMemoryStream unpacked;
    if (!DecompressSkin(packed, unpacked) || unpacked.Size() < kHeaderSize) return false;
    Header_ = ReadHeader(unpacked.Memory());
    if (Header_.ArchiveMagic != ArchiveMagicValue) {
        ShowSkinMessage("This is Older Skin File\rPlease update to new version !");
        return false;
    }
    TLayout layout;
    if (!ReadLayout(unpacked, Header_.NameListLength, layout)) return false;

    EntryNames_ = std::move(layout.Names);
    EntryCount_ = EntryNames_->Count();
    EntrySizes_ = layout.Sizes;
    EntryData_->Clear();
    EntryData_->WriteBuffer(unpacked.Memory() + layout.DataOffset, unpacked.Size() - layout.DataOffset);
    return true;
}

template <class Match>
const std::string* TSkinReader::CopyFirstEntry(TMemoryStream& target, Match matches) const {
    target.Clear();
    int64_t offset = 0;
    for (int i = 0; i < EntryCount_; ++i) {
        const std::string& name = (*EntryNames_)[i];
        const int32_t size = EntrySizes_[static_cast<size_t>(i)];
        if (matches(name)) {
            target.WriteBuffer(EntryData_->Memory() + offset, size);
            target.SetPosition(0);
            return &name;
        }
        offset += size;
    }
    return nullptr;
}

void TSkinReader::ExtractEntry(const std::string& name, TMemoryStream& target) const {
    const std::string wanted = LowerCase(name);
    CopyFirstEntry(target, [&](const std::string& entry) { return entry == wanted; });
}

void TSkinReader::FindEntry(const std::string& text, TMemoryStream& target, std::string& entryName) const {
    const std::string* found =
        CopyFirstEntry(target, [&](const std::string& entry) { return entry.find(text) != std::string::npos; });
    if (found) entryName = *found;
}

}  // namespace pellix
