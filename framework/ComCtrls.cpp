#include "framework/ComCtrls.h"

#include <commctrl.h>

#include <vector>

#include "framework/FormLoader.h"

namespace pellix {

// ----------------------------------------------------------------- TUpDown

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) { SetBoundsFields(0, 0, 17, 25); }

void TUpDown::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = UPDOWN_CLASSA;
    params.Style |= UDS_ARROWKEYS;
    if (Orientation == TUDOrientation::udHorizontal) params.Style |= UDS_HORZ;
}

void TUpDown::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(handle_, UDM_SETRANGE32, static_cast<WPARAM>(Min), static_cast<LPARAM>(Max));
    SendMessageA(handle_, UDM_SETPOS32, 0, static_cast<LPARAM>(position_));
}

int TUpDown::Position() const {
    if (handle_ == nullptr) return position_;
    return static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, 0));
}

void TUpDown::SetPosition(int position) {
    position_ = position;
    if (handle_ != nullptr) SendMessageA(handle_, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
}

// --------------------------------------------------------------- TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetParentColor(true);  // its background is the parent's
    SetBoundsFields(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = TRACKBAR_CLASSA;
    params.Style |= TBS_AUTOTICKS | (Orientation == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(handle_, TBM_SETRANGEMIN, FALSE, static_cast<LPARAM>(Min));
    SendMessageA(handle_, TBM_SETRANGEMAX, FALSE, static_cast<LPARAM>(Max));
    SendMessageA(handle_, TBM_SETPOS, TRUE, static_cast<LPARAM>(position_));
}

int TTrackBar::Position() const {
    if (handle_ == nullptr) return position_;
    return static_cast<int>(SendMessageA(handle_, TBM_GETPOS, 0, 0));
}

void TTrackBar::SetPosition(int position) {
    position_ = position;
    if (handle_ != nullptr) SendMessageA(handle_, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
}

// ------------------------------------------------------------ TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBoundsFields(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = PROGRESS_CLASSA;
    if (Smooth) params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    if (handle_ != nullptr) SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
}

void TProgressBar::SetPosition(int position) {
    position_ = position;
    if (handle_ != nullptr) SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// ------------------------------------------------------------ TStatusPanel

void TStatusPanel::Assign(const TPersistent* source) {
    if (const auto* panel = dynamic_cast<const TStatusPanel*>(source)) {
        text_ = panel->text_;
        width_ = panel->width_;
        alignment_ = panel->alignment_;
        bevel_ = panel->bevel_;
        Changed();
        return;
    }
    TCollectionItem::Assign(source);
}

void TStatusPanel::SetText(const std::string& text) {
    text_ = text;
    Changed();
}

void TStatusPanel::SetWidth(int width) {
    width_ = width;
    Changed();
}

void TStatusPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel bevel) {
    bevel_ = bevel;
    Changed();
}

void TStatusPanel::Changed() {
    if (auto* bar = dynamic_cast<TStatusBar*>(Collection()->Owner())) bar->UpdatePanels();
}

TStatusPanels::TStatusPanels(TStatusBar* bar) : TOwnedCollection(bar, ItemClass<TStatusPanel>()) {}

// -------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    SetBoundsFields(0, 0, 200, 19);
    SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = STATUSCLASSNAMEA;
    // The framework places the bar; the control must not move itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (sizeGrip_) params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdatePanels();
}

void TStatusBar::SetSimplePanel(bool value) {
    simplePanel_ = value;
    UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    simpleText_ = text;
    UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool value) {
    if (value == sizeGrip_) return;
    sizeGrip_ = value;
    if (!HandleAllocated()) return;
    DestroyHandle();
    HandleNeeded();
}

void TStatusBar::UpdatePanels() {
    if (handle_ == nullptr) return;
    SendMessageA(handle_, SB_SIMPLE, simplePanel_, 0);
    if (simplePanel_) {
        SendMessageA(handle_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
        return;
    }
    const int count = panels_->Count();
    std::vector<int> rights;
    int right = 0;
    for (int i = 0; i < count; ++i) {
        right += panels_->Items(i)->Width();
        rights.push_back(i + 1 == count ? -1 : right);
    }
    if (rights.empty()) rights.push_back(-1);
    SendMessageA(handle_, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    for (int i = 0; i < count; ++i) {
        const TStatusPanel& panel = *panels_->Items(i);
        // The system control centres text after one tab and right-aligns it after two.
        const char* tabs = panel.Alignment() == TAlignment::taCenter         ? "\t"
                           : panel.Alignment() == TAlignment::taRightJustify ? "\t\t"
                                                                             : "";
        const std::string text = tabs + panel.Text();
        WPARAM flags = static_cast<WPARAM>(i);
        if (panel.Bevel() == TStatusPanelBevel::pbNone) flags |= SBT_NOBORDERS;
        if (panel.Bevel() == TStatusPanelBevel::pbRaised) flags |= SBT_POPOUT;
        SendMessageA(handle_, SB_SETTEXTA, flags, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (count == 0) SendMessageA(handle_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::Dispatch(TMessage& message) {
    TWinControl::Dispatch(message);
    // The last panel follows the right edge.
    if (message.Msg == WM_SIZE) InvalidateRect(handle_, nullptr, TRUE);
}

// ---------------------------------------------------------------- TToolBar

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBoundsFields(0, 0, 150, 29);
    SetAlign(TAlign::alTop);
}

void TToolBar::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = TOOLBARCLASSNAMEA;
    // The framework places the bar; the system must not move or size it.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (flat_) params.Style |= TBSTYLE_FLAT;
}

void TToolBar::SetFlat(bool value) {
    if (value == flat_) return;
    flat_ = value;
    if (handle_ == nullptr) return;
    auto style = static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_STYLE));
    style = value ? style | TBSTYLE_FLAT : style & ~static_cast<DWORD>(TBSTYLE_FLAT);
    SetWindowLongPtrA(handle_, GWL_STYLE, static_cast<LONG_PTR>(style));
    InvalidateRect(handle_, nullptr, TRUE);
}

// --------------------------------------------------------- TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetBoundsFields(0, 0, 121, 97);
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = WC_TREEVIEWA;
    params.Style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

// ------------------------------------------------------------ registration

void RegisterComCtrlsClasses() {
    RegisterClassInfo("TUpDown", "TWinControl", Factory<TUpDown>())
        .Property("Orientation", Prop<TUpDown>([](TUpDown& u, const FormValue& v, LoadContext& x) {
            u.Orientation = static_cast<TUDOrientation>(x.Enum(v, {"udVertical", "udHorizontal"}));
        }))
        .Property("Min", Prop<TUpDown>([](TUpDown& u, const FormValue& v, LoadContext& x) { u.Min = x.Int(v); }))
        .Property("Max", Prop<TUpDown>([](TUpDown& u, const FormValue& v, LoadContext& x) { u.Max = x.Int(v); }))
        .Property("Position", Prop<TUpDown>([](TUpDown& u, const FormValue& v, LoadContext& x) { u.SetPosition(x.Int(v)); }));
    RegisterClassInfo("TTrackBar", "TWinControl", Factory<TTrackBar>())
        .Property("Orientation", Prop<TTrackBar>([](TTrackBar& t, const FormValue& v, LoadContext& x) {
            t.Orientation = static_cast<TTrackBarOrientation>(x.Enum(v, {"trHorizontal", "trVertical"}));
        }))
        .Property("Min", Prop<TTrackBar>([](TTrackBar& t, const FormValue& v, LoadContext& x) { t.Min = x.Int(v); }))
        .Property("Max", Prop<TTrackBar>([](TTrackBar& t, const FormValue& v, LoadContext& x) { t.Max = x.Int(v); }))
        .Property("Position", Prop<TTrackBar>([](TTrackBar& t, const FormValue& v, LoadContext& x) { t.SetPosition(x.Int(v)); }));
    RegisterClassInfo("TProgressBar", "TWinControl", Factory<TProgressBar>())
        .Property("Min", Prop<TProgressBar>([](TProgressBar& p, const FormValue& v, LoadContext& x) { p.SetRange(x.Int(v), p.Max()); }))
        .Property("Max", Prop<TProgressBar>([](TProgressBar& p, const FormValue& v, LoadContext& x) { p.SetRange(p.Min(), x.Int(v)); }))
        .Property("Position", Prop<TProgressBar>([](TProgressBar& p, const FormValue& v, LoadContext& x) { p.SetPosition(x.Int(v)); }))
        .Property("Smooth", Prop<TProgressBar>([](TProgressBar& p, const FormValue& v, LoadContext& x) { p.Smooth = x.Bool(v); }));
    RegisterClassInfo("TStatusPanel", "TCollectionItem")
        .Property("Text", Prop<TStatusPanel>([](TStatusPanel& p, const FormValue& v, LoadContext& x) { p.SetText(x.String(v)); }))
        .Property("Width", Prop<TStatusPanel>([](TStatusPanel& p, const FormValue& v, LoadContext& x) { p.SetWidth(x.Int(v)); }))
        .Property("Alignment", Prop<TStatusPanel>([](TStatusPanel& p, const FormValue& v, LoadContext& x) {
            p.SetAlignment(static_cast<TAlignment>(x.Enum(v, {"taLeftJustify", "taRightJustify", "taCenter"})));
        }))
        .Property("Bevel", Prop<TStatusPanel>([](TStatusPanel& p, const FormValue& v, LoadContext& x) {
            p.SetBevel(static_cast<TStatusPanelBevel>(x.Enum(v, {"pbNone", "pbLowered", "pbRaised"})));
        }));
    RegisterClassInfo("TStatusBar", "TWinControl", Factory<TStatusBar>())
        .Property("Panels", Prop<TStatusBar>([](TStatusBar& b, const FormValue& v, LoadContext& x) { x.ReadCollection(v, *b.Panels()); }))
        .Property("SimplePanel", Prop<TStatusBar>([](TStatusBar& b, const FormValue& v, LoadContext& x) { b.SetSimplePanel(x.Bool(v)); }))
        .Property("SimpleText", Prop<TStatusBar>([](TStatusBar& b, const FormValue& v, LoadContext& x) { b.SetSimpleText(x.String(v)); }))
        .Property("SizeGrip", Prop<TStatusBar>([](TStatusBar& b, const FormValue& v, LoadContext& x) { b.SetSizeGrip(x.Bool(v)); }));
    RegisterClassInfo("TToolBar", "TWinControl", Factory<TToolBar>())
        .Property("Flat", Prop<TToolBar>([](TToolBar& t, const FormValue& v, LoadContext& x) { t.SetFlat(x.Bool(v)); }));
}

}  // namespace pellix
