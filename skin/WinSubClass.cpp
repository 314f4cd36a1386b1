#include "skin/WinSubClass.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "skin/ImgUtil.h"
#include "skin/SkinRecords.h"
#include "skin/WinSkinData.h"
#include "skin/WindowSubclass.h"

namespace pellix {

namespace {

// The whole window's context, released when it goes.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and, whatever happens in between, EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The window text, as far as a 1000-character buffer holds it.
std::string ReadWindowText(HWND window) {
    char buffer[1000];
    const LRESULT n = SendMessageA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer, static_cast<size_t>(std::clamp<LRESULT>(n, 0, sizeof(buffer) - 1)));
}

// The window's rectangle moved to the origin; false when the window is gone.
bool WindowBounds(HWND window, RECT& screen, RECT& origin) {
    if (window == nullptr || !GetWindowRect(window, &screen)) return false;
    origin = screen;
    OffsetRect(&origin, -screen.left, -screen.top);
    return true;
}

}  // namespace

// ---------------------------------------------------------------- the host

void TSkinControlHost::DropControlSkins() {
    std::vector<TSkinControl*> skins;
    skins.swap(ControlSkins);
    for (TSkinControl* skin : skins) {
        skin->DetachControl();
        TComponent::Free(skin);
    }
}

// ------------------------------------------------------------ TSkinControl

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
    DetachControl();
    if (TSkinControlHost* host = Host()) {
        auto& list = host->ControlSkins;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (host->HotControl == this) host->HotControl = nullptr;
    }
}

TSkinControlHost* TSkinControl::Host() const {
    // While the owner is being freed it is no longer a host.
    return dynamic_cast<TSkinControlHost*>(Owner());
}

bool TSkinControl::HostTearingDown() const {
    const TSkinControlHost* host = Host();
    return host != nullptr && host->TearingDown();
}

void TSkinControl::AttachControl(TWinControl* control, TSkinData* skinData, bool setFaceColour, TCanvas* canvas) {
    SetFaceColour = setFaceColour;
    SkinData = skinData;
    Canvas = canvas;
    Control = control;
    Handle = control->Handle();
    OldWindowProc = control->WindowProc;
    control->WindowProc = [this](TMessage& message) { ControlWindowProc(message); };
    control->DoubleBuffered = true;
    if (TSkinControlHost* host = Host()) host->ControlSkins.push_back(this);
    Focused = GetFocus() == Handle;
    Enabled = (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    Text = ReadWindowText(Handle);
    if (setFaceColour) {
        SavedColour = control->Color();
        control->SetColor(skinData->ButtonFaceColour);
    }
    control->Invalidate();
}

void TSkinControl::AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas) {
    SkinData = skinData;
    Canvas = canvas;
    Handle = handle;
    Enabled = true;
    Text = ReadWindowText(handle);
    auto subclass = std::make_unique<TWindowSubclass>();
    const bool attached = subclass->Attach(
        handle,
        [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            TMessage message{msg, wParam, lParam, 0};
            ControlWindowProc(message);
            return message.Result;
        },
        // The window's own procedure has had WM_NCDESTROY; the skin reacts.
        [this] {
            TMessage message{WM_NCDESTROY, 0, 0, 0};
            AfterMessage(message);
        });
    if (!attached) {
        Handle = nullptr;  // held by another skin of the engine, or gone
        return;
    }
    subclass_ = std::move(subclass);
    // The control's own pixels would stay until something repaints it.
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TSkinControl::DetachControl() {
    bool wasAttached = false;
    if (OldWindowProc) {
        if (Control != nullptr) Control->WindowProc = OldWindowProc;
        OldWindowProc = nullptr;
        wasAttached = true;
    }
    if (subclass_) {
        subclass_->Detach();
        subclass_.reset();
        wasAttached = true;
    }
    const bool tearingDown = HostTearingDown();
    if (SetFaceColour && Control != nullptr && !tearingDown) {
        Control->SetColor(SavedColour);
        SetFaceColour = false;  // once: the control may be gone by a later call
    }
    // What the skin drew over the control would otherwise stay.
    if (wasAttached && !windowGone_ && !tearingDown && Handle != nullptr && IsWindow(Handle))
        RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TSkinControl::WindowGone() {
    windowGone_ = true;
    DetachControl();
    if (TSkinControlHost* host = Host(); host != nullptr && host->HotControl == this) host->HotControl = nullptr;
    // A destroyed window's handle may be given to another window, and the
    // control may be freed next: neither is this skin's any more.
    Handle = nullptr;
    Control = nullptr;
}

void TSkinControl::ControlWindowProc(TMessage& message) {
    if (!BeforeMessage(message)) return;
    CallOldWindowProc(message);
    AfterMessage(message);
}

void TSkinControl::CallOldWindowProc(TMessage& message) {
    if (OldWindowProc) {
        // Detaching while it runs must not free it under itself.
        TWndMethod old = OldWindowProc;
        old(message);
    } else if (subclass_) {
        message.Result = subclass_->CallOld(message.Msg, message.WParam, message.LParam);
    }
}

bool TSkinControl::BeforeMessage(TMessage& message) {
    (void)message;
    return true;
}

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        RepaintControl();
        break;
    case WM_SETTEXT:
        Text = message.LParam != 0 ? reinterpret_cast<const char*>(message.LParam) : "";
        RepaintControl();
        break;
    case WM_PAINT:
        PaintControl(reinterpret_cast<HDC>(message.WParam));
        break;
    case WM_NCDESTROY:
        WindowGone();
        break;
    default:
        break;
    }
}

void TSkinControl::RepaintControl() {
    RECT screen, r;
    if (!WindowBounds(Handle, screen, r) || GetParent(Handle) == nullptr) return;
    InvalidateRect(Handle, &r, FALSE);
    UpdateWindow(Handle);
}

void TSkinControl::PaintControl(HDC dc) {
    RECT r;
    if (!WindowBounds(Handle, WindowRect, r)) return;
    std::optional<WindowDc> own;
    if (dc == nullptr) {
        own.emplace(Handle);
        dc = own->Get();
        if (dc == nullptr) return;
    }
    try {
        DrawControl(dc, r);
    } catch (...) {
        // A failed drawing leaves the control as drawn so far; nothing is reported.
    }
}

void TSkinControl::HandlePaintMessage(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    std::optional<PaintDc> paint;
    if (dc == nullptr) {
        paint.emplace(Handle);
        dc = paint->Get();
    }
    RECT r;
    if (dc == nullptr || !WindowBounds(Handle, WindowRect, r)) return;
    try {
        DrawControl(dc, r);
    } catch (...) {
        // As PaintControl: the paint still ends, so WM_PAINT does not come back forever.
    }
}

void TSkinControl::DrawControl(HDC dc, const RECT& rect) {
    (void)dc;
    (void)rect;
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) {
    if (SkinData == nullptr) return;
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(SkinData->ButtonFaceColour)));
    if (brush) FillRect(dc, &rect, brush.get());
}

void TSkinControl::SendMouseLeave() {
    if (Handle != nullptr) SendMessageA(Handle, CM_MOUSELEAVE, 0, 0);
}

bool TSkinControl::FocusedNow() const { return Handle != nullptr && GetFocus() == Handle; }

bool TSkinControl::EnabledNow() const {
    if (Handle != nullptr) return IsWindowEnabled(Handle) != FALSE;
    if (GraphicControl != nullptr) return GraphicControl->Enabled();
    return Enabled;
}

// ---------------------------------------------------------- text routines

void AssignWindowFont(TFont& font, HWND window) {
    auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (handle == nullptr) handle = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA log{};
    if (GetObjectA(handle, sizeof(log), &log) == 0) return;
    font.SetName(log.lfFaceName);
    font.SetHeight(log.lfHeight);
    font.SetCharset(log.lfCharSet);
    font.SetStyle(static_cast<TFontStyles>((log.lfWeight >= FW_BOLD ? fsBold : 0) | (log.lfItalic ? fsItalic : 0) |
                                           (log.lfUnderline ? fsUnderline : 0) | (log.lfStrikeOut ? fsStrikeOut : 0)));
}

namespace {

// Transparent text in the canvas's font without its style.
HDC PrepareText(TCanvas& canvas) {
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    canvas.Font()->SetStyle(0);
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    return dc;
}

// How much room text takes with format, placed at rect's top-left corner.
RECT TextExtent(HDC dc, const RECT& rect, const std::string& text, UINT format) {
    RECT r = rect;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT | DT_NOCLIP);
    return RECT{rect.left, rect.top, rect.left + (r.right - r.left), rect.top + (r.bottom - r.top)};
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void DrawTextIn(TCanvas& canvas, RECT extent, const std::string& text, UINT format) {
    // Handle() again: a colour change remade the font.
    DrawTextA(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &extent, format);
}

}  // namespace

void DrawCaptionText(TCanvas& canvas, const RECT& rect, TCaptionTextAlign alignment, bool enabled,
                     const std::string& text) {
    const UINT format = static_cast<UINT>(alignment) | DT_EXPANDTABS;
    RECT extent = TextExtent(PrepareText(canvas), rect, text, format);
    const int dy = (Height(rect) - Height(extent)) / 2 - 1;
    int dx = 0;
    if (alignment == TCaptionTextAlign::Centre) dx = (Width(rect) - Width(extent)) / 2;
    if (alignment == TCaptionTextAlign::Right) dx = Width(rect) - Width(extent);
    OffsetRect(&extent, dx, dy);
    if (!enabled) canvas.Font()->SetColor(clBtnShadow);
    DrawTextIn(canvas, extent, text, format);
}

void DrawMenuText(TCanvas& canvas, const RECT& rect, const std::string& text, TMenuTextAlign alignment,
                  bool enabled) {
    const UINT flag = alignment == TMenuTextAlign::Right ? DT_RIGHT : alignment == TMenuTextAlign::Centre ? DT_CENTER : DT_LEFT;
    const UINT format = flag | DT_SINGLELINE | DT_EXPANDTABS;
    RECT extent = TextExtent(PrepareText(canvas), rect, text, format);
    OffsetRect(&extent, (Width(rect) - Width(extent)) / 2, (Height(rect) - Height(extent)) / 2);
    if (!enabled) canvas.Font()->SetColor(clBtnShadow);
    DrawTextIn(canvas, extent, text, format);
}

void DrawIconText(const TSkinControl& skin, TCanvas& canvas, const RECT& rect, TIconTextAlign alignment,
                  const std::string& text, int imageIndex, HIMAGELIST images) {
    int iconWidth = 0, iconHeight = 0;
    const bool icon = images != nullptr && imageIndex != -1;
    if (icon && !ImageList_GetIconSize(images, &iconWidth, &iconHeight)) iconWidth = iconHeight = 0;
    const UINT format = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
    // Measured in the font it is drawn in.
    HDC dc = PrepareText(canvas);
    RECT extent = text.empty() ? RECT{rect.left, rect.top, rect.left, rect.top} : TextExtent(dc, rect, text, format);
    int x = 2;
    if (alignment == TIconTextAlign::Centre) x = (Width(rect) - iconWidth - Width(extent)) / 2;
    if (alignment == TIconTextAlign::Right) x = Width(rect) - iconWidth - Width(extent) - 2;
    if (icon) ImageList_Draw(images, imageIndex, dc, rect.left + x, rect.top + (Height(rect) - iconHeight) / 2,
                             ILD_TRANSPARENT);
    if (text.empty()) return;
    OffsetRect(&extent, x + iconWidth + 1, (Height(rect) - Height(extent)) / 2);
    if (!skin.EnabledNow()) canvas.Font()->SetColor(clBtnShadow);
    DrawTextIn(canvas, extent, text, format);
}

// ----------------------------------------------------------- strip frames

namespace {

// The frame stretched to rect's size, keyed with magenta; null when there is
// nothing to draw.
std::unique_ptr<TBitmap> StripFramePicture(const RECT& rect, int frameCount, int frame, const TBitmap& strip) {
    const int width = Width(rect), height = Height(rect);
    if (width <= 0 || height <= 0 || frameCount < 1 || frame < 1 || frame > frameCount || strip.Empty())
        return nullptr;
    const int frameWidth = strip.Width() / frameCount;
    if (frameWidth < 1) return nullptr;
    auto picture = std::make_unique<TBitmap>();
    picture->SetPixelFormat(TPixelFormat::pf32bit);
    picture->SetSize(width, height);
    HDC target = picture->Canvas()->BareHandle();
    SetStretchBltMode(target, COLORONCOLOR);
    strip.DrawPart(target, {0, 0, width, height}, {frameWidth * (frame - 1), 0, frameWidth * frame, strip.Height()});
    picture->SetTransparentColor(KeyColour);
    picture->SetTransparent(true);
    return picture;
}

}  // namespace

void DrawStripFrameCanvas(TCanvas& canvas, const RECT& rect, int frameCount, int frame, const TBitmap& strip) {
    if (auto picture = StripFramePicture(rect, frameCount, frame, strip)) canvas.Draw(rect.left, rect.top, *picture);
}

void DrawStripFrame(HDC dc, const RECT& rect, int frameCount, int frame, const TBitmap& strip) {
    TCanvas canvas(dc);
    DrawStripFrameCanvas(canvas, rect, frameCount, frame, strip);
}

void DrawStripFrameScratch(const TSkinControl& skin, HDC dc, const RECT& rect, int frameCount, int frame,
                           const TBitmap& strip) {
    if (skin.Canvas == nullptr) return DrawStripFrame(dc, rect, frameCount, frame, strip);
    TCanvasBinding binding(*skin.Canvas, dc);
    DrawStripFrameCanvas(*skin.Canvas, rect, frameCount, frame, strip);
}

// ------------------------------------------------------------------ arrows

void DrawArrow(TCanvas& canvas, int x, int y, TArrowKind kind) {
    struct Line {
        int x1, y1, x2, y2;
    };
    // Offsets from (x, y); each line leaves out its end point.
    static constexpr Line up[] = {{0, 0, 0, -1}, {1, 1, 4, 4},  {0, 1, 3, 4}, {0, 2, 2, 4},
                                  {-1, 1, -4, 4}, {0, 2, -3, 4}, {0, 1, -2, 4}};
    static constexpr Line down[] = {{0, 3, 0, 4},   {1, 2, 4, -1},  {0, 2, 3, -1}, {0, 1, 2, 0},
                                    {-1, 2, -4, -1}, {0, 2, -3, -1}, {0, 1, -2, 0}};
    static constexpr POINT left[] = {{0, 0}, {1, 2}, {1, -2}, {-1, 0}, {1, 2}};
    static constexpr POINT right[] = {{0, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-1, 2}};
    auto lines = [&](const Line* begin, const Line* end) {
        HDC dc = canvas.Handle();
        for (const Line* l = begin; l != end; ++l) {
            MoveToEx(dc, x + l->x1, y + l->y1, nullptr);
            LineTo(dc, x + l->x2, y + l->y2);
        }
    };
    auto polyline = [&](const POINT (&points)[5]) {
        POINT moved[5];
        for (int i = 0; i < 5; ++i) moved[i] = POINT{x + points[i].x, y + points[i].y};
        Polyline(canvas.Handle(), moved, 5);
    };
    switch (kind) {
    case TArrowKind::Up: return lines(std::begin(up), std::end(up));
    case TArrowKind::Down: return lines(std::begin(down), std::end(down));
    case TArrowKind::Left: return polyline(left);
    case TArrowKind::Right: return polyline(right);
    }
}

}  // namespace pellix
