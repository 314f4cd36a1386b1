#include "skin/SkinWalk.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <functional>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/FormLoader.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/ListView.h"
#include "framework/ScrollBar.h"
#include "framework/StdCtrls.h"
#include "framework/TabControls.h"
#include "skin/SkinBoxes.h"
#include "skin/SkinButtons.h"
#include "skin/SkinCheckBoxes.h"
#include "skin/SkinEdits.h"
#include "skin/SkinScrollBars.h"
#include "skin/SkinTabs.h"
#include "skin/SkinUpDown.h"
#include "skin/WinSkinData.h"
#include "skin/WinSubClass.h"

namespace pellix {

// A control as the rows look at it.
struct TControlWalk::TItem {
    TControl* Control;
    TWinControl* Windowed;  // none for a windowless control
    std::string Name;       // the class name in upper case
    int Rest;               // TagRest of its Tag
};

int TagRest(int tag) { return tag % 100; }

bool IsScrollingControl(TComponent* component) {
    auto* control = dynamic_cast<TWinControl*>(component);
    if (control == nullptr) return false;
    if (control->HandleAllocated() &&
        (GetWindowLongPtrA(control->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0)
        return true;
    return control->Tag == 55 || dynamic_cast<TListBox*>(control) != nullptr ||
           dynamic_cast<TMemo*>(control) != nullptr || dynamic_cast<TCustomListBox*>(control) != nullptr ||
           dynamic_cast<TCustomTreeView*>(control) != nullptr || dynamic_cast<TScrollBox*>(control) != nullptr;
}

TRawSkin RawSkinFor(const std::string& lowerClassName, DWORD style) {
    if (lowerClassName == "button") {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return TRawSkin::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return TRawSkin::RadioButton;
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
        case BS_USERBUTTON: return TRawSkin::Button;
        // Group boxes, push boxes, owner-drawn, split and command-link
        // buttons: a box or a push button's face would cover what they show.
        default: return TRawSkin::None;
        }
    }
    if (lowerClassName == "combobox") return (style & 3) == CBS_SIMPLE ? TRawSkin::None : TRawSkin::ComboBox;
    if (lowerClassName == "comboboxex32") return TRawSkin::ComboBoxEx;
    if (lowerClassName == "scrollbar") return TRawSkin::Sizer;
    if (lowerClassName == "systabcontrol32") return (style & TCS_OWNERDRAWFIXED) != 0 ? TRawSkin::None : TRawSkin::Tab;
    if (lowerClassName == "edit") return TRawSkin::Edit;
    return TRawSkin::None;
}

// ------------------------------------------------------------- the table

struct TWalkRows {
    using TItem = TControlWalk::TItem;
    using TTest = std::function<bool(const TControlWalk&, const TItem&)>;
    using TAction = std::function<void(TControlWalk&, const TItem&)>;

    static constexpr int kNoGate = -1;

    struct TRow {
        bool WindowedOnly;  // the row's skins need the control's window
        TTest Test;
        int Family;         // the SkinControls family it needs, or kNoGate
        bool NeedsTabs;     // and the skin's Tabs element
        TAction Act;
    };

    template <class T>
    static TTest Is() {
        return [](const TControlWalk&, const TItem& c) { return dynamic_cast<T*>(c.Control) != nullptr; };
    }
    static TTest Named(std::vector<std::string> names) {
        return [names = std::move(names)](const TControlWalk&, const TItem& c) {
            return std::find(names.begin(), names.end(), c.Name) != names.end();
        };
    }
    template <class T>
    static TTest IsOrTagged(int rest) {
        return [rest](const TControlWalk&, const TItem& c) {
            return dynamic_cast<T*>(c.Control) != nullptr || c.Rest == rest;
        };
    }

    template <class Skin>
    static TAction Skinned(bool setFaceColour) {
        return [setFaceColour](TControlWalk& w, const TItem& c) { w.Attach<Skin>(c.Windowed, setFaceColour); };
    }
    static TAction ScrollBars(bool trackThumb) {
        return [trackThumb](TControlWalk& w, const TItem& c) { w.AttachScrollBars(c.Windowed, trackThumb); };
    }
    static void TabsByHandle(TControlWalk& w, const TItem& c) {
        w.AttachByHandle<TSkinTab>(c.Windowed->Handle(), true);
    }
    static void WalkOwned(TControlWalk& w, const TItem& c) { w.SkinChildControls(c.Control); }
    static void FaceColoured(TControlWalk& w, TControl* control) {
        control->SetColor(w.skinData_.ButtonFaceColour);
    }
    static void FlatBox(TControlWalk& w, const TItem& c) {
        SetPropertyValueName(*c.Control, "Flat", "True");
        w.Attach<TSkinBox>(c.Windowed, true);
    }

    static bool Open(const TControlWalk& w, const TRow& row) {
        if (row.Family != kNoGate && !w.skinData_.HasControl(static_cast<TSkinControlType>(row.Family))) return false;
        return !row.NeedsTabs || w.skinData_.Tabs != nullptr;
    }

    // The first row that matches and is switched on decides; rows 31 to 34
    // serve only what none before took.
    static const std::vector<TRow>& Rows() {
        static const std::vector<TRow> rows = {
            {false, Named({"TDBCOMBOBOXEH"}), kNoGate, false, [](TControlWalk&, const TItem&) {}},
            {false, Named({"TTOOLBAR"}), kNoGate, false,
             [](TControlWalk& w, const TItem& c) {
                 if (auto* bar = dynamic_cast<TToolBar*>(c.Control)) bar->SetFlat(true);
                 FaceColoured(w, c.Control);
             }},
            {true, Is<TTabControl>(), xcTab, true, TabsByHandle},
            {true, Named({"TTABSET"}), xcTab, true, Skinned<TSkinTab31>(false)},
            {true, Named({"TTABBEDNOTEBOOK"}), xcTab, true, TabsByHandle},
            {false, Named({"TMVCPANEL"}), kNoGate, false, WalkOwned},
            {true, Is<TPageControl>(), xcTab, true, TabsByHandle},
            {true, Is<TCustomCheckBox>(), xcCheckBox, false, Skinned<TSkinCheckBox>(true)},
            {true, Named({"TTRACKBAR"}), xcButton, false, Skinned<TSkinTrackBar>(false)},
            {true, Named({"TUPDOWN"}), xcButton, false, Skinned<TSkinUpDown>(false)},
            {true, Is<TCustomRadioGroup>(), xcRadioButton, false,
             [](TControlWalk& w, const TItem& c) {
                 w.SkinGroupChildren(c.Windowed, false);
                 w.Attach<TSkinBox>(c.Windowed, true);
             }},
            {true, Named({"TDBNAVIGATOR"}), xcPanel, false, FlatBox},
            {true, Is<TRadioButton>(), xcRadioButton, false, Skinned<TSkinRadioButton>(true)},
            {true, Is<TToolBar>(), xcToolbar, false, FlatBox},
            {true, Is<TStatusBar>(), xcStatusBar, false,
             [](TControlWalk& w, const TItem& c) {
                 // The grip would be drawn over the skinned bar; it makes the window anew.
                 dynamic_cast<TStatusBar*>(c.Control)->SetSizeGrip(false);
                 w.Attach<TSkinStatusBar>(c.Windowed, false);
             }},
            {true, Is<TProgressBar>(), xcProgress, false, Skinned<TSkinProgress>(false)},
            {true, Is<TScrollBar>(), xcScrollbar, false, Skinned<TSkinScControl>(false)},
            {true, IsOrTagged<TCustomComboBox>(95), xcCombo, false, Skinned<TSkinComBox>(false)},
            {true, Named({"TDATETIMEPICKER"}), xcEdit, false,
             [](TControlWalk& w, const TItem& c) {
                 // The picker shows up-down arrows instead of a drop-down calendar.
                 if ((GetWindowLongPtrA(c.Windowed->Handle(), GWL_STYLE) & DTS_UPDOWN) != 0)
                     w.Attach<TSkinEdit>(c.Windowed, false);
                 else
                     w.Attach<TSkinComBox>(c.Windowed, false);
             }},
            {true, Named({"TRICHEDIT"}), xcScrollbar, false, ScrollBars(true)},
            {true, Named({"TWWDBRICHEDIT", "TDXDBMEMO"}), xcScrollbar, false, ScrollBars(true)},
            {true, Is<TBitBtn>(), xcBitBtn, false, Skinned<TSkinBitButton>(false)},
            {false, Is<TSpeedButton>(), xcSpeedButton, false,
             [](TControlWalk& w, const TItem& c) {
                 auto* skin = new TSkinSpeedButton(&w.frame_);  // owned by the frame
                 skin->AttachBitButton(dynamic_cast<TSpeedButton*>(c.Control), &w.skinData_,
                                       &w.host_.ControlCanvas);
             }},
            {true,
             [](const TControlWalk&, const TItem& c) {
                 return dynamic_cast<TCustomPanel*>(c.Control) != nullptr ||
                        dynamic_cast<TCustomGroupBox*>(c.Control) != nullptr;
             },
             xcPanel, false,
             [](TControlWalk& w, const TItem& c) {
                 w.Attach<TSkinBox>(c.Windowed, true);
                 w.SkinChildControls(c.Control);
             }},
            {true, Named({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}), xcScrollbar, false, ScrollBars(false)},
            {true, Is<TCustomListView>(), xcScrollbar, false, Skinned<TSkinListView>(false)},
            {true, Is<TCustomMemo>(), xcScrollbar, false, ScrollBars(true)},
            {true, Is<TCustomGrid>(), xcScrollbar, false,
             [](TControlWalk& w, const TItem& c) {
                 w.AttachScrollBars(c.Windowed, true);
                 dynamic_cast<TCustomGrid*>(c.Control)->SetFixedColor(w.skinData_.ButtonFaceColour);
             }},
            {true,
             [](const TControlWalk&, const TItem& c) { return c.Rest == 96 || IsScrollingControl(c.Control); },
             xcScrollbar, false, ScrollBars(true)},
            {true, Is<TButton>(), xcButton, false, Skinned<TSkinButton>(false)},
            {true,
             [](const TControlWalk& w, const TItem& c) { return w.ThirdPartyKind(c.Name).has_value(); },
             kNoGate, false,
             [](TControlWalk& w, const TItem& c) { w.SkinThirdPartyControl(c.Name, c.Control); }},
            {true, IsOrTagged<TCustomEdit>(97), xcEdit, false,
             [](TControlWalk& w, const TItem& c) { w.AttachByHandle<TSkinEdit>(c.Windowed->Handle(), false); }},
            {false, Is<TCustomFrame>(), kNoGate, false, WalkOwned},
            {false, Is<TCustomForm>(), kNoGate, false,
             [](TControlWalk& w, const TItem& c) {
                 FaceColoured(w, c.Control);
                 w.SkinChildControls(c.Control);
             }},
        };
        return rows;
    }

    struct TKind {
        const char* Name;
        TSkinControlType Family;
        void (*Act)(TControlWalk&, TWinControl*);
    };

    static void TransparentBox(TControlWalk& w, TWinControl* c) {
        SetPropertyValueName(*c, "Transparent", "True");
        w.Attach<TSkinBox>(c, true);
    }
    static void Group(TControlWalk& w, TWinControl* c, bool checkBoxes) {
        if (w.skinData_.HasControl(xcRadioButton)) w.SkinGroupChildren(c, checkBoxes);
        w.Attach<TSkinBox>(c, true);
    }

    // The kinds a Skin3rd line may give a class.
    static const std::vector<TKind>& Kinds() {
        static const std::vector<TKind> kinds = {
            {"combobox", xcCombo, [](TControlWalk& w, TWinControl* c) { w.Attach<TSkinComBox>(c, false); }},
            {"edit", xcEdit, [](TControlWalk& w, TWinControl* c) { w.AttachByHandle<TSkinEdit>(c->Handle(), false); }},
            {"radiobutton", xcRadioButton,
             [](TControlWalk& w, TWinControl* c) { w.Attach<TSkinRadioButton>(c, true); }},
            {"panel", xcPanel, TransparentBox},
            {"trackbar", xcButton, TransparentBox},
            {"progress", xcProgress, [](TControlWalk& w, TWinControl* c) { w.Attach<TSkinProgress>(c, false); }},
            {"radiogroup", xcPanel, [](TControlWalk& w, TWinControl* c) { Group(w, c, false); }},
            {"checkgroup", xcPanel, [](TControlWalk& w, TWinControl* c) { Group(w, c, true); }},
            {"checkbox", xcCheckBox, [](TControlWalk& w, TWinControl* c) { w.Attach<TSkinCheckBox>(c, true); }},
        };
        return kinds;
    }
};

// ------------------------------------------------------------------ walk

TControlWalk::TControlWalk(TComponent& frame, TSkinData& skinData)
    : frame_(frame), host_(dynamic_cast<TSkinControlHost&>(frame)), skinData_(skinData) {}

template <class Skin>
Skin* TControlWalk::Attach(TWinControl* control, bool setFaceColour) {
    auto* skin = new Skin(&frame_);  // owned by the frame
    skin->AttachControl(control, &skinData_, setFaceColour, &host_.ControlCanvas);
    return skin;
}

template <class Skin>
Skin* TControlWalk::AttachByHandle(HWND window, bool listed) {
    auto* skin = new Skin(&frame_);  // owned by the frame
    skin->AttachHandle(window, &skinData_, &host_.ControlCanvas);
    if (skin->Handle == nullptr) {
        // Another skin of the engine holds the window.
        TComponent::Free(skin);
        return nullptr;
    }
    if (listed) List(skin);
    return skin;
}

void TControlWalk::AttachScrollBars(TWinControl* control, bool trackThumb) {
    auto* skin = new TSkinScrollBar(&frame_);  // owned by the frame
    skin->AttachScrollControl(control, &skinData_, trackThumb, &host_.ControlCanvas);
}

void TControlWalk::List(TSkinControl* skin) {
    auto& list = host_.ControlSkins;
    if (std::find(list.begin(), list.end(), skin) == list.end()) list.push_back(skin);
}

bool TControlWalk::IsListed(HWND window) const {
    const auto& list = host_.ControlSkins;
    return std::any_of(list.begin(), list.end(), [window](const TSkinControl* s) { return s->Handle == window; });
}

void TControlWalk::SkinChildControls(TComponent* parent) {
    if (parent == nullptr) return;
    // Attaching may make components of parent's (a control's parts): the
    // count is read anew each time round.
    for (int i = 0; i < parent->ComponentCount(); ++i) SkinControl(parent, parent->Components(i));
}

void TControlWalk::SkinControl(TComponent* parent, TComponent* component) {
    // The rows give skins to controls; a menu item or a timer has nothing
    // to skin, whatever its Tag says.
    auto* control = dynamic_cast<TControl*>(component);
    if (control == nullptr) return;
    if (TagRest(control->Tag) == skinData_.DisableTag || IsControlSkinned(control)) return;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed != nullptr && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (const std::exception&) {
            // A control whose window cannot be made stays as it is; nothing
            // is reported.
            return;
        }
    }
    const TItem item{control, windowed, UpperCase(control->ClassName()), TagRest(control->Tag)};
    if (OfferToApplication(parent, item)) return;
    for (const TWalkRows::TRow& row : TWalkRows::Rows()) {
        if (row.WindowedOnly && windowed == nullptr) continue;
        if (!row.Test(*this, item) || !TWalkRows::Open(*this, row)) continue;
        row.Act(*this, item);
        return;
    }
}

bool TControlWalk::OfferToApplication(TComponent* parent, const TItem& item) {
    if (!skinData_.OnSkinControl) return false;
    TComponent* supplied = nullptr;
    skinData_.OnSkinControl(&frame_, &skinData_, dynamic_cast<TControl*>(parent), item.Control, item.Name, supplied);
    auto* skin = dynamic_cast<TSkinControl*>(supplied);
    if (skin == nullptr) return false;
    // The frame owns it from here: unskinning the window frees it.
    if (skin->Owner() != &frame_) frame_.InsertComponent(skin);
    if (item.Windowed != nullptr) skin->AttachHandle(item.Windowed->Handle(), &skinData_, &host_.ControlCanvas);
    return true;
}

bool TControlWalk::IsControlSkinned(TComponent* component) const {
    auto* windowed = dynamic_cast<TWinControl*>(component);
    for (const TSkinControl* skin : host_.ControlSkins) {
        if (skin->GraphicControl != nullptr) {
            if (skin->GraphicControl == component) return true;
            continue;
        }
        if (windowed == nullptr) continue;
        if (windowed->HandleAllocated()) {
            if (windowed->Handle() == skin->Handle) return true;
            continue;
        }
        // Print previews make their controls' windows late; they count as
        // served rather than being made here.
        return LowerCase(FormName).find("preview") != std::string::npos || FormName == "TQRStandardPreview" ||
               FormName == "TppPrintPreview" || FormName == "TdxfmStdPreview";
    }
    return false;
}

std::optional<std::string> TControlWalk::ThirdPartyKind(const std::string& className) const {
    const std::string key = LowerCase(className) + "=";
    const TStrings& lines = *skinData_.Skin3rd();
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = LowerCase(lines.Get(i));
        if (line.compare(0, key.size(), key) == 0) return line.substr(line.find('=') + 1, 50);
    }
    return std::nullopt;
}

bool TControlWalk::SkinThirdPartyControl(const std::string& className, TControl* control) {
    const std::optional<std::string> kind = ThirdPartyKind(className);
    if (!kind) return false;
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) SkinThirdPartyKind(*kind, windowed);
    return true;
}

void TControlWalk::SkinThirdPartyKind(const std::string& kind, TWinControl* control) {
    for (const TWalkRows::TKind& known : TWalkRows::Kinds()) {
        if (kind != known.Name) continue;
        if (skinData_.HasControl(known.Family)) known.Act(*this, control);
        return;
    }
}

void TControlWalk::SkinGroupChildren(TWinControl* group, bool checkBoxes) {
    for (int i = 0; i < group->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(group->Controls(i));
        if (child == nullptr) continue;
        child->SetParentColor(false);
        if (checkBoxes)
            Attach<TSkinCheckBox>(child, true);
        else
            Attach<TSkinRadioButton>(child, true);
    }
}

// ---------------------------------------------------------- plain windows

void TControlWalk::SkinChildWindows() {
    if (Window == nullptr) return;
    for (HWND child = GetTopWindow(Window); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD) != 0) SkinChildWindow(child);
}

void TControlWalk::SkinChildWindow(HWND window) {
    if (window == nullptr || IsListed(window)) return;
    char name[101] = {};
    GetClassNameA(window, name, 100);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    switch (RawSkinFor(LowerCase(name), style)) {
    case TRawSkin::None: return;
    case TRawSkin::Button: AttachByHandle<TSkinButton>(window, true); return;
    case TRawSkin::CheckBox: AttachByHandle<TSkinCheckBox>(window, true); return;
    case TRawSkin::RadioButton: AttachByHandle<TSkinRadioButton>(window, true); return;
    case TRawSkin::ComboBox: AttachByHandle<TSkinComBox>(window, true); return;
    case TRawSkin::ComboBoxEx: {
        // The combo box inside draws the box; the outer window only holds it.
        HWND inner = GetWindow(window, GW_CHILD);
        if (inner != nullptr && !IsListed(inner)) AttachByHandle<TSkinComBox>(inner, true);
        return;
    }
    case TRawSkin::Sizer: AttachByHandle<TSkinSizer>(window, true); return;
    case TRawSkin::Tab: AttachByHandle<TSkinTab>(window, true); return;
    case TRawSkin::Edit: AttachByHandle<TSkinEdit>(window, true); return;
    }
}

// ----------------------------------------------------------- popup menus

namespace {

void ForEachItem(TMenuItem* holder, const std::function<void(TMenuItem*)>& visit) {
    for (int i = 0; i < holder->Count(); ++i) {
        visit(holder->Items(i));
        ForEachItem(holder->Items(i), visit);
    }
}

}  // namespace

void TControlWalk::SetPopupMenusOwnerDraw(TComponent* form, bool on) {
    if (form == nullptr) return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* menu = dynamic_cast<TPopupMenu*>(form->Components(i));
        if (menu == nullptr) continue;
        const bool served = skinData_.HasControl(xcPopupMenu) && TagRest(menu->Tag) != skinData_.DisableTag;
        if (served) menu->SetOwnerDraw(on);
        // Switching off looks at every menu: the frame's handlers must not
        // outlive it, even where the menu was switched off since.
        if (served || !on) ForEachItem(menu->Items(), [this, on](TMenuItem* item) { SkinMenuItem(item, on); });
    }
}

void TControlWalk::SkinMenuItem(TMenuItem* item, bool on) {
    if (item == nullptr) return;
    if (on && item->Tag != 999) {
        if (item->OnDrawItem) return;  // the item draws itself, or the frame already draws it
        item->OnDrawItem = TFrameDrawItem{&frame_, DrawItem};
        item->OnMeasureItem = TFrameMeasureItem{&frame_, MeasureItem};
        return;
    }
    // Tag 999 keeps the system's drawing: any draw handler goes.
    if (on) item->OnDrawItem = nullptr;
    if (const auto* draw = item->OnDrawItem.target<TFrameDrawItem>(); draw != nullptr && draw->Frame == &frame_)
        item->OnDrawItem = nullptr;
    if (const auto* measure = item->OnMeasureItem.target<TFrameMeasureItem>();
        measure != nullptr && measure->Frame == &frame_)
        item->OnMeasureItem = nullptr;
}

}  // namespace pellix
