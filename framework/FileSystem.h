// File-system helpers of the framework.
#pragma once

#include <string>

namespace pellix {

// The current folder, without a trailing backslash except at a drive's root;
// empty when it cannot be read.
std::string GetCurrentDir();
bool DirectoryExists(const std::string& path);
// True for a file, false for a folder or nothing.
bool FileExists(const std::string& path);

}  // namespace pellix
