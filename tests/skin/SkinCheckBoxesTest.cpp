// Check boxes and radio buttons: the skin's box drawn over the control's own
// painting in the frame of its state, where the 14-pixel slot and the text
// side put it, with the key colour showing the face beneath.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

TEST(CheckFrame, StateGivesTheFrameAndMissingFramesFallBackOrDrawNothing) {
    struct Case {
        bool checked, disabled;
        int frames, expected;
    };
    const Case cases[] = {
        {false, false, 4, 1}, {true, false, 4, 2}, {false, true, 4, 3}, {true, true, 4, 4},
        // A strip without disabled frames shows the enabled one of the same state.
        {true, true, 3, 2},   {false, true, 3, 3}, {false, true, 2, 1}, {true, true, 2, 2},
        // Too few frames, or none, or a count read as negative: nothing to draw.
        {true, false, 1, 0},  {false, false, 1, 1}, {false, false, 0, 0}, {true, true, -2, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckFrame(c.checked, c.disabled, c.frames), c.expected)
            << c.checked << c.disabled << " of " << c.frames;
}

TEST(CheckBoxRect, CentredInTheSlotOnTheTextsOtherSide) {
    struct Case {
        const char* name;
        RECT control;
        int w, h;
        bool leftText;
        RECT expected;
    };
    const Case cases[] = {
        {"13 x 13 in 20 high", {0, 0, 100, 20}, 13, 13, false, {0, 3, 13, 16}},
        {"12 wide: one pixel into the slot", {10, 5, 110, 25}, 12, 12, false, {11, 9, 23, 21}},
        {"wider than the slot", {0, 0, 100, 20}, 16, 16, false, {0, 2, 16, 18}},
        {"text on the left", {0, 0, 100, 20}, 12, 12, true, {87, 4, 99, 16}},
        {"text on the left, wider than the slot", {0, 0, 100, 20}, 16, 16, true, {83, 2, 99, 18}},
        {"lower than the box", {0, 0, 100, 10}, 13, 21, false, {0, -5, 13, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT r = CheckBoxRect(c.control, c.w, c.h, c.leftText);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

enum class Box { FrameworkCheck, FrameworkRadio, RawCheck, RawRadio };

class CheckBoxSkinTest : public ControlSkinFixture {
protected:
    struct Made {
        HWND window;
        TWinControl* control;  // none for a raw window
        TSkinControl* skin;
    };
    // A control of the kind with its skin, attached as the control walk does.
    Made MakeBox(Box box, bool leftText, int height) {
        Made m{};
        const bool radio = box == Box::FrameworkRadio || box == Box::RawRadio;
        const std::string caption = radio ? "Radio" : "Check";
        if (box == Box::FrameworkCheck) {
            m.control = Make<TCheckBox>(20, 20, 120, height, caption, [&](TCheckBox& check) {
                if (leftText) check.Alignment = TAlignment::taLeftJustify;
            });
        } else if (box == Box::FrameworkRadio) {
            m.control = Make<TRadioButton>(20, 20, 120, height, caption, [&](TRadioButton& button) {
                if (leftText) button.Alignment = TAlignment::taLeftJustify;
            });
        }
        if (m.control != nullptr) {
            m.window = m.control->Handle();
            m.skin = radio ? static_cast<TSkinControl*>(NewSkin<TSkinRadioButton>()) : NewSkin<TSkinCheckBox>();
            m.skin->AttachControl(m.control, skin.get(), true, &host->ControlCanvas);
        } else {
            const DWORD style = (radio ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX) | (leftText ? BS_LEFTTEXT : 0);
            m.window = MakeRaw("BUTTON", style, 20, 20, 120, height, caption.c_str());
            m.skin = radio ? static_cast<TSkinControl*>(NewSkin<TSkinRadioButton>()) : NewSkin<TSkinCheckBox>();
            m.skin->AttachHandle(m.window, skin.get(), &host->ControlCanvas);
            host->ControlSkins.push_back(m.skin);
        }
        PumpMessages();
        return m;
    }
    static void SetCheck(const Made& m, bool checked) {
        if (auto* check = dynamic_cast<TCheckBox*>(m.control)) check->SetChecked(checked);
        else if (auto* radio = dynamic_cast<TRadioButton*>(m.control)) radio->SetChecked(checked);
        else SendMessageA(m.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void Drop(const Made& m) {
        host->DropControlSkins();
        if (m.control != nullptr) TComponent::Free(m.control);
        else DestroyWindow(m.window);
        raws.clear();
    }
};

TEST_F(CheckBoxSkinTest, EachStateShowsItsFrameInTheSlotWithTheFaceAroundIt) {
    struct Case {
        const char* name;
        Box box;
        bool leftText;
        int height;
        bool checked, disabled;
        int frame;
    };
    const Case cases[] = {
        {"framework check, unchecked", Box::FrameworkCheck, false, 20, false, false, 1},
        {"framework check, checked", Box::FrameworkCheck, false, 20, true, false, 2},
        {"framework check, disabled", Box::FrameworkCheck, false, 30, false, true, 3},
        {"framework check, checked, disabled, text left", Box::FrameworkCheck, true, 20, true, true, 4},
        {"framework radio, checked", Box::FrameworkRadio, false, 20, true, false, 2},
        {"framework radio, checked, disabled", Box::FrameworkRadio, false, 24, true, true, 4},
        {"raw check, checked, text left", Box::RawCheck, true, 20, true, false, 2},
        {"raw check, disabled", Box::RawCheck, false, 20, false, true, 3},
        {"raw radio, unchecked", Box::RawRadio, false, 26, false, false, 1},
        {"raw radio, checked, text left", Box::RawRadio, true, 20, true, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Made m = MakeBox(c.box, c.leftText, c.height);
        SetCheck(m, c.checked);
        if (c.disabled) EnableWindow(m.window, FALSE);
        PumpMessages();
        const bool radio = c.box == Box::FrameworkRadio || c.box == Box::RawRadio;
        const TElement element = radio ? TElement::RadioButton : TElement::CheckButton;
        const int size = testskin::Layout(element).FrameWidth;
        const RECT box = CheckBoxRect(RECT{0, 0, 120, c.height}, size, size, c.leftText);
        const TWindowPicture picture(m.window);
        EXPECT_EQ(Hex(picture.At(box.left + size / 2, box.top + size / 2)),
                  Hex(Piece(element, c.frame, TPiece::Centre)));
        EXPECT_EQ(Hex(picture.At(box.left + 2, box.top + 2)), Hex(Piece(element, c.frame, TPiece::Centre)))
            << "the frame's top-left corner, just past its key";
        const COLORREF face = Rgb(SkinColours().ButtonFace);
        EXPECT_EQ(Hex(picture.At(box.left, box.top)), Hex(face)) << "the keyed corner shows the face";
        EXPECT_EQ(Hex(picture.At(box.right - 1, box.bottom - 1)), Hex(face));
        EXPECT_EQ(picture.Count(Piece(element, c.frame, TPiece::Centre)), size * size - 4 * 4)
            << "the box and nothing else in the frame's colour";
        Drop(m);
    }
}

TEST_F(CheckBoxSkinTest, AFrameworkControlsOwnStateWinsOverTheWindows) {
    for (Box box : {Box::FrameworkCheck, Box::FrameworkRadio}) {
        const Made m = MakeBox(box, false, 20);
        const TElement element = box == Box::FrameworkRadio ? TElement::RadioButton : TElement::CheckButton;
        const int size = testskin::Layout(element).FrameWidth;
        const RECT r = CheckBoxRect(RECT{0, 0, 120, 20}, size, size, false);
        // The window is told otherwise behind the control's back: the box is drawn again at once.
        SendMessageA(m.window, BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(SendMessageA(m.window, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(Hex(TWindowPicture(m.window).At(r.left + size / 2, r.top + size / 2)),
                  Hex(Piece(element, 1, TPiece::Centre)));
        SetCheck(m, true);
        EXPECT_EQ(Hex(TWindowPicture(m.window).At(r.left + size / 2, r.top + size / 2)),
                  Hex(Piece(element, 2, TPiece::Centre)));
        Drop(m);
    }
}

TEST_F(CheckBoxSkinTest, AClickRedrawsTheBoxInItsNewState) {
    const Made m = MakeBox(Box::RawCheck, false, 20);
    const RECT r = CheckBoxRect(RECT{0, 0, 120, 20}, 13, 13, false);
    SendMessageA(m.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    SendMessageA(m.window, WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
    EXPECT_EQ(SendMessageA(m.window, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Hex(TWindowPicture(m.window).At(r.left + 6, r.top + 6)),
              Hex(Piece(TElement::CheckButton, 2, TPiece::Centre)));
}

TEST_F(CheckBoxSkinTest, FrameCountsWithoutTheFrameToShowDrawNoBox) {
    for (int frames : {0, -3, 1}) {
        SCOPED_TRACE(frames);
        skin->Buttons.CheckButtonFrame = frames;
        const Made m = MakeBox(Box::FrameworkCheck, false, 20);
        SetCheck(m, true);
        PumpMessages();
        const TWindowPicture picture(m.window);
        for (int frame = 1; frame <= 4; ++frame)
            EXPECT_EQ(picture.Count(Piece(TElement::CheckButton, frame, TPiece::Centre)), 0) << frame;
        Drop(m);
    }
}

TEST_F(CheckBoxSkinTest, WithoutCheckImagesTheControlKeepsItsOwnBox) {
    testskin::TTestSkinOptions options;
    options.Omit = {TElement::CheckButton};
    skin = LoadTestSkin(options);
    const Made m = MakeBox(Box::RawCheck, false, 20);
    const TWindowPicture skinned(m.window);
    Drop(m);
    const HWND twin = MakeRaw("BUTTON", BS_AUTOCHECKBOX, 20, 20, 120, 20, "Check");
    PumpMessages();
    const TWindowPicture own(twin);
    int differ = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) differ += skinned.At(x, y) != own.At(x, y);
    EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace pellix::test
