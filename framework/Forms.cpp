#include "framework/Forms.h"

#include <vector>

#include "framework/ActnList.h"
#include "framework/FormLoader.h"
#include "framework/StdCtrls.h"
#include "framework/Screen.h"

namespace pellix {

namespace {

TApplication& TheApplication() {
    static TApplication app(nullptr);
    return app;
}

}  // namespace

TApplication* const Application = &TheApplication();

// ------------------------------------------------------------- TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    TWinControl::SetVisible(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBoundsFields(0, 0, 320, 240);
    TScreen::FormCreated(this);
}

TCustomForm::~TCustomForm() {
    if (menu_ != nullptr) menu_->SetWindowHandle(nullptr);
    TScreen::FormDestroyed(this);
}

void TCustomForm::LoadAndCreate() {
    LoadFormDescription(*this);
    // The window is made at its designed size, so anchored controls keep
    // their designed distances when the create handler resizes it.
    HandleNeeded();
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    if (!Destroying() && OnDestroy) {
        try {
            OnDestroy(this);
        } catch (const std::exception& e) {
            Application->HandleException(this, e);
        }
    }
    TWinControl::BeforeDestruction();
    // The window goes while the whole form still exists: whatever watches its
    // destruction may still reach into the form.
    DestroyHandle();
}

const std::any* TCustomForm::FindHandler(const std::string& name) const {
    auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
}

void TCustomForm::DoCreate() {
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (const std::exception& e) {
        // An error in the create handler is shown; the form still opens.
        Application->HandleException(this, e);
    }
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN;
    params.ExStyle = WS_EX_CONTROLPARENT;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone: params.Style |= WS_POPUP; break;
    case TFormBorderStyle::bsSingle: params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER; break;
    case TFormBorderStyle::bsSizeable: params.Style |= WS_OVERLAPPEDWINDOW; break;
    case TFormBorderStyle::bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsToolWindow:
        params.Style |= WS_CAPTION | WS_SYSMENU;
        params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    params.WndParent = nullptr;
}

void TCustomForm::CreateWindowHandle(const TCreateParams& params) {
    TWinControl::CreateWindowHandle(params);
    if (handle_ == nullptr) return;
    HICON icon = Application->Icon();
    SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (menu_ != nullptr) menu_->SetWindowHandle(handle_);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_ != nullptr) {
        menu_->SetWindowHandle(nullptr);
        menu_->RemoveFreeNotification(this);
    }
    menu_ = menu;
    if (menu_ != nullptr) menu_->FreeNotification(this);
    if (handle_ != nullptr && menu_ != nullptr) menu_->SetWindowHandle(handle_);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == menu_) menu_ = nullptr;
}

bool TCustomForm::IsShortCut(TWMKey& msg) {
    bool handled = false;
    if (OnShortCut) OnShortCut(msg, handled);
    if (!handled && menu_ != nullptr) handled = menu_->IsShortCut(msg);
    for (int i = 0; !handled && i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TActionList*>(Components(i))) handled = list->IsShortCut(msg);
    return handled;
}

RECT TCustomForm::ClientRect() {
    if (HandleAllocated()) return TWinControl::ClientRect();
    const SIZE frame = PlatformFrameSize();
    const int w = Width() - frame.cx, h = Height() - frame.cy;
    return RECT{0, 0, w > 0 ? w : 0, h > 0 ? h : 0};
}

SIZE TCustomForm::PlatformFrameSize() {
    TCreateParams params;
    CreateParams(params);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, params.Style, menu_ != nullptr, params.ExStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

SIZE TCustomForm::RestoredClientSize() {
    if (restoredClient_.cx >= 0) return restoredClient_;
    const RECT r = ClientRect();
    return SIZE{r.right, r.bottom};
}

TWindowState TCustomForm::WindowState() {
    if (handle_ != nullptr && IsWindowVisible(handle_)) {
        if (IsIconic(handle_)) return TWindowState::wsMinimized;
        if (IsZoomed(handle_)) return TWindowState::wsMaximized;
        return TWindowState::wsNormal;
    }
    return windowState_;
}

void TCustomForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (handle_ == nullptr || !IsWindowVisible(handle_)) return;
    int cmd = state == TWindowState::wsMinimized ? SW_MINIMIZE
              : state == TWindowState::wsMaximized ? SW_MAXIMIZE : SW_RESTORE;
    ShowWindow(handle_, cmd);
}

void TCustomForm::PlaceOnScreen() {
    if (placed_) return;
    placed_ = true;
    if (position_ == TPosition::poScreenCenter || position_ == TPosition::poDesktopCenter) {
        int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
    }
}

void TCustomForm::SetVisible(bool visible) {
    if (!visible) {
        TWinControl::SetVisible(false);
        return;
    }
    HandleNeeded();
    PlaceOnScreen();
    TControl::SetVisible(true);
    int cmd = windowState_ == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
              : windowState_ == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    ShowWindow(handle_, cmd);
    SetForegroundWindow(handle_);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

namespace {

BOOL CALLBACK DisableThreadWindow(HWND hwnd, LPARAM lp) {
    auto* disabled = reinterpret_cast<std::vector<HWND>*>(lp);
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        disabled->push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

int TCustomForm::ShowModal() {
    if (modal_ || Visible()) throw EComponentError("Cannot make a visible window modal");
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
    modal_ = true;
    modalResult_ = 0;
    Show();
    while (modalResult_ == 0 && !Application->Terminated()) Application->HandleMessage();
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    Hide();
    modal_ = false;
    return modalResult_;
}

void TCustomForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone) return;
    if (modal_) {
        if (modalResult_ == 0) modalResult_ = 2;  // closed without a choice: cancel
        return;
    }
    if (Application->MainForm() == this) {
        Application->Terminate();
    } else if (action == TCloseAction::caHide) {
        Hide();
    } else if (action == TCloseAction::caMinimize) {
        SetWindowState(TWindowState::wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::Release() {
    if (HandleAllocated()) PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        message.Result = 0;
        return;
    case CM_RELEASE:
        TComponent::Free(this);  // the form posted this to itself; nothing touches it after
        return;
    case WM_COMMAND:
        // Menu choices come without a control window.
        if (message.LParam == 0 && menu_ != nullptr && menu_->DispatchCommand(LOWORD(message.WParam))) {
            message.Result = 0;
            return;
        }
        TWinControl::Dispatch(message);
        return;
    case CM_MENUCHANGED:
        // Whatever took the menu off the window gets it back to look at.
        if (menu_ != nullptr && handle_ != nullptr && GetMenu(handle_) != menu_->Handle())
            ::SetMenu(handle_, menu_->Handle());
        message.Result = 0;
        return;
    case WM_SETCURSOR:
        // Children ask their parents first, so this covers the whole form.
        if (Screen->Cursor() != crDefault && LOWORD(message.LParam) == HTCLIENT) {
            ::SetCursor(TScreen::CursorHandle(Screen->Cursor()));
            message.Result = TRUE;
            return;
        }
        TWinControl::Dispatch(message);
        return;
    case WM_SIZE:
        if (message.WParam == SIZE_RESTORED)
            restoredClient_ = SIZE{LOWORD(message.LParam), HIWORD(message.LParam)};
        TWinControl::Dispatch(message);
        return;
    case WM_ACTIVATE:
        if (LOWORD(message.WParam) != WA_INACTIVE) TScreen::FormActivated(this);
        TWinControl::Dispatch(message);
        return;
    case WM_DESTROY:
        if (menu_ != nullptr) menu_->SetWindowHandle(nullptr);
        TWinControl::Dispatch(message);
        return;
    default:
        TWinControl::Dispatch(message);
    }
}

// -------------------------------------------------------------- TScrollBox

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    SetColor(clBtnFace);
    SetParentColor(true);
    SetBoundsFields(0, 0, 185, 41);
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT;
}

// ------------------------------------------------------------ TCustomFrame

TCustomFrame::TCustomFrame(TComponent* owner) : TWinControl(owner) {
    SetColor(clBtnFace);
    SetParentColor(true);
    SetBoundsFields(0, 0, 320, 240);
}

void TCustomFrame::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

// ------------------------------------------------------------ TApplication

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

HICON TApplication::Icon() {
    static HICON icon = [] {
        HICON own = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
        return own != nullptr ? own : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    }();
    return icon;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

namespace {

// Key messages go to the shortcuts of their form before anything else.
bool IsShortCutMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
    if (form == nullptr) return false;
    TWMKey key{msg.message, static_cast<WORD>(msg.wParam), msg.lParam, 0};
    try {
        return form->IsShortCut(key);
    } catch (const std::exception& e) {
        Application->HandleException(form, e);
        return true;
    }
}

}  // namespace

// Keys that move between and press a form's controls: Tab and Shift+Tab
// step through the tab stops; in a modal form Enter presses the focused or
// the default button and Esc the cancel button.
namespace {

TButton* FindButton(TWinControl* parent, bool isDefault) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c); b != nullptr && b->Visible() && (isDefault ? b->Default : b->Cancel)) return b;
        if (auto* w = dynamic_cast<TWinControl*>(c))
            if (TButton* inner = FindButton(w, isDefault)) return inner;
    }
    return nullptr;
}

bool IsDialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<TCustomForm*>(TWinControl::FromHandle(top));
    if (form == nullptr || (GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return false;
    if (msg.wParam == VK_TAB) {
        bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        HWND next = GetNextDlgTabItem(top, GetFocus(), back);
        if (next != nullptr) SetFocus(next);
        return true;
    }
    if (!form->Modal() || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)) return false;
    if (msg.wParam == VK_RETURN) {
        if (auto* focused = dynamic_cast<TButton*>(TWinControl::FromHandle(GetFocus()))) {
            focused->Click();
            return true;
        }
    }
    TButton* target = FindButton(form, msg.wParam == VK_RETURN);
    if (target != nullptr && target->Enabled()) target->Click();
    else if (msg.wParam == VK_ESCAPE) form->SetModalResult(2);
    else return false;
    return true;
}

}  // namespace

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (IsShortCutMessage(msg)) return true;
    if (IsDialogKey(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) WaitMessage();
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Run() {
    if (mainForm_ != nullptr) mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        if (!ProcessMessage(msg)) WaitMessage();
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::Finalize() {
    DestroyComponents();
    mainForm_ = nullptr;
}

void TApplication::HandleException(TObject* sender, const std::exception& error) {
    (void)sender;
    ShowException(error);
}

void TApplication::ShowException(const std::exception& error) {
    std::string text = error.what();
    // A message that does not end in punctuation gets a full stop.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    if (OnShowException) {
        OnShowException(text);
        return;
    }
    HWND owner = GetActiveWindow();
    MessageBoxA(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace pellix
