// Control skins of edits and combo boxes. Both let the control paint itself
// and then draw over its frame: the edit's border in the skin's shadow
// colour (and a spin edit's arrows as skinned up-down arrows), the combo
// box's drop-down button and sunken edge from the skin's images.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/SkinUpDown.h"
#include "skin/WinSubClass.h"

namespace pellix {

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinEdit"; }

    // Keeps the print context's state before WM_PRINT reaches the edit.
    bool BeforeMessage(TMessage& message) override;
    // Draws the border after the edit's own paint on the window's context,
    // and after WM_PRINT on the print context.
    void AfterMessage(TMessage& message) override;
    // A bordered edit's outermost ring in the shadow colour, the ring inside
    // it white.
    void DrawControl(HDC dc, const RECT& rect) override;
    // Skins the spin arrows among the edit's child windows, once found.
    void FindSpinButton();
    // The border on a print context: the ring inside in the brush the context
    // holds, the outermost in the shadow colour; only for a frame wider than
    // a one-pixel line.
    void PaintEditBorder(HDC dc, const RECT& rect);

    // The spin arrows' skin; the host owns it. None until found.
    TSkinUpDown* UpDownSkin = nullptr;

private:
    void PrintEditBorder(HDC dc);
    // Saved print-context states, one per WM_PRINT in progress.
    std::vector<int> printSaved_;
    // The edit has a frame: one the system keeps outside the client area, or
    // a framework edit's one-pixel line, which the system draws inside it.
    bool HasBorder(const RECT& client, const RECT& rect) const;
};

// The frame of the "ComboButton" and "ExtraImages" strips a combo box shows:
// 2 pressed, 4 hot or focused, 3 disabled, 1 normal, first match first.
int ComboFrame(bool pressed, bool hot, bool focused, bool enabled);

class TSkinComBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinComBox"; }

    // Pressed from the left button, hot from the framework's mouse enter and
    // leave while enabled; each change is drawn at once.
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    // "ComboButton" style 1: a flat frame and button.
    void DrawFlatComboButton(HDC dc, const RECT& rect);
    int StateFrame();
};

}  // namespace pellix
