// Records what the program starts under Wine: command lines of stand-in
// browsers, and the addresses Wine's winebrowser hands to the host's browser
// and mail client.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

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

inline std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return temp;
}

inline std::string ExeFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

inline std::vector<std::string> ReadLines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Waits until file holds count lines, then a little longer, so that one
// start too many would show too; returns all of them.
inline std::vector<std::string> WaitForLines(const std::string& file, size_t count) {
    PumpUntil([&] { return ReadLines(file).size() >= count; });
    Sleep(300);
    return ReadLines(file);
}

// A stand-in browser (a Windows program of the tests): every start appends
// one line to this object's record, every argument in brackets:
// "[--flag][http://...]". Programs started by this process find the record
// through its environment.
class ArgumentRecorder {
public:
    ArgumentRecorder()
        : program_(ExeFolder() + "\\test-programs\\pellix_record_arguments.exe"),
          record_(TempFolder() + "pellix_arguments_" + std::to_string(GetCurrentProcessId()) + ".txt") {
        DeleteFileA(record_.c_str());
        SetEnvironmentVariableA("PELLIX_RECORD_FILE", record_.c_str());
    }
    ~ArgumentRecorder() {
        SetEnvironmentVariableA("PELLIX_RECORD_FILE", nullptr);
        DeleteFileA(record_.c_str());
    }
    ArgumentRecorder(const ArgumentRecorder&) = delete;
    ArgumentRecorder& operator=(const ArgumentRecorder&) = delete;

    bool Available() const { return GetFileAttributesA(program_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    const std::string& Program() const { return program_; }
    std::vector<std::string> Lines() const { return ReadLines(record_); }
    std::vector<std::string> WaitForLines(size_t count) const { return test::WaitForLines(record_, count); }

private:
    std::string program_, record_;
};

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
    std::vector<std::string> WaitForLines(size_t count) const { return test::WaitForLines(record_, count); }

private:
    std::string script_, record_;
    std::unique_ptr<ScopedRegistryValue> browsers_, mailers_;
};

// The shell's open commands for HTML files and web addresses, replaced (or
// removed, for nullptr) while the object lives.
class BrowserCommands {
public:
    BrowserCommands(const char* htmlfile, const char* http, const char* https)
        : htmlfile_(Key("htmlfile"), htmlfile), http_(Key("http"), http), https_(Key("https"), https) {}

private:
    struct Entry {
        Entry(const std::string& path, const char* command)
            : value(command != nullptr ? std::string(command) : std::string()),
              scoped(HKEY_CLASSES_ROOT, path, "", command != nullptr ? &value : nullptr) {}
        std::string value;
        ScopedRegistryValue scoped;
    };
    static std::string Key(const char* kind) { return std::string(kind) + "\\shell\\open\\command"; }
    Entry htmlfile_, http_, https_;
};

}  // namespace pellix::test
