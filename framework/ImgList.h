// Image lists: pictures of one size kept in the common controls' own list
// and drawn by index, as they are or greyed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

#include "framework/Classes.h"
#include "framework/Graphics.h"

namespace pellix {

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    std::string ClassName() const override { return "TCustomImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size empties the list.
    void SetWidth(int width);
    void SetHeight(int height);
    int Count() const;

    // Adds image cut into pictures of the list's width; its pixels of
    // maskColor are transparent. The index of the first picture added, or -1
    // when the list refused it. image itself is left as it is.
    int AddMasked(const TBitmap& image, TColor maskColor);

    // Picture index with its top-left at x, y, its transparent pixels
    // leaving the canvas as it is. A greyed picture is its shape alone,
    // sunk into the surface: the button shadow colour over the button
    // highlight colour one pixel right and down.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

    HIMAGELIST Handle() const { return handle_.get(); }

private:
    struct ListFree {
        void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
    };
    void Recreate();
    void DrawGreyed(HDC dc, int x, int y, int index) const;

    int width_ = 16, height_ = 16;
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ListFree> handle_;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
    std::string ClassName() const override { return "TImageList"; }
};

}  // namespace pellix
