#include "skin/SkinCheckBoxes.h"

#include <algorithm>
#include <iterator>

#include "framework/StdCtrls.h"
#include "skin/WinSkinData.h"

namespace pellix {

namespace {

// The two kinds differ only in their strip and how the window reports its state.
struct TBoxKind {
    TBitmap TDataSkinButton::*Image;
    int32_t TDataSkinButton::*FrameCount;
    UINT StateMessage;
};
constexpr TBoxKind kCheckBox{&TDataSkinButton::CheckButtonImage, &TDataSkinButton::CheckButtonFrame, BM_GETSTATE};
constexpr TBoxKind kRadioButton{&TDataSkinButton::RadioButtonImage, &TDataSkinButton::RadioButtonFrame, BM_GETCHECK};

// After these the control has painted its box again (a check change, a press
// or a release), or is asked to show anew (0xB0D0): the skin's box follows.
constexpr UINT kRepaintAfter[] = {BM_SETCHECK, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, 0xB0D0};

bool RepaintsAfter(UINT msg) {
    return std::find(std::begin(kRepaintAfter), std::end(kRepaintAfter), msg) != std::end(kRepaintAfter);
}

// A framework control's own state wins over the window's.
bool IsChecked(const TSkinControl& skin, const TBoxKind& kind) {
    if (const auto* box = dynamic_cast<const TCustomCheckBox*>(skin.Control)) return box->Checked();
    if (const auto* radio = dynamic_cast<const TRadioButton*>(skin.Control)) return radio->Checked();
    return (SendMessageA(skin.Handle, kind.StateMessage, 0, 0) & BST_CHECKED) != 0;
}

void DrawBox(TSkinControl& skin, HDC dc, const RECT& rect, const TBoxKind& kind) {
    if (skin.SkinData == nullptr) return;
    const TDataSkinButton& buttons = skin.SkinData->Buttons;
    const TBitmap& strip = buttons.*kind.Image;
    if (strip.Empty()) return;
    const int frameCount = buttons.*kind.FrameCount;
    const LONG_PTR style = GetWindowLongPtrA(skin.Handle, GWL_STYLE);
    const int frame = CheckFrame(IsChecked(skin, kind), (style & WS_DISABLED) != 0, frameCount);
    if (frame == 0) return;
    const RECT box = CheckBoxRect(rect, strip.Width() / frameCount, strip.Height(), (style & BS_LEFTTEXT) != 0);
    skin.FillFace(dc, box);
    DrawStripFrameScratch(skin, dc, box, frameCount, frame, strip);
}

}  // namespace

int CheckFrame(bool checked, bool disabled, int frameCount) {
    if (frameCount < 1) return 0;
    int frame = checked ? 2 : 1;
    if (disabled && frame + 2 <= frameCount) frame += 2;
    return frame <= frameCount ? frame : 0;
}

RECT CheckBoxRect(const RECT& rect, int frameWidth, int frameHeight, bool leftText) {
    RECT box;
    box.top = rect.top + (rect.bottom - rect.top - frameHeight) / 2;
    box.bottom = box.top + frameHeight;
    if (!leftText) {
        box.left = frameWidth > 14 ? rect.left : rect.left + (14 - frameWidth) / 2;
        box.right = box.left + frameWidth;
    } else {
        box.right = frameWidth > 14 ? rect.right - 1 : rect.right - (14 - frameWidth) / 2;
        box.left = box.right - frameWidth;
    }
    return box;
}

// ---------------------------------------------------------- TSkinCheckBox

bool TSkinCheckBox::BeforeMessage(TMessage& message) {
    (void)message;
    return true;
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
    if (RepaintsAfter(message.Msg)) return RepaintControl();
    TSkinControl::AfterMessage(message);
}

void TSkinCheckBox::DrawControl(HDC dc, const RECT& rect) { DrawBox(*this, dc, rect, kCheckBox); }

// ------------------------------------------------------- TSkinRadioButton

void TSkinRadioButton::AfterMessage(TMessage& message) {
    if (RepaintsAfter(message.Msg)) return RepaintControl();
    TSkinControl::AfterMessage(message);
}

void TSkinRadioButton::DrawControl(HDC dc, const RECT& rect) { DrawBox(*this, dc, rect, kRadioButton); }

}  // namespace pellix
