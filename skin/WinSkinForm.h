// SCAFFOLDING, to be replaced by the real skinned window frame.
//
// This frame only marks its window as skinned (it answers SkinMsgQuery with 1)
// and carries the names the skin manager calls, with their meaning, so that
// the manager can be built and tested before the frame exists. Methods that
// have nothing to do here do nothing. A framework form is held through its
// swappable WindowProc, any other window through TWindowSubclass.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "skin/SkinMessages.h"
#include "skin/WindowSubclass.h"

namespace pellix {

class TCustomForm;
class TDataSkinSysButton;
class TSkinData;

enum TMdiState : uint8_t { msNone = 0, msMdiFrame = 1, msMdiChild = 2 };

constexpr int32_t FrameStateNotStarted = 0;
constexpr int32_t FrameStateRunning = 1;
constexpr int32_t FrameStateRereading = 3;
// Set by the manager before it detaches a frame it is dropping.
constexpr int32_t FrameStateClosing = 4;
constexpr int32_t FrameStateFirstFit = 5;

class TWinSkinForm : public TComponent {
public:
    // Frames are made without an owner; the manager owns them.
    explicit TWinSkinForm(TComponent* owner = nullptr);
    ~TWinSkinForm() override;
    std::string ClassName() const override { return "TWinSkinForm"; }

    // Set by the manager before it attaches the frame.
    HWND Window = nullptr;
    TCustomForm* Form = nullptr;
    // Cleared when the component is freed.
    TSkinData* SkinData = nullptr;
    int32_t FrameState = FrameStateNotStarted;
    TMdiState MdiState = msNone;
    // 0 normal, 1 maximised, 2 minimised.
    uint8_t ShowState = 0;
    // Whether the frame holds a window region.
    bool RegionSet = false;

    // For a window that belongs to a framework form.
    void AttachForm(TSkinData* skinData, TCustomForm* form);
    // For any window; a second call does nothing.
    void AttachWindow(TSkinData* skinData);
    // Undoes the attach; also after the window is gone.
    void DetachFrame();
    // The caption buttons point at the skin data's caption-button records.
    void ClearCaptionButtons() { captionButtons_.clear(); }
    // One button per record of a parsed skin.
    void BuildCaptionButtons();
    size_t CaptionButtonCount() const { return captionButtons_.size(); }
    void ApplyFaceColour() {}
    void DropWindowRegion() {}
    void BuildWindowRegion() {}
    void SetCaptionStyles(bool show) { (void)show; }
    void RefreshFrame() {}
    // A message of the window is being handled by the frame now: the manager
    // then keeps the frame until that call has returned.
    bool InWindowProc() const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FormWindowProc(TMessage& message);
    LRESULT FrameWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void WindowDestroyed();

    TWindowSubclass subclass_;
    TWndMethod oldFormWindowProc_;
    std::vector<const TDataSkinSysButton*> captionButtons_;
    bool attached_ = false;
    int formDepth_ = 0;
};

}  // namespace pellix
