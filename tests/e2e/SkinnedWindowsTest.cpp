// Every window pellix.exe shows, in each of its skins and unskinned: the main
// window, the font, open and picture dialogs, the about box, the information
// box of "View", the invalid-picture box and the application's error box,
// each opened as a user opens it and answering whether it carries a frame
// skin.
//
// With PELLIX_TOUR_DIR set, the screen is saved there as a bitmap once each
// window is up ("<skin>-<window>.bmp"), so that every window can be looked at.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "skin/SkinMessages.h"
#include "tests/harness/Files.h"
#include "tests/harness/Input.h"
#include "tests/harness/Program.h"
#include "tests/harness/Settings.h"
#include "tests/harness/WindowShot.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {
namespace {

namespace fs = std::filesystem;

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";

template <class Pred>
bool WaitUntil(Pred done, DWORD ms = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
    return true;
}

bool Framed(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, SkinMsgQuery, 0, 0, SMTO_NORMAL, 5000, &answer) != 0 && answer == 1;
}

// The whole screen as a 32-bit bitmap file.
void SaveScreen(const std::string& path) {
    const PixelShot shot = PixelShot::OfScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), shot.Width(), -shot.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD bytes = static_cast<DWORD>(shot.Width()) * static_cast<DWORD>(shot.Height()) * 4;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + bytes;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            const uint32_t c = shot.At(x, y);  // 0x00BBGGRR
            const uint8_t bgra[4] = {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                     static_cast<uint8_t>(c), 0};
            out.write(reinterpret_cast<const char*>(bgra), 4);
        }
}

struct TSkinCase {
    const char* Name;
    const char* StoredIndex;  // the stored choice; none for a fresh key
    bool DefaultSkn;          // a test skin as "default.skn"
    bool Skinned;
};

std::ostream& operator<<(std::ostream& os, const TSkinCase& c) { return os << c.Name; }

class SkinnedWindows : public ::testing::TestWithParam<TSkinCase> {
protected:
    void SetUp() override {
        folder = TempFolder() + "pellix-e2e-windows-" + GetParam().Name;
        fs::remove_all(folder);
        fs::create_directories(folder + "\\images");
        DeleteSettings();
        if (GetParam().StoredIndex != nullptr) StoreSetting("Options\\Skins", "SkinIndex", GetParam().StoredIndex);
        if (GetParam().DefaultSkn) WriteBytes(folder + "\\default.skn", testskin::TestSkin());
        WriteBytes(folder + "\\images\\bad.jpg", {'n', 'o', 'p', 'e'});
        WriteBytes(folder + "\\images\\bad.png", {'n', 'o', 'p', 'e', 0, 1, 2, 3, 4, 5, 6, 7});
        if (const char* dir = std::getenv("PELLIX_TOUR_DIR")) tourDir = dir;
        program = std::make_unique<Program>(folder);
        ASSERT_TRUE(program->Started());
        main = program->WaitForWindow(kCaption);
        ASSERT_NE(main, nullptr) << "no main window";
        SetForegroundWindow(main);
    }
    void TearDown() override {
        if (program != nullptr) {
            PostMessageA(main, WM_CLOSE, 0, 0);
            DWORD code = 0;
            EXPECT_TRUE(program->WaitForExit(15000, code));
            program.reset();
        }
        DeleteSettings();
        fs::remove_all(folder);
    }

    // The window is up, skinned or not as the case says, and looked at.
    void Look(HWND window, const std::string& name) {
        ASSERT_NE(window, nullptr) << name << " did not show";
        if (GetParam().Skinned) {
            EXPECT_TRUE(WaitUntil([&] { return Framed(window); })) << name;
        }
        Sleep(GetParam().Skinned ? 400 : 150);  // past the frame's start, painted
        EXPECT_EQ(Framed(window), GetParam().Skinned) << name;
        if (!tourDir.empty()) SaveScreen(tourDir + "\\" + GetParam().Name + "-" + name + ".bmp");
    }
    // A window of the program of that class, once visible.
    HWND Await(const std::string& cls) const {
        HWND found = nullptr;
        WaitUntil([&] { return (found = program->FindWindowOfClass(cls)) != nullptr; });
        return found;
    }
    // Until no visible window of the class is left.
    bool Gone(const std::string& cls) const {
        return WaitUntil([&] { return program->FindWindowOfClass(cls) == nullptr; });
    }
    void Menu(WORD bar, std::initializer_list<WORD> keys) const {
        SetForegroundWindow(main);
        Sleep(100);
        PressKey(bar, true);
        for (WORD key : keys) PressKey(key);
    }
    // The picture dialog from the "Open..." button, given a file of the images folder.
    void OpenPicture(const std::string& name) {
        HWND open = ChildOf(main, "TButton", "&Open...");
        ASSERT_NE(open, nullptr);
        PostMessageA(open, BM_CLICK, 0, 0);
        HWND dialog = Await("#32770");
        ASSERT_NE(dialog, nullptr) << "no picture dialog";
        HWND field = GetDlgItem(dialog, cmb13) != nullptr ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((folder + "\\images\\" + name).c_str()));
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
    }

    std::string folder, tourDir;
    std::unique_ptr<Program> program;
    HWND main = nullptr;
};

TEST_P(SkinnedWindows, EveryWindowShowsInTheSkinOrInThePlatformsLook) {
    Look(main, "main");

    Menu('O', {VK_RETURN});  // Fonts, the first item
    HWND font = Await("#32770");
    Look(font, "font-dialog");
    PostMessageA(font, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Gone("#32770"));

    Menu('O', {'S', 'L'});
    HWND open = Await("#32770");
    Look(open, "open-dialog");
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Gone("#32770"));

    Menu('F', {'O'});
    HWND picture = Await("#32770");
    Look(picture, "picture-dialog");
    PostMessageA(picture, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Gone("#32770"));

    Menu('H', {'A'});
    HWND about = Await("TAboutBox");
    Look(about, "about-box");
    PostMessageA(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone("TAboutBox"));

    // No notepad for the page: "View" only says that there are no samples yet.
    ASSERT_TRUE(ClickAndWait(ChildOf(main, "TCheckBox", "Generate HTML"), 5000));
    PostMessageA(ChildOf(main, "TButton", "View"), BM_CLICK, 0, 0);
    HWND information = Await("TMessageForm");
    Look(information, "information-box");
    PostMessageA(information, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone("TMessageForm"));

    OpenPicture("bad.jpg");
    HWND invalid = Await("TMessageForm");
    Look(invalid, "message-box");
    PostMessageA(invalid, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone("TMessageForm"));

    OpenPicture("bad.png");
    HWND error = Await("#32770");
    Look(error, "error-box");
    PostMessageA(error, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Gone("#32770"));
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinnedWindows,
                         ::testing::Values(TSkinCase{"default_skn", nullptr, true, true},
                                           TSkinCase{"blue", "0", false, true},
                                           TSkinCase{"silver", "1", false, true},
                                           TSkinCase{"green", "2", false, true},
                                           TSkinCase{"own", "5", false, true},
                                           TSkinCase{"unskinned", "3", false, false}),
                         [](const ::testing::TestParamInfo<TSkinCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace pellix::test
