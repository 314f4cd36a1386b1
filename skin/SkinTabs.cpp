#include "skin/SkinTabs.h"

#include <algorithm>

#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"

namespace pellix {

namespace {

RECT MarginsOf(const TDataSkinObject& element) {
    return RECT{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

template <class Element>
const Element* Usable(const std::unique_ptr<Element>& element) {
    return element && !element->Image.Empty() ? element.get() : nullptr;
}

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// A 32-bit work bitmap of that size; null when a side is 0 or less.
std::unique_ptr<TBitmap> WorkBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf32bit);
    bitmap->SetSize(width, height);
    SetStretchBltMode(bitmap->Canvas()->Handle(), COLORONCOLOR);
    return bitmap;
}

}  // namespace

TIconTextAlign HeaderItemAlign(int format) {
    switch (format & 0xFF) {
    case HDF_RIGHT: return TIconTextAlign::Right;
    case HDF_CENTER: return TIconTextAlign::Centre;
    default: return TIconTextAlign::Left;
    }
}

// ------------------------------------------------------------ TSkinHeader

void TSkinHeader::AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas) {
    TSkinControl::AttachHandle(handle, skinData, canvas);
    if (TSkinControlHost* host = Host(); host != nullptr && Handle != nullptr) host->ControlSkins.push_back(this);
}

bool TSkinHeader::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND && SkinData != nullptr && Usable(SkinData->Headerbar) != nullptr) {
        message.Result = 1;
        return false;
    }
    return true;
}

void TSkinHeader::DrawControl(HDC dc, const RECT& rect) {
    const TDataSkinObject* bar = SkinData != nullptr ? Usable(SkinData->Headerbar) : nullptr;
    if (bar == nullptr) return;
    auto work = WorkBitmap(rect.right - rect.left, rect.bottom - rect.top);
    if (!work) return;
    TCanvas& canvas = *work->Canvas();
    AssignWindowFont(*canvas.Font(), Handle);
    SetBkMode(canvas.Handle(), TRANSPARENT);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, HDM_GETIMAGELIST, 0, 0));
    int right = 0;
    const int count = static_cast<int>(SendMessageA(Handle, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageA(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
        if (Inverted(item)) continue;
        DrawItem(canvas, images, i, item);
        right = std::max(right, static_cast<int>(item.right));
    }
    if (right < rect.right)
        PaintSkinImage(canvas.Handle(), RECT{right, rect.top, rect.right, rect.bottom}, bar->Image, MarginsOf(*bar), 1,
                       bar->FrameCount, false, bar->Tile != 0, false);
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(TCanvas& canvas, HIMAGELIST images, int index, const RECT& rect) {
    const TDataSkinObject& bar = *SkinData->Headerbar;
    char text[201] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(sizeof(text));
    SendMessageA(Handle, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    // No pressed or hot look: frame 1 always.
    PaintSkinImage(canvas.Handle(), rect, bar.Image, MarginsOf(bar), 1, bar.FrameCount, false, bar.Tile != 0, false);
    text[sizeof(text) - 1] = '\0';
    if (text[0] == '\0') return;  // not even the icon
    const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0 ? item.iImage : -1;
    DrawIconText(*this, canvas, rect, HeaderItemAlign(item.fmt), text, image, images);
}

}  // namespace pellix
