// Main menus and their items over menu handles, and the shortcut values
// that menu items and actions share.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"

namespace pellix {

// A virtual key with its modifiers, as the framework stores shortcuts.
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

enum TShiftFlag : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = uint8_t;

// 0 for keys beyond the byte range.
TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+O", "Shift+F5"; empty for none.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, case-insensitive; 0 for text it does not know.
TShortCut TextToShortCut(const std::string& text);

struct FormValue;
class LoadContext;
// A ShortCut value of a form description: the number or its text ("Ctrl+O").
TShortCut ShortCutValue(const FormValue& value, const LoadContext& ctx);

// Whether ch is the accelerator of caption: the character after its "&"
// ("&&" stands for an ampersand), compared in any case.
bool IsAccel(UINT ch, const std::string& caption);

// A key message as shortcut handlers see it.
struct TWMKey {
    UINT Msg = 0;
    WORD CharCode = 0;
    LPARAM KeyData = 0;
    LRESULT Result = 0;
};
// The key of msg with the modifiers held at the time it is handled.
TShortCut ShortCutFromMessage(const TWMKey& msg);

class TMenu;
class TCustomAction;
class TCustomImageList;
class TMenuActionLink;
class TCanvas;

// An owner-drawn item drawn into rect of canvas, or measured: width and
// height come in as the system proposes them.
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, const RECT& rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

enum class TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    std::string ClassName() const override { return "TMenuItem"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // A caption of "-" makes the item a separator.
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Checked() const { return checked_; }
    // Checking a radio item clears the other radio items of its group.
    void SetChecked(bool checked);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radio);
    uint8_t GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(uint8_t index);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // The menu's default choice, shown in bold.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    // The item's picture in its menu's image list; -1 for none.
    int ImageIndex = -1;
    // The image list ImageIndex points into: its menu's Images.
    TCustomImageList* GetImageList() const;

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out of this one; it stays with its owner.
    void Delete(int index);
    void Remove(TMenuItem* item);
    TMenuItem* Parent() const { return parent_; }
    TMenu* GetParentMenu() const;

    // The id of WM_COMMAND for this item, unique in the program.
    UINT Command() const { return command_; }
    // The drop-down menu, made while the item has items.
    HMENU Handle() const { return handle_.get(); }

    TCustomAction* Action() const;
    void SetAction(TCustomAction* action);

    TNotifyEvent OnClick;
    // OnClick when set, otherwise the action.
    virtual void Click();
    // How the item is drawn and measured while its menu is owner-drawn.
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    // Depth first over the items below this one.
    TMenuItem* Find(UINT_PTR value, TFindItemKind kind);

    void ReadChild(TComponent* child) override;

private:
    struct MenuFree {
        void operator()(HMENU menu) const;
    };
    using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuFree>;

    friend class TMenu;
    friend class TMenuActionLink;

    // The index of an item among the entries its parent's menu shows.
    UINT EntryPosition(const TMenuItem* item) const;
    void InsertEntry(TMenuItem* item);
    void RemoveEntry(TMenuItem* item);
    void UpdateEntry();
    void FillEntry(MENUITEMINFOA& info, std::string& text) const;
    void EnsureHandle();
    void DropHandleIfEmpty();
    void ClearGroup();
    // Tells the menu when the items of holder are those of its bar.
    static void BarChanged(const TMenuItem* holder);

    std::string caption_;
    TShortCut shortCut_ = scNone;
    bool checked_ = false;
    bool radioItem_ = false;
    uint8_t groupIndex_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    std::string hint_;
    UINT command_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;              // set on the root item of a menu only
    std::vector<TMenuItem*> items_;      // freed with this item unless taken out
    MenuHandle handle_;
    std::unique_ptr<TMenuActionLink> actionLink_;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    std::string ClassName() const override { return "TMenu"; }

    TMenuItem* Items() const { return items_.get(); }
    HMENU Handle() const { return items_->Handle(); }
    TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const { return items_->Find(value, kind); }
    // Clicks the item of a WM_COMMAND id; false when the id is not one of ours.
    bool DispatchCommand(UINT command);
    // Clicks the enabled item whose shortcut the key is.
    bool IsShortCut(const TWMKey& msg);
    // Items read from right to left: texts right-aligned, arrow keys swapped.
    bool IsRightToLeft() const { return rightToLeft_; }
    void SetRightToLeft(bool rightToLeft) { rightToLeft_ = rightToLeft; }

    // The window showing the menu: it hears of changes to the bar.
    HWND WindowHandle() const { return window_; }
    // Shows the menu on window, taking it off the window it was on (null:
    // just off); a window would destroy the menu it shows along with itself.
    void SetWindowHandle(HWND window);

    // Every entry of the menu is drawn by its owner (the items' OnDrawItem
    // and OnMeasureItem) rather than by the system.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);

    // The pictures of the items (their ImageIndex) in an owner-drawn menu.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);

    void ReadChild(TComponent* child) override;

protected:
    friend class TMenuItem;
    // popup: the menu is shown as a drop-down rather than as a bar.
    TMenu(TComponent* owner, bool popup);
    virtual void MenuChanged();
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TMenuItem, ComponentFree> items_;
    TCustomImageList* images_ = nullptr;
    HWND window_ = nullptr;
    bool ownerDraw_ = false;
    bool rightToLeft_ = false;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::string ClassName() const override { return "TMainMenu"; }

protected:
    // The bar is redrawn and the window told with CM_MENUCHANGED.
    void MenuChanged() override;
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

// A menu shown where the program asks, not on a bar.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner, true) {}
    std::string ClassName() const override { return "TPopupMenu"; }

    // Where the items' texts go in an owner-drawn menu.
    TPopupAlignment Alignment = TPopupAlignment::paLeft;
};

void RegisterMenusClasses();

}  // namespace pellix
