// The painter's skins as the engine reads them: the test skins and the
// program's own skins through the records parse and the system's bitmap loader.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "framework/FormLoader.h"
#include "skin/SkinRecords.h"
#include "tools/skinpaint/TestSkins.h"
#include "tools/skinpaint/ThemeSkins.h"

namespace pellix {
namespace {

using namespace testskin;

// As the skin data component loads an archive: opened, the ".ini" entry
// found, its text parsed with the archive's images.
void Parse(TSkinMembers& skin, const void* bytes, size_t size) {
    TMemoryStream archive;
    archive.WriteBuffer(bytes, static_cast<int64_t>(size));
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenSkinArchive(archive));
    TMemoryStream entryStream;
    std::string settingsName;
    reader.FindEntry(".ini", entryStream, settingsName);
    ASSERT_FALSE(settingsName.empty());
    const std::string text(entryStream.Memory(), entryStream.Memory() + entryStream.Size());
    ReadSkinIni(skin, text, reader, entryStream);
}

void Parse(TSkinMembers& skin, const std::vector<uint8_t>& packed) { Parse(skin, packed.data(), packed.size()); }

uint32_t PixelOf(const TBitmap& bitmap, int x, int y) {
    const int step = bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
    const uint8_t* p = bitmap.ScanLine(y) + step * x;
    return p[2] | p[1] << 8 | static_cast<uint32_t>(p[0]) << 16;
}

const TDataSkinSysButton* CaptionButton(const TSkinMembers& skin, const std::string& section) {
    for (const auto& button : skin.CaptionButtons)
        if (button->Name == UpperCase(section)) return button.get();
    return nullptr;
}

// The record holding an element's image, and the image.
struct TRecordImage {
    const TDataSkinObject* record;
    const TBitmap* image;
};

TRecordImage RecordImage(const TSkinMembers& s, TElement element) {
    auto own = [](const auto& record) { return TRecordImage{record.get(), record ? &record->Image : nullptr}; };
    auto second = [](const auto& record) {
        return TRecordImage{record.get(), record ? &record->SecondImage : nullptr};
    };
    switch (element) {
        case TElement::LeftBorder:
            return {&s.LeftBorder, &s.LeftBorder.Image};
        case TElement::RightBorder:
            return {&s.RightBorder, &s.RightBorder.Image};
        case TElement::TopBorder:
            return {&s.TopBorder, &s.TopBorder.Image};
        case TElement::BottomBorder:
            return {&s.BottomBorder, &s.BottomBorder.Image};
        case TElement::TextBack:
            return {&s.Title, &s.Title.Image};
        case TElement::MenuBar:
            return own(s.MenuBar);
        case TElement::CloseButton:
        case TElement::MaximiseButton:
        case TElement::RestoreButton:
        case TElement::MinimiseButton:
        case TElement::IconButton: {
            for (const TCaptionButtonKeys& keys : CaptionButtons())
                if (keys.Element == element) {
                    const TDataSkinSysButton* button = CaptionButton(s, keys.Section);
                    return {button, button ? &button->Image : nullptr};
                }
            return {nullptr, nullptr};
        }
        case TElement::MdiControls:
            return {nullptr, nullptr};  // cut into the three MDI buttons
        case TElement::Buttons:
            return {&s.Buttons, &s.Buttons.Image};
        case TElement::CheckButton:
            return {&s.Buttons, &s.Buttons.CheckButtonImage};
        case TElement::RadioButton:
            return {&s.Buttons, &s.Buttons.RadioButtonImage};
        case TElement::Tabs:
            return own(s.Tabs);
        case TElement::TabsBorder:
            return second(s.Tabs);
        case TElement::Progress:
            return own(s.Progress);
        case TElement::ProgressChunk:
            return second(s.Progress);
        case TElement::UpDownHorz:
            return own(s.UpDownHorz);
        case TElement::UpDownHorzGlyph:
            return second(s.UpDownHorz);
        case TElement::UpDownVert:
            return own(s.UpDownVert);
        case TElement::UpDownVertGlyph:
            return second(s.UpDownVert);
        case TElement::ComboButton:
            return own(s.ComboButton);
        case TElement::SunkEdge:
            return own(s.SunkEdge);
        case TElement::ExtraImages:
            return own(s.ExtraImages);
        case TElement::GroupBoxEdge:
            return own(s.GroupBoxEdge);
        case TElement::Toolbars:
            return own(s.Toolbars);
        case TElement::StatusBarEdges:
            return own(s.StatusBarEdges);
        case TElement::Headerbar:
            return own(s.Headerbar);
        case TElement::MenuItem:
            return own(s.MenuItem);
        case TElement::MenuBackground:
            return own(s.MenuBackground);
        case TElement::Scrollbar:
            return own(s.Scrollbar);
        case TElement::HorzScroll:
            return own(s.HorzScroll);
        case TElement::VertScroll:
            return own(s.VertScroll);
        case TElement::HorzScrollThumb:
            return own(s.HorzScrollThumb);
        case TElement::VertScrollThumb:
            return own(s.VertScrollThumb);
    }
    return {nullptr, nullptr};
}

// Counts the pixels of a bitmap that differ from expected(x, y).
int WrongPixels(const TBitmap& bitmap, const std::function<uint32_t(int, int)>& expected) {
    int wrong = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (PixelOf(bitmap, x, y) != expected(x, y)) ++wrong;
    return wrong;
}

class PaintedTestSkinTest : public testing::Test {
protected:
    TSkinMembers skin;
};

TEST_F(PaintedTestSkinTest, RecordImagesShowEveryPieceOfEveryFrame) {
    Parse(skin, TestSkin());
    for (int e = 0; e < ElementCount; ++e) {
        const auto element = static_cast<TElement>(e);
        if (element == TElement::MdiControls) continue;
        const TLayout& layout = Layout(element);
        SCOPED_TRACE(layout.EntryName);
        const TRecordImage found = RecordImage(skin, element);
        ASSERT_NE(found.image, nullptr);
        ASSERT_EQ(found.image->Width(), layout.FrameWidth * (layout.Stacked ? 1 : layout.Frames));
        ASSERT_EQ(found.image->Height(), layout.FrameHeight * (layout.Stacked ? layout.Frames : 1));
        EXPECT_EQ(WrongPixels(*found.image,
                              [&](int x, int y) {
                                  const int frame =
                                      1 + (layout.Stacked ? y / layout.FrameHeight : x / layout.FrameWidth);
                                  return FramePixel(element, frame, x % layout.FrameWidth, y % layout.FrameHeight);
                              }),
                  0);
    }
    // The MDI strip is cut into four frames for each of the three buttons.
    const TLayout& mdi = Layout(TElement::MdiControls);
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& button = *skin.CaptionButtons[skin.CaptionButtons.size() - 3 + i];
        ASSERT_EQ(button.Image.Width(), 4 * mdi.FrameWidth);
        EXPECT_EQ(button.Xcoord, (3 - i) * (mdi.FrameWidth + 4));
        EXPECT_EQ(WrongPixels(button.Image,
                              [&](int x, int y) {
                                  return FramePixel(TElement::MdiControls, 4 * i + x / mdi.FrameWidth + 1,
                                                    x % mdi.FrameWidth, y);
                              }),
                  0);
    }
}

TEST_F(PaintedTestSkinTest, RecordsCarryTheDocumentedKeys) {
    Parse(skin, TestSkin());
    // Borders: end sizes as the frame reads them, two frames, stretched, transparent.
    const std::pair<const TDataSkinBorder*, TElement> borders[] = {{&skin.LeftBorder, TElement::LeftBorder},
                                                                   {&skin.RightBorder, TElement::RightBorder},
                                                                   {&skin.TopBorder, TElement::TopBorder},
                                                                   {&skin.BottomBorder, TElement::BottomBorder}};
    for (const auto& [border, element] : borders) {
        SCOPED_TRACE(border->Name);
        const TMargins& m = Layout(element).Margins;
        EXPECT_EQ(border->LeftWidth, m.Left);
        EXPECT_EQ(border->TopHeight, m.Top);
        EXPECT_EQ(border->RightWidth, m.Right);
        EXPECT_EQ(border->BottomHeight, m.Bottom);
        EXPECT_EQ(border->FrameCount, 2);
        EXPECT_EQ(border->Tile, 1);
        EXPECT_EQ(border->Trans, 1);
    }
    EXPECT_EQ(skin.LeftBorder.Image.Width() / skin.LeftBorder.FrameCount, LeftWidth);
    EXPECT_EQ(skin.RightBorder.Image.Width() / skin.RightBorder.FrameCount, RightWidth);
    EXPECT_EQ(skin.TopBorder.Image.Height() / skin.TopBorder.FrameCount, CaptionHeight);
    EXPECT_EQ(skin.BottomBorder.Image.Height() / skin.BottomBorder.FrameCount, BottomHeight);

    for (const TCaptionButtonKeys& keys : CaptionButtons()) {
        SCOPED_TRACE(keys.Section);
        const TDataSkinSysButton* button = CaptionButton(skin, keys.Section);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Action, keys.Action);
        EXPECT_EQ(button->Align, keys.Align);
        EXPECT_EQ(button->Xcoord, keys.Xcoord);
        EXPECT_EQ(button->Ycoord, keys.Ycoord);
        EXPECT_EQ(button->Visibility, keys.Visibility);
        EXPECT_EQ(button->Visibility1, keys.Visibility1);
        EXPECT_EQ(button->FrameCount, keys.Frame);
        EXPECT_EQ(button->FrameCount, Layout(keys.Element).Frames);
    }
    EXPECT_EQ(skin.CaptionButtons.size(), CaptionButtons().size() + 3);

    // Every element: frame count of its reader, margins of its layout, the skin's text colours.
    const TTestColours colours = Colours();
    for (int e = 0; e < ElementCount; ++e) {
        const auto element = static_cast<TElement>(e);
        const TRecordImage found = RecordImage(skin, element);
        if (found.record == nullptr || found.image != &found.record->Image || element <= TElement::BottomBorder ||
            (element >= TElement::CloseButton && element <= TElement::IconButton))
            continue;
        const TLayout& layout = Layout(element);
        SCOPED_TRACE(layout.EntryName);
        EXPECT_EQ(found.record->FrameCount, layout.Frames);
        if (element == TElement::MenuBar || element == TElement::TextBack) continue;
        EXPECT_EQ(found.record->LeftWidth, layout.Margins.Left);
        EXPECT_EQ(found.record->TopHeight, layout.Margins.Top);
        EXPECT_EQ(found.record->RightWidth, layout.Margins.Right);
        EXPECT_EQ(found.record->BottomHeight, layout.Margins.Bottom);
        EXPECT_EQ(found.record->Trans, 1);
        EXPECT_EQ(found.record->Tile, 0);
        if (element == TElement::Progress) continue;
        EXPECT_EQ(static_cast<uint32_t>(found.record->NormalColour2), colours.NormalColour2);
        EXPECT_EQ(static_cast<uint32_t>(found.record->MouseOverColour2), colours.MouseOverColour2);
        EXPECT_EQ(static_cast<uint32_t>(found.record->PressedColour2), colours.PressedColour2);
    }
    ASSERT_NE(skin.MenuBar, nullptr);
    EXPECT_EQ(skin.MenuBar->LeftWidth, Layout(TElement::MenuBar).Margins.Left);
    EXPECT_EQ(skin.MenuBar->RightWidth, Layout(TElement::MenuBar).Margins.Right);
    EXPECT_EQ(skin.Buttons.CheckButtonFrame, Layout(TElement::CheckButton).Frames);
    EXPECT_EQ(skin.Buttons.RadioButtonFrame, Layout(TElement::RadioButton).Frames);

    EXPECT_EQ(skin.Title.LeftWidth, Title.TextShift);
    EXPECT_EQ(skin.Title.TopHeight, Title.TextShiftVert);
    EXPECT_EQ(skin.Title.RightWidth, Title.TextRightClip);
    EXPECT_EQ(skin.Title.TXTBackleft, Layout(TElement::TextBack).Margins.Left);
    EXPECT_EQ(skin.Title.TXTBackRight, Layout(TElement::TextBack).Margins.Right);
    EXPECT_EQ(skin.Title.FontHeight, Title.FontHeight);
    EXPECT_EQ(static_cast<uint32_t>(skin.Title.ActiveTextColour), colours.ActiveText);
    EXPECT_EQ(static_cast<uint32_t>(skin.Title.InactiveTextColour), colours.InactiveText);

    const std::pair<TColor, uint32_t> skinColours[] = {{skin.WindowTextColour, colours.WindowText},
                                                       {skin.TitleTextActiveColour, colours.TitleTextActive},
                                                       {skin.TitleTextNoActiveColour, colours.TitleTextNoActive},
                                                       {skin.ButtonFaceColour, colours.ButtonFace},
                                                       {skin.ButtonTextColour, colours.ButtonText},
                                                       {skin.ButtonHilightColour, colours.ButtonHilight},
                                                       {skin.ButtonlightColour, colours.Buttonlight},
                                                       {skin.ButtonShadowColour, colours.ButtonShadow},
                                                       {skin.ButtonDkShadowColour, colours.ButtonDkShadow},
                                                       {skin.HilightTextColour, colours.HilightText},
                                                       {skin.HilightColour, colours.Hilight},
                                                       {skin.MenubarColour, colours.Menubar},
                                                       {skin.MenuBarTextColour, colours.MenuBarText},
                                                       {skin.MenuTextColour, colours.MenuText},
                                                       {skin.MenuColour, colours.Menu},
                                                       {skin.ScrollbarColour, colours.Scrollbar}};
    for (size_t i = 0; i < std::size(skinColours); ++i)
        EXPECT_EQ(static_cast<uint32_t>(skinColours[i].first), skinColours[i].second) << "colour " << i;
}

struct VariantCase {
    const char* name;
    std::function<void(TTestSkinOptions&)> change;
    std::function<void(const TSkinMembers&)> check;
};

class PaintedTestSkinVariantTest : public testing::TestWithParam<VariantCase> {};

TEST_P(PaintedTestSkinVariantTest, ParsesAsTheOptionsSay) {
    TTestSkinOptions options;
    GetParam().change(options);
    TSkinMembers skin;
    Parse(skin, TestSkin(options));
    GetParam().check(skin);
}

INSTANTIATE_TEST_SUITE_P(
    Options, PaintedTestSkinVariantTest,
    testing::Values(
        VariantCase{"OtherColours", [](TTestSkinOptions& o) { o.Variant = 1; },
                    [](const TSkinMembers& s) {
                        EXPECT_EQ(static_cast<uint32_t>(s.ButtonFaceColour), Colours(1).ButtonFace);
                        EXPECT_NE(Colours(1).ButtonFace, Colours(0).ButtonFace);
                        const TLayout& layout = Layout(TElement::Buttons);
                        EXPECT_EQ(PixelOf(s.Buttons.Image, layout.FrameWidth / 2, layout.FrameHeight / 2),
                                  PieceColour(TElement::Buttons, 1, TPiece::Centre, 1));
                    }},
        VariantCase{"WithoutFrameKeys", [](TTestSkinOptions& o) { o.FrameKeys = false; },
                    [](const TSkinMembers& s) {
                        // 72 x 14 is wider than 3.8 to 1: six frames; the icon button loses its image.
                        EXPECT_EQ(CaptionButton(s, "Button.Close")->FrameCount, 6);
                        EXPECT_EQ(CaptionButton(s, "Button.Icon")->FrameCount, 3);
                        EXPECT_TRUE(CaptionButton(s, "Button.Icon")->Image.Empty());
                        EXPECT_EQ(s.Buttons.CheckButtonFrame, 4);
                        EXPECT_EQ(s.Buttons.RadioButtonFrame, 4);
                    }},
        VariantCase{"BorderFrameCountZero", [](TTestSkinOptions& o) { o.BorderFrameCount = 0; },
                    [](const TSkinMembers& s) {
                        EXPECT_EQ(s.LeftBorder.FrameCount, 0);
                        EXPECT_EQ(s.TopBorder.FrameCount, 0);
                        EXPECT_EQ(s.TopBorder.Image.Height(), 2 * CaptionHeight);
                    }},
        VariantCase{"TransOff", [](TTestSkinOptions& o) { o.Trans = false; },
                    [](const TSkinMembers& s) {
                        for (const TDataSkinBorder* b : {&s.LeftBorder, &s.RightBorder, &s.TopBorder, &s.BottomBorder})
                            EXPECT_EQ(b->Trans, 0) << b->Name;
                        EXPECT_EQ(s.Buttons.Trans, 0);
                        ASSERT_NE(s.MenuItem, nullptr);
                        EXPECT_EQ(s.MenuItem->Trans, 0);
                    }},
        VariantCase{"SectionsLeftOut",
                    [](TTestSkinOptions& o) {
                        o.Omit = {TElement::Tabs, TElement::MenuBar, TElement::CloseButton};
                    },
                    [](const TSkinMembers& s) {
                        EXPECT_EQ(s.Tabs, nullptr);
                        EXPECT_EQ(s.MenuBar, nullptr);
                        EXPECT_EQ(CaptionButton(s, "Button.Close"), nullptr);
                        EXPECT_NE(s.Progress, nullptr);
                        EXPECT_EQ(s.CaptionButtons.size(), CaptionButtons().size() - 1 + 3);
                    }},
        VariantCase{"UpperCaseExtension", [](TTestSkinOptions& o) { o.UpperCaseExtension = TElement::LeftBorder; },
                    [](const TSkinMembers& s) {
                        EXPECT_TRUE(s.LeftBorder.Image.Empty());
                        EXPECT_FALSE(s.RightBorder.Image.Empty());
                    }},
        VariantCase{"WithoutColourKeys", [](TTestSkinOptions& o) { o.ColourKeys = false; },
                    [](const TSkinMembers& s) {
                        EXPECT_EQ(s.ButtonFaceColour, clBtnFace);
                        EXPECT_EQ(s.Title.ActiveTextColour, TDataSkinTitle::NotSet);
                    }},
        VariantCase{"BordersOnly", [](TTestSkinOptions& o) { o = BordersOnly(); },
                    [](const TSkinMembers& s) {
                        for (int e = static_cast<int>(TElement::TextBack); e < ElementCount; ++e) {
                            const TRecordImage found = RecordImage(s, static_cast<TElement>(e));
                            EXPECT_TRUE(found.image == nullptr || found.image->Empty()) << e;
                        }
                        EXPECT_EQ(s.CaptionButtons.size(), 3u);
                        EXPECT_FALSE(s.BottomBorder.Image.Empty());
                    }}),
    [](const testing::TestParamInfo<VariantCase>& info) { return std::string(info.param.name); });

TEST(PaintedTestSkinErrorTest, AnEntryThatIsNoBitmapStopsTheParse) {
    TTestSkinOptions options;
    options.NotABitmap = TElement::Headerbar;
    TSkinMembers skin;
    EXPECT_THROW(Parse(skin, TestSkin(options)), EInvalidGraphic);
}

// The program's own skins, embedded from forms/data like every form picture.
TEST(BuiltinSkinRecordsTest, EachEmbeddedSkinParsesWithEveryElement) {
    const skinpaint::TThemeGeometry g;
    std::set<uint32_t> faces;
    for (const char* name : {"BLUE_SKN", "SILVER_SKN", "GREEN_SKN", "BUILTIN_SKN"}) {
        SCOPED_TRACE(name);
        const std::string_view bytes = ResourceBytes(name);
        ASSERT_FALSE(bytes.empty());
        TSkinMembers skin;
        Parse(skin, bytes.data(), bytes.size());
        for (int e = 0; e < ElementCount; ++e) {
            const auto element = static_cast<TElement>(e);
            if (element == TElement::MdiControls) continue;
            const TRecordImage found = RecordImage(skin, element);
            ASSERT_NE(found.image, nullptr) << e;
            EXPECT_FALSE(found.image->Empty()) << e;
        }
        ASSERT_EQ(skin.CaptionButtons.size(), 8u);
        for (size_t i = 5; i < 8; ++i) EXPECT_FALSE(skin.CaptionButtons[i]->Image.Empty());
        EXPECT_EQ(skin.LeftBorder.Image.Width() / skin.LeftBorder.FrameCount, g.Border);
        EXPECT_EQ(skin.RightBorder.Image.Width() / skin.RightBorder.FrameCount, g.Border);
        EXPECT_EQ(skin.TopBorder.Image.Height() / skin.TopBorder.FrameCount, g.Caption);
        EXPECT_EQ(skin.BottomBorder.Image.Height() / skin.BottomBorder.FrameCount, g.Border);
        EXPECT_EQ(PixelOf(skin.LeftBorder.Image, 0, 0), KeyColour);
        EXPECT_EQ(CaptionButton(skin, "Button.Close")->FrameCount, 4);
        EXPECT_EQ(CaptionButton(skin, "Button.Icon")->FrameCount, 1);
        EXPECT_EQ(skin.Buttons.CheckButtonFrame, 4);
        EXPECT_NE(skin.Title.ActiveTextColour, TDataSkinTitle::NotSet);
        EXPECT_NE(skin.FaceBrush, nullptr);
        faces.insert(static_cast<uint32_t>(skin.ButtonFaceColour));
    }
    EXPECT_EQ(faces.size(), 4u);
}

}  // namespace
}  // namespace pellix
