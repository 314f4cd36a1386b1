// Which CBT hook events Wine's own "IME" and "OleMainThreadWndClass" windows bring, and their shape.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

static HHOOK hook;

static std::string ClassOf(HWND h) {
    char name[128] = {};
    GetClassNameA(h, name, sizeof(name));
    return name;
}

static LRESULT CALLBACK Cbt(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND || code == HCBT_DESTROYWND || code == HCBT_ACTIVATE) {
        HWND h = reinterpret_cast<HWND>(w);
        const char* what = code == HCBT_CREATEWND ? "create" : code == HCBT_DESTROYWND ? "destroy" : "activate";
        std::string cls = h ? ClassOf(h) : "(null)";
        RECT r{};
        BOOL rect = h ? GetWindowRect(h, &r) : FALSE;
        LONG style = h ? GetWindowLongA(h, GWL_STYLE) : 0;
        HWND parent = code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDA*>(l)->lpcs->hwndParent : GetParent(h);
        std::printf("%-8s %-24s style=%08lx rect=%d %ldx%ld parent=%p\n", what, cls.c_str(), style, rect,
                    r.right - r.left, r.bottom - r.top, (void*)parent);
    }
    return CallNextHookEx(hook, code, w, l);
}

int main() {
    hook = SetWindowsHookExA(WH_CBT, Cbt, nullptr, GetCurrentThreadId());
    std::printf("-- CoInitialize\n");
    CoInitialize(nullptr);
    std::printf("-- top-level window, shown\n");
    HWND w = CreateWindowExA(0, "STATIC", "probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    MSG m;
    for (int i = 0; i < 50; ++i) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(5);
    }
    std::printf("-- destroy\n");
    DestroyWindow(w);
    std::printf("-- CoUninitialize\n");
    CoUninitialize();
    std::printf("-- end\n");
    UnhookWindowsHookEx(hook);
    return 0;
}
