// Writer of skin archives: a settings text and the bitmaps it names, in the
// container layout the skin reader opens, packed with LZHUF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/SysUtils.h"

namespace pellix {

PELLIX_EXCEPTION(ESkinPackError, Exception);

struct TSkinArchiveEntry {
    std::string Name;  // file name without a folder part
    std::vector<uint8_t> Data;
};

// The unpacked container. Throws ESkinPackError for entries the reader could
// not serve back: no or several ".ini" entries, names that are empty, hold a
// folder part or a line end, repeat (letters A-Z compare without case), more
// than the reader's entry limit, or an archive above its size limit.
std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries);

// The ".skn" bytes.
std::vector<uint8_t> PackSkinArchive(const std::vector<TSkinArchiveEntry>& entries);

}  // namespace pellix
