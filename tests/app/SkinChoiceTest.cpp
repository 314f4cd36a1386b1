// The skin choice on the real main window: the skin chosen at start-up from
// the stored choice and "default.skn", the "&Skins" commands with their check
// marks, the "&Load" dialog, and the choice written only when the skin engine
// reports a finished action.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/ThumbnailsMain.h"
#include "framework/Dialogs.h"
#include "framework/FileSystem.h"
#include "framework/FormLoader.h"
#include "framework/Menus.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinStore.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/harness/Files.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Settings.h"
#include "tests/skin/SkinArchives.h"

namespace pellix {
namespace {

using test::Bytes;
using test::StoredSetting;
using test::StoreSetting;

const char kSkins[] = "Options\\Skins";

Bytes Resource(const char* name) {
    const std::string_view bytes = ResourceBytes(name);
    return Bytes(bytes.begin(), bytes.end());
}

// The message a load of archive raises on its own, or "" when it raises none.
std::string LoadError(const Bytes& archive) {
    TSkinData data(nullptr);
    testskin::FillStream(data.SkinStream, archive);
    try {
        data.LoadSkinStream();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

class SkinChoice : public test::MainWindowFixture {
protected:
    SkinChoice() : MainWindowFixture("pellix-skins-") {}
    void SetUp() override {
        MainWindowFixture::SetUp();
        Application->OnShowException = [this](const std::string& text) { errors.push_back(text); };
        MessageBoxHook = [this](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(text);
            return 1;
        };
    }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
        MessageBoxHook = nullptr;
        Application->OnShowException = nullptr;
        MainWindowFixture::TearDown();
    }

    // Started, with the skin events counted from here on.
    TThumbnailsForm& StartCounting() {
        TThumbnailsForm& f = Start();
        TNotifyEvent stores = f.SkinData1->OnSkinChanged;
        EXPECT_TRUE(stores);
        f.SkinData1->OnSkinChanged = [this, stores](TObject* sender) {
            ++skinEvents;
            stores(sender);
        };
        return f;
    }

    // Longer than the engine's 250 ms action delay.
    static void Settle() {
        test::PumpUntil([] { return false; }, std::chrono::milliseconds(300));
    }

    // As the menu sends it, so that an error reaches the application's error box.
    void Choose(TMenuItem* item) {
        SendMessageA(form->Handle(), WM_COMMAND, item->Command(), 0);
        test::PumpMessages();
    }

    Bytes Held() const { return test::BytesOf(form->SkinData1->SkinStream); }
    Bytes StoreItem(int index) const { return test::BytesOf(form->SkinStore1->Store()->Items(index)->ItemStream); }

    // The "&Skins" items that show a check mark in the window's menu.
    std::vector<std::string> Checked() const {
        std::vector<std::string> names;
        for (TMenuItem* item : {form->SkinBlue, form->SkinSilver, form->SkinGreen, form->SkinNone, form->SkinLoad}) {
            const UINT state = GetMenuState(item->Parent()->Handle(), item->Command(), MF_BYCOMMAND);
            if (state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0) names.push_back(item->Name());
        }
        return names;
    }

    // The window carries a frame skin.
    bool Framed() const { return SendMessageA(form->Handle(), SkinMsgQuery, 0, 0) == 1; }

    void ExpectSkinned(bool skinned) const {
        EXPECT_EQ(form->SkinData1->Active(), skinned);
        ASSERT_NE(SkinManager, nullptr);
        EXPECT_EQ(SkinManager->SkinningEnabled, skinned);
        EXPECT_EQ(Framed(), skinned);
    }

    std::string Path(const char* name) const { return folder + "\\" + name; }

    int skinEvents = 0;
    std::vector<std::string> errors, messages;
};

TEST_F(SkinChoice, DescriptionHoldsTheFourStoredSkinsAndTheComponentsSwitches) {
    TThumbnailsForm& f = Start();
    TSkinCollection& store = *f.SkinStore1->Store();
    ASSERT_EQ(store.Count(), 4);
    const char* files[] = {"BLUE_SKN", "SILVER_SKN", "GREEN_SKN", "BLUE_SKN"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(store.Items(i)->Name(), "SkinItem" + std::to_string(i));
        EXPECT_EQ(StoreItem(i), Resource(files[i])) << i;
    }
    EXPECT_EQ(f.SkinData1->SkinControls, DefaultSkinControls);
    EXPECT_EQ(f.SkinData1->DisableTag, 99);
    EXPECT_EQ(f.SkinData1->SkinFormtype, sfMainform);
    EXPECT_NE(SkinManager->CbtHook(), nullptr);
}

// ------------------------------------------------------------------ start-up

enum class TFile { None, Default, Mine, Missing, Empty };
enum class THeld { Blue, Silver, Green, Builtin, Default, Mine };

struct StartCase {
    const char* name;
    const char* storedIndex;  // null: nothing stored
    TFile storedFile;         // None: nothing stored
    bool defaultSkn;          // a "default.skn" in the start folder
    int skinIndex;
    const char* checked;  // "" when no item is checked
    bool skinned;
    THeld held;
    TFile loadedFile;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class SkinChoiceStart : public SkinChoice, public testing::WithParamInterface<StartCase> {
protected:
    std::string FileOf(TFile file) const {
        switch (file) {
        case TFile::Default: return Path("default.skn");
        case TFile::Mine: return Path("mine.skn");
        case TFile::Missing: return Path("gone.skn");
        case TFile::None:
        case TFile::Empty: break;
        }
        return "";
    }
    Bytes BytesOf(THeld held) const {
        switch (held) {
        case THeld::Blue: return Resource("BLUE_SKN");
        case THeld::Silver: return Resource("SILVER_SKN");
        case THeld::Green: return Resource("GREEN_SKN");
        case THeld::Builtin: return Resource("BUILTIN_SKN");
        case THeld::Default: return test::VariantSkin(2);
        case THeld::Mine: return test::VariantSkin(1);
        }
        return {};
    }
};

TEST_P(SkinChoiceStart, ChoosesLoadsAndChecksTheSkinAndWritesNothing) {
    const StartCase& c = GetParam();
    test::WriteBytes(Path("mine.skn"), BytesOf(THeld::Mine));
    if (c.defaultSkn) test::WriteBytes(Path("default.skn"), BytesOf(THeld::Default));
    if (c.storedIndex != nullptr) StoreSetting(kSkins, "SkinIndex", c.storedIndex);
    if (c.storedFile != TFile::None) StoreSetting(kSkins, "SkinFile", FileOf(c.storedFile));
    const std::string indexBefore = StoredSetting(kSkins, "SkinIndex");
    const std::string fileBefore = StoredSetting(kSkins, "SkinFile");

    TThumbnailsForm& f = Start();
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(f.SkinIndex, c.skinIndex);
    EXPECT_EQ(f.LoadedSkinFile, FileOf(c.loadedFile));
    EXPECT_EQ(f.DefaultSkin, Path("default.skn"));
    std::vector<std::string> checked;
    if (*c.checked != '\0') checked.push_back(c.checked);
    EXPECT_EQ(Checked(), checked);
    EXPECT_TRUE(Held() == BytesOf(c.held)) << "another skin is held";
    EXPECT_FALSE(f.SkinData1->SkinUnparsed);
    ExpectSkinned(c.skinned);

    // Start-up has activated the window: an action left pending would run now.
    Settle();
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), indexBefore);
    EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), fileBefore);
    form->Close();
    test::PumpMessages();
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), indexBefore) << "closing writes no skin choice";
    EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), fileBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinChoiceStart,
    testing::Values(
        StartCase{"FirstStartShowsBlue", nullptr, TFile::None, false, 0, "SkinBlue", true, THeld::Blue, TFile::None},
        StartCase{"FirstStartTakesDefaultSkn", nullptr, TFile::None, true, 4, "SkinLoad", true, THeld::Default,
                  TFile::Default},
        StartCase{"Stored999IsNoChoice", "999", TFile::None, true, 4, "SkinLoad", true, THeld::Default, TFile::Default},
        StartCase{"StoredSilver", "1", TFile::None, false, 1, "SkinSilver", true, THeld::Silver, TFile::None},
        StartCase{"StoredGreenWinsOverDefaultSkn", "2", TFile::Mine, true, 2, "SkinGreen", true, THeld::Green,
                  TFile::Mine},
        StartCase{"StoredUnskinnedHoldsItemThree", "3", TFile::Mine, false, 3, "SkinNone", false, THeld::Blue,
                  TFile::Mine},
        StartCase{"StoredFile", "4", TFile::Mine, true, 4, "SkinLoad", true, THeld::Mine, TFile::Mine},
        StartCase{"StoredFileMissingShowsBlue", "4", TFile::Missing, false, 4, "SkinLoad", true, THeld::Blue,
                  TFile::Missing},
        StartCase{"StoredEmptyFileShowsBlueNotDefaultSkn", "4", TFile::Empty, true, 4, "SkinLoad", true, THeld::Blue,
                  TFile::Empty},
        StartCase{"StoredAboveFourShowsTheOwnSkin", "5", TFile::None, false, 5, "", true, THeld::Builtin, TFile::None},
        StartCase{"StoredNegativeShowsTheOwnSkin", "-1", TFile::None, true, -1, "", true, THeld::Builtin, TFile::None}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------- broken skin at start-up

struct BrokenCase {
    const char* name;
    bool asDefault;  // "default.skn" on a first start, else the stored file of choice 4
    Bytes (*archive)();
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class SkinChoiceBroken : public SkinChoice, public testing::WithParamInterface<BrokenCase> {};

TEST_P(SkinChoiceBroken, ShowsTheErrorFallsBackToBlueAndKeepsEverySetting) {
    const BrokenCase& c = GetParam();
    const Bytes archive = c.archive();
    const std::string expected = LoadError(archive);
    ASSERT_FALSE(expected.empty()) << "the archive must fail to load";
    const std::string file = Path(c.asDefault ? "default.skn" : "broken.skn");
    test::WriteBytes(file, archive);
    if (!c.asDefault) {
        StoreSetting(kSkins, "SkinIndex", "4");
        StoreSetting(kSkins, "SkinFile", file);
    }
    for (const char* sub : {"in", "out"}) std::filesystem::create_directories(Path(sub));
    const std::string stored = "%root%" + folder.substr(2);
    const std::map<std::pair<std::string, std::string>, std::string> settings = {
        {{"Path", "InitialDir"}, stored},         {{"Path", "CurrentDir"}, stored},
        {{"Path", "PathApp"}, stored},            {{"Path", "PathProject"}, stored},
        {{"Options\\Windows", "WindowState"}, "Normal"},
        {{"Options\\Windows", "Top"}, "90"},      {{"Options\\Windows", "Left"}, "60"},
        {{"Options\\Windows", "Width"}, "700"},   {{"Options\\Windows", "Height"}, "500"},
        {{"Options\\User", "InputDir"}, Path("in") + "\\"},
        {{"Options\\User", "OutputDir"}, Path("out") + "\\"},
        {{"Options\\User", "URL"}, "http://pictures.example.org/"},
        {{"Options\\User", "ImageDir"}, "full/"}, {{"Options\\User", "ThumbDir"}, "small/"},
        {{"Options\\User", "Height"}, "300"},     {{"Options\\User", "Width"}, "250"},
        {{"Options\\User", "Quality"}, "70"},     {{"Options\\User", "ThumbsPerRow"}, "4"},
        {{"Options\\User", "HTML"}, "-1"},        {{"Options\\User", "Samples"}, "0"},
        {{"Options\\User", "Thumbnails"}, "-1"},  {{"Options\\User", "Proportional"}, "0"},
        {{"Options\\Fonts", "FontSize"}, "10"},
    };
    for (const auto& [at, value] : settings) StoreSetting(at.first, at.second, value);

    TThumbnailsForm& f = Start();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind(expected, 0), 0u) << errors[0];
    EXPECT_EQ(f.SkinIndex, 4);
    EXPECT_EQ(f.LoadedSkinFile, file);
    EXPECT_EQ(Checked(), std::vector<std::string>{"SkinLoad"});
    EXPECT_TRUE(Held() == Resource("BLUE_SKN"));
    EXPECT_FALSE(f.SkinData1->SkinUnparsed);
    ExpectSkinned(true);
    // Start-up went on past the skin.
    EXPECT_EQ(f.SpinEditQuality->Value(), 70);
    EXPECT_FALSE(f.CheckBoxProportional->Checked());
    EXPECT_EQ(f.EditURL->Text(), "http://pictures.example.org/");
    EXPECT_EQ(f.OutputDir, Path("out") + "\\");

    form->Close();
    test::PumpMessages();
    for (const auto& [at, value] : settings) EXPECT_EQ(StoredSetting(at.first, at.second), value) << at.second;
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), c.asDefault ? "<missing>" : "4");
}

INSTANTIATE_TEST_SUITE_P(Cases, SkinChoiceBroken,
                         testing::Values(BrokenCase{"DefaultSknWithABadBitmap", true, &test::BadBitmapSkin},
                                         BrokenCase{"StoredFileWithoutSettings", false, &testskin::SkinWithoutSettings}),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ commands

TEST_F(SkinChoice, StoredSkinCommandsLoadTheirSkinAndStoreTheirIndexKeepingTheFile) {
    test::WriteBytes(Path("mine.skn"), test::VariantSkin(1));
    StoreSetting(kSkins, "SkinIndex", "4");
    StoreSetting(kSkins, "SkinFile", Path("mine.skn"));
    TThumbnailsForm& f = StartCounting();
    const struct {
        TMenuItem* item;
        const char* file;
        const char* index;
    } steps[] = {{f.SkinGreen, "GREEN_SKN", "2"}, {f.SkinSilver, "SILVER_SKN", "1"}, {f.SkinBlue, "BLUE_SKN", "0"}};
    int events = 0;
    for (const auto& step : steps) {
        Choose(step.item);
        Settle();
        EXPECT_EQ(skinEvents, ++events) << step.index;
        EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), step.index);
        EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), Path("mine.skn"));
        EXPECT_EQ(Checked(), std::vector<std::string>{step.item->Name()});
        EXPECT_TRUE(Held() == Resource(step.file)) << step.index;
        ExpectSkinned(true);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(SkinChoice, UnskinSwitchesOffThenBackOnAndStaysChecked) {
    TThumbnailsForm& f = StartCounting();
    ASSERT_TRUE(Framed());
    Choose(f.SkinNone);
    Settle();
    EXPECT_EQ(skinEvents, 1);
    ExpectSkinned(false);
    EXPECT_EQ(Checked(), std::vector<std::string>{"SkinNone"});
    EXPECT_EQ(f.SkinIndex, 3);
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "3");
    EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), "");

    Choose(f.SkinNone);
    Settle();
    EXPECT_EQ(skinEvents, 2);
    ExpectSkinned(true);
    EXPECT_EQ(Checked(), std::vector<std::string>{"SkinNone"});
    EXPECT_TRUE(Held() == Resource("BLUE_SKN"));
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "3");
}

TEST_F(SkinChoice, UnskinAfterAnUnskinnedStartShowsStoreItemThreeAndKeepsTheFile) {
    test::WriteBytes(Path("mine.skn"), test::VariantSkin(1));
    StoreSetting(kSkins, "SkinIndex", "3");
    StoreSetting(kSkins, "SkinFile", Path("mine.skn"));
    TThumbnailsForm& f = StartCounting();
    ExpectSkinned(false);
    Choose(f.SkinNone);
    Settle();
    EXPECT_EQ(skinEvents, 1);
    ExpectSkinned(true);
    EXPECT_TRUE(Held() == StoreItem(3));
    EXPECT_EQ(Checked(), std::vector<std::string>{"SkinNone"});
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "3");
    EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), Path("mine.skn"));
}

TEST_F(SkinChoice, CommandsInQuickSuccessionStoreTheLastChoiceOnce) {
    TThumbnailsForm& f = StartCounting();
    Choose(f.SkinGreen);
    Choose(f.SkinSilver);
    Settle();
    EXPECT_EQ(skinEvents, 1);
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "1");
    EXPECT_EQ(Checked(), std::vector<std::string>{"SkinSilver"});
}

TEST_F(SkinChoice, AStoredSkinAfterUnskinSwitchesBackOnAndMovesTheCheckMark) {
    TThumbnailsForm& f = StartCounting();
    Choose(f.SkinNone);
    Settle();
    ExpectSkinned(false);
    Choose(f.SkinGreen);
    Settle();
    EXPECT_EQ(skinEvents, 2);
    ExpectSkinned(true);
    EXPECT_EQ(Checked(), std::vector<std::string>{"SkinGreen"});
    EXPECT_TRUE(Held() == Resource("GREEN_SKN"));
    EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "2");
}

// ------------------------------------------------------------- "&Load"

// What the dialog showed: its folder and the types it offers.
struct DialogSeen {
    std::string folder;
    std::vector<std::string> types;
};

class SkinChoiceLoad : public SkinChoice {
protected:
    // Runs "&Load" with the work folder current (after start-up the folder
    // lists have left the output folder current); in the dialog, the current
    // folder moves to "other" (as browsing there would), then path is chosen,
    // or the dialog cancelled when path is empty.
    DialogSeen RunLoad(const std::string& path) {
        std::filesystem::create_directories(Path("other"));
        SetCurrentDirectoryA(folder.c_str());
        DialogSeen seen;
        test::ModalDriver driver([&] {
            HWND dlg = test::FindThreadWindow("#32770");
            if (dlg == nullptr) return false;
            HWND field = GetDlgItem(dlg, cmb13) != nullptr ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
            if (field == nullptr) return false;
            char where[MAX_PATH] = {};
            SendMessageA(dlg, CDM_GETFOLDERPATH, sizeof(where), reinterpret_cast<LPARAM>(where));
            seen.folder = where;
            seen.types = test::ComboItems(GetDlgItem(dlg, cmb1));
            SetCurrentDirectoryA(Path("other").c_str());
            if (path.empty()) {
                test::Press(dlg, IDCANCEL);
            } else {
                SetWindowTextA(field, path.c_str());
                test::Press(dlg, IDOK);
            }
            return true;
        });
        Choose(form->SkinLoad);
        EXPECT_FALSE(driver.TimedOut());
        return seen;
    }
};

TEST_F(SkinChoiceLoad, DialogOffersSkinFilesAndOpensInTheSkinsFolderWhenThereIsOne) {
    Start();
    DialogSeen seen = RunLoad("");
    EXPECT_TRUE(SameText(seen.folder, folder)) << seen.folder;
    EXPECT_EQ(seen.types, std::vector<std::string>{"Skin files (*.skn)"});
    EXPECT_EQ(form->OpenDialog1->Filter, "Skin files (*.skn)|*.SKN");

    std::filesystem::create_directories(Path("Skins"));
    seen = RunLoad("");
    EXPECT_TRUE(SameText(seen.folder, Path("Skins"))) << seen.folder;
    EXPECT_EQ(GetCurrentDir(), folder);
}

struct LoadCase {
    const char* name;
    Bytes (*archive)();  // null: no file at the chosen path; the dialog is cancelled when cancel is set
    bool cancel;
    bool chosen;  // the file became the choice (SkinIndex 4, LoadedSkinFile)
    int events;   // OnSkinChanged after the command
    size_t errorBoxes, messageBoxes;
    const char* held;  // "file", "blue", or null where the load left the file's bytes unparsed
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

Bytes SkinOfVariantOne() { return test::VariantSkin(1); }

class SkinChoiceLoadFile : public SkinChoiceLoad, public testing::WithParamInterface<LoadCase> {};

TEST_P(SkinChoiceLoadFile, ChoiceFollowsHowTheLoadEndedAndTheFolderComesBack) {
    const LoadCase& c = GetParam();
    TThumbnailsForm& f = StartCounting();
    std::filesystem::create_directories(Path("other"));
    const std::string file = Path("other") + "\\chosen.skn";
    if (c.archive != nullptr) test::WriteBytes(file, c.archive());

    RunLoad(c.cancel ? "" : file);
    Settle();
    EXPECT_EQ(GetCurrentDir(), folder);
    EXPECT_EQ(errors.size(), c.errorBoxes);
    EXPECT_EQ(messages.size(), c.messageBoxes);
    EXPECT_EQ(skinEvents, c.events);
    EXPECT_EQ(f.SkinIndex, c.chosen ? 4 : 0);
    EXPECT_TRUE(SameText(f.LoadedSkinFile, c.chosen ? file : "")) << f.LoadedSkinFile;
    EXPECT_EQ(Checked(), std::vector<std::string>{c.chosen ? "SkinLoad" : "SkinBlue"});
    if (c.events > 0) {
        EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "4");
        EXPECT_TRUE(SameText(StoredSetting(kSkins, "SkinFile"), file));
    } else {
        EXPECT_EQ(StoredSetting(kSkins, "SkinIndex"), "<missing>");
        EXPECT_EQ(StoredSetting(kSkins, "SkinFile"), "<missing>");
    }
    if (c.held != nullptr) {
        EXPECT_TRUE(Held() == (*c.held == 'f' ? test::VariantSkin(1) : Resource("BLUE_SKN"))) << c.held;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinChoiceLoadFile,
    testing::Values(
        LoadCase{"SkinFile", &SkinOfVariantOne, false, true, 1, 0, 0, "file"},
        LoadCase{"WrongMagicIsReportedAndStillChosen", &testskin::WrongMagicSkin, false, true, 1, 0, 1, nullptr},
        LoadCase{"MissingFileIsChosenWithoutAnEvent", nullptr, false, true, 0, 0, 0, "blue"},
        LoadCase{"NoSettingsRaisesAndIsNotChosen", &testskin::SkinWithoutSettings, false, false, 0, 1, 0, nullptr},
        LoadCase{"BadBitmapRaisesAndIsNotChosen", &test::BadBitmapSkin, false, false, 0, 1, 0, nullptr},
        LoadCase{"Cancel", &SkinOfVariantOne, true, false, 0, 0, 0, "blue"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pellix
