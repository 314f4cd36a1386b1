// Colours, fonts, pens, brushes, canvases and the picture classes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/PixelRows.h"
#include "framework/Streams.h"

namespace pellix {

// EInvalidGraphic (SysUtils): data no picture kind can read, or an unknown
// file extension.
// An operation a graphic cannot do (for example converting an icon to a bitmap).
PELLIX_EXCEPTION(EInvalidGraphicOperation, Exception);
// The system refused a bitmap, usually for its size.
PELLIX_EXCEPTION(EOutOfResources, Exception);

// An RGB value (red in the low byte) or a system-colour reference
// (0x80000000 + COLOR_xxx index).
using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);

// Resolves a system-colour reference to the colour in force now.
COLORREF ColorToRGB(TColor color);

// Colour names of form descriptions ("clBtnFace"); false when unknown.
bool IdentToColor(const std::string& ident, TColor& color);

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// Dots per inch of the screen, as fonts convert points.
int ScreenPixelsPerInch();

// A device context of the screen with a font selected, for measuring text.
class MeasureDc {
public:
    explicit MeasureDc(HFONT font) : dc_(GetDC(nullptr)), old_(SelectObject(dc_, font)) {}
    ~MeasureDc() {
        SelectObject(dc_, old_);
        ReleaseDC(nullptr, dc_);
    }
    MeasureDc(const MeasureDc&) = delete;
    MeasureDc& operator=(const MeasureDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

class TCanvas;

// A GDI object made on demand from its properties and remade after a change.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
    virtual void ReleaseHandle() = 0;

private:
    friend class TCanvas;
    // Set by the canvas that has the handle selected, so it can let go first.
    std::function<void()> beforeRelease_;
};

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    std::string ClassName() const override { return "TFont"; }
    void Assign(const TPersistent* source) override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);  // cut to 31 characters, as LOGFONT holds
    int Height() const { return height_; }  // negative: character height in pixels
    void SetHeight(int height);
    int Size() const;                       // points
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Charset() const { return charset_; }
    void SetCharset(int charset);
    // Takes face, height, style and character set of a system font
    // description (a weight from semibold up counts as bold).
    void SetLogFont(const LOGFONTA& font);

    // Made on demand and kept until the font changes.
    HFONT Handle();

private:
    void ReleaseHandle() override;

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
    HFONT handle_ = nullptr;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
public:
    ~TPen() override;
    std::string ClassName() const override { return "TPen"; }
    void Assign(const TPersistent* source) override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    HPEN Handle();

private:
    void ReleaseHandle() override;

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    HPEN handle_ = nullptr;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    ~TBrush() override;
    std::string ClassName() const override { return "TBrush"; }
    void Assign(const TPersistent* source) override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    HBRUSH Handle();

private:
    void ReleaseHandle() override;

    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    HBRUSH handle_ = nullptr;
};

class TGraphic;

// Drawing on a device context that the canvas owns (deleted with it) or
// borrows (left to its owner). Font, pen and brush stay selected between calls.
class TCanvas : public TPersistent {
public:
    TCanvas();
    // Borrows dc; a null dc leaves the canvas without one.
    explicit TCanvas(HDC dc);
    ~TCanvas() override;
    std::string ClassName() const override { return "TCanvas"; }

    // The context with font, pen and brush selected.
    HDC Handle();
    // The context made ready as Handle() makes it, but with nothing of the
    // canvas selected into it: drawing through it uses the font, pen and
    // brush that the context's owner selected.
    HDC BareHandle();
    bool HandleAllocated() const { return dc_ != nullptr; }
    // Borrows dc (null lets go of the current one).
    void SetHandle(HDC dc);

    TFont* Font() { return &font_; }
    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }

    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    // Leaves out the end point, as GDI does.
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const RECT& rect, const TGraphic& graphic);
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // Before and after every drawing call.
    std::function<void()> OnChanging;
    std::function<void()> OnChange;

protected:
    // Runs first in Handle(): a canvas that makes its own context (a
    // bitmap's) makes or readies it here.
    virtual void HandleNeeded() {}
    // Takes ownership of dc: it is deleted when the canvas lets go of it.
    void AdoptHandle(HDC dc);
    HDC RawHandle() const { return dc_; }
    void Changing();
    void Changed();

private:
    void SelectObjects();
    void DeselectObjects();
    void ReleaseDc();

    HDC dc_ = nullptr;
    bool ownsDc_ = false;
    HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
    TFont font_;
    TPen pen_;
    TBrush brush_;

    friend class TCanvasBinding;
};

// Points a borrowing canvas at a context for the length of one drawing call.
// At the end the canvas takes its font, pen and brush out of that context and
// gets its previous one back, so the caller may release the context safely.
// A canvas that owns its context (a bitmap's) cannot be bound.
class TCanvasBinding {
public:
    TCanvasBinding(TCanvas& canvas, HDC dc);
    ~TCanvasBinding();
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
    TCanvas& canvas_;
    HDC previous_;
};

// Base of every picture kind. Copies (Assign between graphics of one class,
// TPicture::Assign) share the decoded pixels.
class TGraphic : public TPersistent {
public:
    std::string ClassName() const override { return "TGraphic"; }

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }

    // Reads from the stream's position to its end.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    // Paints the picture scaled into rect.
    virtual void Draw(TCanvas& canvas, const RECT& rect) const = 0;
    // A copy of the same class sharing the decoded data.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    // The decoded pixels, for pictures that hold them as a bitmap; decodes
    // on first use. Null for kinds that only draw themselves.
    virtual const class TBitmap* Pixels() const { return nullptr; }

    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent) { transparent_ = transparent; }

    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    // A bitmap takes the decoded pixels of a picture that has them.
    void AssignTo(TPersistent* dest) const override;

private:
    bool transparent_ = false;
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmapCanvas;
struct DibImage;

// A device-independent bitmap (DIB section). Copies share the pixels until
// one of them is written to (through ScanLine, Canvas or a size change).
class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    std::string ClassName() const override { return "TBitmap"; }
    // Takes a bitmap (sharing its pixels) or any graphic that converts itself.
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int width);
    void SetHeight(int height);
    // Keeps the overlapping top-left part of the picture.
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const;
    // Converts the pixels to the new format.
    void SetPixelFormat(TPixelFormat format);

    // Row y of the pixels; the non-const form makes the pixels this bitmap's own.
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    // Address of row 1 minus address of row 0 (negative when stored bottom-up).
    ptrdiff_t RowStep() const;

    TCanvas* Canvas();
    HBITMAP Handle();
    // Paints the source part of the pixels stretched over dest on dc, in dc's
    // stretch mode. Reads the pixels only: they stay shared, and the bitmap
    // may be selected in its own canvas meanwhile.
    void DrawPart(HDC dc, const RECT& dest, const RECT& source) const;
    // Turns the bitmap into a one-bit mask of a colour: white where the
    // pixels had that colour, black everywhere else.
    void Mask(TColor transparentColor);
    // Drops the pixels: the bitmap becomes 0 x 0, its format kept.
    void FreeImage();
    // Whether no other bitmap shares these pixels.
    bool OwnsPixels() const;

    // Windows bitmap file. Invalid data raises EInvalidGraphic.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    void Draw(TCanvas& canvas, const RECT& rect) const override;
    std::unique_ptr<TGraphic> Clone() const override;
    const TBitmap* Pixels() const override { return this; }

    // Drawn with this colour left out when Transparent; by default the
    // colour of the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

private:
    friend class TBitmapCanvas;
    void Unshare();
    HBITMAP OwnHandle();
    void Replace(std::shared_ptr<DibImage> image);
    void Rebuild(int width, int height, TPixelFormat format);

    std::shared_ptr<DibImage> image_;
    TPixelFormat format_ = TPixelFormat::pfDevice;
    int width_ = 0, height_ = 0;  // kept while one side is 0 and no pixels exist
    std::unique_ptr<TBitmapCanvas> canvas_;
    TColor transparentColor_ = clDefault;
};

// The rows of a bitmap's pixels. The const form only reads: the pixels stay
// shared; the other makes them the bitmap's own first.
PixelRows RowsOf(const TBitmap& bitmap);
PixelRows RowsOf(TBitmap& bitmap);

// An 8 x 8 bitmap of alternating pixels, background where x + y is even and
// foreground where it is odd: a brush made from it shades an area evenly.
std::unique_ptr<TBitmap> AllocPatternBitmap(TColor background, TColor foreground);

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    std::string ClassName() const override { return "TIcon"; }
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;
    HICON Handle() const;

    // An icon file (.ico); the largest image is drawn.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    void Draw(TCanvas& canvas, const RECT& rect) const override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    struct Data;
    std::shared_ptr<const Data> data_;
};

class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;
    std::string ClassName() const override { return "TMetafile"; }
    void Assign(const TPersistent* source) override;

    // In screen pixels.
    int Width() const override;
    int Height() const override;
    HENHMETAFILE Handle() const;

    // An enhanced metafile, a placeable or a plain Windows metafile.
    void LoadFromStream(TStream& stream) override;
    // Always as an enhanced metafile.
    void SaveToStream(TStream& stream) const override;
    void Draw(TCanvas& canvas, const RECT& rect) const override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    struct Data;
    std::shared_ptr<const Data> data_;
};

// Holds one graphic of the kind its file extension names.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    std::string ClassName() const override { return "TPicture"; }
    // A picture or graphic is copied (sharing its decoded data); nullptr empties.
    void Assign(const TPersistent* source) override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Copies graphic; nullptr empties.
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap, replacing any other kind by an empty bitmap.
    TBitmap* Bitmap();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // ".jpg", ".jpeg", ".gif", ".png", ".bmp", ".ico", ".emf", ".wmf" in any
    // case; others raise EInvalidGraphic.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};

// The picture kind for a file extension (".JPG" or "jpg"), or nullptr.
std::unique_ptr<TGraphic> GraphicForExtension(const std::string& extension);

}  // namespace pellix
