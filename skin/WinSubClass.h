// The base of every control skin, the host interface between control skins
// and the frame skin that owns them, and the drawing routines control skins
// share.
//
// A control skin takes over one control's messages: a framework control
// through its swappable WindowProc, a raw child window through the engine's
// window subclass. Every message then runs BeforeMessage (which may keep it),
// the control's own handling, and AfterMessage. The base keeps the state the
// skinned look depends on, repaints on focus, enable and text changes, and
// draws through DrawControl after the control has painted itself; the
// descendants decide which messages they keep and what they draw.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace pellix {

class TSkinData;
class TSkinControl;
class TWindowSubclass;

// What control skins need of the frame skin that owns them. The frame derives
// from it beside TComponent and is each control skin's Owner; tests use a
// small host of their own.
class TSkinControlHost {
public:
    // The attached control skins, in attach order. AttachControl adds a skin;
    // a skin attached by handle is added by whoever attached it. A skin takes
    // itself out when it is freed, so free them through DropControlSkins.
    std::vector<TSkinControl*> ControlSkins;
    // The control skin the mouse is over, or none. Control skins set and
    // clear it; a skin clears it when its window is destroyed or it is freed.
    TSkinControl* HotControl = nullptr;
    // The scratch canvas every control skin gets at attach. Bound to a
    // context only for the length of one drawing call (TCanvasBinding).
    TCanvas ControlCanvas;

    // True while the host is torn down because its window is being
    // destroyed: detaching then leaves the controls' colours alone.
    virtual bool TearingDown() const = 0;

    // Detaches and frees every listed control skin and empties the list.
    void DropControlSkins();

protected:
    TSkinControlHost() = default;
    ~TSkinControlHost() = default;
};

// The mouse over a skinned control. Descendants set and clear the flags.
struct TSkinMouseState {
    bool Hot = false;      // the mouse is over the control
    bool Pressed = false;  // the left button or Space is held down on it
};

class TSkinControl : public TComponent {
public:
    // owner: the frame skin (a TSkinControlHost) or none.
    explicit TSkinControl(TComponent* owner);
    // Detaches first.
    ~TSkinControl() override;
    std::string ClassName() const override { return "TSkinControl"; }

    // Takes over a framework control's WindowProc (its window is made when it
    // has none), joins the host's ControlSkins, reads focus, enabled state and
    // text, and with setFaceColour gives the control the skin's face colour
    // until detach.
    virtual void AttachControl(TWinControl* control, TSkinData* skinData, bool setFaceColour, TCanvas* canvas);
    // Takes over a raw window's procedure. Enabled starts true whatever the
    // window's style; the skin does not join ControlSkins. The window is
    // repainted. Its WM_NCDESTROY goes to the window's own procedure first
    // and then reaches AfterMessage only. A window that another object of
    // the engine holds is left alone (Handle stays 0).
    virtual void AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas);
    // Gives the control back its procedure and, unless the host is torn down,
    // its colour; a window that lives on is repainted. Harmless when repeated.
    virtual void DetachControl();
    // True lets the message go on to the control and then AfterMessage;
    // false answers it with message.Result.
    virtual bool BeforeMessage(TMessage& message);
    // After the control's own handling: repaints on focus, enable and text
    // changes, draws after WM_PAINT, detaches on WM_NCDESTROY.
    virtual void AfterMessage(TMessage& message);
    // DrawControl over the whole window, on dc or else on the window's own
    // context. Errors while drawing are swallowed.
    virtual void PaintControl(HDC dc);
    // Draws the skinned look into rect (the window's rectangle at the
    // origin). The base draws nothing.
    virtual void DrawControl(HDC dc, const RECT& rect);

    // Receives every message of the skinned control.
    void ControlWindowProc(TMessage& message);
    // The control's own handling of message.
    void CallOldWindowProc(TMessage& message);
    // Invalidates the window without erasing and paints it at once; a window
    // without a parent is left alone.
    void RepaintControl();
    // Fills rect of dc with the skin's button face colour.
    void FillFace(HDC dc, const RECT& rect);
    // Paints for WM_PAINT taken over in BeforeMessage, on WParam or between
    // BeginPaint and EndPaint. Errors while drawing are swallowed. Leaves
    // message.Result alone.
    void HandlePaintMessage(TMessage& message);
    // Sends CM_MOUSELEAVE to the window.
    void SendMouseLeave();

    // The host that owns this skin, or none.
    TSkinControlHost* Host() const;
    // The focus and enabled state as the window has them now; the Focused and
    // Enabled fields are what attach read.
    bool FocusedNow() const;
    bool EnabledNow() const;

    TSkinMouseState MouseState;
    TCanvas* Canvas = nullptr;  // the host's scratch canvas; not owned
    bool Enabled = true;
    bool Focused = false;
    std::string Text;  // the window text as read at attach or set by WM_SETTEXT
    TSkinData* SkinData = nullptr;  // not owned
    // The control's window; 0 for a windowless control and once the window
    // is destroyed.
    HWND Handle = nullptr;
    // The framework control's WindowProc before the swap; empty when none.
    TWndMethod OldWindowProc;
    // The windowed framework control; none once its window is destroyed.
    TWinControl* Control = nullptr;
    TGraphicControl* GraphicControl = nullptr;
    bool SetFaceColour = false;  // detaching gives SavedColour back
    TColor SavedColour = 0;
    // The window's screen rectangle as the last paint read it.
    RECT WindowRect{};

private:
    // WM_NCDESTROY: detach, and forget the window and the control.
    void WindowGone();
    bool HostTearingDown() const;

    // Set for a raw window taken over by AttachHandle.
    std::unique_ptr<TWindowSubclass> subclass_;
    bool windowGone_ = false;
};

// font takes the face, height, style and character set of the font a window
// draws its text in (WM_GETFONT; the system font when it has none), so text
// drawn through a canvas looks as the control's own.
void AssignWindowFont(TFont& font, HWND window);

// The three text routines number their alignments differently.
// DrawCaptionText: the DrawText flags.
enum class TCaptionTextAlign : UINT { Left = DT_LEFT, Centre = DT_CENTER, Right = DT_RIGHT };
// DrawMenuText: an index.
enum class TMenuTextAlign { Left = 0, Right = 1, Centre = 2 };
// DrawIconText: another index.
enum class TIconTextAlign { Left = 0, Centre = 1, Right = 2 };

enum class TArrowKind { Up = 0, Down = 1, Left = 2, Right = 3 };

// The text routines draw with the canvas's font and colour, the font's style
// cleared, on a transparent background (the canvas's brush becomes clear).
// A text drawn disabled is in the button-shadow colour, which stays the
// canvas font's colour afterwards.

// text (several lines allowed) placed left, right or centred in rect, and
// centred vertically one pixel high.
void DrawCaptionText(TCanvas& canvas, const RECT& rect, TCaptionTextAlign alignment, bool enabled,
                     const std::string& text);
// One line of text centred both ways in rect, whatever the alignment.
void DrawMenuText(TCanvas& canvas, const RECT& rect, const std::string& text, TMenuTextAlign alignment,
                  bool enabled);
// An image-list icon and one line of text side by side in rect; no icon for
// image index -1 or no list. The text is disabled when the skin's window is.
void DrawIconText(const TSkinControl& skin, TCanvas& canvas, const RECT& rect, TIconTextAlign alignment,
                  const std::string& text, int imageIndex, HIMAGELIST images);

// Frame `frame` (from 1) of `frameCount` frames side by side in strip,
// stretched to rect with magenta transparent. Nothing for an empty or
// inverted rect, a frame outside 1..frameCount or a strip narrower than
// frameCount pixels. The caller's font, pen and brush stay selected in dc.
void DrawStripFrame(HDC dc, const RECT& rect, int frameCount, int frame, const TBitmap& strip);
void DrawStripFrameCanvas(TCanvas& canvas, const RECT& rect, int frameCount, int frame, const TBitmap& strip);
// The same through the skin's scratch canvas, lent to dc for the call.
void DrawStripFrameScratch(const TSkinControl& skin, HDC dc, const RECT& rect, int frameCount, int frame,
                           const TBitmap& strip);

// A small arrow at (x, y) in the canvas's pen.
void DrawArrow(TCanvas& canvas, int x, int y, TArrowKind kind);

}  // namespace pellix
