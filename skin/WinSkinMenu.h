// Skinned menus: the popup menu windows ("#32768") with the skin's
// background and border, and the menu bar a skinned frame draws in its
// non-client area in place of the window's own.
//
// A popup skin paints its window's background from the skin's
// "MenuBackground" element and keeps that picture, window-sized, for the
// owner-drawn items drawn over it (MenuItems). Where the window has a
// non-client area the border is painted on WM_NCPAINT and the background on
// WM_PRINT; a popup whose client area is the whole window (Wine) gets both
// around its WM_PAINT.
//
// The bar (TWinSkinMenu) takes the menu off the window, draws one TMenuBtn
// per top-level item and opens an item's drop-down with TrackPopupMenuEx.
// While a drop-down is open a message-filter hook moves to the neighbouring
// item on Left, Right and mouse moves over the bar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/CaptionButtons.h"
#include "skin/SkinMessages.h"
#include "skin/WindowSubclass.h"

namespace pellix {

class TMainMenu;
class TMenuItem;
class TSkinData;
class TWinSkinForm;
class TDataSkinObject;

// ------------------------------------------------------------ popup windows

class TWinSkinPopMenu : public TObject {
public:
    TWinSkinPopMenu() = default;
    // Lets go of a window that still exists, and of AwaitingPopupSkin.
    ~TWinSkinPopMenu() override;
    std::string ClassName() const override { return "TWinSkinPopMenu"; }

    void AttachPopup(HWND window, TSkinData* skinData, HMENU menuHandle);
    // Gives the window its procedure back and drops the background. Calling
    // it again does nothing.
    void DetachPopup();
    bool InWindowProc() const { return subclass_.InWindowProc(); }

    HWND MenuWindow = nullptr;
    TSkinData* PopupSkinData = nullptr;
    // The last painted background, window-sized.
    TBitmap BackgroundBitmap;
    // The menu shown; 0 until the window or an owner-drawn item reports it.
    HMENU MenuHandle = nullptr;

private:
    LRESULT PopupWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallOldPopupProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The skin has a background to paint.
    bool CanPaint() const;
    // Paints the element into BackgroundBitmap at the window's size; false
    // when the window has no rectangle.
    bool MakeBackground();
    // The 3-pixel border strips of BackgroundBitmap, copied to dc (window coordinates).
    void CopyBorderStrips(HDC dc);
    LRESULT PaintPopupBackground(UINT msg, WPARAM wParam, LPARAM lParam);
    bool PaintPopupBorder();
    // A popup without a non-client area: background made before the system
    // paints the items, border drawn after.
    LRESULT PaintPopupWindow(UINT msg, WPARAM wParam, LPARAM lParam);
    bool HasNonClientArea() const;

    TWindowSubclass subclass_;
};

// The popup skin that last painted before it knew its menu; the next
// owner-drawn item drawn tells it. Cleared when that skin goes.
inline TWinSkinPopMenu* AwaitingPopupSkin = nullptr;

// ------------------------------------------------------------------ the bar

// One top-level item of a drawn menu bar.
class TMenuBtn : public TNCObject {
public:
    std::string ClassName() const override { return "TMenuBtn"; }

    TSkinData* SkinData = nullptr;
    int Index = 0;           // position in the menu
    std::string Caption;     // 80 characters at most
    bool ItemEnabled = true;
    HMENU SubMenu = nullptr; // the drop-down; none for a plain command
    UINT CommandId = 0;

    void Draw() override;
};

// Where the first item of a bar starts: after the bar element's left end
// and 4 pixels, 12 on a bar narrower than that, 6 without an element.
int MenuBarFirstX(int barWidth, const TDataSkinObject* menuBar);

// One item's place on the bar: its text area in bar coordinates and its
// bounds in window coordinates.
struct TBarItemPlace {
    RECT Text;
    RECT Bounds;
};
// Items side by side from firstX: each its text's width plus 10 (an empty
// text takes no room), one pixel shorter than the bar.
std::vector<TBarItemPlace> LayoutMenuBar(const std::vector<int>& textWidths, const RECT& bar, int firstX);

class TWinSkinMenu : public TComponent {
public:
    // Owned by the frame, which draws it.
    TWinSkinMenu(TWinSkinForm* frame, TSkinData* skinData);
    ~TWinSkinMenu() override;
    std::string ClassName() const override { return "TWinSkinMenu"; }

    // In menu position order.
    std::vector<std::unique_ptr<TMenuBtn>> MenuButtons;
    int32_t ButtonCount = 0;
    // The menu the buttons were built from.
    HMENU MenuHandle = nullptr;
    // The form's main menu, or none for a plain window.
    TMainMenu* FrameMenu = nullptr;
    TSkinData* SkinData = nullptr;
    TWinSkinForm* Frame = nullptr;
    // The bar's rectangle at the last paint (window coordinates) and its
    // background without texts or hot frames.
    RECT BarRect{};
    TBitmap BarBitmap;

    // Rebuilds from the window's menu (or MenuHandle) and takes it off the window.
    void BuildMenuButtons();
    // The same from a given menu.
    void BuildMenuButtonsById(HMENU menu);
    // The whole bar into r of dc (window coordinates).
    void PaintMenuBar(HDC dc, const RECT& r);
    // One item in its state, straight onto the window.
    void DrawMenuBtn(TMenuBtn& button);
    // The first item with a caption whose bounds hold the point (window coordinates).
    TMenuBtn* FindMenuBtnAt(POINT point) const;
    // Presses an item: its command is posted, its drop-down tracked until it
    // closes. False for an item without a drop-down.
    bool TrackMenuBtn(TMenuBtn& button);
    // Posts the non-client click that presses the item.
    void PressMenuBtn(const TMenuBtn& button);
    // The first enabled item whose caption has ch as its accelerator.
    TMenuBtn* FindMenuBtnByAccel(UINT ch) const;
    // CM_DIALOGCHAR: Alt+letter presses the item; true (result 1) when one did.
    bool MenuAccelDialogChar(TMessage& message);
    // The neighbour of the tracked item, wrapping at the ends.
    TMenuBtn* NeighbourMenuBtn(bool forward) const;
    // WM_MENUSELECT while a drop-down of this bar is open.
    void MenuSelect(WPARAM wParam, LPARAM lParam);
    // CM_MENUCHANGED: the window has its menu again; take it and rebuild
    // (after the drop-down has closed when one is open).
    void MenuChanged();
    // Detach: the menu goes back to the window with no entry left owner-drawn.
    void GiveMenuBack();
    // The skin data component is going: nothing is drawn from it any more.
    void ForgetSkinData();

private:
    void Build(HMENU menu, bool byCommand);
    void FillFromFrameMenu(TMenuBtn& button, bool byCommand);
    void DrawMdiButtons(HDC dc);
    void DrawMenuBtnOn(HDC dc, const TMenuBtn& button);

    bool rebuildPending_ = false;
};

// The hook's state while one drop-down of a bar is open.
struct TMenuTracking {
    TWinSkinForm* TrackingFrame = nullptr;
    int TrackingIndex = -1;
    HHOOK MenuHook = nullptr;
    TMenuItem* SelectedMenuItem = nullptr;
    bool FirstKeySent = false;
    bool SwitchingMenu = false;
    POINT LastMousePos{};
};
inline TMenuTracking MenuTracking;

void InstallMenuHook();
void RemoveMenuHook();
LRESULT CALLBACK MenuMsgFilterProc(int code, WPARAM wParam, LPARAM lParam);
// A drop-down of some drawn bar is open (a menu loop runs).
inline bool BarMenuOpen() { return MenuTracking.MenuHook != nullptr; }

// The menu the keyboard works in: the deepest of the open popup windows'
// menus (tracked when none is open).
HMENU DeepestOpenMenu(HMENU tracked);
// Whether the highlighted item of that menu opens a sub-menu.
bool HighlightOpensSubMenu(HMENU menu);

}  // namespace pellix
