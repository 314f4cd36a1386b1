#include "skin/MenuItems.h"

#include <algorithm>
#include <exception>

#include "framework/ActnList.h"
#include "framework/ImgList.h"
#include "framework/Screen.h"
#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinMenu.h"
#include "skin/WindowsVersion.h"

namespace pellix {

// ------------------------------------------------------------------ metrics

SIZE TMenuMetrics::MeasureItem(int textWidth, UINT proposedHeight, bool separator) const {
    LONG height = separator ? 8 : static_cast<LONG>(proposedHeight) + 4;
    if (Windows95Family) height += 4;
    return SIZE{textWidth + TextPadding, height};
}

void TMenuMetrics::GrowHandlerSize(int& width, int& height, bool separator) const {
    width += HandlerPadding;
    if (Windows95Family && !separator) height += 4;
}

RECT TMenuMetrics::GlyphBox(const RECT& item, bool separator) {
    if (separator) return RECT{0, item.top + 1, 0, item.top + 17};
    return RECT{item.left + 1, item.top + 1, item.left + 17, item.top + 17};
}

RECT TMenuMetrics::TextRect(const RECT& item, const RECT& glyph) {
    return RECT{glyph.right + 3, item.top, item.right - 1, item.bottom};
}

RECT TMenuMetrics::CentredIn(const RECT& measured, const RECT& area) {
    RECT r = measured;
    OffsetRect(&r, 0, ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2);
    return r;
}

RECT TMenuMetrics::CaptionArea(const RECT& text, int shortCutWidth) {
    RECT area = text;
    if (shortCutWidth > 0) area.right = text.right - ShortCutGap - shortCutWidth;
    return area;
}

RECT TMenuMetrics::AlignedIn(const RECT& measured, const RECT& area, UINT format) {
    const int room = (area.right - area.left) - (measured.right - measured.left);
    if (room <= 0) return measured;
    int shift = 0;
    if (format & DT_RIGHT) shift = room;
    else if (format & DT_CENTER) shift = room / 2;
    RECT r = measured;
    OffsetRect(&r, area.left + shift - measured.left, 0);
    return r;
}

RECT TMenuMetrics::ShortCutRect(const RECT& caption, const RECT& text) {
    return RECT{caption.right, caption.top, text.right - ShortCutGap, caption.bottom};
}

POINT TMenuMetrics::CheckMarkOrigin(const RECT& glyph, SIZE mark) {
    return POINT{glyph.left + ((glyph.right - glyph.left) - mark.cx) / 2 + 1,
                 glyph.top + ((glyph.bottom - glyph.top) - mark.cy) / 2 + 1};
}

RECT TMenuMetrics::BackgroundSource(const RECT& item, POINT clientOrigin) {
    RECT r = item;
    OffsetRect(&r, clientOrigin.x, clientOrigin.y);
    return r;
}

int TMenuMetrics::ItemFrame(bool selected) { return selected ? 4 : 1; }

TSeparatorParts SeparatorParts(SIZE image, int leftWidth, int rightWidth, SIZE item) {
    const int fw = image.cx / 5;
    const int sy = item.cy < image.cy ? image.cy - item.cy : 0;
    const int bottom = image.cy;
    TSeparatorParts parts{};
    parts.Source[0] = RECT{fw, sy, fw + leftWidth, bottom};
    parts.Dest[0] = RECT{0, 0, leftWidth, item.cy};
    parts.Source[1] = RECT{2 * fw - rightWidth, sy, 2 * fw, bottom};
    parts.Dest[1] = RECT{item.cx - rightWidth, 0, item.cx, item.cy};
    parts.Source[2] = RECT{fw + leftWidth, sy, 2 * fw - rightWidth, bottom};
    parts.Dest[2] = RECT{leftWidth, 0, item.cx - rightWidth, item.cy};
    return parts;
}

TColor MenuItemTextColour(const TSkinMembers& skin, bool enabled, bool selected) {
    if (enabled) return selected ? skin.HilightTextColour : skin.MenuTextColour;
    return skin.ButtonShadowColour == skin.MenuTextColour ? clBtnShadow : skin.ButtonShadowColour;
}

POINT PopupClientOrigin(HDC dc) {
    HWND window = dc != nullptr ? WindowFromDC(dc) : nullptr;
    RECT bounds{};
    if (window == nullptr || !GetWindowRect(window, &bounds)) return POINT{3, 3};
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return POINT{origin.x - bounds.left, origin.y - bounds.top};
}

// ---------------------------------------------------------------- helpers

namespace {

constexpr int kObmCheck = 32760;  // OBM_CHECK

TMenuMetrics ItemMetrics() { return TMenuMetrics{Windows95Family()}; }

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A bitmap of an item's size to compose it in, with the menu font.
std::unique_ptr<TBitmap> ItemBitmap(const RECT& rect) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf32bit);
    bitmap->SetSize(Width(rect), Height(rect));
    bitmap->Canvas()->Font()->Assign(Screen->MenuFont());
    return bitmap;
}

void Fill(TCanvas& canvas, const RECT& rect, TColor colour) {
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(colour);
    canvas.FillRect(rect);
}

// The popup's background behind the item, or the menu colour where there is
// none (an empty background counts as none).
void PaintBackground(const TSkinData& skin, TBitmap& bitmap, HMENU menu, const RECT& rect, POINT clientOrigin) {
    const RECT whole{0, 0, bitmap.Width(), bitmap.Height()};
    TBitmap* background = SkinManager != nullptr ? SkinManager->FindPopupBitmap(menu) : nullptr;
    if (background == nullptr || background->Empty()) {
        Fill(*bitmap.Canvas(), whole, skin.MenuColour);
        return;
    }
    background->DrawPart(bitmap.Canvas()->Handle(), whole, TMenuMetrics::BackgroundSource(rect, clientOrigin));
}

void PaintElement(const TSkinData& skin, TBitmap& bitmap, bool selected) {
    const TDataSkinObject& element = *skin.MenuItem;
    const RECT margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
    PaintSkinImage(bitmap.Canvas()->Handle(), RECT{0, 0, bitmap.Width(), bitmap.Height()}, element.Image, margins,
                   TMenuMetrics::ItemFrame(selected), 5, element.Trans != 0, element.Tile != 0, false);
}

void Blit(TCanvas& canvas, const RECT& rect, TBitmap& bitmap) {
    BitBlt(canvas.Handle(), rect.left, rect.top, bitmap.Width(), bitmap.Height(), bitmap.Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

// The system's check mark, its set pixels in the button text colour, the
// rest of the box left as it is.
void DrawCheckMark(TCanvas& canvas, const RECT& glyph) {
    struct BitmapFree {
        void operator()(HBITMAP b) const { DeleteObject(b); }
    };
    std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapFree> mark(
        LoadBitmapA(nullptr, MAKEINTRESOURCEA(kObmCheck)));
    if (mark == nullptr) return;
    BITMAP info{};
    GetObjectA(mark.get(), sizeof(info), &info);
    const POINT at = TMenuMetrics::CheckMarkOrigin(glyph, SIZE{info.bmWidth, info.bmHeight});
    HDC dc = canvas.Handle();
    SelectGuard brush(dc, CreateSolidBrush(ColorToRGB(clBtnText)), true);
    // Where the mark's bitmap is white the target stays; where it is black
    // the brush paints.
    MaskBlt(dc, at.x, at.y, info.bmWidth, info.bmHeight, dc, at.x, at.y, mark.get(), 0, 0,
            MAKEROP4(0x00AA0029, PATCOPY));
}

bool ParentIsRightToLeft(const TMenuItem& item) {
    const TMenu* menu = item.GetParentMenu();
    return menu != nullptr && menu->IsRightToLeft();
}

// DrawText's alignment of the texts of a popup menu component's items by
// the menu's Alignment; the items of any other menu go left.
UINT ItemAlignment(const TMenuItem& item) {
    const auto* popup = dynamic_cast<const TPopupMenu*>(item.GetParentMenu());
    if (popup == nullptr) return DT_LEFT;
    switch (popup->Alignment) {
    case TPopupAlignment::paRight: return DT_RIGHT;
    case TPopupAlignment::paCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

// A checked item's picture sits in a sunken box shaded with the button face
// and highlight colours.
void DrawCheckedBox(TCanvas& canvas, const RECT& glyph) {
    HDC dc = canvas.Handle();
    {
        auto pattern = AllocPatternBitmap(clBtnFace, clBtnHighlight);
        SelectGuard brush(dc, CreatePatternBrush(pattern->Handle()), true);
        PatBlt(dc, glyph.left, glyph.top, Width(glyph), Height(glyph), PATCOPY);
    }
    RECT edge = glyph;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

// The item's picture from its menu's image list, greyed when the item is
// disabled; an item without one shows the system's check mark when checked.
void DrawGlyph(TMenuItem& item, TCanvas& canvas, const RECT& glyph) {
    TCustomImageList* images = item.GetImageList();
    if (images == nullptr || item.ImageIndex < 0 || item.ImageIndex >= images->Count()) {
        if (item.Checked()) DrawCheckMark(canvas, glyph);
        return;
    }
    if (item.Checked()) DrawCheckedBox(canvas, glyph);
    images->Draw(canvas, glyph.left, glyph.top, item.ImageIndex, item.Enabled());
}

}  // namespace

// ---------------------------------------------------------------- measuring

void MeasureMenuItem(TMenuItem& item, TCanvas& canvas, UINT& height, UINT& width) {
    std::string text = item.Caption();
    if (item.ShortCut() != scNone) text += ShortCutToText(item.ShortCut());
    const SIZE size = ItemMetrics().MeasureItem(canvas.TextWidth(text), height, item.IsLine());
    width = static_cast<UINT>(size.cx);
    height = static_cast<UINT>(size.cy);
}

void MeasureItemHandler(TMenuItem& item, TCanvas&, int& width, int& height) {
    ItemMetrics().GrowHandlerSize(width, height, item.IsLine());
}

// ------------------------------------------------------------------ drawing

void DrawMenuItemText(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, UINT format, bool selected,
                      RECT& rect, const std::string& text) {
    if (ParentIsRightToLeft(item)) format |= DT_RIGHT | DT_RTLREADING;
    std::string drawn = text;
    // An empty caption still measures one line.
    if ((format & DT_CALCRECT) && (drawn.empty() || drawn == "&")) drawn += ' ';
    if (drawn != "-") {
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        if (item.Default()) canvas.Font()->SetStyle(canvas.Font()->Style() | fsBold);
        canvas.Font()->SetColor(MenuItemTextColour(skin, item.Enabled(), selected));
        DrawTextA(canvas.Handle(), drawn.c_str(), static_cast<int>(drawn.size()), &rect, format);
        return;
    }
    if (format & DT_CALCRECT) return;
    RECT line = rect;
    line.top += 4;
    DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
}

void DrawMenuItemContent(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect) {
    if (TCustomAction* action = item.Action()) action->Update();
    const UINT alignment = ItemAlignment(item);
    const RECT glyph = TMenuMetrics::GlyphBox(rect, item.IsLine());
    if (!item.IsLine()) DrawGlyph(item, canvas, glyph);

    const RECT text = TMenuMetrics::TextRect(rect, glyph);
    RECT caption = text;
    DrawMenuItemText(skin, item, canvas, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE,
                     selected, caption, item.Caption());
    caption = TMenuMetrics::CentredIn(caption, text);
    const std::string shortCut = item.ShortCut() != scNone ? ShortCutToText(item.ShortCut()) : std::string();
    // Measuring leaves the extent at the left whatever the format, and the
    // caption is drawn into that extent: the extent itself goes where the
    // alignment (or a right-to-left menu) puts the caption, short of the shortcut.
    const UINT placement = ParentIsRightToLeft(item) ? DT_RIGHT : alignment;
    if (placement != DT_LEFT) {
        int shortCutWidth = 0;
        if (!shortCut.empty()) {
            RECT measured = text;
            DrawMenuItemText(skin, item, canvas, DT_RIGHT | DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE, selected,
                             measured, shortCut);
            shortCutWidth = Width(measured);
        }
        caption = TMenuMetrics::AlignedIn(caption, TMenuMetrics::CaptionArea(text, shortCutWidth), placement);
    }
    DrawMenuItemText(skin, item, canvas, alignment | DT_EXPANDTABS | DT_SINGLELINE, selected, caption,
                     item.Caption());
    if (shortCut.empty()) return;
    RECT shortCutRect = TMenuMetrics::ShortCutRect(caption, text);
    DrawMenuItemText(skin, item, canvas, DT_RIGHT, selected, shortCutRect, shortCut);
}

void DrawMenuItemFlat(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, bool selected, const RECT& rect) {
    auto bitmap = ItemBitmap(rect);
    const RECT whole{0, 0, bitmap->Width(), bitmap->Height()};
    Fill(*bitmap->Canvas(), whole, selected ? skin.HilightColour : skin.MenuColour);
    DrawMenuItemContent(skin, item, *bitmap->Canvas(), selected, whole);
    Blit(canvas, rect, *bitmap);
}

void DrawMenuItemSkinned(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected) {
    if (skin.MenuItem == nullptr) {
        DrawMenuItemFlat(skin, item, canvas, selected, rect);
        return;
    }
    HMENU menu = item.Parent() != nullptr ? item.Parent()->Handle() : nullptr;
    if (AwaitingPopupSkin != nullptr && item.Parent() != nullptr) {
        AwaitingPopupSkin->MenuHandle = menu;
        AwaitingPopupSkin = nullptr;
    }
    auto bitmap = ItemBitmap(rect);
    PaintBackground(skin, *bitmap, menu, rect, PopupClientOrigin(canvas.Handle()));
    if (!item.IsLine()) {
        PaintElement(skin, *bitmap, selected);
        DrawMenuItemContent(skin, item, *bitmap->Canvas(), selected, RECT{0, 0, bitmap->Width(), bitmap->Height()});
        Blit(canvas, rect, *bitmap);
        return;
    }
    Blit(canvas, rect, *bitmap);
    DrawSeparatorLine(skin, canvas, rect);
}

void DrawMenuItemRaw(const TSkinData& skin, HMENU menu, TMenuItem& item, bool selected, const RECT& rect,
                     TCanvas& canvas) {
    if (skin.MenuItem == nullptr) {
        DrawMenuItemFlat(skin, item, canvas, selected, rect);
        return;
    }
    auto bitmap = ItemBitmap(rect);
    PaintBackground(skin, *bitmap, menu, rect, PopupClientOrigin(canvas.Handle()));
    PaintElement(skin, *bitmap, selected);
    DrawMenuItemContent(skin, item, *bitmap->Canvas(), selected, RECT{0, 0, bitmap->Width(), bitmap->Height()});
    Blit(canvas, rect, *bitmap);
}

void DrawSeparatorLine(const TSkinData& skin, TCanvas& canvas, const RECT& rect) {
    if (skin.MenuItem == nullptr || skin.MenuItem->Image.Empty() || Width(rect) <= 0 || Height(rect) <= 0) return;
    const TDataSkinObject& element = *skin.MenuItem;
    const TSeparatorParts parts = SeparatorParts(SIZE{element.Image.Width(), element.Image.Height()},
                                                 element.LeftWidth, element.RightWidth,
                                                 SIZE{Width(rect), Height(rect)});
    TBitmap line;
    line.SetPixelFormat(TPixelFormat::pf32bit);
    line.SetSize(Width(rect), Height(rect));
    HDC dc = line.Canvas()->Handle();
    SetStretchBltMode(dc, COLORONCOLOR);
    for (int i = 0; i < 3; ++i)
        if (Width(parts.Dest[i]) > 0 && Width(parts.Source[i]) > 0) element.Image.DrawPart(dc, parts.Dest[i], parts.Source[i]);
    DrawTransparentBitmap(canvas.Handle(), rect, line, KeyColour);
}

// -------------------------------------------------------------- menu handles

TMenuItemPtr MenuItemFromHandle(HMENU menu, UINT id) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_FTYPE;
    GetMenuItemInfoA(menu, id, FALSE, &info);
    TMenuItemPtr item(new TMenuItem(nullptr));
    char text[81] = {};
    GetMenuStringA(menu, id, text, 80, MF_BYCOMMAND);
    item->SetCaption(text[0] == '\0' ? "-" : text);
    item->SetEnabled((info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    return item;
}

namespace {

void ChangeOwnerDraw(HMENU menu, bool ownerDraw) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const UINT type = ownerDraw ? info.fType | MFT_OWNERDRAW : info.fType & ~static_cast<UINT>(MFT_OWNERDRAW);
        if (type != info.fType) {
            MENUITEMINFOA change{};
            change.cbSize = sizeof(change);
            change.fMask = MIIM_FTYPE;
            change.fType = type;
            SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &change);
        }
        if (info.hSubMenu != nullptr) ChangeOwnerDraw(info.hSubMenu, ownerDraw);
    }
}

}  // namespace

void SetMenuOwnerDraw(HMENU menu) { ChangeOwnerDraw(menu, true); }

void ClearMenuOwnerDraw(HMENU menu) { ChangeOwnerDraw(menu, false); }

// -------------------------------------------------------- the frame's side

namespace {

// A canvas on someone else's DC with the menu font, let go before the DC is.
class TMenuCanvas {
public:
    explicit TMenuCanvas(HDC dc) : canvas_(dc) { canvas_.Font()->Assign(Screen->MenuFont()); }
    TCanvas& Get() { return canvas_; }

private:
    TCanvas canvas_;
};

class TWindowDc {
public:
    explicit TWindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~TWindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace

TMenuItem* TWinSkinForm::FrameMenuItem(UINT command) const {
    if (Form == nullptr || SkinMenu == nullptr || SkinMenu->FrameMenu == nullptr) return nullptr;
    return SkinMenu->FrameMenu->FindItem(command, TFindItemKind::fkCommand);
}

void TWinSkinForm::WmMeasureItem(TMessage& m) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (measure->CtlType != ODT_MENU || WindowMenu == nullptr) {
        CallOldFrameProc(m);
        return;
    }
    m.Result = TRUE;
    try {
        TWindowDc dc(Window);
        TMenuCanvas canvas(dc.Get());
        if (TMenuItem* item = FrameMenuItem(measure->itemID)) {
            MeasureMenuItem(*item, canvas.Get(), measure->itemHeight, measure->itemWidth);
            return;
        }
        char text[81] = {};
        GetMenuStringA(TrackedMenu, measure->itemID, text, 80, MF_BYCOMMAND);
        const SIZE size = ItemMetrics().MeasureItem(canvas.Get().TextWidth(text), measure->itemHeight, text[0] == '\0');
        measure->itemWidth = static_cast<UINT>(size.cx);
        measure->itemHeight = static_cast<UINT>(size.cy);
    } catch (const std::exception&) {
        // An item that cannot be measured keeps the size the system proposed.
    }
}

void TWinSkinForm::WmDrawItem(TMessage& m) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (draw->CtlType != ODT_MENU || WindowMenu == nullptr || (MdiState == msMdiFrame && WindowsNT4())) {
        CallOldFrameProc(m);
        return;
    }
    m.Result = TRUE;
    const auto menu = reinterpret_cast<HMENU>(draw->hwndItem);
    if (AwaitingPopupSkin != nullptr) {
        AwaitingPopupSkin->MenuHandle = menu;
        AwaitingPopupSkin = nullptr;
    }
    try {
        TMenuCanvas canvas(draw->hDC);
        const bool selected = (draw->itemState & ODS_SELECTED) != 0;
        if (TMenuItem* item = FrameMenuItem(draw->itemID)) {
            if (SkinData->MenuItem != nullptr) DrawMenuItemSkinned(*SkinData, *item, canvas.Get(), draw->rcItem, selected);
            else DrawMenuItemFlat(*SkinData, *item, canvas.Get(), selected, draw->rcItem);
            return;
        }
        TMenuItemPtr item = MenuItemFromHandle(menu, draw->itemID);
        DrawMenuItemRaw(*SkinData, menu, *item, selected, draw->rcItem, canvas.Get());
    } catch (const std::exception&) {
        // An item that cannot be drawn stays as the system left it.
    }
}

}  // namespace pellix
