// Main menus: the menu handles hold exactly what the items say, follow every
// change, and menu commands and shortcut keys reach the items.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/framework/MenuTestForm.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

using test::MenuEntry;
using test::ReadMenu;
using test::Texts;

// ------------------------------------------------------------ shortcut text

struct ShortCutCase {
    TShortCut value;
    const char* text;
};

class ShortCutText : public ::testing::TestWithParam<ShortCutCase> {};

TEST_P(ShortCutText, ConvertsBothWays) {
    const ShortCutCase& c = GetParam();
    EXPECT_EQ(ShortCutToText(c.value), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.value);
    EXPECT_EQ(TextToShortCut(LowerCase(c.text)), c.value) << "case does not matter";
}

INSTANTIATE_TEST_SUITE_P(Keys, ShortCutText,
                         ::testing::Values(ShortCutCase{0x404F, "Ctrl+O"}, ShortCutCase{VK_F1, "F1"},
                                           ShortCutCase{scShift | VK_F12, "Shift+F12"},
                                           ShortCutCase{scAlt | '5', "Alt+5"},
                                           ShortCutCase{scShift | scCtrl | scAlt | VK_DELETE, "Shift+Ctrl+Alt+Del"},
                                           ShortCutCase{scCtrl | VK_RETURN, "Ctrl+Enter"},
                                           ShortCutCase{VK_ESCAPE, "Esc"}),
                         [](const ::testing::TestParamInfo<ShortCutCase>& info) {
                             std::string name = info.param.text;
                             std::replace(name.begin(), name.end(), '+', '_');
                             return name;
                         });

TEST(ShortCut, BuildsFromKeyAndShiftState) {
    EXPECT_EQ(ShortCut('O', ssCtrl), 16463);
    EXPECT_EQ(ShortCut('F', ssCtrl | ssShift), scCtrl | scShift | 'F');
    EXPECT_EQ(ShortCut(VK_F1, 0), VK_F1);
    EXPECT_EQ(ShortCut(0x1F0, ssCtrl), scNone) << "keys beyond a byte have no shortcut";
}

TEST(ShortCut, UnknownTextIsNone) {
    EXPECT_EQ(TextToShortCut(""), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+Banana"), scNone);
    EXPECT_EQ(TextToShortCut("Hyper+O"), scNone);
    EXPECT_EQ(ShortCutToText(scCtrl), "");
}

TEST(IsAccel, TheCharacterAfterASingleAmpersandInAnyCase) {
    struct Case {
        const char* caption;
        char ch;
        bool accel;
    };
    const Case cases[] = {
        {"&File", 'f', true},       {"&File", 'F', true},      {"E&xit", 'x', true},  {"&File", 'i', false},
        {"&&Save", 's', false},     {"Fish && &Chips", 'c', true}, {"Plain", 'p', false}, {"Trailing&", 'g', false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAccel(static_cast<UINT>(c.ch), c.caption), c.accel) << c.caption << " " << c.ch;
}

// ------------------------------------------------------- menu handle content

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override { form = test::LoadMenuTestForm(); }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
    }
    TMenuItem* Item(const char* name) { return form->Get<TMenuItem>(name); }
    TMainMenu* Menu() { return form->Get<TMainMenu>("MainMenu1"); }
    HMENU Sub(const char* name) { return Item(name)->Handle(); }

    test::MenuFormPtr form;
};

TEST_F(MenuTest, DescriptionBuildsTheMenuHandlesWithExplicitIds) {
    ASSERT_EQ(form->Menu(), Menu());
    EXPECT_EQ(GetMenu(form->Handle()), Menu()->Handle());
    EXPECT_EQ(Item("Open1")->Parent(), Item("File1"));
    EXPECT_EQ(Item("File1")->GetParentMenu(), Menu());
    EXPECT_EQ(Item("Open1")->Owner(), form.get());

    struct Expected {
        HMENU menu;
        int position;
        const char* item;
        const char* text;  // "-" for a separator
        bool radio, checked;
    };
    const Expected table[] = {
        {Menu()->Handle(), 0, "File1", "&File", false, false},
        {Menu()->Handle(), 1, "Options1", "&Options", false, false},
        {Sub("File1"), 0, "Open1", "&Open...\tCtrl+O", false, false},
        {Sub("File1"), 1, "N1", "-", false, false},
        {Sub("File1"), 2, "Exit1", "E&xit", false, false},
        {Sub("Options1"), 0, "Blue1", "&Blue", true, true},
        {Sub("Options1"), 1, "Silver1", "&Silver", true, false},
        {Sub("Options1"), 2, "Fonts1", "Fonts\tShift+Ctrl+F", false, false},
    };
    EXPECT_EQ(GetMenuItemCount(Menu()->Handle()), 2);
    EXPECT_EQ(GetMenuItemCount(Sub("File1")), 3);
    EXPECT_EQ(GetMenuItemCount(Sub("Options1")), 3);
    std::set<UINT> ids;
    for (const Expected& e : table) {
        SCOPED_TRACE(e.item);
        MenuEntry entry = ReadMenu(e.menu).at(e.position);
        TMenuItem* item = Item(e.item);
        EXPECT_EQ(entry.id, item->Command());
        EXPECT_NE(entry.id, 0u);
        ids.insert(entry.id);
        EXPECT_EQ(entry.subMenu, item->Handle());
        EXPECT_EQ(entry.separator(), std::string(e.text) == "-");
        if (!entry.separator()) {
            EXPECT_EQ(entry.text, e.text);
        }
        EXPECT_EQ(entry.radio(), e.radio);
        EXPECT_EQ(entry.checked(), e.checked);
        EXPECT_FALSE(entry.grayed());
    }
    EXPECT_EQ(ids.size(), std::size(table)) << "every item has its own id";
    EXPECT_NE(Sub("File1"), nullptr);
    EXPECT_EQ(Sub("Open1"), nullptr) << "an item without items has no drop-down";
}

TEST_F(MenuTest, HandleFollowsCaptionShortCutStateAndVisibility) {
    TMenuItem* open = Item("Open1");
    open->SetCaption("&Open file");
    EXPECT_EQ(ReadMenu(Sub("File1"))[0].text, "&Open file\tCtrl+O");
    open->SetShortCut(ShortCut(VK_F3, ssShift));
    EXPECT_EQ(ReadMenu(Sub("File1"))[0].text, "&Open file\tShift+F3");
    open->SetShortCut(scNone);
    EXPECT_EQ(ReadMenu(Sub("File1"))[0].text, "&Open file");

    open->SetEnabled(false);
    EXPECT_TRUE(ReadMenu(Sub("File1"))[0].grayed());
    open->SetEnabled(true);
    EXPECT_FALSE(ReadMenu(Sub("File1"))[0].grayed());

    open->SetVisible(false);
    EXPECT_EQ(Texts(Sub("File1")), (std::vector<std::string>{"-", "E&xit"}));
    Item("Exit1")->SetVisible(false);
    EXPECT_EQ(Texts(Sub("File1")), (std::vector<std::string>{"-"}));
    open->SetVisible(true);
    EXPECT_EQ(Texts(Sub("File1")), (std::vector<std::string>{"&Open file", "-"}));
    EXPECT_EQ(ReadMenu(Sub("File1"))[0].id, open->Command());

    TMenuItem* line = Item("N1");
    line->SetCaption("Recent");
    EXPECT_FALSE(ReadMenu(Sub("File1"))[1].separator());
    EXPECT_EQ(ReadMenu(Sub("File1"))[1].text, "Recent");
    line->SetCaption("-");
    EXPECT_TRUE(ReadMenu(Sub("File1"))[1].separator());
}

// A skin makes entries owner-drawn behind the framework's back; later changes
// of the items must not take that away.
TEST_F(MenuTest, UpdatesKeepAnOwnerDrawTypeSetFromOutside) {
    HMENU file = Sub("File1");
    HMENU options = Sub("Options1");
    for (auto [menu, position] : {std::pair{file, 0}, std::pair{options, 0}, std::pair{file, 1}}) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &info));
        info.fType |= MFT_OWNERDRAW;
        ASSERT_TRUE(SetMenuItemInfoA(menu, position, TRUE, &info));
    }
    Item("Open1")->SetCaption("&Load");
    Item("Open1")->SetEnabled(false);
    Item("Blue1")->SetChecked(false);
    Item("N1")->SetCaption("Recent");

    const MenuEntry open = ReadMenu(file)[0], blue = ReadMenu(options)[0], line = ReadMenu(file)[1];
    EXPECT_TRUE(open.type & MFT_OWNERDRAW);
    EXPECT_EQ(open.text, "&Load\tCtrl+O");
    EXPECT_TRUE(open.grayed());
    EXPECT_TRUE(blue.type & MFT_OWNERDRAW);
    EXPECT_TRUE(blue.radio());
    EXPECT_FALSE(blue.checked());
    EXPECT_TRUE(line.type & MFT_OWNERDRAW);
    EXPECT_FALSE(line.separator());
    EXPECT_EQ(line.text, "Recent");
    EXPECT_FALSE(ReadMenu(file)[2].type & MFT_OWNERDRAW) << "an entry nobody marked stays a string";
}

TEST_F(MenuTest, CheckingARadioItemClearsItsGroupInTheHandle) {
    TMenuItem* blue = Item("Blue1");
    TMenuItem* silver = Item("Silver1");
    silver->SetChecked(true);
    EXPECT_FALSE(blue->Checked());
    auto entries = ReadMenu(Sub("Options1"));
    EXPECT_FALSE(entries[0].checked());
    EXPECT_TRUE(entries[1].checked());

    // Another group, or a plain item, is left alone.
    blue->SetGroupIndex(2);
    blue->SetChecked(true);
    EXPECT_TRUE(silver->Checked());
    Item("Fonts1")->SetChecked(true);
    EXPECT_TRUE(blue->Checked());
    EXPECT_TRUE(silver->Checked());
    EXPECT_TRUE(ReadMenu(Sub("Options1"))[2].checked());
}

TEST_F(MenuTest, ItemsAddedInsertedAndDeletedAtRunTime) {
    TMenuItem* options = Item("Options1");
    auto* green = new TMenuItem(form.get());  // owned by the form
    green->SetCaption("&Green");
    options->Insert(2, green);
    EXPECT_EQ(Texts(Sub("Options1")), (std::vector<std::string>{"&Blue", "&Silver", "&Green", "Fonts\tShift+Ctrl+F"}));
    EXPECT_EQ(ReadMenu(Sub("Options1"))[2].id, green->Command());
    EXPECT_EQ(options->IndexOf(green), 2);

    options->Delete(2);
    EXPECT_EQ(green->Parent(), nullptr);
    EXPECT_EQ(Texts(Sub("Options1")), (std::vector<std::string>{"&Blue", "&Silver", "Fonts\tShift+Ctrl+F"}));

    // An item gets a drop-down with its first item and loses it with its last.
    TMenuItem* open = Item("Open1");
    open->Add(green);
    ASSERT_NE(open->Handle(), nullptr);
    EXPECT_EQ(ReadMenu(Sub("File1"))[0].subMenu, open->Handle());
    EXPECT_EQ(Texts(open->Handle()), (std::vector<std::string>{"&Green"}));
    open->Remove(green);
    EXPECT_EQ(open->Handle(), nullptr);
    EXPECT_EQ(ReadMenu(Sub("File1"))[0].subMenu, nullptr);

    EXPECT_THROW(open->Insert(5, green), EComponentError);
    options->Add(green);
    EXPECT_THROW(open->Add(green), EComponentError) << "an item sits in one menu only";
}

TEST_F(MenuTest, FreeingAnItemTakesItAndItsItemsOutOfTheMenu) {
    HMENU options = Sub("Options1");
    UINT silverId = Item("Silver1")->Command();
    TComponent::Free(Item("Silver1"));
    EXPECT_EQ(Texts(options), (std::vector<std::string>{"&Blue", "Fonts\tShift+Ctrl+F"}));
    EXPECT_EQ(Menu()->FindItem(silverId, TFindItemKind::fkCommand), nullptr);

    TComponent::Free(Item("Options1"));
    EXPECT_EQ(form->FindComponent("Blue1"), nullptr) << "sub-items go with their item";
    EXPECT_EQ(Texts(Menu()->Handle()), (std::vector<std::string>{"&File"}));
    EXPECT_FALSE(IsMenu(options));
}

TEST_F(MenuTest, FindsItemsByCommandHandleAndShortCut) {
    EXPECT_EQ(Menu()->FindItem(Item("Exit1")->Command(), TFindItemKind::fkCommand), Item("Exit1"));
    EXPECT_EQ(Menu()->FindItem(reinterpret_cast<UINT_PTR>(Sub("Options1")), TFindItemKind::fkHandle), Item("Options1"));
    EXPECT_EQ(Menu()->FindItem(16463, TFindItemKind::fkShortCut), Item("Open1"));
    EXPECT_EQ(Menu()->FindItem(0, TFindItemKind::fkShortCut), nullptr) << "no shortcut matches nothing";
}

// ----------------------------------------------------------------- the window

TEST_F(MenuTest, BarChangesAreAnnouncedAndPutTheMenuBack) {
    int announced = 0;
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MENUCHANGED) ++announced;
        old(m);
    };
    Item("Open1")->SetCaption("Load");
    EXPECT_EQ(announced, 0) << "a drop-down change leaves the bar alone";
    Item("File1")->SetCaption("&Datei");
    EXPECT_EQ(announced, 1);

    // Something that took the menu off the window finds it back after a change.
    SetMenu(form->Handle(), nullptr);
    Item("Options1")->SetVisible(false);
    EXPECT_EQ(announced, 2);
    EXPECT_EQ(GetMenu(form->Handle()), Menu()->Handle());
    EXPECT_EQ(Texts(Menu()->Handle()), (std::vector<std::string>{"&Datei"}));
    form->WindowProc = old;
}

TEST_F(MenuTest, TheMenuOutlivesItsWindowAndComesBackWithANewOne) {
    HMENU bar = Menu()->Handle();
    form->DestroyHandle();
    EXPECT_TRUE(IsMenu(bar)) << "destroying a window destroys its menu unless taken off first";
    EXPECT_TRUE(IsMenu(Sub("File1")));
    EXPECT_EQ(GetMenu(form->Handle()), bar);
}

TEST(MainMenu, OutlivesAFormFreedBeforeIt) {
    std::unique_ptr<TMainMenu, ComponentFree> menu(new TMainMenu(nullptr));
    std::unique_ptr<TMenuItem, ComponentFree> item(new TMenuItem(nullptr));
    item->SetCaption("&File");
    menu->Items()->Add(item.release());  // the menu frees its items
    test::MenuFormPtr form(new test::TMenuTestForm(nullptr));
    form->SetMenu(menu.get());
    EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
    form.reset();
    EXPECT_TRUE(IsMenu(menu->Handle()));
    EXPECT_EQ(menu->WindowHandle(), nullptr);
    EXPECT_EQ(Texts(menu->Handle()), std::vector<std::string>{"&File"});
}

TEST_F(MenuTest, FreeingTheMenuTakesItOffTheForm) {
    HMENU bar = Menu()->Handle();
    TComponent::Free(Menu());
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_EQ(form->FindComponent("Open1"), nullptr) << "the items go with their menu";
}

TEST_F(MenuTest, FormSwitchesMenus) {
    auto* other = new TMainMenu(form.get());  // owned by the form
    auto* item = new TMenuItem(form.get());
    item->SetCaption("&Other");
    other->Items()->Add(item);
    form->SetMenu(other);
    EXPECT_EQ(GetMenu(form->Handle()), other->Handle());
    EXPECT_EQ(Menu()->WindowHandle(), nullptr);
    EXPECT_EQ(other->WindowHandle(), form->Handle());
    form->SetMenu(nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST_F(MenuTest, MenuCommandsReachTheItems) {
    auto command = [&](TMenuItem* item) {
        SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
    };
    command(Item("Open1"));
    ASSERT_EQ(form->opened.size(), 1u);
    EXPECT_EQ(form->opened[0], Item("Open1"));

    command(Item("Fonts1"));
    ASSERT_EQ(form->fonts.size(), 1u);
    EXPECT_EQ(form->fonts[0], form->Get<TAction>("ActionFont")) << "an item without OnClick runs its action";

    command(Item("File1"));  // neither handler nor action: nothing happens
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0xFFF0, 0), 0);
    EXPECT_EQ(form->opened.size(), 1u);
    EXPECT_EQ(form->fonts.size(), 1u);
}

// Chooses the first entry of an open drop-down with the keyboard, as a user
// would; ends any menu still open after two seconds.
VOID CALLBACK ChooseFirstEntry(HWND, UINT, UINT_PTR, DWORD) {
    static int ticks = 0;
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup != nullptr && IsWindowVisible(popup) && ticks >= 0) {
        PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
        ticks = -1000;
    }
    if (++ticks > 40) EndMenu();
}

TEST_F(MenuTest, ChoosingFromTheShownMenuRunsTheItem) {
    form->Show();
    test::PumpMessages();
    RECT r;
    GetWindowRect(form->Handle(), &r);
    UINT_PTR watchdog = SetTimer(nullptr, 0, 50, ChooseFirstEntry);
    TrackPopupMenu(Sub("File1"), TPM_LEFTALIGN, r.left + 20, r.top + 40, 0, form->Handle(), nullptr);
    KillTimer(nullptr, watchdog);
    EXPECT_TRUE(test::PumpUntil([&] { return !form->opened.empty(); }, std::chrono::seconds(2)));
    ASSERT_EQ(form->opened.size(), 1u);
    EXPECT_EQ(form->opened[0], Item("Open1"));
}

// ------------------------------------------------------------------ shortcuts

struct KeyCase {
    const char* name;
    WORD key;
    bool ctrl, shift;
    WORD takenByEvent;  // OnShortCut keeps this key
    size_t opened, fonts, hidden;
    bool dispatched;    // the key message still reaches the window
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class ShortCutKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ShortCutKeys, RunThroughTheApplicationsMessageLoop) {
    const KeyCase& c = GetParam();
    test::MenuFormPtr form = test::LoadMenuTestForm();
    form->takeKey = c.takenByEvent;
    int keyDowns = 0;
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_KEYDOWN) ++keyDowns;
        old(m);
    };
    test::PumpMessages();
    {
        test::HeldKeys held(c.ctrl, c.shift);
        PostMessageA(form->Handle(), WM_KEYDOWN, c.key, 1);
        Application->ProcessMessages();
    }
    EXPECT_EQ(form->shortCutKeys, std::vector<WORD>{c.key}) << "OnShortCut sees every key first";
    EXPECT_EQ(form->opened.size(), c.opened);
    EXPECT_EQ(form->fonts.size(), c.fonts);
    EXPECT_EQ(form->hidden.size(), c.hidden);
    EXPECT_EQ(keyDowns, c.dispatched ? 1 : 0);
    form->WindowProc = old;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortCutKeys,
    ::testing::Values(KeyCase{"CtrlOClicksOpen", 'O', true, false, 0, 1, 0, 0, false},
                      KeyCase{"PlainOIsJustAKey", 'O', false, false, 0, 0, 0, 0, true},
                      KeyCase{"ShiftCtrlOIsAnotherShortCut", 'O', true, true, 0, 0, 0, 0, true},
                      KeyCase{"OnShortCutKeepsTheKey", 'O', true, false, 'O', 0, 0, 0, false},
                      KeyCase{"ItemRunsItsAction", 'F', true, true, 0, 0, 1, 0, false},
                      KeyCase{"ActionOffTheMenuRunsFromItsList", 'H', true, false, 0, 0, 0, 1, false}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(MenuTest, DisabledItemsAndDisabledDropDownsIgnoreTheirShortCut) {
    auto press = [&] {
        test::HeldKeys held(true, false);
        PostMessageA(form->Handle(), WM_KEYDOWN, 'O', 1);
        Application->ProcessMessages();
    };
    Item("Open1")->SetEnabled(false);
    press();
    Item("Open1")->SetEnabled(true);
    Item("File1")->SetEnabled(false);
    press();
    EXPECT_TRUE(form->opened.empty());
    Item("File1")->SetEnabled(true);
    press();
    EXPECT_EQ(form->opened.size(), 1u);
}

TEST_F(MenuTest, ErrorInAShortCutHandlerIsShown) {
    std::vector<std::string> shown;
    auto saved = Application->OnShowException;
    Application->OnShowException = [&](const std::string& text) { shown.push_back(text); };
    Item("Open1")->OnClick = [](TObject*) { throw Exception("Cannot open"); };
    {
        test::HeldKeys held(true, false);
        PostMessageA(form->Handle(), WM_KEYDOWN, 'O', 1);
        Application->ProcessMessages();
    }
    Application->OnShowException = saved;
    EXPECT_EQ(shown, std::vector<std::string>{"Cannot open."});
}

// ------------------------------------------------------- description errors

struct BadMenu {
    const char* name;
    const char* replace;  // text of the test description to replace
    const char* with;
    const char* fragment;
};

void PrintTo(const BadMenu& c, std::ostream* os) { *os << c.name; }

class MenuDescriptionErrors : public ::testing::TestWithParam<BadMenu> {};

TEST_P(MenuDescriptionErrors, NameTheLine) {
    const BadMenu& c = GetParam();
    std::string text = test::kMenuTestDescription;
    size_t at = text.find(c.replace);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string(c.replace).size(), c.with);
    int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
    test::MenuFormPtr form(new test::TMenuTestForm(nullptr));
    try {
        LoadFormText(*form, text, "MenuTest.dfm");
        FAIL() << "no error";
    } catch (const EFormLoadError& e) {
        std::string msg = e.what();
        EXPECT_EQ(msg.rfind("MenuTest.dfm(" + std::to_string(line) + "): ", 0), 0u) << msg;
        EXPECT_NE(msg.find(c.fragment), std::string::npos) << msg;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MenuDescriptionErrors,
    ::testing::Values(
        BadMenu{"ActionInAMenu", "object N1: TMenuItem", "object N1: TAction", "cannot be an item of a menu"},
        BadMenu{"ItemInAnActionList", "object ActionHidden: TAction", "object ActionHidden: TMenuItem",
                "cannot be an action of a list"},
        BadMenu{"MenuThatIsNoMenu", "Menu = MainMenu1", "Menu = ActionList1", "is not a main menu"},
        BadMenu{"ActionThatIsNoAction", "Action = FileExit1", "Action = Open1", "is not an action"},
        BadMenu{"UnknownShortCutText", "ShortCut = 'Ctrl+H'", "ShortCut = 'Ctrl+Hat'", "'Ctrl+Hat' is not a shortcut"}),
    [](const ::testing::TestParamInfo<BadMenu>& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ owner drawing

TEST(PopupMenu, OwnerDrawReachesEveryEntryOfTheTreeAndLeavesAgain) {
    TPopupMenu menu(nullptr);
    auto add = [&menu](TMenuItem* holder, const char* caption) {
        auto* item = new TMenuItem(&menu);  // owned by the menu
        item->SetCaption(caption);
        holder->Add(item);
        return item;
    };
    TMenuItem* open = add(menu.Items(), "&Open");
    add(menu.Items(), "-");
    TMenuItem* more = add(menu.Items(), "More");
    TMenuItem* nested = add(more, "Nested");
    auto ownerDrawn = [](TMenuItem* item) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        EXPECT_TRUE(GetMenuItemInfoA(item->Parent()->Handle(), item->Command(), FALSE, &info));
        return (info.fType & MFT_OWNERDRAW) != 0;
    };
    const std::vector<TMenuItem*> all = {open, menu.Items()->Items(1), more, nested};
    for (TMenuItem* item : all) EXPECT_FALSE(ownerDrawn(item)) << item->Caption();

    menu.SetOwnerDraw(true);
    for (TMenuItem* item : all) EXPECT_TRUE(ownerDrawn(item)) << item->Caption();
    TMenuItem* late = add(nested->Parent(), "Late");
    EXPECT_TRUE(ownerDrawn(late));
    open->SetCaption("&Open...");
    EXPECT_TRUE(ownerDrawn(open)) << "an update keeps the owner drawing";

    menu.SetOwnerDraw(false);
    for (TMenuItem* item : all) EXPECT_FALSE(ownerDrawn(item)) << item->Caption();
    EXPECT_FALSE(ownerDrawn(late));
}

}  // namespace
}  // namespace pellix
