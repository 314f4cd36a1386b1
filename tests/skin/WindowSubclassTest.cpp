// The one helper that takes over a raw window's procedure: message order,
// detach during a nested call, another procedure put in front, the window's
// end, and an owner freed while its handler runs.
#include "skin/WindowSubclass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/Forms.h"

namespace pellix {
namespace {

constexpr UINT kProbe = WM_APP + 1;  // the window's own procedure answers 100
constexpr UINT kOuter = WM_APP + 2;
constexpr UINT kInner = WM_APP + 3;

// Who saw which message: 'O' the window's own procedure, 'H' our handler,
// 'X' a procedure put in front later, 'D' the end notice.
using Log = std::vector<std::pair<char, UINT>>;
Log* g_log = nullptr;

void Record(char who, UINT msg) {
    if (g_log != nullptr) g_log->emplace_back(who, msg);
}

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Record('O', msg);
    if (msg == kProbe) return 100;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

WNDPROC g_behindFront = nullptr;

LRESULT CALLBACK FrontProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Record('X', msg);
    return CallWindowProcA(g_behindFront, hwnd, msg, wParam, lParam);
}

struct WindowFree {
    void operator()(HWND window) const {
        if (IsWindow(window)) DestroyWindow(window);
    }
};

class WindowSubclassTest : public testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = &OwnProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "PellixSubclassProbe";
            return RegisterClassExA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        window.reset(CreateWindowExA(0, "PellixSubclassProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr));
        ASSERT_NE(window.get(), nullptr);
        g_log = &log;
    }
    void TearDown() override {
        window.reset();
        g_log = nullptr;
    }

    WNDPROC CurrentProc() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window.get(), GWLP_WNDPROC)); }
    LRESULT Send(UINT msg) const { return SendMessageA(window.get(), msg, 0, 0); }
    int Count(char who, UINT msg) const {
        int n = 0;
        for (const auto& entry : log) n += entry == std::make_pair(who, msg);
        return n;
    }
    // The handler that logs and hands every message on.
    TWindowSubclass::THandler PassOn(TWindowSubclass& subclass) {
        return [&subclass](UINT msg, WPARAM wParam, LPARAM lParam) {
            Record('H', msg);
            return subclass.CallOld(msg, wParam, lParam);
        };
    }

    std::unique_ptr<std::remove_pointer_t<HWND>, WindowFree> window;
    Log log;
};

TEST_F(WindowSubclassTest, HandlerSeesMessagesFirstAndDetachPutsTheOwnProcedureBack) {
    TWindowSubclass subclass;
    ASSERT_TRUE(subclass.Attach(window.get(), [&](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        Record('H', msg);
        if (msg == kOuter) return 7;  // kept: the own procedure never sees it
        return subclass.CallOld(msg, wParam, lParam);
    }));
    EXPECT_TRUE(subclass.Attached());
    EXPECT_EQ(subclass.Window(), window.get());

    log.clear();
    EXPECT_EQ(Send(kProbe), 100);
    EXPECT_EQ(Send(kOuter), 7);
    EXPECT_EQ(log, (Log{{'H', kProbe}, {'O', kProbe}, {'H', kOuter}}));

    subclass.Detach();
    EXPECT_EQ(CurrentProc(), &OwnProc);
    EXPECT_FALSE(subclass.Attached());
    log.clear();
    EXPECT_EQ(Send(kProbe), 100);
    EXPECT_EQ(log, (Log{{'O', kProbe}}));
}

TEST_F(WindowSubclassTest, DetachDuringANestedCallTakesEffectWhenTheOuterCallReturns) {
    TWindowSubclass subclass;
    WNDPROC procAfterDetach = nullptr;
    bool inProcAfterDetach = false;
    ASSERT_TRUE(subclass.Attach(window.get(), [&](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        Record('H', msg);
        if (msg == kOuter) {
            Send(kInner);
            // Detached inside the nested call: no handler any more, our
            // procedure still in place while this call runs.
            procAfterDetach = CurrentProc();
            inProcAfterDetach = subclass.InWindowProc();
            Send(kProbe);
            return 1;
        }
        if (msg == kInner) subclass.Detach();
        return subclass.CallOld(msg, wParam, lParam);
    }));

    log.clear();
    EXPECT_EQ(Send(kOuter), 1);
    EXPECT_NE(procAfterDetach, &OwnProc);
    EXPECT_TRUE(inProcAfterDetach);
    EXPECT_EQ(Count('H', kProbe), 0);
    EXPECT_EQ(Count('O', kProbe), 1);
    EXPECT_EQ(CurrentProc(), &OwnProc);
    EXPECT_FALSE(subclass.InWindowProc());
}

TEST_F(WindowSubclassTest, ProcedurePutInFrontKeepsItsChainAfterDetach) {
    TWindowSubclass subclass;
    ASSERT_TRUE(subclass.Attach(window.get(), PassOn(subclass)));
    g_behindFront = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrontProc)));

    subclass.Detach();
    EXPECT_EQ(CurrentProc(), &FrontProc);
    log.clear();
    EXPECT_EQ(Send(kProbe), 100);
    EXPECT_EQ(log, (Log{{'X', kProbe}, {'O', kProbe}}));

    // The front procedure goes; ours passed on and now leaves the chain too.
    SetWindowLongPtrA(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_behindFront));
    log.clear();
    EXPECT_EQ(Send(kProbe), 100);
    EXPECT_EQ(log, (Log{{'O', kProbe}}));
    EXPECT_EQ(CurrentProc(), &OwnProc);

    TWindowSubclass again;
    EXPECT_TRUE(again.Attach(window.get(), PassOn(again)));
}

TEST_F(WindowSubclassTest, PassThroughIsTakenUpByTheNextAttach) {
    TWindowSubclass first;
    ASSERT_TRUE(first.Attach(window.get(), PassOn(first)));
    g_behindFront = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrontProc)));
    first.Detach();

    TWindowSubclass second;
    ASSERT_TRUE(second.Attach(window.get(), PassOn(second)));
    log.clear();
    EXPECT_EQ(Send(kProbe), 100);
    EXPECT_EQ(log, (Log{{'X', kProbe}, {'H', kProbe}, {'O', kProbe}}));
    // The earlier owner no longer reaches the window.
    first.Detach();
    log.clear();
    Send(kProbe);
    EXPECT_EQ(Count('H', kProbe), 1);
    SetWindowLongPtrA(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_behindFront));
}

TEST_F(WindowSubclassTest, WindowsEndRunsTheOwnProcedureFirstThenTellsTheOwner) {
    TWindowSubclass subclass;
    ASSERT_TRUE(subclass.Attach(window.get(), PassOn(subclass), [] { Record('D', 0); }));
    log.clear();
    window.reset();

    const auto ncDestroy = std::find(log.begin(), log.end(), std::make_pair('O', static_cast<UINT>(WM_NCDESTROY)));
    ASSERT_NE(ncDestroy, log.end());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), std::make_pair('D', 0u));
    EXPECT_LT(ncDestroy - log.begin(), static_cast<std::ptrdiff_t>(log.size()) - 1);
    EXPECT_EQ(Count('H', WM_NCDESTROY), 0);
    EXPECT_EQ(Count('H', WM_DESTROY), 1);
    EXPECT_TRUE(subclass.WindowDestroyed());
    EXPECT_FALSE(subclass.Attached());
}

TEST_F(WindowSubclassTest, AWindowHeldByTheEngineOrGoneIsRefused) {
    TWindowSubclass first, second;
    ASSERT_TRUE(first.Attach(window.get(), PassOn(first)));
    EXPECT_FALSE(second.Attach(window.get(), PassOn(second)));
    log.clear();
    Send(kProbe);
    EXPECT_EQ(Count('H', kProbe), 1) << "the refused attach changed nothing";

    first.Detach();
    EXPECT_TRUE(second.Attach(window.get(), PassOn(second)));
    EXPECT_FALSE(first.Attach(nullptr, PassOn(first)));
    window.reset();
    EXPECT_FALSE(first.Attach(second.Window(), PassOn(first)));
}

TEST_F(WindowSubclassTest, OwnerFreedWhileItsHandlerRunsLeavesTheWindowWorking) {
    auto subclass = std::make_unique<TWindowSubclass>();
    ASSERT_TRUE(subclass->Attach(window.get(), [&](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != kOuter) return subclass->CallOld(msg, wParam, lParam);
        subclass.reset();
        return 5;
    }));
    EXPECT_EQ(Send(kOuter), 5);
    EXPECT_EQ(CurrentProc(), &OwnProc);
    EXPECT_EQ(Send(kProbe), 100);
}

TEST_F(WindowSubclassTest, ErrorInTheHandlerReachesTheErrorBoxNotTheSystem) {
    std::string shown;
    Application->OnShowException = [&](const std::string& text) { shown = text; };
    TWindowSubclass subclass;
    ASSERT_TRUE(subclass.Attach(window.get(), [&](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == kOuter) throw Exception("Skin paint failed");
        return subclass.CallOld(msg, wParam, lParam);
    }));
    Send(kOuter);
    Application->OnShowException = nullptr;
    EXPECT_EQ(shown, "Skin paint failed.");
    EXPECT_EQ(Send(kProbe), 100);
}

}  // namespace
}  // namespace pellix
