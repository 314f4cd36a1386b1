#include "framework/FileSystem.h"

#include <windows.h>

#include <vector>

namespace pellix {

std::string GetCurrentDir() {
    DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return {};
    std::vector<char> buffer(needed);
    DWORD length = GetCurrentDirectoryA(needed, buffer.data());
    return length > 0 && length < needed ? std::string(buffer.data(), length) : std::string();
}

bool DirectoryExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace pellix
