#include "framework/Grids.h"

#include <memory>

namespace pellix {

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    TabStop = true;
    SetBoundsFields(0, 0, 320, 120);
}

void TCustomGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_HSCROLL | WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::SetFixedColor(TColor colour) {
    if (colour == fixedColor_) return;
    fixedColor_ = colour;
    Invalidate();
}

void TCustomGrid::PaintWindow(HDC dc) {
    struct BrushFree {
        void operator()(HBRUSH brush) const { DeleteObject(brush); }
    };
    const std::unique_ptr<std::remove_pointer_t<HBRUSH>, BrushFree> fixed(CreateSolidBrush(ColorToRGB(fixedColor_)));
    RECT client;
    GetClientRect(handle_, &client);
    const RECT row{client.left, client.top, client.right, client.top + DefaultRowHeight};
    const RECT column{client.left, client.top, client.left + DefaultColWidth, client.bottom};
    FillRect(dc, &row, fixed.get());
    FillRect(dc, &column, fixed.get());
}

}  // namespace pellix
