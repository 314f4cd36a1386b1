#include "skin/WinSkinDlg.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "framework/Screen.h"
#include "skin/ImgUtil.h"
#include "skin/WinSkinData.h"
#include "skin/WindowsVersion.h"

namespace pellix {

namespace {

// A non-zero hook result refuses the window's creation.
constexpr LRESULT kRefuseCreation = 10;

std::string WindowClassName(HWND window) {
    char name[101] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// BulkSkinning lasts exactly as long as a walk over the screen forms.
class TBulkSkinning {
public:
    explicit TBulkSkinning(bool& flag) : flag_(flag) { flag_ = true; }
    ~TBulkSkinning() { flag_ = false; }
    TBulkSkinning(const TBulkSkinning&) = delete;
    TBulkSkinning& operator=(const TBulkSkinning&) = delete;

private:
    bool& flag_;
};

template <class List, class Pred>
auto FindIn(List& list, Pred pred) {
    return std::find_if(list.begin(), list.end(), [&](const auto& entry) { return pred(*entry); });
}

}  // namespace

// ------------------------------------------------------------- TSkinManage

TSkinManage::TSkinManage() : actionTimer_(new TTimer(nullptr)) {
    actionTimer_->SetEnabled(false);
    actionTimer_->SetInterval(250);
    actionTimer_->OnTimer = [this](TObject*) { RunPendingAction(); };
}

TSkinManage::~TSkinManage() {
    actionTimer_.reset();
    cbtHook_.reset();
    while (!frames_.empty()) ReleaseFrame(std::prev(frames_.end()));
    // A popup skin lets go of its window when it is freed.
    popupSkins_.clear();
    skinDataList_.clear();
    retiredFrames_.clear();
    retiredPopups_.clear();
}

void TSkinManage::InstallCbtHook() {
    WindowsVersion = GetVersion();
    // One hook serves every sfMainform component of the thread.
    if (cbtHook_) return;
    HHOOK hook = SetWindowsHookExA(WH_CBT, &TSkinManage::CbtHookProc, nullptr, GetCurrentThreadId());
    if (hook == nullptr) throw EComponentError("Cannot watch the thread's windows");
    cbtHook_.reset(hook);
}

LRESULT CALLBACK TSkinManage::CbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* manager = SkinManager;
    HHOOK hook = manager != nullptr ? manager->CbtHook() : nullptr;
    if (code >= 0 && manager != nullptr) {
        try {
            if (manager->HandleHook(code, wParam, lParam) != 0) return kRefuseCreation;
        } catch (const std::exception& e) {
            // No error may cross into the system's code.
            Application->HandleException(nullptr, e);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT TSkinManage::HandleHook(int code, WPARAM wParam, LPARAM lParam) {
    FreeRetired();
    auto window = reinterpret_cast<HWND>(wParam);
    switch (code) {
    case HCBT_CREATEWND: {
        const std::string className = WindowClassName(window);
        if (className == "ScrollBar") {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
            if (create != nullptr && create->lpcs != nullptr && IsSkinnedFrame(create->lpcs->hwndParent))
                return kRefuseCreation;
        } else if (className == "#32768") {
            SkinPopupMenu(window);
        }
        break;
    }
    case HCBT_DESTROYWND:
        UnskinPopupMenu(window);
        UnskinWindow(window);
        break;
    case HCBT_ACTIVATE:
        if (ActivationCount == 0) ActivationCount = 1;
        SkinWindow(window);
        break;
    default:
        break;
    }
    return 0;
}

bool TSkinManage::SkinWindow(HWND window) {
    if (!SkinningEnabled || window == nullptr) return false;
    if (SendMessageA(window, SkinMsgQuery, 0, 0) == 1) return false;
    if (IsSkinnedFrame(window)) return false;
    TCustomForm* form = FindScreenForm(window);
    if (!BulkSkinning && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0 &&
        LowerCase(WindowClassName(GetParent(window))) != "mdiclient")
        return false;
    RECT bounds;
    if (!GetWindowRect(window, &bounds) || bounds.right == bounds.left || bounds.bottom == bounds.top) return false;
    if (form != nullptr && form->Tag == 99) return false;
    const std::string className = WindowClassName(window);
    if (className == "TApplication" || !CanSkinWindowClass(className)) return false;
    TSkinData* skinData = ChooseSkinData(window);
    if (skinData == nullptr || skinData->SkinUnparsed) return false;

    // Listed before it attaches, so that an activation nested in the attach
    // finds the window skinned and makes no second frame.
    frames_.emplace_back(new TWinSkinForm(nullptr));
    TWinSkinForm* frame = frames_.back().get();
    frame->Window = window;
    try {
        if (form != nullptr) frame->AttachForm(skinData, form);
        else frame->AttachWindow(skinData);
    } catch (const std::exception&) {
        auto listed = FindIn(frames_, [frame](const TWinSkinForm& f) { return &f == frame; });
        if (listed != frames_.end()) ReleaseFrame(listed, false);
        throw;
    }
    PostMessageA(window, SkinMsgStart, 0, 1000);
    return true;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window) const {
    TSkinData* own = nullptr;
    for (TSkinData* d : skinDataList_) {
        if (d->SkinFormtype != sfOnlyThisForm) continue;
        auto* owner = dynamic_cast<TWinControl*>(d->Owner());
        if (owner != nullptr && owner->HandleAllocated() && owner->Handle() == window) own = d;
    }
    if (own != nullptr) return own;
    auto lastOf = [this](TSkinFormType type) -> TSkinData* {
        auto found = std::find_if(skinDataList_.rbegin(), skinDataList_.rend(),
                                  [type](const TSkinData* d) { return d->SkinFormtype == type; });
        return found == skinDataList_.rend() ? nullptr : *found;
    };
    const std::string className = LowerCase(WindowClassName(window));
    if (className == "tmessageform" || className == "#32770")
        if (TSkinData* dialog = lastOf(sfDialog)) return dialog;
    if (TSkinData* main = lastOf(sfMainform)) return main;
    return skinDataList_.empty() ? nullptr : skinDataList_.front();
}

bool TSkinManage::CanSkinWindowClass(const std::string& className) const {
    auto main = std::find_if(skinDataList_.begin(), skinDataList_.end(),
                             [](const TSkinData* d) { return d->SkinFormtype == sfMainform; });
    if (main == skinDataList_.end()) return true;
    bool doSkin = true;
    (*main)->AskFormSkin(className, doSkin);
    return doSkin;
}

bool TSkinManage::UnskinWindow(HWND window) {
    auto frame = FindIn(frames_, [window](const TWinSkinForm& f) { return f.Window == window; });
    if (frame == frames_.end()) return false;
    ReleaseFrame(frame);
    return true;
}

void TSkinManage::FrameWindowDestroyed(TWinSkinForm* frame) {
    auto listed = FindIn(frames_, [frame](const TWinSkinForm& f) { return &f == frame; });
    if (listed != frames_.end()) ReleaseFrame(listed);
}

void TSkinManage::ReleaseFrame(TFrameList::iterator frame, bool windowClosing) {
    // Out of the list first: whatever the detach sets off sees a consistent list.
    std::unique_ptr<TWinSkinForm, ComponentFree> released = std::move(*frame);
    frames_.erase(frame);
    // Only a window that goes away keeps the skin's face colour; one that is
    // unskinned gets its own back.
    if (windowClosing) released->FrameState = FrameStateClosing;
    released->DetachFrame();
    if (released->InWindowProc()) retiredFrames_.push_back(std::move(released));
}

void TSkinManage::SkinPopupMenu(HWND window) {
    if (!SkinningEnabled) return;
    if (SendMessageA(window, SkinMsgQuery, 0, 0) == 1) return;
    if (IsPopupSkinned(window)) return;
    TSkinData* skinData = ChooseSkinData(window);
    if (skinData == nullptr || skinData->SkinUnparsed || !skinData->HasControl(xcMainMenu)) return;
    auto popup = std::make_unique<TWinSkinPopMenu>();
    popup->AttachPopup(window, skinData, nullptr);
    popupSkins_.push_back(std::move(popup));
}

bool TSkinManage::UnskinPopupMenu(HWND window) {
    auto popup = FindIn(popupSkins_, [window](const TWinSkinPopMenu& p) { return p.MenuWindow == window; });
    if (popup == popupSkins_.end()) return false;
    ReleasePopup(popup);
    return true;
}

void TSkinManage::ReleasePopup(TPopupList::iterator popup) {
    std::unique_ptr<TWinSkinPopMenu> released = std::move(*popup);
    popupSkins_.erase(popup);
    released->DetachPopup();
    if (released->InWindowProc()) retiredPopups_.push_back(std::move(released));
}

namespace {

// The entries whose procedure has returned leave the list before they are
// freed: freeing one destroys windows (a frame's timer), which brings the
// hook, and so this, back while the list is being walked.
template <class List>
void FreeFinished(List& list) {
    List finished;
    for (auto it = list.begin(); it != list.end();) {
        if ((*it)->InWindowProc()) {
            ++it;
        } else {
            finished.push_back(std::move(*it));
            it = list.erase(it);
        }
    }
}

}  // namespace

void TSkinManage::FreeRetired() {
    FreeFinished(retiredFrames_);
    FreeFinished(retiredPopups_);
}

bool TSkinManage::IsSkinnedFrame(HWND window) const {
    return window != nullptr &&
           std::any_of(frames_.begin(), frames_.end(), [window](const auto& f) { return f->Window == window; });
}

bool TSkinManage::IsPopupSkinned(HWND window) const {
    return window != nullptr &&
           std::any_of(popupSkins_.begin(), popupSkins_.end(), [window](const auto& p) { return p->MenuWindow == window; });
}

void TSkinManage::AddSkinData(TSkinData* skinData) { skinDataList_.push_back(skinData); }

void TSkinManage::RemoveSkinData(TSkinData* skinData) {
    std::erase(skinDataList_, skinData);
    if (PendingSkinData == skinData) {
        PendingSkinData = nullptr;
        PendingAction = saNone;
        if (actionTimer_) actionTimer_->SetEnabled(false);
    }
}

TBitmap* TSkinManage::FindPopupBitmap(HMENU menu) const {
    // A popup that does not know its menu yet matches no menu.
    if (menu == nullptr) return nullptr;
    auto popup = std::find_if(popupSkins_.begin(), popupSkins_.end(), [menu](const auto& p) { return p->MenuHandle == menu; });
    return popup == popupSkins_.end() ? nullptr : &(*popup)->BackgroundBitmap;
}

TCustomForm* TSkinManage::FindScreenForm(HWND window) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->HandleAllocated() && form->Handle() == window) return form;
    }
    return nullptr;
}

void TSkinManage::SetMdiMax(bool maximised) {
    if (maximised == MdiMaximized) return;
    MdiMaximized = maximised;
    for (size_t i = 0; i < frames_.size(); ++i) {
        TWinSkinForm& frame = *frames_[i];
        if (frame.MdiState != msMdiChild) continue;
        if (maximised) {
            if (frame.RegionSet) frame.DropWindowRegion();
            frame.SetCaptionStyles(true);
        } else if (IsIconic(frame.Window)) {
            frame.SetCaptionStyles(true);
        } else {
            frame.ShowState = 0;
            frame.BuildWindowRegion();
            frame.SetCaptionStyles(false);
            if (!frame.RegionSet) frame.RefreshFrame();
        }
    }
}

void TSkinManage::ScheduleAction(TSkinData* skinData, TSkinAction action, uint32_t intervalMs) {
    PendingAction = action;
    PendingSkinData = skinData;
    actionTimer_->SetInterval(intervalMs);
    if (ActivationCount != 0) {
        actionTimer_->SetEnabled(true);
        return;
    }
    // Before any window was activated only the switch itself takes effect.
    if (action == saActivate) SkinningEnabled = true;
    else if (action == saDeactivate) SkinningEnabled = false;
}

void TSkinManage::RereadAllFrames(const TSkinData* skinData) {
    for (size_t i = 0; i < frames_.size(); ++i)
        if (frames_[i]->SkinData == skinData) frames_[i]->ClearCaptionButtons();
}

void TSkinManage::RunPendingAction() {
    // A drop-down of a drawn menu bar runs inside a frame's window procedure:
    // an action now could free that frame under it. The timer ticks again.
    if (BarMenuOpen()) return;
    FreeRetired();
    actionTimer_->SetEnabled(false);
    // Taken before the event, so that an action its handler schedules stays pending.
    TSkinData* skinData = std::exchange(PendingSkinData, nullptr);
    const TSkinAction action = std::exchange(PendingAction, saNone);
    if (skinData == nullptr) return;
    RunAction(*skinData, action);
    // The action may have freed the component.
    if (std::find(skinDataList_.begin(), skinDataList_.end(), skinData) != skinDataList_.end()) skinData->DoSkinChanged();
}

void TSkinManage::RunAction(TSkinData& skinData, TSkinAction action) {
    const bool onlyThisForm = skinData.SkinFormtype == sfOnlyThisForm;
    switch (action) {
    case saActivate:
        SkinningEnabled = true;
        ActivateScreenForms(onlyThisForm ? &skinData : nullptr);
        break;
    case saDeactivate:
        SkinningEnabled = false;
        DropFrames(onlyThisForm ? &skinData : nullptr);
        break;
    case saSkinChanged:
        for (size_t i = 0; i < frames_.size(); ++i) {
            if (frames_[i]->SkinData != &skinData) continue;
            frames_[i]->ClearCaptionButtons();
            frames_[i]->BuildCaptionButtons();
            if (onlyThisForm) {
                frames_[i]->ApplyFaceColour();
                return;
            }
        }
        for (size_t i = 0; i < frames_.size(); ++i)
            if (frames_[i]->SkinData == &skinData) frames_[i]->ApplyFaceColour();
        break;
    case saNone:
        break;
    }
}

// Every screen form, last first; with an owner, only that form. Forms
// without a window are passed over: the walk makes none.
void TSkinManage::ActivateScreenForms(const TSkinData* owner) {
    TBulkSkinning bulk(BulkSkinning);
    for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        if (i >= Screen->FormCount()) continue;
        TCustomForm* form = Screen->Forms(i);
        if (owner != nullptr && form != owner->Owner()) continue;
        if (form->HandleAllocated()) SkinWindow(form->Handle());
        if (owner != nullptr) return;
    }
}

// Every frame, last first; with a component, only its last frame.
void TSkinManage::DropFrames(const TSkinData* skinData) {
    for (size_t i = frames_.size(); i-- > 0;) {
        if (i >= frames_.size()) continue;
        if (skinData != nullptr && frames_[i]->SkinData != skinData) continue;
        const HWND window = frames_[i]->Window;
        ReleaseFrame(frames_.begin() + static_cast<std::ptrdiff_t>(i), false);
        RepaintWindow(window);
        if (skinData != nullptr) return;
    }
}

// ------------------------------------------------------------------ unit

TSkinManage* CreateSkinManager() {
    // Owned by this unit until ShutdownSkinEngine: never freed by a global destructor.
    if (SkinManager == nullptr) SkinManager = new TSkinManage();
    return SkinManager;
}

void ShutdownSkinEngine() {
    // Set while it goes: its frames still reach it as they are dropped.
    delete SkinManager;
    SkinManager = nullptr;
    FreeSharedScratchBitmap();
}

}  // namespace pellix
