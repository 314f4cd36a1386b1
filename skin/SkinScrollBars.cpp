#include "skin/SkinScrollBars.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>

#include "framework/ScrollBar.h"
#include "skin/ImgUtil.h"
#include "skin/SkinTabs.h"
#include "skin/WinSkinData.h"
#include "skin/WindowsVersion.h"

namespace pellix {

namespace {

// Frames of the arrows in the 23-frame "Scrollbar" strip: normal, pressed.
constexpr int kArrowFrames = 23;
constexpr int kLeftArrow = 1, kRightArrow = 5, kUpArrow = 9, kDownArrow = 13;
constexpr int kTrackFrames = 4;
// Wider or taller bars are not drawn: their work bitmap would be absurd.
constexpr int kLargestBar = 10000;

int ArrowSizeNow() { return GetSystemMetrics(SM_CXHSCROLL); }
int MinThumb(int arrowSize) { return Windows95Family() ? arrowSize / 2 : 8; }

int LengthOf(const RECT& r, bool vertical) { return vertical ? r.bottom - r.top : r.right - r.left; }
bool NotEmpty(const RECT& r) { return r.bottom > r.top && r.right > r.left; }

// A stretch of a bar's work bitmap from `from` to `to` along the bar, across
// its whole thickness.
RECT Along(int from, int to, bool vertical) {
    return vertical ? RECT{0, from, BarWorkThickness, to} : RECT{from, 0, to, BarWorkThickness};
}

RECT MarginsOf(const TDataSkinObject& element) {
    return RECT{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

const TDataSkinObject* Usable(const std::unique_ptr<TDataSkinObject>& element) {
    return element && !element->Image.Empty() ? element.get() : nullptr;
}

bool HasArrowImage(const TSkinData* skin) { return skin != nullptr && Usable(skin->Scrollbar) != nullptr; }

// Restores a context's stretch mode on scope exit.
class StretchMode {
public:
    StretchMode(HDC dc, int mode) : dc_(dc), old_(SetStretchBltMode(dc, mode)) {}
    ~StretchMode() {
        if (old_ != 0) SetStretchBltMode(dc_, old_);
    }
    StretchMode(const StretchMode&) = delete;
    StretchMode& operator=(const StretchMode&) = delete;

private:
    HDC dc_;
    int old_;
};

// Sets a flag for the length of a scope; leaves it alone when the object
// holding it went away meanwhile.
class FlagScope {
public:
    FlagScope(bool& flag, std::shared_ptr<bool> alive) : flag_(flag), alive_(std::move(alive)) { flag_ = true; }
    ~FlagScope() {
        if (*alive_) flag_ = false;
    }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    std::shared_ptr<bool> alive_;
};

TBarPress PressOf(int pressedPart, bool vertical) {
    switch (pressedPart) {
    case ppLeftArrow: return vertical ? TBarPress::None : TBarPress::FirstArrow;
    case ppRightArrow: return vertical ? TBarPress::None : TBarPress::SecondArrow;
    case ppHorzThumb: return vertical ? TBarPress::None : TBarPress::Thumb;
    case ppUpArrow: return vertical ? TBarPress::FirstArrow : TBarPress::None;
    case ppDownArrow: return vertical ? TBarPress::SecondArrow : TBarPress::None;
    case ppVertThumb: return vertical ? TBarPress::Thumb : TBarPress::None;
    default: return TBarPress::None;
    }
}

bool IsBarHit(WPARAM hitTest) { return hitTest == HTHSCROLL || hitTest == HTVSCROLL; }

}  // namespace

// ------------------------------------------------------------- geometry

void LayoutBarRects(TBarRects& rects, const RECT& rect, const RECT& client, DWORD style, int arrowSize) {
    const bool vertical = (style & WS_VSCROLL) != 0, horizontal = (style & WS_HSCROLL) != 0;
    const int s = arrowSize;
    const int e = vertical ? (rect.right - client.right - s) / 2 : (rect.bottom - client.bottom - s) / 2;
    if (vertical && horizontal) {
        rects.Horz = {rect.left + e, rect.bottom - e - s, rect.right - e - s, rect.bottom - e};
        rects.Vert = {rect.right - e - s, e, rect.right - e, rect.bottom - e - s};
        rects.SizeBox = {rects.Vert.left, rects.Horz.top, rects.Vert.right, rects.Horz.bottom};
    } else if (vertical) {
        rects.Vert = {rect.right - e - s, e, rect.right - e, rect.bottom - e};
    } else if (horizontal) {
        rects.Horz = {rect.left + e, rect.bottom - e - s, rect.right - e, rect.bottom - e};
    }
}

bool ComputeThumbMetrics(const TThumbInput& input, TBarMetrics& metrics) {
    if (input.Range <= 0) return false;
    const int track = input.BarLength - 2 * input.ArrowSize;
    int size = input.Page == 0 ? input.DefaultThumb : std::max(MulDiv(input.Page, track, input.Range), input.MinThumb);
    if (track <= size) size = track;
    int offset = 0;
    if (input.Page == input.Range) {
        size -= 1;
    } else {
        offset = std::min(MulDiv(input.Offset, track - size, input.Range - input.Page), track - size);
    }
    metrics.TrackLength = track;
    metrics.ThumbSize = size;
    metrics.ThumbPos = offset;
    return true;
}

int HitTestBar(int c, const TBarMetrics& m) {
    const int a = m.ArrowSize, p = m.ThumbPos, t = m.ThumbSize, l = m.TrackLength;
    if (c < a) return SB_LINEUP;
    if (c < a + p) return SB_PAGEUP;
    if (c < a + p + t) return SB_THUMBTRACK;
    if (c < a + l) return SB_PAGEDOWN;
    if (c < 2 * a + l) return SB_LINEDOWN;
    return -1;
}

TDragResult DragPosition(int t, const TBarMetrics& m, int nMin, int nMax, int nPage) {
    const int track = m.TrackLength, free = m.TrackLength - m.ThumbSize;
    t = std::max(t, 0);
    int position;
    if (nPage == 0) {
        t = std::min(t, free);
        position = std::min(MulDiv(t, nMax - nMin, free) + nMin, nMax);
    } else {
        position = MulDiv(std::min(t, track), nMax - nMin, track) + nMin;
        if (position >= nMax - nPage) position = nMax - nPage + 1;
    }
    position = std::max(position, nMin);
    // The thumb stops at the far end of the track, whatever the position.
    return {position, std::clamp(t, 0, std::max(free, 0))};
}

TBarParts BarParts(int length, bool vertical, int arrowSize, const TBarMetrics& metrics) {
    TBarParts parts;
    parts.Work = Along(0, length, vertical);
    const int a = length < 2 * arrowSize ? length / 2 : arrowSize;
    parts.FirstArrow = Along(0, a, vertical);
    parts.SecondArrow = Along(length - a, length, vertical);
    parts.Track = Along(arrowSize, length - arrowSize, vertical);
    if (metrics.ThumbSize > 0 && metrics.ThumbSize <= metrics.TrackLength)
        parts.Thumb = Along(a + metrics.ThumbPos, a + metrics.ThumbPos + metrics.ThumbSize, vertical);
    return parts;
}

int PressedPartOf(int scrollCode, bool vertical) {
    switch (scrollCode) {
    case SB_LINEUP: return vertical ? ppUpArrow : ppLeftArrow;
    case SB_LINEDOWN: return vertical ? ppDownArrow : ppRightArrow;
    case SB_THUMBTRACK: return vertical ? ppVertThumb : ppHorzThumb;
    default: return ppNone;
    }
}

// ------------------------------------------------------------- painting

void DrawSkinBar(HDC dc, const RECT& bar, bool vertical, const TBarMetrics& metrics, TBarPress press,
                 const TSkinData& skin) {
    const TDataSkinObject* arrows = Usable(skin.Scrollbar);
    const int length = LengthOf(bar, vertical);
    if (arrows == nullptr || length <= 0 || length > kLargestBar) return;
    const int s = ArrowSizeNow();
    const TBarParts parts = BarParts(length, vertical, s, metrics);

    TBitmap work;
    work.SetPixelFormat(TPixelFormat::pf32bit);
    work.SetSize(parts.Work.right, parts.Work.bottom);
    TCanvas& canvas = *work.Canvas();
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(skin.ScrollbarColour);
    canvas.FillRect(parts.Work);
    HDC workDc = canvas.Handle();
    SetStretchBltMode(workDc, COLORONCOLOR);

    if (const TDataSkinObject* track = Usable(vertical ? skin.VertScroll : skin.HorzScroll))
        PaintSkinImage(workDc, parts.Track, track->Image, MarginsOf(*track), 1, kTrackFrames, track->Trans != 0,
                       track->Tile != 0, false);

    const int first = vertical ? kUpArrow : kLeftArrow, second = vertical ? kDownArrow : kRightArrow;
    DrawStripFrameCanvas(canvas, parts.FirstArrow, kArrowFrames, first + (press == TBarPress::FirstArrow ? 1 : 0),
                         arrows->Image);
    DrawStripFrameCanvas(canvas, parts.SecondArrow, kArrowFrames, second + (press == TBarPress::SecondArrow ? 1 : 0),
                         arrows->Image);

    const TDataSkinObject* thumb = Usable(vertical ? skin.VertScrollThumb : skin.HorzScrollThumb);
    if (thumb != nullptr && thumb->FrameCount >= 1 && NotEmpty(parts.Thumb)) {
        const int frame = std::min(press == TBarPress::Thumb ? 2 : 1, thumb->FrameCount);
        PaintSkinImage(canvas.Handle(), parts.Thumb, thumb->Image, MarginsOf(*thumb), frame, thumb->FrameCount,
                       thumb->Trans != 0, false, false);
    }

    // Only the thickness is scaled; colour on colour keeps thin bars free of
    // dark seams.
    StretchMode mode(dc, COLORONCOLOR);
    StretchBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, canvas.Handle(), 0, 0,
               parts.Work.right, parts.Work.bottom, SRCCOPY);
}

// ------------------------------------------------------- TSkinScrollBar

TSkinScrollBar::TSkinScrollBar(TComponent* owner) : TSkinControl(owner) {
    HorzScrollInfo.cbSize = VertScrollInfo.cbSize = sizeof(SCROLLINFO);
}

TSkinScrollBar::~TSkinScrollBar() { *alive_ = false; }

void TSkinScrollBar::AttachScrollControl(TWinControl* control, TSkinData* skinData, bool trackThumb,
                                         TCanvas* canvas) {
    SkinData = skinData;
    Canvas = canvas;
    Control = control;
    Handle = control->Handle();
    OldWindowProc = control->WindowProc;
    control->WindowProc = [this](TMessage& message) { ControlWindowProc(message); };
    if (TSkinControlHost* host = Host()) host->ControlSkins.push_back(this);
    Dragging = InVertScroll = InHorzScroll = false;
    HorzScrollInfo.cbSize = VertScrollInfo.cbSize = sizeof(SCROLLINFO);
    TrackThumb = trackThumb;
    alive_ = std::make_shared<bool>(true);
    drawn_ = TBarState{};
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollBar::DetachControl() {
    *alive_ = false;
    Dragging = false;
    TSkinControl::DetachControl();
}

bool TSkinScrollBar::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        CallOldWindowProc(message);
        return false;
    case WM_NCMOUSEMOVE:
        // The system would redraw the bar hot.
        return !IsBarHit(message.WParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return !(TrackThumb && HandleNcButtonDown(message));
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Those of a child scroll-bar control are not about this window's bars.
        if (message.LParam != 0) return true;
        return OnScroll(message, message.Msg == WM_VSCROLL);
    case WM_CAPTURECHANGED:
        if (Dragging && reinterpret_cast<HWND>(message.LParam) != Handle) dragCancelled_ = true;
        return true;
    case WM_CANCELMODE:
        if (Dragging) dragCancelled_ = true;
        return true;
    default:
        return true;
    }
}

bool TSkinScrollBar::OnScroll(TMessage& message, bool vertical) {
    PressedPart = PressedPartOf(LOWORD(message.WParam), vertical);
    const std::shared_ptr<bool> alive = alive_;
    {
        FlagScope inScroll(vertical ? InVertScroll : InHorzScroll, alive);
        CallOldWindowProc(message);
        if (*alive) PaintControl(nullptr);
    }
    return false;
}

void TSkinScrollBar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCPAINT:
        PaintControl(nullptr);
        break;
    case WM_PRINT:
        PaintControl(reinterpret_cast<HDC>(message.WParam));
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        // The system's tracking of the click ran inside and drew the bar last.
        if (IsBarHit(message.WParam)) PaintBars();
        break;
    case WM_NCMOUSELEAVE:
        PaintBars();
        break;
    case WM_SETREDRAW:
        if (message.WParam != 0) PaintBars();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
    RepaintBarsIfChanged();
}

TSkinScrollBar::TBarState TSkinScrollBar::ReadBarState() const {
    TBarState state;
    if (Handle == nullptr) return state;
    state.Bars = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE)) & (WS_HSCROLL | WS_VSCROLL);
    auto read = [this](int bar, int& nMin, int& nMax, int& page, int& pos) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        if (!GetScrollInfo(Handle, bar, &info)) return;
        nMin = info.nMin;
        nMax = info.nMax;
        page = static_cast<int>(info.nPage);
        pos = info.nPos;
    };
    if (state.Bars & WS_HSCROLL) read(SB_HORZ, state.HorzMin, state.HorzMax, state.HorzPage, state.HorzPos);
    if (state.Bars & WS_VSCROLL) read(SB_VERT, state.VertMin, state.VertMax, state.VertPage, state.VertPos);
    return state;
}

void TSkinScrollBar::PaintBars() {
    if (Handle != nullptr && IsWindowVisible(Handle)) PaintControl(nullptr);
}

void TSkinScrollBar::RepaintBarsIfChanged() {
    if (painting_ || Handle == nullptr || !IsWindowVisible(Handle) || !HasArrowImage(SkinData)) return;
    if (ReadBarState() == drawn_) return;
    FlagScope painting(painting_, alive_);
    PaintControl(nullptr);
}

void TSkinScrollBar::DrawControl(HDC dc, const RECT& rect) {
    drawn_ = ReadBarState();
    if (!HasArrowImage(SkinData)) return;
    Style = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE));
    if (InVertScroll) Style |= WS_VSCROLL;
    if (InHorzScroll) Style |= WS_HSCROLL;
    const bool vertical = (Style & WS_VSCROLL) != 0, horizontal = (Style & WS_HSCROLL) != 0;
    if (!vertical && !horizontal) return;
    LayoutBars(rect);
    if (horizontal && NotEmpty(HorzBarRect)) DrawBar(dc, HorzBarRect, false);
    if (vertical && NotEmpty(VertBarRect)) DrawBar(dc, VertBarRect, true);
    if (horizontal && vertical && NotEmpty(SizeBoxRect)) FillFace(dc, SizeBoxRect);
}

void TSkinScrollBar::LayoutBars(const RECT& rect) {
    RECT client{};
    GetClientRect(Handle, &client);
    const int s = ArrowSizeNow();
    HorzMetrics.ArrowSize = VertMetrics.ArrowSize = s;
    TBarRects rects{HorzBarRect, VertBarRect, SizeBoxRect};
    LayoutBarRects(rects, rect, client, Style, s);
    HorzBarRect = rects.Horz;
    VertBarRect = rects.Vert;
    SizeBoxRect = rects.SizeBox;
}

void TSkinScrollBar::ComputeThumb(const RECT& bar, bool vertical) {
    if (Dragging) return;
    SCROLLINFO read{};
    read.cbSize = sizeof(read);
    read.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(Handle, vertical ? SB_VERT : SB_HORZ, &read)) return;
    const int s = ArrowSizeNow();
    const TThumbInput input{LengthOf(bar, vertical), s, MinThumb(s), GetSystemMetrics(SM_CXHTHUMB),
                            read.nMax - read.nMin, static_cast<int>(read.nPage), read.nPos - read.nMin};
    if (!ComputeThumbMetrics(input, vertical ? VertMetrics : HorzMetrics)) return;
    SCROLLINFO& info = vertical ? VertScrollInfo : HorzScrollInfo;
    info.nMin = read.nMin;
    info.nMax = read.nMax;
    info.nPage = read.nPage;
    info.nPos = read.nPos;
    info.nTrackPos = read.nTrackPos;
}

void TSkinScrollBar::DrawBar(HDC dc, const RECT& bar, bool vertical) {
    ComputeThumb(bar, vertical);
    DrawSkinBar(dc, bar, vertical, vertical ? VertMetrics : HorzMetrics, PressOf(PressedPart, vertical), *SkinData);
}

bool TSkinScrollBar::HandleNcButtonDown(const TMessage& message) {
    if (!IsBarHit(message.WParam) || !HasArrowImage(SkinData)) return false;
    const bool vertical = message.WParam == HTVSCROLL;
    RECT screen;
    if (!GetWindowRect(Handle, &screen)) return false;
    // The bars may have moved or changed since they were last painted.
    RECT rect = screen;
    OffsetRect(&rect, -screen.left, -screen.top);
    Style = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE));
    LayoutBars(rect);
    const RECT& bar = vertical ? VertBarRect : HorzBarRect;
    ComputeThumb(bar, vertical);
    const int c = vertical ? GET_Y_LPARAM(message.LParam) - screen.top - bar.top
                           : GET_X_LPARAM(message.LParam) - screen.left - bar.left;
    if (HitTestBar(c, vertical ? VertMetrics : HorzMetrics) != SB_THUMBTRACK) return false;
    PressedPart = vertical ? ppVertThumb : ppHorzThumb;
    PaintControl(nullptr);
    DragThumb(vertical, vertical ? WM_VSCROLL : WM_HSCROLL);
    return true;  // this object may be gone by now
}

void TSkinScrollBar::DragThumb(bool vertical, UINT scrollMessage) {
    // Everything a dispatched message may free is read through these.
    const std::shared_ptr<bool> alive = alive_;
    const HWND window = Handle;
    auto gone = [&] { return !*alive || !IsWindow(window); };

    TBarMetrics& metrics = vertical ? VertMetrics : HorzMetrics;
    SCROLLINFO& info = vertical ? VertScrollInfo : HorzScrollInfo;
    const int bar = vertical ? SB_VERT : SB_HORZ;
    Dragging = true;
    dragCancelled_ = false;
    POINT start{};
    GetCursorPos(&start);
    const int startOffset = metrics.ThumbPos;
    int position = info.nPos;
    SetCapture(window);

    // A press already over (a click that was not real input) ends at once.
    bool ended = (GetKeyState(VK_LBUTTON) & 0x8000) == 0;
    std::optional<WPARAM> quit;
    while (!ended) {
        if (gone()) break;
        if (dragCancelled_ || !Dragging || GetCapture() != window) break;
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        switch (msg.message) {
        case WM_QUIT:
            quit = msg.wParam;
            ended = true;
            break;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            const int moved = vertical ? msg.pt.y - start.y : msg.pt.x - start.x;
            const TDragResult r = DragPosition(startOffset + moved, metrics, info.nMin, info.nMax,
                                               static_cast<int>(info.nPage));
            if (r.Position == position) break;
            position = r.Position;
            info.fMask = SIF_POS;
            info.nPos = info.nTrackPos = position;
            metrics.ThumbPos = r.ThumbPos;
            SetScrollInfo(window, bar, &info, FALSE);
            SendMessageA(window, scrollMessage, MAKEWPARAM(SB_THUMBTRACK, position), 0);
            break;
        }
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            ended = true;
            break;
        default:
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            break;
        }
    }

    if (!gone()) {
        Dragging = false;
        if (GetCapture() == window) ReleaseCapture();
        if (!gone()) {
            SendMessageA(window, scrollMessage, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
            if (IsWindow(window)) PostMessageA(window, scrollMessage, SB_ENDSCROLL, 0);
        }
    } else if (IsWindow(window) && GetCapture() == window) {
        ReleaseCapture();
    }
    if (quit) PostQuitMessage(static_cast<int>(*quit));
}

// -------------------------------------------------------- TSkinListView

void TSkinListView::AttachControl(TWinControl* control, TSkinData* skinData, bool trackThumb, TCanvas* canvas) {
    AttachScrollControl(control, skinData, trackThumb, canvas);
    HWND header = reinterpret_cast<HWND>(SendMessageA(Handle, LVM_GETHEADER, 0, 0));
    if (header == nullptr) return;
    // The frame owns it; without one, this skin does.
    auto* skin = new TSkinHeader(Owner() != nullptr ? Owner() : this);
    skin->FreeNotification(this);
    HeaderSkin = skin;
    skin->AttachHandle(header, skinData, canvas);
}

void TSkinListView::Notification(TComponent* component, TOperation operation) {
    TSkinScrollBar::Notification(component, operation);
    if (operation == TOperation::opRemove && component == HeaderSkin) HeaderSkin = nullptr;
}

// ------------------------------------------------------- TSkinScControl

TScrollBar* TSkinScControl::Bar() const { return dynamic_cast<TScrollBar*>(Control); }

bool TSkinScControl::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCMOUSEMOVE:
        return !IsBarHit(message.WParam);
    case CN_HSCROLL:
    case CN_VSCROLL:
        PressedPart = PressedPartOf(LOWORD(message.WParam), message.Msg == CN_VSCROLL);
        CallOldWindowProc(message);
        PaintControl(nullptr);
        return false;
    default:
        return true;
    }
}

void TSkinScControl::AfterMessage(TMessage& message) {
    TSkinControl::AfterMessage(message);
    switch (message.Msg) {
    // The control draws itself at once on these: hot on a move, normal on
    // leaving, the end of a click, a new range or position.
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
        if (Handle != nullptr && IsWindowVisible(Handle)) PaintControl(nullptr);
        break;
    default:
        break;
    }
}

void TSkinScControl::ComputeThumb(const RECT& bar, bool vertical) {
    const TScrollBar* control = Bar();
    const int s = ArrowSizeNow();
    TBarMetrics metrics{s, TrackLength, ThumbSize, ThumbPos};
    const TThumbInput input{LengthOf(bar, vertical), s, MinThumb(s), GetSystemMetrics(SM_CXHTHUMB),
                            control->Max() - control->Min() + 1, control->PageSize(),
                            control->Position() - control->Min()};
    if (!ComputeThumbMetrics(input, metrics)) return;
    TrackLength = metrics.TrackLength;
    ThumbSize = metrics.ThumbSize;
    ThumbPos = metrics.ThumbPos;
}

void TSkinScControl::DrawControl(HDC dc, const RECT& rect) {
    const TScrollBar* control = Bar();
    if (!HasArrowImage(SkinData) || control == nullptr) return;
    const bool vertical = control->Kind() == TScrollBarKind::sbVertical;
    ComputeThumb(rect, vertical);
    const TBarMetrics metrics{ArrowSizeNow(), TrackLength, ThumbSize, ThumbPos};
    DrawSkinBar(dc, rect, vertical, metrics, PressOf(PressedPart, vertical), *SkinData);
}

// ----------------------------------------------------------- TSkinSizer

bool TSkinSizer::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        if (message.WParam == 0) {
            PAINTSTRUCT paint;
            BeginPaint(Handle, &paint);
            EndPaint(Handle, &paint);
        }
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

}  // namespace pellix
