#include "framework/StdCtrls.h"

#include <commctrl.h>

#include "framework/FormLoader.h"
#include "framework/Forms.h"

namespace pellix {

TCustomForm* GetParentForm(TControl* control) {
    while (control != nullptr && control->Parent() != nullptr) control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

// ------------------------------------------------------------------ TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetParentColor(true);
    SetBoundsFields(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout l) {
    layout_ = l;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetText(const std::string& text) {
    TGraphicControl::SetText(text);
    AdjustBounds();
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (WordWrap) flags |= DT_WORDBREAK;
    else flags |= DT_SINGLELINE;
    if (!ShowAccelChar) flags |= DT_NOPREFIX;
    if (alignment_ == TAlignment::taCenter) flags |= DT_CENTER;
    else if (alignment_ == TAlignment::taRightJustify) flags |= DT_RIGHT;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || Loading() || Align() == TAlign::alClient) return;
    RECT r{0, 0, WordWrap ? Width() : 0, 0};
    std::string text = text_.empty() ? std::string(" ") : text_;
    {
        MeasureDc dc(Font()->Handle());
        DrawTextA(dc.Get(), text.c_str(), -1, &r, DrawFlags() | DT_CALCRECT);
    }
    int left = Left();
    if (alignment_ == TAlignment::taRightJustify && !WordWrap) left = Left() + Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    if (!Transparent) {
        HBRUSH b = CreateSolidBrush(ColorToRGB(Color()));
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    if (text_.empty()) return;
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    UINT flags = DrawFlags();
    if (layout_ != TTextLayout::tlTop) {
        RECT calc = r;
        DrawTextA(dc, text_.c_str(), -1, &calc, flags | DT_CALCRECT);
        int h = calc.bottom - calc.top;
        r.top = layout_ == TTextLayout::tlCenter ? (Height() - h) / 2 : Height() - h;
        r.bottom = r.top + h;
    }
    if (Enabled()) {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        DrawTextA(dc, text_.c_str(), -1, &r, flags);
    } else {
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextA(dc, text_.c_str(), -1, &r, flags);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
        DrawTextA(dc, text_.c_str(), -1, &r, flags);
    }
    SelectObject(dc, old);
}

// ---------------------------------------------------------- TButtonControl

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetParentColor(true);
}

void TButtonControl::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
        Clicked();
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

// ----------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBoundsFields(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.SysClassName = "BUTTON";
    params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    if (ModalResult != 0) {
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
    }
    TButtonControl::Click();
}

// --------------------------------------------------------- TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBoundsFields(0, 0, 97, 17); }

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.SysClassName = "BUTTON";
    params.Style |= BS_CHECKBOX;  // the state is ours: set on every click
    if (Alignment == TAlignment::taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCustomCheckBox::Checked() const { return checked_; }

void TCustomCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (handle_ != nullptr) SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Loading()) Click();
}

void TCustomCheckBox::Clicked() { SetChecked(!checked_); }

// ------------------------------------------------------------ TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBoundsFields(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.SysClassName = "BUTTON";
    params.Style |= BS_RADIOBUTTON;  // the state is ours, as the check box's
    if (Alignment == TAlignment::taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (handle_ != nullptr) SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i));
            if (other != nullptr && other != this) other->SetChecked(false);
        }
    }
    if (!Loading()) Click();
}

void TRadioButton::Clicked() { SetChecked(true); }

// ------------------------------------------------------------- TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetBoundsFields(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "EDIT";
    params.Style |= ES_AUTOHSCROLL;
    if (readOnly_) params.Style |= ES_READONLY;
    if (BorderStyle == TBorderStyle::bsSingle) {
        if (Ctl3D) params.ExStyle |= WS_EX_CLIENTEDGE;
        else params.Style |= WS_BORDER;
    }
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (handle_ != nullptr) SendMessageA(handle_, EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetMaxLength(int value) {
    maxLength_ = value;
    if (handle_ != nullptr) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == EN_CHANGE) {
        Change();
        return;
    }
    if (message.Msg == CN_BASE + WM_CTLCOLOREDIT || message.Msg == CN_CTLCOLORSTATIC) {
        // Read-only edits keep the window colour, as users expect of a field.
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        message.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return;
    }
    TWinControl::Dispatch(message);
}

// ------------------------------------------------------------- TCustomMemo

// The memo's lines live here; a shown window gets them as its text.
class TCustomMemo::Lines_ : public TStringList {
public:
    explicit Lines_(TCustomMemo& memo) : memo_(memo) {}
    void Insert(int index, const std::string& s) override {
        Pull();
        TStringList::Insert(index, s);
        memo_.ShowLines();
    }
    void Delete(int index) override {
        Pull();
        TStringList::Delete(index);
        memo_.ShowLines();
    }
    void Clear() override {
        TStringList::Clear();
        memo_.ShowLines();
    }
    int Count() const override {
        Pull();
        return TStringList::Count();
    }
    std::string Get(int index) const override {
        Pull();
        return TStringList::Get(index);
    }
    // A shown window holds what the user typed: it is read on every use.
    void Pull() const {
        if (memo_.handle_ == nullptr || !memo_.Visible() || memo_.syncing_) return;
        auto& self = const_cast<Lines_&>(*this);
        std::string text = memo_.TWinControl::GetText();
        self.TStringList::Clear();
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find("\r\n", at);
            if (end == std::string::npos) end = text.size();
            self.TStringList::Insert(self.TStringList::Count(), text.substr(at, end - at));
            at = end + 2;
        }
    }

private:
    TCustomMemo& memo_;
};

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<Lines_>(*this)) {
    SetBoundsFields(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

TStrings& TCustomMemo::Lines() const { return *lines_; }

void TCustomMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!WordWrap) params.Style |= ES_AUTOHSCROLL;
    if (ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth) params.Style |= WS_VSCROLL;
    if (ScrollBars == TScrollStyle::ssHorizontal || ScrollBars == TScrollStyle::ssBoth) params.Style |= WS_HSCROLL;
    params.Caption.clear();
}

void TCustomMemo::CreateWnd() {
    TCustomEdit::CreateWnd();
    ShowLines();
}

void TCustomMemo::ShowLines() {
    // Hidden buffers never pay for window updates.
    if (handle_ == nullptr || !Visible()) return;
    syncing_ = true;
    std::string text = lines_->Text();
    if (text.size() >= 2) text.resize(text.size() - 2);
    SetWindowTextA(handle_, text.c_str());
    syncing_ = false;
}

void TCustomMemo::VisibleChanged() {
    TCustomEdit::VisibleChanged();
    ShowLines();
}

void TCustomMemo::SetText(const std::string& text) { lines_->SetText(text); }

std::string TCustomMemo::GetText() const { return lines_->Text(); }

// ---------------------------------------------------------- TCustomListBox

// Items are kept here and mirrored into the window item by item.
class TCustomListBox::Items_ : public TStringList {
public:
    explicit Items_(TCustomListBox& box) : box_(box) {}
    void Insert(int index, const std::string& s) override {
        TStringList::Insert(index, s);
        if (box_.handle_ != nullptr)
            SendMessageA(box_.handle_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        if (box_.handle_ != nullptr) SendMessageA(box_.handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }
    void Clear() override {
        TStringList::Clear();
        if (box_.handle_ != nullptr) SendMessageA(box_.handle_, LB_RESETCONTENT, 0, 0);
    }

private:
    TCustomListBox& box_;
};

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<Items_>(*this)) {
    TabStop = true;
    SetBoundsFields(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

TStrings& TCustomListBox::Items() const { return *items_; }

void TCustomListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "LISTBOX";
    params.Style |= LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL;
    if (!IntegralHeight) params.Style |= LBS_NOINTEGRALHEIGHT;
    if (Sorted) params.Style |= LBS_SORT;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Strings(i).c_str()));
    SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

int TCustomListBox::ItemIndex() const {
    if (handle_ == nullptr) return itemIndex_;
    return static_cast<int>(SendMessageA(handle_, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int index) {
    itemIndex_ = index;
    if (handle_ != nullptr) SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        WORD code = HIWORD(message.WParam);
        if (code == LBN_SELCHANGE) Click();
        else if (code == LBN_DBLCLK && OnDblClick) OnDblClick(this);
        return;
    }
    TWinControl::Dispatch(message);
}

// --------------------------------------------------------- TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
    SetParentColor(true);
    SetBoundsFields(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "BUTTON";
    params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

RECT TCustomGroupBox::AlignArea() {
    RECT r = ClientRect();
    TEXTMETRICA tm;
    GetTextMetricsA(MeasureDc(Font()->Handle()).Get(), &tm);
    InflateRect(&r, -1, -1);
    r.top += tm.tmHeight;
    return r;
}

// --------------------------------------------------------- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    SetBoundsFields(0, 0, 145, 21);
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "COMBOBOX";
    static constexpr DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
    params.Style |= kStyles[static_cast<int>(Style)] | CBS_AUTOHSCROLL | WS_VSCROLL;
    if (Style != TComboBoxStyle::csSimple) params.Height = 200;  // the drop-down part
}

// --------------------------------------------------------------- TComboBox

// Items are kept here and mirrored into the window item by item.
class TComboBox::Items_ : public TStringList {
public:
    explicit Items_(TComboBox& box) : box_(box) {}
    void Insert(int index, const std::string& s) override {
        TStringList::Insert(index, s);
        if (box_.handle_ != nullptr)
            SendMessageA(box_.handle_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        if (box_.handle_ != nullptr) SendMessageA(box_.handle_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }
    void Clear() override {
        TStringList::Clear();
        if (box_.handle_ != nullptr) SendMessageA(box_.handle_, CB_RESETCONTENT, 0, 0);
    }

private:
    TComboBox& box_;
};

TComboBox::TComboBox(TComponent* owner) : TCustomComboBox(owner), items_(std::make_unique<Items_>(*this)) {}

TComboBox::~TComboBox() = default;

TStrings& TComboBox::Items() const { return *items_; }

void TComboBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Strings(i).c_str()));
    if (itemIndex_ >= 0) SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    // A combo box ignores the text it is made with; its edit takes it now.
    else if (Style != TComboBoxStyle::csDropDownList) SetWindowTextA(handle_, text_.c_str());
}

int TComboBox::ItemIndex() const {
    if (handle_ == nullptr) return itemIndex_;
    return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    itemIndex_ = index;
    if (handle_ != nullptr) SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// ------------------------------------------------------------ registration

namespace {

std::vector<std::string> AlignmentNames() { return {"taLeftJustify", "taRightJustify", "taCenter"}; }

}  // namespace

void RegisterStdCtrlsClasses() {
    RegisterClassInfo("TLabel", "TGraphicControl", Factory<TLabel>())
        .Property("Alignment", Prop<TLabel>([](TLabel& l, const FormValue& v, LoadContext& x) {
            l.SetAlignment(static_cast<TAlignment>(x.Enum(v, AlignmentNames())));
        }))
        .Property("Layout", Prop<TLabel>([](TLabel& l, const FormValue& v, LoadContext& x) {
            l.SetLayout(static_cast<TTextLayout>(x.Enum(v, {"tlTop", "tlCenter", "tlBottom"})));
        }))
        .Property("AutoSize", Prop<TLabel>([](TLabel& l, const FormValue& v, LoadContext& x) { l.SetAutoSize(x.Bool(v)); }))
        .Property("Transparent", Prop<TLabel>([](TLabel& l, const FormValue& v, LoadContext& x) { l.Transparent = x.Bool(v); }))
        .Property("WordWrap", Prop<TLabel>([](TLabel& l, const FormValue& v, LoadContext& x) { l.WordWrap = x.Bool(v); }))
        .Property("FocusControl", Prop<TLabel>([](TLabel& l, const FormValue& v, LoadContext& x) {
            x.Reference(v, [&l](TComponent* c) { l.FocusControl = dynamic_cast<TWinControl*>(c); });
        }));

    RegisterClassInfo("TButtonControl", "TWinControl");
    RegisterClassInfo("TButton", "TButtonControl", Factory<TButton>())
        .Property("Default", Prop<TButton>([](TButton& b, const FormValue& v, LoadContext& x) { b.Default = x.Bool(v); }))
        .Property("Cancel", Prop<TButton>([](TButton& b, const FormValue& v, LoadContext& x) { b.Cancel = x.Bool(v); }))
        .Property("ModalResult", Prop<TButton>([](TButton& b, const FormValue& v, LoadContext& x) {
            b.ModalResult = v.kind == FormValue::Kind::Integer ? x.Int(v) : x.Enum(v, {"mrNone", "mrOk", "mrCancel"});
        }));
    RegisterClassInfo("TCustomCheckBox", "TButtonControl")
        .Property("Checked", Prop<TCustomCheckBox>([](TCustomCheckBox& c, const FormValue& v, LoadContext& x) { c.SetChecked(x.Bool(v)); }))
        .Property("Alignment", Prop<TCustomCheckBox>([](TCustomCheckBox& c, const FormValue& v, LoadContext& x) {
            c.Alignment = static_cast<TAlignment>(x.Enum(v, AlignmentNames()));
        }));
    RegisterClassInfo("TCheckBox", "TCustomCheckBox", Factory<TCheckBox>());
    RegisterClassInfo("TRadioButton", "TButtonControl", Factory<TRadioButton>())
        .Property("Checked", Prop<TRadioButton>([](TRadioButton& r, const FormValue& v, LoadContext& x) { r.SetChecked(x.Bool(v)); }))
        .Property("Alignment", Prop<TRadioButton>([](TRadioButton& r, const FormValue& v, LoadContext& x) {
            r.Alignment = static_cast<TAlignment>(x.Enum(v, AlignmentNames()));
        }));
    RegisterClassInfo("TCustomEdit", "TWinControl")
        .Property("Text", Prop<TCustomEdit>([](TCustomEdit& e, const FormValue& v, LoadContext& x) { e.SetTextValue(x.String(v)); }))
        .Property("ReadOnly", Prop<TCustomEdit>([](TCustomEdit& e, const FormValue& v, LoadContext& x) { e.SetReadOnly(x.Bool(v)); }))
        .Property("MaxLength", Prop<TCustomEdit>([](TCustomEdit& e, const FormValue& v, LoadContext& x) { e.SetMaxLength(x.Int(v)); }))
        .Property("BorderStyle", Prop<TCustomEdit>([](TCustomEdit& e, const FormValue& v, LoadContext& x) {
            e.BorderStyle = static_cast<TBorderStyle>(x.Enum(v, {"bsNone", "bsSingle"}));
        }))
        .Property("Ctl3D", Prop<TCustomEdit>([](TCustomEdit& e, const FormValue& v, LoadContext& x) { e.Ctl3D = x.Bool(v); }))
        .Property("OnChange", EventProp(&TCustomEdit::OnChange));
    RegisterClassInfo("TEdit", "TCustomEdit", Factory<TEdit>());
    RegisterClassInfo("TCustomMemo", "TCustomEdit")
        .Property("WordWrap", Prop<TCustomMemo>([](TCustomMemo& m, const FormValue& v, LoadContext& x) { m.WordWrap = x.Bool(v); }))
        .Property("ScrollBars", Prop<TCustomMemo>([](TCustomMemo& m, const FormValue& v, LoadContext& x) {
            m.ScrollBars = static_cast<TScrollStyle>(x.Enum(v, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}));
        }))
        .Property("Lines.Strings", Prop<TCustomMemo>([](TCustomMemo& m, const FormValue& v, LoadContext& x) {
            for (const std::string& s : x.Strings(v)) m.Lines().Add(s);
        }));
    RegisterClassInfo("TMemo", "TCustomMemo", Factory<TMemo>());
    RegisterClassInfo("TCustomListBox", "TWinControl")
        .Property("IntegralHeight", Prop<TCustomListBox>([](TCustomListBox& l, const FormValue& v, LoadContext& x) { l.IntegralHeight = x.Bool(v); }))
        .Property("Sorted", Prop<TCustomListBox>([](TCustomListBox& l, const FormValue& v, LoadContext& x) { l.Sorted = x.Bool(v); }))
        .Property("Items.Strings", Prop<TCustomListBox>([](TCustomListBox& l, const FormValue& v, LoadContext& x) {
            for (const std::string& s : x.Strings(v)) l.Items().Add(s);
        }))
        .Property("OnDblClick", EventProp(&TCustomListBox::OnDblClick));
    RegisterClassInfo("TListBox", "TCustomListBox", Factory<TListBox>());
    RegisterClassInfo("TCustomGroupBox", "TWinControl");
    RegisterClassInfo("TGroupBox", "TCustomGroupBox", Factory<TGroupBox>());
    RegisterClassInfo("TCustomComboBox", "TWinControl")
        .Property("Style", Prop<TCustomComboBox>([](TCustomComboBox& c, const FormValue& v, LoadContext& x) {
            c.Style = static_cast<TComboBoxStyle>(x.Enum(v, {"csDropDown", "csSimple", "csDropDownList"}));
        }));
    RegisterClassInfo("TComboBox", "TCustomComboBox", Factory<TComboBox>())
        .Property("Text", Prop<TComboBox>([](TComboBox& c, const FormValue& v, LoadContext& x) { c.SetTextValue(x.String(v)); }))
        .Property("ItemIndex", Prop<TComboBox>([](TComboBox& c, const FormValue& v, LoadContext& x) { c.SetItemIndex(x.Int(v)); }))
        .Property("Items.Strings", Prop<TComboBox>([](TComboBox& c, const FormValue& v, LoadContext& x) {
            for (const std::string& item : x.Strings(v)) c.Items().Add(item);
        }));
}

}  // namespace pellix
