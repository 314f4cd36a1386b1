#include "framework/Screen.h"

#include <algorithm>
#include <cstring>

namespace pellix {

namespace {

// Forms that the application still owns at exit are freed by its static
// object, which may go after this one: they must then find no screen.
bool g_screenGone = false;

TScreen& TheScreen() {
    static TScreen screen;
    return screen;
}

}  // namespace

TScreen* const Screen = &TheScreen();

TScreen::~TScreen() { g_screenGone = true; }

HCURSOR TScreen::CursorHandle(TCursor cursor) {
    LPCSTR id = nullptr;
    switch (cursor) {
    case crNone: return nullptr;
    case crHourGlass: id = IDC_WAIT; break;
    default: id = IDC_ARROW; break;
    }
    // System cursors are shared and never freed.
    return LoadCursorA(nullptr, id);
}

void TScreen::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    if (cursor != crDefault) {
        ::SetCursor(CursorHandle(cursor));
        return;
    }
    POINT p;
    GetCursorPos(&p);
    HWND under = WindowFromPoint(p);
    if (under == nullptr || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) {
        ::SetCursor(CursorHandle(crArrow));
        return;
    }
    LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

TFont* TScreen::MenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return &menuFont_;
    // The font object is made again only when the setting changed.
    if (!menuFontRead_ || std::memcmp(&menuLogFont_, &metrics.lfMenuFont, sizeof(LOGFONTA)) != 0) {
        menuLogFont_ = metrics.lfMenuFont;
        menuFontRead_ = true;
        menuFont_.SetLogFont(menuLogFont_);
    }
    return &menuFont_;
}

void TScreen::FormCreated(TCustomForm* form) {
    if (!g_screenGone) TheScreen().forms_.push_back(form);
}

void TScreen::FormDestroyed(TCustomForm* form) {
    if (g_screenGone) return;
    TScreen& screen = TheScreen();
    screen.forms_.erase(std::remove(screen.forms_.begin(), screen.forms_.end(), form), screen.forms_.end());
    if (screen.activeForm_ == form) screen.activeForm_ = nullptr;
}

void TScreen::FormActivated(TCustomForm* form) {
    if (!g_screenGone) TheScreen().activeForm_ = form;
}

}  // namespace pellix
