// Measures how long after the cursor leaves a window TrackMouseEvent(TME_LEAVE) delivers WM_MOUSELEAVE (and WM_NCMOUSELEAVE for TME_NONCLIENT).
#include "probe.h"

HWND a, b;
DWORD leaveAt;
bool left;

LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if ((m == WM_MOUSELEAVE || m == WM_NCMOUSELEAVE) && h == a) {
        leaveAt = GetTickCount();
        left = true;
    }
    return DefWindowProcA(h, m, w, l);
}

// Puts the cursor in `a`, arms tracking, waits `phase` ms, moves it to `to`; returns the delay.
long trial(DWORD flags, POINT inside, POINT to, DWORD phase)
{
    moveTo(inside.x, inside.y);
    pump(50);
    TRACKMOUSEEVENT tme{sizeof tme, flags, a, HOVER_DEFAULT};
    TrackMouseEvent(&tme);
    pump(phase);
    left = false;
    DWORD t0 = GetTickCount();
    moveTo(to.x, to.y);
    while (!left && GetTickCount() - t0 < 2000) pump(5);
    return left ? static_cast<long>(leaveAt - t0) : -1;
}

int main()
{
    reportCommonControls();
    UINT hover = 0;
    SystemParametersInfoA(SPI_GETMOUSEHOVERTIME, 0, &hover, 0);
    out("SPI_GETMOUSEHOVERTIME %u ms", hover);
    a = makeTop("LeaveA", proc, "a", 100, 100, 300, 200);
    b = makeTop("LeaveB", proc, "b", 500, 100, 300, 200);
    pump(200);
    RECT ra;
    GetWindowRect(a, &ra);
    POINT client{ra.left + 150, ra.top + 120};
    POINT caption{ra.left + 150, ra.top + 8};
    POINT desktop{900, 800};
    POINT other{650, 220};
    struct Case {
        const char* name;
        DWORD flags;
        POINT from, to;
    } cases[] = {{"TME_LEAVE, client to the empty desktop", TME_LEAVE, client, desktop},
                 {"TME_LEAVE, client to another window", TME_LEAVE, client, other},
                 {"TME_LEAVE, client to own caption", TME_LEAVE, client, caption},
                 {"TME_LEAVE|TME_NONCLIENT, caption to desktop", TME_LEAVE | TME_NONCLIENT, caption, desktop}};
    for (auto& c : cases) {
        std::string delays;
        long lo = 100000, hi = -1;
        for (DWORD phase : {0u, 37u, 90u, 150u, 210u, 260u, 330u, 390u, 450u, 520u}) {
            long d = trial(c.flags, c.from, c.to, phase);
            delays += std::to_string(d) + " ";
            if (d >= 0) {
                lo = std::min(lo, d);
                hi = std::max(hi, d);
            }
        }
        out("%-46s delays ms: %s(min %ld, max %ld)", c.name, delays.c_str(), lo, hi);
    }
    return 0;
}
