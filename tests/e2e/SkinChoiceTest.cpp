// The skin choice as a user meets it: pellix.exe started on a fresh settings
// key in a folder of the test's own, the "&Skins" commands given from the
// keyboard and the "&Load" dialog, then what is stored and whether the main
// window carries a frame skin.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "skin/SkinMessages.h"
#include "tests/harness/Files.h"
#include "tests/harness/Input.h"
#include "tests/harness/Program.h"
#include "tests/harness/Settings.h"

namespace pellix::test {
namespace {

namespace fs = std::filesystem;

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";
const char kSkins[] = "Options\\Skins";

// A skin the program carries, read from its resources.
std::vector<uint8_t> ProgramSkin(const char* resource) {
    std::vector<uint8_t> bytes;
    HMODULE module = LoadLibraryExA((ExeFolder() + "pellix.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return bytes;
    if (HRSRC found = FindResourceA(module, resource, MAKEINTRESOURCEA(10))) {
        const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
        if (data != nullptr) bytes.assign(data, data + SizeofResource(module, found));
    }
    FreeLibrary(module);
    return bytes;
}

void WriteProgramSkin(const std::string& path, const char* resource) {
    const std::vector<uint8_t> bytes = ProgramSkin(resource);
    ASSERT_FALSE(bytes.empty()) << resource;
    WriteBytes(path, bytes);
}

class SkinMenu : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TempFolder() + "pellix-e2e-skins-" + CurrentTestName();
        fs::remove_all(folder);
        fs::create_directories(folder);
        DeleteSettings();
    }
    void TearDown() override {
        program.reset();
        DeleteSettings();
        fs::remove_all(folder);
    }

    void Launch() {
        program = std::make_unique<Program>(folder);
        ASSERT_TRUE(program->Started());
        main = program->WaitForWindow(kCaption);
        ASSERT_NE(main, nullptr) << "no main window";
        SetForegroundWindow(main);
    }
    void Close() {
        PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD code = 12345;
        EXPECT_TRUE(program->WaitForExit(15000, code)) << "still running after WM_CLOSE";
        EXPECT_EQ(code, 0u);
        program.reset();
    }

    // The main window answers that it carries a frame skin.
    bool Framed() const {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(main, SkinMsgQuery, 0, 0, SMTO_NORMAL, 5000, &answer) != 0 && answer == 1;
    }
    // A command reaches the registry only once the engine has carried it out.
    bool WaitForStored(const char* name, const std::string& value) const {
        return WaitUntil([&] { return StoredSetting(kSkins, name) == value; });
    }
    // Options, Skins, then the item's own letter.
    void SkinsCommand(WORD letter) {
        PressKey('O', true);
        PressKey('S');
        PressKey(letter);
    }

    std::string Path(const char* name) const { return folder + "\\" + name; }

    std::string folder;
    std::unique_ptr<Program> program;
    HWND main = nullptr;
};

TEST_F(SkinMenu, FirstStartIsSkinnedWithOrWithoutDefaultSknAndWritesNoChoice) {
    for (bool withDefault : {false, true}) {
        SCOPED_TRACE(withDefault ? "with default.skn" : "without default.skn");
        DeleteSettings();
        if (withDefault) WriteProgramSkin(Path("default.skn"), "GREEN_SKN");
        Launch();
        EXPECT_TRUE(WaitUntil([&] { return Framed(); }));
        Sleep(600);  // past the engine's action delay: start-up schedules nothing that stores
        EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "<missing>");
        EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), "<missing>");
        Close();
        EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "<missing>") << "closing stores no choice";
        EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), "<missing>");
    }
}

TEST_F(SkinMenu, GreenFromTheKeyboardStoresTwoAndKeepsTheFile) {
    WriteProgramSkin(Path("mine.skn"), "SILVER_SKN");
    StoreSetting(kSkins, "SkinIndex", "4");
    StoreSetting(kSkins, "SkinFile", Path("mine.skn"));
    Launch();
    ASSERT_TRUE(WaitUntil([&] { return Framed(); }));
    SkinsCommand('G');
    EXPECT_TRUE(WaitForStored("SkinIndex", "2")) << StoredSetting(kSkins, "SkinIndex");
    EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), Path("mine.skn"));
    EXPECT_TRUE(Framed());
    Close();
}

TEST_F(SkinMenu, UnskinStoresThreeWithTheFileDropsTheFrameAndTheNextStartIsUnskinned) {
    WriteProgramSkin(Path("mine.skn"), "SILVER_SKN");
    StoreSetting(kSkins, "SkinIndex", "4");
    StoreSetting(kSkins, "SkinFile", Path("mine.skn"));
    Launch();
    ASSERT_TRUE(WaitUntil([&] { return Framed(); }));
    SkinsCommand('U');
    EXPECT_TRUE(WaitForStored("SkinIndex", "3")) << StoredSetting(kSkins, "SkinIndex");
    EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), Path("mine.skn"));
    EXPECT_TRUE(WaitUntil([&] { return !Framed(); }));
    Close();

    Launch();
    Sleep(600);
    EXPECT_FALSE(Framed());
    Close();
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "3");
}

TEST_F(SkinMenu, StoredIndexAboveFourIsSkinnedAndStaysStored) {
    StoreSetting(kSkins, "SkinIndex", "5");
    Launch();
    EXPECT_TRUE(WaitUntil([&] { return Framed(); }));
    Close();
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "5");
    EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), "<missing>");
}

TEST_F(SkinMenu, BoundsStoredOnCloseComeBackUnchangedWhileSkinned) {
    const char* names[] = {"Left", "Top", "Width", "Height"};
    std::vector<std::string> first, second;
    for (std::vector<std::string>* stored : {&first, &second}) {
        Launch();
        EXPECT_TRUE(WaitUntil([&] { return Framed(); }));
        Close();
        for (const char* name : names) stored->push_back(StoredSetting("Options\\Windows", name));
    }
    EXPECT_NE(first[1], "130") << "the second start must place the window at the stored bounds";
    EXPECT_EQ(second, first);
}

TEST_F(SkinMenu, LoadOpensInTheSkinsFolderAndStoresTheChosenFile) {
    // Start-up ends with the output folder current (its folder list makes it
    // so): the dialog looks for "Skins" below that folder.
    const std::string out = Path("out");
    fs::create_directories(out + "\\Skins");
    StoreSetting("Options\\User", "OutputDir", out + "\\");
    WriteProgramSkin(out + "\\Skins\\mine.skn", "GREEN_SKN");
    Launch();
    ASSERT_TRUE(WaitUntil([&] { return Framed(); }));
    SkinsCommand('L');
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = program->FindWindowOfClass("#32770");
        return dialog != nullptr && (GetDlgItem(dialog, cmb13) != nullptr || GetDlgItem(dialog, edt1) != nullptr);
    })) << "no file dialog";
    HWND field = GetDlgItem(dialog, cmb13) != nullptr ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
    // A bare name is looked for in the folder the dialog shows.
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("mine.skn"));
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitForStored("SkinIndex", "4")) << StoredSetting(kSkins, "SkinIndex");
    const std::string stored = StoredSetting(kSkins, "SkinFile");
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, stored.c_str(), -1,
                             (out + "\\Skins\\mine.skn").c_str(), -1),
              CSTR_EQUAL)
        << stored;
    EXPECT_EQ(program->FindWindowOfClass("TMessageForm"), nullptr) << "the skin was refused";
    EXPECT_TRUE(Framed());
    Close();
}

}  // namespace
}  // namespace pellix::test
