#include "skin/CaptionButtons.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/ExtCtrls.h"
#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinMenu.h"

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

// ------------------------------------------------------------- hot objects

void TNCObject::Press() {
    if (Owner->HotObject != nullptr && Owner->HotObject != this) Owner->HotObject->Leave();
    if (!Enabled) return;
    Owner->HotObject = this;
    State = ncsPressed;
    Draw();
}

void TNCObject::Release() {
    if (!Enabled) return;
    State = ncsHot;
    Draw();
}

void TNCObject::Enter() {
    if (Owner->HotObject == this) return;
    if (Owner->HotObject != nullptr) Owner->HotObject->Leave();
    if (!Enabled) return;
    Owner->HotObject = this;
    State = ncsHot;
    Draw();
}

void TNCObject::Leave() {
    if (!Enabled) return;
    Owner->HotObject = nullptr;
    State = ncsNormal;
    Draw();
}

void TWinSysButton::Draw() { Owner->DrawSysButton(*this, State); }

// ------------------------------------------------------------ the frame's side

namespace {

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

TWinSysButton* TWinSkinForm::ButtonAt(POINT p) const {
    for (const auto& b : SysButtons)
        if (b->Enabled && b->SkinButton->Action >= 0 && PtInRect(&b->Bounds, p)) return b.get();
    return nullptr;
}

TNCObject* TWinSkinForm::ObjectAt(POINT p) const {
    if (TNCObject* button = ButtonAt(p)) return button;
    return SkinMenu != nullptr ? SkinMenu->FindMenuBtnAt(p) : nullptr;
}

POINT TWinSkinForm::ScreenToFrame(POINT p) const {
    ScreenToClient(Window, &p);
    if (ShowState != 2) {
        p.x += LeftBorderWidth;
        p.y += CaptionHeight + MenuBarHeight;
    }
    return p;
}

bool TWinSkinForm::IsButtonVisible(TWinSysButton& button) {
    TCaptionState state;
    state.BorderKind = BorderKind;
    state.ShowState = ShowState;
    state.FrameActive = FrameActive;
    state.CaptionFlags = CaptionFlags;
    state.MenuBarHeight = MenuBarHeight;
    if (button.SkinButton->Visibility == 100 || button.SkinButton->Visibility1 == 100)
        state.ActiveMdiChildMaximised = IsActiveMdiChildMaximized();
    button.Enabled = IsSysButtonVisible(*button.SkinButton, state);
    return button.Enabled;
}

void TWinSkinForm::LayoutSysButtons() {
    RightButtonsLeft = 0;
    TButtonPlacement placement;
    placement.FrameWidth = FrameWidth;
    placement.CaptionTextRect = CaptionTextRect;
    placement.RightBorderWidth = RightBorderWidth;
    placement.CaptionHeight = CaptionHeight;
    placement.MenuBarHeight = MenuBarHeight;
    if (SkinData != nullptr && SkinData->MenuBar != nullptr) placement.MenuBarLeftWidth = SkinData->MenuBar->LeftWidth;
    for (const auto& b : SysButtons)
        if (IsButtonVisible(*b) && SysButtonFrameWidth(*b->SkinButton) > 0)
            b->Bounds = PlaceSysButton(*b->SkinButton, placement, RightButtonsLeft);
}

void TWinSkinForm::DrawSysButtons(HDC dc) {
    for (const auto& b : SysButtons) {
        const TDataSkinSysButton& record = *b->SkinButton;
        if (!IsButtonVisible(*b) || SysButtonFrameWidth(record) == 0 || record.Visibility == 100) continue;
        const int frame = SysButtonPaintFrame(FrameActive, record);
        if (ShowsWindowIcon(record.Action)) DrawImageFrame(dc, b->Bounds, IconBitmap, true, 1, 1);
        else DrawImageFrame(dc, b->Bounds, record.Image, true, record.FrameCount, frame);
    }
}

void TWinSkinForm::DrawSysButton(TWinSysButton& button, int state) {
    const TDataSkinSysButton& record = *button.SkinButton;
    if (SysButtonFrameWidth(record) == 0) return;
    HDC dc = GetWindowDC(Window);
    if (dc == nullptr) return;
    if (ShowsWindowIcon(record.Action)) DrawImageFrame(dc, button.Bounds, IconBitmap, true, 1, 1);
    else DrawImageFrame(dc, button.Bounds, record.Image, true, record.FrameCount, SysButtonStateFrame(state, record));
    ReleaseDC(Window, dc);
}

// ------------------------------------------------------------------- actions

void TWinSkinForm::DoCaptionButtonAction(POINT p) {
    auto* button = dynamic_cast<TWinSysButton*>(HotObject);
    if (button == nullptr) return;
    const int32_t action = button->SkinButton->Action;
    switch (action) {
    case sbaClose:
        if (FrameTimer != nullptr) FrameTimer->SetEnabled(false);
        PostMessageA(Window, WM_CLOSE, 0, 0);
        break;
    case sbaMaximize:
    case sbaMaximize2: ToggleMaximize(); break;
    case sbaMinimize:
    case sbaMinimize2: ToggleMinimize(); break;
    case sbaSysMenu:
    case sbaIcon:
    case sbaSysMenu2: ShowSystemMenu(POINT{p.x + 1, p.y + 1}); break;
    case sbaMdiMinimize:
    case sbaMdiMinimize2: MdiChildCommand(SC_MINIMIZE); break;
    case sbaMdiRestore:
    case sbaMdiRestore2: MdiChildCommand(SC_RESTORE); break;
    case sbaMdiClose:
    case sbaMdiClose2: MdiChildCommand(SC_CLOSE); break;
    default:
        // A skin's own action: posted, and answered by the frame itself.
        PostMessageA(Window, SkinMsgQuery, static_cast<WPARAM>(action), 0);
        break;
    }
}

void TWinSkinForm::ToggleMaximize() {
    if (ShowState == 1) {
        RestoreWindow();
        return;
    }
    ShowState = 1;
    PostMessageA(Window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    HotObject = nullptr;
}

void TWinSkinForm::RestoreWindow() {
    ShowState = 0;
    PostMessageA(Window, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMinimize() {
    if (ShowState == 2) {
        RestoreWindow();
        return;
    }
    ShowState = 2;
    PostMessageA(Window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::MdiChildCommand(UINT command) {
    if (MdiState != msMdiFrame || MdiClient == nullptr) return;
    auto active = reinterpret_cast<HWND>(SendMessageA(MdiClient, WM_MDIGETACTIVE, 0, 0));
    if (active != nullptr) SendMessageA(active, WM_SYSCOMMAND, command, 0);
    if (MdiMaximised() && !IsActiveMdiChildMaximized()) SkinManager->SetMdiMax(false);
}

bool TWinSkinForm::IsActiveMdiChildMaximized() const {
    if (MdiState != msMdiFrame || MdiClient == nullptr) return false;
    BOOL maximised = FALSE;
    const auto active =
        reinterpret_cast<HWND>(SendMessageA(MdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    return active != nullptr && maximised;
}

void TWinSkinForm::ShowSystemMenu(POINT p) {
    const DWORD now = GetTickCount();
    if (now - LastSysMenuTick <= DoubleClickTime) {
        // The second of two quick calls, as a double click on the icon.
        if (FrameTimer != nullptr) FrameTimer->SetEnabled(false);
        PostMessageA(Window, WM_CLOSE, 0, 0);
        return;
    }
    LastSysMenuTick = now;
    // The platform greys Minimize, Maximize and Restore by the window's style
    // when the menu opens: the recorded boxes go back for that time.
    SetCaptionStyles(true);
    TrackPopupMenu(SystemMenu, TPM_RIGHTBUTTON, p.x, p.y, 0, Window, nullptr);
    ReadShowState();
    if (ShowState != 2) SetCaptionStyles(false);
}

void TWinSkinForm::FrameTimerTick() {
    if (TrackingMenu || !FrameActive || ShowState == 2) return;
    if (HotObject != nullptr) {
        POINT cursor{};
        GetCursorPos(&cursor);
        const POINT p = ScreenToFrame(cursor);
        if (!PtInRect(&HotObject->Bounds, p)) HotObject->Leave();
    }
    // A plain window's control skins hear of no framework mouse leave.
    if (Form == nullptr && HotControl != nullptr) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (!PtInRect(&HotControl->WindowRect, cursor)) LeaveHotControl();
    }
}

void TWinSkinForm::PressObject(TNCObject& object) {
    if (!FrameActive) SetForegroundWindow(Window);
    object.Press();
    if (dynamic_cast<TWinSysButton*>(&object) != nullptr) buttonPressed_ = true;
}

// ----------------------------------------------------------------- messages

void TWinSkinForm::WmNcHitTest(TMessage& m) {
    CallOldFrameProc(m);
    RECT r{};
    if (!GetWindowRect(Window, &r)) return;
    const POINT screen = PointOf(m.LParam);
    THitFrame frame;
    frame.Metrics = Metrics();
    frame.Width = r.right - r.left;
    frame.Height = r.bottom - r.top;
    frame.Sizable = (RecordedStyle & WS_THICKFRAME) != 0;
    m.Result = FrameHitTest(frame, POINT{screen.x - r.left, screen.y - r.top}, m.Result);
}

void TWinSkinForm::WmNcMouseMove(TMessage& m) {
    if (!FrameActive) {
        m.Result = 0;
        return;
    }
    if (TNCObject* object = ObjectAt(ScreenToFrame(PointOf(m.LParam)))) {
        object->Enter();
        m.Result = 0;
        return;
    }
    if (HotObject != nullptr) HotObject->Leave();
    CallOldFrameProc(m);
}

void TWinSkinForm::WmNcLButtonDown(TMessage& m) {
    if (TNCObject* object = ObjectAt(ScreenToFrame(PointOf(m.LParam)))) {
        PressObject(*object);
        m.Result = 0;
        if (auto* item = dynamic_cast<TMenuBtn*>(object)) SkinMenu->TrackMenuBtn(*item);
        return;
    }
    // A maximised window is not dragged by its caption.
    if (ShowState == 1 && m.WParam == HTCAPTION && FrameActive) m.WParam = HTMENU;
    CallOldFrameProc(m);
}

void TWinSkinForm::WmNcLButtonUp(TMessage& m) {
    if (TNCObject* object = ObjectAt(ScreenToFrame(PointOf(m.LParam)))) {
        // Only a press on a caption button of this frame arms the release:
        // a press elsewhere dragged onto a button does nothing.
        auto* button = dynamic_cast<TWinSysButton*>(object);
        if (button != nullptr && HotObject == button && buttonPressed_) {
            buttonPressed_ = false;
            button->Release();
            DoCaptionButtonAction(PointOf(m.LParam));
        }
        m.Result = 0;
        return;
    }
    CallOldFrameProc(m);
}

void TWinSkinForm::WmNcLButtonDblClk(TMessage& m) {
    m.Result = 0;
    // On a caption button the second click is a press like the first.
    if (TNCObject* object = ObjectAt(ScreenToFrame(PointOf(m.LParam)))) {
        PressObject(*object);
        if (auto* item = dynamic_cast<TMenuBtn*>(object)) SkinMenu->TrackMenuBtn(*item);
        return;
    }
    if (ShowState != 0) RestoreWindow();
    else if (CaptionFlags & kCaptionMaxBox) ToggleMaximize();
}

void TWinSkinForm::WmNcRButtonDown(TMessage& m) {
    if (m.WParam == HTCAPTION && MdiState != msMdiChild) {
        ShowSystemMenu(PointOf(m.LParam));
        m.Result = 0;
        return;
    }
    CallOldFrameProc(m);
}

}  // namespace pellix
