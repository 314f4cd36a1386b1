// Push, bit and speed buttons drawn from the test skin's "Buttons" image:
// the frame and text colour each state shows, read back from the window;
// what the push-button skin keeps from the button and the click it makes;
// the glyph layout; the speed button's own states and group.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

constexpr int kWidth = 100, kHeight = 30;

enum class Kind { Framework, Raw };

std::string KindName(const ::testing::TestParamInfo<Kind>& info) {
    return info.param == Kind::Framework ? "Framework" : "Raw";
}

// Frame k's colour where the button shows its left edge piece.
COLORREF LeftEdge(TButtonFrame frame) { return Piece(TElement::Buttons, static_cast<int>(frame), TPiece::Left); }

COLORREF TextColourOf(TButtonFrame frame) {
    switch (frame) {
    case TButtonFrame::Normal: return Rgb(SkinColours().NormalColour2);
    case TButtonFrame::Hot: return Rgb(SkinColours().MouseOverColour2);
    case TButtonFrame::Pressed: return Rgb(SkinColours().PressedColour2);
    default: return GetSysColor(COLOR_BTNSHADOW);
    }
}

class PushButtonTest : public ControlSkinFixture, public ::testing::WithParamInterface<Kind> {
protected:
    // A push button of the kind at (20, 20) with its skin.
    HWND MakeButton(const std::string& caption = "Press") {
        if (GetParam() == Kind::Framework) {
            button = Make<TButton>(20, 20, kWidth, kHeight, caption);
            buttonSkin = NewSkin<TSkinButton>();
            buttonSkin->AttachControl(button, skin.get(), false, &host->ControlCanvas);
            window = button->Handle();
        } else {
            window = MakeRaw("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 20, 20, kWidth, kHeight, caption.c_str(), 7);
            buttonSkin = NewSkin<TSkinButton>();
            buttonSkin->AttachHandle(window, skin.get(), &host->ControlCanvas);
            host->ControlSkins.push_back(buttonSkin);
        }
        PumpMessages();
        return window;
    }
    void DropButton() {
        host->DropControlSkins();
        if (button != nullptr) TComponent::Free(button);
        else DestroyWindow(window);
        button = nullptr;
        raws.clear();
        ParkCursor();
        PumpMessages();
    }
    void Hover() {
        const POINT p = ScreenPoint(window, kWidth / 2, kHeight / 2);
        SetCursorPos(p.x, p.y);
        ASSERT_TRUE(PumpUntil([&] { return buttonSkin->MouseState.Hot; })) << "never hot";
    }

    TButton* button = nullptr;
    TSkinButton* buttonSkin = nullptr;
    HWND window = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Buttons, PushButtonTest, ::testing::Values(Kind::Framework, Kind::Raw), KindName);

struct StateCase {
    const char* name;
    bool hot, focus, press, disable;
    TButtonFrame expected;
};

TEST_P(PushButtonTest, EachStateShowsItsFrameAndTextColour) {
    const StateCase cases[] = {
        {"normal", false, false, false, false, TButtonFrame::Normal},
        {"focused", false, true, false, false, TButtonFrame::Hot},
        {"hot", true, false, false, false, TButtonFrame::Hot},
        {"pressed, which focuses", false, false, true, false, TButtonFrame::Pressed},
        {"pressed while hot", true, false, true, false, TButtonFrame::Pressed},
        {"disabled", false, false, false, true, TButtonFrame::Disabled},
        {"disabled while hot and pressed", true, false, true, true, TButtonFrame::Disabled},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        MakeButton();
        if (c.hot) Hover();
        if (c.focus) SetFocus(window);
        if (c.press) SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kWidth / 2, kHeight / 2));
        if (c.disable) EnableWindow(window, FALSE);
        PumpMessages();

        const TWindowPicture picture(window);
        EXPECT_EQ(Hex(picture.At(1, kHeight / 2)), Hex(LeftEdge(c.expected)));
        EXPECT_EQ(Hex(picture.At(kWidth - 2, kHeight / 2)),
                  Hex(Piece(TElement::Buttons, static_cast<int>(c.expected), TPiece::Right)));
        EXPECT_EQ(Hex(picture.At(0, 0)), Hex(Rgb(SkinColours().ButtonFace))) << "the keyed corner shows the face";
        const RECT text = CentredTextRect(window, RECT{0, 0, kWidth, kHeight}, "Press");
        const COLORREF colour = TextColourOf(c.expected);
        EXPECT_GT(picture.Count(colour, text), 5) << "the caption in " << Hex(colour);
        EXPECT_EQ(picture.Count(colour), picture.Count(colour, text)) << "nothing of it outside the caption's extent";
        if (c.press) SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(kWidth / 2, kHeight / 2));
        DropButton();
    }
}

// The messages a recording procedure behind the skin receives.
class Recorder {
public:
    void Put(HWND window, TButton* framework) {
        if (framework != nullptr) {
            TWndMethod own = framework->WindowProc;
            framework->WindowProc = [this, own](TMessage& m) {
                seen.insert(m.Msg);
                own(m);
            };
            return;
        }
        procs()[window] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder::Proc)));
        current() = this;
    }
    ~Recorder() {
        if (current() == this) current() = nullptr;
    }
    std::set<UINT> seen;

private:
    static std::map<HWND, WNDPROC>& procs() {
        static std::map<HWND, WNDPROC> map;
        return map;
    }
    static Recorder*& current() {
        static Recorder* recorder = nullptr;
        return recorder;
    }
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (current() != nullptr) current()->seen.insert(msg);
        return CallWindowProcA(procs().at(h), h, msg, w, l);
    }
};

TEST_P(PushButtonTest, PaintEraseAndPressNeverReachTheButtonWhileTheSkinHasItsImage) {
    for (bool withImage : {true, false}) {
        SCOPED_TRACE(withImage ? "with a Buttons image" : "without one");
        if (!withImage) {
            testskin::TTestSkinOptions options;
            options.Omit = {TElement::Buttons};
            skin = LoadTestSkin(options);
        }
        Recorder recorder;
        if (GetParam() == Kind::Framework) {
            button = Make<TButton>(20, 20, kWidth, kHeight, "Press");
            window = button->Handle();
        } else {
            window = MakeRaw("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 20, 20, kWidth, kHeight, "Press", 7);
        }
        recorder.Put(window, button);
        buttonSkin = NewSkin<TSkinButton>();
        if (button != nullptr) buttonSkin->AttachControl(button, skin.get(), false, &host->ControlCanvas);
        else buttonSkin->AttachHandle(window, skin.get(), &host->ControlCanvas);
        PumpMessages();
        recorder.seen.clear();

        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(window, WM_KEYDOWN, 'A', 0);
        EXPECT_EQ(recorder.seen.count(WM_PAINT), withImage ? 0u : 1u);
        EXPECT_EQ(recorder.seen.count(WM_ERASEBKGND), withImage ? 0u : 1u);
        EXPECT_EQ(recorder.seen.count(WM_LBUTTONDOWN), 0u) << "the press is the skin's in both";
        EXPECT_EQ(recorder.seen.count(WM_LBUTTONDBLCLK), 0u);
        EXPECT_EQ(recorder.seen.count(WM_KEYDOWN), 1u);
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        DropButton();
    }
}

TEST_P(PushButtonTest, ReleaseAfterAPressPostsTheClickCommandToTheParent) {
    MakeButton();
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    TWndMethod formProc = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_COMMAND) commands.emplace_back(m.WParam, m.LParam);
        formProc(m);
    };
    int clicks = 0;
    if (button != nullptr) button->OnClick = [&](TObject*) { ++clicks; };

    // A release that follows no press makes nothing.
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpMessages();
    EXPECT_TRUE(commands.empty());

    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        SCOPED_TRACE(press == WM_LBUTTONDOWN ? "press" : "double click");
        commands.clear();
        SendMessageA(window, press, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_TRUE(buttonSkin->MouseState.Pressed);
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_FALSE(buttonSkin->MouseState.Pressed);
        EXPECT_TRUE(commands.empty()) << "posted, not sent";
        PumpMessages();
        ASSERT_EQ(commands.size(), 1u);
        // The framework finds its button by the handle; a raw one is known by its identifier.
        EXPECT_EQ(commands[0].first, GetParam() == Kind::Framework ? 0u : MAKEWPARAM(7, BN_CLICKED));
        EXPECT_EQ(commands[0].second, reinterpret_cast<LPARAM>(window));
    }
    if (button != nullptr) {
        EXPECT_EQ(clicks, 2);
    }
    form->WindowProc = formProc;
}

TEST_P(PushButtonTest, SpaceShowsThePressAndTheButtonClicksItself) {
    MakeButton();
    SetFocus(window);
    int clicks = 0;
    if (button != nullptr) button->OnClick = [&](TObject*) { ++clicks; };
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Hex(TWindowPicture(window).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Pressed)));
    SendMessageA(window, WM_KEYUP, VK_SPACE, 0xC0000001);
    PumpMessages();
    EXPECT_EQ(Hex(TWindowPicture(window).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Hot))) << "focused";
    if (button != nullptr) {
        EXPECT_EQ(clicks, 1);
    }
}

TEST_F(ControlSkinFixture, AButtonThatTurnsHotTakesTheHotControlOverAndTheLeaveClearsIt) {
    HWND a = MakeRaw("BUTTON", BS_PUSHBUTTON, 20, 20, kWidth, kHeight, "A", 1);
    HWND b = MakeRaw("BUTTON", BS_PUSHBUTTON, 20, 60, kWidth, kHeight, "B", 2);
    auto* skinA = NewSkin<TSkinButton>();
    auto* skinB = NewSkin<TSkinButton>();
    skinA->AttachHandle(a, skin.get(), &host->ControlCanvas);
    skinB->AttachHandle(b, skin.get(), &host->ControlCanvas);
    host->ControlSkins = {skinA, skinB};

    SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(a, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(host->HotControl, skinA);
    EXPECT_EQ(Hex(TWindowPicture(a).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Pressed)));

    SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(host->HotControl, skinB);
    EXPECT_FALSE(skinA->MouseState.Hot);
    EXPECT_FALSE(skinA->MouseState.Pressed) << "leaving ends the press: no command follows";
    EXPECT_EQ(Hex(TWindowPicture(a).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Hot))) << "still focused";
    EXPECT_EQ(Hex(TWindowPicture(b).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Hot)));

    skinB->SendMouseLeave();  // as the frame's timer does for raw windows
    EXPECT_EQ(host->HotControl, nullptr);
    EXPECT_EQ(Hex(TWindowPicture(b).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Normal)));
}

TEST_F(ControlSkinFixture, AFrameworkButtonLeftByTheMouseIsNoLongerHot) {
    auto* button = Make<TButton>(20, 20, kWidth, kHeight, "Hover");
    auto* buttonSkin = NewSkin<TSkinButton>();
    buttonSkin->AttachControl(button, skin.get(), false, &host->ControlCanvas);
    const POINT p = ScreenPoint(button->Handle(), 10, 10);
    SetCursorPos(p.x, p.y);
    ASSERT_TRUE(PumpUntil([&] { return host->HotControl == buttonSkin; }));
    EXPECT_EQ(Hex(TWindowPicture(button->Handle()).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Hot)));
    ParkCursor();
    // The system notices the leave by a poll.
    ASSERT_TRUE(PumpUntil([&] { return host->HotControl == nullptr; }, std::chrono::seconds(3)));
    EXPECT_EQ(Hex(TWindowPicture(button->Handle()).At(1, kHeight / 2)), Hex(LeftEdge(TButtonFrame::Normal)));
}

TEST_F(ControlSkinFixture, AnEmptyWindowTextShowsTheFrameworkControlsText) {
    auto* button = Make<TButton>(20, 20, kWidth, kHeight, "Kept");
    auto* buttonSkin = NewSkin<TSkinButton>();
    buttonSkin->AttachControl(button, skin.get(), false, &host->ControlCanvas);
    PumpMessages();
    EXPECT_EQ(buttonSkin->Text, "Kept");
    const TWindowPicture picture(button->Handle());
    const RECT text = CentredTextRect(button->Handle(), RECT{0, 0, kWidth, kHeight}, "Kept");
    EXPECT_GT(picture.Count(TextColourOf(TButtonFrame::Normal), text), 5);
}

// ------------------------------------------------------------- layout

struct LayoutCase {
    const char* name;
    TButtonLayout layout;
    int margin, spacing;
    bool speed;
    SIZE text;
    POINT glyphPos;
    RECT textRect;
    UINT format;
};

TEST(GlyphLayout, GlyphAndCaptionGoWhereMarginSpacingAndLayoutSay) {
    // A 100 x 40 client, a 16 x 12 glyph, a 30 x 13 caption unless said otherwise.
    const SIZE client{100, 40}, glyph{16, 12}, text{30, 13};
    const LayoutCase cases[] = {
        // Both automatic: three equal gaps of (100 - 46) / 3 = 18.
        {"left, even gaps", TButtonLayout::blGlyphLeft, -1, -1, false, text, {18, 14}, {52, 14, 82, 27}, DT_LEFT},
        {"right, even gaps", TButtonLayout::blGlyphRight, -1, -1, false, text, {66, 14}, {18, 14, 48, 27}, DT_RIGHT},
        // Margin automatic: (100 - (16 + 4 + 30)) / 2 = 25, one more for a speed button.
        {"left, spacing 4", TButtonLayout::blGlyphLeft, -1, 4, false, text, {25, 14}, {45, 14, 75, 27}, DT_LEFT},
        {"speed, spacing 4", TButtonLayout::blGlyphLeft, -1, 4, true, text, {26, 14}, {46, 14, 76, 27}, DT_LEFT},
        // Spacing automatic: the caption centred in what the glyph leaves.
        {"left, margin 2", TButtonLayout::blGlyphLeft, 2, -1, false, text, {2, 14}, {44, 14, 74, 27}, DT_LEFT},
        {"both given", TButtonLayout::blGlyphRight, 3, 5, false, text, {81, 14}, {46, 14, 76, 27}, DT_RIGHT},
        // Top and bottom work down the height and centre across it.
        {"top, even gaps", TButtonLayout::blGlyphTop, -1, -1, false, text, {42, 5}, {35, 22, 65, 35}, DT_CENTER},
        {"bottom, margin 1", TButtonLayout::blGlyphBottom, 1, 2, false, text, {42, 27}, {35, 12, 65, 25}, DT_CENTER},
        // Without a caption the spacing is 0, so the glyph sits in the middle.
        {"no caption", TButtonLayout::blGlyphLeft, -1, 4, false, {0, 0}, {42, 14}, {58, 20, 58, 20}, DT_LEFT},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TGlyphLayout got = LayoutGlyphAndText(client, glyph, c.text, c.layout, c.margin, c.spacing, c.speed);
        EXPECT_EQ(got.GlyphPos.x, c.glyphPos.x);
        EXPECT_EQ(got.GlyphPos.y, c.glyphPos.y);
        EXPECT_EQ(got.TextRect.left, c.textRect.left);
        EXPECT_EQ(got.TextRect.top, c.textRect.top);
        EXPECT_EQ(got.TextRect.right, c.textRect.right);
        EXPECT_EQ(got.TextRect.bottom, c.textRect.bottom);
        EXPECT_EQ(got.TextFormat, c.format);
    }
}

TEST(GlyphLayout, GlyphCountsBelowOneCountAsOne) {
    const std::pair<int, int> cases[] = {{1, 1}, {4, 4}, {0, 1}, {128, 1}, {129, 1}, {130, 2}};
    for (auto [numGlyphs, count] : cases) EXPECT_EQ(GlyphCount(numGlyphs), count) << numGlyphs;
}

// The glyph's first colour, and its caption in the normal text colour, where
// the layout puts them.
void ExpectGlyphAndCaption(const TWindowPicture& picture, POINT origin, const TGlyphLayout& layout, int glyph,
                           const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(Hex(picture.At(origin.x + layout.GlyphPos.x + 5, origin.y + layout.GlyphPos.y + 5)),
              Hex(GlyphColour(glyph)));
    EXPECT_NE(Hex(picture.At(origin.x + layout.GlyphPos.x, origin.y + layout.GlyphPos.y + 11)), Hex(kGlyphKey))
        << "the key colour is left out";
    RECT text = layout.TextRect;
    OffsetRect(&text, origin.x, origin.y);
    EXPECT_GT(picture.Count(TextColourOf(TButtonFrame::Normal), text), 5);
}

TEST_F(ControlSkinFixture, ABitButtonDrawsGlyphOneAndItsCaptionByTheLayout) {
    struct Case {
        const char* name;
        int numGlyphs;
        TButtonLayout layout;
        int glyphWidth;  // of the strip of four 12-pixel glyphs
    };
    const Case cases[] = {
        {"four glyphs, left", 4, TButtonLayout::blGlyphLeft, 12},
        {"four glyphs, right", 4, TButtonLayout::blGlyphRight, 12},
        {"no glyph count: the whole strip is one glyph", 0, TButtonLayout::blGlyphLeft, 48},
        {"128 is 0 in the low bits", 128, TButtonLayout::blGlyphTop, 48},
    };
    for (const Case& c : cases) {
        auto* bit = Make<TBitBtn>(20, 20, 140, 44, "Glyph");
        PaintGlyphs(*bit->Glyph(), 4);
        bit->NumGlyphs = c.numGlyphs;
        bit->Layout = c.layout;
        auto* bitSkin = NewSkin<TSkinBitButton>();
        bitSkin->AttachControl(bit, skin.get(), false, &host->ControlCanvas);
        Repaint(bit->Handle());
        const TWindowPicture picture(bit->Handle());
        HDC dc = GetDC(bit->Handle());
        HGDIOBJ old = SelectObject(dc, bit->Font()->Handle());
        RECT measured{0, 0, 140, 44};
        DrawTextA(dc, "Glyph", -1, &measured, DT_CALCRECT);
        SelectObject(dc, old);
        ReleaseDC(bit->Handle(), dc);
        const TGlyphLayout layout = LayoutGlyphAndText({140, 44}, {c.glyphWidth, 12},
                                                       {measured.right, measured.bottom}, c.layout, -1, 4, false);
        ExpectGlyphAndCaption(picture, {0, 0}, layout, 1, c.name);
        EXPECT_EQ(Hex(picture.At(1, 22)), Hex(LeftEdge(TButtonFrame::Normal)));
        host->DropControlSkins();
        TComponent::Free(bit);
    }
}

TEST_F(ControlSkinFixture, ABitButtonWithoutAGlyphShowsItsCaptionAlone) {
    auto* bit = Make<TBitBtn>(20, 20, 140, 44, "Alone");
    auto* bitSkin = NewSkin<TSkinBitButton>();
    bitSkin->AttachControl(bit, skin.get(), false, &host->ControlCanvas);
    bit->NumGlyphs = 0;
    Repaint(bit->Handle());
    const TWindowPicture picture(bit->Handle());
    HDC dc = GetDC(bit->Handle());
    HGDIOBJ old = SelectObject(dc, bit->Font()->Handle());
    RECT measured{0, 0, 140, 44};
    DrawTextA(dc, "Alone", -1, &measured, DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(bit->Handle(), dc);
    const TGlyphLayout layout = LayoutGlyphAndText({140, 44}, {0, 0}, {measured.right, measured.bottom},
                                                   TButtonLayout::blGlyphLeft, -1, 4, false);
    const COLORREF colour = TextColourOf(TButtonFrame::Normal);
    EXPECT_GT(picture.Count(colour, layout.TextRect), 5);
    EXPECT_EQ(picture.Count(colour), picture.Count(colour, layout.TextRect));
}

// ------------------------------------------------------- speed buttons

TEST(SpeedButtonState, DownShowsPressedEvenDisabledAndPicksItsGlyph) {
    struct Case {
        bool hot, pressed, enabled, down;
        TButtonFrame frame;
        int glyphOfFour, glyphOfTwo;
    };
    const Case cases[] = {
        {false, false, true, false, TButtonFrame::Normal, 1, 1},
        {true, false, true, false, TButtonFrame::Hot, 1, 1},
        {true, true, true, false, TButtonFrame::Pressed, 3, 1},
        {true, true, false, false, TButtonFrame::Disabled, 2, 2},
        {false, false, true, true, TButtonFrame::Pressed, 3, 1},
        {false, false, false, true, TButtonFrame::Pressed, 3, 1},
    };
    for (const Case& c : cases) {
        const TButtonFrame frame = SpeedButtonFrame(c.hot, c.pressed, c.enabled, c.down);
        EXPECT_EQ(frame, c.frame);
        EXPECT_EQ(SpeedButtonGlyph(frame, 4), c.glyphOfFour);
        EXPECT_EQ(SpeedButtonGlyph(frame, 2), c.glyphOfTwo);
        EXPECT_EQ(SpeedButtonGlyph(frame, 1), 1) << "a single glyph serves every state";
    }
}

class SpeedButtonTest : public ControlSkinFixture {
protected:
    void MakeSpeed(int numGlyphs = 4) {
        speed = Make<TSpeedButton>(40, 40, 90, 32, "Speed");
        PaintGlyphs(*speed->Glyph(), 4);
        speed->NumGlyphs = numGlyphs;
        speed->GroupIndex = 1;
        speedSkin = NewSkin<TSkinSpeedButton>();
        speedSkin->AttachBitButton(speed, skin.get(), &host->ControlCanvas);
        Repaint(form->Handle());
    }
    // The form's client area as the screen shows it, and where the speed button is on it.
    TWindowPicture Shot() const { return TWindowPicture(form->Handle()); }
    POINT Origin() const {
        POINT p{speed->Left(), speed->Top()};
        ClientToScreen(form->Handle(), &p);
        RECT r;
        GetWindowRect(form->Handle(), &r);
        return POINT{p.x - r.left, p.y - r.top};
    }
    void Expect(TButtonFrame frame, int glyph, const std::string& what) {
        SCOPED_TRACE(what);
        const TWindowPicture picture = Shot();
        const POINT o = Origin();
        EXPECT_EQ(Hex(picture.At(o.x + 1, o.y + 16)), Hex(LeftEdge(frame)));
        HDC dc = GetDC(form->Handle());
        HGDIOBJ old = SelectObject(dc, speed->Font()->Handle());
        RECT measured{0, 0, 90, 32};
        DrawTextA(dc, "Speed", -1, &measured, DT_CALCRECT);
        SelectObject(dc, old);
        ReleaseDC(form->Handle(), dc);
        const TGlyphLayout layout = LayoutGlyphAndText({90, 32}, {12, 12}, {measured.right, measured.bottom},
                                                       TButtonLayout::blGlyphLeft, -1, 4, true);
        EXPECT_EQ(Hex(picture.At(o.x + layout.GlyphPos.x + 5, o.y + layout.GlyphPos.y + 5)), Hex(GlyphColour(glyph)));
        RECT text = layout.TextRect;
        OffsetRect(&text, o.x, o.y);
        EXPECT_GT(picture.Count(TextColourOf(frame), text), 5);
    }
    POINT Middle() const { return POINT{speed->Left() + 45, speed->Top() + 16}; }

    TSpeedButton* speed = nullptr;
    TSkinSpeedButton* speedSkin = nullptr;
};

TEST_F(SpeedButtonTest, TheMouseOverAndPressingShowInFrameAndGlyph) {
    MakeSpeed();
    int clicks = 0;
    speed->OnClick = [&](TObject*) { ++clicks; };
    Expect(TButtonFrame::Normal, 1, "up");

    POINT p = Middle();
    ClientToScreen(form->Handle(), &p);
    SetCursorPos(p.x, p.y);
    ASSERT_TRUE(PumpUntil([&] { return speedSkin->MouseState.Hot; }));
    Expect(TButtonFrame::Hot, 1, "hot");

    const POINT m = Middle();
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(m.x, m.y));
    Expect(TButtonFrame::Pressed, 3, "held");
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(m.x, m.y));
    PumpMessages();
    EXPECT_EQ(clicks, 1) << "the speed button's own click";
    EXPECT_TRUE(speed->Down());
    Expect(TButtonFrame::Pressed, 3, "down, and still hot");

    ParkCursor();
    ASSERT_TRUE(PumpUntil([&] { return !speedSkin->MouseState.Hot; }, std::chrono::seconds(3)));
    speed->SetEnabled(false);
    Repaint(form->Handle());
    Expect(TButtonFrame::Pressed, 3, "down and disabled");
    speed->SetDown(false);
    Repaint(form->Handle());
    Expect(TButtonFrame::Disabled, 2, "up and disabled");
}

TEST_F(SpeedButtonTest, ASingleGlyphServesEveryState) {
    MakeSpeed(1);
    speed->SetDown(true);
    Repaint(form->Handle());
    const TWindowPicture picture = Shot();
    const POINT o = Origin();
    EXPECT_EQ(Hex(picture.At(o.x + 1, o.y + 16)), Hex(LeftEdge(TButtonFrame::Pressed)));
    // The strip of four is one 48-pixel glyph now: its first colour shows at its left.
    HDC dc = GetDC(form->Handle());
    HGDIOBJ old = SelectObject(dc, speed->Font()->Handle());
    RECT measured{0, 0, 90, 32};
    DrawTextA(dc, "Speed", -1, &measured, DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(form->Handle(), dc);
    const TGlyphLayout layout = LayoutGlyphAndText({90, 32}, {48, 12}, {measured.right, measured.bottom},
                                                   TButtonLayout::blGlyphLeft, -1, 4, true);
    EXPECT_EQ(Hex(picture.At(o.x + layout.GlyphPos.x + 5, o.y + layout.GlyphPos.y + 5)), Hex(GlyphColour(1)));
}

TEST_F(SpeedButtonTest, DetachingGivesTheSpeedButtonItsOwnPaintingBack) {
    MakeSpeed();
    const POINT o = Origin();
    EXPECT_EQ(Hex(Shot().At(o.x + 1, o.y + 16)), Hex(LeftEdge(TButtonFrame::Normal)));
    host->DropControlSkins();
    PumpMessages();
    EXPECT_NE(Hex(Shot().At(o.x + 1, o.y + 16)), Hex(LeftEdge(TButtonFrame::Normal))) << "repainted unskinned";
    int clicks = 0;
    speed->OnClick = [&](TObject*) { ++clicks; };
    const POINT m = Middle();
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(m.x, m.y));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(m.x, m.y));
    EXPECT_EQ(clicks, 1);
}

TEST_F(SpeedButtonTest, WithoutAnImageTheSpeedButtonPaintsItselfAndAFreedOneIsForgotten) {
    testskin::TTestSkinOptions options;
    options.Omit = {TElement::Buttons};
    skin = LoadTestSkin(options);
    auto* twin = Make<TSpeedButton>(40, 100, 90, 32, "Speed");
    PaintGlyphs(*twin->Glyph(), 4);
    twin->NumGlyphs = 4;
    MakeSpeed();
    const TWindowPicture picture = Shot();
    const POINT o = Origin();
    const int dy = twin->Top() - speed->Top();
    int differ = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 90; ++x) differ += picture.At(o.x + x, o.y + y) != picture.At(o.x + x, o.y + dy + y);
    EXPECT_EQ(differ, 0) << "looks as its unskinned twin";
    TComponent::Free(speed);
    EXPECT_EQ(speedSkin->GraphicControl, nullptr);
    host->DropControlSkins();  // and detaching finds nothing to give back
}

}  // namespace
}  // namespace pellix::test
