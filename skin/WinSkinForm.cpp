// SCAFFOLDING, to be replaced by the real skinned window frame (see the header).
#include "skin/WinSkinForm.h"

#include "framework/Forms.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinDlg.h"

namespace pellix {

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner) {}

TWinSkinForm::~TWinSkinForm() {
    DetachFrame();
    // The manager has always let go of the frame before; this finds nothing then.
    if (SkinManager != nullptr && Window != nullptr) SkinManager->UnskinWindow(Window);
}

void TWinSkinForm::AttachForm(TSkinData* skinData, TCustomForm* form) {
    Form = form;
    AttachWindow(skinData);
}

void TWinSkinForm::AttachWindow(TSkinData* skinData) {
    if (attached_) return;
    SkinData = skinData;
    if (SkinData != nullptr) SkinData->FreeNotification(this);
    if (Form != nullptr) {
        oldFormWindowProc_ = Form->WindowProc;
        Form->WindowProc = [this](TMessage& message) { FormWindowProc(message); };
    } else if (!subclass_.Attach(
                   Window, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return FrameWindowProc(msg, wParam, lParam); },
                   [this] { WindowDestroyed(); })) {
        throw EComponentError("Cannot take over the window of a skinned frame");
    }
    attached_ = true;
    BuildCaptionButtons();
}

void TWinSkinForm::BuildCaptionButtons() {
    if (SkinData == nullptr || SkinData->SkinUnparsed) return;
    ClearCaptionButtons();
    for (const auto& record : SkinData->CaptionButtons) captionButtons_.push_back(record.get());
}

void TWinSkinForm::DetachFrame() {
    if (!attached_) return;
    attached_ = false;
    if (Form != nullptr) {
        Form->WindowProc = std::move(oldFormWindowProc_);
        oldFormWindowProc_ = nullptr;
    }
    subclass_.Detach();
}

bool TWinSkinForm::InWindowProc() const { return formDepth_ > 0 || subclass_.InWindowProc(); }

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == SkinData) {
        SkinData = nullptr;
        ClearCaptionButtons();
    }
}

void TWinSkinForm::FormWindowProc(TMessage& message) {
    if (message.Msg == SkinMsgQuery) {
        message.Result = 1;
        return;
    }
    // While this runs the manager keeps the frame, even when the form's own
    // procedure or the window's end drops it.
    struct TDepth {
        int& depth;
        explicit TDepth(int& d) : depth(d) { ++depth; }
        ~TDepth() { --depth; }
    } depth(formDepth_);
    TWndMethod previous = oldFormWindowProc_;
    previous(message);
    if (message.Msg == WM_NCDESTROY) WindowDestroyed();
}

LRESULT TWinSkinForm::FrameWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SkinMsgQuery) return 1;
    return subclass_.CallOld(msg, wParam, lParam);
}

void TWinSkinForm::WindowDestroyed() {
    if (SkinManager != nullptr) SkinManager->FrameWindowDestroyed(this);
}

}  // namespace pellix
