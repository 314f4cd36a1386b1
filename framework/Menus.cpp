#include "framework/Menus.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/ActnList.h"
#include "framework/FormLoader.h"
#include "framework/ImgList.h"

namespace pellix {

// ---------------------------------------------------------------- shortcuts

namespace {

const std::pair<WORD, const char*> kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},   {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},  {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},      {VK_HOME, "Home"},   {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},
};

const std::pair<TShortCut, const char*> kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

std::string KeyName(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
    for (const auto& [vk, name] : kKeyNames)
        if (vk == key) return name;
    return {};
}

WORD KeyFromName(const std::string& name) {
    for (WORD key = 1; key <= 0xFF; ++key) {
        std::string known = KeyName(key);
        if (!known.empty() && SameText(known, name)) return key;
    }
    return 0;
}

// Ids of WM_COMMAND handed out to menu items; 0 is never one.
std::vector<bool>& CommandsInUse() {
    static std::vector<bool> used(1, true);
    return used;
}

UINT AllocateCommand() {
    auto& used = CommandsInUse();
    auto free = std::find(used.begin(), used.end(), false);
    if (free != used.end()) {
        *free = true;
        return static_cast<UINT>(free - used.begin());
    }
    if (used.size() > 0xFFFF) throw EComponentError("Too many menu items");
    used.push_back(true);
    return static_cast<UINT>(used.size() - 1);
}

void ReleaseCommand(UINT command) { CommandsInUse().at(command) = false; }

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key > 0xFF) return scNone;
    TShortCut result = key;
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string key = KeyName(shortCut & 0xFF);
    if (key.empty()) return {};
    std::string text;
    for (const auto& [flag, prefix] : kModifiers)
        if (shortCut & flag) text += prefix;
    return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut modifiers = 0;
    std::string rest = text;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [flag, prefix] : kModifiers) {
            size_t n = std::char_traits<char>::length(prefix);
            if (rest.size() > n && SameText(rest.substr(0, n), prefix)) {
                modifiers |= flag;
                rest = rest.substr(n);
                found = true;
            }
        }
    }
    WORD key = KeyFromName(rest);
    return key == 0 ? scNone : static_cast<TShortCut>(key | modifiers);
}

TShortCut ShortCutValue(const FormValue& value, const LoadContext& ctx) {
    if (value.kind == FormValue::Kind::Integer) {
        int32_t number = ctx.Int(value);
        if (number < 0 || number > 0xFFFF) ctx.Fail(value.line, "shortcut out of range");
        return static_cast<TShortCut>(number);
    }
    std::string text = ctx.String(value);
    TShortCut shortCut = TextToShortCut(text);
    if (shortCut == scNone && !text.empty()) ctx.Fail(value.line, "'" + text + "' is not a shortcut");
    return shortCut;
}

bool IsAccel(UINT ch, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const auto upper = [](unsigned c) { return c < 0x80 ? static_cast<unsigned>(std::toupper(static_cast<int>(c))) : c; };
        return upper(static_cast<unsigned char>(caption[i + 1])) == upper(ch);
    }
    return false;
}

TShortCut ShortCutFromMessage(const TWMKey& msg) {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    // The key message itself says whether Alt was down (context bit).
    if (msg.KeyData & (1 << 29)) shift |= ssAlt;
    return ShortCut(msg.CharCode, shift);
}

// ---------------------------------------------------------------- TMenuItem

void TMenuItem::MenuFree::operator()(HMENU menu) const {
    // Drop-downs of the entries belong to their own items: take them out
    // first so that destroying this menu leaves them alone.
    while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
    DestroyMenu(menu);
}

// A menu item follows its action: caption, hint, shortcut and state.
class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem& item) : item_(item) {}

protected:
    void ActionChanged() override {
        TCustomAction* a = Action();
        item_.SetCaption(a->Caption());
        item_.SetHint(a->Hint());
        item_.SetShortCut(a->ShortCut());
        item_.SetEnabled(a->Enabled());
        item_.SetChecked(a->Checked());
        item_.SetVisible(a->Visible());
    }

private:
    TMenuItem& item_;
};

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand()) {}

TMenuItem::~TMenuItem() {
    if (parent_ != nullptr) parent_->Remove(this);
    while (!items_.empty()) TComponent::Free(items_.back());  // each takes itself out
    actionLink_.reset();
    ReleaseCommand(command_);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_ != nullptr) root = root->parent_;
    return root->menu_;
}

TCustomImageList* TMenuItem::GetImageList() const {
    const TMenu* menu = GetParentMenu();
    return menu != nullptr ? menu->Images() : nullptr;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item == nullptr) return;
    if (item->parent_ != nullptr) throw EComponentError("Menu item is already in a menu");
    if (index < 0 || index > Count()) throw EComponentError("Menu index out of bounds");
    for (const TMenuItem* p = this; p != nullptr; p = p->parent_)
        if (p == item) throw EComponentError("A menu item cannot hold itself");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    EnsureHandle();
    if (item->visible_) InsertEntry(item);
    BarChanged(this);
}

void TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) throw EComponentError("Menu index out of bounds");
    TMenuItem* item = items_[index];
    if (item->visible_) RemoveEntry(item);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    DropHandleIfEmpty();
    BarChanged(this);
}

void TMenuItem::Remove(TMenuItem* item) {
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
}

UINT TMenuItem::EntryPosition(const TMenuItem* item) const {
    UINT position = 0;
    for (const TMenuItem* sibling : items_) {
        if (sibling == item) break;
        if (sibling->visible_) ++position;
    }
    return position;
}

void TMenuItem::FillEntry(MENUITEMINFOA& info, std::string& text) const {
    info = MENUITEMINFOA{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    info.wID = command_;
    info.hSubMenu = handle_.get();
    const TMenu* menu = GetParentMenu();
    const UINT ownerDraw = menu != nullptr && menu->OwnerDraw() ? MFT_OWNERDRAW : 0;
    if (IsLine()) {
        info.fType = MFT_SEPARATOR | ownerDraw;
        return;
    }
    info.fMask |= MIIM_STRING;
    info.fType = (radioItem_ ? MFT_RADIOCHECK : MFT_STRING) | ownerDraw;
    info.fState = (checked_ ? MFS_CHECKED : MFS_UNCHECKED) | (enabled_ ? MFS_ENABLED : MFS_GRAYED) |
                  (default_ ? MFS_DEFAULT : 0);
    text = caption_;
    if (shortCut_ != scNone) text += "\t" + ShortCutToText(shortCut_);
    info.dwTypeData = text.data();
}

void TMenuItem::InsertEntry(TMenuItem* item) {
    MENUITEMINFOA info;
    std::string text;
    item->FillEntry(info, text);
    if (!InsertMenuItemA(handle_.get(), EntryPosition(item), TRUE, &info))
        throw EComponentError("Cannot insert menu item '" + item->Name() + "'");
}

void TMenuItem::RemoveEntry(TMenuItem* item) {
    if (handle_ != nullptr) RemoveMenu(handle_.get(), EntryPosition(item), MF_BYPOSITION);
}

void TMenuItem::UpdateEntry() {
    if (parent_ == nullptr || !visible_ || parent_->handle_ == nullptr) return;
    const HMENU menu = parent_->handle_.get();
    const UINT position = parent_->EntryPosition(this);
    MENUITEMINFOA info;
    std::string text;
    FillEntry(info, text);
    // Whoever made the entry owner-drawn (a skin) keeps drawing it.
    MENUITEMINFOA current{};
    current.cbSize = sizeof(current);
    current.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoA(menu, position, TRUE, &current)) info.fType |= current.fType & MFT_OWNERDRAW;
    SetMenuItemInfoA(menu, position, TRUE, &info);
    BarChanged(parent_);
}

void TMenuItem::EnsureHandle() {
    if (handle_ != nullptr) return;
    handle_.reset(CreatePopupMenu());
    if (handle_ == nullptr) throw EComponentError("Cannot create menu");
    UpdateEntry();
}

void TMenuItem::DropHandleIfEmpty() {
    // The root keeps its menu: it is the menu itself.
    if (!items_.empty() || menu_ != nullptr || handle_ == nullptr) return;
    handle_.reset();
    UpdateEntry();
}

void TMenuItem::BarChanged(const TMenuItem* holder) {
    if (holder != nullptr && holder->menu_ != nullptr) holder->menu_->MenuChanged();
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    UpdateEntry();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    UpdateEntry();
}

void TMenuItem::ClearGroup() {
    if (parent_ == nullptr) return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->SetChecked(false);
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (checked && radioItem_) ClearGroup();
    UpdateEntry();
}

void TMenuItem::SetRadioItem(bool radio) {
    if (radio == radioItem_) return;
    radioItem_ = radio;
    if (radio && checked_) ClearGroup();
    UpdateEntry();
}

void TMenuItem::SetGroupIndex(uint8_t index) {
    if (index == groupIndex_) return;
    groupIndex_ = index;
    if (radioItem_ && checked_) ClearGroup();
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateEntry();
}

void TMenuItem::SetDefault(bool isDefault) {
    if (isDefault == default_) return;
    default_ = isDefault;
    UpdateEntry();
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (parent_ != nullptr && !visible) parent_->RemoveEntry(this);
    visible_ = visible;
    if (parent_ != nullptr && visible) parent_->InsertEntry(this);
    BarChanged(parent_);
}

TCustomAction* TMenuItem::Action() const { return actionLink_ == nullptr ? nullptr : actionLink_->Action(); }

void TMenuItem::SetAction(TCustomAction* action) {
    if (action == nullptr) {
        actionLink_.reset();
        return;
    }
    if (actionLink_ == nullptr) actionLink_ = std::make_unique<TMenuActionLink>(*this);
    actionLink_->SetAction(action);
}

void TMenuItem::Click() {
    if (OnClick) {
        OnClick(this);
    } else if (TCustomAction* action = Action()) {
        action->Execute();
    }
}

TMenuItem* TMenuItem::Find(UINT_PTR value, TFindItemKind kind) {
    for (TMenuItem* item : items_) {
        bool match = false;
        switch (kind) {
        case TFindItemKind::fkCommand: match = item->command_ == value; break;
        case TFindItemKind::fkHandle:
            match = item->handle_ != nullptr && reinterpret_cast<UINT_PTR>(item->handle_.get()) == value;
            break;
        case TFindItemKind::fkShortCut: match = item->shortCut_ != scNone && item->shortCut_ == value; break;
        }
        if (match) return item;
        if (TMenuItem* below = item->Find(value, kind)) return below;
    }
    return nullptr;
}

void TMenuItem::ReadChild(TComponent* child) {
    auto* item = dynamic_cast<TMenuItem*>(child);
    if (item == nullptr) throw EComponentError(child->ClassName() + " cannot be an item of a menu");
    Add(item);
}

// -------------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TMenu(owner, false) {}

TMenu::TMenu(TComponent* owner, bool popup) : TComponent(owner) {
    items_.reset(new TMenuItem(nullptr));  // the root, owned here
    items_->menu_ = this;
    items_->handle_.reset(popup ? CreatePopupMenu() : CreateMenu());
    if (items_->handle_ == nullptr) throw EComponentError("Cannot create menu");
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == ownerDraw_) return;
    ownerDraw_ = value;
    // Updates keep an owner drawing that an entry has, so it is set or
    // cleared on every entry here.
    std::function<void(TMenuItem*)> update = [&update, value](TMenuItem* holder) {
        for (TMenuItem* item : holder->items_) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE;
            const UINT position = holder->EntryPosition(item);
            if (item->visible_ && GetMenuItemInfoA(holder->handle_.get(), position, TRUE, &info)) {
                info.fType = value ? info.fType | MFT_OWNERDRAW : info.fType & ~static_cast<UINT>(MFT_OWNERDRAW);
                SetMenuItemInfoA(holder->handle_.get(), position, TRUE, &info);
            }
            update(item);
        }
    };
    update(items_.get());
    MenuChanged();
}

void TMenu::SetImages(TCustomImageList* images) {
    if (images == images_) return;
    if (images_ != nullptr) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_ != nullptr) images_->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

TMenu::~TMenu() {
    SetWindowHandle(nullptr);
    items_.reset();
}

void TMenu::SetWindowHandle(HWND window) {
    if (window_ != nullptr && window_ != window && GetMenu(window_) == Handle()) ::SetMenu(window_, nullptr);
    window_ = window;
    if (window_ != nullptr) ::SetMenu(window_, Handle());
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FindItem(command, TFindItemKind::fkCommand);
    if (item == nullptr) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(const TWMKey& msg) {
    TShortCut shortCut = ShortCutFromMessage(msg);
    TMenuItem* item = FindItem(shortCut, TFindItemKind::fkShortCut);
    if (item == nullptr) return false;
    if (TCustomAction* action = item->Action()) action->Update();
    for (const TMenuItem* p = item; p != nullptr; p = p->Parent())
        if (!p->Enabled()) return false;
    item->Click();
    return true;
}

void TMenu::MenuChanged() {}

void TMenu::ReadChild(TComponent* child) { items_->ReadChild(child); }

void TMainMenu::MenuChanged() {
    if (WindowHandle() == nullptr) return;
    SendMessageA(WindowHandle(), CM_MENUCHANGED, 0, 0);
    DrawMenuBar(WindowHandle());
}

// --------------------------------------------------------- form descriptions

void RegisterMenusClasses() {
    RegisterClassInfo("TMenu", "TComponent");
    RegisterClassInfo("TMainMenu", "TMenu", Factory<TMainMenu>());
    RegisterClassInfo("TMenuItem", "TComponent", Factory<TMenuItem>())
        .Property("Caption", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) { m.SetCaption(x.String(v)); }))
        .Property("ShortCut", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) {
            m.SetShortCut(ShortCutValue(v, x));
        }))
        .Property("Checked", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) { m.SetChecked(x.Bool(v)); }))
        .Property("RadioItem", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) { m.SetRadioItem(x.Bool(v)); }))
        .Property("GroupIndex", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) {
            m.SetGroupIndex(static_cast<uint8_t>(x.Int(v)));
        }))
        .Property("Enabled", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) { m.SetEnabled(x.Bool(v)); }))
        .Property("Visible", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) { m.SetVisible(x.Bool(v)); }))
        .Property("Hint", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) { m.SetHint(x.String(v)); }))
        .Property("OnClick", EventProp(&TMenuItem::OnClick))
        .Property("Action", Prop<TMenuItem>([](TMenuItem& m, const FormValue& v, LoadContext& x) {
            x.Reference(v, [&m, &x, line = v.line](TComponent* c) {
                auto* action = dynamic_cast<TCustomAction*>(c);
                if (action == nullptr) x.Fail(line, "'" + c->Name() + "' is not an action");
                m.SetAction(action);
            });
        }));

    RegisterClassInfo("TCustomForm", "TWinControl")
        .Property("Menu", Prop<TCustomForm>([](TCustomForm& f, const FormValue& v, LoadContext& x) {
            x.Reference(v, [&f, &x, line = v.line](TComponent* c) {
                auto* menu = dynamic_cast<TMainMenu*>(c);
                if (menu == nullptr) x.Fail(line, "'" + c->Name() + "' is not a main menu");
                f.SetMenu(menu);
            });
        }))
        .Property("OnShortCut", EventProp(&TCustomForm::OnShortCut));
}

}  // namespace pellix
