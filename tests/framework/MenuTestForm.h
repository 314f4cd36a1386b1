// A form with a main menu and an action list read from a description, and
// readers of what the menu handles really hold.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/ActnList.h"
#include "framework/Classes.h"
#include "framework/FormLoader.h"
#include "framework/Menus.h"

namespace pellix::test {

class TMenuTestForm : public TForm {
public:
    explicit TMenuTestForm(TComponent* owner) : TForm(owner) {
        RegisterClassInfo("TMenuTestForm", "TForm");
        AddHandler("OpenClick", TNotifyEvent([this](TObject* s) { opened.push_back(s); }));
        AddHandler("FontExecute", TNotifyEvent([this](TObject* s) { fonts.push_back(s); }));
        AddHandler("HiddenExecute", TNotifyEvent([this](TObject* s) { hidden.push_back(s); }));
        AddHandler("FormShortCut", TShortCutEvent([this](TWMKey& m, bool& handled) {
            shortCutKeys.push_back(m.CharCode);
            if (m.CharCode == takeKey) handled = true;
        }));
    }
    std::string ClassName() const override { return "TMenuTestForm"; }

    template <class T>
    T* Get(const std::string& name) const {
        auto* found = dynamic_cast<T*>(FindComponent(name));
        if (found == nullptr) throw Exception("no " + name + " in the test form");
        return found;
    }

    std::vector<TObject*> opened, fonts, hidden;
    std::vector<WORD> shortCutKeys;
    WORD takeKey = 0;  // OnShortCut keeps this key
};

inline const char kMenuTestDescription[] = R"(object MenuTestForm: TMenuTestForm
  Left = 120
  Top = 90
  Width = 420
  Height = 300
  Caption = 'Menus'
  Menu = MainMenu1
  OnShortCut = FormShortCut
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        Hint = 'Open|Opens an existing file'
        ShortCut = 16463
        OnClick = OpenClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Action = FileExit1
      end
    end
    object Options1: TMenuItem
      Caption = '&Options'
      object Blue1: TMenuItem
        Caption = '&Blue'
        Checked = True
        GroupIndex = 1
        RadioItem = True
      end
      object Silver1: TMenuItem
        Caption = '&Silver'
        GroupIndex = 1
        RadioItem = True
      end
      object Fonts1: TMenuItem
        Action = ActionFont
      end
    end
  end
  object ActionList1: TActionList
    object FileExit1: TFileExit
      Category = 'File'
      Caption = 'E&xit'
      Hint = 'Exit|Quits the application'
    end
    object ActionFont: TAction
      Category = 'Options'
      Caption = 'Fonts'
      ShortCut = 'Ctrl+Shift+F'
      OnExecute = FontExecute
    end
    object ActionHidden: TAction
      ShortCut = 'Ctrl+H'
      OnExecute = HiddenExecute
    end
  end
end
)";

using MenuFormPtr = std::unique_ptr<TMenuTestForm, ComponentFree>;

inline MenuFormPtr LoadMenuTestForm() {
    MenuFormPtr form(new TMenuTestForm(nullptr));
    LoadFormText(*form, kMenuTestDescription, "MenuTest.dfm");
    form->HandleNeeded();
    return form;
}

// One entry of a menu handle as the system reports it.
struct MenuEntry {
    std::string text;
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU subMenu = nullptr;
    bool separator() const { return (type & MFT_SEPARATOR) != 0; }
    bool radio() const { return (type & MFT_RADIOCHECK) != 0; }
    bool checked() const { return (state & MFS_CHECKED) != 0; }
    bool grayed() const { return (state & MFS_GRAYED) != 0; }
};

inline std::vector<MenuEntry> ReadMenu(HMENU menu) {
    std::vector<MenuEntry> entries;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[128] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        EXPECT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info)) << "entry " << i;
        entries.push_back(MenuEntry{text, info.fType, info.fState, info.wID, info.hSubMenu});
    }
    return entries;
}

inline std::vector<std::string> Texts(HMENU menu) {
    std::vector<std::string> texts;
    for (const MenuEntry& e : ReadMenu(menu)) texts.push_back(e.separator() ? "-" : e.text);
    return texts;
}

// Holds modifier keys down in this thread's keyboard state while it lives.
class HeldKeys {
public:
    HeldKeys(bool ctrl, bool shift) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), std::begin(state));
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256];
};

}  // namespace pellix::test
