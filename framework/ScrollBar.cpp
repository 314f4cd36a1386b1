#include "framework/ScrollBar.h"

#include <algorithm>

namespace pellix {

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetBoundsFields(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    TabStop = true;
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    if (HandleAllocated()) {
        DestroyHandle();
        HandleNeeded();
    }
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SysClassName = "SCROLLBAR";
    params.Style |= kind_ == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateBar();
}

int TScrollBar::LastPosition() const { return pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_; }

void TScrollBar::SetParams(int position, int min, int max) {
    max = std::max(min, max);
    min_ = min;
    max_ = max;
    position_ = std::clamp(position, min_, LastPosition());
    UpdateBar();
}

void TScrollBar::SetPageSize(int pageSize) {
    pageSize_ = std::max(0, pageSize);
    SetParams(position_, min_, max_);
}

void TScrollBar::UpdateBar() {
    if (!HandleAllocated()) return;
    SCROLLINFO info{sizeof(info), SIF_ALL | SIF_DISABLENOSCROLL, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
    SetScrollInfo(handle_, SB_CTL, &info, TRUE);
}

int TScrollBar::PositionAfter(WORD code) const {
    switch (code) {
    case SB_LINEUP: return position_ - SmallChange;
    case SB_LINEDOWN: return position_ + SmallChange;
    case SB_PAGEUP: return position_ - LargeChange;
    case SB_PAGEDOWN: return position_ + LargeChange;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit position: the message carries only 16 bits of it.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        return GetScrollInfo(handle_, SB_CTL, &info) ? info.nTrackPos : position_;
    }
    case SB_TOP: return min_;
    case SB_BOTTOM: return max_;
    default: return position_;
    }
}

void TScrollBar::Dispatch(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        const int position = PositionAfter(LOWORD(message.WParam));
        if (position != position_) SetPosition(position);
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

}  // namespace pellix
