// The skin engine's painting routines: element images drawn as nine parts,
// frames of a strip, bands and tiles; keyed copies and keyed bitmaps turned
// into regions; flips and quarter turns of bitmaps; the small GDI guards every
// skin painter uses; and the one scratch bitmap the painters share.
//
// Nothing here raises on degenerate input (empty or inverted rectangles, a
// frame count below 1, empty images): the routines draw nothing instead, so
// they are safe to call from window procedures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "skin/SkinRecords.h"

namespace pellix {

// The transparent colour of every skin image: magenta.
constexpr TColor KeyColour = 0xFF00FF;

// A region its holder deletes.
using TRegionHandle = std::unique_ptr<std::remove_pointer_t<HRGN>, TGdiObjectFree>;

int32_t IntMax(int32_t a, int32_t b);
int32_t IntMin(int32_t a, int32_t b);

// Frame `frame` (from 1) of an image of `frameCount` frames, side by side or
// stacked when vertical, drawn as nine parts into a new bitmap of rect's size
// (only its width and height count). Margins hold the widths of the fixed
// parts (left, top, right, bottom); a pair that does not fit is dropped. The
// centre is stretched, or repeated unscaled when tile. Null when there is
// nothing to draw (a side of rect <= 0, frameCount < 1).
std::unique_ptr<TBitmap> DrawSkinImage(const RECT& rect, const TBitmap& image, const RECT& margins, int frame,
                                       int frameCount, bool tile, bool vertical);
// DrawSkinImage put on dc at rect, keyed with KeyColour when transparent.
void PaintSkinImage(HDC dc, const RECT& rect, const TBitmap& image, const RECT& margins, int frame, int frameCount,
                    bool transparent, bool tile, bool vertical);
// The eight outer parts of DrawSkinImage straight onto dc at rect; the inside
// stays as it was. tile is not used.
void DrawSkinBorderPieces(HDC dc, const RECT& rect, const TBitmap& image, const RECT& margins, int frame,
                          int frameCount, bool tile, bool vertical);
// Frame `frame` of a horizontal strip stretched over rect.
void DrawImageFrame(HDC dc, const RECT& rect, const TBitmap& image, bool transparent, int frameCount, int frame);
// A frame drawn as left end, middle repeated at its own width, right end, all
// stretched to rect's height; only margins.left and margins.right count.
void DrawImageBand(TCanvas& canvas, const RECT& rect, const TBitmap& image, const RECT& margins, int frame,
                   int frameCount, bool transparent, bool vertical);
// The sourceRect part of image repeated unscaled from destRect's top-left;
// the last column and row run past destRect's right and bottom.
void TileImage(TCanvas& canvas, const RECT& destRect, const TBitmap& image, const RECT& sourceRect);
// bitmap copied unscaled to rect's top-left, at most rect's size, leaving the
// target as it was wherever the bitmap has transparentColour.
void DrawTransparentBitmap(HDC dc, const RECT& rect, const TBitmap& bitmap, TColor transparentColour);
// Every pixel of bitmap whose colour lies outside [key, key + tolerance] on
// some channel, as one-pixel-high runs shifted by (offsetX, offsetY). Always a
// region (empty for an empty bitmap), unless the system cannot make one.
TRegionHandle BitmapToRegion(const TBitmap& bitmap, int offsetX, int offsetY, TColor keyColour, uint8_t toleranceRed,
                             uint8_t toleranceGreen, uint8_t toleranceBlue);
// Sets an enumeration or Boolean published property by the name of its value
// ("True"); any other property, a missing one or an unknown value is ignored.
void SetPropertyByName(TComponent* component, const std::string& propertyName, const std::string& valueText);

// Upside down, in place.
void FlipBitmap(TBitmap& bitmap);
// A quarter turn anticlockwise: W x H becomes H x W, the top-left corner goes
// to the bottom-left.
void RotateBitmap(TBitmap& bitmap);
// A quarter turn clockwise: the top-left corner goes to the top-right.
void RotateBitmapBack(TBitmap& bitmap);

// The painters' shared off-screen bitmap (32 bits, stretch mode colour on
// colour); null while not created. Made and freed by explicit calls, never by
// a global destructor: GDI work must be over before the program ends.
TBitmap* SharedScratchBitmap();
void CreateSharedScratchBitmap();  // once; later calls keep the bitmap
void FreeSharedScratchBitmap();

// Selects a pen, brush, font or bitmap into dc and puts the old one back on
// scope exit; an owned object is deleted once it is no longer selected.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object, bool owned = false);
    ~SelectGuard();
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
    bool owned_;
};

// Saves the whole state of dc and restores it on scope exit.
class SaveDcGuard {
public:
    explicit SaveDcGuard(HDC dc);
    ~SaveDcGuard();
    SaveDcGuard(const SaveDcGuard&) = delete;
    SaveDcGuard& operator=(const SaveDcGuard&) = delete;

private:
    HDC dc_;
    int saved_;
};

// Keeps dc's clip region and puts it back on scope exit; the second form also
// narrows the clipping to rect (logical coordinates).
class ClipGuard {
public:
    explicit ClipGuard(HDC dc);
    ClipGuard(HDC dc, const RECT& rect);
    ~ClipGuard();
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;

private:
    HDC dc_;
    TRegionHandle saved_;
    bool hadRegion_ = false;
};

// Painting into a bitmap of area's size that reaches the target in one copy.
// Dc() takes the target's coordinates. When the bitmap cannot be made, Dc() is
// the target itself and Flush() does nothing: the picture still appears,
// only unbuffered.
class OffscreenBuffer {
public:
    OffscreenBuffer(HDC target, const RECT& area);
    ~OffscreenBuffer();
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

    HDC Dc() const { return dc_ != nullptr ? dc_ : target_; }
    bool Buffered() const { return dc_ != nullptr; }
    // Copies the area to the target.
    void Flush();

private:
    HDC target_;
    RECT area_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace pellix
