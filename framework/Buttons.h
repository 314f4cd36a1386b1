// Buttons with a glyph: bit buttons and speed buttons.
#pragma once

#include <memory>

#include "framework/Graphics.h"
#include "framework/StdCtrls.h"

namespace pellix {

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// Where the glyph sits against the caption.
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The glyph of a bit or speed button: a strip of NumGlyphs pictures side by
// side (up, disabled, down, ...) whose bottom-left pixel's colour is
// transparent. Margin -1 centres glyph and caption together; Spacing -1
// centres the caption in the room the glyph leaves.
class TGlyphProperties {
public:
    TGlyphProperties();
    virtual ~TGlyphProperties();
    TBitmap* Glyph() const { return glyph_.get(); }
    int NumGlyphs = 1;
    TButtonLayout Layout = TButtonLayout::blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;

private:
    std::unique_ptr<TBitmap> glyph_;
};

// The glyph is drawn only by a skin; the system button shows the caption.
class TBitBtn : public TButton, public TGlyphProperties {
public:
    explicit TBitBtn(TComponent* owner);
    std::string ClassName() const override { return "TBitBtn"; }

    TBitBtnKind Kind() const { return kind_; }
    // A kind gives the button its usual caption and modal result.
    void SetKind(TBitBtnKind kind);
    // The close kind closes its form instead of running OnClick.
    void Click() override;

private:
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

// A windowless button, painted by its parent. With a GroupIndex it stays
// down once clicked, until another button of the group goes down (or, with
// AllowAllUp, a second click); Down also sets it.
class TSpeedButton : public TGraphicControl, public TGlyphProperties {
public:
    explicit TSpeedButton(TComponent* owner);
    std::string ClassName() const override { return "TSpeedButton"; }

    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex = 0;
    bool AllowAllUp = false;

    void Paint(HDC dc) override;
    // OnClick.
    void Click() override { TGraphicControl::Click(); }

protected:
    // The press and release of the left button.
    void Dispatch(TMessage& message) override;

private:
    void Released(POINT at);

    bool down_ = false;
    bool pressed_ = false;  // the left button is held down on it
};

void RegisterButtonsClasses();

}  // namespace pellix
