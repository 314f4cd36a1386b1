#include "framework/Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

#include "framework/Forms.h"

namespace pellix {

namespace {

const char kObjectProp[] = "PellixObject";

// The object whose window is being created on this thread: its first message
// binds it to the new window.
thread_local TWinControl* t_creating = nullptr;

std::map<std::string, WNDPROC>& ClassProcs() {
    static std::map<std::string, WNDPROC> procs;
    return procs;
}

// The hint window of a top-level window, made on first use; it is owned by
// that window and goes with it.
HWND HintWindowOf(HWND topLevel) {
    HWND tips = static_cast<HWND>(GetPropA(topLevel, "PellixHints"));
    if (tips != nullptr) return tips;
    EnsureCommonControls();
    tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, topLevel, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (tips != nullptr) SetPropA(topLevel, "PellixHints", tips);
    return tips;
}

}  // namespace

void EnsureCommonControls() {
    static const bool ready = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)ready;
}

std::string GetShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

bool TControl::HintShown() const {
    for (const TControl* c = this; c != nullptr; c = c->parent_)
        if (!c->ParentShowHint || c->parent_ == nullptr) return c->ShowHint;
    return false;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    font_->OnChange = [this](TObject*) {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_ != nullptr) parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_ != nullptr) {
        parent_->InsertControl(this);
        if (parentColor_) ParentColorChanged();
        if (parentFont_) ParentFontChanged();
    }
}

void TControl::SetBoundsFields(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    SetBoundsFields(left, top, width, height);
    anchorsFixed_ = false;
    Invalidate();
}

RECT TControl::ClientRect() { return RECT{0, 0, width_, height_}; }

void TControl::SetClientWidth(int v) { SetWidth(width_ - ClientWidth() + v); }

void TControl::SetClientHeight(int v) { SetHeight(height_ - ClientHeight() + v); }

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_ != nullptr && !Loading()) parent_->AlignControls();
}

void TControl::SetAnchors(TAnchors anchors) {
    anchors_ = anchors;
    anchorsFixed_ = false;
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    VisibleChanged();
    if (visible) Invalidate();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
    Invalidate();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (TControl* c : self->controls_) c->ParentColorChanged();
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    if (value) ParentColorChanged();
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    if (value) ParentFontChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || parent_ == nullptr) return;
    SetColor(parent_->Color());
    parentColor_ = true;
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || parent_ == nullptr) return;
    font_->Assign(parent_->Font());
    parentFont_ = true;
}

void TControl::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    // A procedure in front may put the previous one back while it runs.
    TWndMethod proc = WindowProc;
    proc(m);
    return m.Result;
}

void TControl::Invalidate() {}

void TControl::Repaint() { Invalidate(); }

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::WndProc(TMessage& message) { Dispatch(message); }

void TControl::Dispatch(TMessage& message) { DefaultHandler(message); }

void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

// --------------------------------------------------------- TGraphicControl

void TGraphicControl::Dispatch(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        Paint(reinterpret_cast<HDC>(message.WParam));
        message.Result = 0;
        return;
    }
    TControl::Dispatch(message);
}

void TGraphicControl::Invalidate() {
    TWinControl* p = Parent();
    if (p == nullptr || !p->HandleAllocated() || !Visible()) return;
    RECT r = BoundsRect();
    InvalidateRect(p->Handle(), &r, TRUE);
}

// ------------------------------------------------------------- TWinControl

WNDPROC RegisterFrameworkClass(const TCreateParams& params) {
    auto& procs = ClassProcs();
    auto found = procs.find(params.WinClassName);
    if (found != procs.end()) return found->second;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    WNDPROC base = DefWindowProcA;
    if (!params.SysClassName.empty()) {
        if (!GetClassInfoExA(nullptr, params.SysClassName.c_str(), &wc))
            throw EComponentError("Cannot find window class " + params.SysClassName);
        base = wc.lpfnWndProc;
        wc.cbSize = sizeof(wc);
    } else {
        wc.style = params.ClassStyle;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    wc.lpfnWndProc = &TWinControl::FrameworkWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = params.WinClassName.c_str();
    wc.hbrBackground = nullptr;  // the control paints its own colour
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EComponentError("Cannot register window class " + params.WinClassName);
    procs[params.WinClassName] = base;
    return base;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    DestroyHandle();
    for (TControl* c : std::vector<TControl*>(controls_)) c->SetParent(nullptr);
    if (brush_ != nullptr) DeleteObject(brush_);
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    return static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp));
}

HWND TWinControl::Handle() {
    if (handle_ != nullptr) return handle_;
    // The parent's window first: making it makes its children's, this one's
    // among them, which must not be made a second time.
    if (Parent() != nullptr) Parent()->HandleNeeded();
    if (handle_ == nullptr) CreateWnd();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (TabStop) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    if (Parent() != nullptr) params.WndParent = Parent()->Handle();
    params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && params.WndParent == nullptr)
        throw EComponentError("Control '" + Name() + "' has no parent window");
    defWndProc_ = RegisterFrameworkClass(params);
    CreateWindowHandle(params);
    if (handle_ == nullptr) throw EComponentError("Error creating window of " + ClassName());
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
    AlignControls();
    AddHints();
}

void TWinControl::AddHints() {
    auto add = [this](TControl* c, HWND owner, UINT flags, UINT_PTR id, RECT rect) {
        if (!c->HintShown() || c->Hint().empty()) return;
        HWND tips = HintWindowOf(GetAncestor(handle_, GA_ROOT));
        if (tips == nullptr) return;
        std::string text = GetShortHint(c->Hint());
        TTTOOLINFOA ti{};
        ti.cbSize = sizeof(ti);
        ti.uFlags = flags | TTF_SUBCLASS;
        ti.hwnd = owner;
        ti.uId = id;
        ti.rect = rect;
        ti.lpszText = text.data();
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    };
    if (Parent() != nullptr) add(this, Parent()->handle_, TTF_IDISHWND, reinterpret_cast<UINT_PTR>(handle_), RECT{});
    for (TControl* c : controls_)
        if (dynamic_cast<TGraphicControl*>(c) != nullptr)
            add(c, handle_, 0, reinterpret_cast<UINT_PTR>(c), c->BoundsRect());
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    TWinControl* outer = t_creating;
    t_creating = this;
    HWND made = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                params.X, params.Y, params.Width, params.Height, params.WndParent, params.Menu,
                                GetModuleHandleA(nullptr), nullptr);
    t_creating = outer;
    if (made != nullptr && handle_ == nullptr) {
        handle_ = made;
        SetPropA(made, kObjectProp, this);
    }
}

void TWinControl::DestroyHandle() {
    if (handle_ == nullptr) return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    HWND h = handle_;
    if (h != nullptr && IsWindow(h)) DestroyWindow(h);
    handle_ = nullptr;
    mouseInside_ = false;
}

LRESULT CALLBACK TWinControl::FrameworkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp));
    if (self == nullptr) {
        self = t_creating;
        if (self == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
        t_creating = nullptr;
        self->handle_ = hwnd;
        SetPropA(hwnd, kObjectProp, self);
    }
    TMessage m{msg, wParam, lParam, 0};
    try {
        // A procedure in front may put the previous one back while it runs
        // (a skin lets go of a control on WM_NCDESTROY).
        TWndMethod proc = self->WindowProc;
        proc(m);
    } catch (const std::exception& e) {
        // No error may cross into the system's code: the application shows it.
        Application->HandleException(self, e);
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kObjectProp);
        if (self->handle_ == hwnd) self->handle_ = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (handle_ == nullptr) {
        message.Result = 0;
        return;
    }
    message.Result = CallWindowProcA(defWndProc_ != nullptr ? defWndProc_ : DefWindowProcA, handle_, message.Msg,
                                     message.WParam, message.LParam);
}

void TWinControl::ReflectToChild(TMessage& message, HWND child) {
    TWinControl* target = FromHandle(child);
    if (target == nullptr || target == this) {
        DefaultHandler(message);
        return;
    }
    message.Result = target->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
}

void TWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
        if (message.LParam != 0) return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
        break;
    case WM_NOTIFY:
        return ReflectToChild(message, reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom);
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (message.LParam != 0) return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return ReflectToChild(message, reinterpret_cast<HWND>(message.LParam));
    case WM_DRAWITEM:
        // A menu item's hwndItem is its menu, no window to reflect to.
        if (reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->CtlType == ODT_MENU) break;
        return ReflectToChild(message, reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem);
    case WM_SYSCHAR:
        // Alt+letter goes to the form first; a form that takes it ends it here.
        if (DialogChar(message)) {
            message.Result = 0;
            return;
        }
        break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLORSTATIC:
    case CN_BASE + WM_CTLCOLOREDIT:
    case CN_BASE + WM_CTLCOLORLISTBOX:
    case CN_BASE + WM_CTLCOLORBTN:
    case CN_BASE + WM_CTLCOLORDLG:
    case CN_BASE + WM_CTLCOLORSCROLLBAR: {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        message.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return;
    }
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(message.WParam), &r, BackgroundBrush());
        message.Result = 1;
        return;
    }
    case WM_PAINT:
        return WmPaint(message);
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        return;
    case WM_SIZE:
        DefaultHandler(message);
        AlignControls();
        return;
    case WM_MOUSEMOVE:
        TrackMouse();
        if (RouteMouse(message)) return;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        if (RouteMouse(message)) return;
        break;
    case WM_CAPTURECHANGED:
        captureControl_ = nullptr;
        break;
    case WM_MOUSELEAVE:
        SetMouseControl(nullptr);
        if (mouseInside_) {
            mouseInside_ = false;
            Perform(CM_MOUSELEAVE, 0, 0);
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        message.Result = 0;  // for procedures in front; the system control has no use for them
        return;
    case WM_SETFOCUS:
        DefaultHandler(message);
        DoEnter();
        return;
    case WM_KILLFOCUS: {
        DefaultHandler(message);
        // Only a move to another window of the same form counts as leaving.
        HWND to = reinterpret_cast<HWND>(message.WParam);
        if (to != nullptr && GetAncestor(to, GA_ROOT) == GetAncestor(handle_, GA_ROOT)) DoExit();
        return;
    }
    default:
        break;
    }
    DefaultHandler(message);
}

bool TWinControl::DialogChar(const TMessage& message) {
    TWinControl* form = FromHandle(GetAncestor(handle_, GA_ROOT));
    return form != nullptr && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0;
}

void TWinControl::TrackMouse() {
    // Asked again on every move: the system control may cancel the request
    // with its own tracking.
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
    if (!TrackMouseEvent(&track) || mouseInside_) return;
    mouseInside_ = true;
    Perform(CM_MOUSEENTER, 0, 0);
}

TGraphicControl* TWinControl::GraphicControlAt(POINT point) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        auto* g = dynamic_cast<TGraphicControl*>(*it);
        if (g == nullptr || !g->Visible() || !g->Enabled()) continue;
        const RECT r = g->BoundsRect();
        if (PtInRect(&r, point)) return g;
    }
    return nullptr;
}

void TWinControl::SetMouseControl(TGraphicControl* control) {
    if (control == mouseControl_) return;
    TGraphicControl* left = mouseControl_;
    mouseControl_ = control;
    if (left != nullptr) left->Perform(CM_MOUSELEAVE, 0, 0);
    if (control != nullptr) control->Perform(CM_MOUSEENTER, 0, 0);
}

bool TWinControl::RouteMouse(TMessage& message) {
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (message.Msg == WM_MOUSEMOVE) SetMouseControl(GraphicControlAt(point));
    TGraphicControl* target = captureControl_ != nullptr ? captureControl_ : GraphicControlAt(point);
    if (target == nullptr) return false;
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
        SetCapture(handle_);
        captureControl_ = target;
    }
    const LPARAM at = MAKELPARAM(point.x - target->Left(), point.y - target->Top());
    message.Result = target->Perform(message.Msg, message.WParam, at);
    if (message.Msg == WM_LBUTTONUP && captureControl_ != nullptr) {
        captureControl_ = nullptr;
        ReleaseCapture();
    }
    return true;
}

HBRUSH TWinControl::BackgroundBrush() {
    if (brush_ == nullptr || brushColor_ != Color()) {
        if (brush_ != nullptr) DeleteObject(brush_);
        brush_ = CreateSolidBrush(ColorToRGB(Color()));
        brushColor_ = Color();
    }
    return brush_;
}

void TWinControl::WmPaint(TMessage& message) {
    bool ownClass = defWndProc_ == DefWindowProcA;
    bool hasGraphic = std::any_of(controls_.begin(), controls_.end(),
                                  [](TControl* c) { return dynamic_cast<TGraphicControl*>(c) != nullptr; });
    // A system control without windowless children paints itself as usual.
    if (!ownClass && !hasGraphic) return DefaultHandler(message);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, &ps);
    PaintWindow(dc);
    PaintControls(dc);
    EndPaint(handle_, &ps);
    message.Result = 0;
}

void TWinControl::PaintWindow(HDC dc) {
    // A superclassed system control paints itself into the given DC.
    if (defWndProc_ != DefWindowProcA) CallWindowProcA(defWndProc_, handle_, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g == nullptr || !g->Visible()) continue;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, g->Left(), g->Top(), g->Left() + g->Width(), g->Top() + g->Height());
        SetViewportOrgEx(dc, g->Left(), g->Top(), nullptr);
        g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::UpdateBoundsFromWindow() {
    if (handle_ == nullptr) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(handle_);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    } else if (IsIconic(handle_) || IsZoomed(handle_)) {
        // Minimised and maximised windows keep their normal bounds.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        GetWindowPlacement(handle_, &wp);
        r = wp.rcNormalPosition;
    }
    SetBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (handle_ != nullptr && !IsIconic(handle_) && !IsZoomed(handle_)) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBoundsFromWindow();
    } else if (handle_ != nullptr) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof(wp);
        GetWindowPlacement(handle_, &wp);
        wp.rcNormalPosition = RECT{left, top, left + width, top + height};
        SetWindowPlacement(handle_, &wp);
        SetBoundsFields(left, top, width, height);
    } else {
        TControl::SetBounds(left, top, width, height);
        return;
    }
    anchorsFixed_ = false;
}

RECT TWinControl::ClientRect() {
    if (handle_ == nullptr) return TControl::ClientRect();
    RECT r;
    GetClientRect(handle_, &r);
    return r;
}

void TWinControl::Invalidate() {
    if (handle_ != nullptr) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (handle_ == nullptr) return;
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
}

bool TWinControl::CanFocus() {
    for (TControl* c = this; c != nullptr; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

bool TWinControl::Focused() { return handle_ != nullptr && GetFocus() == handle_; }

void TWinControl::SetText(const std::string& text) {
    text_ = text;
    if (handle_ != nullptr) SetWindowTextA(handle_, text.c_str());
}

std::string TWinControl::GetText() const {
    if (handle_ == nullptr) return text_;
    int n = GetWindowTextLengthA(handle_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(handle_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return s;
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::ColorChanged() {
    if (handle_ != nullptr) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::FontChanged() {
    if (handle_ != nullptr) {
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        InvalidateRect(handle_, nullptr, TRUE);
    }
    for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::VisibleChanged() {
    if (handle_ != nullptr) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
    if (handle_ != nullptr) EnableWindow(handle_, Enabled());
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    if (handle_ != nullptr) {
        if (auto* w = dynamic_cast<TWinControl*>(control)) w->HandleNeeded();
        control->Invalidate();
        if (!Loading()) AlignControls();
    }
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    if (control == mouseControl_) mouseControl_ = nullptr;
    if (control == captureControl_) {
        captureControl_ = nullptr;
        if (handle_ != nullptr && GetCapture() == handle_) ReleaseCapture();
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (auto* w = dynamic_cast<TWinControl*>(control)) w->DestroyHandle();
}

void TWinControl::AlignControls() {
    if (aligning_ || handle_ == nullptr) return;
    aligning_ = true;
    const RECT client = ClientRect();
    const int clientW = client.right, clientH = client.bottom;
    RECT area = AlignArea();
    // Docked controls take their edges in this order, each from what is left.
    const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient};
    for (TAlign a : order) {
        for (TControl* c : controls_) {
            if (c->Align() != a || !c->Visible()) continue;
            int w = c->Width(), h = c->Height();
            switch (a) {
            case TAlign::alTop:
                c->SetBounds(area.left, area.top, area.right - area.left, h);
                area.top += h;
                break;
            case TAlign::alBottom:
                c->SetBounds(area.left, area.bottom - h, area.right - area.left, h);
                area.bottom -= h;
                break;
            case TAlign::alLeft:
                c->SetBounds(area.left, area.top, w, area.bottom - area.top);
                area.left += w;
                break;
            case TAlign::alRight:
                c->SetBounds(area.right - w, area.top, w, area.bottom - area.top);
                area.right -= w;
                break;
            default:
                c->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
                break;
            }
        }
    }
    // Anchored controls keep their distances to the anchored edges.
    for (TControl* c : controls_) {
        if (c->Align() != TAlign::alNone) continue;
        if (!c->anchorsFixed_) {
            c->anchorRight_ = clientW - (c->Left() + c->Width());
            c->anchorBottom_ = clientH - (c->Top() + c->Height());
            c->anchorsFixed_ = true;
            continue;
        }
        TAnchors k = c->Anchors();
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if (k & akRight) {
            if (k & akLeft) w = clientW - c->anchorRight_ - l;
            else l = clientW - c->anchorRight_ - w;
        }
        if (k & akBottom) {
            if (k & akTop) h = clientH - c->anchorBottom_ - t;
            else t = clientH - c->anchorBottom_ - h;
        }
        int keepRight = c->anchorRight_, keepBottom = c->anchorBottom_;
        c->SetBounds(l, t, w, h);
        c->anchorRight_ = keepRight;
        c->anchorBottom_ = keepBottom;
        c->anchorsFixed_ = true;
    }
    aligning_ = false;
}

}  // namespace pellix
