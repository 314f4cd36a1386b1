// Measures the system menu's item states while the caption boxes are stripped from the style:
// when the platform greys Minimize/Maximize/Restore, whether states set before tracking or in
// WM_INITMENUPOPUP survive into the shown menu, and how a chosen item arrives.
#include <windows.h>

#include <cstdio>

namespace {

HMENU g_sys = nullptr;
int g_mode = 0;  // 0 plain, 1 enable before tracking, 2 enable in WM_INITMENUPOPUP
int g_chosen = 0;

const char* State(UINT id) { return (GetMenuState(g_sys, id, MF_BYCOMMAND) & MF_GRAYED) ? "grey" : "on"; }

void PrintStates(const char* when) {
    std::printf("    %-22s minimize %s, maximize %s, restore %s, close %s\n", when, State(SC_MINIMIZE),
                State(SC_MAXIMIZE), State(SC_RESTORE), State(SC_CLOSE));
}

void EnableBoxes() {
    EnableMenuItem(g_sys, SC_MINIMIZE, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(g_sys, SC_MAXIMIZE, MF_BYCOMMAND | MF_ENABLED);
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_INITMENUPOPUP:
        std::printf("    WM_INITMENUPOPUP lParam %lx\n", static_cast<unsigned long>(l));
        PrintStates("at WM_INITMENUPOPUP");
        if (g_mode == 2) EnableBoxes();
        break;
    case WM_COMMAND: std::printf("    WM_COMMAND %x\n", static_cast<unsigned>(LOWORD(w))); g_chosen = LOWORD(w); return 0;
    case WM_SYSCOMMAND:
        std::printf("    WM_SYSCOMMAND %x lParam %lx\n", static_cast<unsigned>(w), static_cast<unsigned long>(l));
        g_chosen = static_cast<int>(w);
        return 0;  // the probe only records the choice
    }
    return DefWindowProcA(h, m, w, l);
}

// Inside the menu loop: read the states, then click "Minimize" with real input.
void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PrintStates("while shown");
    for (int i = 0; i < GetMenuItemCount(g_sys); ++i) {
        if (GetMenuItemID(g_sys, i) != SC_MINIMIZE) continue;
        RECT r;
        if (!GetMenuItemRect(nullptr, g_sys, i, &r)) break;
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        break;
    }
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR t, DWORD) {
        KillTimer(nullptr, t);
        EndMenu();
    });
}

void Pump() {
    MSG msg;
    for (int i = 0; i < 10; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

}  // namespace

int main() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProbeSys";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "ProbeSys", "probe", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                             wc.hInstance, nullptr);
    g_sys = GetSystemMenu(h, FALSE);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    Pump();
    PrintStates("boxes in the style");
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~0xB0000);
    PrintStates("boxes stripped");
    const char* modes[] = {"plain", "enabled before tracking", "enabled in WM_INITMENUPOPUP"};
    for (g_mode = 0; g_mode < 3; ++g_mode) {
        std::printf("  TrackPopupMenu, %s:\n", modes[g_mode]);
        if (g_mode == 1) EnableBoxes();
        g_chosen = 0;
        SetTimer(nullptr, 0, 300, Tick);
        TrackPopupMenu(g_sys, TPM_RIGHTBUTTON, 150, 150, 0, h, nullptr);
        Pump();
        PrintStates("after tracking");
        std::printf("    chosen %x\n", g_chosen);
    }
    std::printf("  boxes restored around tracking:\n");
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) | 0xB0000);
    SetTimer(nullptr, 0, 300, Tick);
    g_chosen = 0;
    TrackPopupMenu(g_sys, TPM_RIGHTBUTTON, 150, 150, 0, h, nullptr);
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~0xB0000);
    Pump();
    std::printf("    chosen %x\n", g_chosen);
    DestroyWindow(h);
    return 0;
}
