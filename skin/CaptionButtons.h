// Caption buttons and the non-client mouse of a skinned frame: the rules that
// show, place and draw a skin's caption buttons (pure functions of the frame's
// state), the hot-object model that caption buttons and menu-bar buttons
// share, and the caption button object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/SkinRecords.h"

namespace pellix {

class TWinSkinForm;

// CaptionFlags of a frame: the boxes the window had when it was skinned.
constexpr uint8_t kCaptionMaxBox = 1;
constexpr uint8_t kCaptionMinBox = 2;
constexpr uint8_t kCaptionSysMenu = 8;

// Action codes of a caption button; any other code is a custom action.
enum TSysButtonAction : int32_t {
    sbaClose = 0,
    sbaMaximize = 1,
    sbaMinimize = 2,
    sbaSysMenu = 3,
    sbaMdiMinimize = 7,
    sbaMdiRestore = 8,
    sbaMdiClose = 9,
    sbaIcon = 11,
    sbaSysMenu2 = 12,
    sbaMaximize2 = 22,
    sbaMinimize2 = 23,
    sbaMdiMinimize2 = 60,
    sbaMdiRestore2 = 61,
    sbaMdiClose2 = 62,
};

// Buttons of these actions show the window's icon instead of their image.
inline bool ShowsWindowIcon(int32_t action) { return action == sbaSysMenu || action == sbaIcon; }

// The frame state the visibility rules read.
struct TCaptionState {
    uint8_t BorderKind = 0;  // 0 sizing frame or window edge, 2 popup without full caption, 3 other
    uint8_t ShowState = 0;   // 0 normal, 1 maximised, 2 minimised
    bool FrameActive = true;
    uint8_t CaptionFlags = 0;
    bool ActiveMdiChildMaximised = false;
    int MenuBarHeight = 0;
};

// Whether the button shows on a frame in that state: its two visibility
// codes must both pass, and a maximise or minimise button needs its box.
bool IsSysButtonVisible(const TDataSkinSysButton& button, const TCaptionState& state);

// The width of one frame of the button's image; 0 when the button cannot be
// drawn (no image, or a frame count below 1).
int SysButtonFrameWidth(const TDataSkinSysButton& button);

// What placing a button reads of the frame.
struct TButtonPlacement {
    int FrameWidth = 0;       // window width at the last paint
    RECT CaptionTextRect{};   // window coordinates
    int RightBorderWidth = 0;
    int CaptionHeight = 0;
    int MenuBarHeight = 0;
    int MenuBarLeftWidth = 0;  // left margin of the skin's menu bar element; 0 without one
};

// The button's bounds in window coordinates by its Align, Xcoord and Ycoord.
// A button aligned to the right edge moves rightButtonsLeft to its left edge
// when that is further right.
RECT PlaceSysButton(const TDataSkinSysButton& button, const TButtonPlacement& placement, int& rightButtonsLeft);

// Frame of the image shown for a hot-object state (1 normal, 2 pressed,
// 3 hot): the state itself, 4 for a hot button of Visibility 100, never
// beyond the frames the image has.
int SysButtonStateFrame(int state, const TDataSkinSysButton& button);
// Frame shown by a full caption paint: the normal one, or the fourth for an
// inactive window when the image has four frames.
int SysButtonPaintFrame(bool active, const TDataSkinSysButton& button);

// States of a hot-trackable object.
enum TNCState : int32_t { ncsNormal = 1, ncsPressed = 2, ncsHot = 3 };

// One hot-trackable thing in a frame's non-client area (a caption button, a
// menu-bar button). A frame has at most one hot or pressed object, its
// HotObject; these operations keep it so and redraw the object.
class TNCObject : public TObject {
public:
    std::string ClassName() const override { return "TNCObject"; }

    TWinSkinForm* Owner = nullptr;  // not owned
    RECT Bounds{};                  // window coordinates
    // Reacts and is drawn; for a caption button the visibility of the last layout.
    bool Enabled = false;
    int32_t State = ncsNormal;

    virtual void Press();
    virtual void Release();
    virtual void Enter();
    virtual void Leave();
    virtual void Draw() {}
};

// One caption button of a skinned frame, showing one of the skin's caption
// button records (which the skin data owns).
class TWinSysButton : public TNCObject {
public:
    std::string ClassName() const override { return "TWinSysButton"; }

    TDataSkinSysButton* SkinButton = nullptr;
    void Draw() override;
};

}  // namespace pellix
