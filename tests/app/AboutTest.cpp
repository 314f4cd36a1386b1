// The about box as "&About" shows it: its description, the memory figures in
// the user's format, its picture and bevel on screen, and that it closes and
// goes away; and the bevel and transparent image it is drawn with.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <regex>

#include "app/About.h"
#include "app/ThumbnailsMain.h"
#include "framework/Buttons.h"
#include "framework/Classes.h"
#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "framework/Screen.h"
#include "framework/StdCtrls.h"
#include "tests/harness/Files.h"
#include "tests/harness/ModalDriver.h"
#include "tests/harness/Pump.h"
#include "tests/harness/Settings.h"

namespace pellix {
namespace {

// The user's thousands separator, changed for the life of the object.
class UserThousandSeparator {
public:
    explicit UserThousandSeparator(const char* separator) {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, old_, sizeof(old_));
        EXPECT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator));
    }
    ~UserThousandSeparator() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, old_); }
    UserThousandSeparator(const UserThousandSeparator&) = delete;
    UserThousandSeparator& operator=(const UserThousandSeparator&) = delete;

private:
    char old_[16] = {};
};

TEST(AboutFigures, PhysicalMemoryIsWholeKilobytesGroupedWithTheUsersSeparator) {
    struct Case {
        const char* separator;
        uint64_t bytes;
        const char* expected;
    } cases[] = {
        {",", 523760ull * 1024, "523,760 KB"},
        {",", 999ull * 1024, "999 KB"},
        {",", 1000ull * 1024, "1,000 KB"},
        {",", 24682356ull * 1024, "24,682,356 KB"},
        {",", 1536, "2 KB"},  // halves round up
        {",", 1535, "1 KB"},
        {",", 17179869184ull, "16,777,216 KB"},
        {".", 523760ull * 1024, "523.760 KB"},
        {"'", 1234567ull * 1024, "1'234'567 KB"},
        // Every digit of "#,###" is optional: nothing below half a kilobyte.
        {",", 0, " KB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.separator) + " " + std::to_string(c.bytes));
        UserThousandSeparator separator(c.separator);
        EXPECT_EQ(FormatPhysicalMemory(c.bytes), c.expected);
    }
}

TEST(AboutFigures, MemoryLoadIsThePercentageABlankAndAPercentSign) {
    EXPECT_EQ(FormatMemoryLoad(0), "0 %");
    EXPECT_EQ(FormatMemoryLoad(57), "57 %");
    EXPECT_EQ(FormatMemoryLoad(100), "100 %");
}

// A 32-bit copy of what a window's client area shows.
class ClientPixels {
public:
    explicit ClientPixels(HWND hwnd) {
        RECT r;
        GetClientRect(hwnd, &r);
        width_ = r.right;
        height_ = r.bottom;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC screen = GetDC(hwnd);
        bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, bitmap_);
        BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(hwnd, screen);
        GdiFlush();
        pixels_ = static_cast<const uint32_t*>(bits);
    }
    ~ClientPixels() { DeleteObject(bitmap_); }
    ClientPixels(const ClientPixels&) = delete;
    ClientPixels& operator=(const ClientPixels&) = delete;

    COLORREF At(int x, int y) const {
        uint32_t p = pixels_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_ = 0, height_ = 0;
    HBITMAP bitmap_ = nullptr;
    const uint32_t* pixels_ = nullptr;
};

// What the test saw of the about box while it was up.
struct AboutSeen {
    bool shown = false;
    std::string caption;
    RECT client{}, window{};
    bool mainDisabled = false;
    std::map<std::string, std::string> captions;
    std::map<std::string, RECT> bounds;
    std::string buttonClass, buttonCaption, buttonHint;
    int buttonModalResult = 0;
    bool buttonHintShown = false;
    bool pictureTransparent = false, pictureStretched = false;
    int pictureWidth = 0, pictureHeight = 0;
    COLORREF corner = 0, frame = 0, sheet = 0, bevelTop = 0, bevelBelow = 0;
    COLORREF face = 0;        // the box's own colour
    SIZE platformFrame{};     // what the platform's frame adds to the client area
};

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Application->MainForm(), nullptr) << "another test left a main form";
        work_.emplace("pellix-about");
        test::DeleteSettings();
        // The program's main window, so the box centres on it.
        main = Application->CreateForm<TThumbnailsForm>();
        main->Show();
        test::PumpMessages();
    }
    void TearDown() override {
        if (main != nullptr) TComponent::Free(main);
        test::PumpMessages();
        work_.reset();
        test::DeleteSettings();
    }

    // Chooses "&About"; look runs once the box is up, then close ends it.
    void ShowAbout(const std::function<void(HWND, TAboutBox&)>& look, WPARAM closeKey) {
        test::ModalDriver driver([&] {
            HWND hwnd = test::FindThreadWindow("TAboutBox");
            if (hwnd == nullptr) return false;
            auto* box = dynamic_cast<TAboutBox*>(TWinControl::FromHandle(hwnd));
            EXPECT_NE(box, nullptr);
            if (box == nullptr) return true;
            UpdateWindow(hwnd);
            look(hwnd, *box);
            // The key goes through the modal loop's own handling.
            PostMessageA(hwnd, WM_KEYDOWN, closeKey, 1);
            return true;
        });
        auto* item = dynamic_cast<TMenuItem*>(main->FindComponent("About1"));
        ASSERT_NE(item, nullptr);
        SendMessageA(main->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(driver.TimedOut()) << "the box did not close";
    }

    TThumbnailsForm* main = nullptr;

private:
    std::optional<test::WorkFolder> work_;
};

template <class T>
T* Get(TAboutBox& box, const char* name) {
    auto* c = dynamic_cast<T*>(box.FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

TEST_F(AboutBoxTest, ShowsItsDescriptionAndFiguresCentredOnTheMainWindowAndGoesOnOk) {
    const int formsBefore = Screen->FormCount();
    AboutSeen seen;
    ShowAbout(
        [&](HWND hwnd, TAboutBox& box) {
            seen.shown = true;
            seen.caption = test::TextOf(hwnd);
            GetClientRect(hwnd, &seen.client);
            GetWindowRect(hwnd, &seen.window);
            seen.mainDisabled = !IsWindowEnabled(main->Handle());
            seen.face = ColorToRGB(box.Color());
            seen.platformFrame = box.PlatformFrameSize();
            for (const char* name : {"Label1", "Label2", "Label5", "Label7", "Label6", "Label3", "PhysMem", "Label4",
                                     "FreeRes", "ProgramIcon", "Bevel1"}) {
                if (auto* c = Get<TControl>(box, name)) {
                    seen.captions[name] = c->Caption();
                    seen.bounds[name] = c->BoundsRect();
                }
            }
            if (auto* ok = Get<TBitBtn>(box, "ButtonOK")) {
                seen.buttonClass = test::ClassOf(ok->Handle());
                seen.buttonCaption = test::TextOf(ok->Handle());
                seen.buttonHint = ok->Hint();
                seen.buttonHintShown = ok->HintShown();
                seen.buttonModalResult = ok->ModalResult;
            }
            if (auto* icon = Get<TImage>(box, "ProgramIcon")) {
                seen.pictureStretched = icon->Stretch;
                seen.pictureTransparent = icon->Picture()->Graphic() != nullptr && icon->Picture()->Graphic()->Transparent();
                seen.pictureWidth = icon->Picture()->Width();
                seen.pictureHeight = icon->Picture()->Height();
            }
            // The 200-pixel picture drawn 160 pixels wide: a picture point p shows at 8 + p * 0.8.
            ClientPixels pixels(hwnd);
            seen.corner = pixels.At(8 + 1, 8 + 1);
            seen.frame = pixels.At(8 + 80, 8 + 6);
            seen.sheet = pixels.At(8 + 16, 8 + 80);
            if (auto* bevel = Get<TControl>(box, "Bevel1")) {
                seen.bevelTop = pixels.At(bevel->Left() + 100, bevel->Top());
                seen.bevelBelow = pixels.At(bevel->Left() + 100, bevel->Top() + 1);
            }
        },
        VK_RETURN);
    ASSERT_TRUE(seen.shown);

    EXPECT_EQ(seen.caption, "About Mirovo");
    EXPECT_EQ(seen.client.right, 465);
    EXPECT_EQ(seen.client.bottom, 304);
    EXPECT_TRUE(seen.mainDisabled) << "modal";
    RECT m;
    GetWindowRect(main->Handle(), &m);
    // Centred at its designed size, with the platform's frame; a skin's frame
    // of another size then keeps the top-left corner.
    EXPECT_NEAR(seen.window.left + (seen.client.right + seen.platformFrame.cx) / 2, (m.left + m.right) / 2, 1);
    EXPECT_NEAR(seen.window.top + (seen.client.bottom + seen.platformFrame.cy) / 2, (m.top + m.bottom) / 2, 1);

    EXPECT_EQ(seen.captions["Label1"], "Quendle Software");
    EXPECT_EQ(seen.captions["Label5"], "Aldric Fenmore");
    EXPECT_FALSE(seen.captions["Label2"].empty());
    EXPECT_EQ(seen.captions["Label7"], "Version: Mirovo V1.1");
    EXPECT_EQ(seen.captions["Label6"],
              "Mirovo automates the Velk gallery building process for webmasters. This product is intended to increase "
              "productivity in Velk building.");
    EXPECT_EQ(seen.captions["Label3"], "Memory Available to Windows:");
    EXPECT_EQ(seen.captions["Label4"], "Memory in Use:");

    // The figures of this machine, read the way a user reads them.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    std::smatch match;
    const std::string physMem = seen.captions["PhysMem"];
    ASSERT_TRUE(std::regex_match(physMem, match, std::regex(R"(^(\d{1,3}(?:,\d{3})*) KB$)"))) << physMem;
    std::string digits = match[1];
    digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
    EXPECT_EQ(std::stoull(digits), static_cast<uint64_t>(std::llround(status.ullTotalPhys / 1024.0)));
    const std::string freeRes = seen.captions["FreeRes"];
    ASSERT_TRUE(std::regex_match(freeRes, match, std::regex(R"(^(\d{1,3}) %$)"))) << freeRes;
    EXPECT_LE(std::stoi(match[1]), 100);

    // Everything inside the box; figures beside their labels, not over them.
    for (const auto& [name, r] : seen.bounds) {
        EXPECT_GE(r.left, 0) << name;
        EXPECT_LE(r.right, 465) << name;
        EXPECT_LE(r.bottom, 304) << name;
    }
    EXPECT_GT(seen.bounds["PhysMem"].left, seen.bounds["Label3"].right);
    EXPECT_GT(seen.bounds["FreeRes"].left, seen.bounds["Label4"].right);
    EXPECT_EQ(seen.bounds["Label3"].top, seen.bounds["PhysMem"].top);
    EXPECT_GT(seen.bounds["Label6"].bottom - seen.bounds["Label6"].top, seen.bounds["Label7"].bottom - seen.bounds["Label7"].top)
        << "the long text wraps onto more lines";
    EXPECT_EQ(seen.bounds["ProgramIcon"].left, 8);
    EXPECT_EQ(seen.bounds["ProgramIcon"].top, 8);
    EXPECT_EQ(seen.bounds["ProgramIcon"].right - seen.bounds["ProgramIcon"].left, 160);
    EXPECT_EQ(seen.pictureWidth, 200);
    EXPECT_EQ(seen.pictureHeight, 200);
    for (const char* name : {"Label1", "Label3", "Label6", "Bevel1"})
        EXPECT_GT(seen.bounds[name].left, seen.bounds["ProgramIcon"].right) << name << " lies right of the picture";

    EXPECT_EQ(seen.buttonClass, "TBitBtn");
    EXPECT_EQ(seen.buttonCaption, "OK");
    EXPECT_EQ(seen.buttonHint, "Close the About Box");
    EXPECT_TRUE(seen.buttonHintShown);
    EXPECT_EQ(seen.buttonModalResult, 1);

    // The picture's own corner colour is left out; its frame and sheet show.
    EXPECT_TRUE(seen.pictureStretched);
    EXPECT_TRUE(seen.pictureTransparent);
    EXPECT_EQ(seen.corner, seen.face);
    EXPECT_EQ(seen.frame, RGB(0x1F, 0x3A, 0x68));
    EXPECT_EQ(seen.sheet, RGB(0xF2, 0xEF, 0xE6));
    EXPECT_EQ(seen.bevelTop, GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(seen.bevelBelow, GetSysColor(COLOR_BTNHIGHLIGHT));

    // Gone once closed: no window, no form, no component of the main window.
    EXPECT_EQ(FindWindowA("TAboutBox", nullptr), nullptr);
    EXPECT_EQ(Screen->FormCount(), formsBefore);
    EXPECT_EQ(main->FindComponent("AboutBox"), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

TEST_F(AboutBoxTest, EveryAboutMakesANewBoxThatEscAlsoCloses) {
    std::vector<TAboutBox*> boxes;
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        ShowAbout([&](HWND, TAboutBox& box) { boxes.push_back(&box); }, key);
        EXPECT_EQ(FindWindowA("TAboutBox", nullptr), nullptr);
        EXPECT_EQ(main->FindComponent("AboutBox"), nullptr);
    }
    ASSERT_EQ(boxes.size(), 2u);
}

// ---------------------------------------------------- bevel and image

TEST(Bevel, DrawsItsShapeInTheEtchedColoursOfItsStyle) {
    struct Case {
        const char* name;
        TBevelShape shape;
        TBevelStyle style;
        // Rows 0, 1, the next to last and the last, in the middle column.
        int top, second, beforeLast, last;
    } cases[] = {
        {"box lowered", TBevelShape::bsBox, TBevelStyle::bsLowered, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT},
        {"box raised", TBevelShape::bsBox, TBevelStyle::bsRaised, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNSHADOW},
        {"top line", TBevelShape::bsTopLine, TBevelStyle::bsLowered, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNFACE},
        {"bottom line raised", TBevelShape::bsBottomLine, TBevelStyle::bsRaised, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
    };
    std::unique_ptr<TForm, ComponentFree> form(new TForm(nullptr));
    form->SetBounds(50, 50, 300, 200);
    auto* bevel = new TBevel(form.get());  // owned by the form
    bevel->SetParent(form.get());
    bevel->SetBounds(20, 30, 100, 10);
    form->Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bevel->Shape = c.shape;
        bevel->Style = c.style;
        bevel->Invalidate();
        UpdateWindow(form->Handle());
        ClientPixels pixels(form->Handle());
        EXPECT_EQ(pixels.At(70, 30), GetSysColor(c.top));
        EXPECT_EQ(pixels.At(70, 31), GetSysColor(c.second));
        EXPECT_EQ(pixels.At(70, 38), GetSysColor(c.beforeLast));
        EXPECT_EQ(pixels.At(70, 39), GetSysColor(c.last));
        if (c.shape == TBevelShape::bsBox) {
            EXPECT_EQ(pixels.At(20, 35), GetSysColor(c.top)) << "left side";
            EXPECT_EQ(pixels.At(119, 35), GetSysColor(c.last)) << "right side";
        }
    }
}

TEST(ImageTransparent, IsGivenToEveryBitmapItHoldsWhicheverIsSetFirst) {
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    for (bool transparentFirst : {true, false}) {
        SCOPED_TRACE(transparentFirst ? "transparent first" : "picture first");
        TImage image(nullptr);
        if (transparentFirst) image.SetTransparent(true);
        image.Picture()->SetGraphic(&bitmap);
        if (!transparentFirst) image.SetTransparent(true);
        EXPECT_TRUE(image.Picture()->Graphic()->Transparent());
        image.SetTransparent(false);
        EXPECT_FALSE(image.Picture()->Graphic()->Transparent());
    }
    EXPECT_FALSE(bitmap.Transparent()) << "the source bitmap keeps its own setting";
}

}  // namespace
}  // namespace pellix
