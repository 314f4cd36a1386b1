// A stand-in browser that records how it was started, and the shell's open
// commands pointed at it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/harness/Files.h"
#include "tests/harness/Recorders.h"

namespace pellix::test {

// A stand-in browser (a Windows program of the tests): every start appends
// one line to this object's record, every argument in brackets:
// "[--flag][http://...]". Programs started by this process find the record
// through its environment.
class ArgumentRecorder {
public:
    ArgumentRecorder()
        : program_(ExeFolder() + "test-programs\\pellix_record_arguments.exe"),
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
