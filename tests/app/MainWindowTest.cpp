// The main window's start-up and shut-down against the real registry and
// real folders: what a first start records, what later starts restore, and
// what closing writes back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/ThumbnailsMain.h"
#include "framework/ExtCtrls.h"
#include "framework/FileSystem.h"
#include "framework/FileCtrl.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include <commdlg.h>
#include <dlgs.h>

#include "framework/Dialogs.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Settings.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix {
namespace {

constexpr const char* kBase = test::kSettingsKey;
using test::DeleteSettings;

bool KeyExists(const std::string& sub) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\" + sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class MainWindow : public test::MainWindowFixture {
protected:
    MainWindow() : MainWindowFixture("pellix-main-") {}
    void SetUp() override {
        MainWindowFixture::SetUp();
        Application->OnShowException = [this](const std::string& text) { errors.push_back(text); };
    }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
        Application->OnShowException = nullptr;
        MainWindowFixture::TearDown();
    }

    void CloseWindow() {
        form->Close();
        test::PumpMessages();
        form.reset();
    }

    std::vector<std::string> errors;
};

TEST_F(MainWindow, FirstStartRecordsPathsMakesFoldersAndUsesDefaults) {
    TThumbnailsForm& f = Start();
    EXPECT_TRUE(errors.empty()) << errors.front();

    for (const char* sub : {"Options\\Skins", "Path", "Options\\Fonts", "Options\\Windows", "Options\\User"})
        EXPECT_TRUE(KeyExists(sub)) << sub;
    const std::string stored = "%root%" + folder.substr(2);
    for (const char* name : {"InitialDir", "CurrentDir", "PathApp", "PathProject"})
        EXPECT_EQ(test::StoredSetting("Path", name), stored) << name;
    EXPECT_EQ(f.PathApp, folder);

    // 800 x 555 with the platform's frame; a skin's frame of another size
    // keeps the client area that gives.
    RECT r, client;
    GetWindowRect(f.Handle(), &r);
    GetClientRect(f.Handle(), &client);
    const SIZE platform = f.PlatformFrameSize();
    EXPECT_EQ(client.right, 800 - platform.cx);
    EXPECT_EQ(client.bottom, 555 - platform.cy);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 800) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 555) / 2);

    const std::string images = folder + "\\images\\";
    EXPECT_TRUE(std::filesystem::is_directory(images + "thumbs"));
    EXPECT_EQ(f.InputDir, images);
    EXPECT_EQ(f.OutputDir, images + "thumbs\\");
    EXPECT_EQ(f.EditInputDir->Text(), f.InputDir);
    EXPECT_EQ(f.DirectoryListBoxOutput->Directory(), images + "thumbs");

    EXPECT_EQ(f.SpinEditMaxWidth->Value(), 200);
    EXPECT_EQ(f.SpinEditMaxHeight->Value(), 200);
    EXPECT_EQ(f.SpinEditQuality->Value(), 90);
    EXPECT_EQ(f.SpinEditThumbsPerRow->Value(), 5);
    for (TCheckBox* box : {f.CheckBoxProportional, f.CheckBoxGenerateHTML, f.CheckBoxGenerateSamples,
                           f.CheckBoxGenerateThumbnails})
        EXPECT_TRUE(box->Checked()) << box->Name();
    EXPECT_EQ(f.EditImageDir->Text(), "gallery1/");
    EXPECT_EQ(f.EditThumbDir->Text(), "gallery1/thumbs/");
    EXPECT_EQ(f.Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(f.Font()->Size(), 8);
}

TEST_F(MainWindow, CloseWritesSettingsAndTheNextStartGivesThemBack) {
    Start();
    form->SpinEditQuality->SetValue(70);
    form->CheckBoxGenerateSamples->SetChecked(false);
    form->EditURL->SetTextValue("http://pictures.example.org/");
    form->SetBounds(40, 50, 700, 520);
    CloseWindow();

    EXPECT_EQ(test::StoredSetting("Options\\Windows", "WindowState"), "Normal");
    EXPECT_EQ(test::StoredSetting("Options\\Windows", "Top"), "50");
    EXPECT_EQ(test::StoredSetting("Options\\Windows", "Left"), "40");
    EXPECT_EQ(test::StoredSetting("Options\\Windows", "Width"), "700");
    EXPECT_EQ(test::StoredSetting("Options\\User", "Quality"), "70");
    EXPECT_EQ(test::StoredSetting("Options\\User", "Samples"), "0");
    EXPECT_EQ(test::StoredSetting("Options\\User", "HTML"), "-1");
    EXPECT_EQ(test::StoredSetting("Options\\User", "URL"), "http://pictures.example.org/");
    EXPECT_EQ(test::StoredSetting("Path", "PathApp"), "%root%" + folder.substr(2));
    // The font is written only by the font dialog.
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontName"), "<missing>");

    TThumbnailsForm& f = Start();
    EXPECT_EQ(f.PathApp, folder);
    EXPECT_EQ(f.SpinEditQuality->Value(), 70);
    EXPECT_FALSE(f.CheckBoxGenerateSamples->Checked());
    EXPECT_EQ(f.EditURL->Text(), "http://pictures.example.org/");
    EXPECT_EQ(f.Left(), 40);
    EXPECT_EQ(f.Top(), 50);
    EXPECT_EQ(f.Width(), 700);
}

struct PlacementCase {
    const char* name;
    const char* state;
    const char* top;
    bool centred;
    TWindowState shown;
};

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

class MainWindowPlacement : public MainWindow, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(MainWindowPlacement, FollowsTheStoredStateAndTop) {
    const PlacementCase& c = GetParam();
    test::StoreSetting("Options\\Windows", "WindowState", c.state);
    test::StoreSetting("Options\\Windows", "Top", c.top);
    test::StoreSetting("Options\\Windows", "Left", "17");
    test::StoreSetting("Options\\Windows", "Width", "640");
    test::StoreSetting("Options\\Windows", "Height", "500");
    TThumbnailsForm& f = Start();
    EXPECT_EQ(f.WindowState(), c.shown);
    if (c.shown != TWindowState::wsNormal) return;
    RECT r;
    GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 640);
    if (c.centred) {
        EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 640) / 2);
    } else {
        EXPECT_EQ(r.left, 17);
        EXPECT_EQ(r.top, atoi(c.top));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MainWindowPlacement,
                         ::testing::Values(PlacementCase{"Top130Centres", "Normal", "130", true, TWindowState::wsNormal},
                                           PlacementCase{"OtherTopKeepsBounds", "Normal", "131", false, TWindowState::wsNormal},
                                           PlacementCase{"Maximized", "Maximized", "131", false, TWindowState::wsMaximized},
                                           PlacementCase{"Minimized", "Minimized", "131", false, TWindowState::wsMinimized}),
                         [](const auto& info) { return std::string(info.param.name); });

// The stored size is the one the window has with the platform's frame; a
// start and a close give it back unchanged, also for a window closed minimised.
TEST_F(MainWindow, StartAndCloseLeaveTheStoredSizeAsItWas) {
    for (const bool minimised : {false, true}) {
        test::StoreSetting("Options\\Windows", "WindowState", "Normal");
        test::StoreSetting("Options\\Windows", "Top", "131");
        test::StoreSetting("Options\\Windows", "Left", "20");
        test::StoreSetting("Options\\Windows", "Width", "640");
        test::StoreSetting("Options\\Windows", "Height", "500");
        TThumbnailsForm& f = Start();
        if (minimised) f.SetWindowState(TWindowState::wsMinimized);
        test::PumpMessages();
        CloseWindow();
        EXPECT_EQ(test::StoredSetting("Options\\Windows", "WindowState"), minimised ? "Minimized" : "Normal");
        EXPECT_EQ(test::StoredSetting("Options\\Windows", "Width"), "640") << "minimised " << minimised;
        EXPECT_EQ(test::StoredSetting("Options\\Windows", "Height"), "500") << "minimised " << minimised;
    }
}

// Framed by a skin whose frame is of other sizes than the platform's, the
// window still stores its size with the platform's frame: two starts and
// closes leave it as it was.
TEST_F(MainWindow, SkinnedStartsAndClosesLeaveTheStoredSizeAsItWas) {
    // The main window's own skin component starts with it: a frame of other
    // sizes than the platform's.
    const std::vector<uint8_t> skin = testskin::TestSkin();
    test::WriteBytes(folder + "\\default.skn", skin);
    test::StoreSetting("Options\\Windows", "Top", "131");
    test::StoreSetting("Options\\Windows", "Left", "20");
    test::StoreSetting("Options\\Windows", "Width", "640");
    test::StoreSetting("Options\\Windows", "Height", "500");
    for (int start = 0; start < 2; ++start) {
        TThumbnailsForm& f = Start();
        ASSERT_TRUE(test::PumpUntil([&] { return SendMessageA(f.Handle(), SkinMsgQuery, 0, 0) == 1; }));
        test::PumpMessages();
        RECT r{};
        GetWindowRect(f.Handle(), &r);
        EXPECT_NE(r.right - r.left, 640) << "the skin's frame is not the platform's";
        CloseWindow();
        EXPECT_EQ(test::StoredSetting("Options\\Windows", "Width"), "640") << "start " << start;
        EXPECT_EQ(test::StoredSetting("Options\\Windows", "Height"), "500") << "start " << start;
    }
}

TEST_F(MainWindow, ClosingMaximisedKeepsTheLastNormalBounds) {
    test::StoreSetting("Options\\Windows", "WindowState", "Maximized");
    test::StoreSetting("Options\\Windows", "Top", "77");
    Start();
    CloseWindow();
    EXPECT_EQ(test::StoredSetting("Options\\Windows", "WindowState"), "Maximized");
    EXPECT_EQ(test::StoredSetting("Options\\Windows", "Top"), "77");
}

TEST_F(MainWindow, StoredValuesOutsideTheLimitsAreCorrectedAndWrittenBack) {
    test::StoreSetting("Options\\User", "Height", "1000");
    test::StoreSetting("Options\\User", "Quality", "3");
    TThumbnailsForm& f = Start();
    EXPECT_EQ(f.SpinEditMaxHeight->Value(), 900);
    EXPECT_EQ(f.SpinEditQuality->Value(), 10);
    CloseWindow();
    EXPECT_EQ(test::StoredSetting("Options\\User", "Height"), "900");
    EXPECT_EQ(test::StoredSetting("Options\\User", "Quality"), "10");
}

TEST_F(MainWindow, FontIsRestoredWithItsStyleRules) {
    test::StoreSetting("Options\\Fonts", "FontName", "");
    test::StoreSetting("Options\\Fonts", "FontSize", "10");
    test::StoreSetting("Options\\Fonts", "FontStyleBold", "0");
    test::StoreSetting("Options\\Fonts", "FontStyleItalic", "True");
    TThumbnailsForm& f = Start();
    EXPECT_EQ(f.Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(f.Font()->Size(), 10);
    EXPECT_EQ(f.Font()->Style(), fsItalic);
    // Controls that follow their parent's font change with it.
    EXPECT_EQ(f.EditURL->Font()->Size(), 10);
}

TEST_F(MainWindow, InputFolderThatHasGoneKeepsTheStoredTextAndTheListsFolder) {
    const std::string gone = folder + "\\gone\\";
    test::StoreSetting("Options\\User", "InputDir", gone);
    TThumbnailsForm& f = Start();
    EXPECT_EQ(f.InputDir, gone);
    EXPECT_EQ(f.EditInputDir->Text(), gone);
    EXPECT_EQ(f.DirectoryListBoxInput->Directory(), folder);
    EXPECT_EQ(f.ListBox1->Items().Count(), 0);
}

TEST_F(MainWindow, InputListShowsEveryJpgEntryOfTheFolder) {
    const std::string pics = folder + "\\pics";
    std::filesystem::create_directories(pics + "\\folder.jpg");
    for (const char* name : {"a.jpg", "B.JPG", "c.png", "d.jpeg"}) {
        HANDLE h = CreateFileA((pics + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(h);
    }
    test::StoreSetting("Options\\User", "InputDir", pics + "\\");
    TThumbnailsForm& f = Start();
    std::vector<std::string> names;
    for (int i = 0; i < f.ListBox1->Items().Count(); ++i) names.push_back(f.ListBox1->Items().Get(i));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.JPG", "a.jpg", "folder.jpg"}));
    EXPECT_EQ(SendMessageA(f.ListBox1->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(f.ListBox2->Items().Count(), 0);
}

struct BadSetting {
    const char* name;
    const char* value;     // stored as text, or as a number when null
    const char* message;
    int qualityShown;      // 80 is the designed value: start-up stopped before it
};

void PrintTo(const BadSetting& c, std::ostream* os) { *os << c.name; }

class MainWindowBadSetting : public MainWindow, public ::testing::WithParamInterface<BadSetting> {};

TEST_P(MainWindowBadSetting, ShowsTheErrorAndTheWindowStillOpens) {
    const BadSetting& c = GetParam();
    if (c.value != nullptr) {
        test::StoreSetting("Options\\User", c.name, c.value);
    } else {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Options\\User").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        DWORD number = 7;
        RegSetValueExA(key, c.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
        RegCloseKey(key);
    }
    TThumbnailsForm& f = Start();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], c.message);
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    EXPECT_EQ(f.SpinEditQuality->Value(), c.qualityShown);
    // The lists are filled last, so they stay empty.
    EXPECT_EQ(f.ListBox1->Items().Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowBadSetting,
    ::testing::Values(BadSetting{"Width", "wide", "'wide' is not a valid integer value.", 80},
                      BadSetting{"HTML", "yes", "'yes' is not a valid boolean value.", 90},
                      BadSetting{"URL", nullptr, "Invalid data type for 'URL'", 80}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, SettingsKeyThatCannotBeMadeGivesMessagesAndDefaults) {
    // Keys the program makes cannot live below a volatile one.
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quendle Software");
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kBase, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    std::vector<std::string> boxes;
    MessageBoxHook = [&](const std::string& text, TMsgDlgType, TMsgDlgButtons) {
        boxes.push_back(text);
        return 1;
    };
    TThumbnailsForm& f = Start();
    EXPECT_TRUE(errors.empty());
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.front(), "Error opening key");
    EXPECT_EQ(f.SpinEditQuality->Value(), 90);
    EXPECT_TRUE(IsWindowVisible(f.Handle()));
    CloseWindow();
    EXPECT_EQ(boxes.back().rfind("The specified key does not exist.", 0), 0u) << boxes.back();
    MessageBoxHook = nullptr;
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quendle Software");
}

TEST_F(MainWindow, ResizingStretchesTheGroupsAndKeepsTheCloseButtonInTheCorner) {
    TThumbnailsForm& f = Start();
    auto* multiple = dynamic_cast<TControl*>(f.FindComponent("GroupBoxMultiple"));
    auto* website = dynamic_cast<TControl*>(f.FindComponent("GroupBoxWebsite"));
    auto* single = dynamic_cast<TControl*>(f.FindComponent("GroupBoxSingle"));
    auto* close = dynamic_cast<TControl*>(f.FindComponent("ButtonClose"));
    auto* panel1 = dynamic_cast<TControl*>(f.FindComponent("Panel1"));
    ASSERT_TRUE(multiple && website && single && close && panel1);
    const RECT m0 = multiple->BoundsRect(), w0 = website->BoundsRect(), s0 = single->BoundsRect();
    const RECT c0 = close->BoundsRect(), p0 = panel1->BoundsRect();
    const RECT l0 = f.ListBox1->BoundsRect(), l2 = f.ListBox2->BoundsRect();
    const int rightGap = f.ClientWidth() - c0.right, bottomGap = f.ClientHeight() - c0.bottom;

    f.SetBounds(f.Left(), f.Top(), f.Width() + 100, f.Height() + 60);
    test::PumpMessages();

    EXPECT_EQ(multiple->Width(), m0.right - m0.left + 100);
    EXPECT_EQ(multiple->Height(), m0.bottom - m0.top + 60);
    EXPECT_EQ(website->Width(), w0.right - w0.left + 100);
    EXPECT_EQ(website->Height(), w0.bottom - w0.top);
    EXPECT_EQ(single->Height(), s0.bottom - s0.top + 60);
    EXPECT_EQ(single->Width(), s0.right - s0.left);
    EXPECT_EQ(f.ListBox1->Height(), l0.bottom - l0.top + 60);
    EXPECT_EQ(f.ListBox1->Width(), l0.right - l0.left);
    EXPECT_EQ(f.ListBox2->Width(), l2.right - l2.left + 100);
    EXPECT_EQ(f.ClientWidth() - close->BoundsRect().right, rightGap);
    EXPECT_EQ(f.ClientHeight() - close->BoundsRect().bottom, bottomGap);
    EXPECT_EQ(panel1->BoundsRect().left, p0.left);
    EXPECT_EQ(panel1->Height(), p0.bottom - p0.top);
}

// Runs the "Fonts" command; step gets the font dialog once it is up.
void RunFontCommand(TThumbnailsForm& f, const std::function<void(HWND)>& step) {
    test::ModalDriver driver([&] {
        HWND dlg = test::FindThreadWindow("#32770");
        if (dlg == nullptr) return false;
        step(dlg);
        return true;
    });
    auto* action = f.FindComponent("ActionFont");
    ASSERT_NE(action, nullptr);
    f.ActionFontExecute(action);
    EXPECT_FALSE(driver.TimedOut());
}

TEST_F(MainWindow, FontApplyChangesTheWindowAndWritesTheFontOkAloneDoesNot) {
    TThumbnailsForm& f = Start();
    std::vector<std::string> sizes;
    bool effects = true;
    RunFontCommand(f, [&](HWND dlg) {
        sizes = test::ComboItems(GetDlgItem(dlg, cmb3));
        effects = IsWindowVisible(GetDlgItem(dlg, chx1));
        test::SelectComboText(dlg, cmb2, "Bold");
        test::SelectComboText(dlg, cmb3, "11");
        test::Press(dlg, IDOK);
    });
    EXPECT_EQ(sizes, (std::vector<std::string>{"8", "9", "10", "11", "12"}));
    EXPECT_FALSE(effects);
    EXPECT_EQ(f.Font()->Size(), 8);
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontSize"), "<missing>");

    std::string face;
    RunFontCommand(f, [&](HWND dlg) {
        auto faces = test::ComboItems(GetDlgItem(dlg, cmb1));
        ASSERT_GE(faces.size(), 2u);
        test::SelectComboItem(dlg, cmb1, 1);
        face = faces[1];
        test::SelectComboText(dlg, cmb2, "Italic");
        test::SelectComboText(dlg, cmb3, "10");
        test::Press(dlg, psh3);
        test::Press(dlg, IDCANCEL);
    });
    EXPECT_EQ(f.Font()->Name(), face);
    EXPECT_EQ(f.Font()->Size(), 10);
    EXPECT_EQ(f.Font()->Style(), fsItalic);
    EXPECT_EQ(f.ListBox1->Font()->Name(), face);
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontName"), face);
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontSize"), "10");
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontStyleBold"), "0");
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontStyleItalic"), "-1");
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontStyleUnderline"), "0");
    EXPECT_EQ(test::StoredSetting("Options\\Fonts", "FontStyleStrikeout"), "0");
}

TEST_F(MainWindow, MenuHoldsEveryCommandWithItsShortcut) {
    TThumbnailsForm& f = Start();
    // The skinned frame draws the bar itself and holds the menu off the window.
    ASSERT_NE(f.Menu(), nullptr);
    HMENU bar = f.Menu()->Handle();
    auto texts = [](HMENU menu) {
        std::vector<std::string> out;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
            out.push_back(text);
        }
        return out;
    };
    EXPECT_EQ(texts(bar), (std::vector<std::string>{"&File", "&Options", "&Internet", "&Help"}));
    EXPECT_EQ(texts(GetSubMenu(bar, 0)), (std::vector<std::string>{"&Open...\tCtrl+O", "E&xit"}));
    EXPECT_EQ(texts(GetSubMenu(bar, 1)), (std::vector<std::string>{"Fonts", "&Skins"}));
    EXPECT_EQ(texts(GetSubMenu(GetSubMenu(bar, 1), 1)),
              (std::vector<std::string>{"&Blue", "&Silver", "&Green", "&Unskin", "&Load"}));
    EXPECT_EQ(texts(GetSubMenu(bar, 2)), (std::vector<std::string>{"&Browse URL", "&Send Mail..."}));
    EXPECT_EQ(texts(GetSubMenu(bar, 3)),
              (std::vector<std::string>{"&Index", "&Contents", "&Help on Help", "", "Help on &Web",
                                        "&E-mail Author for Help", "", "&About"}));
}

TEST_F(MainWindow, CloseButtonAndExitCommandCloseTheWindowAndSaveTheSettings) {
    Start();
    auto* button = dynamic_cast<TButton*>(form->FindComponent("ButtonClose"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "&Close");
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    test::PumpMessages();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(test::StoredSetting("Options\\Windows", "WindowState"), "Normal");
}

TEST(StoredPath, RoundTripsThroughTheDriveToken) {
    EXPECT_EQ(PathToStored("C:\\work\\pics"), "%root%\\work\\pics");
    EXPECT_EQ(PathFromStored("%root%\\work\\pics", "D"), "D:\\work\\pics");
    EXPECT_TRUE(IsStoredPath("%root%\\x"));
    EXPECT_FALSE(IsStoredPath("C:\\x"));
    EXPECT_EQ(PathFromStored(PathToStored("Z:\\"), "Z"), "Z:\\");
}

}  // namespace
}  // namespace pellix
