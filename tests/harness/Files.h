// Whole files written and read by tests, and the folders they go in.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pellix::test {

// Both end in a backslash.
inline std::string TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return temp;
}

inline std::string ExeFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

// A fresh folder below the temporary folder, current while the object lives;
// afterwards the old current folder comes back and this one goes with its files.
class WorkFolder {
public:
    explicit WorkFolder(const std::string& name) {
        GetCurrentDirectoryA(MAX_PATH, saved_);
        const std::string path = TempFolder() + name;
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        entered_ = SetCurrentDirectoryA(path.c_str()) != 0;
        EXPECT_TRUE(entered_) << path;
        // The current folder's own spelling, as the program will see it.
        char full[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, full);
        path_ = full;
    }
    ~WorkFolder() {
        SetCurrentDirectoryA(saved_);
        std::filesystem::remove_all(path_);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& Path() const { return path_; }
    bool Entered() const { return entered_; }

private:
    std::string path_;
    bool entered_ = false;
    char saved_[MAX_PATH] = {};
};

inline std::string CurrentTestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace pellix::test
