#include "skin/SkinRecords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/skinpack/SkinArchiveWriter.h"

namespace pellix {
namespace {

using Bytes = std::vector<uint8_t>;

// A 24-bit Windows bitmap file painted pixel by pixel.
Bytes BmpFile(int width, int height, const std::function<COLORREF(int x, int y)>& colour) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

// Images tell each other apart by their size.
Bytes BmpFile(int width, int height) {
    return BmpFile(width, height, [](int, int) { return RGB(255, 0, 255); });
}

TColor Rgb(int red, int green, int blue) { return static_cast<TColor>(RGB(red, green, blue)); }

COLORREF PixelOf(const TBitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

struct Size {
    int width, height;
    bool operator==(const Size&) const = default;
};
std::ostream& operator<<(std::ostream& os, Size s) { return os << s.width << " x " << s.height; }
Size SizeOf(const TBitmap& bitmap) { return {bitmap.Width(), bitmap.Height()}; }

COLORREF BrushColour(const TBrushHandle& brush) {
    LOGBRUSH info{};
    EXPECT_EQ(GetObjectA(brush.get(), sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID));
    return info.lbColor;
}

// Parses the way the skin data component loads an archive: packed with the
// settings text and images, opened, the ".ini" entry found, then read.
class ReadSkinIniTest : public testing::Test {
protected:
    void Parse(const std::string& settings, const std::vector<TSkinArchiveEntry>& images = {}) {
        std::vector<TSkinArchiveEntry> entries = images;
        entries.push_back({"skin.ini", Bytes(settings.begin(), settings.end())});
        const Bytes packed = PackSkinArchive(entries);
        TMemoryStream archive;
        archive.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
        TSkinReader reader;
        ASSERT_TRUE(reader.OpenSkinArchive(archive));
        TMemoryStream entryStream;
        std::string iniName;
        reader.FindEntry(".ini", entryStream, iniName);
        ASSERT_EQ(iniName, "skin.ini");
        const std::string text(entryStream.Memory(), entryStream.Memory() + entryStream.Size());
        ReadSkinIni(skin, text, reader, entryStream);
    }

    std::vector<const TDataSkinObject*> OptionalElements() const {
        return {skin.Tabs.get(),          skin.Progress.get(),        skin.UpDownHorz.get(),
                skin.UpDownVert.get(),    skin.ComboButton.get(),     skin.SunkEdge.get(),
                skin.ExtraImages.get(),   skin.GroupBoxEdge.get(),    skin.Toolbars.get(),
                skin.StatusBarEdges.get(), skin.Headerbar.get(),      skin.MenuBar.get(),
                skin.MenuItem.get(),      skin.MenuBackground.get(),  skin.Scrollbar.get(),
                skin.HorzScroll.get(),    skin.VertScroll.get(),      skin.HorzScrollThumb.get(),
                skin.VertScrollThumb.get()};
    }

    void ExpectOnlyMdiButtons() const {
        ASSERT_EQ(skin.CaptionButtons.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            const TDataSkinSysButton& b = *skin.CaptionButtons[static_cast<size_t>(i)];
            EXPECT_EQ(b.Action, 7 + i);
            EXPECT_EQ(b.Align, 100);
            EXPECT_EQ(b.Visibility, 100);
            EXPECT_EQ(b.Visibility1, 100);
            EXPECT_EQ(b.FrameCount, 4);
            EXPECT_EQ(b.CombineOp, 0);
            EXPECT_EQ(b.Xcoord, 0);
            EXPECT_TRUE(b.Image.Empty());
        }
    }

    TSkinMembers skin;
};

TEST_F(ReadSkinIniTest, BorderKeysAloneGiveDefaultsEverywhereElse) {
    Parse(
        "[Personality]\n"
        "Left=left.bmp\nRight=right.bmp\nTop=top.bmp\nBottom=bottom.bmp\n",
        {{"left.bmp", BmpFile(4, 30)},
         {"right.bmp", BmpFile(5, 30)},
         {"top.bmp", BmpFile(40, 6)},
         {"bottom.bmp", BmpFile(40, 7)}});

    EXPECT_EQ(SizeOf(skin.LeftBorder.Image), (Size{4, 30}));
    EXPECT_EQ(SizeOf(skin.RightBorder.Image), (Size{5, 30}));
    EXPECT_EQ(SizeOf(skin.TopBorder.Image), (Size{40, 6}));
    EXPECT_EQ(SizeOf(skin.BottomBorder.Image), (Size{40, 7}));
    for (const TDataSkinBorder* border : {&skin.LeftBorder, &skin.RightBorder, &skin.TopBorder, &skin.BottomBorder}) {
        SCOPED_TRACE(border->Name);
        EXPECT_EQ(border->FrameCount, 1);
        EXPECT_EQ(border->Tile, 1);
        EXPECT_EQ(border->Trans, 1);
        EXPECT_TRUE(border->SecondImage.Empty());
    }

    EXPECT_TRUE(skin.Title.Image.Empty());
    EXPECT_EQ(skin.Title.FontHeight, 14);
    EXPECT_EQ(skin.Title.FrameCount, 2);
    EXPECT_EQ(skin.Title.ActiveTextColour, clNone);
    EXPECT_EQ(skin.Title.InactiveTextColour, clNone);

    EXPECT_TRUE(skin.Buttons.Image.Empty());
    EXPECT_TRUE(skin.Buttons.CheckButtonImage.Empty());
    EXPECT_TRUE(skin.Buttons.RadioButtonImage.Empty());
    EXPECT_EQ(skin.Buttons.FrameCount, 5);
    EXPECT_EQ(skin.Buttons.CheckButtonFrame, 4);
    EXPECT_EQ(skin.Buttons.RadioButtonFrame, 4);
    EXPECT_EQ(skin.Buttons.NormalColour, -1);
    EXPECT_EQ(skin.Buttons.PressedColour, -1);
    EXPECT_EQ(skin.Buttons.MouseOverColour2, clBtnText);

    ExpectOnlyMdiButtons();
    for (const TDataSkinObject* element : OptionalElements()) EXPECT_EQ(element, nullptr);
    EXPECT_TRUE(skin.IconImage.Empty());

    EXPECT_EQ(skin.WindowTextColour, clWindowText);
    EXPECT_EQ(skin.TitleTextActiveColour, clCaptionText);
    EXPECT_EQ(skin.TitleTextNoActiveColour, SystemColor(COLOR_INACTIVECAPTIONTEXT));
    EXPECT_EQ(skin.ButtonFaceColour, clBtnFace);
    EXPECT_EQ(skin.ButtonTextColour, clBtnText);
    EXPECT_EQ(skin.ButtonHilightColour, clBtnHighlight);
    EXPECT_EQ(skin.ButtonlightColour, clBtnHighlight);
    EXPECT_EQ(skin.ButtonShadowColour, clBtnShadow);
    EXPECT_EQ(skin.ButtonDkShadowColour, clBtnShadow);
    EXPECT_EQ(skin.HilightTextColour, clHighlightText);
    EXPECT_EQ(skin.HilightColour, clHighlight);
    EXPECT_EQ(skin.MenubarColour, clBtnFace);
    EXPECT_EQ(skin.MenuBarTextColour, clMenuText);
    EXPECT_EQ(skin.MenuTextColour, clMenuText);
    EXPECT_EQ(skin.MenuColour, clMenu);
    EXPECT_EQ(skin.ScrollbarColour, SystemColor(COLOR_SCROLLBAR));
    // The system colour in force, not the near-black of an unresolved reference.
    EXPECT_EQ(BrushColour(skin.FaceBrush), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ReadSkinIniTest, BorderEndPiecesAreTopAndBottomForSidesAndLeftAndRightForTopAndBottom) {
    Parse(
        "[Personality]\n"
        "LeftTopHeight=11\nLeftBotHeight=12\nLeftFrame=2\nLeftStretch=0\nLeftTrans=0\n"
        "RightTopHeight=21\nRightBotHeight=22\nRightFrame=3\n"
        "TopTopHeight=31\nTopBotHeight=32\nTopStretch=5\n"
        "BottomTopHeight=41\nBottomBotHeight=42\nBottomTrans=$10\n");
    struct Expected {
        const TDataSkinBorder& border;
        int32_t left, top, right, bottom, frames, tile, trans;
    };
    const Expected cases[] = {
        {skin.LeftBorder, 0, 11, 0, 12, 2, 0, 0},
        {skin.RightBorder, 0, 21, 0, 22, 3, 1, 1},
        {skin.TopBorder, 31, 0, 32, 0, 1, 5, 1},
        {skin.BottomBorder, 41, 0, 42, 0, 1, 1, 16},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.border.Name);
        EXPECT_EQ(e.border.LeftWidth, e.left);
        EXPECT_EQ(e.border.TopHeight, e.top);
        EXPECT_EQ(e.border.RightWidth, e.right);
        EXPECT_EQ(e.border.BottomHeight, e.bottom);
        EXPECT_EQ(e.border.FrameCount, e.frames);
        EXPECT_EQ(e.border.Tile, e.tile);
        EXPECT_EQ(e.border.Trans, e.trans);
    }
}

TEST_F(ReadSkinIniTest, CaptionButtonSectionsAreThoseNamedButtonExceptTheControlSections) {
    Parse(
        "[Button1]\nAction=1\n"
        "[Buttons]\n"
        "[BUTTON.close]\nAction=2\n"
        "[Button.Radio]\n"
        "[MyButton]\n"
        "[button.checkbox]\n"
        "[buttonMin]\nAction=3\n"
        "[ButtonsExtra]\nAction=4\n");
    std::vector<std::string> names;
    for (const auto& button : skin.CaptionButtons) names.push_back(button->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"BUTTON1", "BUTTON.CLOSE", "BUTTONMIN", "BUTTONSEXTRA", "", "", ""}));
    ASSERT_EQ(skin.CaptionButtons.size(), 7u);
    EXPECT_EQ(skin.CaptionButtons[3]->Action, 4);
    EXPECT_EQ(skin.CaptionButtons[4]->Action, 7);
}

TEST_F(ReadSkinIniTest, CaptionButtonsReadTheirKeys) {
    Parse(
        "[BUTTON.full]\nAction=5\nAlign=1\nXcoord=-30\nYcoord=4\nVisibility=2\nVisibility1=3\nCombineOp=6\nframe=2\n"
        "[Button.bare]\n");
    ASSERT_EQ(skin.CaptionButtons.size(), 5u);
    const TDataSkinSysButton& full = *skin.CaptionButtons[0];
    EXPECT_EQ(full.Action, 5);
    EXPECT_EQ(full.Align, 1);
    EXPECT_EQ(full.Xcoord, -30);
    EXPECT_EQ(full.Ycoord, 4);
    EXPECT_EQ(full.Visibility, 2);
    EXPECT_EQ(full.Visibility1, 3);
    EXPECT_EQ(full.CombineOp, 6);
    EXPECT_EQ(full.FrameCount, 2);
    const TDataSkinSysButton& bare = *skin.CaptionButtons[1];
    EXPECT_EQ(bare.Action, 0);
    EXPECT_EQ(bare.Align, 0);
    EXPECT_EQ(bare.CombineOp, -1);
    EXPECT_EQ(bare.FrameCount, 6);
}

TEST_F(ReadSkinIniTest, CaptionButtonFrameCountFollowsImageShapeUnlessGiven) {
    struct Case {
        const char* keys;
        int32_t frames;
        Size image;
    };
    const Case cases[] = {
        {"ButtonImage=w60.bmp", 3, {60, 20}},
        {"ButtonImage=w120.bmp", 6, {120, 20}},
        {"ButtonImage=w76.bmp", 3, {76, 20}},  // exactly 3.8
        {"ButtonImage=w77.bmp", 6, {77, 20}},
        {"ButtonImage=w60.bmp\nAction=-1", 6, {60, 20}},
        {"ButtonImage=missing.bmp", 6, {0, 0}},
        {"ButtonImage=w120.bmp\nframe=2", 2, {120, 20}},
        {"ButtonImage=w60.bmp\nAction=-1\nframe=-3", -3, {60, 20}},
        // Icon buttons draw the window's icon, unless a frame count keeps the image.
        {"ButtonImage=w60.bmp\nAction=3", 3, {0, 0}},
        {"ButtonImage=w120.bmp\nAction=11", 6, {0, 0}},
        {"ButtonImage=w60.bmp\nAction=3\nframe=3", 3, {60, 20}},
    };
    std::string settings;
    for (size_t i = 0; i < std::size(cases); ++i)
        settings += "[Button" + std::to_string(i) + "]\n" + cases[i].keys + "\n";
    Parse(settings, {{"w60.bmp", BmpFile(60, 20)},
                     {"w76.bmp", BmpFile(76, 20)},
                     {"w77.bmp", BmpFile(77, 20)},
                     {"w120.bmp", BmpFile(120, 20)}});
    ASSERT_EQ(skin.CaptionButtons.size(), std::size(cases) + 3);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].keys);
        EXPECT_EQ(skin.CaptionButtons[i]->FrameCount, cases[i].frames);
        EXPECT_EQ(SizeOf(skin.CaptionButtons[i]->Image), cases[i].image);
    }
}

TEST_F(ReadSkinIniTest, MdiControlsStripIsCutIntoFourFramesForEachMdiButton) {
    const auto column = [](int x, int y) { return RGB(x, y * 20, 255 - x); };
    Parse("[Button.close]\nAction=2\nXcoord=77\n[MDICONTROLS]\nImage=mdi.bmp\n",
          {{"mdi.bmp", BmpFile(150, 9, column)}});
    ASSERT_EQ(skin.CaptionButtons.size(), 4u);
    EXPECT_EQ(skin.CaptionButtons[0]->Xcoord, 77);
    EXPECT_TRUE(skin.CaptionButtons[0]->Image.Empty());
    const int expectedX[] = {48, 32, 16};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TDataSkinSysButton& b = *skin.CaptionButtons[static_cast<size_t>(i) + 1];
        EXPECT_EQ(b.Action, 7 + i);
        EXPECT_EQ(b.Xcoord, expectedX[i]);
        ASSERT_EQ(SizeOf(b.Image), (Size{48, 9}));
        ASSERT_EQ(b.Image.PixelFormat(), TPixelFormat::pf24bit);
        for (int y : {0, 8})
            for (int x : {0, 1, 47}) EXPECT_EQ(PixelOf(b.Image, x, y), column(48 * i + x, y)) << x << "," << y;
    }
}

TEST_F(ReadSkinIniTest, MdiControlsNamingNoImageLeaveTheMdiButtonsBare) {
    Parse("[MDICONTROLS]\nImage=missing.bmp\n");
    ExpectOnlyMdiButtons();
}

TEST_F(ReadSkinIniTest, TileAboveOneIsDroppedOnlyInElementSections) {
    Parse(
        "[Toolbars]\nImage=e.bmp\nTile=2\n"
        "[Headerbar]\nImage=e.bmp\nTile=1\n"
        "[Scrollbar]\nImage=e.bmp\nTile=-1\n"
        "[Tabs]\nImage=e.bmp\nTile=7\n"
        "[Buttons]\nTile=2\n"
        "[Progress]\nBitmap=e.bmp\nTile=2\n"
        "[Personality]\nmenuBar=e.bmp\nTileMenu=3\n",
        {{"e.bmp", BmpFile(10, 10)}});
    ASSERT_NE(skin.Toolbars, nullptr);
    ASSERT_NE(skin.Headerbar, nullptr);
    ASSERT_NE(skin.Scrollbar, nullptr);
    ASSERT_NE(skin.Tabs, nullptr);
    ASSERT_NE(skin.Progress, nullptr);
    ASSERT_NE(skin.MenuBar, nullptr);
    EXPECT_EQ(skin.Toolbars->Tile, 0);
    EXPECT_EQ(skin.Headerbar->Tile, 1);
    EXPECT_EQ(skin.Scrollbar->Tile, -1);
    EXPECT_EQ(skin.Tabs->Tile, 0);
    EXPECT_EQ(skin.Buttons.Tile, 2);
    EXPECT_EQ(skin.Progress->Tile, 2);
    EXPECT_EQ(skin.MenuBar->Tile, 3);
}

TEST_F(ReadSkinIniTest, CheckAndRadioFrameCountsComeFromTheStripWhenNotGiven) {
    struct Case {
        Size image;
        const char* givenKey;  // appended to [Buttons] when not empty
        int32_t frames;
    };
    const Case cases[] = {
        {{64, 13}, "", 4},  {{160, 16}, "", 10}, {{30, 13}, "", 4},  {{130, 15}, "", 10},
        {{130, 16}, "", 8}, {{160, 16}, "=7", 7}, {{0, 0}, "", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image << " given '" << c.givenKey << "'");
        std::vector<TSkinArchiveEntry> images;
        if (c.image.width > 0) images.push_back({"strip.bmp", BmpFile(c.image.width, c.image.height)});
        std::string settings = "[Buttons]\nCheckButton=strip.bmp\nRadioButton=strip.bmp\n";
        if (*c.givenKey != '\0')
            settings += std::string("CheckButtonFrame") + c.givenKey + "\nRadioButtonFrame" + c.givenKey + "\n";
        Parse(settings, images);
        EXPECT_EQ(skin.Buttons.CheckButtonFrame, c.frames);
        EXPECT_EQ(skin.Buttons.RadioButtonFrame, c.frames);
    }
}

TEST_F(ReadSkinIniTest, ImageValuesNameEntriesByFileNameWithLowerCaseBmp) {
    struct Case {
        const char* value;
        bool loads;
    };
    const Case cases[] = {
        {"left.bmp", true},
        {"Left.bmp", true},
        {"skins\\Left.bmp", true},
        {"C:\\skins\\blue\\left.bmp", true},
        {"C:left.bmp", true},
        {"Left.BMP", false},
        {"left.Bmp", false},
        {"left", false},
        {"left.bmp.txt", false},
        {"skins/left.bmp", false},
        {"skins\\", false},
        {"missing.bmp", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Parse(std::string("[Personality]\nLeft=") + c.value + "\n", {{"left.bmp", BmpFile(3, 8)}});
        EXPECT_EQ(SizeOf(skin.LeftBorder.Image), c.loads ? (Size{3, 8}) : (Size{0, 0}));
    }
}

TEST_F(ReadSkinIniTest, ColoursComeFromTheirKeysWithMenubarFollowingButtonFace) {
    Parse(
        "[Colours]\n"
        "WindowText=1 0 0\nTitleTextActive=2 0 0\nTitleTextNoActive=3 0 0\nButtonFace=0 128 255\n"
        "ButtonText=5 0 0\nButtonHilight=6 0 0\nButtonlight=7 0 0\nButtonShadow=8 0 0\n"
        "ButtonDkShadow=9 0 0\nHilightText=10 0 0\nHilight=r11 g0 b0\nMenuBarText=12,0,0\n"
        "MenuText=13 0 0\nMenu=14 0 0\nScrollbar=15 0 0\n"
        "[Toolbars]\nImage=e.bmp\nNormalColour2=1 2 3\n",
        {{"e.bmp", BmpFile(10, 10)}});
    EXPECT_EQ(skin.WindowTextColour, 1);
    EXPECT_EQ(skin.TitleTextActiveColour, 2);
    EXPECT_EQ(skin.TitleTextNoActiveColour, 3);
    EXPECT_EQ(skin.ButtonFaceColour, Rgb(0, 128, 255));
    EXPECT_EQ(skin.ButtonTextColour, 5);
    EXPECT_EQ(skin.ButtonHilightColour, 6);
    EXPECT_EQ(skin.ButtonlightColour, 7);
    EXPECT_EQ(skin.ButtonShadowColour, 8);
    EXPECT_EQ(skin.ButtonDkShadowColour, 9);
    EXPECT_EQ(skin.HilightTextColour, 10);
    EXPECT_EQ(skin.HilightColour, 11);
    EXPECT_EQ(skin.MenubarColour, Rgb(0, 128, 255));
    EXPECT_EQ(skin.MenuBarTextColour, 12);
    EXPECT_EQ(skin.MenuTextColour, 13);
    EXPECT_EQ(skin.MenuColour, 14);
    EXPECT_EQ(skin.ScrollbarColour, 15);
    EXPECT_EQ(BrushColour(skin.FaceBrush), RGB(0, 128, 255));
    // Second text colours fall back on this skin's button text.
    ASSERT_NE(skin.Toolbars, nullptr);
    EXPECT_EQ(skin.Toolbars->NormalColour2, Rgb(1, 2, 3));
    EXPECT_EQ(skin.Toolbars->MouseOverColour2, 5);
    EXPECT_EQ(skin.Buttons.PressedColour2, 5);

    Parse("[Colours]\nButtonFace=\nMenubar=4 5 6\n");
    EXPECT_EQ(skin.ButtonFaceColour, clBtnFace);
    EXPECT_EQ(skin.MenubarColour, Rgb(4, 5, 6));
}

TEST_F(ReadSkinIniTest, TitleComesFromPersonalityAndFonts) {
    Parse(
        "[Personality]\n"
        "TextBack=back.bmp\nTextShift=3\nTextShiftVert=4\nTextRightClip=5\nTextAlignment=1\n"
        "Textbackground=2\nTXTBackleft=6\nTXTBackRight=7\n"
        "ActiveTextR=300\nActiveTextG=0x10\nActiveTextB=0\n"
        "InActiveTextR=1\nInActiveTextG=2\n"
        "[Fonts]\nFontHeight=18\n",
        {{"back.bmp", BmpFile(20, 24)}});
    const TDataSkinTitle& t = skin.Title;
    EXPECT_EQ(SizeOf(t.Image), (Size{20, 24}));
    EXPECT_EQ(t.LeftWidth, 3);
    EXPECT_EQ(t.TopHeight, 4);
    EXPECT_EQ(t.RightWidth, 5);
    EXPECT_EQ(t.BottomHeight, 0);
    EXPECT_EQ(t.TextAlignment, 1);
    EXPECT_EQ(t.Textbackground, 2);
    EXPECT_EQ(t.TXTBackleft, 6);
    EXPECT_EQ(t.TXTBackRight, 7);
    EXPECT_EQ(t.FontHeight, 18);
    EXPECT_EQ(t.Name, "Title");
    EXPECT_EQ(t.ActiveTextColour, Rgb(44, 16, 0));
    EXPECT_EQ(t.InactiveTextColour, clNone);

    Parse("[Personality]\nActiveTextR=1\nActiveTextG=-1\nActiveTextB=1\nInActiveTextR=0\nInActiveTextG=0\n"
          "InActiveTextB=0\n");
    EXPECT_EQ(skin.Title.ActiveTextColour, clNone);
    EXPECT_EQ(skin.Title.InactiveTextColour, 0);
}

TEST_F(ReadSkinIniTest, ElementsAreNamedAfterTheirSectionsWithTheirFrameCounts) {
    struct Expected {
        const char* section;
        std::function<const TDataSkinObject*(const TSkinMembers&)> member;
        int32_t frames;
    };
    const Expected cases[] = {
        {"GroupBoxEdge", [](auto& s) { return s.GroupBoxEdge.get(); }, 2},
        {"Toolbars", [](auto& s) { return s.Toolbars.get(); }, 5},
        {"Tabs", [](auto& s) { return s.Tabs.get(); }, 5},
        {"StatusBarEdges", [](auto& s) { return s.StatusBarEdges.get(); }, 3},
        {"ComboButton", [](auto& s) { return s.ComboButton.get(); }, 4},
        {"SunkEdge", [](auto& s) { return s.SunkEdge.get(); }, 4},
        {"ExtraImages", [](auto& s) { return s.ExtraImages.get(); }, 5},
        {"Headerbar", [](auto& s) { return s.Headerbar.get(); }, 5},
        {"MenuItem", [](auto& s) { return s.MenuItem.get(); }, 5},
        {"MenuBackground", [](auto& s) { return s.MenuBackground.get(); }, 1},
        {"Scrollbar", [](auto& s) { return s.Scrollbar.get(); }, 23},
        {"HorzScroll", [](auto& s) { return s.HorzScroll.get(); }, 4},
        {"VertScroll", [](auto& s) { return s.VertScroll.get(); }, 4},
        {"HorzScrollThumb", [](auto& s) { return s.HorzScrollThumb.get(); }, 7},
        {"VertScrollThumb", [](auto& s) { return s.VertScrollThumb.get(); }, 3},
        {"UpDown.Horz", [](auto& s) { return s.UpDownHorz.get(); }, 8},
        {"UpDown.Vert", [](auto& s) { return s.UpDownVert.get(); }, 8},
    };
    std::string settings = "[HorzScrollThumb]\nFrameCount=7\n";
    for (const Expected& e : cases) settings += std::string("[") + e.section + "]\nImage=e.bmp\n";
    Parse(settings, {{"e.bmp", BmpFile(12, 6)}});
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.section);
        const TDataSkinObject* element = e.member(skin);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->Name, e.section);
        EXPECT_EQ(element->FrameCount, e.frames);
        EXPECT_EQ(SizeOf(element->Image), (Size{12, 6}));
        EXPECT_EQ(element->NormalColour, -1);
        EXPECT_EQ(element->MouseOverColour, -1);
        EXPECT_EQ(element->PressedColour, -1);
        EXPECT_EQ(element->NormalColour2, clBtnText);
    }
    EXPECT_EQ(skin.Progress, nullptr);
    EXPECT_EQ(skin.MenuBar, nullptr);
}

TEST_F(ReadSkinIniTest, ElementsReadTheirKeysAndPairsTheirSecondImage) {
    Parse(
        "[ComboButton]\nImage=e.bmp\nStyle=2\nLeftWidth=1\nRightWidth=2\nTopHeight=3\nBottomHeight=4\n"
        "Trans=1\nNormalColour=$FF\nMouseOverColour=16\nPressedColour=17\nNormalColour2=9 9 9\n"
        "[Tabs]\nImage=e.bmp\nStyle=2\nBorder=second.bmp\nLeftWidth=5\n"
        "[UpDown.Horz]\nImage=e.bmp\nGlyphImage=second.bmp\n"
        "[UpDown.Vert]\nImage=e.bmp\nGlyphImage=\n"
        "[SunkEdge]\nImage=missing.bmp\n"
        "[ExtraImages]\nImage=\n",
        {{"e.bmp", BmpFile(12, 6)}, {"second.bmp", BmpFile(9, 3)}});
    ASSERT_NE(skin.ComboButton, nullptr);
    const TDataSkinObject& combo = *skin.ComboButton;
    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.LeftWidth, 1);
    EXPECT_EQ(combo.RightWidth, 2);
    EXPECT_EQ(combo.TopHeight, 3);
    EXPECT_EQ(combo.BottomHeight, 4);
    EXPECT_EQ(combo.Trans, 1);
    EXPECT_EQ(combo.NormalColour, 255);
    EXPECT_EQ(combo.MouseOverColour, 16);
    EXPECT_EQ(combo.PressedColour, 17);
    EXPECT_EQ(combo.NormalColour2, Rgb(9, 9, 9));

    ASSERT_NE(skin.Tabs, nullptr);
    EXPECT_EQ(skin.Tabs->Style, 0);  // not a key of paired elements
    EXPECT_EQ(skin.Tabs->LeftWidth, 5);
    EXPECT_EQ(SizeOf(skin.Tabs->SecondImage), (Size{9, 3}));
    ASSERT_NE(skin.UpDownHorz, nullptr);
    EXPECT_EQ(SizeOf(skin.UpDownHorz->SecondImage), (Size{9, 3}));
    ASSERT_NE(skin.UpDownVert, nullptr);
    EXPECT_TRUE(skin.UpDownVert->SecondImage.Empty());

    // An element is there when its section names an image, even one the archive lacks.
    ASSERT_NE(skin.SunkEdge, nullptr);
    EXPECT_TRUE(skin.SunkEdge->Image.Empty());
    EXPECT_EQ(skin.ExtraImages, nullptr);
}

TEST_F(ReadSkinIniTest, ProgressAndMenuBarReadTheirOwnKeys) {
    Parse(
        "[Progress]\nBitmap=bar.bmp\nChunk=chunk.bmp\nStyle=1\nLeftWidth=2\nRightWidth=3\nTopHeight=4\n"
        "BottomHeight=5\nTrans=1\nNormalColour=9\nNormalColour2=1 1 1\n"
        "[Personality]\nmenuBar=menu.bmp\n",
        {{"bar.bmp", BmpFile(30, 10)}, {"chunk.bmp", BmpFile(8, 10)}, {"menu.bmp", BmpFile(40, 20)}});
    ASSERT_NE(skin.Progress, nullptr);
    const TDataSkinBorder& progress = *skin.Progress;
    EXPECT_EQ(progress.Name, "Progress");
    EXPECT_EQ(SizeOf(progress.Image), (Size{30, 10}));
    EXPECT_EQ(SizeOf(progress.SecondImage), (Size{8, 10}));
    EXPECT_EQ(progress.Style, 1);
    EXPECT_EQ(progress.LeftWidth, 2);
    EXPECT_EQ(progress.RightWidth, 3);
    EXPECT_EQ(progress.TopHeight, 4);
    EXPECT_EQ(progress.BottomHeight, 5);
    EXPECT_EQ(progress.Trans, 1);
    EXPECT_EQ(progress.FrameCount, 2);
    EXPECT_EQ(progress.NormalColour, 0);  // no colour keys in this section
    EXPECT_EQ(progress.NormalColour2, 0);

    ASSERT_NE(skin.MenuBar, nullptr);
    const TDataSkinObject& menuBar = *skin.MenuBar;
    EXPECT_EQ(menuBar.Name, "Personality");
    EXPECT_EQ(SizeOf(menuBar.Image), (Size{40, 20}));
    EXPECT_EQ(menuBar.Tile, 0);
    EXPECT_EQ(menuBar.LeftWidth, 1);
    EXPECT_EQ(menuBar.RightWidth, 1);
    EXPECT_EQ(menuBar.FrameCount, 2);

    Parse("[Personality]\nmenuBar=menu.bmp\nTileMenu=1\nTileLeftMenu=6\nTileRightMenu=7\n[Progress]\nBitmap=\n",
          {{"menu.bmp", BmpFile(40, 20)}});
    EXPECT_EQ(skin.Progress, nullptr);
    ASSERT_NE(skin.MenuBar, nullptr);
    EXPECT_EQ(skin.MenuBar->Tile, 1);
    EXPECT_EQ(skin.MenuBar->LeftWidth, 6);
    EXPECT_EQ(skin.MenuBar->RightWidth, 7);
}

// Every member of the kind below is filled, so that a second parse shows
// what it replaces.
const char* const kFullSkin =
    "[Personality]\nLeft=a.bmp\nTextBack=a.bmp\nmenuBar=a.bmp\nActiveTextR=1\nActiveTextG=1\nActiveTextB=1\n"
    "[Colours]\nButtonFace=10 20 30\n"
    "[Button1]\nButtonImage=a.bmp\n"
    "[MDICONTROLS]\nImage=a.bmp\n"
    "[Buttons]\nBitmap=a.bmp\nCheckButton=a.bmp\n"
    "[Progress]\nBitmap=a.bmp\n"
    "[Toolbars]\nImage=a.bmp\n"
    "[UpDown.Vert]\nImage=a.bmp\n";

TEST_F(ReadSkinIniTest, AnotherSkinReplacesEveryMemberItDoesNotName) {
    Parse(kFullSkin, {{"a.bmp", BmpFile(24, 5)}});
    ASSERT_EQ(skin.CaptionButtons.size(), 4u);
    ASSERT_NE(skin.Toolbars, nullptr);

    Parse("[Personality]\nTop=b.bmp\n", {{"b.bmp", BmpFile(7, 7)}});
    EXPECT_TRUE(skin.LeftBorder.Image.Empty());
    EXPECT_EQ(SizeOf(skin.TopBorder.Image), (Size{7, 7}));
    EXPECT_TRUE(skin.Title.Image.Empty());
    EXPECT_EQ(skin.Title.ActiveTextColour, clNone);
    EXPECT_TRUE(skin.Buttons.Image.Empty());
    EXPECT_TRUE(skin.Buttons.CheckButtonImage.Empty());
    EXPECT_EQ(skin.ButtonFaceColour, clBtnFace);
    EXPECT_EQ(BrushColour(skin.FaceBrush), GetSysColor(COLOR_BTNFACE));
    ExpectOnlyMdiButtons();
    for (const TDataSkinObject* element : OptionalElements()) EXPECT_EQ(element, nullptr);
}

TEST_F(ReadSkinIniTest, EntryThatIsNotABitmapEndsTheParseBetweenNewAndOldMembers) {
    Parse(kFullSkin, {{"a.bmp", BmpFile(24, 5)}});
    const HBRUSH oldBrush = skin.FaceBrush.get();

    const std::string broken =
        "[Personality]\nLeft=b.bmp\nTextBack=b.bmp\n"
        "[Colours]\nButtonFace=1 2 3\n"
        "[Button1]\nButtonImage=b.bmp\n[Button2]\n"
        "[Buttons]\nBitmap=bad.bmp\n";
    const std::string notABitmap = "BM but nothing like a bitmap";
    EXPECT_THROW(Parse(broken, {{"b.bmp", BmpFile(6, 6)}, {"bad.bmp", Bytes(notABitmap.begin(), notABitmap.end())}}),
                 EInvalidGraphic);

    // Read before the broken entry: the new skin.
    EXPECT_EQ(SizeOf(skin.LeftBorder.Image), (Size{6, 6}));
    EXPECT_EQ(skin.ButtonFaceColour, Rgb(1, 2, 3));
    EXPECT_EQ(skin.CaptionButtons.size(), 5u);
    // From there on: the old one.
    EXPECT_EQ(SizeOf(skin.Title.Image), (Size{24, 5}));
    EXPECT_EQ(skin.Title.ActiveTextColour, Rgb(1, 1, 1));
    EXPECT_NE(skin.Progress, nullptr);
    EXPECT_NE(skin.Toolbars, nullptr);
    EXPECT_NE(skin.UpDownVert, nullptr);
    EXPECT_NE(skin.MenuBar, nullptr);
    EXPECT_EQ(skin.FaceBrush.get(), oldBrush);
    EXPECT_EQ(BrushColour(skin.FaceBrush), RGB(10, 20, 30));
}

}  // namespace
}  // namespace pellix
