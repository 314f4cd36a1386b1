#include "framework/Graphics.h"

#include <cstring>

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
    {"clCaptionText", clCaptionText},
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

void TFont::Changed() {
    ReleaseHandle();
    if (OnChange) OnChange(this);
}

}  // namespace pellix
