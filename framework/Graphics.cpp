#include "framework/Graphics.h"

#include <algorithm>
#include <cstring>

#include "framework/GifImage.h"
#include "framework/Jpeg.h"
#include "framework/PngImage.h"

namespace pellix {

COLORREF ColorToRGB(TColor color) {
    if (color < 0) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

namespace {

struct ColorName {
    const char* name;
    TColor color;
};

const ColorName kColorNames[] = {
    {"clBlack", clBlack},         {"clMaroon", clMaroon},       {"clGreen", clGreen},
    {"clNavy", clNavy},           {"clGray", clGray},           {"clSilver", clSilver},
    {"clRed", clRed},             {"clLime", clLime},           {"clYellow", clYellow},
    {"clBlue", clBlue},           {"clFuchsia", clFuchsia},     {"clAqua", clAqua},
    {"clWhite", clWhite},         {"clNone", clNone},           {"clDefault", clDefault},
    {"clBtnFace", clBtnFace},     {"clBtnShadow", clBtnShadow}, {"clBtnHighlight", clBtnHighlight},
    {"clBtnText", clBtnText},     {"clWindow", clWindow},       {"clWindowText", clWindowText},
    {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clGrayText", clGrayText},   {"clMenu", clMenu},           {"clMenuText", clMenuText},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight},   {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},   {"clActiveCaption", clActiveCaption},
    {"clCaptionText", clCaptionText},     {"clScrollBar", clScrollBar},
    {"clInactiveCaptionText", clInactiveCaptionText},
};

}  // namespace

bool IdentToColor(const std::string& ident, TColor& color) {
    for (const ColorName& c : kColorNames) {
        if (SameText(ident, c.name)) {
            color = c.color;
            return true;
        }
    }
    return false;
}

int ScreenPixelsPerInch() {
    static const int dpi = [] {
        HDC dc = GetDC(nullptr);
        int v = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return dpi;
}

// ------------------------------------------------------------ graphics objects

void TGraphicsObject::Changed() {
    if (beforeRelease_) beforeRelease_();
    ReleaseHandle();
    if (OnChange) OnChange(this);
}

TFont::TFont() = default;

TFont::~TFont() { ReleaseHandle(); }

void TFont::Assign(const TPersistent* source) {
    if (const auto* f = dynamic_cast<const TFont*>(source)) {
        name_ = f->name_;
        height_ = f->height_;
        style_ = f->style_;
        color_ = f->color_;
        charset_ = f->charset_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TFont::SetName(const std::string& name) {
    std::string cut = name.substr(0, LF_FACESIZE - 1);
    if (cut.empty() || cut == name_) return;
    name_ = cut;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(int charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetLogFont(const LOGFONTA& font) {
    name_ = std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    height_ = font.lfHeight;
    style_ = static_cast<TFontStyles>((font.lfWeight >= FW_SEMIBOLD ? fsBold : 0) | (font.lfItalic ? fsItalic : 0) |
                                      (font.lfUnderline ? fsUnderline : 0) | (font.lfStrikeOut ? fsStrikeOut : 0));
    charset_ = font.lfCharSet;
    Changed();
}

HFONT TFont::Handle() {
    if (handle_ == nullptr) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
        lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfQuality = DEFAULT_QUALITY;
        std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
        handle_ = CreateFontIndirectA(&lf);
    }
    return handle_;
}

void TFont::ReleaseHandle() {
    if (handle_ != nullptr) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
}

TPen::~TPen() { ReleaseHandle(); }

void TPen::Assign(const TPersistent* source) {
    if (const auto* p = dynamic_cast<const TPen*>(source)) {
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == width_) return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

HPEN TPen::Handle() {
    if (handle_ == nullptr) {
        static constexpr UINT styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        LOGPEN lp{styles[static_cast<int>(style_)], {width_, 0}, ColorToRGB(color_)};
        handle_ = CreatePenIndirect(&lp);
    }
    return handle_;
}

void TPen::ReleaseHandle() {
    if (handle_ != nullptr) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
}

TBrush::~TBrush() { ReleaseHandle(); }

void TBrush::Assign(const TPersistent* source) {
    if (const auto* b = dynamic_cast<const TBrush*>(source)) {
        color_ = b->color_;
        style_ = b->style_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ == TBrushStyle::bsSolid) return;
    color_ = color;
    style_ = TBrushStyle::bsSolid;  // a colour makes a clear brush solid again
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (handle_ == nullptr) {
        LOGBRUSH lb{style_ == TBrushStyle::bsClear ? static_cast<UINT>(BS_HOLLOW) : static_cast<UINT>(BS_SOLID),
                    ColorToRGB(color_), 0};
        handle_ = CreateBrushIndirect(&lb);
    }
    return handle_;
}

void TBrush::ReleaseHandle() {
    if (handle_ != nullptr) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
}

// ------------------------------------------------------------------- canvas

TCanvas::TCanvas() {
    // A selected GDI object cannot be deleted: let go before it is remade.
    auto deselect = [this] { DeselectObjects(); };
    font_.beforeRelease_ = deselect;
    pen_.beforeRelease_ = deselect;
    brush_.beforeRelease_ = deselect;
}

TCanvas::TCanvas(HDC dc) : TCanvas() { SetHandle(dc); }

TCanvas::~TCanvas() { ReleaseDc(); }

void TCanvas::ReleaseDc() {
    DeselectObjects();
    if (dc_ != nullptr && ownsDc_) DeleteDC(dc_);
    dc_ = nullptr;
    ownsDc_ = false;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    ReleaseDc();
    dc_ = dc;
}

void TCanvas::AdoptHandle(HDC dc) {
    ReleaseDc();
    dc_ = dc;
    ownsDc_ = dc != nullptr;
}

HDC TCanvas::Handle() {
    HandleNeeded();
    if (dc_ == nullptr) throw EInvalidGraphicOperation("Canvas does not allow drawing");
    SelectObjects();
    return dc_;
}

HDC TCanvas::BareHandle() {
    HandleNeeded();
    if (dc_ == nullptr) throw EInvalidGraphicOperation("Canvas does not allow drawing");
    return dc_;
}

TCanvasBinding::TCanvasBinding(TCanvas& canvas, HDC dc) : canvas_(canvas), previous_(canvas.dc_) {
    canvas.HandleNeeded();  // a canvas that makes its own context shows it here
    if (canvas.ownsDc_) throw EInvalidGraphicOperation("Canvas owns its context");
    canvas.SetHandle(dc);
}

TCanvasBinding::~TCanvasBinding() { canvas_.SetHandle(previous_); }

void TCanvas::SelectObjects() {
    HGDIOBJ font = SelectObject(dc_, font_.Handle());
    HGDIOBJ pen = SelectObject(dc_, pen_.Handle());
    HGDIOBJ brush = SelectObject(dc_, brush_.Handle());
    if (oldFont_ == nullptr) {
        oldFont_ = font;
        oldPen_ = pen;
        oldBrush_ = brush;
    }
    SetTextColor(dc_, ColorToRGB(font_.Color()));
    SetBkColor(dc_, ColorToRGB(brush_.Color()));
    SetBkMode(dc_, brush_.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::DeselectObjects() {
    if (dc_ == nullptr || oldFont_ == nullptr) return;
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    oldFont_ = oldPen_ = oldBrush_ = nullptr;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging();
}

void TCanvas::Changed() {
    if (OnChange) OnChange();
}

void TCanvas::FillRect(const RECT& rect) {
    Changing();
    ::FillRect(Handle(), &rect, brush_.Handle());
    Changed();
}

void TCanvas::FrameRect(const RECT& rect) {
    Changing();
    ::FrameRect(Handle(), &rect, brush_.Handle());
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    Changing();
    ::Rectangle(Handle(), left, top, right, bottom);
    Changed();
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    Changing();
    ::LineTo(Handle(), x, y);
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Changing();
    ::TextOutA(Handle(), x, y, text.data(), static_cast<int>(text.size()));
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(Handle(), text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    StretchDraw({x, y, x + graphic.Width(), y + graphic.Height()}, graphic);
}

void TCanvas::StretchDraw(const RECT& rect, const TGraphic& graphic) {
    if (graphic.Empty()) return;
    Changing();
    graphic.Draw(*this, rect);
    Changed();
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect) {
    Changing();
    HDC from = source.Handle();
    StretchBlt(Handle(), dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, from, sourceRect.left,
               sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, SRCCOPY);
    Changed();
}

TColor TCanvas::Pixel(int x, int y) { return static_cast<TColor>(GetPixel(Handle(), x, y)); }

void TCanvas::SetPixel(int x, int y, TColor color) {
    Changing();
    ::SetPixel(Handle(), x, y, ColorToRGB(color));
    Changed();
}

// ------------------------------------------------------------------ graphic

void TGraphic::AssignTo(TPersistent* dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (const TBitmap* pixels = Pixels()) {
            bitmap->Assign(pixels);
            return;
        }
    }
    TPersistent::AssignTo(dest);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TMemoryStream stream;
    stream.LoadFromFile(fileName);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
    TMemoryStream stream;
    SaveToStream(stream);
    stream.SaveToFile(fileName);
}

namespace {

template <class T>
T Read(const std::vector<uint8_t>& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

}  // namespace

// ------------------------------------------------------------------- bitmap

// Pixels above this size are refused before the system is asked: a picture
// that large cannot be worked on anyway.
constexpr uint64_t kMaxDibBytes = uint64_t{1} << 30;

struct DibImage {
    HBITMAP handle = nullptr;
    uint8_t* bits = nullptr;
    int width = 0, height = 0;
    bool bottomUp = true;
    size_t stride = 0;
    std::vector<uint8_t> info;  // BITMAPINFOHEADER, masks, colour table

    DibImage() = default;
    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;
    ~DibImage() {
        if (handle != nullptr) DeleteObject(handle);
    }

    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
    const BITMAPINFOHEADER& Header() const { return Info()->bmiHeader; }
    size_t ImageBytes() const { return stride * static_cast<size_t>(height); }
    uint8_t* Row(int y) const { return bits + stride * static_cast<size_t>(bottomUp ? height - 1 - y : y); }
};

namespace {

size_t StrideOf(int width, int bitCount) { return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4; }

size_t ColorTableEntries(const BITMAPINFOHEADER& h) {
    if (h.biBitCount > 8) return 0;
    size_t full = size_t{1} << h.biBitCount;
    return h.biClrUsed == 0 ? full : std::min<size_t>(h.biClrUsed, full);
}

// A DIB section made from header, masks and colour table in info.
std::shared_ptr<DibImage> CreateDib(std::vector<uint8_t> info) {
    auto& h = *reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    auto image = std::make_shared<DibImage>();
    image->width = h.biWidth;
    image->height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    image->bottomUp = h.biHeight > 0;
    image->stride = StrideOf(h.biWidth, h.biBitCount);
    if (static_cast<uint64_t>(image->stride) * static_cast<uint64_t>(image->height) > kMaxDibBytes)
        throw EOutOfResources("Picture of " + IntToStr(h.biWidth) + " x " + IntToStr(image->height) +
                              " pixels is too large");
    h.biSizeImage = 0;
    void* bits = nullptr;
    image->handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                                     nullptr, 0);
    if (image->handle == nullptr) throw EOutOfResources("Out of system resources");
    image->bits = static_cast<uint8_t*>(bits);
    image->info = std::move(info);
    return image;
}

std::vector<uint8_t> InfoFor(TPixelFormat format, int width, int height) {
    int bits = 32;
    DWORD compression = BI_RGB;
    std::vector<RGBQUAD> colors;
    std::vector<DWORD> masks;
    switch (format) {
        case TPixelFormat::pf1bit:
            bits = 1;
            colors = {{0, 0, 0, 0}, {255, 255, 255, 0}};
            break;
        case TPixelFormat::pf4bit: {
            bits = 4;
            static constexpr COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                                 0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                                 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
            for (COLORREF c : vga) colors.push_back({GetBValue(c), GetGValue(c), GetRValue(c), 0});
            break;
        }
        case TPixelFormat::pf8bit:
            bits = 8;
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b)
                        colors.push_back({static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51),
                                          static_cast<BYTE>(r * 51), 0});
            for (int i = 0; i < 40; ++i) {
                auto v = static_cast<BYTE>(i * 255 / 39);
                colors.push_back({v, v, v, 0});
            }
            break;
        case TPixelFormat::pf15bit: bits = 16; break;
        case TPixelFormat::pf16bit:
            bits = 16;
            compression = BI_BITFIELDS;
            masks = {0xF800, 0x07E0, 0x001F};
            break;
        case TPixelFormat::pf24bit: bits = 24; break;
        default: bits = 32; break;
    }
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + masks.size() * 4 + colors.size() * 4);
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = height;  // bottom-up, as the system makes bitmaps
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biCompression = compression;
    h.biClrUsed = static_cast<DWORD>(colors.size());
    std::memcpy(info.data(), &h, sizeof(h));
    std::memcpy(info.data() + sizeof(h), masks.data(), masks.size() * 4);
    std::memcpy(info.data() + sizeof(h) + masks.size() * 4, colors.data(), colors.size() * 4);
    return info;
}

TPixelFormat FormatOf(const BITMAPINFOHEADER& h, const uint8_t* masks) {
    switch (h.biBitCount) {
        case 1: return TPixelFormat::pf1bit;
        case 4: return TPixelFormat::pf4bit;
        case 8: return TPixelFormat::pf8bit;
        case 24: return TPixelFormat::pf24bit;
        case 16: {
            if (h.biCompression != BI_BITFIELDS) return TPixelFormat::pf15bit;
            DWORD m[3];
            std::memcpy(m, masks, sizeof(m));
            if (m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F) return TPixelFormat::pf15bit;
            if (m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F) return TPixelFormat::pf16bit;
            return TPixelFormat::pfCustom;
        }
        case 32: {
            if (h.biCompression != BI_BITFIELDS) return TPixelFormat::pf32bit;
            DWORD m[3];
            std::memcpy(m, masks, sizeof(m));
            return (m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF) ? TPixelFormat::pf32bit
                                                                        : TPixelFormat::pfCustom;
        }
        default: return TPixelFormat::pfCustom;
    }
}

class MemoryDc {
public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {
        if (dc_ == nullptr) throw EOutOfResources("Out of system resources");
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (old_ != nullptr) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    void Select(HBITMAP bitmap) {
        HGDIOBJ previous = SelectObject(dc_, bitmap);
        if (old_ == nullptr) old_ = previous;
    }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// The same header, masks and colour table for another size; the row order is kept.
std::vector<uint8_t> ResizedInfo(std::vector<uint8_t> info, int width, int height) {
    auto& h = *reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    h.biWidth = width;
    h.biHeight = h.biHeight < 0 ? -height : height;
    return info;
}

// Paints source 1:1 at the top-left of target, converting the format.
void CopyPixels(const DibImage& source, DibImage& target) {
    GdiFlush();
    MemoryDc dc;
    dc.Select(target.handle);
    StretchDIBits(dc.Get(), 0, 0, source.width, source.height, 0, 0, source.width, source.height, source.bits,
                  source.Info(), DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
}

}  // namespace

// The canvas of a bitmap: a memory context with the bitmap's own pixels
// selected. A DIB can be selected into one context only, so shared pixels are
// copied first.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner) : owner_(owner) {}
    ~TBitmapCanvas() override { Select(nullptr); }

    // Lets go of the pixels (the stock bitmap goes back in) or selects others.
    void Select(HBITMAP bitmap) {
        HDC dc = RawHandle();
        if (dc == nullptr || bitmap == selected_) return;
        SelectObject(dc, bitmap != nullptr ? bitmap : stockBitmap_);
        selected_ = bitmap;
    }

protected:
    void HandleNeeded() override {
        if (RawHandle() == nullptr) {
            HDC dc = CreateCompatibleDC(nullptr);
            if (dc == nullptr) throw EOutOfResources("Out of system resources");
            stockBitmap_ = GetCurrentObject(dc, OBJ_BITMAP);
            AdoptHandle(dc);
        }
        Select(owner_.OwnHandle());
    }

private:
    TBitmap& owner_;
    HGDIOBJ stockBitmap_ = nullptr;
    HBITMAP selected_ = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    canvas_.reset();  // the context lets go of the pixels before they are freed
}

int TBitmap::Width() const { return image_ ? image_->width : width_; }

int TBitmap::Height() const { return image_ ? image_->height : height_; }

TPixelFormat TBitmap::PixelFormat() const { return format_; }

void TBitmap::Replace(std::shared_ptr<DibImage> image) {
    // The context lets go first: selected pixels could not be freed. The new
    // ones are selected when the canvas is next used.
    if (canvas_) canvas_->Select(nullptr);
    image_ = std::move(image);
    if (image_) {
        width_ = image_->width;
        height_ = image_->height;
    }
}

PixelRows RowsOf(const TBitmap& bitmap) {
    return {const_cast<uint8_t*>(bitmap.ScanLine(0)), bitmap.Width(), bitmap.Height(), bitmap.RowStep()};
}

PixelRows RowsOf(TBitmap& bitmap) { return {bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.RowStep()}; }

std::unique_ptr<TBitmap> AllocPatternBitmap(TColor background, TColor foreground) {
    auto pattern = std::make_unique<TBitmap>();
    pattern->SetPixelFormat(TPixelFormat::pf32bit);
    pattern->SetSize(8, 8);
    TCanvas& canvas = *pattern->Canvas();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) canvas.SetPixel(x, y, (x + y) % 2 == 0 ? background : foreground);
    return pattern;
}

bool TBitmap::OwnsPixels() const { return !image_ || image_.use_count() == 1; }

void TBitmap::Unshare() {
    if (!image_ || image_.use_count() == 1) return;
    auto copy = CreateDib(image_->info);
    GdiFlush();
    std::memcpy(copy->bits, image_->bits, image_->ImageBytes());
    Replace(std::move(copy));
}

void TBitmap::Rebuild(int width, int height, TPixelFormat format) {
    if (width < 0 || height < 0) throw EInvalidGraphicOperation("Invalid bitmap size");
    // A new size in the same format keeps the colour table and masks: a
    // loaded picture's own palette still fits its pixel values.
    const bool keepHeader = image_ && format == format_;
    format_ = format;
    width_ = width;
    height_ = height;
    if (width == 0 || height == 0) {
        Replace(nullptr);
        return;
    }
    auto fresh = CreateDib(keepHeader ? ResizedInfo(image_->info, width, height) : InfoFor(format, width, height));
    if (image_) CopyPixels(*image_, *fresh);
    Replace(std::move(fresh));
}

void TBitmap::SetSize(int width, int height) {
    if (width == Width() && height == Height()) return;
    Rebuild(width, height, format_);
    Changed();
}

void TBitmap::SetWidth(int width) { SetSize(width, Height()); }

void TBitmap::SetHeight(int height) { SetSize(Width(), height); }

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    if (format == TPixelFormat::pfCustom) throw EInvalidGraphicOperation("Invalid pixel format");
    Rebuild(Width(), Height(), format);
    Changed();
}

void TBitmap::FreeImage() {
    Replace(nullptr);
    width_ = height_ = 0;
}

const uint8_t* TBitmap::ScanLine(int y) const {
    if (!image_ || y < 0 || y >= image_->height) throw EInvalidGraphicOperation("Scan line index out of range");
    GdiFlush();
    return image_->Row(y);
}

uint8_t* TBitmap::ScanLine(int y) {
    Unshare();
    return const_cast<uint8_t*>(static_cast<const TBitmap*>(this)->ScanLine(y));
}

ptrdiff_t TBitmap::RowStep() const {
    if (!image_) return 0;
    auto stride = static_cast<ptrdiff_t>(image_->stride);
    return image_->bottomUp ? -stride : stride;
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_.get();
}

HBITMAP TBitmap::OwnHandle() {
    Unshare();
    return image_ ? image_->handle : nullptr;
}

HBITMAP TBitmap::Handle() { return OwnHandle(); }

void TBitmap::DrawPart(HDC dc, const RECT& dest, const RECT& source) const {
    const int sw = source.right - source.left, sh = source.bottom - source.top;
    if (!image_ || sw <= 0 || sh <= 0 || dest.right <= dest.left || dest.bottom <= dest.top) return;
    GdiFlush();
    // The rows of a bottom-up picture are counted from its bottom edge here.
    const int sy = image_->bottomUp ? image_->height - source.bottom : source.top;
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.left, sy, sw, sh,
                  image_->bits, image_->Info(), DIB_RGB_COLORS, SRCCOPY);
}

void TBitmap::Mask(TColor transparentColor) {
    if (!image_) {
        format_ = TPixelFormat::pf1bit;
        return;
    }
    const COLORREF key = ColorToRGB(transparentColor);
    TBitmap colours;
    colours.Assign(this);
    colours.SetPixelFormat(TPixelFormat::pf32bit);
    auto mask = CreateDib(InfoFor(TPixelFormat::pf1bit, image_->width, image_->height));
    GdiFlush();
    for (int y = 0; y < mask->height; ++y) {
        const uint8_t* from = colours.image_->Row(y);
        uint8_t* to = mask->Row(y);
        std::memset(to, 0, mask->stride);
        for (int x = 0; x < mask->width; ++x, from += 4)
            if (RGB(from[2], from[1], from[0]) == key) to[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
    format_ = TPixelFormat::pf1bit;
    Replace(std::move(mask));
    Changed();
}

void TBitmap::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TBitmap*>(source)) {
        if (other == this) return;
        format_ = other->format_;
        Replace(other->image_);
        width_ = other->width_;
        height_ = other->height_;
        SetTransparent(other->Transparent());
        transparentColor_ = other->transparentColor_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(this);
    return copy;
}

namespace {

// The header of a Windows bitmap file rewritten as a BITMAPINFOHEADER with
// its masks and colour table; throws EInvalidGraphic.
struct ParsedBmp {
    std::vector<uint8_t> info;
    size_t pixelOffset = 0;
    size_t pixelBytes = 0;
};

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }

ParsedBmp ParseBmp(const std::vector<uint8_t>& file) {
    constexpr size_t fileHeader = 14;
    if (file.size() < fileHeader + 12 || file[0] != 'B' || file[1] != 'M') InvalidBitmap();
    const auto offBits = Read<uint32_t>(file, 10);
    const auto headerSize = Read<uint32_t>(file, fileHeader);
    BITMAPINFOHEADER h{};
    size_t cursor = fileHeader + headerSize;
    size_t paletteEntrySize = 4;
    if (headerSize == 12) {
        h.biWidth = Read<uint16_t>(file, fileHeader + 4);
        h.biHeight = Read<uint16_t>(file, fileHeader + 6);
        h.biPlanes = Read<uint16_t>(file, fileHeader + 8);
        h.biBitCount = Read<uint16_t>(file, fileHeader + 10);
        h.biCompression = BI_RGB;
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124 && file.size() >= fileHeader + headerSize) {
        std::memcpy(&h, file.data() + fileHeader, sizeof(h));
    } else {
        InvalidBitmap();
    }
    h.biSize = sizeof(h);
    const int bits = h.biBitCount;
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool rle = (h.biCompression == BI_RLE8 && bits == 8) || (h.biCompression == BI_RLE4 && bits == 4);
    const bool plain = h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32));
    if (!known || !(rle || plain) || h.biPlanes != 1 || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == INT32_MIN || (rle && h.biHeight < 0))
        InvalidBitmap();
    if (h.biBitCount <= 8 && h.biClrUsed > (1u << h.biBitCount)) InvalidBitmap();

    ParsedBmp parsed;
    std::vector<uint8_t> masks;
    if (h.biCompression == BI_BITFIELDS) {
        // In the header from version 2 on, after a plain info header otherwise.
        size_t at = headerSize >= 52 ? fileHeader + 40 : cursor;
        if (at + 12 > file.size()) InvalidBitmap();
        masks.assign(file.begin() + static_cast<ptrdiff_t>(at), file.begin() + static_cast<ptrdiff_t>(at + 12));
        if (headerSize < 52) cursor += 12;
    }
    const size_t colors = ColorTableEntries(h);
    if (cursor + colors * paletteEntrySize > file.size()) InvalidBitmap();
    parsed.info.resize(sizeof(h) + masks.size() + colors * 4);
    std::memcpy(parsed.info.data(), &h, sizeof(h));
    std::memcpy(parsed.info.data() + sizeof(h), masks.data(), masks.size());
    for (size_t i = 0; i < colors; ++i) {
        uint8_t* to = parsed.info.data() + sizeof(h) + masks.size() + i * 4;
        std::memcpy(to, file.data() + cursor + i * paletteEntrySize, 3);
        to[3] = 0;
    }
    cursor += colors * paletteEntrySize;

    parsed.pixelOffset = offBits >= cursor && offBits < file.size() ? offBits : cursor;
    const size_t available = file.size() - std::min(parsed.pixelOffset, file.size());
    if (rle) {
        parsed.pixelBytes = h.biSizeImage != 0 ? std::min<size_t>(h.biSizeImage, available) : available;
        if (parsed.pixelBytes == 0) InvalidBitmap();
    } else {
        uint64_t rows = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
        uint64_t need = static_cast<uint64_t>(StrideOf(h.biWidth, bits)) * rows;
        if (need > available) InvalidBitmap();
        parsed.pixelBytes = static_cast<size_t>(need);
    }
    return parsed;
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> file = ReadRest(stream);
    ParsedBmp bmp = ParseBmp(file);
    const auto& h = *reinterpret_cast<const BITMAPINFOHEADER*>(bmp.info.data());
    const uint8_t* pixels = file.data() + bmp.pixelOffset;
    std::shared_ptr<DibImage> image;
    TPixelFormat format;
    if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) {
        // The system expands run-length data while painting it.
        std::vector<uint8_t> plainInfo = bmp.info;
        auto& ph = *reinterpret_cast<BITMAPINFOHEADER*>(plainInfo.data());
        ph.biCompression = BI_RGB;
        image = CreateDib(plainInfo);
        std::vector<uint8_t> rleInfo = bmp.info;
        reinterpret_cast<BITMAPINFOHEADER*>(rleInfo.data())->biSizeImage = static_cast<DWORD>(bmp.pixelBytes);
        MemoryDc dc;
        dc.Select(image->handle);
        if (SetDIBitsToDevice(dc.Get(), 0, 0, h.biWidth, h.biHeight, 0, 0, 0, h.biHeight, pixels,
                              reinterpret_cast<const BITMAPINFO*>(rleInfo.data()), DIB_RGB_COLORS) == 0)
            InvalidBitmap();
        GdiFlush();
        format = FormatOf(h, nullptr);
    } else {
        image = CreateDib(bmp.info);
        std::memcpy(image->bits, pixels, bmp.pixelBytes);
        format = FormatOf(h, bmp.info.data() + sizeof(BITMAPINFOHEADER));
    }
    format_ = format;
    Replace(std::move(image));
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) const {
    if (!image_) {
        // An empty bitmap is written as a 0 x 0 picture header with no pixels.
        std::vector<uint8_t> info = InfoFor(format_, 0, 0);
        BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + info.size()), 0, 0,
                            static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + info.size())};
        stream.WriteBuffer(&fh, sizeof(fh));
        stream.WriteBuffer(info.data(), static_cast<int64_t>(info.size()));
        return;
    }
    GdiFlush();
    std::vector<uint8_t> info = image_->info;
    auto& h = *reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    h.biSizeImage = static_cast<DWORD>(image_->ImageBytes());
    const auto offBits = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + info.size());
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(offBits + image_->ImageBytes()), 0, 0, offBits};
    stream.WriteBuffer(&fh, sizeof(fh));
    stream.WriteBuffer(info.data(), static_cast<int64_t>(info.size()));
    stream.WriteBuffer(image_->bits, static_cast<int64_t>(image_->ImageBytes()));
}

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clDefault || !image_) return transparentColor_;
    // The bottom-left pixel, read back through a 1 x 1 picture of 32 bits.
    auto probe = CreateDib(InfoFor(TPixelFormat::pf32bit, 1, 1));
    GdiFlush();
    MemoryDc dc;
    dc.Select(probe->handle);
    StretchDIBits(dc.Get(), 0, 0, 1, 1, 0, 0, 1, 1, image_->bits, image_->Info(), DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    const uint8_t* p = probe->bits;
    return static_cast<TColor>(RGB(p[2], p[1], p[0]));
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) const {
    if (!image_) return;
    GdiFlush();
    HDC dc = canvas.BareHandle();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (GetStretchBltMode(dc) == BLACKONWHITE) SetStretchBltMode(dc, COLORONCOLOR);
    if (!Transparent()) {
        StretchDIBits(dc, rect.left, rect.top, w, h, 0, 0, image_->width, image_->height, image_->bits,
                      image_->Info(), DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    // The pixels may be selected into another bitmap's context: blend from a copy.
    auto copy = CreateDib(InfoFor(TPixelFormat::pf32bit, image_->width, image_->height));
    CopyPixels(*image_, *copy);
    MemoryDc source;
    source.Select(copy->handle);
    TransparentBlt(dc, rect.left, rect.top, w, h, source.Get(), 0, 0, image_->width, image_->height,
                   ColorToRGB(TransparentColor()));
}

// --------------------------------------------------------------------- icon

struct TIcon::Data {
    std::vector<uint8_t> bytes;
    HICON icon = nullptr;
    int width = 0, height = 0;
    ~Data() {
        if (icon != nullptr) DestroyIcon(icon);
    }
};

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

int TIcon::Width() const { return data_ ? data_->width : 0; }
int TIcon::Height() const { return data_ ? data_->height : 0; }
HICON TIcon::Handle() const { return data_ ? data_->icon : nullptr; }

void TIcon::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TIcon*>(source)) {
        data_ = other->data_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(this);
    return copy;
}

void TIcon::LoadFromStream(TStream& stream) {
    auto data = std::make_shared<Data>();
    data->bytes = ReadRest(stream);
    const auto& b = data->bytes;
    auto invalid = [] { throw EInvalidGraphic("Icon image is not valid"); };
    if (b.size() < 6 || Read<uint16_t>(b, 0) != 0 || Read<uint16_t>(b, 2) != 1) invalid();
    const size_t count = Read<uint16_t>(b, 4);
    if (count == 0 || 6 + count * 16 > b.size()) invalid();
    // The largest image, the deepest of equal size.
    size_t best = count;
    int bestArea = -1, bestDepth = -1;
    for (size_t i = 0; i < count; ++i) {
        const size_t e = 6 + i * 16;
        const int w = b[e] == 0 ? 256 : b[e], h = b[e + 1] == 0 ? 256 : b[e + 1];
        const int depth = Read<uint16_t>(b, e + 6);
        const uint64_t size = Read<uint32_t>(b, e + 8), offset = Read<uint32_t>(b, e + 12);
        if (size == 0 || offset + size > b.size()) invalid();
        if (w * h > bestArea || (w * h == bestArea && depth > bestDepth)) {
            best = i;
            bestArea = w * h;
            bestDepth = depth;
        }
    }
    const size_t e = 6 + best * 16;
    data->width = b[e] == 0 ? 256 : b[e];
    data->height = b[e + 1] == 0 ? 256 : b[e + 1];
    data->icon = CreateIconFromResourceEx(const_cast<uint8_t*>(b.data()) + Read<uint32_t>(b, e + 12),
                                          Read<uint32_t>(b, e + 8), TRUE, 0x00030000, data->width, data->height,
                                          LR_DEFAULTCOLOR);
    if (data->icon == nullptr) invalid();
    data_ = std::move(data);
    Changed();
}

void TIcon::SaveToStream(TStream& stream) const {
    if (data_) stream.WriteBuffer(data_->bytes.data(), static_cast<int64_t>(data_->bytes.size()));
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect) const {
    if (!data_) return;
    DrawIconEx(canvas.BareHandle(), rect.left, rect.top, data_->icon, rect.right - rect.left, rect.bottom - rect.top, 0,
               nullptr, DI_NORMAL);
}

// ----------------------------------------------------------------- metafile

struct TMetafile::Data {
    HENHMETAFILE handle = nullptr;
    int width = 0, height = 0;
    ~Data() {
        if (handle != nullptr) DeleteEnhMetaFile(handle);
    }
};

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

int TMetafile::Width() const { return data_ ? data_->width : 0; }
int TMetafile::Height() const { return data_ ? data_->height : 0; }
HENHMETAFILE TMetafile::Handle() const { return data_ ? data_->handle : nullptr; }

void TMetafile::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TMetafile*>(source)) {
        data_ = other->data_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TMetafile::Clone() const {
    auto copy = std::make_unique<TMetafile>();
    copy->Assign(this);
    return copy;
}

namespace {

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic("Metafile is not valid"); }

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeader = 22;

bool IsEnhanced(const std::vector<uint8_t>& b) {
    return b.size() >= sizeof(ENHMETAHEADER) && Read<uint32_t>(b, 0) == EMR_HEADER &&
           Read<uint32_t>(b, 40) == ENHMETA_SIGNATURE;
}

bool IsPlainWindowsMetafile(const uint8_t* p, size_t size) {
    if (size < 18) return false;
    uint16_t type, headerWords, version;
    std::memcpy(&type, p, 2);
    std::memcpy(&headerWords, p + 2, 2);
    std::memcpy(&version, p + 4, 2);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x100 || version == 0x300);
}

}  // namespace

void TMetafile::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> b = ReadRest(stream);
    auto data = std::make_shared<Data>();
    const int dpi = ScreenPixelsPerInch();
    if (IsEnhanced(b)) {
        data->handle = SetEnhMetaFileBits(static_cast<UINT>(b.size()), b.data());
    } else if (b.size() > kPlaceableHeader && Read<uint32_t>(b, 0) == kPlaceableKey) {
        uint16_t checksum = 0;
        for (size_t i = 0; i < 10; ++i) checksum ^= Read<uint16_t>(b, i * 2);
        const auto left = Read<int16_t>(b, 6), top = Read<int16_t>(b, 8);
        const auto right = Read<int16_t>(b, 10), bottom = Read<int16_t>(b, 12);
        const int inch = Read<uint16_t>(b, 14);
        if (checksum != Read<uint16_t>(b, 20) || inch == 0 || right <= left || bottom <= top ||
            !IsPlainWindowsMetafile(b.data() + kPlaceableHeader, b.size() - kPlaceableHeader))
            InvalidMetafile();
        METAFILEPICT pict{MM_ANISOTROPIC, MulDiv(right - left, 2540, inch), MulDiv(bottom - top, 2540, inch), nullptr};
        data->handle = SetWinMetaFileBits(static_cast<UINT>(b.size() - kPlaceableHeader), b.data() + kPlaceableHeader,
                                          nullptr, &pict);
        data->width = MulDiv(right - left, dpi, inch);
        data->height = MulDiv(bottom - top, dpi, inch);
    } else if (IsPlainWindowsMetafile(b.data(), b.size())) {
        data->handle = SetWinMetaFileBits(static_cast<UINT>(b.size()), b.data(), nullptr, nullptr);
    } else {
        InvalidMetafile();
    }
    if (data->handle == nullptr) InvalidMetafile();
    if (data->width == 0) {
        // The frame is kept in hundredths of a millimetre.
        ENHMETAHEADER header{};
        if (GetEnhMetaFileHeader(data->handle, sizeof(header), &header) == 0) InvalidMetafile();
        data->width = MulDiv(header.rclFrame.right - header.rclFrame.left, dpi, 2540);
        data->height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpi, 2540);
    }
    data_ = std::move(data);
    Changed();
}

void TMetafile::SaveToStream(TStream& stream) const {
    if (!data_) return;
    UINT size = GetEnhMetaFileBits(data_->handle, 0, nullptr);
    std::vector<uint8_t> bytes(size);
    GetEnhMetaFileBits(data_->handle, size, bytes.data());
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TMetafile::Draw(TCanvas& canvas, const RECT& rect) const {
    if (data_) PlayEnhMetaFile(canvas.Handle(), data_->handle, &rect);
}

// ------------------------------------------------------------------ picture

std::unique_ptr<TGraphic> GraphicForExtension(const std::string& extension) {
    std::string ext = LowerCase(extension);
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    if (ext == "jpg" || ext == "jpeg") return std::make_unique<TJPEGImage>();
    if (ext == "gif") return std::make_unique<TGIFImage>();
    if (ext == "png") return std::make_unique<TPNGObject>();
    if (ext == "bmp") return std::make_unique<TBitmap>();
    if (ext == "ico") return std::make_unique<TIcon>();
    if (ext == "emf" || ext == "wmf") return std::make_unique<TMetafile>();
    return nullptr;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Assign(const TPersistent* source) {
    if (source == nullptr) {
        SetGraphic(nullptr);
    } else if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture != this) SetGraphic(picture->Graphic());
    } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    graphic_ = graphic != nullptr ? graphic->Clone() : nullptr;
    Changed();
}

TBitmap* TPicture::Bitmap() {
    if (dynamic_cast<TBitmap*>(graphic_.get()) == nullptr) {
        graphic_ = std::make_unique<TBitmap>();
        Changed();
    }
    return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromFile(const std::string& fileName) {
    size_t slash = fileName.find_last_of("\\/:");
    size_t dot = fileName.find_last_of('.');
    std::string ext = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? fileName.substr(dot)
                                                                                              : std::string();
    std::unique_ptr<TGraphic> graphic = GraphicForExtension(ext);
    if (!graphic) throw EInvalidGraphic(FormatMessage1("Unknown picture file extension (%s)", ext));
    graphic->LoadFromFile(fileName);
    graphic_ = std::move(graphic);
    Changed();
}

void TPicture::SaveToFile(const std::string& fileName) const {
    if (graphic_) graphic_->SaveToFile(fileName);
}

}  // namespace pellix
