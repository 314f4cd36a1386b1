// Tab controls, headers and tab sets drawn from the test skin. The strip's
// geometry is checked against the rectangles measured under Wine; the
// windows are read back pixel by pixel at points the test works out from
// the rectangles the controls report: tab frames (focused frame 2, others
// frame 1), their rows turned the right way for each side, text colours,
// the page border, the scroll arrows; header items with their text where
// the test measures it; tab-set widths and the fit test.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <optional>
#include <thread>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/TabControls.h"
#include "framework/Tabs.h"
#include "skin/ImgUtil.h"
#include "skin/SkinTabs.h"
#include "skin/SkinUpDown.h"
#include "tests/harness/Pump.h"
#include "tests/skin/SkinControlFixture.h"

namespace pellix {
namespace {

using testskin::TElement;
using testskin::TPiece;
using test::TColour;
using test::TWindowPixels;

constexpr TColour kIconColour{0x0000FF};  // red

// Pixel (x, y) of frame `frame` of an element painted as nine parts over a
// width x height rectangle.
TColour NinePart(TElement element, int frame, int width, int height, int x, int y, int variant = 0) {
    return test::Piece(element, frame, testskin::PieceAt(testskin::Layout(element).Margins, width, height, x, y),
                       variant);
}

// The box that holds every pixel of area differing from what background
// gives for it; empty (left > right) when none does.
struct Ink {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool Empty() const { return left > right; }
};

template <class Differs>
Ink InkIn(int width, int height, Differs differs) {
    Ink ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (differs(x, y)) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// Where text drawn centred into extent lands inside a width x height box,
// rendered here with font.
Ink ReferenceInk(HFONT font, const std::string& text, const RECT& extent, int width, int height) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(width, height);
    HDC dc = bitmap.Canvas()->BareHandle();
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT r = extent;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS);
    SelectObject(dc, old);
    GdiFlush();
    return InkIn(width, height, [&](int x, int y) { return (bitmap.Canvas()->Pixel(x, y) & 0xFFFFFF) != 0xFFFFFF; });
}

SIZE TextSize(HFONT font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_SINGLELINE | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// ============================================================== header

TEST(HeaderAlign, FormatValuesMapToTheRoutinesNumbering) {
    EXPECT_EQ(HeaderItemAlign(HDF_LEFT | HDF_STRING), TIconTextAlign::Left);
    EXPECT_EQ(HeaderItemAlign(HDF_RIGHT | HDF_STRING), TIconTextAlign::Right);
    EXPECT_EQ(HeaderItemAlign(HDF_CENTER | HDF_STRING | HDF_IMAGE), TIconTextAlign::Centre);
    EXPECT_EQ(HeaderItemAlign(3), TIconTextAlign::Left);
    EXPECT_EQ(HeaderItemAlign(0x101), TIconTextAlign::Right) << "the low byte counts";
}

class HeaderSkinTest : public testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr));
        form->SetBounds(40, 40, 460, 200);
        form->Show();
        test::LoadTestSkin(*skinData);
        host = std::make_unique<test::TSkinTestHost>();
        font.SetName("Tahoma");
        font.SetHeight(-12);
        EnsureCommonControls();
        header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_HORZ, 10, 10, 400, 22, form->Handle(),
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), TRUE);
        images = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
        TBitmap icon;
        icon.SetPixelFormat(TPixelFormat::pf32bit);
        icon.SetSize(16, 16);
        icon.Canvas()->Brush()->SetColor(static_cast<TColor>(kIconColour.Value));
        icon.Canvas()->FillRect({0, 0, 16, 16});
        ImageList_Add(images, icon.Handle(), nullptr);
        SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    void TearDown() override {
        host.reset();
        if (IsWindow(header)) DestroyWindow(header);
        ImageList_Destroy(images);
        form.reset();
        test::PumpMessages();
    }

    void AddItem(const std::string& text, int width, int format, int image = -1) {
        HDITEMA item{};
        item.mask = HDI_WIDTH | HDI_FORMAT | (text.empty() ? 0 : HDI_TEXT) | (image >= 0 ? HDI_IMAGE : 0);
        item.cxy = width;
        item.fmt = format | (text.empty() ? 0 : HDF_STRING);
        item.pszText = const_cast<char*>(text.c_str());
        item.iImage = image;
        const auto index = SendMessageA(header, HDM_GETITEMCOUNT, 0, 0);
        SendMessageA(header, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    TSkinHeader* Skin() {
        auto* skin = new TSkinHeader(host.get());
        skin->AttachHandle(header, skinData.get(), &host->ControlCanvas);
        RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        test::PumpMessages();
        return skin;
    }

    RECT ItemRect(int index) const {
        RECT r{};
        SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }

    // The ink of an item: pixels that are not the item's own Headerbar frame.
    Ink ItemInk(const TWindowPixels& pixels, const RECT& item) const {
        const int w = item.right - item.left, h = item.bottom - item.top;
        return InkIn(w, h, [&](int x, int y) {
            return !(pixels.At(item.left + x, item.top + y) == NinePart(TElement::Headerbar, 1, w, h, x, y));
        });
    }

    std::unique_ptr<TForm, ComponentFree> form;
    std::unique_ptr<TSkinData, ComponentFree> skinData{new TSkinData(nullptr)};
    std::unique_ptr<test::TSkinTestHost> host;
    TFont font;
    HWND header = nullptr;
    HIMAGELIST images = nullptr;
};

TEST_F(HeaderSkinTest, ItemsShowTheirFrameTextWhereAlignedAndTheFillerTheRest) {
    struct Item {
        std::string text;
        int width, format, image;
        TIconTextAlign align;
    };
    const std::vector<Item> items = {
        {"Left", 90, HDF_LEFT, -1, TIconTextAlign::Left},
        {"Right", 90, HDF_RIGHT, -1, TIconTextAlign::Right},
        {"Centre", 90, HDF_CENTER, -1, TIconTextAlign::Centre},
        {"", 40, HDF_LEFT | HDF_IMAGE, 0, TIconTextAlign::Left},  // an icon alone
        {"Icon", 70, HDF_LEFT | HDF_IMAGE, 0, TIconTextAlign::Left},
    };
    for (const Item& item : items) AddItem(item.text, item.width, item.format, item.image);
    Skin();
    const TWindowPixels pixels(header);

    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        SCOPED_TRACE(item.text.empty() ? std::string("icon alone") : item.text);
        const RECT r = ItemRect(static_cast<int>(i));
        const int w = r.right - r.left, h = r.bottom - r.top;
        const Ink ink = ItemInk(pixels, r);
        if (item.text.empty()) {
            EXPECT_TRUE(ink.Empty()) << "the bare frame, not even the icon";
            continue;
        }
        const int iconWidth = item.image >= 0 ? 16 : 0;
        const SIZE text = TextSize(font.Handle(), item.text);
        int x = 2;
        if (item.align == TIconTextAlign::Centre) x = (w - iconWidth - text.cx) / 2;
        if (item.align == TIconTextAlign::Right) x = w - iconWidth - text.cx - 2;
        const int top = (h - text.cy) / 2;
        const RECT extent{x + iconWidth + 1, top, x + iconWidth + 1 + text.cx, top + text.cy};
        const Ink want = ReferenceInk(font.Handle(), item.text, extent, w, h);
        ASSERT_FALSE(want.Empty());
        if (item.image >= 0) {
            // The icon, then the text.
            const int iconTop = (h - 16) / 2;
            EXPECT_EQ(pixels.At(r.left + x, r.top + iconTop), kIconColour);
            EXPECT_EQ(pixels.At(r.left + x + 15, r.top + iconTop + 15), kIconColour);
            EXPECT_EQ(ink.left, x);
            const Ink text = InkIn(w, h, [&](int px, int py) {
                const TColour c = pixels.At(r.left + px, r.top + py);
                return px >= x + 16 && !(c == NinePart(TElement::Headerbar, 1, w, h, px, py));
            });
            EXPECT_EQ(text.left, want.left);
            EXPECT_EQ(text.right, want.right);
        } else {
            EXPECT_EQ(ink.left, want.left);
            EXPECT_EQ(ink.right, want.right);
            EXPECT_EQ(ink.top, want.top);
            EXPECT_EQ(ink.bottom, want.bottom);
        }
    }

    // Right of the last item: frame 1 over what is left.
    const RECT last = ItemRect(static_cast<int>(items.size()) - 1);
    const int fillerWidth = pixels.Width() - last.right;
    ASSERT_GT(fillerWidth, 0);
    int wrong = 0;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < fillerWidth; ++x)
            wrong += !(pixels.At(last.right + x, y) == NinePart(TElement::Headerbar, 1, fillerWidth, pixels.Height(), x, y));
    EXPECT_EQ(wrong, 0);
}

TEST_F(HeaderSkinTest, NarrowerThanItsColumnsShowsNoFillerAndEmptyItemsNoFrame) {
    AddItem("Wide", 300, HDF_LEFT);
    AddItem("", 0, HDF_LEFT);  // a column of no width
    AddItem("Wider", 300, HDF_LEFT);
    Skin();
    const TWindowPixels pixels(header);
    // The second wide item reaches past the window: its own frame, cut off.
    const RECT r = ItemRect(2);
    ASSERT_GT(r.right, pixels.Width());
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = pixels.Width() - 1 - r.left;
    EXPECT_EQ(pixels.At(pixels.Width() - 1, h / 2), NinePart(TElement::Headerbar, 1, w, h, x, h / 2));
    EXPECT_EQ(pixels.At(pixels.Width() - 1, 0), NinePart(TElement::Headerbar, 1, w, h, x, 0));
}

TEST_F(HeaderSkinTest, EraseIsKeptWhileTheSkinPaintsAndPassedWithoutHeaderbar) {
    AddItem("One", 100, HDF_LEFT);
    TSkinHeader* skin = Skin();
    EXPECT_EQ(host->ControlSkins, std::vector<TSkinControl*>{skin}) << "a header skin lists itself";
    HDC memory = CreateCompatibleDC(nullptr);
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0, 0};
    EXPECT_FALSE(skin->BeforeMessage(erase));
    EXPECT_EQ(erase.Result, 1);

    testskin::TTestSkinOptions options;
    options.Omit = {TElement::Headerbar};
    test::LoadTestSkin(*skinData, options);
    TMessage again{WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0, 0};
    EXPECT_TRUE(skin->BeforeMessage(again));
    DeleteDC(memory);
    // Nothing of the old skin is drawn: the header paints itself.
    RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const TWindowPixels pixels(header);
    EXPECT_EQ(pixels.Count(NinePart(TElement::Headerbar, 1, 100, 22, 50, 10), {0, 0, pixels.Width(), pixels.Height()}), 0);
}

// ========================================================= tab geometry

TEST(TabGeometry, SideComesFromTheVerticalAndBottomStyles) {
    EXPECT_EQ(TabSideOf(0), TTabSide::Top);
    EXPECT_EQ(TabSideOf(TCS_BOTTOM | TCS_MULTILINE), TTabSide::Bottom);
    EXPECT_EQ(TabSideOf(TCS_VERTICAL | TCS_MULTILINE), TTabSide::Left);
    EXPECT_EQ(TabSideOf(TCS_VERTICAL | TCS_RIGHT), TTabSide::Right);
}

TEST(TabGeometry, StripAndTabsOfA300By200ControlOnEachSide) {
    // Page areas and first tabs as Wine reports them for four tabs.
    struct Case {
        TTabSide side;
        RECT adjusted, item;
        RECT display, strip;
        SIZE buffer;
        RECT inBuffer;
    };
    const RECT rect{0, 0, 300, 200};
    const Case cases[] = {
        {TTabSide::Top, {4, 25, 296, 196}, {2, 2, 56, 23}, {0, 22, 300, 200}, {0, 0, 300, 22}, {300, 22}, {2, 3, 56, 24}},
        {TTabSide::Bottom, {4, 4, 296, 175}, {2, 177, 56, 198}, {0, 0, 300, 178}, {0, 178, 300, 200}, {300, 22},
         {2, -2, 56, 19}},
        {TTabSide::Left, {46, 4, 296, 196}, {23, 2, 44, 95}, {43, 0, 300, 200}, {0, 0, 43, 200}, {200, 43},
         {105, 23, 198, 44}},
        {TTabSide::Right, {4, 4, 254, 196}, {256, 2, 277, 95}, {0, 0, 257, 200}, {257, 0, 300, 200}, {200, 43},
         {1, 23, 94, 44}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.side));
        const TTabStripLayout layout = LayoutTabStrip(rect, c.adjusted, c.side);
        EXPECT_TRUE(EqualRect(&layout.Display, &c.display));
        EXPECT_TRUE(EqualRect(&layout.Strip, &c.strip));
        EXPECT_EQ(layout.Buffer.cx, c.buffer.cx);
        EXPECT_EQ(layout.Buffer.cy, c.buffer.cy);
        const RECT moved = TabRectInBuffer(c.item, c.side, layout, rect);
        EXPECT_TRUE(EqualRect(&moved, &c.inBuffer));
    }
    // A strip with no room makes no buffer.
    const TTabStripLayout none = LayoutTabStrip(rect, {4, -6, 296, 196}, TTabSide::Top);
    EXPECT_LE(none.Buffer.cy, 0);
}

TEST(TabGeometry, FlippedTabsSwapTheirMarginsAndTheBorderTurnsItsWidths) {
    const RECT margins{5, 4, 6, 3};
    for (TTabSide side : {TTabSide::Top, TTabSide::Left, TTabSide::Right}) {
        const RECT same = TabImageMargins(margins, side);
        EXPECT_TRUE(EqualRect(&same, &margins));
    }
    const RECT flipped = TabImageMargins(margins, TTabSide::Bottom), swapped{5, 3, 6, 4};
    EXPECT_TRUE(EqualRect(&flipped, &swapped));

    // The wide band lies beside the tabs.
    const std::pair<TTabSide, RECT> widths[] = {{TTabSide::Top, {4, 5, 4, 4}},
                                                {TTabSide::Bottom, {4, 4, 4, 5}},
                                                {TTabSide::Left, {5, 4, 4, 4}},
                                                {TTabSide::Right, {4, 4, 5, 4}}};
    for (const auto& [side, want] : widths) {
        const RECT got = TabBorderWidths(side);
        EXPECT_TRUE(EqualRect(&got, &want)) << static_cast<int>(side);
    }
}

// ====================================================== tab control

// A piece of the tab image upside down.
TPiece Mirrored(TPiece piece) {
    const int index = static_cast<int>(piece), row = index / 3, column = index % 3;
    return static_cast<TPiece>((2 - row) * 3 + column);
}

// Pixel (x, y) of frame `frame` of the tab image painted over w x h, upside
// down when flipped (its margins with it).
TColour TabPixel(int frame, int w, int h, int x, int y, bool flipped, int variant = 0) {
    testskin::TMargins m = testskin::Layout(TElement::Tabs).Margins;
    if (flipped) std::swap(m.Top, m.Bottom);
    TPiece piece = testskin::PieceAt(m, w, h, x, y);
    if (flipped) piece = Mirrored(piece);
    return test::Piece(TElement::Tabs, frame, piece, variant);
}

enum class TabHost { Raw, PageControl, TabControl };

struct TabCase {
    TabHost host;
    TTabSide side;
};

std::string TabCaseName(const testing::TestParamInfo<TabCase>& info) {
    static const char* sides[] = {"Top", "Bottom", "Left", "Right"};
    static const char* hosts[] = {"Raw", "PageControl", "TabControl"};
    return std::string(hosts[static_cast<int>(info.param.host)]) + sides[static_cast<int>(info.param.side)];
}

class TabSkinTest : public testing::Test {
protected:
    void SetUp() override {
        form.reset(new TForm(nullptr));
        form->SetBounds(30, 30, 420, 300);
        form->Show();
        test::LoadTestSkin(*skinData);
        host = std::make_unique<test::TSkinTestHost>();
        EnsureCommonControls();
    }
    void TearDown() override {
        host.reset();
        if (raw != nullptr && IsWindow(raw)) DestroyWindow(raw);
        form.reset();
        test::PumpMessages();
    }

    // A raw tab control of 300 x 200 with these tabs, the second selected.
    HWND MakeRaw(DWORD style, const std::vector<std::string>& tabs) {
        raw = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 20, 20, 300, 200,
                              form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(raw, WM_SETFONT, reinterpret_cast<WPARAM>(form->Font()->Handle()), FALSE);
        for (size_t i = 0; i < tabs.size(); ++i) {
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(tabs[i].c_str());
            SendMessageA(raw, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        if (tabs.size() > 1) SendMessageA(raw, TCM_SETCURSEL, 1, 0);
        return raw;
    }

    HWND MakePageControl(TTabSide side, const std::vector<std::string>& tabs) {
        pages = new TPageControl(form.get());
        pages->SetTabPosition(static_cast<TTabPosition>(side));
        pages->SetBounds(20, 20, 300, 200);
        pages->SetParent(form.get());
        for (const std::string& caption : tabs) {
            auto* sheet = new TTabSheet(form.get());
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
        }
        if (tabs.size() > 1) pages->SetActivePage(pages->Pages(1));
        return pages->Handle();
    }

    // A framework tab control whose tabs are strings; one is deleted again
    // to show the window follows the list.
    HWND MakeTabControl(TTabSide side, const std::vector<std::string>& tabs) {
        auto* control = new TTabControl(form.get());
        control->SetTabPosition(static_cast<TTabPosition>(side));
        control->SetBounds(20, 20, 300, 200);
        control->SetParent(form.get());
        control->Tabs().Add("Deleted");
        for (const std::string& caption : tabs) control->Tabs().Add(caption);
        control->Tabs().Delete(0);
        EXPECT_EQ(SendMessageA(control->Handle(), TCM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(tabs.size()));
        if (tabs.size() > 1) control->SetTabIndex(1);
        return control->Handle();
    }

    TSkinTab* Skin(HWND h) {
        auto* skin = new TSkinTab(host.get());
        skin->AttachHandle(h, skinData.get(), &host->ControlCanvas);
        host->ControlSkins.push_back(skin);
        Repaint(h);
        return skin;
    }

    static void Repaint(HWND h) {
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        test::PumpMessages();
    }

    // The strip as the control lays it out now.
    static TTabStripLayout Layout(HWND h, TTabSide side) {
        RECT rect;
        GetClientRect(h, &rect);
        RECT adjusted = rect;
        SendMessageA(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&adjusted));
        return LayoutTabStrip(rect, adjusted, side);
    }

    // Where a point of the upright buffer lands in the window once the
    // buffer is turned for the side.
    static POINT ToWindow(POINT p, TTabSide side, const TTabStripLayout& layout) {
        const RECT& s = layout.Strip;
        switch (side) {
        case TTabSide::Left: return {s.left + p.y, s.top + layout.Buffer.cx - 1 - p.x};
        case TTabSide::Right: return {s.left + layout.Buffer.cy - 1 - p.y, s.top + p.x};
        default: return {s.left + p.x, s.top + p.y};
        }
    }

    TColour Face(int variant = 0) const { return {testskin::Colours(variant).ButtonFace}; }

    // Checks one tab: the frame of its state inside and at its outer edge,
    // turned as its side wants, and text in its state's colour.
    void CheckTab(const TWindowPixels& pixels, HWND h, TTabSide side, int index, int state, int variant = 0,
                  int textVariant = -1) {
        SCOPED_TRACE(testing::Message() << "tab " << index << " state " << state);
        const TTabStripLayout layout = Layout(h, side);
        RECT client;
        GetClientRect(h, &client);
        RECT item{};
        ASSERT_TRUE(SendMessageA(h, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)));
        const RECT r = TabRectInBuffer(item, side, layout, client);
        const int w = r.right - r.left, h2 = r.bottom - r.top;
        const bool flipped = side == TTabSide::Bottom;
        const testskin::TMargins m = testskin::Layout(TElement::Tabs).Margins;
        // Inside, left of the centred text; and the outer edge's second row.
        const int x = m.Left + 1, middle = h2 / 2, outer = flipped ? h2 - 2 : 1;
        for (int y : {middle, outer}) {
            const POINT p = ToWindow({r.left + x, r.top + y}, side, layout);
            EXPECT_EQ(pixels.At(p.x, p.y), TabPixel(state, w, h2, x, y, flipped, variant))
                << "buffer point " << x << "," << y << " at window " << p.x << "," << p.y;
        }
        // The text in the colour of the state, running along the side.
        const TTestColours colours = testskin::Colours(textVariant < 0 ? variant : textVariant);
        const TColour text{state == 2 ? colours.MouseOverColour2 : colours.NormalColour2};
        const Ink ink = InkIn(client.right, client.bottom, [&](int px, int py) {
            return px >= item.left && px < item.right && py >= item.top && py < item.bottom &&
                   pixels.At(px, py) == text;
        });
        ASSERT_FALSE(ink.Empty()) << "no text in " << text;
        const bool along = ink.bottom - ink.top > ink.right - ink.left;
        EXPECT_EQ(along, side == TTabSide::Left || side == TTabSide::Right);
    }

    // The page border's band beside the tabs shows the border image's wide
    // band, inner lines included where no page lies over them (a page
    // control's page covers the innermost two); the band across shows the
    // narrow one.
    void CheckBorder(const TWindowPixels& pixels, HWND h, TTabSide side, int inner = 4) {
        const RECT d = Layout(h, side).Display;
        const int cx = (d.left + d.right) / 2, cy = (d.top + d.bottom) / 2;
        POINT wide{}, narrow{};
        switch (side) {
        case TTabSide::Top: wide = {cx, d.top + inner}, narrow = {cx, d.bottom - 1}; break;
        case TTabSide::Bottom: wide = {cx, d.bottom - 1 - inner}, narrow = {cx, d.top}; break;
        case TTabSide::Left: wide = {d.left + inner, cy}, narrow = {d.right - 1, cy}; break;
        case TTabSide::Right: wide = {d.right - 1 - inner, cy}, narrow = {d.left, cy}; break;
        }
        EXPECT_EQ(pixels.At(wide.x, wide.y), test::Piece(TElement::TabsBorder, 1, TPiece::Top)) << "beside the tabs";
        EXPECT_EQ(pixels.At(narrow.x, narrow.y), test::Piece(TElement::TabsBorder, 1, TPiece::Bottom)) << "across";
    }

    using TTestColours = testskin::TTestColours;

    std::unique_ptr<TForm, ComponentFree> form;
    std::unique_ptr<TSkinData, ComponentFree> skinData{new TSkinData(nullptr)};
    std::unique_ptr<test::TSkinTestHost> host;
    HWND raw = nullptr;
    TPageControl* pages = nullptr;
};

const std::vector<std::string> kFourTabs = {"First", "Second", "Third", "Fourth"};

class TabSideTest : public TabSkinTest, public testing::WithParamInterface<TabCase> {
protected:
    HWND Make(const std::vector<std::string>& tabs) {
        static const DWORD styles[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE, TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
        switch (GetParam().host) {
        case TabHost::Raw: return MakeRaw(styles[static_cast<int>(GetParam().side)], tabs);
        case TabHost::PageControl: return MakePageControl(GetParam().side, tabs);
        case TabHost::TabControl: return MakeTabControl(GetParam().side, tabs);
        }
        return nullptr;
    }
};

TEST_P(TabSideTest, TabsShowTheFocusedFrameAndTheOthersTurnedForTheirSide) {
    const TTabSide side = GetParam().side;
    HWND h = Make(kFourTabs);
    TSkinTab* skin = Skin(h);
    EXPECT_EQ(skin->TabPosition, side);
    ASSERT_EQ(SendMessageA(h, TCM_GETCURFOCUS, 0, 0), 1);
    const TWindowPixels pixels(h);
    for (int i = 0; i < 4; ++i) CheckTab(pixels, h, side, i, i == 1 ? 2 : 1);
    CheckBorder(pixels, h, side, GetParam().host == TabHost::PageControl ? 2 : 4);
    EXPECT_EQ(skin->UpDownSkin, nullptr) << "no arrows while the tabs fit";
}

TEST_P(TabSideTest, ControlWithoutTabsShowsAFaceColouredStripAndTheBorder) {
    const TTabSide side = GetParam().side;
    HWND h = Make({});
    Skin(h);
    const TWindowPixels pixels(h);
    const RECT strip = Layout(h, side).Strip;
    EXPECT_EQ(pixels.Count(Face(), strip), (strip.right - strip.left) * (strip.bottom - strip.top));
    CheckBorder(pixels, h, side);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, TabSideTest,
    testing::Values(TabCase{TabHost::Raw, TTabSide::Top}, TabCase{TabHost::Raw, TTabSide::Bottom},
                    TabCase{TabHost::Raw, TTabSide::Left}, TabCase{TabHost::Raw, TTabSide::Right},
                    TabCase{TabHost::PageControl, TTabSide::Top}, TabCase{TabHost::PageControl, TTabSide::Bottom},
                    TabCase{TabHost::PageControl, TTabSide::Left}, TabCase{TabHost::PageControl, TTabSide::Right},
                    TabCase{TabHost::TabControl, TTabSide::Top}, TabCase{TabHost::TabControl, TTabSide::Bottom},
                    TabCase{TabHost::TabControl, TTabSide::Left}, TabCase{TabHost::TabControl, TTabSide::Right}),
    TabCaseName);

TEST_F(TabSkinTest, SkinChangeShowsTheNewSkinsTabsOnceTheImagesArePreparedAgain) {
    HWND h = MakeRaw(TCS_BOTTOM, kFourTabs);
    TSkinTab* skin = Skin(h);
    test::LoadTestSkin(*skinData, [] {
        testskin::TTestSkinOptions options;
        options.Variant = 1;
        return options;
    }());
    skin->PrepareTabBitmaps();
    Repaint(h);
    const TWindowPixels pixels(h);
    CheckTab(pixels, h, TTabSide::Bottom, 0, 1, 1);
    CheckTab(pixels, h, TTabSide::Bottom, 1, 2, 1);
}

TEST_F(TabSkinTest, SkinWithoutABorderImageKeepsTheOldImagesAndDrawsNoBorder) {
    HWND h = MakeRaw(0, kFourTabs);
    TSkinTab* skin = Skin(h);
    testskin::TTestSkinOptions options;
    options.Variant = 2;
    options.Omit = {TElement::TabsBorder};
    test::LoadTestSkin(*skinData, options);
    skin->PrepareTabBitmaps();
    Repaint(h);
    const TWindowPixels pixels(h);
    // The first skin's tabs, in the new skin's text colours.
    CheckTab(pixels, h, TTabSide::Top, 0, 1, 0, 2);
    CheckTab(pixels, h, TTabSide::Top, 1, 2, 0, 2);
    const RECT d = Layout(h, TTabSide::Top).Display;
    EXPECT_NE(pixels.At((d.left + d.right) / 2, d.top + 4), test::Piece(TElement::TabsBorder, 1, TPiece::Top));
}

TEST_F(TabSkinTest, ImagesNotPreparedDrawNothing) {
    HWND h = MakeRaw(0, kFourTabs);
    auto* skin = new TSkinTab(host.get());
    testskin::TTestSkinOptions options;
    options.Omit = {TElement::TabsBorder};  // nothing to prepare from
    test::LoadTestSkin(*skinData, options);
    skin->AttachHandle(h, skinData.get(), &host->ControlCanvas);
    host->ControlSkins.push_back(skin);
    Repaint(h);
    const TWindowPixels pixels(h);
    const RECT strip = Layout(h, TTabSide::Top).Strip;
    EXPECT_EQ(pixels.Count(Face(), strip), 0) << "the control as it paints itself";
}

TEST_F(TabSkinTest, OverflowingTabsGetSkinnedArrowsThatTheStripLeavesInView) {
    std::vector<std::string> tabs;
    for (int i = 0; i < 12; ++i) tabs.push_back("Tab number " + std::to_string(i));
    HWND h = MakeRaw(0, tabs);
    TSkinTab* skin = Skin(h);
    ASSERT_NE(skin->UpDownSkin, nullptr) << "the arrows got their skin";
    TSkinUpDown* arrowsSkin = skin->UpDownSkin;
    EXPECT_EQ(arrowsSkin->Owner(), host.get());
    HWND arrows = arrowsSkin->Handle;
    ASSERT_NE(arrows, nullptr);
    Repaint(h);

    RECT a, w;
    GetWindowRect(arrows, &a);
    GetWindowRect(h, &w);
    OffsetRect(&a, -w.left, -w.top);
    const TWindowPixels pixels(h);
    // The left arrow's face as the arrows' skin draws it, not the strip.
    EXPECT_EQ(pixels.At(a.left + 1, (a.top + a.bottom) / 2), test::Piece(TElement::UpDownHorz, 1, TPiece::Centre));
    CheckTab(pixels, h, TTabSide::Top, 0, 1);

    // Wide enough for every tab: the arrows hide and the strip runs over
    // their place; narrow again, the same arrows come back with their skin.
    SetWindowPos(h, nullptr, 0, 0, 1900, 200, SWP_NOMOVE | SWP_NOZORDER);
    Repaint(h);
    ASSERT_FALSE(IsWindowVisible(arrows));
    EXPECT_EQ(TWindowPixels(h).At(a.left + 1, 2), Face());
    SetWindowPos(h, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    Repaint(h);
    ASSERT_TRUE(IsWindowVisible(arrows));
    EXPECT_EQ(skin->UpDownSkin, arrowsSkin);
    EXPECT_EQ(TWindowPixels(h).At(a.left + 1, (a.top + a.bottom) / 2),
              test::Piece(TElement::UpDownHorz, 1, TPiece::Centre));

    // Scrolled to the last tab: those out of view come back empty and leave
    // no text behind.
    SendMessageA(h, TCM_SETCURSEL, 11, 0);
    Repaint(h);
    int firstShown = -1;
    for (int i = 0; i < 12 && firstShown < 0; ++i) {
        RECT item{};
        SendMessageA(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        if (item.right > item.left) firstShown = i;
    }
    ASSERT_GT(firstShown, 0);
    RECT shown{};
    SendMessageA(h, TCM_GETITEMRECT, firstShown, reinterpret_cast<LPARAM>(&shown));
    const TWindowPixels scrolled(h);
    const testskin::TTestColours colours = testskin::Colours();
    const RECT before{0, 0, shown.left, Layout(h, TTabSide::Top).Strip.bottom};
    EXPECT_EQ(scrolled.Count({colours.NormalColour2}, before) + scrolled.Count({colours.MouseOverColour2}, before), 0);
    CheckTab(scrolled, h, TTabSide::Top, firstShown, 1);
}

TEST_F(TabSkinTest, PageControlShowsOnlyTheActivePageOverItsPageAreaAndFollowsAClickedTab) {
    HWND h = MakePageControl(TTabSide::Top, kFourTabs);
    Skin(h);
    auto checkPages = [&](int active) {
        SCOPED_TRACE(active);
        RECT area = pages->DisplayRect();
        MapWindowPoints(h, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
        for (int i = 0; i < pages->PageCount(); ++i) {
            HWND page = pages->Pages(i)->Handle();
            EXPECT_EQ(IsWindowVisible(page) != FALSE, i == active) << "page " << i;
            RECT r;
            GetWindowRect(page, &r);
            if (i == active) EXPECT_TRUE(EqualRect(&r, &area)) << "the active page fills the page area";
        }
    };
    checkPages(1);

    RECT tab{};
    SendMessageA(h, TCM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&tab));
    MapWindowPoints(h, HWND_DESKTOP, reinterpret_cast<POINT*>(&tab), 2);
    std::atomic<bool> done{false};
    std::thread helper([&] {
        test::MoveMouse({(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
        Sleep(50);
        test::MouseButton(true);
        test::MouseButton(false);
        Sleep(150);
        done = true;
    });
    test::PumpUntil([&] { return done.load(); });
    helper.join();
    test::PumpMessages();
    EXPECT_EQ(pages->TabIndex(), 3);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(3));
    checkPages(3);
    // The skin follows the new focus.
    CheckTab(TWindowPixels(h), h, TTabSide::Top, 3, 2);
}

// ============================================================ tab set

class TabSetSkinTest : public TabSkinTest {
protected:
    TTabSet* MakeTabSet(const std::vector<std::string>& tabs, int width) {
        auto* set = new TTabSet(form.get());
        set->SetBounds(20, 230, width, 21);
        set->SetParent(form.get());
        for (const std::string& tab : tabs) set->Tabs().Add(tab);
        set->SetTabIndex(1);
        set->HandleNeeded();
        return set;
    }

    TSkinTab31* Skin31(TTabSet* set) {
        auto* skin = new TSkinTab31(host.get());
        skin->AttachControl(set, skinData.get(), false, &host->ControlCanvas);
        Repaint(set->Handle());
        return skin;
    }

    // Checks that tab `index` is drawn from x on: its flipped frame for its
    // state at the edge by the page (top) and the outer one (bottom), above
    // and below the text, and its text in its colour.
    void CheckTab31(const TWindowPixels& pixels, TTabSet* set, int index, int x, int variant = 0) {
        SCOPED_TRACE(testing::Message() << "tab " << index << " from " << x);
        const int state = index == set->TabIndex() ? 2 : 1;
        const int w = set->TabWidth(set->Tabs().Get(index)), h = pixels.Height();
        for (int y : {1, h - 2})
            EXPECT_EQ(pixels.At(x + w / 2, y), TabPixel(state, w, h, w / 2, y, true, variant)) << "row " << y;
        const testskin::TTestColours colours = testskin::Colours(variant);
        const TColour text{state == 2 ? colours.MouseOverColour2 : colours.NormalColour2};
        EXPECT_GT(pixels.Count(text, {x, 0, x + w, h}), 0) << "text in " << text;
    }

    int TextWidth(TTabSet* set, const std::string& text) { return set->TabWidth(text); }
};

TEST_F(TabSetSkinTest, TabsSitSideBySideAtTheirTextWidthsWithTheSelectedOneInFrame2) {
    TTabSet* set = MakeTabSet({"One", "Two", "Three"}, 300);
    ASSERT_FALSE(set->Scroller()->Visible());
    Skin31(set);
    const TWindowPixels pixels(set->Handle());
    int x = set->StartMargin;
    for (int i = 0; i < 3; ++i) {
        CheckTab31(pixels, set, i, x);
        x += set->TabWidth(set->Tabs().Get(i));
    }
    // The face colour after the last tab and before the first.
    EXPECT_EQ(pixels.At(x + 1, 10), Face());
    EXPECT_EQ(pixels.At(set->StartMargin - 1, 10), Face());
}

TEST_F(TabSetSkinTest, TabThatDoesNotFitIsLeftOutWhileALaterShorterOneIsDrawn) {
    // The scroller shows (not every tab fits) and takes 12 pixels off the end.
    const std::string longTab = "A tab with a caption far too long for the set";
    struct Case {
        int slack;  // room left after One and Two besides the scroller's
        bool twoDrawn;
    };
    for (const Case& c : {Case{2, true}, Case{-1, false}}) {
        SCOPED_TRACE(c.slack);
        auto probe = std::make_unique<TTabSet>(nullptr);
        const int one = probe->TabWidth("One"), two = probe->TabWidth("Two");
        const int width = 5 + one + two + TTabSet::ScrollerRoom + 5 + c.slack;
        TTabSet* set = MakeTabSet({"One", longTab, "Two"}, width);
        set->SetTabIndex(0);
        ASSERT_TRUE(set->Scroller()->Visible());
        Skin31(set);
        const TWindowPixels pixels(set->Handle());
        CheckTab31(pixels, set, 0, 5);
        if (c.twoDrawn)
            CheckTab31(pixels, set, 2, 5 + one);
        else
            EXPECT_EQ(pixels.At(5 + one + two / 2, 1), Face()) << "Two does not fit beside the scroller";
        host->DropControlSkins();
        TComponent::Free(set);
    }
}

TEST_F(TabSetSkinTest, ScrollerGetsAHorizontalArrowSkinAndMovesTheFirstTab) {
    TTabSet* set = MakeTabSet({"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta"}, 140);
    ASSERT_TRUE(set->Scroller()->Visible());
    TSkinTab31* skin = Skin31(set);
    ASSERT_NE(skin->UpDownSkin, nullptr);
    EXPECT_EQ(skin->Scroller, set->Scroller());
    EXPECT_EQ(skin->UpDownSkin->Horizontal, 1);
    EXPECT_EQ(skin->UpDownSkin->Handle, set->Scroller()->Handle());
    EXPECT_EQ(skin->UpDownSkin->Owner(), host.get());

    // A click on the right arrow brings the second tab to the front.
    RECT r;
    GetWindowRect(set->Scroller()->Handle(), &r);
    std::atomic<bool> done{false};
    std::thread helper([&] {
        test::MoveMouse({r.right - 3, (r.top + r.bottom) / 2});
        Sleep(50);
        test::MouseButton(true);
        Sleep(30);
        test::MouseButton(false);
        Sleep(100);
        done = true;
    });
    test::PumpUntil([&] { return done.load(); });
    helper.join();
    test::PumpMessages();
    ASSERT_EQ(set->FirstIndex(), 1);
    Repaint(set->Handle());
    CheckTab31(TWindowPixels(set->Handle()), set, 1, set->StartMargin);
}

TEST_F(TabSetSkinTest, SkinChangeShowsTheNewTabsOncePreparedAgain) {
    TTabSet* set = MakeTabSet({"One", "Two"}, 300);
    TSkinTab31* skin = Skin31(set);
    testskin::TTestSkinOptions options;
    options.Variant = 2;
    test::LoadTestSkin(*skinData, options);
    skin->PrepareTab31Bitmap();
    Repaint(set->Handle());
    const TWindowPixels pixels(set->Handle());
    CheckTab31(pixels, set, 0, set->StartMargin, 2);
    CheckTab31(pixels, set, 1, set->StartMargin + set->TabWidth("One"), 2);
    EXPECT_EQ(pixels.At(set->Width() - 2, 10), Face(2));
}

}  // namespace
}  // namespace pellix
