#include "tools/skinpack/SkinArchiveWriter.h"

#include <algorithm>
#include <set>

#include "skin/SkinRead.h"
#include "tools/skinpack/LzhufEncoder.h"

namespace pellix {

namespace {

void PutInt32(std::vector<uint8_t>& out, int64_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void CheckName(const std::string& name) {
    if (name.empty()) throw ESkinPackError("skin entry without a name");
    if (name.find_first_of(std::string("/\\:\r\n\0", 7)) != std::string::npos)
        throw ESkinPackError(FormatMessage1("skin entry name \"%s\" holds a folder part or a line end", name));
}

void CheckEntries(const std::vector<TSkinArchiveEntry>& entries) {
    if (entries.size() > static_cast<size_t>(TSkinReader::MaxEntries))
        throw ESkinPackError(FormatMessage1("more than %s skin entries", IntToStr(TSkinReader::MaxEntries)));
    std::set<std::string> seen;
    int settings = 0;
    for (const TSkinArchiveEntry& entry : entries) {
        CheckName(entry.Name);
        const std::string lower = LowerCase(entry.Name);
        if (!seen.insert(lower).second) throw ESkinPackError(FormatMessage1("skin entry \"%s\" stands twice", entry.Name));
        // The settings text is found as the first name containing ".ini".
        if (lower.find(".ini") != std::string::npos) ++settings;
    }
    if (settings != 1) throw ESkinPackError("a skin needs exactly one entry whose name contains \".ini\"");
}

}  // namespace

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries) {
    CheckEntries(entries);
    std::string names;
    for (const TSkinArchiveEntry& entry : entries) names += entry.Name + "\r\n";
    int64_t total = 16 + static_cast<int64_t>(names.size()) + 4 * static_cast<int64_t>(entries.size());
    for (const TSkinArchiveEntry& entry : entries) total += static_cast<int64_t>(entry.Data.size());
    if (total > TSkinReader::MaxUnpackedSize)
        throw ESkinPackError(FormatMessage1("skin archive of %s bytes is above the reader's limit", IntToStr(total)));

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    PutInt32(out, TSkinReader::ArchiveMagicValue);
    PutInt32(out, static_cast<int64_t>(names.size()));
    PutInt32(out, 0);
    PutInt32(out, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const TSkinArchiveEntry& entry : entries) PutInt32(out, static_cast<int64_t>(entry.Data.size()));
    for (const TSkinArchiveEntry& entry : entries) out.insert(out.end(), entry.Data.begin(), entry.Data.end());
    return out;
}

std::vector<uint8_t> PackSkinArchive(const std::vector<TSkinArchiveEntry>& entries) {
    return PackLzhuf(BuildSkinArchive(entries));
}

}  // namespace pellix
