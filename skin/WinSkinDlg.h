// The skin manager: the one object that connects skins to windows. A CBT
// hook on the user-interface thread shows it windows being created,
// activated and destroyed; it decides which top-level windows get a frame
// skin and which popup-menu windows a popup skin, chooses the skin data
// component for each, keeps the lists, and runs the actions the skin data
// components schedule from a one-shot 250 ms timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/Classes.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinMenu.h"

namespace pellix {

class TSkinData;

enum TSkinAction : int32_t {
    saNone = 0,
    saActivate = 1,     // skin the screen forms
    saDeactivate = 2,   // drop frame skins
    saSkinChanged = 3,  // rebuild caption buttons and face colour of the pending component's frames
};

class TSkinManage : public TObject {
public:
    TSkinManage();
    // Stops the timer, removes the hook, drops every frame (closing mark,
    // detach, free, last first), then frees the popup skins.
    ~TSkinManage() override;
    std::string ClassName() const override { return "TSkinManage"; }

    // Hooks window creation, activation and destruction on this thread (once)
    // and stores GetVersion() in WindowsVersion.
    void InstallCbtHook();
    static LRESULT CALLBACK CbtHookProc(int code, WPARAM wParam, LPARAM lParam);

    // Gives the window a frame skin when every test passes; true when a frame was made.
    bool SkinWindow(HWND window);
    TSkinData* ChooseSkinData(HWND window) const;
    // Asks the first listed sfMainform component; true when there is none.
    bool CanSkinWindowClass(const std::string& className) const;
    // Drops the window's frame; false when it has none.
    bool UnskinWindow(HWND window);
    // Gives a "#32768" window a popup skin when the tests pass.
    void SkinPopupMenu(HWND window);
    bool UnskinPopupMenu(HWND window);
    bool IsSkinnedFrame(HWND window) const;
    bool IsPopupSkinned(HWND window) const;

    void AddSkinData(TSkinData* skinData);
    // Also forgets a pending action for the component.
    void RemoveSkinData(TSkinData* skinData);
    // The background of the first popup skin showing that menu, or null.
    TBitmap* FindPopupBitmap(HMENU menu) const;
    // The first screen form with that window; forms without a window are skipped.
    static TCustomForm* FindScreenForm(HWND window);
    void SetMdiMax(bool maximised);

    // Makes action the pending one, for skinData: run once interval ms have
    // passed after the first window activation; before it only saActivate and
    // saDeactivate take effect, by switching SkinningEnabled.
    void ScheduleAction(TSkinData* skinData, TSkinAction action, uint32_t intervalMs);
    // The frames of skinData drop their caption buttons before its records change.
    void RereadAllFrames(const TSkinData* skinData);
    // The timer's tick: runs the pending action, then the component's OnSkinChanged.
    void RunPendingAction();
    // Called by a frame when its window has gone (WM_NCDESTROY): the frame
    // leaves the list at once and is freed later, outside its window procedure.
    void FrameWindowDestroyed(TWinSkinForm* frame);

    using TFrameList = std::vector<std::unique_ptr<TWinSkinForm, ComponentFree>>;
    using TPopupList = std::vector<std::unique_ptr<TWinSkinPopMenu>>;
    // In order of attachment.
    const TFrameList& Frames() const { return frames_; }
    const TPopupList& PopupSkins() const { return popupSkins_; }
    // In the order they were added; not owned.
    const std::vector<TSkinData*>& SkinDataList() const { return skinDataList_; }
    TTimer* ActionTimer() const { return actionTimer_.get(); }
    HHOOK CbtHook() const { return cbtHook_.get(); }

    // 1 once a window has been activated; grows with each sfOnlyThisForm or
    // sfDialog component that finishes loading. While 0, no action timer runs.
    int32_t ActivationCount = 0;
    // Whether new windows may be skinned.
    bool SkinningEnabled = false;
    // True only while saActivate walks the screen forms.
    bool BulkSkinning = false;
    // MDI children are shown maximised.
    bool MdiMaximized = false;
    HWND MdiClientWindow = nullptr;
    TSkinAction PendingAction = saNone;
    // The component the pending action is for; null when none is pending.
    TSkinData* PendingSkinData = nullptr;

private:
    struct THookFree {
        void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
    };

    LRESULT HandleHook(int code, WPARAM wParam, LPARAM lParam);
    void ReleaseFrame(TFrameList::iterator frame, bool windowClosing = true);
    void ReleasePopup(TPopupList::iterator popup);
    void FreeRetired();
    void RunAction(TSkinData& skinData, TSkinAction action);
    void ActivateScreenForms(const TSkinData* owner);
    void DropFrames(const TSkinData* skinData);

    std::unique_ptr<TTimer, ComponentFree> actionTimer_;
    std::unique_ptr<std::remove_pointer_t<HHOOK>, THookFree> cbtHook_;
    TFrameList frames_;
    TPopupList popupSkins_;
    std::vector<TSkinData*> skinDataList_;
    // Dropped while their window procedure was running; freed once it has returned.
    TFrameList retiredFrames_;
    TPopupList retiredPopups_;
};

// The one manager, or null. Made by CreateSkinManager, freed by ShutdownSkinEngine.
inline TSkinManage* SkinManager = nullptr;

// The manager, made when there is none.
TSkinManage* CreateSkinManager();
// The engine's end: frees the manager (its hook, frames and popup skins) and
// the shared scratch bitmap. The program calls it once its forms are freed;
// tests call it between cases. Nothing of this runs in a global destructor.
void ShutdownSkinEngine();

}  // namespace pellix
