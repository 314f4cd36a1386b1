#include "framework/Tabs.h"

#include <commctrl.h>

#include <algorithm>

namespace pellix {

namespace {

// Left and right of the text inside a tab.
constexpr int kTabPadding = 9;

}  // namespace

// --------------------------------------------------------------- TScroller

TScroller::TScroller(TTabSet* tabSet) : TWinControl(tabSet), tabSet_(tabSet) {
    SetVisible(false);
    SetBoundsFields(0, 0, 17, 15);
}

void TScroller::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = UPDOWN_CLASSA;
    params.Style |= UDS_HORZ;
}

void TScroller::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(handle_, UDM_SETRANGE32, 0, std::max(count_ - 1, 0));
    SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

void TScroller::SetRange(int count) {
    count_ = count;
    if (HandleAllocated()) SendMessageA(handle_, UDM_SETRANGE32, 0, std::max(count_ - 1, 0));
}

void TScroller::SetPosition(int position) {
    position_ = position;
    if (HandleAllocated()) SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

void TScroller::Dispatch(TMessage& message) {
    if (message.Msg == CN_HSCROLL) {
        if (LOWORD(message.WParam) == SB_THUMBPOSITION) tabSet_->SetFirstIndex(static_cast<short>(HIWORD(message.WParam)));
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

// ----------------------------------------------------------------- TTabSet

class TTabSet::Tabs_ : public TStringList {
public:
    explicit Tabs_(TTabSet& tabSet) : tabSet_(tabSet) {}
    void Insert(int index, const std::string& s) override {
        TStringList::Insert(index, s);
        tabSet_.TabsChanged();
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        tabSet_.TabsChanged();
    }
    void Clear() override {
        TStringList::Clear();
        tabSet_.TabsChanged();
    }

private:
    TTabSet& tabSet_;
};

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), scroller_(new TScroller(this)) {
    tabs_ = std::make_unique<Tabs_>(*this);
    scroller_->SetParent(this);
    SetColor(clBtnFace);
    SetBoundsFields(0, 0, 185, 21);
}

TTabSet::~TTabSet() = default;

TStrings& TTabSet::Tabs() const { return *tabs_; }

void TTabSet::SetTabIndex(int index) {
    if (index < -1 || index >= tabs_->Count()) index = -1;
    if (index == tabIndex_) return;
    tabIndex_ = index;
    Invalidate();
}

void TTabSet::SetFirstIndex(int index) {
    index = std::clamp(index, 0, std::max(tabs_->Count() - 1, 0));
    if (index == firstIndex_) return;
    firstIndex_ = index;
    scroller_->SetPosition(index);
    UpdateScroller();
    Invalidate();
}

void TTabSet::TabsChanged() {
    if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
    if (firstIndex_ >= tabs_->Count()) firstIndex_ = std::max(tabs_->Count() - 1, 0);
    scroller_->SetRange(tabs_->Count());
    UpdateScroller();
    Invalidate();
}

int TTabSet::TabWidth(const std::string& text) const {
    MeasureDc measure(Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32A(measure.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx + kTabPadding;
}

bool TTabSet::AllTabsFit() {
    int x = StartMargin;
    for (int i = 0; i < tabs_->Count(); ++i) x += TabWidth(tabs_->Get(i));
    return x <= ClientWidth() - EndMargin;
}

void TTabSet::UpdateScroller() {
    if (!HandleAllocated()) return;
    const bool show = firstIndex_ > 0 || !AllTabsFit();
    const RECT client = ClientRect();
    const int width = EndMargin + ScrollerRoom;
    scroller_->SetBounds(client.right - width, 2, width, std::max(static_cast<int>(client.bottom) - 4, 1));
    scroller_->SetVisible(show);
}

void TTabSet::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TTabSet::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScroller();
}

void TTabSet::Dispatch(TMessage& message) {
    TCustomControl::Dispatch(message);
    if (message.Msg == WM_SIZE) UpdateScroller();
}

void TTabSet::PaintWindow(HDC dc) {
    const RECT client = ClientRect();
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    HPEN shadow = CreatePen(PS_SOLID, 1, ColorToRGB(clBtnShadow));
    HGDIOBJ oldPen = SelectObject(dc, shadow);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, client.right, 0);
    int x = StartMargin;
    const int limit = client.right - EndMargin - (scroller_->Visible() ? ScrollerRoom : 0);
    for (int i = firstIndex_; i < tabs_->Count(); ++i) {
        const std::string& text = tabs_->Get(i);
        const int width = TabWidth(text);
        if (x + width > limit) continue;  // a shorter one further on may still fit
        RECT tab{x, 0, x + width, client.bottom - 2};
        if (i == tabIndex_) FillRect(dc, &tab, GetSysColorBrush(COLOR_WINDOW));
        const POINT outline[] = {{tab.left, tab.top}, {tab.left, tab.bottom - 1}, {tab.right - 1, tab.bottom - 1},
                                 {tab.right - 1, tab.top - 1}};
        Polyline(dc, outline, 4);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        x += width;
    }
    SelectObject(dc, oldPen);
    DeleteObject(shadow);
    SelectObject(dc, oldFont);
}

}  // namespace pellix
