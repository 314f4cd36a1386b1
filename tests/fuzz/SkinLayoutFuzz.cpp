// Any unpacked container (the magic forced, so the layout is what varies),
// packed by the packer, must open or be refused by the reader; opened, every
// entry must come back as the bytes the layout places it at.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin/SkinRead.h"
#include "tools/skinpack/LzhufEncoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> unpacked(data, data + size);
    if (unpacked.size() >= 4) {
        const int32_t magic = pellix::TSkinReader::ArchiveMagicValue;
        std::memcpy(unpacked.data(), &magic, 4);
    }
    const std::vector<uint8_t> packedBytes = pellix::PackLzhuf(unpacked);
    pellix::TMemoryStream packed;
    packed.WriteBuffer(packedBytes.data(), static_cast<int64_t>(packedBytes.size()));
    pellix::TSkinReader reader;
    if (!reader.OpenSkinArchive(packed)) return 0;

    const int count = reader.EntryCount();
    const size_t dataOffset = 16 + static_cast<size_t>(reader.Header().NameListLength) + 4 * static_cast<size_t>(count);
    size_t offset = dataOffset;
    pellix::TMemoryStream target;
    for (int i = 0; i < count; ++i) {
        const auto entrySize = static_cast<size_t>(reader.EntrySizes()[static_cast<size_t>(i)]);
        if (offset + entrySize > unpacked.size()) std::abort();
        reader.ExtractEntry(reader.EntryNames()[i], target);
        bool first = true;
        for (int j = 0; j < i; ++j) first = first && reader.EntryNames()[j] != reader.EntryNames()[i];
        if (first && (static_cast<size_t>(target.Size()) != entrySize ||
                      (entrySize != 0 && std::memcmp(target.Memory(), unpacked.data() + offset, entrySize) != 0)))
            std::abort();
        offset += entrySize;
    }
    return 0;
}
