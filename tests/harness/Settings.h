// The program's registry settings, as tests set and read them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace pellix::test {

inline constexpr char kSettingsKey[] = "Software\\Quendle Software\\Mirovo";

inline void DeleteSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

// Stores a text value under the settings key's sub-key.
inline void StoreSetting(const std::string& sub, const std::string& name, const std::string& value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + sub).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

// The stored text, or "<missing>"; a value of another kind fails the test.
inline std::string StoredSetting(const std::string& sub, const std::string& name) {
    char buf[1024];
    DWORD size = sizeof(buf), type = 0;
    LSTATUS r = RegGetValueA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\" + sub).c_str(), name.c_str(),
                             RRF_RT_ANY, &type, buf, &size);
    if (r != ERROR_SUCCESS) return "<missing>";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
    return std::string(buf);
}

}  // namespace pellix::test
