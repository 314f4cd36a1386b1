// The skinned frame of one top-level window (a form, a dialog, an MDI frame or
// an MDI child): it takes over the window's procedure, strips the platform's
// caption buttons, draws the non-client area from the skin (FramePaint),
// drives the caption buttons (CaptionButtons) and puts everything back on
// detach. A framework form is held through its swappable WindowProc, any
// other window through TWindowSubclass; both reach the one FrameWindowProc.
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
#include "skin/FramePaint.h"
#include "skin/SkinMessages.h"
#include "skin/WinSubClass.h"
#include "skin/WindowSubclass.h"

namespace pellix {

class TControlWalk;
class TCustomForm;
class TMenuItem;
class TSkinData;
class TTimer;
class TWinSkinMenu;

enum TMdiState : uint8_t { msNone = 0, msMdiFrame = 1, msMdiChild = 2 };

constexpr int32_t FrameStateNotStarted = 0;
constexpr int32_t FrameStateRunning = 1;
constexpr int32_t FrameStateRereading = 3;
// Set by the manager before it detaches a frame whose window goes away.
constexpr int32_t FrameStateClosing = 4;
constexpr int32_t FrameStateFirstFit = 5;

// WM_GETTEXT into a 1000-character buffer.
std::string GetWindowTextStr(HWND window);
// GetClassNameA, at most 100 characters.
std::string GetWindowClassName(HWND window);
// Invalidates with erase, then updates.
void RepaintWindow(HWND window);

// As the host of its control skins it owns them (ControlSkins, HotControl,
// ControlCanvas) and frees them before anything else of it goes.
class TWinSkinForm : public TComponent, public TSkinControlHost {
public:
    // Frames are made without an owner; the manager owns them.
    explicit TWinSkinForm(TComponent* owner = nullptr);
    ~TWinSkinForm() override;
    std::string ClassName() const override { return "TWinSkinForm"; }

    // ---- set by the manager before it attaches the frame
    HWND Window = nullptr;
    TCustomForm* Form = nullptr;

    // For a window that belongs to a framework form; a second attach does nothing.
    void AttachForm(TSkinData* skinData, TCustomForm* form);
    // For any window; a second attach does nothing.
    void AttachWindow(TSkinData* skinData);
    // Undoes the attach the way it was made (full or light).
    void DetachFrame();
    // Frees the caption buttons (before the records they show are re-read).
    void ClearCaptionButtons();
    // Border sizes and caption buttons from the skin's records.
    void BuildCaptionButtons();
    // Takes a new skin: face colour, frame size and region.
    void ApplyFaceColour();
    // Puts the recorded caption boxes back into the style, or strips them.
    void SetCaptionStyles(bool show);
    // Resizes the window so the client area keeps its size inside the
    // skinned frame; message boxes are first widened to their caption.
    void FitFrameToCaption(int withMenu);
    // Has the system recompute and repaint the frame.
    void RefreshFrame();
    // A message of the window is being handled by the frame now: the manager
    // then frees the frame only after that call has returned.
    bool InWindowProc() const;

    // ---- painting (FramePaint.cpp)
    // The whole frame, composed off-screen and copied once; with no DC, on a
    // window DC of its own.
    void PaintFrame(HDC dc);
    void BuildWindowRegion();
    void DropWindowRegion();
    void ReadShowState();
    void FindMdiClient();
    TFrameMetrics Metrics() const;

    // ---- caption buttons (CaptionButtons.cpp)
    TWinSysButton* ButtonAt(POINT windowPoint) const;
    POINT ScreenToFrame(POINT screenPoint) const;
    bool IsButtonVisible(TWinSysButton& button);
    void LayoutSysButtons();
    void DrawSysButtons(HDC captionDc);
    void DrawSysButton(TWinSysButton& button, int state);
    void DoCaptionButtonAction(POINT screenPoint);
    void ToggleMaximize();
    void RestoreWindow();
    void ToggleMinimize();
    void MdiChildCommand(UINT command);
    bool IsActiveMdiChildMaximized() const;
    void ShowSystemMenu(POINT screenPoint);

    // ---- state
    TSkinData* SkinData = nullptr;  // cleared when the component is freed
    int32_t FrameState = FrameStateNotStarted;
    TMdiState MdiState = msNone;
    HWND MdiClient = nullptr;
    uint8_t BorderKind = 3;    // 0 sizing frame or window edge, 2 popup without full caption, 3 other
    uint8_t ShowState = 0;     // 0 normal, 1 maximised, 2 minimised
    bool FrameActive = true;
    uint8_t CaptionFlags = 0;  // kCaptionSysMenu, kCaptionMinBox, kCaptionMaxBox as attached
    DWORD RecordedStyle = 0;
    int32_t LeftBorderWidth = 0;
    int32_t CaptionHeight = 0;
    int32_t RightBorderWidth = 0;
    int32_t BottomBorderHeight = 0;
    int32_t MenuBarHeight = 0;
    RECT NativeFrameSize{};    // window size less client size under the platform frame
    TColor SavedFormColour = clBtnFace;
    std::string CaptionText;
    std::string WindowClassName;
    std::string CaptionPrefix = "  ";
    std::string CaptionSuffix = " ";
    int SpaceWidth = 0;
    UINT DoubleClickTime = 0;
    DWORD LastSysMenuTick = 0;
    HMENU WindowMenu = nullptr;
    HMENU SystemMenu = nullptr;
    // The drawn menu bar (an owned component), or none.
    TWinSkinMenu* SkinMenu = nullptr;
    // A drop-down of the drawn menu bar is open.
    bool TrackingMenu = false;
    HMENU TrackedMenu = nullptr;
    HWND NewMdiChild = nullptr;

    TTimer* FrameTimer = nullptr;  // owned component
    TFont CaptionFont;
    TBitmap IconBitmap;            // the window's small icon on magenta
    TBitmap CaptionBitmap;         // the caption strip of the last paint, w x T

    // The frame is dropped because its window goes away.
    bool TearingDown() const override;

    std::vector<std::unique_ptr<TWinSysButton>> SysButtons;
    TNCObject* HotObject = nullptr;
    int RightButtonsLeft = 0;

    // Set by the last frame paint (window coordinates).
    RECT ScreenRect{};
    int FrameWidth = 0;
    int FrameHeight = 0;
    RECT CaptionTextRect{};
    // The region given to the window and the size it was built for.
    bool RegionSet = false;
    int RegionWidth = 0;
    int RegionHeight = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct TFormLink;
    struct TFormHook;

    // The one window procedure, for both ways of holding the window.
    void FrameWindowProc(TMessage& m);
    void CallOldFrameProc(TMessage& m);
    bool RouteFirst(TMessage& m);
    bool RouteSecond(TMessage& m);
    bool SecondTableInForce() const;
    void Start();
    void WindowDestroying();
    void WindowGone();
    void LeaveHotControl();

    void AttachFrameLight(TSkinData* skinData);
    void DetachFrameLight();
    void Subclass();
    void Unsubclass();
    void SubclassMdiClient();
    void UnsubclassMdiClient();
    void MdiClientWindowProc(TMessage& m);
    // The control walk over the form's components or the window's children.
    void SkinControls();
    // The form's popup menus drawn by the frame, or given back.
    void SetPopupMenusOwnerDraw(bool on);
    TControlWalk Walk();
    void ReadCaptionFont();
    void MakeIconBitmap(TBitmap& target);
    void RestoreNativeSize();
    void UpdateFrameTimer();
    void FrameTimerTick();
    bool MdiChildNotNormal() const;
    bool MdiMaximised() const;

    // ---- message handlers (FramePaint.cpp)
    void WmNcCalcSize(TMessage& m);
    void WmNcPaint(TMessage& m);
    void WmNcActivate(TMessage& m);
    void WmSize(TMessage& m);
    void WmGetMinMaxInfo(TMessage& m);
    void WmWindowPosChanged(TMessage& m);
    void WmEraseBkgnd(TMessage& m);
    void WmCtlColorStatic(TMessage& m);
    void WmCommand(TMessage& m);
    void WmSysCommand(TMessage& m);
    void PaintCaption(HDC dc);
    void DrawCaptionText(TCanvas& canvas, const RECT& caption);
    void DrawBorder(int index, const RECT& rect, HDC dc);
    std::unique_ptr<TBitmap> BorderPicture(int index, int width, int height) const;
    void PaintMenuBand(HDC dc, const RECT& band);

    // ---- owner-drawn menu items (MenuItems.cpp)
    void WmMeasureItem(TMessage& m);
    void WmDrawItem(TMessage& m);
    // The item of the form's main menu with that command, or none.
    TMenuItem* FrameMenuItem(UINT command) const;

    // ---- non-client mouse (CaptionButtons.cpp)
    void WmNcHitTest(TMessage& m);
    void WmNcMouseMove(TMessage& m);
    void WmNcLButtonDown(TMessage& m);
    void WmNcLButtonUp(TMessage& m);
    void WmNcLButtonDblClk(TMessage& m);
    void WmNcRButtonDown(TMessage& m);
    TNCObject* ObjectAt(POINT windowPoint) const;
    void PressObject(TNCObject& object);

    TWindowSubclass subclass_;
    TWindowSubclass mdiClientSubclass_;
    std::shared_ptr<TFormLink> formLink_;
    bool subclassed_ = false;
    bool attachedFull_ = false;
    bool attachedLight_ = false;
    // A caption button was pressed since the last full paint.
    bool buttonPressed_ = false;
    // WM_DESTROY has come: the frame passes everything on.
    bool windowDestroying_ = false;
    // The last WM_SIZE left the window minimised.
    bool sizedMinimised_ = false;

    friend class TNCObject;
};

}  // namespace pellix
