#include "skin/FramePaint.h"

#include <algorithm>

#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinMenu.h"

namespace pellix {

int BorderSize(int imageSide, int frameCount) { return frameCount < 1 ? 0 : imageSide / frameCount; }

RECT SkinnedClientRect(const RECT& window, const TFrameMetrics& m) {
    RECT r{window.left + m.Left, window.top + m.Caption + m.MenuBar, window.right - m.Right, window.bottom - m.Bottom};
    if (r.bottom < r.top) r.bottom = r.top;
    if (r.right < r.left) r.right = r.left;
    return r;
}

TFrameRects FrameRects(const TFrameMetrics& m, int w, int h) {
    TFrameRects r;
    r.LeftBorder = RECT{0, 0, m.Left, h};
    r.RightBorder = RECT{w - m.Right, 0, w, h};
    r.BottomBorder = RECT{m.Left, h - m.Bottom, w - m.Right, h};
    r.TopBorder = RECT{m.Left, 0, w - m.Right, m.Caption};
    r.CaptionStrip = RECT{0, 0, w, m.Caption};
    r.MenuBar = RECT{m.Left, m.Caption, w - m.Right, m.Caption + m.MenuBar};
    r.Client = RECT{m.Left, m.Caption + m.MenuBar, w - m.Right, h - m.Bottom};
    return r;
}

namespace {

// Codes below the menu band by row (beside the client area, bottom border)
// and column (left border, inside, right border).
constexpr LRESULT kSizingCodes[2][3] = {
    {HTLEFT, HTCLIENT, HTRIGHT},
    {HTBOTTOMLEFT, HTBOTTOM, HTBOTTOMRIGHT},
};

LRESULT DrawnFrameCode(const THitFrame& f, POINT p) {
    const TFrameMetrics& m = f.Metrics;
    if (p.y < m.Caption) return HTCAPTION;
    if (p.y < m.Caption + m.MenuBar) return HTMENU;
    const int row = p.y >= f.Height - m.Bottom ? 1 : 0;
    const int column = p.x < m.Left ? 0 : p.x >= f.Width - m.Right ? 2 : 1;
    const LRESULT code = kSizingCodes[row][column];
    if (code == HTCLIENT) return code;
    return f.Sizable ? code : HTBORDER;
}

}  // namespace

LRESULT FrameHitTest(const THitFrame& f, POINT p, LRESULT defaultCode) {
    const bool inside = p.x >= 0 && p.y >= 0 && p.x < f.Width && p.y < f.Height;
    switch (defaultCode) {
    case HTNOWHERE:
    case HTERROR:
    case HTCAPTION:
    case HTMENU:
        // The platform's caption and menu bar lie elsewhere than the drawn ones.
        return inside ? DrawnFrameCode(f, p) : defaultCode;
    default: return defaultCode;
    }
}

int BorderFrame(bool active, int frameCount) { return active || frameCount == 1 ? 1 : 2; }

RECT PlaceCaptionText(const RECT& c, SIZE extent, const TDataSkinTitle& title, bool popup, int rightButtonsLeft) {
    RECT x{c.left, c.top, c.left + extent.cx + title.TXTBackleft + title.TXTBackRight, c.top + extent.cy};
    const int tw = x.right - x.left, th = x.bottom - x.top, cw = c.right - c.left, ch = c.bottom - c.top;
    int dx = 0;
    switch (title.TextAlignment) {
    case 0: dx = title.LeftWidth; break;                 // TextShift
    case 1: dx = (cw - tw) / 2; break;
    case 2: dx = cw - title.RightWidth - tw; break;      // ends TextRightClip before the edge
    default: break;
    }
    const int dy = (ch - th) / 2 + title.TopHeight / 2;  // TextShiftVert
    OffsetRect(&x, dx, dy);
    if (popup) x.right = std::max<LONG>(x.right, rightButtonsLeft - 5);
    else x.right = std::min<LONG>(x.right, c.right - title.RightWidth);
    return x;
}

RECT InactiveGapRect(const TFrameMetrics& m, int w, bool active, int platformCaptionBottom) {
    if (active || m.Caption + m.MenuBar >= platformCaptionBottom) return RECT{0, 0, 0, 0};
    return RECT{m.Left, m.Caption, w - m.Right, platformCaptionBottom - m.MenuBar};
}

// ------------------------------------------------------- the frame object

TFrameMetrics TWinSkinForm::Metrics() const {
    return TFrameMetrics{LeftBorderWidth, CaptionHeight, RightBorderWidth, BottomBorderHeight, MenuBarHeight};
}

namespace {

const TDataSkinBorder& BorderRecord(const TSkinData& data, int index) {
    switch (index) {
    case 1: return data.LeftBorder;
    case 2: return data.RightBorder;
    case 3: return data.TopBorder;
    default: return data.BottomBorder;
    }
}

// A surface of the frame's own, 32 bits so that keyed pixels stay exact.
void Resize(TBitmap& bitmap, int width, int height) {
    if (bitmap.PixelFormat() != TPixelFormat::pf32bit) bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(width, height);
}

}  // namespace

std::unique_ptr<TBitmap> TWinSkinForm::BorderPicture(int index, int width, int height) const {
    if (SkinData == nullptr || width < 0 || height < 0) return nullptr;
    const TDataSkinBorder& border = BorderRecord(*SkinData, index);
    const RECT margins{border.LeftWidth, border.TopHeight, border.RightWidth, border.BottomHeight};
    return DrawSkinImage(RECT{0, 0, width, height}, border.Image, margins, BorderFrame(FrameActive, border.FrameCount),
                         border.FrameCount, border.Tile != 1, index == 3 || index == 4);
}

void TWinSkinForm::DrawBorder(int index, const RECT& rect, HDC dc) {
    auto picture = BorderPicture(index, rect.right - rect.left, rect.bottom - rect.top);
    if (picture == nullptr) return;
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, picture->Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

void TWinSkinForm::PaintFrame(HDC dc) {
    if (SharedScratchBitmap() == nullptr || SkinData == nullptr) return;
    if (FrameState != FrameStateRunning && FrameState != FrameStateRereading) return;
    if (BorderKind == 2 || MdiChildNotNormal()) return;
    HDC own = nullptr;
    if (dc == nullptr) dc = own = GetWindowDC(Window);
    if (dc != nullptr) {
        try {
            RECT r{};
            if (GetWindowRect(Window, &r)) {
                ScreenRect = r;
                FrameWidth = r.right - r.left;
                FrameHeight = r.bottom - r.top;
                const TFrameRects parts = FrameRects(Metrics(), FrameWidth, FrameHeight);
                // The frame never paints into the client area.
                ClipGuard clip(dc);
                ExcludeClipRect(dc, parts.Client.left, parts.Client.top, parts.Client.right, parts.Client.bottom);
                OffscreenBuffer buffer(dc, RECT{0, 0, FrameWidth, FrameHeight});
                HDC b = buffer.Dc();
                DrawBorder(1, parts.LeftBorder, b);
                DrawBorder(2, parts.RightBorder, b);
                DrawBorder(4, parts.BottomBorder, b);
                PaintCaption(b);
                if (MenuBarHeight > 0) PaintMenuBand(b, parts.MenuBar);
                buffer.Flush();
            }
        } catch (...) {
            // A frame that cannot be painted stays as it was; nothing is shown.
        }
    }
    if (own != nullptr) ReleaseDC(Window, own);
    HotObject = nullptr;
    buttonPressed_ = false;
}

void TWinSkinForm::PaintCaption(HDC dc) {
    const int w = FrameWidth, t = CaptionHeight;
    const TFrameRects parts = FrameRects(Metrics(), FrameWidth, FrameHeight);
    if (w > 0 && t > 0) {
        Resize(CaptionBitmap, w, t);
        HDC caption = CaptionBitmap.Canvas()->Handle();
        // The upper ends of the side borders, just painted, stay in the strip.
        BitBlt(caption, 0, 0, w, t, dc, 0, 0, SRCCOPY);
        DrawBorder(3, parts.TopBorder, caption);
        DrawCaptionText(*CaptionBitmap.Canvas(), parts.TopBorder);
        LayoutSysButtons();
        DrawSysButtons(caption);
        BitBlt(dc, 0, 0, w, t, CaptionBitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    const RECT gap = InactiveGapRect(Metrics(), w, FrameActive,
                                     GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME));
    if (!IsRectEmpty(&gap)) FillRect(dc, &gap, SkinData->FaceBrush.get());
    SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::DrawCaptionText(TCanvas& canvas, const RECT& c) {
    CaptionSuffix = " ";
    CaptionText = GetWindowTextStr(Window);
    const std::string text = CaptionPrefix + CaptionText + CaptionSuffix;
    canvas.Font()->Assign(&CaptionFont);
    canvas.Font()->SetColor(FrameActive ? SkinData->TitleTextActiveColour : SkinData->TitleTextNoActiveColour);
    // A clear brush draws text transparently; the canvas's style comes back
    // afterwards, also when drawing fails.
    struct BrushStyleBack {
        TCanvas& canvas;
        TBrushStyle style;
        ~BrushStyleBack() { canvas.Brush()->SetStyle(style); }
    } back{canvas, canvas.Brush()->Style()};
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    // The platform caption shows "&" as it is.
    constexpr UINT kFlags = DT_SINGLELINE | DT_NOPREFIX;
    RECT x = c;
    DrawTextA(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &x, DT_CALCRECT | DT_NOCLIP | kFlags);
    const TDataSkinTitle& title = SkinData->Title;
    x = PlaceCaptionText(c, SIZE{x.right - x.left, x.bottom - x.top}, title, (RecordedStyle & WS_POPUP) != 0,
                         RightButtonsLeft);
    CaptionTextRect = x;
    if (!title.Image.Empty()) {
        const RECT margins{title.TXTBackleft, 0, title.TXTBackRight, 0};
        const RECT band{x.left, c.top, x.right, c.bottom};
        DrawImageBand(canvas, band, title.Image, margins, FrameActive ? 1 : 2, 2, true, true);
    }
    x.left += title.TXTBackleft;
    x.right -= title.TXTBackRight;
    DrawTextA(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &x, DT_END_ELLIPSIS | kFlags);
}

void TWinSkinForm::PaintMenuBand(HDC dc, const RECT& band) {
    if (SkinMenu != nullptr) {
        SkinMenu->PaintMenuBar(dc, band);
        return;
    }
    HBRUSH brush = CreateSolidBrush(ColorToRGB(SkinData->MenubarColour));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
}

// ------------------------------------------------------------------ region

void TWinSkinForm::BuildWindowRegion() {
    if (SkinData == nullptr || Window == nullptr) return;
    RECT r{};
    if (!GetWindowRect(Window, &r)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w == 0 || h == 0) return;
    if (MdiChildNotNormal()) return;
    if (w == RegionWidth && h == RegionHeight && MdiState != msMdiChild && FrameState != FrameStateRereading) return;
    const TSkinData& skin = *SkinData;
    TRegionHandle region;
    if (skin.LeftBorder.Trans + skin.RightBorder.Trans + skin.TopBorder.Trans + skin.BottomBorder.Trans == 0) {
        region.reset(CreateRectRgn(0, 0, w, h));
    } else {
        RegionWidth = w;
        RegionHeight = h;
        const TFrameMetrics m = Metrics();
        const int l = m.Left, t = m.Caption, rr = m.Right, b = m.Bottom;
        region.reset(CreateRectRgn(l, t, w - rr, h - b));
        if (BorderKind != 2) {
            auto part = [&](int index, bool keyed, int width, int height, int x, int y) -> TRegionHandle {
                if (keyed) {
                    std::unique_ptr<TBitmap> picture;
                    if (index == 3 && CaptionBitmap.Width() == w && CaptionBitmap.Height() == t) {
                        // The painted caption shapes the region, buttons and text included.
                        picture = std::make_unique<TBitmap>();
                        Resize(*picture, width, height);
                        BitBlt(picture->Canvas()->Handle(), 0, 0, width, height, CaptionBitmap.Canvas()->Handle(), l,
                               0, SRCCOPY);
                    } else {
                        picture = BorderPicture(index, width, height);
                    }
                    if (picture != nullptr) return BitmapToRegion(*picture, x, y, KeyColour, 1, 1, 1);
                }
                return TRegionHandle(CreateRectRgn(x, y, x + width, y + height));
            };
            TRegionHandle left = part(1, skin.LeftBorder.Trans == 1 && h > 1, l, h, 0, 0);
            TRegionHandle right = part(2, skin.RightBorder.Trans == 1 && h > 1, rr, h, w - rr, 0);
            TRegionHandle bottom = part(4, skin.BottomBorder.Trans == 1 && b > 1, w - l - rr, b, l, h - b);
            TRegionHandle top = part(3, skin.TopBorder.Trans == 1 && t > 1 && w - l - rr > 0, w - l - rr, t, l, 0);
            CombineRgn(left.get(), left.get(), right.get(), RGN_OR);
            CombineRgn(top.get(), top.get(), bottom.get(), RGN_OR);
            CombineRgn(left.get(), left.get(), top.get(), RGN_OR);
            CombineRgn(region.get(), region.get(), left.get(), RGN_OR);
        }
    }
    if (region == nullptr) return;
    // The system owns a region it accepted; one it refused is still ours.
    if (SetWindowRgn(Window, region.get(), TRUE)) {
        region.release();
        RegionSet = true;
    }
}

void TWinSkinForm::DropWindowRegion() {
    if (!RegionSet) return;
    CaptionBitmap.FreeImage();
    SetWindowRgn(Window, nullptr, FALSE);
    RegionSet = false;
    RegionWidth = RegionHeight = 0;
}

void TWinSkinForm::ReadShowState() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(Window, &wp)) return;
    switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: ShowState = 2; break;
    case SW_SHOWMAXIMIZED: ShowState = 1; break;
    default: ShowState = 0; break;
    }
}

void TWinSkinForm::FindMdiClient() {
    MdiState = msNone;
    for (HWND c = GetWindow(Window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetWindowClassName(c) != "MDIClient") continue;
        MdiState = msMdiFrame;
        MdiClient = c;
        if (SkinManager != nullptr) SkinManager->MdiClientWindow = c;
        return;
    }
}

// ---------------------------------------------------------------- handlers

void TWinSkinForm::WmNcCalcSize(TMessage& m) {
    CallOldFrameProc(m);
    if (LOBYTE(m.WParam) == 0) {
        m.Result = 0;
        return;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    if (MdiChildNotNormal() || BorderKind == 2) {
        params->rgrc[1] = params->rgrc[0];
    } else {
        RECT window = params->rgrc[0];
        if (params->lppos != nullptr) {
            const WINDOWPOS& p = *params->lppos;
            window = RECT{p.x, p.y, p.x + p.cx, p.y + p.cy};
        }
        params->rgrc[0] = SkinnedClientRect(window, Metrics());
        params->rgrc[1] = params->rgrc[0];
    }
    m.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::WmNcPaint(TMessage& m) {
    if (MdiChildNotNormal() || BorderKind == 2) {
        CallOldFrameProc(m);
        return;
    }
    HDC dc = nullptr;
    if (m.WParam == 1) {
        dc = GetWindowDC(Window);
    } else {
        // The DC takes the region it is given and deletes it: give it a copy,
        // the received region stays the system's.
        HRGN copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copy, reinterpret_cast<HRGN>(m.WParam), nullptr, RGN_COPY);
        dc = GetDCEx(Window, copy, DCX_WINDOW | DCX_INTERSECTRGN);
        if (dc == nullptr) DeleteObject(copy);
    }
    PaintFrame(dc);
    if (dc != nullptr) ReleaseDC(Window, dc);
    m.Result = 0;
}

void TWinSkinForm::WmNcActivate(TMessage& m) {
    FrameActive = LOBYTE(m.WParam) != 0;
    UpdateFrameTimer();
    if (!FrameActive) LeaveHotControl();
    // lParam -1: the default changes the state without painting its caption.
    TMessage quiet{m.Msg, m.WParam, static_cast<LPARAM>(-1), 0};
    CallOldFrameProc(quiet);
    m.Result = quiet.Result;
    if (!MdiChildNotNormal()) PaintFrame(nullptr);
}

void TWinSkinForm::WmSize(TMessage& m) {
    CallOldFrameProc(m);
    switch (m.WParam) {
    case SIZE_RESTORED: ShowState = 0; break;
    case SIZE_MINIMIZED: ShowState = 2; break;
    case SIZE_MAXIMIZED: ShowState = 1; break;
    default: break;
    }
    const bool leftMinimised = sizedMinimised_ && ShowState != 2;
    sizedMinimised_ = ShowState == 2;
    UpdateFrameTimer();
    if (ShowState == 2) return;
    if (MdiState == msMdiChild && (MdiMaximised() || ShowState != 0)) return;
    if (leftMinimised && FrameState != FrameStateNotStarted) {
        // Restored without WM_SYSCOMMAND: the boxes come off again and the
        // frame is computed anew for the shown window.
        SetCaptionStyles(false);
        RefreshFrame();
    }
    if (FrameState == FrameStateRunning || FrameState == FrameStateRereading) BuildWindowRegion();
}

void TWinSkinForm::WmGetMinMaxInfo(TMessage& m) {
    CallOldFrameProc(m);
    ReadShowState();
    if (ShowState == 2) {
        SetCaptionStyles(true);
    } else if (MdiState != msMdiChild) {
        SetCaptionStyles(false);
    } else if (ShowState == 0) {
        if (MdiMaximised()) SkinManager->SetMdiMax(false);
        SetCaptionStyles(false);
    } else {
        SetCaptionStyles(true);
    }
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
}

void TWinSkinForm::WmWindowPosChanged(TMessage& m) {
    ReadShowState();
    CallOldFrameProc(m);
}

void TWinSkinForm::WmEraseBkgnd(TMessage& m) {
    CallOldFrameProc(m);
    if (Form != nullptr) return;
    RECT r{};
    GetClientRect(Window, &r);
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, SkinData->FaceBrush.get());
    m.Result = 1;
}

void TWinSkinForm::WmCtlColorStatic(TMessage& m) {
    CallOldFrameProc(m);
    if (Form == nullptr) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
    m.Result = reinterpret_cast<LRESULT>(SkinData->FaceBrush.get());
}

void TWinSkinForm::WmCommand(TMessage& m) {
    const UINT command = LOWORD(m.WParam) & 0xFFF0;
    switch (command) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        // A system-menu choice reported as a command.
        PostMessageA(Window, WM_SYSCOMMAND, command, 0);
        m.Result = 0;
        return;
    default: CallOldFrameProc(m);
    }
}

void TWinSkinForm::WmSysCommand(TMessage& m) {
    const UINT command = static_cast<UINT>(m.WParam) & 0xFFF0;
    const auto key = LOWORD(m.LParam);
    if (!TrackingMenu && command == SC_KEYMENU && key != ' ' && key != '-' && GetCapture() == nullptr) {
        // Alt or F10 alone opens no platform menu loop over the skinned frame,
        // nor does a letter the drawn bar answers to.
        if (key == 0 || (SkinMenu != nullptr && SkinMenu->FindMenuBtnByAccel(key) != nullptr)) {
            m.Result = 1;
            return;
        }
    }
    switch (command) {
    case SC_MINIMIZE:
        ShowState = 2;
        if (MdiState == msMdiChild) SetCaptionStyles(true);
        break;
    case SC_MAXIMIZE: ShowState = 1; break;
    case SC_RESTORE:
        ShowState = 0;
        if (MdiState == msMdiChild) SetCaptionStyles(false);
        break;
    default: break;
    }
    CallOldFrameProc(m);
}

}  // namespace pellix
