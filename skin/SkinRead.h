// Reader of skin archives: an LZHUF-packed container of named entries (one
// settings text and the bitmaps it names). Portable.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "framework/Streams.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"

namespace pellix {

// Shows a message to the user and returns when it was dismissed. The Windows
// side installs a modal message box; without one the message is dropped.
using TSkinMessageHook = std::function<void(const std::string&)>;
// Returns the hook it replaces.
TSkinMessageHook SetSkinMessageHook(TSkinMessageHook hook);

struct TSkinArchiveHeader {
    int32_t ArchiveMagic = 0;
    int32_t NameListLength = 0;
    int32_t Reserved1 = 0;
    int32_t Reserved2 = 0;
};

class TSkinReader : public TObject {
public:
    static constexpr int32_t ArchiveMagicValue = 20000;
    static constexpr int MaxEntries = 1001;
    // A larger declared size is refused before anything is unpacked.
    static constexpr int32_t MaxUnpackedSize = 64 * 1024 * 1024;

    TSkinReader();
    ~TSkinReader() override;
    std::string ClassName() const override { return "TSkinReader"; }

    // True when the archive opened. A wrong magic shows the "older skin file"
    // message; an archive whose sizes or offsets cannot be right is refused
    // silently. Either way only the header fields change.
    bool OpenSkinArchive(TMemoryStream& packed);
    // Unpacks from packed's start into unpacked's start. False, with nothing
    // decoded, when the declared size is negative, too large, or more than the
    // packed bytes could produce.
    [[nodiscard]] bool DecompressSkin(TMemoryStream& packed, TMemoryStream& unpacked);

    // The first entry named name (compared lower-cased in A-Z); target stays
    // empty when there is none.
    void ExtractEntry(const std::string& name, TMemoryStream& target) const;
    // The first entry whose name contains text (as given, case-sensitive);
    // entryName is left alone when there is none.
    void FindEntry(const std::string& text, TMemoryStream& target, std::string& entryName) const;

    const TStringList& EntryNames() const { return *EntryNames_; }
    int32_t EntryCount() const { return EntryCount_; }
    std::span<const int32_t> EntrySizes() const { return {EntrySizes_.data(), static_cast<size_t>(EntryCount_)}; }
    const TMemoryStream& EntryData() const { return *EntryData_; }
    const TSkinArchiveHeader& Header() const { return Header_; }

private:
    template <class Match>
    const std::string* CopyFirstEntry(TMemoryStream& target, Match matches) const;

    std::unique_ptr<TStringList> EntryNames_;  // lower-cased in A-Z
    int32_t EntryCount_ = 0;
    std::array<int32_t, MaxEntries> EntrySizes_{};
    std::unique_ptr<TMemoryStream> EntryData_;  // all entries back to back
    TSkinArchiveHeader Header_;
};

}  // namespace pellix
