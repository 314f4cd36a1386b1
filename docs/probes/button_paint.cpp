// Measures whether push buttons, check boxes and radio buttons paint themselves outside WM_PAINT, and BM_GETSTATE under real input.
#include "probe.h"

HWND parent;
HWND current;

LRESULT CALLBACK parentProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_CTLCOLORBTN || m == WM_CTLCOLORSTATIC || m == WM_PRINTCLIENT || m == WM_COMMAND ||
        m == WM_NOTIFY)
        watchTrail += std::string("parent:") + msgName(m) + " ";
    return DefWindowProcA(h, m, w, l);
}

POINT centre(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void probe(HWND b, const char* kind)
{
    out("---- %s", kind);
    current = b;
    watchAction(b, "WM_SETTEXT", [](HWND h) { SetWindowTextA(h, "Changed"); });
    watchAction(b, "EnableWindow(FALSE)", [](HWND h) { EnableWindow(h, FALSE); });
    watchAction(b, "EnableWindow(TRUE)", [](HWND h) { EnableWindow(h, TRUE); });
    watchAction(b, "SetFocus(button)", [](HWND h) { SetFocus(h); });
    watchAction(b, "SetFocus(parent)", [](HWND) { SetFocus(parent); });
    watchAction(b, "BM_SETSTATE TRUE", [](HWND h) { SendMessageA(h, BM_SETSTATE, TRUE, 0); });
    out("%-34s | BM_GETSTATE = %04llx", "", (unsigned long long)SendMessageA(b, BM_GETSTATE, 0, 0));
    watchAction(b, "BM_SETSTATE FALSE", [](HWND h) { SendMessageA(h, BM_SETSTATE, FALSE, 0); });
    watchAction(b, "BM_SETCHECK BST_CHECKED", [](HWND h) { SendMessageA(h, BM_SETCHECK, BST_CHECKED, 0); });
    watchAction(b, "BM_SETCHECK BST_UNCHECKED", [](HWND h) { SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0); });
    watchAction(b, "real mouse enters", [](HWND h) { POINT p = centre(h); moveTo(p.x, p.y); }, 100);
    out("%-34s | BM_GETSTATE = %04llx", "", (unsigned long long)SendMessageA(b, BM_GETSTATE, 0, 0));
    watchAction(b, "real left button down", [](HWND) { mouseButton(true); }, 100);
    out("%-34s | BM_GETSTATE while held = %04llx, GetCapture is the button: %d", "",
        (unsigned long long)SendMessageA(b, BM_GETSTATE, 0, 0), GetCapture() == b);
    watchAction(b, "real move off while held", [](HWND h) { RECT r; GetWindowRect(h, &r); moveTo(r.right + 20, r.bottom + 20); }, 100);
    out("%-34s | BM_GETSTATE = %04llx", "", (unsigned long long)SendMessageA(b, BM_GETSTATE, 0, 0));
    watchAction(b, "real move back while held", [](HWND h) { POINT p = centre(h); moveTo(p.x, p.y); }, 100);
    watchAction(b, "real left button up", [](HWND) { mouseButton(false); }, 100);
    out("%-34s | BM_GETSTATE after = %04llx check=%lld", "", (unsigned long long)SendMessageA(b, BM_GETSTATE, 0, 0),
        (long long)SendMessageA(b, BM_GETCHECK, 0, 0));
    watchAction(b, "real mouse leaves", [](HWND) { moveTo(5, 5); }, 100, 600);
    watchAction(b, "InvalidateRect + UpdateWindow", [](HWND h) { InvalidateRect(h, nullptr, TRUE); UpdateWindow(h); });
}

int main()
{
    reportCommonControls();
    parent = makeTop("ButtonParent", parentProc, "buttons", 100, 100, 400, 300);
    HINSTANCE hi = GetModuleHandleA(nullptr);
    HWND push = CreateWindowA("BUTTON", "Push", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 20, 20, 100, 28, parent, (HMENU)1, hi, nullptr);
    HWND check = CreateWindowA("BUTTON", "Check", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 20, 70, 120, 24, parent, (HMENU)2, hi, nullptr);
    HWND radio = CreateWindowA("BUTTON", "Radio", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON, 20, 120, 120, 24, parent, (HMENU)3, hi, nullptr);
    char cls[32];
    GetClassNameA(push, cls, sizeof cls);
    out("class name %s", cls);
    watch(push, "push");
    watch(check, "check");
    watch(radio, "radio");
    moveTo(5, 5);
    pump(300);
    probe(push, "push button (BS_PUSHBUTTON)");
    probe(check, "check box (BS_AUTOCHECKBOX)");
    probe(radio, "radio button (BS_AUTORADIOBUTTON)");
    return 0;
}
