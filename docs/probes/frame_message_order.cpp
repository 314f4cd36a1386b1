// Measures the messages and client origin of a custom-frame window (caption boxes stripped) on a
// resize, on minimise and restore by ShowWindow and by WM_SYSCOMMAND, and on maximise, with the
// placement's showCmd as WM_SIZE and WM_GETMINMAXINFO see it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool g_log = false;
std::string g_seq;

int ShowCmd(HWND h) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(h, &wp);
    return static_cast<int>(wp.showCmd);
}

void Log(const char* name, HWND h, WPARAM w = 0, bool withCmd = false) {
    if (!g_log) return;
    char buf[64];
    if (withCmd) std::snprintf(buf, sizeof(buf), "%s(%d,show %d) ", name, static_cast<int>(w), ShowCmd(h));
    else std::snprintf(buf, sizeof(buf), "%s ", name);
    g_seq += buf;
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_NCCALCSIZE:
        Log(w ? "NCCALCSIZE" : "NCCALCSIZE0", h);
        if (w) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
            RECT r = p->rgrc[0];
            p->rgrc[0] = RECT{r.left + 6, r.top + 30, r.right - 6, r.bottom - 6};
            if (p->rgrc[0].bottom < p->rgrc[0].top) p->rgrc[0].bottom = p->rgrc[0].top;
            if (p->rgrc[0].right < p->rgrc[0].left) p->rgrc[0].right = p->rgrc[0].left;
            return 0;
        }
        break;
    case WM_NCPAINT: Log(w == 1 ? "NCPAINT(1)" : "NCPAINT(rgn)", h); return 0;
    case WM_SIZE: Log("SIZE", h, w, true); break;
    case WM_GETMINMAXINFO: Log("GETMINMAXINFO", h, 0, true); break;
    case WM_WINDOWPOSCHANGED: Log("POSCHANGED", h); break;
    case WM_QUERYOPEN: Log("QUERYOPEN", h); break;
    case WM_SYSCOMMAND: Log("SYSCOMMAND", h); break;
    case WM_NCACTIVATE: Log("NCACTIVATE", h); break;
    case WM_ACTIVATE: Log("ACTIVATE", h); break;
    case WM_STYLECHANGED: Log("STYLECHANGED", h); break;
    }
    return DefWindowProcA(h, m, w, l);
}

void Pump() {
    MSG msg;
    for (int i = 0; i < 15; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

void Report(HWND h, const char* what) {
    RECT wr;
    GetWindowRect(h, &wr);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    std::printf("%s\n  %s\n  window (%ld,%ld)-(%ld,%ld), client origin in window (%ld,%ld), style boxes %lx\n", what,
                g_seq.c_str(), wr.left, wr.top, wr.right, wr.bottom, origin.x - wr.left, origin.y - wr.top,
                GetWindowLongA(h, GWL_STYLE) & 0xB0000);
    g_seq.clear();
}

template <class F>
void Step(HWND h, const char* what, F action) {
    g_log = true;
    action();
    Pump();
    g_log = false;
    Report(h, what);
}

}  // namespace

int main() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProbeOrder";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "ProbeOrder", "probe", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                             wc.hInstance, nullptr);
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~0xB0000);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    Pump();
    Report(h, "shown");
    Step(h, "resize to 320 x 220", [&] { SetWindowPos(h, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER); });
    Step(h, "ShowWindow(SW_MINIMIZE)", [&] { ShowWindow(h, SW_MINIMIZE); });
    Step(h, "ShowWindow(SW_RESTORE)", [&] { ShowWindow(h, SW_RESTORE); });
    Step(h, "WM_SYSCOMMAND SC_MINIMIZE", [&] { SendMessageA(h, WM_SYSCOMMAND, SC_MINIMIZE, 0); });
    Step(h, "WM_SYSCOMMAND SC_RESTORE", [&] { SendMessageA(h, WM_SYSCOMMAND, SC_RESTORE, 0); });
    Step(h, "WM_SYSCOMMAND SC_MAXIMIZE", [&] { SendMessageA(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0); });
    Step(h, "WM_SYSCOMMAND SC_RESTORE from maximised", [&] { SendMessageA(h, WM_SYSCOMMAND, SC_RESTORE, 0); });
    Step(h, "boxes put back while minimised, then SW_RESTORE", [&] {
        ShowWindow(h, SW_MINIMIZE);
        SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) | 0xB0000);
        g_seq += "| ";
        ShowWindow(h, SW_RESTORE);
    });
    DestroyWindow(h);
    return 0;
}
