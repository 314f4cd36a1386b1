// The message chain of framework windows: a procedure put in front of the
// framework's sees every message first and can hand it on or keep it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

constexpr UINT kAnswer = WM_USER + 7;    // the framework side answers 42
constexpr UINT kSwallow = WM_USER + 8;   // the front procedure keeps it

struct Log {
    std::vector<std::pair<char, UINT>> entries;  // 'F'ront or 'W'indow object
    void Add(char who, UINT msg) { entries.emplace_back(who, msg); }
    int Count(char who, UINT msg) const {
        int n = 0;
        for (auto& e : entries) n += (e.first == who && e.second == msg);
        return n;
    }
};

class TProbeForm : public TForm {
public:
    using TForm::TForm;
    std::string ClassName() const override { return "TProbeForm"; }
    Log* log = nullptr;

protected:
    void Dispatch(TMessage& m) override {
        if (log != nullptr) log->Add('W', m.Msg);
        if (m.Msg == kAnswer) {
            m.Result = 42;
            return;
        }
        TForm::Dispatch(m);
    }
};

class TProbeChild : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<TMessage> reflected;
    int keyMenus = 0;  // WM_SYSCOMMAND SC_KEYMENU

protected:
    void Dispatch(TMessage& m) override {
        if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU) ++keyMenus;
        if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) {
            reflected.push_back(m);
            m.Result = 0x55;
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

Log* g_log = nullptr;
WNDPROC g_next = nullptr;

LRESULT CALLBACK FrontProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    g_log->Add('F', m);
    if (m == kSwallow) return 7;
    return CallWindowProcA(g_next, h, m, w, l);
}

class WindowProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(new TProbeForm(nullptr));
        form->log = &log;
        form->SetBounds(10, 10, 300, 200);
        form->HandleNeeded();
    }
    void TearDown() override {
        if (g_next != nullptr && form->HandleAllocated())
            SetWindowLongPtrA(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_next));
        g_next = nullptr;
        g_log = nullptr;
        form.reset();
        test::PumpMessages();
    }
    void PutFrontProcedure() {
        g_log = &log;
        g_next = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrontProc)));
    }

    Log log;
    std::unique_ptr<TProbeForm, ComponentFree> form;
};

TEST_F(WindowProcTest, FrameworkWindowHasItsClassNameAndObject) {
    char name[64];
    GetClassNameA(form->Handle(), name, sizeof(name));
    EXPECT_STREQ(name, "TProbeForm");
    EXPECT_EQ(TWinControl::FromHandle(form->Handle()), form.get());
}

TEST_F(WindowProcTest, FrontProcedureSeesEveryMessageFirstAndHandsItOn) {
    PutFrontProcedure();
    log.entries.clear();
    EXPECT_EQ(SendMessageA(form->Handle(), kAnswer, 0, 0), 42);
    SetWindowTextA(form->Handle(), "changed");
    PostMessageA(form->Handle(), WM_USER + 9, 0, 0);
    test::PumpMessages();

    for (UINT m : {kAnswer, static_cast<UINT>(WM_SETTEXT), static_cast<UINT>(WM_USER + 9)}) {
        EXPECT_EQ(log.Count('F', m), 1) << std::hex << m;
        EXPECT_EQ(log.Count('W', m), 1) << std::hex << m;
    }
    // Every message the framework saw came through the front procedure just before.
    for (size_t i = 0; i < log.entries.size(); ++i) {
        if (log.entries[i].first != 'W') continue;
        ASSERT_GT(i, 0u);
        EXPECT_EQ(log.entries[i - 1], std::make_pair('F', log.entries[i].second));
    }
    char text[32];
    GetWindowTextA(form->Handle(), text, sizeof(text));
    EXPECT_STREQ(text, "changed");
}

TEST_F(WindowProcTest, FrontProcedureCanKeepAMessage) {
    PutFrontProcedure();
    EXPECT_EQ(SendMessageA(form->Handle(), kSwallow, 0, 0), 7);
    EXPECT_EQ(log.Count('F', kSwallow), 1);
    EXPECT_EQ(log.Count('W', kSwallow), 0);
}

TEST_F(WindowProcTest, ReplacedWindowProcRunsBeforeTheObjectsOwn) {
    TWndMethod old = form->WindowProc;
    std::vector<UINT> seen;
    form->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == kAnswer) log.Add('S', m.Msg);
        old(m);
    };
    EXPECT_EQ(SendMessageA(form->Handle(), kAnswer, 0, 0), 42);
    EXPECT_EQ(form->Perform(kAnswer, 0, 0), 42);
    EXPECT_EQ(log.Count('S', kAnswer), 2);
    EXPECT_EQ(log.Count('W', kAnswer), 2);
    form->WindowProc = old;
}

TEST_F(WindowProcTest, ParentHandsNotificationsBackToTheChild) {
    auto* child = new TProbeChild(form.get());  // owned by the form
    child->SetParent(form.get());
    child->SetBounds(5, 5, 50, 20);
    HWND ch = child->Handle();
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(GetParent(ch), form->Handle());

    LRESULT r = SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), reinterpret_cast<LPARAM>(ch));
    NMHDR hdr{ch, 3, static_cast<UINT>(NM_CLICK)};
    SendMessageA(form->Handle(), WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&hdr));
    ASSERT_EQ(child->reflected.size(), 2u);
    EXPECT_EQ(r, 0x55);
    EXPECT_EQ(child->reflected[0].Msg, CN_COMMAND);
    EXPECT_EQ(HIWORD(child->reflected[0].WParam), BN_CLICKED);
    EXPECT_EQ(child->reflected[1].Msg, CN_NOTIFY);
    EXPECT_EQ(reinterpret_cast<NMHDR*>(child->reflected[1].LParam)->code, static_cast<UINT>(NM_CLICK));
}

TEST_F(WindowProcTest, MenuItemDrawingIsNotHandedToAChildWhoseHandleMatchesTheMenu) {
    auto* child = new TProbeChild(form.get());  // owned by the form
    child->SetParent(form.get());
    child->SetBounds(5, 5, 50, 20);
    HWND ch = child->Handle();
    DRAWITEMSTRUCT item{};
    item.hwndItem = ch;
    item.CtlType = ODT_BUTTON;
    SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    ASSERT_EQ(child->reflected.size(), 1u) << "a control's item goes back to the control";
    EXPECT_EQ(child->reflected[0].Msg, CN_DRAWITEM);

    // For a menu item hwndItem holds a menu handle, whatever its value.
    item.CtlType = ODT_MENU;
    SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(child->reflected.size(), 1u);
}

// Alt+letter reaches the form as CM_DIALOGCHAR from whichever control has it;
// a form that answers keeps it from the platform's menu keys.
TEST_F(WindowProcTest, SystemCharacterIsOfferedToTheFormFirst) {
    auto* child = new TProbeChild(form.get());  // owned by the form
    child->SetParent(form.get());
    child->SetBounds(5, 5, 50, 20);
    std::vector<WPARAM> offered;
    int keyMenus = 0;
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_DIALOGCHAR) {
            offered.push_back(m.WParam);
            m.Result = m.WParam == 'f' ? 1 : 0;
            return;
        }
        if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU) ++keyMenus;
        old(m);
    };
    const LPARAM altDown = LPARAM{1} << 29;
    for (HWND target : {child->Handle(), form->Handle()}) {
        SCOPED_TRACE(target == form->Handle() ? "form" : "child");
        offered.clear();
        keyMenus = child->keyMenus = 0;
        SendMessageA(target, WM_SYSCHAR, 'f', altDown);
        EXPECT_EQ(offered, (std::vector<WPARAM>{'f'}));
        EXPECT_EQ(keyMenus + child->keyMenus, 0) << "an answered character goes no further";
        SendMessageA(target, WM_SYSCHAR, 'g', altDown);
        EXPECT_EQ(offered, (std::vector<WPARAM>{'f', 'g'}));
        EXPECT_EQ(keyMenus + child->keyMenus, 1) << "the platform's menu key handling gets the rest";
    }
    form->WindowProc = old;
}

// Whatever watches a form's window go may still reach into the whole form.
TEST_F(WindowProcTest, FreedFormHandlesTheEndOfItsWindowAsItsOwnClass) {
    const HWND window = form->Handle();
    form.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(log.Count('W', WM_DESTROY), 1);
    EXPECT_EQ(log.Count('W', WM_NCDESTROY), 1);
}

TEST_F(WindowProcTest, ErrorInAHandlerReachesTheApplicationNotTheSystem) {
    std::string shown;
    Application->OnShowException = [&](const std::string& text) { shown = text; };
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == kAnswer) throw Exception("Handler failed");
        old(m);
    };
    SendMessageA(form->Handle(), kAnswer, 0, 0);
    form->WindowProc = old;
    Application->OnShowException = nullptr;
    EXPECT_EQ(shown, "Handler failed.");
}


// Set when the procedure's captured state is freed; read by the procedure
// only through these, never through its captures, once it has replaced itself.
bool g_captureGone = false;
bool g_goneWhileRunning = false;
TWndMethod g_previous;

struct Capture {
    ~Capture() { g_captureGone = true; }
};

TEST_F(WindowProcTest, AProcedureMayPutThePreviousOneBackWhileItRuns) {
    // Through the window and through Perform.
    for (bool viaPerform : {false, true}) {
        SCOPED_TRACE(viaPerform ? "Perform" : "SendMessage");
        g_captureGone = g_goneWhileRunning = false;
        g_previous = form->WindowProc;
        {
            auto capture = std::make_shared<Capture>();
            form->WindowProc = [capture, this](TMessage& m) {
                if (m.Msg != kAnswer) return g_previous(m);
                form->WindowProc = g_previous;  // the last reference to this procedure goes
                g_goneWhileRunning = g_captureGone;
                g_previous(m);
            };
        }
        EXPECT_FALSE(g_captureGone);
        LRESULT r = viaPerform ? form->Perform(kAnswer, 0, 0) : SendMessageA(form->Handle(), kAnswer, 0, 0);
        EXPECT_EQ(r, 42);
        EXPECT_FALSE(g_goneWhileRunning) << "the running procedure was freed under it";
        EXPECT_TRUE(g_captureGone) << "freed once it returned";
        EXPECT_EQ(form->Perform(kAnswer, 0, 0), 42);
    }
    g_previous = nullptr;
}

// The mouse entering and leaving a windowed control, with real cursor moves.
TEST_F(WindowProcTest, MouseEnterAndLeaveReachAProcedureInFront) {
    auto* button = new TButton(form.get());  // owned by the form
    button->SetParent(form.get());
    button->SetBounds(20, 20, 100, 40);
    form->Show();
    test::PumpMessages();

    std::vector<UINT> seen;
    TWndMethod old = button->WindowProc;
    button->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE || m.Msg == WM_MOUSEMOVE) seen.push_back(m.Msg);
        old(m);
    };
    auto count = [&](UINT msg) { return std::count(seen.begin(), seen.end(), msg); };
    RECT r;
    GetWindowRect(button->Handle(), &r);
    RECT f;
    GetWindowRect(form->Handle(), &f);
    SetCursorPos(f.right + 50, f.bottom + 50);
    test::PumpMessages();
    seen.clear();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        SetCursorPos(r.left + 10, r.top + 10);
        ASSERT_TRUE(test::PumpUntil([&] { return count(CM_MOUSEENTER) == round + 1; }));
        const auto moves = count(WM_MOUSEMOVE);
        SetCursorPos(r.left + 20, r.top + 15);
        ASSERT_TRUE(test::PumpUntil([&] { return count(WM_MOUSEMOVE) > moves; }));
        EXPECT_EQ(count(CM_MOUSEENTER), round + 1) << "once per visit";
        EXPECT_EQ(count(CM_MOUSELEAVE), round);

        // Leaving is noticed by a poll; the wait allows for it.
        SetCursorPos(f.right + 50, f.bottom + 50);
        ASSERT_TRUE(test::PumpUntil([&] { return count(CM_MOUSELEAVE) == round + 1; }, std::chrono::seconds(3)));
        EXPECT_EQ(seen.back(), CM_MOUSELEAVE);
    }
    // The enter comes after the move that brought the mouse in.
    auto firstEnter = std::find(seen.begin(), seen.end(), CM_MOUSEENTER);
    ASSERT_NE(firstEnter, seen.begin());
    EXPECT_EQ(*(firstEnter - 1), static_cast<UINT>(WM_MOUSEMOVE));
    button->WindowProc = old;
}

}  // namespace
}  // namespace pellix

namespace pellix {
namespace {

// A windowless control's paint and mouse messages come from its parent
// through its WindowProc, in its own coordinates.
TEST_F(WindowProcTest, AWindowlessControlsPaintAndMouseReachItsWindowProc) {
    auto* graphic = new TGraphicControl(form.get());  // owned by the form
    graphic->SetParent(form.get());
    graphic->SetBounds(50, 40, 60, 30);
    form->Show();
    struct Seen {
        UINT msg;
        POINT at;  // the mouse point, or the paint context's origin
    };
    std::vector<Seen> seen;
    TWndMethod own = graphic->WindowProc;
    graphic->WindowProc = [&](TMessage& m) {
        POINT at{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        if (m.Msg == WM_PAINT) GetViewportOrgEx(reinterpret_cast<HDC>(m.WParam), &at);
        seen.push_back({m.Msg, at});
        own(m);
    };
    auto send = [&](UINT msg, int x, int y) {
        seen.clear();
        SendMessageA(form->Handle(), msg, 0, MAKELPARAM(x, y));
    };
    auto only = [&](UINT msg) { return seen.size() == 1 && seen[0].msg == msg; };

    seen.clear();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().msg, static_cast<UINT>(WM_PAINT));
    EXPECT_EQ(seen.back().at.x, 50);
    EXPECT_EQ(seen.back().at.y, 40);

    send(WM_MOUSEMOVE, 60, 50);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].msg, static_cast<UINT>(CM_MOUSEENTER));
    EXPECT_EQ(seen[1].msg, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(seen[1].at.x, 10);
    send(WM_MOUSEMOVE, 70, 55);
    EXPECT_TRUE(only(WM_MOUSEMOVE)) << "entered once";

    // A press holds the mouse for the control until the release.
    send(WM_LBUTTONDOWN, 61, 52);
    ASSERT_TRUE(only(WM_LBUTTONDOWN));
    EXPECT_EQ(seen[0].at.x, 11);
    EXPECT_EQ(seen[0].at.y, 12);
    EXPECT_EQ(GetCapture(), form->Handle());
    send(WM_LBUTTONUP, 200, 150);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().msg, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(seen.back().at.x, 150);
    EXPECT_EQ(GetCapture(), nullptr);

    send(WM_MOUSEMOVE, 200, 150);
    EXPECT_TRUE(only(CM_MOUSELEAVE)) << "the mouse left it";
    send(WM_LBUTTONDOWN, 200, 150);
    EXPECT_TRUE(seen.empty()) << "a press beside it is the form's";
    graphic->SetEnabled(false);
    send(WM_LBUTTONDOWN, 60, 50);
    EXPECT_TRUE(seen.empty()) << "a disabled control gets no mouse";
    graphic->WindowProc = own;
}

}  // namespace
}  // namespace pellix
