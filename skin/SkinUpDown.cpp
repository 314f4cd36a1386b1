#include "skin/SkinUpDown.h"

#include <algorithm>

#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"

namespace pellix {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT MarginsOf(const TDataSkinObject& element) {
    return RECT{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

const TDataSkinBorder* UpDownElement(const TSkinData& skin, TArrowKind direction) {
    const bool vertical = direction == TArrowKind::Up || direction == TArrowKind::Down;
    return vertical ? skin.UpDownVert.get() : skin.UpDownHorz.get();
}

// The element's frame for a half: the second half's frames follow the first's.
int HalfFrame(TArrowKind direction, TUpDownHalfState state) {
    const bool second = direction == TArrowKind::Down || direction == TArrowKind::Right;
    return static_cast<int>(state) + (second ? 4 : 0);
}

TBitmap& ScratchBitmap() {
    CreateSharedScratchBitmap();
    return *SharedScratchBitmap();
}

// picture, nine-part painted, onto dc at rect with magenta left out.
void PutKeyed(HDC dc, const RECT& rect, const std::unique_ptr<TBitmap>& picture) {
    if (picture) DrawTransparentBitmap(dc, rect, *picture, KeyColour);
}

}  // namespace

// ---------------------------------------------------------------- up-down

TUpDownHalfStates UpDownHalfStates(int cursor, int half, bool pressed, bool enabled) {
    if (!enabled) return {TUpDownHalfState::Disabled, TUpDownHalfState::Disabled};
    TUpDownHalfStates states{TUpDownHalfState::Normal, TUpDownHalfState::Normal};
    if (pressed && cursor < half) states.First = TUpDownHalfState::Pressed;
    if (pressed && cursor >= half) states.Second = TUpDownHalfState::Pressed;
    return states;
}

void UpDownHalves(const RECT& area, bool vertical, RECT& first, RECT& second) {
    first = second = area;
    if (vertical) {
        first.bottom = second.top = area.top + Height(area) / 2;
    } else {
        first.right = second.left = area.left + Width(area) / 2;
    }
}

bool TSkinUpDown::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        HandlePaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallOldWindowProc(message);
        MouseState.Pressed = true;
        PaintControl(nullptr);
        return false;
    case WM_LBUTTONUP:
        MouseState.Pressed = false;
        CallOldWindowProc(message);
        PaintControl(nullptr);
        return false;
    default:
        return true;
    }
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& rect) {
    RECT client;
    if (SkinData == nullptr || !GetClientRect(Handle, &client)) return;
    TBitmap work;
    work.SetPixelFormat(TPixelFormat::pf24bit);
    work.SetSize(client.right, client.bottom);
    HDC workDc = work.Canvas()->Handle();
    FillFace(workDc, client);

    RECT area = client;
    if (Inset) InflateRect(&area, -1, -1);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(Handle, &cursor);
    const LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
    Enabled = (style & WS_DISABLED) == 0;
    const bool vertical = (style & UDS_HORZ) == 0 && Horizontal != 1;

    RECT first, second;
    UpDownHalves(area, vertical, first, second);
    // The cursor is compared with the half's length itself, not with where the
    // half ends inside an inset area.
    const int half = vertical ? Height(area) / 2 : Width(area) / 2;
    const TUpDownHalfStates states =
        UpDownHalfStates(vertical ? cursor.y : cursor.x, half, MouseState.Pressed, Enabled);
    DrawHalf(workDc, first, vertical ? TArrowKind::Up : TArrowKind::Left, states.First);
    DrawHalf(work.Canvas()->Handle(), second, vertical ? TArrowKind::Down : TArrowKind::Right, states.Second);
    BitBlt(dc, rect.left, rect.top, client.right, client.bottom, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawHalf(HDC dc, const RECT& half, TArrowKind direction, TUpDownHalfState state) {
    const TDataSkinBorder* element = UpDownElement(*SkinData, direction);
    if (element == nullptr || element->SecondImage.Empty()) return DrawPlainHalf(dc, half, direction, state);
    const int frame = HalfFrame(direction, state);
    DrawImageFrame(dc, half, element->Image, true, 8, frame);
    const TBitmap& glyph = element->SecondImage;
    const int gw = glyph.Width() / 8, gh = glyph.Height();
    const int left = half.left + (Width(half) - gw) / 2, top = half.top + (Height(half) - gh) / 2;
    DrawImageFrame(dc, RECT{left, top, left + gw, top + gh}, glyph, true, 8, frame);
}

void TSkinUpDown::DrawPlainHalf(HDC dc, const RECT& half, TArrowKind direction, TUpDownHalfState state) {
    TCanvas canvas(dc);
    canvas.Brush()->SetColor(state == TUpDownHalfState::Pressed ? SkinData->ButtonShadowColour
                                                                : SkinData->ButtonFaceColour);
    canvas.Pen()->SetColor(SkinData->ButtonDkShadowColour);
    canvas.Rectangle(half.left, half.top, half.right, half.bottom);
    const bool vertical = direction == TArrowKind::Up || direction == TArrowKind::Down;
    DrawArrow(canvas, half.left + Width(half) / 2, half.top + Height(half) / 2 - (vertical ? 2 : 0), direction);
}

// -------------------------------------------------------------- track bar

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    case WM_NOTIFY:
    case CN_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        // Only the bar's own drawing: a tooltip child notifies its parent too.
        if (header == nullptr || header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != Handle)
            return true;
        message.Result = TrackBarCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam));
        return false;
    }
    default:
        return true;
    }
}

LRESULT TSkinTrackBar::TrackBarCustomDraw(const NMCUSTOMDRAW& draw) {
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage == CDDS_ITEMPREPAINT && draw.dwItemSpec == TBCD_THUMB) {
        DrawTrackBarThumb(draw.hdc);
        return CDRF_SKIPDEFAULT;
    }
    return CDRF_DODEFAULT;
}

void TSkinTrackBar::DrawTrackBarThumb(HDC dc) {
    RECT thumb{};
    SendMessageA(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (SkinData == nullptr) return;
    const TDataSkinButton& buttons = SkinData->Buttons;
    if (!buttons.Image.Empty()) return DrawImageFrame(dc, thumb, buttons.Image, true, 5, 4);
    if (Canvas == nullptr) return;
    TCanvasBinding binding(*Canvas, dc);
    Canvas->Pen()->SetColor(SkinData->ButtonShadowColour);
    Canvas->Rectangle(thumb.left, thumb.top, thumb.right, thumb.bottom);
}

// ----------------------------------------------------------- progress bar

int ProgressBarRight(int left, int right, int64_t pos, int64_t max) {
    if (pos <= 0 || max <= 0 || right <= left) return left;
    const int64_t width = static_cast<int64_t>(right) - left;
    // pos and max come from 32-bit messages: the product fits 64 bits.
    return left + static_cast<int>(std::min(pos * width / max, width));
}

int ProgressChunkCount(int width, int chunkWidth) {
    if (width <= 0 || chunkWidth <= 0) return 0;
    return width / chunkWidth + 1;
}

bool TSkinProgress::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        if (SkinData == nullptr || !SkinData->Progress || SkinData->Progress->Image.Empty()) return true;
        HandlePaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinProgress::DrawControl(HDC dc, const RECT& rect) {
    if (SkinData == nullptr || !SkinData->Progress || SkinData->Progress->Image.Empty()) return;
    if (SkinData->Progress->Style == 1) return DrawChunkProgress(dc, rect);
    const TDataSkinBorder& progress = *SkinData->Progress;
    TBitmap& work = ScratchBitmap();
    work.SetSize(rect.right, rect.bottom);
    HDC workDc = work.Canvas()->Handle();
    FillFace(workDc, RECT{0, 0, rect.right, rect.bottom});
    const RECT margins = MarginsOf(progress);
    const bool tile = progress.Tile != 0;
    PutKeyed(workDc, rect, DrawSkinImage(rect, progress.Image, margins, 1, 2, tile, false));

    const auto pos = static_cast<int32_t>(SendMessageA(Handle, PBM_GETPOS, 0, 0));
    const auto max = static_cast<int32_t>(SendMessageA(Handle, PBM_GETRANGE, FALSE, 0));
    const RECT bar{rect.left, rect.top, ProgressBarRight(rect.left, rect.right, pos, max), rect.bottom};
    if (bar.right > bar.left) PutKeyed(workDc, bar, DrawSkinImage(bar, progress.Image, margins, 2, 2, tile, false));
    BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), workDc, rect.left, rect.top, SRCCOPY);
}

void TSkinProgress::DrawChunkProgress(HDC dc, const RECT& rect) {
    const TDataSkinBorder& progress = *SkinData->Progress;
    TBitmap& work = ScratchBitmap();
    work.SetSize(rect.right, rect.bottom);
    HDC workDc = work.Canvas()->Handle();
    FillFace(workDc, RECT{0, 0, rect.right, rect.bottom});
    PutKeyed(workDc, rect,
             DrawSkinImage(rect, progress.Image, MarginsOf(progress), 1, 1, progress.Tile != 0, false));

    // Without a chunk image the bar still shows its face and background.
    const TBitmap& chunk = progress.SecondImage;
    const auto pos = static_cast<int32_t>(SendMessageA(Handle, PBM_GETPOS, 0, 0));
    const auto max = static_cast<int32_t>(SendMessageA(Handle, PBM_GETRANGE, FALSE, 0));
    const int length = ProgressBarRight(rect.left, rect.right, pos, max) - rect.left;
    if (!chunk.Empty() && length > 0) {
        const int cw = chunk.Width(), ch = chunk.Height();
        TBitmap strip;
        strip.SetPixelFormat(TPixelFormat::pf24bit);
        strip.SetSize(length, ch);
        const int count = ProgressChunkCount(length, cw);
        for (int i = 0; i < count; ++i) strip.Canvas()->Draw(i * cw, 0, chunk);
        const int left = rect.left + progress.LeftWidth, top = rect.top + (rect.bottom - ch) / 2;
        DrawTransparentBitmap(workDc, RECT{left, top, left + length, top + ch}, strip, KeyColour);
    }
    BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), work.Canvas()->Handle(), rect.left, rect.top, SRCCOPY);
}

}  // namespace pellix
