// The skinned frame's non-client area: the geometry that the client size, the
// hit test and the painting share (pure functions of the frame's sizes), and
// the painting of borders, caption and window region, which the frame object
// runs from its window procedure.
#pragma once

#include <windows.h>

#include "skin/SkinRecords.h"

namespace pellix {

// The frame's sizes in pixels: left, caption (top), right and bottom borders,
// and the menu bar band below the caption.
struct TFrameMetrics {
    int Left = 0;
    int Caption = 0;
    int Right = 0;
    int Bottom = 0;
    int MenuBar = 0;
};

// A side of a border image cut into frameCount frames; a frame count below 1
// counts as no border at all.
int BorderSize(int imageSide, int frameCount);

// The client rectangle of a window at `window` (any coordinates) with the
// skinned frame; never inverted: a window smaller than its frame gets an
// empty client rectangle at the frame's inner top-left, as the default does.
RECT SkinnedClientRect(const RECT& window, const TFrameMetrics& metrics);

// The parts of a width x height window, in window coordinates.
struct TFrameRects {
    RECT LeftBorder;    // (0, 0, L, h)
    RECT RightBorder;   // (w-R, 0, w, h)
    RECT BottomBorder;  // (L, h-B, w-R, h)
    RECT TopBorder;     // (L, 0, w-R, T): the caption's own image
    RECT CaptionStrip;  // (0, 0, w, T)
    RECT MenuBar;       // (L, T, w-R, T+M)
    RECT Client;        // (L, T+M, w-R, h-B)
};
TFrameRects FrameRects(const TFrameMetrics& metrics, int width, int height);

// What the hit test needs to know about the window.
struct THitFrame {
    TFrameMetrics Metrics;
    int Width = 0;
    int Height = 0;
    bool Sizable = false;  // the recorded style has WS_THICKFRAME
};

// The hit code of a point in window coordinates, given the default's answer.
// The default knows only the platform's caption and menu bar, which lie
// elsewhere: where it answers HTNOWHERE, HTERROR, HTCAPTION or HTMENU inside
// the window, the drawn frame answers instead: HTCAPTION above the menu bar,
// HTMENU in the menu bar band, and in the borders a sizing code for a
// sizable window, else HTBORDER. Its sizing edges and the client stay.
LRESULT FrameHitTest(const THitFrame& frame, POINT point, LRESULT defaultCode);

// The frame of a border image to draw: the first, or the second (inactive
// look) for an inactive window whose border has more than one frame.
int BorderFrame(bool active, int frameCount);

// Where the caption text block goes inside the caption rectangle, given the
// drawn text's extent: aligned by the title's TextAlignment with its shifts,
// widened by the text background's two margins, centred vertically, and cut
// at the right (a popup's block instead reaches at least to 5 pixels before
// the leftmost right-aligned caption button).
RECT PlaceCaptionText(const RECT& caption, SIZE extent, const TDataSkinTitle& title, bool popup,
                      int rightButtonsLeft);

// The face-coloured strip an inactive window gets below a short caption, so
// that nothing of the platform caption shows through; empty when none.
RECT InactiveGapRect(const TFrameMetrics& metrics, int width, bool active, int platformCaptionBottom);

}  // namespace pellix
