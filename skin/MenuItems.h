// Owner-drawn menu items: how an item of a skinned menu is measured and
// drawn (the skin's "MenuItem" element, or a flat look without it, over the
// popup window's skinned background), and the switching of whole menu trees
// to owner drawing and back.
//
// The geometry lives in TMenuMetrics, pure functions that measuring and
// drawing share; the drawing functions take the skin whose colours and
// element they use. The frame's WM_MEASUREITEM and WM_DRAWITEM handlers
// (TWinSkinForm::WmMeasureItem, WmDrawItem) are in MenuItems.cpp too.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"

namespace pellix {

class TSkinData;
struct TSkinMembers;

// Where the parts of an owner-drawn item go, and how big an item is.
struct TMenuMetrics {
    // Items of the Windows 95 family are measured 4 pixels higher.
    bool Windows95Family = false;

    // Width added to the text of a measured item (glyph box, gaps, margins).
    static constexpr int TextPadding = 26;
    // Width the OnMeasureItem handler adds to a popup-menu item.
    static constexpr int HandlerPadding = 28;
    // The shortcut ends this far before the end of the text area.
    static constexpr int ShortCutGap = 10;

    // WM_MEASUREITEM's answer for an item whose text is textWidth wide:
    // the proposed height grows by 4 (a separator is 8 high instead), and by
    // 4 more on the Windows 95 family.
    SIZE MeasureItem(int textWidth, UINT proposedHeight, bool separator) const;
    // The OnMeasureItem handler's growth of a popup-menu item's size.
    void GrowHandlerSize(int& width, int& height, bool separator) const;

    // The 16 x 16 box for the check mark or image, one pixel inside the
    // item's top-left corner; a separator has none (left = right = 0).
    static RECT GlyphBox(const RECT& item, bool separator);
    // The area of the caption and the shortcut: right of the glyph box by 3,
    // ending one pixel inside the item.
    static RECT TextRect(const RECT& item, const RECT& glyph);
    // measured moved down so that it sits in the middle of area's height.
    static RECT CentredIn(const RECT& measured, const RECT& area);
    // Where a caption may go when it is not aligned left: the text area up
    // to ShortCutGap and the shortcut's width before its end (the whole area
    // without a shortcut).
    static RECT CaptionArea(const RECT& text, int shortCutWidth);
    // measured moved across area as format aligns it (DT_RIGHT, DT_CENTER,
    // otherwise left); a caption that does not fit stays where it is.
    static RECT AlignedIn(const RECT& measured, const RECT& area, UINT format);
    // The shortcut's area: from the end of the caption to ShortCutGap
    // before the end of the text area.
    static RECT ShortCutRect(const RECT& caption, const RECT& text);
    // Top-left of the check mark: centred in the glyph box, one pixel right and down.
    static POINT CheckMarkOrigin(const RECT& glyph, SIZE mark);
    // The part of the popup's window-sized background behind the item: the
    // item rectangle (client coordinates) moved by the client's origin in the window.
    static RECT BackgroundSource(const RECT& item, POINT clientOrigin);
    // Frame of the MenuItem element: 4 for a selected item, else 1.
    static int ItemFrame(bool selected);
};

// A separator drawn from the MenuItem element: frame 2's bottom rows,
// its left end, middle and right end each stretched to their place.
struct TSeparatorParts {
    RECT Source[3];  // in the element's image
    RECT Dest[3];    // in an item-sized bitmap
};
TSeparatorParts SeparatorParts(SIZE image, int leftWidth, int rightWidth, SIZE item);

// The colour of an item's text: the highlight text colour when selected,
// the menu text colour otherwise; a disabled item's text is in the button
// shadow colour, or in the system's when the skin's shadow equals its menu
// text colour (the text would not look disabled).
TColor MenuItemTextColour(const TSkinMembers& skin, bool enabled, bool selected);

// The popup window's client origin in its window: what WindowFromDC(dc)
// reports, or 3, 3 (the width of the skinned border) when dc belongs to no
// window.
POINT PopupClientOrigin(HDC dc);

using TMenuItemPtr = std::unique_ptr<TMenuItem, ComponentFree>;

// WM_MEASUREITEM's size of a framework item: its caption followed directly
// by its shortcut's text, measured in the canvas's font.
void MeasureMenuItem(TMenuItem& item, TCanvas& canvas, UINT& height, UINT& width);
// The OnMeasureItem handler of skinned popup-menu items.
void MeasureItemHandler(TMenuItem& item, TCanvas& canvas, int& width, int& height);

// A framework item from the MenuItem element (frame 1, or 4 when selected)
// over the popup's skinned background; without the element the flat look.
void DrawMenuItemSkinned(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected);
// An item of a plain menu handle, made into a temporary item, the same way;
// a separator is drawn with the element and an etched line.
void DrawMenuItemRaw(const TSkinData& skin, HMENU menu, TMenuItem& item, bool selected, const RECT& rect,
                     TCanvas& canvas);
// The look without a MenuItem element: the menu colour, or the highlight
// colour when selected.
void DrawMenuItemFlat(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect);
// Picture or check mark, caption and shortcut of an item in rect. The
// caption of a popup menu component's item goes where the menu's Alignment
// says, that of a right-to-left menu's item to the right.
void DrawMenuItemContent(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect);
// One text of an item with DrawText's format; "-" draws an etched line
// instead (unless measuring). With DT_CALCRECT rect becomes the text's extent.
void DrawMenuItemText(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, UINT format, bool selected,
                      RECT& rect, const std::string& text);
// A separator from the MenuItem element, drawn keyed over rect.
void DrawSeparatorLine(const TSkinData& skin, TCanvas& canvas, const RECT& rect);

// A temporary item standing for the entry of menu (or one of its
// sub-menus) whose command is id: its text ("-" when it has none), enabled
// and checked state.
TMenuItemPtr MenuItemFromHandle(HMENU menu, UINT id);

// Makes every entry of menu and of its sub-menus owner-drawn, depth first.
void SetMenuOwnerDraw(HMENU menu);
// The exact reverse: no entry of the tree stays owner-drawn.
void ClearMenuOwnerDraw(HMENU menu);

}  // namespace pellix
