// Control skins of check boxes and radio buttons. The control paints its
// text, focus and background itself; after every paint the skin draws the
// box or circle from the skin's check or radio strip over the control's own.
#pragma once

#include <windows.h>

#include "skin/WinSubClass.h"

namespace pellix {

// The frame of a check or radio strip of frameCount frames: 1 unchecked,
// 2 checked, 3 and 4 the same disabled. A disabled frame the strip lacks
// falls back on the enabled one; 0 when the strip has no frame to show.
int CheckFrame(bool checked, bool disabled, int frameCount);
// Where a box of frameWidth x frameHeight goes in a control's rect: centred
// vertically, in a 14-pixel slot at the left edge, or at the right edge
// when the text is on the left.
RECT CheckBoxRect(const RECT& rect, int frameWidth, int frameHeight, bool leftText);

// Both skins let every message reach the control.
class TSkinCheckBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinCheckBox"; }

    bool BeforeMessage(TMessage& message) override;
    // Repaints after a check change and the mouse buttons.
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
};

class TSkinRadioButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinRadioButton"; }

    // Repaints after a check change and the mouse buttons.
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
};

}  // namespace pellix
