// Real keyboard and mouse input, as a user gives it, and waiting for what it
// sets off in another process.
#pragma once

#include <windows.h>

#include <vector>

namespace pellix::test {

// One key, with Alt held around it when alt is set.
inline void PressKey(WORD key, bool alt = false) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = flags;
        inputs.push_back(in);
    };
    if (alt) add(VK_MENU, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (alt) add(VK_MENU, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(200);
}

// The cursor to a screen point, with a move the windows under it hear of.
inline void SendMouseMove(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof(INPUT));
}

// One button going down or up.
inline void SendMouseButton(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
}

// Whole clicks, down and up, given at once: a press that starts a modal loop
// (moving a window by its caption) is released inside that loop.
inline void SendClicks(int count, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    std::vector<INPUT> in(static_cast<size_t>(2 * count));
    for (size_t i = 0; i < in.size(); ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = i % 2 == 0 ? down : up;
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Polls until done holds or the time is up; returns done's last answer.
template <class Pred>
bool WaitUntil(Pred done, DWORD ms = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace pellix::test
