// A skinned window's non-client area in process: client rectangle, border
// and caption pixels from the test skin's known colours, the window region.
#include <gtest/gtest.h>

#include "tests/harness/Rects.h"
#include "tests/skin/FrameFixture.h"

namespace pellix::test {
namespace {

using ts::TElement;

constexpr int L = ts::LeftWidth, T = ts::CaptionHeight, R = ts::RightWidth, B = ts::BottomHeight;

class FramePaint : public SkinnedFrames {};

TEST_F(FramePaint, CalcSizeTakesTheSkinFrameOffTheProposedWindow) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    struct Case {
        WINDOWPOS pos;
        RECT client;
    } cases[] = {
        {{nullptr, nullptr, 100, 50, 300, 200, 0}, {100 + L, 50 + T, 400 - R, 250 - B}},
        // Smaller than its frame: an empty client rectangle, never an inverted one.
        {{nullptr, nullptr, 10, 20, 8, 12, 0}, {10 + L, 20 + T, 10 + L, 20 + T}},
    };
    for (Case& c : cases) {
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = RECT{c.pos.x, c.pos.y, c.pos.x + c.pos.cx, c.pos.y + c.pos.cy};
        params.rgrc[1] = params.rgrc[0];
        params.rgrc[2] = params.rgrc[0];
        params.lppos = &c.pos;
        EXPECT_EQ(SendMessageA(h, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), WVR_VALIDRECTS);
        EXPECT_EQ(params.rgrc[0], c.client);
        EXPECT_EQ(params.rgrc[1], c.client);
    }
}

TEST_F(FramePaint, TheClientAreaKeepsItsSizeInsideTheSkinFrame) {
    FrameTestWindows::Instance();
    HWND plain = CreateWindowExA(0, FrameTestWindows::ClassName, "plain", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const SIZE platformClient = ClientSize(plain);
    DestroyWindow(plain);

    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    EXPECT_EQ(ClientSize(h).cx, platformClient.cx);
    EXPECT_EQ(ClientSize(h).cy, platformClient.cy);
    EXPECT_EQ(ClientOrigin(h).x, L);
    EXPECT_EQ(ClientOrigin(h).y, T);
    const RECT r = WindowRect(h);
    EXPECT_EQ(r.right - r.left, platformClient.cx + L + R);
    EXPECT_EQ(r.bottom - r.top, platformClient.cy + T + B);
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0)
        << "the platform's caption boxes are stripped";
}

// Every piece of the left, right and bottom borders, and the caption's own
// ends, in the frame of the window's activation.
void ExpectBorders(HWND h, int frame) {
    const RECT r = [h] {
        RECT w{};
        GetWindowRect(h, &w);
        return w;
    }();
    const int w = r.right - r.left, hgt = r.bottom - r.top;
    const PixelShot shot = PixelShot::OfWindow(h);
    struct Sample {
        TElement element;
        int drawWidth, drawHeight;  // the size the element is drawn at
        int left, top;              // where it is drawn
        POINT at;                   // the sample, in the drawing
    };
    const Sample samples[] = {
        {TElement::LeftBorder, L, hgt, 0, 0, {3, 5}},             // top end (below the keyed corner)
        {TElement::LeftBorder, L, hgt, 0, 0, {2, hgt / 2}},       // middle, stretched
        {TElement::LeftBorder, L, hgt, 0, 0, {4, hgt - 2}},       // bottom end
        {TElement::RightBorder, R, hgt, w - R, 0, {1, 2}},      // above the close button
        {TElement::RightBorder, R, hgt, w - R, 0, {3, hgt / 2}},
        {TElement::RightBorder, R, hgt, w - R, 0, {5, hgt - 1}},
        {TElement::BottomBorder, w - L - R, B, L, hgt - B, {2, 3}},         // left end
        {TElement::BottomBorder, w - L - R, B, L, hgt - B, {(w - L - R) / 2, 6}},
        {TElement::BottomBorder, w - L - R, B, L, hgt - B, {w - L - R - 3, 0}},  // right end
        {TElement::TopBorder, w - L - R, T, L, 0, {3, 1}},                  // caption, left end
        {TElement::TopBorder, w - L - R, T, L, 0, {w - L - R - 2, 22}},     // caption, right end
    };
    for (const Sample& s : samples) {
        const uint32_t expected = ExpectedPiece(s.element, frame, s.drawWidth, s.drawHeight, s.at.x, s.at.y);
        EXPECT_EQ(shot.At(s.left + s.at.x, s.top + s.at.y), expected)
            << "element " << static_cast<int>(s.element) << " at " << s.at.x << ", " << s.at.y << " frame " << frame;
    }
}

TEST_F(FramePaint, BordersShowTheirActiveAndInactiveFrames) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    ExpectBorders(h, 1);
    Deactivate();
    EXPECT_FALSE(FrameOf(h)->FrameActive);
    ExpectBorders(h, 2);
    SetForegroundWindow(h);
    PumpMessages();
    ExpectBorders(h, 1);
}

TEST_F(FramePaint, TiledBordersCoverTheSamePixels) {
    for (TDataSkinBorder* border : {&skin->LeftBorder, &skin->RightBorder, &skin->TopBorder, &skin->BottomBorder})
        border->Tile = 0;
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 437, 333});
    ExpectBorders(h, 1);
    Deactivate();
    ExpectBorders(h, 2);
}

TEST_F(FramePaint, RegionCutsTheKeyedCornersExactly) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    const RECT r = WindowRect(h);
    const int w = r.right - r.left, hgt = r.bottom - r.top;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, region), ERROR);
    const struct {
        POINT p;
        bool inside;
    } points[] = {
        {{0, 0}, false},       {{1, 1}, false},       {{2, 0}, true},         {{0, 2}, true},
        {{w - 1, 0}, false},   {{w - 2, 1}, false},   {{w - 3, 0}, true},     {{w - 1, 2}, true},
        {{0, hgt - 1}, true},  {{w - 1, hgt - 1}, true}, {{w / 2, 0}, true},  {{w / 2, hgt / 2}, true},
    };
    for (const auto& p : points)
        EXPECT_EQ(PtInRegion(region, p.p.x, p.p.y) != FALSE, p.inside) << p.p.x << ", " << p.p.y;
    DeleteObject(region);
}

TEST_F(FramePaint, ASkinChangeAtTheSameSizeRebuildsTheRegion) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    const RECT before = WindowRect(h);
    // The same frame sizes, no transparent border: the whole rectangle.
    ts::TTestSkinOptions opaque;
    opaque.Trans = false;
    ts::FillStream(skin->SkinStream, ts::TestSkin(opaque));
    ASSERT_TRUE(skin->LoadSkinStream());
    skin->ApplySkin();
    bool changed = false;
    skin->OnSkinChanged = [&](TObject*) { changed = true; };
    ASSERT_TRUE(PumpUntil([&] { return changed; }));
    const RECT after = WindowRect(h);
    ASSERT_EQ(after.right - after.left, before.right - before.left);
    ASSERT_EQ(after.bottom - after.top, before.bottom - before.top);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, after.right - after.left - 1, 0));
    DeleteObject(region);
}

TEST_F(FramePaint, MinimiseAndRestoreKeepTheClientOrigin) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    const RECT before = WindowRect(h);
    const SIZE client = ClientSize(h);
    for (const bool byCommand : {false, true}) {
        if (byCommand) SendMessageA(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        else ShowWindow(h, SW_MINIMIZE);
        PumpMessages();
        ASSERT_TRUE(IsIconic(h));
        if (byCommand) SendMessageA(h, WM_SYSCOMMAND, SC_RESTORE, 0);
        else ShowWindow(h, SW_RESTORE);
        PumpMessages();
        ASSERT_FALSE(IsIconic(h));
        EXPECT_EQ(ClientOrigin(h).x, L) << "by command " << byCommand;
        EXPECT_EQ(ClientOrigin(h).y, T) << "by command " << byCommand;
        EXPECT_EQ(ClientSize(h).cx, client.cx);
        EXPECT_EQ(ClientSize(h).cy, client.cy);
        EXPECT_EQ(WindowRect(h), before);
        EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0)
            << "the boxes come off again, by command " << byCommand;
        EXPECT_EQ(FrameOf(h)->ShowState, 0);
    }
}

// The caption text block as the test works it out: the caption font, the
// text measured with two blanks before and one after, the title's keys.
RECT ExpectedTextBlock(const std::string& caption) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const std::string text = "  " + caption + " ";
    RECT extent{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    const int left = L + ts::Title.TextShift;
    const int width = extent.right + ts::Title.TXTBackleft + ts::Title.TXTBackRight;
    const int top = (T - extent.bottom) / 2 + ts::Title.TextShiftVert / 2;
    return RECT{left, top, left + width, top + extent.bottom};
}

void ExpectCaption(HWND h, const std::string& caption, bool active) {
    const int frame = active ? 1 : 2;
    const uint32_t textColour = active ? ts::Colours().TitleTextActive : ts::Colours().TitleTextNoActive;
    const RECT block = ExpectedTextBlock(caption);
    const PixelShot shot = PixelShot::OfWindow(h);
    const int bandWidth = block.right - block.left;
    auto band = [&](int x) { return ExpectedPiece(TElement::TextBack, frame, bandWidth, T, x - block.left, 1); };
    // The band behind the text, over the caption's full height, above the text.
    EXPECT_EQ(shot.At(block.left + 1, 1), band(block.left + 1)) << caption;
    EXPECT_EQ(shot.At((block.left + block.right) / 2, 1), band((block.left + block.right) / 2)) << caption;
    EXPECT_EQ(shot.At(block.right - 2, T - 1), band(block.right - 2)) << caption;
    // Just beyond it, the caption's own image.
    const int w = shot.Width();
    auto captionImage = [&](int x) { return ExpectedPiece(TElement::TopBorder, frame, w - L - R, T, x - L, 1); };
    EXPECT_EQ(shot.At(block.right + 1, 1), captionImage(block.right + 1)) << caption;
    EXPECT_EQ(shot.At(block.left - 1, 1), captionImage(block.left - 1)) << caption;
    // The text in its colour inside the block, and nowhere else in the caption.
    const RECT text{block.left + ts::Title.TXTBackleft, block.top, block.right - ts::Title.TXTBackRight, block.bottom};
    EXPECT_GT(shot.Count(text, textColour), 4) << caption;
    EXPECT_EQ(shot.Count(RECT{0, 0, w, T}, textColour), shot.Count(text, textColour)) << caption;
}

TEST_F(FramePaint, CaptionTextStandsOnItsBandInTheTitleColours) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 500, 300}, "Skinned window");
    ExpectCaption(h, "Skinned window", true);
    Deactivate();
    ExpectCaption(h, "Skinned window", false);
}

TEST_F(FramePaint, CaptionShowsItsAmpersandsAndFollowsANewText) {
    TForm& form = ShowForm(RECT{100, 100, 500, 300}, "Save && Close");
    ExpectCaption(form.Handle(), "Save && Close", true);
    form.SetCaption("Sizes & colours");
    PumpMessages();
    ExpectCaption(form.Handle(), "Sizes & colours", true);
}

TEST_F(FramePaint, APlainWindowAndItsStaticTextStandOnTheSkinsFace) {
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300});
    HWND label = CreateWindowExA(0, "STATIC", "Label", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 120, 20, h, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    const uint32_t face = ts::Colours().ButtonFace;
    const PixelShot shot = PixelShot::OfWindow(h);
    EXPECT_EQ(shot.At(L + 200, T + 100), face) << "the client area";
    EXPECT_EQ(shot.At(L + 10 + 118, T + 10 + 18), face) << "behind the static text";
    DestroyWindow(label);
}

TEST_F(FramePaint, SystemCommandsOfTheSkinnedMenuAndTheAltKeyAreTakenCareOf) {
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 100, "&File");
    HWND h = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{100, 100, 400, 300}, "Commands", menu);
    // Alt alone starts no platform menu loop over the frame.
    EXPECT_EQ(SendMessageA(h, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    // A system command reported as a command becomes a system command.
    SendMessageA(h, WM_COMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(PumpUntil([h] { return IsIconic(h) != FALSE; }));
    SendMessageA(h, WM_COMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(PumpUntil([h] { return !IsIconic(h); }));
    MINMAXINFO info{};
    SendMessageA(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXMAXIMIZED));
    EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYMAXIMIZED));
}

}  // namespace
}  // namespace pellix::test
