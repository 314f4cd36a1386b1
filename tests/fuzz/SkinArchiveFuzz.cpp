// Any packed archive must open or be refused, and an opened one must serve
// every entry within its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "skin/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pellix::TMemoryStream packed;
    packed.WriteBuffer(data, static_cast<int64_t>(size));
    pellix::TSkinReader reader;
    if (!reader.OpenSkinArchive(packed)) return 0;

    int64_t total = 0;
    for (int32_t s : reader.EntrySizes()) total += s;
    if (reader.EntryCount() > pellix::TSkinReader::MaxEntries || total > reader.EntryData().Size()) std::abort();
    pellix::TMemoryStream target;
    for (int i = 0; i < reader.EntryCount(); ++i) {
        reader.ExtractEntry(reader.EntryNames()[i], target);
        std::string name;
        reader.FindEntry(reader.EntryNames()[i], target, name);
        if (name.empty() && !reader.EntryNames()[i].empty()) std::abort();
    }
    return 0;
}
