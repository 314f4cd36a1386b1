// A frame and the controls of its window: the walk runs when the frame is
// attached (fully or light), the skins and the popup menus go back when
// skinning is switched off, and a new skin reaches the controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/SkinWalk.h"
#include "skin/WinSubClass.h"
#include "tests/skin/FrameFixture.h"

namespace pellix::test {
namespace {

class FrameControlsTest : public SkinnedFrames {
protected:
    void TearDown() override {
        form.reset();
        if (plain != nullptr) DestroyWindow(plain);
        SkinnedFrames::TearDown();
    }

    // A form with a few controls and a popup menu, shown and framed.
    void ShowFormWithControls() {
        form.reset(new TForm(nullptr));
        form->SetName("ControlsForm");
        form->SetBounds(100, 100, 420, 300);
        form->SetCaption("Controls");
        button = Add<TButton>(10, 10, 90, 25);
        check = Add<TCheckBox>(10, 45, 100, 20);
        edit = Add<TEdit>(120, 10, 120, 22);
        grid = Add<TCustomGrid>(120, 45, 250, 120);
        popup = new TPopupMenu(form.get());  // owned by the form
        item = new TMenuItem(popup);         // owned by the popup menu
        item->SetCaption("Item");
        popup->Items()->Add(item);
        checkColour = check->Color();
        formColour = form->Color();
        editProcedure = GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC);
        form->Show();
        // A frame attached light is never started: it is there once listed.
        EXPECT_TRUE(PumpUntil([this] { return FrameOf(form->Handle()) != nullptr; }));
        PumpMessages();
    }
    template <class T>
    T* Add(int left, int top, int width, int height) {
        auto* control = new T(form.get());  // owned by the form
        control->SetParent(form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }

    // The skins of the frame that serve window.
    static std::vector<std::string> SkinsOn(const TWinSkinForm& frame, HWND window) {
        std::vector<std::string> names;
        for (int i = 0; i < frame.ComponentCount(); ++i)
            if (auto* skin = dynamic_cast<TSkinControl*>(frame.Components(i)); skin != nullptr && skin->Handle == window)
                names.push_back(skin->ClassName());
        return names;
    }

    void SwitchOff() {
        skin->SetActive(false);
        EXPECT_TRUE(PumpUntil([this] { return FrameOf(form->Handle()) == nullptr; }));
        PumpMessages();
    }

    std::unique_ptr<TForm, ComponentFree> form;
    TButton* button = nullptr;
    TCheckBox* check = nullptr;
    TEdit* edit = nullptr;
    TCustomGrid* grid = nullptr;
    TPopupMenu* popup = nullptr;
    TMenuItem* item = nullptr;
    TColor checkColour = 0, formColour = 0;
    LONG_PTR editProcedure = 0;
    HWND plain = nullptr;
};

TEST_F(FrameControlsTest, TheFramesWalkSkinsTheFormsControlsAndSwitchingOffGivesThemBack) {
    ShowFormWithControls();
    TWinSkinForm* frame = FrameOf(form->Handle());
    ASSERT_NE(frame, nullptr);
    const TColor face = skin->ButtonFaceColour;

    EXPECT_EQ(SkinsOn(*frame, button->Handle()), std::vector<std::string>{"TSkinButton"});
    EXPECT_EQ(SkinsOn(*frame, check->Handle()), std::vector<std::string>{"TSkinCheckBox"});
    EXPECT_EQ(SkinsOn(*frame, edit->Handle()), std::vector<std::string>{"TSkinEdit"});
    EXPECT_EQ(SkinsOn(*frame, grid->Handle()), std::vector<std::string>{"TSkinScrollBar"});
    EXPECT_EQ(frame->ControlSkins.size(), 3u) << "the edit's skin is attached by handle, unlisted";
    EXPECT_EQ(check->Color(), face);
    EXPECT_EQ(grid->FixedColor(), face);
    EXPECT_EQ(form->Color(), face);
    EXPECT_NE(GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC), editProcedure);
    EXPECT_TRUE(popup->OwnerDraw());
    const auto* draw = item->OnDrawItem.target<TFrameDrawItem>();
    ASSERT_NE(draw, nullptr);
    EXPECT_EQ(draw->Frame, frame);
    EXPECT_TRUE(item->OnMeasureItem);

    SwitchOff();
    EXPECT_EQ(check->Color(), checkColour);
    EXPECT_EQ(form->Color(), formColour);
    EXPECT_EQ(GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC), editProcedure);
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(item->OnDrawItem);
    EXPECT_FALSE(item->OnMeasureItem);
    // The fixed cells keep the skin's colour, as the walk left them.
    EXPECT_EQ(grid->FixedColor(), face);
}

TEST_F(FrameControlsTest, AFrameAttachedLightSkinsTheControlsAlone) {
    skin->SkinControls &= ~SkinControlBit(xcMainMenu);
    ShowFormWithControls();
    TWinSkinForm* frame = FrameOf(form->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(SkinsOn(*frame, button->Handle()), std::vector<std::string>{"TSkinButton"});
    EXPECT_EQ(SkinsOn(*frame, edit->Handle()), std::vector<std::string>{"TSkinEdit"});
    EXPECT_EQ(check->Color(), skin->ButtonFaceColour);
    // The platform keeps the frame.
    EXPECT_NE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_SYSMENU, 0);

    SwitchOff();
    EXPECT_EQ(check->Color(), checkColour);
    EXPECT_EQ(GetWindowLongPtrA(edit->Handle(), GWLP_WNDPROC), editProcedure);
}

TEST_F(FrameControlsTest, ANewSkinReachesTheControlsItColoured) {
    ShowFormWithControls();
    button->SetColor(RGB(1, 2, 3));
    ts::TTestSkinOptions other;
    other.Variant = 1;
    ts::FillStream(skin->SkinStream, ts::TestSkin(other));
    ASSERT_TRUE(skin->LoadSkinStream());
    const TColor face = skin->ButtonFaceColour;
    ASSERT_NE(check->Color(), face);
    skin->ApplySkin();
    EXPECT_TRUE(PumpUntil([&] { return check->Color() == face; }));
    EXPECT_EQ(grid->FixedColor(), face);
    EXPECT_EQ(form->Color(), face);
    EXPECT_EQ(button->Color(), RGB(1, 2, 3)) << "a control skinned without the colour keeps its own";
}

TEST_F(FrameControlsTest, APlainWindowsChildrenAreSkinnedByClass) {
    FrameTestWindows::Instance();
    plain = CreateWindowExA(0, FrameTestWindows::ClassName, "Plain", WS_OVERLAPPEDWINDOW, 150, 150, 400, 260, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    auto child = [this](const char* cls, DWORD style, int y) {
        return CreateWindowExA(0, cls, "Child", WS_CHILD | WS_VISIBLE | style, 10, y, 150, 24, plain, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    HWND push = child("BUTTON", BS_PUSHBUTTON, 10);
    HWND owner = child("BUTTON", BS_OWNERDRAW, 40);
    HWND box = child("BUTTON", BS_AUTOCHECKBOX, 70);
    HWND text = child("EDIT", WS_BORDER, 100);
    ShowFramed(plain);
    TWinSkinForm* frame = FrameOf(plain);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(SkinsOn(*frame, push), std::vector<std::string>{"TSkinButton"});
    EXPECT_TRUE(SkinsOn(*frame, owner).empty());
    EXPECT_EQ(SkinsOn(*frame, box), std::vector<std::string>{"TSkinCheckBox"});
    EXPECT_EQ(SkinsOn(*frame, text), std::vector<std::string>{"TSkinEdit"});
    EXPECT_EQ(frame->ControlSkins.size(), 3u);
}

}  // namespace
}  // namespace pellix::test
