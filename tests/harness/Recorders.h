// Registry values set for a test's life, and records that programs started
// by a test write: the host's mail client and browser under Wine among them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/harness/Files.h"
#include "tests/harness/Pump.h"

namespace pellix::test {

// Sets (or, given no value, deletes) a registry value for the life of the
// object; the old value, or its absence, comes back afterwards.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, std::string path, std::string name, const std::string* value)
        : root_(root), path_(std::move(path)), name_(std::move(name)) {
        HKEY key;
        if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open " << path_;
            return;
        }
        DWORD size = 0;
        had_ = RegQueryValueExA(key, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
        old_.resize(size);
        if (had_) RegQueryValueExA(key, name_.c_str(), nullptr, &type_, old_.data(), &size);
        if (value != nullptr)
            RegSetValueExA(key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                           static_cast<DWORD>(value->size() + 1));
        else
            RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
    ScopedRegistryValue(HKEY root, std::string path, std::string name, const std::string& value)
        : ScopedRegistryValue(root, std::move(path), std::move(name), &value) {}
    ~ScopedRegistryValue() {
        HKEY key;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (had_)
            RegSetValueExA(key, name_.c_str(), 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
        else
            RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

private:
    HKEY root_;
    std::string path_, name_;
    bool had_ = false;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> old_;
};

// The host's name for a Windows path; empty outside Wine.
inline std::string UnixPathOf(const std::string& path) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr) return "";
    int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), n);
    char* name = unixName(wide.c_str());
    std::string result = name != nullptr ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

inline std::vector<std::string> ReadLines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Waits until file holds count lines, or the time is up, then a little
// longer, so that one start too many would show too; returns all of them.
inline std::vector<std::string> WaitForLines(const std::string& file, size_t count,
                                             std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    PumpUntil([&] { return ReadLines(file).size() >= count; }, limit);
    Sleep(300);
    return ReadLines(file);
}

// Points Wine's winebrowser, for web addresses and mail, at a host shell
// script that records the address it is given, one line per start, in
// brackets. winebrowser starts it by its host path.
class WineBrowserRecorder {
public:
    WineBrowserRecorder() {
        std::string base = TempFolder() + "pellix_winebrowser_" + std::to_string(GetCurrentProcessId());
        // Wine makes files named ".exe" executable for the host as well.
        script_ = base + ".exe";
        record_ = base + ".txt";
        DeleteFileA(record_.c_str());
        const std::string unixScript = UnixPathOf(script_), unixRecord = UnixPathOf(record_);
        if (unixScript.empty() || unixRecord.empty()) return;
        std::ofstream(script_, std::ios::binary) << "#!/bin/sh\nprintf '[%s]\\n' \"$*\" >> '" << unixRecord << "'\n";
        browsers_ = std::make_unique<ScopedRegistryValue>(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", unixScript);
        mailers_ = std::make_unique<ScopedRegistryValue>(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Mailers", unixScript);
    }
    ~WineBrowserRecorder() {
        browsers_.reset();
        mailers_.reset();
        DeleteFileA(script_.c_str());
        DeleteFileA(record_.c_str());
    }
    WineBrowserRecorder(const WineBrowserRecorder&) = delete;
    WineBrowserRecorder& operator=(const WineBrowserRecorder&) = delete;

    bool Available() const { return browsers_ != nullptr; }
    std::vector<std::string> WaitForLines(size_t count,
                                          std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
        return test::WaitForLines(record_, count, limit);
    }
    // Forgets what was recorded so far.
    void Clear() const { DeleteFileA(record_.c_str()); }

private:
    std::string script_, record_;
    std::unique_ptr<ScopedRegistryValue> browsers_, mailers_;
};

}  // namespace pellix::test
