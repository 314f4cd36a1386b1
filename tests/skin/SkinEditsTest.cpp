// Edits and combo boxes: the edit's border drawn over its own frame on paint
// and on print as far as the frame allows, a spin edit's arrows skinned once
// found; the combo box's button, glyph and sunken edge in the frame of its
// state, and its flat look.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

constexpr int kEditWidth = 140, kEditHeight = 24;

COLORREF Shadow() { return Rgb(SkinColours().ButtonShadow); }
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Printed {
    std::vector<COLORREF> pixels;
    int width;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// What WM_PRINT leaves on a magenta bitmap of the window's size whose
// context holds brush.
Printed Print(HWND window, HBRUSH brush) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    RECT all{0, 0, w, h};
    FillRect(dc, &all, magenta);
    DeleteObject(magenta);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    Printed out{{}, w};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

class EditSkinTest : public ControlSkinFixture {
protected:
    TEdit* MakeEdit(TBorderStyle border, bool ctl3d, int top = 20) {
        auto* edit = new TEdit(form.get());  // owned by the form
        // Read as the window is made, which joining the shown form does.
        edit->BorderStyle = border;
        edit->Ctl3D = ctl3d;
        edit->SetBounds(20, top, kEditWidth, kEditHeight);
        edit->SetTextValue("Edit");
        edit->SetParent(form.get());
        PumpMessages();
        return edit;
    }
    TSkinEdit* Attach(HWND window) {
        auto* editSkin = NewSkin<TSkinEdit>();
        editSkin->AttachHandle(window, skin.get(), &host->ControlCanvas);
        PumpMessages();  // no repaint by the test: attaching repaints
        return editSkin;
    }
};

TEST_F(EditSkinTest, AnEditWithoutABorderIsLeftAsItIs) {
    TEdit* edit = MakeEdit(TBorderStyle::bsNone, true);
    Repaint(edit->Handle());
    const TWindowPicture own(edit->Handle());
    Attach(edit->Handle());
    Repaint(edit->Handle());
    const TWindowPicture skinned(edit->Handle());
    int differ = 0;
    for (int y = 0; y < kEditHeight; ++y)
        for (int x = 0; x < kEditWidth; ++x) differ += own.At(x, y) != skinned.At(x, y);
    EXPECT_EQ(differ, 0);
}

TEST_F(EditSkinTest, BordersAreFramedOnPaintAndOnPrintOnlyWhenWiderThanALine) {
    struct Case {
        const char* name;
        bool ctl3d;
        bool printed;  // the border is drawn on WM_PRINT too
    };
    const Case cases[] = {
        {"sunken edge", true, true},
        // The system draws the line inside the client area, which is as large as the window.
        {"one-pixel line", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TEdit* edit = MakeEdit(TBorderStyle::bsSingle, c.ctl3d);
        HWND window = edit->Handle();
        Attach(window);
        const TWindowPicture painted(window);
        for (const POINT p : {POINT{0, 12}, POINT{70, 0}, POINT{kEditWidth - 1, 12}, POINT{70, kEditHeight - 1}})
            EXPECT_EQ(Hex(painted.At(p.x, p.y)), Hex(Shadow())) << p.x << "," << p.y;
        for (const POINT p : {POINT{1, 12}, POINT{70, 1}, POINT{kEditWidth - 2, 12}, POINT{70, kEditHeight - 2}})
            EXPECT_EQ(Hex(painted.At(p.x, p.y)), Hex(kWhite)) << p.x << "," << p.y;

        // The ring inside is drawn in the brush the print context holds.
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        const Printed printed = Print(window, red);
        DeleteObject(red);
        if (c.printed) {
            EXPECT_EQ(Hex(printed.At(0, 12)), Hex(Shadow()));
            EXPECT_EQ(Hex(printed.At(1, 12)), Hex(RGB(255, 0, 0)));
            EXPECT_EQ(Hex(printed.At(70, kEditHeight - 2)), Hex(RGB(255, 0, 0)));
        } else {
            for (int x = 0; x < kEditWidth; ++x) {
                EXPECT_NE(Hex(printed.At(x, 0)), Hex(Shadow())) << x;
                EXPECT_NE(Hex(printed.At(x, 1)), Hex(RGB(255, 0, 0))) << x;
            }
        }
        host.reset();  // the edit skin goes with its host, and the edit is repainted as its own
        host = std::make_unique<TTestHost>();
        PumpMessages();
        EXPECT_NE(Hex(TWindowPicture(window).At(0, 12)), Hex(Shadow()));
        TComponent::Free(edit);
    }
}

TEST_F(EditSkinTest, TheBorderStaysThroughFocusAndEnabling) {
    TEdit* edit = MakeEdit(TBorderStyle::bsSingle, true);
    HWND window = edit->Handle();
    Attach(window);
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"focus", [&] { SetFocus(window); }},
        {"focus lost", [&] { SetFocus(form->Handle()); }},
        {"disabled", [&] { EnableWindow(window, FALSE); }},
        {"enabled", [&] { EnableWindow(window, TRUE); }},
        {"frame redrawn", [&] { RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); }},
    };
    for (const auto& [name, action] : actions) {
        SCOPED_TRACE(name);
        action();
        PumpMessages();
        const TWindowPicture picture(window);
        EXPECT_EQ(Hex(picture.At(0, 12)), Hex(Shadow()));
        EXPECT_EQ(Hex(picture.At(1, 12)), Hex(kWhite));
    }
}

TEST_F(EditSkinTest, ASpinEditsArrowsAreSkinnedInsetAtTheFirstSkinnedPaint) {
    auto* spin = Make<TSpinEdit>(20, 20, 90, 24);
    spin->HandleNeeded();
    HWND arrows = GetTopWindow(spin->Handle());
    ASSERT_NE(arrows, nullptr);
    TSkinEdit* editSkin = Attach(spin->Handle());
    ASSERT_NE(editSkin->UpDownSkin, nullptr);
    EXPECT_EQ(editSkin->UpDownSkin->Handle, arrows);
    EXPECT_TRUE(editSkin->UpDownSkin->Inset);
    EXPECT_EQ(editSkin->UpDownSkin->Owner(), host.get()) << "the host owns it";
    EXPECT_TRUE(host->ControlSkins.empty()) << "and does not list it";
    Repaint(spin->Handle());
    const TWindowPicture picture(arrows);
    EXPECT_EQ(Hex(picture.At(0, 0)), Hex(Rgb(SkinColours().ButtonFace)));
    EXPECT_EQ(Hex(picture.At(1, 1)), Hex(Piece(TElement::UpDownVert, 1, TPiece::Centre)));
    EXPECT_EQ(Hex(picture.At(1, picture.Height() - 2)), Hex(Piece(TElement::UpDownVert, 5, TPiece::Centre)));

    // The arrows follow the spin edit's enabled state.
    spin->SetEnabled(false);
    PumpMessages();
    EXPECT_EQ(Hex(TWindowPicture(arrows).At(1, 1)), Hex(Piece(TElement::UpDownVert, 3, TPiece::Centre)));
}

TEST_F(EditSkinTest, SpinArrowsMadeLaterAreFoundByTheNextPaint) {
    TEdit* edit = MakeEdit(TBorderStyle::bsSingle, true);
    TSkinEdit* editSkin = Attach(edit->Handle());
    EXPECT_EQ(editSkin->UpDownSkin, nullptr);
    HWND arrows = CreateWindowExA(0, "msctls_updown32", "", WS_CHILD | WS_VISIBLE, kEditWidth - 20, 0, 16, 20,
                                  edit->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    Repaint(edit->Handle());
    ASSERT_NE(editSkin->UpDownSkin, nullptr);
    EXPECT_EQ(editSkin->UpDownSkin->Handle, arrows);
}

// ---------------------------------------------------------------- combos

TEST(ComboFrame, PressedBeatsFocusedWhichShowsAsHot) {
    struct Case {
        bool pressed, hot, focused, enabled;
        int frame;
    };
    const Case cases[] = {
        {false, false, false, true, 1}, {true, false, true, true, 2},  {false, false, true, true, 4},
        {false, true, false, true, 4},  {true, true, false, true, 2},  {false, false, false, false, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComboFrame(c.pressed, c.hot, c.focused, c.enabled), c.frame)
            << c.pressed << c.hot << c.focused << c.enabled;
}

enum class Kind { Framework, Raw };

class ComboSkinTest : public ControlSkinFixture, public ::testing::WithParamInterface<Kind> {
protected:
    HWND MakeCombo() {
        if (GetParam() == Kind::Framework) {
            auto* combo = Make<TComboBox>(20, 20, 150, 21, {},
                                          [](TComboBox& c) { c.Style = TComboBoxStyle::csDropDownList; });
            combo->Items().Add("Item");
            combo->SetItemIndex(0);
            window = combo->Handle();
            comboSkin = NewSkin<TSkinComBox>();
            comboSkin->AttachControl(combo, skin.get(), false, &host->ControlCanvas);
        } else {
            window = MakeRaw("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 20, 20, 150, 200, "", 9);
            SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Item"));
            SendMessageA(window, CB_SETCURSEL, 0, 0);
            comboSkin = NewSkin<TSkinComBox>();
            comboSkin->AttachHandle(window, skin.get(), &host->ControlCanvas);
            host->ControlSkins.push_back(comboSkin);
        }
        Repaint(window);
        return window;
    }
    RECT Button() const {
        RECT r;
        GetWindowRect(window, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        return RECT{w - (GetSystemMetrics(SM_CXHSCROLL) + 2), 0, w, h};
    }
    void ExpectFrame(int frame, const std::string& what) {
        SCOPED_TRACE(what);
        const TWindowPicture picture(window);
        const RECT b = Button();
        EXPECT_EQ(Hex(picture.At(b.left + 1, 1)), Hex(Piece(TElement::ComboButton, frame, TPiece::Centre)));
        const auto& extra = testskin::Layout(TElement::ExtraImages);
        const int gx = b.left + (b.right - b.left - extra.FrameWidth) / 2;
        const int gy = (b.bottom - extra.FrameHeight) / 2;
        EXPECT_EQ(Hex(picture.At(gx + 5, gy + 5)), Hex(Piece(TElement::ExtraImages, frame, TPiece::Centre)));
    }

    HWND window = nullptr;
    TSkinComBox* comboSkin = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Combos, ComboSkinTest, ::testing::Values(Kind::Framework, Kind::Raw),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return std::string(info.param == Kind::Framework ? "Framework" : "Raw");
                         });

TEST_P(ComboSkinTest, TheButtonShowsTheFrameOfTheState) {
    MakeCombo();
    ExpectFrame(1, "normal");
    SendMessageA(window, CM_MOUSEENTER, 0, 0);
    ExpectFrame(4, "hot");
    SendMessageA(window, CM_MOUSELEAVE, 0, 0);
    ExpectFrame(1, "left");
    SetFocus(window);
    PumpMessages();
    ExpectFrame(4, "focused");
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ExpectFrame(2, "pressed while focused");
    SendMessageA(window, CB_SHOWDROPDOWN, FALSE, 0);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpMessages();
    ExpectFrame(4, "released, still focused");
    SetFocus(form->Handle());
    EnableWindow(window, FALSE);
    PumpMessages();
    ExpectFrame(3, "disabled");
    SendMessageA(window, CM_MOUSEENTER, 0, 0);
    ExpectFrame(3, "entered while disabled");
}

TEST_P(ComboSkinTest, TheSunkenEdgeRunsAlongTheLeftTopAndBottom) {
    MakeCombo();
    const TWindowPicture picture(window);
    const int w = picture.Width(), h = picture.Height();
    const RECT b = Button();
    EXPECT_EQ(Hex(picture.At(0, 0)), Hex(Piece(TElement::SunkEdge, 1, TPiece::TopLeft)));
    EXPECT_EQ(Hex(picture.At(0, h / 2)), Hex(Piece(TElement::SunkEdge, 1, TPiece::Left)));
    EXPECT_EQ(Hex(picture.At(1, h / 2)), Hex(Piece(TElement::SunkEdge, 1, TPiece::Left)));
    EXPECT_EQ(Hex(picture.At(w / 3, 0)), Hex(Piece(TElement::SunkEdge, 1, TPiece::Top)));
    EXPECT_EQ(Hex(picture.At(w / 3, h - 1)), Hex(Piece(TElement::SunkEdge, 1, TPiece::Bottom)));
    EXPECT_EQ(Hex(picture.At(0, h - 1)), Hex(Piece(TElement::SunkEdge, 1, TPiece::BottomLeft)));
    EXPECT_EQ(Hex(picture.At(b.left - 1, 0)), Hex(Piece(TElement::SunkEdge, 1, TPiece::Top)));
    EXPECT_EQ(picture.Count(Piece(TElement::SunkEdge, 1, TPiece::Top), RECT{b.left, 0, w, h}), 0)
        << "the button covers the right side";
}

TEST_P(ComboSkinTest, AFlatButtonNeedsNoSunkenEdge) {
    testskin::TTestSkinOptions options;
    options.Omit = {TElement::SunkEdge};
    skin = LoadTestSkin(options);
    skin->ComboButton->Style = 1;
    MakeCombo();
    SetFocus(window);
    PumpMessages();
    const TWindowPicture picture(window);
    const int w = picture.Width(), h = picture.Height();
    EXPECT_EQ(Hex(picture.At(0, h / 2)), Hex(Shadow()));
    EXPECT_EQ(Hex(picture.At(w / 2, 0)), Hex(Shadow()));
    // The ring inside in the window context's own brush, which is white.
    EXPECT_EQ(Hex(picture.At(1, h / 2)), Hex(kWhite));
    EXPECT_EQ(Hex(picture.At(w / 2, h - 2)), Hex(kWhite));
    const int buttonLeft = w - 2 - GetSystemMetrics(SM_CYVTHUMB);
    EXPECT_EQ(Hex(picture.At(buttonLeft + 1, h / 2)), Hex(Piece(TElement::ComboButton, 4, TPiece::Centre)));
    EXPECT_EQ(Hex(picture.At(w - 3, 2)), Hex(Piece(TElement::ComboButton, 4, TPiece::Centre)));
}

}  // namespace
}  // namespace pellix::test
