// Measures the default WM_NCHITTEST over a custom non-client area (left 6, caption 30, menu 19,
// right 6, bottom 6; caption boxes stripped) row by row, and which real mouse input reaches the
// window where the answer is HTNOWHERE and where the window answers HTMENU itself.
#include <windows.h>

#include <cstdio>

namespace {

const int L = 6, T = 30, M = 19, R = 6, B = 6;
bool g_ownCodes = false;
int g_ncMoves = 0, g_ncDowns = 0, g_lastCode = -1;

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_NCCALCSIZE:
        if (w) {
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
            RECT r = p->rgrc[0];
            p->rgrc[0] = RECT{r.left + L, r.top + T + M, r.right - R, r.bottom - B};
            return 0;
        }
        break;
    case WM_NCHITTEST: {
        LRESULT code = DefWindowProcA(h, m, w, l);
        if (g_ownCodes && (code == HTNOWHERE || code == HTERROR)) {
            RECT wr;
            GetWindowRect(h, &wr);
            int y = static_cast<short>(HIWORD(l)) - wr.top;
            code = y < T ? HTCAPTION : y < T + M ? HTMENU : HTBORDER;
        }
        return code;
    }
    case WM_NCMOUSEMOVE:
        ++g_ncMoves;
        g_lastCode = static_cast<int>(w);
        return 0;
    case WM_NCLBUTTONDOWN:
        ++g_ncDowns;
        g_lastCode = static_cast<int>(w);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

void Pump() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

void PrintColumn(HWND h, int x, int fromY, int toY) {
    RECT wr;
    GetWindowRect(h, &wr);
    int runStart = fromY;
    LRESULT last = -99;
    for (int y = fromY; y <= toY + 1; ++y) {
        LRESULT code = y <= toY ? SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y)) : -100;
        if (code != last) {
            if (last != -99) std::printf("  x=%d rows %d-%d: %ld\n", x, runStart, y - 1, static_cast<long>(last));
            runStart = y;
            last = code;
        }
    }
}

void RealInput(HWND h, int x, int y) {
    RECT wr;
    GetWindowRect(h, &wr);
    g_ncMoves = g_ncDowns = 0;
    g_lastCode = -1;
    SetCursorPos(wr.left + x, wr.top + y - 3);
    Pump();
    SetCursorPos(wr.left + x, wr.top + y);
    Pump();
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Pump();
    std::printf("  real input at (%d,%d), own codes %d: %d WM_NCMOUSEMOVE, %d WM_NCLBUTTONDOWN, last code %d\n", x, y,
                g_ownCodes, g_ncMoves, g_ncDowns, g_lastCode);
}

}  // namespace

int main() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProbeHit";
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "ProbeHit", "probe", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                             wc.hInstance, nullptr);
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~0xB0000);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    Pump();
    std::printf("SM_CYCAPTION %d SM_CXFRAME %d SM_CYFRAME %d SM_CXSIZE %d SM_CYMENU %d\n", GetSystemMetrics(SM_CYCAPTION),
                GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CXSIZE),
                GetSystemMetrics(SM_CYMENU));
    std::printf("default hit test, style with WS_CAPTION|WS_THICKFRAME, boxes stripped:\n");
    PrintColumn(h, 150, 0, 199);
    PrintColumn(h, 2, 0, 199);
    PrintColumn(h, 5, 0, 199);
    PrintColumn(h, 297, 0, 199);
    RealInput(h, 150, 40);
    RealInput(h, 3, 100);
    g_ownCodes = true;
    RealInput(h, 150, 40);
    RealInput(h, 150, 25);
    RealInput(h, 150, 2);
    DestroyWindow(h);
    return 0;
}
