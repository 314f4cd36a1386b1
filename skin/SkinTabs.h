// Tab controls, list headers and tab sets drawn from the skin.
//
// TSkinTab draws the tab strip and the page border of a tab control over
// what the control painted itself, from the "Tabs" element: tabs on any
// side are drawn upright into one buffer that is turned for side tabs, and
// the strip is copied around the control's scroll arrows, which get a skin
// of their own. TSkinHeader paints a list view's header completely from the
// "Headerbar" element: every column item with its icon and text, and the
// empty part right of the last column. TSkinTab31 paints the old-style tab
// set from the "Tabs" element turned upside down, and its scroller with an
// up-down skin.
//
// The geometry of the tab strip is a set of pure functions over the
// rectangles the control reports.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

#include "framework/Graphics.h"
#include "skin/WinSubClass.h"

namespace pellix {

class TSkinUpDown;
class TScroller;

// The side a tab control's tabs are on (TabPosition).
enum class TTabSide : uint8_t { Top = 0, Bottom = 1, Left = 2, Right = 3 };

// From TCS_VERTICAL and TCS_BOTTOM (TCS_RIGHT).
TTabSide TabSideOf(DWORD style);

// Where a tab control's strip and page lie, in window coordinates at the
// origin, and the size of the upright buffer the strip is drawn in.
struct TTabStripLayout {
    RECT Display;  // the page area grown to its border, one pixel off the tabs
    RECT Strip;    // between the window's edge on the tabs' side and the page
    SIZE Buffer;   // the strip's size, turned upright for side tabs
};
// rect: the window rectangle at the origin; adjusted: the page area the
// control reports for it (TCM_ADJUSTRECT).
TTabStripLayout LayoutTabStrip(const RECT& rect, const RECT& adjusted, TTabSide side);
// A tab's rectangle (TCM_GETITEMRECT) moved into the upright buffer.
RECT TabRectInBuffer(const RECT& item, TTabSide side, const TTabStripLayout& layout, const RECT& rect);
// The nine-part margins of the tab image as prepared for a side: the
// flipped image of bottom tabs has its top and bottom margins swapped.
RECT TabImageMargins(const RECT& margins, TTabSide side);
// The page border's widths (left 4, top 5, right 4, bottom 4 on the border
// image as the skin has it), turned with the image: the wide band is always
// the one beside the tabs.
RECT TabBorderWidths(TTabSide side);

// The drawing routine's alignment for a header item's format: HDF_RIGHT and
// HDF_CENTER in the low byte, anything else left.
TIconTextAlign HeaderItemAlign(int format);

class TSkinTab : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinTab"; }

    // Also reads focus, enabled state and text, prepares the images and
    // looks for the scroll arrows.
    void AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // Reads the side and copies the skin's tab and border images, turned for
    // it; a skin without both images leaves the old ones. Again after every
    // skin change.
    void PrepareTabBitmaps();
    // Gives the control's scroll arrows their skin the first time they are
    // found; whether they are shown now.
    bool FindTabUpDown();

    TTabSide TabPosition = TTabSide::Top;
    TBitmap TabImage;     // 24 bits; flipped for bottom tabs
    TBitmap BorderImage;  // 24 bits; flipped or turned with the tabs
    TBitmap TabBuffer;    // the strip, drawn upright
    // The arrows' skin, owned by this skin's owner; none until they appear.
    TSkinUpDown* UpDownSkin = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ReadTabPosition();
    void DrawTab(HDC dc, const RECT& rect, int state);
    void CopyStripAroundUpDown(HDC dc, const RECT& strip);
    HWND UpDownWindow() const;
};

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinHeader"; }

    // Also joins the host's ControlSkins.
    void AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas) override;
    // The background erase is kept while the skin can paint the header.
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    void DrawItem(TCanvas& canvas, HIMAGELIST images, int index, const RECT& rect);
};

class TSkinTab31 : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    std::string ClassName() const override { return "TSkinTab31"; }

    // The base's attach, the flipped image, and an up-down skin on the tab
    // set's scroller when it has one.
    void AttachControl(TWinControl* control, TSkinData* skinData, bool setFaceColour, TCanvas* canvas) override;
    // Paints before and after the control's own painting; the erase is kept.
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The skin's tab image flipped upside down; again after every skin change.
    void PrepareTab31Bitmap();

    TBitmap TabsImage;
    // The scroller's skin, owned by this skin's owner; none without scroller.
    TSkinUpDown* UpDownSkin = nullptr;
    TScroller* Scroller = nullptr;  // not owned

protected:
    void Notification(TComponent* component, TOperation operation) override;
};

}  // namespace pellix
