#include "skin/SkinEdits.h"

#include <cstring>
#include <optional>

#include "framework/StdCtrls.h"
#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"

namespace pellix {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void FrameIn(HDC dc, const RECT& rect, TColor colour) {
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(colour)));
    if (brush) FrameRect(dc, &rect, brush.get());
}

// The brush the context holds: a fresh window context's is white.
HBRUSH CurrentBrush(HDC dc) { return static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)); }

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

bool IsSpinButtonClass(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return std::strcmp(name, "msctls_updown32") == 0 || std::strcmp(name, "TSpinButton") == 0;
}

}  // namespace

// --------------------------------------------------------------- TSkinEdit

bool TSkinEdit::BeforeMessage(TMessage& message) {
    // The edit leaves a print context clipped to its text area; the border
    // is drawn once the caller's state is back.
    if (message.Msg == WM_PRINT && message.WParam != 0) {
        printSaved_.push_back(SaveDC(reinterpret_cast<HDC>(message.WParam)));
    }
    return true;
}

void TSkinEdit::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        // A paint into someone else's context is theirs.
        if (message.WParam == 0) PaintControl(nullptr);
        return;
    case WM_PRINT:
        if (message.WParam != 0 && !printSaved_.empty()) {
            RestoreDC(reinterpret_cast<HDC>(message.WParam), printSaved_.back());
            printSaved_.pop_back();
        }
        PrintEditBorder(reinterpret_cast<HDC>(message.WParam));
        return;
    default:
        TSkinControl::AfterMessage(message);
    }
}

bool TSkinEdit::HasBorder(const RECT& client, const RECT& rect) const {
    if (Width(client) != Width(rect) && Height(client) != Height(rect)) return true;
    // The system draws a one-pixel line inside the client area and takes
    // WS_BORDER off the style: only the framework edit knows of it.
    const auto* edit = dynamic_cast<const TCustomEdit*>(TWinControl::FromHandle(Handle));
    return edit != nullptr && edit->HasSingleLineBorder();
}

void TSkinEdit::DrawControl(HDC dc, const RECT& rect) {
    if (UpDownSkin == nullptr) FindSpinButton();
    RECT client;
    if (SkinData == nullptr || !GetClientRect(Handle, &client) || !HasBorder(client, rect)) return;
    FrameIn(dc, rect, SkinData->ButtonShadowColour);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    FrameIn(dc, inner, clWhite);
}

void TSkinEdit::FindSpinButton() {
    for (HWND child = GetTopWindow(Handle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsSpinButtonClass(child)) continue;
        // The host owns it, as every skin it holds; it lives as long as the host.
        auto* skin = new TSkinUpDown(Owner() != nullptr ? Owner() : this);
        skin->Inset = true;
        skin->AttachHandle(child, SkinData, Canvas);
        UpDownSkin = skin;
        return;
    }
}

void TSkinEdit::PrintEditBorder(HDC dc) {
    if (Handle == nullptr || !GetWindowRect(Handle, &WindowRect)) return;
    RECT r = WindowRect;
    OffsetRect(&r, -WindowRect.left, -WindowRect.top);
    std::optional<WindowDc> own;
    if (dc == nullptr) {
        own.emplace(Handle);
        dc = own->Get();
        if (dc == nullptr) return;
    }
    PaintEditBorder(dc, r);
}

void TSkinEdit::PaintEditBorder(HDC dc, const RECT& rect) {
    RECT client;
    if (SkinData == nullptr || !GetClientRect(Handle, &client)) return;
    if (Width(client) + 2 >= Width(rect) || Height(client) + 2 >= Height(rect)) return;
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, CurrentBrush(dc));
    if (Canvas == nullptr) return FrameIn(dc, rect, SkinData->ButtonShadowColour);
    TCanvasBinding binding(*Canvas, dc);
    const TColor saved = Canvas->Brush()->Color();
    Canvas->Brush()->SetColor(SkinData->ButtonShadowColour);
    Canvas->FrameRect(rect);
    Canvas->Brush()->SetColor(saved);
}

// ------------------------------------------------------------- TSkinComBox

int ComboFrame(bool pressed, bool hot, bool focused, bool enabled) {
    if (pressed) return 2;
    if (hot || focused) return 4;
    if (!enabled) return 3;
    return 1;
}

void TSkinComBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseState.Pressed = true;
        PaintControl(nullptr);
        return;
    case WM_LBUTTONUP:
        MouseState.Pressed = false;
        PaintControl(nullptr);
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (!Enabled) return;
        MouseState.Hot = message.Msg == CM_MOUSEENTER;
        PaintControl(nullptr);
        return;
    default:
        TSkinControl::AfterMessage(message);
    }
}

int TSkinComBox::StateFrame() {
    Focused = FocusedNow();
    Enabled = (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    return ComboFrame(MouseState.Pressed, MouseState.Hot, Focused, Enabled);
}

void TSkinComBox::DrawControl(HDC dc, const RECT& rect) {
    if (SkinData == nullptr) return;
    const TDataSkinObject* button = SkinData->ComboButton.get();
    if (button == nullptr || button->Image.Empty()) return;
    if (button->Style == 1) return DrawFlatComboButton(dc, rect);
    const TDataSkinObject* sunk = SkinData->SunkEdge.get();
    if (sunk == nullptr || sunk->Image.Empty()) return;
    const int frame = StateFrame();

    RECT ring = rect;
    InflateRect(&ring, -1, -1);
    FrameRect(dc, &ring, CurrentBrush(dc));

    const RECT b{rect.right - (GetSystemMetrics(SM_CXHSCROLL) + 2), rect.top, rect.right, rect.bottom};
    FillFace(dc, b);
    DrawStripFrameScratch(*this, dc, b, button->FrameCount, frame, button->Image);

    const TDataSkinObject* extra = SkinData->ExtraImages.get();
    if (extra != nullptr && !extra->Image.Empty() && extra->FrameCount > 0) {
        const int gw = extra->Image.Width() / extra->FrameCount, gh = extra->Image.Height();
        const int left = b.left + (Width(b) - gw) / 2, top = rect.top + (Height(rect) - gh) / 2;
        DrawStripFrame(dc, RECT{left, top, left + gw, top + gh}, extra->FrameCount, frame, extra->Image);
    }

    // The left, top and bottom edges from the first frame of the sunken edge;
    // the button covers the right side.
    const int fw = sunk->FrameCount > 0 ? sunk->Image.Width() / sunk->FrameCount : sunk->Image.Width();
    const int h = sunk->Image.Height();
    const int l = sunk->LeftWidth, t = sunk->TopHeight, r = sunk->RightWidth, bm = sunk->BottomHeight;
    const int tl = l >= 2 ? 2 : 1, tt = t >= 2 ? 2 : 1, tb = bm >= 2 ? 2 : 1;
    struct Piece {
        RECT dest, source;
    };
    const Piece pieces[] = {
        {{rect.left, rect.top, rect.left + tl, rect.bottom}, {0, t, l, h - bm}},
        {{rect.left, rect.top, b.left, rect.top + tt}, {l, 0, fw - r, t}},
        {{rect.left, rect.top, rect.left + tt, rect.top + tt}, {0, 0, l, t}},
        {{rect.left, rect.bottom - tb, b.left, rect.bottom}, {l, h - bm, fw - r, h}},
        {{rect.left, rect.bottom - tb, rect.left + tb, rect.bottom}, {0, h - bm, l, h}},
    };
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    for (const Piece& piece : pieces) sunk->Image.DrawPart(dc, piece.dest, piece.source);
    SetStretchBltMode(dc, oldMode);
}

void TSkinComBox::DrawFlatComboButton(HDC dc, const RECT& rect) {
    const TDataSkinObject& button = *SkinData->ComboButton;
    const int frame = StateFrame();
    HBRUSH current = CurrentBrush(dc);
    RECT ring = rect;
    InflateRect(&ring, -1, -1);
    FrameRect(dc, &ring, current);
    RECT inner = ring;
    InflateRect(&inner, -1, -1);
    const RECT b{inner.right - GetSystemMetrics(SM_CYVTHUMB), inner.top, inner.right, inner.bottom};
    FillRect(dc, &b, current);
    if (button.FrameCount > 0) {
        const int w = button.Image.Width() / button.FrameCount;
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        button.Image.DrawPart(dc, b, RECT{w * (frame - 1), 0, w * frame, button.Image.Height()});
        SetStretchBltMode(dc, oldMode);
    }
    FrameIn(dc, rect, SkinData->ButtonShadowColour);
}

}  // namespace pellix
