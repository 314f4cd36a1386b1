// Headers drawn from the test skin: every item and the filler right of the
// last one read back from the window, text placed where the test measures
// it, icons beside it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "skin/ImgUtil.h"
#include "skin/SkinTabs.h"
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

}  // namespace
}  // namespace pellix
