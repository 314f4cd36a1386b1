#include "skin/ImgUtil.h"

namespace pellix {

int32_t IntMax(int32_t a, int32_t b) { return b >= a ? b : a; }

int32_t IntMin(int32_t a, int32_t b) { return a < b ? a : b; }

std::unique_ptr<TBitmap> DrawSkinImage(const RECT&, const TBitmap&, const RECT&, int, int, bool, bool) {
    return nullptr;
}

void PaintSkinImage(HDC, const RECT&, const TBitmap&, const RECT&, int, int, bool, bool, bool) {}

void DrawSkinBorderPieces(HDC, const RECT&, const TBitmap&, const RECT&, int, int, bool, bool) {}

void DrawImageFrame(HDC, const RECT&, const TBitmap&, bool, int, int) {}

void DrawImageBand(TCanvas&, const RECT&, const TBitmap&, const RECT&, int, int, bool, bool) {}

void TileImage(TCanvas&, const RECT&, const TBitmap&, const RECT&) {}

void DrawTransparentBitmap(HDC, const RECT&, const TBitmap&, TColor) {}

TRegionHandle BitmapToRegion(const TBitmap&, int, int, TColor, uint8_t, uint8_t, uint8_t) {
    return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
}

void SetPropertyByName(TComponent*, const std::string&, const std::string&) {}

void FlipBitmap(TBitmap&) {}

void RotateBitmap(TBitmap&) {}

void RotateBitmapBack(TBitmap&) {}

TBitmap* SharedScratchBitmap() { return nullptr; }

void CreateSharedScratchBitmap() {}

void FreeSharedScratchBitmap() {}

SelectGuard::SelectGuard(HDC dc, HGDIOBJ object, bool owned) : dc_(dc), object_(object), old_(nullptr), owned_(owned) {}

SelectGuard::~SelectGuard() {}

SaveDcGuard::SaveDcGuard(HDC dc) : dc_(dc), saved_(0) {}

SaveDcGuard::~SaveDcGuard() {}

ClipGuard::ClipGuard(HDC dc) : dc_(dc) {}

ClipGuard::ClipGuard(HDC dc, const RECT&) : dc_(dc) {}

ClipGuard::~ClipGuard() {}

OffscreenBuffer::OffscreenBuffer(HDC target, const RECT& area) : target_(target), area_(area) {}

OffscreenBuffer::~OffscreenBuffer() {}

void OffscreenBuffer::Flush() {}

}  // namespace pellix
