#include "skin/SkinRecords.h"

#include <algorithm>

#include "skin/SkinIni.h"

namespace pellix {

namespace {

constexpr const char* kPersonality = "Personality";

constexpr int32_t LowBytesToRgb(int32_t red, int32_t green, int32_t blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

// Frames of a check or radio strip when the settings text gives none.
int32_t StripFrameCount(const TBitmap& image) {
    return std::max(image.Width() / (image.Height() < 16 ? 13 : 16), 4);
}

// A 24-bit (or, from a 32-bit source, 32-bit) copy of the columns x to
// x + width of source, so that palette images keep their exact colours.
void CopyColumns(TBitmap& source, int x, int width, TBitmap& target) {
    target.FreeImage();
    target.SetPixelFormat(source.PixelFormat() == TPixelFormat::pf32bit ? TPixelFormat::pf32bit
                                                                          : TPixelFormat::pf24bit);
    target.SetSize(width, source.Height());
    if (width == 0) return;
    target.Canvas()->CopyRect({0, 0, width, source.Height()}, *source.Canvas(), {x, 0, x + width, source.Height()});
}

template <class Element>
void SetFrameCount(const std::unique_ptr<Element>& element, int32_t count) {
    if (element) element->FrameCount = count;
}

// One parse: the settings text, the archive its images come from, and the
// members it fills. The colours come before the elements, whose second text
// colours fall back on the button text.
class TSkinIniParse {
public:
    TSkinIniParse(TSkinMembers& skin, std::string_view text, const TSkinReader& reader, TMemoryStream& entryStream)
        : skin_(skin), ini_(text), reader_(reader), entryStream_(entryStream) {}

    void Run() {
        ReadBorders();
        ReadColours();
        ReadCaptionButtons();
        ReadMdiControls();
        ReadButtons();
        ReadTitle();
        ReadProgress();
        ReadMenuBar();
        ReadElements();
        SetFrameCounts();
        // Resolved first: a brush of a system-colour reference paints near-black.
        skin_.FaceBrush.reset(CreateSolidBrush(ColorToRGB(skin_.ButtonFaceColour)));
    }

private:
    std::string Text(std::string_view section, std::string_view key) const { return ini_.ReadString(section, key); }
    int32_t Int(std::string_view section, std::string_view key, int32_t fallback) const {
        return ini_.ReadInteger(section, key, fallback);
    }
    void ReadImage(TBitmap& bitmap, std::string_view section, std::string_view key) {
        LoadSkinBitmap(bitmap, Text(section, key));
    }

    // Only a file name ending in lower-case ".bmp" names an entry; any folder
    // part of the value is dropped.
    void LoadSkinBitmap(TBitmap& bitmap, std::string_view value) {
        const size_t folderEnd = value.find_last_of("\\:");
        const std::string_view name = folderEnd == std::string_view::npos ? value : value.substr(folderEnd + 1);
        const size_t dot = name.rfind('.');
        if (dot == std::string_view::npos || name.substr(dot) != ".bmp") {
            bitmap.FreeImage();
            return;
        }
        reader_.ExtractEntry(std::string(name), entryStream_);
        if (entryStream_.Size() == 0) {
            bitmap.FreeImage();
            return;
        }
        entryStream_.SetPosition(0);
        bitmap.LoadFromStream(entryStream_);
    }

    void ReadBorders() {
        struct Border {
            const char* name;
            TDataSkinBorder TSkinMembers::*member;
            bool vertical;  // end pieces at top and bottom rather than left and right
        };
        static constexpr Border borders[] = {{"Left", &TSkinMembers::LeftBorder, true},
                                             {"Right", &TSkinMembers::RightBorder, true},
                                             {"Top", &TSkinMembers::TopBorder, false},
                                             {"Bottom", &TSkinMembers::BottomBorder, false}};
        for (const Border& b : borders) {
            TDataSkinBorder& border = skin_.*b.member;
            const std::string name = b.name;
            ReadImage(border.Image, kPersonality, name);
            const int32_t first = Int(kPersonality, name + "TopHeight", 0);
            const int32_t last = Int(kPersonality, name + "BotHeight", 0);
            border.TopHeight = b.vertical ? first : 0;
            border.BottomHeight = b.vertical ? last : 0;
            border.LeftWidth = b.vertical ? 0 : first;
            border.RightWidth = b.vertical ? 0 : last;
            border.FrameCount = Int(kPersonality, name + "Frame", 1);
            border.Tile = Int(kPersonality, name + "Stretch", 1);
            border.Trans = Int(kPersonality, name + "Trans", 1);
        }
    }

    TColor ColoursKey(std::string_view key, TColor fallback) const {
        return ColourTextOrDefault(Text("Colours", key), fallback);
    }

    void ReadColours() {
        struct Key {
            const char* name;
            TColor TSkinMembers::*member;
            TColor fallback;
        };
        // "ButtonDkShadow" falls back on the plain shadow on purpose, not on the dark one.
        static constexpr Key keys[] = {
            {"WindowText", &TSkinMembers::WindowTextColour, clWindowText},
            {"TitleTextActive", &TSkinMembers::TitleTextActiveColour, clCaptionText},
            {"TitleTextNoActive", &TSkinMembers::TitleTextNoActiveColour, clInactiveCaptionText},
            {"ButtonFace", &TSkinMembers::ButtonFaceColour, clBtnFace},
            {"ButtonText", &TSkinMembers::ButtonTextColour, clBtnText},
            {"ButtonHilight", &TSkinMembers::ButtonHilightColour, clBtnHighlight},
            {"Buttonlight", &TSkinMembers::ButtonlightColour, clBtnHighlight},
            {"ButtonShadow", &TSkinMembers::ButtonShadowColour, clBtnShadow},
            {"ButtonDkShadow", &TSkinMembers::ButtonDkShadowColour, clBtnShadow},
            {"HilightText", &TSkinMembers::HilightTextColour, clHighlightText},
            {"Hilight", &TSkinMembers::HilightColour, clHighlight},
            {"MenuBarText", &TSkinMembers::MenuBarTextColour, clMenuText},
            {"MenuText", &TSkinMembers::MenuTextColour, clMenuText},
            {"Menu", &TSkinMembers::MenuColour, clMenu},
            {"Scrollbar", &TSkinMembers::ScrollbarColour, clScrollBar},
        };
        for (const Key& k : keys) skin_.*k.member = ColoursKey(k.name, k.fallback);
        skin_.MenubarColour = ColoursKey("Menubar", skin_.ButtonFaceColour);
    }

    static bool IsCaptionButtonSection(const std::string& upperName) {
        return upperName.starts_with("BUTTON") && upperName != "BUTTONS" && upperName != "BUTTON.RADIO" &&
               upperName != "BUTTON.CHECKBOX";
    }

    void ReadCaptionButtons() {
        skin_.CaptionButtons.clear();
        for (const std::string& section : ini_.SectionNames()) {
            std::string upper = UpperCase(section);
            if (!IsCaptionButtonSection(upper)) continue;
            auto button = std::make_unique<TDataSkinSysButton>(std::move(upper));
            ReadCaptionButton(*button, section);
            skin_.CaptionButtons.push_back(std::move(button));
        }
        for (int32_t action : {7, 8, 9}) {
            auto button = std::make_unique<TDataSkinSysButton>("");
            button->Action = action;
            button->Align = button->Visibility = button->Visibility1 = 100;
            button->FrameCount = 4;
            skin_.CaptionButtons.push_back(std::move(button));
        }
    }

    void ReadCaptionButton(TDataSkinSysButton& button, const std::string& section) {
        button.Action = Int(section, "Action", 0);
        button.Align = Int(section, "Align", 0);
        button.Xcoord = Int(section, "Xcoord", 0);
        button.Ycoord = Int(section, "Ycoord", 0);
        button.Visibility = Int(section, "Visibility", 0);
        button.Visibility1 = Int(section, "Visibility1", 0);
        button.CombineOp = Int(section, "CombineOp", -1);
        button.FrameCount = Int(section, "frame", 0);
        ReadImage(button.Image, section, "ButtonImage");
        if (button.FrameCount != 0) return;
        button.FrameCount = 6;
        if (!button.Image.Empty())
            button.FrameCount = static_cast<double>(button.Image.Width()) / button.Image.Height() <= 3.8 ? 3 : 6;
        if (button.Action < 0) button.FrameCount = 6;
        // The frame draws the window's own icon for these.
        if (button.Action == 3 || button.Action == 11) button.Image.FreeImage();
    }

    // Twelve equal frames, four for each MDI-child button.
    void ReadMdiControls() {
        TBitmap strip;
        ReadImage(strip, "MDICONTROLS", "Image");
        if (strip.Empty()) return;
        const int a = strip.Width() / 12;
        const size_t first = skin_.CaptionButtons.size() - 3;
        for (int i = 0; i < 3; ++i) {
            TDataSkinSysButton& button = *skin_.CaptionButtons[first + static_cast<size_t>(i)];
            CopyColumns(strip, 4 * i * a, 4 * a, button.Image);
            button.Xcoord = (3 - i) * (a + 4);
        }
    }

    void ReadTextColours(TDataSkinObject& element, std::string_view section) {
        element.NormalColour = Int(section, "NormalColour", -1);
        element.MouseOverColour = Int(section, "MouseOverColour", -1);
        element.PressedColour = Int(section, "PressedColour", -1);
        element.NormalColour2 = TextColour(section, "NormalColour2");
        element.MouseOverColour2 = TextColour(section, "MouseOverColour2");
        element.PressedColour2 = TextColour(section, "PressedColour2");
    }
    // The second text colours fall back on the skin's button text.
    TColor TextColour(std::string_view section, std::string_view key) const {
        return ColourTextOrDefault(Text(section, key), skin_.ButtonTextColour);
    }

    void ReadMargins(TDataSkinObject& element, std::string_view section) {
        element.LeftWidth = Int(section, "LeftWidth", 0);
        element.RightWidth = Int(section, "RightWidth", 0);
        element.TopHeight = Int(section, "TopHeight", 0);
        element.BottomHeight = Int(section, "BottomHeight", 0);
        element.Trans = Int(section, "Trans", 0);
    }

    void ReadButtons() {
        TDataSkinButton& buttons = skin_.Buttons;
        ReadMargins(buttons, "Buttons");
        ReadImage(buttons.Image, "Buttons", "Bitmap");
        buttons.Tile = Int("Buttons", "Tile", 0);
        ReadImage(buttons.CheckButtonImage, "Buttons", "CheckButton");
        ReadImage(buttons.RadioButtonImage, "Buttons", "RadioButton");
        buttons.RadioButtonFrame = Int("Buttons", "RadioButtonFrame", 0);
        buttons.CheckButtonFrame = Int("Buttons", "CheckButtonFrame", 0);
        ReadTextColours(buttons, "Buttons");
    }

    // Set only when all three parts are given.
    void ReadTitleTextColour(const std::string& key, TColor& colour) const {
        const int32_t red = Int(kPersonality, key + "R", -1);
        const int32_t green = Int(kPersonality, key + "G", -1);
        const int32_t blue = Int(kPersonality, key + "B", -1);
        if (red >= 0 && green >= 0 && blue >= 0) colour = LowBytesToRgb(red, green, blue);
    }

    void ReadTitle() {
        TDataSkinTitle& title = skin_.Title;
        ReadImage(title.Image, kPersonality, "TextBack");
        title.LeftWidth = Int(kPersonality, "TextShift", 0);
        title.TopHeight = Int(kPersonality, "TextShiftVert", 0);
        title.RightWidth = Int(kPersonality, "TextRightClip", 0);
        title.BottomHeight = 0;
        title.TextAlignment = Int(kPersonality, "TextAlignment", 0);
        title.Textbackground = Int(kPersonality, "Textbackground", 0);
        title.FontHeight = Int("Fonts", "FontHeight", 14);
        title.TXTBackleft = Int(kPersonality, "TXTBackleft", 0);
        title.TXTBackRight = Int(kPersonality, "TXTBackRight", 0);
        title.ActiveTextColour = title.InactiveTextColour = TDataSkinTitle::NotSet;
        ReadTitleTextColour("ActiveText", title.ActiveTextColour);
        ReadTitleTextColour("InActiveText", title.InactiveTextColour);
    }

    void ReadProgress() {
        skin_.Progress.reset();
        if (Text("Progress", "Bitmap").empty()) return;
        auto progress = std::make_unique<TDataSkinBorder>("Progress");
        ReadImage(progress->Image, "Progress", "Bitmap");
        ReadImage(progress->SecondImage, "Progress", "Chunk");
        progress->Style = Int("Progress", "Style", 0);
        ReadMargins(*progress, "Progress");
        progress->Tile = Int("Progress", "Tile", 0);
        skin_.Progress = std::move(progress);
    }

    void ReadMenuBar() {
        skin_.MenuBar.reset();
        if (Text(kPersonality, "menuBar").empty()) return;
        auto menuBar = std::make_unique<TDataSkinObject>(kPersonality);
        ReadImage(menuBar->Image, kPersonality, "menuBar");
        menuBar->Tile = Int(kPersonality, "TileMenu", 0);
        menuBar->LeftWidth = Int(kPersonality, "TileLeftMenu", 1);
        menuBar->RightWidth = Int(kPersonality, "TileRightMenu", 1);
        skin_.MenuBar = std::move(menuBar);
    }

    void ReadElementKeys(TDataSkinObject& element, std::string_view section) {
        ReadImage(element.Image, section, "Image");
        ReadMargins(element, section);
        element.Tile = Int(section, "Tile", 0);
        if (element.Tile > 1) element.Tile = 0;
        ReadTextColours(element, section);
    }

    void ReadSkinElement(std::unique_ptr<TDataSkinObject>& member, const char* section) {
        member.reset();
        if (Text(section, "Image").empty()) return;
        auto element = std::make_unique<TDataSkinObject>(section);
        ReadElementKeys(*element, section);
        element->Style = Int(section, "Style", 0);
        member = std::move(element);
    }

    void ReadSkinElementPair(std::unique_ptr<TDataSkinBorder>& member, const char* section, const char* secondKey) {
        member.reset();
        if (Text(section, "Image").empty()) return;
        auto element = std::make_unique<TDataSkinBorder>(section);
        ReadElementKeys(*element, section);
        ReadImage(element->SecondImage, section, secondKey);
        member = std::move(element);
    }

    void ReadElements() {
        ReadSkinElement(skin_.GroupBoxEdge, "GroupBoxEdge");
        ReadSkinElement(skin_.Toolbars, "Toolbars");
        ReadSkinElementPair(skin_.Tabs, "Tabs", "Border");
        ReadSkinElement(skin_.StatusBarEdges, "StatusBarEdges");
        ReadSkinElement(skin_.ComboButton, "ComboButton");
        ReadSkinElement(skin_.SunkEdge, "SunkEdge");
        ReadSkinElement(skin_.ExtraImages, "ExtraImages");
        ReadSkinElement(skin_.Headerbar, "Headerbar");
        ReadSkinElement(skin_.MenuItem, "MenuItem");
        ReadSkinElement(skin_.MenuBackground, "MenuBackground");
        ReadSkinElement(skin_.Scrollbar, "Scrollbar");
        ReadSkinElement(skin_.HorzScroll, "HorzScroll");
        ReadSkinElement(skin_.VertScroll, "VertScroll");
        ReadSkinElement(skin_.HorzScrollThumb, "HorzScrollThumb");
        ReadSkinElement(skin_.VertScrollThumb, "VertScrollThumb");
        ReadSkinElementPair(skin_.UpDownHorz, "UpDown.Horz", "GlyphImage");
        ReadSkinElementPair(skin_.UpDownVert, "UpDown.Vert", "GlyphImage");
    }

    // The borders and caption buttons keep the counts read with them.
    void SetFrameCounts() {
        skin_.Buttons.FrameCount = 5;
        skin_.Title.FrameCount = 2;
        SetFrameCount(skin_.Progress, 2);
        SetFrameCount(skin_.MenuBar, 2);
        SetFrameCount(skin_.GroupBoxEdge, 2);
        SetFrameCount(skin_.Toolbars, 5);
        SetFrameCount(skin_.Tabs, 5);
        SetFrameCount(skin_.ExtraImages, 5);
        SetFrameCount(skin_.Headerbar, 5);
        SetFrameCount(skin_.MenuItem, 5);
        SetFrameCount(skin_.StatusBarEdges, 3);
        SetFrameCount(skin_.ComboButton, 4);
        SetFrameCount(skin_.SunkEdge, 4);
        SetFrameCount(skin_.HorzScroll, 4);
        SetFrameCount(skin_.VertScroll, 4);
        SetFrameCount(skin_.MenuBackground, 1);
        SetFrameCount(skin_.Scrollbar, 23);
        SetFrameCount(skin_.UpDownHorz, 8);
        SetFrameCount(skin_.UpDownVert, 8);
        SetFrameCount(skin_.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
        SetFrameCount(skin_.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));

        TDataSkinButton& buttons = skin_.Buttons;
        if (buttons.RadioButtonFrame == 0) buttons.RadioButtonFrame = StripFrameCount(buttons.RadioButtonImage);
        if (buttons.CheckButtonFrame == 0) buttons.CheckButtonFrame = StripFrameCount(buttons.CheckButtonImage);
    }

    TSkinMembers& skin_;
    const TSkinIni ini_;
    const TSkinReader& reader_;
    TMemoryStream& entryStream_;
};

}  // namespace

void ReadSkinIni(TSkinMembers& skin, std::string_view settingsText, const TSkinReader& reader,
                 TMemoryStream& entryStream) {
    TSkinIniParse(skin, settingsText, reader, entryStream).Run();
}

}  // namespace pellix
