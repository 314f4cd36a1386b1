#include "skin/ImgUtil.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "framework/FormLoader.h"
#include "skin/WindowsVersion.h"

namespace pellix {

namespace {

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

RECT Shifted(RECT r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

// When the system refuses a bitmap or a context the picture is left out:
// painting goes on without it rather than failing a window procedure.
template <class Paint>
void Quietly(Paint&& paint) {
    try {
        paint();
    } catch (const EOutOfResources&) {
        // left out on purpose, see above
    }
}

// A fresh 32-bit bitmap of that size whose context copies in colour-on-colour
// mode. Throws EOutOfResources when the system refuses it.
std::unique_ptr<TBitmap> MakeBitmap(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf32bit);
    bitmap->SetSize(width, height);
    SetStretchBltMode(bitmap->Canvas()->Handle(), COLORONCOLOR);
    return bitmap;
}

// Where frame `frame` of a strip lies in its image.
struct FrameBox {
    int x, y, width, height;
};

FrameBox FrameOf(const TBitmap& image, int frame, int frameCount, bool vertical) {
    if (vertical) {
        const int h = image.Height() / frameCount;
        return {0, (frame - 1) * h, image.Width(), h};
    }
    const int w = image.Width() / frameCount;
    return {(frame - 1) * w, 0, w, image.Height()};
}

struct Margins {
    int left, top, right, bottom;
};

// A pair of margins wider than the target is dropped as a whole; equality keeps it.
Margins FittedMargins(const RECT& margins, int width, int height) {
    Margins m{margins.left, margins.top, margins.right, margins.bottom};
    if (int64_t{m.left} + m.right > width) m.left = m.right = 0;
    if (int64_t{m.top} + m.bottom > height) m.top = m.bottom = 0;
    return m;
}

// One part of a nine-part picture: where it goes, where it comes from in the
// frame, and whether it is drawn at all.
struct Part {
    RECT dest;
    RECT source;
    bool drawn;
};

constexpr size_t kCentre = 5;

// The nine parts in the order they are painted: the centre comes before the
// bottom-right corner, right and bottom edges, which cover any tiles that run
// past it.
std::array<Part, 9> NineParts(int w, int h, const FrameBox& f, const Margins& m) {
    const int l = m.left, t = m.top, r = m.right, b = m.bottom, fw = f.width, fh = f.height;
    std::array<Part, 9> parts{{
        {{0, 0, l, t}, {0, 0, l, t}, l > 0 && t > 0},                                  // top-left
        {{0, h - b, l, h}, {0, fh - b, l, fh}, l > 0 && b > 0},                         // bottom-left
        {{w - r, 0, w, t}, {fw - r, 0, fw, t}, r > 0 && t > 0},                         // top-right
        {{0, t, l, h - b}, {0, t, l, fh - b}, l > 0},                                   // left
        {{l, 0, w - r, t}, {l, 0, fw - r, t}, t > 0},                                   // top
        {{l, t, w - r, h - b}, {l, t, fw - r, fh - b}, true},                           // centre
        {{w - r, h - b, w, h}, {fw - r, fh - b, fw, fh}, r > 0 && b > 0},               // bottom-right
        {{w - r, t, w, h - b}, {fw - r, t, fw, fh - b}, r > 0},                         // right
        {{l, h - b, w - r, h}, {l, fh - b, fw - r, fh}, b > 0},                         // bottom
    }};
    for (Part& p : parts) OffsetRect(&p.source, f.x, f.y);
    return parts;
}

// Restores a context's stretch mode on scope exit.
class StretchModeGuard {
public:
    StretchModeGuard(HDC dc, int mode) : dc_(dc), old_(SetStretchBltMode(dc, mode)) {}
    ~StretchModeGuard() {
        if (old_ != 0) SetStretchBltMode(dc_, old_);
    }
    StretchModeGuard(const StretchModeGuard&) = delete;
    StretchModeGuard& operator=(const StretchModeGuard&) = delete;

private:
    HDC dc_;
    int old_;
};

// A keyed or plain copy of a whole bitmap of rect's size to rect's top-left.
void PutPicture(HDC dc, const RECT& rect, TBitmap& picture, bool transparent) {
    if (transparent)
        DrawTransparentBitmap(dc, rect, picture, KeyColour);
    else
        BitBlt(dc, rect.left, rect.top, WidthOf(rect), HeightOf(rect), picture.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// Bits per pixel of the formats whose pixels the turns can address; 0 for
// one they cannot (masks of their own).
int BitsPerPixel(TPixelFormat format) {
    switch (format) {
        case TPixelFormat::pf1bit: return 1;
        case TPixelFormat::pf4bit: return 4;
        case TPixelFormat::pf8bit: return 8;
        case TPixelFormat::pf15bit:
        case TPixelFormat::pf16bit: return 16;
        case TPixelFormat::pf24bit: return 24;
        case TPixelFormat::pfDevice:
        case TPixelFormat::pf32bit: return 32;
        default: return 0;
    }
}

// A pixel's value as stored, at any of those depths; small depths hold the
// leftmost pixel in the high bits of a byte.
uint32_t PixelValue(const uint8_t* row, int x, int bits) {
    switch (bits) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4: return (row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 0xFu;
        default: {
            uint32_t value = 0;
            std::memcpy(&value, row + static_cast<size_t>(x) * (bits / 8), static_cast<size_t>(bits / 8));
            return value;
        }
    }
}

void SetPixelValue(uint8_t* row, int x, int bits, uint32_t value) {
    switch (bits) {
        case 1: {
            const auto bit = static_cast<uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<uint8_t>(value != 0 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
            break;
        }
        case 4: {
            const int shift = (x & 1) != 0 ? 0 : 4;
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0xF << shift)) | ((value & 0xFu) << shift));
            break;
        }
        default: std::memcpy(row + static_cast<size_t>(x) * (bits / 8), &value, static_cast<size_t>(bits / 8));
    }
}

// Turns bitmap a quarter: the W x H picture becomes H x W, the target pixel
// (tx, ty) taken from the source pixel that sourceOf gives for it. The
// format, colour table included, stays; a copy sharing the old pixels keeps
// them.
template <class SourceOf>
void Turn(TBitmap& bitmap, SourceOf sourceOf) {
    const int w = bitmap.Width(), h = bitmap.Height(), bits = BitsPerPixel(bitmap.PixelFormat());
    if (w <= 0 || h <= 0 || bits == 0) return;
    TBitmap source;
    source.Assign(&bitmap);
    const PixelRows from = RowsOf(std::as_const(source));
    bitmap.SetSize(h, w);
    const PixelRows to = RowsOf(bitmap);
    for (int ty = 0; ty < w; ++ty) {
        uint8_t* row = to.Row(ty);
        for (int tx = 0; tx < h; ++tx) {
            const POINT s = sourceOf(tx, ty, w, h);
            SetPixelValue(row, tx, bits, PixelValue(from.Row(s.y), s.x, bits));
        }
    }
}

// One block of run rectangles for ExtCreateRegion, with its bound.
class RunBlock {
public:
    static constexpr uint32_t kMaxRects = 2000;

    RunBlock() : buffer_(sizeof(RGNDATAHEADER) + kMaxRects * sizeof(RECT)) { Reset(); }

    bool Full() const { return Header().nCount == kMaxRects; }
    uint32_t Count() const { return Header().nCount; }

    void Add(const RECT& run) {
        RGNDATAHEADER& h = Header();
        std::memcpy(buffer_.data() + sizeof(RGNDATAHEADER) + h.nCount * sizeof(RECT), &run, sizeof(RECT));
        ++h.nCount;
        h.rcBound.left = std::min(h.rcBound.left, run.left);
        h.rcBound.top = std::min(h.rcBound.top, run.top);
        h.rcBound.right = std::max(h.rcBound.right, run.right);
        h.rcBound.bottom = std::max(h.rcBound.bottom, run.bottom);
    }

    // The block as a region (null when the system refuses it); the block is
    // empty afterwards.
    TRegionHandle Take() {
        const auto size = static_cast<DWORD>(sizeof(RGNDATAHEADER) + Count() * sizeof(RECT));
        TRegionHandle region(ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(buffer_.data())));
        Reset();
        return region;
    }

private:
    RGNDATAHEADER& Header() { return *reinterpret_cast<RGNDATAHEADER*>(buffer_.data()); }
    const RGNDATAHEADER& Header() const { return *reinterpret_cast<const RGNDATAHEADER*>(buffer_.data()); }

    void Reset() {
        RGNDATAHEADER& h = Header();
        h.dwSize = sizeof(RGNDATAHEADER);
        h.iType = RDH_RECTANGLES;
        h.nCount = 0;
        h.nRgnSize = 0;
        h.rcBound = {std::numeric_limits<LONG>::max(), std::numeric_limits<LONG>::max(), 0, 0};
    }

    std::vector<uint8_t> buffer_;
};

// Adds a block to the result; a block the system refused is left out and
// the later ones still count.
void Unite(TRegionHandle& result, TRegionHandle block) {
    if (!block) return;
    if (!result)
        result = std::move(block);
    else
        CombineRgn(result.get(), result.get(), block.get(), RGN_OR);
}

// The one scratch bitmap. Freed by FreeSharedScratchBitmap; one never freed
// is left to the end of the process, since no GDI work may run in a global
// destructor.
TBitmap* g_scratch = nullptr;

}  // namespace

int32_t IntMax(int32_t a, int32_t b) { return b >= a ? b : a; }

int32_t IntMin(int32_t a, int32_t b) { return a < b ? a : b; }

std::unique_ptr<TBitmap> DrawSkinImage(const RECT& rect, const TBitmap& image, const RECT& margins, int frame,
                                       int frameCount, bool tile, bool vertical) {
    const int w = WidthOf(rect), h = HeightOf(rect);
    if (w <= 0 || h <= 0 || frameCount < 1) return nullptr;
    std::unique_ptr<TBitmap> result;
    Quietly([&] {
        auto picture = MakeBitmap(w, h);
        TCanvas& canvas = *picture->Canvas();
        const auto parts = NineParts(w, h, FrameOf(image, frame, frameCount, vertical), FittedMargins(margins, w, h));
        for (size_t i = 0; i < parts.size(); ++i) {
            const Part& p = parts[i];
            if (!p.drawn) continue;
            if (i == kCentre && tile)
                TileImage(canvas, p.dest, image, p.source);
            else
                image.DrawPart(canvas.Handle(), p.dest, p.source);
        }
        result = std::move(picture);
    });
    return result;
}

void PaintSkinImage(HDC dc, const RECT& rect, const TBitmap& image, const RECT& margins, int frame, int frameCount,
                    bool transparent, bool tile, bool vertical) {
    if (Inverted(rect)) return;
    auto picture = DrawSkinImage(rect, image, margins, frame, frameCount, tile, vertical);
    if (!picture) return;
    Quietly([&] { PutPicture(dc, rect, *picture, transparent); });
}

void DrawSkinBorderPieces(HDC dc, const RECT& rect, const TBitmap& image, const RECT& margins, int frame,
                          int frameCount, bool /*tile*/, bool vertical) {
    const int w = WidthOf(rect), h = HeightOf(rect);
    if (w <= 0 || h <= 0 || frameCount < 1) return;
    StretchModeGuard mode(dc, COLORONCOLOR);
    const auto parts = NineParts(w, h, FrameOf(image, frame, frameCount, vertical), FittedMargins(margins, w, h));
    for (size_t i = 0; i < parts.size(); ++i) {
        const Part& p = parts[i];
        if (i != kCentre && p.drawn) image.DrawPart(dc, Shifted(p.dest, rect.left, rect.top), p.source);
    }
}

void DrawImageFrame(HDC dc, const RECT& rect, const TBitmap& image, bool transparent, int frameCount, int frame) {
    const int w = WidthOf(rect), h = HeightOf(rect);
    if (w <= 0 || h <= 0 || frameCount < 1) return;
    const int fw = image.Width() / frameCount;
    Quietly([&] {
        auto picture = MakeBitmap(w, h);
        image.DrawPart(picture->Canvas()->Handle(), {0, 0, w, h}, {fw * (frame - 1), 0, fw * frame, image.Height()});
        PutPicture(dc, rect, *picture, transparent);
    });
}

void DrawImageBand(TCanvas& canvas, const RECT& rect, const TBitmap& image, const RECT& margins, int frame,
                   int frameCount, bool transparent, bool vertical) {
    const int w = WidthOf(rect), h = HeightOf(rect);
    if (w <= 0 || h <= 0 || frameCount < 1) return;
    const FrameBox f = FrameOf(image, frame, frameCount, vertical);
    const int ml = margins.left, mr = margins.right;
    Quietly([&] {
        auto band = MakeBitmap(w, h);
        HDC dc = band->Canvas()->Handle();
        image.DrawPart(dc, {0, 0, ml, h}, {f.x, f.y, f.x + ml, f.y + f.height});
        // The middle keeps its own width and is only stretched in height.
        const int step = f.width - ml - mr;
        if (step > 0)
            for (int x = ml; x < w - mr; x += step)
                image.DrawPart(dc, {x, 0, x + step, h}, {f.x + ml, f.y, f.x + ml + step, f.y + f.height});
        image.DrawPart(dc, {w - mr, 0, w, h}, {f.x + f.width - mr, f.y, f.x + f.width, f.y + f.height});
        if (transparent) {
            band->SetTransparent(true);
            band->SetTransparentColor(KeyColour);
            canvas.Draw(rect.left, rect.top, *band);
        } else {
            BitBlt(canvas.Handle(), rect.left, rect.top, w, h, dc, 0, 0, SRCCOPY);
        }
    });
}

void TileImage(TCanvas& canvas, const RECT& destRect, const TBitmap& image, const RECT& sourceRect) {
    const int tw = WidthOf(sourceRect), th = HeightOf(sourceRect);
    const int64_t dw = WidthOf(destRect), dh = HeightOf(destRect);
    if (tw <= 0 || th <= 0 || dw <= 0 || dh <= 0) return;
    // Whole tiles: the last column and row run past the destination.
    const int64_t width = (dw + tw - 1) / tw * tw, height = (dh + th - 1) / th * th;
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max()) return;
    const int allW = static_cast<int>(width), allH = static_cast<int>(height);
    Quietly([&] {
        // One tile, then the covered span doubled: a few copies however
        // small the tile.
        auto tiles = MakeBitmap(allW, allH);
        HDC dc = tiles->Canvas()->Handle();
        image.DrawPart(dc, {0, 0, tw, th}, sourceRect);
        for (int x = tw; x < allW; x *= 2) BitBlt(dc, x, 0, std::min(x, allW - x), th, dc, 0, 0, SRCCOPY);
        for (int y = th; y < allH; y *= 2) BitBlt(dc, 0, y, allW, std::min(y, allH - y), dc, 0, 0, SRCCOPY);
        BitBlt(canvas.Handle(), destRect.left, destRect.top, allW, allH, dc, 0, 0, SRCCOPY);
    });
}

void DrawTransparentBitmap(HDC dc, const RECT& rect, const TBitmap& bitmap, TColor transparentColour) {
    if (Inverted(rect)) return;
    const int w = std::min(WidthOf(rect), bitmap.Width()), h = std::min(HeightOf(rect), bitmap.Height());
    if (w <= 0 || h <= 0) return;
    Quietly([&] {
        TBitmap mask;
        mask.Assign(&bitmap);
        mask.Mask(transparentColour);
        // A copy of its own: the caller's bitmap may be selected in its canvas.
        TBitmap source;
        source.Assign(&bitmap);
        HDC from = source.Canvas()->Handle();
        if (!Windows95Family()) {
            // Mask white (the key colour) keeps the target, black copies.
            MaskBlt(dc, rect.left, rect.top, w, h, from, 0, 0, mask.Handle(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
            return;
        }
        const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
        const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        BitBlt(dc, rect.left, rect.top, w, h, from, 0, 0, SRCINVERT);
        BitBlt(dc, rect.left, rect.top, w, h, mask.Canvas()->Handle(), 0, 0, SRCAND);
        BitBlt(dc, rect.left, rect.top, w, h, from, 0, 0, SRCINVERT);
        SetBkColor(dc, oldBack);
        SetTextColor(dc, oldText);
    });
}

TRegionHandle BitmapToRegion(const TBitmap& bitmap, int offsetX, int offsetY, TColor keyColour, uint8_t toleranceRed,
                             uint8_t toleranceGreen, uint8_t toleranceBlue) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
    const COLORREF key = ColorToRGB(keyColour);
    const int r0 = GetRValue(key), g0 = GetGValue(key), b0 = GetBValue(key);
    const int r1 = IntMin(255, r0 + toleranceRed), g1 = IntMin(255, g0 + toleranceGreen),
              b1 = IntMin(255, b0 + toleranceBlue);
    auto isKey = [&](const uint8_t* p) {
        return p[2] >= r0 && p[2] <= r1 && p[1] >= g0 && p[1] <= g1 && p[0] >= b0 && p[0] <= b1;
    };

    TRegionHandle result;
    Quietly([&] {
        // Read as 32 bits (blue, green, red, unused) from a copy: the
        // caller's bitmap keeps its format.
        TBitmap pixels;
        pixels.Assign(&bitmap);
        pixels.SetPixelFormat(TPixelFormat::pf32bit);
        const PixelRows rows = RowsOf(std::as_const(pixels));
        RunBlock block;
        for (int y = 0; y < rows.Height; ++y) {
            const uint8_t* row = rows.Row(y);
            for (int x = 0; x < rows.Width; ++x) {
                const int x0 = x;
                while (x < rows.Width && !isKey(row + 4 * x)) ++x;
                if (x == x0) continue;
                block.Add({x0 + offsetX, y + offsetY, x + offsetX, y + offsetY + 1});
                if (block.Full()) Unite(result, block.Take());
            }
        }
        if (block.Count() > 0 || !result) Unite(result, block.Take());
    });
    if (!result) result.reset(CreateRectRgn(0, 0, 0, 0));
    return result;
}

void SetPropertyByName(TComponent* component, const std::string& propertyName, const std::string& valueText) {
    if (component == nullptr) return;
    SetPropertyValueName(*component, propertyName, valueText);
}

void FlipBitmap(TBitmap& bitmap) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
    // Whole rows by the row step, whatever the format; writing makes the
    // pixels this bitmap's own first.
    const PixelRows rows = RowsOf(bitmap);
    const auto bytes = static_cast<size_t>(rows.RowStep < 0 ? -rows.RowStep : rows.RowStep);
    for (int top = 0, bottom = rows.Height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(rows.Row(top), rows.Row(top) + bytes, rows.Row(bottom));
}

void RotateBitmap(TBitmap& bitmap) {
    Turn(bitmap, [](int tx, int ty, int w, int) { return POINT{w - 1 - ty, tx}; });
}

void RotateBitmapBack(TBitmap& bitmap) {
    Turn(bitmap, [](int tx, int ty, int, int h) { return POINT{ty, h - 1 - tx}; });
}

TBitmap* SharedScratchBitmap() { return g_scratch; }

void CreateSharedScratchBitmap() {
    if (g_scratch != nullptr) return;
    g_scratch = MakeBitmap(0, 0).release();  // owned until FreeSharedScratchBitmap
}

void FreeSharedScratchBitmap() {
    delete g_scratch;
    g_scratch = nullptr;
}

// ---------------------------------------------------------------- guards

SelectGuard::SelectGuard(HDC dc, HGDIOBJ object, bool owned)
    : dc_(dc), object_(object), old_(SelectObject(dc, object)), owned_(owned) {
    if (old_ == HGDI_ERROR) old_ = nullptr;
}

SelectGuard::~SelectGuard() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (owned_ && object_ != nullptr) DeleteObject(object_);
}

SaveDcGuard::SaveDcGuard(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}

SaveDcGuard::~SaveDcGuard() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
}

ClipGuard::ClipGuard(HDC dc) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
    if (saved_) hadRegion_ = GetClipRgn(dc, saved_.get()) == 1;
}

ClipGuard::ClipGuard(HDC dc, const RECT& rect) : ClipGuard(dc) {
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

ClipGuard::~ClipGuard() { SelectClipRgn(dc_, hadRegion_ ? saved_.get() : nullptr); }

OffscreenBuffer::OffscreenBuffer(HDC target, const RECT& area) : target_(target), area_(area) {
    const int w = WidthOf(area), h = HeightOf(area);
    if (w <= 0 || h <= 0) return;
    HDC dc = CreateCompatibleDC(target);
    if (dc == nullptr) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ == nullptr) {
        DeleteDC(dc);
        return;
    }
    dc_ = dc;
    old_ = SelectObject(dc_, bitmap_);
    SetStretchBltMode(dc_, COLORONCOLOR);
    SetWindowOrgEx(dc_, area.left, area.top, nullptr);
}

OffscreenBuffer::~OffscreenBuffer() {
    if (dc_ == nullptr) return;
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void OffscreenBuffer::Flush() {
    if (dc_ == nullptr) return;
    GdiFlush();
    BitBlt(target_, area_.left, area_.top, WidthOf(area_), HeightOf(area_), dc_, area_.left, area_.top, SRCCOPY);
}

}  // namespace pellix
