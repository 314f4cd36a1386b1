// The framework's timer keeps ticking while the system runs a loop of its
// own (a message box, a menu), and an error in its handler reaches the
// application's error box.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Pump.h"

namespace pellix {
namespace {

struct WindowFree {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowFree>;

Window MakeOwner() {
    Window owner(CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 120, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr));
    SetForegroundWindow(owner.get());
    test::PumpMessages();
    return owner;
}

// A system loop that the timer ends from its third tick; a watchdog ends it
// after a few seconds when the timer does not tick inside it.
struct SystemLoop {
    const char* name;
    std::function<void(HWND owner)> run;
    std::function<void()> end;
};

void PrintTo(const SystemLoop& loop, std::ostream* os) { *os << loop.name; }

const SystemLoop kLoops[] = {
    {"MessageBox",
     [](HWND owner) { MessageBoxA(owner, "waiting", "timer", MB_OK); },
     [] {
         if (HWND box = test::FindThreadWindow("#32770")) PostMessageA(box, WM_COMMAND, IDOK, 0);
     }},
    {"PopupMenu",
     [](HWND owner) {
         HMENU menu = CreatePopupMenu();
         AppendMenuA(menu, MF_STRING, 1, "item");
         TrackPopupMenu(menu, TPM_LEFTALIGN, 60, 60, 0, owner, nullptr);
         DestroyMenu(menu);
     },
     [] { EndMenu(); }},
};

class TimerInLoops : public testing::TestWithParam<SystemLoop> {};

TEST_P(TimerInLoops, TicksInsideTheLoop) {
    const SystemLoop& loop = GetParam();
    Window owner = MakeOwner();
    int ticks = 0;
    std::unique_ptr<TTimer, ComponentFree> timer(new TTimer(nullptr));
    timer->SetInterval(30);
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 3) loop.end();
    };
    bool fired = false;
    {
        test::LoopWatchdog watchdog(owner.get());
        loop.run(owner.get());
        timer->SetEnabled(false);
        fired = watchdog.Fired();
    }
    EXPECT_GE(ticks, 3);
    EXPECT_FALSE(fired);
}

INSTANTIATE_TEST_SUITE_P(Loops, TimerInLoops, testing::ValuesIn(kLoops),
                         [](const testing::TestParamInfo<SystemLoop>& info) { return std::string(info.param.name); });

TEST(Timer, ErrorInTheHandlerGoesToTheErrorBoxAndTheTimerGoesOn) {
    std::vector<std::string> shown;
    Application->OnShowException = [&](const std::string& text) { shown.push_back(text); };
    std::unique_ptr<TTimer, ComponentFree> timer(new TTimer(nullptr));
    timer->SetInterval(20);
    timer->OnTimer = [](TObject*) { throw Exception("Tick failed"); };
    const bool twice = test::PumpUntil([&] { return shown.size() >= 2; }, std::chrono::seconds(5));
    timer.reset();
    Application->OnShowException = nullptr;
    EXPECT_TRUE(twice);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), "Tick failed.");
}

TEST(Timer, DisabledTimerDoesNotTick) {
    int ticks = 0;
    std::unique_ptr<TTimer, ComponentFree> timer(new TTimer(nullptr));
    timer->SetInterval(10);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    ASSERT_TRUE(test::PumpUntil([&] { return ticks > 0; }, std::chrono::seconds(5)));
    timer->SetEnabled(false);
    const int stoppedAt = ticks;
    test::PumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(ticks, stoppedAt);
}

}  // namespace
}  // namespace pellix
