// Measures what becomes of a click outside an open popup menu that ends TrackPopupMenuEx: whether the owner then gets the click (client and non-client), and whether a message-filter hook that ends the menu and answers the click keeps it from the owner.
#include "probe.h"

HWND owner;
HMENU menu;
HHOOK filter;
bool eat;
POINT target;
int stage;

LRESULT CALLBACK ownerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    switch (m) {
    case WM_NCHITTEST: {
        LRESULT r = DefWindowProcA(h, m, w, l);
        return r;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        out("[%5lu] owner %s w=%llu", elapsed(), msgName(m), (unsigned long long)w);
        break;
    case WM_TIMER:
        KillTimer(h, 1);
        out("[%5lu] click at (%ld,%ld) outside the menu", elapsed(), target.x, target.y);
        moveTo(target.x, target.y);
        mouseButton(true);
        mouseButton(false);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

LRESULT CALLBACK filterProc(int code, WPARAM w, LPARAM l)
{
    auto* msg = reinterpret_cast<MSG*>(l);
    if (code == MSGF_MENU && eat && msg->message == WM_LBUTTONDOWN) {
        out("[%5lu]   filter: WM_LBUTTONDOWN at (%ld,%ld): EndMenu, answered", elapsed(), msg->pt.x, msg->pt.y);
        EndMenu();
        return TRUE;
    }
    return CallNextHookEx(filter, code, w, l);
}

int main()
{
    filter = SetWindowsHookExA(WH_MSGFILTER, filterProc, nullptr, GetCurrentThreadId());
    owner = makeTop("ProbeOwner", ownerProc, "owner", 100, 100, 400, 300);
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Alpha");
    AppendMenuA(menu, MF_STRING, 2, "Beta");
    RECT w;
    GetWindowRect(owner, &w);
    for (int kind = 0; kind < 3; ++kind) {
        // kind 0: the caption (non-client), kind 1: the client area, kind 2: the caption with the hook answering
        target = kind == 1 ? POINT{w.left + 60, w.top + 200} : POINT{w.left + 60, w.top + 10};
        eat = kind == 2;
        SetTimer(owner, 1, 300, nullptr);
        out("---- %s", kind == 0 ? "click on the owner's caption" : kind == 1 ? "click in the owner's client area"
                                                                            : "click on the caption, hook ends the menu and answers it");
        BOOL r = TrackPopupMenuEx(menu, TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_RETURNCMD, w.left + 200, w.top + 60, owner, nullptr);
        out("[%5lu] TrackPopupMenuEx returned %d", elapsed(), r);
        pump(400);
    }
    return 0;
}
