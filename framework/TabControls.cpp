#include "framework/TabControls.h"

#include <commctrl.h>

#include <algorithm>

namespace pellix {

// ------------------------------------------------------- TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetColor(clBtnFace);
    SetBoundsFields(0, 0, 289, 193);
    TabStop = true;
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = WC_TABCONTROLA;
    params.Style |= WS_CLIPCHILDREN;
    switch (tabPosition_) {
    case TTabPosition::tpTop: break;
    case TTabPosition::tpBottom: params.Style |= TCS_BOTTOM; break;
    case TTabPosition::tpLeft: params.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case TTabPosition::tpRight: params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
    }
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomTabControl::CreateWnd() {
    TWinControl::CreateWnd();
    for (int i = 0; i < TabCount(); ++i) InsertTabItem(i, TabCaption(i));
    SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
    AlignControls();
}

void TCustomTabControl::SetTabPosition(TTabPosition position) {
    if (position == tabPosition_) return;
    tabPosition_ = position;
    if (HandleAllocated()) {
        DestroyHandle();
        HandleNeeded();
    }
}

void TCustomTabControl::SetTabIndex(int index) {
    if (index < -1 || index >= TabCount()) index = -1;
    if (index == tabIndex_) return;
    tabIndex_ = index;
    if (HandleAllocated()) SendMessageA(handle_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    Change();
}

RECT TCustomTabControl::DisplayRect() {
    RECT r = ClientRect();
    if (HandleAllocated()) SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomTabControl::InsertTabItem(int index, const std::string& caption) {
    if (!HandleAllocated()) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(handle_, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    AlignControls();  // the tabs may take another row
}

void TCustomTabControl::DeleteTabItem(int index) {
    if (!HandleAllocated()) return;
    SendMessageA(handle_, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    AlignControls();
}

void TCustomTabControl::SetTabItemCaption(int index, const std::string& caption) {
    if (!HandleAllocated()) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(handle_, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TCustomTabControl::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
            tabIndex_ = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
            Change();
        }
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

// ------------------------------------------------------------- TTabControl

class TTabControl::Tabs_ : public TStringList {
public:
    explicit Tabs_(TTabControl& control) : control_(control) {}
    void Insert(int index, const std::string& s) override {
        TStringList::Insert(index, s);
        control_.InsertTabItem(index, s);
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        control_.DeleteTabItem(index);
        if (control_.TabIndex() >= Count()) control_.SetTabIndex(Count() - 1);
    }
    void Clear() override {
        while (Count() > 0) Delete(Count() - 1);
    }

private:
    TTabControl& control_;
};

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner), tabs_(std::make_unique<Tabs_>(*this)) {}

TTabControl::~TTabControl() = default;

TStrings& TTabControl::Tabs() const { return *tabs_; }

int TTabControl::TabCount() const { return tabs_->Count(); }

std::string TTabControl::TabCaption(int index) const { return tabs_->Get(index); }

// --------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetColor(clBtnFace);
    SetAlign(TAlign::alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* pageControl) {
    if (pageControl == pageControl_) return;
    if (pageControl_ != nullptr) pageControl_->RemovePage(this);
    pageControl_ = pageControl;
    SetParent(pageControl);
    if (pageControl_ != nullptr) pageControl_->InsertPage(this);
}

void TTabSheet::SetText(const std::string& text) {
    TWinControl::SetText(text);
    if (pageControl_ != nullptr) pageControl_->PageCaptionChanged(this);
}

// ------------------------------------------------------------ TPageControl

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    for (TTabSheet* page : std::vector<TTabSheet*>(pages_)) page->SetPageControl(nullptr);
}

std::string TPageControl::TabCaption(int index) const { return pages_.at(static_cast<size_t>(index))->Caption(); }

TTabSheet* TPageControl::ActivePage() const {
    const int index = TabIndex();
    return index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    SetTabIndex(found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin()));
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    InsertTabItem(PageCount() - 1, page->Caption());
    if (TabIndex() < 0) SetTabIndex(0);
    ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end()) return;
    const int index = static_cast<int>(found - pages_.begin());
    const bool wasActive = index == TabIndex();
    pages_.erase(found);
    DeleteTabItem(index);
    if (wasActive || TabIndex() >= PageCount()) SetTabIndex(std::min(index, PageCount() - 1));
    ShowActivePage();
}

void TPageControl::PageCaptionChanged(TTabSheet* page) {
    const auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found != pages_.end()) SetTabItemCaption(static_cast<int>(found - pages_.begin()), page->Caption());
}

void TPageControl::Change() { ShowActivePage(); }

void TPageControl::ShowActivePage() {
    TTabSheet* active = ActivePage();
    for (TTabSheet* page : pages_) page->SetVisible(page == active);
    AlignControls();  // a page laid out only once it shows
}

}  // namespace pellix
