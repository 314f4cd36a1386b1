// Measures whether WaitForInputIdle on another process, called right after a sent message returns, waits for a message that the sent one posted (and for a modal loop's idle).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

namespace {

HWND window;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP) {  // as a skinned button's click: the command is posted
        PostMessageA(h, WM_APP + 1, w, 0);
        return 0;
    }
    if (m == WM_APP + 1) {
        SetWindowTextA(h, "started");
        if (w == 1) {
            MessageBoxA(h, "modal", "box", MB_OK);  // a modal loop
        } else {
            Sleep(700);  // busy, not pumping
        }
        SetWindowTextA(h, "done");
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

int Child() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "IdleProbe";
    RegisterClassA(&wc);
    window = CreateWindowA("IdleProbe", "ready", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

std::string Text(HWND h) {
    char buffer[64] = {};
    DWORD_PTR r = 0;
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 100, &r);
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && strcmp(argv[1], "child") == 0) return Child();
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" child";
    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    WaitForInputIdle(pi.hProcess, 5000);
    HWND h = nullptr;
    for (int i = 0; i < 100 && h == nullptr; ++i, Sleep(20)) h = FindWindowA("IdleProbe", nullptr);
    for (int round = 0; round < 3; ++round) {
        for (WPARAM kind : {WPARAM{0}, WPARAM{1}}) {
            SetWindowTextA(h, "ready");
            DWORD_PTR r = 0;
            SendMessageTimeoutA(h, WM_APP, kind, 0, SMTO_NORMAL, 2000, &r);
            const std::string right = Text(h);
            const DWORD start = GetTickCount();
            const DWORD idle = WaitForInputIdle(pi.hProcess, 5000);
            printf("%s: after the send '%s'; WaitForInputIdle %lu after %lu ms, text '%s', box %s\n",
                   kind == 0 ? "busy " : "modal", right.c_str(), idle, GetTickCount() - start, Text(h).c_str(),
                   FindWindowA("#32770", "box") != nullptr ? "shown" : "none");
            if (HWND box = FindWindowA("#32770", "box")) {
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                Sleep(300);
            }
        }
    }
    PostMessageA(h, WM_CLOSE, 0, 0);
    TerminateProcess(pi.hProcess, 0);
    return 0;
}
