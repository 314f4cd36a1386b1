#include "skin/SkinButtons.h"

#include <algorithm>

#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"

namespace pellix {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT MarginsOf(const TDataSkinObject& element) {
    return RECT{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

std::string WindowText(HWND window) {
    char buffer[1000];
    const int n = GetWindowTextA(window, buffer, sizeof(buffer));
    return std::string(buffer, static_cast<size_t>(std::max(n, 0)));
}

// How much room text takes in the DC's font; 0 x 0 for no text.
SIZE TextSize(HDC dc, const std::string& text, SIZE room) {
    if (text.empty()) return SIZE{0, 0};
    RECT r{0, 0, room.cx, room.cy};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE GlyphSize(const TGlyphProperties* properties) {
    if (properties == nullptr || properties->Glyph()->Empty()) return SIZE{0, 0};
    const TBitmap& glyph = *properties->Glyph();
    return SIZE{glyph.Width() / GlyphCount(properties->NumGlyphs), glyph.Height()};
}

// A windowless control's place on its parent's window, its origin at the
// control's top-left corner and clipped to it.
class GraphicControlDc {
public:
    explicit GraphicControlDc(const TGraphicControl& control) {
        TWinControl* parent = control.Parent();
        if (parent == nullptr || !parent->HandleAllocated() || !control.Visible()) return;
        window_ = parent->Handle();
        dc_ = GetDC(window_);
        if (dc_ == nullptr) return;
        saved_ = SaveDC(dc_);
        IntersectClipRect(dc_, control.Left(), control.Top(), control.Left() + control.Width(),
                          control.Top() + control.Height());
        SetViewportOrgEx(dc_, control.Left(), control.Top(), nullptr);
    }
    ~GraphicControlDc() {
        if (dc_ == nullptr) return;
        RestoreDC(dc_, saved_);
        ReleaseDC(window_, dc_);
    }
    GraphicControlDc(const GraphicControlDc&) = delete;
    GraphicControlDc& operator=(const GraphicControlDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    int saved_ = 0;
};

// The painters' shared bitmap, made when a skin first needs it.
TBitmap& ScratchBitmap() {
    CreateSharedScratchBitmap();
    return *SharedScratchBitmap();
}

}  // namespace

// ------------------------------------------------------- state and layout

TButtonFrame PushButtonFrame(bool focused, bool hot, bool pressed, bool enabled) {
    TButtonFrame frame = focused ? TButtonFrame::Hot : TButtonFrame::Normal;
    if (pressed) frame = TButtonFrame::Pressed;
    else if (hot) frame = TButtonFrame::Hot;
    if (!enabled) frame = TButtonFrame::Disabled;
    return frame;
}

TButtonFrame SpeedButtonFrame(bool hot, bool pressed, bool enabled, bool down) {
    TButtonFrame frame = TButtonFrame::Normal;
    if (pressed) frame = TButtonFrame::Pressed;
    else if (hot) frame = TButtonFrame::Hot;
    if (!enabled) frame = TButtonFrame::Disabled;
    if (down) frame = TButtonFrame::Pressed;
    return frame;
}

int SpeedButtonGlyph(TButtonFrame frame, int numGlyphs) {
    int glyph = 1;
    if (frame == TButtonFrame::Pressed) glyph = 3;
    if (frame == TButtonFrame::Disabled) glyph = 2;
    return glyph <= numGlyphs ? glyph : 1;
}

int GlyphCount(int numGlyphs) { return std::max(numGlyphs & 0x7F, 1); }

TGlyphLayout LayoutGlyphAndText(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                                bool speedButton) {
    // Work along the layout's axis (a) and across it (c).
    const bool across = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    auto along = [across](SIZE s) { return across ? s.cx : s.cy; };
    auto other = [across](SIZE s) { return across ? s.cy : s.cx; };
    const int glyphCross = (other(client) - other(glyph) + 1) / 2;
    const int textCross = (other(client) - other(text) + 1) / 2;

    if (text.cx == 0 || glyph.cx == 0) spacing = 0;
    if (margin == -1 && spacing == -1) {
        margin = (along(client) - (along(glyph) + along(text))) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (along(client) - (along(glyph) + spacing + along(text))) / 2 + (speedButton ? 1 : 0);
    } else if (spacing == -1) {
        spacing = (along(client) - (margin + along(glyph)) - along(text)) / 2;
    }

    int glyphAlong = 0, textAlong = 0;
    UINT format = DT_CENTER;
    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        glyphAlong = margin;
        textAlong = glyphAlong + along(glyph) + spacing;
        format = DT_LEFT;
        break;
    case TButtonLayout::blGlyphRight:
        glyphAlong = along(client) - margin - along(glyph);
        textAlong = glyphAlong - spacing - along(text);
        format = DT_RIGHT;
        break;
    case TButtonLayout::blGlyphTop:
        glyphAlong = margin;
        textAlong = glyphAlong + along(glyph) + spacing;
        break;
    case TButtonLayout::blGlyphBottom:
        glyphAlong = along(client) - margin - along(glyph);
        textAlong = glyphAlong - spacing - along(text);
        break;
    }
    TGlyphLayout result{};
    result.GlyphPos = across ? POINT{glyphAlong, glyphCross} : POINT{glyphCross, glyphAlong};
    const POINT textPos = across ? POINT{textAlong, textCross} : POINT{textCross, textAlong};
    result.TextRect = RECT{textPos.x, textPos.y, textPos.x + text.cx, textPos.y + text.cy};
    result.TextFormat = format;
    return result;
}

// ---------------------------------------------------------------- drawing

void DrawButtonFace(HDC dc, const RECT& rect, int frameCount, int frame, const TDataSkinObject& element) {
    PaintSkinImage(dc, rect, element.Image, MarginsOf(element), frame, frameCount, element.Trans == 1,
                   element.Tile != 0, false);
}

void DrawGlyph(TCanvas& canvas, POINT position, int numGlyphs, int glyph, const TBitmap& strip) {
    if (strip.Empty()) return;
    const int w = strip.Width() / GlyphCount(numGlyphs), h = strip.Height();
    if (w <= 0) return;
    TBitmap picture;
    picture.SetPixelFormat(TPixelFormat::pf24bit);
    picture.SetSize(w, h);
    strip.DrawPart(picture.Canvas()->BareHandle(), RECT{0, 0, w, h}, RECT{w * (glyph - 1), 0, w * glyph, h});
    picture.SetTransparentColor(picture.Canvas()->Pixel(0, h - 1));
    picture.SetTransparent(true);
    canvas.Draw(position.x, position.y, picture);
}

// ------------------------------------------------------------ TSkinButton

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) { Buffer.SetPixelFormat(TPixelFormat::pf24bit); }

TSkinButton::~TSkinButton() = default;

bool TSkinButton::HasButtonImage() const { return SkinData != nullptr && !SkinData->Buttons.Image.Empty(); }

TColor TSkinButton::TextColour(TButtonFrame frame) const {
    const TDataSkinButton& buttons = SkinData->Buttons;
    switch (frame) {
    case TButtonFrame::Normal: return buttons.NormalColour2;
    case TButtonFrame::Hot: return buttons.MouseOverColour2;
    case TButtonFrame::Pressed: return buttons.PressedColour2;
    case TButtonFrame::Disabled: return clBtnShadow;
    }
    return SkinData->ButtonTextColour;
}

bool TSkinButton::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        // Without the image the button paints itself, or nothing would show.
        if (!HasButtonImage()) return true;
        HandlePaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        if (!HasButtonImage()) return true;
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Focused) SetFocus(Handle);
        MouseState.Pressed = true;
        PaintControl(nullptr);
        return false;
    default:
        return true;
    }
}

void TSkinButton::AfterMessage(TMessage& message) {
    TSkinControlHost* host = Host();
    switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        // The button's own Space handling, which ran first, makes the click.
        if (message.WParam == VK_SPACE) {
            MouseState.Pressed = message.Msg == WM_KEYDOWN;
            RepaintControl();
        }
        return;
    case WM_MOUSEMOVE:
        if (MouseState.Hot) return;
        MouseState.Hot = true;
        if (host != nullptr && host->HotControl != nullptr && host->HotControl != this)
            host->HotControl->SendMouseLeave();
        if (host == nullptr || host->HotControl != this) {
            RepaintControl();
            if (host != nullptr) host->HotControl = this;
        }
        return;
    case WM_LBUTTONUP: {
        if (!MouseState.Pressed) return;
        MouseState.Pressed = false;
        RepaintControl();
        HWND parent = GetParent(Handle);
        // A framework button is found by its handle; a raw one by its identifier.
        const WPARAM command = Control != nullptr ? 0 : MAKEWPARAM(GetDlgCtrlID(Handle), 0);
        if (parent != nullptr) PostMessageA(parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(Handle));
        return;
    }
    case CM_MOUSEENTER:
        if (!Enabled) return;
        MouseState.Hot = true;
        RepaintControl();
        if (host != nullptr) host->HotControl = this;
        return;
    case CM_MOUSELEAVE:
        if (!Enabled) return;
        MouseState.Hot = false;
        MouseState.Pressed = false;
        RepaintControl();
        if (host != nullptr && host->HotControl == this) host->HotControl = nullptr;
        return;
    default:
        // Text, enable and focus changes (the button paints itself during the
        // first two) are followed by the base's repaint.
        TSkinControl::AfterMessage(message);
    }
}

void TSkinButton::DrawControl(HDC dc, const RECT& rect) {
    if (!HasButtonImage()) return;
    Focused = FocusedNow();
    Enabled = EnabledNow();
    Text = WindowText(Handle);
    if (Text.empty() && Control != nullptr) Text = Control->Text();
    const TButtonFrame frame = PushButtonFrame(Focused, MouseState.Hot, MouseState.Pressed, Enabled);

    const RECT r{0, 0, Width(rect), Height(rect)};
    Buffer.SetSize(r.right, r.bottom);
    TCanvas& canvas = *Buffer.Canvas();
    FillFace(canvas.Handle(), r);
    DrawButtonFace(canvas.Handle(), r, 5, static_cast<int>(frame), SkinData->Buttons);
    AssignWindowFont(*canvas.Font(), Handle);
    canvas.Font()->SetColor(TextColour(frame));
    DrawCaptionText(canvas, r, TCaptionTextAlign::Centre, Enabled, Text);
    BitBlt(dc, rect.left, rect.top, r.right, r.bottom, canvas.Handle(), 0, 0, SRCCOPY);
}

// --------------------------------------------------------- TSkinBitButton

void TSkinBitButton::AttachBitButton(TGraphicControl* control, TSkinData* skinData, TCanvas* canvas) {
    SkinData = skinData;
    Canvas = canvas;
    GraphicControl = control;
    OldWindowProc = control->WindowProc;
    control->WindowProc = [this](TMessage& message) { ControlWindowProc(message); };
    control->FreeNotification(this);
    if (TSkinControlHost* host = Host()) host->ControlSkins.push_back(this);
}

void TSkinBitButton::Notification(TComponent* component, TOperation operation) {
    TSkinButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == GraphicControl) {
        GraphicControl = nullptr;
        OldWindowProc = nullptr;
    }
}

void TSkinBitButton::DrawControl(HDC dc, const RECT& rect) {
    if (!HasButtonImage()) return;
    Focused = Control != nullptr ? Control->Focused() : FocusedNow();
    Enabled = Control != nullptr ? Control->Enabled() : EnabledNow();
    Text = WindowText(Handle);
    const TButtonFrame frame = PushButtonFrame(Focused, MouseState.Hot, MouseState.Pressed, Enabled);

    const RECT r{0, 0, Width(rect), Height(rect)};
    Buffer.SetSize(r.right, r.bottom);
    TCanvas& canvas = *Buffer.Canvas();
    AssignWindowFont(*canvas.Font(), Handle);
    HDC buffer = canvas.Handle();
    FillFace(buffer, r);
    const TDataSkinButton& buttons = SkinData->Buttons;
    DrawButtonFace(buffer, r, buttons.FrameCount, static_cast<int>(frame), buttons);

    const auto* properties = dynamic_cast<const TGlyphProperties*>(Control);
    const SIZE client{r.right, r.bottom};
    const TGlyphLayout layout =
        LayoutGlyphAndText(client, GlyphSize(properties), TextSize(buffer, Text, client),
                           properties != nullptr ? properties->Layout : TButtonLayout::blGlyphLeft,
                           properties != nullptr ? properties->Margin : -1,
                           properties != nullptr ? properties->Spacing : 4, false);
    if (properties != nullptr) DrawGlyph(canvas, layout.GlyphPos, properties->NumGlyphs, 1, *properties->Glyph());
    buffer = canvas.Handle();
    SetBkMode(buffer, TRANSPARENT);
    SetTextColor(buffer, ColorToRGB(TextColour(frame)));
    RECT textRect = layout.TextRect;
    DrawTextA(buffer, Text.c_str(), static_cast<int>(Text.size()), &textRect, layout.TextFormat);
    BitBlt(dc, rect.left, rect.top, r.right, r.bottom, buffer, 0, 0, SRCCOPY);
}

// ------------------------------------------------------- TSkinSpeedButton

TSkinSpeedButton::~TSkinSpeedButton() { GiveWindowProcBack(); }

void TSkinSpeedButton::GiveWindowProcBack() {
    if (!OldWindowProc) return;
    if (GraphicControl != nullptr) GraphicControl->WindowProc = OldWindowProc;
    OldWindowProc = nullptr;
}

void TSkinSpeedButton::DetachControl() {
    const bool attached = static_cast<bool>(OldWindowProc);
    GiveWindowProcBack();
    // The skin's picture would otherwise stay.
    if (attached && GraphicControl != nullptr) GraphicControl->Invalidate();
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: {
        if (!HasButtonImage() || GraphicControl == nullptr) return true;
        TCanvas canvas(reinterpret_cast<HDC>(message.WParam));
        DrawSpeedButton(canvas, RECT{0, 0, GraphicControl->Width(), GraphicControl->Height()});
        message.Result = 1;
        return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallOldWindowProc(message);
        MouseState.Pressed = true;
        PaintControl(nullptr);
        return false;
    default:
        TSkinButton::BeforeMessage(message);  // its answer does not count here
        return true;
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE:
        GiveWindowProcBack();
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            MouseState.Pressed = message.Msg == WM_KEYDOWN;
            PaintControl(nullptr);
        }
        return;
    case WM_LBUTTONUP:
        MouseState.Pressed = false;
        PaintControl(nullptr);
        return;
    case CM_MOUSEENTER:
        MouseState.Hot = true;
        PaintControl(nullptr);
        return;
    case CM_MOUSELEAVE:
        MouseState.Hot = false;
        MouseState.Pressed = false;
        if (GraphicControl != nullptr && GraphicControl->Visible()) PaintControl(nullptr);
        return;
    default:
        TSkinButton::AfterMessage(message);
    }
}

void TSkinSpeedButton::PaintControl(HDC dc) {
    (void)dc;
    if (GraphicControl == nullptr) return;
    GraphicControlDc place(*GraphicControl);
    if (place.Get() == nullptr) return;
    try {
        TCanvas canvas(place.Get());
        DrawSpeedButton(canvas, RECT{0, 0, GraphicControl->Width(), GraphicControl->Height()});
    } catch (...) {
        // As every skin's own repaint: a failed drawing leaves the button as it was.
    }
}

void TSkinSpeedButton::DrawSpeedButton(TCanvas& canvas, const RECT& rect) {
    if (!HasButtonImage() || GraphicControl == nullptr) return;
    const auto* speed = dynamic_cast<const TSpeedButton*>(GraphicControl);
    const auto* properties = dynamic_cast<const TGlyphProperties*>(GraphicControl);
    Enabled = GraphicControl->Enabled();
    const TButtonFrame frame =
        SpeedButtonFrame(MouseState.Hot, MouseState.Pressed, Enabled, speed != nullptr && speed->Down());
    const int glyphs = properties != nullptr ? GlyphCount(properties->NumGlyphs) : 1;

    const RECT r{0, 0, Width(rect), Height(rect)};
    TBitmap& work = ScratchBitmap();
    work.SetSize(r.right, r.bottom);
    TCanvas& workCanvas = *work.Canvas();
    workCanvas.Font()->Assign(GraphicControl->Font());
    FillFace(workCanvas.Handle(), r);
    const TDataSkinButton& buttons = SkinData->Buttons;
    DrawButtonFace(workCanvas.Handle(), r, buttons.FrameCount, static_cast<int>(frame), buttons);

    const std::string caption = GraphicControl->Caption();
    const SIZE client{r.right, r.bottom};
    const SIZE glyph = GlyphSize(properties);
    if (glyph.cx > 0) {
        const SIZE text = TextSize(workCanvas.Handle(), caption, client);
        const TGlyphLayout layout = LayoutGlyphAndText(client, glyph, text, properties->Layout, properties->Margin,
                                                       properties->Spacing, true);
        DrawGlyph(workCanvas, layout.GlyphPos, properties->NumGlyphs, SpeedButtonGlyph(frame, glyphs),
                  *properties->Glyph());
        workCanvas.Font()->SetColor(TextColour(frame));
        HDC workDc = workCanvas.Handle();
        SetBkMode(workDc, TRANSPARENT);
        RECT textRect = layout.TextRect;
        DrawTextA(workDc, caption.c_str(), static_cast<int>(caption.size()), &textRect, layout.TextFormat);
    } else {
        DrawCaptionText(workCanvas, r, TCaptionTextAlign::Centre, Enabled, caption);
    }
    BitBlt(canvas.BareHandle(), rect.left, rect.top, r.right, r.bottom, workCanvas.Handle(), 0, 0, SRCCOPY);
}

}  // namespace pellix
