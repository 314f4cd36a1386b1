#include "framework/ImgList.h"

#include <algorithm>

namespace pellix {

namespace {

struct ObjectFree {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using ObjectHandle = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, ObjectFree>;

struct DcFree {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

// Keeps object selected into dc for the scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) { Recreate(); }

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Recreate() {
    handle_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
    if (handle_ == nullptr) throw EOutOfResources("Cannot create image list");
}

void TCustomImageList::SetWidth(int width) {
    width = std::max(width, 1);
    if (width == width_) return;
    width_ = width;
    Recreate();
}

void TCustomImageList::SetHeight(int height) {
    height = std::max(height, 1);
    if (height == height_) return;
    height_ = height;
    Recreate();
}

int TCustomImageList::Count() const { return ImageList_GetImageCount(handle_.get()); }

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    // The list blackens the masked pixels of what it is given: a copy of our
    // own takes that.
    TBitmap copy;
    copy.Assign(&image);
    return ImageList_AddMasked(handle_.get(), copy.Handle(), ColorToRGB(maskColor));
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    HDC dc = canvas.Handle();
    if (enabled)
        ImageList_Draw(handle_.get(), index, dc, x, y, ILD_TRANSPARENT);
    else
        DrawGreyed(dc, x, y, index);
}

void TCustomImageList::DrawGreyed(HDC dc, int x, int y, int index) const {
    // The picture's mask: white where it is transparent, black where it shows.
    ObjectHandle mask(CreateBitmap(width_, height_, 1, 1, nullptr));
    std::unique_ptr<std::remove_pointer_t<HDC>, DcFree> maskDc(CreateCompatibleDC(nullptr));
    if (mask == nullptr || maskDc == nullptr) return;
    {
        Selected into(maskDc.get(), mask.get());
        PatBlt(maskDc.get(), 0, 0, width_, height_, WHITENESS);
        ImageList_Draw(handle_.get(), index, maskDc.get(), 0, 0, ILD_MASK);
    }
    // Where the mask is black the brush paints; elsewhere the target stays.
    const auto paint = [&](int left, int top, TColor colour) {
        ObjectHandle brush(CreateSolidBrush(ColorToRGB(colour)));
        Selected with(dc, brush.get());
        MaskBlt(dc, left, top, width_, height_, dc, left, top, static_cast<HBITMAP>(mask.get()), 0, 0,
                MAKEROP4(0x00AA0029, PATCOPY));
    };
    paint(x + 1, y + 1, clBtnHighlight);
    paint(x, y, clBtnShadow);
}

}  // namespace pellix
