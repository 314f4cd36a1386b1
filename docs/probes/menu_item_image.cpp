// What an owner-drawn item with an image relies on: DrawText's measured rectangle per alignment, an image list's masked and mask drawing, a pattern brush from a DIB section, and DrawEdge's sunken outer edge.
#include "probe.h"

static HBITMAP Dib(HDC dc, int w, int h, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0);
}

static uint32_t Px(HDC dc, int x, int y) { return GetPixel(dc, x, y); }

int main() {
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    HBITMAP target = Dib(dc, 64, 32, &bits);
    SelectObject(dc, target);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));

    // 1. DT_CALCRECT with each alignment.
    const struct { const char* name; UINT f; } aligns[] = {{"DT_LEFT", DT_LEFT}, {"DT_RIGHT", DT_RIGHT}, {"DT_CENTER", DT_CENTER}};
    for (auto a : aligns) {
        RECT r{20, 0, 200, 20};
        DrawTextA(dc, "Open", 4, &r, a.f | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
        out("calcrect %-9s (20,0)-(200,20) -> %s", a.name, rectText(r).c_str());
        RECT rtl{20, 0, 200, 20};
        DrawTextA(dc, "Open", 4, &rtl, a.f | DT_RIGHT | DT_RTLREADING | DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
        out("calcrect %-9s +DT_RIGHT|DT_RTLREADING -> %s", a.name, rectText(rtl).c_str());
    }

    // 2. An image list of 10 x 8 24-bit images with a mask from a colour.
    HIMAGELIST list = ImageList_Create(10, 8, ILC_COLOR24 | ILC_MASK, 1, 1);
    uint32_t* ibits = nullptr;
    HDC idc = CreateCompatibleDC(nullptr);
    HBITMAP image = Dib(idc, 10, 8, &ibits);
    for (int i = 0; i < 80; ++i) ibits[i] = 0x0000B4;          // blue 180
    ibits[0] = 0xFF00FF;                                       // magenta corner, top-left
    int index = ImageList_AddMasked(list, image, RGB(255, 0, 255));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    out("AddMasked -> %d, count %d, size %dx%d", index, ImageList_GetImageCount(list), cx, cy);
    GdiFlush();
    out("the added bitmap afterwards: masked pixel %06x, others %06x", ibits[0], ibits[1]);
    out("bk colour %08x (CLR_NONE %08x)", ImageList_GetBkColor(list), CLR_NONE);
    for (int i = 0; i < 64 * 32; ++i) bits[i] = 0x112233;
    for (UINT style : {static_cast<UINT>(ILD_NORMAL), static_cast<UINT>(ILD_TRANSPARENT)}) {
        for (int i = 0; i < 64 * 32; ++i) bits[i] = 0x112233;
        ImageList_Draw(list, 0, dc, 3, 2, style);
        GdiFlush();
        out("draw %s: corner %06x body %06x beside %06x", style == ILD_NORMAL ? "ILD_NORMAL" : "ILD_TRANSPARENT",
            Px(dc, 3, 2), Px(dc, 5, 4), Px(dc, 13, 2));
    }
    // The mask into a one-bit bitmap filled white first.
    HDC mdc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateBitmap(10, 8, 1, 1, nullptr);
    HGDIOBJ oldMono = SelectObject(mdc, mono);
    PatBlt(mdc, 0, 0, 10, 8, WHITENESS);
    BOOL ok = ImageList_Draw(list, 0, mdc, 0, 0, ILD_MASK);
    out("ILD_MASK into one-bit: ok %d corner %06x body %06x", ok, Px(mdc, 0, 0), Px(mdc, 5, 4));
    PatBlt(mdc, 0, 0, 10, 8, BLACKNESS);
    ImageList_Draw(list, 0, mdc, 0, 0, ILD_MASK);
    out("ILD_MASK into one-bit prefilled black: corner %06x body %06x", Px(mdc, 0, 0), Px(mdc, 5, 4));
    PatBlt(mdc, 0, 0, 10, 8, WHITENESS);
    ImageList_Draw(list, 0, mdc, 0, 0, ILD_MASK);
    SelectObject(mdc, oldMono);
    // The mask as MaskBlt's mask: brush where the mask is 0.
    for (int i = 0; i < 64 * 32; ++i) bits[i] = 0x112233;
    HBRUSH shadow = CreateSolidBrush(RGB(10, 200, 30));
    HGDIOBJ oldBrush = SelectObject(dc, shadow);
    ok = MaskBlt(dc, 3, 2, 10, 8, dc, 3, 2, mono, 0, 0, MAKEROP4(0x00AA0029, PATCOPY));
    GdiFlush();
    out("MaskBlt brush through the mask: ok %d corner %06x body %06x beside %06x", ok, Px(dc, 3, 2), Px(dc, 5, 4), Px(dc, 13, 2));
    // The same through BitBlt from the one-bit context: white where the mask
    // is 0 (text colour), black where it is 1, ROP DSPDxax (brush where the
    // source is white, target kept where it is black).
    for (int i = 0; i < 64 * 32; ++i) bits[i] = 0x112233;
    oldMono = SelectObject(mdc, mono);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    ok = BitBlt(dc, 3, 2, 10, 8, mdc, 0, 0, 0x00B8074A);
    GdiFlush();
    out("BitBlt DSPDxax through the mask (text white, back black): ok %d corner %06x body %06x beside %06x", ok, Px(dc, 3, 2), Px(dc, 5, 4), Px(dc, 13, 2));
    for (int i = 0; i < 64 * 32; ++i) bits[i] = 0x112233;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, 3, 2, 10, 8, mdc, 0, 0, 0x00B8074A);
    GdiFlush();
    out("BitBlt DSPDxax through the mask (text black, back white): corner %06x body %06x", Px(dc, 3, 2), Px(dc, 5, 4));
    SelectObject(mdc, oldMono);
    SelectObject(dc, oldBrush);
    DeleteObject(shadow);

    // 3. A pattern brush from an 8 x 8 32-bit DIB section of alternating pixels.
    uint32_t* pbits = nullptr;
    HBITMAP pattern = Dib(nullptr, 8, 8, &pbits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pbits[y * 8 + x] = (x + y) % 2 ? 0x0000FF : 0x00FF00;  // odd: blue, even: green
    HBRUSH pb = CreatePatternBrush(pattern);
    RECT fill{5, 3, 21, 19};
    FillRect(dc, &fill, pb);
    GdiFlush();
    out("pattern: (5,3) %06x (6,3) %06x (5,4) %06x (6,4) %06x", Px(dc, 5, 3), Px(dc, 6, 3), Px(dc, 5, 4), Px(dc, 6, 4));
    DeleteObject(pb);

    // 4. DrawEdge BDR_SUNKENOUTER, BF_RECT.
    for (int i = 0; i < 64 * 32; ++i) bits[i] = 0x112233;
    RECT box{1, 1, 17, 17};
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    GdiFlush();
    out("sunken outer: top %06x left %06x bottom %06x right %06x inside %06x, corners tr %06x bl %06x; shadow %06x highlight %06x",
        Px(dc, 8, 1), Px(dc, 1, 8), Px(dc, 8, 16), Px(dc, 16, 8), Px(dc, 8, 8), Px(dc, 16, 1), Px(dc, 1, 16),
        GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    return 0;
}
