// Finding the default browser in the registry and the shell, and what
// OpenURL really starts: the stored command with the address put in, or the
// shell's own open when that command cannot start.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "app/ShellHelpers.h"
#include "framework/SysUtils.h"
#include "tests/app/HelpRecorders.h"
#include "tests/harness/Files.h"

namespace pellix {
namespace {

using test::ArgumentRecorder;
using test::BrowserCommands;
using test::ScopedRegistryValue;

const char kTestKey[] = "Software\\Pellix Tests\\ShellHelpers";

// Runs with a folder of its own as the current folder.
class InFolder : public ::testing::Test {
protected:
    void SetUp() override {
        work_.emplace("pellix shell " + test::CurrentTestName());
        ASSERT_TRUE(work_->Entered());
        folder = work_->Path();
    }
    void TearDown() override { work_.reset(); }
    void Touch(const std::string& name) {
        HANDLE h = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }

    std::string folder;

private:
    std::optional<test::WorkFolder> work_;
};

TEST_F(InFolder, GetCurrentFolderReportsTheFolderMadeCurrent) {
    EXPECT_EQ(GetCurrentFolder(), folder);
    const std::string named = folder + "\\café 写真";
    ASSERT_TRUE(CreateDirectoryA(named.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(named.c_str()));
    EXPECT_EQ(GetCurrentFolder(), named);
}

// A document kind of the test's own, associated with Notepad.
class DocumentKind {
public:
    DocumentKind()
        : extension_(HKEY_CLASSES_ROOT, ".pellixdoc", "", std::string("pellixdocfile")),
          command_(HKEY_CLASSES_ROOT, "pellixdocfile\\shell\\open\\command", "",
                   std::string("\"C:\\windows\\notepad.exe\" \"%1\"")) {}
    ~DocumentKind() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".pellixdoc");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "pellixdocfile");
    }

private:
    ScopedRegistryValue extension_, command_;
};

TEST_F(InFolder, FindDocumentExecutableLooksInTheCurrentFolder) {
    DocumentKind kind;
    Touch("notes.pellixdoc");
    EXPECT_TRUE(SameText(FindDocumentExecutable("notes.pellixdoc"), "C:\\windows\\notepad.exe"))
        << FindDocumentExecutable("notes.pellixdoc");
    EXPECT_EQ(FindDocumentExecutable("absent.pellixdoc"), "ERROR_FILE_NOT_FOUND");
    Touch("plain.unknownkind");
    EXPECT_EQ(FindDocumentExecutable("plain.unknownkind"), "ERROR_FILE_NOT_FOUND") << "no association";
}

class ReadRegistryStringTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        Set(key, "", REG_SZ, "the default");
        Set(key, "Named", REG_SZ, "\"C:\\b.exe\" \"%1\"");
        Set(key, "Expandable", REG_EXPAND_SZ, "%SystemRoot%\\b.exe");
        Set(key, "Empty", REG_SZ, "");
        DWORD number = 7;
        RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Pellix Tests"); }

    static void Set(HKEY key, const char* name, DWORD type, const std::string& text) {
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
    }
};

TEST_F(ReadRegistryStringTest, GivesTextValuesAsStoredAndEmptyForAnythingElse) {
    struct Case {
        const char* path;
        const char* name;
        const char* expected;
    } cases[] = {
        {kTestKey, "", "the default"},
        {"Software\\Pellix Tests\\ShellHelpers\\", "Named", "\"C:\\b.exe\" \"%1\""},
        {kTestKey, "Expandable", "%SystemRoot%\\b.exe"},
        {kTestKey, "Empty", ""},
        {kTestKey, "Missing", ""},
        {kTestKey, "Number", ""},
        {"Software\\Pellix Tests\\Absent", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " / " + c.name);
        EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, c.path, c.name), c.expected);
    }
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Pellix Tests\\Absent", 0, KEY_READ, &key), ERROR_SUCCESS)
        << "reading creates no key";
}

TEST_F(InFolder, DefaultBrowserCommandTakesTheFirstStoredOpenCommand) {
    struct Case {
        const char* name;
        const char* htmlfile;
        const char* http;
        const char* https;
        const char* expected;
    } cases[] = {
        {"html files first", "html.exe \"%1\"", "http.exe", "https.exe", "html.exe \"%1\""},
        {"then http", nullptr, "http.exe %1", "https.exe", "http.exe %1"},
        {"an empty command counts as none", "", "http.exe", "https.exe", "http.exe"},
        {"then https", nullptr, nullptr, "\"https.exe\"", "\"https.exe\""},
        {"then the association of help.html", nullptr, nullptr, nullptr, "ERROR_FILE_NOT_FOUND"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrowserCommands commands(c.htmlfile, c.http, c.https);
        EXPECT_EQ(GetDefaultBrowserCommand(), c.expected);
    }
}

TEST(BrowserCommandLine, PutsTheAddressInPlaceOfThePlaceholderOrAfterABlank) {
    const std::string url = "file:///C:/My%20Pictures/help/contents.html#ThumbnailsForm";
    struct Case {
        const char* command;
        std::string expected;
    } cases[] = {
        {"\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"", "\"C:\\windows\\system32\\winebrowser.exe\" \"" + url + "\""},
        {"browser.exe -url %1 -new", "browser.exe -url " + url + " -new"},
        {"browser.exe %1 %1", "browser.exe " + url + " " + url},
        {"\"C:\\Program Files\\Browser\\b.exe\"", "\"C:\\Program Files\\Browser\\b.exe\" " + url},
        {"ERROR_FILE_NOT_FOUND", "ERROR_FILE_NOT_FOUND " + url},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(BrowserCommandLine(c.command, url), c.expected);
    }
    // A "%1" inside the address is the address's own.
    EXPECT_EQ(BrowserCommandLine("b.exe \"%1\"", "http://x/a%1b"), "b.exe \"http://x/a%1b\"");
}

// A URL scheme of the test's own whose open command is the recorder with a
// mark of its own: what the shell's own open receives.
class RecordingScheme {
public:
    explicit RecordingScheme(const ArgumentRecorder& recorder)
        : label_(HKEY_CLASSES_ROOT, "pellixopen", "", std::string("URL:pellixopen")),
          protocol_(HKEY_CLASSES_ROOT, "pellixopen", "URL Protocol", std::string()),
          command_(HKEY_CLASSES_ROOT, "pellixopen\\shell\\open\\command", "",
                   "\"" + recorder.Program() + "\" --shell \"%1\"") {}
    ~RecordingScheme() { RegDeleteTreeA(HKEY_CLASSES_ROOT, "pellixopen"); }

private:
    ScopedRegistryValue label_, protocol_, command_;
};

class OpenURLTest : public InFolder {
protected:
    void SetUp() override {
        InFolder::SetUp();
        ASSERT_TRUE(browser.Available()) << browser.Program();
    }
    std::string Quoted() const { return "\"" + browser.Program() + "\""; }

    ArgumentRecorder browser;
};

TEST_F(OpenURLTest, StartsTheStoredCommandWithTheAddressInPlaceOfThePlaceholder) {
    const std::string command = Quoted() + " \"%1\"";
    BrowserCommands commands(command.c_str(), nullptr, nullptr);
    OpenURL("file:///C:/My%20Pictures/Gallery%20Tool/help/contents.html#ThumbnailsFormEditURL");
    EXPECT_EQ(browser.WaitForLines(1),
              std::vector<std::string>{"[file:///C:/My%20Pictures/Gallery%20Tool/help/contents.html#ThumbnailsFormEditURL]"});
}

TEST_F(OpenURLTest, AppendsTheAddressAfterABlankToACommandWithoutPlaceholder) {
    const std::string command = Quoted() + " --new-window";
    BrowserCommands commands(nullptr, command.c_str(), nullptr);
    OpenURL("http://www.mirovo.example.com/");
    EXPECT_EQ(browser.WaitForLines(1), std::vector<std::string>{"[--new-window][http://www.mirovo.example.com/]"});
}

TEST_F(OpenURLTest, FallsBackToTheShellsOpenWhenTheCommandCannotStart) {
    RecordingScheme scheme(browser);
    struct Case {
        const char* name;
        const char* htmlfile;
    } cases[] = {
        {"missing-program", "\"C:\\nowhere\\browser.exe\" \"%1\""},
        {"no-command-no-association", nullptr},
    };
    size_t expectedLines = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrowserCommands commands(c.htmlfile, nullptr, nullptr);
        OpenURL(std::string("pellixopen:") + c.name);
        std::vector<std::string> lines = browser.WaitForLines(++expectedLines);
        ASSERT_EQ(lines.size(), expectedLines);
        // Only the shell's open, through the scheme's command, was started.
        EXPECT_EQ(lines.back(), std::string("[--shell][pellixopen:") + c.name + "]");
    }
}

}  // namespace
}  // namespace pellix
