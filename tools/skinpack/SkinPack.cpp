// skinpack OUT.skn FILE...: packs a settings text and its bitmaps into a skin
// archive, named by their file names, and checks that the skin reader gets
// every entry back before the file is written.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/SkinRead.h"
#include "tools/skinpack/SkinArchiveWriter.h"

namespace {

using namespace pellix;

TSkinArchiveEntry ReadEntry(const std::string& path) {
    TMemoryStream file;
    file.LoadFromFile(path);
    const uint8_t* bytes = file.Memory();
    return {std::filesystem::path(path).filename().string(), std::vector<uint8_t>(bytes, bytes + file.Size())};
}

void CheckReadsBack(const std::vector<uint8_t>& packed, const std::vector<TSkinArchiveEntry>& entries) {
    TMemoryStream archive;
    archive.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    TSkinReader reader;
    if (!reader.OpenSkinArchive(archive)) throw ESkinPackError("the packed archive does not open");
    TMemoryStream entry;
    for (const TSkinArchiveEntry& expected : entries) {
        reader.ExtractEntry(expected.Name, entry);
        const std::vector<uint8_t> got(entry.Memory(), entry.Memory() + entry.Size());
        if (got != expected.Data) throw ESkinPackError("entry \"" + expected.Name + "\" does not read back");
    }
}

int Run(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        std::cerr << "usage: skinpack OUT.skn FILE...\n";
        return 2;
    }
    std::vector<TSkinArchiveEntry> entries;
    for (size_t i = 1; i < args.size(); ++i) entries.push_back(ReadEntry(args[i]));
    const std::vector<uint8_t> packed = PackSkinArchive(entries);
    CheckReadsBack(packed, entries);
    TMemoryStream out;
    out.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    out.SaveToFile(args[0]);
    std::cout << args[0] << ": " << entries.size() << " entries, " << packed.size() << " bytes\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "skinpack: " << e.what() << '\n';
        return 1;
    }
}
