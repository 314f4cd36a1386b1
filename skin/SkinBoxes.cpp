#include "skin/SkinBoxes.h"

#include <commctrl.h>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"

namespace pellix {

namespace {

TBitmap& ScratchBitmap() {
    CreateSharedScratchBitmap();
    return *SharedScratchBitmap();
}

TCaptionTextAlign TextAlign(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taRightJustify: return TCaptionTextAlign::Right;
    case TAlignment::taCenter: return TCaptionTextAlign::Centre;
    default: return TCaptionTextAlign::Left;
    }
}

TPanelFrame FrameOf(TStatusPanelBevel bevel) {
    switch (bevel) {
    case TStatusPanelBevel::pbRaised: return TPanelFrame::Raised;
    case TStatusPanelBevel::pbNone: return TPanelFrame::None;
    default: return TPanelFrame::Lowered;
    }
}

}  // namespace

// --------------------------------------------------------- TSkinStatusBar

bool TSkinStatusBar::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        HandlePaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& rect) {
    if (SkinData == nullptr) return;
    const RECT work{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    TBitmap& bitmap = ScratchBitmap();
    bitmap.SetSize(work.right, work.bottom);
    TCanvas& canvas = *bitmap.Canvas();
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(SkinData->ButtonFaceColour);
    canvas.FillRect(work);

    const auto* bar = dynamic_cast<const TStatusBar*>(Control);
    if (bar != nullptr) canvas.Font()->Assign(bar->Font());
    else AssignWindowFont(*canvas.Font(), Handle);
    canvas.Font()->SetStyle(0);
    const TDataSkinObject* edges = SkinData->StatusBarEdges.get();
    if (edges != nullptr) canvas.Font()->SetColor(edges->NormalColour2);
    const bool images = edges != nullptr && !edges->Image.Empty();
    auto panel = [&](const RECT& r, TAlignment alignment, const std::string& text, TPanelFrame frame) {
        if (images) DrawImagePanel(r, alignment, text, frame);
        else Draw3DPanel(r, alignment, text, frame);
    };

    if (bar == nullptr || bar->SimplePanel() || bar->Panels()->Count() == 0) {
        panel(work, TAlignment::taLeftJustify, bar != nullptr ? bar->SimpleText() : Text, TPanelFrame::Lowered);
    } else {
        const int count = bar->Panels()->Count();
        for (int i = 0; i < count; ++i) {
            const TStatusPanel& p = *bar->Panels()->Items(i);
            RECT r{};
            if (!SendMessageA(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
            if (i == count - 1) r.right = work.right;
            panel(r, p.Alignment(), p.Text(), FrameOf(p.Bevel()));
        }
    }

    const TDataSkinObject* extra = SkinData->ExtraImages.get();
    if ((GetWindowLongPtrA(Handle, GWL_STYLE) & SBARS_SIZEGRIP) != 0 && extra != nullptr && !extra->Image.Empty() &&
        extra->FrameCount > 0) {
        const int gw = extra->Image.Width() / extra->FrameCount, gh = extra->Image.Height();
        const RECT grip{work.right - 1 - gw, work.bottom - 1 - gh, work.right - 1, work.bottom - 1};
        DrawStripFrame(canvas.Handle(), grip, extra->FrameCount, 5, extra->Image);
    }
    BitBlt(dc, rect.left, rect.top, work.right, work.bottom, canvas.Handle(), 0, 0, SRCCOPY);
}

void TSkinStatusBar::DrawImagePanel(const RECT& rect, TAlignment alignment, const std::string& text,
                                    TPanelFrame frame) {
    if (rect.right < rect.left || rect.bottom < rect.top) return;
    const TDataSkinObject& edges = *SkinData->StatusBarEdges;
    TCanvas& canvas = *SharedScratchBitmap()->Canvas();
    const RECT margins{edges.LeftWidth, edges.TopHeight, edges.RightWidth, edges.BottomHeight};
    if (auto picture = DrawSkinImage(rect, edges.Image, margins, static_cast<int>(frame), 3, edges.Tile != 0, false))
        BitBlt(canvas.Handle(), rect.left, rect.top, picture->Width(), picture->Height(),
               picture->Canvas()->Handle(), 0, 0, SRCCOPY);
    DrawCaptionText(canvas, rect, TextAlign(alignment), true, text.empty() ? " " : text);
}

void TSkinStatusBar::Draw3DPanel(const RECT& rect, TAlignment alignment, const std::string& text, TPanelFrame frame) {
    TCanvas& canvas = *SharedScratchBitmap()->Canvas();
    RECT r = rect;
    if (frame == TPanelFrame::Lowered) Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    if (frame == TPanelFrame::Raised) Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    DrawCaptionText(canvas, r, TextAlign(alignment), true, text.empty() ? " " : text);
}

// ---------------------------------------------------------------- TSkinBox

void TSkinBox::AttachControl(TWinControl* control, TSkinData* skinData, bool setFaceColour, TCanvas* canvas) {
    SetFaceColour = setFaceColour;
    SkinData = skinData;
    Canvas = canvas;
    Control = control;
    Handle = control->Handle();
    control->FreeNotification(this);
    if (TSkinControlHost* host = Host()) host->ControlSkins.push_back(this);
    if (setFaceColour) {
        SavedColour = control->Color();
        control->SetColor(skinData->ButtonFaceColour);
    }
}

void TSkinBox::AfterMessage(TMessage& message) { (void)message; }

void TSkinBox::DrawControl(HDC dc, const RECT& rect) {
    (void)dc;
    (void)rect;
}

void TSkinBox::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == Control) {
        Control = nullptr;
        Handle = nullptr;
    }
}

}  // namespace pellix
