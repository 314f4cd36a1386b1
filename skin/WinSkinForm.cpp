#include "skin/WinSkinForm.h"

#include <algorithm>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "skin/ImgUtil.h"
#include "skin/MenuItems.h"
#include "skin/SkinTabs.h"
#include "skin/SkinWalk.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinMenu.h"

namespace pellix {

namespace {

constexpr DWORD kCaptionBoxes = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;  // 0xB0000

bool DrawsFrames(const TSkinData& data) { return data.HasControl(xcMainMenu); }

// A device context for the window that is released on every path.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The direct children of a window, taken before any of them moves.
std::vector<HWND> ChildWindows(HWND window) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

}  // namespace

std::string GetWindowTextStr(HWND window) {
    char text[1000] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string GetWindowClassName(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, 100);
    return name;
}

void RepaintWindow(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

// What a framework form's WindowProc holds while the frame is in its chain.
// The frame lets go of it at detach (frame none): when something was put in
// front of it meanwhile, it stays in the chain and passes every message to
// the WindowProc it replaced.
struct TWinSkinForm::TFormLink {
    TWinSkinForm* frame = nullptr;
    TWndMethod old;
    int depth = 0;  // messages being handled now
};

// The form's WindowProc. It works from its own hold on the link, so the
// frame may put the old WindowProc back (destroying this hook) inside it.
struct TWinSkinForm::TFormHook {
    std::shared_ptr<TFormLink> link;
    void operator()(TMessage& m) const {
        const std::shared_ptr<TFormLink> held = link;
        struct TDepth {
            TFormLink& l;
            explicit TDepth(TFormLink& link) : l(link) { ++l.depth; }
            ~TDepth() { --l.depth; }
        } depth(*held);
        if (held->frame != nullptr) held->frame->FrameWindowProc(m);
        else held->old(m);
    }
};

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner), DoubleClickTime(GetDoubleClickTime()) {
    // The unit's start: the painters' scratch bitmap lives until the engine ends.
    CreateSharedScratchBitmap();
}

TWinSkinForm::~TWinSkinForm() {
    // Control skins go while the frame is still whole.
    DropControlSkins();
    ClearCaptionButtons();
    if (subclassed_) Unsubclass();
    // A form may outlive the frame: its chain then passes through.
    if (formLink_ != nullptr) formLink_->frame = nullptr;
    UnsubclassMdiClient();
    if (SkinData != nullptr) SkinData->RemoveFreeNotification(this);
    if (SkinManager != nullptr && Window != nullptr) SkinManager->UnskinWindow(Window);
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == SkinData) {
        // The caption buttons show the component's records.
        ClearCaptionButtons();
        SkinData = nullptr;
        if (SkinMenu != nullptr) SkinMenu->ForgetSkinData();
    }
    if (component == FrameTimer) FrameTimer = nullptr;
    if (component == SkinMenu) SkinMenu = nullptr;
}

bool TWinSkinForm::TearingDown() const { return FrameState == FrameStateClosing || windowDestroying_; }

bool TWinSkinForm::InWindowProc() const {
    return (formLink_ != nullptr && formLink_->depth > 0) || subclass_.InWindowProc();
}

// ------------------------------------------------------------------ attach

void TWinSkinForm::AttachForm(TSkinData* skinData, TCustomForm* form) {
    if (attachedFull_ || attachedLight_ || skinData == nullptr) return;
    Form = form;
    form->AutoScroll = false;
    AttachWindow(skinData);
    SavedFormColour = form->Color();
    form->SetColor(skinData->ButtonFaceColour);
    SetPopupMenusOwnerDraw(true);
}

void TWinSkinForm::AttachWindow(TSkinData* skinData) {
    if (attachedFull_ || attachedLight_ || skinData == nullptr) return;
    if (!DrawsFrames(*skinData)) {
        AttachFrameLight(skinData);
        return;
    }
    SkinData = skinData;
    SkinData->FreeNotification(this);
    FrameTimer = new TTimer(this);  // owned by the frame as a component
    FrameTimer->SetEnabled(false);
    FrameTimer->SetInterval(250);
    FrameTimer->OnTimer = [this](TObject*) { FrameTimerTick(); };
    ReadCaptionFont();

    RecordedStyle = static_cast<DWORD>(GetWindowLongPtrA(Window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(Window, GWL_EXSTYLE));
    SystemMenu = GetSystemMenu(Window, FALSE);
    MakeIconBitmap(IconBitmap);
    CaptionText = GetWindowTextStr(Window);
    WindowClassName = GetWindowClassName(Window);
    RECT wr{}, cr{};
    GetWindowRect(Window, &wr);
    GetClientRect(Window, &cr);
    NativeFrameSize = RECT{0, 0, (wr.right - wr.left) - cr.right, (wr.bottom - wr.top) - cr.bottom};

    CaptionFlags = 0;
    if ((RecordedStyle & WS_SYSMENU) || SystemMenu != nullptr) CaptionFlags |= kCaptionSysMenu;
    if (RecordedStyle & WS_MINIMIZEBOX) CaptionFlags |= kCaptionMinBox;
    if (RecordedStyle & WS_MAXIMIZEBOX) CaptionFlags |= kCaptionMaxBox;

    ReadShowState();
    FindMdiClient();
    if (exStyle & WS_EX_MDICHILD) MdiState = msMdiChild;

    BorderKind = 3;
    if ((RecordedStyle & WS_POPUP) && (RecordedStyle & WS_CAPTION) != WS_CAPTION) BorderKind = 2;
    else if ((exStyle & WS_EX_WINDOWEDGE) || (RecordedStyle & WS_THICKFRAME)) BorderKind = 0;

    // The drawn menu bar takes the band below the caption and the menu off
    // the window.
    WindowMenu = GetMenu(Window);
    if (WindowMenu != nullptr && MdiState != msMdiChild) {
        SkinMenu = new TWinSkinMenu(this, SkinData);  // owned by the frame as a component
        MenuBarHeight = GetSystemMetrics(SM_CYMENU);
        if (Form != nullptr) SkinMenu->FrameMenu = Form->Menu();
        SkinMenu->BuildMenuButtons();
    }

    Subclass();
    attachedFull_ = true;
    // A plain child window's frame is never drawn: it keeps its boxes.
    const bool plainChild = (RecordedStyle & WS_CHILD) && MdiState != msMdiChild;
    if (!((MdiState == msMdiChild && MdiMaximised()) || ShowState == 2 || plainChild)) SetCaptionStyles(false);
    if (MdiState == msMdiFrame) SubclassMdiClient();
    BuildCaptionButtons();
    SkinControls();
    InvalidateRect(Window, nullptr, TRUE);
}

void TWinSkinForm::AttachFrameLight(TSkinData* skinData) {
    SkinData = skinData;
    SkinData->FreeNotification(this);
    FrameTimer = new TTimer(this);
    FrameTimer->SetEnabled(false);
    FrameTimer->SetInterval(250);
    FrameTimer->OnTimer = [this](TObject*) { FrameTimerTick(); };
    WindowClassName = GetWindowClassName(Window);
    FindMdiClient();
    if (MdiState == msMdiFrame) SubclassMdiClient();
    attachedLight_ = true;
    BuildCaptionButtons();
    SkinControls();
}

TControlWalk TWinSkinForm::Walk() {
    TControlWalk walk(*this, *SkinData);
    walk.FormName = Form != nullptr ? Form->Name() : std::string();
    walk.Window = Window;
    // The popup-menu items' handlers: the walk takes them off again before
    // the frame goes.
    walk.DrawItem = [this](TObject* sender, TCanvas* canvas, const RECT& rect, bool selected) {
        auto* item = dynamic_cast<TMenuItem*>(sender);
        if (item != nullptr && canvas != nullptr && SkinData != nullptr)
            DrawMenuItemSkinned(*SkinData, *item, *canvas, rect, selected);
    };
    walk.MeasureItem = [](TObject* sender, TCanvas* canvas, int& width, int& height) {
        auto* item = dynamic_cast<TMenuItem*>(sender);
        if (item != nullptr && canvas != nullptr) MeasureItemHandler(*item, *canvas, width, height);
    };
    return walk;
}

void TWinSkinForm::SkinControls() {
    if (SkinData == nullptr) return;
    if (Form != nullptr)
        Walk().SkinChildControls(Form);
    else
        Walk().SkinChildWindows();
}

void TWinSkinForm::SetPopupMenusOwnerDraw(bool on) {
    if (Form != nullptr && SkinData != nullptr) Walk().SetPopupMenusOwnerDraw(Form, on);
}

void TWinSkinForm::Subclass() {
    if (Form != nullptr) {
        formLink_ = std::make_shared<TFormLink>();
        formLink_->frame = this;
        formLink_->old = Form->WindowProc;
        Form->WindowProc = TFormHook{formLink_};
    } else {
        const bool attached = subclass_.Attach(
            Window,
            [this](UINT msg, WPARAM wParam, LPARAM lParam) {
                TMessage m{msg, wParam, lParam, 0};
                FrameWindowProc(m);
                return m.Result;
            },
            [this] { WindowGone(); });
        if (!attached) throw EComponentError("Cannot take over the window of a skinned frame");
    }
    subclassed_ = true;
}

void TWinSkinForm::Unsubclass() {
    if (formLink_ != nullptr && formLink_->frame == this) {
        // Only while ours is still the form's WindowProc; otherwise whoever
        // came later keeps calling through ours, which passes everything on.
        const auto* current = Form->WindowProc.target<TFormHook>();
        if (current != nullptr && current->link == formLink_) Form->WindowProc = formLink_->old;
        formLink_->frame = nullptr;
    }
    subclass_.Detach();
    subclassed_ = false;
}

void TWinSkinForm::SubclassMdiClient() {
    if (MdiClient == nullptr || mdiClientSubclass_.Attached()) return;
    mdiClientSubclass_.Attach(MdiClient, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        TMessage m{msg, wParam, lParam, 0};
        MdiClientWindowProc(m);
        return m.Result;
    });
}

void TWinSkinForm::UnsubclassMdiClient() { mdiClientSubclass_.Detach(); }

void TWinSkinForm::ReadCaptionFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        CaptionFont.SetLogFont(metrics.lfCaptionFont);
}

namespace {

// A 32-bit surface of one colour.
void Fill(TBitmap& bitmap, int width, int height, TColor colour) {
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(width, height);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(colour);
    canvas->FillRect(RECT{0, 0, width, height});
}

// The icon drawn on magenta. An icon with soft edges would leave a pink fringe
// there, so it is drawn on black as well: a pixel that is at least half
// transparent becomes magenta outright, any other takes the icon's own colour.
void DrawIconKeyed(TBitmap& keyed, HICON icon, int cx, int cy) {
    TBitmap black;
    Fill(black, cx, cy, clBlack);
    DrawIconEx(keyed.Canvas()->Handle(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    DrawIconEx(black.Canvas()->Handle(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int y = 0; y < cy; ++y) {
        uint8_t* k = keyed.ScanLine(y);
        const uint8_t* b = static_cast<const TBitmap&>(black).ScanLine(y);
        for (int x = 0; x < cx; ++x, k += 4, b += 4) {
            // Red is 255 in magenta and 0 in black: the difference is how much shows through.
            const int through = k[2] - b[2];
            if (through <= 0) continue;
            const int opacity = 255 - through;
            for (int c = 0; c < 3; ++c)
                k[c] = through >= 128 ? (c == 1 ? 0 : 255) : std::min(255, b[c] * 255 / opacity);
        }
    }
}

}  // namespace

void TWinSkinForm::MakeIconBitmap(TBitmap& target) {
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    TBitmap scratch;
    Fill(scratch, cx, cy, KeyColour);
    auto icon = reinterpret_cast<HICON>(SendMessageA(Window, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageA(Window, WM_GETICON, ICON_BIG, 0));
    if (icon != nullptr) {
        auto copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
        if (copy == nullptr) copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
        DrawIconKeyed(scratch, copy != nullptr ? copy : icon, cx, cy);
        if (copy != nullptr) DestroyIcon(copy);
        target.Assign(&scratch);
        return;
    }
    target.Assign(&scratch);
    if (SkinData == nullptr) return;
    if (!SkinData->IconImage.Empty()) {
        target.Assign(&SkinData->IconImage);
        return;
    }
    if (SkinManager == nullptr) return;
    for (TSkinData* data : SkinManager->SkinDataList())
        if (data->SkinFormtype == sfMainform && !data->IconImage.Empty()) target.Assign(&data->IconImage);
}

// ---------------------------------------------------------- caption styles

void TWinSkinForm::SetCaptionStyles(bool show) {
    if (MdiState == msMdiChild && MdiMaximised() && !show) return;
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(Window, GWL_STYLE));
    DWORD wanted = style;
    if (show) {
        if (CaptionFlags & kCaptionSysMenu) wanted |= WS_SYSMENU;
        if (CaptionFlags & kCaptionMinBox) wanted |= WS_MINIMIZEBOX;
        if (CaptionFlags & kCaptionMaxBox) wanted |= WS_MAXIMIZEBOX;
    } else {
        wanted &= ~kCaptionBoxes;
    }
    if (wanted != style) SetWindowLongPtrA(Window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
}

void TWinSkinForm::RefreshFrame() {
    SetWindowPos(Window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ------------------------------------------------------------ caption buttons

void TWinSkinForm::ClearCaptionButtons() {
    for (const auto& b : SysButtons)
        if (HotObject == b.get()) HotObject = nullptr;
    SysButtons.clear();
    buttonPressed_ = false;
}

void TWinSkinForm::BuildCaptionButtons() {
    if (SkinData == nullptr || !SkinData->RecordsComplete) return;
    if (BorderKind == 2) {
        LeftBorderWidth = CaptionHeight = RightBorderWidth = BottomBorderHeight = MenuBarHeight = 0;
    } else {
        CaptionHeight = BorderSize(SkinData->TopBorder.Image.Height(), SkinData->TopBorder.FrameCount);
        LeftBorderWidth = BorderSize(SkinData->LeftBorder.Image.Width(), SkinData->LeftBorder.FrameCount);
        RightBorderWidth = BorderSize(SkinData->RightBorder.Image.Width(), SkinData->RightBorder.FrameCount);
        BottomBorderHeight = BorderSize(SkinData->BottomBorder.Image.Height(), SkinData->BottomBorder.FrameCount);
    }
    ClearCaptionButtons();
    for (const auto& record : SkinData->CaptionButtons) {
        auto button = std::make_unique<TWinSysButton>();
        button->SkinButton = record.get();
        button->Owner = this;
        if (ShowsWindowIcon(record->Action)) {
            // The records belong to the skin data: the last frame built
            // decides the icon they show.
            if (record->Image.Empty()) record->Image.Assign(&IconBitmap);
            if (SkinData->IconImage.Empty()) SkinData->IconImage.Assign(&IconBitmap);
            record->FrameCount = 1;
        }
        SysButtons.push_back(std::move(button));
    }
}

// --------------------------------------------------------------- fitting

void TWinSkinForm::FitFrameToCaption(int withMenu) {
    if (ShowState == 1) {
        RefreshFrame();
        return;
    }
    RECT r{}, client{};
    GetWindowRect(Window, &r);
    GetClientRect(Window, &client);
    int w = client.right + LeftBorderWidth + RightBorderWidth;
    const int height = client.bottom + CaptionHeight + BottomBorderHeight + withMenu * MenuBarHeight;
    if (WindowClassName == "TMessageForm" || WindowClassName == "#32770") {
        {
            WindowDc dc(Window);
            if (dc.Get() != nullptr) {
                SelectGuard font(dc.Get(), CaptionFont.Handle());
                SIZE extent{};
                GetTextExtentPoint32A(dc.Get(), " ", 1, &extent);
                SpaceWidth = extent.cx;
            }
        }
        CaptionText = GetWindowTextStr(Window);
        const TDataSkinTitle& title = SkinData->Title;
        const int need = (static_cast<int>(CaptionText.size()) + 7) * SpaceWidth + LeftBorderWidth + RightBorderWidth +
                         title.LeftWidth + title.RightWidth + title.TXTBackleft + title.TXTBackRight;
        if (w < need) {
            const int shift = (need - w) / 2;
            for (HWND child : ChildWindows(Window)) {
                RECT cr{};
                GetWindowRect(child, &cr);
                MapWindowPoints(HWND_DESKTOP, Window, reinterpret_cast<POINT*>(&cr), 2);
                SetWindowPos(child, nullptr, cr.left + shift, cr.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            w = need;
        }
    }
    SetWindowPos(Window, nullptr, r.left, r.top, w, height,
                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TWinSkinForm::ApplyFaceColour() {
    if (SkinData == nullptr) return;
    const TColor face = SkinData->ButtonFaceColour;
    if (Form != nullptr) {
        Form->SetColor(face);
        for (int i = 0; i < Form->ComponentCount(); ++i) {
            if (auto* inner = dynamic_cast<TCustomForm*>(Form->Components(i))) inner->SetColor(face);
            if (auto* grid = dynamic_cast<TCustomGrid*>(Form->Components(i))) grid->SetFixedColor(face);
        }
    }
    for (TSkinControl* skin : ControlSkins) {
        if (auto* tabs = dynamic_cast<TSkinTab*>(skin)) tabs->PrepareTabBitmaps();
        else if (auto* tabSet = dynamic_cast<TSkinTab31*>(skin)) tabSet->PrepareTab31Bitmap();
        else if (skin->SetFaceColour && skin->Control != nullptr) skin->Control->SetColor(face);
    }
    SetPopupMenusOwnerDraw(true);
    if (!attachedFull_) return;
    FrameState = FrameStateRereading;
    // The caption strip of the old skin must not shape the new region.
    CaptionBitmap.FreeImage();
    if (ShowState != 2 && BorderKind != 2) FitFrameToCaption(1);
    // Still re-reading: the region is rebuilt even at the same size.
    BuildWindowRegion();
    FrameState = FrameStateRunning;
}

// ----------------------------------------------------------------- detach

void TWinSkinForm::DetachFrame() {
    if (attachedLight_) {
        DetachFrameLight();
        return;
    }
    if (FrameTimer != nullptr) FrameTimer->SetEnabled(false);
    if (!attachedFull_) return;
    attachedFull_ = false;
    const bool alive = !windowDestroying_ && IsWindow(Window) != FALSE;
    if (alive) SetCaptionStyles(true);
    if (subclassed_) Unsubclass();
    DropControlSkins();
    SetPopupMenusOwnerDraw(false);
    if (Form != nullptr && FrameState != FrameStateClosing) Form->SetColor(SavedFormColour);
    // A plain window going away takes its menu with it, as it would have.
    if (SkinMenu != nullptr && (alive || (Form == nullptr && IsWindow(Window)))) SkinMenu->GiveMenuBack();
    // A bar whose drop-down is open goes with the frame, after the menu loop.
    if (SkinMenu != nullptr && !TrackingMenu) TComponent::Free(SkinMenu);
    UnsubclassMdiClient();
    CaptionBitmap.FreeImage();
    if (!alive) {
        RegionSet = false;
        return;
    }
    RestoreNativeSize();
    SetWindowRgn(Window, nullptr, TRUE);
    RegionSet = false;
    RegionWidth = RegionHeight = 0;
    // Skinned pixels of children (WS_CLIPCHILDREN forms) go too.
    if (FrameState != FrameStateClosing)
        RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The platform frame comes back with the client area at the size it has now.
void TWinSkinForm::RestoreNativeSize() {
    if ((RecordedStyle & WS_CHILD) && MdiState != msMdiChild) return;
    const int dw = NativeFrameSize.right - LeftBorderWidth - RightBorderWidth;
    const int dh = NativeFrameSize.bottom - CaptionHeight - MenuBarHeight - BottomBorderHeight;
    if (IsIconic(Window) || IsZoomed(Window)) {
        // Only the size it comes back to changes.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        if (!GetWindowPlacement(Window, &wp)) return;
        wp.rcNormalPosition.right += dw;
        wp.rcNormalPosition.bottom += dh;
        wp.flags = 0;
        wp.showCmd = IsIconic(Window) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED;
        SetWindowPlacement(Window, &wp);
        RefreshFrame();
        return;
    }
    RECT r{};
    GetWindowRect(Window, &r);
    POINT p{r.left, r.top};
    if (MdiState == msMdiChild && SkinManager != nullptr && SkinManager->MdiClientWindow != nullptr)
        ScreenToClient(SkinManager->MdiClientWindow, &p);
    SetWindowPos(Window, nullptr, p.x, p.y, (r.right - r.left) + dw, (r.bottom - r.top) + dh,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

void TWinSkinForm::DetachFrameLight() {
    attachedLight_ = false;
    if (FrameTimer != nullptr) FrameTimer->SetEnabled(false);
    DropControlSkins();
    SetPopupMenusOwnerDraw(false);
    if (Form != nullptr && FrameState != FrameStateClosing) Form->SetColor(SavedFormColour);
    UnsubclassMdiClient();
    if (Form == nullptr) return;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(Form->Components(i))) control->Invalidate();
    // A hidden window stays hidden.
    if (FrameState != FrameStateClosing && IsWindowVisible(Window)) {
        ShowWindow(Window, SW_MINIMIZE);
        ShowWindow(Window, SW_RESTORE);
    }
}

void TWinSkinForm::LeaveHotControl() {
    if (HotControl == nullptr) return;
    TSkinControl* control = HotControl;
    HotControl = nullptr;
    control->SendMouseLeave();
}

void TWinSkinForm::WindowDestroying() {
    // From here on the frame stands aside; it leaves the manager at the
    // window's very end (WM_NCDESTROY).
    windowDestroying_ = true;
    if (FrameTimer != nullptr) FrameTimer->SetEnabled(false);
    UnsubclassMdiClient();
    // The region belongs to the system, which deletes it with the window.
    RegionSet = false;
}

void TWinSkinForm::WindowGone() {
    windowDestroying_ = true;
    if (SkinManager != nullptr) SkinManager->FrameWindowDestroyed(this);
}

// ---------------------------------------------------------------- routing

void TWinSkinForm::CallOldFrameProc(TMessage& m) {
    if (formLink_ != nullptr) {
        const std::shared_ptr<TFormLink> link = formLink_;
        link->old(m);
        return;
    }
    if (subclass_.Window() != nullptr) {
        m.Result = subclass_.CallOld(m.Msg, m.WParam, m.LParam);
        return;
    }
    m.Result = DefWindowProcA(Window, m.Msg, m.WParam, m.LParam);
}

void TWinSkinForm::FrameWindowProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCDESTROY:
        // Only a form's WindowProc sees it; the raw subclass reports it itself.
        CallOldFrameProc(m);
        WindowGone();
        return;
    case WM_DESTROY:
        WindowDestroying();
        CallOldFrameProc(m);
        return;
    case WM_STYLECHANGED:
        if (static_cast<int>(m.WParam) == GWL_STYLE)
            RecordedStyle = reinterpret_cast<const STYLESTRUCT*>(m.LParam)->styleNew;
        CallOldFrameProc(m);
        return;
    case SkinMsgQuery:
        m.Result = 1;
        return;
    default: break;
    }
    // Without its skin the frame stands aside; a plain child window's frame
    // is never drawn.
    const bool plainChild = (RecordedStyle & WS_CHILD) && MdiState != msMdiChild;
    if (!subclassed_ || windowDestroying_ || SkinData == nullptr || plainChild) {
        CallOldFrameProc(m);
        return;
    }
    if (RouteFirst(m)) return;
    if (SecondTableInForce() && RouteSecond(m)) return;
    CallOldFrameProc(m);
}

bool TWinSkinForm::SecondTableInForce() const {
    return FrameState != FrameStateNotStarted && ShowState != 2 && !MdiChildNotNormal();
}

bool TWinSkinForm::MdiChildNotNormal() const { return MdiState == msMdiChild && ShowState != 0; }

bool TWinSkinForm::MdiMaximised() const { return SkinManager != nullptr && SkinManager->MdiMaximized; }

// Messages of every skinned window; true when the message is done.
bool TWinSkinForm::RouteFirst(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE: WmSize(m); return true;
    case WM_ACTIVATE:
        FrameActive = LOBYTE(m.WParam) != 0;
        CallOldFrameProc(m);
        UpdateFrameTimer();
        return true;
    case WM_NCACTIVATE:
        FrameActive = LOBYTE(m.WParam) != 0;
        if (SecondTableInForce()) WmNcActivate(m);
        else CallOldFrameProc(m);
        return true;
    case WM_ERASEBKGND: WmEraseBkgnd(m); return true;
    case WM_GETMINMAXINFO: WmGetMinMaxInfo(m); return true;
    case WM_WINDOWPOSCHANGED: WmWindowPosChanged(m); return true;
    case WM_COMMAND: WmCommand(m); return true;
    case WM_SYSCOMMAND: WmSysCommand(m); return true;
    case WM_CTLCOLORBTN:
        CallOldFrameProc(m);
        if (Form == nullptr) SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        return true;
    case WM_CTLCOLORSTATIC: WmCtlColorStatic(m); return true;
    case SkinMsgStart: Start(); return true;
    case CM_MENUCHANGED:
        CallOldFrameProc(m);
        if (SkinMenu != nullptr) SkinMenu->MenuChanged();
        return true;
    case CM_DIALOGCHAR:
        // Alt+letter of a form presses the drawn bar's item.
        if (SkinMenu == nullptr || !SkinMenu->MenuAccelDialogChar(m)) CallOldFrameProc(m);
        return true;
    case WM_MENUSELECT:
        // Only the owner hears which item is selected; the bar's hook needs it.
        if (TrackingMenu && SkinMenu != nullptr) SkinMenu->MenuSelect(m.WParam, m.LParam);
        CallOldFrameProc(m);
        return true;
    case WM_SETTEXT:
    case WM_SETICON:
        // The platform paints its own caption on both: paint ours again.
        CallOldFrameProc(m);
        if (FrameState != FrameStateNotStarted && ShowState != 2) RefreshFrame();
        return true;
    default: return false;
    }
}

// Non-client messages of a started frame that is shown; true when done.
bool TWinSkinForm::RouteSecond(TMessage& m) {
    switch (m.Msg) {
    case WM_NCCALCSIZE: WmNcCalcSize(m); return true;
    case WM_NCPAINT: WmNcPaint(m); return true;
    case WM_NCHITTEST: WmNcHitTest(m); return true;
    case WM_NCMOUSEMOVE: WmNcMouseMove(m); return true;
    case WM_NCLBUTTONDOWN: WmNcLButtonDown(m); return true;
    case WM_NCLBUTTONUP: WmNcLButtonUp(m); return true;
    case WM_NCLBUTTONDBLCLK: WmNcLButtonDblClk(m); return true;
    case WM_NCRBUTTONDOWN: WmNcRButtonDown(m); return true;
    case SkinMsgRepaint: PaintFrame(nullptr); return true;
    case WM_MEASUREITEM: WmMeasureItem(m); return true;
    case WM_DRAWITEM: WmDrawItem(m); return true;
    default: return false;
    }
}

void TWinSkinForm::Start() {
    if (FrameState == FrameStateNotStarted) {
        if (MdiState == msMdiChild && MdiMaximised()) {
            SetCaptionStyles(true);
        } else if (ShowState != 2 && BorderKind != 2) {
            FrameState = FrameStateFirstFit;
            // While the platform's menu bar is still on the window, the
            // client area does not hold the band yet.
            FitFrameToCaption(GetMenu(Window) != nullptr ? 1 : 0);
            FrameState = FrameStateRunning;
            BuildWindowRegion();
        }
    }
    FrameState = FrameStateRunning;
    UpdateFrameTimer();
}

void TWinSkinForm::UpdateFrameTimer() {
    if (FrameTimer == nullptr) return;
    const bool running = FrameState == FrameStateRunning || FrameState == FrameStateRereading;
    FrameTimer->SetEnabled(running && FrameActive && ShowState != 2);
}

void TWinSkinForm::MdiClientWindowProc(TMessage& m) {
    auto pass = [&] { m.Result = mdiClientSubclass_.CallOld(m.Msg, m.WParam, m.LParam); };
    switch (m.Msg) {
    case WM_NCCALCSIZE:
        if (SkinData != nullptr && DrawsFrames(*SkinData)) {
            const auto style = GetWindowLongPtrA(MdiClient, GWL_STYLE);
            SetWindowLongPtrA(MdiClient, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
        }
        pass();
        return;
    case WM_MDICREATE:
        pass();
        NewMdiChild = reinterpret_cast<HWND>(m.Result);
        return;
    case WM_MDIDESTROY:
        if (SkinManager != nullptr) SkinManager->UnskinWindow(reinterpret_cast<HWND>(m.WParam));
        pass();
        if (SkinManager != nullptr) SkinManager->SetMdiMax(IsActiveMdiChildMaximized());
        return;
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (MdiMaximised()) SkinManager->SetMdiMax(false);
        pass();
        return;
    case WM_MDISETMENU:
        pass();
        if (SkinMenu == nullptr) return;
        if (m.WParam != 0) SkinMenu->BuildMenuButtonsById(reinterpret_cast<HMENU>(m.WParam));
        else SkinMenu->BuildMenuButtons();
        return;
    case WM_MDIREFRESHMENU:
        pass();
        if (NewMdiChild != nullptr && SkinManager != nullptr) {
            SkinManager->SkinWindow(NewMdiChild);
            PostMessageA(Window, SkinMsgRepaint, 0, 0);
            NewMdiChild = nullptr;
        }
        return;
    default: pass(); return;
    }
}

}  // namespace pellix
