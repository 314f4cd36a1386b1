// Scroll bars drawn from the skin: the window scroll bars of scrollable
// controls (TSkinScrollBar, with the skin's own thumb drag), the same with the
// header of a list view (TSkinListView), the stand-alone scroll-bar control
// (TSkinScControl), and raw "scrollbar" children left unpainted (TSkinSizer).
//
// The window bars stay the system's: it sizes the non-client area, tracks
// arrow and page clicks and sends the scroll messages. The skin paints its
// own bars over the system's after every non-client paint and scroll
// message, and again whenever the system has redrawn them behind its back
// (a range or position that changed, the end of an arrow click, the mouse
// leaving, redraw switched back on).
//
// The geometry is a set of pure functions: bar rectangles from the window,
// thumb size and offset from the scroll information, the part under a point,
// the position a drag gives and the rectangles of a bar's parts; the paint
// and the hit test both read what they give.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/WinSubClass.h"

namespace pellix {

class TSkinHeader;
class TScrollBar;

// Lengths along one bar, in pixels. ThumbPos counts from the end of the first
// arrow; TrackLength is the bar length minus two arrows.
struct TBarMetrics {
    int ArrowSize = 0;
    int TrackLength = 0;
    int ThumbSize = 0;
    int ThumbPos = 0;
    bool operator==(const TBarMetrics&) const = default;
};

// Where the window's bars lie, in window coordinates at the origin.
struct TBarRects {
    RECT Horz{};
    RECT Vert{};
    RECT SizeBox{};  // the corner between the two bars
};

// Lays out the bars of a window of rect (its window rectangle at the origin)
// and client rectangle client, with the bars its style names and arrows of
// arrowSize: the border beside a bar is half of what the non-client part
// leaves beside it. The rectangle of an absent bar keeps its old value.
void LayoutBarRects(TBarRects& rects, const RECT& rect, const RECT& client, DWORD style, int arrowSize);

// The scroll state a thumb is worked out from: range is the span the skin
// divides by (nMax - nMin for window bars), offset the position less nMin.
struct TThumbInput {
    int BarLength;     // along the bar, both arrows included
    int ArrowSize;     // SM_CXHSCROLL
    int MinThumb;      // 8, or ArrowSize / 2 on the Windows 95 family
    int DefaultThumb;  // SM_CXHTHUMB: the thumb without a page
    int Range;
    int Page;
    int Offset;
};
// Fills TrackLength, ThumbSize and ThumbPos of metrics; false, with metrics
// untouched, when the range is 0 or negative.
bool ComputeThumbMetrics(const TThumbInput& input, TBarMetrics& metrics);

// The scroll code of the part at c pixels along the bar from its start:
// SB_LINEUP, SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN, SB_LINEDOWN, or -1 past
// the bar.
int HitTestBar(int c, const TBarMetrics& metrics);

// Where a thumb dragged to t pixels past the first arrow (t from the thumb's
// offset at the start plus the cursor's movement) puts the position, and
// where the thumb is drawn meanwhile: never past the far end of the track.
struct TDragResult {
    int Position;
    int ThumbPos;
};
TDragResult DragPosition(int t, const TBarMetrics& metrics, int nMin, int nMax, int nPage);

// The parts of one bar as drawn into its work bitmap: length x 16 (or 16 x
// length when vertical). Arrows are half the length each when the bar is
// shorter than two arrows; the track is the length less two full arrows; the
// thumb is empty unless 0 < ThumbSize <= TrackLength.
struct TBarParts {
    RECT Work{};
    RECT FirstArrow{};
    RECT SecondArrow{};
    RECT Track{};
    RECT Thumb{};
};
// The bars are drawn this thick and then scaled to the real thickness.
constexpr int BarWorkThickness = 16;
TBarParts BarParts(int length, bool vertical, int arrowSize, const TBarMetrics& metrics);

// Which part of a bar is drawn pressed.
enum class TBarPress { None, FirstArrow, SecondArrow, Thumb };

// Draws a whole bar onto dc at bar (window coordinates) from the skin's
// "Scrollbar", track and thumb elements. A missing track or thumb element is
// left out; a thumb frame past the element's frame count takes its last one.
// Nothing without a "Scrollbar" image or for a bar of an unreasonable size.
void DrawSkinBar(HDC dc, const RECT& bar, bool vertical, const TBarMetrics& metrics, TBarPress press,
                 const TSkinData& skin);

// PressedPart values.
enum : int {
    ppNone = 0,
    ppLeftArrow = 1,
    ppRightArrow = 2,
    ppUpArrow = 3,
    ppDownArrow = 4,
    ppHorzThumb = 5,
    ppVertThumb = 6,
};
// The pressed part a scroll code shows on a horizontal or vertical bar.
int PressedPartOf(int scrollCode, bool vertical);

class TSkinScrollBar : public TSkinControl {
public:
    explicit TSkinScrollBar(TComponent* owner);
    ~TSkinScrollBar() override;
    std::string ClassName() const override { return "TSkinScrollBar"; }

    // Takes over the control's WindowProc, joins the host's ControlSkins and
    // has the window lay out its frame again. trackThumb: a press on the
    // thumb runs the skin's own drag.
    void AttachScrollControl(TWinControl* control, TSkinData* skinData, bool trackThumb, TCanvas* canvas);
    // Also ends a drag that is running.
    void DetachControl() override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    int PressedPart = ppNone;
    DWORD Style = 0;  // as read at the last draw, with the bar of a scroll message added
    RECT SizeBoxRect{};
    bool Dragging = false;
    bool TrackThumb = false;
    bool InVertScroll = false;
    bool InHorzScroll = false;
    SCROLLINFO HorzScrollInfo{};
    SCROLLINFO VertScrollInfo{};
    RECT HorzBarRect{};
    RECT VertBarRect{};
    TBarMetrics HorzMetrics;
    TBarMetrics VertMetrics;

protected:
    void LayoutBars(const RECT& rect);
    // Reads the bar's scroll information and works out its thumb; kept as it
    // is while the skin's drag runs.
    void ComputeThumb(const RECT& bar, bool vertical);
    void DrawBar(HDC dc, const RECT& bar, bool vertical);
    // True when it ran a drag.
    bool HandleNcButtonDown(const TMessage& message);
    void DragThumb(bool vertical, UINT scrollMessage);

private:
    // What the bars looked like when last drawn: the system redraws them
    // itself when any of it changes.
    struct TBarState {
        DWORD Bars = 0;
        int HorzMin = 0, HorzMax = 0, HorzPage = 0, HorzPos = 0;
        int VertMin = 0, VertMax = 0, VertPage = 0, VertPos = 0;
        bool operator==(const TBarState&) const = default;
    };
    TBarState ReadBarState() const;
    // Paints the bars again when the system may have drawn over them.
    void RepaintBarsIfChanged();
    void PaintBars();
    bool OnScroll(TMessage& message, bool vertical);

    // Cleared when the skin lets go of its window or is freed: a drag that
    // outlives either must not touch the object.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(false);
    bool dragCancelled_ = false;
    TBarState drawn_;
    bool painting_ = false;
};

class TSkinListView : public TSkinScrollBar {
public:
    using TSkinScrollBar::TSkinScrollBar;
    std::string ClassName() const override { return "TSkinListView"; }

    // The third argument is the track-thumb flag here. A list view with a
    // header window gets a TSkinHeader on it, owned by this skin's owner.
    void AttachControl(TWinControl* control, TSkinData* skinData, bool trackThumb, TCanvas* canvas) override;

    TSkinHeader* HeaderSkin = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override;
};

class TSkinScControl : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinScControl"; }

    bool BeforeMessage(TMessage& message) override;
    // The base's, and a repaint after every message the control answers by
    // drawing itself at once.
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    int PressedPart = ppNone;
    int TrackLength = 0;
    int ThumbSize = 0;
    int ThumbPos = 0;

private:
    TScrollBar* Bar() const;
    void ComputeThumb(const RECT& bar, bool vertical);
};

// Leaves a raw "scrollbar" window unpainted.
class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinSizer"; }

    bool BeforeMessage(TMessage& message) override;
};

}  // namespace pellix
