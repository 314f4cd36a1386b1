#include "skin/CaptionButtons.h"

#include <algorithm>

namespace pellix {

namespace {

// The first of a button's two visibility codes.
bool FirstTest(int32_t code, const TDataSkinSysButton& b, const TCaptionState& s) {
    const bool maxBox = (s.CaptionFlags & kCaptionMaxBox) != 0, minBox = (s.CaptionFlags & kCaptionMinBox) != 0;
    const bool sysMenu = (s.CaptionFlags & kCaptionSysMenu) != 0;
    switch (code) {
    case 0: return s.BorderKind != 3 && (b.Action != sbaClose || sysMenu);
    case 1: return s.ShowState == 1;
    case 2: return s.ShowState != 1;
    case 3: return s.FrameActive;
    case 4: return !s.FrameActive;
    case 5: return false;
    case 6: return maxBox && sysMenu;
    case 7: return !maxBox;
    case 8: return minBox && sysMenu;
    case 9: return !minBox;
    case 100: return s.ActiveMdiChildMaximised && s.MenuBarHeight > 0;
    default: return code >= 200 && code <= 2000;
    }
}

// The second code: as the first, except that 0 always passes and 6 and 8 ask
// only for the box.
bool SecondTest(int32_t code, const TDataSkinSysButton& b, const TCaptionState& s) {
    switch (code) {
    case 0: return true;
    case 6: return (s.CaptionFlags & kCaptionMaxBox) != 0;
    case 8: return (s.CaptionFlags & kCaptionMinBox) != 0;
    default: return FirstTest(code, b, s);
    }
}

}  // namespace

bool IsSysButtonVisible(const TDataSkinSysButton& b, const TCaptionState& s) {
    if (!FirstTest(b.Visibility, b, s) || !SecondTest(b.Visibility1, b, s)) return false;
    if (b.Action == sbaMaximize && (s.CaptionFlags & kCaptionMaxBox) == 0) return false;
    if (b.Action == sbaMinimize && (s.CaptionFlags & kCaptionMinBox) == 0) return false;
    return true;
}

int SysButtonFrameWidth(const TDataSkinSysButton& b) {
    if (b.Image.Empty() || b.FrameCount < 1) return 0;
    return b.Image.Width() / b.FrameCount;
}

RECT PlaceSysButton(const TDataSkinSysButton& b, const TButtonPlacement& p, int& rightButtonsLeft) {
    const int fw = SysButtonFrameWidth(b), h = b.Image.Height();
    RECT r{0, 0, fw, h};
    switch (b.Align) {
    case 0: OffsetRect(&r, b.Xcoord, b.Ycoord); break;
    case 1:
        OffsetRect(&r, p.FrameWidth - b.Xcoord, b.Ycoord);
        rightButtonsLeft = std::max<int>(rightButtonsLeft, r.left);
        break;
    case 2:
    case 8: OffsetRect(&r, p.CaptionTextRect.left - fw - b.Xcoord, b.Ycoord); break;
    case 3:
    case 9: OffsetRect(&r, p.CaptionTextRect.right + b.Xcoord, b.Ycoord); break;
    case 100:
        OffsetRect(&r, p.FrameWidth - b.Xcoord - p.RightBorderWidth - p.MenuBarLeftWidth,
                   (p.MenuBarHeight - h) / 2 + p.CaptionHeight);
        break;
    default: break;
    }
    return r;
}

int SysButtonStateFrame(int state, const TDataSkinSysButton& b) {
    const int frame = state == 3 && b.Visibility == 100 ? 4 : state;
    return std::clamp(frame, 1, std::max(1, b.FrameCount));
}

int SysButtonPaintFrame(bool active, const TDataSkinSysButton& b) { return active || b.FrameCount < 4 ? 1 : 4; }

}  // namespace pellix
