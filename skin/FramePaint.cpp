#include "skin/FramePaint.h"

#include <algorithm>

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
    if ((defaultCode == HTNOWHERE || defaultCode == HTERROR) && inside) return DrawnFrameCode(f, p);
    if (defaultCode == HTCAPTION && f.Metrics.MenuBar > 0 && p.y >= f.Metrics.Caption) return HTMENU;
    return defaultCode;
}

int BorderFrame(bool active, int frameCount) { return active || frameCount == 1 ? 1 : 2; }

std::string DecoratedCaption(const std::string& text) { return "  " + text + " "; }

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

}  // namespace pellix
