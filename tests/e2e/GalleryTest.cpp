// The program's main job driven as a user drives it: folders of pictures the
// tests make, the settings in the registry, clicks on the real buttons, the
// picture dialog and the message boxes; then the thumbnail files, the
// thumbnail list, the two HTML files and what "View" starts.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/ThumbnailExpectations.h"
#include "tests/framework/PictureFixtures.h"
#include "tests/harness/Files.h"
#include "tests/harness/Program.h"
#include "tests/harness/Recorders.h"
#include "tests/harness/Settings.h"

namespace pellix::test {
namespace {

namespace fs = std::filesystem;
using fixtures::Bytes;
using fixtures::SampleCell;

const char kCaption[] = "Mirovo - Thumbnail Gallery Builder";
using test::ReadText;
using test::WriteBytes;

// The text of a system message box.
std::string BoxText(HWND box) {
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

bool IsFileDialog(HWND dlg) { return GetDlgItem(dlg, cmb13) != nullptr || GetDlgItem(dlg, edt1) != nullptr; }

std::string WaitForText(const std::string& path, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!fs::exists(path) && GetTickCount() - start < ms) Sleep(50);
    Sleep(100);
    return ReadText(path);
}

// The program started from its own folder, with a stand-in Notepad beside it,
// in a fresh work folder with "pics" (input) and "out" (output).
class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "pellix-e2e-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        fs::remove_all(root);
        app = root + "app\\";
        work = root + "work\\";
        input = work + "pics\\";
        output = work + "out\\";
        for (const std::string& f : {app, input, output}) fs::create_directories(f);
        fs::copy_file(ExeFolder() + "pellix.exe", app + "pellix.exe");
        fs::copy_file(ExeFolder() + "pellix_notepad_stand_in.exe", app + "NOTEPAD.EXE");
        DeleteSettings();
        test::StoreSetting("Options\\User", "InputDir", input);
        test::StoreSetting("Options\\User", "OutputDir", output);
        test::StoreSetting("Options\\User", "URL", "http://gallery.example.net/");
        test::StoreSetting("Options\\User", "ImageDir", "full/");
        test::StoreSetting("Options\\User", "ThumbDir", "small/");
    }
    void TearDown() override {
        Stop();
        DeleteSettings();
        fs::remove_all(root);
    }

    void Launch() {
        std::string cmd = "\"" + app + "pellix.exe\"";
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        ASSERT_TRUE(CreateProcessA((app + "pellix.exe").c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   work.c_str(), &si, &process));
        const DWORD start = GetTickCount();
        while (main == nullptr && GetTickCount() - start < 15000) {
            EnumWindows(
                [](HWND hwnd, LPARAM lp) -> BOOL {
                    auto* self = reinterpret_cast<Gallery*>(lp);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(hwnd, &pid);
                    if (pid != self->process.dwProcessId || !IsWindowVisible(hwnd) || WindowText(hwnd) != kCaption)
                        return TRUE;
                    self->main = hwnd;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
        ASSERT_NE(main, nullptr) << "no main window";
        HWND single = ChildOf(main, "TGroupBox", "Single Image");
        HWND multiple = ChildOf(main, "TGroupBox", "Multiple Images");
        ASSERT_TRUE(single && multiple);
        openButton = ChildOf(single, "TButton", "&Open...");
        singleCreate = ChildOf(single, "TButton", "Create");
        batchCreate = ChildOf(multiple, "TButton", "Create");
        viewButton = ChildOf(multiple, "TButton", "View");
        std::vector<Child> lists;
        for (const Child& c : Children(multiple))
            if (c.cls == "TListBox") lists.push_back(c);
        ASSERT_EQ(lists.size(), 2u);
        std::sort(lists.begin(), lists.end(), [](const Child& a, const Child& b) { return a.rect.left < b.rect.left; });
        inputList = lists[0].hwnd;
        outputList = lists[1].hwnd;
        ASSERT_TRUE(openButton && singleCreate && batchCreate && viewButton);
    }
    void Stop() {
        if (process.hProcess == nullptr) return;
        if (main != nullptr) PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the program did not end";
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        process = {};
        main = nullptr;
    }

    // A visible top-level window of the program with that class, if any.
    HWND Modal(const std::string& cls) const {
        struct Search {
            DWORD pid;
            std::string cls;
            HWND found = nullptr;
        } s{process.dwProcessId, cls};
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (pid != s->pid || !IsWindowVisible(hwnd) || WindowClassName(hwnd) != s->cls) return TRUE;
                s->found = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

    // A click handled before the next command is sent.
    void Press(HWND control) const {
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(ClickAndWait(control, 5000));
    }

    bool Idle() const {
        DWORD_PTR r = 0;
        return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 200, &r) != 0;
    }

    // Clicks the control and waits until the program is done with it. A picture
    // dialog gets pick as its file name; each message box (the program's own or
    // the system's error box, whose text is kept) is counted and answered with OK.
    int ClickAndSettle(HWND control, const std::string& pick = "") {
        int boxes = 0;
        // Past the time-out the click is being handled: busy, or in a modal loop.
        if (ClickAndWait(control, 300) && Modal("TMessageForm") == nullptr && Modal("#32770") == nullptr && pick.empty())
            return 0;
        // The program can answer while its file dialog is still being made
        // hidden: a click that brings one is not over before it has been seen.
        bool picked = pick.empty();
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 120000) {
            if (HWND box = Modal("TMessageForm")) {
                ++boxes;
                if (HWND ok = ChildOf(box, "TButton", "OK")) PostMessageA(ok, BM_CLICK, 0, 0);
                while (IsWindow(box) && IsWindowVisible(box) && GetTickCount() - start < 120000) Sleep(10);
                continue;
            }
            if (HWND dlg = Modal("#32770")) {
                if (!IsFileDialog(dlg)) {  // the application's error box
                    ++boxes;
                    errorTexts.push_back(BoxText(dlg));
                    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
                } else {
                    EXPECT_FALSE(pick.empty()) << "unexpected dialog";
                    HWND field = GetDlgItem(dlg, cmb13) != nullptr ? GetDlgItem(dlg, cmb13) : GetDlgItem(dlg, edt1);
                    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pick.c_str()));
                    PostMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
                    picked = true;
                }
                while (IsWindow(dlg) && IsWindowVisible(dlg) && GetTickCount() - start < 120000) Sleep(10);
                continue;
            }
            if (picked && Idle()) {
                Sleep(100);  // a modal window about to show
                if (Modal("TMessageForm") == nullptr && Modal("#32770") == nullptr && Idle()) return boxes;
            }
            Sleep(10);
        }
        ADD_FAILURE() << (picked ? "the program is still busy" : "no file dialog came");
        return boxes;
    }

    void ExpectThumbnail(const std::string& source, int width, int height, int quality) {
        SCOPED_TRACE(source);
        const std::string name = source.substr(source.find_last_of('\\') + 1);
        ASSERT_TRUE(fs::exists(output + name)) << name;
        const Bytes saved = fixtures::ReadFileBytes(output + name);
        const JpegHeader size = fixtures::JpegSizeOf(saved);
        EXPECT_EQ(size.Width, width);
        EXPECT_EQ(size.Height, height);
        const auto picture = fixtures::LoadPicture(source);
        EXPECT_TRUE(saved == fixtures::ExpectedThumbnailFile(*picture->Graphic(), width, height, quality))
            << "not the resampler's thumbnail at quality " << quality;
    }

    std::string root, app, work, input, output;
    PROCESS_INFORMATION process{};
    HWND main = nullptr, openButton = nullptr, singleCreate = nullptr, batchCreate = nullptr, viewButton = nullptr;
    HWND inputList = nullptr, outputList = nullptr;
    std::vector<std::string> errorTexts;
};

struct Sized {
    const char* name;
    int width, height;        // the picture
    int fitWidth, fitHeight;  // its thumbnail in 200 x 200, proportional
    int boxWidth, boxHeight;  // and stretched to the box
};

const Sized kBatch[] = {
    {"landscape.jpg", 640, 480, 200, 150, 200, 200}, {"portrait.jpg", 480, 640, 150, 200, 200, 200},
    {"small.jpg", 150, 100, 150, 100, 150, 100},     {"strip.jpg", 1000, 333, 200, 66, 200, 200},
    {"square.jpg", 400, 400, 200, 200, 200, 200},    {"tall.JPG", 90, 300, 60, 200, 200, 200},
};

TEST_F(Gallery, BatchMakesTheResamplersThumbnailsAndBothHtmlFilesExactly) {
    test::StoreSetting("Options\\User", "Quality", "70");
    test::StoreSetting("Options\\User", "ThumbsPerRow", "4");
    for (const Sized& p : kBatch) WriteBytes(input + p.name, fixtures::JpegFile(p.width, p.height, 90));
    WriteBytes(input + "broken.jpg", {'J', 'F', 'I', 'F'});
    Launch();
    const std::vector<std::string> listed = ListItems(inputList);
    ASSERT_EQ(listed.size(), std::size(kBatch) + 1);

    EXPECT_EQ(ClickAndSettle(batchCreate), 1) << "one box for the invalid picture";
    std::vector<std::string> made;
    std::vector<std::string> page, web;
    std::pair<int, int> shown{96, 72};  // the placeholder, until a thumbnail is made
    int cells = 0;
    for (const std::string& name : listed) {
        auto p = std::find_if(std::begin(kBatch), std::end(kBatch), [&](const Sized& s) { return name == s.name; });
        if (p != std::end(kBatch)) {
            ExpectThumbnail(input + name, p->fitWidth, p->fitHeight, 70);
            shown = {p->fitWidth, p->fitHeight};
            made.push_back(name);
        }
        page.push_back(SampleCell(input, output, name, shown.first, shown.second));
        web.push_back(SampleCell("http://gallery.example.net/full/", "http://gallery.example.net/small/", name,
                                 shown.first, shown.second));
        if (++cells == 4) {
            page.insert(page.end(), {"</TR>", "<TR>"});
            web.insert(web.end(), {"</TR>", "<TR>"});
            cells = 0;
        }
    }
    EXPECT_EQ(ReadText(output + "samples.html"), fixtures::SamplesHtml(page));
    EXPECT_EQ(ReadText(output + "generated.html"), fixtures::WebHtml(web));
    EXPECT_EQ(ListItems(outputList), made);
    EXPECT_FALSE(fs::exists(output + "broken.jpg"));

    // "Proportional" off: larger pictures are stretched to the box, smaller keep their size.
    Press(ChildOf(main, "TCheckBox", "Proportional"));
    EXPECT_EQ(ClickAndSettle(batchCreate), 1);
    for (const Sized& p : kBatch) ExpectThumbnail(input + p.name, p.boxWidth, p.boxHeight, 70);
    EXPECT_EQ(ListItems(outputList), made) << "emptied by the batch, then filled again";
}

TEST_F(Gallery, OpenAndCreateMakeAThumbnailOfEveryPictureKindUnderItsOwnName) {
    struct Kind {
        const char* name;
        Bytes bytes;
        int width, height;
    };
    const Kind kinds[] = {
        {"photo.jpg", fixtures::JpegFile(640, 480), 200, 150}, {"photo2.jpeg", fixtures::JpegFile(120, 90), 120, 90},
        {"drawing.png", fixtures::PngFile(300, 400), 150, 200}, {"anim.gif", fixtures::GifFile(250, 50), 200, 40},
        {"scan.bmp", fixtures::BmpFile(500, 100), 200, 40},     {"app.ico", fixtures::IconFile(), 16, 16},
        {"chart.emf", fixtures::EmfFile(120, 60), 0, 0},        {"plan.wmf", fixtures::WmfFile(60, 40), 0, 0},
    };
    for (const Kind& k : kinds) WriteBytes(input + k.name, k.bytes);
    Launch();
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(ClickAndSettle(openButton, input + k.name), 0);
        EXPECT_EQ(ClickAndSettle(singleCreate), 0);
        int w = k.width, h = k.height;
        if (w == 0) {  // metafiles: their size in screen pixels, below the limits
            const auto picture = fixtures::LoadPicture(input + k.name);
            w = picture->Width();
            h = picture->Height();
            ASSERT_TRUE(w > 0 && w <= 200 && h > 0 && h <= 200) << w << " x " << h;
        }
        ExpectThumbnail(input + k.name, w, h, 90);
    }
    std::vector<std::string> names;
    for (const Kind& k : kinds) names.push_back(k.name);
    EXPECT_EQ(ListItems(outputList), names);
}

TEST_F(Gallery, InvalidPicturesGiveOneBoxEachAndNoThumbnail) {
    const char* names[] = {"bad.jpg", "bad.jpeg", "bad.bmp", "bad.gif", "bad.ico", "bad.emf", "bad.wmf", "bad.png"};
    for (const char* name : names) WriteBytes(input + name, {'n', 'o', 'p', 'e', 0, 1, 2, 3, 4, 5, 6, 7});
    Launch();
    for (const char* name : names) {
        SCOPED_TRACE(name);
        // Each kind's invalid-picture box, or for PNG the decoder's error box naming the file.
        EXPECT_EQ(ClickAndSettle(openButton, input + name), 1);
        if (std::string(name) == "bad.png") {
            ASSERT_EQ(errorTexts.size(), 1u);
            EXPECT_NE(errorTexts[0].find(input + name), std::string::npos) << errorTexts[0];
        }
        EXPECT_EQ(ClickAndSettle(singleCreate), 0);
        EXPECT_FALSE(fs::exists(output + name));
    }
    EXPECT_TRUE(ListItems(outputList).empty());
}

// Everything the host's browser was given, once something was (or after the wait).
std::string Opened(const WineBrowserRecorder& browser, std::chrono::milliseconds limit) {
    std::string all;
    for (const std::string& line : browser.WaitForLines(1, limit)) all += line + "\n";
    return all;
}

TEST_F(Gallery, ViewStartsNotepadWithTheGeneratedFileAndOpensTheSamplePage) {
    const std::string notepadLog = root + "notepad.log";
    SetEnvironmentVariableA("PELLIX_NOTEPAD_LOG", notepadLog.c_str());
    WineBrowserRecorder browser;
    ASSERT_TRUE(browser.Available()) << "not under Wine";
    WriteBytes(input + "a.jpg", fixtures::JpegFile(40, 30));
    Launch();
    ClickAndSettle(batchCreate);
    ASSERT_TRUE(fs::exists(output + "samples.html"));

    EXPECT_EQ(ClickAndSettle(viewButton), 0);
    // The doubled backslash of the command is passed on unchanged.
    EXPECT_EQ(WaitForText(notepadLog, 10000), "NOTEPAD.EXE " + output + "\\generated.html\n");
    const std::string opened = Opened(browser, std::chrono::seconds(20));
    EXPECT_NE(opened.find("samples.html"), std::string::npos) << opened;
    EXPECT_NE(opened.find("pellix-e2e-ViewStartsNotepad"), std::string::npos) << opened;

    // Both boxes unchecked: nothing at all.
    fs::remove(notepadLog);
    browser.Clear();
    Press(ChildOf(main, "TCheckBox", "Generate HTML"));
    Press(ChildOf(main, "TCheckBox", "Generate Samples"));
    EXPECT_EQ(ClickAndSettle(viewButton), 0);
    EXPECT_EQ(Opened(browser, std::chrono::seconds(3)), "");
    EXPECT_EQ(WaitForText(notepadLog, 1000), "");

    // Samples asked for but not there: its box alone.
    Press(ChildOf(main, "TCheckBox", "Generate Samples"));
    fs::remove(output + "samples.html");
    EXPECT_EQ(ClickAndSettle(viewButton), 1);
    EXPECT_EQ(WaitForText(notepadLog, 1000), "");
    SetEnvironmentVariableA("PELLIX_NOTEPAD_LOG", nullptr);
}

}  // namespace
}  // namespace pellix::test
