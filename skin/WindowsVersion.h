// The platform version the skin engine branches on: the value of GetVersion()
// as the skin manager stored it when it hooked the thread. Its top bit marks
// the Windows 95 family. Tests set it to reach that family's branches, which
// the platforms we run on never take.
#pragma once

#include <cstdint>

namespace pellix {

inline uint32_t WindowsVersion = 0;

inline bool Windows95Family() { return (WindowsVersion & 0x80000000u) != 0; }
// Major version 4 of the NT family.
inline bool WindowsNT4() { return !Windows95Family() && (WindowsVersion & 0xFFu) == 4; }

}  // namespace pellix
