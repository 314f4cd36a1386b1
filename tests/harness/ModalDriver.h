// Drives common dialogs and message boxes from inside their modal loops:
// a timer finds the window, looks at it and presses its buttons.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pellix::test {

inline std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

inline std::string TextOf(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// The visible top-level window of this thread with that class, if any.
inline HWND FindThreadWindow(const std::string& className) {
    struct Search {
        std::string name;
        HWND found = nullptr;
    } search{className};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (IsWindowVisible(hwnd) && ClassOf(hwnd) == s->name) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(text.find('\0'));
        items.push_back(text);
    }
    return items;
}

// Picks an item of a common dialog's combo box the way a click would tell the dialog.
inline void SelectComboItem(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

inline void SelectComboText(HWND dialog, int id, const std::string& text) {
    int index = static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_FINDSTRINGEXACT, -1,
                                              reinterpret_cast<LPARAM>(text.c_str())));
    ASSERT_GE(index, 0) << "no item " << text;
    SelectComboItem(dialog, id, index);
}

inline void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Calls step on a timer while a modal loop runs, until it reports done. After
// the time limit a watchdog ends every dialog of the thread, so a dialog that
// the step cannot handle fails the test instead of hanging it.
class ModalDriver {
public:
    explicit ModalDriver(std::function<bool()> step, std::chrono::milliseconds limit = std::chrono::seconds(15))
        : step_(std::move(step)), deadline_(std::chrono::steady_clock::now() + limit), previous_(current_) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &ModalDriver::Tick);
    }
    ~ModalDriver() {
        KillTimer(nullptr, timer_);
        current_ = previous_;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    bool Done() const { return done_; }
    bool TimedOut() const { return timedOut_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalDriver* self = current_;
        if (self == nullptr || self->busy_) return;
        self->busy_ = true;  // a step that pumps messages must not re-enter itself
        if (std::chrono::steady_clock::now() > self->deadline_) {
            self->timedOut_ = true;
            if (HWND box = FindThreadWindow("TMessageForm")) PostMessageA(box, WM_CLOSE, 0, 0);
            if (HWND dialog = FindThreadWindow("#32770")) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        } else if (!self->done_) {
            self->done_ = self->step_();
        }
        self->busy_ = false;
    }

    static inline ModalDriver* current_ = nullptr;
    std::function<bool()> step_;
    std::chrono::steady_clock::time_point deadline_;
    ModalDriver* previous_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
    bool timedOut_ = false;
    bool busy_ = false;
};

// Ends a system loop (a menu, a message box) of this thread from another
// thread when the test has not ended it within the time limit: Escape for a
// menu, OK for a system dialog. A test that cannot end its loop then fails
// instead of hanging.
class LoopWatchdog {
public:
    explicit LoopWatchdog(HWND owner, std::chrono::milliseconds limit = std::chrono::seconds(5))
        : thread_([this, owner, limit, uiThread = GetCurrentThreadId()] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (done_.wait_for(lock, limit, [this] { return finished_; })) return;
              fired_ = true;
              PostMessageA(owner, WM_KEYDOWN, VK_ESCAPE, 0);
              EnumThreadWindows(
                  uiThread,
                  [](HWND hwnd, LPARAM) -> BOOL {
                      if (ClassOf(hwnd) == "#32770") PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
                      return TRUE;
                  },
                  0);
          }) {}
    ~LoopWatchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }
    bool Fired() const { return fired_; }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

}  // namespace pellix::test
