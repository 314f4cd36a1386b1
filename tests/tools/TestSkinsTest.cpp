#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "skin/SkinIni.h"
#include "skin/SkinRead.h"
#include "tests/tools/BmpPixels.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::testskin {
namespace {

using Bytes = std::vector<uint8_t>;

struct TOpenedSkin {
    TSkinReader Reader;
    bool Opened = false;

    explicit TOpenedSkin(const Bytes& packed) {
        TMemoryStream archive;
        FillStream(archive, packed);
        Opened = Reader.OpenSkinArchive(archive);
    }
    Bytes Entry(const std::string& name) const {
        TMemoryStream entry;
        Reader.ExtractEntry(name, entry);
        return Bytes(entry.Memory(), entry.Memory() + entry.Size());
    }
};

std::vector<TElement> AllElements() {
    std::vector<TElement> elements;
    for (int e = 0; e < ElementCount; ++e) elements.push_back(static_cast<TElement>(e));
    return elements;
}

TEST(TestSkinsTest, EveryImageHoldsItsFramesPieceByPiece) {
    for (int variant : {0, 2}) {
        TTestSkinOptions options;
        options.Variant = variant;
        const TOpenedSkin skin(TestSkin(options));
        ASSERT_TRUE(skin.Opened);
        for (TElement element : AllElements()) {
            const TLayout& layout = Layout(element);
            SCOPED_TRACE(layout.EntryName);
            const auto image = ReadBmp24(skin.Entry(layout.EntryName));
            ASSERT_TRUE(image);
            const int across = layout.Stacked ? 1 : layout.Frames, down = layout.Stacked ? layout.Frames : 1;
            ASSERT_EQ(image->Width, layout.FrameWidth * across);
            ASSERT_EQ(image->Height, layout.FrameHeight * down);
            int wrong = 0;
            for (int y = 0; y < image->Height; ++y) {
                for (int x = 0; x < image->Width; ++x) {
                    const int frame = 1 + (layout.Stacked ? y / layout.FrameHeight : x / layout.FrameWidth);
                    const uint32_t expected =
                        FramePixel(element, frame, x % layout.FrameWidth, y % layout.FrameHeight, variant);
                    if (image->At(x, y) != expected && ++wrong == 1)
                        ADD_FAILURE() << "first wrong pixel (" << x << ", " << y << ")";
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(TestSkinsTest, PieceColoursAreDistinctAndNeverASkinColourOrNearTheKey) {
    std::set<uint32_t> seen;
    size_t count = 0;
    for (int variant = 0; variant < 3; ++variant)
        for (TElement element : AllElements())
            for (int frame = 1; frame <= 24; ++frame)
                for (int piece = 0; piece < 9; ++piece) {
                    const uint32_t c = PieceColour(element, frame, static_cast<TPiece>(piece), variant);
                    seen.insert(c);
                    ++count;
                    const bool nearKey = (c & 0xFF) >= 254 && ((c >> 8) & 0xFF) <= 1 && (c >> 16) >= 254;
                    ASSERT_FALSE(nearKey) << std::hex << c;
                }
    EXPECT_EQ(seen.size(), count);

    std::set<uint32_t> skinColours;
    for (int variant = 0; variant < 3; ++variant) {
        const TTestColours c = Colours(variant);
        for (uint32_t value :
             {c.WindowText,    c.TitleTextActive, c.TitleTextNoActive, c.ButtonFace,     c.ButtonText,
              c.ButtonHilight, c.Buttonlight,     c.ButtonShadow,      c.ButtonDkShadow, c.HilightText,
              c.Hilight,       c.Menubar,         c.MenuBarText,       c.MenuText,       c.Menu,
              c.Scrollbar,     c.ActiveText,      c.InactiveText,      c.NormalColour2,  c.MouseOverColour2,
              c.PressedColour2}) {
            EXPECT_FALSE(seen.contains(value)) << std::hex << value;
            skinColours.insert(value);
        }
    }
    EXPECT_EQ(skinColours.size(), 3u * 21u);
}

TEST(TestSkinsTest, PieceAtFollowsTheMarginsAndDropsThemInPairs) {
    const TMargins m{4, 3, 5, 6};
    struct Case {
        int width, height, x, y;
        TPiece piece;
    };
    const Case cases[] = {
        {20, 18, 0, 0, TPiece::TopLeft},       {20, 18, 3, 2, TPiece::TopLeft},  {20, 18, 4, 2, TPiece::Top},
        {20, 18, 15, 0, TPiece::TopRight},     {20, 18, 14, 3, TPiece::Centre},  {20, 18, 0, 12, TPiece::BottomLeft},
        {20, 18, 19, 17, TPiece::BottomRight}, {20, 18, 10, 11, TPiece::Centre}, {20, 18, 10, 12, TPiece::Bottom},
        {100, 50, 96, 25, TPiece::Right},      {9, 18, 0, 0, TPiece::TopLeft},   {8, 18, 0, 0, TPiece::Top},
        {8, 8, 0, 0, TPiece::Centre},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PieceAt(m, c.width, c.height, c.x, c.y), c.piece)
            << c.width << " x " << c.height << " at (" << c.x << ", " << c.y << ")";
}

struct SettingsCase {
    const char* name;
    std::function<void(TTestSkinOptions&)> change;
    std::function<void(const TSkinIni&, const TOpenedSkin&)> check;
};

class TestSkinVariantsTest : public testing::TestWithParam<SettingsCase> {};

TEST_P(TestSkinVariantsTest, ChangeTheSettingsAndEntriesAsDocumented) {
    TTestSkinOptions options;
    GetParam().change(options);
    const TSkinIni ini(TestSkinSettings(options));
    const TOpenedSkin skin(TestSkin(options));
    ASSERT_TRUE(skin.Opened);
    GetParam().check(ini, skin);
}

constexpr int32_t kMissing = -12345;

bool HasSection(const TSkinIni& ini, const std::string& name) {
    for (const std::string& section : ini.SectionNames())
        if (section == name) return true;
    return false;
}

INSTANTIATE_TEST_SUITE_P(
    Options, TestSkinVariantsTest,
    testing::Values(SettingsCase{"Default", [](TTestSkinOptions&) {},
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_EQ(ini.ReadInteger("Button.Close", "frame", kMissing), 4);
                                     EXPECT_EQ(ini.ReadInteger("Button.Icon", "frame", kMissing), 1);
                                     EXPECT_EQ(ini.ReadInteger("Buttons", "CheckButtonFrame", kMissing), 4);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "LeftFrame", kMissing), 2);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "TopTrans", kMissing), 1);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "LeftTopHeight", kMissing),
                                               Layout(TElement::LeftBorder).Margins.Top);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "TopBotHeight", kMissing),
                                               Layout(TElement::TopBorder).Margins.Right);
                                     EXPECT_EQ(ini.ReadString("Tabs", "Border"), "tabsborder.bmp");
                                     EXPECT_EQ(ini.ReadInteger("Headerbar", "RightWidth", kMissing),
                                               Layout(TElement::Headerbar).Margins.Right);
                                     EXPECT_EQ(ReadColourTriple(ini.ReadString("Colours", "ButtonFace")),
                                               Colours(0).ButtonFace);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "ActiveTextG", kMissing),
                                               static_cast<int32_t>((Colours(0).ActiveText >> 8) & 0xFF));
                                     EXPECT_TRUE(ReadBmp24(skin.Entry("buttons.bmp")));
                                 }},
                    SettingsCase{"WithoutFrameKeys", [](TTestSkinOptions& o) { o.FrameKeys = false; },
                                 [](const TSkinIni& ini, const TOpenedSkin&) {
                                     for (const TCaptionButtonKeys& button : CaptionButtons())
                                         EXPECT_EQ(ini.ReadInteger(button.Section, "frame", kMissing), kMissing);
                                     EXPECT_EQ(ini.ReadInteger("Buttons", "CheckButtonFrame", kMissing), kMissing);
                                     EXPECT_EQ(ini.ReadInteger("Buttons", "RadioButtonFrame", kMissing), kMissing);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "LeftFrame", kMissing), 2);
                                 }},
                    SettingsCase{"TransOff", [](TTestSkinOptions& o) { o.Trans = false; },
                                 [](const TSkinIni& ini, const TOpenedSkin&) {
                                     for (const char* key : {"LeftTrans", "RightTrans", "TopTrans", "BottomTrans"})
                                         EXPECT_EQ(ini.ReadInteger("Personality", key, kMissing), 0) << key;
                                     EXPECT_EQ(ini.ReadInteger("Buttons", "Trans", kMissing), 0);
                                     EXPECT_EQ(ini.ReadInteger("MenuItem", "Trans", kMissing), 0);
                                 }},
                    SettingsCase{"OnlyTheBottomBorderTransparent",
                                 [](TTestSkinOptions& o) {
                                     o.Trans = false;
                                     o.OtherTrans = {TElement::BottomBorder};
                                 },
                                 [](const TSkinIni& ini, const TOpenedSkin&) {
                                     EXPECT_EQ(ini.ReadInteger("Personality", "BottomTrans", kMissing), 1);
                                     for (const char* key : {"LeftTrans", "RightTrans", "TopTrans"})
                                         EXPECT_EQ(ini.ReadInteger("Personality", key, kMissing), 0) << key;
                                 }},
                    SettingsCase{"CaptionKeysOfTheTest",
                                 [](TTestSkinOptions& o) {
                                     o.TitleKeys.TextAlignment = 1;
                                     o.CaptionButtonKeys[0].Xcoord = 30;
                                     o.CaptionButtonKeys[4].Visibility = 250;
                                 },
                                 [](const TSkinIni& ini, const TOpenedSkin&) {
                                     EXPECT_EQ(ini.ReadInteger("Personality", "TextAlignment", kMissing), 1);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "TextShift", kMissing), Title.TextShift);
                                     EXPECT_EQ(ini.ReadInteger("Button.Close", "Xcoord", kMissing), 30);
                                     EXPECT_EQ(ini.ReadInteger("Button.Close", "Align", kMissing), 1);
                                     EXPECT_EQ(ini.ReadInteger("Button.Icon", "Visibility", kMissing), 250);
                                 }},
                    SettingsCase{"BorderFrameCountZero", [](TTestSkinOptions& o) { o.BorderFrameCount = 0; },
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_EQ(ini.ReadInteger("Personality", "BottomFrame", kMissing), 0);
                                     const auto left = ReadBmp24(skin.Entry("left.bmp"));
                                     ASSERT_TRUE(left);
                                     EXPECT_EQ(left->Width, 2 * LeftWidth);
                                 }},
                    SettingsCase{"BorderFrameCountOne", [](TTestSkinOptions& o) { o.BorderFrameCount = 1; },
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_EQ(ini.ReadInteger("Personality", "TopFrame", kMissing), 1);
                                     const auto top = ReadBmp24(skin.Entry("top.bmp"));
                                     ASSERT_TRUE(top);
                                     EXPECT_EQ(top->Height, CaptionHeight);
                                 }},
                    SettingsCase{"OmittedOwnerTakesItsSection",
                                 [](TTestSkinOptions& o) {
                                     o.Omit = {TElement::Tabs, TElement::MinimiseButton};
                                 },
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_FALSE(HasSection(ini, "Tabs"));
                                     EXPECT_FALSE(HasSection(ini, "Button.Minimise"));
                                     EXPECT_TRUE(HasSection(ini, "Button.Close"));
                                     EXPECT_TRUE(skin.Entry("tabs.bmp").empty());
                                     EXPECT_TRUE(skin.Entry("tabsborder.bmp").empty());
                                 }},
                    SettingsCase{"OmittedSecondImageLeavesItsOwner",
                                 [](TTestSkinOptions& o) {
                                     o.Omit = {TElement::TabsBorder, TElement::LeftBorder};
                                 },
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_EQ(ini.ReadString("Tabs", "Image"), "tabs.bmp");
                                     EXPECT_EQ(ini.ReadString("Tabs", "Border"), "");
                                     EXPECT_EQ(ini.ReadString("Personality", "Left"), "");
                                     EXPECT_EQ(ini.ReadInteger("Personality", "LeftFrame", kMissing), 2);
                                     EXPECT_TRUE(skin.Entry("left.bmp").empty());
                                 }},
                    SettingsCase{"UpperCaseExtension",
                                 [](TTestSkinOptions& o) { o.UpperCaseExtension = TElement::Buttons; },
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_EQ(ini.ReadString("Buttons", "Bitmap"), "buttons.BMP");
                                     // The entry is there: only the spelling of the value keeps it out.
                                     EXPECT_TRUE(ReadBmp24(skin.Entry("buttons.bmp")));
                                 }},
                    SettingsCase{"NotABitmap", [](TTestSkinOptions& o) { o.NotABitmap = TElement::MenuItem; },
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_EQ(ini.ReadString("MenuItem", "Image"), "menuitem.bmp");
                                     const Bytes entry = skin.Entry("menuitem.bmp");
                                     EXPECT_FALSE(entry.empty());
                                     EXPECT_FALSE(ReadBmp24(entry));
                                 }},
                    SettingsCase{"WithoutColourKeys", [](TTestSkinOptions& o) { o.ColourKeys = false; },
                                 [](const TSkinIni& ini, const TOpenedSkin&) {
                                     EXPECT_FALSE(HasSection(ini, "Colours"));
                                     EXPECT_EQ(ini.ReadInteger("Personality", "ActiveTextR", kMissing), kMissing);
                                     EXPECT_EQ(ini.ReadInteger("Personality", "TextShift", kMissing), Title.TextShift);
                                 }},
                    SettingsCase{"BordersOnly", [](TTestSkinOptions& o) { o = BordersOnly(); },
                                 [](const TSkinIni& ini, const TOpenedSkin& skin) {
                                     EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"Personality"});
                                     EXPECT_EQ(ini.ReadString("Personality", "Bottom"), "bottom.bmp");
                                     EXPECT_EQ(ini.ReadString("Personality", "TextBack"), "");
                                     EXPECT_EQ(ini.ReadString("Personality", "TextShift"), "");
                                     EXPECT_EQ(ini.ReadString("Personality", "menuBar"), "");
                                     EXPECT_EQ(skin.Reader.EntryCount(), 5);
                                 }}),
    [](const testing::TestParamInfo<SettingsCase>& info) { return std::string(info.param.name); });

TEST(TestSkinsTest, HandMadeContainersTheWriterWouldRefuse) {
    std::vector<std::string> messages;
    const TSkinMessageHook previous = SetSkinMessageHook([&](const std::string& text) { messages.push_back(text); });
    const TOpenedSkin older(WrongMagicSkin());
    SetSkinMessageHook(previous);
    EXPECT_FALSE(older.Opened);
    EXPECT_EQ(older.Reader.Header().ArchiveMagic, 10000);
    EXPECT_EQ(messages.size(), 1u);

    const TOpenedSkin noSettings(SkinWithoutSettings());
    ASSERT_TRUE(noSettings.Opened);
    EXPECT_EQ(noSettings.Reader.EntryCount(), ElementCount);
    TMemoryStream settings;
    std::string name = "none";
    noSettings.Reader.FindEntry(".ini", settings, name);
    EXPECT_EQ(settings.Size(), 0);
    EXPECT_EQ(name, "none");
    EXPECT_TRUE(ReadBmp24(noSettings.Entry("check.bmp")));
}

}  // namespace
}  // namespace pellix::testskin
