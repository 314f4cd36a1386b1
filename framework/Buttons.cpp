#include "framework/Buttons.h"

#include <vector>

#include "framework/FormLoader.h"

namespace pellix {

namespace {

struct KindDefaults {
    const char* caption;
    int modalResult;
};

// Captions and modal results (mrOk 1, mrCancel 2, mrAbort 3, mrRetry 4,
// mrIgnore 5, mrYes 6, mrNo 7, mrAll 8) of the predefined kinds.
const KindDefaults kKinds[] = {
    {"", 0},       {"OK", 1},        {"Cancel", 2}, {"&Help", 0},   {"&Yes", 6},  {"&No", 7},
    {"&Close", 0}, {"Abort", 3},     {"&Retry", 4}, {"&Ignore", 5}, {"&All", 8},
};

}  // namespace

TGlyphProperties::TGlyphProperties() : glyph_(std::make_unique<TBitmap>()) {}

TGlyphProperties::~TGlyphProperties() = default;

// ----------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    const KindDefaults& d = kKinds[static_cast<int>(kind)];
    if (kind != TBitBtnKind::bkCustom) {
        if (Caption().empty()) SetCaption(d.caption);
        ModalResult = d.modalResult;
    }
}

void TBitBtn::Click() {
    if (kind_ == TBitBtnKind::bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}

// ------------------------------------------------------------ TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBoundsFields(0, 0, 23, 22); }

void TSpeedButton::SetDown(bool down) {
    if (GroupIndex == 0) down = false;
    if (down == down_) return;
    down_ = down;
    if (down && Parent() != nullptr) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            if (other != nullptr && other != this && other->GroupIndex == GroupIndex) other->SetDown(false);
        }
    }
    Invalidate();
}

void TSpeedButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        Invalidate();
        message.Result = 0;
        return;
    case WM_LBUTTONUP:
        message.Result = 0;
        if (pressed_) Released(POINT{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))});
        return;
    default:
        TGraphicControl::Dispatch(message);
    }
}

void TSpeedButton::Released(POINT at) {
    pressed_ = false;
    Invalidate();
    const RECT bounds{0, 0, Width(), Height()};
    if (!PtInRect(&bounds, at)) return;
    if (GroupIndex != 0) SetDown(!down_ || !AllowAllUp);
    Click();
}

void TSpeedButton::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    const bool sunk = down_ || pressed_;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunk ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));
    if (sunk) OffsetRect(&r, 1, 1);
    // Glyph and caption side by side in the middle.
    const TBitmap& glyph = *Glyph();
    const int glyphWidth = glyph.Empty() ? 0 : glyph.Width() / (NumGlyphs > 0 ? NumGlyphs : 1);
    const std::string caption = Caption();
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    RECT text{0, 0, 0, 0};
    if (!caption.empty()) DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    const int gap = glyphWidth > 0 && !caption.empty() ? 4 : 0;
    int x = r.left + (Width() - glyphWidth - gap - text.right) / 2;
    if (glyphWidth > 0) {
        TBitmap frame;
        frame.SetPixelFormat(TPixelFormat::pf24bit);
        frame.SetSize(glyphWidth, glyph.Height());
        glyph.DrawPart(frame.Canvas()->Handle(), {0, 0, glyphWidth, glyph.Height()}, {0, 0, glyphWidth, glyph.Height()});
        frame.SetTransparent(true);
        TCanvas canvas(dc);
        canvas.Draw(x, r.top + (Height() - glyph.Height()) / 2, frame);
        x += glyphWidth + gap;
    }
    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clBtnShadow));
        RECT place{x, r.top + (Height() - text.bottom) / 2, x + text.right, r.top + (Height() + text.bottom) / 2};
        DrawTextA(dc, caption.c_str(), -1, &place, DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
}

// ------------------------------------------------------------ registration

namespace {

template <class T>
ClassInfo& GlyphProperties(ClassInfo& info) {
    return info
        .Property("Glyph", Prop<T>([](T& b, const FormValue& v, LoadContext& x) {
            if (v.kind != FormValue::Kind::FileRef) x.Fail(v.line, "expected a bitmap file, as @'name.bmp'");
            std::vector<uint8_t> bytes = x.Binary(v);
            TMemoryStream stream;
            stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
            stream.SetPosition(0);
            b.Glyph()->LoadFromStream(stream);
        }))
        .Property("NumGlyphs", Prop<T>([](T& b, const FormValue& v, LoadContext& x) { b.NumGlyphs = x.Int(v); }))
        .Property("Layout", Prop<T>([](T& b, const FormValue& v, LoadContext& x) {
            b.Layout = static_cast<TButtonLayout>(x.Enum(v, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}));
        }))
        .Property("Margin", Prop<T>([](T& b, const FormValue& v, LoadContext& x) { b.Margin = x.Int(v); }))
        .Property("Spacing", Prop<T>([](T& b, const FormValue& v, LoadContext& x) { b.Spacing = x.Int(v); }));
}

}  // namespace

void RegisterButtonsClasses() {
    GlyphProperties<TBitBtn>(RegisterClassInfo("TBitBtn", "TButton", Factory<TBitBtn>()))
        .Property("Kind", Prop<TBitBtn>([](TBitBtn& b, const FormValue& v, LoadContext& x) {
            b.SetKind(static_cast<TBitBtnKind>(x.Enum(
                v, {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"})));
        }));
    GlyphProperties<TSpeedButton>(RegisterClassInfo("TSpeedButton", "TGraphicControl", Factory<TSpeedButton>()))
        .Property("GroupIndex", Prop<TSpeedButton>([](TSpeedButton& b, const FormValue& v, LoadContext& x) { b.GroupIndex = x.Int(v); }))
        .Property("AllowAllUp", Prop<TSpeedButton>([](TSpeedButton& b, const FormValue& v, LoadContext& x) { b.AllowAllUp = x.Bool(v); }))
        .Property("Down", Prop<TSpeedButton>([](TSpeedButton& b, const FormValue& v, LoadContext& x) { b.SetDown(x.Bool(v)); }));
}

}  // namespace pellix
