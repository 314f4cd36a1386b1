// The main window's help, web and mail commands against what really starts:
// a stand-in browser in the shell's open command records exact addresses,
// Wine's winebrowser hands addresses and mail on to recorders of the host,
// and a MAPI32.DLL of the tests' own takes the failure path.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <type_traits>

#include "app/ThumbnailsMain.h"
#include "framework/ActnList.h"
#include "framework/Dialogs.h"
#include "framework/Menus.h"
#include "tests/app/HelpRecorders.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/harness/Files.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Settings.h"

namespace pellix {
namespace {

using test::ArgumentRecorder;
using test::BrowserCommands;
using test::WineBrowserRecorder;

struct Box {
    std::string text;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
};

// The main window in a folder whose name holds blanks; message boxes are
// recorded instead of shown.
class HelpWindow : public test::MainWindowFixture {
protected:
    HelpWindow() : MainWindowFixture("pellix help ") {}
    void SetUp() override {
        MainWindowFixture::SetUp();
        MessageBoxHook = [this](const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
            boxes.push_back({text, type, buttons});
            return 1;
        };
        Start();
    }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
        MessageBoxHook = nullptr;
        MainWindowFixture::TearDown();
    }

    TCustomAction* Action(const char* name) {
        auto* action = dynamic_cast<TCustomAction*>(form->FindComponent(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    // Chooses the menu item as a click would.
    void Choose(const char* item) {
        auto* menuItem = dynamic_cast<TMenuItem*>(form->FindComponent(item));
        ASSERT_NE(menuItem, nullptr) << item;
        SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(menuItem->Command(), 0), 0);
    }
    // The help address base as a user would expect it for this folder.
    std::string Base() const {
        std::string base = "file:///" + folder;
        for (char& c : base)
            if (c == '\\') c = '/';
        for (size_t at = base.find(' '); at != std::string::npos; at = base.find(' ', at)) base.replace(at, 1, "%20");
        return base;
    }

    std::vector<Box> boxes;
};

// The shell's open command for HTML files is a recorder: it receives exactly
// the address the program puts in.
class HelpAddresses : public HelpWindow {
protected:
    void SetUp() override {
        HelpWindow::SetUp();
        ASSERT_TRUE(browser.Available()) << browser.Program();
        command = "\"" + browser.Program() + "\" \"%1\"";
        commands = std::make_unique<BrowserCommands>(command.c_str(), nullptr, nullptr);
    }
    void TearDown() override {
        commands.reset();
        HelpWindow::TearDown();
    }

    ArgumentRecorder browser;
    std::string command;
    std::unique_ptr<BrowserCommands> commands;
};

TEST_F(HelpAddresses, HelpCommandsOpenTheirPageBelowTheApplicationFolder) {
    ASSERT_EQ(form->PathApp, folder);
    ASSERT_NE(folder.find(' '), std::string::npos) << "blanks in the folder's name become %20";
    const std::pair<const char*, const char*> commandsAndPages[] = {
        {"HelpContents1", "/help/contents.html"},
        {"HelpTopicSearch1", "/help/index.html"},
        {"HelpOnHelp1", "/help/help.html"},
    };
    std::vector<std::string> expected;
    for (const auto& [action, page] : commandsAndPages) {
        EXPECT_TRUE(Action(action)->Execute()) << action;
        expected.push_back("[" + Base() + page + "]");
        // One at a time: the browsers start in parallel.
        EXPECT_EQ(browser.WaitForLines(expected.size()), expected) << action;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(HelpAddresses, HelpBaseIsTakenFromPathAppAtTheTimeOfTheCommand) {
    form->PathApp = "C:\\My Pictures\\Gallery Tool";
    Choose("Contents1");
    EXPECT_EQ(browser.WaitForLines(1),
              std::vector<std::string>{"[file:///C:/My%20Pictures/Gallery%20Tool/help/contents.html]"});
}

TEST_F(HelpAddresses, F1OpensTheContentsPageAtTheFocusedControlsAnchor) {
    const std::pair<const char*, const char*> table[] = {
        {"EditURL", "#ThumbnailsFormEditURL"},
        {"EditImageDir", "#ThumbnailsFormEditImageDir"},
        {"EditThumbDir", "#ThumbnailsFormEditThumbDir"},
        {"SpinEditMaxWidth", "#ThumbnailsFormSpinEditMaxWidth"},
        {"SpinEditMaxHeight", "#ThumbnailsFormSpinEditMaxHeight"},
        {"SpinEditQuality", "#ThumbnailsFormSpinEditQuality"},
        {"CheckBoxGenerateHTML", "#ThumbnailsFormCheckBoxGenerateHTML"},
        {"CheckBoxGenerateSamples", "#ThumbnailsFormCheckBoxGenerateSamples"},
        {"CheckBoxGenerateThumbnails", "#ThumbnailsFormCheckBoxGenerateThumbnails"},
        {"btnLoad", "#ThumbnailsFormButtonLoadSingleImage"},
        {"btnExecute", "#ThumbnailsFormButtonCreateSingleThumbnail"},
        {"ButtonThumbnails", "#ThumbnailsFormButtonThumbnails"},
        {"ButtonView", "#ThumbnailsFormButtonView"},
        {"ButtonClose", "#ThumbnailsFormButtonClose"},
        // Controls the table does not list, and the window itself.
        {"SpinEditThumbsPerRow", "#ThumbnailsForm"},
        {"CheckBoxProportional", "#ThumbnailsForm"},
        {"ListBox1", "#ThumbnailsForm"},
        {"ThumbnailsForm", "#ThumbnailsForm"},
    };
    std::vector<std::string> expected;
    for (const auto& [name, anchor] : table) {
        SCOPED_TRACE(name);
        HWND target = form->Handle();
        if (std::string(name) != "ThumbnailsForm") {
            auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name));
            ASSERT_NE(control, nullptr);
            target = control->Handle();
        }
        SetFocus(target);
        ASSERT_EQ(GetFocus(), target);
        // The key goes through the program's own message handling.
        PostMessageA(target, WM_KEYDOWN, VK_F1, 1);
        Application->ProcessMessages();
        expected.push_back(std::string("[") + Base() + "/help/contents.html" + anchor + "]");
        EXPECT_EQ(browser.WaitForLines(expected.size()), expected);
    }
}

TEST_F(HelpAddresses, ShortCutHandlerTakesOnlyF1AndOnlyWhenNotHandledYet) {
    struct Case {
        WORD key;
        bool handledBefore;
        bool handledAfter;
    } cases[] = {{VK_F1, true, true}, {VK_F2, false, false}, {VK_RETURN, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        TWMKey key{WM_KEYDOWN, c.key, 1, 0};
        bool handled = c.handledBefore;
        form->FormShortCut(key, handled);
        EXPECT_EQ(handled, c.handledAfter);
    }
    SetFocus(form->Handle());
    TWMKey f1{WM_KEYDOWN, VK_F1, 1, 0};
    EXPECT_TRUE(form->IsShortCut(f1)) << "F1 is taken before any menu item or action";
    // Only the F1 that was not handled yet opened a page.
    EXPECT_EQ(browser.WaitForLines(1), std::vector<std::string>{"[" + Base() + "/help/contents.html#ThumbnailsForm]"});
}

TEST_F(HelpAddresses, HelpOnWebOpensTheMakersSiteOrSaysThereIsNone) {
    Choose("HelponWeb1");
    EXPECT_EQ(browser.WaitForLines(1), std::vector<std::string>{"[http://www.mirovo.example.com/]"});
    EXPECT_TRUE(boxes.empty());

    form->WebSiteURL.clear();
    Choose("HelponWeb1");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Sorry, the software vendor did not provide a website for online help.");
    EXPECT_EQ(boxes[0].type, TMsgDlgType::mtInformation);
    EXPECT_EQ(boxes[0].buttons, static_cast<TMsgDlgButtons>(mbOK));
    EXPECT_EQ(browser.WaitForLines(1).size(), 1u) << "nothing more was opened";
}

// Wine's own stored browser command, "winebrowser.exe" "%1", with the host's
// browser and mail client replaced by a recorder.
class ThroughWine : public HelpWindow {
protected:
    void SetUp() override {
        HelpWindow::SetUp();
        if (!recorder.Available()) GTEST_SKIP() << "records only under Wine";
    }
    WineBrowserRecorder recorder;
};

TEST_F(ThroughWine, HelpPagesAndTheWebSiteReachTheHostsBrowser) {
    Choose("Contents1");
    // winebrowser hands a local page on by its Windows path.
    std::vector<std::string> expected{"[file://" + folder + "\\help\\contents.html]"};
    EXPECT_EQ(recorder.WaitForLines(1), expected);
    Choose("HelponWeb1");
    expected.push_back("[http://www.mirovo.example.com/]");
    EXPECT_EQ(recorder.WaitForLines(2), expected);
    // The search site of "&Browse URL" goes through the shell's own open.
    EXPECT_TRUE(Action("BrowseURL1")->Enabled());
    Choose("BrowseURL2");
    expected.push_back("[http://search.example.com/]");
    EXPECT_EQ(recorder.WaitForLines(3), expected);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ThroughWine, HelpMailGoesToTheSalesAddressWithSubjectAndGreeting) {
    Choose("EmailAuthorforHelp1");
    EXPECT_EQ(recorder.WaitForLines(1),
              std::vector<std::string>{"[mailto:sales@mirovo.example.com?subject=RE:%20Mirovo&cc=&bcc=&body=Dear%20Aldric%"
                                       "20Fenmore%0D%0A%0D%0AI%20need%20some%20information%20on%20the%20following:]"});
    EXPECT_EQ(form->AuthorName, "Aldric Fenmore");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ThroughWine, HelpMailWithoutAuthorOrTitleGreetsTheSalesAddress) {
    form->AuthorName.clear();
    form->ProductTitle.clear();
    Choose("EmailAuthorforHelp1");
    EXPECT_EQ(recorder.WaitForLines(1),
              std::vector<std::string>{"[mailto:sales@mirovo.example.com?subject=RE:%20Your%20Shareware%20Program%20&cc=&"
                                       "bcc=&body=Dear%20sales@mirovo.example.com%0D%0A%0D%0AI%20need%20some%20"
                                       "information%20on%20the%20following:]"});
    EXPECT_EQ(form->AuthorName, "sales@mirovo.example.com") << "the field keeps the address";
}

TEST_F(ThroughWine, SendMailCommandHandsOnAnEmptyMessage) {
    Choose("SendMail2");
    EXPECT_EQ(recorder.WaitForLines(1), std::vector<std::string>{"[mailto:?subject=&cc=&bcc=&body=]"});
}

// ------------------------------------------------ the tests' own MAPI32.DLL

std::string ExePath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

std::string Env(const char* name) {
    char value[2048];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    return n > 0 && n < sizeof(value) ? std::string(value, n) : std::string();
}

struct ProcessEnd {
    bool finished = false;
    DWORD exitCode = 0;
    std::string output;
};

struct HandleClose {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleClose>;

struct EnvironmentFree {
    void operator()(char* block) const { FreeEnvironmentStringsA(block); }
};

// This process's environment with variables set (replacing any of the same name).
std::string EnvironmentWith(const std::vector<std::pair<std::string, std::string>>& variables) {
    std::string environment;
    for (const auto& [name, value] : variables) environment += name + "=" + value + '\0';
    std::unique_ptr<char, EnvironmentFree> block(GetEnvironmentStringsA());
    for (const char* at = block.get(); *at != '\0'; at += strlen(at) + 1) {
        std::string entry = at;
        bool replaced = false;
        for (const auto& v : variables) replaced |= entry.rfind(v.first + "=", 0) == 0;
        if (!replaced) environment += entry + '\0';
    }
    return environment + '\0';
}

// Runs this test program again for one test, with extra environment variables.
ProcessEnd RunChild(const std::string& filter, const std::vector<std::pair<std::string, std::string>>& variables) {
    std::string environment = EnvironmentWith(variables);

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const std::string outputPath = test::TempFolder() + "pellix_child_" + std::to_string(GetCurrentProcessId()) + ".txt";
    UniqueHandle output(
        CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + ExePath() + "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    ProcessEnd end;
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, environment.data(), nullptr, &startup,
                       &process)) {
        UniqueHandle thread(process.hThread), child(process.hProcess);
        end.finished = WaitForSingleObject(child.get(), 60000) == WAIT_OBJECT_0;
        if (!end.finished) TerminateProcess(child.get(), 1);
        GetExitCodeProcess(child.get(), &end.exitCode);
    }
    output.reset();
    end.output = test::ReadText(outputPath);
    DeleteFileA(outputPath.c_str());
    return end;
}

// Disabled, so that only the HelpMail tests run it, as their child.
const char kChildFilter[] = "HelpMailChild.DISABLED_*";

// Runs only as the child of the test below, which gives it the tests' own
// MAPI32.DLL and says what that one answers.
class HelpMailChild : public HelpWindow {};

TEST_F(HelpMailChild, DISABLED_SendsTheHelpMailThroughTheTestsMapi) {
    const std::string fakeFolder = Env("PELLIX_FAKE_MAPI_FOLDER");
    if (fakeFolder.empty()) GTEST_SKIP() << "runs only as the child of HelpMail tests";
    // Searched after the program's folder, before the system's.
    ASSERT_TRUE(SetDllDirectoryA(fakeFolder.c_str()));
    Choose("EmailAuthorforHelp1");
    HMODULE mapi = GetModuleHandleA("MAPI32.DLL");
    ASSERT_NE(mapi, nullptr) << "loaded on the first send";
    // Wine names a built-in library after the file it found, so ask the library.
    EXPECT_NE(GetProcAddress(mapi, "PellixFakeMapi"), nullptr) << "Wine's own MAPI32 was loaded";
    std::vector<std::string> shown;
    for (const Box& b : boxes) {
        EXPECT_EQ(b.type, TMsgDlgType::mtError);
        EXPECT_EQ(b.buttons, static_cast<TMsgDlgButtons>(mbOK));
        shown.push_back(b.text);
    }
    const bool fails = Env("PELLIX_FAKE_MAPI_RESULT") != "0";
    EXPECT_EQ(shown, fails ? std::vector<std::string>{"Error sending mail"} : std::vector<std::string>{});
}

TEST(HelpMail, EveryMapiFailureShowsTheErrorAndMapiGetsTheHelpMail) {
    const std::string fakeFolder = test::ExeFolder() + "fake-mapi32";
    ASSERT_NE(GetFileAttributesA((fakeFolder + "\\mapi32.dll").c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string record = test::TempFolder() + "pellix_mapi_" + std::to_string(GetCurrentProcessId()) + ".txt";
    // A new process takes WINEDLLOVERRIDES from the host's environment, not
    // from the one it is given; Wine's per-program settings do reach it.
    const std::string exe = ExePath().substr(ExePath().find_last_of('\\') + 1);
    test::ScopedRegistryValue nativeFirst(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + exe + "\\DllOverrides",
                                         "mapi32", std::string("native,builtin"));
    // 0 is success; 1 is the user's cancel in the mail client, 2 a failure.
    for (const char* result : {"1", "2", "0"}) {
        SCOPED_TRACE(std::string("MAPISendMail answers ") + result);
        DeleteFileA(record.c_str());
        ProcessEnd end = RunChild(kChildFilter, {{"PELLIX_FAKE_MAPI_FOLDER", fakeFolder},
                                                  {"PELLIX_FAKE_MAPI_RECORD", record},
                                                  {"PELLIX_FAKE_MAPI_RESULT", result}});
        ASSERT_TRUE(end.finished);
        EXPECT_EQ(end.exitCode, 0u) << end.output;
        EXPECT_NE(end.output.find("[  PASSED  ] 1 test"), std::string::npos) << end.output;
        EXPECT_EQ(end.output.find("SKIPPED"), std::string::npos) << end.output;

        EXPECT_EQ(test::ReadText(record),
                  "session=0 parent=window flags=11 reserved=0\n"
                  "subject=RE: Mirovo\n"
                  "note=Dear Aldric Fenmore\r\n\r\nI need some information on the following:\n"
                  "type=(null) date=(null) conversation=(null) originator=(null) files=0 flags=0\n"
                  "recipients=1\n"
                  "recipient class=1 name=sales@mirovo.example.com address=sales@mirovo.example.com entry=0\n");
    }
    DeleteFileA(record.c_str());
}

}  // namespace
}  // namespace pellix
