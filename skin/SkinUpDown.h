// Control skins of up-down arrows, track bars and progress bars.
//
// The up-down skin paints the arrows completely itself: two halves from the
// skin's "UpDown.Vert" or "UpDown.Horz" element (or plain faces drawn with the
// pen when the element has no arrow image), each normal, pressed or disabled.
// The track bar paints itself and only its thumb is replaced, through custom
// draw. The progress skin paints the bar completely from the "Progress"
// element, stretched or, for style 1, as a row of chunks.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

#include "skin/WinSubClass.h"

namespace pellix {

// The look of one up-down half, which is also its frame (plus 4 for the
// second half) in the element's eight-frame strips.
enum class TUpDownHalfState { Normal = 1, Pressed = 2, Disabled = 3 };

struct TUpDownHalfStates {
    TUpDownHalfState First;   // up, or left
    TUpDownHalfState Second;  // down, or right
};

// The halves' looks. cursor is the cursor's client coordinate along the
// arrows' axis, half the first half's length: the half under the cursor
// shows pressed while pressed is set.
TUpDownHalfStates UpDownHalfStates(int cursor, int half, bool pressed, bool enabled);

// The two halves of area, one above the other or side by side; the second
// takes the odd pixel.
void UpDownHalves(const RECT& area, bool vertical, RECT& first, RECT& second);

class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinUpDown"; }

    // Paints itself: WM_PAINT and WM_ERASEBKGND are kept; a press or a
    // release reaches the control first and is then drawn.
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The arrows are drawn one pixel inside the client rectangle (a spin
    // edit's arrows); the ring keeps the face colour.
    bool Inset = false;
    // 1 draws a left and right pair whatever the control's style.
    int32_t Horizontal = 0;

private:
    void DrawHalf(HDC dc, const RECT& half, TArrowKind direction, TUpDownHalfState state);
    void DrawPlainHalf(HDC dc, const RECT& half, TArrowKind direction, TUpDownHalfState state);
};

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinTrackBar"; }

    // Keeps WM_ERASEBKGND and answers the custom-draw notifications, which
    // reach the control reflected by its parent.
    bool BeforeMessage(TMessage& message) override;
    // The answer to one custom-draw notification: the thumb is drawn here,
    // channel and tics by the control.
    LRESULT TrackBarCustomDraw(const NMCUSTOMDRAW& draw);
    // The thumb at TBM_GETTHUMBRECT on dc: frame 4 of the "Buttons" image,
    // or a plain box.
    void DrawTrackBarThumb(HDC dc);
};

// How far a bar of the progress skin reaches: pos of max over [left, right),
// computed without overflow and kept inside it. left when pos or max is not
// positive.
int ProgressBarRight(int left, int right, int64_t pos, int64_t max);
// Chunks drawn side by side over width pixels: one more than fit whole.
int ProgressChunkCount(int width, int chunkWidth);

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinProgress"; }

    // Paints itself when the skin has a "Progress" image; WM_ERASEBKGND is
    // always kept.
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    void DrawChunkProgress(HDC dc, const RECT& rect);
};

}  // namespace pellix
