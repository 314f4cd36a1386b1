// Measures track-bar custom draw and its thumb rectangle, progress-bar painting with and without PBS_SMOOTH, and status-bar part rectangles and size grip.
#include "probe.h"

HWND parent, track;
bool paintThumbRed;
std::string drawTrail;

const char* stageName(DWORD s)
{
    switch (s) {
    case CDDS_PREPAINT: return "PREPAINT";
    case CDDS_POSTPAINT: return "POSTPAINT";
    case CDDS_PREERASE: return "PREERASE";
    case CDDS_POSTERASE: return "POSTERASE";
    case CDDS_ITEMPREPAINT: return "ITEMPREPAINT";
    case CDDS_ITEMPOSTPAINT: return "ITEMPOSTPAINT";
    default: return "?";
    }
}

const char* partName(DWORD_PTR p)
{
    switch (p) {
    case TBCD_CHANNEL: return "channel";
    case TBCD_THUMB: return "thumb";
    case TBCD_TICS: return "tics";
    default: return "-";
    }
}

LRESULT CALLBACK parentProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(l);
        if (hdr->code == NM_CUSTOMDRAW && hdr->hwndFrom == track) {
            auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(l);
            char buf[160];
            snprintf(buf, sizeof buf, "%s%s%s %s; ", stageName(cd->dwDrawStage),
                     (cd->dwDrawStage & CDDS_ITEM) ? ":" : "", (cd->dwDrawStage & CDDS_ITEM) ? partName(cd->dwItemSpec) : "",
                     (cd->dwDrawStage & CDDS_ITEM) ? rectText(cd->rc).c_str() : "");
            drawTrail += buf;
            if (cd->dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYPOSTERASE;
            if (cd->dwDrawStage == CDDS_ITEMPREPAINT && cd->dwItemSpec == TBCD_THUMB && paintThumbRed) {
                HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
                FillRect(cd->hdc, &cd->rc, b);
                DeleteObject(b);
                return CDRF_SKIPDEFAULT;
            }
            return CDRF_DODEFAULT | CDRF_NOTIFYPOSTPAINT;
        }
    }
    return DefWindowProcA(h, m, w, l);
}

RECT colourBox(const Shot& s, DWORD colour)
{
    RECT r{s.w, s.h, -1, -1};
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x)
            if (s.at(x, y) == colour) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

void trackbars()
{
    for (DWORD style : {DWORD(TBS_HORZ | TBS_AUTOTICKS), DWORD(TBS_VERT | TBS_AUTOTICKS), DWORD(TBS_HORZ | TBS_BOTH | TBS_AUTOTICKS)}) {
        bool vert = style & TBS_VERT;
        track = CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10,
                                vert ? 40 : 200, vert ? 200 : 40, parent, (HMENU)1, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        SendMessageA(track, TBM_SETPOS, TRUE, 3);
        drawTrail.clear();
        pump(150);
        out("---- track bar style %08lx: %s", style, windowRects(track).c_str());
        out("custom draw: %s", drawTrail.c_str());
        RECT thumb, channel;
        SendMessageA(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        SendMessageA(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        out("TBM_GETTHUMBRECT %s TBM_GETCHANNELRECT %s (the channel rectangle is horizontal even for TBS_VERT on Windows)",
            rectText(thumb).c_str(), rectText(channel).c_str());
        paintThumbRed = true;
        InvalidateRect(track, nullptr, TRUE);
        drawTrail.clear();
        pump(150);
        out("thumb filled red with CDRF_SKIPDEFAULT: red box %s", rectText(colourBox(grab(track, false), 0xFF0000)).c_str());
        paintThumbRed = false;
        watch(track, "track");
        watchAction(track, "mouse over the thumb", [](HWND h) {
            RECT r;
            SendMessageA(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
            MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
            moveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        }, 150);
        watchAction(track, "TBM_SETPOS redraw", [](HWND h) { SendMessageA(h, TBM_SETPOS, TRUE, 7); });
        watchAction(track, "SetFocus(track)", [](HWND h) { SetFocus(h); });
        watchAction(track, "mouse leaves", [](HWND) { moveTo(5, 5); }, 100, 600);
        DestroyWindow(track);
        track = nullptr;
    }
}

std::string runs(const Shot& s, int y)
{
    std::string r;
    int start = 0;
    for (int x = 1; x <= s.w; ++x)
        if (x == s.w || s.at(x, y) != s.at(start, y)) {
            char buf[48];
            snprintf(buf, sizeof buf, "%d..%d:%06lx ", start, x - 1, s.at(start, y));
            r += buf;
            start = x;
        }
    return r;
}

void progress()
{
    for (DWORD style : {DWORD(0), DWORD(PBS_SMOOTH)}) {
        HWND p = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE | style, 10, 300, 200, 20, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(p, PBM_SETRANGE32, 0, 100);
        SendMessageA(p, PBM_SETPOS, 50, 0);
        pump(150);
        out("---- progress bar %s: %s", style ? "PBS_SMOOTH" : "default (chunks)", windowRects(p).c_str());
        Shot s = grab(p);
        out("middle row colour runs: %s", runs(s, s.h / 2).c_str());
        out("column x=60 top to bottom: %s", [&] {
            std::string c;
            for (int y = 0; y < s.h; ++y) {
                char b[12];
                snprintf(b, sizeof b, "%06lx ", s.at(60, y));
                c += b;
            }
            return c;
        }().c_str());
        watch(p, "progress");
        watchAction(p, "PBM_SETPOS 70", [](HWND h) { SendMessageA(h, PBM_SETPOS, 70, 0); });
        watchAction(p, "PBM_STEPIT", [](HWND h) { SendMessageA(h, PBM_STEPIT, 0, 0); });
        DestroyWindow(p);
    }
}

void statusBars()
{
    for (DWORD style : {DWORD(SBARS_SIZEGRIP), DWORD(0)}) {
        HWND sb = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        int parts[3] = {100, 250, -1};
        SendMessageA(sb, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
        SendMessageA(sb, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("one"));
        SendMessageA(sb, SB_SETTEXTA, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("two"));
        SendMessageA(sb, SB_SETTEXTA, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("three"));
        pump(150);
        out("---- status bar %s: %s, style %08llx", style ? "SBARS_SIZEGRIP" : "no grip", windowRects(sb).c_str(),
            (unsigned long long)GetWindowLongPtrA(sb, GWL_STYLE));
        int borders[3];
        SendMessageA(sb, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
        out("borders h %d v %d between %d", borders[0], borders[1], borders[2]);
        for (int i = 0; i < 3; ++i) {
            RECT r;
            SendMessageA(sb, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
            out("part %d %s", i, rectText(r).c_str());
        }
        Shot s = grab(sb, false);
        out("bottom-right 16x16 corner, rows of non-face pixels (grip):");
        DWORD face = rgbOf(GetSysColor(COLOR_BTNFACE));
        for (int y = s.h - 16; y < s.h; ++y) {
            std::string row;
            for (int x = s.w - 16; x < s.w; ++x) row += s.at(x, y) == face ? '.' : (s.at(x, y) == 0xFFFFFF ? 'w' : '#');
            out("  y=%2d %s", y, row.c_str());
        }
        SendMessageA(sb, SB_SIMPLE, TRUE, 0);
        RECT r;
        SendMessageA(sb, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        out("simple mode: SB_GETRECT(0) %s, SB_GETPARTS %lld", rectText(r).c_str(), (long long)SendMessageA(sb, SB_GETPARTS, 0, 0));
        DestroyWindow(sb);
    }
}

int main()
{
    reportCommonControls();
    parent = makeTop("BarsParent", parentProc, "bars", 50, 50, 600, 450);
    moveTo(5, 5);
    trackbars();
    progress();
    statusBars();
    return 0;
}
