// Actions: the items linked to them follow them, and the standard actions do
// their part through the system (shell, Simple MAPI, the main form).
#include <windows.h>

#include <gtest/gtest.h>


#include "tests/framework/MenuTestForm.h"
#include "tests/harness/Files.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Recorders.h"

namespace pellix {
namespace {

using test::ReadMenu;
using test::Texts;

class ActionTest : public ::testing::Test {
protected:
    void SetUp() override { form = test::LoadMenuTestForm(); }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
    }
    TMenuItem* Item(const char* name) { return form->Get<TMenuItem>(name); }
    HMENU Sub(const char* name) { return Item(name)->Handle(); }
    template <class T = TCustomAction>
    T* Action(const char* name) {
        return form->Get<T>(name);
    }

    test::MenuFormPtr form;
};

TEST_F(ActionTest, ListHoldsItsActionsFromTheDescription) {
    auto* list = form->Get<TActionList>("ActionList1");
    ASSERT_EQ(list->ActionCount(), 3);
    EXPECT_EQ(list->Actions(0), Action("FileExit1"));
    EXPECT_EQ(list->Actions(1), Action("ActionFont"));
    EXPECT_EQ(list->Actions(2), Action("ActionHidden"));
    EXPECT_EQ(Action("FileExit1")->ActionList(), list);
    EXPECT_EQ(Action("FileExit1")->ClassName(), "TFileExit");
    EXPECT_EQ(Action("FileExit1")->Category, "File");
    EXPECT_EQ(Action("FileExit1")->Hint(), "Exit|Quits the application");
    EXPECT_EQ(Action("ActionFont")->ShortCut(), scCtrl | scShift | 'F');

    TComponent::Free(Action("ActionHidden"));
    EXPECT_EQ(list->ActionCount(), 2) << "a freed action leaves its list";
}

TEST_F(ActionTest, LinkedItemTakesTheActionsCaptionHintAndShortCut) {
    TMenuItem* exit = Item("Exit1");
    EXPECT_EQ(exit->Action(), Action("FileExit1"));
    EXPECT_EQ(exit->Caption(), "E&xit");
    EXPECT_EQ(exit->Hint(), "Exit|Quits the application");
    EXPECT_EQ(Item("Fonts1")->ShortCut(), Action("ActionFont")->ShortCut());
    EXPECT_EQ(ReadMenu(Sub("File1"))[2].text, "E&xit");
    EXPECT_EQ(ReadMenu(Sub("Options1"))[2].text, "Fonts\tShift+Ctrl+F");
}

TEST_F(ActionTest, LinkedItemFollowsLaterChangesIntoTheMenuHandle) {
    TCustomAction* action = Action("FileExit1");
    TMenuItem* exit = Item("Exit1");
    action->SetCaption("&Quit");
    action->SetHint("Quit|Ends the program");
    action->SetShortCut(ShortCut('Q', ssCtrl));
    EXPECT_EQ(exit->Caption(), "&Quit");
    EXPECT_EQ(exit->Hint(), "Quit|Ends the program");
    EXPECT_EQ(ReadMenu(Sub("File1"))[2].text, "&Quit\tCtrl+Q");

    action->SetEnabled(false);
    EXPECT_FALSE(exit->Enabled());
    EXPECT_TRUE(ReadMenu(Sub("File1"))[2].grayed());
    action->SetChecked(true);
    EXPECT_TRUE(ReadMenu(Sub("File1"))[2].checked());
    action->SetVisible(false);
    EXPECT_EQ(Texts(Sub("File1")), (std::vector<std::string>{"&Open...\tCtrl+O", "-"}));
    action->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(Sub("File1")), 3);
}

TEST_F(ActionTest, UnlinkedOrFreedActionLeavesTheItemAsItWas) {
    TMenuItem* exit = Item("Exit1");
    TMenuItem* open = Item("Open1");
    open->SetAction(Action("ActionFont"));
    EXPECT_EQ(ReadMenu(Sub("File1"))[0].text, "Fonts\tShift+Ctrl+F");
    open->SetAction(nullptr);
    Action("ActionFont")->SetCaption("Typefaces");
    EXPECT_EQ(open->Caption(), "Fonts");
    EXPECT_EQ(Item("Fonts1")->Caption(), "Typefaces") << "the other item stays linked";

    TComponent::Free(Action("FileExit1"));
    EXPECT_EQ(exit->Action(), nullptr);
    EXPECT_EQ(exit->Caption(), "E&xit");
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);  // nothing left to run
}

TEST_F(ActionTest, ExecuteUpdatesFirstAndRunsOnlyWhenEnabled) {
    auto* font = Action("ActionFont");
    std::vector<std::string> order;
    font->OnUpdate = [&](TObject* s) {
        order.push_back("update");
        EXPECT_EQ(s, font);
    };
    TNotifyEvent bound = font->OnExecute;
    font->OnExecute = [&](TObject* s) {
        order.push_back("execute");
        bound(s);
    };
    EXPECT_TRUE(font->Execute());
    EXPECT_EQ(order, (std::vector<std::string>{"update", "execute"}));
    ASSERT_EQ(form->fonts.size(), 1u);
    EXPECT_EQ(form->fonts[0], font) << "the action is the sender";

    font->OnUpdate = [](TObject* s) { static_cast<TCustomAction*>(s)->SetEnabled(false); };
    EXPECT_FALSE(font->Execute());
    EXPECT_EQ(form->fonts.size(), 1u);
    EXPECT_TRUE(ReadMenu(Sub("Options1"))[2].grayed()) << "the update reached the item";
}

// ------------------------------------------------------------ standard actions

TEST_F(ActionTest, FileExitClosesTheMainFormNotItsOwn) {
    ASSERT_EQ(Application->MainForm(), nullptr) << "another test left a main form";
    TForm* main = Application->CreateForm<TForm>();
    std::vector<TObject*> closed;
    // Kept open, so that the application is not told to end.
    main->OnClose = [&](TObject* s, TCloseAction& a) {
        closed.push_back(s);
        a = TCloseAction::caNone;
    };
    form->OnClose = [&](TObject* s, TCloseAction&) { closed.push_back(s); };
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Item("Exit1")->Command(), 0), 0);
    EXPECT_EQ(closed, std::vector<TObject*>{main});
    EXPECT_FALSE(Application->Terminated());
    TComponent::Free(main);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_FALSE(Action("FileExit1")->Execute()) << "no main form, nothing to close";
}

struct HelpCase {
    const char* name;
    bool bound;
};

void PrintTo(const HelpCase& c, std::ostream* os) { *os << c.name; }

class HelpActions : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpActions, RunTheirOwnHandlerAndNothingElse) {
    const HelpCase& c = GetParam();
    auto* created = FindClassInfo(c.name)->create(nullptr);
    std::unique_ptr<TCustomAction, ComponentFree> action(dynamic_cast<TCustomAction*>(created));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->ClassName(), c.name);
    std::vector<TObject*> ran;
    if (c.bound) action->OnExecute = [&](TObject* s) { ran.push_back(s); };
    EXPECT_EQ(action->Execute(), c.bound);
    EXPECT_EQ(ran, c.bound ? std::vector<TObject*>{action.get()} : std::vector<TObject*>{});
}

INSTANTIATE_TEST_SUITE_P(Classes, HelpActions,
                         ::testing::Values(HelpCase{"THelpContents", true}, HelpCase{"THelpTopicSearch", true},
                                           HelpCase{"THelpOnHelp", true}, HelpCase{"THelpContents", false},
                                           HelpCase{"THelpOnHelp", false}),
                         [](const ::testing::TestParamInfo<HelpCase>& info) {
                             return std::string(info.param.name) + (info.param.bound ? "Bound" : "Unbound");
                         });

// The internet actions as the main window binds them.
const char kInternetDescription[] = R"(object MenuTestForm: TMenuTestForm
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Internet1: TMenuItem
      Caption = '&Internet'
      object Browse1: TMenuItem
        Action = BrowseURL1
      end
      object Mail1: TMenuItem
        Action = SendMail1
      end
    end
  end
  object ActionList1: TActionList
    object BrowseURL1: TBrowseURL
      Category = 'Internet'
      Caption = '&Browse URL'
      Hint = 'Browse URL'
    end
    object SendMail1: TSendMail
      Category = 'Internet'
      Caption = '&Send Mail...'
      Hint = 'Send email'
    end
  end
end
)";

// The text of a file that another process writes, once it is there.
std::string WaitForText(const std::string& path) {
    std::string text;
    test::PumpUntil([&] {
        text = test::ReadText(path);
        return !text.empty();
    });
    return text;
}

// A URL scheme of the test's own, registered while the object lives: its open
// command, a line for the system's command interpreter, records the address.
class SchemeRecorder {
public:
    explicit SchemeRecorder(const std::string& scheme) : scheme_(scheme) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        file_ = std::string(temp) + "pellix_" + scheme + "_" + std::to_string(GetCurrentProcessId()) + ".txt";
        DeleteFileA(file_.c_str());
        Set(scheme_, "", "URL:" + scheme);
        Set(scheme_, "URL Protocol", "");
        Set(scheme_ + "\\shell\\open\\command", "", "cmd.exe /c echo \"%1\"> \"" + file_ + "\"");
    }
    ~SchemeRecorder() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, scheme_.c_str());
        DeleteFileA(file_.c_str());
    }
    SchemeRecorder(const SchemeRecorder&) = delete;
    SchemeRecorder& operator=(const SchemeRecorder&) = delete;

    // What the command received, once it has written it.
    std::string Received() const { return WaitForText(file_); }

private:
    static void Set(const std::string& keyPath, const char* name, const std::string& value) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

    std::string scheme_;
    std::string file_;
};

// Message boxes shown while it lives: their title and text are recorded and
// each is answered with OK, so no modal loop waits for a person.
class BoxWatch {
public:
    BoxWatch() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &BoxWatch::Tick);
    }
    ~BoxWatch() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    BoxWatch(const BoxWatch&) = delete;
    BoxWatch& operator=(const BoxWatch&) = delete;

    struct Box {
        std::string title, text;
        HICON icon = nullptr;
    };
    std::vector<Box> boxes;

private:
    static BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
        char cls[16];
        GetClassNameA(hwnd, cls, sizeof(cls));
        if (std::string(cls) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    static BOOL CALLBACK ReadChild(HWND child, LPARAM lp) {
        auto* box = reinterpret_cast<Box*>(lp);
        char cls[16], text[256];
        GetClassNameA(child, cls, sizeof(cls));
        if (!SameText(cls, "Static")) return TRUE;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            box->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        } else if (GetWindowTextA(child, text, sizeof(text)) > 0) {
            box->text += text;
        }
        return TRUE;
    }
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &BoxWatch::FindBox, reinterpret_cast<LPARAM>(&found));
        if (found == nullptr || current_ == nullptr) return;
        Box box;
        char title[256] = {};
        GetWindowTextA(found, title, sizeof(title));
        box.title = title;
        EnumChildWindows(found, &BoxWatch::ReadChild, reinterpret_cast<LPARAM>(&box));
        current_->boxes.push_back(box);
        PostMessageA(found, WM_COMMAND, IDOK, 0);
    }

    static inline BoxWatch* current_ = nullptr;
    UINT_PTR timer_ = 0;
};

class InternetActionTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new test::TMenuTestForm(nullptr));
        LoadFormText(*form, kInternetDescription, "Internet.dfm");
        form->HandleNeeded();
        browse = form->Get<TBrowseURL>("BrowseURL1");
        mail = form->Get<TSendMail>("SendMail1");
    }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
    }
    HMENU Internet() { return form->Get<TMenuItem>("Internet1")->Handle(); }

    test::MenuFormPtr form;
    TBrowseURL* browse = nullptr;
    TSendMail* mail = nullptr;
};

TEST_F(InternetActionTest, BrowseUrlIsDisabledWhileItHasNoUrl) {
    EXPECT_EQ(ReadMenu(Internet())[0].text, "&Browse URL");
    EXPECT_FALSE(browse->Enabled());
    EXPECT_TRUE(ReadMenu(Internet())[0].grayed());
    EXPECT_FALSE(browse->Execute());

    browse->SetURL("www.example.org");
    EXPECT_TRUE(browse->Enabled());
    EXPECT_FALSE(ReadMenu(Internet())[0].grayed());
    browse->SetURL("");
    EXPECT_FALSE(browse->Enabled());
    EXPECT_TRUE(ReadMenu(Internet())[0].grayed());
}

TEST_F(InternetActionTest, BrowseUrlOpensItsAddressThroughTheShell) {
    SchemeRecorder recorder("pellixbrowse");
    browse->SetURL("pellixbrowse:search?q=thumbnails");
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Get<TMenuItem>("Browse1")->Command(), 0), 0);
    EXPECT_NE(recorder.Received().find("pellixbrowse:search?q=thumbnails"), std::string::npos);
}

TEST_F(InternetActionTest, SendMailWithoutAProviderShowsTheError) {
    test::ScopedRegistryValue noProvider(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows Messaging Subsystem", "MAPI",
                                         "0");
    EXPECT_FALSE(MapiProviderPresent());
    Application->SetTitle("Mail Test");
    BoxWatch watch;
    EXPECT_TRUE(mail->Execute());
    ASSERT_EQ(watch.boxes.size(), 1u);
    EXPECT_EQ(watch.boxes[0].text, "Error sending mail");
    EXPECT_EQ(watch.boxes[0].title, "Mail Test");
    EXPECT_EQ(watch.boxes[0].icon, LoadIconA(nullptr, IDI_ERROR));
    Application->SetTitle("");
}

// What Wine handed to the host's mail client, without the recorder's brackets.
std::string MailReceived(const test::WineBrowserRecorder& recorder) {
    std::string text;
    for (const std::string& line : recorder.WaitForLines(1)) text += line.substr(1, line.size() - 2) + "\n";
    return text;
}

TEST_F(InternetActionTest, SendMailHandsTheTextToTheMailClient) {
    ASSERT_TRUE(MapiProviderPresent()) << "Wine reports its own Simple MAPI";
    test::WineBrowserRecorder recorder;
    if (!recorder.Available()) GTEST_SKIP() << "records mail only under Wine";
    mail->Text = "Hello";
    BoxWatch watch;
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Get<TMenuItem>("Mail1")->Command(), 0), 0);
    std::string received = MailReceived(recorder);
    EXPECT_EQ(received.rfind("mailto:", 0), 0u) << received;
    EXPECT_NE(received.find("body=Hello"), std::string::npos) << received;
    EXPECT_TRUE(watch.boxes.empty()) << "no error box";
}

TEST(SimpleMapi, AddressesTheMessageToItsRecipient) {
    test::WineBrowserRecorder recorder;
    if (!recorder.Available()) GTEST_SKIP() << "records mail only under Wine";
    TMailMessage message;
    message.Subject = "RE: Mirovo";
    message.Body = "Dear Sales";
    message.RecipientName = "sales@example.com";
    message.RecipientAddress = "sales@example.com";
    EXPECT_EQ(MapiSendMail(nullptr, message), 0u);
    std::string received = MailReceived(recorder);
    EXPECT_EQ(received.rfind("mailto:sales@example.com", 0), 0u) << received;
    EXPECT_NE(received.find("subject=RE"), std::string::npos) << received;
    EXPECT_NE(received.find("Mirovo"), std::string::npos) << received;
}

}  // namespace
}  // namespace pellix
