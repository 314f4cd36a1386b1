#include "skin/SkinTabs.h"

#include <algorithm>
#include <cstring>

#include "framework/Tabs.h"
#include "skin/ImgUtil.h"
#include "skin/SkinUpDown.h"
#include "skin/WinSkinData.h"

namespace pellix {

namespace {

RECT MarginsOf(const TDataSkinObject& element) {
    return RECT{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

template <class Element>
const Element* Usable(const std::unique_ptr<Element>& element) {
    return element && !element->Image.Empty() ? element.get() : nullptr;
}

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// A 32-bit work bitmap of that size; null when a side is 0 or less.
std::unique_ptr<TBitmap> WorkBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf32bit);
    bitmap->SetSize(width, height);
    SetStretchBltMode(bitmap->Canvas()->Handle(), COLORONCOLOR);
    return bitmap;
}

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

// Makes an up-down skin on a window, owned by the frame that owns skin (or
// by skin itself without one), and tells skin when it is freed.
TSkinUpDown* MakeUpDownSkin(TSkinControl& skin, HWND window, bool horizontal) {
    auto* upDown = new TSkinUpDown(skin.Owner() != nullptr ? skin.Owner() : &skin);
    upDown->FreeNotification(&skin);
    if (horizontal) upDown->Horizontal = 1;
    upDown->AttachHandle(window, skin.SkinData, skin.Canvas);
    return upDown;
}

// Frame colours of the tab texts: the unselected and the selected tab.
TColor TabTextColour(const TDataSkinObject& tabs, int state) {
    return state == 2 ? tabs.MouseOverColour2 : tabs.NormalColour2;
}

}  // namespace

// ------------------------------------------------------- tab strip layout

TTabSide TabSideOf(DWORD style) {
    const bool vertical = (style & TCS_VERTICAL) != 0, other = (style & TCS_BOTTOM) != 0;
    if (vertical) return other ? TTabSide::Right : TTabSide::Left;
    return other ? TTabSide::Bottom : TTabSide::Top;
}

TTabStripLayout LayoutTabStrip(const RECT& rect, const RECT& adjusted, TTabSide side) {
    TTabStripLayout layout;
    RECT& d = layout.Display;
    d = adjusted;
    InflateRect(&d, 4, 4);
    RECT& s = layout.Strip;
    switch (side) {
    case TTabSide::Top:
        d.top += 1;
        s = {rect.left, rect.top, rect.right, d.top};
        break;
    case TTabSide::Bottom:
        d.bottom -= 1;
        s = {rect.left, d.bottom, rect.right, rect.bottom};
        break;
    case TTabSide::Left:
        d.left += 1;
        s = {rect.left, rect.top, d.left, rect.bottom};
        break;
    case TTabSide::Right:
        d.right -= 1;
        s = {d.right, rect.top, rect.right, rect.bottom};
        break;
    }
    const bool across = side == TTabSide::Top || side == TTabSide::Bottom;
    layout.Buffer = across ? SIZE{WidthOf(s), HeightOf(s)} : SIZE{HeightOf(s), WidthOf(s)};
    return layout;
}

RECT TabRectInBuffer(const RECT& item, TTabSide side, const TTabStripLayout& layout, const RECT& rect) {
    switch (side) {
    case TTabSide::Top: return {item.left, item.top + 1, item.right, item.bottom + 1};
    case TTabSide::Bottom: {
        const int up = layout.Display.bottom + 1;
        return {item.left, item.top - up, item.right, item.bottom - up};
    }
    case TTabSide::Left: {
        const int w = layout.Buffer.cx;
        return {w - item.bottom, item.left, w - item.top, item.right};
    }
    case TTabSide::Right:
        return {item.top - 1, rect.right - item.right, item.bottom - 1, rect.right - item.left};
    }
    return item;
}

RECT TabImageMargins(const RECT& margins, TTabSide side) {
    if (side != TTabSide::Bottom) return margins;
    return {margins.left, margins.bottom, margins.right, margins.top};
}

RECT TabBorderWidths(TTabSide side) {
    switch (side) {
    case TTabSide::Bottom: return {4, 4, 4, 5};
    case TTabSide::Left: return {5, 4, 4, 4};
    case TTabSide::Right: return {4, 4, 5, 4};
    default: return {4, 5, 4, 4};
    }
}

// ---------------------------------------------------------------- TSkinTab

void TSkinTab::AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas) {
    TSkinControl::AttachHandle(handle, skinData, canvas);
    if (Handle == nullptr) return;
    Focused = FocusedNow();
    Enabled = (GetWindowLongPtrA(Handle, GWL_STYLE) & WS_DISABLED) == 0;
    PrepareTabBitmaps();
    FindTabUpDown();
}

void TSkinTab::ReadTabPosition() {
    if (Handle != nullptr) TabPosition = TabSideOf(static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE)));
}

void TSkinTab::PrepareTabBitmaps() {
    ReadTabPosition();
    const TDataSkinBorder* tabs = SkinData != nullptr ? SkinData->Tabs.get() : nullptr;
    if (tabs == nullptr || tabs->Image.Empty() || tabs->SecondImage.Empty()) return;
    TabImage.Assign(&tabs->Image);
    TabImage.SetPixelFormat(TPixelFormat::pf24bit);
    BorderImage.Assign(&tabs->SecondImage);
    BorderImage.SetPixelFormat(TPixelFormat::pf24bit);
    switch (TabPosition) {
    case TTabSide::Bottom:
        FlipBitmap(TabImage);
        FlipBitmap(BorderImage);
        break;
    case TTabSide::Left: RotateBitmap(BorderImage); break;
    case TTabSide::Right: RotateBitmapBack(BorderImage); break;
    case TTabSide::Top: break;
    }
}

HWND TSkinTab::UpDownWindow() const {
    for (HWND child = GetWindow(Handle, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof(name));
        if (lstrcmpiA(name, UPDOWN_CLASSA) == 0) return child;
    }
    return nullptr;
}

bool TSkinTab::FindTabUpDown() {
    if (Handle == nullptr) return false;
    HWND arrows = UpDownWindow();
    if (arrows == nullptr) return false;
    // Made once: the control keeps the window and only hides it.
    if (UpDownSkin == nullptr) UpDownSkin = MakeUpDownSkin(*this, arrows, false);
    return (GetWindowLongPtrA(arrows, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TSkinTab::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == UpDownSkin) UpDownSkin = nullptr;
}

void TSkinTab::DrawTab(HDC dc, const RECT& rect, int state) {
    const TDataSkinBorder& tabs = *SkinData->Tabs;
    PaintSkinImage(dc, rect, TabImage, TabImageMargins(MarginsOf(tabs), TabPosition), state, tabs.FrameCount,
                   tabs.Trans != 0, tabs.Tile != 0, false);
}

void TSkinTab::DrawControl(HDC dc, const RECT& rect) {
    const TDataSkinBorder* tabs = SkinData != nullptr ? Usable(SkinData->Tabs) : nullptr;
    // Nothing before the images are prepared.
    if (tabs == nullptr || TabImage.Empty()) return;
    RECT adjusted = rect;
    SendMessageA(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&adjusted));
    const TTabStripLayout layout = LayoutTabStrip(rect, adjusted, TabPosition);
    const RECT& strip = layout.Strip;

    // An empty or inverted strip has no tabs to show: only the border.
    if (layout.Buffer.cx > 0 && layout.Buffer.cy > 0) {
        const int count = static_cast<int>(SendMessageA(Handle, TCM_GETITEMCOUNT, 0, 0));
        const int focus = static_cast<int>(SendMessageA(Handle, TCM_GETCURFOCUS, 0, 0));
        auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, TCM_GETIMAGELIST, 0, 0));
        TabBuffer.SetPixelFormat(TPixelFormat::pf24bit);
        TabBuffer.SetSize(layout.Buffer.cx, layout.Buffer.cy);
        TCanvas& canvas = *TabBuffer.Canvas();
        HDC buffer = canvas.Handle();
        FillFace(buffer, RECT{0, 0, layout.Buffer.cx, layout.Buffer.cy});
        AssignWindowFont(*canvas.Font(), Handle);
        for (int i = 0; i < count; ++i) {
            char text[80] = {};
            TCITEMA item{};
            item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
            item.dwStateMask = ~DWORD{0};
            item.pszText = text;
            item.cchTextMax = static_cast<int>(sizeof(text));
            SendMessageA(Handle, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            RECT r{};
            if (!SendMessageA(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
            // Tabs scrolled out of view come back empty.
            if (r.right <= r.left || r.bottom <= r.top) continue;
            r = TabRectInBuffer(r, TabPosition, layout, rect);
            const int state = i == focus ? 2 : 1;
            DrawTab(canvas.Handle(), r, state);
            canvas.Font()->SetColor(TabTextColour(*tabs, state));
            text[sizeof(text) - 1] = '\0';
            DrawIconText(*this, canvas, r, TIconTextAlign::Centre, text, item.iImage, images);
        }
        if (TabPosition == TTabSide::Right) RotateBitmapBack(TabBuffer);
        if (TabPosition == TTabSide::Left) RotateBitmap(TabBuffer);
        if (FindTabUpDown())
            CopyStripAroundUpDown(dc, strip);
        else
            BitBlt(dc, strip.left, strip.top, WidthOf(strip), HeightOf(strip), TabBuffer.Canvas()->Handle(), 0, 0,
                   SRCCOPY);
    }

    if (!tabs->SecondImage.Empty() && !BorderImage.Empty())
        DrawSkinBorderPieces(dc, layout.Display, BorderImage, TabBorderWidths(TabPosition), 1, 1, false, false);
}

void TSkinTab::CopyStripAroundUpDown(HDC dc, const RECT& strip) {
    RECT arrows{}, window{};
    GetWindowRect(UpDownWindow(), &arrows);
    GetWindowRect(Handle, &window);
    OffsetRect(&arrows, -window.left, -window.top);
    // The arrows stay as their own skin drew them.
    ClipGuard keep(dc);
    ExcludeClipRect(dc, arrows.left, arrows.top, arrows.right, arrows.bottom);
    BitBlt(dc, strip.left, strip.top, WidthOf(strip), HeightOf(strip), TabBuffer.Canvas()->Handle(), 0, 0, SRCCOPY);
}

TIconTextAlign HeaderItemAlign(int format) {
    switch (format & 0xFF) {
    case HDF_RIGHT: return TIconTextAlign::Right;
    case HDF_CENTER: return TIconTextAlign::Centre;
    default: return TIconTextAlign::Left;
    }
}

// ------------------------------------------------------------ TSkinHeader

void TSkinHeader::AttachHandle(HWND handle, TSkinData* skinData, TCanvas* canvas) {
    TSkinControl::AttachHandle(handle, skinData, canvas);
    if (TSkinControlHost* host = Host(); host != nullptr && Handle != nullptr) host->ControlSkins.push_back(this);
}

bool TSkinHeader::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND && SkinData != nullptr && Usable(SkinData->Headerbar) != nullptr) {
        message.Result = 1;
        return false;
    }
    return true;
}

void TSkinHeader::DrawControl(HDC dc, const RECT& rect) {
    const TDataSkinObject* bar = SkinData != nullptr ? Usable(SkinData->Headerbar) : nullptr;
    if (bar == nullptr) return;
    auto work = WorkBitmap(rect.right - rect.left, rect.bottom - rect.top);
    if (!work) return;
    TCanvas& canvas = *work->Canvas();
    AssignWindowFont(*canvas.Font(), Handle);
    SetBkMode(canvas.Handle(), TRANSPARENT);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, HDM_GETIMAGELIST, 0, 0));
    int right = 0;
    const int count = static_cast<int>(SendMessageA(Handle, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageA(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
        if (Inverted(item)) continue;
        DrawItem(canvas, images, i, item);
        right = std::max(right, static_cast<int>(item.right));
    }
    if (right < rect.right)
        PaintSkinImage(canvas.Handle(), RECT{right, rect.top, rect.right, rect.bottom}, bar->Image, MarginsOf(*bar), 1,
                       bar->FrameCount, false, bar->Tile != 0, false);
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(TCanvas& canvas, HIMAGELIST images, int index, const RECT& rect) {
    const TDataSkinObject& bar = *SkinData->Headerbar;
    char text[201] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(sizeof(text));
    SendMessageA(Handle, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    // No pressed or hot look: frame 1 always.
    PaintSkinImage(canvas.Handle(), rect, bar.Image, MarginsOf(bar), 1, bar.FrameCount, false, bar.Tile != 0, false);
    text[sizeof(text) - 1] = '\0';
    if (text[0] == '\0') return;  // not even the icon
    const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0 ? item.iImage : -1;
    DrawIconText(*this, canvas, rect, HeaderItemAlign(item.fmt), text, image, images);
}

// -------------------------------------------------------------- TSkinTab31

void TSkinTab31::AttachControl(TWinControl* control, TSkinData* skinData, bool setFaceColour, TCanvas* canvas) {
    TSkinControl::AttachControl(control, skinData, setFaceColour, canvas);
    PrepareTab31Bitmap();
    if (control->ComponentCount() == 0) return;
    Scroller = dynamic_cast<TScroller*>(control->Components(0));
    if (Scroller != nullptr) UpDownSkin = MakeUpDownSkin(*this, Scroller->Handle(), true);
}

void TSkinTab31::PrepareTab31Bitmap() {
    TabsImage.FreeImage();
    const TDataSkinBorder* tabs = SkinData != nullptr ? Usable(SkinData->Tabs) : nullptr;
    if (tabs == nullptr) return;
    TabsImage.Assign(&tabs->Image);
    TabsImage.SetPixelFormat(TPixelFormat::pf24bit);
    FlipBitmap(TabsImage);
}

void TSkinTab31::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == UpDownSkin) UpDownSkin = nullptr;
}

bool TSkinTab31::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        HandlePaintMessage(message);
        return true;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinTab31::DrawControl(HDC dc, const RECT& rect) {
    const TDataSkinBorder* tabs = SkinData != nullptr ? Usable(SkinData->Tabs) : nullptr;
    auto* tabSet = dynamic_cast<TTabSet*>(Control);
    if (tabs == nullptr || TabsImage.Empty() || tabSet == nullptr) return;
    auto work = WorkBitmap(WidthOf(rect), HeightOf(rect));
    if (!work) return;
    TCanvas& canvas = *work->Canvas();
    FillFace(canvas.Handle(), rect);
    canvas.Font()->Assign(tabSet->Font());

    const TStrings& list = tabSet->Tabs();
    const int selected = tabSet->TabIndex(), limit = rect.right - tabSet->EndMargin;
    // A tab set without scroller fits its tabs as if it were hidden.
    const bool scrollerShown = Scroller != nullptr && Scroller->Visible();
    const RECT margins = TabImageMargins(MarginsOf(*tabs), TTabSide::Bottom);
    int x = tabSet->StartMargin;
    for (int i = tabSet->FirstIndex(); i < list.Count(); ++i) {
        const std::string text = list.Get(i);
        const int state = i == selected ? 2 : 1;
        const int textWidth = canvas.TextWidth(text);
        const int end = x + textWidth + 9;
        if (end + (scrollerShown ? TTabSet::ScrollerRoom : 0) > limit) continue;  // a later, shorter one may fit
        const RECT tab{x, 0, end, rect.bottom};
        PaintSkinImage(canvas.Handle(), tab, TabsImage, margins, state, tabs->FrameCount, tabs->Trans != 0,
                       tabs->Tile != 0, false);
        canvas.Font()->SetColor(TabTextColour(*tabs, state));
        DrawCaptionText(canvas, tab, TCaptionTextAlign::Centre, true, text);
        x = end;
    }
    BitBlt(dc, rect.left, rect.top, WidthOf(rect), HeightOf(rect), canvas.Handle(), 0, 0, SRCCOPY);
}

}  // namespace pellix
