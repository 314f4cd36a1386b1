// The control walk: which control skin each control of a skinned window gets.
//
// On a framework form the frame's walk goes through the components a parent
// owns, in order. The application's OnSkinControl may supply a skin first;
// otherwise one table of rows decides, the first row whose test matches and
// whose family is switched on in the skin data's SkinControls. Classes the
// table does not know may be named in the skin data's Skin3rd lines with the
// kind of control they are. On a plain window the walk goes through the
// direct child windows and chooses by window class and style.
//
// The walk also hands the form's popup menus to the frame's owner drawing
// and takes them back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "framework/Menus.h"

namespace pellix {

class TComponent;
class TControl;
class TSkinControl;
class TSkinControlHost;
class TSkinData;
class TWinControl;

// What the Tag rules compare: Tag mod 100, with the sign of the Tag (so a
// negative Tag never matches 95, 96, 97 or a positive DisableTag).
int TagRest(int tag);

// A windowed control that scrolls: a scroll bar in its window style, Tag 55,
// or a list box, memo, tree view or scroll box.
bool IsScrollingControl(TComponent* component);

// The skin a raw child window of a plain window gets.
enum class TRawSkin { None, Button, CheckBox, RadioButton, ComboBox, ComboBoxEx, Sizer, Tab, Edit };
// From the window's class name in lower case and its style. Buttons go by
// their type (BS_TYPEMASK): group boxes, push boxes, owner-drawn, split and
// command-link buttons get none.
TRawSkin RawSkinFor(const std::string& lowerClassName, DWORD style);

// The frame's handlers as a popup-menu item holds them, marked with the frame
// that set them: switching off takes away these and nothing else.
struct TFrameDrawItem {
    const TComponent* Frame;
    TMenuDrawItemEvent Handler;
    void operator()(TObject* sender, TCanvas* canvas, const RECT& rect, bool selected) const {
        if (Handler) Handler(sender, canvas, rect, selected);
    }
};
struct TFrameMeasureItem {
    const TComponent* Frame;
    TMenuMeasureItemEvent Handler;
    void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
        if (Handler) Handler(sender, canvas, width, height);
    }
};

class TControlWalk {
public:
    // frame: the frame skin, which owns every control skin made here and is
    // their host; it must be a TSkinControlHost.
    TControlWalk(TComponent& frame, TSkinData& skinData);

    // The Name of the frame's form (IsControlSkinned reads it); empty for a
    // plain window.
    std::string FormName;
    // The frame's window, whose children SkinChildWindows walks.
    HWND Window = nullptr;
    // The frame's handlers for the items of skinned popup menus.
    TMenuDrawItemEvent DrawItem;
    TMenuMeasureItemEvent MeasureItem;

    // Every component parent owns, in order, gets the skin its row gives.
    void SkinChildControls(TComponent* parent);
    // A control skin of the frame already serves the component (on a print
    // preview form, any windowed control not yet made counts as served).
    bool IsControlSkinned(TComponent* component) const;
    // The Skin3rd line of the class (className in upper case) gives the
    // control's kind and so its skin; true when there is such a line, even
    // when its kind is unknown or switched off.
    bool SkinThirdPartyControl(const std::string& className, TControl* control);

    // Every direct child of Window.
    void SkinChildWindows();
    // A raw child window gets the skin of its class and style, listed in
    // the host's ControlSkins; nothing when a listed skin already serves it.
    void SkinChildWindow(HWND window);

    // The form's popup menus become owner-drawn by the frame (on), or are
    // given back (off).
    void SetPopupMenusOwnerDraw(TComponent* form, bool on);
    // On: an item without a draw handler of its own gets the frame's two
    // handlers; Tag 999 keeps the system's drawing. Off: the handlers this
    // frame set are taken away.
    void SkinMenuItem(TMenuItem* item, bool on);

private:
    friend struct TWalkRows;
    struct TItem;

    void SkinControl(TComponent* parent, TComponent* component);
    bool OfferToApplication(TComponent* parent, const TItem& item);
    std::optional<std::string> ThirdPartyKind(const std::string& className) const;
    void SkinThirdPartyKind(const std::string& kind, TWinControl* control);
    void SkinGroupChildren(TWinControl* group, bool checkBoxes);

    template <class Skin>
    Skin* Attach(TWinControl* control, bool setFaceColour);
    // The skin, attached by handle; freed (and none) when the window could
    // not be taken over.
    template <class Skin>
    Skin* AttachByHandle(HWND window, bool listed);
    void AttachScrollBars(TWinControl* control, bool trackThumb);
    void List(TSkinControl* skin);
    bool IsListed(HWND window) const;

    TComponent& frame_;
    TSkinControlHost& host_;
    TSkinData& skinData_;
};

}  // namespace pellix
