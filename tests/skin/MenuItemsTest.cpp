// Owner-drawn menu items: the frame's WM_MEASUREITEM and WM_DRAWITEM handlers
// called with real structures, drawing on a surface of the test's own, and
// compared with the test skin's solid pieces and colours; the switching of
// menu trees to owner drawing and back.
#include "skin/MenuItems.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ImgList.h"
#include "skin/WindowsVersion.h"
#include "tests/harness/Rects.h"
#include "tests/skin/MenuFixture.h"

namespace pellix {
namespace {

using namespace test;
namespace ts = testskin;

class MenuItemsTest : public MenuFrames {
protected:
    // What the drawing should show at (x, y) of an item of w x h: the
    // element's piece, or what lies behind it in the keyed corners.
    static uint32_t ElementPixel(int frame, int w, int h, int x, int y, uint32_t behind) {
        const bool keyed = (x < ts::KeySize || x >= w - ts::KeySize) && (y < ts::KeySize || y >= h - ts::KeySize);
        return keyed ? behind : ExpectedPiece(ts::TElement::MenuItem, frame, w, h, x, y);
    }

    void Measure(HWND window, UINT id, UINT proposedHeight, MEASUREITEMSTRUCT& m) {
        m = MEASUREITEMSTRUCT{ODT_MENU, 0, id, 0, proposedHeight, 0};
        SendMessageA(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    }
    void Draw(HWND window, UINT id, HMENU menu, UINT state, const RECT& rect, const DibTarget& target) {
        DRAWITEMSTRUCT d{};
        d.CtlType = ODT_MENU;
        d.itemID = id;
        d.itemAction = ODA_DRAWENTIRE;
        d.itemState = state;
        d.hwndItem = reinterpret_cast<HWND>(menu);
        d.hDC = target.Dc();
        d.rcItem = rect;
        SendMessageA(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    }
};

// Where the texts of an item of width w and height h go: the caption from
// 3 pixels right of the 16-pixel glyph box, centred vertically; the shortcut
// right-aligned ending 11 pixels before the item's right edge.
struct TextCells {
    RECT caption{}, shortCut{};
    TextCells(const MenuFontDc& font, const std::string& caption, const std::string& shortCut, int w, int h) {
        const SIZE c = font.DrawnExtent(caption);
        const int top = (h - c.cy) / 2;
        this->caption = RECT{20, top, 20 + c.cx, top + c.cy};
        if (!shortCut.empty()) {
            const SIZE s = font.DrawnExtent(shortCut);
            this->shortCut = RECT{w - 11 - s.cx, top, w - 11, top + c.cy};
        }
    }
    bool Holds(int x, int y) const {
        const POINT p{x, y};
        return PtInRect(&caption, p) || PtInRect(&shortCut, p);
    }
};

TEST_F(MenuItemsTest, FrameMeasuresFormItemsByTheirTextAndTheProposedHeight) {
    TForm& form = ShowMenuForm();
    MenuFontDc font;
    // Whatever the system proposes; the answer grows from it.
    const UINT proposed = static_cast<UINT>(GetSystemMetrics(SM_CYMENUCHECK)) + 3;
    struct Case {
        TMenuItem* item;
        std::string measured;  // caption followed directly by the shortcut's text
        bool separator;
    };
    for (const Case& c : {Case{open, "&Open...Ctrl+O", false}, Case{exit, "E&xit", false}, Case{line, "-", true}}) {
        SCOPED_TRACE(c.measured);
        MEASUREITEMSTRUCT m{};
        Measure(form.Handle(), c.item->Command(), proposed, m);
        EXPECT_EQ(m.itemWidth, static_cast<UINT>(font.Extent(c.measured).cx + 26));
        EXPECT_EQ(m.itemHeight, c.separator ? 8u : proposed + 4);
    }

    // The other platform family makes every item 4 pixels higher.
    const uint32_t version = WindowsVersion;
    WindowsVersion = 0x80000000u | version;
    MEASUREITEMSTRUCT item{}, separator{};
    Measure(form.Handle(), open->Command(), proposed, item);
    Measure(form.Handle(), line->Command(), proposed, separator);
    WindowsVersion = version;
    EXPECT_EQ(item.itemHeight, proposed + 8);
    EXPECT_EQ(separator.itemHeight, 12u);
}

TEST_F(MenuItemsTest, PlainWindowItemsAreMeasuredByTheirMenuString) {
    HMENU bar = CreateMenu();
    HMENU drop = CreatePopupMenu();
    AppendMenuA(drop, MF_STRING, 501, "&Load\tCtrl+L");
    AppendMenuA(drop, MF_SEPARATOR, 502, nullptr);
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), "&Data");
    HWND window = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{120, 120, 460, 360}, "Plain", bar);
    TWinSkinForm* frame = FrameOf(window);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->SkinMenu, nullptr);
    frame->TrackedMenu = drop;  // as while the bar's drop-down is open

    MenuFontDc font;
    const UINT proposed = 17;
    MEASUREITEMSTRUCT m{};
    Measure(window, 501, proposed, m);
    EXPECT_EQ(m.itemWidth, static_cast<UINT>(font.Extent("&Load\tCtrl+L").cx + 26));
    EXPECT_EQ(m.itemHeight, proposed + 4);
    Measure(window, 502, proposed, m);
    EXPECT_EQ(m.itemHeight, 8u) << "no text: a separator";
    frame->TrackedMenu = nullptr;
}

struct ItemLook {
    const char* name;
    bool selected;
};

void PrintTo(const ItemLook& c, std::ostream* os) { *os << c.name; }

class MenuItemLooks : public MenuItemsTest, public testing::WithParamInterface<ItemLook> {};

// The element's frame over the whole item, texts placed by their extents in
// the colour for the state, and nothing else drawn.
TEST_P(MenuItemLooks, FormItemShowsTheElementFrameAndItsTexts) {
    const bool selected = GetParam().selected;
    TForm& form = ShowMenuForm();
    const ts::TTestColours colours = ts::Colours();
    const int w = 170, h = 20;
    const RECT rect{12, 6, 12 + w, 6 + h};
    DibTarget target(200, 32, 0x123456);
    Draw(form.Handle(), open->Command(), file->Handle(), selected ? ODS_SELECTED : 0, rect, target);

    MenuFontDc font;
    const TextCells cells(font, "&Open...", "Ctrl+O", w, h);
    const uint32_t text = selected ? colours.HilightText : colours.MenuText;
    const int frame = selected ? 4 : 1;
    int wrong = 0, captionInk = 0, shortCutInk = 0;
    std::string first;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t got = target.At(rect.left + x, rect.top + y);
            if (cells.Holds(x, y)) {
                captionInk += got == text && PtInRect(&cells.caption, POINT{x, y});
                shortCutInk += got == text && PtInRect(&cells.shortCut, POINT{x, y});
                continue;
            }
            // No popup shows this menu: the menu colour lies behind the item.
            const uint32_t want = ElementPixel(frame, w, h, x, y, colours.Menu);
            if (got != want && wrong++ == 0) first = std::to_string(x) + "," + std::to_string(y);
        }
    }
    EXPECT_EQ(wrong, 0) << "first at " << first;
    EXPECT_GT(captionInk, 0);
    EXPECT_GT(shortCutInk, 0);
    // Around the item the surface is untouched.
    EXPECT_EQ(target.At(rect.left - 1, rect.top), 0x123456u);
    EXPECT_EQ(target.At(rect.right, rect.bottom - 1), 0x123456u);
}

INSTANTIATE_TEST_SUITE_P(States, MenuItemLooks,
                         testing::Values(ItemLook{"Normal", false}, ItemLook{"Selected", true}),
                         [](const testing::TestParamInfo<ItemLook>& info) { return std::string(info.param.name); });

TEST_F(MenuItemsTest, DisabledTextTakesTheShadowColourOrTheSystemsWhenThatWouldNotShow) {
    TForm& form = ShowMenuForm();
    const ts::TTestColours colours = ts::Colours();
    const int w = 120, h = 20;
    const RECT rect{0, 0, w, h};
    MenuFontDc font;
    const TextCells cells(font, "E&xit", "", w, h);
    {
        DibTarget target(w, h, 0);
        Draw(form.Handle(), exit->Command(), file->Handle(), ODS_GRAYED, rect, target);
        EXPECT_GT(target.Count(cells.caption, colours.ButtonShadow), 0);
        EXPECT_EQ(target.Count(cells.caption, colours.MenuText), 0);
    }
    // A skin whose shadow equals its menu text would show a disabled item as enabled.
    skin->ButtonShadowColour = skin->MenuTextColour;
    DibTarget target(w, h, 0);
    Draw(form.Handle(), exit->Command(), file->Handle(), ODS_GRAYED, rect, target);
    EXPECT_GT(target.Count(cells.caption, Rgb(clBtnShadow)), 0);
    EXPECT_EQ(target.Count(cells.caption, colours.MenuText), 0);
}

TEST_F(MenuItemsTest, CheckedItemShowsTheSystemCheckMarkInItsGlyphBox) {
    TForm& form = ShowMenuForm();
    const int w = 120, h = 20;
    DibTarget checked(w, h, 0), unchecked(w, h, 0);
    Draw(form.Handle(), blue->Command(), skins->Handle(), 0, RECT{0, 0, w, h}, checked);
    Draw(form.Handle(), silver->Command(), skins->Handle(), 0, RECT{0, 0, w, h}, unchecked);
    const uint32_t mark = Rgb(clBtnText);
    // The glyph box is one pixel inside the item's corner, 16 wide.
    const RECT glyph{1, 1, 17, 17};
    EXPECT_GT(checked.Count(glyph, mark), 0);
    EXPECT_EQ(unchecked.Count(glyph, mark), 0);
    int outsideGlyph = 0, kept = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inGlyph = PtInRect(&glyph, POINT{x, y});
            outsideGlyph += !inGlyph && checked.At(x, y) == mark;
            kept += inGlyph && checked.At(x, y) == unchecked.At(x, y);
        }
    EXPECT_EQ(outsideGlyph, 0);
    EXPECT_GT(kept, 0) << "the mark is drawn transparently: the element shows around it";
}

TEST_F(MenuItemsTest, DefaultItemIsDrawnBold) {
    TForm& form = ShowMenuForm();
    const int w = 160, h = 20;
    auto rightmostInk = [&](const DibTarget& target) {
        int right = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w - 11; ++x)
                if (target.At(x, y) == ts::Colours().MenuText) right = std::max(right, x);
        return right;
    };
    DibTarget plain(w, h, 0), bold(w, h, 0);
    Draw(form.Handle(), fonts->Command(), options->Handle(), 0, RECT{0, 0, w, h}, plain);
    fonts->SetDefault(true);
    Draw(form.Handle(), fonts->Command(), options->Handle(), 0, RECT{0, 0, w, h}, bold);
    MenuFontDc normalFont, boldFont(true);
    ASSERT_GT(boldFont.DrawnExtent("&Fonts...").cx, normalFont.DrawnExtent("&Fonts...").cx);
    EXPECT_GT(rightmostInk(bold), rightmostInk(plain));
    EXPECT_LT(rightmostInk(bold), 20 + boldFont.DrawnExtent("&Fonts...").cx);
}

// ------------------------------------------------------------------ pictures

struct PictureCase {
    const char* name;
    bool checked, enabled;
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

class MenuItemPictures : public MenuItemsTest, public testing::WithParamInterface<PictureCase> {
protected:
    // A 10 x 8 picture of one colour whose last column is transparent.
    static constexpr int kWidth = 10, kHeight = 8;
    static constexpr TColor kColour = static_cast<TColor>(RGB(30, 60, 190));

    TImageList& GiveTheMenuPictures() {
        auto* images = new TImageList(form_);  // owned by the form
        images->SetWidth(kWidth);
        images->SetHeight(kHeight);
        TBitmap picture;
        picture.SetPixelFormat(TPixelFormat::pf32bit);
        picture.SetSize(kWidth, kHeight);
        picture.Canvas()->Brush()->SetColor(kColour);
        picture.Canvas()->FillRect(RECT{0, 0, kWidth - 1, kHeight});
        picture.Canvas()->Brush()->SetColor(clFuchsia);
        picture.Canvas()->FillRect(RECT{kWidth - 1, 0, kWidth, kHeight});
        EXPECT_EQ(images->AddMasked(picture, clFuchsia), 0);
        menu->SetImages(images);
        return *images;
    }
};

// The glyph box of an item with a picture: the picture at the box's
// top-left (its transparent column showing what lies behind), greyed into
// the shadow colour over the highlight colour one pixel right and down when
// disabled; a checked item's box is sunken and shaded with the face and
// highlight colours in alternate pixels.
TEST_P(MenuItemPictures, PictureSitsInTheGlyphBoxCheckedOnAShadedSunkenBox) {
    const PictureCase c = GetParam();
    MakeMenuForm();
    GiveTheMenuPictures();
    fonts->ImageIndex = 0;
    fonts->SetChecked(c.checked);
    fonts->SetEnabled(c.enabled);
    form_->Show();
    WaitStarted(form_->Handle());
    const ts::TTestColours colours = ts::Colours();
    const int w = 140, h = 20;
    DibTarget target(w, h, 0);
    Draw(form_->Handle(), fonts->Command(), options->Handle(), 0, RECT{0, 0, w, h}, target);

    const RECT glyph{1, 1, 17, 17};
    const RECT picture{1, 1, 1 + kWidth - 1, 1 + kHeight};  // its opaque part
    RECT raised = picture;
    OffsetRect(&raised, 1, 1);
    auto want = [&](int x, int y) -> uint32_t {
        const POINT p{x, y};
        if (PtInRect(&picture, p)) return c.enabled ? Rgb(kColour) : Rgb(clBtnShadow);
        if (!c.enabled && PtInRect(&raised, p)) return Rgb(clBtnHighlight);
        if (c.checked && PtInRect(&glyph, p)) {
            const bool top = y == glyph.top && x < glyph.right - 1, left = x == glyph.left && y < glyph.bottom - 1;
            if (top || left) return Rgb(clBtnShadow);
            if (x == glyph.right - 1 || y == glyph.bottom - 1) return Rgb(clBtnHighlight);
            return Rgb((x + y) % 2 == 0 ? clBtnFace : clBtnHighlight);
        }
        return ElementPixel(1, w, h, x, y, colours.Menu);
    };
    ASSERT_NE(Rgb(kColour), Rgb(clBtnShadow));
    ASSERT_NE(Rgb(clBtnFace), Rgb(clBtnHighlight));
    int wrong = 0;
    std::string first;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 20; ++x)
            if (target.At(x, y) != want(x, y) && wrong++ == 0)
                first = std::to_string(x) + "," + std::to_string(y) + " is " + std::to_string(target.At(x, y)) +
                        ", not " + std::to_string(want(x, y));
    EXPECT_EQ(wrong, 0) << "first at " << first;
    EXPECT_EQ(target.Count(RECT{0, 0, w, h}, Rgb(clBtnText)), 0) << "no check mark beside a picture";

    // The caption keeps its place and measuring ignores the picture.
    MenuFontDc font;
    const TextCells cells(font, "&Fonts...", "", w, h);
    EXPECT_GT(target.Count(cells.caption, c.enabled ? colours.MenuText : colours.ButtonShadow), 0);
    const UINT proposed = 17;
    MEASUREITEMSTRUCT m{};
    Measure(form_->Handle(), fonts->Command(), proposed, m);
    EXPECT_EQ(m.itemWidth, static_cast<UINT>(font.Extent("&Fonts...").cx + 26));
    EXPECT_EQ(m.itemHeight, proposed + 4);
}

INSTANTIATE_TEST_SUITE_P(States, MenuItemPictures,
                         testing::Values(PictureCase{"Plain", false, true}, PictureCase{"Checked", true, true},
                                         PictureCase{"Disabled", false, false},
                                         PictureCase{"CheckedAndDisabled", true, false}),
                         [](const testing::TestParamInfo<PictureCase>& info) { return std::string(info.param.name); });

// An index the list does not hold, or a menu without a list, leaves the
// checked item its check mark; the image list going away leaves the menu none.
TEST_F(MenuItemPictures, WithoutAPictureInTheListACheckedItemShowsTheCheckMark) {
    MakeMenuForm();
    TImageList& images = GiveTheMenuPictures();
    fonts->SetChecked(true);
    form_->Show();
    WaitStarted(form_->Handle());
    const int w = 120, h = 20;
    const RECT glyph{1, 1, 17, 17};
    fonts->ImageIndex = -1;
    DibTarget markOnly(w, h, 0);
    Draw(form_->Handle(), fonts->Command(), options->Handle(), 0, RECT{0, 0, w, h}, markOnly);
    ASSERT_GT(markOnly.Count(glyph, Rgb(clBtnText)), 0);
    auto sameGlyph = [&](const DibTarget& t) {
        for (int y = glyph.top; y < glyph.bottom; ++y)
            for (int x = glyph.left; x < glyph.right; ++x)
                if (t.At(x, y) != markOnly.At(x, y)) return false;
        return true;
    };
    fonts->ImageIndex = 1;  // one past the last
    DibTarget beyond(w, h, 0);
    Draw(form_->Handle(), fonts->Command(), options->Handle(), 0, RECT{0, 0, w, h}, beyond);
    EXPECT_TRUE(sameGlyph(beyond));

    fonts->ImageIndex = 0;
    TComponent::Free(&images);
    EXPECT_EQ(menu->Images(), nullptr);
    DibTarget freed(w, h, 0);
    Draw(form_->Handle(), fonts->Command(), options->Handle(), 0, RECT{0, 0, w, h}, freed);
    EXPECT_TRUE(sameGlyph(freed));
}

// ------------------------------------------------------ popup menu alignment

struct AlignmentCase {
    const char* name;
    TPopupAlignment alignment;
    bool rightToLeft;
};

void PrintTo(const AlignmentCase& c, std::ostream* os) { *os << c.name; }

class PopupMenuAlignment : public MenuItemsTest, public testing::WithParamInterface<AlignmentCase> {};

// The items of a popup menu component, drawn by the handler the frame gave
// them: the caption goes left, right or to the middle of the space before
// the shortcut as the menu's Alignment says (right in a right-to-left
// menu); the shortcut stays right-aligned 11 pixels before the item's end.
TEST_P(PopupMenuAlignment, CaptionTakesThePopupMenusAlignment) {
    const AlignmentCase c = GetParam();
    MakeMenuForm();
    auto* popup = new TPopupMenu(form_);  // owned by the form
    popup->Alignment = c.alignment;
    popup->SetRightToLeft(c.rightToLeft);
    TMenuItem* cut = NewItem(popup->Items(), "&Cut", ShortCut('X', ssCtrl));
    TMenuItem* paste = NewItem(popup->Items(), "&Paste");
    form_->Show();
    WaitStarted(form_->Handle());
    ASSERT_TRUE(cut->OnDrawItem) << "the frame draws the popup menu's items";

    const ts::TTestColours colours = ts::Colours();
    const int w = 200, h = 20;
    MenuFontDc font;
    for (TMenuItem* item : {cut, paste}) {
        SCOPED_TRACE(item->Caption());
        DibTarget target(w, h, 0);
        TCanvas canvas(target.Dc());
        item->OnDrawItem(item, &canvas, RECT{0, 0, w, h}, false);
        canvas.SetHandle(nullptr);

        // The text area runs from 20 to w - 1; the caption's room ends where
        // the shortcut begins.
        const std::string shortCut = item->ShortCut() != scNone ? ShortCutToText(item->ShortCut()) : "";
        const int shortCutWidth = shortCut.empty() ? 0 : font.DrawnExtent(shortCut).cx;
        const int roomRight = shortCut.empty() ? w - 1 : w - 11 - shortCutWidth;
        const SIZE extent = font.DrawnExtent(item->Caption());
        int left = 20;
        if (c.rightToLeft || c.alignment == TPopupAlignment::paRight) left = roomRight - extent.cx;
        else if (c.alignment == TPopupAlignment::paCenter) left = 20 + (roomRight - 20 - extent.cx) / 2;
        const int top = (h - extent.cy) / 2;
        const RECT caption{left, top, left + extent.cx, top + extent.cy};
        const RECT shortCutCell{w - 11 - shortCutWidth, top, w - 11, top + extent.cy};
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const POINT p{x, y};
                if (PtInRect(&caption, p) || PtInRect(&shortCutCell, p)) continue;
                wrong += target.At(x, y) != ElementPixel(1, w, h, x, y, colours.Menu);
            }
        EXPECT_EQ(wrong, 0) << "pixels outside the caption and shortcut cells";
        EXPECT_GT(target.Count(caption, colours.MenuText), 0);
        if (!shortCut.empty()) EXPECT_GT(target.Count(shortCutCell, colours.MenuText), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Alignments, PopupMenuAlignment,
                         testing::Values(AlignmentCase{"Left", TPopupAlignment::paLeft, false},
                                         AlignmentCase{"Right", TPopupAlignment::paRight, false},
                                         AlignmentCase{"Centre", TPopupAlignment::paCenter, false},
                                         AlignmentCase{"RightToLeft", TPopupAlignment::paLeft, true}),
                         [](const testing::TestParamInfo<AlignmentCase>& info) { return std::string(info.param.name); });

struct SeparatorCase {
    const char* name;
    int height;
};

void PrintTo(const SeparatorCase& c, std::ostream* os) { *os << c.name; }

class SeparatorLooks : public MenuItemsTest, public testing::WithParamInterface<SeparatorCase> {};

// Frame 2 of the element over the menu colour: its bottom rows when the item
// is lower than the image, the whole frame stretched otherwise.
TEST_P(SeparatorLooks, SeparatorShowsTheElementsSecondFrame) {
    const int h = GetParam().height;
    TForm& form = ShowMenuForm();
    const ts::TLayout& layout = ts::Layout(ts::TElement::MenuItem);
    const int w = 100, fw = layout.FrameWidth, ih = layout.FrameHeight;
    DibTarget target(w, h, 0);
    Draw(form.Handle(), line->Command(), file->Handle(), 0, RECT{0, 0, w, h}, target);

    // Item rows with the image rows they show: all of them when copied
    // unscaled, rows well inside their pieces when stretched.
    std::vector<std::pair<int, int>> rows;
    if (h < ih) {
        for (int y = 0; y < h; ++y) rows.emplace_back(y, ih - h + y);
    } else {
        rows = {{0, 0}, {h / 2, ih / 2}, {h - 1, ih - 1}};
    }
    struct Column {
        int x, sx;  // item column and the image column it shows
    };
    const Column columns[] = {{1, 1}, {w / 2, fw / 2}, {w - 3, fw - 3}};  // left end, middle, right end
    for (auto [y, sy] : rows) {
        for (const Column& c : columns) {
            SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(y));
            const uint32_t want = ts::FramePixel(ts::TElement::MenuItem, 2, c.sx, sy);
            EXPECT_EQ(target.At(c.x, y), want == ts::KeyColour ? ts::Colours().Menu : want);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Heights, SeparatorLooks,
                         testing::Values(SeparatorCase{"LowerThanTheImage", 8}, SeparatorCase{"TallerThanTheImage", 40}),
                         [](const testing::TestParamInfo<SeparatorCase>& info) { return std::string(info.param.name); });

TEST_F(MenuItemsTest, WithoutTheElementItemsTakeTheFlatLook) {
    ts::TTestSkinOptions options;
    options.Omit = {ts::TElement::MenuItem};
    LoadSkin(options);
    TForm& form = ShowMenuForm();
    const ts::TTestColours colours = ts::Colours();
    const int w = 140, h = 18;
    MenuFontDc font;
    const TextCells cells(font, "&Open...", "Ctrl+O", w, h);
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected ? "selected" : "normal");
        DibTarget target(w, h, 0);
        Draw(form.Handle(), open->Command(), file->Handle(), selected ? ODS_SELECTED : 0, RECT{0, 0, w, h}, target);
        const uint32_t face = selected ? colours.Hilight : colours.Menu;
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) wrong += !cells.Holds(x, y) && target.At(x, y) != face;
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(target.Count(cells.caption, selected ? colours.HilightText : colours.MenuText), 0);
    }
}

// A plain window's items come from its menu handle: string, state and separator.
TEST_F(MenuItemsTest, PlainWindowItemsAreDrawnFromTheirMenuHandle) {
    HMENU bar = CreateMenu();
    HMENU drop = CreatePopupMenu();
    AppendMenuA(drop, MF_STRING | MF_GRAYED, 501, "&Load");
    AppendMenuA(drop, MF_SEPARATOR, 502, nullptr);
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), "&Data");
    HWND window = ShowPlainWindow(WS_OVERLAPPEDWINDOW, RECT{120, 120, 460, 360}, "Plain", bar);
    const ts::TTestColours colours = ts::Colours();
    const int w = 120, h = 20;

    DibTarget item(w, h, 0);
    Draw(window, 501, drop, ODS_SELECTED, RECT{0, 0, w, h}, item);
    MenuFontDc font;
    const TextCells cells(font, "&Load", "", w, h);
    EXPECT_EQ(item.At(w / 2, 1), ElementPixel(4, w, h, w / 2, 1, colours.Menu));
    EXPECT_EQ(item.At(0, 0), colours.Menu);
    EXPECT_GT(item.Count(cells.caption, colours.ButtonShadow), 0) << "grayed in the handle: disabled";

    // A separator of a menu handle is an item with an etched line 4 pixels down.
    DibTarget separator(w, h, 0);
    Draw(window, 502, drop, 0, RECT{0, 0, w, h}, separator);
    EXPECT_EQ(separator.At(w / 2, 1), ElementPixel(1, w, h, w / 2, 1, colours.Menu));
    EXPECT_EQ(separator.At(w / 2, 4), Rgb(clBtnShadow));
    EXPECT_EQ(separator.At(w / 2, 5), Rgb(clBtnHighlight));
    EXPECT_EQ(separator.At(w / 2, 6), ElementPixel(1, w, h, w / 2, 6, colours.Menu));
}

TEST_F(MenuItemsTest, DrawingOtherThanMenuItemsIsLeftToTheWindow) {
    TForm& form = ShowMenuForm();
    DibTarget target(40, 20, 0x123456);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_BUTTON;
    d.hDC = target.Dc();
    d.rcItem = RECT{0, 0, 40, 20};
    SendMessageA(form.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(target.Count(RECT{0, 0, 40, 20}, 0x123456), 40 * 20);
}

// ------------------------------------------------------ owner draw on and off

struct Entry {
    UINT type;
    std::string text;
    HMENU sub;
};

// Every entry of the tree, depth first.
void Collect(HMENU menu, std::vector<Entry>& entries) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        char text[80] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        entries.push_back(Entry{info.fType, text, info.hSubMenu});
        if (info.hSubMenu != nullptr) Collect(info.hSubMenu, entries);
    }
}

std::vector<Entry> Entries(HMENU menu) {
    std::vector<Entry> entries;
    Collect(menu, entries);
    return entries;
}

TEST(MenuOwnerDraw, SetsEveryEntryOfTheTreeAndTheReverseClearsExactlyThat) {
    HMENU deep = CreatePopupMenu();
    AppendMenuA(deep, MF_STRING, 31, "&Deep");
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 21, "&Inner\tCtrl+I");
    AppendMenuA(sub, MF_POPUP, reinterpret_cast<UINT_PTR>(deep), "&More");
    HMENU top = CreatePopupMenu();
    AppendMenuA(top, MF_STRING, 11, "&Open");
    AppendMenuA(top, MF_SEPARATOR, 12, nullptr);
    AppendMenuA(top, MF_STRING | MFT_RADIOCHECK, 13, "&Radio");
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&Sub");
    const std::vector<Entry> before = Entries(top);
    ASSERT_EQ(before.size(), 7u);

    SetMenuOwnerDraw(top);
    const std::vector<Entry> drawn = Entries(top);
    ASSERT_EQ(drawn.size(), before.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        SCOPED_TRACE(before[i].text);
        EXPECT_EQ(drawn[i].type, before[i].type | MFT_OWNERDRAW);
        EXPECT_EQ(drawn[i].text, before[i].text);
    }

    ClearMenuOwnerDraw(top);
    const std::vector<Entry> after = Entries(top);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE(before[i].text);
        EXPECT_EQ(after[i].type, before[i].type);
        EXPECT_EQ(after[i].text, before[i].text);
    }
    DestroyMenu(top);
}

// ----------------------------------------------------------------- geometry

TEST(MenuItemHandler, WidensPopupMenuItemsAndHeightensThemOnTheOtherFamily) {
    std::unique_ptr<TMenuItem, ComponentFree> item(new TMenuItem(nullptr)), line(new TMenuItem(nullptr));
    item->SetCaption("&Open");
    line->SetCaption("-");
    TCanvas canvas;
    const uint32_t version = WindowsVersion;
    for (bool family95 : {false, true}) {
        SCOPED_TRACE(family95 ? "Windows 95 family" : "NT family");
        WindowsVersion = family95 ? 0x80000000u : 0x0A00u;
        int w = 50, h = 18;
        MeasureItemHandler(*item, canvas, w, h);
        EXPECT_EQ(w, 78);
        EXPECT_EQ(h, family95 ? 22 : 18);
        w = 50, h = 8;
        MeasureItemHandler(*line, canvas, w, h);
        EXPECT_EQ(w, 78);
        EXPECT_EQ(h, 8) << "a separator keeps its height";
    }
    WindowsVersion = version;
}


TEST(MenuSeparatorParts, BottomRowsOfTheSecondFrameOrTheWholeFrameStretched) {
    const SIZE image{150, 20};  // five frames of 30
    const TSeparatorParts low = SeparatorParts(image, 4, 5, SIZE{100, 8});
    EXPECT_EQ(low.Source[0], (RECT{30, 12, 34, 20}));
    EXPECT_EQ(low.Dest[0], (RECT{0, 0, 4, 8}));
    EXPECT_EQ(low.Source[1], (RECT{55, 12, 60, 20}));
    EXPECT_EQ(low.Dest[1], (RECT{95, 0, 100, 8}));
    EXPECT_EQ(low.Source[2], (RECT{34, 12, 55, 20}));
    EXPECT_EQ(low.Dest[2], (RECT{4, 0, 95, 8}));
    const TSeparatorParts tall = SeparatorParts(image, 4, 5, SIZE{100, 20});
    EXPECT_EQ(tall.Source[2], (RECT{34, 0, 55, 20})) << "as high as the image: all of it";
}

TEST(MenuCaptionPlace, AlignedInTheRoomBeforeTheShortcutOrLeftWhenItDoesNotFit) {
    const RECT text{20, 3, 199, 17};
    EXPECT_EQ(TMenuMetrics::CaptionArea(text, 0), text);
    EXPECT_EQ(TMenuMetrics::CaptionArea(text, 40), (RECT{20, 3, 149, 17}));
    const RECT caption{20, 5, 50, 15};  // as measured: at the area's left
    const RECT area{20, 3, 149, 17};
    struct Case {
        UINT format;
        RECT area, want;
    };
    for (const Case& c : {Case{DT_LEFT, area, caption}, Case{DT_RIGHT, area, RECT{119, 5, 149, 15}},
                          Case{DT_CENTER, area, RECT{69, 5, 99, 15}},
                          Case{DT_RIGHT, RECT{20, 3, 40, 17}, caption}, Case{DT_CENTER, RECT{20, 3, 40, 17}, caption}}) {
        SCOPED_TRACE(std::to_string(c.format) + " in " + std::to_string(c.area.right));
        EXPECT_EQ(TMenuMetrics::AlignedIn(caption, c.area, c.format), c.want);
    }
}

}  // namespace
}  // namespace pellix
