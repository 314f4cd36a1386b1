// Window-test helpers: pumping pending messages before each check.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

namespace pellix::test {

// Handles every message queued for this thread now.
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps until the condition holds or the time is up; returns the condition.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        PumpMessages();
        Sleep(5);
    }
    return true;
}

}  // namespace pellix::test
