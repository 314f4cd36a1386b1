// Measures what an edit's WM_PRINT leaves in the caller's DC: clip region, origins, selected brush.
#include "probe.h"

void probe(const char* name, DWORD style, DWORD exStyle, bool callerClip)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND edit = CreateWindowExA(exStyle, "EDIT", "Edit", WS_CHILD | WS_VISIBLE | style, 10, 10, 140, 24, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(parent);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 140, 24);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    if (callerClip) IntersectClipRect(dc, 0, 0, 100, 24);
    RECT box;
    int saved = SaveDC(dc);
    SendMessageA(edit, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    RestoreDC(dc, saved);
    int kind = GetClipBox(dc, &box);
    out("%s, caller clip %d: WM_PRINT between SaveDC and RestoreDC leaves clip kind %d %s", name, callerClip, kind,
        rectText(box).c_str());
    out("  before a plain WM_PRINT: clip kind %d %s", kind, rectText(box).c_str());
    SendMessageA(edit, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    kind = GetClipBox(dc, &box);
    POINT vp, wo;
    GetViewportOrgEx(dc, &vp);
    GetWindowOrgEx(dc, &wo);
    out("  after: clip kind %d %s, viewport (%ld,%ld), window origin (%ld,%ld), brush still the caller's: %d", kind,
        rectText(box).c_str(), vp.x, vp.y, wo.x, wo.y, GetCurrentObject(dc, OBJ_BRUSH) == red);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    DeleteObject(red);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyWindow(parent);
}

int main()
{
    probe("client edge", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, false);
    probe("client edge", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true);
    probe("WS_BORDER", ES_AUTOHSCROLL | WS_BORDER, 0, false);
    probe("no border", ES_AUTOHSCROLL, 0, false);
}
