// Controls: the message chain of every framework window, windowed and
// windowless controls.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"

namespace pellix {

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

using TWndMethod = std::function<void(TMessage&)>;

// Framework messages. Windowed controls get CM_MOUSEENTER on the first mouse
// move over them and CM_MOUSELEAVE when the mouse has left, through WindowProc.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_RELEASE = CM_BASE + 33;
// Notifications a parent hands back to the child they concern.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    std::string ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect();
    int ClientWidth() { return ClientRect().right; }
    int ClientHeight() { return ClientRect().bottom; }
    void SetClientWidth(int v);
    void SetClientHeight(int v);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TFont* Font() const { return font_.get(); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& text) { SetText(text); }
    std::string Text() const { return GetText(); }
    void SetTextValue(const std::string& text) { SetText(text); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint = false;
    bool ParentShowHint = true;
    // Whether the hint shows, following the parents while ParentShowHint.
    bool HintShown() const;

    // Replaceable entry of every message; WndProc by default.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

    virtual void Invalidate();
    virtual void Repaint();

    TNotifyEvent OnClick;

protected:
    virtual void WndProc(TMessage& message);
    // Handles the messages this class knows; the rest go to DefaultHandler.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    virtual void SetText(const std::string& text);
    virtual std::string GetText() const { return text_; }
    virtual void ColorChanged() {}
    virtual void FontChanged() {}
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void Click();

    // Called when the parent's colour or font changes.
    void ParentColorChanged();
    void ParentFontChanged();

    void SetBoundsFields(int left, int top, int width, int height);

    std::string text_;

private:
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    TAnchors anchors_ = akLeft | akTop;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    std::string hint_;
    // Parent client size when the anchors were last fixed: the distance kept
    // to right and bottom edges.
    int anchorRight_ = 0, anchorBottom_ = 0;
    bool anchorsFixed_ = false;

    friend class TWinControl;
};

// No window of its own: the parent paints it and routes the mouse to it,
// both through WindowProc, so a procedure put in front sees them. Paint
// messages carry the parent's DC, moved to this control's origin and clipped
// to it; mouse messages carry points in this control's coordinates. A press
// captures the mouse for the control until the release; CM_MOUSEENTER and
// CM_MOUSELEAVE come as the mouse crosses its bounds.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
    std::string ClassName() const override { return "TGraphicControl"; }
    void Invalidate() override;
    // Paints into the parent's DC, already moved to this control's origin.
    virtual void Paint(HDC dc) { (void)dc; }

protected:
    // WM_PAINT: Paint on the DC in WParam.
    void Dispatch(TMessage& message) override;
};

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    HMENU Menu = nullptr;            // child id for child windows
    std::string WinClassName;        // the framework class name
    std::string SysClassName;        // system class it superclasses; empty for none
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    std::string ClassName() const override { return "TWinControl"; }

    // Made on demand with its parents.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() override;
    void Invalidate() override;
    void Repaint() override;

    bool TabStop = false;
    int TabOrder = -1;
    bool DoubleBuffered = false;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    bool CanFocus();
    virtual void SetFocus();
    bool Focused();

    // The framework object of a window, if it is one of ours.
    static TWinControl* FromHandle(HWND hwnd);
    // The procedure every framework window class is registered with.
    static LRESULT CALLBACK FrameworkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // After the window exists: fonts, text and children.
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();

    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void SetText(const std::string& text) override;
    std::string GetText() const override;
    // Focus moved into or out of this control, within its form.
    virtual void DoEnter();
    virtual void DoExit();
    // The part of the client area that aligned children share.
    virtual RECT AlignArea() { return ClientRect(); }
    void ColorChanged() override;
    void FontChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;

    // Lays out aligned and anchored children in the client area.
    virtual void AlignControls();
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc);
    // The brush the window's background and CTLCOLOR replies use.
    HBRUSH BackgroundBrush();

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;

private:
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void ReflectToChild(TMessage& message, HWND child);
    // Sends CM_DIALOGCHAR with the key of a WM_SYSCHAR to the control's
    // top-level framework window; true when that window took the key.
    bool DialogChar(const TMessage& message);
    // Registers this control's hint and its windowless children's.
    void AddHints();
    void UpdateBoundsFromWindow();
    void WmPaint(TMessage& message);
    // Asks for WM_MOUSELEAVE and sends CM_MOUSEENTER through WindowProc
    // when the mouse comes in.
    void TrackMouse();
    // The visible, enabled windowless child at a client point; the one in
    // front (added last) wins.
    TGraphicControl* GraphicControlAt(POINT point) const;
    // Hands a mouse message to the windowless child under the mouse (or the
    // one holding the capture); false when none takes it.
    bool RouteMouse(TMessage& message);
    // The windowless child the mouse is over now; none after it left.
    void SetMouseControl(TGraphicControl* control);

    std::vector<TControl*> controls_;  // not owned: owners free them
    HBRUSH brush_ = nullptr;
    TColor brushColor_ = clNone;
    bool aligning_ = false;
    bool mouseInside_ = false;
    TGraphicControl* mouseControl_ = nullptr;    // windowless child under the mouse
    TGraphicControl* captureControl_ = nullptr;  // windowless child pressed, holding the capture

    friend class TControl;
};

// Registers the common control classes (tooltips, up-down arrows) once.
void EnsureCommonControls();

// The hint's part before "|": what a hint window shows.
std::string GetShortHint(const std::string& hint);

// Registers the framework class of params (once) as a superclass of its
// system class, and returns the system class's procedure.
WNDPROC RegisterFrameworkClass(const TCreateParams& params);

class TCustomControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::string ClassName() const override { return "TCustomControl"; }
};

}  // namespace pellix
