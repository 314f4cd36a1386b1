// The control-skin base on real windows: a raw "BUTTON", a raw "EDIT" and a
// framework button, each with a recording procedure behind the skin. The log
// shows which stage saw each message: B (BeforeMessage), O (the control's own
// procedure), A (AfterMessage) and D (DrawControl, with the skin's text).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/WinSkinData.h"
#include "skin/WinSubClass.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

constexpr UINT kBlocked = WM_USER + 5;  // the skin keeps it, answering 77
constexpr UINT kPassed = WM_USER + 6;   // the control's own procedure answers 66
constexpr TColor kFace = 0x2040A0;

struct Entry {
    char who;
    UINT msg;
    std::string text = {};  // the skin's Text, for D
    bool operator==(const Entry& o) const { return who == o.who && msg == o.msg; }
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
    os << e.who << ':' << std::hex << e.msg << std::dec;
    if (e.who == 'D') os << "\"" << e.text << "\"";
    return os;
}

// Messages whose stages are recorded; everything else would only add noise.
bool Recorded(UINT msg) {
    static const std::set<UINT> kinds = {WM_APP, kBlocked, kPassed, WM_SETTEXT, WM_SETFOCUS, WM_KILLFOCUS,
                                         WM_ENABLE, CM_ENABLEDCHANGED, WM_PAINT, WM_NCDESTROY, CM_MOUSELEAVE};
    return kinds.count(msg) != 0;
}

std::vector<Entry>* g_log = nullptr;

void Record(char who, UINT msg, const std::string& text = {}) {
    if (g_log != nullptr && (who == 'D' || Recorded(msg))) g_log->push_back({who, msg, text});
}

// The procedure behind the skin on a raw window: records, answers kPassed,
// hands the rest to the window class's own.
std::map<HWND, WNDPROC> g_classProcs;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Record('O', msg);
    if (msg == kPassed) return 66;
    return CallWindowProcA(g_classProcs.at(hwnd), hwnd, msg, wParam, lParam);
}

class TRecordingSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool paintsItself = false;  // takes WM_PAINT over, as push buttons do
    bool throwInDraw = false;
    std::vector<HDC> drawDcs;
    std::vector<RECT> drawRects;

    bool BeforeMessage(TMessage& m) override {
        Record('B', m.Msg);
        if (m.Msg == kBlocked) {
            m.Result = 77;
            return false;
        }
        if (m.Msg == WM_PAINT && paintsItself) {
            HandlePaintMessage(m);
            return false;
        }
        return true;
    }
    void AfterMessage(TMessage& m) override {
        Record('A', m.Msg);
        TSkinControl::AfterMessage(m);
    }
    void DrawControl(HDC dc, const RECT& rect) override {
        Record('D', 0, Text);
        drawDcs.push_back(dc);
        drawRects.push_back(rect);
        if (throwInDraw) throw Exception("Drawing failed");
        FillFace(dc, rect);
    }
};

class TTestHost : public TComponent, public TSkinControlHost {
public:
    TTestHost() : TComponent(nullptr) {}
    bool tearingDown = false;
    bool TearingDown() const override { return tearingDown; }
};

enum class Target { RawButton, RawEdit, FrameworkButton };

class SkinControlBase : public ::testing::Test {
protected:
    void SetUp() override {
        g_log = &log;
        form.reset(new TForm(nullptr));
        form->SetBounds(40, 40, 300, 200);
        form->Show();
        skinData.reset(new TSkinData(nullptr));
        skinData->ButtonFaceColour = kFace;
        host = std::make_unique<TTestHost>();
        skin = new TRecordingSkin(host.get());  // owned by the host
    }
    void TearDown() override {
        if (host) host->DropControlSkins();
        host.reset();
        form.reset();
        for (HWND h : raws) DestroyWindow(h);
        test::PumpMessages();
        g_classProcs.clear();
        g_log = nullptr;
        Application->OnShowException = nullptr;
    }

    // A control of the kind with the recording procedure behind it.
    HWND MakeControl(Target target) {
        if (target == Target::FrameworkButton) {
            button = new TButton(form.get());  // owned by the form
            button->SetParent(form.get());
            button->SetBounds(20, 20, 100, 30);
            button->SetCaption("Button");
            TWndMethod own = button->WindowProc;
            button->WindowProc = [own](TMessage& m) {
                Record('O', m.Msg);
                if (m.Msg == kPassed) {
                    m.Result = 66;
                    return;
                }
                own(m);
            };
            return button->Handle();
        }
        const char* cls = target == Target::RawButton ? "BUTTON" : "EDIT";
        HWND h = CreateWindowExA(0, cls, "Raw", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 20, 100, 30, form->Handle(),
                                 reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
        raws.push_back(h);
        g_classProcs[h] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
        return h;
    }

    // Makes the control and attaches the skin as the control walk would.
    HWND Attach(Target target, bool setFaceColour = false) {
        HWND h = MakeControl(target);
        if (target == Target::FrameworkButton) {
            skin->AttachControl(button, skinData.get(), setFaceColour, &host->ControlCanvas);
        } else {
            skin->AttachHandle(h, skinData.get(), &host->ControlCanvas);
            host->ControlSkins.push_back(skin);
        }
        test::PumpMessages();
        log.clear();
        return h;
    }

    // The entries that concern msg, and the drawings. Drawings while the
    // control's own procedure handles msg are left out: some controls paint
    // at once there, and that is theirs, not the skin's.
    std::vector<Entry> About(UINT msg) const {
        std::vector<Entry> out;
        bool inOwn = false;
        for (const Entry& e : log) {
            if (e.msg == msg && e.who != 'D') {
                out.push_back(e);
                inOwn = e.who == 'O';
            } else if (e.who == 'D' && !inOwn) {
                out.push_back(e);
            }
        }
        return out;
    }

    std::vector<Entry> log;
    std::unique_ptr<TForm, ComponentFree> form;
    std::unique_ptr<TSkinData, ComponentFree> skinData;
    std::unique_ptr<TTestHost> host;
    TRecordingSkin* skin = nullptr;
    TButton* button = nullptr;
    std::vector<HWND> raws;
};

class SkinControlTest : public SkinControlBase, public ::testing::WithParamInterface<Target> {};

std::string TargetName(const ::testing::TestParamInfo<Target>& info) {
    switch (info.param) {
    case Target::RawButton: return "RawButton";
    case Target::RawEdit: return "RawEdit";
    default: return "FrameworkButton";
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, SkinControlTest,
                         ::testing::Values(Target::RawButton, Target::RawEdit, Target::FrameworkButton), TargetName);

struct MessageCase {
    const char* what;
    UINT msg;
    std::function<LRESULT(HWND)> action;
    std::vector<Entry> expected;  // About(msg)
    LRESULT result;               // of the action, when it returns one
    const char* textAfter;        // the skin's Text afterwards; null: not checked
};

TEST_P(SkinControlTest, MessagesPassTheThreeStagesOrAreKeptByTheSkin) {
    const std::vector<MessageCase> cases = {
        {"kept", kBlocked, [](HWND h) { return SendMessageA(h, kBlocked, 0, 0); }, {{'B', kBlocked}}, 77, nullptr},
        {"passed", kPassed, [](HWND h) { return SendMessageA(h, kPassed, 0, 0); },
         {{'B', kPassed}, {'O', kPassed}, {'A', kPassed}}, 66, nullptr},
        // The new text is the skin's before the repaint draws.
        {"text", WM_SETTEXT, [](HWND h) { return static_cast<LRESULT>(SetWindowTextA(h, "Hello")); },
         {{'B', WM_SETTEXT}, {'O', WM_SETTEXT}, {'A', WM_SETTEXT}, {'D', 0, "Hello"}}, TRUE, "Hello"},
        {"no text", WM_SETTEXT, [](HWND h) { return SendMessageA(h, WM_SETTEXT, 0, 0); },
         {{'B', WM_SETTEXT}, {'O', WM_SETTEXT}, {'A', WM_SETTEXT}, {'D', 0, ""}}, TRUE, ""},
        {"focus", WM_SETFOCUS, [](HWND h) { return reinterpret_cast<LRESULT>(SetFocus(h)) * 0; },
         {{'B', WM_SETFOCUS}, {'O', WM_SETFOCUS}, {'A', WM_SETFOCUS}, {'D', 0}}, 0, nullptr},
        {"focus lost", WM_KILLFOCUS, [](HWND) { return reinterpret_cast<LRESULT>(SetFocus(nullptr)) * 0; },
         {{'B', WM_KILLFOCUS}, {'O', WM_KILLFOCUS}, {'A', WM_KILLFOCUS}, {'D', 0}}, 0, nullptr},
        {"disabled", WM_ENABLE, [](HWND h) { return static_cast<LRESULT>(EnableWindow(h, FALSE)) * 0; },
         {{'B', WM_ENABLE}, {'O', WM_ENABLE}, {'A', WM_ENABLE}, {'D', 0}}, 0, nullptr},
        {"enabled", WM_ENABLE, [](HWND h) { return static_cast<LRESULT>(EnableWindow(h, TRUE)) * 0; },
         {{'B', WM_ENABLE}, {'O', WM_ENABLE}, {'A', WM_ENABLE}, {'D', 0}}, 0, nullptr},
        // The control paints itself first, then the skin draws over it.
        {"paint", WM_PAINT, [](HWND h) { return static_cast<LRESULT>(RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW)) * 0; },
         {{'B', WM_PAINT}, {'O', WM_PAINT}, {'A', WM_PAINT}, {'D', 0}}, 0, nullptr},
    };
    HWND h = Attach(GetParam());
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.what);
        SendMessageA(h, WM_APP, 0, 0);  // marks where this case begins
        log.clear();
        EXPECT_EQ(c.action(h), c.result);
        EXPECT_EQ(About(c.msg), c.expected);
        if (c.textAfter != nullptr) {
            EXPECT_EQ(skin->Text, c.textAfter);
        }
        test::PumpMessages();
    }
}

TEST_P(SkinControlTest, AttachReadsTheControlsStateAndTheWindowsDrawingsCoverTheWindow) {
    HWND h = MakeControl(GetParam());
    SetWindowTextA(h, "Read");
    SetFocus(h);
    EnableWindow(h, FALSE);  // a raw window still starts enabled
    ValidateRect(h, nullptr);
    if (GetParam() == Target::FrameworkButton) {
        skin->AttachControl(button, skinData.get(), false, &host->ControlCanvas);
        EXPECT_FALSE(skin->Enabled);
        EXPECT_TRUE(button->DoubleBuffered);
        EXPECT_EQ(skin->Control, button);
        EXPECT_EQ(host->ControlSkins, std::vector<TSkinControl*>{skin});
    } else {
        skin->AttachHandle(h, skinData.get(), &host->ControlCanvas);
        EXPECT_TRUE(skin->Enabled);
        EXPECT_TRUE(host->ControlSkins.empty()) << "the caller lists a skin attached by handle";
    }
    EXPECT_FALSE(skin->EnabledNow());
    EXPECT_EQ(skin->Handle, h);
    EXPECT_EQ(skin->Text, "Read");
    EXPECT_EQ(skin->Canvas, &host->ControlCanvas);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(h, &update, FALSE)) << "repainted with the skin";

    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(skin->drawRects.empty());
    RECT screen;
    GetWindowRect(h, &screen);
    const RECT& drawn = skin->drawRects.back();
    EXPECT_EQ(drawn.left, 0);
    EXPECT_EQ(drawn.top, 0);
    EXPECT_EQ(drawn.right, screen.right - screen.left);
    EXPECT_EQ(drawn.bottom, screen.bottom - screen.top);
    EXPECT_TRUE(EqualRect(&skin->WindowRect, &screen));
    // DrawControl filled the face; read it back from the window.
    HDC dc = GetWindowDC(h);
    EXPECT_EQ(GetPixel(dc, 3, 3), ColorToRGB(kFace));
    ReleaseDC(h, dc);
}

TEST_P(SkinControlTest, DestroyedWindowReachesItsOwnProcedureThenDetaches) {
    HWND h = Attach(GetParam());
    host->HotControl = skin;
    DestroyWindow(h);
    std::vector<Entry> expected = {{'O', WM_NCDESTROY}, {'A', WM_NCDESTROY}};
    // A raw window's WM_NCDESTROY goes to its own procedure before the skin hears of it.
    if (GetParam() == Target::FrameworkButton) expected.insert(expected.begin(), {'B', WM_NCDESTROY});
    EXPECT_EQ(About(WM_NCDESTROY), expected);
    EXPECT_EQ(skin->Handle, nullptr);
    EXPECT_EQ(skin->Control, nullptr);
    EXPECT_EQ(host->HotControl, nullptr) << "no mouse-leave may go to a dead window";
    EXPECT_EQ(host->ControlSkins, std::vector<TSkinControl*>{skin}) << "listed until the host frees it";

    if (GetParam() == Target::FrameworkButton) {
        // The control makes a new window; the skin does not follow it.
        log.clear();
        EXPECT_EQ(SendMessageA(button->Handle(), kPassed, 0, 0), 66);
        EXPECT_EQ(About(kPassed), (std::vector<Entry>{{'O', kPassed}}));
    }
    skin->DetachControl();  // and later detaching finds nothing to do
    TComponent::Free(skin);
    EXPECT_TRUE(host->ControlSkins.empty());
}

TEST_P(SkinControlTest, DetachingGivesTheProcedureBackAndRepaintsTwiceHarmlessly) {
    HWND h = Attach(GetParam());
    const auto procBefore = GetWindowLongPtrA(h, GWLP_WNDPROC);
    ValidateRect(h, nullptr);
    skin->DetachControl();
    RECT update;
    EXPECT_TRUE(GetUpdateRect(h, &update, FALSE)) << "the skin's pixels go";
    skin->DetachControl();
    log.clear();
    EXPECT_EQ(SendMessageA(h, kPassed, 0, 0), 66);
    EXPECT_EQ(About(kPassed), (std::vector<Entry>{{'O', kPassed}}));
    if (GetParam() == Target::FrameworkButton) {
        EXPECT_EQ(button->Perform(kPassed, 0, 0), 66);
    } else {
        EXPECT_NE(GetWindowLongPtrA(h, GWLP_WNDPROC), procBefore);
        EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&RecordingProc));
    }
    EXPECT_EQ(About(kPassed).size(), GetParam() == Target::FrameworkButton ? 2u : 1u) << "the skin hears nothing";
}

TEST_P(SkinControlTest, FreeingTheSkinDetachesIt) {
    HWND h = Attach(GetParam());
    host->HotControl = skin;
    TComponent::Free(skin);
    skin = nullptr;
    EXPECT_TRUE(host->ControlSkins.empty());
    EXPECT_EQ(host->HotControl, nullptr);
    log.clear();
    EXPECT_EQ(SendMessageA(h, kPassed, 0, 0), 66);
    EXPECT_EQ(About(kPassed), (std::vector<Entry>{{'O', kPassed}}));
}

TEST_P(SkinControlTest, AThrowingDrawingStillReleasesItsContextAndEndsThePaint) {
    for (bool paintsItself : {false, true}) {
        SCOPED_TRACE(paintsItself ? "taken over with HandlePaintMessage" : "drawn after the control's own paint");
        HWND h = Attach(GetParam());
        int shown = 0;
        Application->OnShowException = [&](const std::string&) { ++shown; };
        skin->paintsItself = paintsItself;
        skin->throwInDraw = true;
        skin->drawDcs.clear();
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        test::PumpMessages();
        ASSERT_FALSE(skin->drawDcs.empty());
        for (HDC dc : skin->drawDcs) EXPECT_EQ(ReleaseDC(h, dc), 0) << "released already";
        RECT update;
        EXPECT_FALSE(GetUpdateRect(h, &update, FALSE)) << "nothing left to paint";
        EXPECT_EQ(shown, 0) << "drawing errors are swallowed";

        // Painted once: WM_PAINT does not come back.
        log.clear();
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE);
        test::PumpUntil([] { return false; }, std::chrono::milliseconds(100));
        const auto paints = About(WM_PAINT);
        EXPECT_EQ(std::count(paints.begin(), paints.end(), Entry{'B', WM_PAINT}), 1);

        // The next case starts on a fresh control.
        host->DropControlSkins();
        skin = new TRecordingSkin(host.get());
    }
}

// Only framework controls take the face colour.
TEST_F(SkinControlBase, FaceColourGivenBackOnUnskinAndKeptWhileTheHostIsTornDown) {
    struct Case {
        const char* what;
        bool tearingDown;
        bool byDestroyedWindow;
        TColor expected;
    };
    const Case cases[] = {
        {"unskin", false, false, clRed},
        {"torn down", true, false, kFace},
        {"window destroyed, host alive", false, true, clRed},
        {"window destroyed while torn down", true, true, kFace},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND h = MakeControl(Target::FrameworkButton);
        button->SetColor(clRed);
        skin->AttachControl(button, skinData.get(), true, &host->ControlCanvas);
        EXPECT_EQ(button->Color(), kFace);
        EXPECT_EQ(skin->SavedColour, clRed);
        host->tearingDown = c.tearingDown;
        if (c.byDestroyedWindow) DestroyWindow(h);
        else skin->DetachControl();
        EXPECT_EQ(button->Color(), c.expected);
        button->SetColor(clLime);
        skin->DetachControl();
        EXPECT_EQ(button->Color(), clLime) << "given back once only";

        host->tearingDown = false;
        host->DropControlSkins();
        TComponent::Free(button);
        skin = new TRecordingSkin(host.get());
    }
}

TEST_F(SkinControlBase, AWindowWithoutAParentIsNotRepaintedByStateChanges) {
    HWND h = CreateWindowExA(0, "EDIT", "Alone", WS_POPUP | WS_VISIBLE, 400, 300, 120, 30, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    raws.push_back(h);
    g_classProcs[h] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
    skin->AttachHandle(h, skinData.get(), &host->ControlCanvas);
    test::PumpMessages();
    log.clear();
    SetWindowTextA(h, "Changed");
    EXPECT_EQ(skin->Text, "Changed");
    const std::vector<Entry> text = {{'B', WM_SETTEXT}, {'O', WM_SETTEXT}, {'A', WM_SETTEXT}};
    EXPECT_EQ(About(WM_SETTEXT), text) << "no drawing after the skin's reaction";
    log.clear();
    EnableWindow(h, FALSE);
    const std::vector<Entry> enable = {{'B', WM_ENABLE}, {'O', WM_ENABLE}, {'A', WM_ENABLE}};
    EXPECT_EQ(About(WM_ENABLE), enable);
}

TEST_P(SkinControlTest, MouseLeaveSentToTheControlReachesTheSkin) {
    HWND h = Attach(GetParam());
    skin->SendMouseLeave();
    EXPECT_EQ(About(CM_MOUSELEAVE), (std::vector<Entry>{{'B', CM_MOUSELEAVE}, {'O', CM_MOUSELEAVE},
                                                        {'A', CM_MOUSELEAVE}}));
    DestroyWindow(h);
    log.clear();
    skin->SendMouseLeave();  // no window: nothing is sent
    EXPECT_TRUE(About(CM_MOUSELEAVE).empty());
}

TEST(SkinControlHost, FreedSkinsLeaveTheListAndTheHotControl) {
    TTestHost host;
    auto* a = new TSkinControl(&host);
    auto* b = new TSkinControl(&host);
    host.ControlSkins = {a, b};
    host.HotControl = b;
    TComponent::Free(b);
    EXPECT_EQ(host.ControlSkins, std::vector<TSkinControl*>{a});
    EXPECT_EQ(host.HotControl, nullptr);
    host.HotControl = a;
    host.DropControlSkins();
    EXPECT_TRUE(host.ControlSkins.empty());
    EXPECT_EQ(host.HotControl, nullptr);
    EXPECT_EQ(host.ComponentCount(), 0) << "dropped skins are freed";
}

}  // namespace
}  // namespace pellix
