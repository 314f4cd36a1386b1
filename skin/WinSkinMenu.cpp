#include "skin/WinSkinMenu.h"

#include <algorithm>
#include <exception>
#include <set>

#include "framework/ActnList.h"
#include "framework/Menus.h"
#include "framework/Screen.h"
#include "skin/ImgUtil.h"
#include "skin/MenuItems.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSubClass.h"
#include "skin/WindowsVersion.h"

namespace pellix {

namespace {

// The skinned border of a popup window, in pixels.
constexpr int kPopupBorder = 3;
// Asks a popup window for the menu it shows.
constexpr UINT kMnGetHMenu = 0x01E1;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The whole window's context, released when it goes.
class TWindowDc {
public:
    TWindowDc(HWND window, bool whole) : window_(window), dc_(whole ? GetWindowDC(window) : GetDC(window)) {}
    ~TWindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace

// ------------------------------------------------------------ popup windows

TWinSkinPopMenu::~TWinSkinPopMenu() { DetachPopup(); }

void TWinSkinPopMenu::AttachPopup(HWND window, TSkinData* skinData, HMENU menuHandle) {
    MenuWindow = window;
    PopupSkinData = skinData;
    MenuHandle = menuHandle;
    subclass_.Attach(window, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return PopupWindowProc(msg, wParam, lParam); });
}

void TWinSkinPopMenu::DetachPopup() {
    if (AwaitingPopupSkin == this) AwaitingPopupSkin = nullptr;
    if (!subclass_.Attached()) return;
    subclass_.Detach();
    BackgroundBitmap.FreeImage();
}

LRESULT TWinSkinPopMenu::CallOldPopupProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return subclass_.CallOld(msg, wParam, lParam);
}

LRESULT TWinSkinPopMenu::PopupWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SkinMsgQuery) return 1;
    if (SkinManager == nullptr || !SkinManager->SkinningEnabled) return CallOldPopupProc(msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY:
        DetachPopup();
        return CallOldPopupProc(msg, wParam, lParam);
    case WM_NCPAINT:
        if (HasNonClientArea() && PaintPopupBorder()) return 0;
        return CallOldPopupProc(msg, wParam, lParam);
    case WM_PRINT: return PaintPopupBackground(msg, wParam, lParam);
    case WM_PAINT:
        if (!HasNonClientArea()) return PaintPopupWindow(msg, wParam, lParam);
        return CallOldPopupProc(msg, wParam, lParam);
    default: return CallOldPopupProc(msg, wParam, lParam);
    }
}

bool TWinSkinPopMenu::HasNonClientArea() const {
    RECT window{}, client{};
    if (!GetWindowRect(MenuWindow, &window) || !GetClientRect(MenuWindow, &client)) return false;
    return Width(window) != Width(client) || Height(window) != Height(client);
}

bool TWinSkinPopMenu::CanPaint() const {
    return PopupSkinData != nullptr && !PopupSkinData->SkinUnparsed && PopupSkinData->MenuBackground != nullptr &&
           !PopupSkinData->MenuBackground->Image.Empty();
}

bool TWinSkinPopMenu::MakeBackground() {
    RECT r{};
    if (!GetWindowRect(MenuWindow, &r)) return false;
    const TDataSkinObject& element = *PopupSkinData->MenuBackground;
    const RECT margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
    auto picture = DrawSkinImage(RECT{0, 0, Width(r), Height(r)}, element.Image, margins, 1, 1, element.Tile == 1, false);
    if (picture == nullptr) return false;
    BackgroundBitmap.Assign(picture.get());
    if (MenuHandle == nullptr) AwaitingPopupSkin = this;
    return true;
}

void TWinSkinPopMenu::CopyBorderStrips(HDC dc) {
    const int w = BackgroundBitmap.Width(), h = BackgroundBitmap.Height(), b = kPopupBorder;
    const RECT strips[] = {
        {0, 0, w, b},          // top
        {0, h - b, w, h},      // bottom
        {0, b, b, h},          // left, below the top strip
        {w - b, b, w, h},      // right, below the top strip
    };
    for (const RECT& strip : strips)
        if (Width(strip) > 0 && Height(strip) > 0) BackgroundBitmap.DrawPart(dc, strip, strip);
}

LRESULT TWinSkinPopMenu::PaintPopupBackground(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto dc = reinterpret_cast<HDC>(wParam);
    bool painted = false;
    try {
        painted = CanPaint() && MakeBackground();
        if (painted) {
            const RECT whole{0, 0, BackgroundBitmap.Width(), BackgroundBitmap.Height()};
            BackgroundBitmap.DrawPart(dc, whole, whole);
        }
    } catch (const std::exception&) {
        // A background that cannot be made leaves the printing to the system.
        painted = false;
    }
    if (!painted) return CallOldPopupProc(msg, wParam, lParam);
    const int w = BackgroundBitmap.Width(), h = BackgroundBitmap.Height();
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    LRESULT result = 0;
    {
        // The system's items go onto the background, never over the border.
        ClipGuard clip(dc, RECT{kPopupBorder, kPopupBorder, w - kPopupBorder, h - kPopupBorder});
        result = CallOldPopupProc(msg, wParam, lParam);
    }
    SetBkMode(dc, oldMode);
    return result;
}

bool TWinSkinPopMenu::PaintPopupBorder() {
    if (!CanPaint()) return false;
    TWindowDc dc(MenuWindow, true);
    try {
        if (dc.Get() == nullptr || !MakeBackground()) return false;
        CopyBorderStrips(dc.Get());
        return true;
    } catch (const std::exception&) {
        // The system paints the frame it knows instead.
        return false;
    }
}

LRESULT TWinSkinPopMenu::PaintPopupWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!CanPaint()) return CallOldPopupProc(msg, wParam, lParam);
    // The items drawn inside the paint copy from the background: it and the
    // menu it belongs to must be known first.
    if (MenuHandle == nullptr)
        MenuHandle = reinterpret_cast<HMENU>(CallOldPopupProc(kMnGetHMenu, 0, 0));
    bool painted = false;
    try {
        painted = MakeBackground();
    } catch (const std::exception&) {
        // Without a background the window is the system's.
    }
    const LRESULT result = CallOldPopupProc(msg, wParam, lParam);
    if (!painted) return result;
    // Highlight changes redraw inside the items only: the border stays.
    TWindowDc dc(MenuWindow, false);
    try {
        if (dc.Get() != nullptr) CopyBorderStrips(dc.Get());
    } catch (const std::exception&) {
        // The border stays as the system painted it.
    }
    return result;
}

// ------------------------------------------------------------------ the bar

int MenuBarFirstX(int barWidth, const TDataSkinObject* menuBar) {
    if (menuBar == nullptr || menuBar->Image.Empty()) return 6;
    const int x = menuBar->LeftWidth + 4;
    return barWidth < x ? 12 : x;
}

std::vector<TBarItemPlace> LayoutMenuBar(const std::vector<int>& textWidths, const RECT& bar, int firstX) {
    std::vector<TBarItemPlace> places;
    places.reserve(textWidths.size());
    int x = firstX;
    for (int t : textWidths) {
        const int right = t < 1 ? x + t : x + t + 10;
        TBarItemPlace place;
        place.Text = RECT{x, 0, right, Height(bar) - 1};
        place.Bounds = RECT{x + bar.left, bar.top, right + bar.left, bar.bottom - 1};
        places.push_back(place);
        x = right;
    }
    return places;
}

void TMenuBtn::Draw() {
    if (Owner != nullptr && Owner->SkinMenu != nullptr) Owner->SkinMenu->DrawMenuBtn(*this);
}

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* frame, TSkinData* skinData)
    : TComponent(frame), SkinData(skinData), Frame(frame) {}

TWinSkinMenu::~TWinSkinMenu() {
    if (Frame != nullptr && dynamic_cast<TMenuBtn*>(Frame->HotObject) != nullptr) Frame->HotObject = nullptr;
    MenuButtons.clear();
}

void TWinSkinMenu::BuildMenuButtons() {
    if (HMENU onWindow = GetMenu(Frame->Window)) MenuHandle = onWindow;
    Build(MenuHandle, false);
}

void TWinSkinMenu::BuildMenuButtonsById(HMENU menu) {
    if (menu != nullptr) MenuHandle = menu;
    Build(MenuHandle, true);
}

void TWinSkinMenu::Build(HMENU menu, bool byCommand) {
    if (menu == nullptr) return;
    if (dynamic_cast<TMenuBtn*>(Frame->HotObject) != nullptr) Frame->HotObject = nullptr;
    MenuButtons.clear();
    ButtonCount = GetMenuItemCount(menu);
    if (ButtonCount <= 0) return;
    for (int i = 0; i < ButtonCount; ++i) {
        char text[80] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        auto button = std::make_unique<TMenuBtn>();
        button->SkinData = SkinData;
        button->Owner = Frame;
        button->Index = i;
        button->SubMenu = info.hSubMenu;
        button->ItemEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        button->Enabled = true;
        button->CommandId = info.wID;
        button->Caption = text;
        if (button->Caption.empty()) FillFromFrameMenu(*button, byCommand);
        MenuButtons.push_back(std::move(button));
    }
    SetMenu(Frame->Window, nullptr);
}

// An item the menu handle shows without text (owner-drawn) takes caption,
// state and drop-down from the form's item with the same command.
void TWinSkinMenu::FillFromFrameMenu(TMenuBtn& button, bool byCommand) {
    if (FrameMenu == nullptr) return;
    TMenuItem* root = FrameMenu->Items();
    TMenuItem* found = nullptr;
    for (int k = 0; k < root->Count(); ++k) {
        if (root->Items(k)->Command() != button.CommandId) continue;
        found = root->Items(k);
        if (!byCommand) break;  // by command the last match wins
    }
    if (found == nullptr) return;
    if (TCustomAction* action = found->Action()) action->Update();
    button.Caption = found->Caption().substr(0, 80);
    button.ItemEnabled = found->Enabled();
    button.SubMenu = found->Count() > 0 ? found->Handle() : nullptr;
}

void TWinSkinMenu::PaintMenuBar(HDC dc, const RECT& r) {
    TBitmap* scratch = SharedScratchBitmap();
    if (scratch == nullptr || SkinData == nullptr || Width(r) <= 0 || Height(r) <= 0) return;
    scratch->SetSize(Width(r), Height(r));
    TCanvas& canvas = *scratch->Canvas();
    const RECT whole{0, 0, Width(r), Height(r)};
    const TDataSkinObject* element = SkinData->MenuBar.get();
    if (element != nullptr && !element->Image.Empty()) {
        const int frame = Frame->FrameActive ? 1 : 2;
        const RECT margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
        if (element->Tile == 1) PaintSkinImage(canvas.Handle(), whole, element->Image, margins, frame, 2, false, true, true);
        else DrawImageBand(canvas, whole, element->Image, margins, frame, 2, false, true);
    } else {
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.Brush()->SetColor(SkinData->MenubarColour);
        canvas.FillRect(whole);
    }
    BarRect = r;
    BarBitmap.Assign(scratch);

    canvas.Font()->Assign(Screen->MenuFont());
    std::vector<int> widths;
    for (const auto& button : MenuButtons) widths.push_back(canvas.TextWidth(button->Caption));
    const auto places = LayoutMenuBar(widths, r, MenuBarFirstX(Width(r), element));
    for (size_t i = 0; i < MenuButtons.size(); ++i) {
        TMenuBtn& button = *MenuButtons[i];
        canvas.Font()->SetColor(button.ItemEnabled ? SkinData->MenuBarTextColour : SkinData->ButtonShadowColour);
        // The skin's shadow colour stands for disabled here, not the system's.
        DrawMenuText(canvas, places[i].Text, button.Caption, TMenuTextAlign::Centre, true);
        button.Bounds = places[i].Bounds;
    }
    DrawMdiButtons(canvas.Handle());
    BitBlt(dc, r.left, r.top, Width(r), Height(r), canvas.Handle(), 0, 0, SRCCOPY);
}

// A maximised MDI child's caption buttons sit at the bar's right end.
void TWinSkinMenu::DrawMdiButtons(HDC dc) {
    if (Frame->MdiState != msMdiFrame || !Frame->IsActiveMdiChildMaximized()) return;
    for (const auto& button : Frame->SysButtons) {
        const TDataSkinSysButton& record = *button->SkinButton;
        if (record.Visibility != 100 || record.Image.Empty()) continue;
        RECT at = button->Bounds;
        OffsetRect(&at, -Frame->LeftBorderWidth, -Frame->CaptionHeight);
        DrawImageFrame(dc, at, record.Image, true, record.FrameCount, 1);
    }
    if (SkinManager != nullptr && !SkinManager->MdiMaximized) SkinManager->SetMdiMax(true);
}

void TWinSkinMenu::DrawMenuBtn(TMenuBtn& button) {
    if (IsRectEmpty(&BarRect) || BarBitmap.Empty() || SkinData == nullptr) return;
    TWindowDc dc(Frame->Window, true);
    if (dc.Get() == nullptr) return;
    try {
        DrawMenuBtnOn(dc.Get(), button);
    } catch (const std::exception&) {
        // The item keeps the look of the last full paint.
    }
}

void TWinSkinMenu::DrawMenuBtnOn(HDC dc, const TMenuBtn& button) {
    const RECT& b = button.Bounds;
    BarBitmap.DrawPart(dc, RECT{b.left, BarRect.top, b.right, BarRect.bottom},
                       RECT{b.left - BarRect.left, 0, b.right - BarRect.left, Height(BarRect)});
    TCanvas canvas(dc);
    if (button.State == ncsHot || button.State == ncsPressed) {
        canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas.Brush()->SetColor(SkinData->ButtonHilightColour);
        canvas.FrameRect(b);
    }
    canvas.Font()->Assign(Screen->MenuFont());
    canvas.Font()->SetColor(button.ItemEnabled ? SkinData->MenuBarTextColour : SkinData->ButtonShadowColour);
    DrawMenuText(canvas, b, button.Caption, TMenuTextAlign::Centre, true);
}

TMenuBtn* TWinSkinMenu::FindMenuBtnAt(POINT point) const {
    for (const auto& button : MenuButtons)
        if (PtInRect(&button->Bounds, point) && !button->Caption.empty()) return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindMenuBtnByAccel(UINT ch) const {
    for (const auto& button : MenuButtons)
        if (button->ItemEnabled && IsAccel(ch, button->Caption)) return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::NeighbourMenuBtn(bool forward) const {
    const int count = static_cast<int>(MenuButtons.size());
    if (count == 0) return nullptr;
    const int current = std::clamp(MenuTracking.TrackingIndex, 0, count - 1);
    return MenuButtons[static_cast<size_t>((current + (forward ? 1 : count - 1)) % count)].get();
}

void TWinSkinMenu::PressMenuBtn(const TMenuBtn& button) {
    RECT r{};
    GetWindowRect(Frame->Window, &r);
    PostMessageA(Frame->Window, WM_NCLBUTTONDOWN, 1,
                 MAKELPARAM(button.Bounds.left + r.left + 1, button.Bounds.top + r.top + 1));
}

bool TWinSkinMenu::MenuAccelDialogChar(TMessage& message) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    auto down = [&](int vk) { return (keys[vk] & 0x80) != 0; };
    const bool onlyAlt = down(VK_MENU) && !down(VK_SHIFT) && !down(VK_CONTROL) && !down(VK_LBUTTON) &&
                         !down(VK_RBUTTON) && !down(VK_MBUTTON);
    TMenuBtn* button = onlyAlt ? FindMenuBtnByAccel(static_cast<UINT>(message.WParam)) : nullptr;
    if (button == nullptr) return false;
    PressMenuBtn(*button);
    message.Result = 1;
    return true;
}

namespace {

// The hook and the frame's tracking flags, taken down however the menu ends.
class TTrackingGuard {
public:
    explicit TTrackingGuard(TWinSkinForm& frame, HMENU menu) : frame_(frame) {
        frame_.TrackingMenu = true;
        frame_.TrackedMenu = menu;
        InstallMenuHook();
    }
    ~TTrackingGuard() {
        RemoveMenuHook();
        frame_.TrackingMenu = false;
    }
    TTrackingGuard(const TTrackingGuard&) = delete;
    TTrackingGuard& operator=(const TTrackingGuard&) = delete;

private:
    TWinSkinForm& frame_;
};

}  // namespace

bool TWinSkinMenu::TrackMenuBtn(TMenuBtn& button) {
    PostMessageA(Frame->Window, WM_COMMAND, button.CommandId, 0);
    if (button.SubMenu == nullptr) return false;
    // Read now: the buttons may be rebuilt while the menu is open.
    const HMENU menu = button.SubMenu;
    const bool enabled = button.ItemEnabled;
    MenuTracking.TrackingIndex = button.Index;
    MenuTracking.TrackingFrame = Frame;
    RECT r{};
    GetWindowRect(Frame->Window, &r);
    RECT exclude = button.Bounds;
    OffsetRect(&exclude, r.left, r.top);
    if (!WindowsNT4()) SetMenuOwnerDraw(menu);
    {
        TTrackingGuard tracking(*Frame, menu);
        if (enabled) {
            TPMPARAMS params{sizeof(params), exclude};
            TrackPopupMenuEx(menu, TPM_NONOTIFY | TPM_RIGHTBUTTON, exclude.left, exclude.bottom, Frame->Window,
                             &params);
        }
    }
    if (rebuildPending_) {
        rebuildPending_ = false;
        BuildMenuButtons();
    }
    return true;
}

void TWinSkinMenu::MenuSelect(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0xFFFF && lParam == 0) {
        if (!MenuTracking.SwitchingMenu) Frame->TrackingMenu = false;
        return;
    }
    MenuTracking.SwitchingMenu = false;
    if (FrameMenu == nullptr) return;
    const auto menu = reinterpret_cast<HMENU>(lParam);
    if (HIWORD(wParam) & MF_POPUP) {
        HMENU sub = GetSubMenu(menu, LOWORD(wParam));
        MenuTracking.SelectedMenuItem = FrameMenu->FindItem(reinterpret_cast<UINT_PTR>(sub), TFindItemKind::fkHandle);
    } else {
        MenuTracking.SelectedMenuItem = FrameMenu->FindItem(LOWORD(wParam), TFindItemKind::fkCommand);
    }
}

void TWinSkinMenu::MenuChanged() {
    HMENU onWindow = GetMenu(Frame->Window);
    if (onWindow == nullptr) return;
    MenuHandle = onWindow;
    if (Frame->TrackingMenu) {
        // The open drop-down's button stays until the menu has closed.
        rebuildPending_ = true;
        SetMenu(Frame->Window, nullptr);
        return;
    }
    BuildMenuButtons();
}

void TWinSkinMenu::GiveMenuBack() {
    if (MenuHandle == nullptr) return;
    ClearMenuOwnerDraw(MenuHandle);
    SetMenu(Frame->Window, MenuHandle);
}

void TWinSkinMenu::ForgetSkinData() {
    SkinData = nullptr;
    for (const auto& button : MenuButtons) button->SkinData = nullptr;
}

// -------------------------------------------------------------- the hook

HMENU DeepestOpenMenu(HMENU tracked) {
    std::vector<HMENU> open;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof(name));
            if (IsWindowVisible(window) && std::string(name) == "#32768") {
                auto menu = reinterpret_cast<HMENU>(SendMessageA(window, kMnGetHMenu, 0, 0));
                if (menu != nullptr) reinterpret_cast<std::vector<HMENU>*>(found)->push_back(menu);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&open));
    const std::set<HMENU> shown(open.begin(), open.end());
    for (HMENU menu : open) {
        bool parent = false;
        for (int i = 0; i < GetMenuItemCount(menu) && !parent; ++i) {
            HMENU sub = GetSubMenu(menu, i);
            parent = sub != nullptr && shown.count(sub) != 0;
        }
        if (!parent) return menu;
    }
    return tracked;
}

bool HighlightOpensSubMenu(HMENU menu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_SUBMENU;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) && (info.fState & MFS_HILITE))
            return info.hSubMenu != nullptr;
    }
    return false;
}

void InstallMenuHook() {
    MenuTracking.SwitchingMenu = false;
    MenuTracking.FirstKeySent = false;
    GetCursorPos(&MenuTracking.LastMousePos);
    if (MenuTracking.MenuHook == nullptr)
        MenuTracking.MenuHook = SetWindowsHookExA(WH_MSGFILTER, &MenuMsgFilterProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuHook() {
    if (MenuTracking.MenuHook != nullptr) UnhookWindowsHookEx(MenuTracking.MenuHook);
    MenuTracking.MenuHook = nullptr;
    MenuTracking.SelectedMenuItem = nullptr;
    MenuTracking.TrackingIndex = -1;
    MenuTracking.TrackingFrame = nullptr;
    MenuTracking.FirstKeySent = false;
}

namespace {

bool SelectionIsRightToLeft() {
    const TMenuItem* item = MenuTracking.SelectedMenuItem;
    const TMenu* menu = item != nullptr ? item->GetParentMenu() : nullptr;
    return menu != nullptr && menu->IsRightToLeft();
}

// True when the message is answered here and the menu must not see it.
bool FilterMenuMessage(MSG& msg) {
    TWinSkinForm* frame = MenuTracking.TrackingFrame;
    if (frame == nullptr || frame->SkinMenu == nullptr) return false;
    TWinSkinMenu& bar = *frame->SkinMenu;
    if (!MenuTracking.FirstKeySent) {
        // The drop-down opens with its first item selected.
        MenuTracking.FirstKeySent = true;
        PostMessageA(msg.hwnd != nullptr ? msg.hwnd : frame->Window, WM_KEYDOWN, VK_DOWN, 0);
    }
    TMenuBtn* target = nullptr;
    switch (msg.message) {
    case WM_KEYDOWN:
        switch (msg.wParam) {
        case VK_RETURN:
        case VK_ESCAPE: MenuTracking.SwitchingMenu = false; break;
        case VK_RIGHT:
            // An item with a sub-menu opens it; anything else moves along the bar.
            if (!HighlightOpensSubMenu(DeepestOpenMenu(frame->TrackedMenu))) target = bar.NeighbourMenuBtn(true);
            break;
        case VK_LEFT:
            // In a sub-menu Left closes it; only in the drop-down itself it moves.
            if (DeepestOpenMenu(frame->TrackedMenu) == frame->TrackedMenu) target = bar.NeighbourMenuBtn(false);
            break;
        default: break;
        }
        break;
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) frame->TrackingMenu = false;
        return false;
    case WM_LBUTTONDOWN: {
        // A click on the open item's own button closes its drop-down. The
        // system would hand the click on to the window once the menu has
        // ended, and the button would open the drop-down again.
        const TMenuBtn* at = bar.FindMenuBtnAt(frame->ScreenToFrame(msg.pt));
        if (at == nullptr || at->Index != MenuTracking.TrackingIndex) return false;
        MenuTracking.SwitchingMenu = false;
        EndMenu();
        return true;
    }
    case WM_MOUSEMOVE:
        if (msg.pt.x != MenuTracking.LastMousePos.x || msg.pt.y != MenuTracking.LastMousePos.y) {
            MenuTracking.LastMousePos = msg.pt;
            target = bar.FindMenuBtnAt(frame->ScreenToFrame(msg.pt));
        }
        break;
    default: break;
    }
    if (target == nullptr || target->Index == MenuTracking.TrackingIndex) return false;
    MenuTracking.SwitchingMenu = true;
    // One menu loop at a time: this one ends before the click opens the next.
    EndMenu();
    bar.PressMenuBtn(*target);
    return false;
}

}  // namespace

LRESULT CALLBACK MenuMsgFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && msg != nullptr && msg->message == WM_KEYDOWN && SelectionIsRightToLeft()) {
        if (msg->wParam == VK_LEFT) msg->wParam = VK_RIGHT;
        else if (msg->wParam == VK_RIGHT) msg->wParam = VK_LEFT;
    }
    const LRESULT result = CallNextHookEx(MenuTracking.MenuHook, code, wParam, lParam);
    if (result != 0 || code != MSGF_MENU || msg == nullptr) return result;
    try {
        if (FilterMenuMessage(*msg)) return 1;
    } catch (const std::exception&) {
        // The menu loop goes on as the system runs it; nothing is shown.
    }
    return result;
}

}  // namespace pellix
