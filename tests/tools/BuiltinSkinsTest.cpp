#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/SkinIni.h"
#include "skin/SkinRead.h"
#include "tests/tools/BmpPixels.h"
#include "tools/skinpaint/ThemeSkins.h"

namespace pellix::skinpaint {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kKey = 0xFF00FF;

std::string CommittedPath(const TSkinTheme& theme) {
    return std::string(PELLIX_SKIN_DATA_DIR) + "/" + theme.Name + ".skn";
}

TEST(BuiltinSkinsTest, CommittedArchivesAreWhatThePainterPaints) {
    ASSERT_EQ(BuiltinThemes().size(), 4u);
    for (const TSkinTheme& theme : BuiltinThemes()) {
        SCOPED_TRACE(theme.Name);
        const Bytes committed = ReadWholeFile(CommittedPath(theme));
        const Bytes painted = ThemeSkinArchive(theme);
        EXPECT_TRUE(committed == painted)
            << CommittedPath(theme) << " differs from the painter's skin (" << committed.size() << " against "
            << painted.size() << " bytes): regenerate it with build/native/skinpaint forms/data";
    }
}

TEST(BuiltinSkinsTest, PaintingTwiceGivesTheSameBytes) {
    const TSkinTheme& theme = BuiltinThemes().front();
    EXPECT_TRUE(ThemeSkinArchive(theme) == ThemeSkinArchive(theme));
}

// A committed archive opened with the reader, its settings text parsed.
class TCommittedSkin {
public:
    explicit TCommittedSkin(const TSkinTheme& theme) {
        TMemoryStream archive;
        archive.LoadFromFile(CommittedPath(theme));
        opened_ = reader_.OpenSkinArchive(archive);
        TMemoryStream settings;
        reader_.FindEntry(".ini", settings, settingsName_);
        ini_.emplace(std::string(settings.Memory(), settings.Memory() + settings.Size()));
    }

    bool Opened() const { return opened_; }
    const std::string& SettingsName() const { return settingsName_; }
    const TSkinIni& Ini() const { return *ini_; }
    int Int(const std::string& section, const std::string& key) const { return ini_->ReadInteger(section, key, -999); }
    // The bitmap the key names, when it is a 24-bit bitmap file in the archive.
    std::optional<TBmpPixels> Image(const std::string& section, const std::string& key) const {
        TMemoryStream entry;
        reader_.ExtractEntry(ini_->ReadString(section, key), entry);
        return ReadBmp24(Bytes(entry.Memory(), entry.Memory() + entry.Size()));
    }

private:
    TSkinReader reader_;
    bool opened_ = false;
    std::string settingsName_;
    std::optional<TSkinIni> ini_;
};

TEST(BuiltinSkinsTest, EveryArchiveHoldsEverySectionTheEngineReads) {
    const std::vector<std::string> sections{"Personality",
                                            "Fonts",
                                            "Colours",
                                            "Buttons",
                                            "Button.Close",
                                            "Button.Maximise",
                                            "Button.Restore",
                                            "Button.Minimise",
                                            "Button.Icon",
                                            "MDICONTROLS",
                                            "GroupBoxEdge",
                                            "Toolbars",
                                            "Tabs",
                                            "StatusBarEdges",
                                            "ComboButton",
                                            "SunkEdge",
                                            "ExtraImages",
                                            "Headerbar",
                                            "MenuItem",
                                            "MenuBackground",
                                            "Scrollbar",
                                            "HorzScroll",
                                            "VertScroll",
                                            "HorzScrollThumb",
                                            "VertScrollThumb",
                                            "Progress",
                                            "UpDown.Horz",
                                            "UpDown.Vert"};
    for (const TSkinTheme& theme : BuiltinThemes()) {
        SCOPED_TRACE(theme.Name);
        const TCommittedSkin skin(theme);
        ASSERT_TRUE(skin.Opened());
        EXPECT_EQ(skin.SettingsName(), ThemeSettingsName(theme));
        const std::vector<std::string>& present = skin.Ini().SectionNames();
        for (const std::string& section : sections)
            EXPECT_NE(std::find(present.begin(), present.end(), section), present.end()) << section;
        for (const char* key : {"WindowText", "TitleTextActive", "TitleTextNoActive", "ButtonFace", "ButtonText",
                                "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "HilightText",
                                "Hilight", "Menubar", "MenuBarText", "MenuText", "Menu", "Scrollbar"})
            EXPECT_NE(skin.Ini().ReadString("Colours", key), "") << key;
    }
}

struct ImageCase {
    const char* section;
    const char* key;
    int frames;
    bool stacked;
    int frameWidth, frameHeight;  // 0: any size
};

// Frame counts are the ones the engine reads the images with.
std::vector<ImageCase> ImageCases(const TThemeGeometry& g) {
    return {
        {"Personality", "Left", 2, false, g.Border, 0},
        {"Personality", "Right", 2, false, g.Border, 0},
        {"Personality", "Top", 2, true, 0, g.Caption},
        {"Personality", "Bottom", 2, true, 0, g.Border},
        {"Personality", "TextBack", 2, true, 0, g.Caption},
        {"Personality", "menuBar", 2, true, 0, 0},
        {"Button.Close", "ButtonImage", 4, false, g.CloseWidth, g.ButtonHeight},
        {"Button.Maximise", "ButtonImage", 4, false, g.BoxWidth, g.ButtonHeight},
        {"Button.Restore", "ButtonImage", 4, false, g.BoxWidth, g.ButtonHeight},
        {"Button.Minimise", "ButtonImage", 4, false, g.BoxWidth, g.ButtonHeight},
        {"Button.Icon", "ButtonImage", 1, false, 16, 16},
        {"MDICONTROLS", "Image", 12, false, 0, 0},
        {"Buttons", "Bitmap", 5, false, 0, 0},
        {"Buttons", "CheckButton", 4, false, 13, 13},
        {"Buttons", "RadioButton", 4, false, 13, 13},
        {"Tabs", "Image", 5, false, 0, 0},
        {"Tabs", "Border", 1, false, 0, 0},
        {"Progress", "Bitmap", 2, false, 0, 0},
        {"Progress", "Chunk", 1, false, 0, 0},
        {"UpDown.Horz", "Image", 8, false, 0, 0},
        {"UpDown.Horz", "GlyphImage", 8, false, 0, 0},
        {"UpDown.Vert", "Image", 8, false, 0, 0},
        {"UpDown.Vert", "GlyphImage", 8, false, 0, 0},
        {"ComboButton", "Image", 4, false, 0, 0},
        {"SunkEdge", "Image", 4, false, 0, 0},
        {"ExtraImages", "Image", 5, false, 0, 0},
        {"GroupBoxEdge", "Image", 2, false, 0, 0},
        {"Toolbars", "Image", 5, false, 0, 0},
        {"StatusBarEdges", "Image", 3, false, 0, 0},
        {"Headerbar", "Image", 5, false, 0, 0},
        {"MenuItem", "Image", 5, false, 0, 0},
        {"MenuBackground", "Image", 1, false, 0, 0},
        {"Scrollbar", "Image", 23, false, 0, 0},
        {"HorzScroll", "Image", 4, false, 0, 0},
        {"VertScroll", "Image", 4, false, 0, 0},
        {"HorzScrollThumb", "Image", 3, false, 0, 0},
        {"VertScrollThumb", "Image", 3, false, 0, 0},
    };
}

TEST(BuiltinSkinsTest, ImagesHoldWholeFramesThatTheirMarginsFit) {
    for (const TSkinTheme& theme : BuiltinThemes()) {
        const TCommittedSkin skin(theme);
        ASSERT_TRUE(skin.Opened());
        for (const ImageCase& c : ImageCases(theme.Geometry)) {
            SCOPED_TRACE(theme.Name + " [" + c.section + "] " + c.key);
            const auto image = skin.Image(c.section, c.key);
            ASSERT_TRUE(image);
            const int along = c.stacked ? image->Height : image->Width;
            ASSERT_EQ(along % c.frames, 0);
            const int fw = c.stacked ? image->Width : image->Width / c.frames;
            const int fh = c.stacked ? image->Height / c.frames : image->Height;
            if (c.frameWidth != 0) EXPECT_EQ(fw, c.frameWidth);
            if (c.frameHeight != 0) EXPECT_EQ(fh, c.frameHeight);
            if (std::string(c.key) == "Image" || std::string(c.key) == "Bitmap") {
                EXPECT_LE(skin.Int(c.section, "LeftWidth") + skin.Int(c.section, "RightWidth"), fw);
                EXPECT_LE(skin.Int(c.section, "TopHeight") + skin.Int(c.section, "BottomHeight"), fh);
            }
        }
        // The caption buttons' frame counts stand in the settings, not derived by the reader.
        for (const char* button : {"Button.Close", "Button.Maximise", "Button.Restore", "Button.Minimise"})
            EXPECT_EQ(skin.Int(button, "frame"), 4) << button;
        EXPECT_EQ(skin.Int("Button.Icon", "frame"), 1);
        EXPECT_EQ(skin.Int("Buttons", "CheckButtonFrame"), 4);
        EXPECT_EQ(skin.Int("Buttons", "RadioButtonFrame"), 4);
        // Border ends fit their frames, so the stretched middle is never empty.
        const auto left = skin.Image("Personality", "Left");
        const auto top = skin.Image("Personality", "Top");
        ASSERT_TRUE(left && top);
        EXPECT_LT(skin.Int("Personality", "LeftTopHeight") + skin.Int("Personality", "LeftBotHeight"), left->Height);
        EXPECT_EQ(skin.Int("Personality", "LeftTopHeight"), theme.Geometry.Caption);
        EXPECT_LT(skin.Int("Personality", "TopTopHeight") + skin.Int("Personality", "TopBotHeight"), top->Width);
        EXPECT_GE(skin.Int("Personality", "TopTopHeight") + theme.Geometry.Border, theme.Geometry.CornerRadius);
    }
}

TEST(BuiltinSkinsTest, OnlyTheWindowsTopCornersAreKeyed) {
    for (const TSkinTheme& theme : BuiltinThemes()) {
        SCOPED_TRACE(theme.Name);
        const TCommittedSkin skin(theme);
        const auto left = skin.Image("Personality", "Left");
        const auto right = skin.Image("Personality", "Right");
        const auto top = skin.Image("Personality", "Top");
        const auto bottom = skin.Image("Personality", "Bottom");
        ASSERT_TRUE(left && right && top && bottom);
        const TThemeGeometry& g = theme.Geometry;
        for (int frame = 0; frame < 2; ++frame) {
            EXPECT_EQ(left->At(frame * g.Border, 0), kKey);
            EXPECT_EQ(right->At(frame * g.Border + g.Border - 1, 0), kKey);
        }
        // Every keyed pixel lies in a rounded corner: in a frame's top rows and its end pieces.
        auto keysInCorners = [&](const TBmpPixels& image, int frameWidth, int frameHeight, int leftEnd, int rightEnd) {
            for (int y = 0; y < image.Height; ++y)
                for (int x = 0; x < image.Width; ++x) {
                    if (image.At(x, y) != kKey) continue;
                    const int fx = x % frameWidth;
                    EXPECT_LT(y % frameHeight, g.CornerRadius) << x << ", " << y;
                    EXPECT_TRUE(fx < leftEnd || fx >= frameWidth - rightEnd) << x << ", " << y;
                }
        };
        keysInCorners(*left, g.Border, left->Height, g.Border, 0);
        keysInCorners(*right, g.Border, right->Height, 0, g.Border);
        keysInCorners(*top, top->Width, g.Caption, skin.Int("Personality", "TopTopHeight"),
                      skin.Int("Personality", "TopBotHeight"));
        auto keyed = [](const TBmpPixels& image) {
            return static_cast<int>(std::count(image.Pixels.begin(), image.Pixels.end(), kKey));
        };
        EXPECT_EQ(keyed(*bottom), 0);
        // The right border mirrors the left one.
        EXPECT_EQ(keyed(*right), keyed(*left));
        for (int y = g.Caption / 2; y < g.Caption; ++y) EXPECT_NE(top->At(top->Width / 2, y), kKey);
    }
}

TEST(BuiltinSkinsTest, CaptionButtonsSitInTheCaptionClearOfTheTextAndEachOther) {
    for (const TSkinTheme& theme : BuiltinThemes()) {
        SCOPED_TRACE(theme.Name);
        const TCommittedSkin skin(theme);
        const TThemeGeometry& g = theme.Geometry;
        struct Placed {
            std::string section;
            int left, right;  // distances from the window's right edge
        };
        std::vector<Placed> placed;
        for (const char* section : {"Button.Close", "Button.Maximise", "Button.Restore", "Button.Minimise"}) {
            const auto image = skin.Image(section, "ButtonImage");
            ASSERT_TRUE(image);
            EXPECT_EQ(skin.Int(section, "Align"), 1);
            const int x = skin.Int(section, "Xcoord"), y = skin.Int(section, "Ycoord");
            EXPECT_LE(y + image->Height, g.Caption) << section;
            placed.push_back({section, x, x - image->Width / 4});
            EXPECT_GE(x - image->Width / 4, g.Border) << section;
            // The caption text stops before every button.
            EXPECT_GE(skin.Int("Personality", "TextRightClip") + g.Border, x) << section;
        }
        // Maximise and restore share a place: only one of them shows at a time.
        EXPECT_EQ(placed[1].left, placed[2].left);
        EXPECT_NE(skin.Int("Button.Maximise", "Visibility1"), skin.Int("Button.Restore", "Visibility1"));
        for (size_t i : {0u, 1u}) EXPECT_LE(placed[i].left, placed[i == 0 ? 1 : 3].right) << placed[i].section;
        // The window icon comes before the caption text.
        const auto icon = skin.Image("Button.Icon", "ButtonImage");
        ASSERT_TRUE(icon);
        EXPECT_EQ(skin.Int("Button.Icon", "Action"), 3);
        EXPECT_LE(skin.Int("Button.Icon", "Xcoord") + icon->Width, g.Border + skin.Int("Personality", "TextShift"));
    }
}

TEST(BuiltinSkinsTest, BuiltinSkinHasAFaceColourOfItsOwn) {
    std::set<int32_t> faces;
    for (const TSkinTheme& theme : BuiltinThemes())
        faces.insert(ReadColourTriple(TCommittedSkin(theme).Ini().ReadString("Colours", "ButtonFace")));
    EXPECT_EQ(faces.size(), BuiltinThemes().size());
    EXPECT_EQ(BuiltinThemes().back().Name, "Builtin");
}

}  // namespace
}  // namespace pellix::skinpaint
