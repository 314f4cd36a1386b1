// Standard controls through the behaviour the program relies on: spin edits
// reading and correcting numbers, folder lists that make their folder
// current, list and memo lines mirrored into their windows, and hints.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <utility>

#include "framework/Buttons.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/FileCtrl.h"
#include "framework/Grids.h"
#include "framework/Forms.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

class StdCtrlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr));
        form->SetBounds(20, 20, 400, 300);
        form->Show();
    }
    void TearDown() override {
        form.reset();
        test::PumpMessages();
    }
    template <class T>
    T* Add(int left, int top, int width, int height) {
        auto* c = new T(form.get());  // owned by the form
        c->SetParent(form.get());
        c->SetBounds(left, top, width, height);
        return c;
    }
    std::unique_ptr<TForm, ComponentFree> form;
};

struct SpinCase {
    const char* text;
    int value;      // what the program reads
    const char* afterLeaving;
};

void PrintTo(const SpinCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class SpinEditValues : public StdCtrlsTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(SpinEditValues, ReadAsNumbersAndCorrectedWhenLeft) {
    const SpinCase& c = GetParam();
    auto* spin = Add<TSpinEdit>(10, 10, 80, 22);
    spin->MinValue = 10;
    spin->MaxValue = 100;
    auto* other = Add<TEdit>(10, 50, 80, 22);
    spin->SetFocus();
    SetWindowTextA(spin->Handle(), c.text);
    EXPECT_EQ(spin->Value(), c.value);
    other->SetFocus();
    test::PumpMessages();
    EXPECT_EQ(spin->Text(), c.afterLeaving);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpinEditValues,
                         ::testing::Values(SpinCase{"50", 50, "50"}, SpinCase{"abc", 10, "10"}, SpinCase{"", 10, "10"},
                                           SpinCase{"1000", 1000, "100"}, SpinCase{"-5", -5, "10"},
                                           SpinCase{"99999999999", 10, "10"}));

TEST_F(StdCtrlsTest, SpinEditArrowsStepByTheIncrementWithinTheLimits) {
    auto* spin = Add<TSpinEdit>(10, 10, 80, 22);
    spin->MinValue = 10;
    spin->MaxValue = 100;
    spin->Increment = 10;
    spin->SetValue(90);
    spin->SetFocus();
    SendMessageA(spin->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(spin->Value(), 100);
    SendMessageA(spin->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(spin->Value(), 100);
    SendMessageA(spin->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(spin->Value(), 90);
    spin->SetValue(3);
    EXPECT_EQ(spin->Text(), "10");
}

TEST_F(StdCtrlsTest, SpinEditArrowsAreEnabledWithTheEdit) {
    auto arrowsOf = [](TSpinEdit* spin) { return FindWindowExA(spin->Handle(), nullptr, UPDOWN_CLASSA, nullptr); };
    auto* spin = Add<TSpinEdit>(10, 10, 80, 22);
    ASSERT_NE(arrowsOf(spin), nullptr);
    EXPECT_TRUE(IsWindowEnabled(arrowsOf(spin)));
    spin->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(spin->Handle()));
    EXPECT_FALSE(IsWindowEnabled(arrowsOf(spin)));
    spin->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(arrowsOf(spin)));

    auto* disabled = new TSpinEdit(form.get());  // owned by the form
    disabled->SetEnabled(false);
    disabled->SetParent(form.get());
    disabled->SetBounds(10, 50, 80, 22);
    EXPECT_FALSE(IsWindowEnabled(arrowsOf(disabled))) << "made disabled with a disabled edit";
}

TEST_F(StdCtrlsTest, DirectoryListMakesItsFolderCurrentAndReportsOnlyChanges) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "pellix-dirlist";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root + "\\b");
    std::filesystem::create_directories(root + "\\a");
    SetCurrentDirectoryA(root.c_str());
    char full[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, full);
    const std::string start = full;

    auto* list = Add<TDirectoryListBox>(10, 10, 150, 150);
    auto* drives = Add<TDriveComboBox>(170, 10, 100, 22);
    drives->SetDirList(list);
    int changes = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(list->Directory(), start);

    SetCurrentDirectoryA(temp);
    list->SetDirectory(start);  // its own folder: nothing happens
    EXPECT_EQ(changes, 0);

    list->SetDirectory(start + "\\a\\");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list->Directory(), start + "\\a");
    GetCurrentDirectoryA(MAX_PATH, full);
    EXPECT_EQ(std::string(full), start + "\\a");
    // The rows run from the drive down to the folder; the folder is selected.
    int count = list->Items().Count();
    EXPECT_EQ(list->GetItemPath(0), start.substr(0, 3));
    EXPECT_EQ(list->GetItemPath(count - 1), start + "\\a");
    EXPECT_EQ(list->ItemIndex(), count - 1);
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), count);

    list->SetDirectory("..\\b");  // relative to the list's folder
    EXPECT_EQ(list->Directory(), start + "\\b");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(drives->Drive(), static_cast<char>(std::tolower(start[0])));

    EXPECT_THROW(list->SetDirectory(start + "\\missing"), EInOutError);
    EXPECT_EQ(list->Directory(), start + "\\b");
    EXPECT_EQ(changes, 2);

    SetCurrentDirectoryA(temp);
    std::filesystem::remove_all(root);
}

TEST_F(StdCtrlsTest, ListAndMemoLinesReachTheirWindows) {
    auto* list = Add<TListBox>(10, 10, 100, 100);
    list->Items().Add("one");
    list->Items().Add("two");
    list->Items().Delete(0);
    list->Items().Add("three");
    ASSERT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 2);
    char text[32];
    SendMessageA(list->Handle(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "three");

    auto* memo = Add<TMemo>(120, 10, 200, 100);
    memo->Lines().Add("<HTML>");
    memo->Lines().Add("<BODY>");
    char window[64];
    GetWindowTextA(memo->Handle(), window, sizeof(window));
    EXPECT_STREQ(window, "<HTML>\r\n<BODY>");
    // What the user types is what the lines hold.
    SetWindowTextA(memo->Handle(), "a\r\nb\r\nc");
    EXPECT_EQ(memo->Lines().Count(), 3);
    EXPECT_EQ(memo->Lines().Get(2), "c");
    EXPECT_EQ(memo->Lines().Text(), "a\r\nb\r\nc\r\n");
}

TEST_F(StdCtrlsTest, CheckBoxRunsOnClickWhenItsStateChanges) {
    auto* box = Add<TCheckBox>(10, 10, 100, 17);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetChecked(true);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(StdCtrlsTest, CheckingARadioButtonUnchecksItsSiblingsAndAGroupFollowsClicks) {
    auto* a = Add<TRadioButton>(10, 10, 100, 17);
    auto* b = Add<TRadioButton>(10, 30, 100, 17);
    a->SetChecked(true);
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(SendMessageA(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    auto* group = Add<TRadioGroup>(150, 10, 150, 100);
    group->Items().Add("One");
    group->Items().Add("Two");
    group->SetItemIndex(0);
    ASSERT_EQ(group->ControlCount(), 2);
    auto* second = dynamic_cast<TRadioButton*>(group->Controls(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Caption(), "Two");
    EXPECT_EQ(second->Owner(), group);
    SendMessageA(second->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_FALSE(dynamic_cast<TRadioButton*>(group->Controls(0))->Checked());
}

// The control walk chooses skins by these bases; the names seen from outside stay.
TEST_F(StdCtrlsTest, ControlsDescendFromTheBasesTheirSkinsAreChosenBy) {
    auto* check = Add<TCheckBox>(10, 10, 100, 17);
    auto* drives = Add<TDriveComboBox>(10, 40, 120, 21);
    auto* combo = Add<TComboBox>(10, 70, 120, 21);
    auto* panel = Add<TPanel>(150, 10, 100, 40);
    auto* group = Add<TGroupBox>(150, 60, 100, 40);
    auto* radios = Add<TRadioGroup>(150, 110, 100, 60);
    auto* memo = Add<TMemo>(260, 10, 100, 40);
    auto* list = Add<TListBox>(260, 60, 100, 40);
    auto* folders = Add<TDirectoryListBox>(260, 110, 100, 60);
    EXPECT_NE(dynamic_cast<TCustomCheckBox*>(check), nullptr);
    EXPECT_NE(dynamic_cast<TCustomMemo*>(memo), nullptr);
    EXPECT_NE(dynamic_cast<TCustomListBox*>(list), nullptr);
    EXPECT_NE(dynamic_cast<TCustomListBox*>(folders), nullptr);
    EXPECT_NE(dynamic_cast<TCustomComboBox*>(drives), nullptr);
    EXPECT_NE(dynamic_cast<TCustomComboBox*>(combo), nullptr);
    EXPECT_NE(dynamic_cast<TCustomPanel*>(panel), nullptr);
    EXPECT_NE(dynamic_cast<TCustomGroupBox*>(group), nullptr);
    EXPECT_NE(dynamic_cast<TCustomGroupBox*>(radios), nullptr);
    const std::pair<TControl*, const char*> names[] = {{check, "TCheckBox"}, {drives, "TDriveComboBox"},
                                                       {combo, "TComboBox"}, {panel, "TPanel"},
                                                       {group, "TGroupBox"}, {radios, "TRadioGroup"},
                                                       {memo, "TMemo"},      {list, "TListBox"}};
    for (const auto& [control, name] : names) {
        EXPECT_EQ(control->ClassName(), name);
        char windowClass[64];
        GetClassNameA(dynamic_cast<TWinControl*>(control)->Handle(), windowClass, sizeof(windowClass));
        EXPECT_STREQ(windowClass, name);
    }
}

TEST(ControlWindows, AControlsWindowAskedForBeforeItsFormsIsMadeOnce) {
    std::unique_ptr<TForm, ComponentFree> form(new TForm(nullptr));
    form->SetBounds(20, 20, 300, 200);
    auto* edit = new TEdit(form.get());  // owned by the form
    edit->SetParent(form.get());
    auto* list = new TListBox(form.get());  // owned by the form
    list->SetParent(form.get());
    list->Items().Add("Only once");
    ASSERT_FALSE(form->HandleAllocated());
    HWND made = edit->Handle();
    EXPECT_EQ(GetParent(made), form->Handle());
    // A second window of a control would be painted through the other
    // one, and so ask to be painted forever.
    int windows = 0;
    for (HWND child = GetTopWindow(form->Handle()); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        ++windows;
        ASSERT_NE(TWinControl::FromHandle(child), nullptr);
        EXPECT_EQ(TWinControl::FromHandle(child)->Handle(), child);
    }
    EXPECT_EQ(windows, 2);
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 1);
}

TEST_F(StdCtrlsTest, AFlatToolBarChangesItsLiveWindow) {
    auto* bar = Add<TToolBar>(10, 10, 200, 29);
    auto style = [&] { return GetWindowLongPtrA(bar->Handle(), GWL_STYLE); };
    EXPECT_EQ(style() & TBSTYLE_FLAT, 0);
    bar->SetFlat(true);
    EXPECT_EQ(style() & TBSTYLE_FLAT, TBSTYLE_FLAT);
    bar->SetFlat(false);
    EXPECT_EQ(style() & TBSTYLE_FLAT, 0);
    char windowClass[64];
    GetClassNameA(bar->Handle(), windowClass, sizeof(windowClass));
    EXPECT_STREQ(windowClass, "TToolBar");
}

TEST_F(StdCtrlsTest, AGridShowsItsFixedRowAndColumnInTheirColour) {
    auto* grid = Add<TCustomGrid>(10, 10, 300, 150);
    grid->SetColor(RGB(255, 255, 255));
    grid->SetFixedColor(RGB(10, 200, 30));
    grid->Repaint();
    test::PumpMessages();
    auto pixel = [&](int x, int y) {
        HDC dc = GetDC(grid->Handle());
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(grid->Handle(), dc);
        return c;
    };
    EXPECT_EQ(pixel(grid->DefaultColWidth + 5, 3), RGB(10, 200, 30)) << "fixed row";
    EXPECT_EQ(pixel(3, grid->DefaultRowHeight + 5), RGB(10, 200, 30)) << "fixed column";
    EXPECT_EQ(pixel(grid->DefaultColWidth + 5, grid->DefaultRowHeight + 5), RGB(255, 255, 255));
    grid->SetFixedColor(RGB(90, 10, 10));
    grid->Repaint();
    test::PumpMessages();
    EXPECT_EQ(pixel(3, 3), RGB(90, 10, 10));
    const auto style = GetWindowLongPtrA(grid->Handle(), GWL_STYLE);
    EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
}

TEST_F(StdCtrlsTest, AComboBoxShowsItsStyleItemsAndText) {
    auto* list = new TComboBox(form.get());  // owned by the form
    list->Style = TComboBoxStyle::csDropDownList;
    list->Items().Add("First");
    list->Items().Add("Second");
    list->SetItemIndex(1);
    list->SetParent(form.get());
    auto* drop = new TComboBox(form.get());  // owned by the form
    drop->SetTextValue("Typed");
    drop->SetParent(form.get());
    EXPECT_EQ(GetWindowLongA(list->Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessageA(list->Handle(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(list->ItemIndex(), 1);
    list->Items().Add("Third");
    EXPECT_EQ(SendMessageA(list->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(GetWindowLongA(drop->Handle(), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_EQ(drop->Text(), "Typed");
}

TEST_F(StdCtrlsTest, AnEditsBorderSettingsMakeItsFrame) {
    struct Case {
        TBorderStyle border;
        bool ctl3d;
        bool clientEdge, singleLine;
    };
    const Case cases[] = {{TBorderStyle::bsSingle, true, true, false},
                          {TBorderStyle::bsSingle, false, false, true},
                          {TBorderStyle::bsNone, true, false, false}};
    for (const Case& c : cases) {
        auto* edit = new TEdit(form.get());  // owned by the form
        edit->BorderStyle = c.border;
        edit->Ctl3D = c.ctl3d;
        edit->SetParent(form.get());
        EXPECT_EQ((GetWindowLongA(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, c.clientEdge);
        EXPECT_EQ(edit->HasSingleLineBorder(), c.singleLine);
    }
}

TEST_F(StdCtrlsTest, AStatusBarHandsItsPanelsToItsWindowAndRemakesItForTheGrip) {
    auto* bar = new TStatusBar(form.get());  // owned by the form
    for (const char* text : {"One", "Two", "Three"}) {
        TStatusPanel* panel = bar->Panels()->Add();
        panel->SetText(text);
        panel->SetWidth(80);
    }
    bar->Panels()->Items(1)->SetAlignment(TAlignment::taCenter);
    bar->SetParent(form.get());
    int rights[4] = {};
    EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(rights)), 3);
    EXPECT_EQ(rights[0], 80);
    EXPECT_EQ(rights[1], 160);
    EXPECT_EQ(rights[2], -1) << "the last one to the edge";
    char text[32] = "";
    SendMessageA(bar->Handle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "\tTwo") << "centred by the system's own rule";
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(bar->Top() + bar->Height(), client.bottom) << "docked at the bottom";
    EXPECT_NE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP, 0);
    bar->SetSizeGrip(false);
    EXPECT_EQ(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP, 0);
    EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 3) << "the new window has the panels too";
}

TEST_F(StdCtrlsTest, HintsShowTheirShortPartWhereShowHintHolds) {
    auto* shown = new TButton(form.get());  // owned by the form
    shown->SetHint("Open|Opens an existing file");
    shown->ShowHint = true;
    shown->ParentShowHint = false;
    shown->SetParent(form.get());
    auto* silent = new TButton(form.get());  // follows the form, which shows no hints
    silent->SetHint("Never shown");
    silent->SetParent(form.get());
    silent->SetBounds(100, 0, 75, 25);

    HWND tips = static_cast<HWND>(GetPropA(form->Handle(), "PellixHints"));
    ASSERT_NE(tips, nullptr);
    ASSERT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.lpszText = text;
    ASSERT_TRUE(SendMessageA(tips, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(reinterpret_cast<HWND>(ti.uId), shown->Handle());
    EXPECT_STREQ(text, "Open");
}

TEST_F(StdCtrlsTest, TabMovesThroughTheTabStopsAndShiftTabBack) {
    auto* first = Add<TEdit>(10, 10, 80, 22);
    auto* skipped = Add<TEdit>(10, 40, 80, 22);
    skipped->TabStop = false;
    SetWindowLongA(skipped->Handle(), GWL_STYLE, GetWindowLongA(skipped->Handle(), GWL_STYLE) & ~WS_TABSTOP);
    auto* last = Add<TButton>(10, 70, 80, 25);
    SetForegroundWindow(form->Handle());
    first->SetFocus();
    auto press = [](BYTE shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift;
        SetKeyboardState(keys);
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        Application->ProcessMessages();
    };
    press(0);
    EXPECT_EQ(GetFocus(), last->Handle());
    press(0x80);
    EXPECT_EQ(GetFocus(), first->Handle());
    press(0);
}

}  // namespace
}  // namespace pellix
