// The program starts as a user starts it, shows its main window and ends
// cleanly when that window is closed.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/harness/Program.h"
#include "tests/harness/Settings.h"

namespace pellix::test {
namespace {

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";

TEST(Startup, MainWindowOpensCentredAndClosesWithExitCodeZero) {
    // A first start: no settings, a folder of its own.
    DeleteSettings();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "pellix-startup";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Program program(folder);
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForWindow(kCaption);
    ASSERT_NE(main, nullptr) << "no window captioned " << kCaption;
    EXPECT_EQ(WindowClassName(main), "TThumbnailsForm");

    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 555);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 800) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 555) / 2);

    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    ASSERT_TRUE(program.WaitForExit(15000, code)) << "still running after WM_CLOSE";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(std::filesystem::is_directory(folder + "\\images\\thumbs"));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace pellix::test
