// Measures owner-drawn items tracked with TPM_NONOTIFY: measure and draw messages (separators too), the proposed sizes, and whether the item state shows the highlight while a menu is open.
#include "probe.h"

HWND owner;
HMENU top, sub;
int step;

void hiliteState(const char* when)
{
    for (HMENU m : {top, sub}) {
        std::string line;
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STATE;
            GetMenuItemInfoA(m, i, TRUE, &info);
            char part[48];
            snprintf(part, sizeof part, " [%d]%s%s", i, (info.fState & MFS_HILITE) ? "HILITE" : "-",
                     (GetMenuState(m, i, MF_BYPOSITION) & MF_HILITE) ? "/state" : "");
            line += part;
        }
        out("[%5lu]   %s %s:%s", elapsed(), when, m == top ? "top" : "sub", line.c_str());
    }
}

LRESULT CALLBACK ownerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    switch (m) {
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        out("[%5lu] WM_MEASUREITEM type=%u id=%u proposed %ux%u (SM_CYMENUCHECK %d, SM_CYMENU %d)", elapsed(),
            mi->CtlType, mi->itemID, mi->itemWidth, mi->itemHeight, GetSystemMetrics(SM_CYMENUCHECK),
            GetSystemMetrics(SM_CYMENU));
        mi->itemWidth = 100;
        mi->itemHeight = mi->itemID == 3 ? 8 : 20;
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        out("[%5lu] WM_DRAWITEM type=%u id=%u action=%x state=%x rc=%s menu=%s", elapsed(), di->CtlType, di->itemID,
            di->itemAction, di->itemState, rectText(di->rcItem).c_str(),
            (HMENU)di->hwndItem == top ? "top" : (HMENU)di->hwndItem == sub ? "sub" : "?");
        HBRUSH b = CreateSolidBrush((di->itemState & ODS_SELECTED) ? RGB(0, 0, 200) : RGB(200, 200, 0));
        FillRect(di->hDC, &di->rcItem, b);
        DeleteObject(b);
        return TRUE;
    }
    case WM_MENUSELECT:
        out("[%5lu] WM_MENUSELECT item=%u flags=%04x menu=%s", elapsed(), LOWORD(w), HIWORD(w),
            (HMENU)l == top ? "top" : (HMENU)l == sub ? "sub" : l == 0 ? "0" : "?");
        break;
    case WM_TIMER:
        hiliteState("before step");
        switch (step++) {
        case 0: tap(VK_DOWN); break;
        case 1: tap(VK_DOWN); break;
        case 2: tap(VK_DOWN); break;   // onto the separator? (skipped)
        case 3: tap(VK_RIGHT); break;  // opens the sub-menu when on it
        case 4: tap(VK_LEFT); break;
        case 5: tap(VK_ESCAPE); break;
        default: KillTimer(h, 1); if (FindWindowA("#32768", nullptr)) tap(VK_ESCAPE); break;
        }
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

int main()
{
    owner = makeTop("ProbeOwner", ownerProc, "owner", 100, 100, 300, 200);
    sub = CreatePopupMenu();
    AppendMenuA(sub, MF_OWNERDRAW, 21, "One");
    top = CreatePopupMenu();
    AppendMenuA(top, MF_OWNERDRAW, 1, "Alpha");
    AppendMenuA(top, MF_OWNERDRAW, 2, "Beta");
    AppendMenuA(top, MF_SEPARATOR | MF_OWNERDRAW, 3, nullptr);
    MENUITEMINFOA item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    item.fType = MFT_OWNERDRAW;
    item.wID = 4;
    item.hSubMenu = sub;
    item.dwTypeData = const_cast<char*>("Sub");
    InsertMenuItemA(top, 3, TRUE, &item);
    out("items: Alpha(1) Beta(2) Sub(4, sub-menu) separator(3, owner-drawn)");
    SetTimer(owner, 1, 300, nullptr);
    BOOL r = TrackPopupMenuEx(top, TPM_NONOTIFY | TPM_RIGHTBUTTON, 150, 150, owner, nullptr);
    out("[%5lu] TrackPopupMenuEx returned %d", elapsed(), r);
    hiliteState("after");
    return 0;
}
