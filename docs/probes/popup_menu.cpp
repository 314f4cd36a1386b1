// Measures what a subclassed "#32768" popup window receives during TrackPopupMenu, its rectangles, MN_GETHMENU, owner-drawn item rectangles, a GetDC border, and a sub-menu's popup.
#include "probe.h"

constexpr UINT MN_GETHMENU_ = 0x01E1;
constexpr COLORREF ringColour = RGB(255, 0, 0);

HWND owner;
HMENU mainMenu, subMenu;
HHOOK cbt;
int popupCount;
bool drawRing;   // the second run draws a 3-pixel ring after each WM_PAINT
bool verbose;    // the first run logs every message
int step;

struct Popup {
    HWND h;
    WNDPROC old;
    int index;
};
std::vector<Popup> popups;

Popup* findPopup(HWND h)
{
    for (auto& p : popups)
        if (p.h == h) return &p;
    return nullptr;
}

const char* menuName(HMENU m)
{
    if (!m) return "NULL";
    if (m == mainMenu) return "main";
    if (m == subMenu) return "sub";
    return "other";
}

void drawRingOn(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetDC(h);
    HBRUSH b = CreateSolidBrush(ringColour);
    RECT strips[4] = {{0, 0, r.right, 3}, {0, r.bottom - 3, r.right, r.bottom}, {0, 3, 3, r.bottom - 3},
                      {r.right - 3, 3, r.right, r.bottom - 3}};
    for (auto& s : strips) FillRect(dc, &s, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
}

LRESULT CALLBACK popupProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    Popup* p = findPopup(h);
    WNDPROC old = p->old;
    int idx = p->index;
    HMENU hm = reinterpret_cast<HMENU>(CallWindowProcA(old, h, MN_GETHMENU_, 0, 0));
    bool paintish = m == WM_PAINT || m == WM_NCPAINT || m == WM_ERASEBKGND || m == WM_PRINT ||
                    m == WM_PRINTCLIENT || m == WM_NCCALCSIZE || m == WM_SHOWWINDOW || m == WM_DESTROY ||
                    m == WM_NCCREATE || m == WM_CREATE;
    if (verbose || paintish) {
        out("[%5lu] popup%d %-22s w=%llx l=%llx MN_GETHMENU=%s", elapsed(), idx, msgName(m),
            (unsigned long long)w, (unsigned long long)l, menuName(hm));
        if (m == WM_NCCALCSIZE || m == WM_PAINT || m == WM_SHOWWINDOW || m == WM_WINDOWPOSCHANGED)
            out("        %s", windowRects(h).c_str());
        if (m == WM_NCCALCSIZE && w) {
            auto* ps = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
            out("        NCCALCSIZE rgrc[0] in %s", rectText(ps->rgrc[0]).c_str());
        }
    }
    LRESULT r = CallWindowProcA(old, h, m, w, l);
    if (m == WM_NCCALCSIZE && w && (verbose || paintish))
        out("        NCCALCSIZE rgrc[0] out %s", rectText(reinterpret_cast<NCCALCSIZE_PARAMS*>(l)->rgrc[0]).c_str());
    if (m == WM_PAINT && drawRing) drawRingOn(h);
    if (m == WM_PAINT && !drawRing) {
        Shot s = grab(h);
        int my = s.h / 2;
        out("        after Wine's WM_PAINT, left edge middle row pixels x=0..4: %06lx %06lx %06lx %06lx %06lx",
            s.at(0, my), s.at(1, my), s.at(2, my), s.at(3, my), s.at(4, my));
        out("        top row middle column y=0..4: %06lx %06lx %06lx %06lx %06lx", s.at(s.w / 2, 0),
            s.at(s.w / 2, 1), s.at(s.w / 2, 2), s.at(s.w / 2, 3), s.at(s.w / 2, 4));
    }
    return r;
}

LRESULT CALLBACK cbtProc(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_CREATEWND) {
        char cls[64] = "";
        GetClassNameA(reinterpret_cast<HWND>(w), cls, sizeof cls);
        if (strcmp(cls, "#32768") == 0) {
            HWND h = reinterpret_cast<HWND>(w);
            auto* cs = reinterpret_cast<CBT_CREATEWNDA*>(l)->lpcs;
            popups.push_back({h, nullptr, ++popupCount});
            popups.back().old =
                reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(popupProc)));
            out("[%5lu] HCBT_CREATEWND #32768 -> popup%d style=%08lx exstyle=%08lx cs=(%d,%d %dx%d) MN_GETHMENU=%s",
                elapsed(), popupCount, cs->style, cs->dwExStyle, cs->x, cs->y, cs->cx, cs->cy,
                menuName(reinterpret_cast<HMENU>(CallWindowProcA(popups.back().old, h, MN_GETHMENU_, 0, 0))));
        }
    } else if (code == HCBT_DESTROYWND) {
        if (Popup* p = findPopup(reinterpret_cast<HWND>(w))) out("[%5lu] HCBT_DESTROYWND popup%d", elapsed(), p->index);
    }
    return CallNextHookEx(cbt, code, w, l);
}

HWND lastPopup()
{
    for (auto it = popups.rbegin(); it != popups.rend(); ++it)
        if (IsWindow(it->h)) return it->h;
    return nullptr;
}

void reportRing(const char* when)
{
    for (auto& p : popups) {
        if (!IsWindow(p.h)) continue;
        Shot s = grab(p.h);
        auto [n, total] = ringCount(s, ringColour, 3);
        out("[%5lu] ring on popup%d %s: %d of %d pixels red", elapsed(), p.index, when, n, total);
    }
}

void itemRects()
{
    HWND pp = lastPopup();
    RECT w;
    GetWindowRect(pp, &w);
    HMENU m = reinterpret_cast<HMENU>(SendMessageA(pp, MN_GETHMENU_, 0, 0));
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
        RECT r;
        GetMenuItemRect(nullptr, m, i, &r);
        OffsetRect(&r, -w.left, -w.top);
        out("        item %d of %s in window coordinates %s", i, menuName(m), rectText(r).c_str());
    }
}

// Drives the open menu from a timer that ticks inside the menu loop.
void nextStep()
{
    ++step;
    out("[%5lu] step %d", elapsed(), step);
    HWND pp = lastPopup();
    switch (step) {
    case 1:
        itemRects();
        reportRing("after opening");
        tap(VK_DOWN);
        break;
    case 2:
        reportRing("after VK_DOWN");
        tap(VK_DOWN);
        break;
    case 3: {
        reportRing("after second VK_DOWN");
        RECT r;
        GetMenuItemRect(nullptr, mainMenu, 0, &r);
        moveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        break;
    }
    case 4: {
        reportRing("after mouse over item 0");
        RECT r;
        GetMenuItemRect(nullptr, mainMenu, 2, &r);
        moveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);  // the sub-menu item
        break;
    }
    case 5:
        reportRing("after mouse over the sub-menu item");
        tap(VK_RIGHT);
        break;
    case 6:
        out("        sub-menu popup: %s", windowRects(lastPopup()).c_str());
        itemRects();
        reportRing("with the sub-menu open");
        tap(VK_DOWN);
        break;
    case 7:
        reportRing("after VK_DOWN in the sub-menu");
        tap(VK_ESCAPE);
        break;
    case 8:
        reportRing("after Esc closed the sub-menu");
        tap(VK_ESCAPE);
        break;
    default:
        if (pp) {
            out("        still open: Esc again");
            tap(VK_ESCAPE);
        }
        break;
    }
}

LRESULT CALLBACK ownerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    switch (m) {
    case WM_TIMER:
        nextStep();
        return 0;
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        if (verbose) out("[%5lu] owner WM_MEASUREITEM id=%u proposed %ux%u", elapsed(), mi->itemID, mi->itemWidth, mi->itemHeight);
        mi->itemWidth = 120;
        mi->itemHeight = 20;
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        HWND dcw = WindowFromDC(di->hDC);
        Popup* p = findPopup(dcw);
        out("[%5lu] owner WM_DRAWITEM id=%u action=%u state=%x rcItem=%s hwndItem=%s dcWindow=popup%d", elapsed(),
            di->itemID, di->itemAction, di->itemState, rectText(di->rcItem).c_str(),
            menuName(reinterpret_cast<HMENU>(di->hwndItem)), p ? p->index : -1);
        HBRUSH b = CreateSolidBrush((di->itemState & ODS_SELECTED) ? RGB(0, 0, 200) : RGB(200, 200, 200));
        FillRect(di->hDC, &di->rcItem, b);
        DeleteObject(b);
        return TRUE;
    }
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_MENUSELECT:
    case WM_ENTERIDLE:
        if (verbose || m != WM_ENTERIDLE)
            out("[%5lu] owner %s w=%llx l=%llx", elapsed(), msgName(m), (unsigned long long)w, (unsigned long long)l);
        break;
    }
    return DefWindowProcA(h, m, w, l);
}

void run(bool ring, bool logAll)
{
    drawRing = ring;
    verbose = logAll;
    step = 0;
    out("---- TrackPopupMenu, %s", ring ? "3-pixel ring drawn with GetDC after each WM_PAINT" : "every message logged");
    SetTimer(owner, 1, 300, nullptr);
    BOOL r = TrackPopupMenu(mainMenu, TPM_LEFTALIGN | TPM_TOPALIGN, 200, 150, 0, owner, nullptr);
    KillTimer(owner, 1);
    out("[%5lu] TrackPopupMenu returned %d", elapsed(), r);
    pump(200);
}

int main()
{
    reportCommonControls();
    owner = makeTop("PopupOwner", ownerProc, "owner", 50, 50, 500, 400);
    mainMenu = CreatePopupMenu();
    subMenu = CreatePopupMenu();
    AppendMenuA(mainMenu, MF_OWNERDRAW, 101, "Alpha");
    AppendMenuA(mainMenu, MF_OWNERDRAW, 102, "Beta");
    AppendMenuA(mainMenu, MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(subMenu), "Sub");
    AppendMenuA(mainMenu, MF_STRING, 104, "Plain &string");
    AppendMenuA(subMenu, MF_OWNERDRAW, 201, "One");
    AppendMenuA(subMenu, MF_OWNERDRAW, 202, "Two");
    cbt = SetWindowsHookExA(WH_CBT, cbtProc, nullptr, GetCurrentThreadId());
    pump(300);
    moveTo(5, 5);
    run(false, true);
    run(true, false);
    UnhookWindowsHookEx(cbt);
    return 0;
}
