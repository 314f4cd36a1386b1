// The program starts as a user starts it, shows its main window and ends
// cleanly when that window is closed.
#include <gtest/gtest.h>

#include "tests/harness/Program.h"

namespace pellix::test {
namespace {

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";

TEST(Startup, MainWindowOpensCentredAndClosesWithExitCodeZero) {
    Program program;
    ASSERT_TRUE(program.Started());
    HWND main = program.WaitForWindow(kCaption);
    ASSERT_NE(main, nullptr) << "no window captioned " << kCaption;
    EXPECT_EQ(WindowClassName(main), "TThumbnailsForm");

    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 743);
    EXPECT_EQ(r.bottom - r.top, 553);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 743) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 553) / 2);

    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    ASSERT_TRUE(program.WaitForExit(15000, code)) << "still running after WM_CLOSE";
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace pellix::test
