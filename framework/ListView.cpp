#include "framework/ListView.h"

#include <commctrl.h>

namespace pellix {

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
    SetBoundsFields(0, 0, 250, 150);
    TabStop = true;
}

void TCustomListView::CreateParams(TCreateParams& params) {
    EnsureCommonControls();
    TWinControl::CreateParams(params);
    params.SysClassName = WC_LISTVIEWA;
    params.Style |= LVS_REPORT | LVS_SHOWSELALWAYS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    for (size_t i = 0; i < columns_.size(); ++i) InsertColumn(static_cast<int>(i), columns_[i]);
    for (size_t i = 0; i < items_.size(); ++i) InsertItem(static_cast<int>(i), items_[i]);
}

void TCustomListView::AddColumn(const std::string& caption, int width, TAlignment alignment) {
    columns_.push_back({caption, width, alignment});
    if (HandleAllocated()) InsertColumn(static_cast<int>(columns_.size()) - 1, columns_.back());
}

void TCustomListView::AddItem(const std::string& caption) {
    items_.push_back(caption);
    if (HandleAllocated()) InsertItem(static_cast<int>(items_.size()) - 1, caption);
}

void TCustomListView::InsertColumn(int index, const Column& column) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.fmt = column.Alignment == TAlignment::taRightJustify ? LVCFMT_RIGHT
            : column.Alignment == TAlignment::taCenter     ? LVCFMT_CENTER
                                                           : LVCFMT_LEFT;
    c.cx = column.Width;
    c.pszText = const_cast<char*>(column.Caption.c_str());
    SendMessageA(handle_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
}

void TCustomListView::InsertItem(int index, const std::string& caption) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

HWND TCustomListView::Header() { return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0)); }

}  // namespace pellix
