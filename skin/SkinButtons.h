// Control skins of push buttons, bit buttons and speed buttons: the skin's
// "Buttons" image drawn nine-part in one of its frames, with the caption
// (and the glyph) over it. They take the painting over completely; the
// push-button skin also takes the press over and makes the click itself.
#pragma once

#include <windows.h>

#include "framework/Buttons.h"
#include "skin/SkinRecords.h"
#include "skin/WinSubClass.h"

namespace pellix {

// Frames of the "Buttons" image; frame 5 is not used by buttons.
enum class TButtonFrame { Normal = 1, Pressed = 2, Disabled = 3, Hot = 4 };

// A push or bit button: focus shows hot, a press beats hot, disabled beats all.
TButtonFrame PushButtonFrame(bool focused, bool hot, bool pressed, bool enabled);
// A speed button: a press beats hot, disabled beats both, and a button that
// is down shows pressed even when disabled.
TButtonFrame SpeedButtonFrame(bool hot, bool pressed, bool enabled, bool down);
// The glyph a speed button shows in a frame (up 1, disabled 2, down 3),
// glyph 1 when the strip holds fewer.
int SpeedButtonGlyph(TButtonFrame frame, int numGlyphs);
// A button's NumGlyphs as drawn: its low 7 bits, at least 1.
int GlyphCount(int numGlyphs);

// Where a button's glyph and caption go, in client coordinates.
struct TGlyphLayout {
    POINT GlyphPos;
    RECT TextRect;
    UINT TextFormat;  // DT_LEFT, DT_RIGHT or DT_CENTER
};
// Glyph and caption laid out in a client area. A glyph or text size of 0 x 0
// stands for none. Margin and Spacing -1 share the free room out as the
// button's properties say; speedButton moves an automatic margin one pixel.
TGlyphLayout LayoutGlyphAndText(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                                bool speedButton);

// Frame `frame` of `frameCount` of the element's image, nine-part at rect,
// keyed with magenta when the element's Trans is 1.
void DrawButtonFace(HDC dc, const RECT& rect, int frameCount, int frame, const TDataSkinObject& element);
// Glyph `glyph` (from 1) of a strip of numGlyphs, at position, its
// bottom-left pixel's colour left out. Nothing for an empty strip.
void DrawGlyph(TCanvas& canvas, POINT position, int numGlyphs, int glyph, const TBitmap& strip);

class TSkinButton : public TSkinControl {
public:
    explicit TSkinButton(TComponent* owner);
    ~TSkinButton() override;
    std::string ClassName() const override { return "TSkinButton"; }

    // Paints itself (while the skin has a "Buttons" image) and keeps the
    // press: the button never captures the mouse nor clicks by itself.
    bool BeforeMessage(TMessage& message) override;
    // Pressed and hot states from Space, the mouse and the host's hot
    // control; the click command on release.
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The off-screen picture of the button.
    TBitmap Buffer;

protected:
    // A "Buttons" image to draw from.
    bool HasButtonImage() const;
    // The caption's colour in a frame.
    TColor TextColour(TButtonFrame frame) const;
};

class TSkinBitButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;
    std::string ClassName() const override { return "TSkinBitButton"; }

    void DrawControl(HDC dc, const RECT& rect) override;
    // Takes over a windowless control's WindowProc and joins the host's
    // ControlSkins; Handle stays 0, no colour changes.
    void AttachBitButton(TGraphicControl* control, TSkinData* skinData, TCanvas* canvas);

protected:
    // A windowless control freed while attached is forgotten.
    void Notification(TComponent* component, TOperation operation) override;
};

class TSkinSpeedButton : public TSkinBitButton {
public:
    using TSkinBitButton::TSkinBitButton;
    // Gives the speed button its WindowProc back first.
    ~TSkinSpeedButton() override;
    std::string ClassName() const override { return "TSkinSpeedButton"; }

    // Gives the speed button its WindowProc back and repaints it.
    void DetachControl() override;
    // Paints itself (while the skin has a "Buttons" image); a press reaches
    // the speed button first, which keeps its own state and group.
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    // Draws on the speed button where its parent shows it; dc is not used.
    void PaintControl(HDC dc) override;
    // The whole speed button on canvas at rect.
    void DrawSpeedButton(TCanvas& canvas, const RECT& rect);

private:
    void GiveWindowProcBack();
};

}  // namespace pellix
